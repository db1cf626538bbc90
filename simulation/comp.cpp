// COMP: state equations of one cylinder pair for one time step.
#include "simulation/comp.hpp"

#include <bit>
#include <cmath>
#include <cstdint>

#include "properties/pdampf.hpp"
#include "properties/steam_state.hpp"
#include "properties/tetctr.hpp"
#include "runtime/numeric.hpp"
#include "runtime/units.hpp"
#include "simulation/bereg.hpp"
#include "simulation/gas_transport.hpp"
#include "simulation/tdifdf.hpp"

namespace korvex::simulation {

using runtime::quot;

namespace {

using F = PairField;

// 273.15 K as the steam routines hold it (single precision).
constexpr double T273 = 273.1499938964844;

// A space temperature must stay positive: the reduced volume divides by it. A mode that
// yields no usable value leaves the space at its previous temperature.
double usable_temperature(double T, double fallback) {
    if (std::isfinite(T) && T > 0.0) return T;
    if (std::isfinite(fallback) && fallback > 0.0) return fallback;
    return 1.0;
}

// Saturated vapour state of one space, as the steam routine returns it.
struct Vapour {
    double PS = 0.0, MASSE = 0.0, T = 0.0, V = 0.0;
    double R = 0.0, CPD = 0.0, CPW = 0.0, SD = 0.0, SW = 0.0, HD = 0.0;
    // Heat content of the vapour above liquid at 0 degrees C, and its heat of evaporation.
    double h2d() const { return MASSE * (HD - CPW * (T - T273)); }
    double rdm() const { return MASSE * R; }
};

// Vapour at temperature T in volume V (temperature given).
Vapour vapour_at(double T, double V, int IP, runtime::Units& u, properties::SteamState& st,
                 int& NFAIL) {
    Vapour v;
    v.T = T;
    v.V = V;
    properties::PDAMPF(st, u, NFAIL, v.PS, v.MASSE, v.T, v.V, v.R, v.CPD, v.CPW, v.SD, v.SW, v.HD,
                       IP);
    return v;
}

// The rates that COMP computes. Those that a branch not taken would leave at the value of an
// earlier step are cleared at the start of every step: without the vapour component the seven
// that only some branches write (every step writes the others), with it all of them, since a
// property error may end the step before it has written them.
constexpr std::size_t RATE_FIELDS[] = {
    F::DAE,   F::DAC,   F::DA,    F::DPS,   F::DUE,   F::DUC,   F::DURE,  F::DURC,
    F::DUREC, F::DUR,   F::DQZU,  F::DQAB,  F::DQGN,  F::DQNUZ, F::DQNZD, F::DQDAF,
    F::VGDPS, F::DS1,   F::DS3,   F::DS2,   F::DREZU, F::DRCAB, F::DQH2O, F::DT2,
    F::DUMR,  F::DUTR,  F::DUME,  F::DUTE,  F::DUMC,  F::DUTC,  F::DPGES, F::DP,
    F::VGDP,  F::DVLQH, F::DVLQC,
};

// Terms of the vapour component that the heat balance of the step needs.
struct VapourRates {
    double DQDAMF = 0.0;  // vapour heat rate, W
    double DS3 = 0.0;     // vapour entropy rate
    double DQH2OE = 0.0;  // vapour heat of the hot side, W
    double DQH2OC = 0.0;  // vapour heat of the cold side, W
    double WORK = 0.0;    // vapour p dV rate, W
};

// Saturated vapour in the three spaces of the pair, its partial pressure and the selected
// definitions of its heat content, entropy and their rates. Returns false when a property
// routine raised NFAIL above 880.
bool vapour_terms(PairRecord& R, const CompCommon& C, const CompPair& PP, double rdt, double VGM,
                  runtime::Units& u, properties::SteamState& st, int& NFAIL, VapourRates& out) {
    const double VE = R[F::VE], VC = R[F::VC], VG = R[F::VG];
    const double TE = R[F::TE], TC = R[F::TC], TR = R[F::TR];
    // With nozzles the vapour of a cylinder is taken at the liquid's inlet temperature.
    const double TVE = C.DUESEN ? PP.TW1E : TE;
    const double TVC = C.DUESEN ? PP.TW1C : TC;

    const Vapour e = vapour_at(TVE, VE, C.IP2, u, st, NFAIL);
    const Vapour c = vapour_at(TVC, VC, C.IP2, u, st, NFAIL);
    const Vapour r1 = vapour_at(R.TRA, C.VR1003, C.IP2, u, st, NFAIL);
    const Vapour r2 = vapour_at(R.TRB, C.VR1003, C.IP2, u, st, NFAIL);
    const Vapour r3 = vapour_at(R.TRC, C.VR1003, C.IP2, u, st, NFAIL);
    if (NFAIL > 880) return false;

    R.PSTE = e.PS;
    R.PSTC = c.PS;
    R.PSR1 = r1.PS;
    R.PSR2 = r2.PS;
    R.PSR3 = r3.PS;
    R.SDMSUM = e.MASSE + c.MASSE + r1.MASSE + r2.MASSE + r3.MASSE;
    R.VPTRG = C.VR1003 * (quot(r1.PS, R.TRA) + quot(r2.PS, R.TRB) + quot(r3.PS, R.TRC)) * C.T0;

    // Partial pressure of the vapour: each space's vapour reduced to T0 like the gas.
    const double VRED = R[F::V];
    const double PS = quot(quot(c.PS * VC * C.T0, TVC) + R.VPTRG + quot(e.PS * VE * C.T0, TVE), VRED);
    R[F::PS] = PS;
    R[F::DPS] = (PS - R.PSV) * rdt;
    R[F::VGDPS] = VGM * R[F::DPS] / 10.0;
    R.DPSVEC = (PS + R.PSV) * R[F::DVG] / 20.0;
    const double VGDPS = R[F::VGDPS], DPSVEC = R.DPSVEC;

    // The whole vapour at the partial pressure in the total volume.
    Vapour t;
    t.PS = PS;
    t.V = VG;
    properties::PDAMPF(st, u, NFAIL, t.PS, t.MASSE, t.T, t.V, t.R, t.CPD, t.CPW, t.SD, t.SW, t.HD,
                       C.IP2);
    if (NFAIL > 880) return false;
    const double SDM = t.MASSE, T3 = t.T, RDAM3 = t.R;
    R[F::SDM] = SDM;
    R[F::T3] = T3;
    R[F::SDD] = quot(1000.0 * SDM, VG);

    // Per space: entropy, heat content and evaporation heat of its vapour.
    const double S2E = e.MASSE * e.SD, S2C = c.MASSE * c.SD;
    const double S2R = r1.MASSE * r1.SD + r2.MASSE * r2.SD + r3.MASSE * r3.SD;
    const double S2RTR = r1.MASSE * r1.SD * R.TRA + r2.MASSE * r2.SD * R.TRB + r3.MASSE * r3.SD * R.TRC;
    const double H2DE = e.h2d(), H2DC = c.h2d(), H2DR = r1.h2d() + r2.h2d() + r3.h2d();
    const double RDME = e.rdm(), RDMC = c.rdm(), RDMR = r1.rdm() + r2.rdm() + r3.rdm();

    if (!R.VAPV) {
        // First vapour step of the run without previous values: take this step's values.
        R.H2DEV = H2DE; R.H2DCV = H2DC; R.H2DRV = H2DR;
        R.RDMEV = RDME; R.RDMCV = RDMC; R.RDMRV = RDMR;
        R.SDMV = SDM;
        R.VAPV = true;
    }
    const double DH2DE = (H2DE - R.H2DEV) * rdt, DH2DC = (H2DC - R.H2DCV) * rdt,
                 DH2DR = (H2DR - R.H2DRV) * rdt;
    const double DRDME = (RDME - R.RDMEV) * rdt, DRDMC = (RDMC - R.RDMCV) * rdt,
                 DRDMR = (RDMR - R.RDMRV) * rdt;
    const double CPW3 = t.CPW, SD3 = t.SD, SW3 = t.SW, H2D3 = t.HD;

    double DQD = 0.0;
    switch (C.DQD) {
        case 1: DQD = S2RTR + S2E * TE + S2C * TC; break;
        case 2: DQD = SDM * (SD3 - SW3) * T3; break;
        case 3: DQD = H2DE + H2DC + H2DR; break;
        case 4: DQD = SDM * (H2D3 - CPW3 * (T3 - T273)); break;
        case 5: DQD = RDME + RDMC + RDMR; break;
        default: DQD = SDM * RDAM3; break;
    }
    double DSD = 0.0;
    switch (C.DSD) {
        case 1: DSD = S2R + S2E + S2C; break;
        case 2: DSD = SDM * (SD3 - SW3); break;
        case 3: DSD = quot(H2DE, TE) + quot(H2DC, TC) + quot(H2DR, TR); break;
        case 4: DSD = quot(SDM * (H2D3 - CPW3 * (T3 - T273)), T3); break;
        case 5: DSD = quot(RDME + RDMC + RDMR, T3); break;
        case 7: DSD = quot(H2DE + H2DC + H2DR, T3); break;
        default: DSD = quot(DQD, T3); break;
    }
    if (!R.DQDV_SET) {
        R.DQDV = DQD;
        R.DQDV_SET = true;
    }
    if (!R.DSDV_SET) {
        R.DSDV = DSD;
        R.DSDV_SET = true;
    }

    auto ds3_of = [&](double DQDAMF) {
        switch (C.DS3) {
            case 1: return DSD - R.DSDV;
            case 3: return quot(DH2DE, TE) + quot(DH2DC, TC) + quot(DH2DR, TR);
            case 4: return quot(DH2DE + DH2DC + DH2DR - VGDPS, T3);
            case 5: return quot(DRDME, TE) + quot(DRDMC, TC) + quot(DRDMR, TR);
            case 6: return quot(DRDME + DRDMC + DRDMR + DPSVEC, T3);
            default: return quot(DQDAMF, T3);
        }
    };
    // The rate of the heat content; the definition by the entropy rate (1) needs that rate
    // first, and cannot be combined with the entropy rate defined by this heat rate: that
    // pair is taken as the heat-content difference.
    int dqdampf = (C.DQDAMPF >= 1 && C.DQDAMPF <= 6) ? C.DQDAMPF : 2;
    const bool ds3_by_rate = !(C.DS3 >= 1 && C.DS3 <= 6) || C.DS3 == 2;
    if (dqdampf == 1 && ds3_by_rate) dqdampf = 2;
    double DQDAMF = 0.0, DS3 = 0.0;
    if (dqdampf == 1) {
        DS3 = ds3_of(0.0);
        DQDAMF = DS3 * T3;
    } else {
        switch (dqdampf) {
            case 3: DQDAMF = (DQD - R.DQDV) * rdt + DPSVEC; break;
            case 4: DQDAMF = DH2DE + DH2DC + DH2DR - VGDPS; break;
            case 5: DQDAMF = DRDME + DRDMC + DRDMR + DPSVEC; break;
            case 6: DQDAMF = DRDME + DRDMC + DRDMR - VGDPS; break;
            default: DQDAMF = (DQD - R.DQDV) * rdt - VGDPS; break;
        }
        DS3 = ds3_of(DQDAMF);
    }

    R[F::DQD] = DQD;
    R[F::DSD] = DSD;
    R[F::DQDAF] = DQDAMF;
    R[F::DS3] = DS3;

    // With nozzles the vapour that forms or condenses carries heat between the two liquid
    // temperatures: into the hot side when positive, else out of the cold side.
    if (C.DUESEN) {
        const double DQH2O = (PP.TW1E - PP.TW1C) * (SDM - R.SDMV) * rdt * (e.CPW + c.CPW) / 2.0;
        R[F::DQH2O] = DQH2O;
        if (DQH2O > 0.0) out.DQH2OE = DQH2O;
        else out.DQH2OC = DQH2O;
    }

    // Previous values of the next step.
    R.H2DEV = H2DE; R.H2DCV = H2DC; R.H2DRV = H2DR;
    R.RDMEV = RDME; R.RDMCV = RDMC; R.RDMRV = RDMR;
    R.SDMV = SDM;
    R.DQDV = DQD;
    R.DSDV = DSD;

    out.DQDAMF = DQDAMF;
    out.DS3 = DS3;
    out.WORK = DPSVEC;
    return true;
}

}  // namespace

void take_vorcom(PairRecord& R, const properties::VorcomArgs& a, const CompCommon& C) {
    R.VEV = a.VE1V;
    R.VCV = a.VC1V;
    R.VGV = a.VG1V;
    R.VV = a.V1V;
    R.PV = a.P1V;
    R.PSV = a.PS1V;
    R.PGESV = a.PGES1V;
    R.MEV = a.ME1V;
    R.MCV = a.MC1V;
    R.MRV = a.MR1V;
    R.TEV = a.TE1V;
    R.TCV = a.TC1V;
    R.TRV = a.TR - a.DTR * a.DELT;
    R.TSV = a.T11V;
    // The vapour one step before the start, at the space temperatures. With nozzles the steps
    // take the cylinders' vapour at the liquid temperatures instead; there the start state
    // does not match, and the first step starts from its own values.
    R.VAPV = C.FDAMPF && a.FDAMPF != 0 && !C.DUESEN;
    R.DQDV_SET = R.DSDV_SET = false;
    if (!R.VAPV) return;
    R.SDMV = a.SDM1V;
    R.H2DEV = a.QHE;
    R.H2DCV = a.QHC;
    R.H2DRV = a.QHR;
    R.RDMEV = a.QRE;
    R.RDMCV = a.QRC;
    R.RDMRV = a.QRR;
    // Heat content and entropy by the deck's definitions, where the start state has what they
    // are made of: the sums of the spaces' heat contents or evaporation heats, and the whole
    // vapour's evaporation heat with its temperature.
    const double H2D = a.QHE + a.QHC + a.QHR, RDM = a.QRE + a.QRC + a.QRR;
    switch (C.DQD) {
        case 1: case 2: case 4: break;
        case 3: R.DQDV = H2D; R.DQDV_SET = true; break;
        case 5: R.DQDV = RDM; R.DQDV_SET = true; break;
        default: R.DQDV = a.DQD1V; R.DQDV_SET = true; break;
    }
    switch (C.DSD) {
        case 1: case 2: case 3: case 4: break;
        case 5: R.DSDV = quot(RDM, a.T31V); R.DSDV_SET = true; break;
        case 7: R.DSDV = quot(H2D, a.T31V); R.DSDV_SET = true; break;
        default:
            R.DSDV = quot(R.DQDV, a.T31V);
            R.DSDV_SET = R.DQDV_SET;
            break;
    }
}

double log_mean(double A, double B) {
    if (A > 0.0 && B > 0.0 && A != B) {
        const double m = (A - B) / std::log(A / B);
        if (std::isfinite(m) && m > 0.0) return m;
    }
    return (A + B) / 2.0;
}

namespace {

// Space temperatures from the heat exchange with the injected liquid: the gas transport
// properties of both spaces at the previous state, the liquid heat capacity flows, then BEREG.
// False when a steam-property error ended the step.
bool injection_temperatures(PairRecord& R, const CompCommon& C, const CompPair& PP,
                            Injection& INJ, double TIME, double DT, double& TE, double& TC,
                            runtime::Units& units, properties::SteamState& steam, int& NFAIL) {
    BeregArgs a;
    a.N = PP.N;
    a.DELT = DT;
    a.TIME = TIME;
    a.CANGLE = PP.CANGLE;
    a.HE = R[F::HE];
    a.HC = R[F::HC];
    a.VE = R[F::VE];
    a.VC = R[F::VC];
    a.AH = C.AH;
    a.AK = C.AK;
    a.PV = R.PV;
    a.TEV = R.TEV;
    a.TCV = R.TCV;
    a.MEV = R.MEV;
    a.MCV = R.MCV;
    // This step's mass rates follow from the temperatures being computed: the balance takes
    // those of the step before.
    a.DME = R[F::DME];
    a.DMC = R[F::DMC];
    a.DVE = R[F::DVE];
    a.DVC = R[F::DVC];
    a.CV = C.CV;
    a.TW1E = PP.TW1E;
    a.TW1C = PP.TW1C;
    const GasTransport ge = gas_transport(INJ.C.GAS, R.TEV, R.PV, INJ.C.RS);
    const GasTransport gc = gas_transport(INJ.C.GAS, R.TCV, R.PV, INJ.C.RS);
    a.LAMBDAE = ge.LAMBDA;
    a.NUE = ge.NU;
    a.LAMBDAC = gc.LAMBDA;
    a.NUC = gc.NU;
    if (!liquid_flows(INJ.C, PP.TW1E, PP.TW1C, a.VE, a.VC, units, steam, NFAIL, a.CLE, a.CLC))
        return false;
    return BEREG(R, INJ, a, TE, TC, units, steam, NFAIL);
}

void comp_step(PairRecord& R, const CompCommon& C, const CompPair& PP, Injection* INJ,
               double TIME, double DELT_NEU, runtime::Units& units,
               properties::SteamState& steam, int& NFAIL) {
    const double DT = DELT_NEU > 0.0 ? DELT_NEU : 0.0;
    if (DT != R.DT_KEPT) {
        R.DT_KEPT = DT;
        R.RDT_KEPT = DT > 0.0 ? 1.0 / DT : 0.0;
    }
    const double rdt = R.RDT_KEPT;

    // 1. Geometry of the two spaces.
    const double HE = PP.H00E + C.HRVE + PP.XE * PP.FE;
    const double HC = PP.H00C + C.HRVC + PP.XC * PP.FC;
    const double VE = C.AH * HE;
    const double VC = C.AK * HC;
    const double VG = VE + VC + C.VR;
    R[F::HE] = HE;
    R[F::HC] = HC;
    R[F::VE] = VE;
    R[F::VC] = VC;
    R[F::VG] = VG;
    R[F::DVE] = (VE - R.VEV) * rdt;
    R[F::DVC] = (VC - R.VCV) * rdt;
    R[F::DVG] = R[F::DVE] + R[F::DVC];

    // 2. Space temperatures by the temperature mode.
    double TE = R[F::TE], TC = R[F::TC];
    double TR = R[F::TR];
    bool tr_given = false;
    if (C.MODE_POLY) {
        // Both spaces follow the ratio of the total gas volumes.
        const double r = quot(R.VGV, VG);
        if (r > 0.0) {
            const PolytropicFactors f = polytropic_factors(r, C.CONSTE1, C.CONSTC1);
            TE = R.TEV * f.E;
            TC = R.TCV * f.C;
        }
        if (C.MODELL > 0) {
            // Gas that enters a space mixes with the gas it finds there.
            double TEE = TE, TCC = TC, TRR = TR, TRM = TR;
            properties::TETCTR(units, TE, TC, TRM, C.NTEMP, C.VERLUST, R.MEV, R.MCV, R.MRV, TIME, DT,
                               C.CV, R[F::DME], R[F::DMC], R[F::DMR], R.TEV, R.TCV, R.TRV, TEE,
                               TCC, TRR, C.DREI ? 1 : 0);
            TE = TEE;
            TC = TCC;
            TR = TRR;
            tr_given = true;
        }
    } else if (C.MODE_TEMPD) {
        TDIFDF(units, TE, TC, C.TTE, C.TTC, C.TANGLE, PP.CANGLE, C.IP1, PP.N);
    } else if (C.MODE_ISO) {
        // With injected liquid the gas exchanges heat with the jets; without (plain, or with
        // the wire mesh's temperatures) the spaces keep their temperatures.
        if (INJ != nullptr && INJ->C.active) {
            if (!injection_temperatures(R, C, PP, *INJ, TIME, DT, TE, TC, units, steam, NFAIL))
                return;
        }
    }
    TE = usable_temperature(TE, R.TEV);
    TC = usable_temperature(TC, R.TCV);

    // 3. Regenerator ends and mean temperature, 4. reduced regenerator volume. Spaces that
    // keep their temperatures keep the regenerator of the last step.
    double TER, TCR, VRRED;
    KeptRegenerator& K = R.regenerator;
    if (!tr_given && K.set && same_bits(K.TE, TE) && same_bits(K.TC, TC)) {
        TER = K.TER;
        TCR = K.TCR;
        TR = K.TR;
        VRRED = K.VRRED;
    } else {
        const double loss = C.VERLUST / 200.0 * (TE - TC);
        TER = TE - loss;
        TCR = TC + loss;
        if (C.MODELL >= 0) {
            if (!tr_given) TR = C.DREI ? regenerator_mean(R.means, TER, TCR) : (TER + TCR) / 2.0;
        } else {
            TER = C.TER_1234;
            TCR = C.TCR_1234;
            TR = regenerator_mean(R.means, TER, TCR);
        }
        TR = usable_temperature(TR, R.TRV);

        // Three sections of VR/3, each with its own mean temperature.
        double Ta, Tb, Tc;
        const double reciprocals = regenerator_sections(C.DREI, TER, TCR, TR, R.means, Ta, Tb, Tc);
        R.TRA = Ta;
        R.TRB = Tb;
        R.TRC = Tc;
        VRRED = C.VR > 0.0 ? C.VR1003 * reciprocals : 0.0;
        K = {!tr_given, TE, TC, TER, TCR, TR, VRRED};
    }
    R.VRRED = VRRED;
    R[F::TE] = TE;
    R[F::TC] = TC;
    R[F::TR] = TR;
    R[F::TREGE] = TER;
    R[F::TREGC] = TCR;
    R[F::TEMTC] = TE - TC;

    // 5. Pressure and masses from the gas charge: P VRED = P0 V0 holds the charge fixed.
    const double VRED = (VE / TE + VRRED + VC / TC) * C.T0;
    double P = R.PV, TM = R[F::T1];
    if (std::isfinite(VRED) && VRED > 0.0) {
        P = C.P0 * PP.V0 / VRED;
        TM = C.T0 * VG / VRED;
    }
    R[F::V] = VRED;
    R[F::P] = P;
    R[F::T1] = TM;
    const double RHOE = quot(1000.0 * P, C.RS * TE);
    const double RHOC = quot(1000.0 * P, C.RS * TC);
    const double ME = RHOE * VE / 1000.0;
    const double MC = RHOC * VC / 1000.0;
    const double MR = quot(P * VRRED, C.RS);
    R[F::GDE] = RHOE;
    R[F::GDC] = RHOC;
    R[F::ME] = ME;
    R[F::MC] = MC;
    R[F::MR] = MR;
    R[F::DME] = (ME - R.MEV) * rdt;
    R[F::DMC] = (MC - R.MCV) * rdt;
    if (C.VR > 0.0) {
        R[F::GDR] = 1000.0 * MR / C.VR;
        R[F::DMR] = (MR - R.MRV) * rdt;
    } else {
        R[F::GDR] = 0.0;
        R[F::DMR] = 0.0;
    }
    R.DVRED = (VRED - R.VV) * rdt;

    // 6. Step means and temperature rates.
    const double VGM = (VG + R.VGV) / 2.0;
    const double MEM = (ME + R.MEV) / 2.0;
    const double MCM = (MC + R.MCV) / 2.0;
    const double MRM = (MR + R.MRV) / 2.0;
    const double TRM = (TR + R.TRV) / 2.0;
    const double DTE = (TE - R.TEV) * rdt;
    const double DTC = (TC - R.TCV) * rdt;
    const double DTR = (TR - R.TRV) * rdt;
    R[F::DTE] = DTE;
    R[F::DTC] = DTC;
    R[F::DTR] = DTR;
    if (C.FDAMPF) {
        for (std::size_t k : RATE_FIELDS) R[k] = 0.0;
    } else {
        R[F::DPS] = R[F::VGDPS] = R[F::DQDAF] = R[F::DS3] = R[F::DQH2O] = 0.0;
        R[F::DVLQH] = R[F::DVLQC] = 0.0;
    }

    VapourRates vap;
    R[F::PS] = 0.0;
    if (C.FDAMPF) {
        if (!vapour_terms(R, C, PP, rdt, VGM, units, steam, NFAIL, vap)) return;
    }
    const double PS = R[F::PS];

    // 7. Pressures, powers and heat rates.
    const double PGES = P + PS;
    R[F::PGES] = PGES;
    const double PGM = (PGES + R.PGESV) / 2.0;
    const double PM = (P + R.PV) / 2.0;
    const double DME = R[F::DME], DMC = R[F::DMC], DMR = R[F::DMR];
    const double DVE = R[F::DVE], DVC = R[F::DVC], DVG = R[F::DVG];
    R[F::DP] = (P - R.PV) * rdt;
    R[F::DPGES] = (PGES - R.PGESV) * rdt;
    R[F::DAE] = PGM * DVE / 10.0;
    R[F::DAC] = PGM * DVC / 10.0;
    R[F::DA] = PGM * DVG / 10.0;
    R[F::VGDP] = VGM * R[F::DP] / 10.0;
    // The same p dV rates at the mean gas pressure for the heat balances; without vapour the
    // two mean pressures are one, bit for bit, and so are the rates.
    const bool one_pressure = same_bits(PM, PGM);
    const double PDVE = one_pressure ? R[F::DAE] : DVE * PM / 10.0;
    const double PDVC = one_pressure ? R[F::DAC] : DVC * PM / 10.0;
    const double PDVG = one_pressure ? R[F::DA] : DVG * PM / 10.0;

    // Regenerator loss: gas that enters a space arrives at the regenerator end, not at the
    // space temperature; the difference is heat the heater must add or the cooler remove.
    double DQREZU = 0.0, DQRCAB = 0.0;
    if (C.VERLUST != 0.0) {
        const double LE = C.CV * DME * (TE - TER);
        const double LC = C.CV * DMC * (TC - TCR);
        if (DME >= 0.0) DQREZU += LE; else DQRCAB += LE;
        if (DMC < 0.0) DQREZU += LC; else DQRCAB += LC;
    }
    const double CV = C.CV;
    const double DQURE = (TER - TRM) * CV * DME;
    const double DQURC = (TCR - TRM) * CV * DMC;
    const double DQUREC = DQURE + DQURC;
    const double DQUTE = CV * MEM * DTE;
    const double DQUME = TER * CV * DME;
    const double DQUE = DQUTE + DQUME;
    const double DQUTC = CV * MCM * DTC;
    const double DQUMC = TCR * CV * DMC;
    const double DQUC = DQUTC + DQUMC;
    const double DQUTR = CV * MRM * DTR;
    const double DQUMR = CV * DMR * TRM;
    const double DQUR = DQUMR + DQUTR;
    double DQZU = DQREZU + PDVE + DQUTE;
    double DQAB = PDVC + DQUTC + DQRCAB;
    const double DQGN = DQUE + PDVG + DQUC + DQUR + DQREZU + DQRCAB;
    const double DQNUZG = DQZU + DQAB + DQUTR + DQUREC;
    const double DS = quot(DQNUZG, TM);
    double DQNUZD = DQNUZG;
    if (C.FDAMPF) {
        DQNUZD = DQNUZG + vap.DQDAMF;
        DQZU += vap.DQH2OE;
        DQAB += vap.DQH2OC;
    }
    R[F::DREZU] = DQREZU;
    R[F::DRCAB] = DQRCAB;
    R[F::DURE] = DQURE;
    R[F::DURC] = DQURC;
    R[F::DUREC] = DQUREC;
    R[F::DUTE] = DQUTE;
    R[F::DUME] = DQUME;
    R[F::DUE] = DQUE;
    R[F::DUTC] = DQUTC;
    R[F::DUMC] = DQUMC;
    R[F::DUC] = DQUC;
    R[F::DUTR] = DQUTR;
    R[F::DUMR] = DQUMR;
    R[F::DUR] = DQUR;
    R[F::DQZU] = DQZU;
    R[F::DQAB] = DQAB;
    R[F::DQGN] = DQGN;
    R[F::DQNUZ] = DQNUZG;
    R[F::DQNZD] = DQNUZD;
    R[F::DS1] = DS;
    R[F::DS2] = DS + vap.DS3;

    // 8. Liquid that carries the heat to and from the pair, litre/s.
    if (C.DUESEN) {
        R[F::DVLQH] = C.BEVOL;
        R[F::DVLQC] = C.BEVOL;
    } else if (C.CQ > 0.0) {
        R[F::DVLQH] = std::fabs(DQZU) / C.CQ;
        R[F::DVLQC] = std::fabs(DQAB) / C.CQ;
    } else {
        R.VLQH = 0.0;
        R.VLQC = 0.0;
    }
    R.VLQH += R[F::DVLQH] * DT;
    R.VLQC += R[F::DVLQC] * DT;
    R[F::DVLHM] = R.VLQH;
    R[F::DVLCM] = R.VLQC;

    // 9. Integrals of the run; the step that ends at TIME = 0 only sets the start state.
    if (TIME > 0.0) {
        R[F::QGN] += DQGN * DT;
        R[F::QNUZD] += DQNUZD * DT;
        R[F::QNUZG] += DQNUZG * DT;
        R[F::QTS1] += TM * DS * DT;
        R[F::QZU] += DQZU * DT;
        R[F::QAB] += DQAB * DT;
        R[F::QUTE] += DQUTE * DT;
        R[F::QUME] += DQUME * DT;
        R[F::QUE] += DQUE * DT;
        R[F::QURE] += DQURE * DT;
        R[F::QUTC] += DQUTC * DT;
        R[F::QUMC] += DQUMC * DT;
        R[F::QUC] += DQUC * DT;
        R[F::QURC] += DQURC * DT;
        R[F::QUREC] += DQUREC * DT;
        R[F::QUTR] += DQUTR * DT;
        R[F::QUMR] += DQUMR * DT;
        R[F::QUR] += DQUR * DT;
        R[F::QREZU] += DQREZU * DT;
        R[F::QRCAB] += DQRCAB * DT;
        R[F::S1] += DS * DT;
        R[F::AE] += R[F::DAE] * DT;
        R[F::AC] += R[F::DAC] * DT;
        R[F::A] += R[F::DA] * DT;
        if (C.FDAMPF) {
            R[F::QTS3] += R[F::T3] * vap.DS3 * DT;
            R[F::QDAMF] += vap.DQDAMF * DT;
            R[F::QH2OE] += vap.DQH2OE * DT;
            R[F::QH2OC] += vap.DQH2OC * DT;
            R[F::WORK] -= vap.WORK * DT;
            R[F::S3] += vap.DS3 * DT;
        }
    }
    R[F::QTS2] = R[F::QTS1] + R[F::QTS3];
    R[F::S2] = R[F::S1] + R[F::S3];

    // 10. Characteristic temperature of the gas with its vapour, within the run's bounds.
    double TS = TM;
    if (C.FDAMPF) {
        const double den = DS + vap.DS3;
        if (den != 0.0) TS = quot(DQNUZD, den);
    }
    if (TS > C.TE_MAX) TS = C.TE_MAX;
    if (TS < C.TC_MIN) TS = C.TC_MIN;
    R[F::T2] = TS;
    R[F::DT2] = (TS - R.TSV) * rdt;

    // 11. This step's state is the previous state of the next one.
    R.VEV = VE;
    R.VCV = VC;
    R.VV = VRED;
    R.VGV = VG;
    R.PV = P;
    R.PSV = PS;
    R.PGESV = PGES;
    R.MEV = ME;
    R.MCV = MC;
    R.MRV = MR;
    R.TEV = TE;
    R.TCV = TC;
    R.TRV = TR;
    R.TSV = TS;
}

}  // namespace

void COMP(PairRecord& R, const CompCommon& C, const CompPair& PP, double TIME, double DELT_NEU,
          runtime::Units& units, properties::SteamState& steam, int& NFAIL) {
    comp_step(R, C, PP, nullptr, TIME, DELT_NEU, units, steam, NFAIL);
}

void COMP(PairRecord& R, const CompCommon& C, const CompPair& PP, Injection& INJ, double TIME,
          double DELT_NEU, runtime::Units& units, properties::SteamState& steam, int& NFAIL) {
    comp_step(R, C, PP, &INJ, TIME, DELT_NEU, units, steam, NFAIL);
}

}  // namespace korvex::simulation
