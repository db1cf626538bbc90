// The table of error numbers behind `korvex --explain`: every number the program can set has an
// entry, and the explanation of a deck line's number lists that line's value ranges.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "run/deck_ranges.hpp"
#include "run/error_table.hpp"

namespace fs = std::filesystem;
using korvex::run::error_entry;
using korvex::run::explain_error;

namespace {

// Every error number the sources set: assignments to NFAIL (also both arms of a choice), the
// numbers handed to the stop and failure routines, the steam-table codes, and 1 for every
// place that counts an event into NFAIL.
std::set<int> numbers_set_in_code() {
    const std::regex patterns[] = {
        std::regex(R"(NFAIL\s*=\s*(\d+)\s*;)"),
        std::regex(R"(NFAIL\s*=\s*[^;?]*\?\s*(\d+)\s*:\s*(\d+))"),
        std::regex(R"(stop_with\(\s*\w+\s*,\s*(\d+)\s*\))"),
        std::regex(R"(record_error\([^;]*,\s*(\d+)\s*\))"),
        std::regex(R"(fail\(\s*\d+\s*,\s*(\d+)\s*,)"),
    };
    const std::regex counted(R"(NFAIL\s*\+=\s*1|\+\+\s*\w+\.NFAIL)");
    std::set<int> found;
    for (const char* dir : {"run", "simulation", "diagrams", "properties", "device", "input", "shell"}) {
        for (const auto& e : fs::recursive_directory_iterator(fs::path(KORVEX_SOURCE_DIR) / dir)) {
            if (e.path().extension() != ".cpp" && e.path().extension() != ".hpp") continue;
            std::ifstream in(e.path());
            std::stringstream ss;
            ss << in.rdbuf();
            const std::string text = ss.str();
            for (const std::regex& re : patterns)
                for (std::sregex_iterator m(text.begin(), text.end(), re), end; m != end; ++m)
                    for (std::size_t g = 1; g < m->size(); ++g)
                        if ((*m)[g].matched) found.insert(std::stoi((*m)[g].str()));
            if (std::regex_search(text, counted)) found.insert(1);
        }
    }
    for (const auto& r : korvex::run::deck_ranges()) found.insert(r.NFAIL);
    return found;
}

}  // namespace

TEST(ErrorTable, EveryNumberTheProgramSetsHasAnEntry) {
    const std::set<int> found = numbers_set_in_code();
    // The scan itself must see the numbers it is there for.
    for (int n : {1, 112, 199, 222, 299, 329, 330, 332, 333, 336, 501, 502, 503, 504, 505, 506, 507, 508, 509, 510,
                  511, 512, 516, 517, 666, 770, 777, 885, 886, 887, 888, 889})
        EXPECT_TRUE(found.count(n)) << n << " not found in the sources";
    for (int n : found)  // 0 is the cleared number of a new job
        if (n != 0) {
            EXPECT_NE(error_entry(n), nullptr) << "no entry for error number " << n;
        }
}

TEST(ErrorTable, ExplanationsOfKnownCountedAndUnknownNumbers) {
    // A deck line's number lists the ranges the reader checks on that line.
    const std::string e504 = explain_error(504);
    EXPECT_EQ(e504.rfind("FEHLER Nr. 504: ", 0), 0u);
    EXPECT_NE(e504.find("the job stops"), std::string::npos);
    EXPECT_NE(e504.find("0.01 <= DH <= 1000 cm"), std::string::npos);
    EXPECT_NE(e504.find("1 <= TK <= 5000 K"), std::string::npos);
    EXPECT_EQ(e504.find("SGRAD"), std::string::npos);

    // Events counted on top of a number that lets the run go on.
    const std::string e772 = explain_error(772);
    EXPECT_EQ(e772.rfind("FEHLER Nr. 772 is 770 and 2 counted events after it:", 0), 0u);
    EXPECT_NE(e772.find("FEHLER Nr. 1 to 99: "), std::string::npos);
    EXPECT_EQ(explain_error(3).rfind("FEHLER Nr. 1 to 99: ", 0), 0u);

    // Nothing counts on top of a number that stops the job, and there are no others.
    EXPECT_EQ(explain_error(505 + 500), "");
    EXPECT_EQ(explain_error(400), "");
    EXPECT_EQ(explain_error(0), "");
    EXPECT_EQ(explain_error(-504), "");
}
