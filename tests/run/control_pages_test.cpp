// Pages of a job: where the run control ends a page, and how IBACK places a run's curves.
#include <gtest/gtest.h>

#include <algorithm>

#include "run/control.hpp"
#include "runtime/format.hpp"
#include "tests/e2e/e2e_support.hpp"
#include "tests/run/control_support.hpp"

using namespace control_test;

namespace {

const std::string kIbackError = " ====>> ERROR: IBACK MUST BE A NEGATIV INTEGER OR 0, 20, 30, 40, 50 OR 60";
const std::string kOnePicture = " -----> 1 BILD; GESAMTE LAENGE IN X=  23.4 HOEHE=  13.4 CM";

}  // namespace

TEST(ControlPages, EveryRunWithNewDiagramsGetsItsOwnPageNumberedInOrder) {
    auto j = whole_job(join(runs({0, 0, 0}, "2")));
    EXPECT_EQ(j->calls, 3);
    EXPECT_EQ(j->p->run.NLAUF, 3);
    EXPECT_EQ(j->p->run.NEWDIA, 0);
    EXPECT_EQ(j->page_marks(), (std::vector<std::string>{" 2", " 3", "999"}));
    EXPECT_EQ(count(j->u9(), kOnePicture), 3);
    EXPECT_TRUE(has(j->u9(), "  3 DIAGRAMME WURDEN GEPLOTTET; GES.LAENGE=  23.4 HOEHE=  13.4 CM"));
}

// The page marks count the pages in order, also when a page holds a series of panels, begun in
// the job's first run or in a later one (IBACK 10 in a later run is a series of one).
TEST(ControlPages, PagesOfPanelSeriesAreNumberedInOrder) {
    using Marks = std::vector<std::string>;
    struct Case {
        std::vector<int> iback;
        Marks marks;
    };
    for (const Case& c : {Case{{20, -1, 0}, Marks{" 2", "999"}}, Case{{0, 20, -1, 0}, Marks{" 2", " 3", "999"}},
                          Case{{0, 10, 0}, Marks{" 2", " 3", "999"}},
                          Case{{20, -1, 30, -1, -1, 0}, Marks{" 2", " 3", "999"}}}) {
        auto j = whole_job(join(runs(c.iback)));
        SCOPED_TRACE(::testing::PrintToString(c.iback));
        EXPECT_EQ(j->page_marks(), c.marks);
        for (const auto& f : e2e::page_faults(j->page.ops(), 1008, 700)) ADD_FAILURE() << f;
    }
}

namespace {

// A run of the short machine without a diagram line.
std::vector<std::string> run_without_diagrams() {
    auto r = short_run();
    r.resize(L11);
    return r;
}

// The deck with a run without diagrams put before its run k (from 0).
std::vector<std::string> with_gap(std::vector<std::string> lines, int k) {
    auto at = lines.begin();
    for (int n = 0; n <= k; ++n)
        at = std::find_if(n == 0 ? at : at + 1, lines.end(), [](const std::string& l) { return l.rfind("AUS:", 0) == 0; });
    const auto gap = run_without_diagrams();
    lines.insert(at, gap.begin(), gap.end());
    return lines;
}

// The left ends of the x axes drawn on a job's pages, in drawing order.
std::vector<int> x_axis_origins(const Job& j) {
    std::vector<int> out;
    for (const auto& a : e2e::axis_lines(j.page.ops()))
        if (a.start.y == a.end.y) out.push_back(a.start.x);
    return out;
}

// Run k of runs(...) with two more diagrams (p over time, twice), so that its panel is two
// columns long.
void three_diagrams(std::vector<std::string>& lines, std::size_t k) {
    const auto at = lines.begin() + static_cast<std::ptrdiff_t>((k + 1) * short_run().size());
    lines.insert(at, {"ABSZISSE| TIME GITTER=0 NBILD=0", "ORDINATEN| P1", "ABSZISSE| TIME GITTER=0 NBILD=0",
                      "ORDINATEN| P1"});
}

}  // namespace

// Every panel begins where the one before ends, at the scale its own length gives it, whatever
// stands between them. By hand: a panel of one diagram is 38 HOE + XL = 23.4 cm long, 9.2089734
// cm at the page factor 0.39354587, which gives trunc(504 / 9.2089734) = 54 pixels a cm on half of
// the 1008 pixels; a panel of two columns is 23.4 + 6 HOE + 23.4 = 48.6 cm, 19.126329 cm, 26
// pixels a cm. The first panel ends at 54 * 9.2089734 = 497.28 or 26 * 19.126329 = 497.28; every
// diagram stands 8 HOE = 0.9445101 cm in from its panel's edge.
TEST(ControlPages, APanelStandsRightOfTheOneBeforeWhateverComesBetween) {
    auto wide_second = runs({20, -1});
    three_diagrams(wide_second, 1);
    auto wide_first = runs({20, -1});
    three_diagrams(wide_first, 0);
    struct Case {
        std::vector<std::string> lines;
        std::vector<int> origins;
    };
    // 54 * 0.9445101 = 51.0; 54 * (497.28 / 54 + 0.9445101) = 548.3; 26 * (497.28 / 26 + 0.9445101)
    // = 521.8 and one column (23.4 cm, 9.2089734 cm) further, 761.3; 26 * 0.9445101 = 24.6.
    for (const Case& c : {Case{runs({20, -1}), {51, 548}}, Case{with_gap(runs({20, -1}), 1), {51, 548}},
                          Case{with_gap(wide_second, 1), {51, 521, 521, 761}},
                          Case{with_gap(wide_first, 1), {24, 24, 263, 548}}}) {
        auto j = whole_job(join(c.lines));
        SCOPED_TRACE(join(c.lines));
        EXPECT_EQ(j->page_marks(), std::vector<std::string>{"999"});
        EXPECT_EQ(j->p->device.NPANEL, 1);  // back to one panel once the last panel is used
        EXPECT_EQ(x_axis_origins(*j), c.origins);
        for (const auto& f : e2e::page_faults(j->page.ops(), 1008, 700)) ADD_FAILURE() << f;
    }
}

// A series of panels that a run leaves open: a run that starts diagrams of its own (IBACK 0, or 1
// to 9 with nothing to add to) ends the series and its page, and draws on a whole page; one that
// adds curves takes them into the last panel and leaves the series open; one meant for the next
// panel that draws nothing leaves that panel to the run after it. By hand, besides the half page
// above: a whole page of one diagram is 23.4 cm, 9.2089734 cm at the page factor, trunc(1008 /
// 9.2089734) = 109 pixels a cm, the diagram 109 * 0.9445101 = 102.9 pixels in; a third of the page
// gives trunc(336 / 9.2089734) = 36 pixels a cm, 36 * 0.9445101 = 34.0 for the first panel and
// 36 * (9.2089734 + 0.9445101) = 365.5 for the second.
TEST(ControlPages, ARunThatLeavesASeriesOpenKeepsThePageWhole) {
    auto empty_panel = runs({20, -1, -1, 0});
    empty_panel.erase(empty_panel.begin() + static_cast<std::ptrdiff_t>(short_run().size() + L16),
                      empty_panel.begin() + static_cast<std::ptrdiff_t>(short_run().size() + L17 + 1));
    using Marks = std::vector<std::string>;
    struct Case {
        std::vector<std::string> lines;
        Marks marks;
        std::vector<int> origins;
    };
    for (const Case& c : {Case{runs({20, 0, 0}), Marks{" 2", " 3", "999"}, {51, 102, 102}},
                          Case{with_gap(runs({20, 5, 0}), 1), Marks{" 2", " 3", "999"}, {51, 102, 102}},
                          Case{runs({0, 30, -1, 0}), Marks{" 2", " 3", "999"}, {102, 34, 365, 102}},
                          Case{runs({20, 15, 0}), Marks{" 2", " 3", "999"}, {51, 102, 102}},
                          Case{runs({20, 5, -1, 0}, "2"), Marks{" 2", "999"}, {51, 548, 102}},
                          Case{empty_panel, Marks{" 2", "999"}, {51, 548, 102}}}) {
        auto j = whole_job(join(c.lines));
        SCOPED_TRACE(join(c.lines));
        EXPECT_EQ(j->page_marks(), c.marks);
        EXPECT_EQ(x_axis_origins(*j), c.origins);
        EXPECT_EQ(j->p->device.NPANEL, 1);
        for (const auto& f : e2e::page_faults(j->page.ops(), 1008, 700)) ADD_FAILURE() << f;
    }
    // The curves added into the first panel leave the page's length whole: 23.4 cm for it and
    // 23.4 + 6 HOE + 23.4 = 48.6 cm for a second panel of two columns.
    auto wide = runs({20, 5, -1}, "2");
    three_diagrams(wide, 2);
    auto j = whole_job(join(wide));
    EXPECT_TRUE(has(j->u9(), " --->  1 BILD IN EINES DER VORIGEN DIAGRAMME"));
    EXPECT_TRUE(has(j->u9(), " ----->  3 BILDER; GESAMTE LAENGE IN X=  72.0 HOEHE=  26.8 CM"));
    EXPECT_TRUE(has(j->u9(), "  4 DIAGRAMME WURDEN GEPLOTTET; GES.LAENGE=  72.0 HOEHE=  26.8 CM"));
}

// A run that would add its curves into earlier diagrams (IBACK 1 to 9) where the page holds none
// (the first run of the job, or after a run without diagrams) starts new diagrams instead; the
// job that drew diagrams does not call itself one without.
TEST(ControlPages, CurvesIntoEarlierDiagramsWithoutAnyStartNewOnes) {
    auto first = runs({5, 3}, "2");
    auto lines = run_without_diagrams();
    auto second = runs({7}, "2");
    lines.insert(lines.end(), second.begin(), second.end());
    for (const auto& deck : {first, lines}) {
        auto j = whole_job(join(deck));
        EXPECT_TRUE(has(j->u9(), kOnePicture));
        EXPECT_FALSE(has(j->u9(), " -----> Job End without Diagrams; "));
        EXPECT_EQ(j->p->run.NFAIL, 0);
        EXPECT_EQ(j->page_marks(), std::vector<std::string>{"999"});  // one page, not an empty one before it
        for (const auto& f : e2e::page_faults(j->page.ops(), 1008, 700)) ADD_FAILURE() << f;
    }
    auto j = whole_job(join(first));
    EXPECT_TRUE(has(j->u9(), " --->  1 BILD IN EINES DER VORIGEN DIAGRAMME"));   // the second run
}

// A job without any run (only STOP, nothing at all, or input ending in its first run) still
// sets up its page, so that its closing words are letters of a legible size.
TEST(ControlPages, AJobWithoutRunsLettersItsEndLegibly) {
    auto head = short_run();
    head.resize(3);
    for (const std::string& deck : {std::string("STOP\n"), std::string(), join(head)}) {
        auto j = whole_job(deck);
        SCOPED_TRACE(deck);
        EXPECT_EQ(j->p->run.NLAUF, 0);
        EXPECT_NE(j->u6().find(" -----> Job End without Diagrams"), std::string::npos);
        int xmin = 1008, xmax = 0;
        for (const auto& op : j->page.of(korvex::platform::RecordingSurface::Kind::Line)) {
            xmin = std::min(xmin, op.p.x);
            xmax = std::max(xmax, op.p.x);
        }
        // "Job finished without Diagrams": 29 letters of 0.4 cm from 2 cm to 13.6 cm, at 40
        // pixels a centimetre.
        EXPECT_LE(xmin, 2 * 40 + 2);
        EXPECT_GE(xmax, 500);
        for (const auto& f : e2e::page_faults(j->page.ops(), 1008, 700)) ADD_FAILURE() << f;
    }
}

TEST(ControlPages, CurvesIntoThePreviousDiagramsStayOnThePage) {
    auto lines = runs({0, 5}, "2");
    lines[L11] = "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=1";
    lines.insert(lines.begin() + L16, "P(F)=2.5 P(D)=4.0");
    auto j = whole_job(join(lines));
    EXPECT_EQ(j->calls, 1);
    EXPECT_EQ(j->p->run.IBACK, 5);
    EXPECT_TRUE(has(j->u9(), " --->  1 BILD IN EINES DER VORIGEN DIAGRAMME"));
    EXPECT_TRUE(has(j->u6(), " SKALIERUNGSWERTE UNBERUECKSICHTIGT. IBACK= 5"));
    // The second run gave no scaling line, yet draws with the scales of the first.
    EXPECT_EQ(j->p->dia.scaling[12], 2.5f);
    EXPECT_EQ(j->p->dia.scaling[13], 4.0f);
}

TEST(ControlPages, IbackValuesAsTabled) {
    struct Case {
        int iback;
        bool error_lines;
        bool better_note;
        int echoed;
    };
    for (const Case& c : {Case{0, false, false, 0}, Case{-3, false, false, -3}, Case{10, false, true, 0},
                          Case{15, true, false, 0}, Case{70, true, false, 0}, Case{7, false, false, 0}}) {
        auto j = whole_job(join(runs({c.iback}, "1")));
        SCOPED_TRACE(c.iback);
        EXPECT_EQ(has(j->u6(), kIbackError), c.error_lines);
        EXPECT_EQ(has(j->u9(), " ====>> SIMULATION GOES ON WITH \"IBACK=0\""), c.error_lines);
        EXPECT_EQ(has(j->u6(), " NO ERROR, BUT IT IS BETTER TO SPECIFY \"IBACK= 0\" IN THE FIRST RUN"), c.better_note);
        EXPECT_TRUE(has(j->u9(), " ==============>> IBACK=" + korvex::runtime::I(c.echoed, 3) + " <<=========="));
        EXPECT_EQ(j->p->device.NPANEL, 1);
        EXPECT_EQ(j->calls, 1);
    }
}

TEST(ControlPages, IllegalIbackInALaterRunStartsNewDiagramsFromClearedScales) {
    auto lines = runs({0, 15});
    lines[L11] = "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=1";
    lines.insert(lines.begin() + L16, "P(F)=2.5 P(D)=4.0");
    auto j = whole_job(join(lines));
    EXPECT_EQ(j->calls, 2);
    EXPECT_EQ(j->page_marks(), (std::vector<std::string>{" 2", "999"}));
    EXPECT_EQ(j->p->dia.scaling[12], 0.0f);
    EXPECT_EQ(j->p->dia.scaling[13], 0.0f);
}

TEST(ControlPages, EndOfJobTextsFollowTheErrorNumber) {
    using korvex::run::end_of_job_texts;
    auto texts = [](int nfail, int line, bool none) {
        std::vector<std::string> t;
        for (const auto& x : end_of_job_texts(nfail, line, none)) t.push_back(x.text);
        return t;
    };
    const std::string hint(korvex::run::UNIT_HINT);
    EXPECT_EQ(hint.rfind("See Output on", 0), 0u);
    EXPECT_EQ(texts(504, 4, false), (std::vector<std::string>{"ERROR IN DATA INPUT ", "ZEILE 4", hint, "ERROR Number: "}));
    EXPECT_EQ(texts(512, 12, false), (std::vector<std::string>{"ERROR IN DATA INPUT ", "ZEILE12", hint, "ERROR Number: "}));
    EXPECT_EQ(texts(112, 0, false),
              (std::vector<std::string>{"PLOT Names Spezification wrong", "ERROR IN DATA INPUT ", hint, "ERROR Number: "}));
    EXPECT_EQ(texts(666, 0, false), (std::vector<std::string>{"ERROR PGAS_min < PSTEAM_max   ", hint, "ERROR Number: "}));
    EXPECT_EQ(texts(777, 0, true), (std::vector<std::string>{"ERROR no correct Abszissa Name",
                                                             "Job finished without Diagrams", hint, "ERROR Number: "}));
    EXPECT_EQ(texts(890, 0, false), (std::vector<std::string>{"ERROR in Vapor Calculation   ", hint, "ERROR Number: "}));
    EXPECT_EQ(texts(0, 0, true), std::vector<std::string>{"Job finished without Diagrams"});
    EXPECT_TRUE(texts(0, 0, false).empty());
    const auto t = end_of_job_texts(504, 4, false);
    EXPECT_EQ(t[1].X, 999.0f);  // the line number goes on behind "ERROR IN DATA INPUT "
    EXPECT_EQ(t[0].Y, 5.5f);
    EXPECT_EQ(t[3].Y, 0.5f);
}

TEST(ControlPages, OddPageValuesNeitherCrashNorHang) {
    // Axis lengths and lettering outside their ranges stop the job at the first diagram line;
    // IBACK at the ends of its type is corrected and every run is computed.
    struct Case {
        const char* l11;
        int nfail, runs;
    };
    for (const Case& c : {Case{"DIAGRAMME: XL=0 YL=0 HOE=0 HSYM=0 IBACK=60 SCALE=0", 511, 0},
                          Case{"DIAGRAMME: XL=-5 YL=1E30 HOE=-1 HSYM=0 IBACK=-2147483648 SCALE=0", 511, 0},
                          Case{"DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=2147483647 SCALE=0", 0, 3}}) {
        auto lines = runs({0, 0, -1});
        for (std::size_t k = L11; k < lines.size(); k += short_run().size()) lines[k] = c.l11;
        auto j = whole_job(join(lines));
        SCOPED_TRACE(c.l11);
        EXPECT_EQ(j->p->run.NEWDIA, 0);
        EXPECT_EQ(j->page_marks().back(), "999");
        EXPECT_EQ(j->p->run.NFAIL, c.nfail);
        EXPECT_EQ(j->p->run.NLAUF, c.runs);
        for (const auto& f : e2e::page_faults(j->page.ops(), 1008, 700)) ADD_FAILURE() << f;
        for (const std::string* t : {&j->u6(), &j->u9()})
            EXPECT_EQ(t->find("NaN"), std::string::npos);
    }
}
