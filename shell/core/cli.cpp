#include "shell/core/cli.hpp"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <system_error>

#include "diagrams/catalogue.hpp"
#include "platform/svg_surface.hpp"
#include "runtime/format.hpp"
#include "shell/core/csv.hpp"
#include "run/error_table.hpp"
#include "state/program.hpp"
#include "shell/core/plotiw.hpp"
#include "shell/core/study.hpp"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace korvex::shell {

ProgressLine::ProgressLine(std::FILE* out, bool terminal, Seconds now)
    : out_(out), terminal_(terminal && out != nullptr), now_(std::move(now)) {
    if (terminal_ && now_) start_ = now_();
}

std::string ProgressLine::text(int page, int run, double TIME, int revolution) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "korvex: run %d, TIME= %.4f s, revolution %d; pages done: %d", run, TIME,
                  revolution, page);
    return buf;
}

void ProgressLine::page_done(const Program& p, int page) {
    pages_ = page;
    show(p, true);
}

void ProgressLine::attach(Program& p) {
    p.progress = &ProgressLine::on_revolution;
    p.progress_ctx = this;
}

void ProgressLine::on_revolution(void* self, const Program& p) {
    static_cast<ProgressLine*>(self)->show(p, false);
}

void ProgressLine::show(const Program& p, bool always) {
    if (!terminal_ || !now_) return;
    const double t = now_();
    if (t - start_ < 1.0 || (!always && t - last_ < 0.1)) return;
    last_ = t;
    const std::string line = text(pages_, p.run.NLAUF, p.sim.TIME, p.sim.NREV);
    // Written over in place: a shorter line is padded with blanks over the longer one before.
    std::fprintf(out_, "\r%s", line.c_str());
    for (std::size_t i = line.size(); i < shown_; ++i) std::fputc(' ', out_);
    shown_ = std::max(shown_, line.size());
    std::fflush(out_);
}

ProgressLine::~ProgressLine() { finish(); }

void ProgressLine::finish() {
    if (shown_ == 0) return;
    std::fputc('\r', out_);
    for (std::size_t i = 0; i < shown_; ++i) std::fputc(' ', out_);
    std::fputc('\r', out_);
    std::fflush(out_);
    shown_ = 0;
}

bool stderr_is_terminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

namespace {

double steady_seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

constexpr int DEFAULT_WIDTH = 1008;  // the client area of the 1024 x 740 window
constexpr int DEFAULT_HEIGHT = 700;
constexpr int MAX_SIDE = 20000;

const char* const USAGE =
    "usage: korvex [DIR]\n"
    "       korvex --batch [DIR] [--pages svg|png|pdf|none] [--size WxH] [--csv] [--study]\n"
    "                            [--vary KEYWORD=LIST]...\n"
    "       korvex --quantities [PATTERN] | --explain N|all\n"
    "       korvex --help | --version\n";

const char* const HELP =
    "korvex simulates Stirling-type hot-gas engines. It reads the input deck DIR/KORVEX.DAT\n"
    "(DIR defaults to the current directory) and writes the listings KORVEX.F06, KORVEX.F08\n"
    "and KORVEX.F09 beside it.\n"
    "\n"
    "  korvex [DIR]            shows the pages of diagrams in a window (--study: the study\n"
    "                          page last)\n"
    "  korvex --batch [DIR]    runs the job without a window; page k goes to DIR/KORVEX-k.svg\n"
    "    --pages svg|png|pdf|none   the kind of page files (default svg; none writes no pages)\n"
    "    --size WxH                 the page in pixels (default 1008x700)\n"
    "    --csv                      also writes the results table as DIR/KORVEX.csv and every\n"
    "                               diagram's curves as DIR/KORVEX-<run>-<diagram>.csv\n"
    "    --vary KEYWORD=LIST        runs the deck's first run once per value of KEYWORD, the\n"
    "                               value replaced in its line (the deck file is not changed);\n"
    "                               LIST is v1,v2,... or start:stop:step; two --vary span a grid\n"
    "    --study                    (implied by --vary) one row per run in DIR/KORVEX-study.csv\n"
    "                               and, with pages, power and efficiency over the runs in\n"
    "                               DIR/KORVEX-study.svg (or .png, .pdf)\n"
    "  --quantities [PATTERN]  lists the plottable quantities (those whose name begins with\n"
    "                          PATTERN): position, name, class, unit, scale keywords, meaning\n"
    "  --explain N             says what error number N (\"FEHLER Nr. N\") means and what to\n"
    "                          change; --explain all lists every number\n"
    "  --help, --version\n"
    "\n"
    "Exit status: 0 when the job ended without an error number, 1 when it ended with one\n"
    "(or a listing shows NaN or Infinity),\n"
    "2 for a usage error or a deck that cannot be read.\n";

struct Options {
    bool batch = false;
    bool help = false;
    bool version = false;
    std::filesystem::path dir = ".";
    bool have_dir = false;
    std::string pages = "svg";
    bool have_pages = false;
    int width = DEFAULT_WIDTH, height = DEFAULT_HEIGHT;
    bool have_size = false;
    bool csv = false;
    bool study = false;
    std::vector<Vary> varies;
    bool quantities = false;
    std::string pattern;   // --quantities: the start of the names to list
    std::string explain;   // --explain: the number, or "all"
};

int usage_error(const std::string& problem) {
    std::fprintf(stderr, "korvex: %s\n%s", problem.c_str(), USAGE);
    return EXIT_USAGE;
}

std::optional<int> parse_side(std::string_view s) {
    if (s.empty() || s.size() > 6) return std::nullopt;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > MAX_SIDE) return std::nullopt;
    return v;
}

// "WxH" in pixels.
bool parse_size(std::string_view s, int& w, int& h) {
    const auto x = s.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    const auto a = parse_side(s.substr(0, x)), b = parse_side(s.substr(x + 1));
    if (!a || !b) return false;
    w = *a;
    h = *b;
    return true;
}

// Parses the arguments; an empty result means they are usable, otherwise it is the problem.
std::string parse(int argc, char** argv, Options& o) {
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] ? argv[i] : "";
        auto value = [&](std::string_view name, std::string_view& out) -> bool {
            if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=') {
                out = arg.substr(name.size() + 1);
                return true;
            }
            if (arg == name && i + 1 < argc && argv[i + 1]) {
                out = argv[++i];
                return true;
            }
            return false;
        };
        std::string_view v;
        if (!options_end && arg == "--") {
            options_end = true;
        } else if (!options_end && (arg == "--help" || arg == "-h")) {
            o.help = true;
        } else if (!options_end && arg == "--version") {
            o.version = true;
        } else if (!options_end && arg == "--batch") {
            o.batch = true;
        } else if (!options_end && (arg == "--pages" || arg.substr(0, 8) == "--pages=")) {
            if (!value("--pages", v)) return "--pages needs one of svg, png, pdf, none";
            if (v != "svg" && v != "png" && v != "pdf" && v != "none")
                return "unknown page kind \"" + std::string(v) + "\" (svg, png, pdf or none)";
            o.pages = std::string(v);
            o.have_pages = true;
        } else if (!options_end && (arg == "--size" || arg.substr(0, 7) == "--size=")) {
            if (!value("--size", v)) return "--size needs WxH, e.g. 1008x700";
            if (!parse_size(v, o.width, o.height))
                return "bad page size \"" + std::string(v) + "\" (WxH, 1 to 20000 pixels each)";
            o.have_size = true;
        } else if (!options_end && arg == "--csv") {
            o.csv = true;
        } else if (!options_end && arg == "--study") {
            o.study = true;
        } else if (!options_end && (arg == "--vary" || arg.substr(0, 7) == "--vary=")) {
            if (!value("--vary", v)) return "--vary needs KEYWORD=LIST, e.g. --vary TH=700,800,900";
            Vary vary;
            const std::string problem = parse_vary(v, vary);
            if (!problem.empty()) return problem;
            o.varies.push_back(std::move(vary));
        } else if (!options_end && (arg == "--quantities" || arg.substr(0, 13) == "--quantities=")) {
            o.quantities = true;
            if (arg.size() > 12) o.pattern = std::string(arg.substr(13));
            else if (i + 1 < argc && argv[i + 1] && argv[i + 1][0] != '-') o.pattern = argv[++i];
        } else if (!options_end && (arg == "--explain" || arg.substr(0, 10) == "--explain=")) {
            if (!value("--explain", v) || v.empty()) return "--explain needs an error number or all";
            o.explain = std::string(v);
        } else if (!options_end && arg.size() > 1 && arg[0] == '-') {
            return "unknown option \"" + std::string(arg) + "\"";
        } else {
            if (o.have_dir) return "only one job directory may be given";
            if (arg.empty()) return "the job directory is an empty name";
            o.dir = std::filesystem::path(std::string(arg));
            o.have_dir = true;
        }
    }
    if (!o.batch && (o.have_pages || o.have_size)) return "--pages and --size go with --batch";
    if (!o.batch && o.csv) return "--csv goes with --batch";
    if (!o.batch && !o.varies.empty()) return "--vary goes with --batch";
    return {};
}

// The deck must be a file that can be read; nothing is created when it is not.
bool deck_readable(const std::filesystem::path& dir, std::string& problem) {
    const auto deck = dir / NAME_DAT;
    std::error_code ec;
    const auto st = std::filesystem::status(deck, ec);
    if (!std::filesystem::exists(st)) {
        problem = "no input deck " + deck.string();
        return false;
    }
    if (!std::filesystem::is_regular_file(st)) {
        problem = "the input deck " + deck.string() + " is not a file";
        return false;
    }
    std::ifstream in(deck, std::ios::binary);
    if (!in) {
        problem = "cannot read the input deck " + deck.string();
        return false;
    }
    return true;
}

// The catalogue of plottable quantities, one line each, the names that begin with `pattern`
// (any case); all of them without one.
int list_quantities(const std::string& pattern) {
    std::string up(pattern);
    for (char& c : up) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    std::string out = " POS  NAME   CLASS  UNIT          FIRST    DELTA     WHAT IT IS\n";
    int shown = 0;
    for (int I = 1; I <= diagrams::NNAMEG; ++I) {
        const std::string_view name = diagrams::NAMEG(I);
        if (name.substr(0, up.size()) != up) continue;
        const int k = diagrams::catalogue_class(I);
        char line[96];
        std::snprintf(line, sizeof line, "%4d  %.6s %5d  %.12s  %-8.8s %-8.8s  ", I, name.data(), k,
                      diagrams::unit_text(k).data(), std::string(diagrams::first_keyword(k)).c_str(),
                      std::string(diagrams::delta_keyword(k)).c_str());
        out += line + diagrams::quantity_description(I) + "\n";
        ++shown;
    }
    if (shown == 0) {
        std::fprintf(stderr, "korvex: no plottable quantity begins with \"%s\"\n", pattern.c_str());
        return EXIT_USAGE;
    }
    std::fputs(out.c_str(), stdout);
    return EXIT_JOB_OK;
}

// What an error number means; every number with "all".
int explain(const std::string& what) {
    if (what == "all") {
        std::fputs(run::explain_all().c_str(), stdout);
        return EXIT_JOB_OK;
    }
    int n = 0;
    const auto [end, ec] = std::from_chars(what.data(), what.data() + what.size(), n);
    if (ec != std::errc() || end != what.data() + what.size())
        return usage_error("--explain needs an error number or all, not \"" + what + "\"");
    const std::string text = run::explain_error(n);
    if (text.empty()) {
        std::fprintf(stderr, "korvex: %d is no error number of this program (korvex --explain all lists them)\n", n);
        return EXIT_USAGE;
    }
    std::fputs(text.c_str(), stdout);
    return EXIT_JOB_OK;
}

// The whole of a file ("" when it cannot be read).
std::string file_text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    return std::move(text).str();
}

}  // namespace

bool listing_shows_non_finite(const std::filesystem::path& listing, std::string_view deck) {
    return runtime::shows_non_finite(file_text(listing), deck);
}

namespace {

class SvgPage final : public PageWriter {
public:
    SvgPage(int w, int h) : svg_(w, h) {}
    platform::Surface& surface() override { return svg_; }
    bool save(const std::filesystem::path& path) override { return svg_.save(path); }

private:
    platform::SvgSurface svg_;
};

// Closes the CSV files of a job, if it writes any, and reports each one that could not be
// written; true when all were.
bool csv_finished(CsvResults* csv) {
    if (csv == nullptr || csv->finish()) return true;
    for (const auto& f : csv->failed())
        std::fprintf(stderr, "korvex: cannot write the results %s\n", f.string().c_str());
    return false;
}

// The writer of one page of the kind --pages asks for (none: an SVG page that is not saved).
std::unique_ptr<PageWriter> page_writer(const Options& o, const ShellHooks& hooks) {
    if (o.pages == "svg" || o.pages == "none") return std::make_unique<SvgPage>(o.width, o.height);
    return hooks.make_page(o.pages, o.width, o.height);
}

// The study table and, with pages, the study page after the job. False when the table could
// not be written; a page that could not be written sets pages_lost.
bool write_study(const Options& o, const ShellHooks& hooks, const std::string& deck, const StudyResults& rows,
                 bool& pages_lost) {
    bool written = true;
    const auto varied = varied_columns(deck_runs(deck));
    const auto table = o.dir / NAME_STUDY_CSV;
    if (!write_study_table(table, varied, rows.rows())) {
        std::fprintf(stderr, "korvex: cannot write the study table %s\n", table.string().c_str());
        written = false;
    }
    if (o.pages != "none") {
        std::unique_ptr<PageWriter> writer = page_writer(o, hooks);
        const auto file = o.dir / (std::string(NAME_STUDY_PAGE) + "." + o.pages);
        if (writer) draw_study_page(writer->surface(), o.width, o.height, varied, rows.rows());
        if (!writer || !writer->save(file)) {
            std::fprintf(stderr, "korvex: cannot write the page %s\n", file.string().c_str());
            pages_lost = true;
        }
    }
    return written;
}

// Whether the job's listings are whole, it ended without an error number and no listing shows
// a number that is not finite; what is not is said on standard error.
bool job_succeeded(Program& p, const std::string& deck) {
    if (!p.units.flush()) {
        std::fprintf(stderr, "korvex: the listings could not be written completely\n");
        return false;
    }
    if (p.run.NFAIL != 0) {
        std::fprintf(stderr, "korvex: FEHLER Nr. %d\n", p.run.NFAIL);
        return false;
    }
    // A number that is not finite in a listing is a computation that went wrong, even where no
    // check of the model caught it: the job is not reported as a success.
    for (const runtime::Unit* u : {&p.units.u6, &p.units.u8, &p.units.u9}) {
        if (u->is_open() && listing_shows_non_finite(u->path(), deck)) {
            std::fprintf(stderr, "korvex: %s shows a number that is not finite (NaN or Infinity)\n",
                         u->path().filename().string().c_str());
            return false;
        }
    }
    return true;
}

// The paint of one page into the writer's surface, with the pen selected as the window does
// before every paint: solid black, width 2.
PaintArgs paint_args(PageWriter& writer, const Options& o) {
    PaintArgs a;
    a.surface = &writer.surface();
    a.ISIZEX = o.width;
    a.ISIZEY = o.height;
    a.HWND = 1;
    a.HDC = 1;
    a.HPEN = platform::Pen{platform::PenStyle::Solid, 2, {}};
    a.HPENOLD = platform::Pen{};
    a.HPEN_ID = 2;
    a.HPENOLD_ID = 1;
    a.surface->select_pen(a.HPEN);
    return a;
}

int batch(const Options& o, const ShellHooks& hooks) {
    const bool native = o.pages == "svg" || o.pages == "none";
    if (!native && !hooks.make_page)
        return usage_error("--pages " + o.pages + " is not built into this program (svg or none)");
    std::string problem;
    if (!deck_readable(o.dir, problem)) {
        std::fprintf(stderr, "korvex: %s\n", problem.c_str());
        return EXIT_USAGE;
    }
    // A study's runs are made from the deck before anything is computed: a keyword or a value
    // that does not fit is a usage error, and the deck file stays as it is.
    std::optional<std::string> study_text;
    if (!o.varies.empty()) {
        std::string vary_problem;
        study_text = study_deck(file_text(o.dir / NAME_DAT), o.varies, vary_problem);
        if (!vary_problem.empty()) return usage_error(vary_problem);
    }
    const bool study = o.study || !o.varies.empty();

    auto p = std::make_unique<Program>();
    // The job's notes to the user (text beyond column 80 of a deck line) also on standard error.
    p->units.note_sink = [](void*, std::string_view text) {
        std::fprintf(stderr, "korvex:%.*s\n", static_cast<int>(text.size()), text.data());
    };
    ShellState s;
    s.job_dir = o.dir;
    s.deck_text = study_text;
    std::string title(CAPTION_INITIAL);
    bool pages_lost = false;
    ProgressLine progress(stderr, stderr_is_terminal(), steady_seconds);
    progress.attach(*p);
    // The results as CSV: a file that cannot be written is reported at the end and fails the
    // job, but the job and its listings still go on.
    std::unique_ptr<CsvResults> csv;
    if (o.csv) {
        csv = std::make_unique<CsvResults>(o.dir);
        csv->open();
        p->results = csv.get();
    }
    std::unique_ptr<StudyResults> study_rows;
    if (study) {
        study_rows = std::make_unique<StudyResults>(*p, csv.get());
        p->results = study_rows.get();
    }
    for (int page = 1;; ++page) {
        if (PLOTIW(*p, s, 1, title) == PLOTIW_OPEN_FAILED) {
            progress.finish();
            std::fprintf(stderr, "korvex: cannot open %s\n", s.open_failure.c_str());
            return EXIT_USAGE;
        }
        std::unique_ptr<PageWriter> writer = page_writer(o, hooks);
        if (!writer) {
            progress.finish();
            std::fprintf(stderr, "korvex: cannot make %s pages\n", o.pages.c_str());
            return EXIT_USAGE;
        }
        PaintArgs a = paint_args(*writer, o);
        const int NEWDIA = PLOTIW(*p, s, 4, title, a);
        if (NEWDIA == PLOTIW_OPEN_FAILED) {
            progress.finish();
            std::fprintf(stderr, "korvex: cannot open %s\n", s.open_failure.c_str());
            return EXIT_USAGE;
        }
        if (o.pages != "none") {
            const auto file = o.dir / ("KORVEX-" + std::to_string(page) + "." + o.pages);
            if (!writer->save(file)) {
                progress.finish();
                std::fprintf(stderr, "korvex: cannot write the page %s\n", file.string().c_str());
                pages_lost = true;
            }
        }
        if (NEWDIA <= 0) {
            progress.finish();
            break;
        }
        progress.page_done(*p, page);
        if (page >= MAX_BATCH_PAGES) {
            progress.finish();
            p->units.flush();
            csv_finished(csv.get());
            std::fprintf(stderr, "korvex: the job still reported a further page after %d pages; stopped\n",
                         MAX_BATCH_PAGES);
            return EXIT_JOB_FAILED;
        }
    }
    const bool csv_written = csv_finished(csv.get());
    const std::string deck = study_text ? *study_text : file_text(o.dir / NAME_DAT);
    bool study_written = true;
    if (study_rows) {
        study_rows->job_end(p->run.NFAIL);
        study_written = write_study(o, hooks, deck, *study_rows, pages_lost);
    }
    if (!job_succeeded(*p, deck)) return EXIT_JOB_FAILED;
    return pages_lost || !csv_written || !study_written ? EXIT_JOB_FAILED : EXIT_JOB_OK;
}

}  // namespace

std::unique_ptr<PageWriter> make_svg_page(int width, int height) { return std::make_unique<SvgPage>(width, height); }

int cli_main(int argc, char** argv, const ShellHooks& hooks) {
    try {
        Options o;
        const std::string problem = parse(argc, argv, o);
        if (!problem.empty()) return usage_error(problem);
        if (o.help) {
            std::fputs(HELP, stdout);
            return EXIT_JOB_OK;
        }
        if (o.version) {
            std::puts("korvex " KORVEX_VERSION);
            return EXIT_JOB_OK;
        }
        if (o.quantities) return list_quantities(o.pattern);
        if (!o.explain.empty()) return explain(o.explain);
        if (o.batch) return batch(o, hooks);
        if (!hooks.run_window) {
            std::fprintf(stderr, "korvex: the diagram window is not built into this program; use --batch\n");
            return EXIT_USAGE;
        }
        std::string deck_problem;
        if (!deck_readable(o.dir, deck_problem)) {
            std::fprintf(stderr, "korvex: %s\n", deck_problem.c_str());
            return EXIT_USAGE;
        }
        return hooks.run_window(o.dir, o.study);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvex: internal error: %s\n", e.what());
        return EXIT_JOB_FAILED;
    }
}

}  // namespace korvex::shell
