// Free-format records: item separation, number forms, and wrapping at the record length.
#include <gtest/gtest.h>

#include <string>

#include "runtime/units.hpp"

using namespace korvex::runtime;

TEST(FreeRecord, ItemsAndSeparators) {
    Unit u(9, 133);
    u.free(" PLOTS: SIZE_X =", 1008, " SIZE_:Y =", 700, " PIXELS");
    // Texts follow each other directly; a number is set off by a blank on either side.
    u.free("A", "B", 'C', std::string("D"), -7, 0L, 42u);
    u.free();
    u.free("");
    EXPECT_EQ(u.text(),
              "  PLOTS: SIZE_X = 1008  SIZE_:Y = 700  PIXELS\n"
              " ABCD -7 0 42\n"
              "\n"
              " \n");
}

TEST(FreeRecord, RealsWithUpToEightSignificantDigits) {
    Unit u(6, 80);
    u.free(1.5, 0.1, -2.0, 1e-5, 123456789.0, 0.0, -0.0);
    u.free(9.81f, 0.1f, 1.0 / 3.0, 99999999.6, 0.001, 1e300);
    EXPECT_EQ(u.text(),
              " 1.5 0.1 -2.0 1.0E-05 1.2345679E+08 0.0 -0.0\n"
              " 9.8100004 0.1 0.33333333 1.0E+08 0.001 1.0E+300\n");
}

TEST(FreeRecord, NonFiniteReals) {
    EXPECT_EQ(free_item(std::numeric_limits<double>::infinity()), "Infinity");
    EXPECT_EQ(free_item(-std::numeric_limits<double>::infinity()), "-Infinity");
    EXPECT_EQ(free_item(std::numeric_limits<double>::quiet_NaN()), "NaN");
}

TEST(FreeRecord, WrapsAtTheRecordLengthOfItsUnit) {
    // Each item takes 8 columns with its separating blank: ten fill an 80-column line exactly,
    // sixteen fit in 133 columns.
    const std::string ten = " 1234567 1234567 1234567 1234567 1234567 1234567 1234567 1234567 1234567 1234567";
    ASSERT_EQ(ten.size(), 80u);
    Unit u6(6, 80), u8(8, 133);
    Unit::FreeRecord r6(u6);
    for (int i = 0; i < 25; ++i) r6.add(1234567);
    r6.finish();
    EXPECT_EQ(u6.text(), ten + "\n" + ten + "\n" + ten.substr(0, 40) + "\n");

    Unit::FreeRecord r8(u8);
    for (int i = 0; i < 30; ++i) r8.add(1234567);
    r8.finish();
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += " 1234567";
    EXPECT_EQ(u8.text(), sixteen + "\n" + sixteen.substr(0, 14 * 8) + "\n");
}

TEST(FreeRecord, BreaksOnlyBetweenItems) {
    Unit u(6, 80);
    // An echoed deck line of 80 columns cannot fit behind the leading blank: it stands whole on
    // its line (81 columns), its last number not cut off.
    const std::string deck_line = std::string(72, 'x') + "TK=320.0";
    u.free(deck_line);
    // A text longer than a line, behind a short text and a number: the number stays on the first
    // line, the long text begins the next one and keeps its tail.
    const std::string long_text = " T MUSS ZWISCHEN 273.16 UND 543.15 KELVIN LIEGEN; KEINE BERECHNUNG MOEGLICH; >>>> PDAMPF <<<<";
    u.free("TEMPERATUR T =", 200.5, long_text, 7);
    EXPECT_EQ(u.text(), " " + deck_line + "\n" +
                            " TEMPERATUR T = 200.5\n" +
                            " " + long_text + "\n" +
                            " 7\n");

    Unit tiny(7, 1);  // taken as 2: every item on a line of its own
    tiny.free("abc", 12);
    EXPECT_EQ(tiny.text(), " abc\n 12\n");
}

TEST(FreeRecord, NumberThatDoesNotFitStartsTheNextLine) {
    Unit u(6, 80);
    u.free(std::string(75, 'T'), 123456);
    // 76 columns used; " 123456" would need 83.
    EXPECT_EQ(u.text(), " " + std::string(75, 'T') + "\n 123456\n");
}

TEST(FixedRecord, PiecesAreWrittenWhole) {
    Unit u(6, 80);
    u.record(" Ausgabe bis TIME =", F(0.5, 5, 2), " sec; Rechenschrittweite =", F(0.0001, 10, 7),
             " sec; NZYL=", I(2, 2));
    EXPECT_EQ(u.text(), " Ausgabe bis TIME = 0.50 sec; Rechenschrittweite = 0.0001000 sec; NZYL= 2\n");
    u.clear_text();
    u.record(std::string(100, 'R'));
    EXPECT_EQ(u.text(), std::string(100, 'R') + "\n");
}
