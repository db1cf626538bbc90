// The results of a batch job as CSV: the results table row by row as the listing prints it, the
// curves point by point as they are drawn, and a file that cannot be written failing the job.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <regex>

#include "shell/core/cli.hpp"
#include "shell/core/csv.hpp"
#include "tests/e2e/e2e_support.hpp"
#include "tests/runtime/scratch_dir.hpp"

using namespace korvex;
using korvex::testing::ScratchDir;
using korvex::testing::slurp;
using korvex::testing::spit;
namespace fs = std::filesystem;

namespace {

// The built program run on the job in `job` with the arguments; standard error lands in *err.
int run_korvex(const fs::path& job, const std::string& args, std::string* err = nullptr) {
    const fs::path errf = job.parent_path() / (job.filename().string() + ".err");
    const std::string cmd = std::string("\"") + KORVEX_BINARY + "\" " + args + " \"" + job.string() +
                            "\" >/dev/null 2>\"" + errf.string() + "\"";
    const int rc = korvex::testing::exit_status_of(cmd);
    if (err) *err = slurp(errf);
    fs::remove(errf);
    return rc;
}

using Table = std::vector<std::vector<std::string>>;

// A CSV file as records of fields; every record must end in CRLF and no field here is quoted.
Table read_csv(const fs::path& file) {
    Table t;
    const std::string text = slurp(file);
    std::size_t at = 0;
    while (at < text.size()) {
        const auto end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << file << ": a record without CRLF";
        if (end == std::string::npos) break;
        std::vector<std::string> rec;
        std::stringstream line(text.substr(at, end - at));
        for (std::string f; std::getline(line, f, ',');) rec.push_back(f);
        t.push_back(rec);
        at = end + 2;
    }
    return t;
}

// The number a table field shows and half a unit of its last printed digit.
bool listed(const std::string& field, double& v, double& half) {
    static const std::regex num(R"((?:^|[\s=])(-?(?:\d+\.?\d*|\.\d+)))");
    std::smatch m;
    if (!std::regex_search(field, m, num)) return false;
    const std::string s = m[1];
    v = std::strtod(s.c_str(), nullptr);
    const auto dot = s.find('.');
    half = 0.5 * std::pow(10.0, -static_cast<double>(dot == std::string::npos ? 0 : s.size() - dot - 1));
    return true;
}

std::vector<std::string> split(const std::string& l) {
    std::vector<std::string> out;
    std::stringstream ss(l);
    for (std::string f; std::getline(ss, f, '|');) out.push_back(f);
    return out;
}

// Where the row block shows each quantity: line (0-based), field between the bars (the
// table's column less one), whether the "*1000" of line 2 scales it, and its CSV heading.
struct Place {
    int line, field;
    bool scaled;
    const char* heading;
};
const Place PLACES[] = {
    {0, 0, false, "run"}, {0, 1, false, "DKST [cm]"}, {0, 2, false, "KAPA EXP [-]"}, {0, 3, false, "TH [Kelvin]"},
    {0, 4, false, "STROKE VOL. EXP. [cm**3]"}, {0, 5, false, "DEAD VOL. EXP. [cm**3]"},
    {0, 6, false, "REGEN. VOL. [cm**3]"}, {0, 7, false, "DEAD VOL. COMP. [cm**3]"}, {0, 8, false, "P0 [Bar]"},
    {0, 9, false, "VMAX/VMIN [-]"}, {0, 10, false, "PMAX/PMIN [-]"}, {0, 11, true, "A1 [Watt*s]"},
    {0, 12, true, "A2 [Watt*s]"}, {0, 13, false, "WORK LOST [Watt*s]"}, {0, 14, true, "POWER USABL [Watt]"},
    {0, 15, true, "DQZU1 MAX [Watt]"}, {0, 16, false, "DIFFERENCE IN GASMAS EXP. [Gramm]"},
    {0, 17, false, "DIFFERENCE IN GASMAS COMP. [Gramm]"}, {0, 18, false, "DIFFERENCE IN GASMAS REG. [Gramm]"},
    {0, 19, false, "TIME [sec]"}, {1, 1, false, "DH [cm]"}, {1, 2, false, "KAPA COMP [-]"},
    {1, 3, false, "TK [Kelvin]"}, {1, 4, false, "STROKE VOL. COMP. [cm**3]"}, {2, 1, false, "DK [cm]"},
    {2, 12, false, "ETA_N [%]"}, {2, 14, false, "Power for Pumps [Watt]"}, {2, 19, false, "REVOL. TIME [msec]"},
    {3, 1, false, "STROKE [cm]"}, {3, 3, false, "TE_MAX [Kelvin]"}, {3, 6, false, "ETA_R [%]"},
    {3, 8, false, "P1MEAN [Bar]"}, {3, 12, false, "AUSN_I [%]"}, {3, 16, false, "TOTAL GASMASS [Gramm]"},
    {4, 0, false, "revolution"}, {4, 3, false, "TC_MIN [Kelvin]"}, {4, 12, false, "AREF_I [%]"},
    {4, 17, false, "RPM [U/MIN]"},
};

}  // namespace

TEST(Csv, FieldsAreQuotedOnlyWhenTheyMustBeAndNumbersReadBackExactly) {
    EXPECT_EQ(shell::csv_field("A1 [Watt*s]"), "A1 [Watt*s]");
    EXPECT_EQ(shell::csv_field("a,b"), "\"a,b\"");
    EXPECT_EQ(shell::csv_field("say \"so\""), "\"say \"\"so\"\"\"");
    EXPECT_EQ(shell::csv_field("two\r\nlines"), "\"two\r\nlines\"");
    for (double v : {0.1, 1.0 / 3.0, -2.5e-7, 1e300, 5e-324, 123456789.0}) {
        const std::string s = shell::csv_number(v);
        EXPECT_EQ(std::strtod(s.c_str(), nullptr), v) << s;
        EXPECT_EQ(s.find_first_of(", "), std::string::npos) << s;
    }
    // A plotted value is the float it is: 0.1f, not the 0.100000001490116 it widens to.
    EXPECT_EQ(shell::csv_number(0.1f), "0.1");
    EXPECT_EQ(shell::csv_number(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(shell::csv_number(-std::numeric_limits<float>::infinity()), "");
}

TEST(Csv, ResultsTableHoldsEveryRowBlockOfTheListingForEverySampleDeck) {
    int rows_seen = 0;
    for (const auto& ex : e2e::examples()) {
        SCOPED_TRACE(ex.path.filename().string());
        ScratchDir dir;
        fs::copy_file(ex.path, dir / "KORVEX.DAT");
        std::string err;
        EXPECT_EQ(run_korvex(dir.path(), "--batch --pages none --csv", &err), ex.stated == 0 ? 0 : 1) << err;
        const Table csv = read_csv(dir / "KORVEX.csv");
        ASSERT_GE(csv.size(), 1u);
        std::map<std::string, std::size_t> col;
        for (std::size_t k = 0; k < csv[0].size(); ++k) col[csv[0][k]] = k;
        ASSERT_EQ(col.size(), csv[0].size()) << "headings repeat";

        // Every row block of the listing: the lines after a rule that begin with the run number.
        const auto f08 = e2e::lines_of(slurp(dir / "KORVEX.F08"));
        std::size_t row = 0;
        for (std::size_t i = 1; i + 6 < f08.size(); ++i) {
            const bool after_rule = f08[i - 1].rfind(" ___|", 0) == 0 || f08[i - 1].rfind(" ---|", 0) == 0;
            if (!after_rule || !std::regex_search(f08[i], std::regex(R"(^ *\d+\|)"))) continue;
            ++row;
            ASSERT_LT(row, csv.size()) << "more row blocks than rows";
            const auto& rec = csv[row];
            ASSERT_EQ(rec.size(), csv[0].size());
            const double scale = f08[i + 1].find("*1000") != std::string::npos ? 0.001 : 1.0;
            for (const Place& at : PLACES) {
                SCOPED_TRACE(std::string(at.heading) + " in block " + std::to_string(row));
                const auto fields = split(f08[i + static_cast<std::size_t>(at.line)]);
                ASSERT_LT(static_cast<std::size_t>(at.field), fields.size());
                double v = 0.0, half = 0.0;
                if (!listed(fields[static_cast<std::size_t>(at.field)], v, half)) continue;  // asterisks
                ASSERT_EQ(col.count(at.heading), 1u);
                const double x = std::strtod(rec[col[at.heading]].c_str(), nullptr) * (at.scaled ? scale : 1.0);
                EXPECT_LE(std::abs(x - v), half * (1.0 + 1e-9)) << rec[col[at.heading]];
            }
            // The phase shift, shown only where it differs from the first run's.
            double v = 0.0, half = 0.0;
            const auto ph = f08[i + 5].find("PHASENVERSCHIEBUNG:");
            if (ph != std::string::npos && listed(f08[i + 5].substr(ph + 18), v, half)) {
                EXPECT_NEAR(std::strtod(rec[col["PHASENVERSCHIEBUNG [Grad]"]].c_str(), nullptr), v, half);
            }
        }
        EXPECT_EQ(row + 1, csv.size()) << "rows without a row block";
        rows_seen += static_cast<int>(row);
    }
    EXPECT_GT(rows_seen, 40);
}

TEST(Csv, IsothermalWorkOfARevolutionMatchesTheClosedFormOfTheMachine) {
    // Equal bores of 5 cm, crank radius 2.5 cm, pure sine drive, the cold crank 90 degrees
    // behind, dead spaces of 0.5 cm, a loss-free regenerator of 30 cm3 at the logarithmic mean
    // temperature, 900 K and 320 K, 20 bar at 300 K at the largest gas volume, a flywheel
    // too heavy to change speed. With VE = A(H0 + R(1 - cos f)), VC = A(H0 + R(1 - sin f)) the
    // pressure is C / (K0 - K1 cos(f - b)), with C = P0 VMAX / T0, K0 the mean reduced volume,
    // K1 = A R sqrt(1/TH^2 + 1/TK^2), tan b = TH / TK. Over a revolution only the cos(f - b)
    // part of dVG = A R (sin f - cos f) df does work, and the integral of cos u / (K0 - K1 cos u)
    // is 2 pi / K1 (K0 / sqrt(K0^2 - K1^2) - 1), so
    //   W = C A R (sin b - cos b) 2 pi / K1 (K0 / sqrt(K0^2 - K1^2) - 1) / 10   (Bar cm3 -> W s).
    const double PI = 3.141592654;
    const double A = PI / 4.0 * 25.0, R = 2.5, H0 = 0.5, VR = 30.0, TH = 900.0, TK = 320.0;
    const double VMAX = A * R * (2.0 + std::sqrt(2.0)) + 2.0 * A * H0 + VR;
    const double C = 20.0 * VMAX / 300.0;
    const double K0 = A * (H0 + R) / TH + VR * std::log(TH / TK) / (TH - TK) + A * (H0 + R) / TK;
    const double n = std::hypot(1.0 / TH, 1.0 / TK), K1 = A * R * n;
    const double sin_minus_cos = (1.0 / TK - 1.0 / TH) / n;
    const double W = C * A * R * sin_minus_cos * 2.0 * PI / K1 * (K0 / std::sqrt(K0 * K0 - K1 * K1) - 1.0) / 10.0;

    ScratchDir dir;
    spit(dir / "KORVEX.DAT",
         "AUS: TIME=0.0402 SCHRITT=2.01E-5 NZYL=1 IPRNT=2\nISOTHERM\n"
         "NACH: 1 DAEMPFUNG=1.0 FSEAL=0.0 PHASE=-90.0\n"
         "DH=5.0 DK=5.0 R=2.5 DKST=0.0 P0=20.0 TH=900.0 TK=320.0\n"
         "T0=300.0 VOLUMEN=0.03 SGRAD=100.0\n"
         "ZW=0 ZH0E=10 ZH0C=10 N0=1500 THETA=1.0E12 DICKE=2 %\n"
         "L/R=0.0 REGELN AB 10 IN 1 RVE=0 RVC=0 GAS=HE\nSTOP\n");
    ASSERT_EQ(run_korvex(dir.path(), "--batch --pages none --csv"), 0);
    const Table csv = read_csv(dir / "KORVEX.csv");
    ASSERT_EQ(csv.size(), 2u);
    const auto a1 = std::find(csv[0].begin(), csv[0].end(), "A1 [Watt*s]") - csv[0].begin();
    // The tolerance the listed work meets: the step's trapezoid error at 2000 steps a
    // revolution and the listing's six digits, 2e-5.
    EXPECT_NEAR(std::strtod(csv[1][static_cast<std::size_t>(a1)].c_str(), nullptr), W, 2e-5 * W);
}

TEST(Csv, CurveFilesHoldEveryPointOfEveryCurveDrawnHeadedByNameAndUnit) {
    // The sample draws p-V (VG1, P1) and speed over time (TIME, RPM); its curves are the only
    // polylines of many points on the page, in the order of the diagrams.
    ScratchDir dir;
    auto j = std::make_unique<e2e::Job>(e2e::read_file(fs::path(KORVEX_SOURCE_DIR) / "examples/sample.dat"));
    shell::CsvResults out(dir.path());
    ASSERT_TRUE(out.open());
    j->p->results = &out;
    j->run();
    ASSERT_TRUE(out.finish());
    std::vector<std::size_t> curves;
    for (const auto& op : j->page.of(platform::RecordingSurface::Kind::Polyline))
        if (op.points.size() > 50) curves.push_back(op.points.size());
    ASSERT_EQ(curves.size(), 2u);
    const Table pv = read_csv(dir / "KORVEX-1-1.csv"), rpm = read_csv(dir / "KORVEX-1-2.csv");
    EXPECT_EQ(pv[0], (std::vector<std::string>{"VG1 [CM**3]", "P1 [BAR]"}));
    EXPECT_EQ(rpm[0], (std::vector<std::string>{"TIME [SEC]", "RPM [U/MIN]"}));
    EXPECT_EQ(pv.size() - 1, curves[0]);
    EXPECT_EQ(rpm.size() - 1, curves[1]);
    EXPECT_FALSE(fs::exists(dir / "KORVEX-1-3.csv"));

    // A run without diagrams draws no curves; the runs around it do.
    ScratchDir multi;
    fs::copy_file(fs::path(KORVEX_SOURCE_DIR) / "examples/multi_run.dat", multi / "KORVEX.DAT");
    ASSERT_EQ(run_korvex(multi.path(), "--batch --pages none --csv"), 0);
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(multi.path()))
        if (e.path().filename().string().rfind("KORVEX-", 0) == 0) files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"KORVEX-1-1.csv", "KORVEX-3-1.csv"}));
    EXPECT_EQ(read_csv(multi / "KORVEX-3-1.csv")[0],
              (std::vector<std::string>{"TIME [SEC]", "P1 [BAR]", "RPM [U/MIN]"}));
}

TEST(Csv, AResultsFileThatCannotBeWrittenIsReportedAndFailsTheJob) {
    const auto sample = fs::path(KORVEX_SOURCE_DIR) / "examples/sample.dat";
    const auto npos = std::string::npos;
    // A directory in the place of the table, or of the second diagram's curves.
    for (const char* blocked : {"KORVEX.csv", "KORVEX-1-2.csv"}) {
        ScratchDir dir;
        fs::copy_file(sample, dir / "KORVEX.DAT");
        fs::create_directory(dir / blocked);
        std::string err;
        EXPECT_EQ(run_korvex(dir.path(), "--batch --pages none --csv", &err), 1);
        EXPECT_NE(err.find(blocked), npos) << err;
        // The rest of the job is written all the same.
        EXPECT_NE(slurp(dir / "KORVEX.F08").find("TOTAL GASMASS"), npos);
        EXPECT_TRUE(fs::is_regular_file(dir / "KORVEX-1-1.csv"));
    }
#ifdef __linux__
    // A full disk: the file opens, but what is written never arrives.
    ScratchDir dir;
    fs::copy_file(sample, dir / "KORVEX.DAT");
    fs::create_symlink("/dev/full", dir / "KORVEX.csv");
    std::string err;
    EXPECT_EQ(run_korvex(dir.path(), "--batch --pages none --csv", &err), 1);
    EXPECT_NE(err.find("KORVEX.csv"), npos) << err;
#endif
    // The window writes no CSV: the option goes with the batch job only.
    ScratchDir win;
    fs::copy_file(sample, win / "KORVEX.DAT");
    EXPECT_EQ(run_korvex(win.path(), "--csv", &err), 2);
    EXPECT_FALSE(fs::exists(win / "KORVEX.csv"));
}
