// The driver: files opened in the job directory, header lines once per process, the caption,
// and the paint arguments handed to the plot device.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../runtime/scratch_dir.hpp"
#include "platform/recording_surface.hpp"
#include "shell/core/plotiw.hpp"

using namespace korvex;
using korvex::testing::ScratchDir;
using korvex::testing::slurp;
using korvex::testing::spit;

namespace {

runtime::DateTime april_8_2005() {
    runtime::DateTime t;
    t.year = 2005; t.month = 4; t.day = 8; t.hour = 14; t.minute = 5; t.second = 33; t.hundredths = 7;
    return t;
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

}  // namespace

TEST(Plotiw, ModeOneWritesTheHeaderLinesOnceAndReturnsTheCaption) {
    ScratchDir dir;
    spit(dir / "KORVEX.DAT", "STOP\n");
    spit(dir / "KORVEX.F06", "an old listing, to be written over\n");
    auto p = std::make_unique<Program>();
    p->clock = april_8_2005;
    p->run.NEWDIA = 3;
    shell::ShellState s;
    s.job_dir = dir.path();
    std::string title(shell::CAPTION_INITIAL);

    EXPECT_EQ(shell::PLOTIW(*p, s, 1, title), 3);
    EXPECT_EQ(title, "KORVEX.1kw vom 8.4.2005");
    EXPECT_EQ(s.stamp, "  8. 4. 2005 14 UHR  5 ");
    // The next window of the same process: a new stamp, no new header lines, no rewind.
    p->units.u6.line(" written between the windows");
    p->clock = [] { runtime::DateTime t = april_8_2005(); t.minute = 6; return t; };
    EXPECT_EQ(shell::PLOTIW(*p, s, 1, title), 3);
    EXPECT_EQ(s.stamp, "  8. 4. 2005 14 UHR  6 ");
    ASSERT_TRUE(p->units.flush());

    EXPECT_EQ(slurp(dir / "KORVEX.F06"),
              " KORVEX.1kw vom 8.4.2005 gerechnet am:  8. 4. 2005 14 UHR  5  NEWDIA= 3\n"
              "\n"
              " written between the windows\n");
    const std::string head89 = "        KORVEX.1kw vom 8.4.2005 gerechnet am:  8. 4. 2005 14 UHR  5 \n\n";
    EXPECT_EQ(slurp(dir / "KORVEX.F09"), head89);
    EXPECT_EQ(slurp(dir / "KORVEX.F08"), head89);
}

TEST(Plotiw, PaintsRunTheModelWithoutRepeatingTheHeaders) {
    ScratchDir dir;
    spit(dir / "KORVEX.DAT", "STOP\n");
    auto p = std::make_unique<Program>();
    p->clock = april_8_2005;
    shell::ShellState s;
    s.job_dir = dir.path();
    std::string title(shell::CAPTION_INITIAL);
    platform::RecordingSurface surface(640, 480);
    shell::PaintArgs a;
    a.surface = &surface;
    a.ISIZEX = 640;
    a.ISIZEY = 480;
    a.HWND = 11;
    a.HDC = 12;
    a.HPEN = platform::Pen{platform::PenStyle::Solid, 2, {}};
    a.HPENOLD = platform::Pen{platform::PenStyle::Dot, 1, {1, 2, 3}};
    a.HPEN_ID = 13;
    a.HPENOLD_ID = 14;

    for (int window = 0; window < 2; ++window) {
        shell::PLOTIW(*p, s, 1, title);
        EXPECT_EQ(shell::PLOTIW(*p, s, 4, title, a), 0);  // "STOP": the only page
    }
    EXPECT_EQ(p->device.ISIZEX, 640);
    EXPECT_EQ(p->device.ISIZEY, 480);
    EXPECT_EQ(p->device.HWND, 11);
    EXPECT_EQ(p->device.HDC, 12);
    EXPECT_EQ(p->device.HPEN_ID, 13);
    EXPECT_EQ(p->device.HPENOLD_ID, 14);
    EXPECT_EQ(p->device.HPENOLD, a.HPENOLD);
    // The surface was lent for the paint only.
    EXPECT_EQ(p->device.surface, nullptr);

    ASSERT_TRUE(p->units.flush());
    for (const char* f : {"KORVEX.F06", "KORVEX.F08", "KORVEX.F09"}) {
        const std::string text = slurp(dir / f);
        EXPECT_EQ(count(text, "gerechnet am:"), 1) << f;
        EXPECT_EQ(text.find(" KORVEX.1kw") == 0 || text.find("        KORVEX.1kw") == 0, true) << f;
    }
}

TEST(Plotiw, SizeAndWindowModes) {
    ScratchDir dir;
    auto p = std::make_unique<Program>();
    shell::ShellState s;
    s.job_dir = dir.path();
    std::string title = "unchanged";
    shell::PaintArgs a;
    a.HWND = 5;
    a.ISIZEX = 300;
    a.ISIZEY = 200;
    EXPECT_EQ(shell::PLOTIW(*p, s, 2, title, a), -2);
    EXPECT_EQ(p->device.HWND, 5);
    EXPECT_EQ(p->device.ISIZEX, 0);
    EXPECT_EQ(shell::PLOTIW(*p, s, 3, title, a), -3);
    EXPECT_EQ(p->device.ISIZEX, 300);
    EXPECT_EQ(p->device.ISIZEY, 200);
    EXPECT_EQ(shell::PLOTIW(*p, s, 7, title, a), 0);
    EXPECT_EQ(title, "unchanged");
    // Every mode opened the files: the missing deck was created empty, no header was written.
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "KORVEX.DAT"));
    ASSERT_TRUE(p->units.flush());
    EXPECT_EQ(slurp(dir / "KORVEX.F06"), "");
}

TEST(Plotiw, UnopenableFilesStopTheDriver) {
    ScratchDir dir;
    auto p = std::make_unique<Program>();
    shell::ShellState s;
    s.job_dir = dir / "missing";
    std::string title;
    EXPECT_EQ(shell::PLOTIW(*p, s, 1, title), shell::PLOTIW_OPEN_FAILED);
    EXPECT_NE(s.open_failure.find("KORVEX.F06"), std::string::npos);
    EXPECT_TRUE(s.first_call);
    EXPECT_EQ(shell::PLOTIW(*p, s, 4, title), shell::PLOTIW_OPEN_FAILED);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    // A deck that is a directory cannot be opened either; the listings are.
    s.job_dir = dir.path();
    std::filesystem::create_directory(dir / "KORVEX.DAT");
    EXPECT_EQ(shell::PLOTIW(*p, s, 1, title), shell::PLOTIW_OPEN_FAILED);
    EXPECT_NE(s.open_failure.find("KORVEX.DAT"), std::string::npos);
}
