// Printing: the page drawn by the model onto a printer, here a PDF file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "shell/qt/print.hpp"
#include "shell/qt/qt_surface.hpp"
#include "tests/qt/qt_support.hpp"

namespace korvex {
namespace {

namespace fs = std::filesystem;
using shell::qt::Job;
using shell::qt::PrintOutcome;
using shell::qt::PrintState;

constexpr int DPI = 600;

void pdf_printer(QPrinter& printer, const fs::path& file) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file.string()));
    printer.setResolution(DPI);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
}

TEST(QtPrint, ThePageIsDrawnAtThePrintersResolutionWithItsBoxAtTheLowerLeft) {
    const fs::path dir = qt_test::job_dir("sample.dat", "print");
    Job job;
    job.shell.job_dir = dir;
    PrintState ps;
    QWidget main;
    QPrinter printer(QPrinter::HighResolution);
    pdf_printer(printer, dir / "page.pdf");
    job.repeat = 7;

    ASSERT_EQ(shell::qt::print_page_on(printer, job, ps, &main), PrintOutcome::printed);
    // A4 landscape less 10 mm on each side: 277 x 190 mm at 600 dots per inch, within the half
    // millimetre that the sheet's size in points rounds away.
    const int w = static_cast<int>(277.0 / 25.4 * DPI), h = static_cast<int>(190.0 / 25.4 * DPI);
    EXPECT_NEAR(job.program->device.ISIZEX, w, 12);
    EXPECT_NEAR(job.program->device.ISIZEY, h, 12);
    EXPECT_EQ(job.repeat, 0);  // the paint's result, the job's last page
    EXPECT_TRUE(main.isEnabled());
    EXPECT_TRUE(ps.cancel_dialog.isNull());
    ASSERT_TRUE(fs::exists(dir / "page.pdf"));

    if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed: the printed sheet is not looked at";
    // The sheet at 100 dots per inch: 1169 x 827 pixels, the printable page from 39 pixels in.
    const fs::path stem = dir / "sheet";
    const std::string cmd = "pdftoppm -r 100 -png -singlefile '" + (dir / "page.pdf").string() + "' '" +
                            stem.string() + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    QImage sheet(QString::fromStdString(stem.string() + ".png"));
    ASSERT_FALSE(sheet.isNull());
    EXPECT_NEAR(sheet.width(), 1169, 2);
    EXPECT_NEAR(sheet.height(), 827, 2);
    const int margin = static_cast<int>(10.0 / 25.4 * 100);  // 39
    const QRect printable(margin, margin, sheet.width() - 2 * margin, sheet.height() - 2 * margin);

    // The box of 30 x 25 printer pixels (5 x 4 pixels here) with the red "999" sits in the lower
    // left corner of the printable page.
    const QRect corner(printable.left(), printable.bottom() - 12, 12, 13);
    const QRect red = qt_test::bbox(sheet, corner, qt_test::is_red);
    EXPECT_FALSE(red.isEmpty());
    const QRect ink = qt_test::bbox(sheet, corner, qt_test::is_ink);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LE(ink.left(), printable.left() + 1);
    EXPECT_GE(ink.bottom(), printable.bottom() - 1);
    // The diagrams fill the page as they fill the window: they reach well past the middle of the
    // sheet, where a page of window pixels at 600 dpi would end after a fifth of its width.
    const QRect all = qt_test::bbox(sheet, printable, qt_test::is_ink);
    EXPECT_GT(all.right() - printable.left(), printable.width() / 2);
    EXPECT_LT(all.top() - printable.top(), printable.height() / 10);
    fs::remove_all(dir);
}

// The text of a PDF file (the page-number label is the only text of a page).
std::string pdf_text(const fs::path& pdf) {
    const fs::path txt = pdf.string() + ".txt";
    const std::string cmd = "pdftotext '" + pdf.string() + "' '" + txt.string() + "'";
    if (std::system(cmd.c_str()) != 0) return "(pdftotext failed)";
    std::string t = qt_test::slurp(txt);
    t.erase(std::remove_if(t.begin(), t.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); }),
            t.end());
    return t;
}

TEST(QtPrint, TheFirstWindowOfAJobOfTwoPagesPrintsPageOne) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: the printed page is not read";
    const fs::path dir = qt_test::job_dir("multi_run.dat", "print_pages");
    Job job;
    job.shell.job_dir = dir;
    shell::PLOTIW(*job.program, job.shell, 1, job.caption);
    PrintState ps;
    QWidget main;
    {
        // Window 1 shows page 1, whose label is the number of the page that follows.
        QImage img(1008, 700, QImage::Format_RGB32);
        QPainter pa(&img);
        shell::qt::QtSurface s(pa, img.width(), img.height());
        shell::qt::PAINTPAGE(job, s, img.width(), img.height(), 1, shell::qt::HDC_WINDOW);
    }
    const int further = job.repeat;
    ASSERT_GT(further, 0);
    QPrinter first(QPrinter::HighResolution);
    pdf_printer(first, dir / "first.pdf");
    ASSERT_EQ(shell::qt::print_page_on(first, job, ps, &main), PrintOutcome::printed);
    EXPECT_EQ(pdf_text(dir / "first.pdf"), std::to_string(further));
    // The window still stands at page 1: closing it opens page 2.
    EXPECT_EQ(job.repeat, further);
    fs::remove_all(dir);
}

TEST(QtPrint, ARefusedDocumentIsAFailureAndGivesTheWindowBack) {
    const fs::path dir = qt_test::job_dir("sample.dat", "refused");
    Job job;
    job.shell.job_dir = dir;
    int runs = 0;
    job.run_page = [&](Job&, const shell::PaintArgs&) { return ++runs; };
    PrintState ps;
    QWidget main;
    QPrinter printer(QPrinter::HighResolution);
    pdf_printer(printer, dir / "no such dir" / "page.pdf");
    EXPECT_EQ(shell::qt::print_page_on(printer, job, ps, &main), PrintOutcome::refused);
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(main.isEnabled());
    EXPECT_TRUE(ps.cancel_dialog.isNull());
    fs::remove_all(dir);
}

TEST(QtPrint, CancelStopsThePageAndWhileItIsDrawnNothingEntersTheModelAgain) {
    const fs::path dir = qt_test::job_dir("sample.dat", "cancel");
    Job job;
    job.shell.job_dir = dir;
    PrintState ps;
    QWidget main;
    int runs = 0;
    bool disabled_meanwhile = false, dialog_meanwhile = false;
    PrintOutcome nested = PrintOutcome::printed;
    QPrinter printer(QPrinter::HighResolution);
    pdf_printer(printer, dir / "page.pdf");
    job.run_page = [&](Job& j, const shell::PaintArgs& a) {
        ++runs;
        disabled_meanwhile = !main.isEnabled();
        dialog_meanwhile = !ps.cancel_dialog.isNull() && ps.cancel_dialog->isVisible() &&
                           ps.cancel_dialog->objectName() == QLatin1String("PrintDlgBox");
        // A second print or a paint asked for meanwhile must not run the model inside this one.
        QPrinter other(QPrinter::HighResolution);
        pdf_printer(other, dir / "other.pdf");
        nested = shell::qt::print_page_on(other, j, ps, nullptr);
        QImage img(10, 10, QImage::Format_RGB32);
        QPainter pa(&img);
        shell::qt::QtSurface s(pa, 10, 10);
        shell::qt::PAINTPAGE(j, s, 10, 10, 1, shell::qt::HDC_WINDOW);
        // The user presses the cancel button; the strokes after it are not drawn.
        if (ps.cancel_button) ps.cancel_button->click();
        for (int i = 0; i < 2 * shell::qt::QtSurface::CHECK_EVERY; ++i) a.surface->line_to({i, i});
        return 3;
    };
    EXPECT_EQ(shell::qt::print_page_on(printer, job, ps, &main), PrintOutcome::aborted);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(disabled_meanwhile);
    EXPECT_TRUE(dialog_meanwhile);
    EXPECT_EQ(nested, PrintOutcome::refused);
    EXPECT_EQ(job.repeat, 3);
    EXPECT_TRUE(main.isEnabled());
    EXPECT_TRUE(ps.cancel_dialog.isNull());
    EXPECT_FALSE(job.painting);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace korvex

namespace korvex {
namespace {

// Answers the print dialog as soon as it is up: accept or cancel.
void answer_print_dialog(bool accept) {
    QTimer::singleShot(0, [accept] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg) {
            answer_print_dialog(accept);
            return;
        }
        if (accept) dlg->accept();
        else dlg->reject();
    });
}

TEST(QtPrint, TheCommandPrintsThroughTheDialogKeepsItsPrinterAndACancelIsAFailure) {
    const fs::path dir = qt_test::job_dir("sample.dat", "command");
    Job job;
    job.shell.job_dir = dir;
    int runs = 0;
    job.run_page = [&](Job&, const shell::PaintArgs& a) {
        ++runs;
        a.surface->line_to({a.ISIZEX / 2, a.ISIZEY / 2});
        return 0;
    };
    PrintState ps;
    ps.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdf_printer(*ps.printer, dir / "page.pdf");
    QPrinter* const chosen = ps.printer.get();
    QWidget main;

    answer_print_dialog(false);
    EXPECT_EQ(shell::qt::PRINTPAGE(job, ps, &main), 1);
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(fs::exists(dir / "page.pdf"));

    answer_print_dialog(true);
    EXPECT_EQ(shell::qt::PRINTPAGE(job, ps, &main), 0);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(fs::exists(dir / "page.pdf"));
    EXPECT_EQ(ps.printer.get(), chosen);
    EXPECT_EQ(ps.printer->resolution(), DPI);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace korvex
