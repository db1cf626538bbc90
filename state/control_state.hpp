#pragma once
// The run control's own bookkeeping: the job, its pages and the run in progress.
#include <array>
#include <string>

namespace korvex::run {

struct ControlState {
    int NFAIL = 0;         // the job's error number ("FEHLER Nr.")
    int NEWDIA = 0;        // page counter handed back to the shell; 0: no further page
    int NLAUF = 0;         // completed runs of the job
    int IERR_READERS = 0;  // the keyword readers' shared error flag
    std::string pending_line = std::string(80, ' ');  // raw line 1 of the next run

    // The program's version text (23 characters), shown when a job ends without diagrams.
    std::string VERSTR = "KORVEX.1kw vom 8.4.2005";
    // Date and time of the job (23 characters), the start of every caption line.
    std::string stamp = std::string(23, ' ');

    // Page bookkeeping of the job.
    int IBACK_EFF = 0;     // IBACK as accepted: 0, negative, or 1..9 (curves into the last diagrams)
    int NRLAUF = 0;        // further runs whose curves still go into the current page
    int MVSDIA = 1;        // increment of NEWDIA when a run starts new diagrams
    bool redo_page = true; // the page set-up is (re)done with a new panel count
    bool no_diagrams = true;  // the page holds no diagrams to add curves to (none yet, or the
                              // last run had none)
    int NDIAG = 0;         // diagrams plotted in the job
    double XXMAX = 0.0;    // length of the last panel, cm
    double XXXMAX = 0.0;   // total length of the page, cm
    double YYYMAX = 0.0;   // height of the page, cm
    double panel_edge = 0.0;     // pixel column where the next panel of the page begins
    bool length_taken = false;   // the last run put its curves into earlier panels and took
                                 // the last panel's length off the total for it

    // Texts of the page.
    std::string label_H = " H1 ";   // labels of partial machine 1 on the diagrams
    std::string label_K = " K1 ";
    std::string ZEILE = "ZEILE  ";  // the deck line of an input error, on the page

    // The run whose head was read before a page break: what follows at the continuation point.
    bool run_has_diagrams = false;  // a diagram line was read: scaling lines and definitions follow
    bool run_is_last = false;       // the input ended after the run's optional lines

    // The run's caption line (131 characters), drawn on its diagrams.
    std::string caption_line = std::string(131, ' ');
};

}  // namespace korvex::run
