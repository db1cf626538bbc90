// The diagram window: caption, page, menu entries and the page each paint draws, in process; the
// window job on the X display, one window per page, following its deck as it is edited.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QScreen>
#include <QTimer>

#include "platform/recording_surface.hpp"
#include "shell/qt/qt_surface.hpp"
#include "shell/qt/window.hpp"
#include "tests/qt/qt_support.hpp"

namespace korvex {
namespace {

namespace fs = std::filesystem;
using platform::RecordingSurface;
using qt_test::pump_until;
using shell::qt::Job;
using shell::qt::PlotWindow;
using shell::qt::PrintState;

bool has_entry(const QWidget& w, const char* text, QKeySequence::StandardKey key) {
    for (QAction* a : w.actions())
        if (a->text() == QLatin1String(text) && a->shortcut() == QKeySequence(key)) return true;
    return false;
}

TEST(QtWindow, ShowsTheCaptionPaintsTheModelOntoItsClientAreaAndOffersPrintAndSave) {
    const fs::path dir = qt_test::job_dir("sample.dat", "window");
    Job job;
    job.shell.job_dir = dir;
    ASSERT_EQ(shell::PLOTIW(*job.program, job.shell, 1, job.caption), 0);
    shell::PaintArgs seen;
    job.run_page = [&](Job&, const shell::PaintArgs& a) {
        seen = a;
        a.surface->move_to({0, 0});
        a.surface->line_to({a.ISIZEX, a.ISIZEY});
        return 4;
    };
    PrintState ps;
    PlotWindow w(job, ps, 1);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("KORVEX.1kw vom 8.4.2005"));
    // The client area is batch mode's default page, so that both draw at the same scale.
    EXPECT_EQ(w.size(), QSize(1008, 700));
    w.show();
    pump_until([&] { return w.paints() > 0; });
    ASSERT_GT(w.paints(), 0);
    EXPECT_EQ(seen.ISIZEX, w.width());
    EXPECT_EQ(seen.ISIZEY, w.height());
    EXPECT_EQ(seen.HPEN, (platform::Pen{platform::PenStyle::Solid, 2, {}}));
    EXPECT_EQ(job.repeat, 4);

    const QImage shot = w.grab().toImage();
    EXPECT_TRUE(qt_test::is_white(shot.pixel(shot.width() - 5, 5)));  // white background
    EXPECT_TRUE(qt_test::is_dark(shot.pixel(shot.width() / 2, shot.height() / 2)));

    EXPECT_TRUE(has_entry(w, "&Print", QKeySequence::Print));
    EXPECT_TRUE(has_entry(w, "Save page as...", QKeySequence::Save));

    // While a page is drawn (a print pumping events) the window refuses to close.
    job.painting = true;
    QCloseEvent ev;
    QCoreApplication::sendEvent(&w, &ev);
    EXPECT_FALSE(ev.isAccepted());
    job.painting = false;
    fs::remove_all(dir);
}

// A model of `pages` pages that letters the number of the page it draws. As the real one, it
// continues the job while NEWDIA is above 0 and starts it afresh when NEWDIA is 0.
struct PagedModel {
    int pages = 3;
    int runs = 0;
    int operator()(Job& j, const shell::PaintArgs& a) {
        ++runs;
        int& NEWDIA = j.program->run.NEWDIA;
        const int page = NEWDIA + 1;
        a.surface->text({0, 0}, std::to_string(page));
        NEWDIA = page < pages ? page : 0;
        return NEWDIA;
    }
};

// The pages lettered on a surface, in order.
std::string drawn(const RecordingSurface& s) {
    std::string t;
    for (const auto& op : s.of(RecordingSurface::Kind::Text)) t += op.text;
    return t;
}

TEST(QtWindow, EveryPaintOfAWindowDrawsItsOwnPageWhereverTheJobStands) {
    Job job;
    PagedModel model;
    job.run_page = [&](Job& j, const shell::PaintArgs& a) { return model(j, a); };
    auto paint = [&] {
        RecordingSurface s(100, 100);
        shell::qt::PAINTPAGE(job, s, 100, 100, 1, shell::qt::HDC_WINDOW);
        return drawn(s);
    };

    // Window 1: its first paint draws page 1; a repaint draws page 1 again, not page 2.
    EXPECT_EQ(paint(), "1");
    EXPECT_EQ(job.repeat, 1);
    EXPECT_EQ(paint(), "1");
    EXPECT_EQ(job.repeat, 1);
    EXPECT_EQ(model.runs, 2);

    // Window 2 takes up the job where window 1 left it; a repaint runs page 1 onto no surface
    // and draws page 2 again.
    job.page = 0;
    EXPECT_EQ(paint(), "2");
    EXPECT_EQ(paint(), "2");
    EXPECT_EQ(job.repeat, 2);
    EXPECT_EQ(model.runs, 5);

    // Window 3 shows the last page; its repaints start the job over to come back to it.
    job.page = 0;
    EXPECT_EQ(paint(), "3");
    EXPECT_EQ(job.repeat, 0);
    EXPECT_EQ(paint(), "3");
    EXPECT_EQ(job.repeat, 0);

    // The deck changes to a job of two pages: window 3 shows that job's last page, and closing
    // it ends the process.
    shell::qt::deck_changed(job);
    model.pages = 2;
    EXPECT_EQ(paint(), "2");
    EXPECT_EQ(job.repeat, 0);
    EXPECT_EQ(job.page, 2);

    // The deck changes to a job of three pages again: the window, now page 2, stays on it.
    shell::qt::deck_changed(job);
    model.pages = 3;
    EXPECT_EQ(paint(), "2");
    EXPECT_EQ(job.repeat, 2);

    // Nothing is run while a page is drawn already.
    const int runs = model.runs;
    job.painting = true;
    EXPECT_EQ(paint(), "");
    EXPECT_EQ(model.runs, runs);
    job.painting = false;
}

// The screen within the window's client area.
QImage on_screen(const PlotWindow& w) {
    const QRect client(w.mapToGlobal(QPoint(0, 0)), w.size());
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(client).convertToFormat(
        QImage::Format_RGB32);
}

// The page-mark box at the lower left of a page: 25 pixels wide after a page that reports a
// further one, 30 after the last page.
int page_mark_width(const QImage& img) {
    const QRect ink = qt_test::bbox(img, QRect(0, img.height() - 25, 40, 25), qt_test::is_ink);
    return ink.isEmpty() ? 0 : ink.width();
}

void expect_page(const QImage& img, const char* which) {
    SCOPED_TRACE(which);
    const int h = img.height();
    // The page-number box at the lower left: dark outline, red number inside.
    EXPECT_FALSE(qt_test::bbox(img, QRect(0, h - 25, 25, 25), qt_test::is_red).isEmpty());
    EXPECT_TRUE(qt_test::is_dark(img.pixel(0, h - 12)));
    // Diagrams in the plot area, on a white window.
    EXPECT_FALSE(qt_test::bbox(img, QRect(40, 0, img.width() - 40, h - 40), qt_test::is_ink).isEmpty());
    int white = 0;
    for (int y = 0; y < h; y += 7)
        for (int x = 0; x < img.width(); x += 7) white += qt_test::is_white(img.pixel(x, y));
    EXPECT_GT(white, (h / 7) * (img.width() / 7) * 8 / 10);
}

TEST(QtWindow, EachPageOfTheJobGetsItsOwnWindowAndTheLastCloseEndsTheJob) {
    if (!qt_test::on_x_display()) GTEST_SKIP() << "no X display (the test script runs this under xvfb-run)";
    const fs::path dir = qt_test::job_dir("multi_run.dat", "windows");
    struct Seen {
        int HWND, repeat, mark;
        QSize size;
    };
    std::vector<Seen> seen;
    const int code = shell::qt::run_window(dir, [&](Job& job, PlotWindow& w) {
        w.after_paint = [&seen, &job](PlotWindow& pw) {
            // The window is looked at once its paint is on the screen.
            QTimer::singleShot(100, &pw, [&seen, &job, &pw] {
                const QImage img = on_screen(pw);
                expect_page(img, pw.HWND() == 1 ? "first window" : "second window");
                seen.push_back({pw.HWND(), job.repeat, page_mark_width(img), pw.size()});
                // Window 1 is painted a second time before it is closed.
                if (pw.HWND() == 1 && pw.paints() == 1) pw.repaint();
                else pw.close();
            });
        };
    });
    EXPECT_EQ(code, 0);
    ASSERT_EQ(seen.size(), 3u);
    // Window 1 shows page 1 at both paints, window 2 the job's last page.
    EXPECT_EQ(seen[0].HWND, 1);
    EXPECT_GT(seen[0].repeat, 0);
    EXPECT_EQ(seen[0].mark, 25);
    EXPECT_EQ(seen[1].HWND, 1);
    EXPECT_EQ(seen[1].repeat, seen[0].repeat);
    EXPECT_EQ(seen[1].mark, 25);
    EXPECT_EQ(seen[2].HWND, 2);
    EXPECT_EQ(seen[2].repeat, 0);
    EXPECT_EQ(seen[2].mark, 30);
    EXPECT_EQ(seen[0].size, QSize(1008, 700));

    // The header line is written once per process, not once per window.
    std::ifstream f06(dir / "KORVEX.F06");
    std::string line;
    int headers = 0;
    while (std::getline(f06, line)) headers += line.find(" gerechnet am:") != std::string::npos;
    EXPECT_EQ(headers, 1);
    fs::remove_all(dir);
}

runtime::DateTime april_8_2005() { return {2005, 4, 8, 14, 5, 0, 0}; }

// The page of the deck in dir, drawn as the window draws it, onto an image of the given size.
QImage page_of(const fs::path& dir, QSize size) {
    Job job;
    job.shell.job_dir = dir;
    job.program->clock = april_8_2005;
    shell::PLOTIW(*job.program, job.shell, 1, job.caption);
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    shell::qt::QtSurface surface(painter, size.width(), size.height());
    shell::qt::PAINTPAGE(job, surface, size.width(), size.height(), 1, shell::qt::HDC_WINDOW);
    return img;
}

int pixels_differing(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

TEST(QtWindow, TheWindowShowsTheNewJobWhenItsDeckIsReplacedOrBroken) {
    if (!qt_test::on_x_display()) GTEST_SKIP() << "no X display (the test script runs this under xvfb-run)";
    const fs::path dir = qt_test::job_dir("sample.dat", "live");
    const fs::path deck = dir / "KORVEX.DAT";
    const std::string sample = qt_test::slurp(deck);
    std::string hotter = sample;
    const auto at = hotter.find("TH=900.0");
    ASSERT_NE(at, std::string::npos);
    hotter.replace(at, 8, "TH=600.0");
    const std::string bad = "AUSGABE: TIME=abc\nSTOP\n";
    // The same decks in directories of their own, for the pages they draw.
    for (const auto& [name, text] : {std::pair{"before", sample}, {"after", hotter}, {"broken", bad}}) {
        fs::create_directory(dir / name);
        qt_test::spit(dir / name / "KORVEX.DAT", text);
    }

    QImage first, second, broken;
    int repeat_broken = -1;
    const int code = shell::qt::run_window(dir, [&](Job& job, PlotWindow& w) {
        job.program->clock = april_8_2005;
        w.after_paint = [&](PlotWindow& pw) {
            QTimer::singleShot(100, &pw, [&] {
                // Which job the paint drew, the listing says (it is flushed at every job's end).
                const std::string f06 = qt_test::slurp(dir / "KORVEX.F06");
                if (first.isNull()) {
                    first = on_screen(pw);
                    // An editor saves by writing a new file and renaming it over the deck.
                    qt_test::spit(dir / "KORVEX.DAT.new", hotter);
                    fs::rename(dir / "KORVEX.DAT.new", deck);
                } else if (second.isNull() && f06.find("TE1_MAX=  600.00") != std::string::npos) {
                    second = on_screen(pw);
                    // Then the deck is written over in place, with a line the readers refuse.
                    qt_test::spit(deck, bad);
                } else if (!second.isNull() && broken.isNull() && f06.find("Programm STOP") != std::string::npos) {
                    broken = on_screen(pw);
                    repeat_broken = job.repeat;
                    pw.close();
                }
            });
        };
        // A window that does not follow its deck is closed after a while.
        QTimer::singleShot(15000, &w, [&w] { w.close(); });
    });
    EXPECT_EQ(code, 0);
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(second.isNull()) << "no repaint after the deck was replaced";
    ASSERT_FALSE(broken.isNull()) << "no repaint after the deck was written over";

    // The listing gets the new job with its heater temperature, then the input error.
    const std::string f06 = qt_test::slurp(dir / "KORVEX.F06");
    const auto hot = f06.find("TE1_MAX=  600.00");
    EXPECT_LT(f06.find("TE1_MAX=  900.00"), hot);
    EXPECT_NE(f06.find("FEHLER in der Eingabe ZEILE 1; Programm STOP", hot), std::string::npos);
    EXPECT_EQ(repeat_broken, 0);

    // On the screen: the page of each deck, as that deck draws it onto an image.
    EXPECT_EQ(pixels_differing(first, page_of(dir / "before", first.size())), 0);
    EXPECT_EQ(pixels_differing(second, page_of(dir / "after", second.size())), 0);
    EXPECT_EQ(pixels_differing(broken, page_of(dir / "broken", broken.size())), 0);
    EXPECT_GT(pixels_differing(first, second), 1000);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace korvex
