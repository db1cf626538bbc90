#pragma once
// Decks for the tests of the deck reader and the run control: a plain valid run to vary, and
// ways to feed a deck and look at the listings.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "run/control.hpp"
#include "run/deck.hpp"

namespace deck_test {

using korvex::Program;
using korvex::run::DeckStatus;

// Line indexes into base_run().
enum BaseLine { L1 = 0, L2, L3, L4, L5, L6, L7, L11, L16, L17 };

// A small single-acting helium machine in plain ISO mode with one p-V diagram.
inline std::vector<std::string> base_run() {
    return {
        "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=0",
        "ISOTHERM",
        "NACH: 3 DAEMPFUNG=1.0 FSEAL=10.0 PHASE=-90.0",
        "DH=6.0 DK=6.0 R=1.8 DKST=0.0 P0=20.0 TH=900.0 TK=300.0",
        "T0=300.0 VOLUMEN=0.02 SGRAD=95.0",
        "ZW=0 ZH0E=10 ZH0C=10 N0=1000 THETA=500000 DICKE=2 %",
        "L/R=4.0 REGELN AB 0.5 IN 0.1 RVE=0 RVC=0 GAS=HE",
        "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=0",
        "ABSZISSE| VG1 GITTER=0 NBILD=0",
        "ORDINATEN| P1",
    };
}

inline std::string join(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

inline std::unique_ptr<Program> program(const std::string& deck) {
    auto p = std::make_unique<Program>();
    p->units.u55.set_text(deck);
    return p;
}

// A whole job through the run control.
inline std::unique_ptr<Program> job(const std::string& deck) {
    auto p = program(deck);
    korvex::run::run_control(*p);
    return p;
}

// Only the head (lines 1 to 11) of the first run.
inline std::unique_ptr<Program> head(const std::string& deck, DeckStatus& status) {
    auto p = program(deck);
    status = korvex::run::read_first_line(p->units, p->run) ? korvex::run::read_run_head(*p) : DeckStatus::stop;
    return p;
}

inline std::vector<std::string> records(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

// Number of records that are exactly `rec`.
inline int count(const std::string& text, const std::string& rec) {
    int n = 0;
    for (const auto& l : records(text)) n += l == rec;
    return n;
}
inline bool has(const std::string& text, const std::string& rec) { return count(text, rec) > 0; }

// Index of the first record equal to `rec`, -1 when absent.
inline int at(const std::string& text, const std::string& rec) {
    const auto r = records(text);
    for (std::size_t i = 0; i < r.size(); ++i)
        if (r[i] == rec) return static_cast<int>(i);
    return -1;
}

inline std::string pad80(std::string s) {
    s.resize(80, ' ');
    return s;
}

}  // namespace deck_test
