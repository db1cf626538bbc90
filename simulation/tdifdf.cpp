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

}  // namespace

double LAGRANGE(double x, const double* X, const double* Y, int n) {
    for (int i = 0; i < n; ++i)
        if (x == X[i]) return Y[i];
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        const double di = x - X[i];
        double L = 1.0;
        for (int j = 0; j < n; ++j) {
            const double Dij = (j == i) ? 1.0 : X[i] - X[j];
            L = L * (x - X[j]) / Dij;
            if (j == i) L = L / di;  // takes the node's own factor out again
        }
        sum += Y[i] * L;
    }
    return sum;
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

    int k = -1;  // first table angle above CANGLE (0-based)
    for (int i = 0; i < TABLE_ANGLES; ++i) {
        if (CANGLE == TANGLE[i]) {
            TE = TTE[i];
            TC = TTC[i];
            return;
        }
        if (CANGLE < TANGLE[i]) {
            k = i;
            break;
        }
    }
    if (k < 0) return;  // just above 360 (or not a number): nothing to interpolate

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
    TE = LAGRANGE(CANGLE, &TANGLE[s - 1], &TTE[s - 1], n);
    TC = LAGRANGE(CANGLE, &TANGLE[s - 1], &TTC[s - 1], n);
}

}  // namespace korvex::simulation
