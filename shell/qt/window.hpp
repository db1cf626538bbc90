#pragma once
// The diagram window: every paint runs the model onto it; its context menu offers "&Print"
// (Ctrl+P) and "Save page as..." (Ctrl+S) for the page shown; closing it ends its event loop.
#include <QWidget>
#include <filesystem>
#include <functional>

#include "shell/qt/job.hpp"
#include "shell/qt/print.hpp"

namespace korvex::shell::qt {

// The window as it is opened: 1024 x 740 pixels outside, of which the frame takes 16 x 40, so
// that the client area, the page drawn, is batch mode's default page of 1008 x 700 pixels.
inline constexpr int WINDOW_WIDTH = 1024;
inline constexpr int WINDOW_HEIGHT = 740;
inline constexpr int CLIENT_WIDTH = 1008;
inline constexpr int CLIENT_HEIGHT = 700;
inline constexpr const char* PRINT_ENTRY = "&Print";

class PlotWindow final : public QWidget {
public:
    // HWND: the number of the window in this process (1 for the first), shown in traces.
    PlotWindow(Job& job, PrintState& print, int HWND);

    // Runs after every paint of the window.
    std::function<void(PlotWindow&)> after_paint;
    int paints() const { return paints_; }
    int HWND() const { return HWND_; }
    // The "&Print" command, as the menu entry and Ctrl+P run it.
    void print_command();
    // The "Save page as..." command, as the menu entry and Ctrl+S run it.
    void save_command();

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
    QAction* save_action_ = nullptr;
};

// Called with every window that run_window opens, before it is shown.
using WindowOpened = std::function<void(Job&, PlotWindow&)>;

// The window job of a directory: PLOTIW mode 1, a window, its event loop; again while the last
// paint reported a further page. The deck is watched meanwhile: when it changes, the window
// shows its page of the new job. `study`: the study page of the job follows its last page.
// Returns the process exit code, 0.
int run_window(const std::filesystem::path& dir, const WindowOpened& opened = {}, bool study = false);

}  // namespace korvex::shell::qt
