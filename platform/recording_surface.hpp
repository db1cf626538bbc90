#pragma once
// A surface that draws nothing and keeps every primitive in order, so that tests can ask what
// the plot device and the plot library sent to the page.
#include <string>
#include <vector>

#include "platform/surface.hpp"

namespace korvex::platform {

class RecordingSurface final : public Surface {
public:
    enum class Kind { Pen, Move, Line, Polyline, Rectangle, Brush, TextColor, Text };

    struct Op {
        Kind kind{};
        Pen pen{};                  // Pen
        Point p{};                  // Move, Line (end point), Text (top left)
        std::vector<Point> points{};  // Polyline
        int left = 0, top = 0, right = 0, bottom = 0;  // Rectangle
        Color color{};              // Brush, TextColor
        std::string text{};         // Text
    };

    RecordingSurface(int width, int height) : width_(width), height_(height) {}

    int width() const override { return width_; }
    int height() const override { return height_; }

    void select_pen(const Pen& pen) override;
    void move_to(Point p) override;
    void line_to(Point p) override;
    void polyline(std::span<const Point> points) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void set_brush(Color c) override;
    void set_text_color(Color c) override;
    void text(Point p, std::string_view s) override;

    const std::vector<Op>& ops() const { return ops_; }
    void clear() { ops_.clear(); }
    // The ops of one kind, in order.
    std::vector<Op> of(Kind k) const;
    int count(Kind k) const;

    // What the surface holds now, as a painter would track it.
    const Pen& pen() const { return pen_; }
    Point position() const { return pos_; }
    Color text_color() const { return text_color_; }
    Color brush() const { return brush_; }

private:
    int width_, height_;
    std::vector<Op> ops_;
    Pen pen_{};
    Point pos_{};
    Color text_color_{};
    Color brush_{255, 255, 255};
};

}  // namespace korvex::platform
