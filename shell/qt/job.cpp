#include "shell/qt/job.hpp"

#include <fstream>
#include <iterator>

namespace korvex::shell::qt {

namespace {

// The surface of a page that is run only to bring the model to the page after it.
class NoSurface final : public platform::Surface {
public:
    NoSurface(int w, int h) : w_(w), h_(h) {}
    int width() const override { return w_; }
    int height() const override { return h_; }
    void select_pen(const platform::Pen&) override {}
    void move_to(platform::Point) override {}
    void line_to(platform::Point) override {}
    void polyline(std::span<const platform::Point>) override {}
    void rectangle(int, int, int, int) override {}
    void set_brush(platform::Color) override {}
    void set_text_color(platform::Color) override {}
    void text(platform::Point, std::string_view) override {}

private:
    int w_, h_;
};

// The study page, after the job's last page: power and efficiency of the runs of the pass just
// made, over the values that differ between the runs of the deck.
int draw_study(Job& job, platform::Surface& surface, int width, int height) {
    std::ifstream in(job.shell.job_dir / NAME_DAT, std::ios::binary);
    const std::string deck((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    surface.select_pen(platform::Pen{platform::PenStyle::Solid, 2, {}});
    draw_study_page(surface, width, height, varied_columns(deck_runs(deck)), job.study_rows->rows());
    job.next_page = 1;
    return 0;
}

// One run of the model: the page it stands at, drawn onto the surface.
int run_one_page(Job& job, platform::Surface& surface, int width, int height, int HWND, int HDC) {
    if (job.study && job.study_rows && job.next_page == job.study_page) return draw_study(job, surface, width, height);
    if (job.study && job.next_page == 1) {
        // A new pass through the job: its runs are gathered afresh.
        job.study_rows = std::make_unique<StudyResults>(*job.program, nullptr);
        job.study_page = 0;
        job.program->results = job.study_rows.get();
    }
    PaintArgs a;
    a.surface = &surface;
    a.ISIZEX = width;
    a.ISIZEY = height;
    a.HWND = HWND;
    a.HDC = HDC;
    a.HPEN = platform::Pen{platform::PenStyle::Solid, 2, {}};
    a.HPENOLD = platform::Pen{};
    a.HPEN_ID = HPEN_ID;
    a.HPENOLD_ID = HPENOLD_ID;
    surface.select_pen(a.HPEN);
    const int NEWDIA = job.run_page(job, a);
    if (NEWDIA <= 0 && job.study && job.study_rows) {
        // The job's last page: the study page follows it.
        job.study_rows->job_end(job.program->run.NFAIL);
        job.study_page = ++job.next_page;
        return 1;
    }
    job.next_page = NEWDIA > 0 ? job.next_page + 1 : 1;
    return NEWDIA;
}

// The model goes back to the start of the job: with NEWDIA at 0 its next run begins a new job
// and reads the deck from its first line.
void start_over(Job& job) {
    job.program->run.NEWDIA = 0;
    job.next_page = 1;
    job.deck_changed = false;
}

struct PaintingFlag {
    explicit PaintingFlag(Job& j) : job(j) { job.painting = true; }
    ~PaintingFlag() { job.painting = false; }
    Job& job;
};

}  // namespace

int PAINTPAGE(Job& job, platform::Surface& surface, int width, int height, int HWND, int HDC) {
    if (job.painting) return job.repeat;
    const PaintingFlag flag(job);
    if (job.page <= 0) job.page = job.next_page;
    int target = job.page;
    if (job.deck_changed || job.next_page > target) start_over(job);
    while (job.next_page < target) {
        NoSurface none(width, height);
        const int at = job.next_page;
        if (run_one_page(job, none, width, height, HWND, HDC) <= 0) {
            // The job ends before the page: the window shows its last page instead.
            target = at;
            start_over(job);
        }
    }
    job.page = target;
    job.repeat = run_one_page(job, surface, width, height, HWND, HDC);
    return job.repeat;
}

void deck_changed(Job& job) {
    // Closed, the deck is opened again by the next paint: an editor that saves by writing a new
    // file and renaming it over the deck leaves the old file behind the open unit.
    job.program->units.u55.close();
    job.deck_changed = true;
}

}  // namespace korvex::shell::qt
