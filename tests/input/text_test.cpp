#include <gtest/gtest.h>

#include <string>

#include "input/readers.hpp"

using korvex::input::CHCASE;
using korvex::input::LENTRM;

TEST(Chcase, OnlyTheLettersAToZChange) {
    const std::string in = "Time= 0.25, p0=1.5e5 \xC3\xBC\xC3\x9C";  // umlauts as UTF-8 bytes
    const int n = static_cast<int>(in.size());
    std::string out;
    CHCASE(in, n, n, out);
    EXPECT_EQ(out, "TIME= 0.25, P0=1.5E5 \xC3\xBC\xC3\x9C");
    CHCASE(in, -n, n, out);
    EXPECT_EQ(out, "time= 0.25, p0=1.5e5 \xC3\xBC\xC3\x9C");
    // A deck line converted in place.
    std::string line = "aus time= 1" + std::string(69, ' ');
    CHCASE(line, 80, 80, line);
    EXPECT_EQ(line, "AUS TIME= 1" + std::string(69, ' '));
}

TEST(Chcase, CountsAndLengths) {
    std::string out = "zzzzzzzz";
    CHCASE("abcdef", 3, 6, out);  // the first three change, the rest is copied, COUT's tail kept
    EXPECT_EQ(out, "ABCdefzz");
    out.clear();
    CHCASE("ab c   ", 0, 7, out);  // up to and including the last non-blank
    EXPECT_EQ(out, "AB C   ");
    out.clear();
    CHCASE("ab  cd", 0, 3, out);  // the last non-blank within the first LOUT characters
    EXPECT_EQ(out, "AB ");
    out.clear();
    CHCASE("abc", 3, 5, out);  // beyond the input everything is blank
    EXPECT_EQ(out, "ABC  ");
}

TEST(Lentrm, OnlyTheBlankCountsAsEmpty) {
    EXPECT_EQ(LENTRM("ABC  D", 4), 3);  // only the first N characters are looked at
    EXPECT_EQ(LENTRM("A\t  ", 4), 2);
    EXPECT_EQ(LENTRM(std::string("  \0 ", 4), 4), 3);
    EXPECT_EQ(LENTRM("    ", 4), 0);
    EXPECT_EQ(LENTRM("ABC", 0), 0);
    EXPECT_EQ(LENTRM("ABC", -5), 0);
    EXPECT_EQ(LENTRM("AB", 2147483647), 2);  // beyond the text everything is blank
}
