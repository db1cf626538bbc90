#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "device/plot.hpp"
#include "diagrams/font.hpp"
#include "diagrams/plotlib.hpp"
#include "platform/recording_surface.hpp"
#include "tests/device/device_rig.hpp"

using namespace korvex;
using diagrams::Glyph;

TEST(FontTable, HoldsPrintableAsciiAndTheEightExtras) {
    int found = 0;
    for (int c = 0; c < 256; ++c) {
        const Glyph* g = diagrams::char_glyph(static_cast<unsigned char>(c));
        if (g == nullptr) continue;
        ++found;
        EXPECT_LE(g->n, 18) << c;   // where the strokes land: FontSheet below
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

// Every character lettered through the device lands in its own cell: from its start point one
// advance wide (the height, or 6/7 of it for narrow lettering) and from 4/14 of the height
// below the base line to the height above it, with at least one stroke for every character
// but the blank; a second character stands one advance further on. Every marker lies in the
// square of its height centred on its point, and the pen ends on that point.
TEST(FontSheet, EveryGlyphDrawsInsideItsCell) {
    test::DeviceRig<platform::RecordingSurface> rig(1000, 600);
    device::Plotter& p = rig.p;
    device::PLOTS(p, 25.0f, 12.0f, 1.0f);   // 40 pixels per cm across, 50 down
    using Kind = platform::RecordingSurface::Kind;
    auto px = [](float x) { return static_cast<int>(40.0f * x); };
    auto py = [](float y) { return static_cast<int>(50.0f * (12.0f - y)); };
    const float X0 = 2.0f, Y0 = 6.0f;
    for (int c = 0; c < 256; ++c) {
        if (diagrams::char_glyph(static_cast<unsigned char>(c)) == nullptr) continue;
        for (float h : {0.6f, -0.6f}) {
            const float adv = h > 0.0f ? h : -6.0f * h / 7.0f, H = std::fabs(h);
            rig.surf.clear();
            const std::string two(2, static_cast<char>(c));
            diagrams::SYMBOL(p, X0, Y0, h, two, 0.0f, 2);
            const auto ops = rig.surf.ops();
            ASSERT_GE(ops.size(), 1u);
            std::vector<platform::Point> first, second;
            const std::size_t half = (ops.size() - 1) / 2;   // the last op moves behind the text
            for (std::size_t i = 0; i + 1 < ops.size(); ++i) {
                ASSERT_TRUE(ops[i].kind == Kind::Move || ops[i].kind == Kind::Line) << c;
                (i < half ? first : second).push_back(ops[i].p);
                if (i < half) {
                    EXPECT_GE(ops[i].p.x, px(X0) - 1) << c << " " << h;
                    EXPECT_LE(ops[i].p.x, px(X0 + adv) + 1) << c << " " << h;
                    EXPECT_GE(ops[i].p.y, py(Y0 + H) - 1) << c << " " << h;
                    EXPECT_LE(ops[i].p.y, py(Y0 - 4.0f * H / 14.0f) + 1) << c << " " << h;
                }
            }
            if (c == ' ') {
                EXPECT_TRUE(first.empty());
            } else {
                EXPECT_GE(first.size(), 2u) << c;
                ASSERT_EQ(first.size(), second.size()) << c;
                for (std::size_t i = 0; i < first.size(); ++i) {
                    EXPECT_NEAR(second[i].x - first[i].x, 40.0f * adv, 1.0f) << c;
                    EXPECT_EQ(second[i].y, first[i].y) << c;
                }
            }
            EXPECT_NEAR(ops.back().p.x, px(X0 + 2.0f * adv), 1);
            EXPECT_EQ(ops.back().p.y, py(Y0));
        }
    }
    for (int m = 0; m < diagrams::NMARKERS; ++m) {
        rig.surf.clear();
        diagrams::SYMBLI(p, 5.0f, 5.0f, 0.5f, m, 0.0f, -1);
        const auto ops = rig.surf.ops();
        ASSERT_GE(ops.size(), 3u);
        for (const auto& op : ops) {
            EXPECT_GE(op.p.x, px(4.75f) - 1) << m;
            EXPECT_LE(op.p.x, px(5.25f) + 1) << m;
            EXPECT_GE(op.p.y, py(5.25f) - 1) << m;
            EXPECT_LE(op.p.y, py(4.75f) + 1) << m;
        }
        EXPECT_EQ(ops.back().p, (platform::Point{px(5.0f), py(5.0f)}));
    }
    EXPECT_EQ(rig.NFAIL, 0);
}
