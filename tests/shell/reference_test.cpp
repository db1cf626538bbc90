// The user's reference from the program itself: `korvex --quantities` and `korvex --explain`,
// and the documents made from them, which must say what the program says.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../e2e/e2e_support.hpp"
#include "../runtime/scratch_dir.hpp"
#include "run/deck_ranges.hpp"
#include "shell/core/cli.hpp"

using korvex::testing::ScratchDir;
using korvex::testing::slurp;

namespace {

struct Output {
    int rc;
    std::string out, err;
};

Output korvex_with(const std::string& args) {
    ScratchDir dir;
    const std::string cmd = std::string("\"") + KORVEX_BINARY + "\" " + args + " >\"" + (dir / "out").string() +
                            "\" 2>\"" + (dir / "err").string() + "\"";
    const int code = korvex::testing::exit_status_of(cmd);
    return {code, slurp(dir / "out"), slurp(dir / "err")};
}

// The text of a document's fenced block: what the program printed when it was made.
std::string fenced(const std::string& doc) {
    const auto a = doc.find("```\n");
    const auto b = doc.rfind("```");
    if (a == std::string::npos || b <= a) return {};
    return doc.substr(a + 4, b - a - 4);
}

std::string doc(const char* name) { return slurp(std::filesystem::path(KORVEX_SOURCE_DIR) / "docs" / name); }

}  // namespace

TEST(Reference, QuantitiesListTheCatalogueWithUnitsScalesAndMeaning) {
    const Output all = korvex_with("--quantities");
    ASSERT_EQ(all.rc, 0) << all.err;
    const auto lines = e2e::lines_of(all.out);
    ASSERT_EQ(lines.size(), 706u);  // a heading and the 705 quantities
    EXPECT_EQ(lines[15].substr(0, 56), "  15  P1         7  BAR           P(F)=    P(D)=     H1-");
    EXPECT_NE(lines[15].find("gas pressure"), std::string::npos);
    EXPECT_EQ(lines[649].substr(0, 56), " 649  TIME      16  SEC           TME(F)=  TME(D)=   run");
    for (const auto& l : lines) EXPECT_GT(l.size(), 56u) << l;  // every entry says what it is

    // A pattern keeps the names that begin with it, in any case.
    const Output qzu = korvex_with("--quantities qzu");
    ASSERT_EQ(qzu.rc, 0);
    EXPECT_EQ(e2e::lines_of(qzu.out).size(), 1u + 8u);  // QZU1..QZU4, QZU, QZU12, QZU34, QZU1MX
    const Output none = korvex_with("--quantities XYZ");
    EXPECT_EQ(none.rc, 2);
    EXPECT_TRUE(none.out.empty());
}

TEST(Reference, ExplainKnownAndUnknownNumbers) {
    const Output e = korvex_with("--explain 506");
    ASSERT_EQ(e.rc, 0) << e.err;
    EXPECT_EQ(e.out.rfind("FEHLER Nr. 506: ", 0), 0u);
    EXPECT_NE(e.out.find("N0="), std::string::npos);

    const Output unknown = korvex_with("--explain 400");
    EXPECT_EQ(unknown.rc, 2);
    EXPECT_TRUE(unknown.out.empty());
    EXPECT_NE(unknown.err.find("400 is no error number"), std::string::npos);
    EXPECT_EQ(korvex_with("--explain five").rc, 2);
    EXPECT_EQ(korvex_with("--explain").rc, 2);
}

// docs/quantities.md and docs/errors.md are scripts/reference's copies of the program's
// output; run it again when this fails.
TEST(Reference, GeneratedDocumentsSayWhatTheProgramPrints) {
    EXPECT_EQ(fenced(doc("quantities.md")), korvex_with("--quantities").out);
    EXPECT_EQ(fenced(doc("errors.md")), korvex_with("--explain all").out);
}

// The deck reference gives every keyword the range that the deck reader checks.
TEST(Reference, DeckReferenceGivesTheCheckedRanges) {
    const std::string deck = doc("deck.md");
    for (const auto& r : korvex::run::deck_ranges()) {
        const std::string range = "`" + korvex::run::range_text(r) + "`";
        const std::string key = "`" + std::string(r.keyword) + "`";
        bool found = false;
        for (const auto& l : e2e::lines_of(deck))
            found = found || (l.find(key) != std::string::npos && l.find(range) != std::string::npos);
        EXPECT_TRUE(found) << "docs/deck.md has no line with " << key << " and " << range;
    }
}

// The batch program's last check: a listing with a number that is not finite fails the job.
TEST(Batch, ListingWithNaNOrInfinityIsAFailure) {
    ScratchDir dir;
    auto shows = [&](const std::string& text) {
        korvex::testing::spit(dir / "F06", text);
        return korvex::shell::listing_shows_non_finite(dir / "F06");
    };
    EXPECT_TRUE(shows(" VVEXP=  0.00000E+00VVCOMP=          NaNCM**3\n"));
    EXPECT_TRUE(shows(" MAXIMA\n \"VH00C1\"= Infinity\n"));
    EXPECT_TRUE(shows(" VMIN=-Infinity\n"));
    // Deck lines are echoed as written; words that merely contain the letters are text.
    EXPECT_FALSE(shows(" ZEILE:*** NaN and Infinity in a comment\n ### Eingabe Pruefer \"LESEPR\" hat gefunden: NaN\n"));
    EXPECT_FALSE(shows(" 1 DIAGRAMM WURDE GEPLOTTET; GES.LAENGE=  21.8 HOEHE=   8.0 CM\n"));
    // A deck line shown where a run header was due is the deck's text, not a number; the same
    // word computed in another record of the same listing still is one.
    const std::string deck = "f no run at PHASE=** Ends with error NaNnumber 0\nSTOP\n";
    const std::string echo = "f no run at PHASE=** Ends with error NaNnumber 0                    \n";
    korvex::testing::spit(dir / "F06", echo);
    EXPECT_FALSE(korvex::shell::listing_shows_non_finite(dir / "F06", deck));
    korvex::testing::spit(dir / "F06", echo + " VMIN=      NaN CM**3\n");
    EXPECT_TRUE(korvex::shell::listing_shows_non_finite(dir / "F06", deck));
    EXPECT_TRUE(korvex::shell::listing_shows_non_finite(dir / "F06", "P0=NaN\n"));
}
