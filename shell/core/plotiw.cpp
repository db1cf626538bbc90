#include "shell/core/plotiw.hpp"

#include "run/control.hpp"

namespace korvex::shell {

bool OPENFILES(Program& p, ShellState& s) {
    auto& u = p.units;
    const auto& dir = s.job_dir;
    s.open_failure.clear();
    if (!u.u6.open(dir / NAME_F06)) s.open_failure = (dir / NAME_F06).string();
    else if (!u.u8.open(dir / NAME_F08)) s.open_failure = (dir / NAME_F08).string();
    else if (!u.u9.open(dir / NAME_F09)) s.open_failure = (dir / NAME_F09).string();
    else if (s.deck_text) {
        if (!u.u55.is_open()) u.u55.set_text(*s.deck_text);
    } else if (!u.u55.open(dir / NAME_DAT)) s.open_failure = (dir / NAME_DAT).string();
    return s.open_failure.empty();
}

namespace {

void write_headers(Program& p, const ShellState& s) {
    auto& u = p.units;
    u.u6.free(VERSTR, " gerechnet am:", s.stamp, " NEWDIA=", p.run.NEWDIA);
    u.u6.free();
    u.u9.free("       ", VERSTR, " gerechnet am:", s.stamp);
    u.u9.free();
    u.u8.free("       ", VERSTR, " gerechnet am:", s.stamp);
    u.u8.free();
}

void store_paint(device::Device& d, const PaintArgs& a) {
    d.ISIZEX = a.ISIZEX;
    d.ISIZEY = a.ISIZEY;
    d.HWND = a.HWND;
    d.HDC = a.HDC;
    d.HPEN = a.HPEN;
    d.HPENOLD = a.HPENOLD;
    d.HPEN_ID = a.HPEN_ID;
    d.HPENOLD_ID = a.HPENOLD_ID;
    d.surface = a.surface;
}

}  // namespace

int PLOTIW(Program& p, ShellState& s, int MODE, std::string& TITLE, const PaintArgs& a) {
    if (!OPENFILES(p, s)) return PLOTIW_OPEN_FAILED;
    switch (MODE) {
    case 1: {
        const runtime::DateTime now = p.clock ? p.clock() : runtime::system_now();
        s.stamp = runtime::date_stamp(now);
        if (s.first_call) {
            write_headers(p, s);
            s.first_call = false;
        }
        TITLE.assign(VERSTR);
        return p.run.NEWDIA;
    }
    case 2:
        p.device.HWND = a.HWND;
        return -2;
    case 3:
        p.device.ISIZEX = a.ISIZEX;
        p.device.ISIZEY = a.ISIZEY;
        return -3;
    case 4:
        store_paint(p.device, a);
        run::run_control(p);
        // The surface belongs to the paint that lent it: nothing may draw on it afterwards.
        p.device.surface = nullptr;
        return p.run.NEWDIA;
    default:
        return 0;
    }
}

}  // namespace korvex::shell
