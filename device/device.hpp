#pragma once
// State of the pen-plotter device: the surface it draws on, its scale and origin, its pens.
#include <vector>

#include "platform/surface.hpp"
#include "runtime/units.hpp"

namespace korvex::device {

// The box of a piece of lettering in pixels, for checks of a page: the page it stands on (1
// for the first), the pixel of the origin in force (the diagram it belongs to) and its kind.
enum class Lettering { text, legend, axis };
struct LetteringBox {
    Lettering kind = Lettering::text;
    int page = 1;
    int origin_x = 0, origin_y = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct Device {
    // Set by the driver before every model run.
    int ISIZEX = 0, ISIZEY = 0;
    int HWND = 0, HDC = 0;             // handle numbers, only shown in traces
    platform::Surface* surface = nullptr;
    platform::Pen HPEN{};              // pen the device selected last
    platform::Pen HPENOLD{};           // pen of the surface before the device's first pen
    int HPEN_ID = 0, HPENOLD_ID = 0;   // handle numbers of the two pens, for traces

    float FACT = 1.0f;
    int IPIXX = 0, IPIXY = 0;
    float XORIG = 0.0f, YORIG = 0.0f;
    int NPANEL = 1;
    bool MONO = false;
    float XLAST = 0.0f, YLAST = 0.0f;  // last scaled point, before the origin is added
    int style_in_force = 1;
    int width_in_force = 1;            // width of the last pen SETPEN made (after its rules)
    int colour_in_force = 0;           // 0: none chosen yet
    bool wide_after_negative = false;  // a width below -100 was given: a later 0 also gives 2
    int NPLOT = 0;
    int pages_ended = 0;               // page marks drawn
    std::vector<LetteringBox>* lettering = nullptr;  // when set, every box lettered goes here
    Lettering lettering_kind = Lettering::text;      // the kind of what is lettered now
};

// What the pen routines reach: the device, the listings, and two numbers owned by the run
// control that the device reads or raises (the job's error number and the page counter).
struct Plotter {
    Device& dev;
    runtime::Units& units;
    int& NFAIL;
    int& NEWDIA;
};

}  // namespace korvex::device
