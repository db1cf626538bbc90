// Over every sample and test deck: an isothermal run without injection (nozzles or a
// temperature loss DELTAT) and without the vapour component, whose heat input QZU is the
// heater's heat, converts no more of it than Carnot allows between TH and TK.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulation/bereg.hpp"
#include "state/results_observer.hpp"
#include "tests/e2e/e2e_support.hpp"

namespace {

// ETA_N of every revolution, with the machine's Carnot efficiency 1 - TK/TH where the run is
// one the bound holds for.
struct Efficiencies : korvex::ResultsObserver {
    struct Row {
        int run, revolution;
        double ETA_N, carnot;
    };
    const korvex::Program* p = nullptr;
    std::vector<Row> rows;
    void revolution(const korvex::RevolutionResults& r) override {
        const auto& d = p->run;
        const bool plain = d.mode == korvex::run::Mode::ISO && !korvex::simulation::injection_active(d) &&
                           !(d.DELTAT > 0.0) && !d.FDAMPF && d.TH > d.TK;
        if (plain) rows.push_back({r.run, r.revolution, r[korvex::ResultColumn::ETA_N], 100.0 * (1.0 - d.TK / d.TH)});
    }
    void diagram(const korvex::DiagramResults&) override {}
};

}  // namespace

TEST(E2eCarnot, IsothermalRunsWithoutInjectionStayBelowTheMachinesCarnotEfficiency) {
    std::size_t revolutions = 0;
    for (const auto& ex : e2e::all_decks()) {
        SCOPED_TRACE(ex.path.filename().string());
        Efficiencies eff;
        e2e::Job j(ex.deck);
        eff.p = j.p.get();
        j.p->results = &eff;
        j.run();
        for (const auto& row : eff.rows)
            EXPECT_LE(row.ETA_N, row.carnot) << "run " << row.run << ", revolution " << row.revolution;
        revolutions += eff.rows.size();
    }
    EXPECT_GE(revolutions, 100u);
}
