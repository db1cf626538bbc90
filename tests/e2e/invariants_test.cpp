// What every deck must show, whatever it computes: the extremes that the results table gives
// for a revolution are the extremes of that revolution's own curves, and no efficiency beats
// Carnot's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "state/results_observer.hpp"
#include "tests/e2e/e2e_support.hpp"

namespace {

using korvex::ResultColumn;

// Keeps the rows and the curves of a job as the results observer hands them over.
struct Kept : korvex::ResultsObserver {
    std::vector<korvex::RevolutionResults> rows;
    std::map<int, std::map<std::string, std::vector<float>>> curves;   // by run, by name
    void revolution(const korvex::RevolutionResults& r) override { rows.push_back(r); }
    void diagram(const korvex::DiagramResults& d) override {
        auto& run = curves[d.run];
        if (!run.empty()) return;   // the first diagram of a run
        for (const auto& s : d.series) run[s.heading.substr(0, s.heading.find(' '))].assign(s.values.begin(), s.values.end());
    }
};

// The deck with the diagrams of every run replaced by one curve of each quantity whose
// extremes the table gives, over the time.
std::string with_extreme_curves(const std::string& deck) {
    std::string out;
    bool skipping = false;
    for (const auto& l : e2e::lines_of(deck)) {
        const bool comment = l.rfind("***", 0) == 0;
        if (!comment && l.find("DIAGRAM") != std::string::npos) {
            out += "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=0\n"
                   "ABSZISSE| TIME GITTER=0 NBILD=0\n"
                   "ORDINATEN| PGES1 VG1 ME1 MC1 MR1 TE1 TC1\n";
            skipping = true;
            continue;
        }
        // The run's scaling lines and diagram definitions, up to the next run or the end.
        if (skipping && !comment && l.find("STOP") == std::string::npos && l.find("SCHRITT=") == std::string::npos)
            continue;
        skipping = false;
        out += l + "\n";
    }
    return out;
}

// A curve's extremes over the points [from, to) and how far the curve may go beyond each
// between plot points. Around an extreme inside the span, a smooth curve passes the plotted
// one by less than a quarter of the larger change to its neighbours (a parabola through the
// three points); at the first point it may have turned between it and the point before.
struct Span {
    double max = -INFINITY, min = INFINITY, above = 0.0, below = 0.0;
};

Span span_of(const std::vector<float>& y, std::size_t from, std::size_t to) {
    std::size_t hi = from, lo = from;
    for (std::size_t i = from; i < to; ++i) {
        if (y[i] > y[hi]) hi = i;
        if (y[i] < y[lo]) lo = i;
    }
    auto beyond = [&](std::size_t i) {
        const double before = i > 0 ? std::abs(double(y[i]) - y[i - 1]) : 0.0;
        const double after = i + 1 < to ? std::abs(double(y[i + 1]) - y[i]) : 0.0;
        return i == from ? before : std::max(before, after) / 4;
    };
    return {y[hi], y[lo], beyond(hi), beyond(lo)};
}

}  // namespace

TEST(E2eInvariants, EveryRevolutionsExtremesAreThoseOfItsOwnCurvesAndItsEfficiencyBelowCarnot) {
    // Every deck, its diagrams replaced by the curves of pair 1 over the time. A revolution's
    // points are those after the end of the one before, up to and with its own end (the end
    // is always a plot point). The table's PMAX/PMIN and VMAX/VMIN and its swings of the
    // expansion, compression and regenerator gas masses lie between the curves' own values
    // and these widened to the extremes between plot points; TE_MAX and TC_MIN hold over the
    // whole run and bound every point plotted up to the revolution's end. ETA_N stays below
    // Carnot's efficiency between TE_MAX and TC_MIN.
    int revolutions = 0;
    for (const auto& ex : e2e::all_decks()) {
        SCOPED_TRACE(ex.path.filename().string());
        const bool vapour = ex.deck.find(" DAMPF") != std::string::npos;
        Kept kept;
        e2e::Job j(with_extreme_curves(ex.deck));
        j.p->results = &kept;
        j.run();
        for (std::size_t k = 0; k < kept.rows.size(); ++k) {
            const auto& row = kept.rows[k];
            const double TE_MAX = row[ResultColumn::TE_MAX], TC_MIN = row[ResultColumn::TC_MIN];
            // No engine converts more of the heat it takes in than Carnot allows between the
            // extreme temperatures of its spaces (the vapour's heat is not counted in QZU).
            if (TE_MAX > TC_MIN && !vapour) {
                EXPECT_LE(row[ResultColumn::ETA_N], 100 * (TE_MAX - TC_MIN) / TE_MAX) << "revolution " << row.revolution;
            }
            const auto it = kept.curves.find(row.run);
            if (it == kept.curves.end()) continue;   // the run drew no diagram
            const auto& c = it->second;
            ASSERT_EQ(c.size(), 8u) << "a curve was not drawn";
            const auto& t = c.at("TIME");
            const bool first = k == 0 || kept.rows[k - 1].run != row.run;
            const float begin = first ? -INFINITY : float(kept.rows[k - 1][ResultColumn::TIME]);
            const float end = float(row[ResultColumn::TIME]);
            const auto from = static_cast<std::size_t>(std::upper_bound(t.begin(), t.end(), begin) - t.begin());
            const auto to = static_cast<std::size_t>(std::upper_bound(t.begin(), t.end(), end) - t.begin());
            if (to < from + 3) continue;   // not plotted (only the last revolution is)
            SCOPED_TRACE("run " + std::to_string(row.run) + ", revolution " + std::to_string(row.revolution));
            ++revolutions;
            const double eps = 2e-6;   // single-precision curves
            for (const auto& [name, col] : {std::pair{"PGES1", ResultColumn::PMAX_PMIN}, {"VG1", ResultColumn::VMAX_VMIN}}) {
                const Span s = span_of(c.at(name), from, to);
                EXPECT_GE(row[col], s.max / s.min * (1 - eps)) << name;
                EXPECT_LE(row[col], (s.max + s.above) / (s.min - s.below) * (1 + eps)) << name;
            }
            for (const auto& [name, col] : {std::pair{"ME1", ResultColumn::GASMAS_EXP},
                                            {"MC1", ResultColumn::GASMAS_COMP}, {"MR1", ResultColumn::GASMAS_REG}}) {
                const Span s = span_of(c.at(name), from, to);
                EXPECT_GE(row[col], (s.max - s.min) - eps * s.max) << name;
                EXPECT_LE(row[col], (s.max - s.min) + s.above + s.below + eps * s.max) << name;
            }
            EXPECT_GE(TE_MAX, span_of(c.at("TE1"), 0, to).max * (1 - eps));
            EXPECT_LE(TC_MIN, span_of(c.at("TC1"), 0, to).min * (1 + eps));
        }
    }
    EXPECT_GE(revolutions, 100);
}
