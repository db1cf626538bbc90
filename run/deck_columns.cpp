#include "run/deck_columns.hpp"

#include <algorithm>

#include "runtime/format.hpp"

namespace korvex::run {

namespace {

constexpr std::size_t COLUMNS = 80;
constexpr std::size_t SHOWN = 24;  // characters of a text a message quotes

bool starts_number(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-'; }

bool number_or_keyword(std::string_view word) {
    return std::any_of(word.begin(), word.end(), [](char c) { return (c >= '0' && c <= '9') || c == '=' || c == ':'; });
}

// Where the word that ends at column 80 begins; with a number of its own, where the word before it
// (its keyword) begins.
std::size_t word_start(std::string_view raw) {
    std::size_t b = raw.find_last_of(' ') == std::string_view::npos ? 0 : raw.find_last_of(' ') + 1;
    if (b == 0 || !starts_number(raw[b])) return b;
    const std::size_t kw_end = raw.find_last_not_of(' ', b - 1);
    if (kw_end == std::string_view::npos) return b;
    const std::size_t kw_blank = raw.find_last_of(' ', kw_end);
    return kw_blank == std::string_view::npos ? 0 : kw_blank + 1;
}

}  // namespace

std::string word_cut_at_80(std::string_view raw, std::string_view beyond) {
    if (raw.size() < COLUMNS || raw[COLUMNS - 1] == ' ' || beyond.empty() || beyond[0] == ' ') return {};
    const std::string_view head = raw.substr(0, COLUMNS);
    const std::string_view tail = beyond.substr(0, beyond.find(' '));
    std::string word(head.substr(word_start(head)));
    word += tail;
    return number_or_keyword(word) ? word : std::string();
}

void note_text_beyond_80(runtime::Units& u, long long record, std::string_view beyond) {
    const std::size_t first = beyond.find_first_not_of(' ');
    const std::string_view text = first == std::string_view::npos ? beyond : beyond.substr(first, SHOWN);
    u.note(" ### WARNUNG: Eingabesatz" + runtime::I(record, 5) + ": Text nach Spalte 80 wird nicht gelesen: \"" +
           std::string(text.substr(0, text.find_last_not_of(' ') + 1)) + "\"");
}

void report_cut_at_80(runtime::Units& u, std::string_view line_no, int NFAIL, std::string_view word, bool stops) {
    const std::string text = " ===> FEHLER " + runtime::I(NFAIL, 3) + " in der Eingabe ZEILE" + std::string(line_no) +
                             ": Spalte 80 teilt \"" + std::string(word.substr(0, 2 * SHOWN)) + "\"" +
                             (stops ? "; Programm STOP" : "; der Wert wird nicht gelesen");
    u.u6.line(text);
    u.u9.line(text);
}

}  // namespace korvex::run
