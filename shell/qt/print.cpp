#include "shell/qt/print.hpp"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/qt/qt_surface.hpp"

namespace korvex::shell::qt {

namespace {

// The cancel dialog: one button that cancels, no close entry, and no escape key that would
// close it without cancelling.
class CancelDialog final : public QDialog {
public:
    explicit CancelDialog(QWidget* owner)
        : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
        setObjectName(QString::fromLatin1(CANCEL_DIALOG_NAME));
        setWindowTitle(QString::fromUtf8(PRINT_CAPTION));
        setModal(false);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QString::fromUtf8(PRINT_DOC_NAME), this));
        button = new QPushButton(QStringLiteral("Cancel"), this);
        layout->addWidget(button);
    }
    void reject() override {}
    QPushButton* button = nullptr;
};

// While the user has not cancelled: hand the waiting events out, so that the cancel button
// (and a repaint of anything uncovered) is served while the page is drawn. False once cancelled.
bool ABORTPROC(PrintState& ps) {
    if (!ps.user_abort) QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !ps.user_abort;
}

}  // namespace

PrintOutcome print_page_on(QPrinter& printer, Job& job, PrintState& ps, QWidget* main) {
    if (job.painting) return PrintOutcome::refused;  // a page is being drawn already
    if (!printer.isValid()) return PrintOutcome::no_context;
    printer.setDocName(QString::fromUtf8(PRINT_DOC_NAME));
    printer.setFullPage(false);

    if (main) main->setEnabled(false);
    ps.user_abort = false;
    auto* dlg = new CancelDialog(main);
    ps.cancel_dialog = dlg;
    ps.cancel_button = dlg->button;
    QObject::connect(dlg->button, &QPushButton::clicked, dlg, [&ps, main, dlg] {
        ps.user_abort = true;
        if (main) main->setEnabled(true);
        dlg->hide();
        dlg->deleteLater();
        ps.cancel_dialog = nullptr;
        ps.cancel_button = nullptr;
    });
    dlg->show();

    bool error = false;
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = true;
    } else {
        // The printable page in the printer's own pixels: the model's pixel scale follows from it.
        const int width = printer.width();
        const int height = printer.height();
        // The label text keeps the size it has on a screen of 96 dots per inch.
        const int font_pixels =
            std::max(1, QtSurface::DEFAULT_FONT_PIXELS * std::max(printer.resolution(), 96) / 96);
        QtSurface surface(painter, width, height, font_pixels);
        surface.set_checkpoint([&ps] { return ABORTPROC(ps); });
        ps.HWND += 1;
        PAINTPAGE(job, surface, width, height, ps.HWND, HDC_PRINTER);
        ABORTPROC(ps);
        if (ps.user_abort) {
            printer.abort();
            painter.end();
        } else if (!painter.end()) {
            error = true;
        }
    }
    if (!error && printer.printerState() == QPrinter::Error) error = true;

    if (!ps.user_abort) {
        if (main) main->setEnabled(true);
        if (ps.cancel_dialog) {
            ps.cancel_dialog->hide();
            ps.cancel_dialog->deleteLater();
        }
        ps.cancel_dialog = nullptr;
        ps.cancel_button = nullptr;
    }
    if (ps.user_abort) return PrintOutcome::aborted;
    return error ? PrintOutcome::refused : PrintOutcome::printed;
}

int PRINTPAGE(Job& job, PrintState& ps, QWidget* main) {
    if (!ps.printer) ps.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(ps.printer.get(), main);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    dialog.setWindowTitle(QString::fromUtf8(PRINT_CAPTION));
    if (dialog.exec() != QDialog::Accepted) return 1;
    const PrintOutcome r = print_page_on(*ps.printer, job, ps, main);
    if (r == PrintOutcome::no_context) {
        QMessageBox::warning(main, QString::fromUtf8(PRINT_CAPTION), QString::fromUtf8(NO_PRINTER_TEXT));
        return 1;
    }
    return r == PrintOutcome::printed ? 0 : 1;
}

}  // namespace korvex::shell::qt
