// Every sample deck runs through and ends with the error number its heading states.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/run/control_support.hpp"

namespace fs = std::filesystem;

TEST(ControlExamples, EachDeckEndsWithTheErrorNumberItStates) {
    const fs::path dir = fs::path(KORVEX_SOURCE_DIR) / "examples";
    const std::regex stated(R"(^\*\*\*.*[Ee]nds with error number (\d+)\.)");
    int decks = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".dat") continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        int expected = -1;
        std::istringstream lines(text.str());
        for (std::string l; std::getline(lines, l) && l.rfind("***", 0) == 0;) {
            std::smatch m;
            if (std::regex_search(l, m, stated)) expected = std::stoi(m[1]);
        }
        ASSERT_GE(expected, 0) << entry.path() << " does not say how it ends";
        auto j = control_test::whole_job(text.str());
        const auto& p = j->p;
        EXPECT_EQ(p->run.NFAIL, expected) << entry.path();
        if (expected == 0) {
            EXPECT_GE(p->run.NLAUF, 1) << entry.path();
        }
        ++decks;
    }
    EXPECT_GE(decks, 10);
}
