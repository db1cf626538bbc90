#pragma once
// The job behind the window: one Program and one ShellState for the life of the process, the
// repeat value of the last paint, and PAINTPAGE, which runs the model onto a painter.
#include <QPainter>
#include <functional>
#include <memory>
#include <string>

#include "state/program.hpp"
#include "shell/core/plotiw.hpp"

namespace korvex::shell::qt {

class QtSurface;

struct Job {
    std::unique_ptr<Program> program = std::make_unique<Program>();
    ShellState shell;
    std::string caption = std::string(CAPTION_INITIAL);
    // What the last paint returned (NEWDIA): above 0, closing the window opens the next one.
    int repeat = 0;
    // A page is being drawn: the model must not be entered again (the printer pumps events
    // while it draws, and those may ask the window for a paint).
    bool painting = false;
    // The model run of one paint; PLOTIW in mode 4 unless a test puts its own page here.
    std::function<int(Job&, const PaintArgs&)> run_page = [](Job& j, const PaintArgs& a) {
        return PLOTIW(*j.program, j.shell, 4, j.caption, a);
    };
};

// Handle numbers the device shows in its traces: the drawing contexts of the window and the
// printer, and the two pens of a paint.
inline constexpr int HDC_WINDOW = 1;
inline constexpr int HDC_PRINTER = 2;
inline constexpr int HPENOLD_ID = 1;
inline constexpr int HPEN_ID = 2;

// Runs the model onto the surface: a solid black pen of width 2 is selected, then the model
// draws its page of width x height pixels. Stores and returns the result as the repeat value.
// When a page is being drawn already, nothing is run and the repeat value is returned as it is.
int PAINTPAGE(Job& job, QtSurface& surface, int width, int height, int HWND, int HDC);

}  // namespace korvex::shell::qt
