#pragma once
// The drawing context the plot device draws on: pixels with the origin at the top left corner,
// x to the right, y downwards. Back ends: RecordingSurface (tests), SvgSurface (SVG pages) and,
// in the shell, QtSurface (window, printer, PNG, PDF).
#include <cstdint>
#include <span>
#include <string_view>

namespace korvex::platform {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Null };

// A pen as the device creates it; width 0 is the thinnest line the surface draws (one pixel).
struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    Color color{};
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

class Surface {
public:
    virtual ~Surface() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    // The pen used by every following line, polyline and rectangle outline.
    virtual void select_pen(const Pen& pen) = 0;
    virtual void move_to(Point p) = 0;
    // A line from the pen position to p; p becomes the pen position. A line to the pen position
    // itself draws nothing.
    virtual void line_to(Point p) = 0;
    // One polyline through the points; the pen position is neither used nor changed.
    virtual void polyline(std::span<const Point> points) = 0;
    // Outline with the current pen, filled with the current brush (white unless changed).
    virtual void rectangle(int left, int top, int right, int bottom) = 0;
    virtual void set_brush(Color c) = 0;
    virtual void set_text_color(Color c) = 0;
    // Text with its top left corner at (x, y), in the surface's default font.
    virtual void text(Point p, std::string_view s) = 0;
};

}  // namespace korvex::platform
