#pragma once
// A plot device drawing on a surface of the test's choosing, with the listing units and the
// two counters the pen routines report through.
#include <vector>

#include "device/device.hpp"
#include "platform/recording_surface.hpp"
#include "runtime/units.hpp"

namespace korvex::test {

template <class SurfaceT>
struct DeviceRig {
    SurfaceT surf;
    device::Device dev;
    runtime::Units units;
    int NFAIL = 0;
    int NEWDIA = 0;
    device::Plotter p{dev, units, NFAIL, NEWDIA};

    DeviceRig(int width, int height) : surf(width, height) {
        dev.ISIZEX = width;
        dev.ISIZEY = height;
        dev.surface = &surf;
    }
    DeviceRig(const DeviceRig&) = delete;
    DeviceRig& operator=(const DeviceRig&) = delete;

    // On a recording surface: the end points of the primitives of one kind, in order.
    std::vector<platform::Point> ends(platform::RecordingSurface::Kind k) const {
        std::vector<platform::Point> r;
        for (const auto& op : surf.of(k)) r.push_back(op.p);
        return r;
    }
};

}  // namespace korvex::test
