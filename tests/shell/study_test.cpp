// Parameter studies: --vary against the same runs written out by hand, the study table against
// the results table, the study page, and the usage errors of a study that cannot be made.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "../e2e/e2e_support.hpp"
#include "../runtime/scratch_dir.hpp"
#include "shell/core/study.hpp"

using namespace korvex;
using korvex::testing::ScratchDir;
using korvex::testing::slurp;
using korvex::testing::spit;
using korvex::testing::quoted;
using korvex::testing::run_korvex;

namespace {

std::string sample() { return slurp(std::filesystem::path(KORVEX_SOURCE_DIR) / "examples" / "sample.dat"); }

// A listing with its date stamps ("8.12. 2026 10 UHR  6") masked.
std::string masked(const std::string& text) {
    static const std::regex stamp(R"(\d+\.\s*\d+\.\s*\d{4}\s+\d+ UHR\s*\d+)");
    return std::regex_replace(text, stamp, "<date>");
}

// Splits a line at "|".
std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::size_t a = 0;
    for (std::size_t b; (b = line.find('|', a)) != std::string::npos; a = b + 1) out.push_back(line.substr(a, b - a));
    out.push_back(line.substr(a));
    return out;
}

// The value a printed field shows and half a unit of its last digit.
struct Printed {
    double value, half_unit;
};
Printed printed(std::string f) {
    f = f.substr(0, f.find('%'));
    const auto dot = f.find('.');
    const auto last = f.find_last_not_of(' ');
    const int d = dot == std::string::npos ? 0 : static_cast<int>(last - dot);
    return {std::stod(f), 0.5 * std::pow(10.0, -d) * 1.0001};
}

}  // namespace

// Three values of TH give, run for run, the listings of the deck with the three runs written
// out; the deck file is left as it was. The study table's row of every run holds the results
// table's last revolution of that run, to the digits the table prints.
TEST(Study, VaryRunsTheWrittenOutRunsAndTabulatesTheirLastRevolutions) {
    ScratchDir dir;
    const auto varied = dir / "varied", written = dir / "written";
    std::filesystem::create_directory(varied);
    std::filesystem::create_directory(written);
    const std::string deck = sample();
    spit(varied / "KORVEX.DAT", deck);
    const auto run_at = deck.find("AUSGABE"), stop_at = deck.find("STOP");
    const std::string head = deck.substr(0, run_at), run = deck.substr(run_at, stop_at - run_at);
    std::string out = head;
    for (const char* th : {"700", "825.5", "1000"}) {
        std::string r = run;
        r.replace(r.find("TH=900.0"), 8, std::string("TH=") + th);
        out += r;
    }
    spit(written / "KORVEX.DAT", out + "STOP\n");

    ASSERT_EQ(run_korvex(dir, "--batch " + quoted(varied) + " --vary TH=700,825.5,1000"), 0) << slurp(dir / "err");
    ASSERT_EQ(run_korvex(dir, "--batch " + quoted(written)), 0) << slurp(dir / "err");
    EXPECT_EQ(slurp(varied / "KORVEX.DAT"), deck);
    for (const char* f : {"KORVEX.F06", "KORVEX.F08", "KORVEX.F09"})
        EXPECT_EQ(masked(slurp(varied / f)), masked(slurp(written / f))) << f;
    EXPECT_TRUE(std::filesystem::exists(varied / "KORVEX-study.svg"));

    // The last row block of every run in the results table.
    const auto f08 = e2e::lines_of(slurp(varied / "KORVEX.F08"));
    std::vector<std::vector<std::string>> last(4);
    for (std::size_t i = 1; i + 4 < f08.size(); ++i) {
        if (f08[i - 1].find("___|___") == std::string::npos) continue;
        const auto f = fields(f08[i]);
        if (f.size() < 20 || f[0].find_first_of("0123456789") == std::string::npos) continue;
        const int n = std::stoi(f[0]);
        ASSERT_TRUE(n >= 1 && n <= 3) << f08[i];
        last[static_cast<std::size_t>(n)] = {f08[i], f08[i + 1], f08[i + 2], f08[i + 3], f08[i + 4]};
    }
    const auto table = e2e::lines_of(slurp(varied / "KORVEX-study.csv"));
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0],
              "run,TH,A1 [Watt*s],POWERU [Watt],POWER USABL [Watt],ETA_N [%],ETA_CARNOT [%],P1MEAN [Bar],"
              "PMAX [Bar],PMIN [Bar],RPM [U/MIN],NFAIL\r");
    const double TH[] = {700.0, 825.5, 1000.0};
    for (int n = 1; n <= 3; ++n) {
        std::vector<double> v;
        std::string row = table[static_cast<std::size_t>(n)];
        row.pop_back();  // the CR of CRLF
        for (const auto& f : fields(std::regex_replace(row, std::regex(","), "|"))) v.push_back(std::stod(f));
        ASSERT_EQ(v.size(), 12u) << row;
        const auto& b = last[static_cast<std::size_t>(n)];
        ASSERT_FALSE(b.empty()) << "run " << n;
        const auto l1 = fields(b[0]), l2 = fields(b[1]), l3 = fields(b[2]), l4 = fields(b[3]), l5 = fields(b[4]);
        auto near = [&](double got, const std::string& text, const char* what, double unit = 1.0) {
            const Printed p = printed(text);
            EXPECT_NEAR(got, p.value * unit, p.half_unit * unit) << what << " of run " << n;
        };
        // The work and power columns of a fast machine are printed in thousands, marked "*1000".
        const double work_unit = l2[11].find("*1000") != std::string::npos ? 1000.0 : 1.0;
        const double power_unit = l2[14].find("*1000") != std::string::npos ? 1000.0 : 1.0;
        EXPECT_EQ(v[0], n);
        EXPECT_EQ(v[1], TH[n - 1]);
        near(v[1], l1[3], "TH");
        near(v[2], l1[11], "A1", work_unit);
        near(v[4], l1[14], "POWER USABL", power_unit);
        near(v[5], l3[12], "ETA_N");
        near(v[7], l4[8], "P1MEAN");
        near(v[8] / v[9], l1[10], "PMAX/PMIN");
        near(v[10], l5.back(), "RPM");
        // Isothermal cylinders at TH and TK = 320 K: the Carnot efficiency is 1 - TK/TH.
        EXPECT_NEAR(v[6], 100.0 * (1.0 - 320.0 / TH[n - 1]), 1e-9);
        EXPECT_GT(v[3], v[4]);  // the total power holds the usable one and the losses
        EXPECT_EQ(v[11], 0.0);
    }
}

// Two --vary span the grid, the second turning fastest; the table's columns are exactly the
// values that differ between the runs.
TEST(Study, TwoVariesSpanAGrid) {
    std::vector<shell::Vary> v(2);
    ASSERT_EQ(shell::parse_vary("p0=10:30:10", v[0]), "");
    ASSERT_EQ(shell::parse_vary("PHASE=-90,-60", v[1]), "");
    std::string problem;
    const std::string deck = shell::study_deck(sample(), v, problem);
    ASSERT_EQ(problem, "");
    const auto cols = shell::varied_columns(shell::deck_runs(deck));
    ASSERT_EQ(cols.size(), 2u);  // in the order of the deck: PHASE on line 3, P0 on line 4
    EXPECT_EQ(cols[0].keyword, "PHASE");
    EXPECT_EQ(cols[0].values, (std::vector<std::string>{"-90", "-60", "-90", "-60", "-90", "-60"}));
    EXPECT_EQ(cols[1].keyword, "P0");
    EXPECT_EQ(cols[1].values, (std::vector<std::string>{"10", "10", "20", "20", "30", "30"}));
    EXPECT_EQ(e2e::count(deck, "STOP"), 1u);

    shell::Vary r;
    ASSERT_EQ(shell::parse_vary("T0=0.1:0.3:0.1", r), "");
    EXPECT_EQ(r.values, (std::vector<std::string>{"0.1", "0.2", "0.3"}));
}

// The study page over one varied value and over the runs (several values vary, one run without
// a revolution) keeps every stroke on the page and every curve inside its diagram.
TEST(Study, PagePassesThePageCheck) {
    std::vector<shell::StudyRow> rows;
    for (int n = 1; n <= 4; ++n) {
        shell::StudyRow r{n};
        r.has_results = n != 3;
        r.POWERN = 5000.0 * n;
        r.POWERU = 5100.0 * n;
        r.ETA_N = 40.0 + n;
        r.ETA_CARNOT = 60.0 + n;
        rows.push_back(r);
    }
    const std::vector<shell::VariedColumn> one{{"TH", {"700", "800", "900", "1000"}}};
    const std::vector<shell::VariedColumn> two{{"TH", {"700", "700", "900", "900"}}, {"P0", {"10", "20", "10", "20"}}};
    for (const auto* varied : {&one, &two}) {
        for (auto [w, h] : {std::pair{1008, 700}, std::pair{400, 900}}) {
            platform::RecordingSurface page(w, h);
            shell::draw_study_page(page, w, h, *varied, rows);
            EXPECT_EQ(e2e::page_faults(page.ops(), w, h), std::vector<std::string>{}) << w << "x" << h;
            const auto polylines = std::count_if(page.ops().begin(), page.ops().end(), [](const auto& op) {
                return op.kind == platform::RecordingSurface::Kind::Polyline;
            });
            EXPECT_EQ(polylines, 4);  // two powers, ETA_N and the Carnot efficiency
        }
    }
}

// A study that cannot be made is a usage error naming what is wrong, before anything runs.
TEST(Study, UsageErrors) {
    struct Case {
        const char* vary;
        const char* message;
    };
    const Case cases[] = {
        {"XYZ=1,2", "--vary XYZ: the deck's first run has no keyword XYZ="},
        {"TH=700,6000", "--vary TH: 6000 lies outside the range"},
        {"TH=", "--vary TH: the list of values is empty"},
        {"TH=1000:700:100", "holds no value"},
        {"GITTER=1,2", "GITTER= stands more than once"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        spit(dir / "KORVEX.DAT", sample());
        EXPECT_EQ(run_korvex(dir, "--batch " + quoted(dir.path()) + " --vary " + c.vary), 2) << c.vary;
        EXPECT_NE(slurp(dir / "err").find(c.message), std::string::npos) << slurp(dir / "err");
        EXPECT_FALSE(std::filesystem::exists(dir / "KORVEX.F06")) << c.vary;
    }
}

// A run keeps its row whatever happens to it: an error it ends with (666, the vapour pressure
// reached) empties its results, events it only counts (1: a marker not found) leave them, and a
// job that stops before a further run gives that run a row with the stopping number (504).
TEST(Study, RowsOfRunsThatEndWithAnError) {
    auto p = std::make_unique<Program>();
    shell::StudyResults study(*p, nullptr);
    const int ends[] = {666, 667, 667};
    for (int run = 1; run <= 3; ++run) {
        RevolutionResults r;
        r.run = run;
        r[ResultColumn::A1] = 100.0 * run;
        study.revolution(r);
        study.run_end(run, ends[run - 1]);
    }
    p->run.NLAUF = 3;
    study.job_end(504);
    const auto& rows = study.rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].NFAIL, 666);
    EXPECT_FALSE(rows[0].has_results);
    EXPECT_EQ(rows[1].NFAIL, 1);
    EXPECT_TRUE(rows[1].has_results);
    EXPECT_EQ(rows[1].A1, 200.0);
    EXPECT_EQ(rows[2].NFAIL, 0);
    EXPECT_TRUE(rows[2].has_results);
    EXPECT_EQ(rows[3].run, 4);
    EXPECT_EQ(rows[3].NFAIL, 504);
    EXPECT_FALSE(rows[3].has_results);
}
