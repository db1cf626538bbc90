// BEREG: heat exchange between the working gas and the injected liquid.
#include "simulation/bereg.hpp"

#include <algorithm>
#include <cmath>

#include "properties/pdampf.hpp"
#include "properties/steam_state.hpp"
#include "state/constants.hpp"
#include "state/program.hpp"
#include "state/run_state.hpp"
#include "runtime/format.hpp"
#include "runtime/numeric.hpp"
#include "runtime/units.hpp"

namespace korvex::simulation {

using runtime::quot;

namespace {

using F = PairField;
using run::PI;

constexpr double f(float v) { return static_cast<double>(v); }

// One side of the pair (E: hot, C: cold) as the heat balance sees it.
struct SideIn {
    char S = 'E';               // side letter in the messages
    double U = 0.0;             // piston speed, m/s
    double A = 0.0;             // piston area, cm2
    double FREE = 0.0;          // free cross-section beside the nozzles, A - FQ, cm2
    double RATIO = 0.0;         // A / (A - FQ)
    double JETS = 0.0;          // circumference of all jets, NDU * DDU * PI, m
    double UDU0 = 0.0;          // jet velocity, m/s
    double OFR = 1.0;
    double H = 0.0;             // length of the space, cm
    double V = 0.0;             // volume of the space, cm3
    double DGL = 0.0;           // hydraulic diameter, m
    double LAMBDA = 0.0, NU = 0.0;
    double MV = 0.0, DM = 0.0, DV = 0.0, TV = 0.0;
    double TREG = 0.0;          // regenerator end temperature of the side
    double TIN = 0.0, CL = 0.0, LOSS = 0.0;
};

struct SideOut {
    double TE = 0.0;            // new gas temperature of the space
    double TGAS = 0.0;          // the same before the vapour is mixed in
    double TOUT = 0.0;          // liquid outlet temperature
    double ALPHA = 0.0, NUS = 0.0, RE = 0.0;
    double DQG = 0.0;           // liquid to gas, W
    double DQW = 0.0;           // given off by the liquid, W
    double DQL = 0.0;           // gas-side balance, W
    double MVAP = 0.0;          // vapour mass mixed into the gas, g
};

// The report of a jet slower than the gas in the free cross-section (slow), or of the end of
// such an episode.
[[gnu::noinline, gnu::cold]] void report_slow_jet(const SideIn& s, int N, double angle,
                                                  double vgas, bool slow, runtime::Unit& u9) {
    using runtime::E;
    using runtime::I;
    const std::string n = I(N, 1);
    if (slow) {
        const char side[2] = {s.S, '\0'};
        u9.record("FEHLER: Einspritzgeschwindigkeit UDU0", side, "=", E(s.UDU0, 12, 6),
                  " KLEINER als Kolbengeschwindigkeit U", side, "=", E(vgas, 12, 6), " m/sec");
        u9.record("        Zylinderpaar H", n, " - K", n, " bei:", runtime::F(angle, 7, 2),
                  " Grad Kurbelwinkel; ABHILFE: Drehzahl oder Duesen-Anzahl bzw.");
        u9.record("        Duesen-Durchmesser NDU", side, ", DDU", side,
                  " verkleinern oder Beregnungsvolumenstrom BEVOL vergroessern");
    } else {
        u9.record("FEHLER: aufgehoben fuer Zylinderpaar H", n, " - K", n, " bei:",
                  runtime::F(angle, 7, 2), " Grad Kurbelwinkel");
    }
}

// The jet against the gas: a jet slower than the gas in the free cross-section is reported
// once per episode and computed with its own velocity; the end of the episode is reported too.
inline double relative_velocity(const SideIn& s, int N, double angle, bool& slow,
                                runtime::Unit& u9) {
    const double vgas = quot(s.U * s.A, s.FREE);
    double w = s.UDU0 - vgas;
    if (w < 0.0) {
        if (!slow) report_slow_jet(s, N, angle, vgas, true, u9);
        slow = true;
        w = s.UDU0;
    } else if (slow) {
        report_slow_jet(s, N, angle, vgas, false, u9);
        slow = false;
    }
    return w;
}

// Heat balance of one side: liquid flowing through at CL from TIN to TOUT, the gas of the
// space warmed or cooled through the jet surface, the loss taken from the liquid.
// (Inlined into BEREG, which calls it for both sides: the side is then read where it stands.)
[[gnu::always_inline]] inline bool side_step(const SideIn& s, int N, double angle, double rdt,
                                             double CV, double PV, const BeregCommon& C,
                                             bool& slow, runtime::Units& u,
                                             properties::SteamState& st, int& NFAIL,
                                             SideOut& o) {
    const double w = relative_velocity(s, N, angle, slow, u.u9);
    const double HL = s.H / 100.0;  // length of the space, m

    // Surface of all jets of the side, m2.
    const double AO = s.JETS * HL * s.OFR;
    o.RE = quot(w * s.DGL, s.NU);
    const double PE = o.RE * C.PR;
    const double GZ = quot(PE * s.DGL, HL);
    o.NUS = nusselt(o.RE, C.PRF, GZ, quot(s.DGL, HL));
    o.ALPHA = quot(o.NUS * s.LAMBDA, s.DGL);
    // The balance takes the liquid at the mean of its inlet and outlet temperatures. That
    // holds while the jets pass at most twice the liquid's heat capacity flow: at 2 CL the
    // liquid already leaves at the gas temperature, and more would carry it beyond the gas
    // (liquid warmer than the gas it heats, or colder than the gas it cools). Beyond that
    // the jets are an ideal exchanger.
    const double KA = std::min(o.ALPHA * AO, 2.0 * std::max(s.CL, 0.0));

    // Gas of the space: its heat capacity over the step, the gas that enters or leaves at
    // the regenerator end, and the work the pistons do on it.
    const double C1 = CV * s.MV * rdt;
    const double C2 = CV * s.DM;
    const double CG = C1 + C2;
    const double SG = (PV * s.RATIO * s.DV) / 10.0 - C1 * s.TV - C2 * s.TREG;

    o.TE = s.TV;
    o.TOUT = s.TIN;
    const double KACG = KA + CG;
    if (KACG > 0.0 && std::isfinite(KACG)) {
        const double KS = KA * CG / KACG;  // series conductance jet surface - gas
        const double den = KS / 2.0 + s.CL;
        // 1 - KS/KA, written so that it holds for KA = 0 too.
        const double share = KA / KACG;
        const double TOUT = quot((s.CL - KS / 2.0) * s.TIN - share * SG - s.LOSS, den);
        const double TE = ((s.TIN + TOUT) * KA / 2.0 - SG) / KACG;
        if (den > 0.0 && std::isfinite(TOUT) && std::isfinite(TE)) {
            o.TOUT = TOUT;
            o.TE = TE;
        }
    }
    o.TGAS = o.TE;

    // With the vapour component the saturated vapour of the liquid leaving the space mixes
    // with the gas.
    if (C.FDAMPF) {
        double PS = 0.0, MASSE = 0.0, T = o.TOUT, V = s.V, R = 0.0, CPD = 0.0, CPW = 0.0,
               SD = 0.0, SW = 0.0, HD = 0.0;
        properties::PDAMPF(st, u, NFAIL, PS, MASSE, T, V, R, CPD, CPW, SD, SW, HD, C.IP2);
        if (NFAIL > 880) return false;
        const double gas = s.MV * CV, vap = MASSE * CPD;
        const double mixed = quot(o.TE * gas + o.TOUT * vap, gas + vap);
        if (mixed > 0.0) o.TE = mixed;
        o.MVAP = MASSE;
    }

    o.DQG = ((s.TIN + o.TOUT) / 2.0 - o.TE) * KA;
    o.DQW = (s.TIN - o.TOUT) * s.CL;
    o.DQL = o.TE * CG + SG;
    return true;
}

}  // namespace

double prandtl_factor(double PR) { return std::pow(PR, f(0.45f)); }

double nusselt(double RE, double PRF, double GZ, double DGL_HL) {
    if (RE > 2300.0) return f(0.0326f) * std::pow(RE, f(0.786f)) * PRF * std::pow(DGL_HL, f(0.054f));
    const double gz = GZ > 0.0 ? GZ : 0.0;  // no flow: the fully developed value
    return f(3.65f) + f(0.0668f) * gz / (1.0 + f(0.045f) * std::pow(gz, f(0.667f)));
}

double regenerator_end(bool leaving, double TV, double L, double XTR, double& C1, double& C2) {
    // Before the driver knows the steps per 10 degrees (first revolution) a reversal has no
    // transition: the end takes its new value at once.
    const bool timed = std::isfinite(XTR) && XTR > 0.0;
    if (leaving) {
        if (!timed || C1 > XTR) {
            C2 = 0.0;
            return TV;
        }
        const double T = TV - (1.0 - std::cos(PI * (XTR - C1) / XTR)) * L / 2.0;
        C1 += 0.25;
        return T;
    }
    if (!timed || C2 > XTR) {
        C1 = 0.0;
        return TV - L;
    }
    const double T = TV - (1.0 - std::cos(PI * C2 / XTR)) * L / 2.0;
    C2 += 0.2;
    return T;
}

bool liquid_flows(const BeregCommon& C, double TW1E, double TW1C, double VE, double VC,
                  runtime::Units& u, properties::SteamState& st, int& NFAIL, double& CLE,
                  double& CLC) {
    double CPWE = C.CPWE, CPWC = C.CPWC;
    if (C.FDAMPF) {
        auto cpw_at = [&](double T, double V) {
            double PS = 0.0, MASSE = 0.0, R = 0.0, CPD = 0.0, CPW = 0.0, SD = 0.0, SW = 0.0,
                   HD = 0.0;
            properties::PDAMPF(st, u, NFAIL, PS, MASSE, T, V, R, CPD, CPW, SD, SW, HD, C.IP2);
            return CPW;
        };
        CPWE = cpw_at(TW1E, VE);
        CPWC = cpw_at(TW1C, VC);
        if (NFAIL > 880) return false;
    }
    // Densities of the hot and the cold liquid, kg/m3; BEVOL in litre/s.
    CLE = run::RHO_LIQUID_HOT * CPWE * C.BEVOL;
    CLC = run::RHO_LIQUID_COLD * CPWC * C.BEVOL;
    return true;
}

namespace {

// The hot side (E) of pair a.N as the heat balance sees it: piston speed UE, m/s, and the
// regenerator end temperature TER.
// The side's run values, kept in k (see SideConstants).
const SideConstants& side_constants(SideConstants& k, double A, double FQ, int NDU, double DDU) {
    if (!(k.set && same_bits(k.A, A) && same_bits(k.FQ, FQ) && k.NDU == NDU &&
          same_bits(k.DDU, DDU)))
        k = {true, A, FQ, DDU, NDU, A - FQ, quot(A, A - FQ), NDU * (DDU / 100.0) * PI};
    return k;
}

SideIn hot_side(const BeregArgs& a, const BeregCommon& C, double UE, double TER,
                SideConstants& k) {
    SideIn e;
    e.S = 'E';
    e.U = UE;
    const SideConstants& K = side_constants(k, a.AH, C.FQDUE, C.NDUE, C.DDUE);
    e.A = a.AH;
    e.FREE = K.FREE;
    e.RATIO = K.RATIO;
    e.JETS = K.JETS;
    e.UDU0 = C.UDU0E;
    e.OFR = C.OFRE;
    e.H = a.HE;
    e.V = a.VE;
    e.DGL = C.DGLE;
    e.LAMBDA = a.LAMBDAE;
    e.NU = a.NUE;
    e.MV = a.MEV;
    e.DM = a.DME;
    e.DV = a.DVE;
    e.TV = a.TEV;
    e.TREG = TER;
    e.TIN = a.TW1E;
    e.CL = a.CLE;
    e.LOSS = C.LUST;
    return e;
}

// The cold side (C), the same with piston speed UC and end temperature TCR.
SideIn cold_side(const BeregArgs& a, const BeregCommon& C, double UC, double TCR,
                 SideConstants& k) {
    SideIn c;
    c.S = 'C';
    c.U = UC;
    const SideConstants& K = side_constants(k, a.AK, C.FQDUC, C.NDUC, C.DDUC);
    c.A = a.AK;
    c.FREE = K.FREE;
    c.RATIO = K.RATIO;
    c.JETS = K.JETS;
    c.UDU0 = C.UDU0C;
    c.OFR = C.OFRC;
    c.H = a.HC;
    c.V = a.VC;
    c.DGL = C.DGLC;
    c.LAMBDA = a.LAMBDAC;
    c.NU = a.NUC;
    c.MV = a.MCV;
    c.DM = a.DMC;
    c.DV = a.DVC;
    c.TV = a.TCV;
    c.TREG = TCR;
    c.TIN = a.TW1C;
    c.CL = a.CLC;
    c.LOSS = C.LUSTC;
    return c;
}

// The results of both sides into the pair record: outlet temperatures, coefficients,
// dimensionless numbers and heat rates, and the heats added to their integrals from the start
// time on.
void store_side_results(PairRecord& R, const SideOut& oe, const SideOut& oc, const BeregArgs& a,
                        const BeregCommon& C) {
    R[F::TW2E] = oe.TOUT;
    R[F::TW2C] = oc.TOUT;
    R[F::TGASE] = oe.TGAS;
    R[F::TGASC] = oc.TGAS;
    R[F::ALPAE] = oe.ALPHA;
    R[F::ALPAC] = oc.ALPHA;
    R[F::XNUE] = oe.NUS;
    R[F::XNUC] = oc.NUS;
    R[F::RENOL] = oe.RE;
    R[F::RCNOL] = oc.RE;
    R[F::DQGSE] = oe.DQG;
    R[F::DQGSC] = oc.DQG;
    R[F::DQWE] = oe.DQW;
    R[F::DQWC] = oc.DQW;
    R[F::DQLUE] = oe.DQL;
    R[F::DQLUC] = oc.DQL;
    // Vapour mixed into the gas of E, and the liquid sprayed into E during the step, g.
    R[F::DMTE] = oe.MVAP;
    R[F::H2OME] = run::RHO_LIQUID_HOT * C.BEVOL * a.DELT;

    if (a.TIME > 0.0 && a.DELT > 0.0) {
        R[F::QGASE] += oe.DQG * a.DELT;
        R[F::QGASC] += oc.DQG * a.DELT;
        R[F::QWE] += oe.DQW * a.DELT;
        R[F::QWC] += oc.DQW * a.DELT;
        R[F::QLUFE] += oe.DQL * a.DELT;
        R[F::QLUFC] += oc.DQL * a.DELT;
    }
}

}  // namespace

bool BEREG(PairRecord& R, Injection& INJ, const BeregArgs& a, double& TE, double& TC,
           runtime::Units& u, properties::SteamState& st, int& NFAIL) {
    const BeregCommon& C = INJ.C;
    const int N = a.N >= 1 && a.N <= 4 ? a.N : 1;
    BeregPairState& S = INJ.pair[static_cast<std::size_t>(N - 1)];
    const double rdt = a.RDT > 0.0 ? a.RDT : (a.DELT > 0.0 ? 1.0 / a.DELT : 0.0);

    // Piston speeds of the pair's hot and cold side, m/s: the pairs take the two cranks in
    // turn, the second pair of each crank on the far side of the piston.
    const double U1 = INJ.U1, U2 = INJ.U2;
    double UE = U1, UC = U2;
    switch (N) {
        case 2: UE = -U1; UC = -U2; break;
        case 3: UE = U2; UC = -U1; break;
        case 4: UE = -U2; UC = U1; break;
        default: break;
    }

    // Regenerator ends around flow reversals: gas leaving a space passes the end at the
    // space temperature, gas entering it comes at the end temperature the loss leaves.
    const double L = (a.TEV - a.TCV) * C.VERLUST / 100.0;
    S.TER = regenerator_end(a.DVE < 0.0, a.TEV, L, INJ.XTR, S.C1E, S.C2E);
    S.TCR = regenerator_end(a.DVC < 0.0, a.TCV, -L, INJ.XTR, S.C1C, S.C2C);

    const SideIn e = hot_side(a, C, UE, S.TER, INJ.side[0]);
    const SideIn c = cold_side(a, C, UC, S.TCR, INJ.side[1]);

    SideOut oe, oc;
    if (!side_step(e, N, a.CANGLE, rdt, a.CV, a.PV, C, S.SLOWE, u, st, NFAIL, oe)) return false;
    if (!side_step(c, N, a.CANGLE, rdt, a.CV, a.PV, C, S.SLOWC, u, st, NFAIL, oc)) return false;

    TE = oe.TE;
    TC = oc.TE;
    store_side_results(R, oe, oc, a, C);
    return true;
}

bool injection_active(const run::RunState& r) {
    return r.mode == run::Mode::ISO && r.nozzles && !(r.MASSE > 0.0) && r.BEVOL > 0.0;
}

void prepare_injection(Injection& INJ, const run::RunState& r) {
    BeregCommon& C = INJ.C;
    C = BeregCommon{};
    C.active = injection_active(r);
    C.FDAMPF = r.FDAMPF;
    C.IP2 = r.IP2;
    C.GAS = r.gas_kind;
    C.RS = r.RS;
    C.VERLUST = r.VERLUST;
    C.BEVOL = r.BEVOL;
    C.NDUE = r.NDUE;
    C.NDUC = r.NDUC;
    C.DDUE = r.DDUE;
    C.DDUC = r.DDUC;
    C.FQDUE = r.FQDUE;
    C.FQDUC = r.FQDUC;
    C.UDU0E = r.UDU0E;
    C.UDU0C = r.UDU0C;
    C.DGLE = r.DGLe;
    C.DGLC = r.DGLc;
    C.OFRE = r.OFRE;
    C.OFRC = r.OFRC;
    C.LUST = r.LUST;
    C.LUSTC = 0.0;
    C.CPWE = run::CP_LIQUID_HOT;
    C.CPWC = run::CP_LIQUID_COLD;
    C.PR = run::PR;
    C.PRF = prandtl_factor(C.PR);
    INJ.pair = {};
    INJ.side = {};
    INJ.U1 = INJ.U2 = INJ.XTR = 0.0;
}

bool check_injection_input(Program& p) {
    const run::RunState& r = p.run;
    if (!injection_active(r)) return true;
    auto side_ok = [](int NDU, double DDU, double FQ, double AREA, double UDU0, double DGL) {
        return NDU > 0 && DDU > 0.0 && FQ > 0.0 && FQ < AREA && std::isfinite(UDU0) && UDU0 > 0.0 &&
               std::isfinite(DGL) && DGL > 0.0;
    };
    const bool ok = side_ok(r.NDUE, r.DDUE, r.FQDUE, r.FQE, r.UDU0E, r.DGLe) &&
                    side_ok(r.NDUC, r.DDUC, r.FQDUC, r.FQC, r.UDU0C, r.DGLc);
    if (ok) return true;
    p.run.NFAIL = 503;
    return false;
}

}  // namespace korvex::simulation
