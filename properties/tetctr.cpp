// Space temperatures after mass exchange: mass-weighted means through the enthalpies.
#include "properties/tetctr.hpp"

#include <cmath>

namespace korvex::properties {

namespace {

// The largest share of the gas that stays in a space which one step may take out of it with
// the space's temperature still following the mixing formula. Machines with a dead space of
// 0.5 % of the stroke or more never come near it; spaces without dead space that empty pass it.
constexpr double OUTFLOW_SHARE = 0.1;

}  // namespace

double regenerator_mean(double TH, double TK, bool logarithmic) {
    // Equal ends make the logarithmic mean 0/0; non-positive ends have no logarithm.
    if (logarithmic && TH != TK && TH > 0.0 && TK > 0.0) return (TH - TK) / std::log(TH / TK);
    return (TH + TK) * 0.5;
}

void TETCTR(runtime::Units& u, double TE, double TC, double& TR, int NTEMP, double VERLUST,
            double MEV, double MCV, double MRV, double TIME, double DELT, double CV, double DME,
            double DMC, double DMR, double TEV, double TCV, double TRV, double& TEE, double& TCC,
            double& TRR, int LOGMEAN) {
    const double T0FF = (NTEMP == 2) ? 273.1499938964844 : 0.0;

    const double ENTHEV = CV * MEV * (TEV - T0FF);
    const double ENTHCV = CV * MCV * (TCV - T0FF);
    const double ENTHRV = CV * MRV * (TRV - T0FF);

    const double D = (TE - TC) * VERLUST / 200.0;
    const double TREGE = TE - D;
    const double TREGC = TC + D;
    TR = regenerator_mean(TREGE, TREGC, LOGMEAN != 0);

    double tee = TE, tcc = TC, trr = TR;
    // Rates over the step; without a step there is no exchange and the spaces keep TE, TC, TR.
    const bool step = DELT != 0.0;
    const double DTEE = step ? (tee - TEV) / DELT : 0.0;
    const double DTCC = step ? (tcc - TCV) / DELT : 0.0;
    const double DTRR = step ? (trr - TRV) / DELT : 0.0;

    // Gas that leaves a space is counted at the regenerator end it goes to, not at the space's
    // own temperature, so the mean extrapolates. While a step takes a small share of the gas
    // that stays, that is the model's way; when it takes more (a space that nearly empties,
    // without dead space) the extrapolation has no meaning, and the space keeps its current
    // temperature, as does a space left with no gas at all.
    auto mixed = [&](double enth_v, double denth, double m_v, double dm, double keep) {
        const double m = dm * DELT + m_v;
        if (!step || !(m > 0.0) || CV == 0.0) return keep;
        if (-dm * DELT > OUTFLOW_SHARE * m) return keep;
        return (enth_v + denth) / (m * CV) + T0FF;
    };

    const double DENTHE = ((TREGE - T0FF) * DME + MEV * DTEE) * CV * DELT;
    tee = mixed(ENTHEV, DENTHE, MEV, DME, TE);

    const double DENTHC = ((TREGC - T0FF) * DMC + MCV * DTCC) * CV * DELT;
    tcc = mixed(ENTHCV, DENTHC, MCV, DMC, TC);

    double DENTHR = 0.0;
    if (DMR != 0.0) {
        DENTHR = ((TRV - T0FF) * DMR + MRV * DTRR) * CV * DELT;
        trr = mixed(ENTHRV, DENTHR, MRV, DMR, TR);
    }

    if (u.level(6) && 3.0 * DELT > TIME) {
        auto& u9 = u.u9;
        u9.free("=========>> Subroutine TETCTR");
        u9.free("TIME=", TIME, "DME=", DME, "DMC=", DMC, "DMR=", DMR);
        u9.free("TEE=", tee, "TREGE=", TREGE, "DTEE=", DTEE, "MEV=", MEV);
        u9.free("ENTHEV=", ENTHEV, "DENTHE=", DENTHE);
        u9.free("TCC=", tcc, "TREGC=", TREGC, "DTCC=", DTCC, "MCV=", MCV);
        u9.free("ENTHCV=", ENTHCV, "DENTHC=", DENTHC);
        u9.free("TRR=", trr, "DTRR=", DTRR, "MRV=", MRV, "D_M=", DME + DMC + DMR);
        u9.free("ENTHRV=", ENTHRV, "DENTHR=", DENTHR);
    }

    TEE = tee;
    TCC = tcc;
    TRR = trr;
}

}  // namespace korvex::properties
