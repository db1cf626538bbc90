// Listing units and the deck unit on real files: truncation on the first open, reopening the
// file a unit is connected to, and deck records of exactly 80 characters.
#include <gtest/gtest.h>

#include <string>

#include "runtime/units.hpp"
#include "scratch_dir.hpp"

using namespace korvex::runtime;
using korvex::testing::ScratchDir;
using korvex::testing::slurp;
using korvex::testing::spit;

TEST(Units, ListingIsWrittenOverAndReopeningKeepsPosition) {
    ScratchDir dir;
    const auto f06 = dir / "KORVEX.F06";
    spit(f06, "an old listing\nthat is longer than the new one\n");

    Unit u(6, 80);
    ASSERT_TRUE(u.open(f06));
    u.line(" first");
    // The same file again, also under another spelling of its path: still connected, no rewind.
    ASSERT_TRUE(u.open(f06));
    ASSERT_TRUE(u.open(dir.path() / "." / "KORVEX.F06"));
    u.line(" second");
    ASSERT_TRUE(u.flush());
    EXPECT_EQ(slurp(f06), " first\n second\n");
    EXPECT_EQ(u.text(), "");  // nothing went to memory
}

TEST(Units, OpenFailureLeavesTheUnitInMemory) {
    ScratchDir dir;
    Unit u(8, 133);
    EXPECT_FALSE(u.open(dir / "no-such-dir/KORVEX.F08"));
    EXPECT_FALSE(u.is_open());
    u.record(" A", I(5, 3));
    EXPECT_EQ(u.text(), " A  5\n");
}

TEST(Units, AnotherFileClosesTheFirst) {
    ScratchDir dir;
    Unit u(9, 133);
    ASSERT_TRUE(u.open(dir / "a"));
    u.line("1");
    ASSERT_TRUE(u.open(dir / "b"));
    u.line("2");
    u.close();
    EXPECT_EQ(slurp(dir / "a"), "1\n");
    EXPECT_EQ(slurp(dir / "b"), "2\n");
}

TEST(DeckUnit, RecordsAreEightyColumns) {
    ScratchDir dir;
    const auto dat = dir / "KORVEX.DAT";
    const std::string long_line = std::string(79, 'L') + "XYZ";  // 82 characters
    const std::string exact = std::string(80, 'E');
    std::string odd = "\tA";
    odd += '\0';
    odd += "B\xC3\xA9";  // tab, NUL and a two-byte character are kept as they are
    spit(dat, "abc\r\n" + long_line + "\n" + exact + "\r\n\n" + "a\rb\n" + odd);

    DeckUnit d;
    ASSERT_TRUE(d.open(dat));
    EXPECT_EQ(*d.read(), "abc" + std::string(77, ' '));
    EXPECT_EQ(*d.read(), std::string(79, 'L') + "X");
    EXPECT_EQ(*d.read(), exact);
    EXPECT_EQ(*d.read(), std::string(80, ' '));
    EXPECT_EQ(*d.read(), "a\rb" + std::string(77, ' '));
    const auto last = d.read();  // no newline at the end of the file
    ASSERT_TRUE(last);
    EXPECT_EQ(last->size(), 80u);
    EXPECT_EQ(last->substr(0, 6), odd);
    EXPECT_EQ(last->substr(6), std::string(74, ' '));
    EXPECT_FALSE(d.read());
    EXPECT_FALSE(d.read());
    EXPECT_EQ(d.records_read(), 6);
}

TEST(DeckUnit, ReopenKeepsPositionAndRewindStartsOver) {
    ScratchDir dir;
    const auto dat = dir / "KORVEX.DAT";
    spit(dat, "ONE\nTWO\nTHREE\n");
    DeckUnit d;
    ASSERT_TRUE(d.open(dat));
    EXPECT_EQ(d.read()->substr(0, 3), "ONE");
    ASSERT_TRUE(d.open(dat));
    EXPECT_EQ(d.read()->substr(0, 3), "TWO");
    d.rewind();
    EXPECT_EQ(d.records_read(), 0);
    std::string rec;
    ASSERT_TRUE(d.read(rec));
    EXPECT_EQ(rec.substr(0, 4), "ONE ");
}

TEST(DeckUnit, MissingDeckIsCreatedEmptyAndNonFilesAreRefused) {
    ScratchDir dir;
    DeckUnit d;
    ASSERT_TRUE(d.open(dir / "KORVEX.DAT"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "KORVEX.DAT"));
    EXPECT_FALSE(d.read());

    DeckUnit e;
    EXPECT_FALSE(e.open(dir.path()));  // a directory
    EXPECT_FALSE(e.open(dir / "missing-dir/KORVEX.DAT"));
    EXPECT_FALSE(e.is_open());
    EXPECT_FALSE(e.read());
}

TEST(DeckUnit, TextHeldInMemory) {
    DeckUnit d;
    d.set_text("STOP\r\nx");
    EXPECT_EQ(*d.read(), "STOP" + std::string(76, ' '));
    EXPECT_EQ(*d.read(), "x" + std::string(79, ' '));
    EXPECT_FALSE(d.read());
    d.rewind();
    EXPECT_EQ(d.read()->substr(0, 4), "STOP");
}
