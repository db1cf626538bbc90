// The notes of a run: an efficiency above the machine's Carnot efficiency, and a machine that
// takes in work, with its cooling power and coefficient of performance.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/e2e/e2e_support.hpp"

namespace {

// The number that follows the first `label` in `text`.
double number_after(const std::string& text, const std::string& label) {
    const auto at = text.find(label);
    return at == std::string::npos ? NAN : std::stod(text.substr(at + label.size()));
}

}  // namespace

TEST(RevolutionNotes, AboveCarnotOnPolySampleOnlyNotOnIsothermalSamples) {
    // POLY: ETA_N about 68.8 % against 1 - 330/850 = 61.18 %, once in the run. The isothermal
    // samples without the vapour component stay below Carnot and get no note.
    std::size_t checked = 0;
    for (const auto& ex : e2e::examples()) {
        const std::string name = ex.path.filename().string();
        SCOPED_TRACE(name);
        const bool iso = ex.deck.find("POLYTROP") == std::string::npos &&
                         ex.deck.find("TEMPD") == std::string::npos &&
                         ex.deck.find(" DAMPF") == std::string::npos;
        if (!iso && name != "poly.dat") continue;
        const auto j = e2e::run_job(ex.deck);
        if (iso) {
            EXPECT_EQ(e2e::count(j->u6(), " NOTE:"), 0u);
        } else {
            EXPECT_EQ(e2e::count(j->u6(), " NOTE: ETA-N 68."), 1u);
            EXPECT_EQ(e2e::count(j->u6(), "% > Carnot 61.18%: QZU omits heat from the regenerator end\n"), 1u);
        }
        ++checked;
    }
    EXPECT_GE(checked, 8u);
}

TEST(RevolutionNotes, CoolerGivesItsCoolingPowerAndCoefficientOfPerformance) {
    const auto j = e2e::run_job(e2e::read_file(KORVEX_SOURCE_DIR "/tests/decks/trust_cooler.dat"));
    const std::string& u6 = j->u6();
    EXPECT_EQ(e2e::count(u6, " NOTE: the machine absorbs work (TH below TK) in revolution   1: a cooler\n"), 1u);
    // Revolution 1 by hand from the listings' own numbers: the heat into the expansion space
    // QZU1 and the revolution's time UDELT (detail listing), its net work (short listing).
    const double QZU1 = number_after(j->u9(), "ENERGIEZUFUHR   \"QZU1\"=");
    const double UDELT = number_after(j->u9(), "\"UDELT\"=");
    const double work = number_after(u6, "Nutzarbeit=");
    const double power = number_after(u6, "cooling power QZU/UDELT =");
    const double COP = number_after(u6, "COP = QZU/-ARBTUN =");
    ASSERT_LT(work, 0.0);
    EXPECT_NEAR(power, QZU1 / UDELT, 1e-4 * power);
    EXPECT_NEAR(COP, QZU1 / -work, 6e-4);
    // A cooler between 80 K and 300 K takes at least its Carnot work: COP below 80 / 220.
    EXPECT_GT(COP, 0.0);
    EXPECT_LT(COP, 80.0 / 220.0);
}
