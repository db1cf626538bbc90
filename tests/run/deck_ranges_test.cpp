// Deck values outside the range a real machine can have: an input error of their line, named
// in the listing with keyword, value and range, before anything is computed with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../e2e/e2e_support.hpp"
#include "deck_support.hpp"
#include "run/deck_ranges.hpp"

using namespace deck_test;
using korvex::run::deck_range;
using korvex::run::in_range;
using korvex::run::range_text;

namespace {

struct Hostile {
    int line;                 // index into base_run()
    std::string from, to;     // the text replaced on that line
    int nfail;
    std::string message;      // the start of the message after "ZEILE nn: "
};

std::string replaced(std::vector<std::string> lines, const Hostile& h) {
    std::string& l = lines[static_cast<std::size_t>(h.line)];
    l.replace(l.find(h.from), h.from.size(), h.to);
    return join(lines);
}

}  // namespace

// The values the issue found computed into NaN or Infinity, and one of every other kind of
// bound: each stops the job at its own line, before the first run.
TEST(DeckRanges, ValueOutsideItsRangeStopsTheJobAtItsLine) {
    const Hostile cases[] = {
        {L6, "ZH0C=10", "ZH0C=1E300", 506, "ZEILE 6: ZH0C=1.0E+300 liegt nicht im Bereich 0 <= ZH0C <= 10000 %"},
        {L5, "SGRAD=95.0", "SGRAD=1E300", 505, "ZEILE 5: SGRAD=1.0E+300 liegt nicht im Bereich 0 <= SGRAD <= 100 %"},
        {L7, "REGELN AB 0.5", "REGELN AB -999999", 507,
         "ZEILE 7: REGELN AB=-999999 liegt nicht im Bereich -IN <= REGELN AB <= 1E6 s"},
        {L4, "DH=6.0", "DH=1E-300", 504, "ZEILE 4: DH=1.0E-300 liegt nicht im Bereich 0.01 <= DH <= 1000 cm"},
        {L1, "TIME=0.2", "TIME=9999999999", 501, "ZEILE 1: TIME=9999999999 liegt nicht im Bereich 0 < TIME <= 100000 s"},
        {L3, "PHASE=-90.0", "PHASE=-400", 503, "ZEILE 3: PHASE=-400 liegt nicht im Bereich -360 <= PHASE <= 0 degrees"},
        {L7, "L/R=4.0", "L/R=0.5", 507, "ZEILE 7: L/R=0.5 liegt nicht im Bereich L/R = 0 oder 1 <= L/R <= 1000"},
        // A single-precision value is judged as the deck gives it, not as its overflow.
        {L11, "XL=12", "XL=1E300", 511, "ZEILE11: XL=1.0E+300 liegt nicht im Bereich 0.1 <= XL <= 200 cm"},
        {L16, "GITTER=0", "GITTER=100", 516, "ZEILE16: GITTER=100 liegt nicht im Bereich 0 <= GITTER <= 99"},
    };
    for (const Hostile& h : cases) {
        SCOPED_TRACE(h.to);
        auto p = job(replaced(base_run(), h));
        EXPECT_EQ(p->run.NFAIL, h.nfail);
        EXPECT_EQ(p->run.NLAUF, 0);
        const std::string text = " ===> FEHLER in der Eingabe " + h.message + "; Programm STOP";
        EXPECT_TRUE(has(p->units.u6.text(), text)) << p->units.u6.text();
        EXPECT_TRUE(has(p->units.u9.text(), text));
        EXPECT_TRUE(e2e::bad_numbers(p->units.u6.text() + p->units.u9.text()).empty());
    }
}

// The lines that follow line 7 and the extra lines of the modes have their own numbers.
TEST(DeckRanges, OptionalAndModeLinesReportTheirOwnNumbers) {
    struct Case {
        std::vector<std::string> extra;  // inserted after line 7
        int mode_line;                   // replaces line 2 when not empty
        std::vector<std::string> mode;
        int nfail;
        std::string message;
    };
    const Case cases[] = {
        {{"VTE1=0 VTC1=0 VTE2=0 VTC2=0 VTE3=0 VTC3=-20000 VTE4=0 VTC4=0"}, 0, {}, 512,
         "ZEILE10: VTC3=-20000 liegt nicht im Bereich -10000 <= VTC3 <= 10000 %"},
        {{"DEF DSD=0 DS3=2 DQD=6 DQDAMPF=2"}, 0, {}, 510, "ZEILE10: DSD=0 liegt nicht im Bereich 1 <= DSD <= 99"},
        {{}, 1, {"POLY", "EPSILON_E=1.3", "START_TE=1E38", "EPSILON_C=1.3", "START_TC=300"}, 502,
         "ZEILE 2/ 3: START_TE=1.0E+38 liegt nicht im Bereich 1 <= START_TE <= 5000 K"},
        {{}, 1, {"ISOTHERM DRAHTNETZ MASSE=200 F=5"}, 502, "ZEILE 2: F=5 liegt nicht im Bereich 0 <= F <= 1"},
    };
    for (const Case& c : cases) {
        auto lines = base_run();
        if (c.mode_line) {
            lines.erase(lines.begin() + L2);
            lines.insert(lines.begin() + L2, c.mode.begin(), c.mode.end());
        }
        const auto l7 = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.find("GAS=") != std::string::npos; });
        lines.insert(l7 + 1, c.extra.begin(), c.extra.end());
        SCOPED_TRACE(c.message);
        auto p = job(join(lines));
        EXPECT_EQ(p->run.NFAIL, c.nfail);
        EXPECT_EQ(p->run.NLAUF, 0);
        EXPECT_TRUE(has(p->units.u9.text(), " ===> FEHLER in der Eingabe " + c.message + "; Programm STOP"))
            << p->units.u9.text();
    }
}

// A scaling value outside its range is an error of the scaling line like any other: the axis
// is scaled automatically and the run is computed.
TEST(DeckRanges, ScalingValueOutsideItsRangeIsDroppedAndTheRunGoesOn) {
    auto lines = base_run();
    lines[L11] = "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=1";
    lines.insert(lines.begin() + L16, "P(F)=10.0 P(D)=-1.0E+38");
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 512);
    EXPECT_EQ(p->run.NLAUF, 1);
    EXPECT_TRUE(has(p->units.u6.text(),
                    " ===> FEHLER in der Eingabe ZEILE12: P(D)=-1.0E+38 liegt nicht im Bereich -1E30 <= P(D) <= "
                    "1E30; es wird mit 0 gerechnet"));
    // P(F) and P(D) are the 13th and 14th values; the good one stays.
    EXPECT_EQ(p->dia.scaling[12], 10.0f);
    EXPECT_EQ(p->dia.scaling[13], 0.0f);
}

// The bounds themselves, a zero that selects a default, and the two forms of lines 6 and 7.
TEST(DeckRanges, BoundsZeroAllowancesAndPercentForms) {
    const auto* sgrad = deck_range("SGRAD=");
    ASSERT_NE(sgrad, nullptr);
    EXPECT_TRUE(in_range(*sgrad, 0.0));
    EXPECT_TRUE(in_range(*sgrad, 100.0));
    EXPECT_FALSE(in_range(*sgrad, 100.0000001));
    EXPECT_FALSE(in_range(*sgrad, -1e-300));
    EXPECT_FALSE(in_range(*sgrad, std::nan("")));

    const auto* time = deck_range("TIME=");
    EXPECT_FALSE(in_range(*time, 0.0));  // open below
    EXPECT_TRUE(in_range(*time, 1e-9));

    const auto* lr = deck_range("L/R=");
    EXPECT_TRUE(in_range(*lr, 0.0));
    EXPECT_FALSE(in_range(*lr, 0.5));
    EXPECT_TRUE(in_range(*lr, 1.0));
    EXPECT_EQ(range_text(*lr), "L/R = 0 or 1 <= L/R <= 1000");

    // 20000 is a dead space of 20000 cm**3, but no dead space of 200 strokes.
    EXPECT_TRUE(in_range(*deck_range("ZH0E=", false), 20000.0));
    EXPECT_FALSE(in_range(*deck_range("ZH0E=", true), 20000.0));
    EXPECT_EQ(deck_range("VTC3=", true), deck_range("VTCn=", true));
    EXPECT_NE(deck_range("DMY12F="), nullptr);
    EXPECT_EQ(deck_range("NOSUCH="), nullptr);

    auto lines = base_run();
    lines[L6] = "ZW=0 ZH0E=20000 ZH0C=10 N0=1000 THETA=500000 DICKE=2";  // cm**3: a large machine
    EXPECT_NE(job(join(lines))->run.NFAIL, 506);
    lines[L6] += " %";
    EXPECT_EQ(job(join(lines))->run.NFAIL, 506);
}
