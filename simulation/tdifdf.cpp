// Temperature tables over the crank angle: lookup and polynomial interpolation.
#include "simulation/tdifdf.hpp"

#include <algorithm>

namespace korvex::simulation {

using runtime::F;
using runtime::I;

namespace {

// Upper bound of the table, held in single precision: 360.001.
constexpr double ANGLE_LIMIT = 360.0010070800781;

constexpr const char* HEAD6 =
    " ===>> SUBROUTINE  TDIFDF : FEHLER BEI DER WINKELBESTIMMUNG FUER EINGELESENE";
constexpr const char* HEAD2 = " TEMPERATURDIFFERENZEN; BERECHNETER WINKEL FUER DAS";

// Index of the first table angle not below CANGLE (TABLE_ANGLES when there is none).
int first_not_below(const AngleTable& TANGLE, double CANGLE) {
    return static_cast<int>(std::lower_bound(TANGLE.begin(), TANGLE.end(), CANGLE) - TANGLE.begin());
}

// The interpolation over the n nodes X with the values Y1 and Y2. With N > 0 the count is
// known when compiled (N = n): the usual windows of two to five points take their loops laid
// out, the same operations in the same order.
template <int N>
void lagrange_over(double x, const double* X, const double* Y1, const double* Y2, int n,
                   double& V1, double& V2) {
    const int m = N > 0 ? N : n;
    for (int i = 0; i < m; ++i) {
        if (x == X[i]) {
            V1 = Y1[i];
            V2 = Y2[i];
            return;
        }
    }
    double sum1 = 0.0, sum2 = 0.0;
    for (int i = 0; i < m; ++i) {
        // The weight of node i: the product over the other nodes of (x - X[j]) / (X[i] - X[j]),
        // formed with the node's own factor x - X[i] multiplied in and divided out again.
        const double di = x - X[i];
        double L = 1.0;
        for (int j = 0; j < m; ++j) {
            if (j == i) {
                L = L * di / di;
            } else {
                L = L * (x - X[j]) / (X[i] - X[j]);
            }
        }
        sum1 += Y1[i] * L;
        sum2 += Y2[i] * L;
    }
    V1 = sum1;
    V2 = sum2;
}

}  // namespace

void LAGRANGE(double x, const double* X, const double* Y1, const double* Y2, int n, double& V1,
              double& V2) {
    switch (n) {
        case 2: return lagrange_over<2>(x, X, Y1, Y2, n, V1, V2);
        case 3: return lagrange_over<3>(x, X, Y1, Y2, n, V1, V2);
        case 4: return lagrange_over<4>(x, X, Y1, Y2, n, V1, V2);
        case 5: return lagrange_over<5>(x, X, Y1, Y2, n, V1, V2);
        default: return lagrange_over<0>(x, X, Y1, Y2, n, V1, V2);
    }
}

void TDIFDF(runtime::Units& u, double& TE, double& TC, const AngleTable& TTE,
            const AngleTable& TTC, const AngleTable& TANGLE, double CANGLE, int IP1, int pair) {
    if (CANGLE > ANGLE_LIMIT) {
        TE = TTE[36];
        TC = TTC[36];
        u.u6.line(HEAD6);
        u.u6.record(HEAD2, I(pair, 2), ". ZYLINDERPAAR IST:");
        u.u6.record(" CANGLE", I(pair, 1), "=", F(CANGLE, 7, 3),
                    " GRAD, UND LIEGT DAMIT OBERHALB DER TABELLE: TANGLE(37)=360.0");
        u.u6.record(" WEITER MIT TE(360)=", F(TE, 9, 5), ", TC(360)=", F(TC, 9, 5), " GRAD");
        u.u9.line(" ===>> SUBROUTINE \"TDIFDF\": FEHLER BEI DER WINKELBESTIMMUNG FUER EINGELESENE");
        u.u9.record(HEAD2, I(pair, 2), ". ZYLINDERPAAR IST:");
        u.u9.record(" KURBELWINKEL CANGLE_H", I(pair, 1), "-K,", I(pair, 1), " =", F(CANGLE, 9, 5),
                    " GRAD, UND LIEGT DAMIT OBERHALB DER TABELLE: TANGLE(37)=360.0");
        u.u9.record(" WEITER MIT TE(360)=", F(TE, 9, 5), ", TC(360)=", F(TC, 9, 5), " GRAD");
        return;
    }

    // The first table angle not below CANGLE: the angle itself, or the upper end of its
    // bracket. The table's angles are the tens of degrees, so the bracket is tried there
    // first; a table or an angle that does not fit it is searched.
    int i = 0;
    const double tens = CANGLE / 10.0;
    if (tens > 0.0 && tens < TABLE_ANGLES - 1) {
        i = static_cast<int>(tens);
        if (i < tens) ++i;
        if (!(TANGLE[i - 1] < CANGLE && CANGLE <= TANGLE[i])) i = first_not_below(TANGLE, CANGLE);
    } else {
        i = first_not_below(TANGLE, CANGLE);
    }
    if (i < TABLE_ANGLES && CANGLE == TANGLE[i]) {
        TE = TTE[i];
        TC = TTC[i];
        return;
    }
    // Just above 360 (or not a number): nothing to interpolate.
    if (i == TABLE_ANGLES || !(CANGLE < TANGLE[i])) return;
    const int k = i;  // first table angle above CANGLE (0-based)

    if (k == 0) {
        TE = TTE[0];
        TC = TTC[0];
        u.u6.line(HEAD6);
        u.u6.record(HEAD2, I(pair, 2), ". ZYLINDERPAAR IST:");
        u.u6.record(" CANGLE", I(pair, 1), "=", F(CANGLE, 7, 3),
                    " GRAD, UND LIEGT DAMIT UNTERHALB DER TABELLE: TANGLE(1)=0.0)");
        u.u6.record(" WEITER MIT TE(1)=", F(TE, 9, 5), ", TC(1)=", F(TC, 9, 5), " GRAD");
        u.u9.line("====>> SUBROUTINE \"TDIFDF\": FEHLER BEI DER WINKELBESTIMMUNG FUER EINGELESENE");
        u.u9.record(HEAD2, I(pair, 2), ". ZYLINDERPAAR IST:");
        u.u9.record(" KURBELWINKEL CANGLE_H", I(pair, 1), "-K,", I(pair, 1), " =", F(CANGLE, 9, 5),
                    " GRAD, UND LIEGT DAMIT UNTERHALB DER TABELLE: \"TANGLE(1)=0.)\"");
        u.u9.record(" WEITER MIT TE(1)=", F(TE, 9, 5), ", TC(1)=", F(TC, 9, 5), " GRAD");
        return;
    }

    // Window of n points around the bracket; at the top it ends with the 360-degree point, and
    // it stays inside the table whatever n the deck asked for.
    const int n = std::clamp(IP1, 1, TABLE_ANGLES);
    const int k1 = k + 1;  // 1-based
    int s = k1 - n / 2;
    if (k1 == TABLE_ANGLES) s = TABLE_ANGLES + 1 - n;
    if (k1 <= 2) s = 1;
    s = std::clamp(s, 1, TABLE_ANGLES + 1 - n);
    LAGRANGE(CANGLE, &TANGLE[s - 1], &TTE[s - 1], &TTC[s - 1], n, TE, TC);
}

}  // namespace korvex::simulation
