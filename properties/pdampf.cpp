// Saturated water vapour from one table of 28 rows, 273.16 K to 543.15 K.
#include "properties/pdampf.hpp"

#include <algorithm>

namespace korvex::properties {

namespace {

// The table as tabulated; it is used with the single-precision values of these decimals.
constexpr float STEAM_F[STEAM_ROWS][STEAM_COLS] = {
    // T        PS         RHO         HD        R         SW        SD       CPW      CPD
    {273.16f, 0.00612f, 0.00485f, 2500.54f, 2500.54f, 1e-05f, 9.15411f, 4.22869f, 1.86757f},
    {283.15f, 0.01228f, 0.00941f, 2518.89f, 2476.9f, 0.15096f, 8.89862f, 4.18818f, 1.87389f},
    {293.15f, 0.02339f, 0.01731f, 2537.17f, 2453.33f, 0.2962f, 8.66507f, 4.18331f, 1.88197f},
    {303.15f, 0.04245f, 0.0304f, 2555.34f, 2429.67f, 0.43652f, 8.45127f, 4.18334f, 1.89207f},
    {313.15f, 0.07381f, 0.05121f, 2573.36f, 2405.86f, 0.57228f, 8.25504f, 4.18245f, 1.90447f},
    {323.15f, 0.12344f, 0.08308f, 2591.19f, 2381.86f, 0.70373f, 8.0745f, 4.18167f, 1.91942f},
    {333.15f, 0.19932f, 0.1303f, 2608.79f, 2357.63f, 0.83118f, 7.90798f, 4.18283f, 1.93722f},
    {343.15f, 0.31176f, 0.19823f, 2626.1f, 2333.09f, 0.95494f, 7.75398f, 4.18694f, 1.95819f},
    {353.15f, 0.47373f, 0.29336f, 2643.07f, 2308.14f, 1.07529f, 7.61117f, 4.19422f, 1.98269f},
    {363.15f, 0.70117f, 0.42343f, 2659.63f, 2282.7f, 1.19253f, 7.47836f, 4.2044f, 2.01114f},
    {373.15f, 1.01322f, 0.5975f, 2675.73f, 2256.66f, 1.30688f, 7.35448f, 4.21707f, 2.04403f},
    {383.15f, 1.4324f, 0.82601f, 2691.27f, 2229.93f, 1.41856f, 7.23857f, 4.23189f, 2.08194f},
    {393.15f, 1.98482f, 1.12083f, 2706.19f, 2202.42f, 1.52776f, 7.12973f, 4.24868f, 2.12554f},
    {403.15f, 2.70019f, 1.49538f, 2720.41f, 2174.0f, 1.63464f, 7.02718f, 4.26745f, 2.1756f},
    {413.15f, 3.61194f, 1.96466f, 2733.84f, 2144.59f, 1.73936f, 6.93019f, 4.28842f, 2.23299f},
    {423.15f, 4.75716f, 2.54543f, 2746.38f, 2114.06f, 1.84207f, 6.83809f, 4.31194f, 2.29871f},
    {433.15f, 6.17662f, 3.25634f, 2757.95f, 2082.3f, 1.94292f, 6.75027f, 4.33851f, 2.37387f},
    {443.15f, 7.91469f, 4.11813f, 2768.45f, 2049.17f, 2.04207f, 6.66617f, 4.36875f, 2.45975f},
    {453.15f, 10.01925f, 5.15392f, 2777.78f, 2014.54f, 2.13965f, 6.58528f, 4.40335f, 2.55776f},
    {463.15f, 12.54162f, 6.38958f, 2785.84f, 1978.25f, 2.23583f, 6.50712f, 4.44313f, 2.66957f},
    {473.15f, 15.53647f, 7.85419f, 2792.52f, 1940.14f, 2.33076f, 6.43124f, 4.48901f, 2.79709f},
    {483.15f, 19.06169f, 9.58069f, 2797.7f, 1900.04f, 2.4246f, 6.35722f, 4.54207f, 2.94261f},
    {493.15f, 23.17841f, 11.60671f, 2801.27f, 1857.76f, 2.51752f, 6.28465f, 4.60359f, 3.10891f},
    {503.15f, 27.95091f, 13.97575f, 2803.07f, 1813.07f, 2.60971f, 6.21314f, 4.67514f, 3.29946f},
    {513.15f, 33.44667f, 16.73865f, 2802.96f, 1765.72f, 2.70134f, 6.14229f, 4.75869f, 3.51869f},
    {523.15f, 39.73642f, 19.95583f, 2800.75f, 1715.43f, 2.79264f, 6.07168f, 4.85676f, 3.77241f},
    {533.15f, 46.89441f, 23.70015f, 2796.23f, 1661.85f, 2.88381f, 6.00086f, 4.97274f, 4.06845f},
    {543.15f, 54.99866f, 28.06133f, 2789.14f, 1604.58f, 2.97514f, 5.92934f, 5.11127f, 4.41766f},
};

constexpr std::array<std::array<double, STEAM_COLS>, STEAM_ROWS> make_table() {
    std::array<std::array<double, STEAM_COLS>, STEAM_ROWS> t{};
    for (int r = 0; r < STEAM_ROWS; ++r)
        for (int c = 0; c < STEAM_COLS; ++c) t[r][c] = static_cast<double>(STEAM_F[r][c]);
    return t;
}

constexpr auto TABLE = make_table();

// Upper temperature limit of the temperature input, the single-precision value of 543.14.
constexpr double T_LIMIT = 543.1400146484375;

void record_error(SteamState& st, int& NFAIL, int code) {
    NFAIL = code;
    ++st.NERR;
}

// The inputs of one call as they came; the outputs are written only at the end.
struct SteamCall {
    double ps = 0.0, masse = 0.0, t = 0.0, v = 0.0;
};

// The input mode (0: none applies), the table column it enters by and the value to look up.
struct SteamKey {
    int mode = 0;
    int col = COL_T;
    double key = 0.0;
};

SteamKey steam_key(const SteamCall& in) {
    if (in.t > 0.0) return {1, COL_T, in.t};
    if (in.masse > 0.0 && in.v > 0.0) return {2, COL_RHO, in.masse * 1000.0 / in.v};
    if (in.masse > 0.0 && in.ps > 0.0) return {3, COL_PS, in.ps};
    if (in.ps > 0.0 && in.v > 0.0) return {4, COL_PS, in.ps};
    return {};
}

[[gnu::cold]] void input_error(SteamState& st, runtime::Units& u, int& NFAIL, const SteamCall& in) {
    u.u6.free(" PDAMPF-EINGABE FEHLER: PS=", in.ps, " D_MASSE=", in.masse, " T=", in.t, " V=", in.v);
    u.u9.free(" PDAMPF-EINGABE FEHLER: PS=", in.ps, " D_MASSE=", in.masse, " T=", in.t, " V=", in.v);
    record_error(st, NFAIL, 885);
}

[[gnu::cold]] void temperature_error(SteamState& st, runtime::Units& u, int& NFAIL, double t) {
    u.u6.free("TEMPERATUR T =", t,
              " T MUSS ZWISCHEN 273.16 UND 543.15 KELVIN LIEGEN; KEINE BERECHNUNG MOEGLICH; "
              ">>>> PDAMPF <<<<");
    u.u9.free("TEMPERATUR T =", t,
              " AUSSERHALB DER DAMPFDRUCKTABELLE; KEINE BERECHNUNG MOEGLICH; >>>> PDAMPF <<<<");
    u.u9.free("TEMPERATUR T =", t,
              " T MUSS ZWISCHEN 273.16 UND 543.15 KELVIN LIEGEN <<<<<<<<<<<<<<<<");
    record_error(st, NFAIL, 889);
}

// A key below the table's first row: the message of its mode and its error number.
[[gnu::cold]] void below_table(SteamState& st, runtime::Units& u, int& NFAIL, const SteamKey& k,
                               const SteamCall& in) {
    switch (k.mode) {
    case 1:
        temperature_error(st, u, NFAIL, in.t);
        break;
    case 2:
        for (runtime::Unit* un : {&u.u6, &u.u9}) {
            un->free("DAMPF-DICHTE =", k.key,
                     " AUSSERHALB DER DAMPFDRUCKTABELLE; KEINE BERECHNUNG MOEGLICH; >>>> "
                     "PDAMPF <<<<");
            un->free("2. EINGABEMOEGLICHKEIT IN \"PDAMPF\": DAMPF-MASSE=", in.masse,
                     ", DAMPFVOLUMEN=", in.v);
        }
        record_error(st, NFAIL, 888);
        break;
    case 3:
        for (runtime::Unit* un : {&u.u6, &u.u9}) {
            un->free("DAMPF-DRUCK =", in.ps,
                     " AUSSERHALB DER DAMPFDRUCKTABELLE; KEINE BERECHNUNG MOEGLICH; >>>> "
                     "PDAMPF : PS-MIN= 0.00612 BAR");
            un->free("3. EINGABEMOEGLICHKEIT IN \"PDAMPF\": DAMPF-MASSE=", in.masse,
                     ", DAMPF-DRUCK=", in.ps);
        }
        record_error(st, NFAIL, 887);
        break;
    default:
        for (runtime::Unit* un : {&u.u6, &u.u9}) {
            un->free("DAMPF-DRUCK =", in.ps,
                     " AUSSERHALB DER DAMPFDRUCKTABELLE; KEINE BERECHNUNG MOEGLICH; >>>> "
                     "PDAMPF <<<<");
            un->free("4. EINGABEMOEGLICHKEIT IN \"PDAMPF\": DAMPF-VOLUMEN=", in.v,
                     ", DAMPF-DRUCK=", in.ps);
        }
        record_error(st, NFAIL, 886);
        break;
    }
}

// Each mode announces itself once per job, in the detail listing when asked for.
void announce_mode(SteamState& st, runtime::Units& u, int mode, const SteamCall& in) {
    if (!st.first_call[mode - 1]) return;
    st.first_call[mode - 1] = false;
    if (!u.level(4)) return;
    switch (mode) {
    case 1:
        u.u9.free(" >>>>>>>>> 1. EINGABEMOEGLICHKEIT IN PDAMPF; T=", in.t, "; V=", in.v,
                  ", MASSE=", in.masse, ", PS=", in.ps);
        break;
    case 2:
        u.u9.free(" <<<<<<<<< 2. EINGABEMOEGLICHKEIT IN PDAMPF;  V=", in.v, ", MASSE=",
                  in.masse, "; T=", in.t, ", PS=", in.ps);
        break;
    case 3:
        u.u9.free(" --------- 3. EINGABEMOEGLICHKEIT IN PDAMPF; PS=", in.ps, ", MASSE=",
                  in.masse, "; T=", in.t, ", V=", in.v);
        break;
    default:
        u.u9.free(" ========= 4. EINGABEMOEGLICHKEIT IN PDAMPF; PS=", in.ps, ", V=", in.v,
                  "; MASSE=", in.masse, ", T=", in.t);
        break;
    }
}

// First row (0-based) whose value in column col is not below key; -1 when none is.
int first_row_at_or_above(int col, double key) {
    for (int r = 0; r < STEAM_ROWS; ++r)
        if (TABLE[r][col] >= key) return r;
    return -1;
}

// The table's row at key, row i being the first at or above it: the row itself on a node,
// else the polynomial through IP rows around the bracket (rows i and i+1, 1-based). At the top
// bracket the window ends one row below the last row, as the table has always been read there.
// The window is kept inside the table whatever IP the deck asked for.
std::array<double, STEAM_COLS> row_at(int col, double key, int i, int IP) {
    if (TABLE[i][col] == key) return TABLE[i];
    const int n = std::clamp(IP, 1, POLINT_MAX);
    const int i1 = i + 1;
    int i0 = i1 - n / 2;
    if (i1 == STEAM_ROWS) i0 = STEAM_ROWS - n;
    if (i0 + n - 1 > STEAM_ROWS) i0 = STEAM_ROWS + 1 - n;
    if (i0 < 1) i0 = 1;
    const int base = i0 - 1;

    double xt[POLINT_MAX];
    for (int k = 0; k < n; ++k) xt[k] = TABLE[base + k][col];
    std::array<double, STEAM_COLS> out = POLINT(key, xt, &TABLE[base], n);
    out[col] = key;
    return out;
}

}  // namespace

const std::array<std::array<double, STEAM_COLS>, STEAM_ROWS>& steam_table() { return TABLE; }

void PDAMPF(SteamState& st, runtime::Units& u, int& NFAIL, double& PS, double& MASSE, double& T,
            double& V, double& R, double& CPD, double& CPW, double& SD, double& SW, double& HD,
            int IP) {
    if (st.NERR > 10) return;
    const SteamCall in{PS, MASSE, T, V};
    const SteamKey k = steam_key(in);
    if (k.mode == 0) {
        input_error(st, u, NFAIL, in);
        return;
    }
    announce_mode(st, u, k.mode, in);
    if (k.mode == 1 && in.t > T_LIMIT) {
        temperature_error(st, u, NFAIL, in.t);
        PS = 0.0;
        R = 0.0;
        return;
    }
    const int i = first_row_at_or_above(k.col, k.key);
    if (i < 0) {
        input_error(st, u, NFAIL, in);
        return;
    }
    if (i == 0 && TABLE[0][k.col] > k.key) {
        below_table(st, u, NFAIL, k, in);
        // What the mode would have computed is zero.
        if (k.mode <= 2) PS = 0.0, R = 0.0;
        else if (k.mode == 3) T = 0.0, V = 0.0;
        else T = 0.0, MASSE = 0.0;
        return;
    }

    const std::array<double, STEAM_COLS> out = row_at(k.col, k.key, i, IP);
    switch (k.mode) {
    case 1:
        PS = out[COL_PS];
        MASSE = in.v * out[COL_RHO] / 1000.0;
        break;
    case 2:
        PS = out[COL_PS];
        T = out[COL_T];
        break;
    case 3:
        T = out[COL_T];
        // A density from the table is positive; the test only keeps a division by zero out.
        if (out[COL_RHO] > 0.0) V = in.masse * 1000.0 / out[COL_RHO];
        break;
    default:
        T = out[COL_T];
        MASSE = in.v * out[COL_RHO] / 1000.0;
        break;
    }
    R = out[COL_R];
    CPD = out[COL_CPD];
    CPW = out[COL_CPW];
    SD = out[COL_SD];
    SW = out[COL_SW];
    HD = out[COL_HD];
}

}  // namespace korvex::properties
