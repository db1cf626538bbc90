#include "runtime/format.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
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

// printf into a string, sized for whatever the conversion needs. The digits come from the C
// library, which rounds the exact binary value to nearest, ties to even, as the Fortran run-time
// does.
template <class... A>
std::string print(const char* fmt, A... args) {
    char buf[128];
    const int n = std::snprintf(buf, sizeof buf, fmt, args...);
    if (n < 0) return {};
    if (n < static_cast<int>(sizeof buf)) return std::string(buf, n);
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(s.data(), s.size(), fmt, args...);
    s.resize(n);
    return s;
}

}  // namespace

std::string I(long long v, int w) {
    if (w <= 0) return {};
    char buf[24];
    const int n = std::snprintf(buf, sizeof buf, "%lld", v);
    return right(std::string_view(buf, n), w);
}

std::string F(double v, int w, int d) {
    if (w <= 0) return {};
    if (!std::isfinite(v)) return non_finite(v, w);
    if (d < 0) d = 0;
    // Even the shortest form of the value ("-.ddd") cannot fit: no need to print it.
    if (d + 1 > w) return stars(w);
    const double a = std::fabs(v);
    if (a >= 1e18 && std::log10(a) >= w) return stars(w);
    std::string digits = print("%.*f", d, a);
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
        const std::string s = print("%.*e", d - 1, std::fabs(v));
        const auto e = s.find('e');
        if (e == std::string::npos) return stars(w);
        for (std::size_t i = 0; i < e; ++i)
            if (s[i] != '.') mant.push_back(s[i]);
        exp10 = std::atoi(s.c_str() + e + 1) + 1;
    }
    const int ae = std::abs(exp10);
    char eb[16];
    if (ae <= 99) {
        std::snprintf(eb, sizeof eb, "E%c%02d", exp10 < 0 ? '-' : '+', ae);
    } else if (ae <= 999) {
        // A three-digit exponent takes the place of the letter.
        std::snprintf(eb, sizeof eb, "%c%03d", exp10 < 0 ? '-' : '+', ae);
    } else {
        return stars(w);
    }
    std::string s = std::string(neg ? "-" : "") + "0." + mant + eb;
    if (static_cast<int>(s.size()) > w) s = std::string(neg ? "-" : "") + "." + mant + eb;
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
    const int n = std::snprintf(buf, sizeof buf, "%lld", v);
    out.append(buf, n);
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
        int n = std::snprintf(buf, sizeof buf, "%.8g", v);
        if (std::memchr(buf, 'e', n) == nullptr) {
            out.append(buf, n);
            if (std::memchr(buf, '.', n) == nullptr) out += ".0";
            return;
        }
    }
    int n = std::snprintf(buf, sizeof buf, "%.7E", v);
    // Trailing zeros of the mantissa go: 1.2000000E+09 -> 1.2E+09.
    const char* e = static_cast<const char*>(std::memchr(buf, 'E', n));
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
