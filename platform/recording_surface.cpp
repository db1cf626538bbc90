#include "platform/recording_surface.hpp"

#include <algorithm>

namespace korvex::platform {

void RecordingSurface::select_pen(const Pen& pen) {
    pen_ = pen;
    ops_.push_back({.kind = Kind::Pen, .pen = pen});
}

void RecordingSurface::move_to(Point p) {
    pos_ = p;
    ops_.push_back({.kind = Kind::Move, .p = p});
}

void RecordingSurface::line_to(Point p) {
    pos_ = p;
    ops_.push_back({.kind = Kind::Line, .p = p});
}

void RecordingSurface::polyline(std::span<const Point> points) {
    ops_.push_back({.kind = Kind::Polyline, .points = {points.begin(), points.end()}});
}

void RecordingSurface::rectangle(int left, int top, int right, int bottom) {
    ops_.push_back(
        {.kind = Kind::Rectangle, .left = left, .top = top, .right = right, .bottom = bottom});
}

void RecordingSurface::set_brush(Color c) {
    brush_ = c;
    ops_.push_back({.kind = Kind::Brush, .color = c});
}

void RecordingSurface::set_text_color(Color c) {
    text_color_ = c;
    ops_.push_back({.kind = Kind::TextColor, .color = c});
}

void RecordingSurface::text(Point p, std::string_view s) {
    ops_.push_back({.kind = Kind::Text, .p = p, .color = text_color_, .text = std::string(s)});
}

std::vector<RecordingSurface::Op> RecordingSurface::of(Kind k) const {
    std::vector<Op> r;
    for (const Op& op : ops_)
        if (op.kind == k) r.push_back(op);
    return r;
}

int RecordingSurface::count(Kind k) const {
    return static_cast<int>(std::count_if(ops_.begin(), ops_.end(),
                                          [k](const Op& op) { return op.kind == k; }));
}

}  // namespace korvex::platform
