#include "run/control.hpp"

#include "run/deck.hpp"
#include "run/machine.hpp"
#include "runtime/format.hpp"

namespace korvex::run {

namespace {

using runtime::I;

// End of the job: the closing line, the error number of a job that ended on an error, the deck
// rewound so that the next call computes the whole job again from its start.
void end_job(Program& p) {
    runtime::Units& u = p.units;
    u.u9.line("PROGRAMM ENDE; KEINE WEITERE EINGABE");
    const int NFAIL = p.run.NFAIL;
    if (NFAIL > 0) {
        const int line = (NFAIL > 500 && NFAIL < 520) ? NFAIL - 500 : 0;
        if (line != 0 && line != 2) {
            const std::string text = " ===> FEHLER in der Eingabe ZEILE" + I(line, 2) + "; Programm STOP";
            u.u6.line(text);
            u.u8.line(text);
            u.u9.line(text);
        }
        const std::string text = " Schauen Sie auch nach frueheren Fehlermeldungen; FEHLER Nr:" + I(NFAIL, 5);
        u.u6.line(text);
        u.u9.line(text);
    }
    // The page of the end of the job (error texts, diagram summary) is drawn here once the
    // page layout of the runs is in place.
    p.run.NEWDIA = 0;
    u.u55.rewind();
    u.flush();
}

// One run from its pending line 1 on. False when the job ends after it (or instead of it).
bool one_run(Program& p) {
    runtime::Units& u = p.units;
    DeckStatus s = read_run_head(p);
    if (s == DeckStatus::stop || s == DeckStatus::end_of_input || s == DeckStatus::error) return false;
    if (s == DeckStatus::run_diagrams) {
        // A run that starts new diagrams starts from cleared scaling values.
        if (!(p.run.NLAUF > 0 && p.run.IBACK > 0 && p.run.IBACK < 10)) p.dia.scaling.fill(0.0f);
        s = read_run_diagrams(p);
        if (s == DeckStatus::end_of_input || s == DeckStatus::error) return false;
    }
    const bool last = s == DeckStatus::run_then_end;

    if (!derive_geometry(p)) return false;
    if (!derive_options(p)) return false;

    if (u.level(1)) {
        u.u9.line(" ");
        u.u9.record(" ==============>> IBACK=", I(p.run.IBACK, 3), " <<==========");
        u.u9.line(" ");
    }
    if (p.run.FDAMPF) write_vapour_definitions(p);
    // The run's page layout and its simulation (SIMUL) come here, once they are in place.
    p.run.NLAUF += 1;
    p.run.mode_prev = p.run.mode;

    if (u.level(2)) {
        u.u6.line(" ");
        u.u6.record(" ==========================  ENDE DER", I(p.run.NLAUF, 3),
                    ". BERECHNUNG ==========================");
        u.u6.line(" ");
    }
    u.u9.line(" ");
    u.u9.record(" =================================================   ENDE DER", I(p.run.NLAUF, 3),
                ". BERECHNUNG ==============================");
    u.u9.line(" ");
    return !last;
}

}  // namespace

void run_control(Program& p) {
    // Job start. The error number and the readers' error flag start clear at every job, so
    // that a repaint computes exactly what the first paint computed.
    p.run.NFAIL = 0;
    p.run.IERR_READERS = 0;
    p.run.NLAUF = 0;
    p.run.mode_prev = Mode::NONE;
    p.units.IPRNT2 = 0;
    p.units.u55.rewind();

    if (read_first_line(p)) {
        while (one_run(p)) {
        }
    }
    end_job(p);
}

}  // namespace korvex::run
