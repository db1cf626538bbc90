#pragma once
// One whole job on a deck held in memory, run the way the batch mode runs it: page after page
// while the run control reports a further page, the listings kept in memory. The deck fuzzer
// and the test that replays its findings share it, so a finding replays exactly.
#include <cmath>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "input/readers.hpp"
#include "platform/recording_surface.hpp"
#include "run/control.hpp"
#include "state/program.hpp"
#include "runtime/fieldread.hpp"
#include "runtime/format.hpp"
#include "runtime/units.hpp"

namespace korvex::fuzz {

// Bounds on the work of one input, so that a fuzzing run stays short. The model itself has no
// such bounds: a deck may rightly ask for hours of simulated machine.
inline constexpr double MAX_RUN_STEPS = 20000.0;  // one run
inline constexpr double MAX_JOB_STEPS = 32000.0;  // all runs of the job together
inline constexpr int MAX_JOB_PAGES = 64;
inline constexpr std::size_t MAX_DECK_BYTES = 16384;

// The time steps that the runs of a deck may ask for together: TIME / SCHRITT summed over
// every line that the run control could take as a run header (a line that is no comment and
// has "AUS" in columns 1 to 18), read with the reader the run control uses. Infinite when a
// header asks for a positive TIME with a step that is not positive, or for a value that is
// not finite. A header whose two values cannot be read stops the job before any run, so it
// asks for nothing. `largest` receives the most that one header asks for.
inline double requested_steps(const std::string& deck, double* largest = nullptr) {
    runtime::DeckUnit in;
    in.set_text(deck);
    runtime::Units scratch;  // reader messages land here and are dropped
    std::string raw, norm(runtime::DeckUnit::RECL, ' '), buf;
    double steps = 0.0;
    if (largest) *largest = 0.0;
    while (in.read(raw)) {
        if (raw.find("***") != std::string::npos) continue;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const char c = raw[i];
            norm[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        if (std::string_view(norm).substr(0, 18).find("AUS") == std::string_view::npos) continue;
        buf.assign(80, ' ');
        int ierr = 0;
        input::LESEPR(scratch, 1, 11, buf, norm, ierr, {"TIME=", "SCHRITT="});
        if (ierr != 0) continue;
        const auto TIME = runtime::read_real_field(runtime::field_of(buf, 0, 11));
        const auto SCHRITT = runtime::read_real_field(runtime::field_of(buf, 1, 11));
        if (!TIME || !SCHRITT) continue;
        if (!std::isfinite(*TIME) || !std::isfinite(*SCHRITT)) return INFINITY;
        if (*TIME <= 0.0) continue;
        if (*SCHRITT <= 0.0) return INFINITY;
        const double run = *TIME / *SCHRITT;
        steps += run;
        if (largest && !(run <= *largest)) *largest = run;
    }
    return steps;
}

// Whether the deck is small enough to be run as one fuzzing input.
inline bool job_is_bounded(const std::string& deck) {
    if (deck.size() > MAX_DECK_BYTES) return false;
    double largest = 0.0;
    const double steps = requested_steps(deck, &largest);
    return steps <= MAX_JOB_STEPS && largest <= MAX_RUN_STEPS;  // false for NaN as well
}

// The surface a job draws on: the batch page, a tiny page, or none (a paint without a
// surface, surface width 0).
enum class PageKind { batch, tiny, none };

struct JobOutcome {
    int pages = 0;             // pages drawn
    bool page_cap_hit = false; // the job still reported a further page after MAX_JOB_PAGES
    bool ended = false;        // the job closed its detail listing ("PROGRAMM ENDE")
    bool flushed = false;      // the listings report no lost record
    bool non_finite = false;   // a listing shows "NaN" or "Inf" that the deck did not bring
    int NFAIL = 0;
    int NLAUF = 0;
};

// Whether a listing shows a number that is not finite (a division by zero or an invalid
// operation that reached the output), judged as the batch program judges its listings.
inline bool listings_show_non_finite(const runtime::Units& u, std::string_view deck) {
    for (const runtime::Unit* v : {&u.u6, &u.u8, &u.u9})
        if (runtime::shows_non_finite(v->text(), deck)) return true;
    return false;
}

// Runs the whole job: every page while NEWDIA > 0, each on a fresh surface, as the batch mode
// does (a solid black pen of width 2 selected before each paint).
inline JobOutcome run_deck_job(const std::string& deck, PageKind kind, std::unique_ptr<Program>* keep = nullptr) {
    auto p = std::make_unique<Program>();
    p->clock = [] { return runtime::DateTime{}; };
    p->units.u55.set_text(deck);
    JobOutcome out;
    const int w = kind == PageKind::batch ? 1008 : kind == PageKind::tiny ? 7 : 0;
    const int h = kind == PageKind::batch ? 700 : kind == PageKind::tiny ? 5 : 0;
    for (;;) {
        std::unique_ptr<platform::RecordingSurface> surface;
        if (kind != PageKind::none) surface = std::make_unique<platform::RecordingSurface>(w, h);
        device::Device& d = p->device;
        d.ISIZEX = w;
        d.ISIZEY = h;
        d.HWND = 1;
        d.HDC = 1;
        d.HPEN = platform::Pen{platform::PenStyle::Solid, 2, {}};
        d.HPENOLD = platform::Pen{};
        d.HPEN_ID = 2;
        d.HPENOLD_ID = 1;
        d.surface = surface.get();
        if (surface) surface->select_pen(d.HPEN);
        run::run_control(*p);
        d.surface = nullptr;
        ++out.pages;
        if (p->run.NEWDIA <= 0) break;
        if (out.pages >= MAX_JOB_PAGES) {
            out.page_cap_hit = true;
            break;
        }
    }
    out.flushed = p->units.flush();
    out.ended = p->units.u9.text().find("PROGRAMM ENDE; KEINE WEITERE EINGABE") != std::string::npos;
    out.non_finite = listings_show_non_finite(p->units, deck);
    out.NFAIL = p->run.NFAIL;
    out.NLAUF = p->run.NLAUF;
    if (keep) *keep = std::move(p);
    return out;
}

}  // namespace korvex::fuzz
