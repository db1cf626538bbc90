// Scaling lines and diagram definitions at the end of a run.
#include <gtest/gtest.h>

#include "tests/run/deck_support.hpp"

using namespace deck_test;
using korvex::run::DeckStatus;

namespace {

// Head and diagram part of the first run of a deck.
std::unique_ptr<Program> diagrams_of(const std::vector<std::string>& lines, DeckStatus& s) {
    auto p = head(join(lines), s);
    if (s == DeckStatus::run_diagrams) s = korvex::run::read_run_diagrams(p->units, p->run, p->dia);
    return p;
}

}  // namespace

TEST(DeckDiagrams, DefinitionWithCaptionsAndThePendingLine) {
    auto lines = base_run();
    lines[L16] = "ABSZISSE| TIME GITTER=3 NBILD=2";
    lines[L17] = "ORDINATEN| P1, VG1|  T1 ";
    lines.insert(lines.end(), {":Druck und Volumen", ":  zweite Zeile", "AUS: TIME=0.1 SCHRITT=0.0001 NZYL=1 IPRNT=0"});
    DeckStatus s;
    auto p = diagrams_of(lines, s);
    ASSERT_EQ(s, DeckStatus::run);
    const auto& d = p->dia.def[0];
    EXPECT_EQ(p->dia.IIFREI, 1);
    EXPECT_EQ(d.abscissa, "TIME  ");
    EXPECT_EQ(d.GITTER, 3);
    EXPECT_EQ(d.NBILD, 2);
    EXPECT_EQ(d.ordinate[0], "P1    ");
    EXPECT_EQ(d.ordinate[1], "VG1   ");
    EXPECT_EQ(d.ordinate[2], "T1    ");
    EXPECT_EQ(d.ordinate[3], "      ");
    EXPECT_EQ(d.NORD, 3);
    EXPECT_EQ(d.FREI, 1);
    EXPECT_EQ(d.ncaption, 2);
    EXPECT_EQ(d.caption[0], std::string("Druck und Volumen").append(62, ' '));
    EXPECT_EQ(d.caption[1], std::string("  zweite Zeile").append(65, ' '));
    EXPECT_EQ(d.caption[2], std::string(79, ' '));
    EXPECT_EQ(p->run.pending_line, pad80(lines.back()));
}

TEST(DeckDiagrams, ThreeCaptionsAtMostAndTenDiagramsAtMost) {
    auto lines = base_run();
    lines.insert(lines.end(), {":1", ":2", ":3", ":4"});
    DeckStatus s;
    auto p = diagrams_of(lines, s);
    ASSERT_EQ(s, DeckStatus::run);
    EXPECT_EQ(p->dia.def[0].ncaption, 3);
    EXPECT_EQ(p->run.pending_line, pad80(":4"));  // the line after the diagram
    EXPECT_EQ(job(join(lines))->run.NFAIL, 332);

    lines = base_run();
    for (int n = 0; n < 10; ++n) lines.insert(lines.end(), {"ABSZISSE| PHI1 GITTER=0 NBILD=0", "ORDINATEN| P1"});
    p = diagrams_of(lines, s);
    ASSERT_EQ(s, DeckStatus::run);
    EXPECT_EQ(p->dia.IIFREI, 10);
    EXPECT_EQ(p->dia.def[9].abscissa, "PHI1  ");
    EXPECT_EQ(p->run.pending_line, pad80("ABSZISSE| PHI1 GITTER=0 NBILD=0"));  // the eleventh
    EXPECT_EQ(job(join(lines))->run.NFAIL, 332);
}

TEST(DeckDiagrams, DiagramWithoutOrdinatesIsNotDrawable) {
    auto lines = base_run();
    lines[L17] = "ORDINATEN|";
    DeckStatus s;
    auto p = diagrams_of(lines, s);
    ASSERT_EQ(s, DeckStatus::run_then_end);  // the input ends after a complete definition
    EXPECT_EQ(p->dia.IIFREI, 1);
    EXPECT_EQ(p->dia.def[0].NORD, 0);
    EXPECT_EQ(p->dia.def[0].FREI, 0);
}

TEST(DeckDiagrams, DefinitionFailures) {
    auto lines = base_run();
    lines[L16] = "ABSZISSE| VG1 GITTER=0";
    EXPECT_EQ(job(join(lines))->run.NFAIL, 516);
    lines[L16] = "ABSZISSE| VG1 GITTER=0 NBILD=0";
    lines[L17] = "ORDINATE P1";
    EXPECT_EQ(job(join(lines))->run.NFAIL, 517);
    // A name too long is reported by the reader and is an error of its line.
    lines[L17] = "ORDINATEN| PRESSURE";
    EXPECT_EQ(job(join(lines))->run.NFAIL, 517);
}

TEST(DeckDiagrams, ScalingLinesFillTheirClasses) {
    auto lines = base_run();
    lines[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=5";
    lines[L11] = "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=1";
    // A scaling name counts only where it stands as a name of its own, not as the tail of a
    // longer one: DT(F)= leaves T(F)= alone, RPM(D)= leaves M(D)= alone.
    lines.insert(lines.begin() + L16,
                 {"P(F)=10 P(D)=5 VK(F)=0 VK(D)=20", "REY(D)=1.5E3 DT(F)=0 DT(D)=10 RPM(D)=500 T(F)=250"});
    DeckStatus s;
    auto p = diagrams_of(lines, s);
    ASSERT_EQ(s, DeckStatus::run_then_end);
    const auto& sc = p->dia.scaling;
    EXPECT_FLOAT_EQ(sc[0], 250.0f);   // T(F)=, class 1
    EXPECT_FLOAT_EQ(sc[1], 0.0f);     // T(D)= not given
    EXPECT_FLOAT_EQ(sc[11], 20.0f);   // VK(D)=, class 6
    EXPECT_FLOAT_EQ(sc[12], 10.0f);   // P(F)=, class 7
    EXPECT_FLOAT_EQ(sc[13], 5.0f);    // P(D)=
    EXPECT_FLOAT_EQ(sc[17], 0.0f);    // M(D)= not given
    EXPECT_FLOAT_EQ(sc[43], 500.0f);  // RPM(D)=, class 22
    EXPECT_FLOAT_EQ(sc[50], 0.0f);    // DT(F)=, class 26
    EXPECT_FLOAT_EQ(sc[51], 10.0f);   // DT(D)=
    EXPECT_FLOAT_EQ(sc[65], 1500.0f); // REY(D)=, class 33
    EXPECT_EQ(p->dia.IIFREI, 1);
    EXPECT_EQ(p->run.NFAIL, 0);
    const std::string& u9 = p->units.u9.text();
    EXPECT_TRUE(has(u9, " ZEILE12:" + pad80(lines[L16])));
    EXPECT_TRUE(has(u9, " ZEILE13:" + pad80(lines[L16 + 1])));
    const int i = at(u9, " Eingelesene -  bzw. 0.- SKalierungswerte:");
    ASSERT_GE(i, 0);
    EXPECT_EQ(records(u9)[i + 1], " T(F)=   =0.250000E+03 ; T(D)=   =0.000000E+00");
    EXPECT_EQ(records(u9)[i + 7], " P(F)=   =0.100000E+02 ; P(D)=   =0.500000E+01");
    EXPECT_EQ(records(u9)[i + 33], " REY(F)= =0.000000E+00 ; REY(D)= =0.150000E+04");
}

TEST(DeckDiagrams, FourScalingLinesAtMost) {
    auto lines = base_run();
    lines[L11] = "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=1";
    lines.insert(lines.begin() + L16, {"P(F)=1", "P(F)=2", "P(F)=3", "P(F)=4"});
    DeckStatus s;
    auto p = diagrams_of(lines, s);
    ASSERT_EQ(s, DeckStatus::run_then_end);
    EXPECT_FLOAT_EQ(p->dia.scaling[12], 4.0f);
    EXPECT_EQ(p->dia.IIFREI, 1);

    lines.insert(lines.begin() + L16, "P(F)=0");  // a fifth: no definition where one must be
    p = diagrams_of(lines, s);
    ASSERT_EQ(s, DeckStatus::run);
    EXPECT_EQ(p->dia.IIFREI, 0);
    EXPECT_EQ(p->run.pending_line, pad80("P(F)=4"));
}

TEST(DeckDiagrams, ScalingProblems) {
    // A scaling value that is no number: reported, the run goes on.
    auto lines = base_run();
    lines[L11] = "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=1";
    lines.insert(lines.begin() + L16, "P(F)=1,5");
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 512);
    EXPECT_EQ(p->run.NLAUF, 1);

    // Definition keywords on a scaling line.
    lines[L16] = "VG1 GITTER=0 NBILD=0";
    p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 516);
    EXPECT_EQ(p->run.NLAUF, 0);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const int i = at(*text, " ZEILE16 muss das Kennwort ABSZISSE| haben");
        ASSERT_GE(i, 1);
        EXPECT_EQ(records(*text)[i - 1], " ");
        EXPECT_EQ(records(*text)[i + 1], " ");
        EXPECT_EQ(records(*text)[i + 2], " ===> FEHLER in der Eingabe ZEILE16; Programm STOP");
    }

    // Scaling lines without SCALE > 0: the first one begins the next run.
    lines = base_run();
    lines.insert(lines.begin() + L16, "P(F)=1");
    p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 332);
    EXPECT_EQ(p->run.NLAUF, 1);
}
