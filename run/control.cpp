#include "run/control.hpp"

#include <algorithm>

#include "device/plot.hpp"
#include "diagrams/dia.hpp"
#include "diagrams/plotlib.hpp"
#include "properties/steam_state.hpp"
#include "run/deck.hpp"
#include "run/listings.hpp"
#include "run/machine.hpp"
#include "run/machine_parts.hpp"
#include "runtime/format.hpp"
#include "simulation/simul.hpp"

namespace korvex::run {

namespace {

using runtime::F;
using runtime::I;

// Scale factor of a diagram page: the page is laid out in centimetres and drawn at this factor.
constexpr float PAGE_FACTOR = 0.39354587f;

// How a part of a run ended.
enum class Outcome {
    go_on,       // the run goes on (or, after its end, the next run follows)
    count_page,  // the run goes on and starts a page, if it has diagrams to draw
    page_break,  // the page was ended; the next call continues this run
    job_ends,    // "STOP", or the end of the input
    job_stops,   // a stopping error: NFAIL is set
};

void both(runtime::Units& u, std::string_view text) {
    u.u6.line(text);
    u.u9.line(text);
}

// Job start: the job's bookkeeping from scratch, so that a job computes exactly what it
// computed at the last paint. Only what the deck carries from run to run (saved P0*V01 and T0,
// gas properties of an unknown gas name) stays.
void start_job(Program& p) {
    RunState& r = p.run;
    r.NFAIL = 0;
    r.IERR_READERS = 0;
    properties::reset_for_job(p.steam);
    r.NLAUF = 0;
    r.mode_prev = Mode::NONE;
    r.no_diagrams = true;
    r.NDIAG = 0;
    r.XXMAX = r.XXXMAX = r.YYYMAX = r.panel_edge = 0.0;
    r.IBACK_EFF = 0;
    r.NRLAUF = 0;
    r.MVSDIA = 1;
    r.redo_page = true;
    r.length_taken = false;
    r.run_has_diagrams = r.run_is_last = false;
    p.dia.read_ahead = 0;  // a page break of an earlier pass left a run's definitions read
    p.device.NPANEL = 1;
    r.label_H = " H1 ";
    r.label_K = " K1 ";
    r.ZEILE = "ZEILE  ";
    r.stamp = runtime::date_stamp(p.clock ? p.clock() : runtime::system_now());
    p.units.IPRNT2 = 0;
    p.units.u55.rewind();
}

// A series of panels ends: the page is whole again and counts as one page. A series begun in the
// job's first run has not counted its page yet; one begun later counted it when it ended the
// page before.
void end_series(ControlState& r, device::Device& dev) {
    const bool counted = r.MVSDIA != 0;
    dev.NPANEL = 1;
    if (dev.ISIZEX > 0) r.MVSDIA = 1;
    r.NRLAUF = 0;
    if (!counted) r.NEWDIA += r.MVSDIA;
}

// IBACK of line 11: where the curves of the run go and how the page is divided.
void handle_iback(RunState& r, device::Device& dev, runtime::Units& u) {
    const int ib = r.IBACK;
    const bool first = r.NLAUF == 0;
    // Whether the run adds its curves into the diagrams drawn last: there must be some.
    const bool adds = ib > 0 && ib < 10 && !first && !r.no_diagrams;
    // A series of panels still open on the page goes on with runs that fill its next panel
    // (IBACK < 0) or add curves into its last one; a run that starts diagrams of its own ends it
    // as if its last panel were filled, so that those diagrams get a page of their own rather
    // than a panel beyond the page's edge.
    if (r.NRLAUF > 0 && ib >= 0 && !adds) end_series(r, dev);
    if (ib == 0) {
        r.NRLAUF = 0;
        r.IBACK_EFF = 0;
    } else if (ib < 0) {
        r.IBACK_EFF = ib;
        r.NRLAUF -= 1;
    } else if (ib < 10) {
        if (!adds) {
            // No diagrams on the page to add to (the first run of the job, or the run before
            // drew none): the run starts new diagrams.
            r.NRLAUF = 0;
            r.IBACK_EFF = 0;
        } else {
            r.IBACK_EFF = ib;
            // Inside a series the curves go into its last panel, which keeps the page divided.
            if (r.NRLAUF <= 0) {
                dev.NPANEL = 1;
                r.NRLAUF = 0;
            }
        }
    } else if (ib == 10 && first) {
        r.IBACK_EFF = 0;
        dev.NPANEL = 1;
        both(u, " NO ERROR, BUT IT IS BETTER TO SPECIFY \"IBACK= 0\" IN THE FIRST RUN");
    } else if (ib % 10 == 0 && ib <= 60) {
        const int k = ib / 10;
        dev.NPANEL = k;
        r.NRLAUF = k;
        r.IBACK_EFF = 0;
        if (first) r.MVSDIA = 0;
        else r.redo_page = true;
    } else {
        r.IBACK_EFF = 0;
        dev.NPANEL = 1;
        both(u, " ====>> ERROR: IBACK MUST BE A NEGATIV INTEGER OR 0, 20, 30, 40, 50 OR 60");
        both(u, "      IN THE FIRST DATA INPUT: ZEILE 11; \"IBACK\" IS NOW SET TO 0");
        both(u, " ====>> SIMULATION GOES ON WITH \"IBACK=0\"");
    }
    if (r.IBACK_EFF > 0 && u.level(2)) {
        u.u6.line(" BEI NEUEN KURVEN IN VORHERIGE DIAGRAMME BLEIBEN DIE EINGEGEBENEN");
        u.u6.record(" SKALIERUNGSWERTE UNBERUECKSICHTIGT. IBACK=", I(r.IBACK_EFF, 2));
        u.u9.record(" BEI NEUEN KURVEN IN VORHERIGE DIAGRAMME BLEIBEN DIE EINGEGEBENEN",
                    " SKALIERUNGSWERTE UNBERUECKSICHTIGT. IBACK=", I(r.IBACK_EFF, 2));
    }
}

// A run that starts new diagrams raises the page counter; beyond the first page the page is
// ended and the run goes on at the next call.
bool new_page_needed(int MVSDIA, device::Plotter pl) {
    pl.NEWDIA += MVSDIA;
    if (pl.NEWDIA <= 1) return false;
    device::PLOT(pl, 0.0f, 0.0f, -999);
    return true;
}

// Lines 1 to 11 of a run, its unit-8 heading, IBACK and the page-break test.
Outcome run_head(Program& p) {
    RunState& r = p.run;
    const DeckStatus s = read_run_head(p);
    if (s == DeckStatus::stop) return Outcome::job_ends;
    if (s == DeckStatus::error) return Outcome::job_stops;
    r.run_has_diagrams = s == DeckStatus::run_diagrams;
    r.run_is_last = s == DeckStatus::run_then_end;
    write_run_heading(r, p.units);

    if (!r.run_has_diagrams) {
        // No diagram line, so no IBACK: the run draws nothing and keeps the page as it is.
        r.no_diagrams = true;
        r.IBACK_EFF = 0;
        return Outcome::go_on;
    }
    handle_iback(r, p.device, p.units);
    // A positive IBACK that does not add into earlier diagrams (a new series, a value corrected
    // to 0, or nothing to add to) starts new diagrams from cleared scaling values; its page is
    // counted once, so that no empty page comes before it.
    const bool counted = r.NLAUF > 0 && r.IBACK > 0 && r.IBACK_EFF <= 0;
    if (r.IBACK_EFF > 0) return Outcome::go_on;
    p.dia.scaling.fill(0.0f);
    if (r.NRLAUF > 0 && !counted) return Outcome::go_on;
    return Outcome::count_page;
}

// The run's scaling lines and diagram definitions, read once: at the continuation point, or
// before its page is counted (a run whose definitions draw nothing makes no page).
Outcome read_diagrams(Program& p) {
    RunState& r = p.run;
    if (p.device.ISIZEX == 0) r.NRLAUF = 0;
    if (!r.run_has_diagrams || p.dia.read_ahead != 0) {
        const bool stopped = p.dia.read_ahead == 2;
        p.dia.read_ahead = 0;
        return stopped ? Outcome::job_stops : Outcome::go_on;
    }
    if (r.IBACK_EFF >= 0) p.dia.saved_scaling = p.dia.scaling;
    const DeckStatus s = read_run_diagrams(p.units, r, p.dia);
    if (s == DeckStatus::error) return Outcome::job_stops;
    if (s == DeckStatus::run_then_end) r.run_is_last = true;
    // Curves added into earlier diagrams keep the scales of those diagrams.
    if (r.IBACK_EFF > 0) p.dia.scaling = p.dia.saved_scaling;
    return Outcome::go_on;
}

// A run into the diagrams of a series' last panel takes that panel's length off the page's total
// for itself only; the total is whole again for whatever follows it.
void give_length_back(RunState& r) {
    if (r.length_taken) r.XXXMAX += r.XXMAX;
    r.length_taken = false;
}

// The run's caption line, drawn on its diagrams; listed at level 3.
void make_caption(RunState& r, runtime::Units& u) {
    r.caption_line = caption_line(r, r.stamp);
    if (u.level(3)) {
        u.u9.line(" ");
        u.u9.line(" Beschriftung der Zeichnungen:");
        u.u9.line(" ");
        u.u9.record(" ", r.caption_line);
    }
}

// The diagrams of the run that will be drawn: those defined with an abscissa and an ordinate.
int active_diagrams(const diagrams::DiagramState& dia) {
    int active = 0;
    const int defined = std::clamp(dia.IIFREI, 0, diagrams::MAXDIA);
    for (int n = 0; n < defined; ++n) active += dia.def[n].FREI == 1;
    return active;
}

// The page of a run that starts diagrams of its own: its lengths, the set-up, the origin of its
// first diagram, and the traces of the page bookkeeping.
void set_up_page(RunState& r, device::Plotter& pl, const diagrams::Placement& place, int active) {
    runtime::Units& u = pl.units;
    device::Device& dev = pl.dev;
    // A further panel of the page stands right of the one before.
    const bool next_panel = !r.redo_page && (r.MVSDIA == 0 || r.NRLAUF > 0);
    r.NDIAG += active;
    if (place.xmax > 0.0f) {
        r.XXMAX = static_cast<double>(place.xmax + r.HOE * 6.0f + place.W);
        r.XXXMAX = r.MVSDIA != 0 ? r.XXMAX : r.XXXMAX + r.XXMAX;
    } else {
        r.XXMAX = place.W;
        r.XXXMAX = place.W;
    }
    r.YYYMAX = active > 1 ? 2.0 * place.H : place.H;
    // The device divides the page among NPANEL panels: each is one panel long (the total of the
    // panels drawn so far would shrink every further panel into the ones before).
    const double length = dev.NPANEL > 1 ? r.XXMAX : r.XXXMAX;
    device::PLOTS(pl, static_cast<float>(length), static_cast<float>(r.YYYMAX), PAGE_FACTOR);
    // A further panel begins at the pixel where the one before ends, whatever was set up in
    // between (a run without diagrams sets up a page of its own) and whatever scale this
    // panel's length gives it.
    if (next_panel && dev.IPIXX > 0) dev.XORIG = static_cast<float>(r.panel_edge / dev.IPIXX);
    if (next_panel || r.redo_page || (r.NRLAUF < 1 && dev.ISIZEX > 0)) {
        r.panel_edge = dev.IPIXX * (static_cast<double>(dev.XORIG) + PAGE_FACTOR * r.XXMAX);
        device::PLOT(pl, r.HOE * 8.0f, r.HOE * 14.0f, -3);
    }
    r.redo_page = false;
    if (u.level(4)) {
        u.u6.record(" PLOT INITIALISIERT AUF :", r.label_H);
        u.u6.record(" Eingegebene Achsenlaengen: XL=", F(r.XL, 6, 1), " YL=", F(r.YL, 5, 2));
    }
    if (u.level(5)) {
        u.u9.record(" PLOT INITIALISIERT AUF :", r.label_H);
        u.u9.record(" Eingegebene Achsenlaengen: XL=", F(r.XL, 6, 1), " YL=", F(r.YL, 5, 2), " INCH");
        u.u9.free("PLOT(XXMAX,0.,-3): DIA NO.:LAUF+1=", r.NLAUF + 1, " NRFIG=", dev.NPANEL, " XXMAX=", r.XXMAX,
                  " NRLAUF=", r.NRLAUF, " MVSDIA=", r.MVSDIA, " YYYMAX=", r.YYYMAX);
        u.u9.free("PLOTS: XXXMAX=", r.XXXMAX);
    }
}

// How many diagrams the run draws, and where: into earlier diagrams (back) or onto its page.
void report_diagrams(const ControlState& r, runtime::Unit& w, int active, bool back) {
    w.line(" ");
    if (back && active > 1) w.record(" --->", I(active, 3), " BILDER IN DIE VORIGEN DIAGRAMME");
    else if (back) w.record(" --->", I(active, 3), " BILD IN EINES DER VORIGEN DIAGRAMME");
    else if (active > 1)
        w.record(" ----->", I(active, 3), " BILDER; GESAMTE LAENGE IN X=", F(r.XXXMAX, 6, 1), " HOEHE=",
                 F(r.YYYMAX, 6, 1), " CM");
    else
        w.record(" -----> 1 BILD; GESAMTE LAENGE IN X=", F(r.XXXMAX, 6, 1), " HOEHE=", F(r.YYYMAX, 6, 1), " CM");
    w.line(" ");
}

// The caption line, the places of the run's diagrams on the page and the page set-up.
void lay_out_page(RunState& r, diagrams::DiagramState& dia, device::Plotter pl) {
    runtime::Units& u = pl.units;
    give_length_back(r);
    if (r.run_has_diagrams) make_caption(r, u);
    const int active = r.run_has_diagrams ? active_diagrams(dia) : 0;
    if (active == 0) {
        device::PLOTS(pl, 25.0f, 12.0f, 0.0f);
        r.no_diagrams = true;  // the page set-up of earlier diagrams is gone
        // A run meant for the next panel of a series that draws nothing leaves the panel to
        // the run after it, as a run without diagrams does.
        if (r.IBACK_EFF < 0 && r.NRLAUF > 0) r.NRLAUF += 1;
        return;
    }

    const bool back = r.IBACK_EFF > 0;
    if (!back) {
        for (auto& d : dia.def) {
            d.XX = d.YY = 0.0f;
            d.AX = 0;
        }
    }
    r.length_taken = back && r.MVSDIA == 0;
    if (r.length_taken) r.XXXMAX -= r.XXMAX;
    const diagrams::Placement place = diagrams::place_diagrams(dia, r.XL, r.YL, r.HOE, r.HSYM);
    r.no_diagrams = false;
    if (!back) set_up_page(r, pl, place, active);
    if (r.NRLAUF == 1 && !back) end_series(r, pl.dev);  // the last panel of the page
    if (u.level(2)) report_diagrams(r, u.u9, active, back);
    if (u.level(4)) report_diagrams(r, u.u6, active, back);
}

// The rest of a run from the continuation point on: diagram definitions, machine, page,
// listings, simulation and the end-of-run lines.
Outcome run_tail(Program& p, bool count_page) {
    RunState& r = p.run;
    runtime::Units& u = p.units;
    // A run counts its page when it draws a diagram or stops the job on one (the error goes
    // onto a page of its own, not over the diagrams before).
    const Outcome o = read_diagrams(p);
    const bool page = o == Outcome::job_stops || active_diagrams(p.dia) > 0;
    if (count_page && page && new_page_needed(r.MVSDIA, p.plotter())) {
        p.dia.read_ahead = o == Outcome::job_stops ? 2 : 1;
        return Outcome::page_break;
    }
    if (o == Outcome::job_stops) return o;
    const bool last = r.run_is_last;
    if (!derive_geometry(p.run, p.units) || !derive_options(p.run, p.units)) return Outcome::job_stops;

    lay_out_page(r, p.dia, p.plotter());
    r.IBACK = r.IBACK_EFF;  // the value the simulation and the diagrams work with

    if (u.level(1)) {
        u.u9.line(" ");
        u.u9.record(" ==============>> IBACK=", I(r.IBACK, 3), " <<==========");
        u.u9.line(" ");
    }
    r.NLAUF += 1;
    write_machine_summary(p.run, p.units);
    write_gas_echo(r, u);
    if (r.FDAMPF) write_vapour_definitions(p.run, p.units);
    write_row_start(r, p.sim.rev.ROW);
    if (r.NLAUF == 1) write_data_sheet(r, u);
    simulation::SIMUL(p);
    if (p.results != nullptr) p.results->run_end(r.NLAUF, r.NFAIL);
    r.mode_prev = r.mode;

    if (u.level(2)) {
        u.u6.line(" ");
        u.u6.record(" ==========================  ENDE DER", I(r.NLAUF, 3), ". BERECHNUNG ==========================");
        u.u6.line(" ");
    }
    u.u9.line(" ");
    u.u9.record(" =================================================   ENDE DER", I(r.NLAUF, 3),
                ". BERECHNUNG ==============================");
    u.u9.line(" ");
    return last ? Outcome::job_ends : Outcome::go_on;
}

// The end of a job with an error or without diagrams: its notes in the listings, and the
// error and the unit hint lettered onto the page.
void show_job_error(RunState& r, device::Plotter& pl, int NFAIL, bool no_diagrams) {
    runtime::Units& u = pl.units;
    device::SETPEN(pl, 1, 3, 2);
    if (no_diagrams) {
        u.u6.line(" ");
        u.u6.record(" -----> Job End without Diagrams ", runtime::A(r.VERSTR, 23));
        u.u9.line(" ");
        u.u9.record(" -----> Job End without Diagrams; ", runtime::A(r.VERSTR, 23));
    }
    int line = 0;
    if (NFAIL > 0) {
        if (NFAIL > 500 && NFAIL < 520) {
            line = NFAIL - 500;
            r.ZEILE = "ZEILE" + I(line, 2);
            if (line != 2) {
                const std::string text = " ===> FEHLER in der Eingabe ZEILE" + I(line, 2) + "; Programm STOP";
                u.u6.line(text);
                u.u8.line(text);
                u.u9.line(text);
            }
        }
        both(u, " Schauen Sie auch nach frueheren Fehlermeldungen; FEHLER Nr:" + I(NFAIL, 5));
    }
    for (const PageText& t : end_of_job_texts(NFAIL, line, no_diagrams))
        diagrams::SYMBOL(pl, t.X, t.Y, t.H, t.text, 0.0f, static_cast<int>(t.text.size()));
    if (NFAIL > 0) diagrams::NUMBER(pl, diagrams::CONTINUE, 0.5f, 0.5f, static_cast<float>(NFAIL), 0.0f, -1);
}

// The page the closing lettering goes onto: the plain page of 25 by 12 cm, whole and from its
// left edge, whatever panel of a series or diagram scale the job stopped in (on a panel or a
// narrow page the lettering would be squeezed or run off the edge).
void closing_page(device::Plotter& pl) {
    pl.dev.NPANEL = 1;
    device::PLOTS(pl, 25.0f, 12.0f, 1.0f);
    pl.dev.XORIG = 0.0f;
}

// End of the job: the summary, the error on the page, the deck rewound so that the next call
// computes the whole job again from its start.
void end_job(RunState& r, device::Plotter pl, bool stopped) {
    runtime::Units& u = pl.units;
    const int NFAIL = r.NFAIL;
    const bool no_diagrams = r.NDIAG == 0;  // whether any run of the job plotted one
    if (stopped || ((NFAIL > 0 || no_diagrams) && r.NLAUF > 0)) {
        closing_page(pl);
    } else if (r.NLAUF == 0) {
        // A job that computed no run has no page yet: set one up, as a run without diagrams
        // does, so that the closing lettering has a scale.
        device::PLOTS(pl, 25.0f, 12.0f, 0.0f);
    }
    u.u9.line(" PROGRAMM ENDE; KEINE WEITERE EINGABE");

    if (r.NDIAG > 0) {
        give_length_back(r);
        auto summary = [&](runtime::Unit& w) {
            if (r.NDIAG == 1)
                w.record(" 1 DIAGRAMM WURDE GEPLOTTET; GES.LAENGE=", F(r.XXXMAX, 6, 1), " HOEHE=", F(r.YYYMAX, 6, 1),
                         " CM");
            else
                w.record(I(r.NDIAG, 3), " DIAGRAMME WURDEN GEPLOTTET; GES.LAENGE=", F(r.XXXMAX, 6, 1), " HOEHE=",
                         F(r.YYYMAX, 6, 1), " CM");
            w.line(" ");
        };
        summary(u.u9);
        if (u.level(2)) summary(u.u6);
    }

    if (NFAIL > 0 || no_diagrams) show_job_error(r, pl, NFAIL, no_diagrams);

    r.NEWDIA = 0;
    u.u55.rewind();
    device::PLOT(pl, 0.0f, 0.0f, 999);
}

}  // namespace

std::vector<PageText> end_of_job_texts(int NFAIL, int line, bool no_diagrams) {
    std::vector<PageText> t;
    if (NFAIL <= 0) {
        // A job without an error still says why its page stays empty.
        if (no_diagrams) t.push_back({2.0f, 4.0f, 0.4f, "Job finished without Diagrams"});
        return t;
    }
    if (NFAIL == 112) t.push_back({2.0f, 6.5f, 0.4f, "PLOT Names Spezification wrong"});
    if (NFAIL < 555) t.push_back({2.0f, 5.5f, 0.4f, "ERROR IN DATA INPUT "});
    if (line > 0) t.push_back({diagrams::CONTINUE, diagrams::CONTINUE, 0.4f, "ZEILE" + I(line, 2)});
    if (NFAIL == 666) t.push_back({2.0f, 6.0f, 0.4f, "ERROR PGAS_min < PSTEAM_max   "});
    if (NFAIL >= 770 && NFAIL < 880) t.push_back({2.0f, 5.5f, 0.4f, "ERROR no correct Abszissa Name"});
    if (NFAIL >= 885) t.push_back({2.0f, 5.0f, 0.4f, "ERROR in Vapor Calculation   "});
    if (no_diagrams) t.push_back({2.0f, 4.0f, 0.4f, "Job finished without Diagrams"});
    t.push_back({2.0f, 2.0f, 0.4f, std::string(UNIT_HINT)});
    t.push_back({2.0f, 0.5f, 0.4f, "ERROR Number: "});
    return t;
}

void run_control(Program& p) {
    RunState& r = p.run;
    Outcome o = Outcome::go_on;
    if (r.NEWDIA == 0) {
        start_job(p);
        if (!read_first_line(p.units, p.run)) o = Outcome::job_ends;
    } else {
        // A new page: the run whose head was read before the page break goes on.
        o = run_tail(p, false);
    }
    while (o == Outcome::go_on) {
        o = run_head(p);
        if (o == Outcome::go_on || o == Outcome::count_page) o = run_tail(p, o == Outcome::count_page);
    }
    if (o != Outcome::page_break) end_job(p.run, p.plotter(), o == Outcome::job_stops);
    p.units.flush();
}

}  // namespace korvex::run
