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

}  // namespace

void LESEPR(runtime::Units& u, int IZEILE, int L, std::string& OUT, std::string_view ZLINE, int& IERR,
            std::initializer_list<std::string_view> S) {
    // S1..S7; strings not given (and empty ones) count as a single blank.
    std::array<std::string_view, MAX_STRINGS> SS;
    SS.fill(" ");
    {
        int i = 0;
        for (std::string_view s : S) {
            if (i == MAX_STRINGS) break;
            SS[i++] = given_or_blank(s);
        }
    }

    trace_line(u, " ### Eingabe Pruefer \"LESEPR\" bearbeitet ZEILE", IZEILE, ZLINE);

    if (L > MAX_L) {
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->line(" ### ERROR IN SUBROUTINE LESEPR");
            unit->line(" PROCESSING NOT POSSIBLE, SECOND ARGUMENT MUST BE L <= 11");
            unit->record(" YOU SPECIFY L=", I(L, 4));
        }
        IERR = 1;
        return;
    }
    if (static_cast<long long>(OUT.size()) < 7LL * L) {
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->line(" ### ERROR IN SUBROUTINE LESEPR");
            unit->line(" OUTPUT CHARACTER STRING MUST BE >= 7*L");
            unit->record(" YOUR OUTPUT STRING IS OF LENGTH ", I(static_cast<long long>(OUT.size()), 4),
                         " AND YOU SPECIFY L=", I(L, 3));
        }
        IERR = 1;
        return;
    }
    // Every one of the seven strings is checked, used or not.
    for (std::string_view s : SS) {
        if (s.size() > 12) {
            IERR = 1;
            for (runtime::Unit* unit : {&u.u6, &u.u9}) {
                unit->free(" ### ERROR IN SUBROUTINE LESEPR. SEARCH-STRING:", s);
                unit->free("     HAS MORE THAN 12 CHARACTERS");
            }
        }
    }
    if (u.level(5)) {
        for (runtime::Unit* unit : {&u.u6, &u.u9}) {
            unit->record(" ### Such Begriffe in ZEILE", I(IZEILE, 2), ":");
            unit->record(A(SS[0], 11), A(SS[1], 11), A(SS[2], 11), A(SS[3], 11), A(SS[4], 11),
                         A(SS[5], 11), A(SS[6], 11));
        }
    }
    if (IERR != 0) return;

    int k = -1;
    for (std::string_view s : SS) {
        if (s == " ") return;
        // Messages name the search string by the first 11 characters of a 12-character copy:
        // left-justified, blank-filled.
        std::string copy(s.substr(0, 12));
        copy.resize(12, ' ');
        const std::string_view S11 = std::string_view(copy).substr(0, 11);
        const std::size_t p = ZLINE.find(s);
        if (p == std::string_view::npos) {
            // The field is not used: the values that follow move up by one field.
            IERR = 1;
            for (runtime::Unit* unit : {&u.u6, &u.u9}) {
                unit->record(" ### Fehler in der Daten Eingabe: Such Begriff: ", S11);
                unit->record(" nicht gefunden in der Eingabe-ZEILE", I(IZEILE, 3), " :");
            }
            u.u6.free(ZLINE);
            u.u9.free(ZLINE);
            continue;
        }
        ++k;
        const ScannedValue v = scan_value(ZLINE, p + s.size());
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
            continue;
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
            continue;
        }
        // Right-justified in field k, with the blanks and signs that stood before the digits.
        const std::size_t field = static_cast<std::size_t>(k) * static_cast<std::size_t>(L);
        const std::size_t lead = static_cast<std::size_t>(L) - NDIG;
        std::fill_n(OUT.begin() + field, lead, ' ');
        std::copy_n(ZLINE.begin() + v.ISTART, NDIG, OUT.begin() + field + lead);
    }
}

}  // namespace korvex::input
