#include <gtest/gtest.h>

#include <string>

#include "input/readers.hpp"
#include "tests/input/reader_support.hpp"

using korvex::input::LESEPR;
using korvex::input::test::expect_both;
using korvex::input::test::pad80;

namespace {

struct Call {
    korvex::runtime::Units u;
    std::string OUT = std::string(77, '.');
    int IERR = 0;
};

}  // namespace

TEST(LeseprScan, FieldContents) {
    struct Case {
        std::string line;
        const char* key;
        const char* field;
    };
    const Case cases[] = {
        {"AUS TIME= 0.25 SCHRITT=0.1", "TIME=", "       0.25"},  // with the blank behind TIME=
        {"P0=12,T0=300", "P0=", "         12"},  // a comma behind the number separates
        {"X=1.5E-3 Y=2", "X=", "     1.5E-3"},
        {"X=1.5e-3", "X=", "        1.5"},      // lower-case e is no exponent letter
        {"X=-+-7 ", "X=", "       -+-7"},      // signs before the digits are kept
        {"X=1  2", "X=", "        1  "},        // one blank stays counted: the last digit is cut
        {"X=1 2 3", "X=", "      1 2 3"},       // single blanks are given back by the digits
        {"X=5\tY", "X=", "          5"},       // a tab ends the number, and so does a NUL
        {std::string("X=58\0 9", 7), "X=", "         58"},
        {"DH=5 H=7", "H=", "          5"},      // plain substring search: H= inside DH=
        {"X=          1", "X=", "          1"},  // eleven characters fit exactly
        {"X=3", "X=", "          3"},          // a number in the last column is stored whole
    };
    for (const Case& k : cases) {
        Call c;
        LESEPR(c.u, 1, 11, c.OUT, k.line, c.IERR, {k.key});
        EXPECT_EQ(c.IERR, 0) << k.line;
        EXPECT_EQ(c.OUT, k.field + std::string(66, '.')) << k.line;
        expect_both(c.u, "");
    }
}

TEST(LeseprMessages, EachFaultIsReportedAndTheSearchGoesOn) {
    Call c;
    const std::string line = "P0=12,5 T=   123456789 W= V=E5 Z=4";
    const std::string rec = pad80(line) + "\n";  // the line as an 80-column record
    LESEPR(c.u, 3, 11, c.OUT, line, c.IERR, {"P0=", "Q=", "T=", "W=", "V=", "Z="});
    EXPECT_EQ(c.IERR, 1);
    // Q= is missing, so T= takes field 1; T=, W= and V= store nothing; Z= lands in field 4.
    EXPECT_EQ(c.OUT, "       12,5" + std::string(33, '.') + "          4" + std::string(22, '.'));
    // Every message names the search string by the first 11 characters of a 12-character copy,
    // left-justified.
    const std::string no_digit = " ### ERROR IN DATA INPUT: NO DIGIT FOUND AFTER SEARCH STRING:\n";
    expect_both(c.u, " ### ERROR IN DATA INPUT POSSIBLE: KOMMA \",\" NOT ALLOWED WITHIN A NUMBER\n"
                     " BUT ONLY BEHIND A NUMBER AS A SEPARATOR; PROCESSING SEARCH STRING: P0=        \n"
                     " IN THE INPUT LINE: ZEILE  3\n" + rec +
                     " ### Fehler in der Daten Eingabe: Such Begriff: Q=         \n"
                     " nicht gefunden in der Eingabe-ZEILE  3 :\n"
                     " " + line + "\n"
                     " ### ERROR IN DATA INPUT: NUMBER FOUND AFTER SEARCH STRING:T=         \n"
                     " IS GREATER THAN  11 DIGITS. PROCESSING THE INPUT LINE: ZEILE  3\n" + rec +
                     no_digit + " W=          IN INPUT LINE: ZEILE  3\n" + rec +
                     no_digit + " V=          IN INPUT LINE: ZEILE  3\n" + rec);
}

TEST(LeseprArguments, LimitsAndOverlongSearchStrings) {
    Call c;
    LESEPR(c.u, 1, 12, c.OUT, "X=1", c.IERR, {"X="});
    EXPECT_EQ(c.IERR, 1);
    expect_both(c.u, " ### ERROR IN SUBROUTINE LESEPR\n"
                     " PROCESSING NOT POSSIBLE, SECOND ARGUMENT MUST BE L <= 11\n"
                     " YOU SPECIFY L=  12\n");
    Call s;
    s.OUT.resize(70);
    LESEPR(s.u, 1, 11, s.OUT, "X=1", s.IERR, {"X="});
    EXPECT_EQ(s.IERR, 1);
    expect_both(s.u, " ### ERROR IN SUBROUTINE LESEPR\n"
                     " OUTPUT CHARACTER STRING MUST BE >= 7*L\n"
                     " YOUR OUTPUT STRING IS OF LENGTH   70 AND YOU SPECIFY L= 11\n");
    // A 13-character string after the blank that ends the list still stops every search.
    Call o;
    LESEPR(o.u, 1, 11, o.OUT, "A=1", o.IERR, {"A=", " ", "ABCDEFGHIJKLM"});
    EXPECT_EQ(o.IERR, 1);
    EXPECT_EQ(o.OUT, std::string(77, '.'));
    expect_both(o.u, "  ### ERROR IN SUBROUTINE LESEPR. SEARCH-STRING:ABCDEFGHIJKLM\n"
                     "      HAS MORE THAN 12 CHARACTERS\n");
}

TEST(LeseprArguments, BlankFirstStringOrAnErrorOnEntryReadNothing) {
    Call c;
    LESEPR(c.u, 1, 11, c.OUT, "A=1", c.IERR, {" ", "A="});
    EXPECT_EQ(c.IERR, 0);
    c.IERR = 1;
    LESEPR(c.u, 1, 11, c.OUT, "A=1", c.IERR, {"A="});
    EXPECT_EQ(c.IERR, 1);
    EXPECT_EQ(c.OUT, std::string(77, '.'));
    expect_both(c.u, "");
}

TEST(LeseprTrace, LevelFiveShowsTheLineAndTheSearchStrings) {
    Call c;
    c.u.IPRNT2 = 5;
    LESEPR(c.u, 7, 11, c.OUT, "A=1 BB=2", c.IERR, {"A=", "BB="});
    EXPECT_EQ(c.OUT.substr(0, 22), "          1          2");
    expect_both(c.u, " ### Eingabe Pruefer \"LESEPR\" bearbeitet ZEILE  7\n"
                     " A=1 BB=2\n"
                     " ### Such Begriffe in ZEILE 7:\n"
                     "         A=        BB=" + std::string(55, ' ') + "\n");
}

TEST(LeseprRobustness, AnyByteAnywhereAndWidthsWithoutRoom) {
    for (int b = 0; b < 256; ++b) {
        for (int at = 0; at < 8; ++at) {
            Call c;
            std::string line = "X=1.5 Y=-2,";
            line.insert(line.begin() + at, static_cast<char>(b));
            LESEPR(c.u, 1, 11, c.OUT, line, c.IERR, {"X=", "Y=", "Z"});
            EXPECT_EQ(c.OUT.size(), 77u);
        }
    }
    for (int L : {0, -3}) {  // every value is too long: nothing is stored
        Call c;
        LESEPR(c.u, 1, L, c.OUT, "X=1", c.IERR, {"X="});
        EXPECT_EQ(c.IERR, 1);
        EXPECT_EQ(c.OUT, std::string(77, '.'));
    }
}
