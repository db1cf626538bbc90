#pragma once
// The command line of the korvex program: the window job or the batch job for a directory.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/surface.hpp"

namespace korvex {
struct Program;
}

namespace korvex::shell {

// One page of a batch job that goes into a picture file: the surface the model paints on, then
// the file it is written to.
class PageWriter {
public:
    virtual ~PageWriter() = default;
    virtual platform::Surface& surface() = 0;
    // Writes the page; false when the file cannot be written.
    virtual bool save(const std::filesystem::path& path) = 0;
};

// An SVG page of width x height pixels, as batch mode writes it.
std::unique_ptr<PageWriter> make_svg_page(int width, int height);

// What the window shell adds to the command line when it is built in.
struct ShellHooks {
    // Runs the window job for a directory and returns the process exit code; `study`: the
    // study page follows the job's last page.
    std::function<int(const std::filesystem::path& dir, bool study)> run_window;
    // A page writer for kind "png" or "pdf" of width x height pixels; null when the kind is
    // not supported.
    std::function<std::unique_ptr<PageWriter>(const std::string& kind, int width, int height)> make_page;
};

// Exit status of the program.
inline constexpr int EXIT_JOB_OK = 0;       // the job ended with error number 0
inline constexpr int EXIT_JOB_FAILED = 1;   // the job ended with an error number
inline constexpr int EXIT_USAGE = 2;        // a usage error, or no deck to read

// Cap on the pages of one batch job: a model that never reports its last page must not make
// batch mode run forever.
inline constexpr int MAX_BATCH_PAGES = 1000;

// The progress of a long batch job on a terminal: one line on standard error, written over
// after every page and, at most ten times a second, at revolution ends once the job has run
// for a second, and wiped when the job ends, so that a job that ends quickly, or one whose
// standard error is a file, shows nothing.
class ProgressLine {
public:
    using Seconds = std::function<double()>;  // a steady clock, in seconds

    ProgressLine(std::FILE* out, bool terminal, Seconds now);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    // After page `page` of the job: where the job stands (runs done, and the simulated time
    // and revolution the last computed run reached).
    void page_done(const Program& p, int page);
    // Hooks the line to the program's revolution ends, so that it moves on within a page too.
    void attach(Program& p);
    // Wipes the line, if one was written.
    void finish();

    // The text of the line.
    static std::string text(int page, int run, double TIME, int revolution);

private:
    std::FILE* out_;
    bool terminal_;
    Seconds now_;
    double start_ = 0.0;
    std::size_t shown_ = 0;  // length of the line on the terminal, 0 when none is shown
    int pages_ = 0;          // pages done so far
    double last_ = -1.0;     // when the line was last written

    void show(const Program& p, bool always);
    static void on_revolution(void* self, const Program& p);
};

// Whether standard error is a terminal.
bool stderr_is_terminal();

// Whether a listing file shows a number that is not finite: "NaN" or "Infinity" as the run-time
// writes them, outside the text echoed from the deck (a deck may say anything). A batch job
// whose listings show one has failed, whatever its error number says.
bool listing_shows_non_finite(const std::filesystem::path& listing, std::string_view deck = {});

int cli_main(int argc, char** argv, const ShellHooks& hooks);

}  // namespace korvex::shell
