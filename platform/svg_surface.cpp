#include "platform/svg_surface.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>

namespace korvex::platform {

namespace {

void append_int(std::string& s, int v) {
    char buf[16];
    s.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void append_point(std::string& s, Point p) {
    append_int(s, p.x);
    s += ' ';
    append_int(s, p.y);
}

std::string hex(Color c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

// Texts come from the deck and the listings as single bytes (ISO-8859-1). Markup characters are
// escaped, bytes above 127 become character references, and control bytes (not allowed in XML)
// become '?', so every byte keeps its place.
void append_escaped(std::string& s, std::string_view t) {
    for (unsigned char c : t) {
        switch (c) {
            case '&': s += "&amp;"; break;
            case '<': s += "&lt;"; break;
            case '>': s += "&gt;"; break;
            case '"': s += "&quot;"; break;
            case '\'': s += "&apos;"; break;
            default:
                if (c < 0x20 || (c >= 0x7f && c < 0xa0)) {
                    s += '?';
                } else if (c >= 0xa0) {
                    s += "&#";
                    append_int(s, c);
                    s += ';';
                } else {
                    s += static_cast<char>(c);
                }
        }
    }
}

}  // namespace

SvgSurface::SvgSurface(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)) {}

std::string SvgSurface::stroke_attributes(const Pen& pen) const {
    const int w = std::max(pen.width, 1);
    std::string s = " fill=\"none\" stroke=\"" + hex(pen.color) + "\" stroke-width=\"";
    append_int(s, w);
    s += '"';
    // Dash patterns of a pen plotter's line types, in multiples of the line width.
    const char* dash = nullptr;
    switch (pen.style) {
        case PenStyle::Dash: dash = "18 6"; break;
        case PenStyle::Dot: dash = "3 3"; break;
        case PenStyle::DashDot: dash = "9 6 3 6"; break;
        case PenStyle::DashDotDot: dash = "9 3 3 3 3 3"; break;
        default: break;
    }
    if (dash) {
        s += " stroke-dasharray=\"";
        if (w == 1) {
            s += dash;
        } else {
            bool first = true;
            for (const char* p = dash; *p;) {
                int v = 0;
                while (*p >= '0' && *p <= '9') v = v * 10 + (*p++ - '0');
                while (*p == ' ') ++p;
                if (!first) s += ' ';
                append_int(s, v * w);
                first = false;
            }
        }
        s += "\" stroke-linecap=\"butt\"";
    }
    return s;
}

void SvgSurface::flush_path() {
    if (path_.empty()) return;
    body_ += "<path d=\"";
    body_ += path_;
    body_ += '"';
    body_ += stroke_attributes(path_pen_);
    body_ += "/>\n";
    path_.clear();
}

void SvgSurface::select_pen(const Pen& pen) { pen_ = pen; }

void SvgSurface::move_to(Point p) { pos_ = p; }

void SvgSurface::line_to(Point p) {
    // A line of no length draws nothing (square line caps would make it a dot).
    if (pen_.style != PenStyle::Null && !(p == pos_)) {
        if (!path_.empty() && !(path_pen_ == pen_)) flush_path();
        if (path_.empty()) {
            path_pen_ = pen_;
            path_ += 'M';
            append_point(path_, pos_);
        } else if (!(path_end_ == pos_)) {
            path_ += " M";
            append_point(path_, pos_);
        }
        path_ += " L";
        append_point(path_, p);
        path_end_ = p;
    }
    pos_ = p;
}

void SvgSurface::polyline(std::span<const Point> points) {
    if (points.size() < 2 || pen_.style == PenStyle::Null) return;
    flush_path();
    body_ += "<polyline points=\"";
    bool first = true;
    for (Point q : points) {
        if (!first) body_ += ' ';
        append_int(body_, q.x);
        body_ += ',';
        append_int(body_, q.y);
        first = false;
    }
    body_ += '"';
    body_ += stroke_attributes(pen_);
    body_ += "/>\n";
}

void SvgSurface::rectangle(int left, int top, int right, int bottom) {
    flush_path();
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    // The outline runs through the pixels left..right-1 and top..bottom-1, as a painter's
    // rectangle covers them.
    body_ += "<rect x=\"";
    append_int(body_, left);
    body_ += "\" y=\"";
    append_int(body_, top);
    body_ += "\" width=\"";
    append_int(body_, std::max(right - left - 1, 0));
    body_ += "\" height=\"";
    append_int(body_, std::max(bottom - top - 1, 0));
    body_ += "\" fill=\"" + hex(brush_) + '"';
    if (pen_.style == PenStyle::Null) {
        body_ += " stroke=\"none\"";
    } else {
        std::string a = stroke_attributes(pen_);
        // stroke_attributes() begins with fill="none": the rectangle keeps its brush.
        const std::string nofill = " fill=\"none\"";
        body_ += a.substr(nofill.size());
    }
    body_ += "/>\n";
}

void SvgSurface::set_brush(Color c) { brush_ = c; }

void SvgSurface::set_text_color(Color c) { text_color_ = c; }

void SvgSurface::text(Point p, std::string_view s) {
    flush_path();
    body_ += "<text x=\"";
    append_int(body_, p.x);
    body_ += "\" y=\"";
    append_int(body_, p.y + FONT_ASCENT);
    body_ += "\" fill=\"" + hex(text_color_) + "\">";
    append_escaped(body_, s);
    body_ += "</text>\n";
}

std::string SvgSurface::svg() const {
    std::string s;
    s.reserve(body_.size() + path_.size() + 512);
    s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
    append_int(s, width_);
    s += "\" height=\"";
    append_int(s, height_);
    s += "\" viewBox=\"0 0 ";
    append_int(s, width_);
    s += ' ';
    append_int(s, height_);
    s += "\">\n<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    // Half-pixel shift: a one-pixel line on whole pixel coordinates covers exactly one pixel row.
    s += "<g transform=\"translate(0.5,0.5)\" stroke-linecap=\"square\" stroke-linejoin=\"miter\" "
         "font-family=\"Arial, Helvetica, sans-serif\" font-size=\"";
    append_int(s, FONT_SIZE);
    s += "px\" xml:space=\"preserve\" style=\"white-space:pre\">\n";
    s += body_;
    if (!path_.empty()) {
        s += "<path d=\"";
        s += path_;
        s += '"';
        s += stroke_attributes(path_pen_);
        s += "/>\n";
    }
    s += "</g>\n</svg>\n";
    return s;
}

bool SvgSurface::save(const std::filesystem::path& path) const {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    const std::string s = svg();
    f.write(s.data(), static_cast<std::streamsize>(s.size()));
    f.close();
    return !f.fail();
}

}  // namespace korvex::platform
