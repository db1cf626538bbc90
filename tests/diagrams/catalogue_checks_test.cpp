// Resolution of the diagram names of a run, the checks before drawing and their messages, and
// the storing of plot points.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <string>

#include "diagrams/catalogue.hpp"
#include "runtime/units.hpp"
#include "state/pair_record.hpp"

namespace korvex::diagrams {
namespace {

std::string pad6(std::string s) {
    s.resize(6, ' ');
    return s;
}

// A drawable definition as the deck reader leaves it: names blank-padded, NORD the last slot
// that is not blank.
void define(DiagramState& d, int ND, const char* x, std::initializer_list<const char*> ords) {
    DiagramDefinition& def = d.def[static_cast<std::size_t>(ND - 1)];
    def.abscissa = pad6(x);
    int J = 0;
    def.NORD = 0;
    for (const char* o : ords) {
        def.ordinate[static_cast<std::size_t>(J)] = pad6(o);
        ++J;
        if (std::string(o).find_first_not_of(' ') != std::string::npos) def.NORD = J;
    }
    def.FREI = 1;
    if (d.IIFREI < ND) d.IIFREI = ND;
}

struct CatalogueChecks : ::testing::Test {
    runtime::Units u;
    std::unique_ptr<DiagramState> d = std::make_unique<DiagramState>();
    int NFAIL = 0;
};

TEST_F(CatalogueChecks, ResolutionStoresPositionsAndCancelsAnUnknownAbscissa) {
    u.IPRNT2 = 4;
    define(*d, 1, "TIME", {"P1", "P4"});
    define(*d, 2, "time", {"P1"});
    define(*d, 3, "VG1", {"P1", "", "", "", "TIME"});
    resolve_names(u, *d, NFAIL);

    const DiagramDefinition& a = d->def[0];
    EXPECT_EQ(a.FREI, 1);
    EXPECT_EQ(a.abscissa_pos, 649);
    EXPECT_EQ(a.abscissa_class, 16);
    EXPECT_EQ(a.IO[0], 15);
    EXPECT_EQ(a.IO[1], 432);
    EXPECT_EQ(a.ID[0], 7);
    EXPECT_EQ(a.ID[1], 7);
    EXPECT_EQ(a.IO[2], 0);

    EXPECT_EQ(d->def[1].FREI, 0);
    EXPECT_EQ(d->def[1].abscissa_pos, 0);
    EXPECT_EQ(NFAIL, 770);

    const DiagramDefinition& c = d->def[2];
    EXPECT_EQ(c.abscissa_pos, 13);
    EXPECT_EQ(c.IO[4], 649);
    EXPECT_EQ(c.ID[4], 16);   // TIME as an ordinate: class "SEC"

    const std::string err =
        " ======>> ERROR:\n"
        " ABSZISSA NAME FOR THE  2 . DIAGRAM NOT FOUND. NO PLOT FOR: \"time  \"\n";
    EXPECT_EQ(u.u6.text(), err);
    const std::string blank6 = "      ";
    const std::string listing1 =
        "  ABSZISSE      IM 1 . DIAGRAMM: TIME  \n"
        "  ABSZISSEN NR. IM 1 . DIAGRAMM:  649\n"
        "  ORDINATEN     IM 1 . DIAGRAMM: P1     P4     " + blank6 + " " + blank6 + " " + blank6 +
        " " + blank6 + " " + blank6 + " " + blank6 + "\n"
        "  ORDINATEN NR. IM 1 . DIAGRAMM:  15 432 0 0 0 0 0 0\n";
    const std::string listing2_head =
        "  ABSZISSE      IM 2 . DIAGRAMM: time  \n"
        "  ABSZISSEN NR. IM 2 . DIAGRAMM:  0\n";
    const std::string& t9 = u.u9.text();
    EXPECT_EQ(t9.substr(0, listing1.size()), listing1);
    EXPECT_EQ(t9.substr(listing1.size(), err.size()), err);
    EXPECT_EQ(t9.substr(listing1.size() + err.size(), listing2_head.size()), listing2_head);
    EXPECT_NE(t9.find("  ORDINATEN NR. IM 3 . DIAGRAMM:  15 0 0 0 649 0 0 0\n"), std::string::npos);
}

TEST_F(CatalogueChecks, ResolutionListsNothingBelowLevelFourAndSkipsAbsentDiagrams) {
    u.IPRNT2 = 3;
    define(*d, 1, "TIME", {"P1"});
    define(*d, 2, "NOSUCH", {"P1"});
    d->def[1].FREI = 0;                 // absent: not looked at
    d->def[1].abscissa_pos = 99;        // left over from an earlier run
    resolve_names(u, *d, NFAIL);
    EXPECT_EQ(NFAIL, 0);
    EXPECT_EQ(u.u6.text(), "");
    EXPECT_EQ(u.u9.text(), "");
    EXPECT_EQ(d->def[1].abscissa_pos, 0);

    d->IIFREI = 40;                     // more than ten definitions cannot exist
    resolve_names(u, *d, NFAIL);
    d->IIFREI = -2;
    resolve_names(u, *d, NFAIL);
    EXPECT_EQ(d->nsource, 0);
    EXPECT_EQ(NFAIL, 0);
}

TEST_F(CatalogueChecks, OrdinateOfAPartEngineBeyondNzylIsDropped) {
    define(*d, 1, "TIME", {"P1", "P4"});
    resolve_names(u, *d, NFAIL);
    NFAIL = 5;
    EXPECT_EQ(check_ordinates(u, *d, 1, NFAIL, 2), 1);
    EXPECT_EQ(NFAIL, 6);
    EXPECT_EQ(d->def[0].IO[0], 15);
    EXPECT_EQ(d->def[0].IO[1], 0);
    EXPECT_EQ(d->def[0].ID[1], 0);
    // On unit 9 (133 columns) the second line continues on a new record before its last item.
    const std::string expect9 =
        " =====>> ERROR: THE ORDINATE: \"P4    \" IN THE  1 . DIAGRAM IS NOT AVAILABLE.\n"
        "                \"P4    \" BELONGS TO THE  4 . PART-ENGINE. CALCULATION IN THIS RUN UP TO "
        "\"NZYL\"= 2  PART-ENGINE. \"P4    \"\n"
        "  IS NOT PLOTTED !\n";
    EXPECT_EQ(u.u9.text(), expect9);
    // Unit 6 has the same items in records of at most 80 characters.
    const std::string expect6 =
        " =====>> ERROR: THE ORDINATE: \"P4    \" IN THE  1 . DIAGRAM IS NOT AVAILABLE.\n"
        "                \"P4    \" BELONGS TO THE  4\n"
        " . PART-ENGINE. CALCULATION IN THIS RUN UP TO \"NZYL\"= 2  PART-ENGINE. \"P4    \"\n"
        "  IS NOT PLOTTED !\n";
    EXPECT_EQ(u.u6.text(), expect6);
}

TEST_F(CatalogueChecks, NzylOneKeepsTheListedPartEngineTwoQuantities) {
    define(*d, 1, "TIME", {"P2", "P3", "HE2"});
    resolve_names(u, *d, NFAIL);
    EXPECT_EQ(check_ordinates(u, *d, 1, NFAIL, 1), 1);
    EXPECT_EQ(d->def[0].IO[0], 154);
    EXPECT_EQ(d->def[0].IO[1], 0);
    EXPECT_EQ(d->def[0].IO[2], 0);
    EXPECT_EQ(NFAIL, 2);
    EXPECT_NE(u.u9.text().find("THE ORDINATE: \"P3    \""), std::string::npos);
    EXPECT_NE(u.u9.text().find("THE ORDINATE: \"HE2   \""), std::string::npos);
    EXPECT_EQ(u.u9.text().find("\"P2    \""), std::string::npos);
}

TEST_F(CatalogueChecks, BlankSlotsAreSkippedSilentlyAndInvalidNamesReported) {
    define(*d, 1, "TIME", {"P1", "", "", "", "TIME"});
    EXPECT_EQ(d->def[0].NORD, 5);
    define(*d, 2, "TIME", {"P1", "xyz"});
    resolve_names(u, *d, NFAIL);

    EXPECT_EQ(check_ordinates(u, *d, 1, NFAIL, 4), 2);
    EXPECT_EQ(NFAIL, 0);
    EXPECT_EQ(u.u6.text(), "");
    EXPECT_EQ(u.u9.text(), "");

    EXPECT_EQ(check_ordinates(u, *d, 2, NFAIL, 4), 1);
    EXPECT_EQ(NFAIL, 1);
    const std::string head =
        " ========>> ERROR:\n"
        " INVALID NAME FOR ORDINATE: \"xyz   \" IN THE 2. DIAGRAM\n";
    const std::string slot =
        " 2. ORDINATE :\"xyz   \" NOT AVAILABLE: NO PLOT FOR \"xyz   \" IN THE  2. DIAGRAM";
    EXPECT_EQ(u.u6.text(), head + slot + "\n");
    EXPECT_EQ(u.u9.text(), head + slot + ";  IO / ID(2, 2) =   0 /   0\n");
}

// The message gives the diagram number one digit; diagram 10 gets two rather than "*".
TEST_F(CatalogueChecks, DiagramTenIsNamedInFullInTheInvalidNameMessage) {
    for (int ND = 1; ND <= 10; ++ND) define(*d, ND, "TIME", {"RPM"});
    d->def[9].ordinate[0] = pad6("RPMX");
    resolve_names(u, *d, NFAIL);
    EXPECT_EQ(check_ordinates(u, *d, 10, NFAIL, 4), 0);
    EXPECT_NE(u.u6.text().find(" INVALID NAME FOR ORDINATE: \"RPMX  \" IN THE 10. DIAGRAM\n"),
              std::string::npos);
    EXPECT_EQ(check_ordinates(u, *d, 11, NFAIL, 4), 0);
}

TEST_F(CatalogueChecks, AbscissaOfAPartEngineBeyondNzylCancelsTheDiagram) {
    define(*d, 1, "P3", {"VG3"});
    define(*d, 2, "P2", {"VG2"});
    resolve_names(u, *d, NFAIL);
    EXPECT_FALSE(check_abscissa(u, *d, 1, NFAIL, 2));
    EXPECT_EQ(NFAIL, 777);
    const std::string expect9 =
        " =====>> ERROR: THE ABSZISSA: \"P3    \" IN THE  1 . DIAGRAM IS NOT AVAILABLE.\n"
        "                \"P3    \" BELONGS TO THE  3 . PART-ENGINE. CALCULATION IN THIS RUN UP TO "
        "\"NZYL\"= 2  PART-ENGINE. THE  1\n"
        " . DIAGRAM IS CANCELED\n";
    EXPECT_EQ(u.u9.text(), expect9);
    EXPECT_NE(u.u6.text().find(" =====>> ERROR: THE ABSZISSA: \"P3    \""), std::string::npos);

    u.u9.clear_text();
    NFAIL = 0;
    EXPECT_TRUE(check_abscissa(u, *d, 2, NFAIL, 1));   // P2 is in the part-engine 2 list
    EXPECT_TRUE(check_abscissa(u, *d, 1, NFAIL, 4));
    EXPECT_EQ(NFAIL, 0);
    EXPECT_EQ(u.u9.text(), "");

    d->def[2].FREI = 0;                                 // never resolved: silently not drawn
    EXPECT_FALSE(check_abscissa(u, *d, 3, NFAIL, 4));
    EXPECT_FALSE(check_abscissa(u, *d, 0, NFAIL, 4));
    EXPECT_EQ(NFAIL, 0);
}

TEST_F(CatalogueChecks, PlotPointsCopyTheResolvedValues) {
    define(*d, 1, "TIME", {"P1", "", "QZU", "VG4"});
    define(*d, 2, "nope", {"P1"});                  // cancelled: gets no series
    define(*d, 3, "VG2", {"P2"});
    resolve_names(u, *d, NFAIL);
    EXPECT_EQ(d->nsource, 4 + 2);

    std::array<simulation::PairRecord, 4> pair{};
    using simulation::PairField;
    for (int step = 1; step <= 3; ++step) {
        d->G[GlobalField::TIME] = 0.001 * step;
        d->G[GlobalField::QZU] = 1.0e40 * (step == 3 ? -1 : 1) + step;
        pair[0][PairField::P] = 10.0 + step;
        pair[1][PairField::P] = 20.0 + step;
        pair[1][PairField::VG] = 200.0 + step;
        pair[3][PairField::VG] = 400.0 + step;
        ASSERT_TRUE(store_plot_point(*d, pair, step));
    }
    EXPECT_EQ(d->NPLOT, 3);
    const DiagramSeries& s1 = d->series[0];
    EXPECT_EQ(s1.x[0], 0.001f);
    EXPECT_EQ(s1.x[2], 0.003f);
    EXPECT_EQ(s1.y[0][1], 12.0f);
    EXPECT_EQ(s1.y[1][1], 0.0f);                      // blank slot untouched
    EXPECT_TRUE(std::isinf(s1.y[2][0]) && s1.y[2][0] > 0);
    EXPECT_TRUE(std::isinf(s1.y[2][2]) && s1.y[2][2] < 0);
    EXPECT_EQ(s1.y[3][2], 403.0f);
    EXPECT_EQ(d->series[1].y[0][0], 0.0f);
    EXPECT_EQ(d->series[2].x[1], 202.0f);
    EXPECT_EQ(d->series[2].y[0][2], 23.0f);

    EXPECT_FALSE(store_plot_point(*d, pair, 0));
    EXPECT_FALSE(store_plot_point(*d, pair, 2002));
    EXPECT_TRUE(store_plot_point(*d, pair, 2001));
    EXPECT_EQ(d->series[2].x[2000], 203.0f);
    EXPECT_EQ(d->series[2].x[2001], 0.0f);             // the scale cells stay free
    EXPECT_EQ(d->NPLOT, 2001);
}

}  // namespace
}  // namespace korvex::diagrams
