// The mode line with its follow-up lines, and the optional lines before the diagram line.
#include <gtest/gtest.h>

#include "tests/run/deck_support.hpp"

using namespace deck_test;
using korvex::run::DeckStatus;
using korvex::run::Mode;

namespace {

std::unique_ptr<Program> head_with(std::vector<std::string> lines, DeckStatus& s) { return head(join(lines), s); }

}  // namespace

TEST(DeckModes, ModeWordsAndWhereTheyMayStand) {
    DeckStatus s;
    auto lines = base_run();
    lines[L2] = "ISOTHERM MASSE=0";
    EXPECT_EQ(head_with(lines, s)->run.mode, Mode::ISO);
    // ISO wins over POLY, wherever it stands.
    lines[L2] = "POLY                         ISO";
    EXPECT_EQ(head_with(lines, s)->run.mode, Mode::ISO);

    // POLY from column 19 on is not seen.
    lines[L2] = "                  POLY";
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 333);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const int i = at(*text, " =====> FEHLER fuer den Betriebszustand:");
        ASSERT_GE(i, 0);
        EXPECT_EQ(records(*text)[i + 1], "        kein \"ISO\", \"TEMPD\", ODER \"POLY\" gefunden ====>> STOP");
    }
}

TEST(DeckModes, FlowAndTemperatureLossTogetherDropTheFlow) {
    auto lines = base_run();
    lines[L2] = "ISO STROM=0.5 DELTAT=10";
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_DOUBLE_EQ(p->run.BEVOL, 0.0);
    EXPECT_DOUBLE_EQ(p->run.DELTAT, 10.0);
    const auto u6 = records(p->units.u6.text());
    const int i = at(p->units.u6.text(), " FEHLER: Beregnungs Volumenstrom=0.500000E+00 DELTAT=10.00 nur 1 Wert >0 angeben");
    ASSERT_GE(i, 0);
    EXPECT_EQ(u6[i + 1], "         oder 2 Zeilen mit Duesenwerten eingeben und DELTAT=0.");
    EXPECT_EQ(u6[i + 2], "         Es wird der Beregnungs Volumenstrom BEVOL= 0. Liter/sec gesetzt");
    const auto u9 = records(p->units.u9.text());
    const int j = at(p->units.u9.text(), " FEHLER: Beregnungs Volumenstrom=0.500000E+00 Liter/sec; DELTAT =10.00 Kelvin; "
                                         "Nur 1 WERT darf >0 angegeben werden!");
    ASSERT_GE(j, 0);
    EXPECT_EQ(u9[j + 2], "         Es wird fuer die weitere Rechnung der Beregnungs Volumenstrom BEVOL= 0.Liter/sec gesetzt");
}

TEST(DeckModes, NoFlowNoLossNoteAtLevelTwo) {
    auto lines = base_run();
    lines[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=2";
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const int i = at(*text, " Beregnungs Volumenstrom= 0.0 Temperaturverlust DELTAT= 0.0");
        ASSERT_GE(i, 1);
        EXPECT_EQ(records(*text)[i - 1], " ");
        EXPECT_EQ(records(*text)[i + 1], " Bei DELTAT=0 werden keine Beregnungs-Volumenstroeme errechnet.");
    }
    // A wire mesh ("DRAHT") needs no such note.
    lines[L2] = "ISO DRAHT MASSE=100 F=0.5";
    p = head_with(lines, s);
    EXPECT_EQ(at(p->units.u6.text(), " Beregnungs Volumenstrom= 0.0 Temperaturverlust DELTAT= 0.0"), -1);
}

TEST(DeckModes, IsoValuesThatCannotBeReadAreReportedAndTakenAsZero) {
    // MASSE= is no number: set to 0 with its message. The comma inside STROM= ends the reading
    // of the line, so DELTAT= behind it keeps its default; the run goes on, but the job ends
    // with the line's error number.
    auto lines = base_run();
    lines[L2] = "ISO MASSE=1.2.3 F=0.5 STROM=0,5 DELTAT=10";
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_EQ(p->run.NFAIL, 502);
    EXPECT_DOUBLE_EQ(p->run.MASSE, 0.0);
    EXPECT_DOUBLE_EQ(p->run.F, 0.5);
    EXPECT_DOUBLE_EQ(p->run.BEVOL, 0.0);
    EXPECT_DOUBLE_EQ(p->run.DELTAT, 0.0);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        EXPECT_TRUE(has(*text, "      Value for MASSE= is set to 0.0"));
        const int i = at(*text, " ERROR: Look for line 2    STROM=          0,5");
        ASSERT_GE(i, 0);
        EXPECT_EQ(records(*text)[i + 1], "      : Perhaps automatic scaling is possible");
    }
}

TEST(DeckModes, TwoNozzleLines) {
    auto lines = base_run();
    lines[L2] = "ISO STROM=0.01";
    lines.insert(lines.begin() + L3, {"DUESEN NDUE=10 DDUE=0.1 NDUC=8 DDUC=0.12", "DUESEN OFRE=2.0 OFRC=1.5 LUST=40"});
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_TRUE(p->run.nozzles);
    EXPECT_EQ(p->run.NDUE, 10);
    EXPECT_DOUBLE_EQ(p->run.DDUE, 0.1);
    EXPECT_EQ(p->run.NDUC, 8);
    EXPECT_DOUBLE_EQ(p->run.DDUC, 0.12);
    EXPECT_DOUBLE_EQ(p->run.OFRE, 2.0);
    EXPECT_DOUBLE_EQ(p->run.OFRC, 1.5);
    EXPECT_DOUBLE_EQ(p->run.LUST, 40.0);
    EXPECT_DOUBLE_EQ(p->run.BEVOL, 0.009999999776482582);  // read in single precision
    EXPECT_EQ(p->run.ZEILE22, pad80(lines[L3]));
    EXPECT_EQ(p->run.ZEILE23, pad80(lines[L3 + 1]));
    EXPECT_EQ(p->run.NACH, 3);  // the line after the nozzle lines is line 3
}

TEST(DeckModes, NozzleLinesWithoutFlowAreIgnored) {
    auto lines = base_run();
    lines.insert(lines.begin() + L3, {"DUESEN NDUE=10 DDUE=0.1 NDUC=8 DDUC=0.12", "DUESEN OFRE=2.0 OFRC=1.5 LUST=40"});
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_FALSE(p->run.nozzles);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const int i = at(*text, "ACHTUNG: Duesenwerte eingegeben aber Beregnungs Volumenstrom =0. !!!");
        ASSERT_GE(i, 0);
        EXPECT_EQ(records(*text)[i + 1], "         Es wird isotherm weitergerechnet");
    }

    // At level 5 the nozzle data are listed as soon as the second nozzle line is read, before
    // the note that drops them, and before line 3 is read.
    lines[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=5";
    p = head_with(lines, s);
    const std::string& u9 = p->units.u9.text();
    const int block = at(u9, " Beregnungsvolumenstrom BEVOL=0.000000E+00 Liter/sec");
    ASSERT_GE(block, 0);
    EXPECT_EQ(records(u9)[block + 1],
              " Duesen Werte: Expansionszylinder   Anzahl NDUe=  10 Durchmesser DDUe= 0.100 cm");
    EXPECT_EQ(records(u9)[block + 3], " Oberflaechenfaktor fuer Expams.-Strahlen =  2.0");
    EXPECT_LT(block, at(u9, "ACHTUNG: Duesenwerte eingegeben aber Beregnungs Volumenstrom =0. !!!"));
    EXPECT_LT(block, at(u9, " ZEILE:" + pad80(lines[L3 + 2])));  // line 3, after the nozzle lines
}

TEST(DeckModes, SecondNozzleLineMissingIsReadAsLineThree) {
    auto lines = base_run();
    lines[L2] = "ISO STROM=0.01";
    lines.insert(lines.begin() + L3, "DUESEN NDUE=10 DDUE=0.1 NDUC=8 DDUC=0.12");
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_FALSE(p->run.nozzles);
    EXPECT_EQ(p->run.NACH, 3);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const int i = at(*text, ">>> 2. Eingabezeile mit Duesenwerten fehlt. Es wird isotherm weitergerechnet:");
        ASSERT_GE(i, 1);
        EXPECT_EQ(records(*text)[i - 1], " ");
    }
}

TEST(DeckModes, FlowWithoutNozzleLines) {
    auto lines = base_run();
    lines[L2] = "ISO STROM=0.01";
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_FALSE(p->run.nozzles);
    EXPECT_EQ(p->run.NACH, 3);
    const int i = at(p->units.u9.text(), "ACHTUNG: Beregnungsvolumenstrom angegeben, aber keine Duesenwerte eingegeben.");
    ASSERT_GE(i, 0);
    EXPECT_EQ(records(p->units.u9.text())[i + 1], "         Es wird isotherm ohne Beregnungsvolumenstrom gerechnet");
}

TEST(DeckModes, NozzleLineFailuresStopWith503) {
    auto lines = base_run();
    lines[L2] = "ISO STROM=0.01";
    lines.insert(lines.begin() + L3, {"DUESEN NDUE=10 DDUE=0.1 NDUC=8", "DUESEN OFRE=2.0 OFRC=1.5 LUST=40"});
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 503);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const int i = at(*text, " ===> FEHLER in der Eingabe ZEILE22; Programm STOP");
        ASSERT_GE(i, 0);
        EXPECT_TRUE(has(*text, "### FEHLER in der Eingabe ZEILE2_2; Programm STOP"));
        EXPECT_TRUE(has(*text, "### Eingabezeilen fuer Duesenwerte vertauscht ??"));
    }

    lines[L3] = "DUESEN NDUE=10 DDUE=0.1 NDUC=8 DDUC=0.12";
    lines[L3 + 1] = "DUESEN OFRE=2.0 OFRC=1.5";
    p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 503);
    EXPECT_TRUE(has(p->units.u6.text(), " ===> FEHLER in der Eingabe ZEILE23; Programm STOP"));
}

TEST(DeckModes, TemperatureTables) {
    auto lines = base_run();
    lines[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=1";
    lines[L2] = "TEMPD FTE=1.0 FTK=0.5";
    std::string n1, n2, n3, n4;
    for (int k = 0; k < 18; ++k) {
        n1 += "  " + std::to_string(10 + k);  // 10 .. 27
        n2 += "  " + std::to_string(40 + k);
        n3 += "  -" + std::to_string(k % 10);
    }
    // A number line is read as it stands: a blank one is a row of zeros, not a line to skip.
    n4 = "";
    lines.insert(lines.begin() + L3, {"EXPANSION 0-170", n1, "EXPANSION 180-350", n2, "KOMPRESSION 0-170", n3,
                                      "KOMPRESSION 180-350", n4});
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_EQ(p->run.mode, Mode::TEMPD);
    EXPECT_DOUBLE_EQ(p->run.FTE, 1.0);
    EXPECT_DOUBLE_EQ(p->run.FTK, 0.5);
    EXPECT_DOUBLE_EQ(p->run.DTE[0], 10.0);
    EXPECT_DOUBLE_EQ(p->run.DTE[17], 27.0);
    EXPECT_DOUBLE_EQ(p->run.DTE[18], 40.0);
    EXPECT_DOUBLE_EQ(p->run.DTE[35], 57.0);
    EXPECT_DOUBLE_EQ(p->run.DTC[3], -3.0);
    EXPECT_DOUBLE_EQ(p->run.DTC[17], -7.0);
    EXPECT_DOUBLE_EQ(p->run.DTC[18], 0.0);
    EXPECT_DOUBLE_EQ(p->run.DTC[35], 0.0);
    EXPECT_EQ(p->run.NACH, 3);
}

TEST(DeckModes, TemperatureTableEchoAndFailure) {
    auto lines = base_run();
    lines[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=1";
    lines[L2] = "TEMPD FTE=1.0 FTK=0.5";
    std::string ones;
    for (int k = 0; k < 18; ++k) ones += "  10";
    lines.insert(lines.begin() + L3, {"E1", ones, "E2", ones, "C1", ones, "C2", ones});
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    std::string values = " ";
    for (int k = 0; k < 18; ++k) values += " 10.";
    const std::string& u9 = p->units.u9.text();
    EXPECT_TRUE(has(u9, pad80("E1") + "  ==>> WINKELGRADE 0-170"));
    EXPECT_TRUE(has(u9, pad80("E2") + "  ==>> WINKELGRADE 180-350"));
    EXPECT_EQ(count(u9, values + " ==>> TEMPERATUR D-TE; FTE= 1.0"), 2);
    EXPECT_EQ(count(u9, values + " ==>> TEMPERATUR D-TC; FTK= 0.5"), 2);

    // The results table shows them in the run heading, right under the mode line.
    p = job(join(lines));
    const auto r8 = records(p->units.u8.text());
    const int h = at(p->units.u8.text(), " BETRIEBSZUSTAND FUER DEN 1. RECHENLAUF:");
    ASSERT_GE(h, 0);
    ASSERT_GT(static_cast<int>(r8.size()), h + 12);
    EXPECT_EQ(r8[h + 3], pad80("TEMPD FTE=1.0 FTK=0.5"));
    EXPECT_EQ(r8[h + 4], pad80("E1") + "  ==>> WINKELGRADE 0-170");
    EXPECT_EQ(r8[h + 5], values + " ==>> TEMPERATUR D-TE; FTE= 1.0");
    EXPECT_EQ(r8[h + 6], pad80("E2") + "  ==>> WINKELGRADE 180-350");
    EXPECT_EQ(r8[h + 10], pad80("C2") + "  ==>> WINKELGRADE 180-350");
    EXPECT_EQ(r8[h + 11], values + " ==>> TEMPERATUR D-TC; FTK= 0.5");
    EXPECT_EQ(r8[h + 12], " ");

    lines[L3 + 5] = "  10  1x" + ones.substr(8);
    p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 502);
    EXPECT_TRUE(has(p->units.u6.text(), " ===> FEHLER in der Eingabe ZEILE 2; Programm STOP"));
}

TEST(DeckModes, PolytropicLines) {
    auto lines = base_run();
    lines[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=1";
    lines[L2] = "POLYTROP";
    lines.insert(lines.begin() + L3,
                 {"EPSILON_E=1.3", "START_TE=850", "EPSILON_C=1.25", "START_TC=320 MODELL= 2 ignoriert"});
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_EQ(p->run.mode, Mode::POLY);
    EXPECT_DOUBLE_EQ(p->run.VCRANC, 2750.0);
    EXPECT_DOUBLE_EQ(p->run.EPSILON_E, 1.3);
    EXPECT_DOUBLE_EQ(p->run.START_TE, 850.0);
    EXPECT_DOUBLE_EQ(p->run.EPSILON_C, 1.25);
    EXPECT_DOUBLE_EQ(p->run.START_TC, 320.0);
    EXPECT_EQ(p->run.MODELL, 2);
    const std::vector<std::string> block = {
        " ",
        " POLYTROPE ZUSTANDSAENDERUNG IN DER MASCHINE:",
        " POLYTROPENEXPONENT IM EXPANSIONSZYLINDER ---> CONSTE= 1.30",
        " ANFANGSTEMPERATUR  IM EXPANSIONSZYLINDER ---> TAA1  = 850.0",
        " POLYTROPENEXPONENT IM KOMPESSIONSZYLINDER --> CONSTC= 1.25",
        " ANFANGSTEMPERATUR  IM KOMPESSIONSZYLINDER --> TZZ1  = 320.0 MODELL=  2",
        " ",
        " ",
    };
    const auto u9 = records(p->units.u9.text());
    const int i = at(p->units.u9.text(), block[1]);
    ASSERT_GE(i, 1);
    for (std::size_t k = 0; k < block.size(); ++k) EXPECT_EQ(u9[i - 1 + k], block[k]);
    EXPECT_EQ(at(p->units.u6.text(), block[1]), -1);  // unit 6 from level 2

    lines[L2] = "POLY VCRANC=0";
    EXPECT_DOUBLE_EQ(head_with(lines, s)->run.VCRANC, 2750.0);
    lines[L2] = "POLY VCRANC=1500";
    EXPECT_DOUBLE_EQ(head_with(lines, s)->run.VCRANC, 1500.0);
}

TEST(DeckModes, PolytropicFailuresNameTheLinePart) {
    auto lines = base_run();
    lines[L2] = "POLY";
    lines.insert(lines.begin() + L3, {"EPSILON_E=1.3", "START_TE=850", "EPSILON=1.25", "START_TC=320"});
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 502);
    EXPECT_TRUE(has(p->units.u6.text(), " ===> FEHLER in der Eingabe ZEILE 2/ 4; Programm STOP"));
    EXPECT_TRUE(has(p->units.u9.text(), " ===> FEHLER in der Eingabe ZEILE 2/ 4; Programm STOP"));

    lines[L3 + 2] = "EPSILON_C=1.25";
    lines[L2] = "POLY VCRANC=x";
    p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 502);
    EXPECT_TRUE(has(p->units.u6.text(), " ===> FEHLER in der Eingabe ZEILE 2/ 1; Programm STOP"));
}

TEST(DeckModes, VapourDefinitionsAreCorrectedOnlyWithVapour) {
    auto lines = base_run();
    lines.insert(lines.begin() + L11, "DEFINITIONEN DSD=8 DS3=5 DQD=7 DQDAMPF=9");
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_EQ(p->run.DSD, 8);
    EXPECT_EQ(p->run.DS3, 5);
    EXPECT_EQ(p->run.DQD, 7);
    EXPECT_EQ(p->run.DQDAMPF, 9);

    lines[L7] = "L/R=4.0 REGELN AB 0.5 IN 0.1 RVE=0 RVC=0 GAS=HE DAMPF";
    p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_EQ(p->run.DSD, 6);
    EXPECT_EQ(p->run.DS3, 1);
    EXPECT_EQ(p->run.DQD, 6);
    EXPECT_EQ(p->run.DQDAMPF, 6);
    const std::string& u6 = p->units.u6.text();
    for (const char* msg : {" =======>> Fuer \"DSD\" > 7 wird mit DSD=6 gerechnet",
                            " =======>> Fuer \"DS3\" = 5 wird mit DS3=1 gerechnet",
                            " =======>> Fuer \"DQD\" > 6 wird mit DQD=6 gerechnet",
                            " =======>> fuer \"DQDAMPF\" > 6 wird mit DQDAMPF=6 gerechnet"}) {
        const int i = at(u6, msg);
        ASSERT_GE(i, 1) << msg;
        EXPECT_EQ(records(u6)[i - 1], " ");
        EXPECT_EQ(records(u6)[i + 1], " ");
        EXPECT_TRUE(has(p->units.u9.text(), msg));
    }

    lines[L11] = "DEF DSD=6 DS3=2 DQD=6 DQDAMPF=1";
    p = head_with(lines, s);
    EXPECT_EQ(p->run.DQDAMPF, 2);
    const int i =
        at(p->units.u9.text(), "  DS3=\"2\" fuer DS3 = DQDAMPF/T3 und DQDAMPF=\"1\" fuer DQDAMPF = DS3*T3 GEHT NICHT");
    ASSERT_GE(i, 0);
    EXPECT_EQ(records(p->units.u9.text())[i + 1], "  Definition DQDAMPF=\"1\" wird in DQDAMPF=\"2\" geaendert");

    lines[L11] = "DEF DSD=6 DS3=2 DQD=6";
    EXPECT_EQ(job(join(lines))->run.NFAIL, 510);
}

// Every default of a run comes back at the start of the next one: each run below sets values
// that the runs after it leave out.
TEST(DeckModes, DefaultsComeBackInEveryRun) {
    // Run 1: mode ISO with all its values, nozzles, vapour, formula choices, deviations, a
    // print interval and detail level 5, and one plotted revolution.
    auto run1 = base_run();
    run1[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=15";
    run1[L2] = "ISO MASSE=5 F=0.2 STROM=0.01 DELTAP=1.5";
    run1[L3] = "NACH: -3 DAEMPFUNG=1.0 FSEAL=10.0 PHASE=-90.0";
    run1[L7] = "L/R=4.0 REGELN AB 0.5 IN 0.1 RVE=0 RVC=0 GAS=HE DAMPF";
    run1.insert(run1.begin() + L11, {"DEF DSD=1 DS3=1 DQD=1 DQDAMPF=3",
                                     "VTE1=1 VTC1=2 VTE2=3 VTC2=4 VTE3=5 VTC3=6 VTE4=7 VTC4=8",
                                     "ATE1=1 ATC1=2 ATE2=3 ATC2=4 ATE3=5 ATC3=6 ATE4=7 ATC4=8"});
    run1.insert(run1.begin() + L3, {"DUESEN NDUE=10 DDUE=0.1 NDUC=8 DDUC=0.12", "DUESEN OFRE=2.0 OFRC=1.5 LUST=40"});
    // Run 2: mode TEMPD with its factors.
    auto run2 = base_run();
    run2[L2] = "TEMPD FTE=2.0 FTK=3.0";
    const std::string tens = "  10  10  10  10  10  10  10  10  10  10  10  10  10  10  10  10  10  10";
    run2.insert(run2.begin() + L3, {"E1", tens, "E2", tens, "C1", tens, "C2", tens});
    // Run 3: mode POLY with the crankcase volume and the exponents.
    auto run3 = base_run();
    run3[L2] = "POLY VCRANC=1500";
    run3.insert(run3.begin() + L3, {"EPSILON_E=1.3", "START_TE=850", "EPSILON_C=1.25", "START_TC=320 MODELL= 1"});
    // Run 4 gives none of them; run 5 is POLY again, without MODELL.
    auto run4 = base_run();
    auto run5 = run3;
    run5[L3 + 3] = "START_TC=320";
    auto lines = run1;
    for (const auto* r : {&run2, &run3, &run4, &run5}) lines.insert(lines.end(), r->begin(), r->end());

    auto p = program(join(lines));
    const auto& d = p->run;
    ASSERT_TRUE(korvex::run::read_first_line(p->units, p->run));
    auto next_run = [&] {
        ASSERT_EQ(korvex::run::read_run_head(*p), DeckStatus::run_diagrams);
        ASSERT_NE(korvex::run::read_run_diagrams(p->units, p->run, p->dia), DeckStatus::error);
    };
    next_run();
    ASSERT_TRUE(d.nozzles && d.FDAMPF && d.plot_one_rev);
    ASSERT_EQ(d.DSD, 1);
    ASSERT_DOUBLE_EQ(d.ATC[3], 8.0);

    next_run();  // TEMPD: none of the ISO values is read, all are back at their defaults
    EXPECT_EQ(d.mode, Mode::TEMPD);
    EXPECT_FALSE(d.nozzles);
    EXPECT_FALSE(d.FDAMPF);
    EXPECT_FALSE(d.plot_one_rev);
    EXPECT_EQ(d.IPRNT1, 0);
    EXPECT_FALSE(p->units.level(1));
    for (double v : {d.MASSE, d.F, d.BEVOL, d.DELTAT, d.DELTA_P, d.DDUE, d.DDUC}) EXPECT_EQ(v, 0.0);
    EXPECT_EQ(d.NDUE, 0);
    EXPECT_EQ(d.NDUC, 0);
    EXPECT_EQ(d.DSD, 6);
    EXPECT_EQ(d.DS3, 2);
    EXPECT_EQ(d.DQD, 6);
    EXPECT_EQ(d.DQDAMPF, 2);
    for (const auto* a : {&d.VTE, &d.VTC, &d.ATE, &d.ATC}) EXPECT_EQ(*a, (std::array<double, 4>{}));
    EXPECT_DOUBLE_EQ(d.FTE, 2.0);

    next_run();  // POLY
    EXPECT_EQ(d.FTE, 0.0);
    EXPECT_EQ(d.FTK, 0.0);
    EXPECT_DOUBLE_EQ(d.VCRANC, 1500.0);

    next_run();  // ISO without any of them
    EXPECT_DOUBLE_EQ(d.VCRANC, 2750.0);
    EXPECT_DOUBLE_EQ(d.EPSILON_E, 1.0);
    EXPECT_DOUBLE_EQ(d.EPSILON_C, 1.0);

    next_run();  // POLY without MODELL: no run default, the value read last holds
    EXPECT_EQ(d.MODELL, 1);
}

TEST(DeckModes, DeviationLines) {
    auto lines = base_run();
    lines[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=4 IPRNT=5";
    lines.insert(lines.begin() + L11, {"VTC4=8 VTE1=1 VTC1=2 VTE2=3 VTC2=4 VTE3=5 VTC3=6 VTE4=7.5",
                                       "ATE1=-10 ATC1=5 ATE2=0 ATC2=0 ATE3=0 ATC3=0 ATE4=0 ATC4=1"});
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_DOUBLE_EQ(p->run.VTE[0], 1.0);
    EXPECT_DOUBLE_EQ(p->run.VTC[1], 4.0);
    EXPECT_DOUBLE_EQ(p->run.VTE[3], 7.5);
    EXPECT_DOUBLE_EQ(p->run.VTC[3], 8.0);
    EXPECT_DOUBLE_EQ(p->run.ATE[0], -10.0);
    EXPECT_DOUBLE_EQ(p->run.ATC[3], 1.0);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const int i = at(*text, " Abeichungen von den errrechneten Volumina:");
        ASSERT_GE(i, 1);
        const auto r = records(*text);
        EXPECT_EQ(r[i - 1], " ");
        EXPECT_EQ(r[i + 1], " >>> VTE1=  1.0, VTC1=  2.0, VTE2=  3.0, VTC2=  4.0");
        EXPECT_EQ(r[i + 2], " >>> VTE3=  5.0, VTC3=  6.0, VTE4=  7.5, VTC4=  8.0");
        EXPECT_EQ(r[i + 3], " ");
        const int j = at(*text, " Abeichung von den Einspritztemperaturen TH und TK:");
        ASSERT_GE(j, 0);
        EXPECT_EQ(r[j + 1], " >>> ATE1=-10.0, ATC1=  5.0, ATE2=  0.0, ATC2=  0.0");
    }

    // All eight values are needed, also for a machine with fewer pairs.
    lines[L11] = "VTE1=1 VTC1=2 VTE2=3 VTC2=4";
    EXPECT_EQ(job(join(lines))->run.NFAIL, 512);
}

TEST(DeckModes, DiagramKeywordsWithoutDiagramWordStopWith511) {
    auto lines = base_run();
    lines[L11] = "BILDER: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=0";
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 511);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const int i = at(*text, " Fehler: Die Diagramm Definitionszeile muss beginnen mit: DIAGRAMME:");
        ASSERT_GE(i, 1);
        EXPECT_EQ(records(*text)[i - 1], " ");
        EXPECT_EQ(records(*text)[i + 1], " ");
        EXPECT_EQ(records(*text)[i + 2], " ===> FEHLER in der Eingabe ZEILE11; Programm STOP");
    }
    EXPECT_TRUE(has(p->units.u9.text(), "### ERROR IN PROCESSING INPUT LINE 11:" + pad80(lines[L11]) + "; STOP PROGRAM"));
}

TEST(DeckModes, DiagramLineValuesAndFailure) {
    auto lines = base_run();
    lines[L11] = "B-DIAGRAMME: XL=12.5 YL=8 HOE=0.3 HSYM=0.2 IBACK=-1 SCALE=2";
    DeckStatus s;
    auto p = head_with(lines, s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_FLOAT_EQ(p->run.XL, 12.5f);
    EXPECT_FLOAT_EQ(p->run.HOE, 0.3f);
    EXPECT_EQ(p->run.IBACK, -1);
    EXPECT_EQ(p->run.SCALE, 2);
    EXPECT_TRUE(p->device.MONO);
    lines[L11] = "DIAGRAMME: XL=12.5 YL=8 HOE=0.3 HSYM=0.2 IBACK=-1 SCALE=2";
    EXPECT_FALSE(head_with(lines, s)->device.MONO);

    lines[L11] = "DIAGRAMME: XL=12.5 YL=8 HOE=0.3 HSYM=0.2 SCALE=2";
    p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 511);
    EXPECT_TRUE(has(p->units.u6.text(), " ===> FEHLER in der Eingabe ZEILE11; Programm STOP"));
    EXPECT_TRUE(has(p->units.u9.text(),
                    "### ERROR IN PROCESSING INPUT LINE 11; STOP PROGRAM LINE11=" + pad80(lines[L11])));
}
