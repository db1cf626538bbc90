#pragma once
// The extras of T-S and p-V diagrams that compare the computed cycle with the ideal one: the
// enclosed area of a closed curve (QINT), the frame of the ideal Stirling process in the T-S
// plane (FRAME), the two ideal isotherms of a p-V diagram (ISOTHE, with DIAMAX and DIAMIN to
// find the ends to label), and the crank-angle marks on a cycle (MARKEN).
#include <array>
#include <span>
#include <string_view>

#include "device/device.hpp"
#include "properties/steam_state.hpp"
#include "runtime/units.hpp"

namespace korvex::diagrams {

// Result of QINT: Q_NUTZ = QZU + QAB, QZU the positive and QAB the negative contributions,
// RATIO = 100 Q_NUTZ / QZU (0 when QZU is not positive).
struct QintResult {
    double QNUTZ = 0.0, QZU = 0.0, QAB = 0.0, RATIO = 0.0;
};

// Area of the closed curve through the N points (X[i], Y[i]), the closing segment from point N
// back to point 1 included. TEXT selects the mode by its first character: "T" entropy mode
// (X = S, Y = T, result in W*s), "P" pressure mode (X = V in cm**3, Y = p in bar, factor 0.1 so
// the result is in W*s); any other text integrates as the entropy mode. At detail level 5 the
// changes of direction are traced on unit 9. NUM names the part-engine in the trace.
QintResult QINT(runtime::Units& u, std::span<const float> X, std::span<const float> Y, int N,
                std::string_view TEXT, std::string_view NUM);

// Points of a frame: 153 used, cells 154 and 155 (indices 153, 154) hold the axis scale.
constexpr int NFRAME = 153;
struct FramePoints {
    std::array<float, 160> T{}, S{};
};

struct FrameInput {
    double VOLVX = 0.0;      // VMAX / VMIN of the part-engine's crank drive
    double TCMIN = 0.0;      // low temperature, K
    double TEMAX = 0.0;      // high temperature, K
    float FT = 0.0f, DT = 0.0f;      // temperature axis: FIRST_V, DELTA_V
    double XCVMOL = 0.0;     // heat capacity of the gas charge, W*s/K
    double XM0 = 0.0;        // gas amount times the gas constant, W*s/K
    double T1 = 0.0, S1 = 0.0;       // a state of the gas on the measured cycle
    double T3 = 0.0, S3 = 0.0;       // the same for the vapour
    int ITYP = 1;            // 1 gas, 2 gas plus vapour, 3 vapour only
    double VXMAX = 0.0;      // largest gas volume, cm**3
    double VGTS = 0.0;       // gas volume at the state (T1, S1), cm**3
    float FFS1 = 0.0f, DDS1 = 0.0f;  // entropy axis: FIRST_V, DELTA_V
    float XL = 0.0f, YL = 0.0f;      // axis lengths, cm: the frame is cut to the axes
};

struct FrameResult {
    bool built = false;
    double Q12 = 0.0, Q23 = 0.0, Q34 = 0.0, Q41 = 0.0;  // isochor I-II, isotherm II-III, ...
    double QZU = 0.0, QAB = 0.0, QNUTZ = 0.0;
    double ETA = 0.0, ETAC = 0.0;    // without and with ideal regenerator, %
    double DELTA_T = 0.0;
    double integral = 0.0;           // QINT of the 153 frame points
};

// Builds the frame of the ideal Stirling process between TCMIN and TEMAX for the gas, the
// vapour or both, draws it on the diagram's scales, writes its balance (detail level 3) and its
// integral (level 2), and returns the integral in r. The steam properties are needed for the
// vapour. A frame without volume extremes (the run did not complete a revolution), or between
// temperatures that make no cycle (the high one not above the low one), is reported and not
// built.
void FRAME(device::Plotter& p, properties::SteamState& steam, const FrameInput& in,
           FramePoints& pts, FrameResult& r);

// Utilisation of the ideal frame by the measured cycle, written at detail level 2.
void write_utilisation(runtime::Units& u, int ITYP, double measured, double frame);

// Axis data of the p-V diagram the isotherms are drawn into.
struct IsothermAxes {
    float FX = 0.0f, DX = 0.0f;   // volume axis, cm**3
    float FY = 0.0f, DY = 0.0f;   // pressure axis, bar
    float XL = 0.0f, YL = 0.0f;   // axis lengths, cm
    float HOE = 0.0f;             // lettering height of the labels
    // Lettering inside the axes that the labels keep clear of (axis cm: x0, y0, x1, y1).
    std::array<std::array<float, 4>, 8> busy{};
    int nbusy = 0;
};

struct IsothermResult {
    bool built = false;
    double AEXP = 0.0, ACOMP = 0.0, ANUTZ = 0.0, ETA = 0.0;    // integrated, W*s
    double AEXP_C = 0.0, ACOMP_C = 0.0, ANUTZ_C = 0.0;          // closed form, W*s
    std::array<std::array<float, 4>, 2> label{};               // boxes of the labels drawn
    int nlabel = 0;
};

// The isotherms at TL and TL + DTI for XM (mol) between VMIN and VMAX (cm**3), with the
// isochores at both ends, labelled with their temperatures inside the axes; balance lines at
// level 3, the closed-form line on unit 6 at level 2. Without a volume range, a gas amount or two
// positive temperatures, the upper above the lower, there is nothing to draw: a message instead.
void ISOTHE(device::Plotter& p, double XM, double TL, double DTI, double VMIN, double VMAX,
            const IsothermAxes& ax, IsothermResult& r);

// Index (0-based) of the highest pressure among the N points that lie inside the diagram
// (axis coordinates 0..XL, 0..YL); -1 with the message "DIAMAX": FEHLER BEI PI( when none.
int DIAMAX(runtime::Units& u, std::span<const float> XA, std::span<const float> YA, int N,
           float XL, float YL);
// Index (0-based) of the smallest volume inside the diagram; -1 with "DIAMIN": FEHLER BEI V(.
int DIAMIN(runtime::Units& u, std::span<const float> XA, std::span<const float> YA, int N,
           float XL, float YL);

// Crank-angle marks: marker k (1..7) on the point IANGLE[k-1] (1-based plot index) of the curve
// of N points, on the scales behind the series, where that point lies on the axes (XL by YL cm).
// With KEY the seven symbols are keyed with their angles at the upper left, from YKEY down, and
// listed on unit 9.
void MARKEN(device::Plotter& p, std::span<const float> X, std::span<const float> Y, int N,
            const std::array<int, 7>& IANGLE, const std::array<double, 7>& ANGLE, float HSYM,
            float XL, float YL, float YKEY, bool KEY);

}  // namespace korvex::diagrams
