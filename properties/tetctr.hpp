#pragma once
// Gas temperatures of a cylinder pair's three spaces after a step of mass exchange.
#include "runtime/units.hpp"

namespace korvex::properties {

// Energy balance at constant specific heat CV: the gas in a space keeps its current temperature
// (TE, TC, and the regenerator mean TR), the gas that comes in brings the temperature of the
// regenerator end it passes (E, C) or the regenerator's start temperature TRV (R). Returns the
// regenerator mean TR and the new temperatures TEE, TCC, TRR. NTEMP = 2 measures enthalpies
// from 273.15 K (only the trace shows the difference). LOGMEAN != 0 takes the logarithmic mean
// of the regenerator end temperatures for TR. A space whose remaining mass would be zero or
// negative, or that loses in the step more than a tenth of the gas that stays in it, keeps its
// current temperature.
void TETCTR(runtime::Units& u, double TE, double TC, double& TR, int NTEMP, double VERLUST,
            double MEV, double MCV, double MRV, double TIME, double DELT, double CV, double DME,
            double DMC, double DMR, double TEV, double TCV, double TRV, double& TEE, double& TCC,
            double& TRR, int LOGMEAN);

// Mean temperature of a regenerator between its hot end TH and cold end TK: logarithmic when
// asked for and defined (both ends positive and different), otherwise arithmetic.
double regenerator_mean(double TH, double TK, bool logarithmic);

}  // namespace korvex::properties
