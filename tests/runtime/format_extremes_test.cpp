// Edit descriptors outside the reference table: field widths beyond any buffer, degenerate
// widths, text fields, and the date stamp of the listing headers.
#include <gtest/gtest.h>

#include <climits>

#include "runtime/clock.hpp"
#include "runtime/format.hpp"

using namespace korvex::runtime;

TEST(Format, WideFieldsKeepEveryDigit) {
    // 2**-60 has 60 significant decimals after the point, all of which F80.70 must show.
    const std::string f = F(0x1p-60, 80, 70);
    ASSERT_EQ(f.size(), 80u);
    EXPECT_EQ(f.substr(f.size() - 71), ".0000000000000000008673617379884035472059622406959533691406250000000000");
    const std::string e = E(1.0, 300, 290);
    ASSERT_EQ(e.size(), 300u);
    // "0." + 290 digits + "E+01" is 296 characters.
    EXPECT_EQ(e.substr(0, 8), "    0.10");
    EXPECT_EQ(e.substr(296), "E+01");
    EXPECT_EQ(F(1e300, 20, 2), std::string(20, '*'));
    EXPECT_EQ(I(LLONG_MIN, 20), "-9223372036854775808");
}

TEST(Format, DegenerateWidths) {
    EXPECT_EQ(I(5, 0), "");
    EXPECT_EQ(F(1.0, 0, 2), "");
    EXPECT_EQ(F(1.0, -3, 2), "");
    EXPECT_EQ(E(1.0, 4, 3), "****");
    EXPECT_EQ(E(1.0, 8, 0), "********");
    EXPECT_EQ(F(0.5, 3, 5), "***");
    EXPECT_EQ(X(3), "   ");
    EXPECT_EQ(X(-1), "");
}

TEST(Format, TextFields) {
    EXPECT_EQ(A("ABC", 5), "  ABC");
    EXPECT_EQ(A("ABCDEF", 3), "ABC");
    EXPECT_EQ(A("", 2), "  ");
    EXPECT_EQ(A("AB", 0), "");
}

TEST(DateStamp, TwentyThreeCharactersInTheHeaderLayout) {
    DateTime t;
    t.year = 2005; t.month = 4; t.day = 8; t.hour = 14; t.minute = 5;
    EXPECT_EQ(date_stamp(t), "  8. 4. 2005 14 UHR  5 ");
    t.year = 2024; t.month = 12; t.day = 31; t.hour = 0; t.minute = 59;
    EXPECT_EQ(date_stamp(t), " 31.12. 2024  0 UHR 59 ");
    t.year = 123456;
    EXPECT_EQ(date_stamp(t), " 31.12.*****  0 UHR 59 ");
    const DateTime now = system_now();
    EXPECT_EQ(date_stamp(now).size(), 23u);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
}
