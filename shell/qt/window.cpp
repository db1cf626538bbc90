#include "shell/qt/window.hpp"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <unistd.h>

#include "shell/core/cli.hpp"
#include "shell/qt/qt_surface.hpp"

namespace korvex::shell::qt {

PlotWindow::PlotWindow(Job& job, PrintState& print, int HWND)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      job_(job), print_(print), HWND_(HWND) {
    setWindowTitle(QString::fromLatin1(job.caption.data(), static_cast<qsizetype>(job.caption.size())));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    setGeometry(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    print_action_ = new QAction(QString::fromLatin1(PRINT_ENTRY), this);
    print_action_->setShortcut(QKeySequence::Print);
    print_action_->setShortcutContext(Qt::WindowShortcut);
    connect(print_action_, &QAction::triggered, this, [this] { print_command(); });
    addAction(print_action_);
}

void PlotWindow::paintEvent(QPaintEvent*) {
    if (job_.painting) {
        // The model is drawing the printer's page and pumps events meanwhile: it must not be
        // entered again. The window is painted once that page is done.
        if (!repaint_pending_) {
            repaint_pending_ = true;
            QTimer::singleShot(0, this, [this] {
                repaint_pending_ = false;
                update();
            });
        }
        return;
    }
    QPainter painter(this);
    QtSurface surface(painter, width(), height());
    try {
        PAINTPAGE(job_, surface, width(), height(), HWND_, HDC_WINDOW);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvex: internal error: %s\n", e.what());
    }
    painter.end();
    ++paints_;
    if (after_paint) after_paint(*this);
}

void PlotWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(print_action_);
    menu.exec(event->globalPos());
}

void PlotWindow::print_command() {
    if (job_.painting || !isEnabled()) return;
    if (PRINTPAGE(job_, print_, this) != 0)
        QMessageBox::warning(this, QString::fromUtf8(PRINT_CAPTION), QString::fromUtf8(PRINT_FAILED_TEXT));
}

void PlotWindow::closeEvent(QCloseEvent* event) {
    // While the printer's page is drawn the window stays: its job is still running.
    if (job_.painting) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::exit(0);
}

namespace {

// Test hook: with KORVEX_TEST_CONTROL set, every paint reports "painted HWND X Y W H REPEAT"
// (the client area on the screen) on standard output, and a line "close" on standard input
// closes the window. Not for users: it lets a test see the window and end it without a mouse.
struct TestControl {
    PlotWindow* window = nullptr;
    std::unique_ptr<QSocketNotifier> notifier;
    std::string pending;

    void attach(PlotWindow& w, int HWND, Job& job) {
        window = &w;
        w.after_paint = [HWND, &job](PlotWindow& pw) {
            const QPoint at = pw.mapToGlobal(QPoint(0, 0));
            std::printf("painted %d %d %d %d %d %d\n", HWND, at.x(), at.y(), pw.width(), pw.height(), job.repeat);
            std::fflush(stdout);
        };
    }
    void listen() {
        notifier = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this] {
            char buf[256];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0) {
                notifier->setEnabled(false);
                return;
            }
            pending.append(buf, static_cast<std::size_t>(n));
            std::size_t nl;
            while ((nl = pending.find('\n')) != std::string::npos) {
                const std::string cmd = pending.substr(0, nl);
                pending.erase(0, nl + 1);
                if (cmd == "close" && window) window->close();
            }
        });
    }
};

}  // namespace

int run_window(const std::filesystem::path& dir) {
    if (!QGuiApplication::instance()) return EXIT_USAGE;
    Job job;
    job.shell.job_dir = dir;
    PrintState print;
    TestControl control;
    const bool test_control = std::getenv("KORVEX_TEST_CONTROL") != nullptr;
    if (test_control) control.listen();
    QApplication::setQuitOnLastWindowClosed(false);

    int code = 0;
    for (int HWND = 1;; ++HWND) {
        job.caption.assign(CAPTION_INITIAL);
        if (PLOTIW(*job.program, job.shell, 1, job.caption) == PLOTIW_OPEN_FAILED) {
            std::fprintf(stderr, "korvex: cannot open %s\n", job.shell.open_failure.c_str());
            return EXIT_USAGE;
        }
        {
            PlotWindow window(job, print, HWND);
            if (test_control) control.attach(window, HWND, job);
            window.showMaximized();
            code = QApplication::exec();
            control.window = nullptr;
        }
        if (job.repeat <= 0) break;
    }
    job.program->units.flush();
    return code;
}

}  // namespace korvex::shell::qt
