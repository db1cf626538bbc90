// CHCASE and LENTRM, the text functions of the deck readers also used by the run control and
// the diagram driver, and the search for a keyword that stands as a name of its own.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "input/readers.hpp"

namespace korvex::input {

namespace {

// Character i of a text, blank beyond its end (a fixed-length field is blank-padded).
char at(std::string_view s, long long i) { return i < static_cast<long long>(s.size()) ? s[static_cast<std::size_t>(i)] : ' '; }

}  // namespace

void CHCASE(std::string_view CIN, int NCHAR, int LOUT, std::string& COUT) {
    if (LOUT <= 0) return;
    // The output field holds at most 255 characters.
    if (LOUT > 255) LOUT = 255;
    long long NN = NCHAR == 0 ? LENTRM(CIN, LOUT) : std::llabs(static_cast<long long>(NCHAR));
    // CIN may be a view of COUT itself: the result is built apart and copied at the end.
    std::string work(static_cast<std::size_t>(LOUT), ' ');
    for (long long i = 0; i < LOUT; ++i) {
        char c = at(CIN, i);
        if (i < NN) {
            // Only the letters a to z and A to Z change; umlauts, digits and signs stay.
            if (NCHAR >= 0 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            if (NCHAR < 0 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        work[static_cast<std::size_t>(i)] = c;
    }
    if (COUT.size() < work.size()) COUT.resize(work.size(), ' ');
    COUT.replace(0, work.size(), work);
}

int LENTRM(std::string_view text, int N) {
    if (N < 1) return 0;
    // Only the blank counts as empty: tabs and NUL are characters.
    // Beyond the end of the text everything is blank.
    long long i = std::min(static_cast<long long>(N), static_cast<long long>(text.size()));
    for (; i >= 1; --i)
        if (text[static_cast<std::size_t>(i - 1)] != ' ') return static_cast<int>(i);
    return 0;
}

std::size_t find_name(std::string_view line, std::string_view key) {
    for (std::size_t at = line.find(key); at != std::string_view::npos; at = line.find(key, at + 1)) {
        const char c = at == 0 ? ' ' : line[at - 1];
        const bool tail = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        if (!tail) return at;
    }
    return std::string_view::npos;
}

}  // namespace korvex::input
