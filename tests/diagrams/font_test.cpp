#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "device/plot.hpp"
#include "diagrams/font.hpp"
#include "diagrams/plotlib.hpp"
#include "platform/svg_surface.hpp"
#include "tests/device/device_rig.hpp"

using namespace korvex;
using diagrams::Glyph;

TEST(FontTable, HoldsPrintableAsciiAndTheEightExtras) {
    int found = 0;
    for (int c = 0; c < 256; ++c) {
        const Glyph* g = diagrams::char_glyph(static_cast<unsigned char>(c));
        if (g == nullptr) continue;
        ++found;
        EXPECT_LE(g->n, 18) << c;
        // Everything but the blank draws something, and starts with a move.
        if (c != ' ') {
            EXPECT_GE(g->n, 2) << c;
        }
        for (int i = 0; i < g->n; ++i) {
            EXPECT_GE(g->pt[i][0], 0) << c;
            EXPECT_LE(g->pt[i][0], 14) << c;
            EXPECT_GE(g->pt[i][1], -4) << c;
            EXPECT_LE(g->pt[i][1], 14) << c;
        }
    }
    EXPECT_EQ(found, diagrams::NFONTCHARS);
    for (int c = 32; c <= 126; ++c) EXPECT_NE(diagrams::char_glyph(static_cast<unsigned char>(c)), nullptr);
    for (unsigned char c : {196, 214, 220, 228, 246, 252, 223, 176}) EXPECT_NE(diagrams::char_glyph(c), nullptr);
    EXPECT_EQ(diagrams::char_glyph('\t'), nullptr);
    EXPECT_EQ(diagrams::char_glyph(200), nullptr);
    EXPECT_EQ(diagrams::char_glyph(' ')->n, 0);
}

TEST(FontTable, MarkersAreDistinctAndCentredOnTheirCell) {
    for (int m = 0; m < diagrams::NMARKERS; ++m) {
        const Glyph& g = diagrams::marker_glyph(m);
        ASSERT_GE(g.n, 2);
        int x0 = 99, x1 = -99, y0 = 99, y1 = -99;
        for (int i = 0; i < g.n; ++i) {
            x0 = std::min<int>(x0, g.pt[i][0]);
            x1 = std::max<int>(x1, g.pt[i][0]);
            y0 = std::min<int>(y0, g.pt[i][1]);
            y1 = std::max<int>(y1, g.pt[i][1]);
        }
        EXPECT_EQ(x0 + x1, 14) << m;  // centre at x = 7
        EXPECT_NEAR((y0 + y1) / 2.0, 7.0, 0.5) << m;
        for (int k = 0; k < m; ++k) {
            const Glyph& o = diagrams::marker_glyph(k);
            EXPECT_FALSE(o.n == g.n && o.pt == g.pt && o.moves == g.moves) << k << " " << m;
        }
    }
    EXPECT_EQ(&diagrams::marker_glyph(-3), &diagrams::marker_glyph(0));
    EXPECT_EQ(&diagrams::marker_glyph(40), &diagrams::marker_glyph(12));
}

// The font sheet: every character at three heights and the markers, written into the build
// directory for a look.
TEST(FontSheet, RendersEveryGlyph) {
    test::DeviceRig<platform::SvgSurface> rig(1008, 700);
    device::Plotter& p = rig.p;
    device::PLOTS(p, 25.0f, 17.5f, 1.0f);  // 40 pixels per cm
    device::SETPEN(p, 1, 1, 7);

    std::string all;
    for (int c = 33; c <= 126; ++c) all += static_cast<char>(c);
    all += "\xc4\xd6\xdc\xe4\xf6\xfc\xdf\xb0";
    float y = 16.5f;
    for (float h : {0.6f, 0.3f, 0.2f}) {
        const int per_line = static_cast<int>(24.0f / h);
        for (std::size_t i = 0; i < all.size(); i += static_cast<std::size_t>(per_line)) {
            const std::string part = all.substr(i, static_cast<std::size_t>(per_line));
            diagrams::SYMBOL(p, 0.5f, y, h, part, 0.0f, static_cast<int>(part.size()));
            y -= 1.8f * h;
        }
        y -= 0.3f;
    }
    const std::string words = "Drehzahl n = 1500 1/min; Wirkungsgrad ]h.u= 35.2 % (T0=293 K)";
    diagrams::SYMBOL(p, 0.5f, y, 0.3f, words, 0.0f, static_cast<int>(words.size()));
    y -= 0.6f;
    diagrams::SYMBOL(p, 0.5f, y, -0.3f, words, 0.0f, static_cast<int>(words.size()));
    y -= 0.8f;
    for (int m = 0; m < diagrams::NMARKERS; ++m) {
        diagrams::SYMBLI(p, 1.0f + 1.5f * m, y, 0.5f, m, 0.0f, -1);
        diagrams::SYMBLI(p, 1.0f + 1.5f * m, y - 0.8f, 0.2f, m, 0.0f, -1);
    }
    diagrams::SYMBOL(p, 20.0f, 2.0f, 0.4f, "Vertikal 90", 90.0f, 11);
    diagrams::SYMBOL(p, 21.0f, 2.0f, 0.4f, "Schraeg 30", 30.0f, 10);
    EXPECT_EQ(rig.NFAIL, 0);

    const auto out = std::filesystem::path(KORVEX_BINARY).parent_path().parent_path() / "font-sheet.svg";
    EXPECT_TRUE(rig.surf.save(out));
}
