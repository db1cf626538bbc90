// Runs that used to end wrongly or silently: machines whose volume extreme sits at the start of
// the revolution, runs longer than the plot arrays, a step longer than the run, a vapour error
// in an earlier run, nozzle lines beside a wire mesh; the mean pressure of every revolution of
// every deck between the revolution's extremes; and the machine's efficiencies whatever the
// diagrams plot.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>

#include "tests/e2e/e2e_support.hpp"

namespace {

std::string test_deck(const char* name) {
    return e2e::read_file(e2e::fs::path(KORVEX_SOURCE_DIR) / "tests" / "decks" / name);
}

}  // namespace

TEST(E2eMarkers, AVolumeExtremeAtTheStartOfTheRevolutionIsMarkedThere) {
    // Sine drive, both pairs double-acting. Cranks in phase with equal bores: the gas volume of
    // H1-K1 is (AH + AK) R (1 - cos phi) plus its dead volumes, smallest at 0 and largest at
    // 180 degrees. A larger cold bore (6 cm against 5 cm) with the cranks opposite:
    // AH R (1 - cos phi) + AK R (1 + cos phi), which falls with cos phi since AK > AH: largest
    // at 0, smallest at 180 degrees. The pre-calculation steps 1/8 degree from the
    // equal-volume angle on and meets 0 degrees as its last point, 360.
    struct Case {
        const char* deck;
        std::size_t at_zero, at_180;   // ANGLE(2) (VMIN) and ANGLE(5) (VMAX) as indices
    };
    for (const Case c : {Case{"sim_markers_equal_phase.dat", 1, 4}, Case{"sim_markers_opposite_phase.dat", 4, 1}}) {
        SCOPED_TRACE(c.deck);
        auto j = e2e::run_job(test_deck(c.deck));
        EXPECT_EQ(j->nfail(), 0);
        EXPECT_EQ(j->u6().find("NICHT GEFUNDEN"), std::string::npos);
        const auto& s = j->p->sim;
        EXPECT_EQ(s.pre.ANGLE[c.at_zero], 0.0);
        EXPECT_NEAR(s.pre.ANGLE[c.at_180], 180.0, 1.0 / 16.0);
        // The markers are searched in their order, one a step: ANGLE(2) at 0 degrees is the
        // run's first point (TIME = 0, crank at 0); ANGLE(5) at 0 degrees is already passed when
        // its turn comes and takes the step after ANGLE(4). The 360-degree marker ends the first
        // revolution; every marker lies on a stored point.
        EXPECT_EQ(s.MARK[c.at_zero], c.at_zero == 1 ? 1 : s.MARK[3] + 1);
        for (std::size_t k = 1; k < 7; ++k) {
            EXPECT_TRUE(s.found[k]) << k;
            EXPECT_GE(s.MARK[k], 1) << k;
        }
        EXPECT_GT(s.MARK[6], s.MARK[5]);
    }
}

TEST(E2ePlot, ALongRunComputesToItsEndTimeWithRoomForTheForcedPoints) {
    // 2 s at 2950 U/min, held by a flywheel of 1E12: 2 * 2950 / 60 = 98.3, so 98 revolutions
    // end before TIME. 100000 steps of 20 us; the plot interval of int(2 / 2001 / 2E-5) + 1 =
    // 50 steps would give 2000 regular points, and the 99 revolution ends and 5 markers would
    // not fit beside them: with room for 104 forced points the interval is
    // int(2 / (2001 - 104) / 2E-5) + 1 = 53 steps, 1886 regular points.
    auto j = e2e::run_job(test_deck("sim_long_run.dat"));
    ASSERT_EQ(j->nfail(), 0);
    EXPECT_EQ(e2e::count(j->u8(), "TOTAL GASMASS"), 98u);
    const auto& s = j->p->sim;
    EXPECT_EQ(s.NTOUTP, 53);
    EXPECT_EQ(j->u6().find("MAXIMALE ANZAHL DER PLOT DATEN"), std::string::npos);
    const int N = j->p->dia.NPLOT;
    EXPECT_LE(N, 2001);
    EXPECT_GE(N, 1886 + 98);
    // The curve reaches the end of the run.
    EXPECT_GT(j->p->dia.series[0].x[static_cast<std::size_t>(N - 1)], 2.0 - s.TOUTP);
}

TEST(E2eRuns, AStepLongerThanTheRunEndsThatRunAsTooShortAndTheJobGoesOn) {
    // Run 1: 0.01 s in steps of 0.02 s at 1000 U/min (a revolution takes 0.06 s). Run 2: one
    // revolution of the same engine.
    auto j = e2e::run_job(test_deck("sim_step_longer_than_time.dat"));
    EXPECT_EQ(j->nfail(), 1);
    EXPECT_EQ(j->p->run.NLAUF, 2);
    EXPECT_EQ(e2e::count(j->u6(), " SEC ZU KURZ FUER DIE BERECHNUNG VON 1 UMDREHUNG"), 1u);
    EXPECT_EQ(j->u6().find("Programm STOP"), std::string::npos);
    EXPECT_EQ(e2e::count(j->u8(), "TOTAL GASMASS"), 1u);
}

TEST(E2eMixing, SpacesWithoutDeadSpaceKeepTemperaturesWithinTheSteamTable) {
    // Gas leaving a space that nearly empties used to drive its temperature far out (the
    // pre-calculation listed TC_MIN near 270 K here, and the vapour state of the start failed).
    // With vapour every space temperature of every step goes through the steam table, which
    // holds 273.16 K to 543.14 K: a run without a vapour error kept them all inside.
    auto j = e2e::run_job(test_deck("sim_mixing_without_dead_space.dat"));
    ASSERT_EQ(j->nfail(), 0);
    const auto& pre = j->p->sim.pre;
    for (double T : {pre.TE_MIN, pre.TE_MAX, pre.TC_MIN, pre.TC_MAX}) {
        EXPECT_GE(T, 273.16);
        EXPECT_LE(T, 543.14);
    }
    const auto& d = j->p->dia;
    ASSERT_GT(d.NPLOT, 1000);
    for (int k = 0; k < d.NPLOT; ++k)
        for (int o = 0; o < 2; ++o) {
            const float T = d.series[1].y[static_cast<std::size_t>(o)][static_cast<std::size_t>(k)];
            ASSERT_GE(T, 273.16f) << k;
            ASSERT_LE(T, 543.14f) << k;
        }
}

TEST(E2eRuns, AVapourErrorOfOneRunLeavesTheLaterRunsWhole) {
    // Run 1 starts at 600 K, above the steam table: error 889 in the start state, no
    // revolution. Run 2, within the table, reaches its start state (listed at level 3 for both
    // pairs) and computes its two revolutions; the job ends with the error of run 1.
    auto j = e2e::run_job(test_deck("sim_vapour_error_then_run.dat"));
    EXPECT_EQ(j->nfail(), 889);
    EXPECT_EQ(j->p->run.NLAUF, 2);
    const std::string& t = j->u9();
    const auto run2 = t.find("ENDE DER  1. BERECHNUNG");
    ASSERT_NE(run2, std::string::npos);
    EXPECT_EQ(t.find("Zylinderpaar: H1 - K1"), t.find("Zylinderpaar: H1 - K1", run2));
    EXPECT_NE(t.find("Zylinderpaar: H2 - K2", run2), std::string::npos);
    EXPECT_EQ(e2e::count(j->u8(), "TOTAL GASMASS"), 2u);
    EXPECT_EQ(j->p->sim.NREV, 2);
}

TEST(E2eRuns, AWireMeshBesideNozzleLinesRunsAndListsWithoutInjection) {
    // The wire mesh takes precedence over the nozzles: the run injects no liquid, and the
    // revolution listings say nothing of pumps or injection and take the pairs' useful heat,
    // not their work, for the efficiencies.
    auto j = e2e::run_job(test_deck("sim_wiremesh_with_nozzle_lines.dat"));
    ASSERT_EQ(j->nfail(), 0);
    EXPECT_EQ(j->p->sim.NREV, 2);
    for (const std::string* t : {&j->u6(), &j->u9()}) {
        EXPECT_EQ(t->find("Pumpen"), std::string::npos);
        EXPECT_EQ(t->find("Beregnung des Gases"), std::string::npos);
        EXPECT_EQ(t->find("Einpritztemperaturen"), std::string::npos);
        EXPECT_EQ(t->find("ETA_12 = (A1+A2)/QZU12"), std::string::npos);
    }
    EXPECT_EQ(e2e::count(j->u9(), "ETA_12 = QNZD12 /QZU12"), 2u);
}

TEST(E2eSums, TheMachineEfficienciesTakeThePairSumsWhateverTheDiagramsPlot) {
    // Four equal pairs a quarter turn apart run the same cycle, so the efficiencies that the
    // evaluation forms from the sums over the pairs (the machine, pairs 1+2 and 3+4) come out
    // as that of pair 1 alone. Once with diagrams of pair quantities only, and once with a
    // global quantity on the abscissa.
    for (const char* abscissa : {"VG1", "TIME"}) {
        SCOPED_TRACE(abscissa);
        const std::string deck = std::string(
            "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=4 IPRNT=2\n"
            "ISOTHERM\n"
            "NACH: 100 DAEMPFUNG=1.0 FSEAL=10.0 PHASE=-90.0\n"
            "DH=6.0 DK=6.0 R=1.8 DKST=1.0 P0=20.0 TH=900.0 TK=300.0\n"
            "T0=300.0 VOLUMEN=0.02 SGRAD=95.0\n"
            "ZW=0 ZH0E=10 ZH0C=10 N0=1000 THETA=5000000 DICKE=2 %\n"
            "L/R=4.0 REGELN AB 0.5 IN 0.1 RVE=0 RVC=0 GAS=HE\n"
            "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=0\n"
            "ABSZISSE| ") + abscissa + " GITTER=0 NBILD=0\n"
            "ORDINATEN| P1 P2\n"
            "STOP\n";
        auto j = e2e::run_job(deck);
        ASSERT_EQ(j->nfail(), 0);
        auto last = [&](const std::string& pattern) {
            const std::regex re(pattern + " *([-0-9.]+) %");
            double v = NAN;
            const std::string& u9 = j->u9();
            for (auto it = std::sregex_iterator(u9.begin(), u9.end(), re); it != std::sregex_iterator(); ++it)
                v = std::atof((*it)[1].str().c_str());
            return v;
        };
        const double pair1 = last(R"("ETA_1"=    A1/ QZU1 =)");
        EXPECT_GT(pair1, 50.0);
        EXPECT_NEAR(last(R"("ETA_A" = ARBEIT / QZU =)"), pair1, 0.5);
        EXPECT_NEAR(last("ETA_12 = QNZD12 /QZU12 ="), pair1, 0.5);
        EXPECT_NEAR(last("ETA_34 = QNZD34 /QZU34 ="), pair1, 0.5);
    }
}
