// LESEPR: finds the keywords of a deck line and hands the text of the number behind each one,
// right-justified, to the caller, who reads the fields with its own layout.
#include <algorithm>
#include <array>

#include "input/readers.hpp"
#include "input/scan.hpp"

namespace korvex::input {

using runtime::A;
using runtime::I;

namespace {

constexpr int MAX_STRINGS = 7;
constexpr int MAX_L = 11;

using SearchStrings = std::array<std::string_view, MAX_STRINGS>;

// S1..S7; strings not given (and empty ones) count as a single blank.
SearchStrings search_strings(std::initializer_list<std::string_view> S) {
    SearchStrings SS;
    SS.fill(" ");
    int i = 0;
    for (std::string_view s : S) {
        if (i == MAX_STRINGS) break;
        SS[static_cast<std::size_t>(i++)] = given_or_blank(s);
    }
    return SS;
}

// The call must ask for fields of at most 11 characters and hand an output string that holds
// seven of them.
bool layout_ok(runtime::Units& u, int L, std::size_t out_len) {
    if (L > MAX_L) {
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->line(" ### ERROR IN SUBROUTINE LESEPR");
            unit->line(" PROCESSING NOT POSSIBLE, SECOND ARGUMENT MUST BE L <= 11");
            unit->record(" YOU SPECIFY L=", I(L, 4));
        }
        return false;
    }
    if (static_cast<long long>(out_len) < 7LL * L) {
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->line(" ### ERROR IN SUBROUTINE LESEPR");
            unit->line(" OUTPUT CHARACTER STRING MUST BE >= 7*L");
            unit->record(" YOUR OUTPUT STRING IS OF LENGTH ", I(static_cast<long long>(out_len), 4),
                         " AND YOU SPECIFY L=", I(L, 3));
        }
        return false;
    }
    return true;
}

// Every one of the seven strings is checked, used or not; at detail level 5 they are listed.
void check_search_strings(runtime::Units& u, int IZEILE, const SearchStrings& SS, int& IERR) {
    for (std::string_view s : SS) {
        if (s.size() > 12) {
            IERR = 1;
            for (runtime::Unit* unit : {&u.u6, &u.u9}) {
                unit->free(" ### ERROR IN SUBROUTINE LESEPR. SEARCH-STRING:", s);
                unit->free("     HAS MORE THAN 12 CHARACTERS");
            }
        }
    }
    if (!u.level(5)) return;
    for (runtime::Unit* unit : {&u.u6, &u.u9}) {
        unit->record(" ### Such Begriffe in ZEILE", I(IZEILE, 2), ":");
        unit->record(A(SS[0], 11), A(SS[1], 11), A(SS[2], 11), A(SS[3], 11), A(SS[4], 11),
                     A(SS[5], 11), A(SS[6], 11));
    }
}

// Messages name the search string by the first 11 characters of a 12-character copy:
// left-justified, blank-filled.
std::string name11(std::string_view s) {
    std::string copy(s.substr(0, 12));
    copy.resize(12, ' ');
    copy.resize(11);
    return copy;
}

// A search string missing from the line: its field is not used, so the values that follow
// move up by one field.
void report_missing(runtime::Units& u, int IZEILE, std::string_view ZLINE, std::string_view S11) {
    for (runtime::Unit* unit : {&u.u6, &u.u9}) {
        unit->record(" ### Fehler in der Daten Eingabe: Such Begriff: ", S11);
        unit->record(" nicht gefunden in der Eingabe-ZEILE", I(IZEILE, 3), " :");
    }
    u.u6.free(ZLINE);
    u.u9.free(ZLINE);
}

// The number behind search string S11, whose text begins at ISTART, into field k (width L) of
// OUT, right-justified with the blanks and signs that stood before the digits.
void store_field(runtime::Units& u, int IZEILE, int L, std::string& OUT, std::string_view ZLINE, int& IERR,
                 std::string_view S11, std::size_t ISTART, int k) {
    const ScannedValue v = scan_value(ZLINE, ISTART);
    if (v.comma_inside) {
        IERR = 1;
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->line(" ### ERROR IN DATA INPUT POSSIBLE: KOMMA \",\" NOT ALLOWED WITHIN A NUMBER");
            unit->record(" BUT ONLY BEHIND A NUMBER AS A SEPARATOR; PROCESSING SEARCH STRING: ", S11);
            unit->record(" IN THE INPUT LINE: ZEILE", I(IZEILE, 3));
            unit->record(A(line80(ZLINE), 80));
        }
    }
    if (v.no_digit) {
        IERR = 1;
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->line(" ### ERROR IN DATA INPUT: NO DIGIT FOUND AFTER SEARCH STRING:");
            unit->record(" ", S11, " IN INPUT LINE: ZEILE", I(IZEILE, 3));
            unit->record(A(line80(ZLINE), 80));
        }
        return;
    }
    const std::size_t NDIG = v.NDIG();
    if (L < 1 || NDIG > static_cast<std::size_t>(L)) {
        IERR = 1;
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->record(" ### ERROR IN DATA INPUT: NUMBER FOUND AFTER SEARCH STRING:", S11);
            unit->record(" IS GREATER THAN ", I(L, 3), " DIGITS. PROCESSING THE INPUT LINE: ZEILE",
                         I(IZEILE, 3));
            unit->record(A(line80(ZLINE), 80));
        }
        return;
    }
    const std::size_t field = static_cast<std::size_t>(k) * static_cast<std::size_t>(L);
    const std::size_t lead = static_cast<std::size_t>(L) - NDIG;
    std::fill_n(OUT.begin() + field, lead, ' ');
    std::copy_n(ZLINE.begin() + v.ISTART, NDIG, OUT.begin() + field + lead);
}

}  // namespace

void LESEPR(runtime::Units& u, int IZEILE, int L, std::string& OUT, std::string_view ZLINE, int& IERR,
            std::initializer_list<std::string_view> S) {
    const SearchStrings SS = search_strings(S);
    trace_line(u, " ### Eingabe Pruefer \"LESEPR\" bearbeitet ZEILE", IZEILE, ZLINE);
    if (!layout_ok(u, L, OUT.size())) {
        IERR = 1;
        return;
    }
    check_search_strings(u, IZEILE, SS, IERR);
    if (IERR != 0) return;

    int k = -1;
    for (std::string_view s : SS) {
        if (s == " ") return;
        const std::string S11 = name11(s);
        const std::size_t p = ZLINE.find(s);
        if (p == std::string_view::npos) {
            IERR = 1;
            report_missing(u, IZEILE, ZLINE, S11);
            continue;
        }
        ++k;
        store_field(u, IZEILE, L, OUT, ZLINE, IERR, S11, p + s.size(), k);
    }
}

}  // namespace korvex::input
