#pragma once
// Helpers shared by the reader tests.
#include <gtest/gtest.h>

#include <string>

#include "runtime/units.hpp"

namespace korvex::input::test {

// A deck line as the run control hands it over: 80 columns, blank-padded.
inline std::string pad80(std::string s) {
    s.resize(80, ' ');
    return s;
}

// Most reader messages go to unit 6 and unit 9 alike.
inline void expect_both(const runtime::Units& u, const std::string& text) {
    EXPECT_EQ(u.u6.text(), text);
    EXPECT_EQ(u.u9.text(), text);
}

}  // namespace korvex::input::test
