// The sample decks as whole jobs: each ends as its heading says, every listing shows numbers
// that can be read, and a repaint of the window computes exactly the same job again.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.hpp"

using korvex::platform::RecordingSurface;
namespace fs = std::filesystem;

TEST(E2eExamples, EachEndsWithItsStatedErrorNumberAndReadableListings) {
    const auto all = e2e::examples();
    ASSERT_GE(all.size(), 10u);
    for (const auto& ex : all) {
        SCOPED_TRACE(ex.path.filename().string());
        ASSERT_GE(ex.stated, 0) << "the heading does not say how the job ends";
        auto j = e2e::run_job(ex.deck);
        EXPECT_EQ(j->p->run.NEWDIA, 0) << "the job did not come to its end";
        EXPECT_EQ(j->nfail(), ex.stated);
        if (ex.stated == 0) {
            EXPECT_GE(j->p->run.NLAUF, 1);
        }
        const std::pair<const char*, const std::string*> units[] = {
            {"F06", &j->u6()}, {"F08", &j->u8()}, {"F09", &j->u9()}};
        for (const auto& [name, text] : units) {
            EXPECT_FALSE(text->empty()) << name;
            for (const auto& l : e2e::bad_numbers(*text)) ADD_FAILURE() << name << ": " << l;
        }
    }
}

namespace {

// What one pass of the job wrote: the listings' growth and the page primitives.
struct Pass {
    std::string u6, u8, u9;
    std::vector<RecordingSurface::Op> ops;
    int nfail = 0;
};

Pass one_pass(e2e::Job& j) {
    const auto s6 = j.u6().size(), s8 = j.u8().size(), s9 = j.u9().size();
    j.page.clear();
    j.run();
    return {j.u6().substr(s6), j.u8().substr(s8), j.u9().substr(s9), j.page.ops(), j.nfail()};
}

bool same_op(const RecordingSurface::Op& x, const RecordingSurface::Op& y) {
    return x.kind == y.kind && x.pen == y.pen && x.p == y.p && x.points == y.points && x.left == y.left &&
           x.top == y.top && x.right == y.right && x.bottom == y.bottom && x.color == y.color &&
           x.text == y.text;
}

bool same_ops(const std::vector<RecordingSurface::Op>& a, const std::vector<RecordingSurface::Op>& b,
              std::string& why) {
    if (a.size() != b.size()) {
        why = "op counts " + std::to_string(a.size()) + " and " + std::to_string(b.size());
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!same_op(a[i], b[i])) {
            why = "op " + std::to_string(i) + " differs";
            return false;
        }
    return true;
}

void expect_repaint_repeats(const std::string& deck, const std::string& what) {
    SCOPED_TRACE(what);
    e2e::Job j(deck);
    const Pass first = one_pass(j);
    const Pass second = one_pass(j);
    EXPECT_EQ(first.nfail, second.nfail);
    EXPECT_EQ(first.u6, second.u6);
    EXPECT_EQ(first.u8, second.u8);
    EXPECT_EQ(first.u9, second.u9);
    EXPECT_FALSE(first.ops.empty());
    std::string why;
    EXPECT_TRUE(same_ops(first.ops, second.ops, why)) << why;
}

}  // namespace

TEST(E2eRepaint, EveryExampleComputedTwiceInOneProgramGivesTheSameListingsAndPage) {
    for (const auto& ex : e2e::examples()) expect_repaint_repeats(ex.deck, ex.path.filename().string());
}

TEST(E2eRepaint, AJobThatStoppedOnAnErrorAfterADrawnRunRepeats) {
    // The sample run, then a run whose crank radius is 0: the job stops with the error of
    // line 4 after the first run has drawn its diagrams.
    std::string deck = e2e::read_file(fs::path(KORVEX_SOURCE_DIR) / "examples" / "sample.dat");
    deck = deck.substr(0, deck.rfind("STOP"));
    for (const auto& l : e2e::lines_of(deck))
        if (l.rfind("***", 0) != 0) deck += (l.rfind("ZYLINDER:", 0) == 0 ? "ZYLINDER: DH=5.0 DK=5.0 R=0.0 DKST=0.0 P0=20.0 TH=900.0 TK=320.0" : l) + "\n";
    deck += "STOP\n";
    e2e::Job j(deck);
    const Pass first = one_pass(j);
    EXPECT_EQ(first.nfail, 504);
    EXPECT_EQ(j.p->run.NLAUF, 1);
    const Pass second = one_pass(j);
    EXPECT_EQ(second.nfail, 504);
    EXPECT_EQ(first.u6, second.u6);
    EXPECT_EQ(first.u9, second.u9);
    EXPECT_EQ(first.u8, second.u8);
    std::string why;
    EXPECT_TRUE(same_ops(first.ops, second.ops, why)) << why;
}
