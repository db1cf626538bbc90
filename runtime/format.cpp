#include "runtime/format.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace korvex::runtime {

namespace {

std::string stars(int w) { return std::string(w > 0 ? w : 0, '*'); }

// s right-justified in w characters; w asterisks when it does not fit.
std::string right(std::string_view s, int w) {
    if (static_cast<int>(s.size()) > w) return stars(w);
    std::string out(w - s.size(), ' ');
    out.append(s);
    return out;
}

// Infinity and NaN as the run-time writes them in a field of width w.
std::string non_finite(double v, int w) {
    if (std::isnan(v)) return w >= 3 ? right("NaN", w) : stars(w);
    const bool neg = v < 0;
    if (w >= (neg ? 9 : 8)) return right(neg ? "-Infinity" : "Infinity", w);
    if (w >= (neg ? 4 : 3)) return right(neg ? "-Inf" : "Inf", w);
    return stars(w);
}

// The decimal digits of a non-negative value in fixed ("%.*f") or scientific ("%.*e") form.
// std::to_chars writes what printf writes in the "C" locale: the exact binary value rounded to
// nearest, ties to even, as the Fortran run-time does; it needs no format string parsed and no
// locale consulted, which makes it several times faster on the listings' numbers.
std::string digits_of(double a, std::chars_format form, int precision) {
    char buf[512];
    const auto r = std::to_chars(buf, buf + sizeof buf, a, form, precision);
    if (r.ec == std::errc()) return std::string(buf, r.ptr);
    // More digits than the buffer holds (a huge precision): the long way.
    std::string s(static_cast<std::size_t>(precision) + 400, '\0');
    const auto q = std::to_chars(s.data(), s.data() + s.size(), a, form, precision);
    s.resize(q.ec == std::errc() ? static_cast<std::size_t>(q.ptr - s.data()) : 0);
    return s;
}

// An integer's decimal digits.
std::string_view integer_digits(long long v, char (&buf)[24]) {
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string_view(buf, static_cast<std::size_t>(r.ptr - buf));
}

}  // namespace

std::string I(long long v, int w) {
    if (w <= 0) return {};
    char buf[24];
    return right(integer_digits(v, buf), w);
}

std::string F(double v, int w, int d) {
    if (w <= 0) return {};
    if (!std::isfinite(v)) return non_finite(v, w);
    if (d < 0) d = 0;
    // Even the shortest form of the value ("-.ddd") cannot fit: no need to print it.
    if (d + 1 > w) return stars(w);
    const double a = std::fabs(v);
    if (a >= 1e18 && std::log10(a) >= w) return stars(w);
    std::string digits = digits_of(a, std::chars_format::fixed, d);
    if (d == 0) digits += '.';
    const bool neg = std::signbit(v);
    const int len = static_cast<int>(digits.size()) + (neg ? 1 : 0);
    std::string_view body(digits);
    if (len > w && digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        // The leading zero is optional: it goes when the field has no room for it.
        body.remove_prefix(1);
        if (body == ".") return stars(w);
    }
    if (static_cast<int>(body.size()) + (neg ? 1 : 0) > w) return stars(w);
    std::string out(w - body.size() - (neg ? 1 : 0), ' ');
    if (neg) out += '-';
    out.append(body);
    return out;
}

std::string E(double v, int w, int d) {
    if (w <= 0) return {};
    if (!std::isfinite(v)) return non_finite(v, w);
    if (d < 1 || d + 5 > w) return stars(w);
    const bool neg = std::signbit(v);
    std::string mant;
    int exp10 = 0;
    if (v == 0.0) {
        mant.assign(d, '0');
    } else {
        // "d.ddde+XX": the digits without the point make the mantissa 0.dddd, one decade up.
        const std::string s = digits_of(std::fabs(v), std::chars_format::scientific, d - 1);
        const auto e = s.find('e');
        if (e == std::string::npos) return stars(w);
        mant.reserve(e);
        for (std::size_t i = 0; i < e; ++i)
            if (s[i] != '.') mant.push_back(s[i]);
        exp10 = std::atoi(s.c_str() + e + 1) + 1;
    }
    const int ae = std::abs(exp10);
    if (ae > 999) return stars(w);
    // E+dd, or a three-digit exponent in the place of the letter: +ddd.
    const char sign = exp10 < 0 ? '-' : '+';
    char eb[4];
    if (ae <= 99) {
        eb[0] = 'E';
        eb[1] = sign;
    } else {
        eb[0] = sign;
        eb[1] = static_cast<char>('0' + ae / 100);
    }
    eb[2] = static_cast<char>('0' + ae / 10 % 10);
    eb[3] = static_cast<char>('0' + ae % 10);
    // The leading zero only where the field has room for it.
    const bool zero = static_cast<int>(mant.size()) + 6 + (neg ? 1 : 0) <= w;
    std::string s;
    s.reserve(static_cast<std::size_t>(w));
    if (neg) s += '-';
    s.append(zero ? "0." : ".");
    s.append(mant);
    s.append(eb, sizeof eb);
    return right(s, w);
}

std::string A(std::string_view s, int w) {
    if (w <= 0) return {};
    if (static_cast<int>(s.size()) >= w) return std::string(s.substr(0, w));
    return std::string(w - s.size(), ' ') + std::string(s);
}

std::string X(int n) { return std::string(n > 0 ? n : 0, ' '); }

void append_free_item(std::string& out, long long v) {
    char buf[24];
    out.append(integer_digits(v, buf));
}

void append_free_item(std::string& out, double v) {
    if (std::isnan(v)) { out += "NaN"; return; }
    if (std::isinf(v)) { out += v < 0 ? "-Infinity" : "Infinity"; return; }
    if (v == 0.0) { out += std::signbit(v) ? "-0.0" : "0.0"; return; }
    char buf[48];
    const double a = std::fabs(v);
    // Plain decimals for the usual magnitudes; 8 significant digits are rounded first, so that
    // 99999999.6 does not come out as a nine-digit number.
    if (a >= 1e-3 && a < 1e8) {
        const int n = static_cast<int>(
            std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 8).ptr - buf);
        if (std::memchr(buf, 'e', n) == nullptr) {
            out.append(buf, n);
            if (std::memchr(buf, '.', n) == nullptr) out += ".0";
            return;
        }
    }
    const int n = static_cast<int>(
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 7).ptr - buf);
    // Trailing zeros of the mantissa go: 1.2000000E+09 -> 1.2E+09.
    char* e = static_cast<char*>(std::memchr(buf, 'e', n));
    *e = 'E';
    int m = static_cast<int>(e - buf);
    while (m > 2 && buf[m - 1] == '0' && buf[m - 2] != '.') --m;
    out.append(buf, m);
    out.append(e, buf + n - e);
}

std::string free_item(long long v) {
    std::string s;
    append_free_item(s, v);
    return s;
}

std::string free_item(double v) {
    std::string s;
    append_free_item(s, v);
    return s;
}

std::string free_item(float v) { return free_item(static_cast<double>(v)); }

bool shows_non_finite(std::string_view listing, std::string_view deck) {
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    // The word at `at` with up to 8 characters either side, blanks at its ends taken off (an
    // echo pads its record), found in the deck.
    auto from_deck = [&](std::string_view l, std::size_t at, std::size_t len) {
        if (deck.empty()) return false;
        std::size_t from = at >= 8 ? at - 8 : 0;
        std::size_t to = std::min(l.size(), at + len + 8);
        while (from < at && l[from] == ' ') ++from;
        while (to > at + len && (l[to - 1] == ' ' || l[to - 1] == '\r')) --to;
        return deck.find(l.substr(from, to - from)) != std::string_view::npos;
    };
    while (!listing.empty()) {
        const std::size_t end = listing.find('\n');
        const std::string_view l = listing.substr(0, end);
        listing = end == std::string_view::npos ? std::string_view{} : listing.substr(end + 1);
        // Records that echo deck text: the line echoes, the readers' traces, and the warning
        // that quotes what stood beyond column 80.
        if (l.find("ZEILE") != std::string_view::npos || l.find("LESEPR") != std::string_view::npos ||
            l.find("Text nach Spalte 80") != std::string_view::npos)
            continue;
        for (std::string_view w : {std::string_view("NaN"), std::string_view("Infinity")})
            for (auto at = l.find(w); at != std::string_view::npos; at = l.find(w, at + 1))
                if ((at == 0 || !letter(l[at - 1])) && !from_deck(l, at, w.size())) return true;
    }
    return false;
}

}  // namespace korvex::runtime
