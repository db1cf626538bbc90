// Decks no engineer meant to write: every one of them is a job that comes to its end, closes
// its detail listing, and when it ended on an error, says so with the number. No listing may
// show a value that is not a number.
#include <gtest/gtest.h>

#include <regex>

#include "tests/e2e/e2e_support.hpp"

namespace {

// A short run of a small single-acting machine: 200 steps.
const std::vector<std::string>& base() {
    static const std::vector<std::string> lines = {
        "AUS: TIME=0.02 SCHRITT=0.0001 NZYL=1 IPRNT=2",
        "ISOTHERM",
        "NACH: 3 DAEMPFUNG=1.0 FSEAL=10.0 PHASE=-90.0",
        "DH=6.0 DK=6.0 R=1.8 DKST=0.0 P0=20.0 TH=900.0 TK=300.0",
        "T0=300.0 VOLUMEN=0.02 SGRAD=95.0",
        "ZW=0 ZH0E=10 ZH0C=10 N0=1000 THETA=5000000 DICKE=2 %",
        "L/R=4.0 REGELN AB 0.5 IN 0.1 RVE=0 RVC=0 GAS=HE",
        "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=0",
        "ABSZISSE| VG1 GITTER=6 NBILD=0",
        "ORDINATEN| P1",
        ":p-V",
        "ABSZISSE| TIME GITTER=0 NBILD=2",
        "ORDINATEN| RPM TE1 TC1",
    };
    return lines;
}

std::string join(const std::vector<std::string>& lines, bool stop = true) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return stop ? s + "STOP\n" : s;
}

// The job came to its end in order; `deck_what` names the deck in a failure.
void expect_orderly_end(const e2e::Job& j, const std::string& deck_what) {
    SCOPED_TRACE(deck_what);
    EXPECT_EQ(j.p->run.NEWDIA, 0) << "no end of job after " << j.pages << " pages";
    EXPECT_NE(j.u9().find("PROGRAMM ENDE; KEINE WEITERE EINGABE"), std::string::npos);
    if (j.nfail() > 0) {
        const std::string msg = " Schauen Sie auch nach frueheren Fehlermeldungen; FEHLER Nr:";
        EXPECT_NE(j.u6().find(msg), std::string::npos);
        EXPECT_NE(j.u9().find(msg), std::string::npos);
    }
    static const std::regex nonfinite(R"((^|[^A-Za-z])(NaN|nan|NAN|Inf|inf|INF)([^A-Za-z]|$))");
    for (const auto* text : {&j.u6(), &j.u8(), &j.u9()})
        for (const auto& l : e2e::lines_of(*text))
            if (std::regex_search(l, nonfinite)) ADD_FAILURE() << deck_what << ": " << l;
}

std::unique_ptr<e2e::Job> run(const std::string& deck, const std::string& what) {
    auto j = e2e::run_job(deck);
    expect_orderly_end(*j, what);
    return j;
}

}  // namespace

TEST(E2eMalformed, TheBaseDeckItselfRuns) {
    auto j = run(join(base()), "base");
    EXPECT_EQ(j->p->run.NLAUF, 1);
    EXPECT_GT(j->p->dia.NPLOT, 100);
}

TEST(E2eMalformed, ARunCutOffAfterAnyLineEndsTheJob) {
    // Without its end a run is not computed: every cut before the diagram line leaves no run.
    for (std::size_t n = 1; n < base().size(); ++n) {
        const std::vector<std::string> cut(base().begin(), base().begin() + static_cast<long>(n));
        auto j = run(join(cut, false), "first " + std::to_string(n) + " lines");
        if (n < 7) {
            EXPECT_EQ(j->p->run.NLAUF, 0) << n;
        }
    }
    // The whole run without its STOP line is computed and ends the job normally.
    auto j = run(join(base(), false), "no STOP");
    EXPECT_EQ(j->p->run.NLAUF, 1);
}

TEST(E2eMalformed, HugeZeroNegativeAndTinyValuesInEveryLine) {
    // Every number of one line replaced by the same value; the step count of a run stays small
    // because TIME and SCHRITT take the same value.
    static const std::regex number(R"((^|[= ])-?[0-9]+(\.[0-9]*)?([Ee][-+]?[0-9]+)?(?= |$))");
    const char* values[] = {"1E30", "0", "-7", "1E-30", "2147483648", "-0.0"};
    int decks = 0;
    for (std::size_t line = 0; line < base().size(); ++line) {
        for (const char* v : values) {
            auto lines = base();
            const std::string changed = std::regex_replace(lines[line], number, std::string("$1") + v);
            if (changed == lines[line]) continue;
            lines[line] = changed;
            run(join(lines), changed);
            ++decks;
        }
    }
    EXPECT_GT(decks, 50);
}

TEST(E2eMalformed, JunkBlankAndOverlongLinesEndWithAnErrorNumber) {
    // Bytes of every value, with line ends among them, from a fixed linear congruential series.
    std::string junk;
    unsigned x = 12345;
    for (int i = 0; i < 6000; ++i) {
        x = x * 1103515245u + 12345u;
        junk += static_cast<char>((x >> 16) & 0xff);
    }
    auto j = run(junk, "binary junk");
    EXPECT_GT(j->nfail(), 0);

    j = run(std::string(10000, '\n'), "10000 blank lines");
    EXPECT_EQ(j->p->run.NLAUF, 0);

    // Lines of 500 characters: the keywords of a line repeated far past column 80.
    std::vector<std::string> wide;
    for (const auto& l : base()) {
        std::string w = l;
        while (w.size() < 500) w += " " + l;
        wide.push_back(w.substr(0, 500));
    }
    run(join(wide), "500-character lines");

    std::string nines(500, '9');
    j = run(nines + "\n" + nines + "\nSTOP\n", "lines of 500 digits");
    EXPECT_GT(j->nfail(), 0);

    // A run whose diagram definitions never end: more than ten diagrams.
    auto many = base();
    for (int k = 0; k < 12; ++k) {
        many.push_back("ABSZISSE| TIME GITTER=0 NBILD=0");
        many.push_back("ORDINATEN| P1");
    }
    run(join(many), "twelve diagrams");
}

TEST(E2eMalformed, TheHostileDeckFilesEndWithTheErrorTheyState) {
    const std::regex stated(R"(^\*\*\*.*[Ee]nds with error number (\d+)\.)");
    int decks = 0;
    for (const auto& entry : e2e::fs::directory_iterator(e2e::fs::path(KORVEX_SOURCE_DIR) / "tests" / "decks")) {
        const auto name = entry.path().filename().string();
        if (name.rfind("e2e_", 0) != 0) continue;
        const std::string deck = e2e::read_file(entry.path());
        int expected = -1;
        for (const auto& l : e2e::lines_of(deck)) {
            std::smatch m;
            if (std::regex_search(l, m, stated)) expected = std::stoi(m[1]);
        }
        ASSERT_GT(expected, 0) << name << " does not say how it ends";
        auto j = run(deck, name);
        EXPECT_EQ(j->nfail(), expected) << name;
        ++decks;
    }
    EXPECT_GE(decks, 4);
}
