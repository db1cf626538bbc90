// Evaluation of a completed revolution: the revolution's works and powers as differences of the
// run accumulators, the efficiencies (totals since the start of the run), the ideal Stirling
// process and the ideal reference machine, the revolution listings, the row block of the
// results table and the per-revolution diagram curves.
//
// Every quotient goes through quot(): a zero denominator (no heat supplied yet, a revolution of
// no duration, no ideal expansion) gives 0, so that no NaN or infinity reaches a listing or a
// plot series.
#include "simulation/revolution.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "diagrams/catalogue.hpp"
#include "state/constants.hpp"
#include "runtime/format.hpp"
#include "runtime/numeric.hpp"
#include "simulation/bereg.hpp"
#include "simulation/kinematics.hpp"
#include "simulation/simul.hpp"

namespace korvex::simulation {

namespace {

using runtime::A;
using runtime::E;
using runtime::F;
using runtime::I;
using PF = PairField;
using GF = diagrams::GlobalField;

// ln(3 + 2 sqrt 2), the volume ratio term of the ideal reference machine, single precision.
constexpr double LN_REFERENCE = 1.7627500295639038;

double finite(double v) { return std::isfinite(v) ? v : 0.0; }

using runtime::quot;

// Pairs whose records take part in the machine: 1, 2 or 4 (the single-acting machine's second
// record is its crankcase).
int pairs_present(int NZYL) { return NZYL >= 4 ? 4 : (NZYL == 2 ? 2 : 1); }

// Liquid carried through the cylinders: by the nozzles when injection takes part in the run,
// or derived by COMP from the heat flows and the temperature loss DELTAT.
bool injection(const run::RunState& r) { return injection_active(r) || r.DELTAT > 0.0; }

// Volume extremes of pair i (0-based) in the revolution.
double vmax_of(const SimState& s, int i) {
    switch (i) {
        case 0: return s.VMAX;
        case 1: return s.V2MAX;
        case 2: return s.V3MAX;
        default: return s.V4MAX;
    }
}
double vmin_of(const SimState& s, int i) {
    switch (i) {
        case 0: return s.VMIN;
        case 1: return s.V2MIN;
        case 2: return s.V3MIN;
        default: return s.V4MIN;
    }
}

// ln(VMAX/VMIN), 0 when the extremes were never set or are not positive.
double log_ratio(double vmax, double vmin) {
    if (!(vmax > 0.0) || !(vmin > 0.0)) return 0.0;
    return finite(std::log(vmax / vmin));
}

std::string digit(int i) { return std::string(1, static_cast<char>('1' + i)); }
std::string pair_name(int i) { return "H" + digit(i) + "-K" + digit(i); }

// The revolution's works, powers and liquid flows, as differences of the run accumulators
// since the last revolution end.
void revolution_differences(SimState& s, const run::RunState& r) {
    RevolutionState& v = s.rev;
    const int np = pairs_present(r.NZYL);
    const auto& P1 = s.pair[0];
    const auto& P2 = s.pair[1];

    v.UDELT = finite(s.TIME - s.TIME_REV);
    v.ARBETU = finite(s.ARBEIT - v.ARBEIT_R);
    v.ARBTUN = finite(s.ARBETN - v.ARBETN_R);
    v.VWORKU = finite(s.VWORK - v.VWORK_R);
    v.AKOLU = finite(s.AKOL - v.AKOL_R);
    v.AKOLUN = finite(s.AKOLN - v.AKOLN_R);
    v.A1U = finite(P1[PF::A] - v.A1_R);
    v.A2U = finite(P2[PF::A] - v.A2_R);
    v.QZUU = finite(s.QZU - v.QZU_R);
    v.P1MEAN = quot(s.P1SUM, v.UDELT);
    v.POWERU = quot(v.AKOLU, v.UDELT);
    v.POWERN = quot(v.AKOLUN, v.UDELT);
    double sumh = 0.0, sumc = 0.0;
    for (int i = 0; i < 4; ++i) {
        const bool here = i < np;
        v.DVLHM[i] = here ? quot(s.pair[i].VLQH, v.UDELT) : 0.0;
        v.DVLCM[i] = here ? quot(s.pair[i].VLQC, v.UDELT) : 0.0;
        sumh += v.DVLHM[i];
        sumc += v.DVLCM[i];
    }
    v.VLH1 = finite(P1.VLQH);
    v.VLC1 = finite(P1.VLQC);
    v.PPUMPH = finite(sumh * r.DELTA_P * 100.0);
    v.PPUMPC = finite(sumc * r.DELTA_P * 100.0);
}

// Efficiencies in %, totals since the start of the run.
void efficiencies(SimState& s, const run::RunState& r) {
    RevolutionState& v = s.rev;
    const int np = pairs_present(r.NZYL);
    const double TE_MAX = s.comp.TE_MAX, TC_MIN = s.comp.TC_MIN;
    v.ETA_CARNOT = quot(TE_MAX - TC_MIN, TE_MAX) * 100.0;
    // With injection nozzles the liquid carries the heat, and a pair's useful heat is its work.
    const bool inj = injection_active(r);
    for (int i = 0; i < 4; ++i) {
        const auto& R = s.pair[i];
        v.ETA[i] = i < np ? quot(inj ? R[PF::A] : R[PF::QNUZD], R[PF::QZU]) * 100.0 : 0.0;
    }
    v.ETA12 = quot(s.QNZD12, s.QZU12) * 100.0;
    v.ETA34 = quot(s.QNZD34, s.QZU34) * 100.0;
    v.ETA_DQ = quot(s.QNUTZD, s.QZU) * 100.0;
    v.ETA_N = quot(s.ARBETN, s.QZU) * 100.0;
    v.ETA_A = quot(s.ARBEIT, s.QZU) * 100.0;
    v.ETA_W = quot(s.WORKNN, s.QZU) * 100.0;
    v.ETA_Q = quot(s.QNUTZ, s.QZU) * 100.0;
    v.ETA_AK = quot(s.AKOL, s.QZU) * 100.0;
    v.ETA_TH = quot(s.ATHETA, s.QZU) * 100.0;
    v.ETA_I = quot(s.QIEXP + s.QICOMP, s.QIEXP) * 100.0;
}

// The ratios of the revolution extremes, the ideal Stirling process of each pair and the ideal
// reference machine, and the utilisation of both.
void ideal_process(SimState& s, const run::RunState& r) {
    RevolutionState& v = s.rev;
    const int np = pairs_present(r.NZYL);
    v.PMAX_PMIN = quot(s.PMAX, s.PMIN);
    v.VMAX_VMIN = quot(s.VMAX, s.VMIN);
    v.POWER_ID = quot(s.QIEXP, s.TAE1MX);
    v.FAKTOR_K = quot(s.D_QZUMAX * s.TQZUMX, s.QIEXP);

    v.WORKI_SUM = 0.0;
    v.ANUZRF = 0.0;
    for (int i = 0; i < 4; ++i) {
        if (i >= np) {
            v.WORKI[i] = v.ANZRF[i] = 0.0;
            continue;
        }
        const double dT = s.TE_MAX_I[i] - s.TC_MIN_I[i];
        const double MRU = r.M0[i] * run::RM * 100.0;
        v.ANZRF[i] = finite(dT * MRU * LN_REFERENCE);
        v.WORKI[i] = finite(MRU * log_ratio(vmax_of(s, i), vmin_of(s, i)) * dT);
        v.WORKI_SUM += v.WORKI[i];
        v.ANUZRF += v.ANZRF[i];
    }
    v.AREF_I = quot(v.ARBTUN, v.ANUZRF) * 100.0;
    v.AUSN_I = quot(v.ARBTUN, v.WORKI_SUM) * 100.0;
}

// The per-revolution quantities as plottable values: the points stored from now on show
// them until the next revolution end.
void per_revolution_globals(const RevolutionState& v, std::array<double, diagrams::NGLOBAL>& G) {
    G[GF::POWERU] = v.POWERU;
    G[GF::POWERN] = v.POWERN;
    G[GF::PPUMPH] = v.PPUMPH;
    G[GF::PPUMPC] = v.PPUMPC;
    G[GF::AKOLU] = v.AKOLU;
    G[GF::AKOLUN] = v.AKOLUN;
    G[GF::VWORKU] = v.VWORKU;
}

// The revolution's values, differences and efficiencies.
void compute(Program& p) {
    revolution_differences(p.sim, p.run);
    efficiencies(p.sim, p.run);
    ideal_process(p.sim, p.run);
    per_revolution_globals(p.sim.rev, p.dia.G);
}

// ---------------------------------------------------------------------------------------
// Notes: results that must not be read as they stand, once per run on unit 6 (and wherever
// the shell shows notes).

// The machine's Carnot efficiency in %, 1 - TK/TH of the deck.
double machine_carnot(const run::RunState& r) { return quot(r.TH - r.TK, r.TH) * 100.0; }

struct NamedEta {
    const char* name = nullptr;
    double value = 0.0;
};

// The first of the revolution's efficiencies that is above CARNOT; no name when none is.
NamedEta above_carnot(const RevolutionState& v, int NZYL, double carnot) {
    constexpr std::array<const char*, 4> PAIR{"ETA1", "ETA2", "ETA3", "ETA4"};
    const int np = pairs_present(NZYL);
    std::array<NamedEta, 8> etas{{{"ETA-N", v.ETA_N}, {"ETA-TH", v.ETA_TH}}};
    int n = 2;
    for (int i = 0; i < np; ++i) etas[n++] = {PAIR[i], v.ETA[i]};
    if (np >= 2) etas[n++] = {"ETA12", v.ETA12};
    if (np == 4) etas[n++] = {"ETA34", v.ETA34};
    for (int k = 0; k < n; ++k)
        if (etas[k].value > carnot) return etas[k];
    return {};
}

// Why an efficiency can be above the Carnot efficiency: the vapour's heat QDAMF counts in the
// useful heat but not in QZU; a flywheel that gained more than the net work took energy from
// the other moving masses; else QZU, the heat balance of the expansion space, leaves out what
// the gas brings in from the regenerator end (it sums to zero only at a constant expansion
// temperature).
const char* reason_above_carnot(const RevolutionState& v, const NamedEta& eta, bool vapour,
                                double carnot) {
    if (vapour) return "QZU omits the vapour heat QDAMF";
    if (std::string_view(eta.name) == "ETA-TH" && v.ETA_N <= carnot)
        return "flywheel gain ATHETA exceeds work ARBETN";
    return "QZU omits heat from the regenerator end";
}

// A percentage without its leading blanks.
std::string percent(double x) {
    const std::string f = F(x, 8, 2);
    return f.substr(f.find_first_not_of(' ')) + "%";
}

// An efficiency above the machine's Carnot efficiency is a ratio of the heat bookkeeping, not
// an efficiency: say so once in the run.
void note_above_carnot(runtime::Units& units, RevolutionState& v, const run::RunState& r) {
    if (v.above_carnot_noted || !(r.TH > r.TK)) return;
    const double carnot = machine_carnot(r);
    const NamedEta eta = above_carnot(v, r.NZYL, carnot);
    if (eta.name == nullptr) return;
    v.above_carnot_noted = true;
    units.note(std::string(" NOTE: ") + eta.name + " " + percent(eta.value) + " > Carnot " +
               percent(carnot) + ": " + reason_above_carnot(v, eta, r.FDAMPF, carnot));
    units.note("       (Carnot = 1 - TK/TH; see docs/listings.md, efficiencies above Carnot)");
}

// A machine with its heater below its cooler that takes in work is a cooler: its cooling power
// and coefficient of performance, once in the run, for the first revolution that takes work.
void note_absorbs_work(runtime::Units& units, RevolutionState& v, const run::RunState& r,
                       int NREV) {
    if (v.absorbs_work_noted || !(r.TH < r.TK) || !(v.ARBTUN < 0.0)) return;
    v.absorbs_work_noted = true;
    units.note(" NOTE: the machine absorbs work (TH below TK) in revolution" + I(NREV, 4) +
               ": a cooler");
    units.note("       cooling power QZU/UDELT =" + E(quot(v.QZUU, v.UDELT), 12, 5) +
               " W, COP = QZU/-ARBTUN =" + F(quot(v.QZUU, -v.ARBTUN), 8, 3));
}

// ---------------------------------------------------------------------------------------
// Per-revolution diagram curves.

// Kind of a per-revolution ordinate (1 power, 2 liquid volume flow, 3 pump power) and its
// value, or 0 when the name is not one of the twelve.
int per_revolution_kind(const RevolutionState& v, std::string_view name, double& value) {
    if (name == "POWERN") { value = v.POWERN; return 1; }
    if (name == "POWERU") { value = v.POWERU; return 1; }
    if (name == "PPUMPH") { value = v.PPUMPH; return 3; }
    if (name == "PPUMPC") { value = v.PPUMPC; return 3; }
    if (name.size() == 6 && name[5] >= '1' && name[5] <= '4') {
        const int i = name[5] - '1';
        const std::string_view base = name.substr(0, 5);
        if (base == "DVLHM") { value = v.DVLHM[i]; return 2; }
        if (base == "DVLCM") { value = v.DVLCM[i]; return 2; }
    }
    return 0;
}

void record_per_revolution(Program& p, int NEND) {
    auto& d = p.dia;
    auto& v = p.sim.rev;
    const int nd = std::clamp(d.IIFREI, 0, diagrams::MAXDIA);
    for (int k = 0; k < nd; ++k) {
        const auto& def = d.def[k];
        const int nord = std::clamp(def.NORD, 0, diagrams::MAXORD);
        for (int j = 0; j < nord; ++j) {
            double value = 0.0;
            const std::string_view name = def.ordinate[j];
            const int kind = per_revolution_kind(v, name, value);
            if (kind == 0) continue;
            ORDREV(p, value, k + 1, j + 1, v.NANF[k][j], NEND, p.sim.NREV, kind, name);
        }
    }
}

// ---------------------------------------------------------------------------------------
// Listings.

// Header of ten names, each right-justified in W-1 characters and followed by a comma (the
// last without), and a row of ten values.
std::string name_row(const std::array<std::string, 10>& names, int w) {
    std::string s = " ";
    for (int k = 0; k < 10; ++k) {
        const std::string n = k < 9 ? names[k] + "," : names[k];
        s += A(n, k < 9 ? w : w - 1);
    }
    return s;
}

// The three header lines and value rows of pair i (0-based): F8 fields on unit 6, E13 fields
// on unit 9.
void pair_block(runtime::Unit& u, const SimState& s, int i, bool long_form) {
    const auto& R = s.pair[i];
    const std::string d = digit(i);
    const double eta = s.rev.ETA[i];
    const std::array<std::array<const char*, 10>, 3> names{{
        {"A", "QNUZD", "QTS1", "QTS2", "QTS3", "WORK", "QDAMF", "QH2OE", "QH2OC", "ETA"},
        {"QGN", "QUE", "QUME", "QUTE", "QUC", "QUMC", "QUTC", "QUR", "QUTR", "QUMR"},
        {"QNUZG", "QZU", "AE", "QREZU", "QAB", "AC", "QRCAB", "QUREC", "QURE", "QURC"},
    }};
    const std::array<std::array<double, 10>, 3> values{{
        {R[PF::A], R[PF::QNUZD], R[PF::QTS1], R[PF::QTS2], R[PF::QTS3], R[PF::WORK],
         R[PF::QDAMF], R[PF::QH2OE], R[PF::QH2OC], eta},
        {R[PF::QGN], R[PF::QUE], R[PF::QUME], R[PF::QUTE], R[PF::QUC], R[PF::QUMC],
         R[PF::QUTC], R[PF::QUR], R[PF::QUTR], R[PF::QUMR]},
        {R[PF::QNUZG], R[PF::QZU], R[PF::AE], R[PF::QREZU], R[PF::QAB], R[PF::AC],
         R[PF::QRCAB], R[PF::QUREC], R[PF::QURE], R[PF::QURC]},
    }};
    for (int line = 0; line < 3; ++line) {
        std::array<std::string, 10> n;
        for (int k = 0; k < 10; ++k) n[k] = std::string(names[line][k]) + d;
        u.line(name_row(n, long_form ? 13 : 8));
        std::string row = " ";
        for (int k = 0; k < 10; ++k) {
            const double x = finite(values[line][k]);
            // E13.6 rather than E13.7, so that a blank parts two values on unit 9.
            if (long_form)
                row += E(x, 13, 6);
            else
                row += (line == 0 && k == 9) ? F(x, 8, 2) : F(x, 8, 1);
        }
        u.line(row);
    }
}

// A row of up to eleven values of width 12 under a header of the same widths (unit 9).
template <std::size_t N>
void value_block9(runtime::Unit& u, const std::array<const char*, N>& names,
                  const std::array<double, N>& values, bool percent) {
    std::string h = " ", row = " ";
    for (std::size_t k = 0; k < N; ++k) {
        h += A(std::string(names[k]) + (k + 1 < N ? "," : " "), 12);
        row += percent ? F(finite(values[k]), 12, 3) : E(finite(values[k]), 12, 5);
    }
    u.line(h);
    u.line(row);
}

// Machine lines of unit 6: the header as the listing spells it, then the ten values under it.
void machine_line6(runtime::Unit& u, std::string_view header, const std::array<double, 10>& x,
                   int d, int last_d = -1) {
    u.line(header);
    std::string row = " ";
    for (int k = 0; k < 10; ++k)
        row += F(finite(x[k]), 8, (k == 9 && last_d >= 0) ? last_d : d);
    u.line(row);
}

void temperature_lines(runtime::Unit& u, const SimState& s, int np) {
    for (int i = 0; i < np; ++i)
        u.record(" TE", digit(i), "_MAX=", F(s.TE_MAX_I[i], 8, 2), " UND TC", digit(i), "_MIN=",
                 F(s.TC_MIN_I[i], 8, 2), " KELVIN");
}

// Unit 6: the revolution's real and ideal engine, and the pairs' integrals.
void list6_revolution(runtime::Units& units, const SimState& s, const run::RunState& r) {
    auto& u = units.u6;
    const RevolutionState& v = s.rev;
    const auto& P1 = s.pair[0];
    const double GM01 = r.GM0[0];

    if (units.level(2)) {
        u.record(" REALER MOTOR: EXPANSIONSARBEIT \"AE1\"=", E(finite(P1[PF::AE]), 14, 7),
                 " NEWTON * METER");
        u.record("        MAXIMALE LEISTUNG \"D_QZUMAX\" =", E(s.D_QZUMAX, 14, 7), "WATT BEI",
                 F(s.PHI_QZUMAX, 8, 2), " GRAD");
        u.record(" DREHFREQUENZ IST \"OMEGAM\" =", F(s.OMEGAM, 8, 3),
                 " HERTZ; EXPANSIONSZEIT \"TAE1MX\" =", F(s.TAE1MX, 8, 5), "SEK");
        u.record("  REALER MOTOR: \"QZU1_MAX\" =", E(s.QZU1_MAX, 14, 7), "N*M; MITTL. LEISTUNG=",
                 E(quot(s.QZU1_MAX, s.TQZUMX), 12, 5), "WATT");
        if (injection(r)) {
            u.line(" Beregnung des Gases mit Arbeitsfluessigkeit im ExpansionsZylinder:");
            u.record(" Volumenstrom fuer \"D_QZUMAX\" =", E(quot(s.D_QZUMAX, s.comp.CQ), 12, 5),
                     " Liter/sec");
            u.record(" Mittl. Volumenstrom \"DVLHM1\" =", E(v.DVLHM[0], 12, 5),
                     " Liter/sec bei DELTAT=", F(r.DELTAT, 6, 2), " K");
            u.record(" Je Umdrehung \"VLH1\" =", E(v.VLH1, 12, 5), " \"VLC1\" =", E(v.VLC1, 12, 5),
                     " Liter");
            u.record(" Leistung aller heissen Pumpen:", F(v.PPUMPH, 8, 1),
                     " Watt, aller kalten Pumpen:", F(v.PPUMPC, 8, 1), " Watt");
            u.record(" Druckverlust wurde mit Delta_P =", F(r.DELTA_P, 8, 3), " Bar angegeben");
        }
        u.record(" IDEALER MOTOR: QIEXP-MAX=", E(s.QIEXP, 14, 7), "N*M; MITTL. LEISTUNG=",
                 E(v.POWER_ID, 12, 5), " WATT");
        u.record(" IDEALER MOTOR: QICOMP   =", E(s.QICOMP, 13, 6),
                 "N*M; ETA_I=(QIEXP-QICOMP)/QIEXP =", F(v.ETA_I, 7, 2), "%");
        u.record(" IDEALER MOTOR: D_IEX-MAX=", E(s.DIEXP_MAX, 14, 7), "WATT");
        u.record("  REALER MOTOR: DQZU1-MAX=", E(s.D_QZUMAX, 14, 7), "WATT");
        // The texts follow their numbers directly; the fields are wide enough to keep a blank
        // in front of every number.
        u.record(" EXPANSION BIS WINKEL =", F(s.KU1_EXP, 9, 2), "KOMPRESSION BIS WINKEL =",
                 F(s.KU1_COMP, 9, 2), "GRAD");
        u.record(" VVEXP=", E(s.VVEXP, 13, 5), "VVCOMP=", E(s.VVCOMP, 13, 5), "CM**3");
        u.record(" LETZTE + EXPANSION=", E(s.DIEXP, 13, 5), "LETZTE - KOMPRESSION=",
                 E(s.DICOMP, 13, 5), "WATT");
        u.line(" FAKTOR K = MAXIMALWERT DER REALEN EXPANSIONSLEISTUNG * EXPANSIONSZEIT ");
        u.line("            DIVIDIERT DURCH DIE EXPANSIONSARBEIT DER IDEALEN STIRLING MASCHINE");
        u.record("        K = D_QZUMAX * TQZUMX / QIEXP =", F(v.FAKTOR_K, 8, 4), " VMAX/VMIN=",
                 F(v.VMAX_VMIN, 8, 4));
        u.record(" TIME:", F(s.TIME, 8, 4), I(s.NREV, 4), ". UMDREHUNG:", F(v.UDELT, 8, 5),
                 " SEC: PMAX=", F(s.PMAX, 6, 2), " PMIN=", F(s.PMIN, 6, 2), " BAR <======");
        u.record(" KURBELWINKEL KU1 =", F(s.KU1, 10, 2), " GRAD; T1_MAX=", F(s.T1_MAX, 7, 1),
                 " T1_MIN=", F(s.T1_MIN, 7, 1), " K");
        u.record(" PMAX/PMIN=", F(v.PMAX_PMIN, 7, 4), " VMAX=", F(s.VMAX, 9, 2), " VMIN=",
                 F(s.VMIN, 9, 2), " CM**3; VMAX/VMIN=", F(v.VMAX_VMIN, 7, 4));
        u.record(" GASMASSE=", F(GM01, 8, 4), " GEMAX=", F(s.GEMAX, 7, 4), " GEMIN=",
                 F(s.GEMIN, 7, 4), " GCMAX=", F(s.GCMAX, 7, 4), " GCMIN=", F(s.GCMIN, 7, 4), " GR");
        pair_block(u, s, 0, false);
        pair_block(u, s, 1, false);
    }
    if (units.level(4) && r.NZYL == 4) {
        pair_block(u, s, 2, false);
        pair_block(u, s, 3, false);
    }
}

// Unit 6: the machine's sums and efficiencies, and the totals since the start.
void list6_machine_sums(runtime::Units& units, const SimState& s, const run::RunState& r) {
    auto& u = units.u6;
    const RevolutionState& v = s.rev;

    if (units.level(3)) {
        machine_line6(u,
                      "     A12,  QZU12,  QAB12,  QGN12, QTS112,   QN12,    A34,  QZU34,  QAB34,"
                      "   QN34",
                      {s.A12, s.QZU12, s.QAB12, s.QGN12, s.QTS112, s.QN12, s.A34, s.QZU34,
                       s.QAB34, s.QN34},
                      1);
        machine_line6(u,
                      "  ARBEIT, AKOL/U, ATHETA, QGNUTZ, QNUTZD,  QNUTZ,  QT1S1, AKOLUN,   AKOL,"
                      "  VWORK",
                      {s.ARBEIT, v.AKOLU, s.ATHETA, s.QGNUTZ, s.QNUTZD, s.QNUTZ, s.QT1S1,
                       v.AKOLUN, s.AKOL, s.VWORK},
                      1);
        if (r.FDAMPF)
            machine_line6(u,
                          "  QNUTZD,  QT2S2,  QT3S3, QTS212, QTS234, QTS312, QTS334,   QH2O,"
                          "  QH2OE, SDMMAX",
                          {s.QNUTZD, s.QT2S2, s.QT3S3, s.QTS212, s.QTS234, s.QTS312, s.QTS334,
                           s.QH2O, s.QH2OE, s.SDMMAX},
                          1, 3);
        machine_line6(u,
                      "   ETA-C, ETA-DQ,  ETA-N,  ETA-A, ETA-AK, ETA-TH,  ETA-Q,  ETA12,  ETA34,"
                      "  ETA-I",
                      {v.ETA_CARNOT, v.ETA_DQ, v.ETA_N, v.ETA_A, v.ETA_AK, v.ETA_TH, v.ETA_Q,
                       v.ETA12, v.ETA34, v.ETA_I},
                      2);
    }
    if (units.level(2)) {
        u.line(" GESAMT: QZU,        QAB,      QREGR,      QNUTZ,     ATHETA,    VWORK,   ETA-N");
        u.record(" ", E(finite(s.QZU), 12, 5), E(finite(s.QAB), 12, 5), E(finite(s.QREGR), 12, 5),
                 E(finite(s.QNUTZ), 12, 5), E(finite(s.ATHETA), 12, 5), E(finite(s.VWORK), 11, 4),
                 F(v.ETA_N, 8, 2));
    }
}

// Unit 6: the ideal Stirling and reference machines and the utilisation of both.
void list6_ideal_process(runtime::Units& units, const SimState& s, const run::RunState& r) {
    auto& u = units.u6;
    const RevolutionState& v = s.rev;
    const int np = pairs_present(r.NZYL);

    if (units.level(4)) {
        for (int i = 0; i < np; ++i)
            u.record(" NUTZARBEIT DER IDEALEN STIRLING MASCHINE \"WORKI", digit(i), "\" IN ",
                     pair_name(i), " :", E(v.WORKI[i], 14, 7), " W*S");
        for (int i = 0; i < np; ++i)
            u.record(" NUTZARBEIT DER IDEALEN REFERENZ MASCHINE \"ANZRF", digit(i), "\" IN ",
                     pair_name(i), " :", E(v.ANZRF[i], 14, 7), " W*S");
    }
    if (units.level(2)) {
        u.line(" AUSNUTZUNGSGRAD DES REALEN / IDEALEN STIRLING-PROZESS ZWISCHEN DEN TEMPERATUREN");
        temperature_lines(u, s, np);
        u.record(" N = (ARBEIT-VWORK) / (SUMME VON WORK_I) =", F(v.ARBTUN, 10, 3), "/(",
                 F(v.WORKI_SUM, 10, 3), ")=", F(v.AUSN_I, 7, 2), " %");
        u.line(" AUSNUTZUNGSGRAD ZUM IDEALEN STIRLING-REFERENZ PROZESS ZWISCHEN DEN TEMPERATUREN");
        temperature_lines(u, s, np);
        u.record(" AREFI = ARBTUN / ANUZRF * 100. =", F(v.ARBTUN, 10, 3), "/", F(v.ANUZRF, 10, 3),
                 ")=", F(v.AREF_I, 7, 2), " %");
    }
}

// Unit 6: the short summary of the revolution.
void list6_summary(runtime::Units& units, const SimState& s, const run::RunState& r) {
    auto& u = units.u6;
    const RevolutionState& v = s.rev;
    const double GM01 = r.GM0[0];

    if (units.level(1)) {
        u.record(" ", I(s.NREV, 4), ". Umdr. in", F(v.UDELT, 9, 6), " sec: Nutzarbeit=",
                 F(v.ARBTUN, 10, 3), " Verl. Arbeit=", F(v.VWORKU, 9, 3), " N*M");
        u.record(" Ges: Arbeit=", F(finite(s.ARBEIT), 11, 3), " Nutzarbeit=",
                 F(finite(s.ARBETN), 11, 3), " Verl. Arbeit=", F(finite(s.VWORK), 10, 3), " N*M");
        u.record(" TIME=", F(s.TIME, 8, 4), " sec, mittlere Nutzleistung=", F(v.POWERN, 9, 1),
                 " Watt; RPM=", F(s.RPM, 7, 1), " U/Min");
        u.record(" Mittlerer Arbeitsdruck P1MEAN=", F(v.P1MEAN, 8, 3), " BAR; Gasmasse in H1-K1 =",
                 F(GM01, 9, 5), " Gramm");
        if (injection_active(r)) {
            u.record(" Leistung der ", I(r.NZYL, 1), " heissen Pumpen:", F(v.PPUMPH, 9, 2),
                     ", der ", I(r.NZYL, 1), " kalten Pumpen:", F(v.PPUMPC, 9, 2), " Watt");
            u.record(" bei Druckverlust DELTA_P=", F(r.DELTA_P, 8, 3), " Bar; DELTA_T=",
                     F(r.DELTAT, 6, 2), " K");
        }
    }
}

void list_unit6(runtime::Units& units, const SimState& s, const run::RunState& r) {
    list6_revolution(units, s, r);
    list6_machine_sums(units, s, r);
    list6_ideal_process(units, s, r);
    list6_summary(units, s, r);
}

// Unit 9: the revolution's real and ideal engine, its extremes and gas masses.
void list9_revolution(runtime::Units& units, const SimState& s, const run::RunState& r) {
    auto& u = units.u9;
    const RevolutionState& v = s.rev;
    const auto& P1 = s.pair[0];
    const double GM01 = r.GM0[0];
    const bool inj = injection(r);

    if (units.level(2)) {
        u.record(" REALER MOTOR: EXPANSIONSARBEIT \"AE1\"=", E(finite(P1[PF::AE]), 14, 7),
                 " NEWTON * METER; KOMPRESSIONSARBEIT \"AC1\"=", E(finite(P1[PF::AC]), 14, 7),
                 " NEWTON * METER");
        u.record("               ENERGIEZUFUHR   \"QZU1\"=", E(finite(P1[PF::QZU]), 14, 7),
                 " NEWTON * METER; DAUER DER UMDREHUNG \"UDELT\"=", F(v.UDELT, 10, 7), " SEK");
        u.record(" MAXIMAL wird zugefuehrt: \"QZU1_MAX\" =", E(s.QZU1_MAX, 14, 7),
                 " NEWTON * METER IN \"TQZUMX\" =", F(s.TQZUMX, 10, 7), " SEK");
        u.record(" MITTLERE ZUFUHR-LEISTUNG \"QZU1_MAX\"/\"TQZUMX\" =",
                 E(quot(s.QZU1_MAX, s.TQZUMX), 14, 7), " WATT");
        u.record(" MAXIMALE ZUFUHR-LEISTUNG \"D_QZUMAX\" =", E(s.D_QZUMAX, 14, 7), " WATT BEI",
                 F(s.PHI_QZUMAX, 8, 2), " GRAD");
        u.record(" DREHFREQUENZ \"OMEGAM\" =", F(s.OMEGAM, 9, 3),
                 " HERTZ; EXPANSIONSZEIT \"TAE1MX\" =", F(s.TAE1MX, 10, 7), " SEK");
        if (inj) {
            u.record(" VOLUMENSTROM FUER \"D_QZUMAX\" =", E(quot(s.D_QZUMAX, s.comp.CQ), 14, 7),
                     " LITER/SEC; JE UMDREHUNG \"VLH1\" =", E(v.VLH1, 14, 7), " \"VLC1\" =",
                     E(v.VLC1, 14, 7), " LITER");
            u.record(" Mittl. BeregnungsVol.Strom \"DVLHM1\" =", E(v.DVLHM[0], 14, 7),
                     " LITER/SEC bei", F(r.DELTAT, 7, 2),
                     " K Graedigkeit errechnet aus d_QZU1 in SUBROUTINE COMP");
            u.record(" Mittl. BeregnungsVol.Strom \"DVLCM1\" =", E(v.DVLCM[0], 14, 7),
                     " LITER/SEC bei", F(r.DELTAT, 7, 2),
                     " K Graedigkeit errechnet aus d_QAB1 in SUBROUTINE COMP");
        }
        u.record(" IDEALER MOTOR ZWISCHEN TE_MAX=", F(s.comp.TE_MAX, 8, 2), " UND TC_MIN=",
                 F(s.comp.TC_MIN, 8, 2), " KELVIN: \"QIEXP\" =", E(s.QIEXP, 14, 7),
                 " \"QICOMP\" =", E(s.QICOMP, 14, 7), " N*M");
        u.record(" ETA_I=(QIEXP-QICOMP)/QIEXP =", F(v.ETA_I, 8, 3),
                 " %; CARNOT WIRKUNGSGRAD ETA_CARNOT=(TE_MAX-TC_MIN)/TE_MAX =",
                 F(v.ETA_CARNOT, 8, 3), " %");
        u.record("                DAMIT ETA_I DEM CARNOT WIRKUNGSGRAD ETA_C=", F(v.ETA_CARNOT, 8, 3),
                 " % ENTSPRICHT, MUSS DIE RECHENSCHRITTWEITE GENUEGEND KLEIN SEIN");
        u.record(" MITTL. IDEALE LEISTUNG=", E(v.POWER_ID, 14, 7), " WATT; D_IEX-MAX=",
                 E(s.DIEXP_MAX, 14, 7), " WATT");
        u.record(" LETZTE + EXPANSION=", E(s.DIEXP, 14, 7), " WATT; LETZTE - KOMPRESSION=",
                 E(s.DICOMP, 14, 7), " WATT");
        u.record(" EXPANSION BIS WINKEL =", F(s.KU1_EXP, 9, 2), " GRAD; KOMPRESSION BIS WINKEL =",
                 F(s.KU1_COMP, 9, 2), " GRAD; VVEXP=", E(s.VVEXP, 14, 7), " VVCOMP=",
                 E(s.VVCOMP, 14, 7), " CM**3");
        u.record(" FAKTOR K = D_QZUMAX * TQZUMX / QIEXP =", E(s.D_QZUMAX, 14, 7), " *",
                 E(s.TQZUMX, 14, 7), " /", E(s.QIEXP, 14, 7), " =", F(v.FAKTOR_K, 9, 4));
        u.record(" MAXIMALE KOLBENGESCHWINDIGKEIT \"UUMAX\" =", E(s.UUMAX, 14, 7), " CM/SEC BEI",
                 F(s.PHI_UUMAX, 8, 2), " GRAD");
        u.record(" MAXIMALE KOLBENBESCHLEUNIGUNG  \"BBMAX\" =", E(s.BBMAX, 14, 7),
                 " CM/SEC**2 BEI", F(s.PHI_BBMAX, 8, 2), " GRAD");
        u.record(" VMAX =", F(s.VMAX, 10, 3), " BEI", F(s.PHI_VMAX, 8, 2), " GRAD; VMIN =",
                 F(s.VMIN, 10, 3), " BEI", F(s.PHI_VMIN, 8, 2), " GRAD; VMAX/VMIN=",
                 F(v.VMAX_VMIN, 8, 4), "; V2MAX=", F(s.V2MAX, 10, 3), " V2MIN=",
                 F(s.V2MIN, 10, 3), " CM**3");
        u.record(" PMAX =", F(s.PMAX, 10, 4), " BEI", F(s.PHI_PMAX, 8, 2), " GRAD; PMIN =",
                 F(s.PMIN, 10, 4), " BEI", F(s.PHI_PMIN, 8, 2), " GRAD; PMAX/PMIN=",
                 F(v.PMAX_PMIN, 8, 4), "; P1MEAN=", F(v.P1MEAN, 10, 4), " BAR");
        u.record(" T1_MAX=", F(s.T1_MAX, 8, 2), " BEI", F(s.PHI_T1MAX, 8, 2), " GRAD; T1_MIN=",
                 F(s.T1_MIN, 8, 2), " BEI", F(s.PHI_T1MIN, 8, 2), " GRAD; T1_MAX/T1_MIN=",
                 F(quot(s.T1_MAX, s.T1_MIN), 8, 4), " KELVIN");
        u.record(" GASMASSEN IN H1-K1: \"GM01\" =", F(GM01, 10, 6), " GRAMM");
        u.record(" EM_MAX - EM_MIN=", F(s.GEMAX - s.GEMIN, 10, 6), " GRAMM;", F(s.GEMAX, 10, 6),
                 " BEI", F(s.PHI_GEMAX, 8, 2), " GRAD,", F(s.GEMIN, 10, 6), " BEI",
                 F(s.PHI_GEMIN, 8, 2), " GRAD");
        u.record(" KM_MAX - KM_MIN=", F(s.GCMAX - s.GCMIN, 10, 6), " GRAMM;", F(s.GCMAX, 10, 6),
                 " BEI", F(s.PHI_GCMAX, 8, 2), " GRAD,", F(s.GCMIN, 10, 6), " BEI",
                 F(s.PHI_GCMIN, 8, 2), " GRAD");
        u.record(" MR_MAX - MR_MIN=", F(s.GRMAX - s.GRMIN, 10, 6), " GRAMM;", F(s.GRMAX, 10, 6),
                 " BEI", F(s.PHI_GRMAX, 8, 2), " GRAD,", F(s.GRMIN, 10, 6), " BEI",
                 F(s.PHI_GRMIN, 8, 2), " GRAD");
    }
}

// Unit 9: works, powers and efficiencies, the pairs' integrals and the machine's sums.
void list9_works_and_efficiencies(runtime::Units& units, const SimState& s, const run::RunState& r) {
    auto& u = units.u9;
    const RevolutionState& v = s.rev;

    if (units.level(2)) {
        u.record(" NUTZARBEIT PRO UMDREHUNG:     \"ARBTUN\" =", E(v.ARBTUN, 14, 7),
                 " WATT*SEC; MITTLERE NUTZ-LEISTUNG \"POWERN\"   =", E(v.POWERN, 14, 7), " WATT");
        u.record(" VERLUSTARBEIT PRO UMDREHUNG:  \"VWORKU\" =", E(v.VWORKU, 14, 7),
                 " WATT*SEC; MITTLERE GESAMTE LEISTUNG \"POWERU\"=", E(v.POWERU, 14, 7), " WATT");
        u.record(" SCHWUNGRAD ENERGIE ERHOEHUNG: \"ATHETA\" =", E(finite(s.ATHETA), 14, 7),
                 " WATT * SEC");
        u.record("0NUTZ- WIRKUNGSGRAD DER GANZEN MASCHINE \"ETA_N\" = ARBETN / QZU =",
                 F(v.ETA_N, 8, 3), " %; CARNOT WIRKUNGSGRAD \"ETA_CARNOT\" =",
                 F(v.ETA_CARNOT, 8, 3), " %");
        u.record("       WIRKUNGSGRAD DER GANZEN MASCHINE \"ETA_A\" = ARBEIT / QZU =",
                 F(v.ETA_A, 8, 3), " %");
        u.record("       WIRKUNGSGRAD DER GANZEN MASCHINE \"ETA_DQ\"= ges. A / QZU =",
                 F(v.ETA_DQ, 8, 3), " %");
        u.record("       WIRKUNGSGRAD DER TEILMASCHINE H1-K1 \"ETA_1\"=    A1/ QZU1 =",
                 F(v.ETA[0], 8, 3), " %");
        u.record(injection_active(r) ? " TEILMASCHINEN 1-2; WIRKUNGSGRAD ETA_12 = (A1+A2)/QZU12 ="
                     : " TEILMASCHINEN 1-2; WIRKUNGSGRAD ETA_12 = QNZD12 /QZU12 =",
                 F(v.ETA12, 8, 3), " %");
        if (r.NZYL == 4)
            u.record(injection_active(r) ? " TEILMASCHINEN 3-4; WIRKUNGSGRAD ETA_34 = (A3+A4)/QZU34 ="
                         : " TEILMASCHINEN 3-4; WIRKUNGSGRAD ETA_34 = QNZD34 /QZU34 =",
                     F(v.ETA34, 8, 3), " %");
        if (r.FDAMPF)
            u.record(" MAXIMALE DAMPFMASSE JE TEILMASCHINE =", F(s.SDMMAX, 10, 6), " GRAMM");
        pair_block(u, s, 0, true);
        pair_block(u, s, 1, true);
        if (r.NZYL == 4) {
            pair_block(u, s, 2, true);
            pair_block(u, s, 3, true);
        }
        value_block9<11>(u,
                         {"A12", "QZU12", "QAB12", "QGN12", "QTS112", "QN12", "A34", "QZU34",
                          "QAB34", "QGN34", "QN34"},
                         {s.A12, s.QZU12, s.QAB12, s.QGN12, s.QTS112, s.QN12, s.A34, s.QZU34,
                          s.QAB34, s.QGN34, s.QN34},
                         false);
        value_block9<11>(u,
                         {"ARBEIT", "ARBETU", "AKOL/U", "AKOLN", "AKOLUN", "ARBTUN", "ATHETA",
                          "QGNUTZ", "QNUTZD", "QNUTZ", "QT1S1"},
                         {s.ARBEIT, v.ARBETU, v.AKOLU, s.AKOLN, v.AKOLUN, v.ARBTUN, s.ATHETA,
                          s.QGNUTZ, s.QNUTZD, s.QNUTZ, s.QT1S1},
                         false);
        value_block9<3>(u, {"AKOL", "VWORK", "WORKNN"}, {s.AKOL, s.VWORK, s.WORKNN}, false);
        if (r.FDAMPF)
            value_block9<11>(u,
                             {"QNUTZD", "QT2S2", "QT3S3", "QTS212", "QTS234", "QTS312", "QTS334",
                              "QH2O", "QH2OE", "QH2OC", "SDMMAX"},
                             {s.QNUTZD, s.QT2S2, s.QT3S3, s.QTS212, s.QTS234, s.QTS312,
                              s.QTS334, s.QH2O, s.QH2OE, s.QH2OC, s.SDMMAX},
                             false);
        value_block9<11>(u,
                         {"ETA-C", "ETA-DQ", "ETA-N", "ETA-A", "ETA-W", "ETA-AK", "ETA-TH",
                          "ETA-Q", "ETA12", "ETA34", "ETA-I"},
                         {v.ETA_CARNOT, v.ETA_DQ, v.ETA_N, v.ETA_A, v.ETA_W, v.ETA_AK, v.ETA_TH,
                          v.ETA_Q, v.ETA12, v.ETA34, v.ETA_I},
                         true);
    }
}

// Unit 9: the ideal process, the utilisation and the totals since the start.
void list9_ideal_process(runtime::Units& units, const SimState& s, const run::RunState& r) {
    auto& u = units.u9;
    const RevolutionState& v = s.rev;
    const int np = pairs_present(r.NZYL);
    const double GM01 = r.GM0[0];

    if (units.level(4)) {
        const double MRU = r.M0[0] * run::RM * 100.0 * log_ratio(s.VMAX, s.VMIN);
        u.record(" IDEALER PROZESS IN \"H1-K1\": EXPANSIONSARBEIT    :",
                 E(finite(MRU * s.TE_MAX_I[0]), 14, 7), " W*S; KOMPRESSIONSARBEIT  :",
                 E(finite(-MRU * s.TC_MIN_I[0]), 14, 7), " W*S");
        u.record(" NUTZ-ARBEIT \"WORKI1\":", E(v.WORKI[0], 14, 7), " W*S");
        for (int i = 0; i < np; ++i)
            u.record(" NUTZARBEIT DER IDEALEN STIRLING REFERENZ MASCHINE FUER ZYLINDERPAAR ",
                     pair_name(i), " \"ANZRF", digit(i), "\":", E(v.ANZRF[i], 14, 7), " W*S");
    }
    if (units.level(2)) {
        u.line(" AUSNUTZUNGSGRAD DES REALEN / IDEALEN STIRLING-PROZESS ZWISCHEN DEN TEMPERATUREN");
        temperature_lines(u, s, np);
        u.line(" N = (ARBEIT - VWORK) / (SUMME VON |P0 * V0 / T0 * LN(VMAX/VMIN) * (TEMAX-TCMIN)| )"
               " = (ARBEIT - VWORK) / (SUMME VON \"WORKI.\")");
        u.record("   =", E(v.ARBTUN, 14, 7), " / (", E(v.WORKI_SUM, 14, 7), ") =",
                 F(v.AUSN_I, 8, 3), " %");
        u.line(" AUSNUTZUNGSGRAD ZUM IDEALEN STIRLING-REFERENZ PROZESS ZWISCHEN DEN TEMPERATUREN");
        temperature_lines(u, s, np);
        u.record(" AREFI = ARBTUN / ANUZRF * 100. =", E(v.ARBTUN, 14, 7), "/", E(v.ANUZRF, 14, 7),
                 ")=", F(v.AREF_I, 8, 3), " %");

        u.record(" PRO UMDREHUNG: ARBEIT=", E(v.ARBETU, 14, 7), " NUTZARBEIT: ARBTUN=",
                 E(v.ARBTUN, 14, 7), " VERL. ARBEIT=", E(v.VWORKU, 14, 7), " N*M");
        u.record(" Gesamte Arbeit bisher=", E(finite(s.ARBEIT), 14, 7), " Nutzarbeit: ARBETN=",
                 E(finite(s.ARBETN), 14, 7), " Verl. Arbeit=", E(finite(s.VWORK), 14, 7), " N*M");
        u.record(" Mittlere Nutzleistung=", F(v.POWERN, 12, 3), " Watt bei RPM=", F(s.RPM, 9, 2),
                 " U/Min", I(s.NREV, 5), ". Umdrehung in", F(v.UDELT, 10, 7), " sec");
        if (injection(r)) {
            u.record(" Abzueglich der Leistungen der heissen Pumpen:", F(v.PPUMPH, 10, 2),
                     " Watt und der kalten Pumpen:", F(v.PPUMPC, 10, 2), " Watt");
            u.record(" Druckverlust DELTA_P=", F(r.DELTA_P, 8, 3), " Bar; Temperaturverlust DELTA_T=",
                     F(r.DELTAT, 7, 2), " Grad C");
            u.record(" XTR=", F(s.XTR, 10, 4), " DELT=", E(r.SCHRITT, 14, 7));
        }
        u.record(" Mittlerer Arbeitsdruck P1MEAN=", F(v.P1MEAN, 10, 4),
                 " Bar; Gasmasse in Teilmaschine \"H1-K1\" =", F(GM01, 11, 6), " Gramm");
    }
}

void list_unit9(runtime::Units& units, const SimState& s, const run::RunState& r) {
    list9_revolution(units, s, r);
    list9_works_and_efficiencies(units, s, r);
    list9_ideal_process(units, s, r);
}

// ---------------------------------------------------------------------------------------
// Results table.

constexpr std::array<std::string_view, 12> TABLE_HEAD{
    "___________________________________________________________________________________________"
    "________________________________________",
    " 1 |  2  | 3  |  4   |  5   |  6   |  7   |  8   |  9   | 10  | 11  |  12   |  13   |  14  "
    "| 15  | 16  |  17  |  18  |  19  |  20 ",
    "___|_____|____|______|______|______|______|______|______|_____|_____|_______|_______|______"
    "|_____|_____|______|______|______|______",
    "RUN| DKST|KAPA| TEMP.|STROKE| DEAD |REGEN.| DEAD |  P0  |VMAX |PMAX | WORK  | WORK  |- WORK"
    "|POWER|DQZU1|DIFFERENCE IN GASMAS|TIME .",
    "No.| DH  |EXP |  TH  | VOL. | VOL. | VOL. | VOL. |      |  /  |  /  |  A1   |  A2   |LOST  "
    "|USABL| MAX | EXP. | COMP.| REG. |  sec ",
    "   | DK  |COMP|  TK  | EXP. | EXP. |      | COMP.|      |VMIN |PMIN |       |Watt*s |      "
    "|     |     |      |      |      |      ",
    "   STROKE|    |TE_MAX| COMP.|      |cm**3 |      |P1MEAN|     |     |       |       |      "
    "|Power|     |      |      |      |REVOL.",
    "RE-|     |    |TC_MIN|      |      |      |      |      |     |     |       | ETA_N |      "
    "| for |     |      |      |      |TIME  ",
    "VOL|     |    |      |      |      | ETA_R|      |      |     |     |       | AUSN_I|      "
    "|Pumps|     |      |      |      | msec ",
    "   |     |    |      |      |      |      |      |      |     |     |       | AREF_I|      "
    "|     |     |      |      |      |      ",
    "   |cm   | -  |Kelvin|cm**3 |cm**3 |   %  |cm**3 | Bar  |  -  |  -  |Watt*s |   %   |Watt*s"
    "| Watt| Watt|Gramm |Gramm |Gramm |RPM   ",
    "---|-----|----|------|------|------|------|------|------|-----|-----|-------|-------|------"
    "|-----|-----|------|------|------|------",
};

constexpr std::string_view RULE =
    " ___|_____|____|______|______|______|______|______|______|_____|_____|_______|_______|______"
    "|_____|_____|______|______|______|______";
constexpr std::string_view EMPTY_FRAME =
    "    |     |    |      |      |      |      |      |      |     |     |       |       |      "
    "|     |     |      |      |      |     ";

// Line 1 of the row block: the run's columns 1 to 9 and the revolution's columns 10 to 20.
std::string row_line1(const Program& p, bool thousands) {
    const SimState& s = p.sim;
    const RevolutionState& v = s.rev;
    std::string line = v.ROW.substr(0, 58);
    line.resize(58, ' ');
    const int ratio_d = v.VMAX_VMIN >= 10.0 ? 2 : 3;
    const double scale = thousands ? 0.001 : 1.0;
    line += F(v.VMAX_VMIN, 5, ratio_d) + "|" + F(v.PMAX_PMIN, 5, ratio_d) + "|";
    line += F(v.A1U * scale, 7, thousands ? 3 : 1) + "|";
    line += F(v.A2U * scale, 7, thousands ? 3 : 2) + "|";
    line += F(v.VWORKU, 6, thousands ? 1 : 3) + "|";
    line += F(v.POWERN * scale, 6, 0);
    line += F(s.D_QZUMAX * scale, 6, 0);
    const int md = thousands ? 2 : 3;
    line += F(finite(s.GEMAX - s.GEMIN), 6, md) + "|";
    line += F(finite(s.GCMAX - s.GCMIN), 6, md) + "|";
    line += F(finite(s.GRMAX - s.GRMIN), 6, md) + "|";
    line += F(s.TIME, 6, 3);
    // The F6.0 fields end in their decimal point; it becomes the column separator.
    line[98] = '|';
    line[104] = '|';
    return line;
}

void write_rows(Program& p) {
    const SimState& s = p.sim;
    const RevolutionState& v = s.rev;
    const run::RunState& r = p.run;
    auto& u8 = p.units.u8;
    auto& u9 = p.units.u9;
    const bool thousands = s.D_QZUMAX >= 100000.0;
    const std::string UNIT = thousands ? "*1000" : "     ";

    std::array<std::string, 7> L;
    L[0] = row_line1(p, thousands);
    // Line 2 keeps two blanks after the cold-side exponent, which moves its next two columns
    // two characters on; the narrow cell after the cold swept volume brings the frame back
    // under the head's separators.
    L[1] = "    |" + F(r.DH, 5, 2) + "|" + F(r.EPSILON_C, 4, 2) + "  |" + F(r.TZZ1, 6, 1) + "|" +
           F(r.VC[0], 6, 1) + "|    |      |      |      |     |     | " + UNIT + " | " + UNIT +
           " |      |" + UNIT + "|" + UNIT + "|      |      |      |      ";
    // Pump powers are drawn from the machine: shown with a minus sign, whole watts.
    const double pumps = -(v.PPUMPH + v.PPUMPC);
    const long long ipumps =
        std::fabs(pumps) < 1.0e9 ? static_cast<long long>(std::llround(pumps)) : 1000000000LL;
    L[2] = "    |" + F(r.DK, 5, 2) +
           "|    |      |      |      |      |      |      |     |     |       |" +
           F(v.ETA_N, 5, 2) + " %|      |" + I(ipumps, 5) + "|     |      |      |      |" +
           F(v.UDELT * 1000.0, 6, 1);
    const bool ausn_big = v.AUSN_I >= 100.0;
    L[3] = "    |" + F(2.0 * r.R, 5, 2) + "|    |" + F(s.TE_MAX_I[0], 6, 1) + "|      |      |" +
           F(100.0 - r.VERLUST, 6, 1) + "|      |" + F(v.P1MEAN, 6, 2) +
           "|     |     |       |" + F(v.AUSN_I, 5, ausn_big ? 1 : 2) +
           (ausn_big ? " %|      | Watt|     |" : " %|      |     |     |") + "GM01=" +
           F(r.GM0[0], 11, 6) + " Gr |";
    L[4] = " " + I(s.NREV, 3) + "|     |    |" + F(s.TC_MIN_I[0], 6, 1) +
           "|      |      |      |      |      |     |     |       |" +
           F(v.AREF_I, 5, v.AREF_I >= 100.0 ? 1 : 2) +
           " %|      |     |     |TOTAL GASMASS       |" + F(s.RPM, 6, 1);
    if (r.PHASE != r.PHASE_RUN1) {
        L[5] = "    |PHASENVERSCHIEBUNG:" + F(r.PHASE, 7, 2);
        L[5] += EMPTY_FRAME.substr(L[5].size());
    } else {
        L[5] = std::string(EMPTY_FRAME);
    }
    L[6] = std::string(RULE);
    for (const auto& l : L) {
        u8.line(l);
        u9.line(l);
    }
    u9.line("");
}

// The row block's quantities as numbers, for the results observer: unrounded and unscaled.
void report_row(const Program& p) {
    using C = ResultColumn;
    const SimState& s = p.sim;
    const RevolutionState& v = s.rev;
    const run::RunState& r = p.run;
    RevolutionResults row;
    row.run = r.NLAUF;
    row.revolution = s.NREV;
    row[C::DKST] = r.DKST;
    row[C::DH] = r.DH;
    row[C::DK] = r.DK;
    row[C::STROKE] = 2.0 * r.R;
    row[C::KAPA_EXP] = r.EPSILON_E;
    row[C::KAPA_COMP] = r.EPSILON_C;
    row[C::TH] = r.TAA1;
    row[C::TK] = r.TZZ1;
    row[C::TE_MAX] = s.TE_MAX_I[0];
    row[C::TC_MIN] = s.TC_MIN_I[0];
    row[C::STROKE_VOL_EXP] = r.VE[0];
    row[C::STROKE_VOL_COMP] = r.VC[0];
    row[C::DEAD_VOL_EXP] = r.VH00E[0];
    row[C::REGEN_VOL] = r.VR;
    row[C::ETA_R] = 100.0 - r.VERLUST;
    row[C::DEAD_VOL_COMP] = r.VH00C[0];
    row[C::P0] = r.P0;
    row[C::P1MEAN] = v.P1MEAN;
    row[C::VMAX_VMIN] = v.VMAX_VMIN;
    row[C::PMAX_PMIN] = v.PMAX_PMIN;
    row[C::A1] = v.A1U;
    row[C::A2] = v.A2U;
    row[C::ETA_N] = v.ETA_N;
    row[C::AUSN_I] = v.AUSN_I;
    row[C::AREF_I] = v.AREF_I;
    row[C::WORK_LOST] = v.VWORKU;
    row[C::POWER_USABL] = v.POWERN;
    row[C::POWER_PUMPS] = 0.0 - (v.PPUMPH + v.PPUMPC);  // no pumps: 0, not -0
    row[C::DQZU1_MAX] = s.D_QZUMAX;
    row[C::GASMAS_EXP] = finite(s.GEMAX - s.GEMIN);
    row[C::GASMAS_COMP] = finite(s.GCMAX - s.GCMIN);
    row[C::GASMAS_REG] = finite(s.GRMAX - s.GRMIN);
    row[C::GM01] = r.GM0[0];
    row[C::TIME] = s.TIME;
    row[C::REVOL_TIME] = v.UDELT * 1000.0;
    row[C::RPM] = s.RPM;
    row[C::PHASE] = r.PHASE;
    p.results->revolution(row);
}

void letzter_output(Program& p) {
    const SimState& s = p.sim;
    auto& u = p.units.u9;
    u.record(" LETZTER OUTPUT FUER DIE", I(s.NREV, 4), ". UMDREHUNG BEI KURBELWINKELSTELLUNG KU1=",
             F(s.KU1, 10, 2), "WINKEL \"CANGLE\"= ", F(s.PHI1, 8, 2), " GRAD");
    // The same header as before the loop: the names of exactly the values the printed lines
    // carry.
    print_header(p.units, p.sim, p.dia);
}

// The diagrams mark the volume extremes of the revolution: ANGLE(2) at VMIN, ANGLE(5) at VMAX.
void set_marker_angles(SimState& s, double SCHRITT) {
    const double step = s.OMEGA * SCHRITT * (180.0 / run::PI);
    s.ANGLE[1] = marker_angle(s.PHI_VMIN, step);
    s.ANGLE[4] = marker_angle(s.PHI_VMAX, step);
}

// Revolution extremes start anew; TE1_MAX.. and TC1_MIN.. hold over the whole run.
void reset_extremes(SimState& s) {
    s.GEMAX = s.GCMAX = s.GRMAX = s.T1_MAX = 0.0;
    s.VMAX = s.V2MAX = s.V3MAX = s.V4MAX = 0.0;
    s.PMAX = s.UUMAX = s.BBMAX = s.SDMMAX = 0.0;
    s.VMIN = s.V2MIN = s.V3MIN = s.V4MIN = 1000000.0;
    s.PMIN = s.PGMIN = s.T1_MIN = 1000.0;
    s.GEMIN = s.GCMIN = s.GRMIN = 10000.0;
    s.D_QZUMAX = s.PHI_QZUMAX = 0.0;
    s.DIEXP_MAX = 0.0;
    s.KU1_EXP = s.KU1_COMP = 0.0;
    s.VVEXP = s.VVCOMP = 0.0;
}

}  // namespace

std::string results_row_start(const run::RunState& r) {
    std::string row = I(r.NLAUF, 4) + "|" + F(r.DKST, 5, 2) + "|" + F(r.EPSILON_E, 4, 2);
    for (double x : {r.TAA1, r.VE[0], r.VH00E[0], r.VR, r.VH00C[0]}) row += "|" + F(x, 6, 1);
    row += "|" + F(r.P0, 6, r.P0 < 100.0 ? 3 : 2) + "|";
    row.resize(133, ' ');
    return row;
}

void write_table_head(runtime::Unit& u) {
    for (std::string_view l : TABLE_HEAD) u.record(" ", l);
}

void ORDREV(Program& p, double VALUE, int K, int J, int& NANF, int NEND, int NREV, int KIND,
            std::string_view NAME) {
    if (K < 1 || K > diagrams::MAXDIA || J < 1 || J > diagrams::MAXORD) return;
    const int first = std::max(NANF, 1);
    const int last = std::min(NEND, diagrams::NPLOTMAX);
    auto& y = p.dia.series[K - 1].y[J - 1];
    const float v = static_cast<float>(finite(VALUE));
    for (int n = first; n <= last; ++n) y[static_cast<std::size_t>(n - 1)] = v;
    if (p.units.level(5)) {
        const char* unit = KIND == 2 ? " Liter/sec" : " Watt";
        const bool caps = KIND == 3;
        p.units.u6.record(" ", I(J, 3), ". ORDINATE IM", I(K, 3), ". DIAGRAMM: \"", A(NAME, 6),
                          "\" ---> ", caps ? "PUNKTE" : "Punkte", ": (", I(first, 4),
                          caps ? " BIS " : " bis ", I(NEND, 4), ")");
        p.units.u6.record("                gefuellt mit ", E(VALUE, 14, 7), unit, " fuer die",
                          I(NREV, 4), ". Umdrehung");
        p.units.u9.record(" ", I(J, 3), ". ORDINATE IM", I(K, 3), ". DIAGRAMM: \"", A(NAME, 6),
                          "\" ---> Punkte: (", I(first, 4), " bis ", I(NEND, 4),
                          ") gefuellt mit ", E(VALUE, 14, 7), unit, " fuer die",
                          I(NREV, 4), ". Umdrehung");
        p.units.u9.record(" IM NACHFOLGENDEN PRINT OUTPUT WIRD DER WERT FUER ", A(NAME, 6),
                          " ERST IM ARRAY FUER DIE NAECHSTE UMDREHUNG", " GEDRUCKT");
    }
    NANF = NEND + 1;
}

void evaluate_revolution(Program& p) {
    SimState& s = p.sim;
    RevolutionState& v = s.rev;
    const run::RunState& r = p.run;
    const int NACH = std::abs(r.NACH);

    // The first revolution of a run measures from the start of the time loop.
    if (s.NREVC <= 1) {
        std::string row = std::move(v.ROW);
        v = RevolutionState{};
        v.ROW = std::move(row);
        v.ROW.resize(133, ' ');
        // The run's own columns, unless the run control has already put them in.
        if (v.ROW.find_first_not_of(' ') >= 58) v.ROW = results_row_start(r);
    }

    // 1. The revolution is complete; its last point is stored in this step.
    s.NREV = s.NREVC;
    s.plot_forced = true;
    const double steps = r.SCHRITT * s.RPM * 6.0;
    if (steps != 0.0 && std::isfinite(10.0 / steps)) s.XTR = 10.0 / steps;

    // 2. Diagrams: the revolution's last plot point is the one stored in this step. When only
    // the last revolution is plotted, only that revolution is recorded, from point 1. (The
    // driver closes the marker search.)
    const bool diagrams = p.dia.IIFREI > 0;
    const bool recorded = diagrams && (!r.plot_one_rev || s.NREV == NACH);
    const int NEND = p.dia.NPLOT + 1;

    // 3. The next revolution's mark.
    s.NREVC += 1;
    s.PHIREV = s.NREVC * 2.0 * run::PI;

    // 4. to 6.
    compute(p);
    if (recorded) record_per_revolution(p, NEND);
    // The liquid-flow curves of the pairs show the revolution's mean in the point of this step.
    for (int i = 0; i < pairs_present(r.NZYL); ++i) {
        s.pair[i][PF::DVLHM] = v.DVLHM[i];
        s.pair[i][PF::DVLCM] = v.DVLCM[i];
    }

    // 7. Listings and the results table.
    list_unit6(p.units, p.sim, p.run);
    note_above_carnot(p.units, v, r);
    note_absorbs_work(p.units, v, r, s.NREV);
    list_unit9(p.units, p.sim, p.run);
    write_table_head(p.units.u9);
    write_rows(p);
    if (p.results != nullptr) report_row(p);
    const bool last_output = r.IPRNT1 > 0 && p.units.level(2);
    if (last_output) letzter_output(p);

    // 8. References for the next revolution.
    s.TIME_REV = s.TIME;
    v.A1_R = s.pair[0][PF::A];
    v.A2_R = s.pair[1][PF::A];
    v.QZU_R = s.QZU;
    v.AKOL_R = s.AKOL;
    v.AKOLN_R = s.AKOLN;
    v.ARBEIT_R = s.ARBEIT;
    v.ARBETN_R = s.ARBETN;
    v.VWORK_R = s.VWORK;
    s.P1SUM = 0.0;
    for (auto& R : s.pair) R.VLQH = R.VLQC = 0.0;
    if (last_output) {
        s.QZU1_MAX = s.TQZUMX = s.QIEXP = s.QICOMP = s.TAE1MX = 0.0;
    }
    set_marker_angles(s, r.SCHRITT);

    // 9. The volume extremes of this complete revolution stay for the diagrams' ideal cycles.
    s.VMAX_REV = s.VMAX;
    s.VMIN_REV = s.VMIN;
    s.V2MAX_REV = s.V2MAX;
    s.V2MIN_REV = s.V2MIN;
    // The extremes start anew, except after the last revolution, whose values go to the
    // diagrams. NACH = 0 sets no revolution limit (the run goes on to its end time), so every
    // revolution starts its extremes anew.
    if (NACH == 0 || s.NREVC <= NACH) reset_extremes(s);
}

}  // namespace korvex::simulation
