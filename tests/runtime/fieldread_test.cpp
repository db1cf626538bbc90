// Fixed-field reads of deck values.
#include <gtest/gtest.h>

#include "runtime/fieldread.hpp"

using namespace korvex::runtime;

TEST(FieldRead, RealFieldsFollowFortranRules) {
    EXPECT_DOUBLE_EQ(*read_real_field(" 1 2 . 5 "), 12.5);
    EXPECT_DOUBLE_EQ(*read_real_field("1E3"), 1000.0);
    EXPECT_DOUBLE_EQ(*read_real_field("1.5D-2"), 0.015);
    EXPECT_DOUBLE_EQ(*read_real_field("1.5d-2"), 0.015);
    EXPECT_DOUBLE_EQ(*read_real_field("1+3"), 1000.0);
    EXPECT_DOUBLE_EQ(*read_real_field("2.5-1"), 0.25);
    EXPECT_DOUBLE_EQ(*read_real_field("1.5E+ 2"), 150.0);
    EXPECT_DOUBLE_EQ(*read_real_field("   -.5     "), -0.5);
    EXPECT_DOUBLE_EQ(*read_real_field("+7."), 7.0);
    EXPECT_DOUBLE_EQ(*read_real_field("      12345"), 12345.0);  // no point: a whole number
    EXPECT_EQ(*read_real_field("           "), 0.0);
    EXPECT_EQ(*read_real_field(""), 0.0);
}

TEST(FieldRead, RealFieldsThatAreNoNumber) {
    for (const char* s : {"1.2.3", "+-4", "abc", ".", "-", "1E", "E5", "1E+", "1.5Q2", "NAN", "INF",
                          "1E400", "1,5", "\t1", "1 E 3 x"})
        EXPECT_FALSE(read_real_field(s)) << '"' << s << '"';
}

TEST(FieldRead, IntegerFields) {
    EXPECT_EQ(*read_int_field("   42"), 42);
    EXPECT_EQ(*read_int_field(" -1 7"), -17);
    EXPECT_EQ(*read_int_field("+3"), 3);
    EXPECT_EQ(*read_int_field("    "), 0);
    EXPECT_EQ(*read_int_field("2147483647"), 2147483647);
    EXPECT_EQ(*read_int_field("-2147483648"), -2147483647 - 1);
    for (const char* s : {"2147483648", "-2147483649", "99999999999999999999999", "1.0", "+", "1E2", "x"})
        EXPECT_FALSE(read_int_field(s)) << '"' << s << '"';
}

TEST(FieldRead, FieldsOfABuffer) {
    EXPECT_EQ(field_of("ABCDEFGH", 1, 3), "DEF");
    EXPECT_EQ(field_of("ABCDEFGH", 2, 3), "GH");
    EXPECT_EQ(field_of("ABCDEFGH", 3, 3), "");
    EXPECT_EQ(field_of("ABCDEFGH", -1, 3), "");
    EXPECT_EQ(field_of("ABCDEFGH", 0, 0), "");
}
