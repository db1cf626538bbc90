#include "runtime/format.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korvex::runtime {

namespace {

std::string stars(int w) { return std::string(w > 0 ? w : 0, '*'); }

std::string right(std::string s, int w) {
    if (static_cast<int>(s.size()) > w) return stars(w);
    return std::string(w - s.size(), ' ') + s;
}

// Infinity and NaN as the run-time writes them in a field of width w.
std::string non_finite(double v, int w) {
    if (std::isnan(v)) return w >= 3 ? right("NaN", w) : stars(w);
    const bool neg = v < 0;
    if (w >= (neg ? 9 : 8)) return right(neg ? "-Infinity" : "Infinity", w);
    if (w >= (neg ? 4 : 3)) return right(neg ? "-Inf" : "Inf", w);
    return stars(w);
}

}  // namespace

std::string I(long long v, int w) {
    if (w <= 0) return {};
    return right(std::to_string(v), w);
}

std::string F(double v, int w, int d) {
    if (w <= 0) return {};
    if (!std::isfinite(v)) return non_finite(v, w);
    if (d < 0) d = 0;
    char buf[512];
    const double a = std::fabs(v);
    if (a >= 1e300) return stars(w);
    std::snprintf(buf, sizeof buf, "%.*f", d, a);
    std::string digits(buf);
    if (d == 0) digits += '.';
    const bool neg = std::signbit(v);
    std::string s = (neg ? "-" : "") + digits;
    if (static_cast<int>(s.size()) > w && digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        // The leading zero is optional: it goes when the field has no room for it.
        s = (neg ? "-" : "") + digits.substr(1);
        if (s == "." || s == "-.") return stars(w);
    }
    return right(s, w);
}

std::string E(double v, int w, int d) {
    if (w <= 0) return {};
    if (!std::isfinite(v)) return non_finite(v, w);
    if (d < 1) return stars(w);
    const bool neg = std::signbit(v);
    std::string mant;
    int exp10 = 0;
    if (v == 0.0) {
        mant.assign(d, '0');
    } else {
        char buf[512];
        std::snprintf(buf, sizeof buf, "%.*e", d - 1, std::fabs(v));
        // buf is "d.ddde+XX": the digits without the point make the mantissa 0.dddd.
        const char* p = buf;
        mant.push_back(*p++);
        if (*p == '.') ++p;
        while (*p && *p != 'e') mant.push_back(*p++);
        if (*p == 'e') exp10 = std::atoi(p + 1) + 1;
    }
    std::string ex;
    const int ae = std::abs(exp10);
    char eb[16];
    if (ae <= 99) {
        std::snprintf(eb, sizeof eb, "E%c%02d", exp10 < 0 ? '-' : '+', ae);
    } else if (ae <= 999) {
        std::snprintf(eb, sizeof eb, "%c%03d", exp10 < 0 ? '-' : '+', ae);
    } else {
        return stars(w);
    }
    ex = eb;
    std::string s = std::string(neg ? "-" : "") + "0." + mant + ex;
    if (static_cast<int>(s.size()) > w) s = std::string(neg ? "-" : "") + "." + mant + ex;
    return right(s, w);
}

std::string A(std::string_view s, int w) {
    if (w <= 0) return {};
    if (static_cast<int>(s.size()) >= w) return std::string(s.substr(0, w));
    return std::string(w - s.size(), ' ') + std::string(s);
}

std::string X(int n) { return std::string(n > 0 ? n : 0, ' '); }

std::string free_item(long long v) { return std::to_string(v); }

std::string free_item(double v) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v < 0 ? "-Infinity" : "Infinity";
    if (v == 0.0) return std::signbit(v) ? "-0.0" : "0.0";
    char buf[64];
    const double a = std::fabs(v);
    if (a >= 1e-3 && a < 1e8) {
        std::snprintf(buf, sizeof buf, "%.8g", v);
        std::string s(buf);
        if (s.find('.') == std::string::npos && s.find('e') == std::string::npos) s += ".0";
        if (s.find('e') == std::string::npos) return s;
    }
    std::snprintf(buf, sizeof buf, "%.7E", v);
    // Trim trailing zeros of the mantissa: 1.2000000E+09 -> 1.2E+09.
    std::string s(buf);
    const auto epos = s.find('E');
    std::string m = s.substr(0, epos), e = s.substr(epos);
    while (m.size() > 2 && m.back() == '0' && m[m.size() - 2] != '.') m.pop_back();
    return m + e;
}

std::string free_item(float v) { return free_item(static_cast<double>(v)); }

}  // namespace korvex::runtime
