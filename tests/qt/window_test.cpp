// The diagram window: caption, page and print entry in process; the korvex program's windows on
// the X display, one after the other, until the job's last page.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QThread>

#include "shell/qt/window.hpp"
#include "tests/qt/qt_support.hpp"

namespace korvex {
namespace {

namespace fs = std::filesystem;
using shell::qt::Job;
using shell::qt::PlotWindow;
using shell::qt::PrintState;

void pump_until(const std::function<bool()>& done, int max_ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < max_ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
}

TEST(QtWindow, ShowsTheCaptionPaintsTheModelOntoItsClientAreaAndOffersPrint) {
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

    bool print_entry = false;
    for (QAction* a : w.actions())
        if (a->text() == QLatin1String("&Print") && a->shortcut() == QKeySequence(QKeySequence::Print))
            print_entry = true;
    EXPECT_TRUE(print_entry);

    // While a page is drawn (a print pumping events) the window refuses to close.
    job.painting = true;
    QCloseEvent ev;
    QCoreApplication::sendEvent(&w, &ev);
    EXPECT_FALSE(ev.isAccepted());
    job.painting = false;
    fs::remove_all(dir);
}

// The korvex program under test control: it reports each paint and closes on "close".
struct Korvex {
    QProcess proc;
    std::string out;

    explicit Korvex(const fs::path& dir) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KORVEX_TEST_CONTROL"), QStringLiteral("1"));
        proc.setProcessEnvironment(env);
        proc.start(QString::fromLatin1(KORVEX_BINARY), {QString::fromStdString(dir.string())});
    }
    ~Korvex() {
        if (proc.state() != QProcess::NotRunning) {
            proc.kill();
            proc.waitForFinished(5000);
        }
    }
    // The next "painted" report: window number, client rectangle on the screen, repeat value.
    bool painted(int& hwnd, QRect& client, int& repeat) {
        QElapsedTimer t;
        t.start();
        for (;;) {
            const auto nl = out.find('\n');
            if (nl != std::string::npos) {
                const std::string line = out.substr(0, nl);
                out.erase(0, nl + 1);
                int x, y, w, h;
                if (std::sscanf(line.c_str(), "painted %d %d %d %d %d %d", &hwnd, &x, &y, &w, &h, &repeat) == 6) {
                    client = QRect(x, y, w, h);
                    return true;
                }
                continue;
            }
            if (t.elapsed() > 60000 || proc.state() == QProcess::NotRunning) return false;
            proc.waitForReadyRead(200);
            out += proc.readAllStandardOutput().toStdString();
        }
    }
    void close() {
        proc.write("close\n");
        proc.waitForBytesWritten(2000);
    }
};

// The screen until the page-number box of the window's page has come through.
QImage page_on_screen(const QRect& client) {
    QImage img;
    QElapsedTimer t;
    t.start();
    do {
        img = QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(client);
        const QRect box(0, client.height() - 25, 25, 25);
        if (!qt_test::bbox(img, box, qt_test::is_red).isEmpty()) break;
        QThread::msleep(50);
    } while (t.elapsed() < 5000);
    return img;
}

void expect_page(const QImage& img, const char* which) {
    SCOPED_TRACE(which);
    const int h = img.height();
    // The page-number box at the lower left: black outline, red number inside.
    EXPECT_FALSE(qt_test::bbox(img, QRect(0, h - 25, 25, 25), qt_test::is_red).isEmpty());
    EXPECT_TRUE(qt_test::is_dark(img.pixel(0, h - 12)));
    // Diagrams in the plot area, on a white window.
    EXPECT_FALSE(qt_test::bbox(img, QRect(40, 0, img.width() - 40, h - 40), qt_test::is_ink).isEmpty());
    int white = 0;
    for (int y = 0; y < h; y += 7)
        for (int x = 0; x < img.width(); x += 7) white += qt_test::is_white(img.pixel(x, y));
    EXPECT_GT(white, (h / 7) * (img.width() / 7) * 8 / 10);
}

TEST(QtWindow, EachPageOfTheJobGetsItsOwnWindowAndTheLastCloseEndsTheProcess) {
    if (!qt_test::on_x_display()) GTEST_SKIP() << "no X display (the test script runs this under xvfb-run)";
    const fs::path dir = qt_test::job_dir("multi_run.dat", "windows");
    Korvex k(dir);
    ASSERT_TRUE(k.proc.waitForStarted(10000));

    int hwnd = 0, repeat = 0;
    QRect client;
    ASSERT_TRUE(k.painted(hwnd, client, repeat)) << k.proc.readAllStandardError().toStdString();
    EXPECT_EQ(hwnd, 1);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(client));
    expect_page(page_on_screen(client), "first window");
    const int first_repeat = repeat;

    if (first_repeat > 0) {
        // The next window continues the job with its last page.
        while (hwnd == 1) {
            k.close();
            ASSERT_TRUE(k.painted(hwnd, client, repeat));
        }
        EXPECT_EQ(hwnd, 2);
        EXPECT_EQ(repeat, 0);
        expect_page(page_on_screen(client), "second window");
    }
    k.close();
    ASSERT_TRUE(k.proc.waitForFinished(20000));
    EXPECT_EQ(k.proc.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(k.proc.exitCode(), 0);
    // The header line is written once per process, not once per window.
    std::ifstream f06(dir / "KORVEX.F06");
    std::string line;
    int headers = 0;
    while (std::getline(f06, line)) headers += line.find(" gerechnet am:") != std::string::npos;
    EXPECT_EQ(headers, 1);
    fs::remove_all(dir);
    if (first_repeat <= 0) GTEST_SKIP() << "the job of examples/multi_run.dat has one page only";
}

}  // namespace
}  // namespace korvex
