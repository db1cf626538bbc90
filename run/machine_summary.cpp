// The summary of a run's machine in the short and the detail listing: temperatures, crank
// drive, volumes per partial machine, the gas charge.
#include <string>

#include "run/machine_parts.hpp"

namespace korvex::run {

using runtime::E;
using runtime::F;

namespace {

void summary(const RunState& m, runtime::Unit& w) {
    const int pairs = m.NZYL == 4 ? 4 : (m.NZYL == 2 ? 2 : 1);
    w.line(" ");
    w.record(" THNEU=", F(m.THNEU, 7, 2), " TKNEU=", F(m.TKNEU, 7, 2), " KELVIN; TH=", F(m.TH, 7, 2),
             " TK=", F(m.TK, 7, 2), " Versatz-W.=", F(m.PHASE, 7, 2), " GRAD");
    if (m.mode == Mode::ISO)
        w.record(" TER1=", F(m.TER1, 7, 2), " TCR1=", F(m.TCR1, 7, 2), " KELVIN; Regeneratorverlust=",
                 F(m.VERLUST, 5, 1), " %; N0=", F(m.N0, 7, 1), " U/MIN");
    w.record(" T0=", F(m.T0, 7, 2), " KELVIN; DH=", F(m.DH, 7, 3), " DK=", F(m.DK, 7, 3), " R=",
             F(m.R, 7, 3), " CM");
    if (m.LR == 0.0)
        w.line(" Kurbeltrieb ist die rein SINUS-foermig arbeitende Kurbelschwinge");
    else
        w.record(" Kurbeltrieb mit Pleuelstange L/R=", F(m.LR, 5, 2));
    w.record(" Kolbenstangen Durchmesser DKST=", F(m.DKST, 7, 3), " CM");
    for (int i = 0; i < pairs; ++i) {
        const std::string d(1, static_cast<char>('1' + i));
        w.record(" H", d, "-K", d, ": Hubvolumen VE", d, "=", F(m.VE[i] / 1000.0, 9, 5), " VC", d, "=",
                 F(m.VC[i] / 1000.0, 9, 5), " Totraum TOTVL", d, "=", F(m.TOTVL[i] / 1000.0, 9, 5),
                 " LITER");
    }
    w.record(" Regenerator Volumen VR=", F(m.VR / 1000.0, 9, 5), " LITER; Wirkungsgrad SGRAD=",
             F(m.SGRAD, 6, 1), " %");
    for (int i = 0; i < pairs; ++i) {
        const std::string d(1, static_cast<char>('1' + i));
        w.record(" H", d, "-K", d, ": VH00E", d, "=", F(m.VH00E[i], 9, 2), " VH00C", d, "=",
                 F(m.VH00C[i], 9, 2), " RVEVOL=", F(m.RVEVOL, 9, 2), " RVCVOL=", F(m.RVCVOL, 9, 2),
                 " CM**3");
    }
    for (int i = 0; i < pairs; ++i) {
        const std::string d(1, static_cast<char>('1' + i));
        w.record(" V0", d, "=", E(m.V0[i], 14, 7), " CM**3; GM0", d, "=", E(m.GM0[i], 14, 7), " GRAMM");
    }
    if (m.NZYL < 2)
        w.record(" Kurbelgehaeuse VCRANC=", F(m.VCRANC, 9, 1), " CM**3; V02=", E(m.V0[1], 14, 7),
                 " CM**3; GM02=", E(m.GM0[1], 14, 7), " GRAMM");
    w.record(" P0=", F(m.P0, 6, 2), " Bar;\"V01\"=", F(m.V0[0] / 1000.0, 8, 5), " Liter; P0V01=",
             F(m.P0V0[0], 9, 1), " Newton*m; --->> GAS=", runtime::A(m.GAS, 2), " ", runtime::A(m.DAM, 5));
    w.line(" ");
}

}  // namespace

void write_machine_summary(const RunState& r, runtime::Units& u) {
    if (u.level(2)) summary(r, u.u9);
    if (u.level(3)) summary(r, u.u6);
}

}  // namespace korvex::run
