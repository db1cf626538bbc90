// SIMUL: the simulation of one run.
//
// The time loop is an explicit forward step over the crank angle of crank 1. Every step moves
// the cranks, steps the cylinder pairs with COMP, adds up the rod forces and drives the
// flywheel with the net power, integrates the works, keeps the extremes of the revolution,
// and stores plot points. The step is the nominal SCHRITT except the one step before each
// half and full revolution, which is cut so that the crank just passes the mark.
#include "simulation/simul.hpp"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

#include "diagrams/catalogue.hpp"
#include "state/constants.hpp"
#include "runtime/format.hpp"
#include "runtime/numeric.hpp"
#include "simulation/bereg.hpp"
#include "simulation/comp.hpp"
#include "simulation/kinematics.hpp"
#include "simulation/revolution.hpp"

#include "simulation/precalc.hpp"
#include "diagrams/dia.hpp"

namespace korvex::simulation {

namespace {

using runtime::E;
using runtime::F;
using runtime::I;
using PF = PairField;
using GF = diagrams::GlobalField;
constexpr double PI = run::PI;

using runtime::quot;


// ---- Start of the run ---------------------------------------------------------------------

// Points that the revolution ends and the diagram markers force besides the regular ones, when
// the run is bounded by its end time alone (no revolution limit): one for each revolution that
// TIMEEND holds at the start speed, and the five markers that are not a revolution end. A run
// with a revolution limit may end well before TIMEEND, and when only the last revolution is
// plotted the points before it are not kept: nothing is set aside then, and should the arrays
// fill all the same, the run goes on without storing.
int forced_points(const SimState& s, const run::RunState& r) {
    if (r.NACH != 0) return 0;
    const double revs = std::floor(s.TIMEEND * s.pre.OMEGA / (2.0 * PI)) + 1.0;
    return static_cast<int>(std::min(revs, 1.0e6)) + 5;
}

// The plot and print intervals and their listing.
void plot_intervals(SimState& s, const run::RunState& r, runtime::Units& u) {
    const double D = s.DELT_NEU;
    const double ns = std::floor(quot(s.TIMEEND, D));
    s.NSTEP = ns > 2.0e9 ? 2000000000 : static_cast<int>(ns);
    const int IPRNT1 = r.IPRNT1;
    if (u.level(3)) {
        u.u6.free(" Bis Time =", s.TIMEEND, " gibt es:", s.NSTEP, " Rechenschritte in ", D, " Sec");
        u.u6.free(" Maximale Groesse der PLOT Arrays: ", diagrams::NPLOTMAX, " Punkte");
        u.u9.free(" Ab Time =", 0.0, " bis Time =", s.TIMEEND, " Sec gibt es: ", s.NSTEP,
                  " Rechenschritte in ", D, " Sec");
    }
    const bool printing = IPRNT1 > 0;
    if (s.NSTEP <= diagrams::NPLOTMAX) {
        s.NTOUTP = 1;
        s.TOUTP = D;
        s.TOUTD = IPRNT1 * D;
        if (u.level(3)) {
            u.u6.free(" PLOT Intervall in Rechenschrittweite:", D, "SEC");
            u.u6.free(" Groesse der PLOT Arrays:", s.NSTEP, " Punkte von Time=", 0.0, " bis Time =",
                      s.TIMEEND, " Sec");
        }
        if (printing) {
            u.u9.free(" PLOT INTERVALL IN RECHENSCHRITTWEITE:", D, "SEC; GROESSE DER PLOT ARRAYS:",
                      s.NSTEP, " PUNKTE VON TIME=", 0.0, " BIS TIME =", s.TIMEEND, " SEC");
            for (runtime::Unit* un : {&u.u6, &u.u9})
                un->free(" PRINT INTERVALL = PLOTINTERVALL * IPRNT1 =", s.TOUTP, " * ", IPRNT1, " =",
                         s.TOUTD);
        }
    } else {
        // At most 2001 points up to TIMEEND; the points that revolution ends and markers force
        // come on top of the regular ones, so room is left for them when they would not fit
        // (never less than half the arrays).
        const int room = diagrams::NPLOTMAX - forced_points(s, r);
        double n = std::floor(quot(s.TIMEEND / 2001.0, D)) + 1.0;
        if (n > 0.0 && std::floor(s.NSTEP / n) > room)
            n = std::floor(quot(s.TIMEEND / std::max(room, diagrams::NPLOTMAX / 2), D)) + 1.0;
        s.NTOUTP = n > 2.0e9 ? 2000000000 : static_cast<int>(n);
        s.TOUTP = s.NTOUTP * D;
        s.TOUTD = IPRNT1 * s.TOUTP;
        const int npoints = s.NSTEP / s.NTOUTP;
        if (u.level(3)) {
            u.u6.free(" PLOT  INTERVALL =", s.TOUTP, " SEC =", s.NTOUTP, " * RECHENSCHRITTWEITE DELT ");
            u.u6.free(" ERGIBT:", npoints, " PLOTPUNKTE BIS TIME =", s.TIMEEND);
        }
        if (printing) {
            u.u9.free(" PLOT  INTERVALL =", s.TOUTP, " SEC =", s.NTOUTP, " * RECHENSCHRITTWEITE DELT ");
            u.u9.free(" ERGIBT:", npoints, " PLOTPUNKTE BIS TIME =", s.TIMEEND);
            for (runtime::Unit* un : {&u.u6, &u.u9})
                un->free(" PRINT INTERVALL =", s.TOUTD, " SEC, = NTOUTP * IPRNT1 * DELT =", s.NTOUTP,
                         " *", IPRNT1, " * ", D);
        }
    }
}

}  // namespace

// The header line of the printed lines: " TIME " and the names of the plotted ordinates, six
// characters each, eight to a record.
void print_header(runtime::Units& u, SimState& s, const diagrams::DiagramState& d) {
    std::string& b = s.line_buffer;
    b.clear();
    b.append(" TIME ");
    int n = 0;
    for (int k = 0; k < d.nsource; ++k) {
        const diagrams::SeriesSource& src = d.source[static_cast<std::size_t>(k)];
        if (src.slot == 0) continue;
        const auto& def = d.def[static_cast<std::size_t>(src.dia)];
        b.append(diagrams::NAMEG(def.IO[static_cast<std::size_t>(src.slot - 1)]));
        if (++n % 8 == 0 && k + 1 < d.nsource) {
            u.u9.line(b);
            b.clear();
            b.append(6, ' ');
        }
    }
    u.u9.line(b);
}


namespace {

// ---- Per step ----------------------------------------------------------------------------

// Current value of a plot source.
double source_value(const SimState& s, const diagrams::DiagramState& d, const diagrams::SeriesSource& src) {
    if (src.pair < 0) return d.G[static_cast<std::size_t>(src.field)];
    return s.pair[static_cast<std::size_t>(src.pair)][static_cast<std::size_t>(src.field)];
}

// One printed line: TIME and the plotted ordinates, eight values to a record.
void print_line(runtime::Units& u, SimState& s, const diagrams::DiagramState& d) {
    std::string& b = s.line_buffer;
    b.clear();
    b.push_back(' ');
    b.append(F(s.TIME, 6, 4));
    int n = 0;
    for (int k = 0; k < d.nsource; ++k) {
        const diagrams::SeriesSource& src = d.source[static_cast<std::size_t>(k)];
        if (src.slot == 0) continue;
        b.append(E(source_value(s, d, src), 14, 7));
        if (++n % 8 == 0 && k + 1 < d.nsource) {
            u.u9.line(b);
            b.clear();
            b.append(7, ' ');
        }
    }
    u.u9.line(b);
}

}  // namespace

namespace {

// ---- The global plottable values -------------------------------------------------------

using Globals = decltype(diagrams::DiagramState::G);

// Crank, flywheel, control volumes and time.
void globals_crank(Globals& G, const SimState& s, const run::RunState& r) {
    G[GF::PHI1] = s.PHI1;
    G[GF::PHI2] = s.PHI1 + r.PHASE;
    G[GF::KU1] = s.KU1;
    G[GF::KU2] = s.KU2;
    G[GF::CANGLE] = s.PHI1;
    G[GF::W] = s.OMEGA;
    G[GF::DWDT] = s.DWDT;
    G[GF::RPM] = s.RPM;
    G[GF::DWEG1] = s.UD1;
    G[GF::DWEG2] = s.UD2;
    G[GF::MHKW] = s.MHKW;
    G[GF::WEG1] = s.X1;
    G[GF::WEG2] = s.X2;
    G[GF::HRVE] = s.HRVE;
    G[GF::HRVC] = s.HRVC;
    G[GF::TIME] = s.TIME;
    G[GF::UI] = s.U1;
    G[GF::UII] = s.U2;
    G[GF::BI] = s.B1;
    G[GF::BII] = s.B2;
}

// Rod forces and liquid columns.
void globals_forces(Globals& G, const SimState& s) {
    G[GF::F1243] = s.FI;
    G[GF::F3412] = s.FII;
    G[GF::VE1243] = s.FHI;
    G[GF::VE3412] = s.FHII;
    G[GF::C2BI] = s.FBI;
    G[GF::C2BII] = s.FBII;
    G[GF::SCHUB1] = s.FNI;
    G[GF::SCHUB2] = s.FNII;
    G[GF::ZHKUI] = s.FDI;
    G[GF::ZHKUII] = s.FDII;
    G[GF::VALL] = s.FHI + s.FHII;
    G[GF::DREHMO] = s.DREHMO;
    G[GF::VALLI] = s.WI - s.FHI;
    G[GF::VALLII] = s.WII - s.FHII;
    G[GF::FRESI] = s.WI;
    G[GF::FRESII] = s.WII;
}

// Pressures of the pairs, their differences and the rod forces they give.
void globals_pressures(Globals& G, const SimState& s, const run::RunState& r) {
    const auto& P = s.pair;
    const double PG1 = P[0][PF::PGES], PG2 = P[1][PF::PGES], PG3 = P[2][PF::PGES], PG4 = P[3][PF::PGES];
    const double AH = r.FQE, AK = r.FQC, AHR = r.FQER, AKR = r.FQCR;
    const double FKOL = s.pre.FKOL;
    G[GF::DR12] = PG1 - PG2;
    G[GF::DR34] = PG4 - PG3;
    G[GF::DRU1] = PG1;
    G[GF::DRU2] = PG2;
    G[GF::DR1234] = (PG1 - PG2) + (PG4 - PG3);
    G[GF::DRNTZ1] = quot(s.FNI, 10.0 * AH);
    G[GF::DRNTZ2] = quot(s.FNII, 10.0 * AK);
    G[GF::DRNUTZ] = G[GF::DRNTZ1] + G[GF::DRNTZ2];
    G[GF::VPRES1] = s.PGES1V;
    G[GF::PRES1] = PG1;
    G[GF::FI12] = (PG1 * AH - PG2 * AHR) * 10.0 - FKOL;
    G[GF::FI43] = (PG4 * AKR - PG3 * AK) * 10.0 + FKOL;
    G[GF::FII34] = (PG3 * AH - PG4 * AHR) * 10.0 - FKOL;
    G[GF::FII12] = (PG1 * AKR - PG2 * AK) * 10.0 + FKOL;
    G[GF::DRI12] = PG1 - PG2;
    G[GF::DRI43] = PG4 - PG3;
    G[GF::DRII34] = PG3 - PG4;
    G[GF::DRII12] = PG1 - PG2;
    G[GF::DRI] = G[GF::DRI12] + G[GF::DRI43];
    G[GF::DRII] = G[GF::DRII34] + G[GF::DRII12];
    G[GF::DRIII] = G[GF::DRI] - G[GF::DRII];
    G[GF::DRU1M2] = PG1 - PG2;
}

// Works and powers of the pairs and of the machine, and those of the last revolution.
void globals_works(Globals& G, const SimState& s, const run::RunState& r) {
    const auto& P = s.pair;
    G[GF::POWER] = s.POWER;
    G[GF::ATHETA] = s.ATHETA;
    G[GF::ARBEIT] = s.ARBEIT;
    G[GF::AKOL] = s.AKOL;
    G[GF::A12] = s.A12;
    G[GF::DA12] = s.DA12;
    G[GF::DAKLI] = s.FI * s.UD1 / 100.0;
    G[GF::A34] = s.A34;
    G[GF::DA34] = s.DA34;
    G[GF::DAKLII] = s.FII * s.UD2 / 100.0;
    G[GF::DWORKN] = s.DWORKN;
    G[GF::DAKOLN] = s.DAKOLN;
    G[GF::DAKOL] = s.DAKOL;
    G[GF::DATETA] = s.DATETA;
    G[GF::VWORK] = s.VWORK;
    G[GF::ARBETN] = s.ARBETN;
    G[GF::DWORK] = s.DWORK;
    G[GF::DWORK1] = P[0][PF::DA] + P[1][PF::DA];
    G[GF::DWORK2] = P[2][PF::DA] + P[3][PF::DA];
    G[GF::WORKNN] = s.WORKNN;
    G[GF::AKOLN] = s.AKOLN;
    G[GF::AFSEAL] = s.AFSEAL;
    G[GF::DAFSE1] = std::fabs(s.UD1) * r.FSEAL / 100.0;
    G[GF::DAFSE2] = std::fabs(s.UD2) * r.FSEAL / 100.0;
    G[GF::AC2B] = s.AC2B;
    G[GF::DAC2B1] = s.FBI * s.UD1 / 100.0;
    G[GF::DAC2B2] = s.FBII * s.UD2 / 100.0;
    G[GF::AZHKU] = s.AZHKU;
    G[GF::DAZHK1] = s.FDI * s.UD1 / 100.0;
    G[GF::DAZHK2] = s.FDII * s.UD2 / 100.0;
    G[GF::POWERU] = s.rev.POWERU;
    G[GF::POWERN] = s.rev.POWERN;
    G[GF::AKOLU] = s.rev.AKOLU;
    G[GF::AKOLUN] = s.rev.AKOLUN;
    G[GF::VWORKU] = s.rev.VWORKU;
    G[GF::PPUMPH] = s.rev.PPUMPH;
    G[GF::PPUMPC] = s.rev.PPUMPC;
}

// Heats of the pairs summed, and the ideal comparison machine.
void globals_heats(Globals& G, const SimState& s) {
    G[GF::QNUTZ] = s.QNUTZ;
    G[GF::QT1S1] = s.QT1S1;
    G[GF::QT3S3] = s.QT3S3;
    G[GF::QT2S2] = s.QT2S2;
    G[GF::QGNUTZ] = s.QGNUTZ;
    G[GF::QNUTZD] = s.QNUTZD;
    G[GF::QZU] = s.QZU;
    G[GF::QAB] = s.QAB;
    G[GF::QUREC] = s.QUREC;
    G[GF::QREGR] = s.QREGR;
    G[GF::QN12] = s.QN12;
    G[GF::QTS112] = s.QTS112;
    G[GF::QTS312] = s.QTS312;
    G[GF::QTS212] = s.QTS212;
    G[GF::QGN12] = s.QGN12;
    G[GF::QNZD12] = s.QNZD12;
    G[GF::QUEC12] = s.QUEC12;
    G[GF::QUR12] = s.QUR12;
    G[GF::QZU12] = s.QZU12;
    G[GF::QAB12] = s.QAB12;
    G[GF::DQNZ12] = s.DQNZ12;
    G[GF::DQZU12] = s.DQZU12;
    G[GF::DQAB12] = s.DQAB12;
    G[GF::QH2OE] = s.QH2OE;
    G[GF::QN34] = s.QN34;
    G[GF::QTS134] = s.QTS134;
    G[GF::QTS334] = s.QTS334;
    G[GF::QTS234] = s.QTS234;
    G[GF::QGN34] = s.QGN34;
    G[GF::QNZD34] = s.QNZD34;
    G[GF::QUEC34] = s.QUEC34;
    G[GF::QUR34] = s.QUR34;
    G[GF::QZU34] = s.QZU34;
    G[GF::QAB34] = s.QAB34;
    G[GF::DQNZ34] = s.DQNZ34;
    G[GF::DQZU34] = s.DQZU34;
    G[GF::DQAB34] = s.DQAB34;
    G[GF::QH2OC] = s.QH2OC;
    G[GF::QUE] = s.QUE;
    G[GF::QUC] = s.QUC;
    G[GF::QUTR] = s.QUTR;
    G[GF::QH2O] = s.QH2O;
    G[GF::QZU1MX] = s.QZU1_MAX;
    G[GF::VIDEAL] = s.VIDEAL;
    G[GF::DIEXP] = s.DIEXP;
    G[GF::QIEXP] = s.QIEXP;
    G[GF::DICOMP] = s.DICOMP;
    G[GF::QICOMP] = s.QICOMP;
}

}  // namespace

void fill_globals(diagrams::DiagramState& d, const SimState& s, const run::RunState& r) {
    globals_crank(d.G, s, r);
    globals_forces(d.G, s);
    globals_pressures(d.G, s, r);
    globals_works(d.G, s, r);
    globals_heats(d.G, s);
}


namespace {

// Travels and table angles of the pairs for crank states k1 (ANGLE1) and k2 (ANGLE2); the
// second throws, half a turn on, are given as travels only. The area factors of the pairs
// are the pre-calculation's, fixed for the run.
void set_pair_travels(SimState& s, double X1, double X2, double X1P, double X2P) {
    auto set = [&](std::size_t i, double XE, double XC, double ang) {
        CompPair& q = s.comp_pair[i];
        q.XE = XE;
        q.XC = XC;
        q.CANGLE = ang < 0.0 ? ang + 360.0 : ang;
    };
    set(0, X1, X2, s.PHI1);
    set(1, X1P, X2P, s.PHI1 - 180.0);
    set(2, X2, X1P, s.PHI1 - 90.0);
    set(3, X2P, X1, s.PHI1 - 270.0);
}

// The crankcase of the single-acting machine in the record of pair 2: adiabatic compression
// of its gas by the volume that the pair 1 pistons leave.
void crankcase_step(SimState& s, const run::RunState& r, double VCRTOT, double GM02) {
    PairRecord& R = s.pair[1];
    const double DT = s.DELT_NEU;
    const double VG2 = VCRTOT - s.pair[0][PF::VG];
    if (!(VG2 > 0.0) || !(s.VG2V > 0.0) || !(s.TE2V > 0.0)) return;   // no usable volume
    const double TE2 = s.TE2V * std::pow(s.VG2V / VG2, r.KAPPA - 1.0);
    const double P2 = s.P2V * s.VG2V * TE2 / (VG2 * s.TE2V);
    if (!std::isfinite(TE2) || !std::isfinite(P2)) return;
    const double rdt = DT > 0.0 ? 1.0 / DT : 0.0;
    R[PF::VE] = VG2;
    R[PF::VC] = VG2;
    R[PF::VG] = VG2;
    R[PF::DVG] = (VG2 - s.VG2V) * rdt;
    R[PF::TE] = TE2;
    R[PF::TC] = TE2;
    R[PF::TR] = TE2;
    R[PF::T1] = TE2;
    R[PF::ME] = GM02;
    R[PF::MC] = GM02;
    R[PF::MR] = GM02;
    R[PF::DME] = 0.0;
    R[PF::DMC] = 0.0;
    R[PF::DMR] = 0.0;
    R[PF::P] = P2;
    R[PF::PGES] = P2;
    R[PF::DP] = (P2 - s.P2V) * rdt;
    R[PF::DTE] = (TE2 - s.TE2V) * rdt;
    R[PF::DTC] = R[PF::DTE];
    R[PF::DUE] = r.CV * GM02 * R[PF::DTE];
    R[PF::DUC] = R[PF::DUE];
    R[PF::DAE] = -P2 * r.FQE * s.UD1 / 10.0;
    R[PF::DAC] = -P2 * r.FQC * s.UD2 / 10.0;
    R[PF::DA] = R[PF::DAE] + R[PF::DAC];
    if (s.TIME > 0.0) {
        R[PF::AE] += R[PF::DAE] * DT;
        R[PF::AC] += R[PF::DAC] * DT;
        R[PF::A] += R[PF::DA] * DT;
    }
    s.VG2V = VG2;
    s.TE2V = TE2;
    s.P2V = P2;
}

// A field of the pairs present summed over pairs 1 and 2, over pairs 3 and 4 and over all,
// each added up from 0 and its first pair on (0.0 + x: a sum is never a negative zero).
struct FieldSums {
    double p12 = 0.0, p34 = 0.0, all = 0.0;
};

FieldSums field_sums(const SimState& s, int npairs, std::size_t f) {
    const auto& P = s.pair;
    FieldSums r;
    r.p12 = 0.0 + P[0][f];
    if (npairs > 1) r.p12 += P[1][f];
    r.all = r.p12;
    if (npairs > 2) {
        r.p34 = (0.0 + P[2][f]) + P[3][f];
        r.all = (r.p12 + P[2][f]) + P[3][f];
    }
    return r;
}

// The work rate of the pairs, which the flywheel and the works take every step.
void work_rate_sums(SimState& s, int npairs) {
    const FieldSums da = field_sums(s, npairs, PF::DA);
    s.DA12 = da.p12;
    s.DA34 = da.p34;
    s.DWORK = s.DA12 + s.DA34;
}

// Sums over the pairs present of the heat and work terms. Only the plot and print points and
// the revolution evaluation read them, so the loop forms them there and not every step.
void machine_sums(SimState& s, int npairs, bool injection) {
    auto sums = [&](std::size_t f) { return field_sums(s, npairs, f); };
    const FieldSums qzu = sums(PF::QZU), qab = sums(PF::QAB), qgn = sums(PF::QGN);
    const FieldSums qurec = sums(PF::QUREC), qur = sums(PF::QUR), qutr = sums(PF::QUTR);
    const FieldSums qts1 = sums(PF::QTS1), qts2 = sums(PF::QTS2), qts3 = sums(PF::QTS3);
    s.QZU = qzu.all;
    s.QAB = qab.all;
    s.QGNUTZ = qgn.all;
    s.QNUTZG = sums(PF::QNUZG).all;
    s.QUREC = qurec.all;
    s.QREGR = qur.all;
    s.QH2OE = sums(PF::QH2OE).all;
    s.QH2OC = sums(PF::QH2OC).all;
    s.QH2O = s.QH2OE + s.QH2OC;
    s.QT1S1 = qts1.all;
    s.QT2S2 = qts2.all;
    s.QT3S3 = qts3.all;
    s.QUE = sums(PF::QUE).all;
    s.QUC = sums(PF::QUC).all;
    s.QUTR = qutr.all;
    s.QZU12 = qzu.p12;
    s.QAB12 = qab.p12;
    s.QGN12 = qgn.p12;
    s.QTS112 = qts1.p12;
    s.QTS212 = qts2.p12;
    s.QTS312 = qts3.p12;
    s.QUEC12 = qurec.p12;
    s.QUR12 = qur.p12;
    s.QUTR12 = qutr.p12;
    s.QZU34 = qzu.p34;
    s.QAB34 = qab.p34;
    s.QGN34 = qgn.p34;
    s.QTS134 = qts1.p34;
    s.QTS234 = qts2.p34;
    s.QTS334 = qts3.p34;
    s.QUEC34 = qurec.p34;
    s.QUR34 = qur.p34;
    s.QUTR34 = qutr.p34;
    const FieldSums a = sums(PF::A);
    s.A12 = a.p12;
    s.A34 = a.p34;
    const FieldSums qnuzd = sums(PF::QNUZD);
    s.QNZD12 = injection ? s.A12 : qnuzd.p12;
    s.QNZD34 = injection ? s.A34 : qnuzd.p34;
    s.QNUTZD = s.QNZD12 + s.QNZD34;
    s.QN12 = s.QZU12 + s.QAB12 + s.QUEC12 + s.QUTR12;
    s.QN34 = s.QZU34 + s.QAB34 + s.QUEC34 + s.QUTR34;
    s.QNUTZ = s.QN12 + s.QN34;
    const FieldSums dqzu = sums(PF::DQZU), dqab = sums(PF::DQAB), dqnzd = sums(PF::DQNZD);
    s.DQZU12 = dqzu.p12;
    s.DQAB12 = dqab.p12;
    s.DQNZ12 = injection ? s.DA12 : dqnzd.p12;
    s.DQZU34 = dqzu.p34;
    s.DQAB34 = dqab.p34;
    s.DQNZ34 = injection ? s.DA34 : dqnzd.p34;
}

// Extremes of the revolution from the new pair states.
void update_extremes(SimState& s, int npairs) {
    const PairRecord& P1 = s.pair[0];
    const double phi = s.PHI1;
    auto hi = [phi](double v, double& m, double* ang) {
        if (v > m) { m = v; if (ang) *ang = phi; }
    };
    auto lo = [phi](double v, double& m, double* ang) {
        if (v < m) { m = v; if (ang) *ang = phi; }
    };
    hi(P1[PF::ME], s.GEMAX, &s.PHI_GEMAX);
    lo(P1[PF::ME], s.GEMIN, &s.PHI_GEMIN);
    hi(P1[PF::MC], s.GCMAX, &s.PHI_GCMAX);
    lo(P1[PF::MC], s.GCMIN, &s.PHI_GCMIN);
    hi(P1[PF::MR], s.GRMAX, &s.PHI_GRMAX);
    lo(P1[PF::MR], s.GRMIN, &s.PHI_GRMIN);
    hi(P1[PF::T1], s.T1_MAX, &s.PHI_T1MAX);
    lo(P1[PF::T1], s.T1_MIN, &s.PHI_T1MIN);
    hi(P1[PF::VG], s.VMAX, &s.PHI_VMAX);
    lo(P1[PF::VG], s.VMIN, &s.PHI_VMIN);
    hi(P1[PF::PGES], s.PMAX, &s.PHI_PMAX);
    lo(P1[PF::PGES], s.PMIN, &s.PHI_PMIN);
    hi(s.pair[1][PF::VG], s.V2MAX, nullptr);
    lo(s.pair[1][PF::VG], s.V2MIN, nullptr);
    if (npairs == 4) {
        hi(s.pair[2][PF::VG], s.V3MAX, nullptr);
        lo(s.pair[2][PF::VG], s.V3MIN, nullptr);
        hi(s.pair[3][PF::VG], s.V4MAX, nullptr);
        lo(s.pair[3][PF::VG], s.V4MIN, nullptr);
    }
    double SDMMAX = s.SDMMAX;
    for (int i = 0; i < npairs; ++i) {
        const auto k = static_cast<std::size_t>(i);
        s.TE_MAX_I[k] = std::max(s.TE_MAX_I[k], s.pair[k][PF::TE]);
        s.TC_MIN_I[k] = std::min(s.TC_MIN_I[k], s.pair[k][PF::TC]);
        SDMMAX = std::max(SDMMAX, s.pair[k][PF::SDM]);
    }
    s.SDMMAX = SDMMAX;
    const double phi0 = s.PHI1 + s.PHI_0;
    if (std::fabs(s.U1) > std::fabs(s.UUMAX)) { s.UUMAX = s.U1; s.PHI_UUMAX = phi0; }
    if (std::fabs(s.B1) > std::fabs(s.BBMAX)) { s.BBMAX = s.B1; s.PHI_BBMAX = phi0; }
}

// The ideal isothermal comparison machine and the heat-input bookkeeping of pair 1.
void ideal_machine(SimState& s, const run::RunState& r) {
    const PrecalcState& sd = s.pre;
    const PairRecord& P1 = s.pair[0];
    const double DT = s.DELT_NEU;
    s.VIDEAL = sd.VMIN_IDEAL + P1[PF::VE] - r.FQE * r.HRVE0;
    const double dV = s.VIDEAL - s.VIDEALV;
    s.VIDEALV = s.VIDEAL;
    if (!(s.TIME > 0.0)) return;
    const double DQZU1 = P1[PF::DQZU];
    const double DVE1 = P1[PF::DVE];
    if (DQZU1 >= 0.0 && s.PHI1 < 360.0) {
        s.QZU1_MAX += DQZU1 * DT;
        if (DVE1 > 0.0) s.TQZUMX += DT;
    }
    if (DQZU1 > s.D_QZUMAX) {
        s.D_QZUMAX = DQZU1;
        s.PHI_QZUMAX = s.PHI1;
        s.OMEGAM = s.OMEGA / (2.0 * PI);
    }
    const double M01 = r.M0[0];
    if (DVE1 >= 0.0 && s.PHI1 < 359.0) {
        const double dQ = quot(sd.TE_MAX * 100.0 * M01 * run::RM * dV, s.VIDEAL);
        s.QIEXP += dQ;
        s.TAE1MX = s.TIME - s.TIME_REV;
        s.VVEXP += dV;
        s.DIEXP = quot(dQ, DT);
        s.DIEXP_MAX = std::max(s.DIEXP_MAX, s.DIEXP);
        s.KU1_EXP = s.KU1;
    } else {
        const double dQ = quot(sd.TC_MIN * 100.0 * M01 * run::RM * dV, s.VIDEAL);
        s.QICOMP += dQ;
        s.VVCOMP += dV;
        s.DICOMP = quot(dQ, DT);
        s.KU1_COMP = s.KU1;
    }
}

}  // namespace

namespace {

// ---- Start values ---------------------------------------------------------------------

// ---- Checks and listings of the loop -------------------------------------------------

// At the first plot point: a diagram whose abscissa is not in the catalogue is cancelled;
// when it is the only diagram of the run, plotting is switched off.
void check_abscissas(const diagrams::DiagramState& d, SimState& s, int& NFAIL, runtime::Units& u) {
    const int n = std::clamp(d.IIFREI, 0, diagrams::MAXDIA);
    for (int ND = 1; ND <= n; ++ND) {
        const auto& def = d.def[static_cast<std::size_t>(ND - 1)];
        if (diagrams::catalogue_position(def.abscissa) != 0) continue;
        std::string name = def.abscissa.substr(0, 6);
        for (runtime::Unit* un : {&u.u6, &u.u9}) {
            un->line(" ==========>> ERROR:");
            un->record(" INVALID ABSZISSA NAME: \"", name, "\" IN ", I(ND, ND < 10 ? 1 : 2),
                       ". DIAGRAM. THIS ", I(ND, ND < 10 ? 1 : 2), ". DIAGRAM IS CANCELED");
        }
        NFAIL += 1;
        if (n == 1) {
            s.plotting = false;
            NFAIL = 777;
        }
    }
}

void marker_debug(const SimState& s, const run::RunState& r, runtime::Units& u, int k, int index) {
    if (!u.level(5)) return;
    u.u9.free(" TIME = ", s.TIME, " BEI K=", index, " IST KU1= ", s.KU1, ", ANGLE(", k + 1, ")= ",
              s.ANGLE[static_cast<std::size_t>(k)], " GRAD; DELT=", s.DELT_NEU, " DELTR=",
              r.SCHRITT, ",", s.NREVC, ". Umdrehung");
}

// Step adaptation: the step of the next step, cut so that the crank just passes the next
// half or full revolution.
void next_step(SimState& s, const run::RunState& r, runtime::Units& u) {
    double target = 0.0;
    const bool cut = cut_step(s.ANGLE1, s.OMEGA, r.SCHRITT, r.SCHRITT_100, s.PHIREV, s.PHIHALF,
                              s.DELT_NEU, target);
    if (cut && u.level(5)) {
        const double dphi = s.OMEGA * s.DELT_NEU;
        for (runtime::Unit* un : {&u.u6, &u.u9}) {
            un->free(" ===> PHI1=", s.PHI1, " GRAD MIT ABSTAND VON", (target - s.ANGLE1) * run::GRAD,
                     " GRAD ZU", target * run::GRAD, " ERREICHT");
            un->free(" DELT_NEU=", s.DELT_NEU, " SEC ERGIBT IM NAECHSTEN SCHRITT: DELTA_PHI1 =",
                     dphi * run::GRAD, " GRAD");
            un->free(" PHINEW=", (s.ANGLE1 + dphi) * run::GRAD, " WIRD DAMIT ZU PHI1_NEU=",
                     s.PHI1 + dphi * run::GRAD, " GRAD KURBELWINKEL");
            un->free(" ===> TIME JETZT =", s.TIME, " SEK");
        }
    }
}

// ---- End of the run ---------------------------------------------------------------------

// Frame of the T-S diagrams: the hot limits may not lie inside the cold ones.
void ts_frame_limits(PrecalcState& pre, runtime::Units& u) {
    if (pre.TE_MIN < pre.TC_MIN) {
        u.u6.free(" TEMIN=", pre.TE_MIN, " < TCMIN=", pre.TC_MIN, " TCMIN WIRD TEMIN");
        u.u9.free(" TEMIN=", pre.TE_MIN, " < TCMIN=", pre.TC_MIN,
                  " TCMIN WIRD TEMIN FUER DIE RAHMENBERECHNUNG IM T-S DIAGRAMM");
        pre.TC_MIN = pre.TE_MIN;
    }
    if (pre.TC_MAX > pre.TE_MAX) {
        u.u6.free(" TCMAX=", pre.TC_MAX, " > TEMAX=", pre.TE_MAX, " TEMAX WIRD TCMAX");
        u.u9.free(" TCMAX=", pre.TC_MAX, " > TEMAX=", pre.TE_MAX,
                  " TEMAX WIRD TCMAX FUER DIE RAHMENBERECHNUNG IM T-S DIAGRAMM");
        pre.TE_MAX = pre.TC_MAX;
    }
}

// The last temperatures and entropies of the pairs that the T-S diagrams take (debug level 5).
void ts_values_listing(const SimState& s, runtime::Units& u) {
    if (!u.level(5)) return;
    const auto& P = s.pair;
    u.u9.line(" AUFBEREITUNG DER TEMPERARUREN UND ENTROPIEN FUER  T-S DIAGRAMME MIT SUBROUTINE \"DIA\"");
    u.u9.line(" TEILMASCH. H1-K1 ,    H2-K2   ,     H3-K3   ,     H4-K4  ");
    const char* n9[] = {" S1 =", " T1 =", " S3 =", " T3 =", " VG ="};
    const char* n6[] = {" SS1=", " TT1=", " SS3=", " TT3=", " VG ="};
    const std::size_t fld[] = {PF::S1, PF::T1, PF::S3, PF::T3, PF::VG};
    for (int k = 0; k < 5; ++k) {
        const std::size_t f = fld[k];
        u.u9.record(n9[k], E(P[0][f], 14, 7), E(P[1][f], 14, 7), E(P[2][f], 14, 7), E(P[3][f], 14, 7));
        u.u6.record(n6[k], E(P[0][f], 14, 7), E(P[1][f], 14, 7), E(P[2][f], 14, 7), E(P[3][f], 14, 7));
    }
}

// A marker of the searched revolution that the run never reached: an error each, with the
// advice to the engineer.
void unfound_markers(const SimState& s, run::RunState& r, runtime::Units& u) {
    for (int k = 1; k < 7; ++k) {
        if (s.found[static_cast<std::size_t>(k)]) continue;
        for (runtime::Unit* un : {&u.u6, &u.u9}) {
            un->free(" MARKIERUNGSPUNKT FUER:", s.ANGLE[static_cast<std::size_t>(k)], " NICHT GEFUNDEN");
            un->free(" DIE SCHWUNGMASSE THETA:", r.THETA, " IST ZU GROSS, DIE ANFANGSDREHZAHL");
            un->free(" N0=", r.N0, ", ODER \"TIME\" =", s.TIMEEND);
            un->line(" SIND ZU KLEIN FUER DIE BERECHNUNG DER 1. UMDREHUNG;");
            un->line(" \"THETA\" VERKLEINERN, \"N0\", ODER \"TIME\" ERHOEHEN");
        }
        r.NFAIL += 1;
    }
}

// The end of the run: a run too short for one revolution is an error; with diagrams, the
// T-S frame, the markers not found, and the diagram driver.
void end_of_run(Program& p, int NPLOT) {
    SimState& s = p.sim;
    run::RunState& r = p.run;
    runtime::Units& u = p.units;
    if (s.NREV == 0) {
        for (runtime::Unit* un : {&u.u6, &u.u8, &u.u9})
            un->free(" ======>> TIME =", s.TIMEEND, " SEC ZU KURZ FUER DIE BERECHNUNG VON 1 UMDREHUNG");
        r.NFAIL += 1;
    }
    const int nd = std::clamp(p.dia.IIFREI, 0, diagrams::MAXDIA);
    if (nd == 0 || !s.plotting) return;
    ts_frame_limits(s.pre, u);
    ts_values_listing(s, u);
    unfound_markers(s, r, u);
    if (r.IPRNT1 > 0) {
        if (nd == 1)
            u.u9.free("AUFRUF \"DIA\": FUER ", nd, " DIAGRAMM, JEWEILS MIT  N = ", NPLOT, " PUNKTEN");
        else
            u.u9.free("AUFRUF \"DIA\": FUER ", nd, " DIAGRAMME, JEWEILS MIT N = ", NPLOT, " PUNKTEN");
        const auto& A = s.ANGLE;
        u.u9.free(" MARKIERUNGEN IN DEN T-S UND P-V DIAGRAMMEN MIT DEN WINKELN:", A[1], A[2], A[3], A[4],
                  A[5], A[6], " WINKELGRAD");
    }
    diagrams::DIA(p);
}

}  // namespace

bool cut_step(double ANGLE1, double OMEGA, double SCHRITT, double SCHRITT_100, double PHIREV,
              double& PHIHALF, double& DELT_NEU, double& target) {
    const double DPHI = OMEGA * SCHRITT;
    bool cut = false;
    DELT_NEU = SCHRITT;
    if (ANGLE1 + DPHI > PHIREV) {
        DELT_NEU = ((PHIREV - ANGLE1) / DPHI + SCHRITT_100) * SCHRITT;
        target = PHIREV;
        cut = true;
    } else if (ANGLE1 + DPHI > PHIHALF) {
        DELT_NEU = ((PHIHALF - ANGLE1) / DPHI + SCHRITT_100) * SCHRITT;
        target = PHIHALF;
        PHIHALF = PHIREV + PI;
        cut = true;
    }
    // A step that is not positive would stop the clock: take the nominal step.
    if (!(DELT_NEU > 0.0) || !std::isfinite(DELT_NEU)) DELT_NEU = SCHRITT;
    return cut;
}

void flywheel_step(SimState& s, const LoopConstants& c) {
    const double UM1 = (s.U1 + s.U1V) / 2.0, UM2 = (s.U2 + s.U2V) / 2.0;
    s.DWDT = quot((s.FNI * UM1 + s.FNII * UM2) * c.rTHETA, s.OMEGA);
    s.OMEGAV = s.OMEGA;
    s.OMEGA = s.OMEGA + s.DWDT * s.DELT_NEU;
    s.RPM = s.OMEGA * 30.0 / PI;
    s.DATETA = (s.OMEGA + s.OMEGAV) * c.THETA * 0.5 * s.DWDT / 1.0e7;
}

namespace {

// ---- The steps of the time loop -------------------------------------------------------------

// The sine and cosine of each crank, formed once per step.
struct CrankAngles {
    double s1 = 0.0, c1 = 0.0, s2 = 0.0, c2 = 0.0;
};

// Control heights and liquid columns: the control volumes close by a half cosine over IN
// seconds from REGELN_AB on, and the hot-side column grows by the liquid they give up.
inline void control_volumes(SimState& s, const run::RunState& r, const LoopConstants& c) {
    const double tp = s.TIME - r.REGELN_AB;
    if (tp < 0.0) {
        s.HRVE = r.HRVE0;
        s.HRVC = r.HRVC0;
        s.MH = c.MH_BEFORE;
        s.MHK = c.MHK_BEFORE;
    } else if (tp <= r.IN) {
        const double f = r.IN > 0.0 ? (1.0 + std::cos(PI * tp / r.IN)) / 2.0 : 0.0;
        s.HRVE = r.HRVE0 * f;
        s.HRVC = r.HRVC0 * f;
        s.MH = std::max(0.0, (c.rdMH - 2.0 * s.HRVE * run::ROW) * c.AHR);  // never below an empty column
        s.MHK = (s.MH + c.MK) / 100000.0;
    } else {
        s.MH = c.MH_AFTER;
        s.MHK = c.MHK_AFTER;
    }
    s.MK = c.MK;
    s.comp.HRVE = s.HRVE;
    s.comp.HRVC = s.HRVC;
}

// Damping of the liquid columns, proportional to the angular speed.
inline void column_damping(SimState& s) {
    s.MHKW = s.pre.XD != 0.0 ? s.MHK * s.OMEGA * s.pre.XD : 0.0;
}

// The cranks turn on by OMEGA DT: angles, travels, speeds and accelerations of both, the
// difference-quotient speeds of the step, and the travels of the pairs.
inline CrankAngles crank_step(SimState& s, const LoopConstants& c) {
    const double DT = s.DELT_NEU;
    s.ANGLE1 += s.OMEGA * DT;
    s.ANGLE2 = s.ANGLE1 + c.phase;
    s.KU1 = s.ANGLE1 * (180.0 / PI);
    s.KU2 = s.ANGLE2 * (180.0 / PI);
    s.PHI1 = s.KU1 - 360.0 * s.NREV;
    CrankAngles a;
    a.s1 = std::sin(s.ANGLE1);
    a.c1 = std::cos(s.ANGLE1);
    a.s2 = std::sin(s.ANGLE2);
    a.c2 = std::cos(s.ANGLE2);
    const CrankState k1 = crank_motion(a.s1, a.c1, c.R, c.LR, s.OMEGA);
    const CrankState k2 = crank_motion(a.s2, a.c2, c.R, c.LR, s.OMEGA);
    s.X1 = k1.X; s.U1 = k1.U; s.B1 = k1.B;
    s.X2 = k2.X; s.U2 = k2.U; s.B2 = k2.B;
    const double rdt = DT > 0.0 ? 1.0 / DT : 0.0;
    s.UD1 = (s.X1 - s.WEG1_V) * rdt;
    s.UD2 = (s.X2 - s.WEG2_V) * rdt;
    const double X1P = c.npairs > 1 ? k1.XP : 0.0;
    const double X2P = c.npairs > 1 ? k2.XP : 0.0;
    set_pair_travels(s, s.X1, s.X2, X1P, X2P);
    return a;
}

// Pair 1 with COMP, the pressure integral for P1MEAN and the gas-pressure power of pair 1.
// False when a property error ends the run.
inline bool first_pair_step(SimState& s, run::RunState& r, runtime::Units& u,
                            properties::SteamState& steam, const CrankAngles& a) {
    const LoopConstants& c = s.constants;
    const double DT = s.DELT_NEU;
    const bool counting = s.TIME > 0.0;
    s.inj.U1 = s.U1 / 100.0;
    s.inj.U2 = s.U2 / 100.0;
    s.inj.XTR = s.XTR;
    COMP(s.pair[0], s.comp, s.comp_pair[0], s.inj, s.TIME, DT, u, steam, r.NFAIL);
    if (r.NFAIL > 880) return false;
    const double PGES1 = s.pair[0][PF::PGES];
    if (counting) s.P1SUM += (PGES1 + s.PGES1V) / 2.0 * DT;
    s.PGES1V = PGES1;
    const double P1 = s.pair[0][PF::P];
    s.POWER = c.AH * 0.1 * P1 * c.R * a.s1 * s.OMEGA + c.AK * 0.1 * P1 * c.R * a.s2 * s.OMEGA;
    if (counting) s.APOWER += s.POWER * DT;
    return true;
}

// Vapour limit: the gas pressure of pair 1 may not fall to the vapour pressure. True (with
// NFAIL = 666 and the message) when it has.
bool vapour_limit_reached(SimState& s, run::RunState& r, runtime::Units& u) {
    const double P1 = s.pair[0][PF::P];
    s.PGMIN = std::min(s.PGMIN, P1);
    const double PSTE1 = s.pair[0].PSTE;
    if (s.PGMIN > PSTE1) return false;
    r.NFAIL = 666;
    u.u6.line("0");
    u.u6.line("0DER PROZESS KANN NICHT WEITER BERECHNET WERDEN, DA DER MINIMALE GASDRUCK");
    u.u9.line(" ");
    u.u9.line(" DER PROZESS KANN NICHT WEITER BERECHNET WERDEN, DA DER MINIMALE GASDRUCK");
    for (runtime::Unit* un : {&u.u6, &u.u9}) {
        un->record(" PGMIN=", F(s.PGMIN, 7, 3), " < IST ALS DER MAXIMALEDAMPFDRUCK PSTE1 =",
                   F(PSTE1, 7, 3), " BAR");
        un->record(" FESTGESTELLT BEI TIME=", F(s.TIME, 8, 5), " SEC; WINKEL \"CANGLE\"",
                   F(s.KU1, 8, 3), " GRAD");
    }
    return true;
}

// The other pairs with COMP, or the crankcase of the single-acting machine. False when a
// property error ends the run.
inline bool other_pairs_step(SimState& s, run::RunState& r, runtime::Units& u,
                             properties::SteamState& steam) {
    const LoopConstants& c = s.constants;
    for (int i = 1; i < c.npairs; ++i) {
        const auto k = static_cast<std::size_t>(i);
        COMP(s.pair[k], s.comp, s.comp_pair[k], s.inj, s.TIME, s.DELT_NEU, u, steam, r.NFAIL);
        if (r.NFAIL > 880) return false;
    }
    if (c.single) crankcase_step(s, r, c.VCRTOT, c.GM02);
    return true;
}

// Gas forces on the piston rods FI and FII.
inline void gas_forces(SimState& s, const LoopConstants& c) {
    const double AH = c.AH, AK = c.AK, AHR = c.AHR, AKR = c.AKR, FKOL = c.FKOL;
    const double PG1 = s.pair[0][PF::PGES], PG2 = s.pair[1][PF::PGES];
    if (c.NZYL == 4) {
        const double PG3 = s.pair[2][PF::PGES], PG4 = s.pair[3][PF::PGES];
        s.FI = ((PG1 * AH - PG2 * AHR) * 10.0 - FKOL) + ((PG4 * AKR - PG3 * AK) * 10.0 + FKOL);
        s.FII = ((PG3 * AH - PG4 * AHR) * 10.0 - FKOL) + ((PG1 * AKR - PG2 * AK) * 10.0 + FKOL);
    } else {
        s.FI = (PG1 * AH - PG2 * AHR) * 10.0 - FKOL;
        s.FII = (PG1 * AK - PG2 * AKR) * 10.0 - FKOL;
    }
}

// Liquid and seal forces, with the step means of volumes and kinematics, and the net rod
// forces FNI, FNII.
inline void liquid_and_seal_forces(SimState& s, const LoopConstants& c) {
    auto vm = [&](std::size_t i, std::size_t f, double prev) { return (s.pair[i][f] + prev) / 2.0; };
    if (c.NZYL == 4) {
        s.FHI = ((vm(0, PF::VE, s.VE_V[0]) - vm(1, PF::VE, s.VE_V[1])) +
                 (vm(3, PF::VC, s.VC_V[3]) - vm(2, PF::VC, s.VC_V[2]))) * c.GAMMA;
        s.FHII = ((vm(2, PF::VE, s.VE_V[2]) - vm(3, PF::VE, s.VE_V[3])) +
                  (vm(0, PF::VC, s.VC_V[0]) - vm(1, PF::VC, s.VC_V[1]))) * c.GAMMA;
    } else if (c.NZYL == 2) {
        s.FHI = (vm(0, PF::VE, s.VE_V[0]) - vm(1, PF::VE, s.VE_V[1])) * c.GAMMA;
        s.FHII = (vm(0, PF::VC, s.VC_V[0]) - vm(1, PF::VC, s.VC_V[1])) * c.GAMMA;
    } else {
        s.FHI = 0.0;
        s.FHII = 0.0;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        s.VE_V[i] = s.pair[i][PF::VE];
        s.VC_V[i] = s.pair[i][PF::VC];
    }
    s.FBI = s.MHK * (s.B1 + s.B1V) / 2.0;
    s.FBII = s.MHK * (s.B2 + s.B2V) / 2.0;
    s.FDI = s.MHKW * (s.U1 + s.U1V) / 2.0;
    s.FDII = s.MHKW * (s.U2 + s.U2V) / 2.0;
    s.SIGN1 = seal_direction(s.UD1);
    s.SIGN2 = seal_direction(s.UD2);
    const double FSEAL = c.FSEAL;
    const double kol = c.NZYL == 4 ? 0.0 : c.FKOL;
    s.WI = s.FHI + s.FBI + s.FDI + s.SIGN1 * FSEAL + kol;
    s.WII = s.FHII + s.FBII + s.FDII + s.SIGN2 * FSEAL + kol;
    s.FNI = s.FI - s.FBI - s.FDI - s.FHI - s.SIGN1 * FSEAL;
    s.FNII = s.FII - s.FBII - s.FDII - s.FHII - s.SIGN2 * FSEAL;
}

// Powers of the step: rod, loss and net powers, torque, and the powers of seal friction,
// liquid inertia and damping. The machine sums fall due.
inline void step_powers(SimState& s, const LoopConstants& c, const CrankAngles& a) {
    s.DAKOL = s.FI * s.UD1 / 100.0 + s.FII * s.UD2 / 100.0;
    s.DVWORK = (s.WI * s.UD1 + s.WII * s.UD2) / 100.0;
    work_rate_sums(s, c.npairs);
    s.sums_due = true;
    s.DWORKN = s.DWORK - s.DVWORK;
    s.DAKOLN = (s.FI - s.WI) * s.UD1 / 100.0 + (s.FII - s.WII) * s.UD2 / 100.0;
    s.DREHMO = (s.FI - s.WI) * (c.R / 100.0) * a.s1 + (s.FII - s.WII) * (c.R / 100.0) * a.s2;
    s.DAFSE = (std::fabs(s.UD1) + std::fabs(s.UD2)) * c.FSEAL / 100.0;
    s.DAC2B = (s.FBI * s.UD1 + s.FBII * s.UD2) / 100.0;
    s.DAZHK = (s.FDI * s.UD1 + s.FDII * s.UD2) / 100.0;
}

// Works of the run: the integrals of the step's powers (those of the net balance from the
// start time on), the ideal comparison machine, and the crank values kept for the next step.
inline void work_integrals(SimState& s, const run::RunState& r) {
    const double DT = s.DELT_NEU;
    if (s.TIME > 0.0) {
        s.AKOL += s.DAKOL * DT;
        s.AKOLN += s.DAKOLN * DT;
        s.VWORK += s.DVWORK * DT;
        s.WORKNN += s.DWORKN * DT;
        s.ATHETA += s.DATETA * DT;
        s.ARBEIT += s.DWORK * DT;
    }
    s.AFSEAL += s.DAFSE * DT;
    s.AC2B += s.DAC2B * DT;
    s.AZHKU += s.DAZHK * DT;
    s.ARBETN = s.ARBEIT - s.VWORK;
    ideal_machine(s, r);
    s.WEG1_V = s.X1;
    s.WEG2_V = s.X2;
    s.U1V = s.U1;
    s.U2V = s.U2;
    s.B1V = s.B1;
    s.B2V = s.B2;
}

// A flywheel that stops (or turns back) ends the run: the crank would never reach the next
// mark, and the flywheel equation divides by the angular speed. A crank that turns half a
// revolution or more in one nominal step has run away from what an explicit step can follow:
// every step would end a revolution and add a revolution block to the listings. True (with
// the message) when the run ends for either.
bool crank_out_of_bounds(const SimState& s, run::RunState& r, runtime::Units& u) {
    if (!(s.OMEGA > 0.0) || !std::isfinite(s.OMEGA)) {
        for (runtime::Unit* un : {&u.u6, &u.u9})
            un->free(" ======>> DIE MASCHINE BLEIBT STEHEN: OMEGA=", s.OMEGA, " 1/SEC BEI TIME=",
                     s.TIME, " SEC");
        r.NFAIL += 1;
        return true;
    }
    if (s.OMEGA * r.SCHRITT >= PI) {
        for (runtime::Unit* un : {&u.u6, &u.u9})
            un->free(" ======>> DREHZAHL ZU HOCH: RPM=", s.OMEGA * 30.0 / PI, " BEI TIME=", s.TIME,
                     " SEC; MEHR ALS 180 GRAD KURBELWINKEL JE RECHENSCHRITT, SCHRITT VERKLEINERN");
        r.NFAIL += 1;
        return true;
    }
    return false;
}

// The machine sums of the step, formed when the first reader of the step needs them.
inline void form_machine_sums(SimState& s) {
    if (!s.sums_due) return;
    machine_sums(s, s.constants.npairs, s.constants.injection);
    s.sums_due = false;
}

// What the revolution end and the marker search of a step have found.
struct StepMarks {
    bool rev_end = false;
    bool close_search = false;   // the searched revolution ended: its last marker is here
    int marker_hit = -1;         // marker reached in this step
};

// The revolution searched for markers: NACH when only that revolution is plotted, else the
// first.
inline int searched_revolution(const LoopConstants& c) { return c.one_rev ? c.NACH : 1; }

// Markers of the searched revolution, at most one per step.
inline void marker_search(SimState& s, StepMarks& m) {
    if (m.rev_end || s.NREVC != searched_revolution(s.constants) || s.next_marker > 5) return;
    const int k = s.next_marker;
    if (s.PHI1 - s.ANGLE[static_cast<std::size_t>(k)] >= 0.0) {
        s.plot_forced = true;
        m.marker_hit = k;
        s.found[static_cast<std::size_t>(k)] = true;
        s.next_marker = k + 1;
    }
}

// A plot point when its time has come or a revolution end or marker forces one.
void plot_point(SimState& s, diagrams::DiagramState& d, run::RunState& r, runtime::Units& u,
                const StepMarks& m, double tnow) {
    const LoopConstants& c = s.constants;
    if (tnow >= s.TPLOT) s.TPLOT = s.TIME + s.TOUTP;
    if (!s.abscissa_checked) {
        s.abscissa_checked = true;
        check_abscissas(d, s, r.NFAIL, u);
    }
    int index = s.NPLOT + 1;
    if (c.one_rev && !s.one_rev_started) {
        // Only revolution NACH is kept: every point before it overwrites point 1, and the
        // point that ends revolution NACH - 1 is its first.
        index = 1;
        if (s.NREV >= c.NACH - 1) s.one_rev_started = true;
    }
    if (s.plotting && index > diagrams::NPLOTMAX) {
        // The arrays are full: said once, and the run computes on to its end without storing
        // further points.
        if (!s.plot_full)
            for (runtime::Unit* un : {&u.u6, &u.u9})
                un->free("MAXIMALE ANZAHL DER PLOT DATEN ERREICHT: N=", s.NPLOT);
        s.plot_full = true;
    }
    if (!s.plotting || s.plot_full) return;
    s.NPLOT = index;
    if (c.takes_globals) {
        form_machine_sums(s);
        fill_globals(d, s, r);
    }
    diagrams::store_plot_point(d, std::span<const PairRecord, 4>(s.pair), s.NPLOT);
    if (m.marker_hit > 0) {
        s.MARK[static_cast<std::size_t>(m.marker_hit)] = s.NPLOT;
        marker_debug(s, r, u, m.marker_hit, s.NPLOT);
    }
    if (m.close_search) {
        s.MARK[6] = s.NPLOT;
        marker_debug(s, r, u, 6, s.NPLOT);
    }
}

// A printed line when its time has come.
void print_point(SimState& s, diagrams::DiagramState& d, const run::RunState& r, runtime::Units& u) {
    s.TPRINT = s.TIME + s.TOUTD;
    if (s.constants.takes_globals) {
        form_machine_sums(s);
        fill_globals(d, s, r);
    }
    print_line(u, s, d);
}

// ---- The run ------------------------------------------------------------------------------

// The run's constants of the time loop, from the run data and the pre-calculation.
LoopConstants loop_constants(const run::RunState& r, const PrecalcState& sd,
                             const diagrams::DiagramState& d, bool injection) {
    LoopConstants c;
    c.NZYL = r.NZYL;
    c.npairs = c.NZYL == 4 ? 4 : (c.NZYL == 2 ? 2 : 1);
    c.single = c.NZYL < 2;
    c.AH = r.FQE;
    c.AK = r.FQC;
    c.AHR = r.FQER;
    c.AKR = r.FQCR;
    c.R = r.R;
    c.LR = r.LR;
    c.phase = r.PHASE * PI / 180.0;
    c.THETA = r.THETA;
    c.rTHETA = quot(100000.0, c.THETA);
    c.FSEAL = r.FSEAL;
    c.GAMMA = sd.GAMMA;
    c.FKOL = sd.FKOL;
    c.GM02 = sd.GM02;
    c.VCRTOT = sd.VCRTOT;
    c.NACH = r.NACH;
    c.one_rev = r.plot_one_rev && c.NACH > 0;
    c.injection = injection;
    c.diagrams_defined = d.IIFREI > 0;
    c.printing = r.IPRNT1 > 0;
    for (int k = 0; k < d.nsource; ++k)
        c.takes_globals = c.takes_globals || d.source[static_cast<std::size_t>(k)].pair < 0;
    c.rdMH = r.R * r.ZW * run::ROW;
    c.MK = c.rdMH * c.AKR;
    c.MH_BEFORE = std::max(0.0, (c.rdMH - 2.0 * r.HRVE0 * run::ROW) * c.AHR);
    c.MH_AFTER = c.rdMH * c.AHR;
    c.MHK_BEFORE = (c.MH_BEFORE + c.MK) / 100000.0;
    c.MHK_AFTER = (c.MH_AFTER + c.MK) / 100000.0;
    return c;
}

// The state of the loop one step before the start: the crank a step back, the previous
// values of the first step, the revolution marks and the extremes' start values.
void start_of_loop(SimState& s, const run::RunState& r) {
    const PrecalcState& sd = s.pre;
    const LoopConstants& c = s.constants;
    s.TIME = -s.DELT_NEU;
    s.NREV = 0;
    s.NREVC = 1;
    s.PHIREV = 2.0 * PI;
    s.PHIHALF = PI;
    s.TPLOT = 0.0;
    s.TPRINT = 0.0;
    s.MARK.fill(1);
    s.next_marker = 1;
    s.OMEGA = sd.OMEGA;
    s.RPM = s.OMEGA * 30.0 / PI;
    s.ANGLE1 = -s.OMEGA * s.DELT_NEU;
    const CrankState a = crank_motion_at(s.ANGLE1, c.R, c.LR, s.OMEGA);
    const CrankState b = crank_motion_at(s.ANGLE1 + c.phase, c.R, c.LR, s.OMEGA);
    s.WEG1_V = a.X;
    s.WEG2_V = b.X;
    s.U1V = a.U;
    s.B1V = a.B;
    s.U2V = b.U;
    s.B2V = b.B;
    s.HRVE = r.HRVE0;
    s.HRVC = r.HRVC0;
    s.PGES1V = s.pair[0].PGESV;
    s.VIDEALV = sd.VMIN_IDEAL + s.pair[0].VEV - c.AH * r.HRVE0;
    s.TE_MAX_I.fill(r.TK / 1000.0);
    s.TC_MIN_I.fill(r.TH * 1000.0);
    for (std::size_t i = 0; i < 4; ++i) {
        s.VE_V[i] = s.pair[i].VEV;
        s.VC_V[i] = s.pair[i].VCV;
    }
    if (c.single) {
        s.VG2V = sd.VG2V;
        s.TE2V = sd.TE2V;
        s.P2V = sd.P2V;
    }
}

// The start of the run: the state of the previous run cleared, the names of the diagrams
// resolved, the pre-calculation, the injection data, the loop constants, the plot and print
// intervals and the header of the printed lines. False when the run cannot start.
bool start_of_run(Program& p) {
    run::RunState& r = p.run;
    runtime::Units& u = p.units;
    if (!check_run_values(p)) return false;

    // Nothing of the previous run carries over, except the run's own columns of the results
    // row that the run control has written before the call.
    std::string row = std::move(p.sim.rev.ROW);
    p.sim = SimState{};
    SimState& s = p.sim;
    s.rev.ROW = std::move(row);
    if (s.rev.ROW.size() < 133) s.rev.ROW.resize(133, ' ');
    s.line_buffer.reserve(256);
    s.TIMEEND = r.TIME;
    s.DELT_NEU = r.SCHRITT;
    s.PHI_0 = r.PHI0;

    diagrams::resolve_names(u, p.dia, r.NFAIL);

    if (!PRECALC(p)) return false;
    if (!check_injection_input(p)) return false;
    prepare_injection(s.inj, r);
    s.constants = loop_constants(r, s.pre, p.dia, s.inj.C.active);

    plot_intervals(s, r, u);

    // Marker angles of the diagrams, as the pre-calculation left them; the revolution
    // evaluation moves those of the smallest and largest volume on.
    s.ANGLE = s.pre.ANGLE;
    s.ANGLE[6] = 360.0;
    if (s.constants.printing && s.constants.diagrams_defined && u.level(2)) print_header(u, s, p.dia);
    start_of_loop(s, r);
    p.dia.NPLOT = 0;
    return true;
}

// The end of a revolution: its evaluation, and the close of the marker search when it was
// the searched one. False when a property error ends the run.
bool revolution_end(Program& p, StepMarks& m) {
    SimState& s = p.sim;
    m.rev_end = true;
    const int ending = s.NREVC;
    form_machine_sums(s);
    evaluate_revolution(p);
    s.plot_forced = true;
    if (p.run.NFAIL > 880) return false;
    if (p.progress != nullptr) p.progress(p.progress_ctx, p);
    if (ending == searched_revolution(s.constants) && s.next_marker <= 6) {
        m.close_search = true;
        s.next_marker = 7;
        s.found[6] = true;
    }
    return true;
}

// The time loop: each step in the order the model takes them. Returns at a property error
// or a gas pressure below the vapour pressure (no end-of-run work then).
void simulate(Program& p) {
    if (!start_of_run(p)) return;
    SimState& s = p.sim;
    run::RunState& r = p.run;
    runtime::Units& u = p.units;
    const LoopConstants& c = s.constants;
    const double TIMEEND = s.TIMEEND;

    while (s.TIME <= TIMEEND) {
        s.TIME += s.DELT_NEU;
        control_volumes(s, r, c);
        column_damping(s);
        const CrankAngles a = crank_step(s, c);
        if (!first_pair_step(s, r, u, p.steam, a)) return;
        if (r.FDAMPF && vapour_limit_reached(s, r, u)) return;
        if (!other_pairs_step(s, r, u, p.steam)) return;
        gas_forces(s, c);
        liquid_and_seal_forces(s, c);
        flywheel_step(s, c);
        step_powers(s, c, a);
        work_integrals(s, r);
        update_extremes(s, c.npairs);
        if (crank_out_of_bounds(s, r, u)) break;

        s.plot_forced = false;
        StepMarks m;
        if (s.ANGLE1 >= s.PHIREV && !revolution_end(p, m)) return;
        marker_search(s, m);
        // The plot and print instants are compared with a hundredth of a step to spare: TIME
        // is a sum of steps and may fall short of an instant by a rounding error, which would
        // put the point one step late.
        const double tnow = s.TIME + r.SCHRITT_100;
        if (s.plotting && c.diagrams_defined && (s.plot_forced || tnow >= s.TPLOT))
            plot_point(s, p.dia, r, u, m, tnow);
        if (c.printing && tnow >= s.TPRINT) print_point(s, p.dia, r, u);

        if (c.NACH > 0 && s.NREVC > c.NACH) break;
        next_step(s, r, u);
    }

    form_machine_sums(s);
    end_of_run(p, s.NPLOT);
}

}  // namespace

// A property error ends the run in which it happens. The job's error number keeps it for the
// later runs of the job, but their own tests for a property error (NFAIL above 880) must not
// see it, or every later run would end at its first test. A later run therefore starts from 0
// and hands back what the job's number would have been: its own error when it set one, else
// the earlier error with the errors this run counted. Once the steam routine has given up
// for the job (more than ten errors) its results can no longer be trusted, and the earlier
// error stands as it is.
void SIMUL(Program& p) {
    int& NFAIL = p.run.NFAIL;
    const int earlier = NFAIL;
    const bool carried = earlier > 880 && p.steam.NERR <= 10;
    if (carried) NFAIL = 0;
    simulate(p);
    if (carried) NFAIL = NFAIL >= 100 ? NFAIL : earlier + NFAIL;
}

}  // namespace korvex::simulation
