#include "shell/core/study.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "device/plot.hpp"
#include "diagrams/plotlib.hpp"
#include "run/deck_ranges.hpp"
#include "shell/core/csv.hpp"
#include "state/program.hpp"

namespace korvex::shell {

namespace {

// More runs than any study on one machine needs; a list beyond it is a slip of the finger.
constexpr std::size_t MAX_STUDY_RUNS = 100000;
constexpr std::size_t DECK_COLUMNS = 80;

std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return u;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A whole number text: the value, or nothing.
std::optional<double> number(std::string_view s) {
    const std::string t(trim(s));
    if (t.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

// Decimals a number text shows ("0.25" -> 2); -1 when it has an exponent.
int decimals(std::string_view s) {
    if (s.find_first_of("eEdD") != std::string_view::npos) return -1;
    const auto dot = s.find('.');
    return dot == std::string_view::npos ? 0 : static_cast<int>(s.size() - dot - 1);
}

// ---- Deck lines ---------------------------------------------------------------------------------

enum class LineKind { blank, comment, caption, stop, run_start, other };

struct DeckLine {
    std::string raw;    // without the line end
    std::string up;     // the first 80 columns in upper case, as the reader searches them
    LineKind kind = LineKind::other;
};

std::vector<DeckLine> deck_lines(std::string_view deck) {
    std::vector<DeckLine> out;
    std::size_t at = 0;
    while (at < deck.size()) {
        auto end = deck.find('\n', at);
        if (end == std::string_view::npos) end = deck.size();
        std::string_view l = deck.substr(at, end - at);
        at = end + 1;
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        DeckLine d;
        d.raw = std::string(l);
        d.up = upper(l.substr(0, std::min(l.size(), DECK_COLUMNS)));
        if (d.up.find("***") != std::string::npos) d.kind = LineKind::comment;
        else if (trim(d.up).empty()) d.kind = LineKind::blank;
        else if (d.up[0] == ':') d.kind = LineKind::caption;
        else if (d.up.find("STOP") != std::string::npos) d.kind = LineKind::stop;
        // Line 1 of a run: "AUS" within its first 18 columns and the run's time.
        else if (d.up.substr(0, 18).find("AUS") != std::string::npos && d.up.find("TIME=") != std::string::npos)
            d.kind = LineKind::run_start;
        out.push_back(std::move(d));
    }
    return out;
}

// Where the runs begin; the end of the job (its STOP line, or the end of the deck) last.
std::vector<std::size_t> run_bounds(const std::vector<DeckLine>& lines) {
    std::vector<std::size_t> b;
    std::size_t i = 0;
    for (; i < lines.size() && lines[i].kind != LineKind::stop; ++i)
        if (lines[i].kind == LineKind::run_start) b.push_back(i);
    b.push_back(i);
    return b;
}

bool keyword_line(const DeckLine& l) { return l.kind == LineKind::other || l.kind == LineKind::run_start; }

// The places where `search` stands in a line as a keyword: not glued to a name before it.
std::vector<std::size_t> keyword_places(const std::string& up, std::string_view search) {
    std::vector<std::size_t> at;
    for (auto p = up.find(search); p != std::string::npos; p = up.find(search, p + 1)) {
        const char before = p == 0 ? ' ' : up[p - 1];
        if (std::isalnum(static_cast<unsigned char>(before)) || before == '/' || before == '_' || before == '-' ||
            before == '.')
            continue;
        at.push_back(p);
    }
    return at;
}

// The value behind a keyword at `from`: its first and one-past-last column.
std::pair<std::size_t, std::size_t> value_span(const std::string& line, std::size_t from) {
    std::size_t a = from;
    while (a < line.size() && line[a] == ' ') ++a;
    std::size_t b = a;
    while (b < line.size() && line[b] != ' ' && line[b] != '\t') ++b;
    return {a, b};
}

// The text a keyword given on the command line is searched as in the deck, and the keyword of
// its range row. A row whose keyword is the end of its name ("OLUMEN=" of "VOLUMEN") is searched
// under the whole name, so that the keyword is not taken for part of a word.
std::pair<std::string, std::string> search_text(const std::string& kw) {
    for (const run::DeckRange& r : run::deck_ranges()) {
        if (upper(r.name) != kw && r.keyword != kw) continue;
        const std::string whole = std::string(r.name) + "=";
        if (whole.size() > r.keyword.size() && whole.ends_with(r.keyword)) return {whole, std::string(r.keyword)};
        return {std::string(r.keyword), std::string(r.keyword)};
    }
    const std::string s = !kw.empty() && (kw.back() == '=' || kw.back() == ':') ? kw : kw + "=";
    return {s, s};
}

// The keyword as the table and messages name it.
std::string shown_name(std::string_view search) {
    while (!search.empty() && (search.back() == '=' || search.back() == ':')) search.remove_suffix(1);
    for (const run::DeckRange& r : run::deck_ranges())
        if (trim(r.keyword.substr(0, r.keyword.find_last_not_of("=:") + 1)) == search) return std::string(r.name);
    return std::string(search);
}

}  // namespace

// ---- --vary ---------------------------------------------------------------------------------------

std::string parse_vary(std::string_view arg, Vary& out) {
    const auto eq = arg.find('=');
    if (eq == std::string_view::npos || eq == 0) return "--vary needs KEYWORD=LIST, e.g. --vary TH=700,800,900";
    out.keyword = upper(trim(arg.substr(0, eq)));
    const std::string_view list = trim(arg.substr(eq + 1));
    const std::string name = "--vary " + out.keyword;
    out.values.clear();
    if (list.empty()) return name + ": the list of values is empty";
    if (list.find(':') != std::string_view::npos) {
        std::string_view part[3];
        std::string_view rest = list;
        for (int k = 0; k < 3; ++k) {
            const auto c = rest.find(':');
            part[k] = trim(rest.substr(0, c));
            rest = c == std::string_view::npos ? std::string_view{} : rest.substr(c + 1);
            if (c == std::string_view::npos && k < 2) return name + ": a range is start:stop:step";
        }
        if (!rest.empty()) return name + ": a range is start:stop:step";
        const auto a = number(part[0]), b = number(part[1]), s = number(part[2]);
        if (!a || !b || !s) return name + ": \"" + std::string(list) + "\" is no range of numbers (start:stop:step)";
        if (*s == 0.0) return name + ": the step of a range may not be 0";
        const double n = std::floor((*b - *a) / *s + 1e-9);
        if (n < 0.0) return name + ": the range " + std::string(list) + " holds no value";
        if (n + 1.0 > static_cast<double>(MAX_STUDY_RUNS))
            return name + ": more than " + std::to_string(MAX_STUDY_RUNS) + " values";
        // Each value with as many decimals as start and step show, so that 0.1:0.3:0.1 gives
        // 0.1, 0.2, 0.3 and not the binary neighbours of them.
        const int d0 = decimals(part[0]), d2 = decimals(part[2]);
        for (long long i = 0; i <= static_cast<long long>(n); ++i) {
            const double v = *a + static_cast<double>(i) * *s;
            char buf[64];
            if (d0 < 0 || d2 < 0) std::snprintf(buf, sizeof buf, "%.10G", v);
            else std::snprintf(buf, sizeof buf, "%.*f", std::max(d0, d2), v);
            out.values.emplace_back(buf);
        }
        return {};
    }
    std::string_view rest = list;
    while (true) {
        const auto c = rest.find(',');
        const std::string_view v = trim(rest.substr(0, c));
        if (v.empty()) return name + ": an empty value in the list \"" + std::string(list) + "\"";
        if (!number(v)) return name + ": \"" + std::string(v) + "\" is no number";
        out.values.emplace_back(v);
        if (out.values.size() > MAX_STUDY_RUNS) return name + ": more than " + std::to_string(MAX_STUDY_RUNS) + " values";
        if (c == std::string_view::npos) break;
        rest = rest.substr(c + 1);
    }
    return {};
}

std::string study_deck(std::string_view deck, const std::vector<Vary>& varies, std::string& problem) {
    const auto lines = deck_lines(deck);
    const auto bounds = run_bounds(lines);
    if (bounds.size() < 2) {
        problem = "the deck has no run to vary (no line 1 with \"AUS\" and TIME=)";
        return {};
    }
    const std::size_t first = bounds[0], end = bounds[1];

    // Where each keyword stands in the first run, and the range its values must keep.
    struct Place {
        std::size_t line, column;
        std::string search;
    };
    std::vector<Place> places;
    std::size_t runs = 1;
    for (const Vary& v : varies) {
        const auto [search, range_key] = search_text(v.keyword);
        std::vector<Place> found;
        for (std::size_t i = first; i < end; ++i) {
            if (!keyword_line(lines[i])) continue;
            for (std::size_t c : keyword_places(lines[i].up, search)) found.push_back({i, c, search});
        }
        const std::string name = "--vary " + v.keyword;
        if (found.empty()) {
            problem = name + ": the deck's first run has no keyword " + search;
            return {};
        }
        if (found.size() > 1) {
            problem = name + ": " + search + " stands more than once in the deck's first run";
            return {};
        }
        for (const Place& p : places)
            if (p.line == found[0].line && p.column == found[0].column) {
                problem = name + ": varied twice";
                return {};
            }
        const bool percent = lines[found[0].line].up.find('%') != std::string::npos;
        const run::DeckRange* row = run::deck_range(range_key, percent);
        if (row == nullptr) {
            problem = name + ": " + search + " is no number of the deck";
            return {};
        }
        for (const std::string& t : v.values) {
            const double x = *number(t);
            if (!run::in_range(*row, x)) {
                problem = name + ": " + t + " lies outside the range " + run::range_text(*row, shown_name(range_key)) +
                          (row->unit.empty() ? "" : " " + std::string(row->unit));
                return {};
            }
        }
        places.push_back(found[0]);
        runs *= v.values.size();
        if (runs > MAX_STUDY_RUNS) {
            problem = "--vary: more than " + std::to_string(MAX_STUDY_RUNS) + " runs";
            return {};
        }
    }

    std::string out;
    for (std::size_t i = 0; i < first; ++i) out += lines[i].raw + "\n";
    std::vector<std::size_t> pick(varies.size(), 0);
    for (std::size_t n = 0; n < runs; ++n) {
        std::vector<std::string> run_lines;
        for (std::size_t i = first; i < end; ++i) run_lines.push_back(lines[i].raw);
        // Replaced from the right within a line, so that the columns of the others still hold.
        std::vector<std::size_t> order(varies.size());
        for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return places[a].line != places[b].line ? places[a].line < places[b].line
                                                    : places[a].column > places[b].column;
        });
        for (std::size_t k : order) {
            std::string& l = run_lines[places[k].line - first];
            const auto [a, b] = value_span(l, places[k].column + places[k].search.size());
            l.replace(a, b - a, varies[k].values[pick[k]]);
            if (l.find_last_not_of(' ') >= DECK_COLUMNS) {
                problem = "--vary " + varies[k].keyword + ": the line \"" + std::string(trim(l)) +
                          "\" grows beyond column 80";
                return {};
            }
        }
        for (const auto& l : run_lines) out += l + "\n";
        // The next combination: the last --vary turns fastest.
        for (std::size_t k = varies.size(); k-- > 0;) {
            if (++pick[k] < varies[k].values.size()) break;
            pick[k] = 0;
        }
    }
    out += "STOP\n";
    return out;
}

std::vector<RunValues> deck_runs(std::string_view deck) {
    const auto lines = deck_lines(deck);
    const auto bounds = run_bounds(lines);
    std::vector<RunValues> runs;
    for (std::size_t r = 0; r + 1 < bounds.size(); ++r) {
        RunValues rv;
        auto add = [&](std::string name, std::string value) {
            // A keyword on several lines of a run (GITTER= of every diagram) is numbered.
            const std::string base = name;
            for (int n = 2; std::any_of(rv.values.begin(), rv.values.end(), [&](auto& x) { return x.first == name; });
                 ++n)
                name = base + "(" + std::to_string(n) + ")";
            rv.values.emplace_back(std::move(name), std::move(value));
        };
        for (std::size_t i = bounds[r]; i < bounds[r + 1]; ++i) {
            const DeckLine& l = lines[i];
            if (!keyword_line(l)) continue;
            // NAME=value, and the keywords without "=" the deck knows ("NACH:", "REGELN AB").
            std::vector<std::pair<std::size_t, std::pair<std::string, std::string>>> found;
            for (std::size_t eq = l.up.find('='); eq != std::string::npos; eq = l.up.find('=', eq + 1)) {
                std::size_t a = eq;
                while (a > 0 && l.up[a - 1] != ' ' && l.up[a - 1] != ':' && l.up[a - 1] != '|') --a;
                if (a == eq) continue;
                const auto [va, vb] = value_span(l.up, eq + 1);
                found.push_back({a, {l.up.substr(a, eq - a), l.raw.substr(va, vb - va)}});
            }
            for (const run::DeckRange& row : run::deck_ranges()) {
                if (row.keyword.find('=') != std::string_view::npos || row.keyword.find('-') != std::string_view::npos)
                    continue;
                for (std::size_t c : keyword_places(l.up, row.keyword)) {
                    const auto [va, vb] = value_span(l.up, c + row.keyword.size());
                    found.push_back({c, {std::string(row.name), l.raw.substr(va, vb - va)}});
                }
            }
            std::sort(found.begin(), found.end(), [](auto& a, auto& b) { return a.first < b.first; });
            for (auto& f : found) add(std::move(f.second.first), std::move(f.second.second));
        }
        runs.push_back(std::move(rv));
    }
    return runs;
}

std::vector<VariedColumn> varied_columns(const std::vector<RunValues>& runs) {
    std::vector<std::string> keys;
    for (const auto& r : runs)
        for (const auto& kv : r.values)
            if (std::find(keys.begin(), keys.end(), kv.first) == keys.end()) keys.push_back(kv.first);
    std::vector<VariedColumn> out;
    for (const auto& k : keys) {
        VariedColumn c{k, {}};
        for (const auto& r : runs) {
            const auto it = std::find_if(r.values.begin(), r.values.end(), [&](auto& kv) { return kv.first == k; });
            c.values.push_back(it == r.values.end() ? std::string() : it->second);
        }
        if (std::adjacent_find(c.values.begin(), c.values.end(), std::not_equal_to<>()) != c.values.end())
            out.push_back(std::move(c));
    }
    return out;
}

// ---- The rows ---------------------------------------------------------------------------------

int run_error(int before, int after) {
    if (after == before) return 0;
    const int d = after - before;
    return d > 0 && d < 100 ? d : after;
}

void StudyResults::revolution(const RevolutionResults& r) {
    using C = ResultColumn;
    if (!current_ || current_->run != r.run) current_ = StudyRow{r.run};
    StudyRow& s = *current_;
    s.has_results = true;
    s.A1 = r[C::A1];
    s.POWERN = r[C::POWER_USABL];
    s.ETA_N = r[C::ETA_N];
    s.P1MEAN = r[C::P1MEAN];
    s.RPM = r[C::RPM];
    // The row block shows the pressure extremes only as their ratio and leaves out the total
    // power and the Carnot efficiency; while a revolution's row is reported they stand in the
    // simulation state as the listing prints them.
    s.POWERU = p_.sim.rev.POWERU;
    s.ETA_CARNOT = p_.sim.rev.ETA_CARNOT;
    s.PMAX = p_.sim.PMAX;
    s.PMIN = p_.sim.PMIN;
    if (next_ != nullptr) next_->revolution(r);
}

void StudyResults::diagram(const DiagramResults& d) {
    if (next_ != nullptr) next_->diagram(d);
}

void StudyResults::run_end(int run, int NFAIL) {
    StudyRow row = current_ && current_->run == run ? *current_ : StudyRow{run};
    row.NFAIL = run_error(last_NFAIL_, NFAIL);
    // A run that ended with an error shows none of its values as results; events it only
    // counted (1 to 99) let it go on, and its last revolution stands.
    if (row.NFAIL >= 100) row.has_results = false;
    last_NFAIL_ = NFAIL;
    rows_.push_back(row);
    current_.reset();
    if (next_ != nullptr) next_->run_end(run, NFAIL);
}

void StudyResults::job_end(int NFAIL) {
    if (NFAIL == last_NFAIL_) return;
    StudyRow row{p_.run.NLAUF + 1};
    row.NFAIL = run_error(last_NFAIL_, NFAIL);
    last_NFAIL_ = NFAIL;
    rows_.push_back(row);
}

bool write_study_table(const std::filesystem::path& file, const std::vector<VariedColumn>& varied,
                       const std::vector<StudyRow>& rows) {
    std::FILE* f = std::fopen(file.string().c_str(), "wb");
    if (f == nullptr) return false;
    std::string text = "run";
    for (const auto& c : varied) text += "," + csv_field(c.keyword);
    text += ",A1 [Watt*s],POWERU [Watt],POWER USABL [Watt],ETA_N [%],ETA_CARNOT [%],P1MEAN [Bar],PMAX [Bar],"
            "PMIN [Bar],RPM [U/MIN],NFAIL\r\n";
    for (const StudyRow& r : rows) {
        text += std::to_string(r.run);
        for (const auto& c : varied) {
            const std::size_t i = static_cast<std::size_t>(r.run - 1);
            text += "," + (r.run >= 1 && i < c.values.size() ? csv_field(c.values[i]) : std::string());
        }
        for (double v : {r.A1, r.POWERU, r.POWERN, r.ETA_N, r.ETA_CARNOT, r.P1MEAN, r.PMAX, r.PMIN, r.RPM})
            text += "," + (r.has_results ? csv_number(v) : std::string());
        text += "," + std::to_string(r.NFAIL) + "\r\n";
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

// ---- The page -----------------------------------------------------------------------------------

namespace {

// The page as the program lays out two diagrams in a column: axes of 12 by 8 cm, lettering of
// 0.18 cm, markers of 0.2 cm, each diagram's room 38 lettering heights wider than its axis and
// 18 higher, drawn at the factor of the diagram pages.
constexpr float XL = 12.0f, YL = 8.0f, HOE = 0.18f, HSYM = 0.2f;
constexpr float ROOM_W = XL + 38.0f * HOE, ROOM_H = YL + 18.0f * HOE;
constexpr float PAGE_FACTOR = 0.39354587f;
// Room above the upper diagram for the numbers at the top of its ordinate axis, cm.
constexpr float TOP = 1.0f;
// Characters of a legend line that fit right of the axes.
constexpr std::size_t LEGEND_CHARS = 22;

struct Curve {
    std::string legend;
    std::vector<float> y;   // the values, then FIRST_V and DELTA_V
    int colour, symbol, style;
};

// One diagram at the current origin: the abscissa, one ordinate axis for all curves (scaled
// together), the curves with a marker on every point, and their legends right of the axes.
void diagram(device::Plotter& pl, const std::string& xtitle, std::vector<float> x, const std::string& ytitle,
             std::vector<Curve> curves, const std::vector<std::string>& head) {
    const int N = static_cast<int>(x.size());
    x.resize(static_cast<std::size_t>(N) + 2);
    diagrams::SKALIE(x, XL, N, 1);
    // All curves on one scale: made from their values together.
    std::vector<float> all;
    for (const auto& c : curves) all.insert(all.end(), c.y.begin(), c.y.end());
    const int M = static_cast<int>(all.size());
    all.resize(static_cast<std::size_t>(M) + 2);
    diagrams::SKALIE(all, YL, M, 1);
    for (auto& c : curves) {
        c.y.resize(static_cast<std::size_t>(N) + 2);
        c.y[static_cast<std::size_t>(N)] = all[static_cast<std::size_t>(M)];
        c.y[static_cast<std::size_t>(N) + 1] = all[static_cast<std::size_t>(M) + 1];
    }
    device::SETPEN(pl, 1, 1, 7);
    diagrams::ACHSE(pl, 0.0f, 0.0f, xtitle, -static_cast<int>(xtitle.size()), XL, 0.0f, x[static_cast<std::size_t>(N)],
                    x[static_cast<std::size_t>(N) + 1], -1, HOE);
    diagrams::ACHSE(pl, 0.0f, 0.0f, ytitle, static_cast<int>(ytitle.size()), YL, 90.0f,
                    all[static_cast<std::size_t>(M)], all[static_cast<std::size_t>(M) + 1], -1, HOE);
    float legy = YL - 1.5f * HSYM;
    const float legx = XL + 2.0f * HSYM;
    for (const auto& h : head) {
        diagrams::SYMBOL(pl, legx - HSYM, legy, HSYM, h, 0.0f, static_cast<int>(h.size()));
        legy -= 2.0f * HSYM;
    }
    for (const auto& c : curves) {
        device::SETPEN(pl, c.style, 1, c.colour);
        diagrams::KURVE(pl, x, c.y, N, 1, c.symbol >= 0 ? 1 : 0, std::max(c.symbol, 0));
        const float ym = legy + 0.5f * HSYM;
        if (c.symbol >= 0) diagrams::SYMBLI(pl, legx, ym, HSYM, c.symbol, 0.0f, -1);
        device::PLOT(pl, legx - HSYM, ym, 3);
        device::PLOT(pl, legx + HSYM, ym, 2);
        diagrams::SYMBOL(pl, legx + 2.0f * HSYM, legy, HSYM, c.legend, 0.0f, static_cast<int>(c.legend.size()));
        legy -= 2.0f * HSYM;
    }
    device::SETPEN(pl, 1, 1, 7);
}

}  // namespace

void draw_study_page(platform::Surface& surface, int width, int height, const std::vector<VariedColumn>& all,
                     const std::vector<StudyRow>& rows) {
    // What was varied: the machine's values that every run gives; how a run draws its diagrams
    // (line 11 on) and a value only some runs give are no study of the machine.
    auto diagram_value = [](std::string key) {
        if (const auto paren = key.find('('); paren != std::string::npos && std::isdigit(static_cast<unsigned char>(key[paren + 1])))
            key.resize(paren);
        const run::DeckRange* row = run::deck_range(key + "=");
        return key == "IBACK" || (row != nullptr && row->IZEILE >= 11);
    };
    std::vector<VariedColumn> varied;
    for (const auto& c : all)
        if (!diagram_value(c.keyword) &&
            std::none_of(c.values.begin(), c.values.end(), [](const std::string& v) { return v.empty(); }))
            varied.push_back(c);
    device::Device dev;
    runtime::Units units;
    int NFAIL = 0, NEWDIA = 0;
    dev.ISIZEX = width;
    dev.ISIZEY = height;
    dev.surface = &surface;
    surface.select_pen(platform::Pen{platform::PenStyle::Solid, 2, {}});
    device::Plotter pl{dev, units, NFAIL, NEWDIA};
    device::PLOTS(pl, ROOM_W, 2.0f * ROOM_H + TOP, PAGE_FACTOR);
    device::PLOT(pl, HOE * 8.0f, HOE * 14.0f, -3);

    // Over the varied value when one value varies and every run gives it as a number, else
    // over the run number.
    bool by_value = varied.size() == 1;
    if (by_value)
        for (const auto& r : rows)
            if (r.has_results && (r.run < 1 || static_cast<std::size_t>(r.run) > varied[0].values.size() ||
                                  !number(varied[0].values[static_cast<std::size_t>(r.run - 1)])))
                by_value = false;
    std::vector<float> x;
    Curve usable{"POWER USABL [Watt]", {}, 1, 1, 1}, total{"POWERU [Watt]", {}, 2, 2, 1};
    Curve eta{"ETA_N [%]", {}, 1, 1, 1}, carnot{"ETA_CARNOT [%]", {}, 3, -1, 2};
    for (const auto& r : rows) {
        if (!r.has_results) continue;
        x.push_back(by_value ? static_cast<float>(*number(varied[0].values[static_cast<std::size_t>(r.run - 1)]))
                             : static_cast<float>(r.run));
        usable.y.push_back(static_cast<float>(r.POWERN));
        total.y.push_back(static_cast<float>(r.POWERU));
        eta.y.push_back(static_cast<float>(r.ETA_N));
        carnot.y.push_back(static_cast<float>(r.ETA_CARNOT));
    }
    std::vector<std::string> head;
    std::string xtitle = by_value ? varied[0].keyword : "RUN";
    if (by_value) {
        head.push_back("STUDY OVER " + varied[0].keyword);
    } else {
        head.push_back("STUDY OVER THE RUNS");
        // The varied keywords in lines that stay within the room right of the axes.
        std::string line = "VARIED:";
        for (std::size_t k = 0; k < varied.size() && head.size() < 6; ++k) {
            const std::string item = " " + varied[k].keyword + (k + 1 < varied.size() ? "," : "");
            if (line.size() + item.size() > LEGEND_CHARS) {
                head.push_back(line);
                line = " ";
            }
            line += item;
        }
        if (head.size() < 6) head.push_back(line);
        else head.back() += " ...";
    }
    if (x.empty()) {
        const std::string t = "NO RUN COMPLETED A REVOLUTION";
        diagrams::SYMBOL(pl, 0.0f, YL, 0.4f, t, 0.0f, static_cast<int>(t.size()));
        return;
    }
    diagram(pl, xtitle, x, "ETA [%]", {eta, carnot}, {});
    device::PLOT(pl, 0.0f, ROOM_H, -3);
    diagram(pl, xtitle, x, "POWER [Watt]", {usable, total}, head);
}

}  // namespace korvex::shell
