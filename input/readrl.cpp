// READRL: one real value behind each of N search strings, with a flag per value. A search
// string that is missing from the line is not an error: the caller's default stands.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "input/readers.hpp"
#include "input/scan.hpp"
#include "runtime/fieldread.hpp"

namespace korvex::input {

using runtime::A;
using runtime::I;

namespace {

constexpr int MAX_L = 12;

// The text of a number as a 12-character field: right-justified in its first L characters.
std::string work_string(std::string_view text, int L) {
    std::string w(MAX_L, ' ');
    std::copy(text.begin(), text.end(), w.begin() + (L - static_cast<int>(text.size())));
    return w;
}

void value_set_to_zero(runtime::Unit& unit, std::string_view S) {
    unit.free("     Value for ", S, "is set to 0.0");
}

// No value could be read behind the search string S: the heading that says why, the string
// and the line, and the note that the value is taken as 0.
void no_value(runtime::Units& u, std::string_view heading, std::string_view S, int IZEILE,
              const std::string& L80) {
    for (runtime::Unit* unit : {&u.u9, &u.u6}) {
        unit->line(heading);
        unit->record(" ", A(S, 11), " IN INPUT LINE: ZEILE", I(IZEILE, 3));
        unit->line(L80);
        value_set_to_zero(*unit, S);
    }
}

// The value read as written; no value when the text is not a number or does not fit a
// single-precision real.
std::optional<double> read_value(std::string_view work) {
    const std::optional<double> d = runtime::read_real_field(work);
    if (!d) return std::nullopt;
    if (std::fabs(*d) > static_cast<double>(std::numeric_limits<float>::max())) return std::nullopt;
    return d;
}

void flag_all(std::span<int> IERR, std::size_t N) {
    for (std::size_t j = 0; j < N; ++j) IERR[j] = 1;
}

void report_comma(runtime::Units& u, std::string_view Si, int IZEILE, const std::string& L80) {
    u.u9.line(" ### ERROR IN DATA INPUT POSSIBLE: KOMMA \",\" NOT ALLOWED WITHIN A NUMBER");
    u.u9.record(" BUT ONLY BEHIND A NUMBER AS A SEPARATOR; PROCESSING SEARCH STRING: ", A(Si, 11));
    u.u9.record(" IN THE INPUT LINE: ZEILE", I(IZEILE, 3));
    u.u9.line(L80);
    u.u6.line(" ### ERROR IN DATA INPUT POSSIBLE: KOMMA \",\" NOT ALLOWED WITHIN A NUMBER");
    u.u6.line(" BUT ONLY BEHIND A NUMBER AS A SEPARATOR; PROCESSING SEARCH STRING: ");
    u.u6.record(" ", A(Si, 11));
    u.u6.record(" IN THE INPUT LINE: ZEILE", I(IZEILE, 3));
    u.u6.line(L80);
}

void report_too_long(runtime::Units& u, std::string_view Si, int L, int IZEILE, const std::string& L80) {
    u.u9.record(" ### ERROR IN DATA INPUT: NUMBER FOUND AFTER SEARCH STRING:", A(Si, 11));
    u.u9.record(" IS GREATER THAN ", I(L, 3), " DIGITS. PROCESSING THE INPUT LINE: ZEILE", I(IZEILE, 3));
    u.u9.line(L80);
    value_set_to_zero(u.u9, Si);
    u.u6.line(" ### ERROR IN DATA INPUT: NUMBER FOUND AFTER SEARCH STRING:");
    u.u6.record(" ", A(Si, 11), " IS GREATER THAN ", I(L, 3), " DIGITS.");
    u.u6.record(" PROCESSING THE INPUT LINE: ZEILE", I(IZEILE, 3));
    u.u6.line(L80);
    value_set_to_zero(u.u6, Si);
}

// Whether the reader goes on with the next search string or ends the call.
enum class Next { go_on, stop };

// The value behind the search string Si, found at p with its first len1 characters, into Xi
// with its flag in IERRi. A comma inside the number ends the call.
Next read_value_at(runtime::Units& u, int IZEILE, int L, std::string_view ZLINE, std::string_view Si,
                   std::size_t p, std::size_t len1, int& IERRi, double& Xi) {
    const ScannedValue v = scan_value(ZLINE, p + len1);
    const std::string L80 = line80(ZLINE);
    if (v.comma_inside) {
        report_comma(u, Si, IZEILE, L80);
        IERRi = 1;
    }
    if (v.no_digit) {
        no_value(u, " ### ERROR IN DATA INPUT: NO DIGIT FOUND AFTER SEARCH STRING:", Si, IZEILE, L80);
        Xi = 0.0;
        IERRi = 1;
        return Next::go_on;
    }
    const std::size_t NDIG = v.NDIG();
    if (L < 1 || NDIG > static_cast<std::size_t>(L)) {
        report_too_long(u, Si, L, IZEILE, L80);
        IERRi = 1;
        Xi = 0.0;
        return Next::go_on;
    }
    const std::string work = work_string(ZLINE.substr(v.ISTART, NDIG), L);
    if (v.comma_inside) {
        for (runtime::Unit* unit : {&u.u9, &u.u6}) {
            unit->record(" ERROR: Look for line", I(IZEILE, 2), A(Si, 11), A(work, 12));
            unit->line("      : Perhaps automatic scaling is possible");
        }
        return Next::stop;
    }
    if (u.level(5)) {
        u.u9.record(" search in line", I(IZEILE, 2), A(Si, 11), A(work, 12));
        u.u6.record(" Search in line", I(IZEILE, 2), A(Si, 11), A(work, 12));
    }
    const std::optional<double> x = read_value(work);
    if (!x) {
        // The text passed the scan but is no number ("1.2.3", "+-4") or is out of range.
        no_value(u, " ### ERROR IN DATA INPUT: NO VALID NUMBER FOUND AFTER SEARCH STRING:", Si,
                 IZEILE, L80);
        Xi = 0.0;
        IERRi = 1;
        return Next::go_on;
    }
    Xi = *x;
    return Next::go_on;
}

}  // namespace

void READRL(runtime::Units& u, int IZEILE, int L, std::span<const int> L1, std::span<int> IERR,
            std::string_view ZLINE, std::span<const std::string> S, std::span<float> X, NameMatch match,
            std::span<double> written) {
    const std::size_t N = std::min({L1.size(), IERR.size(), S.size(), X.size()});
    trace_line(u, " ### Eingabe Pruefer \"READRL\" bearbeitet ZEILE", IZEILE, ZLINE);
    if (L > MAX_L) {
        for (runtime::Unit* unit : {&u.u9, &u.u6}) {
            unit->line(" ### ERROR IN SUBROUTINE \"READRL\"");
            unit->line(" PROCESSING NOT POSSIBLE, FOURTH ARGUMENT MUST BE L <= 12");
            unit->record(" YOU SPECIFY L=", I(L, 4));
        }
        flag_all(IERR, N);
        return;
    }

    for (std::size_t i = 0; i < N; ++i) {
        const std::string_view Si = given_or_blank(S[i]);
        // The significant part of the search string; never more than the string itself.
        const std::size_t len1 = L1[i] > 0 ? std::min(static_cast<std::size_t>(L1[i]), Si.size()) : 0;
        if (L1[i] == 1 && Si[0] == ' ') {
            for (runtime::Unit* unit : {&u.u9, &u.u6})
                unit->line(" ### ERROR FIRST BYTE OF THE SEARCH-STRING IS BLANK, NO PROCCESSING. RETURN!");
            flag_all(IERR, N);
            return;
        }
        IERR[i] = 0;
        if (L1[i] == 0) continue;
        if (L1[i] < 0) {
            IERR[i] = 1;
            for (runtime::Unit* unit : {&u.u9, &u.u6}) {
                unit->record(" ### ERROR LENGTH OF SEARCH-STRING: L1(", I(static_cast<long long>(i + 1), 2),
                             ") FOR: ", A(Si, 13));
                unit->line(" IS <= ZERO");
            }
            return;
        }
        const std::string_view key = Si.substr(0, len1);
        const std::size_t p = match == NameMatch::whole_name ? find_name(ZLINE, key) : ZLINE.find(key);
        if (p == std::string_view::npos) continue;
        double x = X[i];
        const Next next = read_value_at(u, IZEILE, L, ZLINE, Si, p, len1, IERR[i], x);
        X[i] = static_cast<float>(x);
        if (i < written.size()) written[i] = x;
        if (next == Next::stop) return;
    }
}

}  // namespace korvex::input
