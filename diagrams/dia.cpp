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

using PF = simulation::PairField;

std::string_view trimmed(std::string_view s) {
    const auto e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string_view() : s.substr(0, e + 1);
}

// The option code as the drawing uses it: every code above 8 draws what 8 draws (frame and
// isotherms from the extreme temperatures, crank-angle marks, grid).
int gitter_of(const DiagramDefinition& def) { return std::min(def.GITTER, 8); }

// Everything one diagram needs besides its definition and series.
struct Ctx {
    Ctx(Program& prog, const DiaInputs& inputs) : p(prog), pl(prog.plotter()), in(inputs) {}
    Program& p;
    device::Plotter pl;
    const DiaInputs& in;
    int N = 0;
    float XL = 0, YL = 0, HOE = 0, HSYM = 0;
    int NDEC = -2;
    int NZYL = 1;
    bool adding_run = false;
    CurveCounters cc;
};

struct Range {
    float lo = 0.0f, hi = 0.0f;
    int ilo = -1, ihi = -1;
};

// Smallest and largest finite value of the first N cells, with their indices (-1 when no
// cell holds a number).
Range range_of(const Series& s, int N) {
    Range r;
    for (int i = 0; i < N; ++i) {
        const float v = s[static_cast<std::size_t>(i)];
        if (!std::isfinite(v)) continue;
        if (r.ilo < 0 || v < r.lo) r.lo = v, r.ilo = i;
        if (r.ihi < 0 || v > r.hi) r.hi = v, r.ihi = i;
    }
    return r;
}

// Maximum and minimum of a curve with the abscissa values where they occur.
void list_extremes(Ctx& c, const Series& x, const Series& y, std::string_view name, int kc,
                   std::string_view xname, int kx) {
    if (c.N < 1) return;
    const Range r = range_of(y, c.N);
    if (r.ihi < 0) return;
    runtime::Units& u = c.p.units;
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
void list_time_sum(Ctx& c, const Series& t, const Series& y, std::string_view name, int kc) {
    const int N = c.N;
    if (N < 2) return;
    auto T = [&](int i) { return static_cast<double>(t[static_cast<std::size_t>(i - 1)]); };
    auto Y = [&](int i) { return static_cast<double>(y[static_cast<std::size_t>(i - 1)]); };
    double S = T(1) == 0.0 ? 0.0 : Y(1) * (T(2) - T(1));
    for (int i = 2; i <= N; ++i) S += Y(i) * (T(i) - T(i - 1));
    runtime::Units& u = c.p.units;
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

// Ordinate groups: the usable slots by class, in order of appearance.
struct Groups {
    int n = 0;
    std::array<int, MAXORD> cls{};
    std::array<std::array<int, MAXORD>, MAXORD> slot{};
    std::array<int, MAXORD> count{};
};

Groups group_ordinates(const DiagramDefinition& def) {
    Groups g;
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
std::string group_title(const DiagramDefinition& def, const Groups& g, int gi) {
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

// A zero line across the diagram where an ordinate scale passes through 0.
void zero_line(Ctx& c, float first, float delta, int style) {
    if (!(first < 0.0f) || delta == 0.0f || !std::isfinite(delta)) return;
    const float y = -first / delta;
    if (!(y > 0.0f && y < c.YL)) return;
    device::SETPEN(c.pl, style, 1, 7);
    device::PLOT(c.pl, 0.0f, y, 3);
    device::PLOT(c.pl, c.XL, y, 2);
    device::SETPEN(c.pl, 1, 1, 7);
}

// Axes, titles, heading, captions and grid of a new diagram.
void draw_frame(Ctx& c, DiagramDefinition& def, const DiagramSeries& ser, const Groups& g) {
    device::Plotter& pl = c.pl;
    const int N = c.N;
    const int ka = def.abscissa_class;
    const int GITTER = gitter_of(def);
    if (GITTER == 4 || GITTER == 8) NETZ(pl, 0.0f, 0.0f, c.XL, c.YL, 1.0f, 1.0f, 4.0f, 4.0f);

    device::SETPEN(pl, 1, 1, 7);
    const std::string xt = std::string(trimmed(NAMEG(def.abscissa_pos))) + " " + std::string(trimmed(unit_text(ka)));
    ACHSE(pl, 0.0f, 0.0f, xt, -static_cast<int>(xt.size()), c.XL, 0.0f, ser.x[static_cast<std::size_t>(N)],
          ser.x[static_cast<std::size_t>(N) + 1], c.NDEC, c.HOE);

    const bool other_side = GITTER == 3;
    std::array<std::string, MAXORD> titles;
    ordinate_titles(def, titles);
    for (int gi = 0; gi < g.n && gi < MAXORD; ++gi) {
        const int j0 = g.slot[static_cast<std::size_t>(gi)][0];
        const Series& s = ser.y[static_cast<std::size_t>(j0)];
        const float first = s[static_cast<std::size_t>(N)], delta = s[static_cast<std::size_t>(N) + 1];
        const std::string& t = titles[static_cast<std::size_t>(gi)];
        const int len = static_cast<int>(t.size());
        float x = 0.0f;
        int nc = len;
        if (gi == 0) {
            nc = other_side ? -len : len;
        } else if (gi == 1) {
            x = c.XL;
            nc = other_side ? len : -len;
        } else {
            const int k = gi + 1;  // axis number 3..8
            x = k <= 4 ? c.XL + 11.0f * c.HOE : (k <= 6 ? c.XL + 22.0f * c.HOE : (k == 7 ? c.XL : 0.0f));
            nc = (k % 2 == 1) ? len : -len;
        }
        device::SETPEN(pl, 1, 1, 7);
        ACHSE(pl, x, 0.0f, t, nc, c.YL, 90.0f, first, delta, c.NDEC, c.HOE);
        if (gi == 0) zero_line(c, first, delta, 2);
        if (gi == 1) zero_line(c, first, delta, 3);
    }

    device::SETPEN(pl, 1, 1, 7);
    if (c.p.units.level(4)) {
        const std::string_view h = trimmed(c.in.heading);
        if (!h.empty()) {
            if (h.size() <= 66) {
                SYMBOL(pl, 2.0f * c.HOE, c.YL + 2.5f * c.HOE, c.HOE, h, 0.0f, static_cast<int>(h.size()));
            } else {
                SYMBOL(pl, 2.0f * c.HOE, c.YL + 2.5f * c.HOE, c.HOE, h.substr(0, 65), 0.0f, 65);
                const std::string_view rest = h.substr(65);
                SYMBOL(pl, 2.0f * c.HOE, c.YL + 0.5f * c.HOE, c.HOE, rest, 0.0f, static_cast<int>(rest.size()));
            }
        }
    }
    const int ncap = std::clamp(def.ncaption, 0, 3);
    for (int k = 0; k < ncap; ++k) {
        const std::string_view cap = trimmed(std::string_view(def.caption[static_cast<std::size_t>(k)]).substr(0, 79));
        if (cap.empty()) continue;
        SYMBOL(pl, 0.0f, -(8.0f + 2.0f * k) * c.HOE, c.HOE, cap, 0.0f, static_cast<int>(cap.size()));
    }
    def.AX = 1;
}

// An axis left without a scale (an axis length of 0 leaves none to compute) carries no curve;
// the listings say so where the curve's lines would stand.
void no_scale_note(Ctx& c, int ND, std::string_view axis, float L) {
    for (runtime::Unit* un : {&c.p.units.u6, &c.p.units.u9})
        un->free("=====>> " + std::to_string(ND) + ". DIAGRAMM: ACHSE \"" + std::string(axis) +
                     "\" OHNE MASSSTAB, ACHSENLAENGE=",
                 L, " CM; KEINE KURVE");
}

// Field k (0-based) of the per-pair block that position I addresses; -1 for a global one.
int pair_field(int I) { return (I >= 1 && I <= NPAIRPOS) ? (I - 1) % NPAIRQ : -1; }

// A drawn diagram's series for the results observer: the abscissa and the ordinates drawn,
// each headed by its name and the unit text of its class.
void report_series(const Ctx& c, int ND, const DiagramDefinition& def, const DiagramSeries& ser,
                   const std::array<int, MAXORD>& drawn, int ndrawn) {
    const auto N = static_cast<std::size_t>(c.N);
    auto heading = [](int I, int k) {
        return std::string(trimmed(NAMEG(I))) + " [" + std::string(trimmed(unit_text(k))) + "]";
    };
    std::array<SeriesResults, MAXORD + 1> cols;
    cols[0] = {heading(def.abscissa_pos, def.abscissa_class), std::span<const float>(ser.x.data(), N)};
    for (int m = 0; m < ndrawn; ++m) {
        const auto j = static_cast<std::size_t>(drawn[static_cast<std::size_t>(m)]);
        cols[static_cast<std::size_t>(m) + 1] = {heading(def.IO[j], def.ID[j]),
                                                 std::span<const float>(ser.y[j].data(), N)};
    }
    const std::size_t n = static_cast<std::size_t>(ndrawn) + 1;
    c.p.results->diagram({c.p.run.NLAUF, ND, std::span<const SeriesResults>(cols.data(), n)});
}

// Whether position I is the entropy S1, S2 or S3 of a part-engine: the abscissa of a T-S
// diagram.
bool entropy_abscissa(int I) {
    const int f = pair_field(I);
    return part_engine(I) > 0 && (f == static_cast<int>(PF::S1) || f == static_cast<int>(PF::S2) ||
                                  f == static_cast<int>(PF::S3));
}

void one_diagram(Ctx& c, int ND) {
    DiagramState& d = c.p.dia;
    runtime::Units& u = c.p.units;
    int& NFAIL = c.p.run.NFAIL;
    DiagramDefinition& def = d.def[static_cast<std::size_t>(ND - 1)];
    DiagramSeries& ser = d.series[static_cast<std::size_t>(ND - 1)];
    device::Plotter& pl = c.pl;
    const int N = c.N;
    const float XX = def.XX, YY = def.YY;

    device::PLOT(pl, XX, YY, -3);
    auto back = [&] { device::PLOT(pl, -XX, -YY, -3); };

    if (!check_abscissa(u, d, ND, NFAIL, c.NZYL)) return back();
    const int IA = def.abscissa_pos;
    const int ka = def.abscissa_class > 0 ? def.abscissa_class : catalogue_class(IA);
    def.abscissa_class = ka;
    const int pe = part_engine(IA);
    const int pi = pe > 0 ? pe - 1 : 0;
    const std::string xname(trimmed(NAMEG(IA)));
    if (pe > 0 && u.level(4)) {
        static const char* const parts[4] = {"H1-K1", "H2-K2", "H3-K3", "H4-K4"};
        std::string t = std::string("TEILMASCHINE ") + parts[pi];
        t.resize(20, ' ');
        device::SETPEN(pl, 1, 1, 7);
        SYMBOL(pl, 1.5f * c.HOE, c.YL - 1.5f * c.HOE, c.HOE, t, 0.0f, 20);
    }

    // Abscissa scale: the class's pair, or an automatic one written back for later axes. A
    // scale made here from the series itself holds every point; any other may not.
    bool x_own = false;
    {
        float f = first_value(d, ka), dl = delta_value(d, ka);
        set_series_scale(ser.x, N, f, dl);
        if (dl == 0.0f && N > 0) {
            SKALIE(ser.x, c.XL, N, 1);
            f = ser.x[static_cast<std::size_t>(N)];
            dl = ser.x[static_cast<std::size_t>(N) + 1];
            if (dl != 0.0f) store_scale(d, ka, f, dl);
            x_own = dl != 0.0f;
        }
        if (dl == 0.0f && N > 0) no_scale_note(c, ND, xname, c.XL);
    }

    const int nord = std::clamp(def.NORD, 0, MAXORD);
    const int usable = check_ordinates(u, d, ND, NFAIL, c.NZYL);
    if (nord == 1 && usable == 0) return back();
    for (int j = 0; j < nord; ++j) {
        const int k = def.ID[static_cast<std::size_t>(j)];
        if (def.IO[static_cast<std::size_t>(j)] == 0 || k < 1) continue;
        set_series_scale(ser.y[static_cast<std::size_t>(j)], N, first_value(d, k), delta_value(d, k));
    }

    const Groups g = group_ordinates(def);
    std::array<bool, MAXORD> y_own{};   // by ordinate slot: its scale was made from its group
    const bool adding = c.adding_run && def.AX == 1;
    if (adding) {
        runtime::Unit::FreeRecord rec(u.u9);
        rec.add(ND);
        rec.add(". DIAGRAMM: ");
        rec.add(std::string_view(xname));
        add_names(rec, def);
        rec.add("     WIRD IN DAS SCHON BESTEHENDE DIAGRAMM AUS DEM VORHERIGEN LAUF GEZEICHNET");
        rec.finish();
    } else {
        // Ordinate scales per class group. The search for the largest value starts just below
        // 0, so an axis of values that are all negative reaches up to 0.
        for (int gi = 0; gi < g.n; ++gi) {
            const auto gs = static_cast<std::size_t>(gi);
            const int k = g.cls[gs];
            float lo = 1.0e38f, hi = -1.0e-37f;
            bool any = false;
            for (int m = 0; m < g.count[gs]; ++m) {
                const Range r = range_of(ser.y[static_cast<std::size_t>(g.slot[gs][static_cast<std::size_t>(m)])], N);
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
                SKALIE(a, c.YL, 2, 1);
                f = a[2];
                dl = a[3];
                own = dl != 0.0f;
            }
            if (dl != 0.0f) store_scale(d, k, f, dl);
            else if (N > 0) no_scale_note(c, ND, trimmed(unit_text(k)), c.YL);
            for (int m = 0; m < g.count[gs]; ++m) {
                const auto j = static_cast<std::size_t>(g.slot[gs][static_cast<std::size_t>(m)]);
                set_series_scale(ser.y[j], N, f, dl);
                y_own[j] = own;
            }
        }
        draw_frame(c, def, ser, g);
        def.nlegend = 0;
    }

    // Curves.
    if (!c.adding_run) c.cc.restart_colours();
    const int GITTER = gitter_of(def);
    c.cc.restart_positions(c.adding_run, GITTER);
    const float legx = legend_x(g.n, c.XL, c.HOE);
    const bool is_ts_abscissa = entropy_abscissa(IA);
    const int xfield = pair_field(IA);
    const bool time_abscissa = IA == NPAIRPOS + 1 + static_cast<int>(GlobalField::TIME);
    bool frame_done = false, iso_done = false;
    FrameResult fr;
    FramePoints fp;
    std::array<int, MAXORD> drawn{};
    int ndrawn = 0;

    for (int J = 1; J <= nord; ++J) {
        c.cc.advance();
        const std::size_t j = static_cast<std::size_t>(J - 1);
        const int IO = def.IO[j];
        if (IO == 0) continue;
        const int kc = def.ID[j];
        Series& ys = ser.y[j];
        const std::string name(trimmed(NAMEG(IO)));
        if (u.level(2)) list_extremes(c, ser.x, ys, name, kc, xname, ka);
        // The legend place of the curve: 2 HSYM below the one before, below those of the curves
        // earlier runs put into the diagram.
        def.nlegend += 1;
        float legy = c.YL + 0.5f * c.HSYM;
        for (int k = 0; k < def.nlegend; ++k) legy -= 2.0f * c.HSYM;

        bool integrated = false;
        double work = 0.0;
        std::string qtext = name + "-" + xname;
        qtext.resize(8, ' ');
        auto integral_line = [&](double v) {
            if (!u.level(2)) return;
            for (runtime::Unit* un : {&u.u6, &u.u9})
                un->free(" DIA--> QINT: INTEGRAL DES \"" + qtext + "\" DIAGRAMMS:", v, " WATT * SEC");
        };

        if (is_ts_abscissa && kc == 1) {
            int ITYP = xfield == static_cast<int>(PF::S1) ? 1 : (xfield == static_cast<int>(PF::S2) ? 2 : 3);
            if (ITYP == 2 && !c.in.FDAMPF) {
                u.u6.line(" =====>> ERROR: PLOT \"S2\" ABER KEINE DAMPF BERECHNUNG SPEZIFIZIERT");
                u.u9.line(" =====>> ERROR: PLOT \"S2\" ABER KEINE DAMPF BERECHNUNG SPEZIFIZIERT; ES WIRD NUR "
                          "DIE GAS-KOMPONENTE GEPLOTTET");
                NFAIL = 112;
                ITYP = 1;
            } else if (ITYP == 3 && !c.in.FDAMPF) {
                u.u6.line(" =====>> ERROR: PLOT \"S3\" ABER KEINE DAMPF BERECHNUNG SPEZIFIZIERT");
                u.u9.line(" =====>> ERROR: PLOT \"S3\" ABER KEINE DAMPF BERECHNUNG SPEZIFIZIERT: KEIN DIAGRAMM");
                NFAIL = 112;
                continue;
            }
            if (GITTER >= 6 && N >= 2) {
                const QintResult q = QINT(u, ser.x, ys, N, "T", qtext);
                integrated = true;
                work = q.QNUTZ;
                integral_line(work);
                if (GITTER == 7 || GITTER == 8) {
                    if (!frame_done) {
                        FrameInput fi;
                        const double lo = GITTER == 7 ? c.in.TK : c.in.TC_MIN;
                        const double hi = GITTER == 7 ? c.in.TH : c.in.TE_MAX;
                        fi.VOLVX = c.in.VXMIN[pi] > 0.0 ? c.in.VXMAX[pi] / c.in.VXMIN[pi] : 0.0;
                        fi.TCMIN = lo;
                        fi.TEMAX = hi;
                        fi.FT = ys[static_cast<std::size_t>(N)];
                        fi.DT = ys[static_cast<std::size_t>(N) + 1];
                        fi.XCVMOL = c.in.XCVMOL[pi];
                        fi.XM0 = c.in.XM0[pi];
                        fi.T1 = c.in.T1[pi];
                        fi.S1 = c.in.S1[pi];
                        fi.T3 = c.in.T3[pi];
                        fi.S3 = c.in.S3[pi];
                        fi.ITYP = ITYP;
                        fi.VXMAX = c.in.VXMAX[pi];
                        fi.VGTS = c.in.VG[pi];
                        fi.XL = c.XL;
                        fi.YL = c.YL;
                        fi.FFS1 = ser.x[static_cast<std::size_t>(N)];
                        fi.DDS1 = ser.x[static_cast<std::size_t>(N) + 1];
                        FRAME(pl, c.p.steam, fi, fp, fr);
                        frame_done = true;
                    }
                    if (fr.built) write_utilisation(u, ITYP, work, fr.integral);
                }
                if ((GITTER == 6 || GITTER == 8) && pe == 1)
                    MARKEN(pl, ser.x, ys, N, c.in.IANGLE, c.in.ANGLE, c.HSYM, c.XL, c.YL, c.YL - 1.5f * c.HOE,
                           u.level(3));
            }
        } else if (ka == 6 && kc == 7 && N >= 2) {
            const QintResult q = QINT(u, ser.x, ys, N, "P", qtext);
            integrated = true;
            work = q.QNUTZ;
            integral_line(work);
            if ((GITTER == 7 || GITTER == 8) && !iso_done) {
                IsothermAxes ax;
                ax.FX = ser.x[static_cast<std::size_t>(N)];
                ax.DX = ser.x[static_cast<std::size_t>(N) + 1];
                ax.FY = ys[static_cast<std::size_t>(N)];
                ax.DY = ys[static_cast<std::size_t>(N) + 1];
                ax.XL = c.XL;
                ax.YL = c.YL;
                ax.HOE = c.HOE;
                const double TL = GITTER == 7 ? c.in.TK : c.in.TC_MIN;
                const double DTI = GITTER == 7 ? c.in.TH - c.in.TK : c.in.TE_MAX - c.in.TC_MIN;
                IsothermResult ir;
                ISOTHE(pl, c.in.M0[pi], TL, DTI, c.in.VXMIN[pi], c.in.VXMAX[pi], ax, ir);
                iso_done = true;
            }
            if ((GITTER == 6 || GITTER == 8) && pe == 1 && u.level(1))
                MARKEN(pl, ser.x, ys, N, c.in.IANGLE, c.in.ANGLE, c.HSYM, c.XL, c.YL, c.YL - 1.5f * c.HOE,
                       u.level(3));
        }

        if (c.p.results != nullptr) drawn[static_cast<std::size_t>(ndrawn++)] = J - 1;
        if (GITTER != 7) {
            const std::string leg = legend_text(name, integrated, def.NBILD, work, c.in.ETA1, c.in.ETA2, c.in.ETA3);
            device::SETPEN(pl, 1, 1, c.cc.colour);
            // A curve on a scale made for its own values is drawn whole; one on a scale from the
            // deck, from another diagram or from an earlier run is cut to the axes.
            const bool whole = x_own && y_own[j];
            if (whole) KURVE(pl, ser.x, ys, N, 1, 0, 0);
            else clipped_curve(pl, ser.x, ys, N, 1, c.XL, c.YL);
            const float FX = ser.x[static_cast<std::size_t>(N)], DX = ser.x[static_cast<std::size_t>(N) + 1];
            const float FY = ys[static_cast<std::size_t>(N)], DY = ys[static_cast<std::size_t>(N) + 1];
            if (DX != 0.0f && DY != 0.0f) {
                for (int pos : c.cc.pos) {
                    const int idx = marker_index(pos, N);
                    if (idx < 1) continue;
                    const float xa = (ser.x[static_cast<std::size_t>(idx - 1)] - FX) / DX;
                    const float ya = (ys[static_cast<std::size_t>(idx - 1)] - FY) / DY;
                    if (!whole && !on_axes(xa, ya, c.XL, c.YL)) continue;
                    SYMBLI(pl, xa, ya, c.HSYM, c.cc.symbol, 0.0f, -1);
                }
            }
            if (leg.size() > 1) {
                const float ym = legy + 0.5f * c.HSYM;
                SYMBLI(pl, legx, ym, c.HSYM, c.cc.symbol, 0.0f, -1);
                if (leg.compare(0, 4, "    ") == 0) {
                    device::PLOT(pl, legx - 2.0f * c.HSYM, ym, 3);
                    device::PLOT(pl, legx + 2.0f * c.HSYM, ym, 2);
                }
                SYMBOL(pl, legx, legy, c.HSYM, leg, 0.0f, static_cast<int>(leg.size()));
            }
            device::SETPEN(pl, 1, 1, 7);
        }

        if (u.level(2) && time_abscissa && !name.empty() && name[0] == 'D') list_time_sum(c, ser.x, ys, name, kc);
    }

    if (c.p.results != nullptr) report_series(c, ND, def, ser, drawn, ndrawn);
    {
        runtime::Unit::FreeRecord rec(u.u9);
        rec.add(" ============>> ENDE DES ");
        rec.add(ND);
        rec.add(". DIAGRAMMS: ");
        rec.add(std::string_view(xname));
        add_names(rec, def);
        rec.finish();
    }
    back();
}

}  // namespace

// ---- Pieces ----------------------------------------------------------------------------------

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
    const Groups g = group_ordinates(def);
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
    return legend_x(ngroups, XL, HOE) + static_cast<float>(len) * advance;
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
    Ctx c(p, in);
    c.N = std::clamp(d.NPLOT, 0, NPLOTMAX);
    c.XL = r.XL;
    c.YL = r.YL;
    c.HOE = r.HOE;
    c.HSYM = r.HSYM;
    c.NDEC = r.SCALE != 0 ? -std::abs(r.SCALE) : -2;
    c.NZYL = std::max(1, r.NZYL);
    // A later run with 0 < IBACK < 10 adds its curves into the diagrams of the run before, on
    // their scales; every other run starts from the deck's scaling values.
    c.adding_run = r.IBACK > 0 && r.IBACK < 10 && r.NLAUF > 1;
    if (c.adding_run) {
        // The curves continue the colours and symbols of those already in the diagrams.
        c.cc.colour = d.ICOLOR;
        c.cc.symbol = d.ISYMB;
    } else {
        init_scale_table(d);
    }
    const int n = std::clamp(d.IIFREI, 0, MAXDIA);
    for (int ND = 1; ND <= n; ++ND) {
        if (d.def[static_cast<std::size_t>(ND - 1)].FREI != 1) continue;
        one_diagram(c, ND);
    }
    device::SETPEN(c.pl, 1, 1, 7);
    d.ICOLOR = c.cc.colour;
    d.ISYMB = c.cc.symbol;
}

}  // namespace korvex::diagrams
