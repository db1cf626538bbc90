#include "runtime/fieldread.hpp"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace korvex::runtime {

namespace {

std::string without_blanks(std::string_view f) {
    std::string s;
    for (char c : f)
        if (c != ' ') s.push_back(c);
    return s;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> read_real_field(std::string_view field) {
    const std::string s = without_blanks(field);
    if (s.empty()) return 0.0;
    std::size_t i = 0;
    std::string norm;
    if (s[i] == '+' || s[i] == '-') norm.push_back(s[i++]);
    int mant_digits = 0;
    while (i < s.size() && is_digit(s[i])) { norm.push_back(s[i++]); ++mant_digits; }
    if (i < s.size() && s[i] == '.') {
        norm.push_back(s[i++]);
        while (i < s.size() && is_digit(s[i])) { norm.push_back(s[i++]); ++mant_digits; }
    }
    if (mant_digits == 0) return std::nullopt;
    if (i < s.size()) {
        // Exponent: a letter E or D (either case) with an optional sign, or a bare sign.
        char c = s[i];
        if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
            ++i;
        } else if (c != '+' && c != '-') {
            return std::nullopt;
        }
        std::string ex = "e";
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ex.push_back(s[i++]);
        int exp_digits = 0;
        while (i < s.size() && is_digit(s[i])) { ex.push_back(s[i++]); ++exp_digits; }
        if (exp_digits == 0 || i != s.size()) return std::nullopt;
        norm += ex;
    }
    char* end = nullptr;
    const double v = std::strtod(norm.c_str(), &end);
    if (end == norm.c_str() || *end != '\0') return std::nullopt;
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int> read_int_field(std::string_view field) {
    std::string s = without_blanks(field);
    if (s.empty()) return 0;
    std::size_t i = 0;
    bool neg = false;
    if (s[0] == '+' || s[0] == '-') { neg = s[0] == '-'; i = 1; }
    if (i == s.size()) return std::nullopt;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (!is_digit(s[i])) return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
    }
    if (neg) v = -v;
    if (v > INT_MAX || v < INT_MIN) return std::nullopt;
    return static_cast<int>(v);
}

std::string_view field_of(std::string_view buffer, int k, int w) {
    if (k < 0 || w <= 0) return {};
    const std::size_t start = static_cast<std::size_t>(k) * w;
    if (start >= buffer.size()) return {};
    return buffer.substr(start, w);
}

}  // namespace korvex::runtime
