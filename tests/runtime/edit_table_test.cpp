// The edit descriptors against the committed reference table written by gfortran
// (tests/data/gen_edit_table.f90): every line must come out character for character.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/format.hpp"

using namespace korvex::runtime;

namespace {

struct Descriptor {
    char kind = 0;
    int w = 0, d = 0;
};

Descriptor parse_descriptor(const std::string& s) {
    Descriptor r;
    r.kind = s[0];
    const auto dot = s.find('.');
    r.w = std::stoi(s.substr(1, dot == std::string::npos ? std::string::npos : dot - 1));
    if (dot != std::string::npos) r.d = std::stoi(s.substr(dot + 1));
    return r;
}

}  // namespace

TEST(EditTable, ReproducesGfortranCharacterForCharacter) {
    std::ifstream in(std::string(KORVEX_TEST_DATA) + "/edit_table.txt");
    ASSERT_TRUE(in) << "edit_table.txt is missing";
    std::string line;
    int cases = 0, failures = 0;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        const auto bar = line.find('|');
        ASSERT_NE(bar, std::string::npos) << line;
        ASSERT_EQ(line.back(), '|') << line;
        const std::string expected = line.substr(bar + 1, line.size() - bar - 2);
        std::istringstream head(line.substr(0, bar));
        std::string kind, value, desc;
        head >> kind >> value >> desc;
        const Descriptor dd = parse_descriptor(desc);
        std::string got;
        if (kind == "I") {
            got = I(std::stoll(value), dd.w);
        } else {
            const double v = std::bit_cast<double>(static_cast<std::uint64_t>(std::stoull(value, nullptr, 16)));
            if (dd.kind == 'F') got = F(v, dd.w, dd.d);
            else got = E(v, dd.w, dd.d);
            if (kind == "S") {
                // The 32-bit value edits the same way as its exact 64-bit widening.
                const float f = static_cast<float>(v);
                const std::string gf = dd.kind == 'F' ? F(f, dd.w, dd.d) : E(f, dd.w, dd.d);
                EXPECT_EQ(gf, got) << line;
            }
        }
        ++cases;
        if (got != expected) {
            ++failures;
            if (failures <= 40) ADD_FAILURE() << line << "  got |" << got << "|";
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GE(cases, 2000);
}
