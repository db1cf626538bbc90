#include "diagrams/frames.hpp"

#include <algorithm>
#include <cmath>

#include "device/plot.hpp"
#include "diagrams/plotlib.hpp"
#include "properties/pdampf.hpp"
#include "state/constants.hpp"
#include "runtime/format.hpp"
#include "runtime/numeric.hpp"

namespace korvex::diagrams {

using runtime::quot;

namespace {

// Gas constant of the frames, W*s/(mol*K).
constexpr double R_GAS = 8.315;
// Steps of each isochoric branch of a frame.
constexpr int NSTEP = 75;
// Volume steps of an isotherm.
constexpr int NISO = 500;

// Entropy of the saturated vapour filling V (cm**3) at T: its mass times its specific entropy.
// False when the property routine failed.
bool vapour_entropy(device::Plotter& p, properties::SteamState& steam, double T, double V,
                    double& S) {
    double PS = 0.0, MASSE = 0.0, TT = T, VV = V, R = 0.0, CPD = 0.0, CPW = 0.0, SD = 0.0,
           SW = 0.0, HD = 0.0;
    const int before = p.NFAIL;
    properties::PDAMPF(steam, p.units, p.NFAIL, PS, MASSE, TT, VV, R, CPD, CPW, SD, SW, HD, 3);
    S = MASSE * SD;
    return !(p.NFAIL > 880 && p.NFAIL != before) && std::isfinite(S);
}

}  // namespace

// ---- QINT ----------------------------------------------------------------------------------

QintResult QINT(runtime::Units& u, std::span<const float> X, std::span<const float> Y, int N,
                std::string_view TEXT, std::string_view NUM) {
    QintResult r;
    const long long lim = static_cast<long long>(std::min(X.size(), Y.size()));
    const int n = static_cast<int>(std::min<long long>(N < 0 ? 0 : N, lim));
    if (n < 2) return r;
    const bool pmode = !TEXT.empty() && TEXT[0] == 'P';
    const double f = pmode ? 0.1 : 1.0;
    const char* up = pmode ? "DV POSITV  BIS I= " : "DS POSITV  BIS I= ";
    const char* down = pmode ? "DV NEGATIV BIS I= " : "DS NEGATIV BIS I= ";
    const bool trace = u.level(5);

    auto add = [&r](double dq) {
        if (!std::isfinite(dq)) return;
        if (dq > 0.0) r.QZU += dq;
        else r.QAB += dq;
    };
    // The closing segment from the last point back to the first.
    const double x1 = X[0], xn = X[static_cast<std::size_t>(n - 1)];
    const double y1 = Y[0], yn = Y[static_cast<std::size_t>(n - 1)];
    add(pmode ? (x1 - xn) * (y1 + yn) * 0.5 * f : (x1 - xn) * y1 * f);
    int sign = (x1 > xn) ? 1 : (x1 < xn ? -1 : 0);
    for (int i = 1; i < n; ++i) {
        const double dx = static_cast<double>(X[static_cast<std::size_t>(i)]) - X[static_cast<std::size_t>(i - 1)];
        add(dx * Y[static_cast<std::size_t>(i)] * f);
        const int s = dx > 0.0 ? 1 : (dx < 0.0 ? -1 : 0);
        if (s != 0 && s != sign) {
            if (trace && sign != 0)
                u.u9.free(sign > 0 ? up : down, i, " QAB=", r.QAB, " QZU=", r.QZU, " ", NUM);
            sign = s;
        }
    }
    if (trace && sign != 0) u.u9.free(sign > 0 ? up : down, n, " QAB=", r.QAB, " QZU=", r.QZU, " ", NUM);
    r.QNUTZ = r.QZU + r.QAB;
    if (r.QZU > 0.0) r.RATIO = 100.0 * r.QNUTZ / r.QZU;
    return r;
}

// ---- FRAME ---------------------------------------------------------------------------------

namespace {

// A frame needs the volume extremes of a completed revolution, and temperatures that leave a
// logarithm to take and a cycle to draw (the high one above the low one); without them the
// listings say why there is none.
bool frame_possible(runtime::Units& u, const FrameInput& in) {
    if (!(in.VXMAX > 0.0) || !(in.VOLVX > 0.0) || !std::isfinite(in.VXMAX) || !std::isfinite(in.VOLVX)) {
        for (runtime::Unit* un : {&u.u6, &u.u9}) {
            un->line(" ======>> ERROR IN FRAME, VMAX/VMIN NOCH NICHT BESTIMMT, WEIL TIME ZU GERING, "
                     "KONNTE 1 UMDREHUNG NICHT BERECHNET WERDEN");
            un->free(" ======>> ERROR IN FRAME, VMAX=", in.VXMAX, " VMAX/VMIN=", in.VOLVX);
        }
        return false;
    }
    const double TK = in.TCMIN, TH = in.TEMAX;
    if (!(TK > 0.0) || !(TH > TK) || !std::isfinite(TK) || !std::isfinite(TH)) {
        for (runtime::Unit* un : {&u.u6, &u.u9})
            un->free(" ======>> ERROR IN FRAME, TK=", TK, " TH=", TH, " KEIN RAHMEN");
        return false;
    }
    return true;
}

// Entropy of the state (T, V) on the entropy scale of the measured cycle: the gas part is
// carried from the state (T1, VGTS) where it is S1, the vapour part from (T3, VGTS) at S3.
// ok turns false for good once the property routine fails.
struct FrameEntropy {
    FrameEntropy(device::Plotter& plotter, properties::SteamState& st, const FrameInput& input, int ITYP)
        : p(plotter), steam(st), in(input), gas(ITYP != 3), vap(ITYP != 1) {
        if (vap && in.T3 > 0.0 && in.VGTS > 0.0) ok = vapour_entropy(p, steam, in.T3, in.VGTS, SV0);
    }
    double operator()(double T, double V) {
        double S = 0.0;
        if (gas) {
            S += in.S1;
            if (in.T1 > 0.0) S += in.XCVMOL * std::log(T / in.T1);
            if (in.VGTS > 0.0) S += in.XM0 * std::log(V / in.VGTS);
        }
        if (vap && ok) {
            double SV = 0.0;
            ok = vapour_entropy(p, steam, T, V, SV);
            S += in.S3 + SV - SV0;
        }
        return S;
    }
    device::Plotter& p;
    properties::SteamState& steam;
    const FrameInput& in;
    bool gas, vap;
    double SV0 = 0.0;
    bool ok = true;
};

using FrameTrace = std::array<double, NFRAME>;

// The points I (TK, VMIN) -> II (TH, VMIN) -> III (TH, VMAX) -> IV (TK, VMAX) -> I in steps of
// DELTA_T along the isochores, and the heat of each branch.
void trace_frame(FrameEntropy& entropy, double TK, double TH, double VMIN, double VMAX, FrameTrace& T,
                 FrameTrace& S, FrameResult& r) {
    const double DT = r.DELTA_T;
    T[0] = TK;
    S[0] = entropy(TK, VMIN);
    for (int i = 1; i <= NSTEP; ++i) {
        T[i] = (i == NSTEP) ? TH : std::min(T[i - 1] + DT, TH);
        S[i] = entropy(T[i], VMIN);
        r.Q12 += T[i] * (S[i] - S[i - 1]);
    }
    T[NSTEP + 1] = TH;
    S[NSTEP + 1] = entropy(TH, VMAX);
    r.Q23 = TH * (S[NSTEP + 1] - S[NSTEP]);
    for (int i = NSTEP + 2; i <= 2 * NSTEP + 1; ++i) {
        T[i] = (i == 2 * NSTEP + 1) ? TK : std::max(T[i - 1] - DT, TK);
        S[i] = entropy(T[i], VMAX);
        r.Q34 += T[i] * (S[i] - S[i - 1]);
    }
    T[NFRAME - 1] = TK;
    S[NFRAME - 1] = S[0];
    r.Q41 = TK * (S[NFRAME - 1] - S[NFRAME - 2]);
}

// The heat balance of the frame, its work and efficiencies (detail level 3).
void list_frame_balance(runtime::Units& u, int ITYP, const FrameResult& r, double T76, double T152,
                        double TH, double TK) {
    const char* head = ITYP == 1 ? " GAS-FRAME:" : (ITYP == 3 ? " DAMPF-FRAME:" : " GAS+DAMPF-FRAME:");
    u.u9.free(head, " Q_ISOCHOR(I --> II)  =", r.Q12, "WATT*SEC, T(76)=", T76,
              " SOLLTE GLEICH SEIN MIT: TH=", TH);
    u.u6.free(head, " Q_ISOCHOR(I --> II)  =", r.Q12, "WATT*SEC, T(76)=", T76);
    u.u9.free(" QZU:       Q_ISOTHERM (II-->III)=", r.Q23, "WATT*SEC");
    u.u6.free(" QZU:       Q_ISOTHERM (II-->III)=", r.Q23, "WATT*SEC");
    u.u9.free("            Q_ZU(I->II + II->III)=", r.QZU, "WATT*SEC; Schrittweite: DELTA_T=", r.DELTA_T);
    u.u6.free("            Q_ZU(I->II + II->III)=", r.QZU, "WATT*SEC");
    u.u9.free(" QAB:       Q_ISOCHOR(III --> IV)=", r.Q34, "WATT*SEC, T(152)=", T152,
              " SOLLTE GLEICH SEIN MIT: TK=", TK);
    u.u6.free(" QAB:       Q_ISOCHOR(III --> IV)=", r.Q34, "WATT*SEC, T(152)=", T152);
    for (runtime::Unit* un : {&u.u6, &u.u9}) {
        un->free("            Q_ISOTHERM(IV ---> I)=", r.Q41, "WATT*SEC");
        un->free("            Q_AB(III->IV + IV->I)=", r.QAB, "WATT*SEC");
    }
    if (ITYP == 3) {
        for (runtime::Unit* un : {&u.u6, &u.u9})
            un->free("            Q_NUTZ=", r.QNUTZ, " WATT*SEC;  ETA=", r.ETA,
                     " % KEIN REGENERATOR WAERMEAUSTAUSCH");
        u.u9.line(" NUTZARBEIT DES IDEALEN \"NUR DAMPF\" PROZESSES ALS FLAECHE DES RAHMENS DES "
                  "T3 - S3 DIAGRAMMS; INTEGRIERT MIT SUBROUTINE \"QINT\" ");
        return;
    }
    for (runtime::Unit* un : {&u.u6, &u.u9})
        un->free("            Q_NUTZ=", r.QNUTZ, " WATT*SEC;  ETA=", r.ETA, " % OHNE-, ETA.C=",
                 r.ETAC, " % MIT IDEALEM REGENERATOR WAERMEAUSTAUSCH");
    if (ITYP == 1)
        u.u9.line(" NUTZARBEIT DES IDEALEN GAS-PROZESSES ALS FLAECHE DES RAHMENS DES T1 - S1 "
                  "DIAGRAMMS; INTEGRIERT MIT SUBROUTINE \"QINT\" ");
    else
        u.u9.line(" NUTZARBEIT DES IDEALEN \"GAS + DAMPF\" PROZESSES ALS FLAECHE DES RAHMENS DES "
                  "T2 - S2 DIAGRAMMS; INTEGRIERT MIT SUBROUTINE \"QINT\" ");
}

// The area of the frame (level 2) and the scales it is drawn on (level 5).
void list_frame_integral(runtime::Units& u, int ITYP, const FrameInput& in, double integral) {
    if (u.level(2)) {
        for (runtime::Unit* un : {&u.u6, &u.u9}) {
            if (ITYP == 1)
                un->free("\"QINT\":====> INTEGRAL DES \"T1 - S1\" RAHMENS: ", integral, " WATT*SEC");
            else if (ITYP == 3)
                un->free("\"QINT\": ====>> INTEGRAL T3 - S3 RAHMEN: ", integral);
            else
                un->free("\"QINT\": ====>> INTEGRAL T2 - S2 RAHMEN: ", integral);
        }
    }
    if (u.level(5)) {
        u.u9.free(" SCALE: S_FIRST(154)=", in.FFS1, " S_DELTA(155)=", in.DDS1);
        u.u9.free(" SCALE: T_FIRST(154)=", in.FT, " T_DELTA(155)=", in.DT);
    }
}

}  // namespace

void FRAME(device::Plotter& p, properties::SteamState& steam, const FrameInput& in,
           FramePoints& pts, FrameResult& r) {
    r = FrameResult{};
    runtime::Units& u = p.units;
    const int ITYP = (in.ITYP == 2 || in.ITYP == 3) ? in.ITYP : 1;
    if (!frame_possible(u, in)) return;
    const double TK = in.TCMIN, TH = in.TEMAX;
    const double VMAX = in.VXMAX;
    const double VMIN = in.VXMAX / in.VOLVX;
    r.DELTA_T = (TH - TK) / NSTEP;

    FrameEntropy entropy(p, steam, in, ITYP);
    FrameTrace T{}, S{};
    trace_frame(entropy, TK, TH, VMIN, VMAX, T, S, r);
    if (!entropy.ok) return;  // the property routine failed: its messages say why

    r.QZU = r.Q12 + r.Q23;
    r.QAB = r.Q34 + r.Q41;
    r.QNUTZ = r.QZU + r.QAB;
    r.ETA = 100.0 * quot(r.QNUTZ, r.QZU);
    r.ETAC = ITYP == 3 ? 0.0 : 100.0 * quot(r.Q23 + r.Q41, r.Q23);
    for (int i = 0; i < NFRAME; ++i) {
        pts.T[static_cast<std::size_t>(i)] = static_cast<float>(T[static_cast<std::size_t>(i)]);
        pts.S[static_cast<std::size_t>(i)] = static_cast<float>(S[static_cast<std::size_t>(i)]);
    }
    pts.S[NFRAME] = in.FFS1;
    pts.S[NFRAME + 1] = in.DDS1;
    pts.T[NFRAME] = in.FT;
    pts.T[NFRAME + 1] = in.DT;
    r.built = true;
    if (u.level(3)) list_frame_balance(u, ITYP, r, T[NSTEP], T[2 * NSTEP + 1], TH, TK);

    const QintResult q = QINT(u, pts.S, pts.T, NFRAME, "T", ITYP == 1 ? "T1-S1" : (ITYP == 3 ? "T3-S3" : "T2-S2"));
    r.integral = q.QNUTZ;
    list_frame_integral(u, ITYP, in, r.integral);

    // The ideal frame is drawn dashed in black over the measured cycle, within the axes.
    device::SETPEN(p, 2, 1, 7);
    if (in.XL > 0.0f && in.YL > 0.0f) clipped_curve(p, pts.S, pts.T, NFRAME, 1, in.XL, in.YL);
    else KURVE(p, pts.S, pts.T, NFRAME, 1, 0, 0);
}

void write_utilisation(runtime::Units& u, int ITYP, double measured, double frame) {
    if (!u.level(2)) return;
    const char* text = ITYP == 3   ? " AUSNUTZUNGSGRAD ZUM RAHMEN DES IDEALEN DAMPF PROZESSES:"
                       : ITYP == 2 ? " AUSNUTZUNGSGRAD ZUM RAHMEN DES IDEALEN GAS + DAMPF PROZESSES:"
                                   : " AUSNUTZUNGSGRAD ZUM RAHMEN DES IDEALEN GAS PROZESSES:";
    const double pct = 100.0 * quot(measured, frame);
    for (runtime::Unit* un : {&u.u6, &u.u9})
        un->free(text, measured, " /", frame, " =", pct, " %");
}

// ---- ISOTHE --------------------------------------------------------------------------------

namespace {

// The number of points both series hold, at most N (none for a negative N).
int points_held(std::span<const float> XA, std::span<const float> YA, int N) {
    const long long held = static_cast<long long>(std::min(XA.size(), YA.size()));
    return static_cast<int>(std::min<long long>(N < 0 ? 0 : N, held));
}

// Index of the point on the plot area that beats every other point there (better(a, b): point
// a beats point b; of equal points the first); -1 when no point lies on the plot area.
template <class Better>
int best_inside(std::span<const float> XA, std::span<const float> YA, int n, float XL, float YL,
                Better better) {
    int best = -1;
    for (int i = 0; i < n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!on_axes(XA[k], YA[k], XL, YL)) continue;
        if (best < 0 || better(k, static_cast<std::size_t>(best))) best = i;
    }
    return best;
}

}  // namespace

int DIAMAX(runtime::Units& u, std::span<const float> XA, std::span<const float> YA, int N,
           float XL, float YL) {
    const int n = points_held(XA, YA, N);
    const int best =
        best_inside(XA, YA, n, XL, YL, [&](std::size_t a, std::size_t b) { return YA[a] > YA[b]; });
    if (best < 0) {
        u.u6.free("\"DIAMAX\": FEHLER BEI PI(", n, ")");
        u.u9.free("\"DIAMAX\": FEHLER BEI PI(", n, ")");
    }
    return best;
}

int DIAMIN(runtime::Units& u, std::span<const float> XA, std::span<const float> YA, int N,
           float XL, float YL) {
    const int n = points_held(XA, YA, N);
    const int best =
        best_inside(XA, YA, n, XL, YL, [&](std::size_t a, std::size_t b) { return XA[a] < XA[b]; });
    if (best < 0) {
        u.u6.free("\"DIAMIN\": FEHLER BEI V(", n, ")");
        u.u9.free("\"DIAMIN\": FEHLER BEI V(", n, ")");
    }
    return best;
}

namespace {

// An isotherm needs a volume range, a gas amount and two positive temperatures, the upper above
// the lower; without them the listings say why there is none.
bool isotherms_possible(runtime::Units& u, double XM, double TL, double DTI, double VMIN, double VMAX) {
    if (!(VMAX > VMIN) || !(VMIN > 0.0) || !std::isfinite(VMAX) || !(XM > 0.0) || !std::isfinite(XM)) {
        for (runtime::Unit* un : {&u.u6, &u.u9}) {
            un->line(" ### FEHLER BEI DER BERECHNUNG DER ISOTHERMEN ");
            un->free("### ISOTHE: VMIN=", VMIN, " VMAX=", VMAX, " M=", XM);
        }
        return false;
    }
    if (!(TL > 0.0) || !(DTI > 0.0) || !std::isfinite(TL) || !std::isfinite(DTI)) {
        for (runtime::Unit* un : {&u.u6, &u.u9}) {
            un->line(" ### FEHLER BEI DER BERECHNUNG DER ISOTHERMEN ");
            un->free("### ISOTHE: T=", TL, " DELTA_T=", DTI);
        }
        return false;
    }
    return true;
}

// One isotherm: its work (trapezoids, W*s), the pressures at both ends for the isochores, and
// the points inside the diagram (series with their scale cells) with their axis coordinates.
struct Isotherm {
    std::array<float, NISO + 3> VS{}, PS{}, XA{}, YA{};
    int n = 0;
    double work = 0.0, p_first = 0.0, p_last = 0.0;
};

// The isotherm at T for XM mol from v0 in NISO steps of DVOL (litres).
void trace_isotherm(runtime::Units& u, double XM, double T, double v0, double DVOL, const IsothermAxes& ax,
                    bool axes_ok, Isotherm& iso) {
    const double RM = run::RM;
    double pprev = 0.0;
    bool prev = false;
    for (int j = 0; j <= NISO; ++j) {
        const double V = v0 + j * DVOL;
        if (V == 0.0) {
            for (runtime::Unit* un : {&u.u6, &u.u9}) {
                un->line(" ### FEHLER BEI DER BERECHNUNG DER ISOTHERMEN ");
                un->free("### ISOTHE: V(", j, ")=", V, " T=", T);
            }
            prev = false;
            continue;
        }
        const double P = XM * RM * T / V;
        if (prev) iso.work += (pprev + P) * DVOL / 2.0;
        pprev = P;
        prev = true;
        if (j == 0) iso.p_first = P;
        if (j == NISO) iso.p_last = P;
        if (!axes_ok) continue;
        const float xa = static_cast<float>((V * 1000.0 - ax.FX) / ax.DX);
        const float ya = static_cast<float>((P - ax.FY) / ax.DY);
        if (!on_axes(xa, ya, ax.XL, ax.YL)) continue;
        const auto n = static_cast<std::size_t>(iso.n);
        iso.VS[n] = static_cast<float>(V * 1000.0);
        iso.PS[n] = static_cast<float>(P);
        iso.XA[n] = xa;
        iso.YA[n] = ya;
        ++iso.n;
    }
    iso.work *= 100.0;  // bar * litre -> W*s
}

// Whether a label box (axis cm: x0, y0, x1, y1) stays clear of the lettering the axes hold.
bool clear_of(const std::array<float, 4>& b, const IsothermAxes& ax) {
    for (int i = 0; i < ax.nbusy; ++i) {
        const auto& o = ax.busy[static_cast<std::size_t>(i)];
        if (b[0] < o[2] && o[0] < b[2] && b[1] < o[3] && o[1] < b[3]) return false;
    }
    return true;
}

// The isotherm dashed (the lower one in colour 4, the upper in 2) and its temperature at its
// high-pressure end, kept inside the axes.
void draw_isotherm(device::Plotter& p, IsothermAxes& ax, Isotherm& iso, bool upper, double T, IsothermResult& r) {
    runtime::Units& u = p.units;
    const int n = iso.n;
    device::SETPEN(p, 2, 1, upper ? 2 : 4);
    if (n >= 2) {
        iso.VS[static_cast<std::size_t>(n)] = ax.FX;
        iso.VS[static_cast<std::size_t>(n + 1)] = ax.DX;
        iso.PS[static_cast<std::size_t>(n)] = ax.FY;
        iso.PS[static_cast<std::size_t>(n + 1)] = ax.DY;
        KURVE(p, iso.VS, iso.PS, n, 1, 0, 0);
    }
    const int k = upper ? DIAMAX(u, iso.XA, iso.YA, n, ax.XL, ax.YL) : DIAMIN(u, iso.XA, iso.YA, n, ax.XL, ax.YL);
    if (k < 0) return;
    const float h = ax.HOE > 0.0f ? ax.HOE : 0.25f;
    const std::string text = number_text(static_cast<float>(T), -1);
    const float w = static_cast<float>(text.size()) * h;
    // Beside the isotherm's end, or, where other lettering stands there, at its first point
    // further along that is clear of it (by a third of a character); without one, no label.
    std::array<float, 4> box{};
    bool clear = false;
    for (int i = k; i < n && !clear; ++i) {
        float x = iso.XA[static_cast<std::size_t>(i)] + 0.3f * h;
        float y = iso.YA[static_cast<std::size_t>(i)] + (upper ? 0.3f * h : -1.3f * h);
        x = std::max(0.0f, std::min(x, ax.XL - w));
        y = std::max(0.0f, std::min(y, ax.YL - h));
        box = {x, y, x + w, y + h};
        clear = clear_of({x - 0.3f * h, y - 0.3f * h, x + w + 0.3f * h, y + 1.3f * h}, ax);
    }
    if (!clear) return;
    NUMBER(p, box[0], box[1], h, static_cast<float>(T), 0.0f, -1);
    if (ax.nbusy < static_cast<int>(ax.busy.size())) ax.busy[static_cast<std::size_t>(ax.nbusy++)] = box;
    r.label[static_cast<std::size_t>(r.nlabel++)] = box;
}

// Isochores at VMIN and VMAX between the two isotherms, above the abscissa.
void draw_isochores(device::Plotter& p, const IsothermAxes& ax, double VMIN, double VMAX, const Isotherm& lower,
                    const Isotherm& upper) {
    device::SETPEN(p, 2, 1, 7);
    const double vols[2] = {VMIN, VMAX};
    for (int e = 0; e < 2; ++e) {
        const float xa = static_cast<float>((vols[e] - ax.FX) / ax.DX);
        if (!(xa >= 0.0f && xa <= ax.XL)) continue;
        const double plo = e == 0 ? lower.p_first : lower.p_last, phi = e == 0 ? upper.p_first : upper.p_last;
        float y0 = static_cast<float>((std::min(plo, phi) - ax.FY) / ax.DY);
        float y1 = static_cast<float>((std::max(plo, phi) - ax.FY) / ax.DY);
        if (ax.DY < 0.0f) std::swap(y0, y1);
        y0 = std::clamp(y0, 0.0f, ax.YL);
        y1 = std::clamp(y1, 0.0f, ax.YL);
        if (!(y1 > y0)) continue;
        device::PLOT(p, xa, y0, 3);
        device::PLOT(p, xa, y1, 2);
    }
    device::SETPEN(p, 1, 1, 0);
}

// The ideal works, integrated and in closed form, with their listing lines.
void isotherm_balance(runtime::Units& u, double XM, double TL, double DTI, double VMIN, double VMAX,
                      double AEXP, double ACOMP, IsothermResult& r) {
    const double RM = run::RM;
    r.built = true;
    r.AEXP = AEXP;
    r.ACOMP = ACOMP;
    r.ANUTZ = r.AEXP - r.ACOMP;
    r.ETA = 100.0 * quot(r.ANUTZ, r.AEXP);
    const double ln = std::log(VMAX / VMIN);
    r.AEXP_C = XM * RM * (TL + DTI) * ln * 100.0;
    r.ACOMP_C = XM * RM * TL * ln * 100.0;
    r.ANUTZ_C = XM * RM * DTI * ln * 100.0;
    if (u.level(3)) {
        u.u9.free("IDEALE EXPANSIONSARBEIT=", r.AEXP, "; KOMPRESSIONSARBEIT=", r.ACOMP, " NUTZARBEIT=",
                  r.ANUTZ, " WATT * SEC; ETA=", r.ETA, " %");
        u.u9.free("IDEALE EXPANSIONSARBEIT=", r.AEXP_C, "; KOMPRESSIONSARBEIT=", r.ACOMP_C,
                  " NUTZARBEIT=", r.ANUTZ_C, " WATT * SEC; ETA=", 100.0 * quot(r.ANUTZ_C, r.AEXP_C), " %");
    }
    if (u.level(2))
        u.u6.free(" IDEALE ISOTHERME NUTZARBEIT:", r.ANUTZ_C, " WATT*SEC = M * R * D_T * LN(VMAX/VMIN)");
}

}  // namespace

void ISOTHE(device::Plotter& p, double XM, double TL, double DTI, double VMIN, double VMAX,
            const IsothermAxes& ax, IsothermResult& r) {
    r = IsothermResult{};
    runtime::Units& u = p.units;
    const bool axes_ok = ax.DX != 0.0f && ax.DY != 0.0f && std::isfinite(ax.DX) && std::isfinite(ax.DY);
    if (!isotherms_possible(u, XM, TL, DTI, VMIN, VMAX)) return;
    const double v0 = VMIN / 1000.0, DVOL = (VMAX - VMIN) / 1000.0 / NISO;
    std::array<Isotherm, 2> iso{};
    IsothermAxes lettered = ax;  // the labels keep clear of each other too
    for (int k = 0; k < 2; ++k) {
        const double T = TL + k * DTI;
        trace_isotherm(u, XM, T, v0, DVOL, ax, axes_ok, iso[static_cast<std::size_t>(k)]);
        if (axes_ok) draw_isotherm(p, lettered, iso[static_cast<std::size_t>(k)], k == 1, T, r);
    }
    if (axes_ok) draw_isochores(p, ax, VMIN, VMAX, iso[0], iso[1]);
    isotherm_balance(u, XM, TL, DTI, VMIN, VMAX, iso[1].work, iso[0].work, r);
}

// ---- MARKEN --------------------------------------------------------------------------------

void MARKEN(device::Plotter& p, std::span<const float> X, std::span<const float> Y, int N,
            const std::array<int, 7>& IANGLE, const std::array<double, 7>& ANGLE, float HSYM,
            float XL, float YL, float YKEY, bool KEY) {
    if (N <= 0 || static_cast<std::size_t>(N) + 1 >= X.size() || static_cast<std::size_t>(N) + 1 >= Y.size())
        return;
    const float FX = X[static_cast<std::size_t>(N)], DX = X[static_cast<std::size_t>(N) + 1];
    const float FY = Y[static_cast<std::size_t>(N)], DY = Y[static_cast<std::size_t>(N) + 1];
    if (DX == 0.0f || DY == 0.0f || !std::isfinite(DX) || !std::isfinite(DY)) return;
    const int style = p.dev.style_in_force, width = p.dev.width_in_force;
    device::SETPEN(p, 1, 1, 0);
    for (int k = 0; k < 7; ++k) {
        const int idx = IANGLE[static_cast<std::size_t>(k)];
        if (idx < 1 || idx > N) continue;
        const float xa = (X[static_cast<std::size_t>(idx - 1)] - FX) / DX;
        const float ya = (Y[static_cast<std::size_t>(idx - 1)] - FY) / DY;
        if (!on_axes(xa, ya, XL, YL)) continue;
        SYMBLI(p, xa, ya, HSYM, k + 1, 0.0f, -1);
    }
    if (KEY) {
        for (int k = 0; k < 7; ++k) {
            const float y = YKEY - 2.5f * HSYM * static_cast<float>(k + 1);
            SYMBLI(p, 1.5f * HSYM, y, HSYM, k + 1, 0.0f, -1);
            const std::string a = runtime::F(ANGLE[static_cast<std::size_t>(k)], 5, 1);
            SYMBOL(p, 2.5f * HSYM, y - 0.5f * HSYM, HSYM, a, 0.0f, 5);
        }
        const auto& I = IANGLE;
        const auto& A = ANGLE;
        p.units.u9.free(" MARKIERUNG AN DEN PLOT-ARRAY PUNKTEN \"IANGLE\"=", I[0], I[1], I[2], I[3], I[4],
                        I[5], I[6]);
        p.units.u9.free(" MIT DEN WINKELSTELLUNGEN FUER KURBELTRIEB 1  :   ", A[0], A[1], A[2], A[3], A[4],
                        A[5], A[6]);
    }
    device::SETPEN(p, style, width, 0);
}

}  // namespace korvex::diagrams
