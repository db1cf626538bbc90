#pragma once
// Saturated water vapour: the built-in steam table and its interpolation.
#include <array>

#include "properties/steam_state.hpp"
#include "runtime/units.hpp"

namespace korvex::properties {

// Columns of the steam table, in the order they are stored.
enum SteamColumn : int { COL_T = 0, COL_PS, COL_RHO, COL_HD, COL_R, COL_SW, COL_SD, COL_CPW, COL_CPD };

inline constexpr int STEAM_ROWS = 28;
inline constexpr int STEAM_COLS = 9;
// Largest number of rows one interpolation may use (the window must leave out a row at the top
// end of the table, see PDAMPF).
inline constexpr int POLINT_MAX = 27;

// Row r (0-based) of the table: T K, PS bar, RHO kg/m3, HD kJ/kg, R kJ/kg, SW, SD, CPW, CPD
// kJ/(kg K); the values are the single-precision values of the tabulated decimals.
const std::array<std::array<double, STEAM_COLS>, STEAM_ROWS>& steam_table();

// Value at X of the polynomial through the N points (XT[i], YT[i]) in Lagrange form. X on a
// node gives that node's value exactly. N <= 0 gives 0.
double POLINT(double X, const double* XT, const double* YT, int N);

// Properties of saturated water vapour. The state is fixed by the first input mode that applies:
//   1  T > 0                 -> PS, MASSE (from V)
//   2  MASSE > 0 and V > 0   -> PS, T
//   3  MASSE > 0 and PS > 0  -> T, V
//   4  PS > 0 and V > 0      -> T, MASSE
// and every mode returns R, CPD, CPW, SD, SW, HD. Values between rows come from a polynomial
// through IP neighbouring rows. Errors 885 to 889 set NFAIL, are listed on units 6 and 9 and
// count in st; once more than ten errors were counted the routine does nothing until
// reset_for_job.
void PDAMPF(SteamState& st, runtime::Units& u, int& NFAIL, double& PS, double& MASSE, double& T,
            double& V, double& R, double& CPD, double& CPW, double& SD, double& SW, double& HD,
            int IP);

}  // namespace korvex::properties
