// The deck reference against the program: every error number and every bound docs/deck.md
// states is shown by a case read through the program's own deck reader (with the machine
// derivation, or a whole job, only where the number comes from there). The bounds come from the
// range table: every row just inside and just outside both bounds, for each pair of a row per
// pair; the reader's longest number and one longer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <regex>
#include <set>

#include "../e2e/e2e_support.hpp"
#include "deck_support.hpp"
#include "run/deck_ranges.hpp"
#include "run/machine.hpp"

using namespace deck_test;
using korvex::run::DeckRange;
using korvex::run::Per;

namespace {

// The error number of a run that ends early and goes on: the events counted, 1 to 99.
constexpr int COUNTED = -1;

// How far a case goes: the deck reader, the machine derivation as well, or the whole job.
enum class Reach { reader, machine, job };

struct Case {
    std::string what;
    std::vector<std::string> deck;
    int nfail;        // the error number the job ends with (0: none)
    bool stops;       // the reader stops the job (else the run is read to its end)
    Reach reach = Reach::reader;
    std::string note = {};  // a record the short listing must hold
};

// A run of mode ISO in which every keyword of the optional lines appears once, keyed by the
// line names of the range table. IN is large so that REGELN AB may reach its row's bound.
using Keyed = std::vector<std::pair<std::string, std::string>>;
Keyed iso_run() {
    return {{"1", "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=4 IPRNT=0"},
            {"2 ISO", "ISO MASSE=0 F=0 STROM=0.01 DELTAT=0 DELTAP=0"},
            {"nozzle 1", "DUESE NDUE=10 DDUE=0.1 NDUC=10 DDUC=0.1"},
            {"nozzle 2", "DUESE OFRE=1 OFRC=1 LUST=0"},
            {"3", "NACH: 3 DAEMPFUNG=1.0 FSEAL=10.0 PHASE=-90.0"},
            {"4", "DH=6.0 DK=6.0 R=1.8 DKST=0.5 P0=20.0 TH=900.0 TK=300.0"},
            {"5", "T0=300.0 VOLUMEN=0.02 SGRAD=95.0"},
            {"6", "ZW=0 ZH0E=10 ZH0C=10 N0=1000 THETA=500000 DICKE=2 %"},
            {"7", "L/R=4.0 REGELN AB 0.5 IN 1E6 RVE=0 RVC=0 % GAS=XX"},
            {"8", "RO=1.25 CP=1.04"},
            {"9", "MG=28.0 X=1.4"},
            {"DEF", "DEF DSD=6 DS3=2 DQD=6 DQDAMPF=2"},
            {"VTE", "VTE1=0 VTC1=0 VTE2=0 VTC2=0 VTE3=0 VTC3=0 VTE4=0 VTC4=0"},
            {"ATE", "ATE1=0 ATC1=0 ATE2=0 ATC2=0 ATE3=0 ATC3=0 ATE4=0 ATC4=0"},
            {"11", "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=1"},
            {"scaling", "P(F)=0 P(D)=0"},
            {"16", "ABSZISSE| VG1 GITTER=0 NBILD=0"},
            {"17", "ORDINATEN| P1"}};
}

// The same run in mode TEMPD or POLY: the mode line and its lines in place of those of ISO.
Keyed mode_run(bool tempd) {
    const std::string row = "  10  10  10  10  10  10  10  10  10  10  10  10  10  10  10  10  10  10";
    const Keyed mode = tempd ? Keyed{{"2 TEMPD", "TEMPD FTE=1 FTK=1"}, {"", "E"}, {"D-TE", row}, {"", "E"}, {"", row},
                                     {"", "C"}, {"D-TC", row}, {"", "C"}, {"", row}}
                             : Keyed{{"2/1 POLY", "POLY VCRANC=2750"}, {"2/2 POLY", "EPSILON_E=1.3"},
                                     {"2/3 POLY", "START_TE=850"}, {"2/4 POLY", "EPSILON_C=1.3"},
                                     {"2/5 POLY", "START_TC=320 MODELL= 1"}};
    Keyed run = iso_run();
    run.erase(run.begin() + 1, run.begin() + 4);
    run.insert(run.begin() + 1, mode.begin(), mode.end());
    return run;
}

// The value as a deck writes it, in six digits (the steps are 1E-5 of a bound): "1.00001E16".
std::string text_of(double v, bool whole) {
    char buf[32];
    std::snprintf(buf, sizeof buf, whole ? "%.0f" : "%.6G", v);
    return std::regex_replace(buf, std::regex(R"(E\+?(-?)0*(\d))"), "E$1$2");
}

// The run with `key`'s value on `line` replaced by `value` (on a table line: its first field),
// its dead and control volumes in cm**3 when `per` asks for it.
std::vector<std::string> deck_with(Keyed run, const std::string& line, const std::string& key, const std::string& value,
                                   Per per) {
    std::vector<std::string> out;
    for (auto& [k, text] : run) {
        if (per == Per::volume && (k == "6" || k == "7")) std::erase(text, '%');
        if (k == line && (key == "D-TE" || key == "D-TC")) {
            text.replace(0, 4, std::string(4 - value.size(), ' ') + value);
        } else if (k == line) {
            const std::size_t from = text.find_first_not_of(' ', text.find(key) + key.size());
            text.replace(from, std::min(text.find(' ', from), text.size()) - from, value);
        }
        out.push_back(text);
    }
    out.push_back("STOP");
    return out;
}

// The whole-number fields (the TEMPD tables: fields of 4 columns without decimals).
const std::set<std::string> WHOLE = {"IPRNT=", "NDUE=", "NDUC=",  "NACH:",  "DSD=",   "DS3=", "DQD=",
                                     "DQDAMPF=", "SCALE=", "GITTER=", "NBILD=", "D-TE", "D-TC"};

// Just inside and just outside both bounds of every row (each pair's keyword for a row per
// pair), where the value fits its field.
std::vector<Case> range_cases() {
    std::vector<Case> cases;
    for (const DeckRange& r : korvex::run::deck_ranges()) {
        const std::string line(r.line);
        const bool whole = WHOLE.contains(std::string(r.keyword));
        const auto step = [&](double b) { return whole ? 1.0 : b == 0.0 ? 1e-5 : std::fabs(b) * 1e-5; };
        const double lo_in = r.lo_open ? r.lo + step(r.lo) : r.lo, lo_out = r.lo_open ? r.lo : r.lo - step(r.lo);
        const Keyed run = line.find("TEMPD") != std::string::npos || line == "2 tables" ? mode_run(true)
                          : line.find("POLY") != std::string::npos                      ? mode_run(false)
                                                                                         : iso_run();
        const std::size_t width = line == "2 tables" ? 4 : line == "2 ISO" || line == "scaling" ? 12 : 11;
        std::string key = r.keyword == "(F)= (D)=" ? "P(D)=" : std::string(r.keyword);
        const std::size_t n_at = key.find('n');
        for (int n = 1; n <= (n_at == std::string::npos ? 1 : 4); ++n) {
            if (n_at != std::string::npos) key[n_at] = static_cast<char>('0' + n);
            const int above = key == "PHASE=" ? 336 : r.NFAIL;  // a positive phase has a number of its own
            for (auto [v, nfail] : {std::pair{lo_in, 0}, {lo_out, r.NFAIL}, {r.hi, 0}, {r.hi + step(r.hi), above}}) {
                const std::string value = text_of(v, whole);
                if (value.size() > width) continue;
                const std::string at = line == "2 tables" ? key : line;  // the table of its side
                cases.push_back({key + value, deck_with(run, at, key, value, r.per), nfail, nfail != 0 && r.stops});
            }
        }
    }
    return cases;
}

std::vector<std::string> base(std::initializer_list<std::pair<int, std::string>> changes, int at = L11,
                              std::vector<std::string> extra = {}) {
    auto l = base_run();
    for (const auto& [i, text] : changes) l[static_cast<std::size_t>(i)] = text;
    l.insert(l.begin() + at, extra.begin(), extra.end());
    return l;
}

// The numbers the reference names outside the range table, and the reader's longest numbers.
std::vector<Case> statement_cases() {
    const std::string h1 = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=";
    const std::string gas = "L/R=4.0 REGELN AB 0.5 IN 0.1 RVE=0 RVC=0";
    const std::string scale1 = "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=1";
    std::vector<Case> c = {
        {"TIME= 11 characters", base({{L1, "AUS: TIME=0.200000000 SCHRITT=0.0001 NZYL=1 IPRNT=0"}}), 0, false},
        {"TIME= 12 characters", base({{L1, "AUS: TIME=0.2000000000 SCHRITT=0.0001 NZYL=1 IPRNT=0"}}), 501, true},
        {"MASSE= 12 characters", base({{L2, "ISO MASSE=0.0000000000"}}), 0, false},
        {"MASSE= 13 characters", base({{L2, "ISO MASSE=0.00000000000"}}), 502, false},
        {"ISO value no number", base({{L2, "ISO STROM=0,5"}}), 502, false},
        {"P(F)= 12 characters", base({{L11, scale1}}, L16, {"P(F)=0.0000000000"}), 0, false},
        {"P(F)= 13 characters", base({{L11, scale1}}, L16, {"P(F)=0.00000000000"}), 512, false},
        {"scaling value cut at column 80", base({{L11, scale1}}, L16, {pad80("P(F)=1").replace(74, 6, "P(D)=5") + "0"}),
         512, false},
        {"no AUS", base({{L1, "XX: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=0"}}), 332, true},
        {"no mode", base({{L2, "NOTHING"}}), 333, true},
        {"NZYL=3", base({{L1, h1 + "3 IPRNT=0"}}), 299, true},
        {"REGELN AB at -IN", base({{L7, "L/R=4.0 REGELN AB -0.1 IN 0.1 RVE=0 RVC=0 GAS=HE"}}), 0, false},
        {"REGELN AB below -IN", base({{L7, "L/R=4.0 REGELN AB -0.10001 IN 0.1 RVE=0 RVC=0 GAS=HE"}}), 507, true},
        {"no GAS=", base({{L7, gas}}), 507, false},
        {"diagram keyword without DIAGRAM", base({}, L11, {"XL=12"}), 511, true},
        {"no ORDINATEN|", base({{L17, "P1"}}), 517, true},
        {"column 80 cuts TK=", base({{L4, pad80("DH=6.0 DK=6.0 R=1.8 DKST=0.0 P0=20.0 TH=900.0").replace(76, 4, "TK=3") + "00.0"}}),
         504, true, Reach::reader,
         " ===> FEHLER 504 in der Eingabe ZEILE 4: Spalte 80 teilt \"TK=300.0\"; Programm STOP"},
        {"text beyond column 80", base({{L3, pad80(base_run()[L3]) + " TK=22"}}), 0, false, Reach::reader,
         " ### WARNUNG: Eingabesatz    3: Text nach Spalte 80 wird nicht gelesen: \"TK=22\""},
        {"first run P0=0 T0=0", base({{L4, "DH=6.0 DK=6.0 R=1.8 DKST=0.0 P0=0 TH=900.0 TK=300.0"},
                                      {L5, "T0=0 VOLUMEN=0.02 SGRAD=95.0"}}),
         330, true, Reach::machine},
        {"rod as thick as a bore", base({{L1, h1 + "2 IPRNT=0"}, {L4, "DH=6.0 DK=6.0 R=1.8 DKST=6.0 P0=20.0 TH=900.0 TK=300.0"}}),
         504, true, Reach::machine},
        {"unknown gas in the first run", base({{L7, gas + " GAS=QQ"}}), 507, true, Reach::machine},
        {"flow without nozzles on a side",
         base({{L2, "ISO STROM=0.01"}}, L3, {"DUESE NDUE=0 DDUE=0.1 NDUC=10 DDUC=0.1", "DUESE OFRE=1 OFRC=1 LUST=0"}),
         503, true, Reach::machine},
        {"more than 10 million steps", base({{L1, "AUS: TIME=100 SCHRITT=0.000001 NZYL=1 IPRNT=0"}}), 501, false, Reach::job},
        {"SCHRITT larger than TIME",
         base({{L1, "AUS: TIME=0.01 SCHRITT=0.02 NZYL=1 IPRNT=0"}, {L6, "ZW=0 ZH0E=10 ZH0C=10 N0=1000 THETA=1E12 DICKE=2 %"}}),
         COUNTED, false, Reach::job},
        {"unknown abscissa", base({}, L17 + 1, {"ABSZISSE| NOSUCH GITTER=0 NBILD=0", "ORDINATEN| P1"}), 771, false,
         Reach::job},
    };
    auto two = base_run();
    const auto second = base({{L4, "DH=6.0 DK=6.0 R=1.8 DKST=0.0 P0=0 TH=900.0 TK=300.0"}});
    two.insert(two.end(), second.begin(), second.end());
    c.push_back({"only P0 is 0 in a later run", two, 329, false, Reach::job});
    // A gas volume not above 0 in the revolution, for every pair in use: VTEn=-80 leaves a dead
    // volume of (10 - 80) + 10 + 20 = -40 cm**3 against a smallest swept volume of
    // R * A * (2 - sqrt 2) = 29.8 cm**3, about -10 cm**3; VTEn=-40 leaves +29.8 cm**3.
    for (const auto& [nzyl, n] : {std::pair{2, 2}, {4, 2}, {4, 3}, {4, 4}}) {
        for (const auto& [vte, nfail] : {std::pair{"-80", 506}, {"-40", 0}}) {
            std::string dev = "VTE1=0 VTC1=0 VTE2=0 VTC2=0 VTE3=0 VTC3=0 VTE4=0 VTC4=0";
            dev.replace(dev.find("VTE" + std::to_string(n) + "=0"), 6, "VTE" + std::to_string(n) + "=" + vte);
            c.push_back({"NZYL=" + std::to_string(nzyl) + " " + dev,
                         base({{L1, h1 + std::to_string(nzyl) + " IPRNT=0"},
                               {L6, "ZW=0 ZH0E=10 ZH0C=10 N0=1000 THETA=500000 DICKE=2"}},
                              L11, {dev}),
                         nfail, nfail != 0, Reach::machine});
        }
    }
    return c;
}

struct Outcome {
    bool stopped = false;
    int nfail = 0;
    std::string u6, notes;  // the short listing, and what the job handed to the note sink
};

Outcome outcome(const Case& c) {
    if (c.reach == Reach::job) {
        auto j = e2e::run_job(join(c.deck));
        return {false, j->nfail(), j->u6(), ""};
    }
    Outcome o;
    auto p = program(join(c.deck));
    p->units.note_ctx = &o.notes;
    p->units.note_sink = [](void* notes, std::string_view text) { static_cast<std::string*>(notes)->append(text) += '\n'; };
    DeckStatus s = korvex::run::read_first_line(p->units, p->run) ? korvex::run::read_run_head(*p) : DeckStatus::stop;
    if (s == DeckStatus::run_diagrams) s = korvex::run::read_run_diagrams(p->units, p->run, p->dia);
    o.stopped = s == DeckStatus::error;
    if (!o.stopped && c.reach == Reach::machine)
        o.stopped = !korvex::run::derive_geometry(p->run, p->units) || !korvex::run::derive_options(p->run, p->units);
    o.nfail = p->run.NFAIL;
    o.u6 = p->units.u6.text();
    return o;
}

}  // namespace

TEST(DeckReference, EveryBoundAndErrorNumberOfTheReferenceIsShown) {
    std::vector<Case> cases = range_cases();
    const std::vector<Case> more = statement_cases();
    cases.insert(cases.end(), more.begin(), more.end());
    std::set<int> shown;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome o = outcome(c);
        if (c.nfail == COUNTED) {
            EXPECT_TRUE(o.nfail >= 1 && o.nfail <= 99) << o.nfail;
        } else {
            EXPECT_EQ(o.nfail, c.nfail) << o.u6;
        }
        EXPECT_EQ(o.stopped, c.stops);
        EXPECT_TRUE(c.note.empty() || has(o.u6, c.note)) << o.u6;
        EXPECT_TRUE(!c.note.starts_with(" ### WARNUNG") || has(o.notes, c.note));  // a warning also to a shell
        shown.insert(c.nfail);
    }

    // The reference states the table's ranges and no others, and names no error number that
    // no case shows.
    const std::string doc = e2e::read_file(std::filesystem::path(KORVEX_SOURCE_DIR) / "docs/deck.md");
    std::set<std::string> ranges;
    for (const DeckRange& r : korvex::run::deck_ranges()) ranges.insert(korvex::run::range_text(r));
    for (const std::string& t : ranges) EXPECT_NE(doc.find("`" + t + "`"), std::string::npos) << t;
    const std::regex stated("`([^`]*<[^`]*)`"), number(R"(\b([2-9]\d\d)\b)");
    for (std::sregex_iterator m(doc.begin(), doc.end(), stated), end; m != end; ++m)
        EXPECT_TRUE(ranges.contains((*m)[1].str())) << (*m)[1];
    for (const std::string& line : records(doc)) {
        if (line.find("FEHLER") == std::string::npos && line.find("rror") == std::string::npos) continue;
        const std::string prose = std::regex_replace(line, std::regex("`[^`]*`"), "");
        for (std::sregex_iterator m(prose.begin(), prose.end(), number), end; m != end; ++m) {
            // A diagram's number lets the job go on and may end it with an event counted on top (771).
            const int n = std::stoi((*m)[1]);
            EXPECT_TRUE(shown.contains(n) || (n % 10 == 0 && shown.contains(n + 1))) << line;
        }
    }
}
