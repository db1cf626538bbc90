// Edit descriptors outside the reference table: field widths beyond any buffer, degenerate
// widths, text fields, and the date stamp of the listing headers.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <cmath>
#include <random>
#include <vector>

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

// The digits are the C library's printf digits (exact binary value, rounded to nearest, ties to
// even) for values of every magnitude, ties among them, and every precision the listings use;
// free items likewise with printf's "%.8g" and "%.7E".
TEST(Format, DigitsAreThoseOfPrintf) {
    std::mt19937_64 gen(20261208);
    std::vector<double> values = {0.5, 1.5, 2.5, 0.125, 0.375, 1e15 + 0.5, 0.0625, 1e-300, 5e-324,
                                  9.5, 99999999.5, 0.00095, 1.0 / 3.0, 123456789.0, 0.1};
    for (int k = 0; k < 20000; ++k) {
        const double mant = std::uniform_real_distribution<double>(1.0, 10.0)(gen);
        const int exp = std::uniform_int_distribution<int>(-12, 16)(gen);
        values.push_back((k % 2 ? -1 : 1) * mant * std::pow(10.0, exp));
        // Values with few binary digits, where ties to even decide.
        values.push_back(std::ldexp(static_cast<double>(gen() % 4096), -static_cast<int>(gen() % 12)));
    }
    char buf[512];
    for (double v : values) {
        const double a = std::fabs(v);
        for (int d = 0; d <= 12; ++d) {
            std::snprintf(buf, sizeof buf, "%.*f", d, a);
            std::string want = (std::signbit(v) ? "-" : "") + std::string(buf) + (d == 0 ? "." : "");
            const std::string f = F(v, 60, d);
            ASSERT_EQ(f.substr(f.find_first_not_of(' ')), want) << v << " F60." << d;
        }
        for (int d = 1; d <= 12; ++d) {
            if (v == 0.0) continue;
            std::snprintf(buf, sizeof buf, "%.*e", d - 1, a);
            std::string digits;
            for (const char* c = buf; *c != 'e'; ++c)
                if (*c != '.') digits += *c;
            const int exp10 = std::atoi(std::strchr(buf, 'e') + 1) + 1;
            char tail[16];
            // A three-digit exponent takes the letter's place.
            std::snprintf(tail, sizeof tail, std::abs(exp10) > 99 ? "%c%03d" : "E%c%02d",
                          exp10 < 0 ? '-' : '+', std::abs(exp10));
            const std::string want = (std::signbit(v) ? "-0." : "0.") + digits + tail;
            const std::string e = E(v, 40, d);
            ASSERT_EQ(e.substr(e.find_first_not_of(' ')), want) << v << " E40." << d;
        }
        if (v == 0.0) continue;  // "0.0" and "-0.0"
        std::snprintf(buf, sizeof buf, a >= 1e-3 && a < 1e8 ? "%.8g" : "%.7E", v);
        const std::string item = free_item(v);
        if (std::strpbrk(buf, "eE") == nullptr) {
            ASSERT_EQ(item, std::string(buf) + (std::strchr(buf, '.') ? "" : ".0")) << v;
        } else {
            // The item drops the mantissa's trailing zeros; its digits are printf's.
            std::snprintf(buf, sizeof buf, "%.7E", v);
            const double back = std::strtod(item.c_str(), nullptr);
            ASSERT_EQ(back, std::strtod(buf, nullptr)) << v << " " << item;
            ASSERT_EQ(item.substr(item.find('E')), std::string(std::strchr(buf, 'E'))) << v;
        }
    }
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
