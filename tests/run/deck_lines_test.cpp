// The common line handling and the numbered lines 1 and 3 to 9 of a run.
#include <gtest/gtest.h>

#include "tests/run/deck_support.hpp"

using namespace deck_test;
using korvex::run::DeckStatus;

TEST(DeckLines, CommentsBlankLinesAndCaseAreHandledBeforeTheKeywordsAreSearched) {
    auto lines = base_run();
    lines[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=4";
    lines[L4] = "dh=6.5 dk=6.0 r=1.8 dkst=0.0 p0=20.0 th=900.0 tk=300.0";
    // Between line 4 and 5: a comment that carries valid keywords, and two blank lines.
    lines.insert(lines.begin() + L5, {"T0=999 VOLUMEN=9 SGRAD=9 *** old values", "", "      "});
    DeckStatus s;
    auto p = head(join(lines), s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_DOUBLE_EQ(p->run.DH, 6.5);
    EXPECT_DOUBLE_EQ(p->run.T0, 300.0);
    EXPECT_DOUBLE_EQ(p->run.VOLUMEN, 0.02);
    const std::string& u9 = p->units.u9.text();
    // Level 4 echoes every line as written, the comment and the blank lines too.
    EXPECT_TRUE(has(u9, " ZEILE:" + pad80("dh=6.5 dk=6.0 r=1.8 dkst=0.0 p0=20.0 th=900.0 tk=300.0")));
    EXPECT_TRUE(has(u9, " ZEILE:" + pad80("T0=999 VOLUMEN=9 SGRAD=9 *** old values")));
    EXPECT_EQ(count(u9, " ZEILE:" + pad80("")), 2);
    EXPECT_TRUE(has(u9, " Eingabedaten:"));
    EXPECT_TRUE(has(u9, " ZEILE: " + pad80(lines[L1])));
}

TEST(DeckLines, LineOneValuesAndDetailLevels) {
    auto lines = base_run();
    lines[L1] = "AUSGABE TIME=0.2 SCHRITT=0.0001 NZYL=0 IPRNT=25";
    DeckStatus s;
    auto p = head(join(lines), s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_DOUBLE_EQ(p->run.TIME, 0.2);
    EXPECT_DOUBLE_EQ(p->run.SCHRITT, 0.0001);
    EXPECT_DOUBLE_EQ(p->run.SCHRITT_100, 0.000001);
    EXPECT_EQ(p->run.NZYL, 0);  // accepted here, made 1 with the machine
    EXPECT_EQ(p->run.IPRNT1, 2);
    EXPECT_EQ(p->units.IPRNT2, 5);
    EXPECT_TRUE(p->units.level(5));
    EXPECT_FALSE(p->units.level(6));
    EXPECT_EQ(p->run.machine_label, "EINFACH");
    const std::string echo1 = " Ausgabe bis TIME = 0.20 sec; Rechenschrittweite = 0.0001000 sec; NZYL= 0";
    const std::string echo2 = " IPRNT1=2, IPRNT2=CNTRL_n=5";
    EXPECT_TRUE(has(p->units.u6.text(), echo1));
    EXPECT_TRUE(has(p->units.u6.text(), echo2));
    EXPECT_TRUE(has(p->units.u9.text(), echo1));
    EXPECT_TRUE(has(p->units.u8.text(), " Ausgabe bis TIME = 0.20 sec; Rechenschrittweite =0.0001000 sec"));

    // Level 5: line 1 gets its long reader trace instead of the short one, which the other
    // keyword lines of this run get once each (lines 3, 4, 5, 6, 7 and 11).
    const std::string found = " ### Eingabe Pruefer \"LESEPR\" hat gefunden:";
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        int short_traces = 0;
        for (const auto& r : records(*text)) short_traces += r.rfind(found, 0) == 0;
        EXPECT_EQ(short_traces, 6);
        EXPECT_EQ(count(*text, " ### Eingabe Pruefer \"LESEPR\" bearbeitet ZEILE 1 :"), 1);
    }
}

TEST(DeckLines, NZYLOtherThan0124StopsWith299) {
    for (const char* nzyl : {"3", "5", "-1"}) {
        auto lines = base_run();
        lines[L1] = std::string("AUS: TIME=0.2 SCHRITT=0.0001 NZYL=") + nzyl + " IPRNT=0";
        auto p = job(join(lines));
        EXPECT_EQ(p->run.NFAIL, 299);
        EXPECT_EQ(p->run.NLAUF, 0);
        const std::string first = std::string(" ===========>> FEHLER 299: Fuer NZYL=") +
                                  (std::string(nzyl).size() == 1 ? " " : "") + nzyl + " wird nicht gerechnet !";
        for (const std::string* text : {&p->units.u6.text(), &p->units.u8.text(), &p->units.u9.text()}) {
            const int i = at(*text, first);
            ASSERT_GE(i, 0) << nzyl;
            const auto r = records(*text);
            EXPECT_EQ(r[i + 1], " Bitte NZYL=1 fuer die einfach wirkende Maschine");
            EXPECT_EQ(r[i + 2], " oder  NZYL=2 fuer die doppelt wirkende Maschine");
            EXPECT_EQ(r[i + 3], " oder  NZYL=4 fuer die 2 x doppelt wirkende Maschine angeben");
        }
    }
}

TEST(DeckLines, LineOneWithoutAUSInColumnsOneTo18StopsWith332) {
    auto lines = base_run();
    lines[L1] = "                  AUS TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=0";  // AUS from column 19
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 332);
    const std::vector<std::string> expected = {
        " ",
        " FEHLER Nr. 332 EINGABEZEILE UEBERPRUEFEN:",
        pad80(lines[L1]),
        " ",
        " Ist die Reihenfolge der Eingabezeilen eingehalten worden?",
        " ODER: Ist der vorgeschriebene Text dieser Eingabezeile FALSCH geschrieben?",
        " ODER: Ist \"SCALE\" NEGATIV  und dennoch folgen Skalierungswerte? ---> ZEILE 11",
        " ODER: Ist \"SCALE\" POSITIV  und es folgen KEINE Skalierungswerte? ---> ZEILE 11",
        " ",
    };
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const auto r = records(*text);
        const int i = at(*text, expected[1]);
        ASSERT_GE(i, 1);
        for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(r[i - 1 + k], expected[k]);
    }
}

// A value the keyword reader delivers that is no number of the kind its field needs is named
// with its keyword and its text, before the line's own stop message.
TEST(DeckLines, LineOneReaderFailuresStopWith501) {
    const std::string no = " ### ERROR IN DATA INPUT: VALUE AFTER SEARCH STRING: ";
    const std::pair<const char*, std::string> cases[] = {
        {"AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1", ""},  // IPRNT= missing: the reader says so
        {"AUS: TIME=1.2.3 SCHRITT=0.0001 NZYL=1 IPRNT=0", no + "TIME=       IN ZEILE  1 IS NO NUMBER: \"1.2.3\""},
        {"AUS: TIME=0.2 SCHRITT=+-4 NZYL=1 IPRNT=0", no + "SCHRITT=    IN ZEILE  1 IS NO NUMBER: \"+-4\""},
        {"AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1.0 IPRNT=0", no + "NZYL=       IN ZEILE  1 IS NO WHOLE NUMBER: \"1.0\""},
    };
    for (const auto& [l1, named] : cases) {
        auto lines = base_run();
        lines[L1] = l1;
        auto p = job(join(lines));
        EXPECT_EQ(p->run.NFAIL, 501) << l1;
        const std::string msg = " ### FEHLER 501: In der 1. Eingabe ZEILE ; Programm STOP";
        for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
            const int i = at(*text, msg);
            ASSERT_GE(i, 1) << l1;
            if (!named.empty()) {
                EXPECT_EQ(records(*text)[i - 1], named);
            }
        }
    }
}

TEST(DeckLines, NegativeNACHPlotsOneRevolution) {
    auto lines = base_run();
    lines[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=3";
    lines[L3] = "NACH: -4 DAEMPFUNG=0.9 FSEAL=0 PHASE=0";
    DeckStatus s;
    auto p = head(join(lines), s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_EQ(p->run.NACH, 4);
    EXPECT_TRUE(p->run.plot_one_rev);
    EXPECT_DOUBLE_EQ(p->run.DAEMPFUNG, 0.9);
    EXPECT_DOUBLE_EQ(p->run.PHASE, 0.0);  // a phase of 0 is accepted
    const std::string msg = " >>>>>> Berechnete Daten werden nur fuer die   4. Umdrehung geplottet";
    EXPECT_TRUE(has(p->units.u6.text(), msg));
    EXPECT_TRUE(has(p->units.u9.text(), msg));
}

TEST(DeckLines, PositivePhaseStopsWith336) {
    auto lines = base_run();
    lines[L3] = "NACH: 3 DAEMPFUNG=1.0 FSEAL=10.0 PHASE=0.5";
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 336);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const int i = at(*text, " FEHLER: Phasenwinkel=  0.50 muss < 0 sein fuer den Stirling Motor");
        ASSERT_GE(i, 0);
        EXPECT_EQ(records(*text)[i + 1], " ===========>> Programm STOP <<==========");
    }
}

TEST(DeckLines, BoreOrCrankRadiusNotPositiveStopsWith504) {
    auto lines = base_run();
    lines[L4] = "DH=0 DK=6.0 R=1.8 DKST=0.0 P0=20.0 TH=900.0 TK=300.0";
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 504);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const int i = at(*text, " ===> FEHLER in der Eingabe ZEILE 4; Programm STOP");
        ASSERT_GE(i, 0);
        const auto r = records(*text);
        EXPECT_EQ(r[i + 1], " ");
        EXPECT_EQ(r[i + 2], " DH=   0.000 DK=   6.000 R=   1.800 Alle Werte muessen >0 sein");
        EXPECT_EQ(r[i + 3], " ");
    }
}

// A keyword missing or a value that is no number stops the job with the number of its line;
// the end of the job names the line and the number.
TEST(DeckLines, ReaderFailuresOfLinesThreeToNine) {
    struct Case {
        BaseLine line;
        const char* text;
        int nfail;
    };
    const Case cases[] = {
        {L3, "NACH: 3 DAEMPFUNG=1.0 FSEAL=10.0", 503},
        {L4, "DH=6.0 DK=6.0 R=1.8 DKST=0.0 P0=20.0 TH=900.0", 504},
        {L4, "DH=6.0 DK=6.0 R=1.8 DKST=0.0 P0=2.0.0 TH=900.0 TK=300.0", 504},
        {L5, "T0=300.0 SGRAD=95.0", 505},
        {L6, "ZW=0 ZH0E=10 ZH0C=10 N0=1000 THETA=50000", 506},
        {L7, "L/R=4.0 REGELN AB 0.5 RVE=0 RVC=0 GAS=HE", 507},
    };
    for (const Case& c : cases) {
        auto lines = base_run();
        lines[c.line] = c.text;
        auto p = job(join(lines));
        EXPECT_EQ(p->run.NFAIL, c.nfail) << c.text;
        EXPECT_EQ(p->run.NLAUF, 0) << c.text;
        const std::string line_msg = " ===> FEHLER in der Eingabe ZEILE" + std::string(c.nfail - 500 < 10 ? " " : "") +
                                     std::to_string(c.nfail - 500) + "; Programm STOP";
        EXPECT_TRUE(has(p->units.u8.text(), line_msg)) << c.text;
        const std::string nr = " Schauen Sie auch nach frueheren Fehlermeldungen; FEHLER Nr:  " + std::to_string(c.nfail);
        EXPECT_TRUE(has(p->units.u6.text(), nr)) << c.text;
        EXPECT_TRUE(has(p->units.u9.text(), nr)) << c.text;
    }
}

TEST(DeckLines, UserGasNeedsLinesEightAndNine) {
    auto lines = base_run();
    lines[L7] = "L/R=0 REGELN AB 0 IN 0 RVE=0 RVC=0 GAS=XX DAMPF";
    lines.insert(lines.begin() + L11, {"RO=1.25 CP=1.04", "MG=28.0 X=1.4"});
    DeckStatus s;
    auto p = head(join(lines), s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_EQ(p->run.GAS, "XX");
    EXPECT_EQ(p->run.DAM, "DAMPF");
    EXPECT_TRUE(p->run.FDAMPF);
    EXPECT_EQ(p->run.IP1, 3);
    EXPECT_EQ(p->run.IP2, 3);
    EXPECT_DOUBLE_EQ(p->run.RO_XX, 1.25);
    EXPECT_DOUBLE_EQ(p->run.CP_XX, 1.04);
    EXPECT_DOUBLE_EQ(p->run.MG_XX, 28.0);
    EXPECT_DOUBLE_EQ(p->run.X_XX, 1.4);

    // Line 8 or 9 incomplete.
    auto bad8 = lines;
    bad8[L11] = "RO=1.25";
    EXPECT_EQ(job(join(bad8))->run.NFAIL, 508);
    auto bad9 = lines;
    bad9[L11 + 1] = "MG=28.0";
    EXPECT_EQ(job(join(bad9))->run.NFAIL, 509);
}

TEST(DeckLines, GasOptionGivesTheInterpolationOrders) {
    auto lines = base_run();
    lines[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=4";
    lines[L7] = "L/R=0 REGELN AB 0 IN 0 RVE=0 RVC=0 GAS=HE D 123";
    DeckStatus s;
    auto p = head(join(lines), s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_TRUE(p->run.FDAMPF);
    EXPECT_EQ(p->run.IPF1, 1);
    EXPECT_EQ(p->run.IPF2, 23);
    EXPECT_EQ(p->run.IP1, 2);
    EXPECT_EQ(p->run.IP2, 24);
    EXPECT_TRUE(has(p->units.u6.text(), " INTERPOLATIONSGRAD FUER DAMPFBERECHNUNG: IP1= 2; IP2=24"));
    EXPECT_TRUE(has(p->units.u9.text(),
                    " INTERPOLATIONSGRAD FUER DAMPFBERECHNUNG: IP1= 2 FUER SUBR. \"VORCOM\"; IP2=24 FUER SUBR. \"COMP\""));
    EXPECT_TRUE(has(p->units.u9.text(),
                    " EINGELESENE INTERPOLATIONSFAKTOREN FUER DAMPFZUSTANDS BERECHNUNG: IPF1=  1; IPF2=23"));

    // Plain helium: no vapour, no lines 8 and 9.
    lines[L7] = "L/R=0 REGELN AB 0 IN 0 RVE=0 RVC=0 GAS=HE";
    p = head(join(lines), s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_FALSE(p->run.FDAMPF);
    EXPECT_EQ(p->run.DAM, "     ");

    // Without the vapour option the field behind the name may be the next keyword of the line:
    // no orders are read from it, and the line reads as written.
    lines[L7] = "L/R=0 REGELN AB 0 IN 0 GAS=HE RVE=5.0 RVC=0.0";
    p = head(join(lines), s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_EQ(p->run.NFAIL, 0);
    EXPECT_FALSE(p->run.FDAMPF);
    EXPECT_EQ(p->run.IP1, 3);
    EXPECT_EQ(p->run.IP2, 3);
    EXPECT_DOUBLE_EQ(p->run.RVE, 5.0);

    // With it, orders that are no digits cannot be used: an input error of line 7 that names
    // the option field.
    lines[L7] = "L/R=0 REGELN AB 0 IN 0 RVE=0 RVC=0 GAS=HE DAMP";
    p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 507);
    for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
        const int i = at(*text, " ### GAS=HE: im Optionsfeld \"DAMP \" der ZEILE 7 stehen keine Interpolationsgrade");
        ASSERT_GE(i, 0);
        EXPECT_EQ(records(*text)[i + 1],
                  " ### erwartet wird DAMPF, oder D mit 1 Ziffer fuer VORCOM und 2 fuer COMP, z.B. \"D 123\"");
    }
}

// The input ending where a line of the run must follow: the run is not computed, the listings
// say which run and which line, and the job ends with that line's error number.
TEST(DeckLines, InputEndingInsideARunNamesTheMissingLine) {
    struct Case {
        std::vector<std::string> lines;
        int nfail;
        std::string line;
    };
    auto cut = [](std::vector<std::string> l, std::size_t n) {
        l.resize(n);
        return l;
    };
    auto poly = base_run();
    poly[L2] = "POLY";
    poly.insert(poly.begin() + L3, "EPSILON_E=1.3");
    auto scaled = base_run();
    scaled[L11] = "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=1";
    scaled[L16] = "P(F)=10";
    const Case cases[] = {
        {cut(base_run(), L2), 502, " 2"},
        {cut(poly, L3 + 1), 502, " 2/ 3"},
        {cut(base_run(), L7), 507, " 7"},
        {cut(base_run(), L16), 516, "16"},
        {cut(scaled, L17), 516, "16"},
        {cut(base_run(), L17), 517, "17"},
    };
    for (const Case& c : cases) {
        auto p = job(join(c.lines));
        EXPECT_EQ(p->run.NFAIL, c.nfail) << c.line;
        EXPECT_EQ(p->run.NLAUF, 0) << c.line;
        for (const std::string* text : {&p->units.u6.text(), &p->units.u9.text()}) {
            const int i = at(*text, " ===> FEHLER: Die Eingabe endet im  1. Rechenlauf; erwartet wird ZEILE" + c.line);
            ASSERT_GE(i, 1) << c.line;
            EXPECT_EQ(records(*text)[i - 1], " ");
            EXPECT_EQ(records(*text)[i + 1], " Dieser Rechenlauf wird nicht gerechnet; Programm STOP");
        }
    }
}

TEST(DeckLines, MissingGasKeywordGoesOnWithHelium) {
    auto lines = base_run();
    lines[L7] = "L/R=4.0 REGELN AB 0.5 IN 0.1 RVE=0 RVC=0";
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 507);
    EXPECT_EQ(p->run.NLAUF, 1);  // the run is computed
    EXPECT_EQ(p->run.GAS, "HE");
    const std::string& u6 = p->units.u6.text();
    const int i = at(u6, "### Suchwort: GAS= nicht gefunden, Arbeitsgas wird HE");
    ASSERT_GE(i, 0);
    EXPECT_EQ(records(u6)[i + 1], " ### Dieser FEHLER kann auftreten,");
    EXPECT_EQ(records(u6)[i + 2], " wenn die folgende Eingabezeile nicht einen neuen Rechenlauf spezifiziert");
    const std::string& u9 = p->units.u9.text();
    EXPECT_TRUE(has(u9, "### Suchwort: GAS= nicht gefunden, als Arbeitsgas wird HE angenommen"));
    EXPECT_TRUE(
        has(u9, "### Dieser FEHLER kann auftreten, wenn die folgende Eingabezeile nicht einen neuen Rechenlauf spezifiziert"));
}

TEST(DeckLines, PercentSignsSelectTheUnitsOfDeadAndControlVolumes) {
    auto lines = base_run();
    lines[L6] = "ZW=0 ZH0E=10 ZH0C=12 N0=1000 THETA=50000 DICKE=2";
    lines[L7] = "L/R=4.0 REGELN AB 0.5 IN 0.1 RVE=5 RVC=6 % GAS=HE";
    DeckStatus s;
    auto p = head(join(lines), s);
    ASSERT_EQ(s, DeckStatus::run_diagrams);
    EXPECT_FALSE(p->run.dead_space_percent);
    EXPECT_TRUE(p->run.control_volume_percent);
    EXPECT_DOUBLE_EQ(p->run.ZH0C, 12.0);
    EXPECT_DOUBLE_EQ(p->run.LR, 4.0);
    EXPECT_DOUBLE_EQ(p->run.REGELN_AB, 0.5);
    EXPECT_DOUBLE_EQ(p->run.IN, 0.1);
    EXPECT_DOUBLE_EQ(p->run.RVE, 5.0);
    EXPECT_DOUBLE_EQ(p->run.RVC, 6.0);
}
