#include "platform/recording_surface.hpp"

#include <algorithm>

namespace korvex::platform {

void RecordingSurface::select_pen(const Pen& pen) {
    pen_ = pen;
    Op op;
    op.kind = Kind::Pen;
    op.pen = pen;
    ops_.push_back(std::move(op));
}

void RecordingSurface::move_to(Point p) {
    pos_ = p;
    Op op;
    op.kind = Kind::Move;
    op.p = p;
    ops_.push_back(std::move(op));
}

void RecordingSurface::line_to(Point p) {
    pos_ = p;
    Op op;
    op.kind = Kind::Line;
    op.p = p;
    ops_.push_back(std::move(op));
}

void RecordingSurface::polyline(std::span<const Point> points) {
    Op op;
    op.kind = Kind::Polyline;
    op.points.assign(points.begin(), points.end());
    ops_.push_back(std::move(op));
}

void RecordingSurface::rectangle(int left, int top, int right, int bottom) {
    Op op;
    op.kind = Kind::Rectangle;
    op.left = left;
    op.top = top;
    op.right = right;
    op.bottom = bottom;
    ops_.push_back(std::move(op));
}

void RecordingSurface::set_brush(Color c) {
    brush_ = c;
    Op op;
    op.kind = Kind::Brush;
    op.color = c;
    ops_.push_back(std::move(op));
}

void RecordingSurface::set_text_color(Color c) {
    text_color_ = c;
    Op op;
    op.kind = Kind::TextColor;
    op.color = c;
    ops_.push_back(std::move(op));
}

void RecordingSurface::text(Point p, std::string_view s) {
    Op op;
    op.kind = Kind::Text;
    op.p = p;
    op.color = text_color_;
    op.text = std::string(s);
    ops_.push_back(std::move(op));
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
