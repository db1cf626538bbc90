// Pre-calculation of machine H1-K1 and the start states of a run.
#include "simulation/precalc.hpp"

#include <cmath>
#include <string>

#include "properties/tetctr.hpp"
#include "properties/vorcom.hpp"
#include "state/constants.hpp"
#include "state/program.hpp"
#include "runtime/numeric.hpp"
#include "simulation/bereg.hpp"
#include "simulation/comp.hpp"
#include "simulation/kinematics.hpp"
#include "simulation/tdifdf.hpp"

namespace korvex::simulation {

namespace {

using PF = PairField;
using run::PI;
using runtime::E;
using runtime::F;
using runtime::I;

// 1/12 degree, the marker tolerance of the first pass (single precision).
constexpr double FACTAA0 = 0.08333333581686019;
// Growth of the marker tolerance from one pass to the next (1.1 in single precision).
constexpr double FACTAA_GROWTH = 1.100000023841858;
constexpr int MAX_PASSES = 10;
// 9.81 as the model holds it (single precision).
constexpr double G981 = 9.8100004196167;

// A degenerate machine gives zeros, not NaN, in the start state and the listings.
constexpr auto qt = runtime::quot;

double finite_or(double v, double alt) { return std::isfinite(v) ? v : alt; }

// Pairs present: 1 (single-acting, also for 0), 2 or 4.
int pairs_of(int NZYL) {
    if (NZYL >= 4) return 4;
    if (NZYL >= 2) return 2;
    return 1;
}

template <class... P>
void both(runtime::Units& u, const P&... pieces) {
    u.u6.record(pieces...);
    u.u9.record(pieces...);
}

// The fixed geometry of H1-K1 for the pre-calculation.
struct Geometry {
    double AH = 0.0, AK = 0.0, VR = 0.0;
    double H0E = 0.0, H0C = 0.0;   // clearance plus control height, cm
    double FC = 1.0;               // area factor of the cold side
    double R = 0.0, LR = 0.0, PHASE_R = 0.0;

    void volumes(double phi, double& VE, double& VC, double& VG) const {
        VE = AH * (H0E + crank_travel_at(phi, R, LR));
        VC = AK * (H0C + crank_travel_at(phi + PHASE_R, R, LR) * FC);
        VG = VE + VR + VC;
    }
};

// Regenerator, reduced volume, pressure and masses from the space temperatures, as the time
// step computes them. TR is taken as given when tr_given (space temperatures after mass
// exchange), else from the regenerator ends. M keeps the logarithmic means from one point to
// the next.
void gas_state(PrecalcPoint& g, const CompCommon& C, double V01, bool tr_given,
               RegeneratorMeans& M) {
    const double loss = C.VERLUST / 200.0 * (g.TE - g.TC);
    g.TER = g.TE - loss;
    g.TCR = g.TC + loss;
    if (!tr_given) g.TR = C.DREI ? regenerator_mean(M, g.TER, g.TCR) : (g.TER + g.TCR) / 2.0;
    double Ta, Tb, Tc;
    const double reciprocals = regenerator_sections(C.DREI, g.TER, g.TCR, g.TR, M, Ta, Tb, Tc);
    const double VRRED = C.VR > 0.0 ? C.VR1003 * reciprocals : 0.0;
    g.VRED = (qt(g.VE, g.TE) + VRRED + qt(g.VC, g.TC)) * C.T0;
    g.P = qt(C.P0 * V01, g.VRED);
    g.ME = qt(g.P * g.VE, C.RS * g.TE);
    g.MC = qt(g.P * g.VC, C.RS * g.TC);
    g.MR = qt(g.P * VRRED, C.RS);
}

// The start temperatures from the table at a crank angle (degrees).
void table_temperatures(runtime::Units& u, const run::RunState& m, const CompCommon& C,
                        double angle, double& TE, double& TC) {
    TDIFDF(u, TE, TC, m.TTE, m.TTC, C.TANGLE, angle, m.IP1, 1);
}

// The pair a marker index serves, for the listing.
int pair_of_index(int nz, int idx) {
    if (nz == 1) return 1;
    if (nz == 2) return idx == 4 ? 1 : 2;
    switch (idx) {
        case 1: return 4;
        case 2: return 2;
        case 3: return 3;
        default: return 1;
    }
}

// The state one step before the start angle, at the start temperatures (from the table in
// mode TEMPD). Starts the pass afresh.
void pass_start_point(runtime::Units& u, const run::RunState& m, const CompCommon& C,
                      const PrecalcState& pre, const Geometry& geo, PrecalcPass& ps) {
    ps = PrecalcPass{};
    ps.phi = m.PHI0 * PI / 180.0;
    PrecalcPoint& prev = ps.prev;
    geo.volumes(ps.phi - pre.DPHIZ, prev.VE, prev.VC, prev.VG);
    if (m.mode == run::Mode::TEMPD) {
        const double a0 = (ps.phi - pre.DPHIZ) * 180.0 / PI;
        table_temperatures(u, m, C, a0, prev.TE, prev.TC);
        if (a0 < 0.0) both(u, " ======>> DIESER FEHLER KANN IGNORIERT WERDEN");
    } else {
        prev.TE = m.TAA1;
        prev.TC = m.TZZ1;
    }
    if (u.level(4))
        u.u9.record(" STARTWINKEL FUER DIE VORBERECHNUNG IST \"PHI_0\"=", F(m.PHI0, 9, 4),
                    " GRAD; TE_0=", F(prev.TE, 9, 3), " TC_0=", F(prev.TC, 9, 3), " KELVIN");
    gas_state(prev, C, m.V0[0], false, ps.means);
}

// Extremes and recorded states start afresh with every pass.
void start_pass_extremes(const run::RunState& m, PrecalcState& pre) {
    pre.TE_MAX = pre.TC_MAX = m.TK / 1000.0;
    pre.TE_MIN = pre.TC_MIN = m.TH * 1000.0;
    pre.PGAS_MAX = 0.0;
    pre.PGAS_MIN = 1000000.0;
    pre.VMAX = 0.0;
    pre.VMIN = 1000000.0;
    pre.PHI_PGMAX = pre.PHI_PGMIN = pre.PHI_VMAX = pre.PHI_VMIN = 0.0;
    for (auto& mk : pre.mark) mk = PrecalcMark{};
}

// Which markers are searched, in the order the crank reaches them; the others hold the start
// temperatures.
void markers_searched(const run::RunState& m, int nz, PrecalcState& pre, PrecalcPass& ps) {
    if (nz == 4) {
        ps.order = {1, 2, 3};
        ps.searched = {true, true, true, false};
        ps.norder = 3;
    } else if (nz == 2) {
        ps.searched = {false, true, false, true};
        ps.order = m.PHI0 > 180.0 ? std::array<int, 3>{4, 2, 0} : std::array<int, 3>{2, 4, 0};
        ps.norder = 2;
    } else {
        ps.searched = {false, false, false, true};
        ps.order = {4, 0, 0};
        ps.norder = 1;
    }
    for (int k = 0; k < 4; ++k) {
        if (ps.searched[k]) continue;
        pre.mark[k].TE = pre.mark[k].TEV = m.TAA1;
        pre.mark[k].TC = pre.mark[k].TCV = m.TZZ1;
    }
}

// The space temperatures of the point: from the table (TEMPD), else polytropic from the point
// before, mixed after mass exchange (POLY with MODELL > 0, which gives TR as well). Returns
// whether TR is given.
bool point_temperatures(runtime::Units& u, const run::RunState& m, const CompCommon& C,
                        const PrecalcState& pre, PrecalcPass& ps) {
    const PrecalcPoint& prev = ps.prev;
    PrecalcPoint& cur = ps.cur;
    cur.TE = prev.TE;
    cur.TC = prev.TC;
    if (m.mode == run::Mode::TEMPD) {
        table_temperatures(u, m, C, ps.PHI1Z, cur.TE, cur.TC);
        return false;
    }
    const double r = qt(prev.VG, cur.VG);
    if (r > 0.0) {
        const PolytropicFactors f = polytropic_factors(r, pre.CONSTE1, pre.CONSTC1);
        cur.TE = prev.TE * f.E;
        cur.TC = prev.TC * f.C;
    }
    if (!(m.mode == run::Mode::POLY && m.MODELL > 0)) return false;
    double TR = prev.TR, TEE = cur.TE, TCC = cur.TC, TRR = prev.TR;
    properties::TETCTR(u, cur.TE, cur.TC, TR, C.NTEMP, C.VERLUST, prev.ME, prev.MC, prev.MR,
                       ps.time, pre.DELTZ, C.CV, prev.DME, prev.DMC, prev.DMR, prev.TE, prev.TC,
                       prev.TR, TEE, TCC, TRR, C.DREI ? 1 : 0);
    cur.TE = finite_or(TEE, cur.TE);
    cur.TC = finite_or(TCC, cur.TC);
    cur.TR = finite_or(TRR, prev.TR);
    return true;
}

// The gas state of the point at crank angle ps.phi and its rates against the point before;
// for the single-acting machine the crankcase's volume and isothermal pressure as well.
void point_state(runtime::Units& u, const run::RunState& m, const CompCommon& C,
                 const PrecalcState& pre, const Geometry& geo, int nz, PrecalcPass& ps) {
    ps.PHI1Z = ps.phi * 180.0 / PI;
    PrecalcPoint& cur = ps.cur;
    const PrecalcPoint& prev = ps.prev;
    cur = PrecalcPoint{};
    geo.volumes(ps.phi, cur.VE, cur.VC, cur.VG);
    ps.VG2 = ps.P2 = 0.0;
    if (nz == 1) {
        // Filled with the charge GM02 at T0 and P0 when H1-K1 holds its largest volume.
        ps.VG2 = pre.VCRTOT - cur.VG;
        ps.P2 = qt(m.P0 * (pre.VCRTOT - m.VMAX), ps.VG2);
    }
    const bool tr_given = point_temperatures(u, m, C, pre, ps);
    gas_state(cur, C, m.V0[0], tr_given, ps.means);
    const double rd = qt(1.0, pre.DELTZ);
    cur.DTE = (cur.TE - prev.TE) * rd;
    cur.DTC = (cur.TC - prev.TC) * rd;
    cur.DTR = (cur.TR - prev.TR) * rd;
    cur.DME = (cur.ME - prev.ME) * rd;
    cur.DMC = (cur.MC - prev.MC) * rd;
    cur.DMR = (cur.MR - prev.MR) * rd;
    cur.DP = (cur.P - prev.P) * rd;
}

// The extremes of the pass, with the angles of those the listing names.
void point_extremes(PrecalcState& pre, const PrecalcPass& ps) {
    const PrecalcPoint& cur = ps.cur;
    const double PHI1Z = ps.PHI1Z;
    if (cur.VG > pre.VMAX) { pre.VMAX = cur.VG; pre.PHI_VMAX = PHI1Z; }
    if (cur.VG < pre.VMIN) { pre.VMIN = cur.VG; pre.PHI_VMIN = PHI1Z; }
    if (cur.TE > pre.TE_MAX) pre.TE_MAX = cur.TE;
    if (cur.TC > pre.TC_MAX) pre.TC_MAX = cur.TC;
    if (cur.TE < pre.TE_MIN) pre.TE_MIN = cur.TE;
    if (cur.TC < pre.TC_MIN) pre.TC_MIN = cur.TC;
    if (cur.P > pre.PGAS_MAX) { pre.PGAS_MAX = cur.P; pre.PHI_PGMAX = PHI1Z; }
    if (cur.P < pre.PGAS_MIN) { pre.PGAS_MIN = cur.P; pre.PHI_PGMIN = PHI1Z; }
}

// The point's state as a recorded state.
void record_state(PrecalcMark& mk, const PrecalcPoint& cur, double PHI1Z) {
    mk.TE = cur.TE; mk.TC = cur.TC; mk.TR = cur.TR;
    mk.TEV = cur.TE; mk.TCV = cur.TC;
    mk.ME = cur.ME; mk.MC = cur.MC; mk.MR = cur.MR;
    mk.P = cur.P; mk.DP = cur.DP;
    mk.DTE = cur.DTE; mk.DTC = cur.DTC; mk.DTR = cur.DTR;
    mk.DME = cur.DME; mk.DMC = cur.DMC; mk.DMR = cur.DMR;
    mk.VG = cur.VG; mk.VE = cur.VE; mk.VC = cur.VC;
    mk.PHI1Z = PHI1Z;
}

// The trace of every point (detail level 6).
void list_point(runtime::Units& u, const PrecalcPass& ps) {
    const PrecalcPoint& cur = ps.cur;
    u.u6.free(" VORAB BERECHNUNG: TIME=", ps.time, "PHI1Z=", ps.PHI1Z, "VGZ=", cur.VG);
    u.u6.free(" TE=", cur.TE, "TC=", cur.TC, "TR=", cur.TR, "P=", cur.P);
    u.u9.free(" VORAB BERECHNUNG: TIME=", ps.time, "PHI1Z=", ps.PHI1Z, "VGZ=", cur.VG, "VEZ=",
              cur.VE, "VCZ=", cur.VC);
    u.u9.free(" TE=", cur.TE, "TC=", cur.TC, "TR=", cur.TR, "P=", cur.P, "ME=", cur.ME,
              "MC=", cur.MC, "MR=", cur.MR);
}

// The state recorded at marker IDX, as listed (detail level 4).
void list_marker(runtime::Units& u, const PrecalcState& pre, const PrecalcPass& ps, int nz,
                 int idx) {
    const PrecalcPoint& cur = ps.cur;
    const double PHI1Z = ps.PHI1Z;
    const std::string n = I(pair_of_index(nz, idx), 1);
    auto& w = u.u9;
    w.record(" TIME =", E(ps.time, 13, 6), "; PHI1Z= ", F(PHI1Z, 9, 4), ", ANGLEZ(", I(idx, 1),
             ")=", F(pre.ANGLEZ[idx - 1], 8, 3), " GRAD; V", n, " =", F(cur.VG, 11, 3),
             " CM**3");
    w.record("        TE", n, "=", F(cur.TE, 9, 3), ",  TC", n, "=", F(cur.TC, 9, 3), ",  TR",
             n, "=", F(cur.TR, 9, 3), " KELVIN; VE", n, " =", F(cur.VE, 11, 3), ", VC", n,
             " =", F(cur.VC, 11, 3), " CM**3");
    w.record(" DTE", n, "*DELTZ=", E(cur.DTE * pre.DELTZ, 13, 6), " DTC", n, "*DELTZ=",
             E(cur.DTC * pre.DELTZ, 13, 6), " DTR", n, "*DELTZ=", E(cur.DTR * pre.DELTZ, 13, 6),
             " KELVIN; VG", n, " =", F(cur.VG, 11, 3), " CM**3");
    w.record(" DME", n, "=", E(cur.DME, 13, 6), " DMC", n, "=", E(cur.DMC, 13, 6), " DMR", n,
             "=", E(cur.DMR, 13, 6), " GRAMM/SEC; DP", n, "=", E(cur.DP, 13, 6), " BAR/SEC");
    w.record(" ME", n, "=", E(cur.ME, 13, 6), " MC", n, "=", E(cur.MC, 13, 6), " MR", n, "=",
             E(cur.MR, 13, 6), " GRAMM; P", n, "=", F(cur.P, 9, 4), " BAR");
}

// The crankcase of the single-acting machine at the start angle, whose gas the time loop
// starts from.
void crankcase_at_start(runtime::Units& u, const run::RunState& m, PrecalcState& pre,
                        PrecalcPass& ps) {
    pre.VG2ZA = ps.VG2;
    pre.TE2ZA = m.T0;
    pre.P2ZA = ps.P2;
    ps.crankcase = true;
    if (!u.level(4)) return;
    const double PHI1Z = ps.PHI1Z, VG2 = ps.VG2, TE2 = m.T0, P2 = ps.P2;
    u.u9.record(" AUS DER VORBERECHNUNG DER EINFACH WIRKENDEN MASCHINE ERGIBT "
                "SICH FUER DEN START-WINKEL PHI=",
                F(PHI1Z, 9, 4), " BZW. PHI = 0 GRAD");
    u.u9.record("  FUER DAS KURBELGEHAEUSE:      ", " VG2 =", F(VG2, 11, 3), " CM**3; TE2 =",
                F(TE2, 9, 3), " KELVIN; P2 =", F(P2, 9, 5), " BAR");
    u.u6.record(" START PHI=", F(PHI1Z, 9, 4), " VG2 =", F(VG2, 11, 3), " TE2 =", F(TE2, 8, 2),
                " P2 =", F(P2, 8, 4));
}

// The marker searched now: the point within the marker tolerance of its angle is recorded.
void marker_search(runtime::Units& u, const run::RunState& m, PrecalcState& pre, int nz,
                   PrecalcPass& ps) {
    if (ps.next >= ps.norder) return;
    const int idx = ps.order[ps.next];
    if (!(std::fabs(ps.PHI1Z - pre.ANGLEZ[idx - 1]) <= pre.FACTAA)) return;
    record_state(pre.mark[idx - 1], ps.cur, ps.PHI1Z);
    ps.found[idx - 1] = true;
    ++ps.next;
    if (u.level(4)) list_marker(u, pre, ps, nz, idx);
    if (nz == 1 && idx == 4) crankcase_at_start(u, m, pre, ps);
}

// One pass of the pre-calculation over one revolution and one step.
void one_pass(runtime::Units& u, const run::RunState& m, const CompCommon& C, PrecalcState& pre,
              const Geometry& geo, PrecalcPass& ps) {
    const int nz = pairs_of(m.NZYL);
    const double TWO_PI = 2.0 * PI;
    pass_start_point(u, m, C, pre, geo, ps);
    start_pass_extremes(m, pre);
    markers_searched(m, nz, pre, ps);

    const long long steps =
        static_cast<long long>(std::floor((pre.FINEZ + pre.DELTZ) / pre.DELTZ + 1.0e-9));
    for (long long k = 0; k < steps; ++k) {
        point_state(u, m, C, pre, geo, nz, ps);
        point_extremes(pre, ps);
        if (k == 0) record_state(ps.first, ps.cur, ps.PHI1Z);
        if (u.level(6)) list_point(u, ps);
        marker_search(u, m, pre, nz, ps);

        // Next point. The angle goes back to one step past 0 once it has passed a full turn;
        // an angle that only rounding puts above 2 pi is the full turn itself.
        ps.phi += pre.DPHIZ;
        if (ps.phi - TWO_PI > 1.0e-9) ps.phi = pre.DPHIZ;
        ps.time += pre.DELTZ;
        ps.prev = ps.cur;
    }
    if (u.level(4)) {
        const PrecalcPoint& cur = ps.cur;
        u.u9.record(" ENDE VORBERECHNUNG BEI \"PHI1Z\"=", F(ps.PHI1Z, 9, 4), " GRAD; TEZ=",
                    F(cur.TE, 9, 3), " TCZ=", F(cur.TC, 9, 3), " VGZ=", F(cur.VG, 11, 3),
                    " CM**3");
        u.u9.record("                      VMAX=", F(pre.VMAX, 11, 3), ", VMIN=",
                    F(pre.VMIN, 11, 3), "CM**3");
    }
}

// The listing of the pre-calculation's results.
void list_results(runtime::Units& u, const run::RunState& m, const PrecalcState& pre) {
    const bool l6 = u.level(4), l9 = u.level(1);
    const bool injection = injection_active(m);
    if (injection) {
        if (l6) u.u6.line(" AUS DER \"VORAB\" -Berechnung noch ohne Beruecksichtigung der Beregnung:");
        if (l9)
            u.u9.line(" AUS DER \"VORAB\" -Berechnung noch ohne Beruecksichtigung des "
                      "Beregnungsvolumenstroms:");
    }
    if (l9) {
        for (int k = 0; k < 4; ++k) {
            const PrecalcMark& mk = pre.mark[k];
            u.u9.record(" IANGZ=", I(k + 1, 1), " ME=", E(mk.ME, 12, 5), " MC=", E(mk.MC, 12, 5),
                        " MR=", E(mk.MR, 12, 5), " TE=", F(mk.TE, 9, 3), " TC=", F(mk.TC, 9, 3),
                        " TR=", F(mk.TR, 9, 3), " P=", F(mk.P, 9, 4), " D_P=", E(mk.DP, 12, 5));
            u.u9.record("        ", " DTE=", E(mk.DTE, 12, 5), " DTC=", E(mk.DTC, 12, 5),
                        " DTR=", E(mk.DTR, 12, 5), " DME=", E(mk.DME, 12, 5), " DMC=",
                        E(mk.DMC, 12, 5), " DMR=", E(mk.DMR, 12, 5));
        }
    }
    auto pair_line = [&](const std::string& a, double x, const std::string& b, double y,
                         const std::string& tail6, const std::string& tail9) {
        if (l6) u.u6.record(a, F(x, 9, 3), b, F(y, 9, 3), tail6);
        if (l9) u.u9.record(a, F(x, 9, 3), b, F(y, 9, 3), tail9);
    };
    pair_line(" TE_MIN  =", pre.TE_MIN, " ========>> TE_MAX  =", pre.TE_MAX, " KELVIN", " KELVIN");
    pair_line(" TC_MIN  =", pre.TC_MIN, " ========>> TC_MAX  =", pre.TC_MAX, " KELVIN", " KELVIN");
    pair_line(" TCRMAX  =", pre.TCRMAX, " ========>> TERMAX  =", pre.TERMAX, " KELVIN",
              " KELVIN, WENN DER REGENERATORVERLUST = 0 IST");
    if (m.mode == run::Mode::POLY) {
        if (l6)
            u.u6.record(" TCR_1234=", F(pre.TCR_1234, 9, 3), " ========>> TER_1234=",
                        F(pre.TER_1234, 9, 3), " KELVIN; REG.VERLUST=", F(m.VERLUST, 6, 2), " %");
        if (l9)
            u.u9.record(" TCR_1234=", F(pre.TCR_1234, 9, 3), " ========>> TER_1234=",
                        F(pre.TER_1234, 9, 3),
                        " KELVIN SIND CONSTANT BEI DER POLYTROPEN ZUSTANDSAENDERUNG; "
                        "REGENERATORVERLUST=",
                        F(m.VERLUST, 6, 2), " %");
    }
    auto out = [&](bool on9, const auto&... pieces) {
        if (l6) u.u6.record(pieces...);
        if (l9 && on9) u.u9.record(pieces...);
    };
    out(true, " PGAS_MIN=", F(pre.PGAS_MIN, 9, 4), " BAR   BEI", F(pre.PHI_PGMIN, 9, 3),
        " GRAD \"KU1\"");
    out(true, " PGAS_MAX=", F(pre.PGAS_MAX, 9, 4), "; PZMAX/PZMIN=",
        F(qt(pre.PGAS_MAX, pre.PGAS_MIN), 8, 4));
    out(true, " V_MIN= ", F(pre.VMIN, 11, 3), " CM**3 BEI", F(pre.PHI_VMIN, 9, 3), " GRAD \"KU1\"");
    out(false, " V_MAX= ", F(pre.VMAX, 11, 3), "; VMAX/VMIN=", F(qt(pre.VMAX, pre.VMIN), 8, 4));
}

// Puts a recorded state into a pair record as its start state.
void start_pair(PairRecord& R, const PrecalcMark& mk, double DELT, bool present) {
    R = PairRecord{};
    R[PF::TE] = mk.TE;
    R[PF::TC] = mk.TC;
    R[PF::TR] = mk.TR;
    R[PF::ME] = mk.ME;
    R[PF::MC] = mk.MC;
    R[PF::MR] = mk.MR;
    R[PF::P] = mk.P;
    R[PF::PGES] = mk.P;
    if (present) {
        R[PF::DP] = mk.DP;
        R[PF::DTE] = mk.DTE;
        R[PF::DTC] = mk.DTC;
        R[PF::DTR] = mk.DTR;
        R[PF::DME] = mk.DME;
        R[PF::DMC] = mk.DMC;
        R[PF::DMR] = mk.DMR;
    }
    R.TEV = R[PF::TE] - R[PF::DTE] * DELT;
    R.TCV = R[PF::TC] - R[PF::DTC] * DELT;
    R.TRV = R[PF::TR] - R[PF::DTR] * DELT;
}

// The constants of the run and the crankcase volumes of the single-acting machine.
void run_constants(const run::RunState& m, int nz, PrecalcState& pre) {
    pre.RPMFAC = 30.0 / PI;
    pre.PHASE_R = m.PHASE * PI / 180.0;
    pre.KAPPA1 = m.KAPPA - 1.0;
    pre.CQ = run::CW_LIQUID * m.DELTAT * run::ROW;
    pre.ETA_R = 100.0 - m.VERLUST;
    pre.DREI = !(m.VERLUST == 100.0 || m.TAA1 == m.TZZ1);
    pre.FTHETA = qt(100000.0, m.THETA);
    pre.GAMMA = run::ROW * G981 / 1000.0;
    pre.ANGLEZ = {-m.PHASE, 180.0, 180.0 - m.PHASE, nz == 4 ? 370.0 : 360.0};
    pre.OMEGA = m.N0 * PI / 30.0;
    pre.FACTAA = FACTAA0;
    pre.FKOL = PU * m.AKST * 10.0;
    for (int k = 0; k < 4; ++k) {
        pre.TW1E[k] = m.TH + m.ATE[k];
        pre.TW1C[k] = m.TK + m.ATC[k];
    }
    pre.CONSTE1 = m.EPSILON_E - 1.0;
    pre.CONSTC1 = m.EPSILON_C - 1.0;
    pre.FINEZ = qt(60.0, m.N0);
    pre.DELTZ = pre.FINEZ / 2880.0;
    pre.DPHIZ = pre.OMEGA * pre.DELTZ;
    pre.VHUBH1 = m.VE[0];

    pre.TOTVOL = (m.H00E[0] + m.HRVE0) * m.FQE + (m.H00C[0] + m.HRVC0) * m.FQC + m.VR;
    pre.VCRNKH = m.VCRANC + m.VE[0] + m.VC[0];
    pre.VCRTOT = pre.VCRNKH + pre.TOTVOL;
    pre.GM02 = m.GM0[1];
}

// The head of the pre-calculation's listing (detail level 5).
void list_precalc_head(runtime::Units& u, const PrecalcState& pre, int nz) {
    auto& w = u.u9;
    w.line(" VORAB BERECHNUNG DER TEMPERATUREN, DRUECKE UND VOLUMINA IN MASCHINE \"H1-K1\" :");
    w.line(" " + std::string(80, '='));
    w.record(" ANFANGSZEITPUNKT: \"ATIME\" =", F(0.0, 6, 3), " ENDE: \"FINEZ\" = 60/N0 =",
             F(pre.FINEZ, 12, 7), " SEC");
    w.record(" VORAB BERECHNUNGS RECHENSCHRITT \"DELTZ\" =", E(pre.DELTZ, 13, 6),
             " SEC ENTSPRICHT \"DPHIZ\"=", F(pre.DPHIZ * 180.0 / PI, 8, 4), " GRAD");
    if (nz == 4)
        w.record(" BERECHNET WERDEN DIESE GROESSEN FUER DIE WINKELSTELLUNGEN \"CANGLE\" = 0.00 ",
                 F(pre.ANGLEZ[1], 7, 2), F(pre.ANGLEZ[2], 7, 2), F(pre.ANGLEZ[0], 7, 2),
                 " GRAD");
    else if (nz == 2)
        w.line(" BERECHNET WERDEN DIESE GROESSEN FUER DIE WINKELSTELLUNGEN \"CANGLE\" = "
               "0.00= 360.0 UND 180.0 GRAD");
    else
        w.line(" BERECHNET WERDEN DIESE GROESSEN FUER DIE WINKELSTELLUNG \"CANGLE\" = 360. = "
               "0.0 GRAD");
    u.u6.record(" ANFANGSZEITPUNKT: \"ATIME\" =", F(0.0, 6, 3), " \"FINEZ\" =",
                F(pre.FINEZ, 12, 7), " SEC");
    u.u6.record(" VORAB BERECHN. RECHENSCHRITT \"DELTZ\" =", E(pre.DELTZ, 13, 6), " SEC = ",
                F(pre.DPHIZ * 180.0 / PI, 8, 4), " GRAD");
}

// The geometry of H1-K1.
Geometry h1k1_geometry(const run::RunState& m, const PrecalcState& pre, int nz) {
    Geometry geo;
    geo.AH = m.FQE;
    geo.AK = m.FQC;
    geo.VR = m.VR;
    geo.H0E = m.H00E[0] + m.HRVE0;
    geo.H0C = m.H00C[0] + m.HRVC0;
    geo.FC = nz == 4 ? qt(m.FQCR, m.FQC) : 1.0;
    geo.R = m.R;
    geo.LR = m.LR;
    geo.PHASE_R = pre.PHASE_R;
    return geo;
}

// Passes until every marker angle is met, each with a wider tolerance. After the last pass
// with a marker still missed the pre-calculation gives up: NFAIL 199, false.
bool precalc_passes(runtime::Units& u, const run::RunState& m, const CompCommon& C,
                    PrecalcState& pre, const Geometry& geo, PrecalcPass& ps, int& NFAIL) {
    for (int pass = 1; pass <= MAX_PASSES; ++pass) {
        pre.NLAEUFE = pass;
        one_pass(u, m, C, pre, geo, ps);
        int missing = 0;
        for (int k = 0; k < 4; ++k)
            if (ps.searched[k] && !ps.found[k]) { missing = k + 1; break; }
        if (missing == 0) return true;
        if (pass == MAX_PASSES) break;
        const double old = pre.FACTAA;
        pre.FACTAA = old * FACTAA_GROWTH;
        // Announced on unit 9 at every detail level, like the give-up that may follow.
        u.u9.record(" POLYTROPE VORLAUF BERECHNUNG MUSS WIEDERHOLT WERDEN. \"FACTAA=\"",
                    F(old, 10, 6), "= FACTA/3  WIRD UM 10% ERHOEHT ZU:", F(pre.FACTAA, 10, 6),
                    " FUER DEN", I(pass + 1, 3), ". LAUF. TAA(", I(missing, 1), ")= 0");
    }
    NFAIL = 199;
    both(u, " NACH", I(MAX_PASSES, 3), " VERSUCHEN WIRD DIE POLYTROPE VORBERECHNUNG ABGEBROCHEN");
    return false;
}

// Regenerator ends of the polytropic mode: between the mean temperatures of both spaces. COMP
// takes them, and the bounds of the characteristic temperature.
void regenerator_ends(double VERLUST, PrecalcState& pre, CompCommon& C) {
    pre.TERMAX = (pre.TE_MAX + pre.TE_MIN) / 2.0;
    pre.TCRMAX = (pre.TC_MAX + pre.TC_MIN) / 2.0;
    pre.TER_1234 = pre.TERMAX - (VERLUST / 200.0) * (pre.TERMAX - pre.TCRMAX);
    pre.TCR_1234 = pre.TCRMAX + (VERLUST / 200.0) * (pre.TERMAX - pre.TCRMAX);
    C.TE_MAX = pre.TE_MAX;
    C.TC_MIN = pre.TC_MIN;
    C.TER_1234 = pre.TER_1234;
    C.TCR_1234 = pre.TCR_1234;
}

// The recorded states as the start states of the pairs, with the fixed regenerator ends.
void start_states(const PrecalcState& pre, const PrecalcPass& ps, int nz, double DELT,
                  std::array<PairRecord, 4>& pair) {
    std::array<PrecalcMark, 4> start{};
    if (nz == 4) {
        start = {ps.first, pre.mark[1], pre.mark[2], pre.mark[0]};
    } else {
        start[0] = pre.mark[3];
        if (nz == 2) start[1] = pre.mark[1];
    }
    for (int k = 0; k < 4; ++k) {
        start_pair(pair[k], start[k], DELT, k < nz);
        pair[k][PF::TREGE] = pre.TER_1234;
        pair[k][PF::TREGC] = pre.TCR_1234;
    }
}

// The time loop starts one step before 0, so that its first step lands on 0: the cranks'
// travels, speeds and accelerations there. Gives the travels of the hot and cold side of
// each pair.
void time_loop_start(runtime::Units& u, const run::RunState& m, double DELT, PrecalcState& pre,
                     std::array<double, 4>& XH, std::array<double, 4>& XC) {
    pre.ANGLE1 = -pre.OMEGA * DELT;
    const double A2 = pre.ANGLE1 + pre.PHASE_R;
    const CrankState c1 = crank_motion_at(pre.ANGLE1, m.R, m.LR, pre.OMEGA);
    const CrankState c2 = crank_motion_at(A2, m.R, m.LR, pre.OMEGA);
    pre.WEG1_V = c1.X;
    pre.WEG2_V = c2.X;
    pre.U1_V = c1.U;
    pre.B1_V = c1.B;
    pre.U2_V = c2.U;
    pre.B2_V = c2.B;
    pre.RPM = m.N0;
    if (u.level(3)) {
        u.u9.line("AUFRUF SUBROUTINE \"VORCOM\":");
        u.u9.record(" PHI01_VORHER =", F(pre.ANGLE1 * 180.0 / PI, 10, 5), " GRAD; WEG1_V=",
                    F(pre.WEG1_V, 10, 6), ",   WEG2_V=", F(pre.WEG2_V, 10, 6), " CM");
    }
    XH = {c1.X, crank_travel_at(pre.ANGLE1 + PI, m.R, m.LR), c2.X,
          crank_travel_at(A2 + PI, m.R, m.LR)};
    XC = {c2.X, crank_travel_at(A2 + PI, m.R, m.LR),
          crank_travel_at(pre.ANGLE1 + PI, m.R, m.LR), c1.X};
}

// The crankcase of the single-acting machine one step before the start, in the second
// record: its gas follows the adiabatic of KAPPA from the state at the start angle back.
void crankcase_start(runtime::Units& u, double VG1V, PrecalcState& pre, PairRecord& R) {
    pre.VG2V = pre.VCRTOT - VG1V;
    const double ratio = qt(pre.VG2ZA, pre.VG2V);
    pre.TE2V = ratio > 0.0 ? pre.TE2ZA * std::pow(ratio, pre.KAPPA1) : pre.TE2ZA;
    pre.P2V = qt(pre.P2ZA * pre.VG2ZA * pre.TE2V, pre.VG2V * pre.TE2ZA);
    R = PairRecord{};
    R[PF::VE] = R[PF::VC] = R[PF::VG] = pre.VG2V;
    R[PF::TE] = R[PF::TC] = R[PF::TR] = pre.TE2V;
    R[PF::ME] = R[PF::MC] = R[PF::MR] = pre.GM02;
    R[PF::P] = R[PF::PGES] = pre.P2V;
    R.VEV = R.VCV = R.VGV = pre.VG2V;
    R.TEV = R.TCV = R.TRV = pre.TE2V;
    R.MEV = R.MCV = R.MRV = pre.GM02;
    R.PV = R.PGESV = pre.P2V;
    pre.PGESV[1] = pre.P2V;
    if (!u.level(4)) return;
    u.u9.line(" FUER DIE EINFACH WIRKENDE MASCHINE:");
    u.u9.record(" VCRNKH=", F(pre.VCRNKH, 11, 3), " TOTVOL=", F(pre.TOTVOL, 11, 3), " VCRTOT=",
                F(pre.VCRTOT, 11, 3), " CM**3; GM02=", E(pre.GM02, 13, 6), " GRAMM; P2V=",
                F(pre.P2V, 9, 5), " BAR");
    u.u9.record(" VG2ZA=", F(pre.VG2ZA, 11, 3), " VG2V=", F(pre.VG2V, 11, 3), " VG1V=",
                F(VG1V, 11, 3), " CM**3; TE2ZA=", F(pre.TE2ZA, 9, 3), " TE2V=",
                F(pre.TE2V, 9, 3), " KELVIN");
}

// VORCOM's arguments for pair k (0-based) from its start state and its travels XH, XC one
// step before the start.
properties::VorcomArgs vorcom_args(const run::RunState& m, const PrecalcState& pre,
                                   const PairRecord& R, const CompPair& PP, int k, int nz,
                                   double XH, double XC, double DELT) {
    properties::VorcomArgs a;
    a.n = k + 1;
    a.NZYL = nz;
    a.TE = R[PF::TE];
    a.TC = R[PF::TC];
    a.TR = R[PF::TR];
    a.DTE = R[PF::DTE];
    a.DTC = R[PF::DTC];
    a.DTR = R[PF::DTR];
    a.ME = R[PF::ME];
    a.MC = R[PF::MC];
    a.MR = R[PF::MR];
    a.DME1 = R[PF::DME];
    a.DMC1 = R[PF::DMC];
    a.DMR1 = R[PF::DMR];
    a.HE1V = PP.H00E + m.HRVE0 + XH * PP.FE;
    a.HC1V = PP.H00C + m.HRVC0 + XC * PP.FC;
    a.FE = m.FQE;
    a.FC = m.FQC;
    a.VR = m.VR;
    a.VR1003 = m.VR / 3.0;
    a.VERLUST = m.VERLUST;
    a.LOGREG = pre.DREI ? 1 : 0;
    a.T0 = m.T0;
    a.P0 = m.P0;
    a.V01 = m.V0[k];
    a.DELT = DELT;
    a.IP1 = m.IP1;
    a.FDAMPF = m.FDAMPF ? 1 : 0;
    return a;
}

// The state VORCOM leaves one step before the start, into the pair's record.
void take_vorcom_start(const properties::VorcomArgs& a, const CompCommon& C, PairRecord& R) {
    R[PF::TE] = a.TE;
    R[PF::TC] = a.TC;
    R[PF::TR] = a.TR;
    R[PF::DME] = a.DME1;
    R[PF::DMC] = a.DMC1;
    R[PF::DMR] = a.DMR1;
    R[PF::HE] = a.HE1V;
    R[PF::HC] = a.HC1V;
    R[PF::VE] = a.VE1V;
    R[PF::VC] = a.VC1V;
    R[PF::VG] = a.VG1V;
    R[PF::V] = a.V1V;
    R[PF::PGES] = a.PGES1V;
    take_vorcom(R, a, C);
}

// Liquid columns: their masses, and their natural frequency with the damping of the deck.
void liquid_columns(runtime::Units& u, const run::RunState& m, int nz, PrecalcState& pre) {
    pre.MH = m.FQER * run::ROW * m.R * m.ZW;
    pre.MK = m.FQCR * run::ROW * m.R * m.ZW;
    const double X0 = m.DAEMPFUNG;
    if (!(X0 > 0.0 && X0 < 1.0 && m.R * m.ZW > 0.0)) return;
    pre.OMEGA_0 = std::sqrt(G981 * 200.0 / (m.R * m.ZW));
    const double d = 2.0 * PI / std::log(X0);
    pre.XD = 2.0 / std::sqrt(d * d + 1.0);
    const double hz = pre.OMEGA_0 / (2.0 * PI);
    if (nz == 1) {
        const char* l1 =
            " ======>> ES SOLL EINE EINFACH WIRKENDE MASCHINE MIT SCHWINGENDEN "
            "ARBEITSFLUESSIGKEITSSAEULEN BERECHNET WERDEN";
        u.u9.line(l1);
        u.u8.line(l1);
        u.u9.record(" ======>> AMPLITUDENVERHAELTNIS DER FLUESSIGKEITSSCHWINGUNG:", F(X0, 7, 4));
        u.u8.record(" ======>> AMPLITUDENVERHAELTNIS DER FLUESSIGKEITSSCHWINGUNG:", F(X0, 7, 4));
        u.u6.line(" ======>> EINFACH WIRKENDE MASCHINE MIT SCHWINGENDEN ARBEITSFLUESSIGKEITSSAEULEN");
    }
    if (u.level(4)) {
        u.u6.record(" ======>> EIGENFREQUENZ DER FLUESSIGKEITSSAEULEN:", F(hz, 9, 4), " HERTZ");
        u.u9.record(" ======>> EIGENFREQUENZ DER FLUESSIGKEITSSAEULEN =", F(hz, 9, 4),
                    " HERTZ, OMEGA_0 =", F(pre.OMEGA_0, 10, 4), " 1/SEC ENTPRICHT: N=",
                    F(pre.OMEGA_0 * 30.0 / PI, 10, 3), " U/MIN");
        u.u9.record(" PU * FKOL =", F(pre.FKOL, 9, 3), " FSEAL=", F(m.FSEAL, 8, 2),
                    " NEWTON; FREQUENZ BETA = OMEGA0 / SQRT(1 + (2 * PI/ ALOG(X1/X0) )**2 ) =",
                    F(pre.OMEGA_0 * pre.XD / 2.0, 10, 5), " 1/SEC");
    }
}

// Start forces on the piston rods from the total pressures one step before the start, with
// the same areas as the time step.
void start_forces(runtime::Units& u, const run::RunState& m, int nz, PrecalcState& pre) {
    const double AH = m.FQE, AK = m.FQC, AHR = m.FQER, AKR = m.FQCR;
    const auto& PG = pre.PGESV;
    if (nz == 4) {
        pre.FI0 = (PG[0] * AH - PG[1] * AHR) * 10.0 + (PG[3] * AKR - PG[2] * AK) * 10.0;
        pre.FII0 = (PG[2] * AH - PG[3] * AHR) * 10.0 + (PG[0] * AKR - PG[1] * AK) * 10.0;
    } else {
        pre.FI0 = (PG[0] * AH - PG[1] * AHR) * 10.0 - pre.FKOL;
        pre.FII0 = (PG[0] * AK - PG[1] * AKR) * 10.0 - pre.FKOL;
    }
    if (!u.level(2)) return;
    auto& w = u.u9;
    w.record(" ANFANGS KOLBENKRAFT AN KOLBENSTANGE I  =", F(pre.FI0, 12, 3), " NEWTON");
    w.record(" ANFANGS KOLBENKRAFT AN KOLBENSTANGE II =", F(pre.FII0, 12, 3), " NEWTON");
    w.record(" START-GESAMTDRUCK PGES1V =", F(PG[0], 10, 5), " BAR");
    if (nz == 1) w.record(" START-DRUCK IM KURBELGEHAEUSE P2ZA =", F(pre.P2ZA, 10, 5), " BAR");
    if (nz >= 2) w.record(" START-GESAMTDRUCK PGES2V =", F(PG[1], 10, 5), " BAR");
    if (nz == 4) {
        w.record(" START-GESAMTDRUCK PGES3V =", F(PG[2], 10, 5), " BAR");
        w.record(" START-GESAMTDRUCK PGES4V =", F(PG[3], 10, 5), " BAR");
    }
    if (injection_active(m)) {
        for (int k = 0; k < nz; ++k) {
            const std::string n = I(k + 1, 1);
            both(u, " Einpritztemperaturen:TW1E", n, "=", F(pre.TW1E[k], 8, 2), " TW1C", n, "=",
                 F(pre.TW1C[k], 8, 2), " K");
        }
    }
}

// The ideal comparison machine: the hot cylinder with the dead volume that gives it the volume
// ratio of H1-K1. Without a volume change there is no such machine.
void ideal_machine(runtime::Units& u, const run::RunState& m, PrecalcState& pre) {
    const double ratio = qt(pre.VMAX, pre.VMIN);
    pre.VMIN_IDEAL = ratio > 1.0 ? qt(m.FQE * m.H00E[0] + pre.VHUBH1, ratio - 1.0) : 0.0;
    // Two records on both units: the dead volume, then the swept volume (its unit after it)
    // and the volume ratio.
    for (runtime::Unit* w : {u.level(4) ? &u.u6 : nullptr, u.level(3) ? &u.u9 : nullptr}) {
        if (w == nullptr) continue;
        w->record(" IDEALE MASCHINE MIT V = VE1: VMIN_IDEAL=", F(pre.VMIN_IDEAL, 11, 3));
        w->record(" HUB-VOL: VHUBH1=", F(pre.VHUBH1, 11, 3), " CM**3; VMAX/VMIN = ",
                  F(ratio, 9, 5));
    }
}

// Marker angles of the T-S and p-V diagrams. The pre-calculation meets 0 degrees as its last
// point before the angle goes back.
void diagram_markers(runtime::Units& u, PrecalcState& pre) {
    const double grid = pre.DPHIZ * 180.0 / PI;
    pre.ANGLE = {0.0,   marker_angle(pre.PHI_VMIN, grid), 90.0, 180.0, marker_angle(pre.PHI_VMAX, grid),
                 270.0, 360.0};
    if (u.level(5)) {
        u.u9.record(" MARKIERUNGEN IN DEN T-S UND P-V DIAGRAMMEN MIT DEN WINKELN:",
                    F(pre.ANGLE[1], 8, 2), F(pre.ANGLE[2], 8, 2), F(pre.ANGLE[3], 8, 2),
                    F(pre.ANGLE[4], 8, 2), F(pre.ANGLE[5], 8, 2), F(pre.ANGLE[6], 8, 2),
                    " WINKELGRAD");
    }
}

}  // namespace

bool check_run_values(Program& p) {
    auto& m = p.run;
    auto fail = [&](int line, int nfail, const std::string& what) {
        const std::string text =
            " ===> FEHLER in der Eingabe ZEILE" + I(line, 2) + ": " + what + "; Programm STOP";
        p.units.u6.line(text);
        p.units.u9.line(text);
        m.NFAIL = nfail;
        return false;
    };
    auto value = [](double v) { return runtime::free_item(v); };
    // Written so that a value that is not a number fails as well.
    if (!(m.TIME > 0.0) || !std::isfinite(m.TIME))
        return fail(1, 501, "TIME=" + value(m.TIME) + " muss groesser als 0 sein");
    if (!(m.SCHRITT > 0.0) || !std::isfinite(m.SCHRITT))
        return fail(1, 501, "SCHRITT=" + value(m.SCHRITT) + " muss groesser als 0 sein");
    // A step so small against the run time that the job would not end in any useful time is
    // refused like a step of zero.
    if (m.TIME / m.SCHRITT > MAX_STEPS)
        return fail(1, 501,
                    "TIME=" + value(m.TIME) + " / SCHRITT=" + value(m.SCHRITT) + " ergibt mehr als " +
                        std::to_string(static_cast<long long>(MAX_STEPS)) + " Rechenschritte");
    if (!(m.N0 > 0.0) || !std::isfinite(m.N0))
        return fail(6, 506, "N0=" + value(m.N0) + " muss groesser als 0 sein");
    if (!(m.THETA > 0.0) || !std::isfinite(m.THETA))
        return fail(6, 506, "THETA=" + value(m.THETA) + " muss groesser als 0 sein");
    return true;
}

CompCommon make_comp_common(const Program& p) {
    const auto& m = p.run;
    const auto& pre = p.sim.pre;
    CompCommon C;
    C.MODE_POLY = m.mode == run::Mode::POLY;
    C.MODE_TEMPD = m.mode == run::Mode::TEMPD;
    C.MODE_ISO = m.mode == run::Mode::ISO;
    C.FDAMPF = m.FDAMPF;
    C.DUESEN = injection_active(m);
    C.CONSTE1 = m.EPSILON_E - 1.0;
    C.CONSTC1 = m.EPSILON_C - 1.0;
    C.MODELL = m.MODELL;
    C.NTEMP = 2;
    C.VR = m.VR;
    C.VR1003 = m.VR / 3.0;
    C.VERLUST = m.VERLUST;
    C.DREI = !(m.VERLUST == 100.0 || m.TAA1 == m.TZZ1);
    C.CV = m.CV;
    C.RS = m.RS;
    C.T0 = m.T0;
    C.P0 = m.P0;
    C.TE_MAX = pre.TE_MAX;
    C.TC_MIN = pre.TC_MIN;
    C.AH = m.FQE;
    C.AK = m.FQC;
    C.HRVE = m.HRVE0;
    C.HRVC = m.HRVC0;
    C.TER_1234 = pre.TER_1234;
    C.TCR_1234 = pre.TCR_1234;
    C.CQ = run::CW_LIQUID * m.DELTAT * run::ROW;
    C.BEVOL = m.BEVOL;
    C.TANGLE = table_angles();
    C.TTE = m.TTE;
    C.TTC = m.TTC;
    C.IP1 = m.IP1;
    C.IP2 = m.IP2;
    C.DQD = m.DQD;
    C.DQDAMPF = m.DQDAMPF;
    C.DSD = m.DSD;
    C.DS3 = m.DS3;
    return C;
}


CompPair make_comp_pair(const run::RunState& m, int n) {
    const int k = (n < 1 ? 1 : n > 4 ? 4 : n) - 1;
    const int nz = pairs_of(m.NZYL);
    const double fhr = qt(m.FQER, m.FQE);   // AHR/AH
    const double fkr = qt(m.FQCR, m.FQC);   // AKR/AK
    CompPair P;
    P.N = k + 1;
    P.H00E = m.H00E[k];
    P.H00C = m.H00C[k];
    P.V0 = m.V0[k];
    P.GM0 = m.GM0[k];
    switch (k + 1) {
        case 1: P.FE = 1.0; P.FC = nz == 4 ? fkr : 1.0; break;
        case 2: P.FE = fhr; P.FC = nz == 4 ? 1.0 : fkr; break;
        case 3: P.FE = 1.0; P.FC = 1.0; break;
        default: P.FE = fhr; P.FC = fkr; break;
    }
    P.TW1E = m.TH + m.ATE[k];
    P.TW1C = m.TK + m.ATC[k];
    return P;
}

bool PRECALC(Program& p) {
    auto& m = p.run;
    auto& u = p.units;
    auto& pre = p.sim.pre;
    pre = PrecalcState{};
    const int nz = pairs_of(m.NZYL);
    const double DELT_NEU = m.SCHRITT;
    run_constants(m, nz, pre);

    // COMP's common inputs; the regenerator ends and temperature bounds follow below.
    CompCommon& C = p.sim.comp;
    C = make_comp_common(p);
    C.DREI = pre.DREI;
    if (pre.DELTZ <= 0.0 || !std::isfinite(pre.DELTZ) || pre.DPHIZ <= 0.0) {
        // The run values were not checked: nothing to step with.
        check_run_values(p);
        if (m.NFAIL == 0) m.NFAIL = 506;
        return false;
    }
    if (u.level(5)) list_precalc_head(u, pre, nz);

    // One revolution of H1-K1, repeated until every marker angle is met.
    PrecalcPass ps;
    if (!precalc_passes(u, m, C, pre, h1k1_geometry(m, pre, nz), ps, m.NFAIL)) return false;
    regenerator_ends(m.VERLUST, pre, C);
    start_states(pre, ps, nz, DELT_NEU, p.sim.pair);
    for (int k = 0; k < 4; ++k) p.sim.comp_pair[k] = make_comp_pair(m, k + 1);
    list_results(u, m, pre);

    // The state one step before the start: the crankcase of the single-acting machine in the
    // second record, VORCOM for every pair.
    std::array<double, 4> XH{}, XC{};
    time_loop_start(u, m, DELT_NEU, pre, XH, XC);
    for (int k = 0; k < 4; ++k) {
        PairRecord& R = p.sim.pair[k];
        if (nz == 1 && k == 1) {
            crankcase_start(u, p.sim.pair[0].VGV, pre, R);
            continue;
        }
        properties::VorcomArgs a =
            vorcom_args(m, pre, R, p.sim.comp_pair[k], k, nz, XH[k], XC[k], DELT_NEU);
        properties::VORCOM(p.steam, u, m.NFAIL, a);
        if (m.NFAIL > 880) return false;
        take_vorcom_start(a, C, R);
        pre.PGESV[k] = a.PGES1V;
    }

    liquid_columns(u, m, nz, pre);
    start_forces(u, m, nz, pre);
    ideal_machine(u, m, pre);
    diagram_markers(u, pre);
    return true;
}

}  // namespace korvex::simulation
