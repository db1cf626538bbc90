#pragma once
// The diagram window: every paint runs the model onto it; "&Print" (context menu, Ctrl+P) prints
// the page; closing it ends its event loop.
#include <QWidget>
#include <filesystem>

#include "shell/qt/job.hpp"
#include "shell/qt/print.hpp"

namespace korvex::shell::qt {

inline constexpr int WINDOW_WIDTH = 1024;
inline constexpr int WINDOW_HEIGHT = 740;
inline constexpr const char* PRINT_ENTRY = "&Print";

class PlotWindow final : public QWidget {
public:
    // HWND: the number of the window in this process (1 for the first), shown in traces.
    PlotWindow(Job& job, PrintState& print, int HWND);

    // Runs after every paint of the window (tests and the test hook use it).
    std::function<void(PlotWindow&)> after_paint;
    int paints() const { return paints_; }
    // The "&Print" command, as the menu entry and Ctrl+P run it.
    void print_command();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Job& job_;
    PrintState& print_;
    int HWND_;
    int paints_ = 0;
    bool repaint_pending_ = false;
    QAction* print_action_ = nullptr;
};

// The window job of a directory: PLOTIW mode 1, a window, its event loop; again while the last
// paint reported a further page. Returns the process exit code.
int run_window(const std::filesystem::path& dir);

}  // namespace korvex::shell::qt
