#pragma once
// Saturated water vapour: the built-in steam table and its interpolation.
#include <array>
#include <cstddef>

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

// Value at X of the polynomial through the N points (XT[i], YT[i]) in Lagrange form, for M
// ordinates at once (the columns of a table's rows share the abscissae and so the weights):
// the weight of point i is the product over j != i of (X - XT[j]) / (XT[i] - XT[j]), and
// each ordinate is the sum of YT[i] times the weights. X on a node gives that node's values
// exactly. N <= 0 gives 0.
template <std::size_t M>
std::array<double, M> POLINT(double X, const double* XT, const std::array<double, M>* YT, int N) {
    std::array<double, M> s{};
    for (int i = 0; i < N; ++i) {
        double p = 1.0;
        for (int j = 0; j < N; ++j)
            if (j != i) p *= (X - XT[j]) / (XT[i] - XT[j]);
        for (std::size_t c = 0; c < M; ++c) s[c] += YT[i][c] * p;
    }
    return s;
}

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
