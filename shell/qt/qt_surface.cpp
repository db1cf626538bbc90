#include "shell/qt/qt_surface.hpp"

#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QPolygon>
#include <QString>
#include <algorithm>

namespace korvex::shell::qt {

namespace {

QColor qcolor(platform::Color c) { return QColor(c.r, c.g, c.b); }

// Texts come from the deck and the listings as single bytes (ISO-8859-1); control bytes would
// draw as boxes or nothing, so they become '?' and every byte keeps its place.
QString latin1_text(std::string_view s) {
    QString t;
    t.reserve(static_cast<qsizetype>(s.size()));
    for (unsigned char c : s) {
        if (c < 0x20 || (c >= 0x7f && c < 0xa0)) t += QLatin1Char('?');
        else t += QChar(c);
    }
    return t;
}

}  // namespace

QtSurface::QtSurface(QPainter& painter, int width, int height, int font_pixels)
    : painter_(painter), width_(std::max(width, 1)), height_(std::max(height, 1)) {
    // Pen plotter lines on whole pixels: no smoothing, so a one-pixel line is one pixel row.
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(font_pixels, 1));
    painter_.setFont(font);
    ascent_ = QFontMetrics(font, painter_.device()).ascent();
    painter_.setBrush(QBrush(Qt::white));
    painter_.setPen(qpen(platform::Pen{}));
}

QPen QtSurface::qpen(const platform::Pen& pen) {
    if (pen.style == platform::PenStyle::Null) return QPen(Qt::NoPen);
    QPen q(qcolor(pen.color));
    // Width 0 is the thinnest line the target draws: Qt's cosmetic one-pixel pen.
    q.setWidth(std::max(pen.width, 0));
    q.setCapStyle(Qt::SquareCap);
    q.setJoinStyle(Qt::MiterJoin);
    // Dash patterns of a pen plotter's line types, in multiples of the line width as on the SVG
    // page; the dashes keep their ends square-cut so that the gaps stay open.
    QList<qreal> dash;
    switch (pen.style) {
        case platform::PenStyle::Dash: dash = {18, 6}; break;
        case platform::PenStyle::Dot: dash = {3, 3}; break;
        case platform::PenStyle::DashDot: dash = {9, 6, 3, 6}; break;
        case platform::PenStyle::DashDotDot: dash = {9, 3, 3, 3, 3, 3}; break;
        default: break;
    }
    if (!dash.isEmpty()) {
        q.setDashPattern(dash);
        q.setCapStyle(Qt::FlatCap);
    }
    return q;
}

bool QtSurface::go_on() {
    if (stopped_) return false;
    if (check_ && ++count_ >= CHECK_EVERY) {
        count_ = 0;
        if (!check_()) stopped_ = true;
    }
    return !stopped_;
}

void QtSurface::select_pen(const platform::Pen& pen) {
    if (stopped_) return;
    painter_.setPen(qpen(pen));
}

void QtSurface::move_to(platform::Point p) { pos_ = p; }

void QtSurface::line_to(platform::Point p) {
    // A line of no length draws nothing (the square cap would paint a dot).
    if (!(p == pos_) && go_on()) painter_.drawLine(pos_.x, pos_.y, p.x, p.y);
    pos_ = p;
}

void QtSurface::polyline(std::span<const platform::Point> points) {
    if (points.size() < 2 || !go_on()) return;
    QPolygon poly(static_cast<qsizetype>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        poly.setPoint(static_cast<int>(i), points[i].x, points[i].y);
    painter_.drawPolyline(poly);
}

void QtSurface::rectangle(int left, int top, int right, int bottom) {
    if (!go_on()) return;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    // The outline runs through the pixels left..right-1 and top..bottom-1: the right and bottom
    // edges belong to the neighbour, as with the SVG page.
    painter_.drawRect(left, top, std::max(right - left - 1, 0), std::max(bottom - top - 1, 0));
}

void QtSurface::set_brush(platform::Color c) { painter_.setBrush(QBrush(qcolor(c))); }

void QtSurface::set_text_color(platform::Color c) { text_color_ = c; }

void QtSurface::text(platform::Point p, std::string_view s) {
    if (!go_on()) return;
    const QPen pen = painter_.pen();
    painter_.setPen(QPen(qcolor(text_color_)));
    painter_.drawText(p.x, p.y + ascent_, latin1_text(s));
    painter_.setPen(pen);
}

}  // namespace korvex::shell::qt
