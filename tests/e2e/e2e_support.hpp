#pragma once
// Whole jobs as the window runs them: the run control is called again while it reports a
// further page, every page drawn on one recording surface; the sample decks and what their
// headings promise.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/recording_surface.hpp"
#include "run/control.hpp"
#include "state/program.hpp"

namespace e2e {

namespace fs = std::filesystem;

inline std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

// A fixed date, so that two jobs can be compared character for character.
inline korvex::runtime::DateTime fixed_date() { return {2005, 4, 8, 12, 0, 0, 0}; }

struct Job {
    std::unique_ptr<korvex::Program> p = std::make_unique<korvex::Program>();
    korvex::platform::RecordingSurface page{1008, 700};
    int pages = 0;

    explicit Job(const std::string& deck) {
        p->clock = fixed_date;
        p->units.u55.set_text(deck);
        p->device.surface = &page;
        p->device.ISIZEX = 1008;
        p->device.ISIZEY = 700;
    }

    // One pass through the deck: paints until the run control reports no further page. A job
    // that keeps asking for pages is cut off, so that a fault shows as a failure, not a hang.
    void run(int max_pages = 50) {
        for (int i = 0; i < max_pages; ++i) {
            korvex::run::run_control(*p);
            ++pages;
            if (p->run.NEWDIA == 0) return;
        }
    }

    int nfail() const { return p->run.NFAIL; }
    const std::string& u6() const { return p->units.u6.text(); }
    const std::string& u8() const { return p->units.u8.text(); }
    const std::string& u9() const { return p->units.u9.text(); }
};

inline std::unique_ptr<Job> run_job(const std::string& deck) {
    auto j = std::make_unique<Job>(deck);
    j->run();
    return j;
}

struct Example {
    fs::path path;
    std::string deck;
    int stated = -1;   // the error number the heading promises, -1 when it says none
};

// Every deck of `folder` (below the source tree) with the error number its "***" heading
// states.
inline std::vector<Example> decks_in(const char* folder) {
    const std::regex stated(R"(^\*\*\*.*[Ee]nds with error number (\d+)\.)");
    std::vector<Example> out;
    for (const auto& entry : fs::directory_iterator(fs::path(KORVEX_SOURCE_DIR) / folder)) {
        if (entry.path().extension() != ".dat") continue;
        Example e{entry.path(), read_file(entry.path())};
        for (const auto& l : lines_of(e.deck)) {
            if (l.rfind("***", 0) != 0) break;
            std::smatch m;
            if (std::regex_search(l, m, stated)) e.stated = std::stoi(m[1]);
        }
        out.push_back(std::move(e));
    }
    std::sort(out.begin(), out.end(), [](const Example& a, const Example& b) { return a.path < b.path; });
    return out;
}

// The sample decks.
inline std::vector<Example> examples() { return decks_in("examples"); }

// The sample decks and the test decks: what every invariant of a whole job runs over.
inline std::vector<Example> all_decks() {
    auto out = decks_in("examples");
    for (auto& e : decks_in("tests/decks")) out.push_back(std::move(e));
    return out;
}

// How often `what` stands in `text`.
inline std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Records of a listing that show a number that could not be written: a NaN or an infinity as
// the run-time spells them, or a field of asterisks (a value too wide for its edit
// descriptor). Deck lines echoed into the listing are left out: comment lines start with "***".
inline std::vector<std::string> bad_numbers(const std::string& listing) {
    static const std::regex nonfinite(R"((^|[^A-Za-z])(NaN|nan|NAN|Inf|inf|INF|Infinity)([^A-Za-z]|$))");
    // Two or more asterisks that are neither a power ("cm**3") nor inside a word.
    static const std::regex stars(R"((^|[^A-Za-z*])\*\*+([^0-9A-Za-z*]|$))");
    std::vector<std::string> bad;
    for (const auto& l : lines_of(listing)) {
        if (l.find("ZEILE") != std::string::npos) continue;   // deck echo
        if (std::regex_search(l, nonfinite) || std::regex_search(l, stars)) bad.push_back(l);
    }
    return bad;
}

}  // namespace e2e
