// Whole runs with liquid sprayed into both cylinders: the nozzle sample, what its pumps cost,
// how the gas follows its liquid as the jets get more surface, and slow jets over a run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>

#include "tests/e2e/e2e_support.hpp"

namespace {

std::string nozzle_sample() {
    return e2e::read_file(std::filesystem::path(KORVEX_SOURCE_DIR) / "examples" / "iso_nozzles.dat");
}

// The sample with one deck text replaced.
std::string with(std::string deck, const std::string& from, const std::string& to) {
    const auto at = deck.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) deck.replace(at, from.size(), to);
    return deck;
}

// The extreme that the diagram of the run lists for an ordinate ("MAXIMUM VON "TE1" = ...").
double listed_extreme(const std::string& u6, const std::string& which, const std::string& name) {
    const std::regex re(" " + which + " VON \"" + name + "\" = *([-0-9.E+]+)");
    std::smatch m;
    if (!std::regex_search(u6, m, re)) {
        ADD_FAILURE() << which << " of " << name << " not listed";
        return NAN;
    }
    return std::atof(m[1].str().c_str());
}

// ETA_N and the Carnot efficiency of the last revolution listed on unit 9.
std::pair<double, double> last_eta(const std::string& u9) {
    const std::regex re(R"("ETA_N" = ARBETN / QZU = *([-0-9.]+) %; CARNOT WIRKUNGSGRAD "ETA_CARNOT" = *([-0-9.]+) %)");
    std::pair<double, double> eta{NAN, NAN};
    for (auto it = std::sregex_iterator(u9.begin(), u9.end(), re); it != std::sregex_iterator(); ++it)
        eta = {std::atof((*it)[1].str().c_str()), std::atof((*it)[2].str().c_str())};
    return eta;
}

}  // namespace

TEST(E2eInjection, NozzleSampleRunsToItsEndAndChargesItsPumps) {
    auto j = e2e::run_job(nozzle_sample());
    ASSERT_EQ(j->nfail(), 0);
    EXPECT_GE(e2e::count(j->u9(), " PRO UMDREHUNG: ARBEIT="), 2u);
    for (const auto& l : e2e::bad_numbers(j->u6() + j->u8() + j->u9())) ADD_FAILURE() << l;

    // 0.5 litre/s through each of the two pairs' hot (and cold) pumps against 0.5 bar:
    // 2 * 0.5e-3 m3/s * 0.5e5 Pa = 50 W a side.
    EXPECT_NE(j->u9().find(" Abzueglich der Leistungen der heissen Pumpen:     50.00 Watt und der"
                           " kalten Pumpen:     50.00 Watt"),
              std::string::npos);
    // The results table charges both sides' pumps to the machine, in whole watts.
    EXPECT_NE(j->u9().find(" %|      | -100|     |      |      |      |"), std::string::npos);
    EXPECT_NE(j->u8().find(" %|      | -100|     |      |      |      |"), std::string::npos);
}

TEST(E2eInjection, MoreJetSurfaceKeepsTheGasCloserToItsLiquidAndBelowCarnot) {
    // Surface factors 100 and 800 on both sides; the liquid comes in at 850 K and 320 K.
    const std::string base = nozzle_sample();
    double swing_prev = INFINITY;
    double eta_prev = -1.0;
    for (const char* factor : {"100.0", "800.0"}) {
        SCOPED_TRACE(factor);
        const std::string deck = with(base, "OFRE=800.0 OFRC=800.0",
                                      std::string("OFRE=") + factor + " OFRC=" + factor);
        auto j = e2e::run_job(deck);
        ASSERT_EQ(j->nfail(), 0);
        const double te_max = listed_extreme(j->u6(), "MAXIMUM", "TE1");
        const double te_min = listed_extreme(j->u6(), "MINIMUM", "TE1");
        const double tc_max = listed_extreme(j->u6(), "MAXIMUM", "TC1");
        const double tc_min = listed_extreme(j->u6(), "MINIMUM", "TC1");
        // Compression heats the gas above its liquid and expansion cools it below; the jets
        // pull it back, so each space swings around its own liquid and the two never meet.
        EXPECT_GT(te_max, 850.0);
        EXPECT_LT(te_min, 850.0);
        EXPECT_GT(tc_max, 320.0);
        EXPECT_LT(tc_min, 320.0);
        EXPECT_GT(te_min, tc_max);
        const double swing = std::max({te_max - 850.0, 850.0 - te_min, tc_max - 320.0, 320.0 - tc_min});
        EXPECT_LT(swing, swing_prev);
        swing_prev = swing;

        const auto [eta_n, carnot] = last_eta(j->u9());
        EXPECT_NEAR(carnot, 100.0 * (850.0 - 320.0) / 850.0, 0.01);
        EXPECT_GT(eta_n, 0.0);
        EXPECT_LT(eta_n, carnot);
        EXPECT_GT(eta_n, eta_prev);   // nearer the isothermal machine, nearer its efficiency
        eta_prev = eta_n;
    }
    EXPECT_LT(swing_prev, 90.0);
}

TEST(E2eInjection, SlowJetsAreReportedOncePerEpisodeOverAWholeRun) {
    // A tenth of the flow through the same nozzles: 2.7 m/s jets against pistons that reach
    // some 5 m/s, so every stroke has an episode of a jet slower than the gas.
    const std::string deck = with(nozzle_sample(), "STROM=0.5", "STROM=0.05");
    auto j = e2e::run_job(deck);
    ASSERT_EQ(j->nfail(), 0);
    const std::string& u9 = j->u9();
    const std::size_t slow = e2e::count(u9, "FEHLER: Einspritzgeschwindigkeit UDU0");
    const std::size_t cleared = e2e::count(u9, "FEHLER: aufgehoben fuer Zylinderpaar H");
    EXPECT_GE(slow, 4u);
    // Each report is cleared before the next of its side and pair, so the clears trail the
    // reports by at most one per side and pair.
    EXPECT_LE(cleared, slow);
    EXPECT_GE(cleared + 4, slow);
    // Per pair at most one open episode a side: a message per step would pile up reports.
    int open[2] = {0, 0};
    for (const std::string& l : e2e::lines_of(u9)) {
        const auto h = l.find("Zylinderpaar H");
        if (h == std::string::npos || h + 14 >= l.size()) continue;
        const int pair = l[h + 14] - '1';
        ASSERT_TRUE(pair == 0 || pair == 1) << l;
        if (l.rfind("FEHLER: aufgehoben", 0) == 0) {
            --open[pair];
        } else if (l.find("Kurbelwinkel; ABHILFE:") != std::string::npos) {
            ++open[pair];
        }
        EXPECT_GE(open[pair], 0) << l;
        EXPECT_LE(open[pair], 2) << l;
    }
}

TEST(E2eInjection, WithVapourTheLiquidHeatsComeFromTheSteamTable) {
    // A low-temperature version of the sample whose water vapour joins the gas.
    std::string deck = with(nozzle_sample(), "TH=850.0 TK=320.0", "TH=420.0 TK=300.0");
    deck = with(deck, "GAS=HE", "GAS=HE DAMPF");
    auto j = e2e::run_job(deck);
    ASSERT_EQ(j->nfail(), 0);
    for (const auto& l : e2e::bad_numbers(j->u6() + j->u8() + j->u9())) ADD_FAILURE() << l;
    const auto [eta_n, carnot] = last_eta(j->u9());
    EXPECT_NEAR(carnot, 100.0 * (420.0 - 300.0) / 420.0, 0.01);
    EXPECT_GT(eta_n, 0.0);
    EXPECT_LT(eta_n, carnot);
    // Hot water near 420 K and cold near 300 K keep their spaces within some 30 K.
    EXPECT_LT(listed_extreme(j->u6(), "MAXIMUM", "TE1"), 420.0 + 30.0);
    EXPECT_GT(listed_extreme(j->u6(), "MINIMUM", "TE1"), 420.0 - 30.0);
    EXPECT_LT(listed_extreme(j->u6(), "MAXIMUM", "TC1"), 300.0 + 30.0);
    EXPECT_GT(listed_extreme(j->u6(), "MINIMUM", "TC1"), 300.0 - 30.0);
}
