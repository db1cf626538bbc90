// The catalogue of plottable quantities: names, positions, classes, unit texts, scale table.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "diagrams/catalogue.hpp"

namespace korvex::diagrams {
namespace {

TEST(CatalogueNames, SevenHundredFiveUniqueSixCharacterNamesThatFindThemselves) {
    std::set<std::string> seen;
    for (int I = 1; I <= 705; ++I) {
        const std::string n(NAMEG(I));
        ASSERT_EQ(n.size(), 6u) << I;
        // Upper case letters and digits, then blank padding only.
        const auto blank = n.find(' ');
        EXPECT_EQ(n.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"), blank) << n;
        if (blank != std::string::npos) {
            EXPECT_EQ(n.find_first_not_of(' ', blank), std::string::npos) << n;
        }
        seen.insert(n);
        EXPECT_EQ(catalogue_position(n), I) << n;
        EXPECT_GE(catalogue_class(I), 1);
        EXPECT_LE(catalogue_class(I), 33);
    }
    EXPECT_EQ(seen.size(), 705u);
    EXPECT_EQ(NAMEG(0), "      ");
    EXPECT_EQ(NAMEG(706), "      ");
    EXPECT_EQ(catalogue_class(0), 0);
    EXPECT_EQ(catalogue_class(706), 0);
}

TEST(CatalogueNames, SpotPositionsClassesAndPartEngines) {
    struct Spot { const char* name; int pos; int cls; int part; };
    const Spot spots[] = {
        {"HE1", 1, 13, 1},     {"HE2", 140, 13, 2},   {"HE4", 418, 13, 4},
        {"T11", 16, 1, 1},     {"T12", 155, 1, 2},    {"DS31", 37, 3, 1},
        {"DS34", 454, 3, 4},   {"P3", 293, 7, 3},     {"VG1", 13, 6, 1},
        {"VDR1", 139, 28, 1},  {"VDR4", 556, 28, 4},  {"DUMMY1", 557, 5, 0},
        {"RPM", 570, 22, 0},   {"QZU", 587, 11, 0},   {"TIME", 649, 16, 0},
        {"VWORK", 656, 11, 0}, {"PPUMPC", 705, 17, 0}, {"DMY11", 109, 29, 1}, {"DMY14", 526, 29, 4},
        {"DMY34", 528, 30, 4}, {"S21", 59, 2, 1},
    };
    for (const Spot& s : spots) {
        EXPECT_EQ(catalogue_position(s.name), s.pos) << s.name;
        EXPECT_EQ(catalogue_class(s.pos), s.cls) << s.name;
        EXPECT_EQ(part_engine(s.pos), s.part) << s.name;
    }
    EXPECT_EQ(part_engine(0), 0);
    EXPECT_EQ(part_engine(706), 0);
}

TEST(CatalogueNames, ComparisonIsExactOverSixCharacters) {
    EXPECT_EQ(catalogue_position("HE1   "), 1);
    EXPECT_EQ(catalogue_position("HE1"), 1);       // a short name counts blank-padded
    EXPECT_EQ(catalogue_position("he1"), 0);
    EXPECT_EQ(catalogue_position(" HE1"), 0);
    EXPECT_EQ(catalogue_position("Time"), 0);
    EXPECT_EQ(catalogue_position("HE1   X"), 0);   // not blank beyond six characters
    EXPECT_EQ(catalogue_position("HE1         "), 1);
    EXPECT_EQ(catalogue_position("HE5"), 0);
    EXPECT_EQ(catalogue_position("HE"), 0);
    EXPECT_EQ(catalogue_position(""), 0);
    EXPECT_EQ(catalogue_position("      "), 0);
    EXPECT_EQ(catalogue_position(std::string("HE1\0\0\0", 6)), 0);
}

TEST(CatalogueNames, ClassUnitTextsAndScaleKeywords) {
    for (int k = 1; k <= 33; ++k) EXPECT_EQ(unit_text(k).size(), 12u) << k;
    EXPECT_EQ(unit_text(1), "KELVIN      ");
    EXPECT_EQ(unit_text(3), "WATT * SEC/K");
    EXPECT_EQ(unit_text(17), "WATT        ");
    EXPECT_EQ(unit_text(31), "W*S/(K*m**2)");
    EXPECT_EQ(unit_text(33), "---         ");
    EXPECT_EQ(first_keyword(1), "T(F)=");
    EXPECT_EQ(first_keyword(30), "DMY34F=");
    EXPECT_EQ(delta_keyword(33), "REY(D)=");
    EXPECT_TRUE(unit_text(0).empty());
    EXPECT_TRUE(first_keyword(34).empty());
}

// Class k takes its pair from scaling values 2k-1 and 2k; a computed pair is written back.
TEST(CatalogueNames, ScaleTableFromTheDeckAndWrittenBack) {
    auto d = std::make_unique<DiagramState>();
    d->scaling[0] = 300.0f;   // T(F)=
    d->scaling[1] = 50.0f;    // T(D)=
    d->scaling[30] = 0.5f;    // TME(F)= of class 16
    d->scaling[65] = 7.0f;    // REY(D)=
    init_scale_table(*d);
    EXPECT_EQ(first_value(*d, 1), 300.0f);
    EXPECT_EQ(delta_value(*d, 1), 50.0f);
    EXPECT_EQ(first_value(*d, 16), 0.5f);
    EXPECT_EQ(delta_value(*d, 16), 0.0f);
    EXPECT_EQ(delta_value(*d, 33), 7.0f);
    store_scale(*d, 16, 0.0f, 0.025f);
    EXPECT_EQ(delta_value(*d, 16), 0.025f);
    store_scale(*d, 34, 1.0f, 1.0f);          // no such class: ignored
    EXPECT_EQ(first_value(*d, 34), 0.0f);

    Series s{};
    set_series_scale(s, 3, -2.0f, 4.0f);      // cells N+1, N+2 are indices 3 and 4
    EXPECT_EQ(s[3], -2.0f);
    EXPECT_EQ(s[4], 4.0f);
    set_series_scale(s, 2001, 1.0f, 2.0f);    // the last two cells
    EXPECT_EQ(s[2002], 2.0f);
    const Series before = s;
    set_series_scale(s, 2002, 9.0f, 9.0f);    // no room: nothing written
    set_series_scale(s, -1, 9.0f, 9.0f);
    EXPECT_EQ(s, before);
}

TEST(CatalogueNames, AvailabilityFollowsNzylAndThePartEngineTwoList) {
    const int P1 = 15, P2 = 154, P3 = 293, P4 = 432;
    EXPECT_TRUE(available(P1, 1));
    EXPECT_TRUE(available(P2, 1));    // in the list of part-engine 2
    EXPECT_FALSE(available(P3, 1));
    EXPECT_FALSE(available(P4, 2));
    EXPECT_TRUE(available(P4, 4));
    EXPECT_FALSE(available(catalogue_position("HE2"), 1));     // not in the list
    EXPECT_FALSE(available(catalogue_position("VG3"), 2));
    EXPECT_TRUE(available(catalogue_position("TIME"), 1));
    EXPECT_TRUE(available(catalogue_position("PPUMPC"), 0));
    EXPECT_FALSE(available(0, 4));
    EXPECT_FALSE(available(706, 4));

    const char* list[] = {"VC2", "VE2", "DVC2", "DVE2", "DVG2", "VG2", "TC2", "TE2", "DMR2", "DMC2",
                          "DME2", "MR2", "MC2", "ME2", "QTS22", "QTS12", "QGN2", "QNUZG2", "QNUZD2",
                          "QAB2", "QZU2", "V2", "T12", "S12", "DS12", "DQGN2", "DQNZD2", "DQNUZ2",
                          "DQAB2", "DQZU2", "DUTC2", "DUTE2", "A2", "AC2", "AE2", "DA2", "DTC2",
                          "DAC2", "DTE2", "DAE2", "DREH2", "PFK2", "PFE2", "DPGES2", "PGES2", "PS2",
                          "P2"};
    for (const char* n : list) {
        const int I = catalogue_position(n);
        EXPECT_EQ(part_engine(I), 2) << n;
        EXPECT_TRUE(available(I, 1)) << n;
    }
    int count = 0;
    for (int I = 140; I <= 278; ++I) count += available(I, 1) ? 1 : 0;
    EXPECT_EQ(count, 47);
}

}  // namespace
}  // namespace korvex::diagrams
