// The fixed pieces of a run's listing: caption line, results-row start, unit-8 heading, data
// sheet and legend. Expected texts are laid out by hand from the edit descriptors.
#include <gtest/gtest.h>

#include "run/listings.hpp"
#include "tests/run/control_support.hpp"

using namespace control_test;
using korvex::run::RunState;

namespace {

const std::string kStamp = "  7. 3. 2026 14 UHR  5 ";  // 23 characters

RunState machine() {
    RunState r;
    r.P0 = 20.0;
    r.R = 1.8;
    r.DH = 6.0;
    r.DK = 6.0;
    r.THNEU = 900.0;
    r.TKNEU = 300.0;
    r.ZH0E = 10.0;
    r.ZH0C = 12.5;
    r.LR = 4.0;
    r.PHASE = -90.0;
    r.VR = 20.0;
    return r;
}

std::string tail(const std::string& caption) {
    std::string t = caption.substr(23);
    return t.substr(0, t.find_last_not_of(' ') + 1);
}

}  // namespace

TEST(Listings, CaptionLineInItsSixForms) {
    RunState r = machine();
    std::string c = korvex::run::caption_line(r, kStamp);
    ASSERT_EQ(c.size(), 131u);
    EXPECT_EQ(c.substr(0, 23), kStamp);
    EXPECT_EQ(tail(c), "P0= 20.0 Bar;R= 1.80 DH=  6.0 DK=  6.0 cm TH=900. TK=300. K;ZH0e/c= 10.0/ 12.5 % L/R= 4.0 VR= 0.020 L");
    EXPECT_EQ(tail(c).size(), 101u);  // columns 24 to 124

    r.LR = 0.0;
    EXPECT_EQ(tail(korvex::run::caption_line(r, kStamp)),
              "P0= 20.0 Bar;R= 1.80 DH=  6.0 DK=  6.0 cm TH=900. TK=300. K;ZH0e/c= 10.0/ 12.5% ]d.= -90.0 VR= 0.020 L");

    r.RVE = 5.0;
    r.RVC = 7.5;
    r.control_volume_percent = true;
    EXPECT_EQ(tail(korvex::run::caption_line(r, kStamp)),
              " P0= 20.0 Bar R= 1.80 DH=  6.0 DK=  6.0 cm  TH=900. TK=300. K; RVE/C= 5.0/ 7.5% ]d.= -90.0 VR= 0.020 L");
    r.LR = 4.0;
    EXPECT_EQ(tail(korvex::run::caption_line(r, kStamp)),
              " P0= 20.0 Bar R= 1.80 DH=  6.0 DK=  6.0 cm  TH=900. TK=300. K; RVE/C= 5.0/ 7.5 % L/R= 4.0 VR= 0.020 L");

    r.control_volume_percent = false;
    r.RVEVOL = 50.0;
    r.RVCVOL = 75.0;
    EXPECT_EQ(tail(korvex::run::caption_line(r, kStamp)),
              ";P0= 20.0 Bar R= 1.80 DH=  6.0 DK=  6.0 cm TH=900. TK=300. K RVE/C=   50./   75.;L/R= 4.0 VR= 0.020 L");
    r.LR = 0.0;
    c = korvex::run::caption_line(r, kStamp);
    EXPECT_EQ(tail(c),
              " P0= 20. Bar R= 1.80 DH=  6.0 DK=  6.0 cm TH=900. TK=300. K RVE/C=   50./   75. ]d.= -90.0 VR= 0.020 L");
    EXPECT_EQ(tail(c).size(), 102u);  // columns 24 to 125

    r.FDAMPF = true;
    r.DAM = "D 123";
    c = korvex::run::caption_line(r, kStamp);
    EXPECT_EQ(c.substr(125), " D 123");
}

TEST(Listings, ResultsRowStart) {
    RunState r = machine();
    r.NLAUF = 3;
    r.DKST = 1.25;
    r.EPSILON_E = 1.3;
    r.TAA1 = 899.96;
    r.VE[0] = 101.8;
    r.VH00E[0] = 10.0;
    r.VH00C[0] = 9.5;
    r.P0 = 150.0;
    std::string row(133, '#');
    korvex::run::write_row_start(r, row);
    EXPECT_EQ(row.substr(0, 58), "   3| 1.25|1.30| 900.0| 101.8|  10.0|  20.0|   9.5|150.00|");
    EXPECT_EQ(row.substr(58), std::string(75, '#'));  // the evaluation's part is left alone
    r.P0 = 99.5;
    korvex::run::write_row_start(r, row);
    EXPECT_EQ(row.substr(50, 8), "|99.500|");
}

TEST(Listings, LevelFourAddsExactlyTheLegendToUnitEight) {
    auto j3 = whole_job(join(runs({0}, "3")));
    auto j4 = whole_job(join(runs({0}, "4")));
    const auto r3 = records(j3->u8()), r4 = records(j4->u8());
    const int legend = at(j4->u8(), " LEGEND OF THE TABLE:");
    ASSERT_GE(legend, 2);
    EXPECT_EQ(at(j3->u8(), " LEGEND OF THE TABLE:"), -1);
    EXPECT_EQ(r4[legend + 2], "  1 -> RUN NO.: NUMMER DES EINGABEPAKETES  = NR. DES RECHENLAUFS       ");
    EXPECT_EQ(r4[legend + 84], "   NUTZARBEIT / UMDREHUNG = A1 + A2 - VWORK");
    // Without the two empty records, the heading, the empty record and the 84 legend records
    // the two listings are the same.
    auto cut = r4;
    cut.erase(cut.begin() + legend - 2, cut.begin() + legend + 2 + 84);
    EXPECT_EQ(cut, r3);
}

TEST(Listings, DataSheetInTheFirstRunOnlyAndALaterModeOpensWithItsHeading) {
    auto lines = runs({0, 0});
    const std::size_t second = short_run().size();
    lines[second + L2] = "POLY";
    lines.insert(lines.begin() + second + L3, {"EPSILON_E=1.3", "START_TE=850", "EPSILON_C=1.3", "START_TC=330"});
    auto j = whole_job(join(lines));
    ASSERT_EQ(j->p->run.NLAUF, 2);
    const std::string& u8 = j->u8();
    EXPECT_EQ(count(u8, " BERECHNUNG FUER 1 UMDREHUNG DER EINFACH WIRKENDEN MASCHINE; (NZYL=1)"), 1);
    EXPECT_EQ(count(u8, " ANFANGSDREHZAHL N0 =1000.00 U/MIN"), 1);
    const auto r = records(u8);
    const int h1 = at(u8, " BETRIEBSZUSTAND FUER DEN 1. RECHENLAUF:");
    const int h2 = at(u8, " BETRIEBSZUSTAND FUER DEN 2. RECHENLAUF:");
    ASSERT_GE(h1, 0);
    ASSERT_GT(h2, h1);
    EXPECT_EQ(r[h1 + 3], "ISOTHERM" + std::string(72, ' '));
    EXPECT_EQ(r[h2 + 3], " POLYTROPE ZUSTANDSAENDERUNG IN DER MASCHINE:");
    // The second run's part: heading, polytropic block, an empty record, three head lines.
    EXPECT_EQ(r[h2 + 11], " " + std::string(131, '_'));
    EXPECT_EQ(r[h2 + 12].substr(0, 16), "  1 |  2  | 3  |");
    EXPECT_EQ(count(u8, " LEGEND OF THE TABLE:"), 0);
}
