#include <gtest/gtest.h>

#include "runtime/format.hpp"

using namespace korvex::runtime;

TEST(Format, EditDescriptorsBasics) {
    EXPECT_EQ(I(42, 4), "  42");
    EXPECT_EQ(I(1234, 3), "***");
    EXPECT_EQ(F(0.125, 5, 2), " 0.12");
    EXPECT_EQ(F(-0.001, 6, 2), " -0.00");
    EXPECT_EQ(E(12345.6789, 10, 3), " 0.123E+05");
    EXPECT_EQ(E(1.0e100, 12, 5), " 0.10000+101");
    EXPECT_EQ(A("ABC", 5), "  ABC");
    EXPECT_EQ(A("ABCDEF", 3), "ABC");
}
