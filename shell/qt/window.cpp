#include "shell/qt/window.hpp"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <string>

#include "shell/core/cli.hpp"
#include "shell/qt/live_deck.hpp"
#include "shell/qt/qt_surface.hpp"
#include "shell/qt/save.hpp"

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
    resize(CLIENT_WIDTH, CLIENT_HEIGHT);
    move(0, 0);
    print_action_ = new QAction(QString::fromLatin1(PRINT_ENTRY), this);
    print_action_->setShortcut(QKeySequence::Print);
    print_action_->setShortcutContext(Qt::WindowShortcut);
    connect(print_action_, &QAction::triggered, this, [this] { print_command(); });
    addAction(print_action_);
    save_action_ = new QAction(QString::fromLatin1(SAVE_ENTRY), this);
    save_action_->setShortcut(QKeySequence::Save);
    save_action_->setShortcutContext(Qt::WindowShortcut);
    connect(save_action_, &QAction::triggered, this, [this] { save_command(); });
    addAction(save_action_);
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
    menu.addAction(save_action_);
    menu.exec(event->globalPos());
}

void PlotWindow::print_command() {
    if (job_.painting || !isEnabled()) return;
    if (PRINTPAGE(job_, print_, this) != 0)
        QMessageBox::warning(this, QString::fromUtf8(PRINT_CAPTION), QString::fromUtf8(PRINT_FAILED_TEXT));
}

void PlotWindow::save_command() {
    if (job_.painting || !isEnabled()) return;
    const int page = job_.page > 0 ? job_.page : job_.next_page;
    const QString dir = QFileInfo(QString::fromStdString(job_.shell.job_dir.string())).absoluteFilePath();
    QFileDialog dialog(this, QString::fromLatin1(SAVE_ENTRY), dir);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The kind is chosen by the file name's ending; a name without one gets that of the filter.
    const QStringList kinds{QStringLiteral("svg"), QStringLiteral("png"), QStringLiteral("pdf")};
    const QStringList filters{QStringLiteral("SVG page (*.svg)"), QStringLiteral("PNG image (*.png)"),
                              QStringLiteral("PDF document (*.pdf)")};
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(kinds[0]);
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& f) {
        const auto i = filters.indexOf(f);
        if (i >= 0) dialog.setDefaultSuffix(kinds[i]);
    });
    dialog.selectFile(QStringLiteral("KORVEX-%1.svg").arg(page));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::filesystem::path file = dialog.selectedFiles().first().toStdString();
    const std::string problem = save_page(job_, file, width(), height(), HWND_);
    if (!problem.empty())
        QMessageBox::warning(this, QString::fromLatin1(SAVE_CAPTION), QString::fromStdString(problem));
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

int run_window(const std::filesystem::path& dir, const WindowOpened& opened, bool study) {
    if (!QGuiApplication::instance()) return EXIT_USAGE;
    Job job;
    job.shell.job_dir = dir;
    job.study = study;
    PrintState print;
    QApplication::setQuitOnLastWindowClosed(false);

    PlotWindow* shown = nullptr;
    const DeckWatcher live(dir / NAME_DAT, [&] {
        if (job.painting) return false;  // a page is being drawn from the deck as it was
        deck_changed(job);
        if (shown) shown->update();
        return true;
    });

    int code = 0;
    for (int HWND = 1;; ++HWND) {
        job.caption.assign(CAPTION_INITIAL);
        if (PLOTIW(*job.program, job.shell, 1, job.caption) == PLOTIW_OPEN_FAILED) {
            std::fprintf(stderr, "korvex: cannot open %s\n", job.shell.open_failure.c_str());
            return EXIT_USAGE;
        }
        {
            PlotWindow window(job, print, HWND);
            job.page = 0;  // the new window shows the page its first paint draws
            shown = &window;
            if (opened) opened(job, window);
            window.show();
            code = QApplication::exec();
            shown = nullptr;
        }
        if (job.repeat <= 0) break;
    }
    job.program->units.flush();
    return code;
}

}  // namespace korvex::shell::qt
