#pragma once
// Space temperatures over the crank angle from the deck's temperature tables.
#include <array>

#include "runtime/units.hpp"
#include "state/comp_inputs.hpp"

namespace korvex::simulation {

// Values at x of the polynomials through the n points (X[i], Y1[i]) and (X[i], Y2[i]): V1 and
// V2, with the weights of the nodes formed once for both tables. For an x on a node the node's
// values are returned (the product form would divide zero by zero there). n <= 0 gives 0.
void LAGRANGE(double x, const double* X, const double* Y1, const double* Y2, int n, double& V1,
              double& V2);

// TE and TC of cylinder pair `pair` at crank angle CANGLE (degrees), interpolated with IP1 table
// points in the tables TTE, TTC over the ascending angles TANGLE. An angle above 360.001 or below 0 is
// reported on units 6 and 9 and answered with the table's end values; an angle in
// (360, 360.001] leaves TE and TC as they are.
void TDIFDF(runtime::Units& u, double& TE, double& TC, const AngleTable& TTE,
            const AngleTable& TTC, const AngleTable& TANGLE, double CANGLE, int IP1, int pair);

}  // namespace korvex::simulation
