// DIA: draws the diagrams of a run from the plot series the simulation collected.
#include "diagrams/dia.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "device/plot.hpp"
#include "diagrams/catalogue.hpp"
#include "diagrams/frames.hpp"
#include "diagrams/plotlib.hpp"
#include "runtime/format.hpp"
#include "state/pair_record.hpp"

namespace korvex::diagrams {

namespace {

// The least x of a legend column whose entries, of height h, begin with a line sample 2 h long
// left of the marker: right of the axes.
float clear_of_axes(float XL, float h) { return XL + 2.0f * std::fabs(h); }

using PF = simulation::PairField;

std::string_view trimmed(std::string_view s) {
    const auto e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string_view() : s.substr(0, e + 1);
}

// The option code as the drawing uses it: every code above 8 draws what 8 draws (frame and
// isotherms from the extreme temperatures, crank-angle marks, grid).
int gitter_of(const DiagramDefinition& def) { return std::min(def.GITTER, 8); }

// Maximum and minimum of a curve with the abscissa values where they occur.
void list_extremes(runtime::Units& u, int N, const Series& x, const Series& y, std::string_view name,
                   int kc, std::string_view xname, int kx) {
    if (N < 1) return;
    const SeriesRange r = series_range(y, N);
    if (r.ihi < 0) return;
    const std::string q = "\"" + std::string(name) + "\" =";
    const std::string xq = " BEI \"" + std::string(xname) + "\" =";
    const std::string_view yu = trimmed(unit_text(kc)), xu = trimmed(unit_text(kx));
    const float xhi = x[static_cast<std::size_t>(r.ihi)], xlo = x[static_cast<std::size_t>(r.ilo)];
    u.u9.free("       MAXIMUM VON " + q, r.hi, yu, xq, xhi, xu);
    u.u9.free(" ----> MINIMUM VON " + q, r.lo, yu, xq, xlo, xu);
    u.u6.free(" MAXIMUM VON " + q, r.hi, " BEI", xhi);
    u.u6.free(" MINIMUM VON " + q, r.lo, " BEI", xlo);
}

// Sum of a rate over TIME, with the first and last two points.
void list_time_sum(runtime::Units& u, int N, const Series& t, const Series& y, std::string_view name,
                   int kc) {
    if (N < 2) return;
    auto T = [&](int i) { return static_cast<double>(t[static_cast<std::size_t>(i - 1)]); };
    auto Y = [&](int i) { return static_cast<double>(y[static_cast<std::size_t>(i - 1)]); };
    double S = T(1) == 0.0 ? 0.0 : Y(1) * (T(2) - T(1));
    for (int i = 2; i <= N; ++i) S += Y(i) * (T(i) - T(i - 1));
    const std::string_view un = trimmed(unit_text(kc));
    u.u9.free(" -->DIA: SUMMIERUNG VON \"" + std::string(name) + "\" UEBER \"TIME\" VON 2 - ", N, " = ", S, un);
    u.u9.free(" Y(1)=", Y(1), " TIME=", T(1), " Y(2)=", Y(2), " TIME=", T(2), " Y(N-1)=", Y(N - 1),
              " TIME=", T(N - 1), " Y(N)=", Y(N), " TIME=", T(N), " DELT=", T(N) - T(N - 1));
    u.u6.free(" SUMME VON \"" + std::string(name) + "\" =", S, un);
}

// The names of the ordinate slots in use, for the messages.
void add_names(runtime::Unit::FreeRecord& rec, const DiagramDefinition& def) {
    const int nord = std::clamp(def.NORD, 0, MAXORD);
    int n = 0;
    for (int j = 0; j < nord; ++j)
        if (!trimmed(def.ordinate[static_cast<std::size_t>(j)]).empty()) ++n;
    rec.add(n == 1 ? " MIT DER ORDINATE: " : " MIT DEN ORDINATEN: ");
    // Each name in its six characters, so that the names stand apart.
    for (int j = 0; j < nord; ++j) {
        const std::string& s = def.ordinate[static_cast<std::size_t>(j)];
        if (!trimmed(s).empty()) rec.add(s);
    }
}

OrdinateGroups group_ordinates(const DiagramDefinition& def) {
    OrdinateGroups g;
    const int nord = std::clamp(def.NORD, 0, MAXORD);
    for (int j = 0; j < nord; ++j) {
        if (def.IO[static_cast<std::size_t>(j)] == 0) continue;
        const int k = def.ID[static_cast<std::size_t>(j)];
        int gi = 0;
        while (gi < g.n && g.cls[static_cast<std::size_t>(gi)] != k) ++gi;
        if (gi == g.n) g.cls[static_cast<std::size_t>(g.n++)] = k;
        auto& cnt = g.count[static_cast<std::size_t>(gi)];
        g.slot[static_cast<std::size_t>(gi)][static_cast<std::size_t>(cnt++)] = j;
    }
    return g;
}

// Axis title of a group: its names, then the unit text; at most 56 characters of names.
std::string group_title(const DiagramDefinition& def, const OrdinateGroups& g, int gi) {
    std::string names;
    for (int m = 0; m < g.count[static_cast<std::size_t>(gi)]; ++m) {
        const int j = g.slot[static_cast<std::size_t>(gi)][static_cast<std::size_t>(m)];
        const std::string_view nm = trimmed(NAMEG(def.IO[static_cast<std::size_t>(j)]));
        const std::size_t add = nm.size() + (names.empty() ? 0 : 1);
        if (names.size() + add > 56) break;
        if (!names.empty()) names += ' ';
        names += nm;
    }
    return names + " " + std::string(trimmed(unit_text(g.cls[static_cast<std::size_t>(gi)])));
}

// ---- Axes --------------------------------------------------------------------------------------

// A zero line across the diagram where an ordinate scale passes through 0.
void zero_line(device::Plotter& pl, const DiagramPage& pg, float first, float delta, int style) {
    if (!(first < 0.0f) || delta == 0.0f || !std::isfinite(delta)) return;
    const float y = -first / delta;
    if (!(y > 0.0f && y < pg.YL)) return;
    device::SETPEN(pl, style, 1, 7);
    device::PLOT(pl, 0.0f, y, 3);
    device::PLOT(pl, pg.XL, y, 2);
    device::SETPEN(pl, 1, 1, 7);
}

// The abscissa and one ordinate axis per group: the first on the left, the second on the right
// (the other way round with GITTER 3), the others beside the right one; zero lines for the
// first two.
void draw_axes(device::Plotter& pl, const DiagramPage& pg, const DiagramDefinition& def,
               const DiagramSeries& ser, const OrdinateGroups& g) {
    const auto N = static_cast<std::size_t>(pg.N);
    const int ka = def.abscissa_class;
    device::SETPEN(pl, 1, 1, 7);
    const std::string xt = std::string(trimmed(NAMEG(def.abscissa_pos))) + " " + std::string(trimmed(unit_text(ka)));
    ACHSE(pl, 0.0f, 0.0f, xt, -static_cast<int>(xt.size()), pg.XL, 0.0f, ser.x[N], ser.x[N + 1], pg.NDEC, pg.HOE);

    const bool other_side = gitter_of(def) == 3;
    std::array<std::string, MAXORD> titles;
    ordinate_titles(def, titles);
    for (int gi = 0; gi < g.n && gi < MAXORD; ++gi) {
        const int j0 = g.slot[static_cast<std::size_t>(gi)][0];
        const Series& s = ser.y[static_cast<std::size_t>(j0)];
        const float first = s[N], delta = s[N + 1];
        const std::string& t = titles[static_cast<std::size_t>(gi)];
        const int len = static_cast<int>(t.size());
        float x = 0.0f;
        int nc = len;
        if (gi == 0) {
            nc = other_side ? -len : len;
        } else if (gi == 1) {
            x = pg.XL;
            nc = other_side ? len : -len;
        } else {
            const int k = gi + 1;  // axis number 3..8
            x = k <= 4 ? pg.XL + 11.0f * pg.HOE : (k <= 6 ? pg.XL + 22.0f * pg.HOE : (k == 7 ? pg.XL : 0.0f));
            nc = (k % 2 == 1) ? len : -len;
        }
        device::SETPEN(pl, 1, 1, 7);
        ACHSE(pl, x, 0.0f, t, nc, pg.YL, 90.0f, first, delta, pg.NDEC, pg.HOE);
        if (gi == 0) zero_line(pl, pg, first, delta, 2);
        if (gi == 1) zero_line(pl, pg, first, delta, 3);
    }
}

// The run heading above the axes (at detail level 4; a long one in two lines) and the
// diagram's captions below them.
void draw_titles(device::Plotter& pl, const DiagramPage& pg, std::string_view heading,
                 const DiagramDefinition& def) {
    device::SETPEN(pl, 1, 1, 7);
    const std::string_view h = trimmed(heading);
    if (pl.units.level(4) && !h.empty()) {
        if (h.size() <= 66) {
            SYMBOL(pl, 2.0f * pg.HOE, pg.YL + 2.5f * pg.HOE, pg.HOE, h, 0.0f, static_cast<int>(h.size()));
        } else {
            SYMBOL(pl, 2.0f * pg.HOE, pg.YL + 2.5f * pg.HOE, pg.HOE, h.substr(0, 65), 0.0f, 65);
            const std::string_view rest = h.substr(65);
            SYMBOL(pl, 2.0f * pg.HOE, pg.YL + 0.5f * pg.HOE, pg.HOE, rest, 0.0f, static_cast<int>(rest.size()));
        }
    }
    const int ncap = std::clamp(def.ncaption, 0, 3);
    for (int k = 0; k < ncap; ++k) {
        const std::string_view cap = trimmed(std::string_view(def.caption[static_cast<std::size_t>(k)]).substr(0, 79));
        if (cap.empty()) continue;
        SYMBOL(pl, 0.0f, -(8.0f + 2.0f * k) * pg.HOE, pg.HOE, cap, 0.0f, static_cast<int>(cap.size()));
    }
}

// Grid, axes, titles and captions of a new diagram.
void draw_frame(device::Plotter& pl, const DiagramPage& pg, std::string_view heading,
                DiagramDefinition& def, const DiagramSeries& ser, const OrdinateGroups& g) {
    const int GITTER = gitter_of(def);
    if (GITTER == 4 || GITTER == 8) NETZ(pl, 0.0f, 0.0f, pg.XL, pg.YL, 1.0f, 1.0f, 4.0f, 4.0f);
    draw_axes(pl, pg, def, ser, g);
    draw_titles(pl, pg, heading, def);
    def.AX = 1;
}

// ---- Scaling -------------------------------------------------------------------------------------

// An axis left without a scale (an axis length of 0 leaves none to compute) carries no curve;
// the listings say so where the curve's lines would stand.
void no_scale_note(runtime::Units& u, int ND, std::string_view axis, float L) {
    for (runtime::Unit* un : {&u.u6, &u.u9})
        un->free("=====>> " + std::to_string(ND) + ". DIAGRAMM: ACHSE \"" + std::string(axis) +
                     "\" OHNE MASSSTAB, ACHSENLAENGE=",
                 L, " CM; KEINE KURVE");
}

// Abscissa scale: the class's pair, or an automatic one written back for later axes. A scale
// made here from the series itself holds every point; any other may not.
void scale_abscissa(runtime::Units& u, DiagramState& d, Series& x, const DiagramPage& pg, DiagramWork& w) {
    const int N = pg.N;
    float f = first_value(d, w.ka), dl = delta_value(d, w.ka);
    set_series_scale(x, N, f, dl);
    if (dl == 0.0f && N > 0) {
        SKALIE(x, pg.XL, N, 1);
        f = x[static_cast<std::size_t>(N)];
        dl = x[static_cast<std::size_t>(N) + 1];
        if (dl != 0.0f) store_scale(d, w.ka, f, dl);
        w.x_own = dl != 0.0f;
    }
    if (dl == 0.0f && N > 0) no_scale_note(u, w.ND, w.xname, pg.XL);
}

// Every usable ordinate takes its class's scale as the table holds it.
void preset_ordinate_scales(const DiagramState& d, const DiagramDefinition& def, DiagramSeries& ser, int N) {
    const int nord = std::clamp(def.NORD, 0, MAXORD);
    for (int j = 0; j < nord; ++j) {
        const int k = def.ID[static_cast<std::size_t>(j)];
        if (def.IO[static_cast<std::size_t>(j)] == 0 || k < 1) continue;
        set_series_scale(ser.y[static_cast<std::size_t>(j)], N, first_value(d, k), delta_value(d, k));
    }
}

// Scale of ordinate group gi: the class's pair, or one made from the smallest and largest value
// of all its curves and written back for later axes. The search for the largest value starts
// just below 0, so an axis of values that are all negative reaches up to 0.
void scale_ordinate_group(runtime::Units& u, DiagramState& d, DiagramSeries& ser, const DiagramPage& pg,
                          DiagramWork& w, int gi) {
    const auto gs = static_cast<std::size_t>(gi);
    const OrdinateGroups& g = w.g;
    const int k = g.cls[gs];
    float lo = 1.0e38f, hi = -1.0e-37f;
    bool any = false;
    for (int m = 0; m < g.count[gs]; ++m) {
        const SeriesRange r = series_range(ser.y[static_cast<std::size_t>(g.slot[gs][static_cast<std::size_t>(m)])], pg.N);
        if (r.ihi < 0) continue;
        any = true;
        lo = std::min(lo, r.lo);
        hi = std::max(hi, r.hi);
    }
    if (!any) lo = hi = 0.0f;
    float f = first_value(d, k), dl = delta_value(d, k);
    bool own = false;
    if (dl == 0.0f) {
        std::array<float, 4> a{lo, hi, 0.0f, 0.0f};
        SKALIE(a, pg.YL, 2, 1);
        f = a[2];
        dl = a[3];
        own = dl != 0.0f;
    }
    if (dl != 0.0f) store_scale(d, k, f, dl);
    else if (pg.N > 0) no_scale_note(u, w.ND, trimmed(unit_text(k)), pg.YL);
    for (int m = 0; m < g.count[gs]; ++m) {
        const auto j = static_cast<std::size_t>(g.slot[gs][static_cast<std::size_t>(m)]);
        set_series_scale(ser.y[j], pg.N, f, dl);
        w.y_own[j] = own;
    }
}

// A run adding its curves into a diagram of the run before says so.
void note_adding(runtime::Unit& u9, const DiagramDefinition& def, const DiagramWork& w) {
    runtime::Unit::FreeRecord rec(u9);
    rec.add(w.ND);
    rec.add(". DIAGRAMM: ");
    rec.add(std::string_view(w.xname));
    add_names(rec, def);
    rec.add("     WIRD IN DAS SCHON BESTEHENDE DIAGRAMM AUS DEM VORHERIGEN LAUF GEZEICHNET");
    rec.finish();
}

// Field k (0-based) of the per-pair block that position I addresses; -1 for a global one.
int pair_field(int I) { return (I >= 1 && I <= NPAIRPOS) ? (I - 1) % NPAIRQ : -1; }

// Whether position I is the entropy S1, S2 or S3 of a part-engine: the abscissa of a T-S
// diagram.
bool entropy_abscissa(int I) {
    const int f = pair_field(I);
    return part_engine(I) > 0 && (f == static_cast<int>(PF::S1) || f == static_cast<int>(PF::S2) ||
                                  f == static_cast<int>(PF::S3));
}

// ---- Integrals -----------------------------------------------------------------------------------

// The area a curve encloses, and whether it was integrated.
struct CurveArea {
    bool integrated = false;
    double work = 0.0;
};

void integral_line(runtime::Units& u, const std::string& qtext, double v) {
    if (!u.level(2)) return;
    for (runtime::Unit* un : {&u.u6, &u.u9})
        un->free(" DIA--> QINT: INTEGRAL DES \"" + qtext + "\" DIAGRAMMS:", v, " WATT * SEC");
}

// A curve of a single plot point (a run kept a revolution it ended in at once) encloses no
// area: the listings say so; the frame or the isotherms are drawn from the run's extremes all the
// same.
void single_point_note(runtime::Units& u, int ND, const std::string& qtext) {
    for (runtime::Unit* un : {&u.u6, &u.u9})
        un->free("=====>> " + std::to_string(ND) + ". DIAGRAMM: \"" + qtext +
                 "\" HAT NUR 1 PLOT-PUNKT; KEIN INTEGRAL");
}

// The kind of T-S curve the abscissa asks for: 1 gas (S1), 2 gas and vapour (S2), 3 vapour
// (S3). Without vapour, S2 falls back to the gas and S3 draws nothing (0), both with error 112.
int ts_type(runtime::Units& u, int& NFAIL, int xfield, bool FDAMPF) {
    const int ITYP = xfield == static_cast<int>(PF::S1) ? 1 : (xfield == static_cast<int>(PF::S2) ? 2 : 3);
    if (ITYP == 2 && !FDAMPF) {
        u.u6.line(" =====>> ERROR: PLOT \"S2\" ABER KEINE DAMPF BERECHNUNG SPEZIFIZIERT");
        u.u9.line(" =====>> ERROR: PLOT \"S2\" ABER KEINE DAMPF BERECHNUNG SPEZIFIZIERT; ES WIRD NUR "
                  "DIE GAS-KOMPONENTE GEPLOTTET");
        NFAIL = 112;
        return 1;
    }
    if (ITYP == 3 && !FDAMPF) {
        u.u6.line(" =====>> ERROR: PLOT \"S3\" ABER KEINE DAMPF BERECHNUNG SPEZIFIZIERT");
        u.u9.line(" =====>> ERROR: PLOT \"S3\" ABER KEINE DAMPF BERECHNUNG SPEZIFIZIERT: KEIN DIAGRAMM");
        NFAIL = 112;
        return 0;
    }
    return ITYP;
}

// The ideal frame of the T-S diagram on its scales, between the starting temperatures
// (GITTER 7) or the extreme cylinder temperatures (8); built once per diagram.
void draw_ts_frame(device::Plotter& pl, properties::SteamState& steam, const DiaInputs& in,
                   const DiagramPage& pg, int GITTER, int ITYP, const Series& x, const Series& ys,
                   DiagramWork& w) {
    if (w.frame_done) return;
    const auto N = static_cast<std::size_t>(pg.N);
    const std::size_t pi = w.pe > 0 ? static_cast<std::size_t>(w.pe - 1) : 0;
    FrameInput fi;
    fi.VOLVX = in.VXMIN[pi] > 0.0 ? in.VXMAX[pi] / in.VXMIN[pi] : 0.0;
    fi.TCMIN = GITTER == 7 ? in.TK : in.TC_MIN;
    fi.TEMAX = GITTER == 7 ? in.TH : in.TE_MAX;
    fi.FT = ys[N];
    fi.DT = ys[N + 1];
    fi.XCVMOL = in.XCVMOL[pi];
    fi.XM0 = in.XM0[pi];
    fi.T1 = in.T1[pi];
    fi.S1 = in.S1[pi];
    fi.T3 = in.T3[pi];
    fi.S3 = in.S3[pi];
    fi.ITYP = ITYP;
    fi.VXMAX = in.VXMAX[pi];
    fi.VGTS = in.VG[pi];
    fi.XL = pg.XL;
    fi.YL = pg.YL;
    fi.FFS1 = x[N];
    fi.DDS1 = x[N + 1];
    FramePoints fp;
    FrameResult fr;
    FRAME(pl, steam, fi, fp, fr);
    w.frame_done = true;
    w.frame_built = fr.built;
    w.frame_integral = fr.integral;
}

// Top of the crank-angle key, below the part-engine's name in the upper left corner.
float key_top(const DiagramPage& pg) { return pg.YL - 1.5f * pg.HOE; }

// The lettering in the upper left corner of a p-V diagram that its isotherm labels keep clear
// of: the part-engine's name (detail level 4) and the crank-angle key (once it stands or will).
void corner_lettering(const runtime::Units& u, const DiagramPage& pg, int GITTER, const DiagramWork& w,
                      IsothermAxes& ax) {
    if (w.pe > 0 && u.level(4))
        ax.busy[static_cast<std::size_t>(ax.nbusy++)] = {1.5f * pg.HOE, pg.YL - 1.5f * pg.HOE, 19.5f * pg.HOE,
                                                         pg.YL - 0.5f * pg.HOE};
    const bool key = w.key_drawn || (GITTER == 8 && w.pe == 1 && u.level(1) && u.level(3));
    if (key)
        ax.busy[static_cast<std::size_t>(ax.nbusy++)] = {pg.HSYM, key_top(pg) - 18.0f * pg.HSYM, 7.5f * pg.HSYM,
                                                         key_top(pg) - 2.0f * pg.HSYM};
}

// The crank-angle marks on a curve; their key (detail level 3) once per diagram, however many
// curves and runs mark it.
void crank_marks(device::Plotter& pl, const DiaInputs& in, const DiagramPage& pg, const Series& x, const Series& ys,
                 DiagramWork& w) {
    const bool key = pl.units.level(3) && !w.key_drawn;
    MARKEN(pl, x, ys, pg.N, in.IANGLE, in.ANGLE, pg.HSYM, pg.XL, pg.YL, key_top(pg), key);
    w.key_drawn = w.key_drawn || key;
}

// A temperature curve over an entropy: the area it encloses (GITTER 6 and above), the ideal
// frame with the utilisation of it (7, 8) and the crank-angle marks (6, 8) on the first
// part-engine. A vapour curve without vapour is not drawn (skip).
CurveArea ts_area(device::Plotter& pl, properties::SteamState& steam, const DiaInputs& in,
                  const DiagramPage& pg, int GITTER, const Series& x, const Series& ys,
                  const std::string& qtext, DiagramWork& w, bool& skip) {
    runtime::Units& u = pl.units;
    CurveArea a;
    const int ITYP = ts_type(u, pl.NFAIL, pair_field(w.IA), in.FDAMPF);
    skip = ITYP == 0;
    if (skip || GITTER < 6 || pg.N < 1) return a;
    if (pg.N >= 2) {
        const QintResult q = QINT(u, x, ys, pg.N, "T", qtext);
        a = {true, q.QNUTZ};
        integral_line(u, qtext, a.work);
    } else {
        single_point_note(u, w.ND, qtext);
    }
    if (GITTER == 7 || GITTER == 8) {
        draw_ts_frame(pl, steam, in, pg, GITTER, ITYP, x, ys, w);
        if (w.frame_built && a.integrated) write_utilisation(u, ITYP, a.work, w.frame_integral);
    }
    if ((GITTER == 6 || GITTER == 8) && w.pe == 1)
        crank_marks(pl, in, pg, x, ys, w);
    return a;
}

// A pressure curve over a volume: the work it encloses, the ideal isotherms (GITTER 7, 8; once
// per diagram) and the crank-angle marks (6, 8) on the first part-engine.
CurveArea pv_area(device::Plotter& pl, const DiaInputs& in, const DiagramPage& pg, int GITTER,
                  const Series& x, const Series& ys, const std::string& qtext, DiagramWork& w, DrawnFrame& as) {
    runtime::Units& u = pl.units;
    const auto N = static_cast<std::size_t>(pg.N);
    CurveArea a;
    if (pg.N >= 2) {
        a = {true, QINT(u, x, ys, pg.N, "P", qtext).QNUTZ};
        integral_line(u, qtext, a.work);
    } else {
        single_point_note(u, w.ND, qtext);
    }
    if ((GITTER == 7 || GITTER == 8) && !w.iso_done) {
        const std::size_t pi = w.pe > 0 ? static_cast<std::size_t>(w.pe - 1) : 0;
        IsothermAxes ax;
        ax.FX = x[N];
        ax.DX = x[N + 1];
        ax.FY = ys[N];
        ax.DY = ys[N + 1];
        ax.XL = pg.XL;
        ax.YL = pg.YL;
        ax.HOE = pg.HOE;
        corner_lettering(u, pg, GITTER, w, ax);
        for (int i = 0; i < as.nlabels && ax.nbusy < static_cast<int>(ax.busy.size()); ++i)
            ax.busy[static_cast<std::size_t>(ax.nbusy++)] = as.labels[static_cast<std::size_t>(i)];
        const double TL = GITTER == 7 ? in.TK : in.TC_MIN;
        const double DTI = GITTER == 7 ? in.TH - in.TK : in.TE_MAX - in.TC_MIN;
        IsothermResult ir;
        ISOTHE(pl, in.M0[pi], TL, DTI, in.VXMIN[pi], in.VXMAX[pi], ax, ir);
        for (int i = 0; i < ir.nlabel && as.nlabels < static_cast<int>(as.labels.size()); ++i)
            as.labels[static_cast<std::size_t>(as.nlabels++)] = ir.label[static_cast<std::size_t>(i)];
        w.iso_done = true;
    }
    if ((GITTER == 6 || GITTER == 8) && w.pe == 1 && u.level(1)) crank_marks(pl, in, pg, x, ys, w);
    return a;
}

// ---- Curves and legends ------------------------------------------------------------------------

// The curve in the counters' colour (whole on a scale made for its own values, else cut to the
// axes) with its markers at the counters' positions.
void draw_curve(device::Plotter& pl, const DiagramPage& pg, const CurveCounters& cc, std::span<const float> x,
                std::span<const float> ys, int N, bool whole) {
    device::SETPEN(pl, 1, 1, cc.colour);
    if (whole) KURVE(pl, x, ys, N, 1, 0, 0);
    else clipped_curve(pl, x, ys, N, 1, pg.XL, pg.YL);
    const float FX = x[static_cast<std::size_t>(N)], DX = x[static_cast<std::size_t>(N) + 1];
    const float FY = ys[static_cast<std::size_t>(N)], DY = ys[static_cast<std::size_t>(N) + 1];
    if (DX == 0.0f || DY == 0.0f) return;
    for (int pos : cc.pos) {
        const int idx = marker_index(pos, N);
        if (idx < 1) continue;
        const float xa = (x[static_cast<std::size_t>(idx - 1)] - FX) / DX;
        const float ya = (ys[static_cast<std::size_t>(idx - 1)] - FY) / DY;
        if (!whole && !on_axes(xa, ya, pg.XL, pg.YL)) continue;
        SYMBLI(pl, xa, ya, pg.HSYM, cc.symbol, 0.0f, -1);
    }
}

// The first point of a curve to draw: over a crank angle, a series that begins at the end of a
// revolution (360 degrees, then on from 0) starts where the angle starts, so that no line runs
// back across the diagram.
int first_point(int ka, const Series& x, int N) {
    const std::string_view unit = trimmed(unit_text(ka));
    const bool crank_angle = unit == "WINKELGRAD" || unit == "BOGENMASS";
    return crank_angle && N >= 2 && x[0] > x[1] ? 1 : 0;
}

// Whether any point of a curve lies on the axes; one on a scale not made for it may have none.
bool any_on_axes(const DiagramPage& pg, const Series& x, const Series& ys) {
    const auto N = static_cast<std::size_t>(pg.N);
    const float FX = x[N], DX = x[N + 1], FY = ys[N], DY = ys[N + 1];
    if (DX == 0.0f || DY == 0.0f) return true;  // said already: no scale
    for (std::size_t i = 0; i < N; ++i)
        if (on_axes((x[i] - FX) / DX, (ys[i] - FY) / DY, pg.XL, pg.YL)) return true;
    return false;
}

// An empty diagram is never a mystery: a curve on a scale not made for it that misses the axes
// altogether is named in the listings.
void outside_note(runtime::Units& u, int ND, const std::string& name, int kc) {
    for (runtime::Unit* un : {&u.u6, &u.u9})
        un->free("=====>> " + std::to_string(ND) + ". DIAGRAMM: KURVE \"" + name +
                 "\" LIEGT GANZ AUSSERHALB DER ACHSEN (MASSSTAB \"" + std::string(trimmed(unit_text(kc))) +
                 "\" AUS DER EINGABE ODER EINEM ANDEREN DIAGRAMM)");
}

// The legend entry of a curve at (legx, legy): its marker, a short line where the text begins
// blank, and the text.
void draw_legend(device::Plotter& pl, float h, const CurveCounters& cc, const std::string& leg,
                 float legx, float legy) {
    if (leg.size() <= 1) return;
    const float ym = legy + 0.5f * h;
    SYMBLI(pl, legx, ym, h, cc.symbol, 0.0f, -1);
    if (leg.compare(0, 4, "    ") == 0) {
        device::PLOT(pl, legx - 2.0f * h, ym, 3);
        device::PLOT(pl, legx + 2.0f * h, ym, 2);
    }
    SYMBOL(pl, legx, legy, h, leg, 0.0f, static_cast<int>(leg.size()));
    const float left = legx - (leg.compare(0, 4, "    ") == 0 ? 2.0f : 0.5f) * std::fabs(h);
    device::note_lettering(pl, left, legy, legx + lettering_length(h, leg.size()), legy + std::fabs(h),
                           device::Lettering::legend);
}

// The curve of ordinate slot J (1-based): its extremes, its legend place (2 HSYM below the one
// before, below those of the curves earlier runs put into the diagram), the area it encloses
// with the T-S or p-V extras, the curve and its legend (not with GITTER 7), and the sum of a
// rate over TIME.
void one_curve(device::Plotter& pl, properties::SteamState& steam, const DiaInputs& in,
               const DiagramPage& pg, const CurveCounters& cc, DiagramDefinition& def,
               DiagramSeries& ser, DiagramWork& w, int J) {
    runtime::Units& u = pl.units;
    const std::size_t j = static_cast<std::size_t>(J - 1);
    const int IO = def.IO[j];
    const int kc = def.ID[j];
    Series& ys = ser.y[j];
    const std::string name(trimmed(NAMEG(IO)));
    if (u.level(2)) list_extremes(u, pg.N, ser.x, ys, name, kc, w.xname, w.ka);
    def.drawn_as.legtop -= 2.0f * w.legh;
    const float legy = def.drawn_as.legtop;

    std::string qtext = name + "-" + w.xname;
    qtext.resize(8, ' ');
    const int GITTER = gitter_of(def);
    CurveArea a;
    if (entropy_abscissa(w.IA) && kc == 1) {
        bool skip = false;
        a = ts_area(pl, steam, in, pg, GITTER, ser.x, ys, qtext, w, skip);
        if (skip) return;
    } else if (w.ka == 6 && kc == 7 && pg.N >= 1) {
        a = pv_area(pl, in, pg, GITTER, ser.x, ys, qtext, w, def.drawn_as);
    }

    w.drawn[static_cast<std::size_t>(w.ndrawn++)] = J - 1;
    if (GITTER != 7) {
        const std::string leg = legend_text(name, a.integrated, def.NBILD, a.work, in.ETA1, in.ETA2, in.ETA3);
        // A curve on a scale made for its own values is drawn whole; one on a scale from the
        // deck, from another diagram or from an earlier run is cut to the axes.
        const bool whole = w.x_own && w.y_own[j];
        const int from = first_point(w.ka, ser.x, pg.N);
        draw_curve(pl, pg, cc, std::span<const float>(ser.x).subspan(static_cast<std::size_t>(from)),
                   std::span<const float>(ys).subspan(static_cast<std::size_t>(from)), pg.N - from, whole);
        if (!whole && pg.N > 0 && !any_on_axes(pg, ser.x, ys)) outside_note(u, w.ND, name, kc);
        draw_legend(pl, w.legh, cc, leg, w.legx, legy);
        device::SETPEN(pl, 1, 1, 7);
    }
    const bool time_abscissa = w.IA == NPAIRPOS + 1 + static_cast<int>(GlobalField::TIME);
    if (u.level(2) && time_abscissa && !name.empty() && name[0] == 'D') list_time_sum(u, pg.N, ser.x, ys, name, kc);
}

// ---- One diagram ---------------------------------------------------------------------------------

// A drawn diagram's series for the results observer: the abscissa and the ordinates drawn,
// each headed by its name and the unit text of its class.
void report_series(ResultsObserver& results, int NLAUF, int N, const DiagramDefinition& def,
                   const DiagramSeries& ser, const DiagramWork& w) {
    const auto n_ = static_cast<std::size_t>(N);
    auto heading = [](int I, int k) {
        return std::string(trimmed(NAMEG(I))) + " [" + std::string(trimmed(unit_text(k))) + "]";
    };
    std::array<SeriesResults, MAXORD + 1> cols;
    cols[0] = {heading(def.abscissa_pos, def.abscissa_class), std::span<const float>(ser.x.data(), n_)};
    for (int m = 0; m < w.ndrawn; ++m) {
        const auto j = static_cast<std::size_t>(w.drawn[static_cast<std::size_t>(m)]);
        cols[static_cast<std::size_t>(m) + 1] = {heading(def.IO[j], def.ID[j]),
                                                 std::span<const float>(ser.y[j].data(), n_)};
    }
    const std::size_t n = static_cast<std::size_t>(w.ndrawn) + 1;
    results.diagram({NLAUF, w.ND, std::span<const SeriesResults>(cols.data(), n)});
}

// The part-engine of the abscissa, named in the upper left corner at detail level 4.
void label_part_engine(device::Plotter& pl, const DiagramPage& pg, int pe) {
    if (pe <= 0 || !pl.units.level(4)) return;
    static const char* const parts[4] = {"H1-K1", "H2-K2", "H3-K3", "H4-K4"};
    std::string t = std::string("TEILMASCHINE ") + parts[pe - 1];
    t.resize(20, ' ');
    device::SETPEN(pl, 1, 1, 7);
    SYMBOL(pl, 1.5f * pg.HOE, pg.YL - 1.5f * pg.HOE, pg.HOE, t, 0.0f, 20);
}

void list_diagram_end(runtime::Unit& u9, const DiagramDefinition& def, const DiagramWork& w) {
    runtime::Unit::FreeRecord rec(u9);
    rec.add(" ============>> ENDE DES ");
    rec.add(w.ND);
    rec.add(". DIAGRAMMS: ");
    rec.add(std::string_view(w.xname));
    add_names(rec, def);
    rec.finish();
}

// Scaling, axes and frame of diagram ND: false when its abscissa or its only ordinate cannot
// be drawn.
bool scale_and_frame(device::Plotter& pl, DiagramState& d, const DiagramPage& pg, std::string_view heading,
                     DiagramWork& w) {
    runtime::Units& u = pl.units;
    DiagramDefinition& def = d.def[static_cast<std::size_t>(w.ND - 1)];
    DiagramSeries& ser = d.series[static_cast<std::size_t>(w.ND - 1)];
    if (!check_abscissa(u, d, w.ND, pl.NFAIL, pg.NZYL)) return false;
    w.IA = def.abscissa_pos;
    w.ka = def.abscissa_class > 0 ? def.abscissa_class : catalogue_class(w.IA);
    def.abscissa_class = w.ka;
    w.pe = part_engine(w.IA);
    w.xname = std::string(trimmed(NAMEG(w.IA)));
    if (!(pg.adding_run && def.AX == 1)) label_part_engine(pl, pg, w.pe);
    scale_abscissa(u, d, ser.x, pg, w);

    const int nord = std::clamp(def.NORD, 0, MAXORD);
    const int usable = check_ordinates(u, d, w.ND, pl.NFAIL, pg.NZYL);
    if (nord == 1 && usable == 0) return false;
    preset_ordinate_scales(d, def, ser, pg.N);
    w.g = group_ordinates(def);
    if (pg.adding_run && def.AX == 1) {
        note_adding(u.u9, def, w);
    } else {
        for (int gi = 0; gi < w.g.n; ++gi) scale_ordinate_group(u, d, ser, pg, w, gi);
        draw_frame(pl, pg, heading, def, ser, w.g);
        def.drawn_as = {pg.XL, pg.YL, pg.HOE, pg.HSYM, legend_x(w.g.n, pg.XL, pg.HOE), pg.YL + 0.5f * pg.HSYM, false};
    }
    return true;
}

// A run adding its curves into the diagrams of the run before has no diagram for a definition
// beyond those: the page was laid out for those alone, so the listings say why it is not drawn.
void no_diagram_to_add_to(runtime::Units& u, int ND) {
    for (runtime::Unit* un : {&u.u6, &u.u9})
        un->free(" =====>> " + std::to_string(ND) + ". DIAGRAMM: IM VORHERIGEN LAUF NICHT GEZEICHNET; KEIN PLATZ "
                 "AUF DER SEITE, ES WIRD NICHT GEZEICHNET");
}

// The page a diagram is drawn on: a diagram drawn before keeps its axes and lettering, so that
// curves added into it are cut to its axes and their legend joins its legend column.
DiagramPage page_of(const DiagramPage& run_page, const DiagramDefinition& def) {
    DiagramPage pg = run_page;
    if (!run_page.adding_run || def.AX != 1) return pg;
    pg.XL = def.drawn_as.XL;
    pg.YL = def.drawn_as.YL;
    pg.HOE = def.drawn_as.HOE;
    pg.HSYM = def.drawn_as.HSYM;
    return pg;
}

// The lettering height of the legend entries the run's curves give a diagram: HSYM, or less
// when the room left in its legend column would not hold them all above the abscissa; below it
// stand the axes and legends of other diagrams.
float legend_height(const DiagramPage& pg, const DiagramDefinition& def) {
    int m = 0;
    for (int j = 0; j < std::clamp(def.NORD, 0, MAXORD); ++j) m += def.IO[static_cast<std::size_t>(j)] != 0;
    const float room = def.drawn_as.legtop;
    if (m == 0 || !(pg.HSYM > 0.0f) || room - 2.0f * pg.HSYM * static_cast<float>(m) >= 0.0f) return pg.HSYM;
    return std::max(room, 0.0f) / (2.0f * static_cast<float>(m));
}

// Diagram ND: its origin, scaling, axes and frame, one curve per ordinate slot with its
// integrals, markers and legend, the series for the observer and the closing message.
void one_diagram(device::Plotter& pl, DiagramState& d, const DiaInputs& in, const DiagramPage& run_page,
                 properties::SteamState& steam, CurveCounters& cc, ResultsObserver* results, int NLAUF, int ND) {
    DiagramDefinition& def = d.def[static_cast<std::size_t>(ND - 1)];
    DiagramSeries& ser = d.series[static_cast<std::size_t>(ND - 1)];
    if (run_page.adding_run && def.AX != 1) return no_diagram_to_add_to(pl.units, ND);
    const float XX = def.XX, YY = def.YY;
    device::PLOT(pl, XX, YY, -3);
    const DiagramPage pg = page_of(run_page, def);
    DiagramWork w;
    w.ND = ND;
    if (scale_and_frame(pl, d, pg, in.heading, w)) {
        if (!pg.adding_run) cc.restart_colours();
        cc.restart_positions(pg.adding_run, gitter_of(def));
        w.legx = def.drawn_as.legx;
        const int nord = std::clamp(def.NORD, 0, MAXORD);
        w.legh = legend_height(pg, def);
        w.legx = std::max(w.legx, clear_of_axes(pg.XL, w.legh));
        w.key_drawn = def.drawn_as.key;
        for (int J = 1; J <= nord; ++J) {
            cc.advance();
            if (def.IO[static_cast<std::size_t>(J - 1)] != 0) one_curve(pl, steam, in, pg, cc, def, ser, w, J);
        }
        def.drawn_as.key = w.key_drawn;
        if (results != nullptr) report_series(*results, NLAUF, pg.N, def, ser, w);
        list_diagram_end(pl.units.u9, def, w);
    }
    device::PLOT(pl, -XX, -YY, -3);
}

}  // namespace

// ---- Pieces ----------------------------------------------------------------------------------

SeriesRange series_range(const Series& s, int N) {
    SeriesRange r;
    for (int i = 0; i < N; ++i) {
        const float v = s[static_cast<std::size_t>(i)];
        if (!std::isfinite(v)) continue;
        if (r.ilo < 0 || v < r.lo) r.lo = v, r.ilo = i;
        if (r.ihi < 0 || v > r.hi) r.hi = v, r.ihi = i;
    }
    return r;
}

void CurveCounters::restart_positions(bool adding, int GITTER) {
    if (GITTER >= 5) {
        pos = {0, 0, 0};
        step = 0;
        return;
    }
    pos = {80, 170, 280};
    step = adding ? 15 : 25;
}

void CurveCounters::advance() {
    colour += 1;
    if (colour >= 15) colour = 1;
    symbol += 1;
    if (symbol >= 13) symbol = 1;
    if (step == 0) return;
    for (int& q : pos) {
        q += step;
        if (q >= 360) q = 50;
    }
}

int marker_index(int POS, int N) {
    if (POS <= 0 || N <= 0) return 0;
    const long long i = static_cast<long long>(POS) * N / 360;
    return static_cast<int>(std::min<long long>(i, N));
}

std::string legend_text(const std::string& name, bool integrated, int NBILD, double work,
                        double eta1, double eta2, double eta3) {
    // The six-character name, right-justified in ten.
    std::string n6(trimmed(name).substr(0, 6));
    n6.resize(6, ' ');
    std::string t = runtime::A(n6, 10);
    if (!integrated || NBILD <= 0) return t;
    const double a = std::fabs(work);
    const int dec = a > 10000.0 ? 0 : (a >= 1000.0 ? 1 : (a >= 100.0 ? 2 : (a >= 10.0 ? 3 : 4)));
    const std::string wk = "Wk=" + runtime::F(work, 7, dec) + " WATT * SEC";
    const std::string e1 = "]h.u=" + runtime::F(eta1, 7, 2) + " %";
    const std::string e2 = "]e.i=" + runtime::F(eta2, 7, 2) + " %";
    const std::string e3 = "]e.r=" + runtime::F(eta3, 7, 2) + " %";
    switch (NBILD) {
        case 1: return t + wk;
        case 2: return t + e1;
        case 3: return t + e2;
        case 4: return t + e3;
        default: return t + wk + e1 + " " + e2 + " " + e3 + " ";
    }
}

int ordinate_titles(const DiagramDefinition& def, std::array<std::string, MAXORD>& titles) {
    const OrdinateGroups g = group_ordinates(def);
    for (int gi = 0; gi < g.n; ++gi) titles[static_cast<std::size_t>(gi)] = group_title(def, g, gi);
    return g.n;
}

float legend_x(int NGROUPS, float XL, float HOE) {
    return XL + (NGROUPS > 2 ? 30.0f : (NGROUPS == 2 ? 8.0f : 2.5f)) * HOE;
}

namespace {

// How far right of its origin the legend column of a diagram reaches, from its definition as
// the deck gives it: the ordinate axes its names ask for, and the longest legend its curves
// can get (the work and efficiency pieces only where the diagram integrates an area).
float legend_reach(const DiagramDefinition& def, float XL, float HOE, float HSYM) {
    const int IA = catalogue_position(def.abscissa);
    const int ka = catalogue_class(IA);
    std::array<int, MAXORD> cls{};
    int ngroups = 0;
    bool integrates = false;
    for (int j = 0; j < std::clamp(def.NORD, 0, MAXORD); ++j) {
        const int k = catalogue_class(catalogue_position(def.ordinate[static_cast<std::size_t>(j)]));
        if (k < 1) continue;
        if (std::find(cls.begin(), cls.begin() + ngroups, k) == cls.begin() + ngroups) cls[static_cast<std::size_t>(ngroups++)] = k;
        if ((ka == 6 && k == 7) || (entropy_abscissa(IA) && k == 1 && gitter_of(def) >= 6)) integrates = true;
    }
    const float advance = HSYM > 0.0f ? HSYM : -6.0f * HSYM / 7.0f;
    const std::size_t len = legend_text("", integrates, def.NBILD, 0.0, 0.0, 0.0, 0.0).size();
    return std::max(legend_x(ngroups, XL, HOE), clear_of_axes(XL, HSYM)) + static_cast<float>(len) * advance;
}

}  // namespace

Placement place_diagrams(DiagramState& d, float XL, float YL, float HOE, float HSYM) {
    Placement pl;
    const float W0 = XL + 38.0f * HOE;
    pl.H = YL + 18.0f * HOE;
    const int n = std::clamp(d.IIFREI, 0, MAXDIA);
    // The room of a diagram begins 8 HOE left of its origin; a legend reaching beyond the room
    // widens its column, keeping half a character height clear of the next.
    std::array<float, (MAXDIA + 1) / 2> width{};
    int k = 0;
    for (int i = 0; i < n; ++i) {
        const DiagramDefinition& def = d.def[static_cast<std::size_t>(i)];
        if (def.FREI != 1) continue;
        float& w = width[static_cast<std::size_t>(k++ / 2)];
        const float need = 8.0f * HOE + legend_reach(def, XL, HOE, HSYM) + 0.5f * HOE;
        w = std::max(w, W0);
        if (std::isfinite(need) && need > w) w = need;
    }
    // x of column c: c widths while the columns are alike, else the sum of those before.
    auto column_x = [&](int c) {
        bool alike = true;
        float sum = 0.0f;
        for (int j = 0; j < c; ++j) {
            alike = alike && width[static_cast<std::size_t>(j)] == width[0];
            sum += width[static_cast<std::size_t>(j)];
        }
        return alike ? static_cast<float>(c) * width[0] : sum;
    };
    for (int i = 0; i < n; ++i) {
        DiagramDefinition& def = d.def[static_cast<std::size_t>(i)];
        if (def.FREI != 1) continue;
        const int col = pl.count / 2;
        // A diagram drawn before, which a later run adds its curves into, keeps its place.
        if (def.AX != 1) {
            def.XX = column_x(col);
            def.YY = static_cast<float>(pl.count % 2) * pl.H;
        }
        pl.xmax = std::max(pl.xmax, def.XX);
        pl.W = width[static_cast<std::size_t>(col)];
        ++pl.count;
    }
    if (pl.count == 0) pl.W = W0;
    return pl;
}

DiaInputs collect_dia_inputs(const Program& p) {
    DiaInputs in;
    const simulation::SimState& s = p.sim;
    const run::RunState& r = p.run;
    for (std::size_t i = 0; i < 4; ++i) {
        in.VG[i] = s.pair[i][PF::VG];
        in.S1[i] = s.pair[i][PF::S1];
        in.T1[i] = s.pair[i][PF::T1];
        in.S3[i] = s.pair[i][PF::S3];
        in.T3[i] = s.pair[i][PF::T3];
        in.M0[i] = r.M0[i];
        in.XCVMOL[i] = r.CV * r.MG * r.M0[i];
        in.XM0[i] = r.M0[i] * 8.315;
        const bool drive2 = i == 1 || i == 3;
        in.VXMAX[i] = drive2 ? s.V2MAX_REV : s.VMAX_REV;
        in.VXMIN[i] = drive2 ? s.V2MIN_REV : s.VMIN_REV;
    }
    in.TH = r.TH > 0.0 ? r.TH : r.THNEU;
    in.TK = r.TK > 0.0 ? r.TK : r.TKNEU;
    in.TE_MAX = s.pre.TE_MAX > 0.0 ? s.pre.TE_MAX : in.TH;
    in.TC_MIN = s.pre.TC_MIN > 0.0 ? s.pre.TC_MIN : in.TK;
    in.FDAMPF = r.FDAMPF;
    in.IANGLE = s.MARK;
    in.ANGLE = s.ANGLE;
    in.ETA1 = s.rev.ETA_N;
    in.ETA2 = s.rev.AUSN_I;
    in.ETA3 = s.rev.AREF_I;
    in.heading = r.caption_line;
    return in;
}

// ---- DIA -----------------------------------------------------------------------------------

void DIA(Program& p) {
    DiagramState& d = p.dia;
    const run::RunState& r = p.run;
    const DiaInputs in = collect_dia_inputs(p);
    device::Plotter pl = p.plotter();
    DiagramPage pg;
    pg.N = std::clamp(d.NPLOT, 0, NPLOTMAX);
    pg.XL = r.XL;
    pg.YL = r.YL;
    pg.HOE = r.HOE;
    pg.HSYM = r.HSYM;
    pg.NDEC = r.SCALE != 0 ? -std::abs(r.SCALE) : -2;
    pg.NZYL = std::max(1, r.NZYL);
    // A later run with 0 < IBACK < 10 adds its curves into the diagrams of the run before, on
    // their scales; every other run starts from the deck's scaling values.
    pg.adding_run = r.IBACK > 0 && r.IBACK < 10 && r.NLAUF > 1;
    CurveCounters cc;
    if (pg.adding_run) {
        // The curves continue the colours and symbols of those already in the diagrams.
        cc.colour = d.ICOLOR;
        cc.symbol = d.ISYMB;
    } else {
        init_scale_table(d);
    }
    const int n = std::clamp(d.IIFREI, 0, MAXDIA);
    for (int ND = 1; ND <= n; ++ND) {
        if (d.def[static_cast<std::size_t>(ND - 1)].FREI != 1) continue;
        one_diagram(pl, d, in, pg, p.steam, cc, p.results, r.NLAUF, ND);
    }
    device::SETPEN(pl, 1, 1, 7);
    d.ICOLOR = cc.colour;
    d.ISYMB = cc.symbol;
}

}  // namespace korvex::diagrams
