// Saving the page a window shows: the same file as batch mode's page, for each window of a job;
// the command's file dialog and its message when the page cannot be saved.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

#include "runtime/clock.hpp"
#include "shell/qt/qt_surface.hpp"
#include "shell/qt/save.hpp"
#include "shell/qt/window.hpp"
#include "tests/qt/qt_support.hpp"

namespace korvex {
namespace {

namespace fs = std::filesystem;
using qt_test::slurp;
using shell::qt::Job;

// One paint of the window's page onto an image of the window's size.
void paint_window(Job& job) {
    QImage img(1008, 700, QImage::Format_RGB32);
    QPainter painter(&img);
    shell::qt::QtSurface surface(painter, img.width(), img.height());
    shell::qt::PAINTPAGE(job, surface, img.width(), img.height(), 1, shell::qt::HDC_WINDOW);
}

bool same_image(const fs::path& a, const fs::path& b) {
    const QImage x(QString::fromStdString(a.string())), y(QString::fromStdString(b.string()));
    return !x.isNull() && x.convertToFormat(QImage::Format_RGB32) == y.convertToFormat(QImage::Format_RGB32);
}

TEST(QtSave, EachWindowSavesItsOwnPageAsBatchModeWritesIt) {
    const fs::path dir = qt_test::job_dir("multi_run.dat", "save");
    const fs::path batch = dir / "batch";
    fs::create_directory(batch);
    fs::copy_file(dir / "KORVEX.DAT", batch / "KORVEX.DAT");

    // The pages carry the time of the job to the minute: a pass that straddles a minute's end
    // is done again.
    for (int pass = 0; pass < 2; ++pass) {
        const std::string minute = runtime::date_stamp(runtime::system_now());
        ASSERT_EQ(qt_test::run_batch(batch, "svg"), 0);
        ASSERT_EQ(qt_test::run_batch(batch, "png"), 0);

        Job job;
        job.shell.job_dir = dir;
        shell::PLOTIW(*job.program, job.shell, 1, job.caption);
        // Window 1 has drawn page 1, and the job stands at page 2 since.
        paint_window(job);
        ASSERT_GT(job.repeat, 0);
        EXPECT_EQ(shell::qt::save_page(job, dir / "w1.svg", 1008, 700, 1), "");
        EXPECT_EQ(shell::qt::save_page(job, dir / "w1.PNG", 1008, 700, 1), "");
        EXPECT_EQ(shell::qt::save_page(job, dir / "w1.pdf", 1008, 700, 1), "");
        EXPECT_GT(job.repeat, 0);  // closing the window still opens page 2
        // Window 2.
        job.page = 0;
        paint_window(job);
        EXPECT_EQ(job.repeat, 0);
        EXPECT_EQ(shell::qt::save_page(job, dir / "w2.svg", 1008, 700, 2), "");
        if (runtime::date_stamp(runtime::system_now()) != minute) continue;

        EXPECT_EQ(slurp(dir / "w1.svg"), slurp(batch / "KORVEX-1.svg"));
        EXPECT_EQ(slurp(dir / "w2.svg"), slurp(batch / "KORVEX-2.svg"));
        EXPECT_NE(slurp(dir / "w1.svg"), slurp(dir / "w2.svg"));
        EXPECT_TRUE(same_image(dir / "w1.PNG", batch / "KORVEX-1.png"));
        const std::string pdf = slurp(dir / "w1.pdf");
        EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
        EXPECT_NE(pdf.find("/MediaBox [0 0 1008"), std::string::npos);

        // What cannot be saved is said: an ending of no page kind, a file that cannot be written.
        EXPECT_NE(shell::qt::save_page(job, dir / "page.gif", 1008, 700, 2).find(".svg, .png or .pdf"),
                  std::string::npos);
        const fs::path nowhere = dir / "no such dir" / "page.svg";
        EXPECT_NE(shell::qt::save_page(job, nowhere, 1008, 700, 2).find(nowhere.string()), std::string::npos);
        EXPECT_FALSE(fs::exists(dir / "page.gif"));
        break;
    }
    fs::remove_all(dir);
}

// Answers the save dialog with a file name as soon as the dialog is up.
void answer_save_dialog(const QString& name) {
    QTimer::singleShot(10, [name] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg) return answer_save_dialog(name);
        dlg->selectFile(name);
        QMetaObject::invokeMethod(dlg, "accept");
    });
}

// Notes the text of the next message box and closes it.
void answer_message_box(QString& text) {
    QTimer::singleShot(10, [&text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return answer_message_box(text);
        text = box->text();
        box->accept();
    });
}

TEST(QtSave, TheCommandNamesThePageByItsKindAndSaysWhenItCannotSaveIt) {
    const fs::path dir = qt_test::job_dir("sample.dat", "save_command");
    Job job;
    job.shell.job_dir = dir;
    shell::PLOTIW(*job.program, job.shell, 1, job.caption);
    shell::qt::PrintState ps;
    shell::qt::PlotWindow w(job, ps, 1);

    // A name without an ending gets that of the kind chosen, SVG unless another is.
    answer_save_dialog(QString::fromStdString((dir / "page").string()));
    w.save_command();
    const std::string svg = slurp(dir / "page.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("width=\"1008\" height=\"700\""), std::string::npos);

    QString said;
    answer_save_dialog(QString::fromStdString((dir / "page.gif").string()));
    answer_message_box(said);
    w.save_command();
    EXPECT_TRUE(said.contains(QLatin1String(".svg, .png or .pdf"))) << said.toStdString();
    EXPECT_FALSE(fs::exists(dir / "page.gif"));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace korvex
