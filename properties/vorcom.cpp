// State of a cylinder pair one step before the time loop, with its saturated water vapour.
#include "properties/vorcom.hpp"

#include <cmath>

#include "properties/pdampf.hpp"

namespace korvex::properties {

using runtime::E;
using runtime::F;
using runtime::I;
using runtime::X;

namespace {

// Celsius temperature with the single-precision 273.15 of the enthalpy datum.
double celsius(double T) { return T - 273.1499938964844; }

// Quotient that stays out of the listings as 0 when there is nothing to divide by.
double quotient(double a, double b) { return b != 0.0 ? a / b : 0.0; }

// Saturated vapour at temperature T in volume V (input mode 1 of PDAMPF).
struct Saturated {
    double PS = 0.0, MASSE = 0.0, R = 0.0, CPD = 0.0, CPW = 0.0, SD = 0.0, SW = 0.0, HD = 0.0;
};

Saturated saturated_at(SteamState& st, runtime::Units& u, int& NFAIL, double T, double V, int IP) {
    Saturated s;
    double t = T, v = V;
    PDAMPF(st, u, NFAIL, s.PS, s.MASSE, t, v, s.R, s.CPD, s.CPW, s.SD, s.SW, s.HD, IP);
    return s;
}

void trace(runtime::Units& u, const VorcomArgs& a, const double psr[3]) {
    auto& u9 = u.u9;
    const std::string n = I(a.n, 1);
    u9.record(" Zylinderpaar: H", n, " - K", n, ": VE", n, "V=", F(a.VE1V, 9, 3), " VC", n, "V=",
              F(a.VC1V, 9, 3), " VG", n, "V=", F(a.VG1V, 9, 3), " ME", n, "V=", E(a.ME1V, 14, 7),
              " MC", n, "V=", E(a.MC1V, 14, 7), " MR", n, "V=", E(a.MR1V, 14, 7));
    u9.record(" ", X(23), "T1", n, "V=", F(a.T11V, 8, 3), "  HE", n, "V=", F(a.HE1V, 8, 5),
              "  HC", n, "V=", F(a.HC1V, 8, 3), "  V", n, "V =", E(a.V1V, 14, 7), " P", n, "V =",
              F(a.P1V, 7, 3));
    u9.record(X(23), " TE", n, "V=", F(a.TE1V, 8, 3), " TC", n, "V=", F(a.TC1V, 8, 3), " Kelvin");
    u9.record(" ", X(8), "Mit: DTE", n, "*DELT=", E(a.DTE * a.DELT, 12, 6), " Kelvin wird TE", n,
              "=", F(a.TE, 9, 4), " Kelvin mit: DTC", n, "*DELT=", E(a.DTC * a.DELT, 12, 6),
              " Kelvin wird TC", n, "=", F(a.TC, 9, 4), " Kelvin");
    u9.record(" ", X(8), "Mit: DME", n, "*DELT=", E(a.DME1 * a.DELT, 12, 6), " Gramm  wird ME", n,
              "=", F(a.ME, 9, 5), " Gramm; mit: DMC", n, "*DELT=", E(a.DMC1 * a.DELT, 12, 6),
              " Gramm  wird MC", n, "=", F(a.MC, 9, 5), " Gramm");
    u9.record(" ", X(8), "Mit: DMR", n, "*DELT=", E(a.DMR1 * a.DELT, 12, 6), " Gramm  wird MR", n,
              "=", F(a.MR, 9, 5), " Gramm");
    u9.line("");
    if (a.FDAMPF == 0) return;
    const std::string lead = " " + X(21);
    u9.record(lead, ": PSR1=", F(psr[0], 8, 3), " PSR2=", F(psr[1], 8, 3), " PSR3=",
              F(psr[2], 8, 3), " PSTE", n, "V=", F(a.PSTE1V, 6, 3), "     PSTC", n, "V=",
              F(a.PSTC1V, 6, 3), " BAR");
    u9.record(lead, ": Mittlerer Dampfdruck  PS", n, "V=", F(a.PS1V, 7, 4),
              " Bar bei der Temperatur T3", n, "V=", F(a.T31V, 8, 3), " Kelvin");
    u9.record(lead, ": Sattdampfmasse in VG", n, "V=", F(a.VG1V, 9, 3), " cm **3 ist: SDM", n,
              "V=", F(a.SDM1V, 9, 5), " Gramm; Gesamtdruck PGES", n, "V=", F(a.PGES1V, 8, 4),
              " Bar");
    if (u.level(5))
        u9.record(lead, ": V", n, "V=", F(a.V1V, 9, 3), " CM**3;", "VPTRG", n,
                  " = (VR1003 * (PSR1/TMR1 + PSR2/TMR2 + PSR3/TMR3)) * T0 =", E(a.VPTRG1, 14, 7),
                  " Bar * cm**3");
    u9.record(lead, ": Verdampfungsenergie: DQD", n, "V=", E(a.DQD1V, 14, 7),
              "WATT*SEC; Entropie DSD", n, "V = DQD", n, "V / T3", n, "V =", E(a.DSD1V, 14, 7),
              " WATT * SEC/K");
    u9.line("");
}

// The vapour results start at zero; they stay so without vapour.
void clear_vapour(VorcomArgs& a) {
    a.PS1V = a.PSTE1V = a.PSTC1V = a.SDM1V = a.T31V = a.DQD1V = a.DSD1V = 0.0;
    a.SDME_A = a.SDME_B = 0.0;
    a.QHE = a.QHC = a.QHR = a.QRE = a.QRC = a.QRR = 0.0;
    a.VPTRG1 = 0.0;
}

// A pair the machine does not have: its state, inputs included, is zero.
void clear_missing_pair(VorcomArgs& a) {
    a.VG1V = a.V1V = a.P1V = 0.0;
    a.TE = a.TC = a.TE1V = a.TC1V = a.T11V = 0.0;
    a.ME1V = a.MC1V = a.MR1V = 0.0;
    a.DME1 = a.DMC1 = a.DMR1 = 0.0;
    a.VE1V = a.HE1V = a.VC1V = a.HC1V = 0.0;
    a.TR = 0.0;
    // The start piston forces read every pair's total pressure: a pair the machine does
    // not have contributes none, not what an earlier run left there.
    a.PGES1V = 0.0;
    a.ZERO.fill(0.0);
}

// Mean temperatures of the regenerator's three equal zones, hot to cold.
struct RegeneratorZones {
    double TMR1 = 0.0, TMR2 = 0.0, TMR3 = 0.0;
};

// The zones between the ends THR, TKR (the space temperatures moved in by the loss). The
// logarithmic means need two different, positive end temperatures; otherwise the zones take
// arithmetic means around the regenerator temperature TRV.
RegeneratorZones regenerator_zones(double THR, double TKR, double TRV, int LOGREG) {
    RegeneratorZones z;
    if (LOGREG != 0 && THR != TKR && THR > 0.0 && TKR > 0.0) {
        const double DT = (THR - TKR) / 3.0;
        const double TA = THR - DT;
        const double TB = TKR + DT;
        z.TMR1 = DT / std::log(THR / TA);
        z.TMR2 = DT / std::log(TA / TB);
        z.TMR3 = DT / std::log(TB / TKR);
    } else {
        z.TMR2 = TRV;
        z.TMR1 = (THR + TRV) / 2.0;
        z.TMR3 = (TKR + TRV) / 2.0;
    }
    return z;
}

// The gas state one step back: volumes, temperatures and masses, the reduced volume, the
// pressure and the mean temperature; returns the regenerator zones it was formed with.
RegeneratorZones gas_state_before(VorcomArgs& a) {
    a.VE1V = a.FE * a.HE1V;
    a.VC1V = a.FC * a.HC1V;
    a.VG1V = a.VE1V + a.VC1V + a.VR;

    const double TRV = a.TR - a.DTR * a.DELT;
    a.TE1V = a.TE - a.DTE * a.DELT;
    a.TC1V = a.TC - a.DTC * a.DELT;
    a.ME1V = a.ME - a.DME1 * a.DELT;
    a.MC1V = a.MC - a.DMC1 * a.DELT;
    a.MR1V = a.MR - a.DMR1 * a.DELT;

    const double D = (a.TE1V - a.TC1V) * a.VERLUST / 200.0;
    const RegeneratorZones z = regenerator_zones(a.TE1V - D, a.TC1V + D, TRV, a.LOGREG);
    a.V1V = (quotient(a.VE1V, a.TE) +
             a.VR1003 * (quotient(1.0, z.TMR1) + quotient(1.0, z.TMR2) + quotient(1.0, z.TMR3)) +
             quotient(a.VC1V, a.TC)) *
            a.T0;
    a.P1V = quotient(a.P0 * a.V01, a.V1V);
    a.T11V = quotient(a.T0 * a.VG1V, a.V1V);
    return z;
}

// The saturated vapour of the spaces and zones, their enthalpy contents and heats of
// evaporation, the mean vapour pressure and the whole pair's vapour at it. False on a property
// error (NFAIL above 880).
bool vapour_state_before(SteamState& st, runtime::Units& u, int& NFAIL, VorcomArgs& a,
                         const RegeneratorZones& zones, double psr[3]) {
    const Saturated e = saturated_at(st, u, NFAIL, a.TE1V, a.VE1V, a.IP1);
    const Saturated c = saturated_at(st, u, NFAIL, a.TC1V, a.VC1V, a.IP1);
    const double tmr[3] = {zones.TMR1, zones.TMR2, zones.TMR3};
    Saturated z[3];
    for (int k = 0; k < 3; ++k) z[k] = saturated_at(st, u, NFAIL, tmr[k], a.VR1003, a.IP1);
    a.PSTE1V = e.PS;
    a.PSTC1V = c.PS;
    for (int k = 0; k < 3; ++k) psr[k] = z[k].PS;
    a.SDME_A = a.SDME_B = e.MASSE;
    if (NFAIL > 880) return false;

    a.QHE = (e.HD - e.CPW * celsius(a.TE)) * e.MASSE;
    a.QHC = (c.HD - c.CPW * celsius(a.TC)) * c.MASSE;
    a.QHR = 0.0;
    a.QRR = 0.0;
    for (int k = 0; k < 3; ++k) {
        a.QHR += (z[k].HD - z[k].CPW * celsius(tmr[k])) * z[k].MASSE;
        a.QRR += z[k].MASSE * z[k].R;
    }
    a.QRE = e.MASSE * e.R;
    a.QRC = c.MASSE * c.R;

    a.VPTRG1 = a.VR1003 *
               (quotient(psr[0], tmr[0]) + quotient(psr[1], tmr[1]) + quotient(psr[2], tmr[2])) * a.T0;
    a.PS1V = quotient(quotient(a.PSTC1V * a.VC1V * a.T0, a.TC1V) +
                          quotient(a.PSTE1V * a.VE1V * a.T0, a.TE1V) + a.VPTRG1,
                      a.V1V);

    // The whole pair's vapour at the mean pressure (input mode 4: T and mass start at 0).
    double ps = a.PS1V, vg = a.VG1V, R = 0.0, CPD = 0.0, CPW = 0.0, SD = 0.0, SW = 0.0, HD = 0.0;
    a.T31V = 0.0;
    a.SDM1V = 0.0;
    PDAMPF(st, u, NFAIL, ps, a.SDM1V, a.T31V, vg, R, CPD, CPW, SD, SW, HD, a.IP1);
    if (NFAIL > 880) return false;
    a.DQD1V = a.SDM1V * R;
    a.DSD1V = quotient(a.DQD1V, a.T31V);
    return true;
}

}  // namespace

void VORCOM(SteamState& st, runtime::Units& u, int& NFAIL, VorcomArgs& a) {
    const bool unused = (a.n > 1 && a.NZYL == 1) || (a.n > 2 && a.NZYL == 2);
    clear_vapour(a);
    double psr[3] = {0.0, 0.0, 0.0};
    if (unused) {
        clear_missing_pair(a);
        return;
    }
    const RegeneratorZones zones = gas_state_before(a);
    if (a.FDAMPF != 0 && !vapour_state_before(st, u, NFAIL, a, zones, psr)) return;
    a.PGES1V = a.P1V + a.PS1V;
    if (u.level(3)) trace(u, a, psr);
    a.ZERO.fill(0.0);
}

}  // namespace korvex::properties
