#pragma once
// The results of a batch job as CSV files beside its listings, for spreadsheets and scripts:
// KORVEX.csv holds one row per evaluated revolution of every run, KORVEX-<run>-<diagram>.csv
// the series of every diagram a run draws. RFC 4180: comma, decimal point, a header row, CRLF
// line ends; numbers at full precision (the shortest text that reads back as the same value),
// no padding.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "state/results_observer.hpp"

namespace korvex::shell {

inline constexpr const char* NAME_CSV = "KORVEX.csv";

// "KORVEX-<run>-<diagram>.csv".
std::string curve_file_name(int run, int diagram);

// A field as RFC 4180 writes it: in double quotes, with its quotes doubled, when it holds a
// comma, a quote or a line break; as it is otherwise.
std::string csv_field(std::string_view text);
// A number: the shortest decimal text that reads back as the same value, "-0" for a negative
// zero; empty (a missing value) for a NaN or an infinity. A float is written as the float it
// is, not as the double it widens to.
std::string csv_number(double v);
std::string csv_number(float v);

class CsvResults final : public ResultsObserver {
public:
    explicit CsvResults(std::filesystem::path dir);
    ~CsvResults() override;
    CsvResults(const CsvResults&) = delete;
    CsvResults& operator=(const CsvResults&) = delete;

    // Creates KORVEX.csv (over an older one) with its header row; false when it cannot.
    bool open();
    void revolution(const RevolutionResults& r) override;
    void diagram(const DiagramResults& d) override;
    // Closes KORVEX.csv; true when every file of the job was written completely.
    bool finish();
    // The files that could not be written completely, each once, in the order they failed.
    const std::vector<std::filesystem::path>& failed() const { return failed_; }

private:
    std::filesystem::path dir_;
    std::FILE* table_ = nullptr;
    bool table_failed_ = false;
    std::vector<std::filesystem::path> failed_;

    void fail(const std::filesystem::path& file);
};

}  // namespace korvex::shell
