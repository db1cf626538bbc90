#include "shell/qt/job.hpp"

#include "shell/qt/qt_surface.hpp"

namespace korvex::shell::qt {

int PAINTPAGE(Job& job, QtSurface& surface, int width, int height, int HWND, int HDC) {
    if (job.painting) return job.repeat;
    job.painting = true;
    PaintArgs a;
    a.surface = &surface;
    a.ISIZEX = width;
    a.ISIZEY = height;
    a.HWND = HWND;
    a.HDC = HDC;
    a.HPEN = platform::Pen{platform::PenStyle::Solid, 2, {}};
    a.HPENOLD = platform::Pen{};
    a.HPEN_ID = HPEN_ID;
    a.HPENOLD_ID = HPENOLD_ID;
    surface.select_pen(a.HPEN);
    try {
        job.repeat = job.run_page(job, a);
    } catch (...) {
        job.painting = false;
        throw;
    }
    job.painting = false;
    return job.repeat;
}

}  // namespace korvex::shell::qt
