#pragma once
// The job behind the window: one Program and one ShellState for the life of the process, the
// repeat value of the last paint, the page the window shows, and PAINTPAGE, which runs the model
// onto a surface.
#include <functional>
#include <memory>
#include <string>

#include "platform/surface.hpp"
#include "shell/core/plotiw.hpp"
#include "shell/core/study.hpp"
#include "state/program.hpp"

namespace korvex::shell::qt {

struct Job {
    std::unique_ptr<Program> program = std::make_unique<Program>();
    ShellState shell;
    std::string caption = std::string(CAPTION_INITIAL);
    // What the last paint returned (NEWDIA): above 0, closing the window opens the next one.
    int repeat = 0;
    // A page is being drawn: the model must not be entered again (the printer pumps events
    // while it draws, and those may ask the window for a paint).
    bool painting = false;
    // The page of the job the model draws at its next run: 1 at the start of a job, one more
    // after every page that reported a further one.
    int next_page = 1;
    // The page the open window shows, fixed by its first paint (0 before it). Every later paint,
    // print or saved page of that window draws this page again.
    int page = 0;
    // The deck has changed since the model last read it: the next paint starts the job afresh.
    bool deck_changed = false;
    // The study page follows the job's last page (--study): it is drawn from the runs of the
    // job's latest pass, kept by `study_rows`, and is page `study_page` (0 until a pass ended).
    bool study = false;
    std::unique_ptr<StudyResults> study_rows;
    int study_page = 0;
    // The model run of one paint; PLOTIW in mode 4 unless a test puts its own page here.
    std::function<int(Job&, const PaintArgs&)> run_page = [](Job& j, const PaintArgs& a) {
        return PLOTIW(*j.program, j.shell, 4, j.caption, a);
    };
};

// Handle numbers the device shows in its traces: the drawing contexts of the window, the
// printer and a saved page file, and the two pens of a paint.
inline constexpr int HDC_WINDOW = 1;
inline constexpr int HDC_PRINTER = 2;
inline constexpr int HDC_FILE = 3;
inline constexpr int HPENOLD_ID = 1;
inline constexpr int HPEN_ID = 2;

// Draws the window's page (job.page; the page the model stands at when the window has not been
// painted yet) onto the surface of width x height pixels: a solid black pen of width 2 is
// selected, then the model draws. When the model stands elsewhere in the job, or the deck has
// changed, the job is started again and the pages before are run onto no surface; a job that
// now ends before that page shows its last page. Stores and returns the result of the page's
// run as the repeat value. When a page is being drawn already, nothing is run and the repeat
// value is returned as it is.
int PAINTPAGE(Job& job, platform::Surface& surface, int width, int height, int HWND, int HDC);

// The deck file was changed or replaced: the model reads it anew, from the start of a job, at
// the next paint.
void deck_changed(Job& job);

}  // namespace korvex::shell::qt
