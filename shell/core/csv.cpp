#include "shell/core/csv.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace korvex::shell {

namespace {

constexpr std::string_view EOL = "\r\n";

template <class T>
std::string shortest(T v) {
    if (!std::isfinite(v)) return {};
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

bool put(std::FILE* f, std::string_view s) { return std::fwrite(s.data(), 1, s.size(), f) == s.size(); }

std::FILE* create(const std::filesystem::path& file) { return std::fopen(file.string().c_str(), "wb"); }

}  // namespace

std::string curve_file_name(int run, int diagram) {
    return "KORVEX-" + std::to_string(run) + "-" + std::to_string(diagram) + ".csv";
}

std::string csv_field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string csv_number(double v) { return shortest(v); }
std::string csv_number(float v) { return shortest(v); }

CsvResults::CsvResults(std::filesystem::path dir) : dir_(std::move(dir)) {}

CsvResults::~CsvResults() {
    if (table_ != nullptr) std::fclose(table_);
}

void CsvResults::fail(const std::filesystem::path& file) {
    if (std::find(failed_.begin(), failed_.end(), file) == failed_.end()) failed_.push_back(file);
}

bool CsvResults::open() {
    const auto file = dir_ / NAME_CSV;
    table_ = create(file);
    if (table_ == nullptr) {
        table_failed_ = true;
        fail(file);
        return false;
    }
    std::string head = "run,revolution";
    for (std::string_view h : RESULT_HEADINGS) head += "," + csv_field(h);
    head += EOL;
    if (!put(table_, head)) {
        table_failed_ = true;
        fail(file);
    }
    return !table_failed_;
}

void CsvResults::revolution(const RevolutionResults& r) {
    if (table_ == nullptr || table_failed_) return;
    std::string line = std::to_string(r.run) + "," + std::to_string(r.revolution);
    for (double v : r.values) line += "," + csv_number(v);
    line += EOL;
    if (!put(table_, line)) {
        table_failed_ = true;
        fail(dir_ / NAME_CSV);
    }
}

void CsvResults::diagram(const DiagramResults& d) {
    const auto file = dir_ / curve_file_name(d.run, d.diagram);
    std::FILE* f = create(file);
    if (f == nullptr) {
        fail(file);
        return;
    }
    std::size_t rows = 0;
    std::string text;
    for (std::size_t k = 0; k < d.series.size(); ++k) {
        if (k > 0) text += ',';
        text += csv_field(d.series[k].heading);
        rows = k == 0 ? d.series[k].values.size() : std::min(rows, d.series[k].values.size());
    }
    text += EOL;
    bool ok = true;
    for (std::size_t i = 0; i < rows && ok; ++i) {
        for (std::size_t k = 0; k < d.series.size(); ++k) {
            if (k > 0) text += ',';
            text += csv_number(d.series[k].values[i]);
        }
        text += EOL;
        // Written in pieces, so that a long curve does not build one large string.
        if (text.size() > 16384) {
            ok = put(f, text);
            text.clear();
        }
    }
    if (ok) ok = put(f, text);
    if (std::fclose(f) != 0) ok = false;
    if (!ok) fail(file);
}

bool CsvResults::finish() {
    if (table_ != nullptr) {
        if (std::fclose(table_) != 0) {
            table_failed_ = true;
            fail(dir_ / NAME_CSV);
        }
        table_ = nullptr;
    }
    return failed_.empty();
}

}  // namespace korvex::shell
