#pragma once
// A surface that writes one SVG page: a white page of width x height pixels, the lines, polylines,
// rectangles and texts in the order they were drawn. Consecutive line segments of one pen become
// one path, so a page of pen strokes stays small.
#include <filesystem>
#include <string>

#include "platform/surface.hpp"

namespace korvex::platform {

class SvgSurface final : public Surface {
public:
    SvgSurface(int width, int height);

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

    // The whole page as an SVG document.
    std::string svg() const;
    // Writes svg() to the file; false when the file cannot be written.
    bool save(const std::filesystem::path& path) const;

    // Pixel size of the text font, and its ascent (the text's top lies this far above the
    // base line).
    static constexpr int FONT_SIZE = 14;
    static constexpr int FONT_ASCENT = 11;

private:
    void flush_path();
    std::string stroke_attributes(const Pen& pen) const;

    int width_, height_;
    std::string body_;
    Pen pen_{};
    Point pos_{};
    Color brush_{255, 255, 255};
    Color text_color_{};
    // The path being collected: its pen, its "d" data and the point it ends at.
    std::string path_;
    Pen path_pen_{};
    Point path_end_{};
};

}  // namespace korvex::platform
