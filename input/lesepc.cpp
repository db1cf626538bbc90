// LESEPC: reads the short names (of plottable quantities) that follow one search string, such
// as the names behind "ABSZISSE|" or "ORDINATEN|" of a diagram definition.
#include <algorithm>

#include "input/readers.hpp"
#include "input/scan.hpp"

namespace korvex::input {

using runtime::A;
using runtime::I;

namespace {

bool is_separator(char c) { return c == ' ' || c == ',' || c == '|'; }

// Names of at most 6 characters, and an output string that holds N of them.
bool layout_ok(runtime::Units& u, int L, int N, std::size_t out_len) {
    if (L > 6) {
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->line(" ### ERROR IN SUBROUTINE LESEPC");
            unit->line(" PROCESSING NOT POSSIBLE, SECOND ARGUMENT MUST BE L <= 6");
            unit->record(" YOU SPECIFY L=", I(L, 4), " SEARCH ONLY FOR NAMES WITH MAX. 6 CHARACTERS");
        }
        return false;
    }
    if (static_cast<long long>(L) * N > static_cast<long long>(out_len)) {
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->line(" ### ERROR IN SUBROUTINE LESEPC");
            unit->record(" OUTPUT CHARACTER STRING MUST BE >= ", I(N, 1), "*L");
            unit->record(" YOUR OUTPUT STRING IS OF LENGTH ", I(static_cast<long long>(out_len), 4),
                         " AND YOU SPECIFY L=", I(L, 3));
        }
        return false;
    }
    return true;
}

// The next name of part from pos on: the characters between separators. pos moves behind it;
// an empty view when none is left.
std::string_view next_name(std::string_view part, std::size_t& pos) {
    std::size_t first = std::string_view::npos;
    std::size_t J = pos;
    for (; J < part.size(); ++J) {
        if (is_separator(part[J])) {
            if (first != std::string_view::npos) break;
        } else if (first == std::string_view::npos) {
            first = J;
        }
    }
    pos = J;
    if (first == std::string_view::npos) return {};
    return part.substr(first, J - first);
}

// Name i (1-based) into its field of OUT, left-justified and blank-filled; a name longer than
// L is reported and stored cut to the field.
void store_name(runtime::Units& u, int IZEILE, int L, std::string& OUT, std::string_view ZLINE, int& IERR,
                std::string_view name, int i) {
    if (static_cast<long long>(name.size()) > L) {
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->record(" ### ERROR IN DATA INPUT: NAME IS GREATER THAN", I(L, 2), " CHARACTERS.");
            unit->free("THIS NAME IS: \"" + std::string(name) + "\" with", static_cast<long long>(name.size()),
                       " CHARACTERS");
            unit->record(" PROCESSING THE INPUT LINE: ZEILE", I(IZEILE, 3), A(line80(ZLINE), 80));
        }
        IERR = 1;
    }
    if (L <= 0) return;
    const std::size_t w = static_cast<std::size_t>(L);
    const std::size_t field = static_cast<std::size_t>(i - 1) * w;
    const std::size_t n = std::min(name.size(), w);
    std::copy_n(name.begin(), n, OUT.begin() + field);
    std::fill_n(OUT.begin() + field + n, w - n, ' ');
}

}  // namespace

void LESEPC(runtime::Units& u, int IZEILE, int L, std::string& OUT, std::string_view ZLINE, int& IERR,
            std::string_view S, int N) {
    S = given_or_blank(S);
    trace_line(u, " ### Eingabe Pruefer \"LESEPC\" bearbeitet ZEILE", IZEILE, ZLINE);
    if (!layout_ok(u, L, N, OUT.size())) {
        IERR = 1;
        return;
    }
    if (S.size() > 12) {
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->free("### ERROR IN SUBROUTINE LESEPC. SEARCH-STRING:", S);
            unit->free("     HAS MORE THAN 12 CHARACTERS");
        }
        IERR = 1;
    } else if (u.level(5)) {
        for (runtime::Unit* unit : {&u.u6, &u.u9})
            unit->record(" ### Such Begriff in ZEILE", I(IZEILE, 2), " ist: ", A(S, 14));
    }
    if (IERR != 0) return;

    // The last 8 columns of a line are never looked at.
    const std::string_view part = ZLINE.substr(0, ZLINE.size() > 8 ? ZLINE.size() - 8 : 0);
    const std::size_t p = part.find(S);
    if (p == std::string_view::npos) {
        IERR = 1;
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->record(" ### ERROR IN DATA INPUT, SEARCH-STRING:", A(S, 11));
            unit->record(" NOTFOUND IN INPUT LINE: ZEILE", I(IZEILE, 3));
        }
        return;
    }
    std::size_t pos = p + S.size();
    for (int i = 1; i <= N; ++i) {
        if (pos >= part.size()) return;
        const std::string_view name = next_name(part, pos);
        if (name.empty()) return;
        store_name(u, IZEILE, L, OUT, ZLINE, IERR, name, i);
    }
}

}  // namespace korvex::input
