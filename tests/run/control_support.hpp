#pragma once
// A job run page after page, as the shell runs it: the run control is called again while it
// reports a further page, all pages on one recording surface.
#include <memory>
#include <string>
#include <vector>

#include "platform/recording_surface.hpp"
#include "tests/run/deck_support.hpp"

namespace control_test {

using namespace deck_test;

struct Job {
    std::unique_ptr<korvex::Program> p;
    korvex::platform::RecordingSurface page{1008, 700};
    int calls = 0;

    // The labels of the page marks, in drawing order (" 2", " 3", ... and "999" at the end).
    std::vector<std::string> page_marks() const {
        std::vector<std::string> out;
        for (const auto& op : page.of(korvex::platform::RecordingSurface::Kind::Text)) out.push_back(op.text);
        return out;
    }
    const std::string& u6() const { return p->units.u6.text(); }
    const std::string& u8() const { return p->units.u8.text(); }
    const std::string& u9() const { return p->units.u9.text(); }

    void run() {
        for (int i = 0; i < 20; ++i) {
            korvex::run::run_control(*p);
            ++calls;
            if (p->run.NEWDIA == 0) break;
        }
    }
};

inline std::unique_ptr<Job> whole_job(const std::string& deck) {
    auto j = std::make_unique<Job>();
    j->p = program(deck);
    j->p->device.surface = &j->page;
    j->p->device.ISIZEX = 1008;
    j->p->device.ISIZEY = 700;
    j->run();
    return j;
}

// A short run of the small test machine: one revolution, so that the simulation stays quick.
inline std::vector<std::string> short_run(const std::string& iprnt = "0") {
    auto r = base_run();
    r[L1] = "AUS: TIME=0.1 SCHRITT=0.0005 NZYL=1 IPRNT=" + iprnt;
    r[L3] = "NACH: 1 DAEMPFUNG=1.0 FSEAL=10.0 PHASE=-90.0";
    return r;
}

// Several runs one after the other, run k (from 0) with IBACK = iback[k]; later runs keep the gas
// charge of the first.
inline std::vector<std::string> runs(const std::vector<int>& iback, const std::string& iprnt = "0") {
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < iback.size(); ++k) {
        auto r = short_run(iprnt);
        r[L11] = "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=" + std::to_string(iback[k]) + " SCALE=0";
        lines.insert(lines.end(), r.begin(), r.end());
    }
    lines.push_back("STOP");
    return lines;
}

}  // namespace control_test
