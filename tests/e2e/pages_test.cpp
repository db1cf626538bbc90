// The pages of whole jobs, over every sample and test deck (the pages_* decks lay out every
// kind of page: one to four ordinate classes and eight axes, legends of every length, panels,
// curves into earlier diagrams, every option code, runs that stop inside a revolution): every
// point on the page, every curve inside its diagram's axes, no number in a listing that is not
// one.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/e2e/e2e_support.hpp"

TEST(E2ePages, EveryDeckDrawsOnItsPagesAndInsideItsDiagrams) {
    int layouts = 0;
    for (const auto& ex : e2e::all_decks()) {
        const std::string name = ex.path.filename().string();
        SCOPED_TRACE(name);
        auto j = e2e::run_job(ex.deck);
        EXPECT_EQ(j->p->run.NEWDIA, 0);
        for (const auto& f : e2e::page_faults(j->page.ops(), 1008, 700, j->lettering)) ADD_FAILURE() << f;
        // The batch program's own judge of a listing, which passes over deck text it echoes.
        for (const std::string* t : {&j->u6(), &j->u8(), &j->u9()})
            if (korvex::runtime::shows_non_finite(*t, ex.deck)) ADD_FAILURE() << "NaN or Infinity in a listing";
        // A curve over the crank angle of a kept revolution runs left to right, never back.
        if (name == "pages_kept_revolution.dat")
            for (const auto& op : j->page.of(korvex::platform::RecordingSurface::Kind::Polyline))
                for (std::size_t i = 1; i < op.points.size(); ++i)
                    if (op.points[i].x < op.points[i - 1].x - 200) ADD_FAILURE() << "line back across a diagram";
        if (name.rfind("pages_", 0) == 0) {
            ++layouts;
            EXPECT_EQ(j->nfail(), ex.stated);
        }
    }
    EXPECT_GE(layouts, 8);
}

// A run that stops inside a revolution draws the ideal isotherms of the last whole one. By hand
// from pages_partial.dat: bores of 5 cm (19.634954 cm2), crank radius 2.5 cm, a sinusoidal drive
// with the cylinders 90 degrees apart, so that the swept part of the gas volume is
// R FQE (2 - cos p - sin p), between R FQE (2 - sqrt 2) and R FQE (2 + sqrt 2); dead spaces of
// 10 % of the 5 cm stroke in both cylinders (0.5 cm each) and 30 cm3 of regenerator. The gas is
// filled at VMAX: M0 = P0 VMAX / T0 / (RM 1000). The net ideal isotherm work between TK and TH is
// M0 RM 100 (TH - TK) ln(VMAX / VMIN).
TEST(E2ePages, IdealIsothermWorkIsThatOfAWholeRevolution) {
    const auto decks = e2e::all_decks();
    const auto it = std::find_if(decks.begin(), decks.end(),
                                 [](const auto& e) { return e.path.filename() == "pages_partial.dat"; });
    ASSERT_NE(it, decks.end());
    const double PI = 3.141592654, RM = 0.08315f;
    const double FQE = 25.0 * PI / 4.0, R = 2.5;
    const double dead = 2.0 * 0.5 * FQE + 30.0;
    const double VMAX = R * FQE * (2.0 + std::sqrt(2.0)) + dead, VMIN = R * FQE * (2.0 - std::sqrt(2.0)) + dead;
    const double M0 = 20.0 * VMAX / 300.0 / (RM * 1000.0);
    const double work = M0 * RM * 100.0 * (900.0 - 320.0) * std::log(VMAX / VMIN);   // 856.1 W*s

    auto j = e2e::run_job(it->deck);
    const std::string head = " IDEALE ISOTHERME NUTZARBEIT:";
    const auto at = j->u6().find(head);
    ASSERT_NE(at, std::string::npos);
    EXPECT_NEAR(std::stod(j->u6().substr(at + head.size(), 20)), work, 0.001 * work);
    // The second run ends before its first revolution is complete: no frame, no isotherms.
    EXPECT_EQ(e2e::count(j->u6(), " ======>> ERROR IN FRAME, VMAX/VMIN NOCH NICHT BESTIMMT"), 1u);
    EXPECT_EQ(e2e::count(j->u6(), head), 1u);
}

// What the listings say where a page cannot show it, and what they must not say: a diagram a
// run adding curves has no place for, a curve of a single point, a curve that misses the axes of
// a shared scale; the labels of isotherms found on the axes of the diagram they are drawn in.
TEST(E2ePages, ListingsSayWhatThePageCannotShow) {
    struct Case {
        const char* deck;
        const char* said;
        const char* not_said;
    };
    const Case cases[] = {
        {"pages_added.dat", "2. DIAGRAMM: IM VORHERIGEN LAUF NICHT GEZEICHNET", "FEHLER BEI PI("},
        {"pages_kept_revolution.dat", "\"P1-VG1  \" HAT NUR 1 PLOT-PUNKT; KEIN INTEGRAL", "FEHLER BEI"},
        {"pages_kept_revolution.dat", "3. DIAGRAMM: KURVE \"VE1\" LIEGT GANZ AUSSERHALB DER ACHSEN", "\"P1\" LIEGT GANZ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deck);
        auto j = e2e::run_job(e2e::read_file(e2e::fs::path(KORVEX_SOURCE_DIR) / "tests/decks" / c.deck));
        EXPECT_EQ(e2e::count(j->u6(), c.said), 1u);
        EXPECT_EQ(e2e::count(j->u6(), c.not_said), 0u);
    }
}
