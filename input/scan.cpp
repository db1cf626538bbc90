#include "input/scan.hpp"

#include "runtime/format.hpp"

namespace korvex::input {

namespace {

bool starts_number(char c) { return c == '.' || c == '+' || c == '-' || (c >= '0' && c <= '9'); }

}  // namespace

ScannedValue scan_value(std::string_view line, std::size_t ISTART) {
    ScannedValue v;
    v.ISTART = ISTART;
    bool no_digit = true;
    std::size_t NBLANK = 0;
    bool comma = false;
    std::size_t ICOMMA = 0;
    // Running off the end of the line without a stop leaves JEND just past the last column;
    // a stop leaves it at the stopping character.
    std::size_t JEND = line.size();
    for (std::size_t J = ISTART; J < line.size(); ++J) {
        const char C = line[J];
        if (C == ' ') {
            // Blanks before the number are part of its field; blanks after a digit are counted
            // and given back by the digits that follow them.
            if (!no_digit) ++NBLANK;
            continue;
        }
        if (no_digit && (C == '-' || C == '+')) continue;
        if (C == 'E') {
            // Only an exponent letter after digits belongs to the number; a leading E is the
            // start of something else.
            if (no_digit) { JEND = J; break; }
            continue;
        }
        if (starts_number(C)) {
            no_digit = false;
            if (comma) {
                // A digit behind a comma: the comma stood inside the number.
                JEND = J + 1;
                break;
            }
            if (NBLANK > 0) --NBLANK;
            continue;
        }
        if (C == ',') {
            comma = true;
            ICOMMA = J;
            continue;
        }
        JEND = J;
        break;
    }
    // Blanks that followed the last digit are not part of the number.
    JEND = JEND >= NBLANK ? JEND - NBLANK : 0;
    if (comma && JEND > 0) {
        --JEND;
        if (JEND > ICOMMA) {
            v.comma_inside = true;
            ++JEND;
        }
    }
    v.JEND = JEND;
    v.no_digit = no_digit || JEND <= ISTART;
    return v;
}

std::string line80(std::string_view line) {
    std::string s(line.substr(0, 80));
    s.resize(80, ' ');
    return s;
}

void trace_line(runtime::Units& u, std::string_view heading, int IZEILE, std::string_view ZLINE) {
    if (!u.level(5)) return;
    for (runtime::Unit* unit : {&u.u6, &u.u9}) {
        unit->record(heading, runtime::I(IZEILE, 3));
        unit->free(ZLINE);
    }
}

}  // namespace korvex::input
