#pragma once
// Parameter studies: a deck's first run repeated with one or two of its values replaced
// (`--vary KEYWORD=LIST`), one summary row per run (KORVEX-study.csv) and a page of power and
// efficiency against the varied value (KORVEX-study.svg|png|pdf).
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/surface.hpp"
#include "state/results_observer.hpp"

namespace korvex {
struct Program;
}

namespace korvex::shell {

inline constexpr const char* NAME_STUDY_CSV = "KORVEX-study.csv";
inline constexpr const char* NAME_STUDY_PAGE = "KORVEX-study";  // + ".svg", ".png", ".pdf"

// One --vary option: the keyword as given (upper case) and the value texts as they go into
// the deck line.
struct Vary {
    std::string keyword;
    std::vector<std::string> values;
};

// Parses "KEYWORD=LIST", LIST "v1,v2,..." or "start:stop:step"; an empty string when usable,
// otherwise the problem.
std::string parse_vary(std::string_view arg, Vary& out);

// The deck of a study: the first run of `deck` once per value (the grid of all values when
// there are two --vary options, the first one outermost), each with its keywords' values
// replaced in their lines, then STOP. Empty when the study cannot be made; `problem` says why
// (a keyword the first run does not have, a value outside its range, a line that would grow
// beyond 80 columns).
std::string study_deck(std::string_view deck, const std::vector<Vary>& varies, std::string& problem);

// The runs of a deck, each as the list of its keyword values ("TH" -> "900.0") in the order
// they stand; the lines before the first run and the STOP line belong to no run.
struct RunValues {
    std::vector<std::pair<std::string, std::string>> values;
};
std::vector<RunValues> deck_runs(std::string_view deck);

// The last complete revolution of a run, and how the run ended.
struct StudyRow {
    int run = 0;
    bool has_results = false;  // the run completed a revolution
    int NFAIL = 0;             // the error number of the run (see run_error)
    double A1 = 0, POWERU = 0, POWERN = 0, ETA_N = 0, ETA_CARNOT = 0;
    double P1MEAN = 0, PMAX = 0, PMIN = 0, RPM = 0;
};

// The error number a run leaves, from the job's number before and after it: 0 when the run
// did not change it, the number of errors it counted when it counted some, else the number
// it set.
int run_error(int before, int after);

// Keeps the last revolution of every run for the study table and page, and hands every
// result on to `next` (the CSV files of --csv), if there is one.
class StudyResults final : public ResultsObserver {
public:
    StudyResults(const Program& p, ResultsObserver* next) : p_(p), next_(next) {}
    void revolution(const RevolutionResults& r) override;
    void diagram(const DiagramResults& d) override;
    void run_end(int run, int NFAIL) override;
    // After the job: a job that stopped on an error before computing a further run gets a row
    // for that run with the error number.
    void job_end(int NFAIL);
    const std::vector<StudyRow>& rows() const { return rows_; }

private:
    const Program& p_;
    ResultsObserver* next_;
    std::optional<StudyRow> current_;
    std::vector<StudyRow> rows_;
    int last_NFAIL_ = 0;
};

// The columns of the study table: the keywords whose values differ between the runs, each with
// its value per run (empty where a run does not have it).
struct VariedColumn {
    std::string keyword;
    std::vector<std::string> values;  // per run, in run order
};
std::vector<VariedColumn> varied_columns(const std::vector<RunValues>& runs);

// Writes the study table; false when the file cannot be written.
bool write_study_table(const std::filesystem::path& file, const std::vector<VariedColumn>& varied,
                       const std::vector<StudyRow>& rows);

// Draws the study page onto a surface of width x height pixels: usable and total power over
// the varied value (over the run number when several values vary, or none), and ETA_N with
// the Carnot efficiency as its reference line.
void draw_study_page(platform::Surface& surface, int width, int height, const std::vector<VariedColumn>& varied,
                     const std::vector<StudyRow>& rows);

}  // namespace korvex::shell
