#pragma once
// Printing the page: the print dialog, the cancel dialog "PrintDlgBox", and the page drawn by the
// model at the printer's resolution.
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QPrinter>
#include <QWidget>
#include <memory>

#include "shell/qt/job.hpp"


namespace korvex::shell::qt {

inline constexpr const char* PRINT_CAPTION = "Drucker";
inline constexpr const char* PRINT_DOC_NAME = "Drucker: Printing";
inline constexpr const char* PRINT_FAILED_TEXT = "Could not print page!";
inline constexpr const char* NO_PRINTER_TEXT = "Kein Drucker Gerätekontext!";
inline constexpr const char* CANCEL_DIALOG_NAME = "PrintDlgBox";

// Print state, one per process: the printer (the user's choice and settings persist from one
// print to the next), the user-abort flag and the cancel dialog while a page is printed.
struct PrintState {
    std::unique_ptr<QPrinter> printer;
    bool user_abort = false;
    QPointer<QDialog> cancel_dialog;
    QPointer<QPushButton> cancel_button;
    // Each page drawn on the printer is window number HWND of the traces.
    int HWND = 0;
};

enum class PrintOutcome {
    printed,      // the page went to the printer
    no_context,   // the printer cannot be drawn on
    refused,      // the document or the page could not be started or ended
    aborted,      // the user cancelled while the page was drawn
};

// Prints the current page on the given printer, without the print dialog: the main window is
// disabled and the cancel dialog shown while the model draws the page at the printer's
// resolution; events are pumped meanwhile. The paint's result becomes the job's repeat value.
// main may be null (no window to disable).
PrintOutcome print_page_on(QPrinter& printer, Job& job, PrintState& ps, QWidget* main);

// The "&Print" command: the print dialog, then print_page_on. Returns 0 when the page was
// printed, 1 on failure or cancellation (the caller then says "Could not print page!"). Shows
// "Kein Drucker Gerätekontext!" itself when the printer cannot be drawn on.
int PRINTPAGE(Job& job, PrintState& ps, QWidget* main);

}  // namespace korvex::shell::qt
