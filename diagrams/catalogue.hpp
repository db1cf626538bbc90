#pragma once
// The catalogue of plottable quantities: 705 six-character names (NAMEG), their dimension
// classes (ID), the unit texts and scale keywords of the 33 classes, the resolution of the
// diagram names of a run to catalogue positions, the checks made before a diagram is drawn, and
// the storing of plot points into the series of the diagrams.
//
// Positions 1..556 are four blocks of 139 per-pair quantities: position 139*(p-1)+k is field
// k-1 of the record of pair p (simulation::PairField). Positions 557..705 are the global
// quantities, kept by the simulation in DiagramState::G at index position-557 (GlobalField).
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "state/dia_state.hpp"
#include "runtime/units.hpp"
#include "state/pair_record.hpp"

namespace korvex::diagrams {

constexpr int NPAIRQ = 139;   // quantities per pair
constexpr int NPARTS = 4;     // pairs (part-engines)
constexpr int NPAIRPOS = NPAIRQ * NPARTS;   // 556: last per-pair position
constexpr int NNAMEG = NPAIRPOS + NGLOBAL;  // 705

// Index of each global quantity in DiagramState::G (catalogue position 557 + index).
struct GlobalField {
    enum : std::size_t {
        DUMMY1 = 0, DUMMY2 = 1, DUMMY3 = 2, DUMMY4 = 3, DUMMY5 = 4, DUMMY6 = 5,
        PHI1 = 6, PHI2 = 7, KU1 = 8, KU2 = 9, CANGLE = 10, W = 11,
        DWDT = 12, RPM = 13, F1243 = 14, F3412 = 15, VE1243 = 16, VE3412 = 17,
        C2BI = 18, C2BII = 19, POWER = 20, ATHETA = 21, ARBEIT = 22, AKOL = 23,
        QNUTZ = 24, QT1S1 = 25, QT3S3 = 26, QT2S2 = 27, QGNUTZ = 28, QNUTZD = 29,
        QZU = 30, QAB = 31, QUREC = 32, QREGR = 33, A12 = 34, QN12 = 35,
        QTS112 = 36, QTS312 = 37, QTS212 = 38, QGN12 = 39, QNZD12 = 40, QUEC12 = 41,
        QUR12 = 42, QZU12 = 43, QAB12 = 44, DQNZ12 = 45, DQZU12 = 46, DQAB12 = 47,
        QH2OE = 48, DA12 = 49, DR12 = 50, SCHUB1 = 51, DAKLI = 52, A34 = 53,
        DA34 = 54, DWEG1 = 55, QN34 = 56, QTS134 = 57, QTS334 = 58, QTS234 = 59,
        QGN34 = 60, QNZD34 = 61, QUEC34 = 62, QUR34 = 63, QZU34 = 64, QAB34 = 65,
        DQNZ34 = 66, DQZU34 = 67, DQAB34 = 68, QH2OC = 69, DWEG2 = 70, DR34 = 71,
        SCHUB2 = 72, DAKLII = 73, DWORKN = 74, DAKOLN = 75, ZHKUI = 76, ZHKUII = 77,
        MHKW = 78, VALL = 79, DAKOL = 80, DATETA = 81, DREHMO = 82, WEG1 = 83,
        WEG2 = 84, HRVE = 85, HRVC = 86, QUE = 87, QUC = 88, QUTR = 89,
        DRU1 = 90, DRU2 = 91, TIME = 92, UI = 93, UII = 94, BI = 95,
        BII = 96, QH2O = 97, POWERU = 98, VWORK = 99, ARBETN = 100, DWORK = 101,
        POWERN = 102, DR1234 = 103, DRNTZ1 = 104, DRNTZ2 = 105, DRNUTZ = 106, VALLI = 107,
        VALLII = 108, DWORK1 = 109, DWORK2 = 110, FRESI = 111, FRESII = 112, VPRES1 = 113,
        PRES1 = 114, QZU1MX = 115, VIDEAL = 116, DIEXP = 117, QIEXP = 118, DICOMP = 119,
        QICOMP = 120, WORKNN = 121, AKOLN = 122, AKOLU = 123, AKOLUN = 124, VWORKU = 125,
        AFSEAL = 126, DAFSE1 = 127, DAFSE2 = 128, AC2B = 129, DAC2B1 = 130, DAC2B2 = 131,
        AZHKU = 132, DAZHK1 = 133, DAZHK2 = 134, FI12 = 135, FI43 = 136, FII34 = 137,
        FII12 = 138, DRI12 = 139, DRI43 = 140, DRII34 = 141, DRII12 = 142, DRI = 143,
        DRII = 144, DRIII = 145, DRU1M2 = 146, PPUMPH = 147, PPUMPC = 148,
        COUNT = 149
    };
};
static_assert(GlobalField::COUNT == NGLOBAL);

// Name of position I, six characters blank-padded; six blanks outside 1..705.
std::string_view NAMEG(int I);
// Position of a name, 0 when it is not in the catalogue. The comparison is exact over six
// characters: a shorter name counts as blank-padded, case and leading blanks matter.
int catalogue_position(std::string_view name);
// Dimension class 1..33 of position I; 0 outside 1..705.
int catalogue_class(int I);
// Part-engine 1..4 of a per-pair position, 0 for a global one (or outside 1..705).
int part_engine(int I);
// What the quantity at position I is, in English, for the reference: "H1-K1: gas pressure
// (without vapour)" for a per-pair quantity, the plain text for a global one; empty outside
// 1..705.
std::string quantity_description(int I);

// Unit text of class k (12 characters), and the deck keywords of its FIRST_V and DELTA_V;
// empty outside 1..33.
std::string_view unit_text(int k);
std::string_view first_keyword(int k);
std::string_view delta_keyword(int k);

// Scale table: FIRST_V/DELTA_V of class k (0 outside 1..33); store_scale writes back a pair
// computed by automatic scaling so later axes of the class share it. init_scale_table loads
// the table from the deck's 66 scaling values.
float first_value(const DiagramState& d, int k);
float delta_value(const DiagramState& d, int k);
void store_scale(DiagramState& d, int k, float first, float delta);
void init_scale_table(DiagramState& d);
// Writes FIRST_V and DELTA_V behind the N values of a series (cells N+1 and N+2).
void set_series_scale(Series& s, int N, float first, float delta);

// Whether position I is computed in a run of NZYL part-engines: global quantities always,
// those of part-engines up to NZYL, and 47 quantities of part-engine 2 in any run.
bool available(int I, int NZYL);

// Name resolution of all diagrams of a run, once before time stepping: stores positions and
// classes in the definitions, cancels a diagram whose abscissa is not found (NFAIL = 770),
// lists the positions on unit 9 at detail level 4, and fixes where each series takes its
// values from (DiagramState::source). Resets NPLOT.
void resolve_names(runtime::Units& u, DiagramState& d, int& NFAIL);

// The abscissa of diagram ND (1..10) at drawing time: false, with its message and NFAIL = 777,
// when it belongs to a part-engine not computed in the run; false without a message when it
// was never resolved.
bool check_abscissa(runtime::Units& u, DiagramState& d, int ND, int& NFAIL, int NZYL);
// The ordinate slots 1..NORD of diagram ND at drawing time: an invalid name or an unavailable
// quantity is reported and raises NFAIL by 1; an unavailable slot is dropped (IO = ID = 0).
// Returns the number of slots left to draw.
int check_ordinates(runtime::Units& u, DiagramState& d, int ND, int& NFAIL, int NZYL);

// Stores plot point NPLOT (1..2001): the current value of every resolved series, from the pair
// records and DiagramState::G, as single precision. Returns false, storing nothing, for an
// NPLOT outside 1..2001. Does not allocate.
bool store_plot_point(DiagramState& d, std::span<const simulation::PairRecord, NPARTS> pair, int NPLOT);

}  // namespace korvex::diagrams
