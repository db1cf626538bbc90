#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/svg_surface.hpp"

using namespace korvex::platform;

namespace {
int occurrences(const std::string& s, const std::string& what) {
    int n = 0;
    for (std::size_t i = s.find(what); i != std::string::npos; i = s.find(what, i + 1)) ++n;
    return n;
}
}  // namespace

TEST(SvgSurface, PageSizeAndWhiteBackground) {
    SvgSurface s(1008, 700);
    const std::string svg = s.svg();
    EXPECT_NE(svg.find("width=\"1008\" height=\"700\""), std::string::npos);
    EXPECT_NE(svg.find("fill=\"#ffffff\""), std::string::npos);
    EXPECT_EQ(svg.rfind("</svg>\n"), svg.size() - 7);
}

TEST(SvgSurface, ConnectedSegmentsOfOnePenBecomeOnePath) {
    SvgSurface s(100, 100);
    s.select_pen({PenStyle::Solid, 2, {255, 0, 0}});
    s.move_to({1, 2});
    s.line_to({10, 2});
    s.line_to({10, 20});
    s.move_to({50, 50});  // a jump stays in the same path as a new sub-path
    s.line_to({60, 60});
    s.line_to({60, 60});  // a line of no length adds nothing (a square cap would be a dot)
    s.select_pen({PenStyle::Dash, 0, {0, 0, 255}});
    s.line_to({70, 60});
    s.move_to({90, 90});
    s.line_to({90, 90});
    const std::string svg = s.svg();
    EXPECT_EQ(occurrences(svg, "<path"), 2);
    EXPECT_EQ(svg.find("90 90"), std::string::npos);
    EXPECT_NE(svg.find("d=\"M1 2 L10 2 L10 20 M50 50 L60 60\" fill=\"none\" stroke=\"#ff0000\" "
                       "stroke-width=\"2\""),
              std::string::npos);
    // Width 0 is one pixel; a dashed pen carries its dash pattern.
    EXPECT_NE(svg.find("d=\"M60 60 L70 60\" fill=\"none\" stroke=\"#0000ff\" stroke-width=\"1\" "
                       "stroke-dasharray=\"18 6\""),
              std::string::npos);
}

TEST(SvgSurface, PolylineRectangleAndText) {
    SvgSurface s(200, 100);
    const Point pts[] = {{0, 0}, {5, 6}, {7, 8}};
    s.polyline(pts);
    s.polyline(std::span<const Point>(pts, 1));  // a single point draws nothing
    s.rectangle(0, 75, 30, 100);
    s.set_text_color({255, 0, 0});
    s.text({2, 78}, "a<b & \"c\"\x01\xe4");
    const std::string svg = s.svg();
    EXPECT_EQ(occurrences(svg, "<polyline"), 1);
    EXPECT_NE(svg.find("points=\"0,0 5,6 7,8\""), std::string::npos);
    EXPECT_NE(svg.find("<rect x=\"0\" y=\"75\" width=\"29\" height=\"24\" fill=\"#ffffff\""),
              std::string::npos);
    // Base line = top + ascent; markup escaped; a control byte kept as '?'; Latin-1 as reference.
    EXPECT_NE(svg.find("<text x=\"2\" y=\"89\" fill=\"#ff0000\">a&lt;b &amp; &quot;c&quot;?&#228;"
                       "</text>"),
              std::string::npos);
}

TEST(SvgSurface, SaveWritesTheDocumentAndReportsFailure) {
    SvgSurface s(10, 10);
    s.move_to({0, 0});
    s.line_to({9, 9});
    const auto path = std::filesystem::temp_directory_path() / "korvex_svg_surface_test.svg";
    ASSERT_TRUE(s.save(path));
    std::ifstream f(path);
    std::stringstream ss;
    ss << f.rdbuf();
    EXPECT_EQ(ss.str(), s.svg());
    std::filesystem::remove(path);
    EXPECT_FALSE(s.save("/nonexistent-dir/x/y.svg"));
}
