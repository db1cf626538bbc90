#pragma once
// The drawing surface over a QPainter: the window, the printer page and the PNG and PDF pages of
// batch mode all draw through it, so that every target shows the same primitives as the SVG page.
#include <QPainter>
#include <functional>

#include "platform/surface.hpp"

namespace korvex::shell::qt {

class QtSurface final : public platform::Surface {
public:
    // Text height of the page labels on a screen-sized page, as on the SVG page.
    static constexpr int DEFAULT_FONT_PIXELS = 14;

    // The painter must be active on its device for the life of the surface. width and height are
    // the surface the model is told about (the client area, the printable page).
    QtSurface(QPainter& painter, int width, int height, int font_pixels = DEFAULT_FONT_PIXELS);

    int width() const override { return width_; }
    int height() const override { return height_; }

    void select_pen(const platform::Pen& pen) override;
    void move_to(platform::Point p) override;
    void line_to(platform::Point p) override;
    void polyline(std::span<const platform::Point> points) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void set_brush(platform::Color c) override;
    void set_text_color(platform::Color c) override;
    void text(platform::Point p, std::string_view s) override;

    // Called every CHECK_EVERY primitives while a page is drawn; when it returns false nothing
    // more is drawn on this surface. The printer uses it to keep its cancel button alive.
    void set_checkpoint(std::function<bool()> check) { check_ = std::move(check); }
    static constexpr int CHECK_EVERY = 64;
    bool stopped() const { return stopped_; }

    // The Qt pen for a pen of the plot device (style, width, colour, caps as on the SVG page).
    static QPen qpen(const platform::Pen& pen);

private:
    // Counts a primitive and asks the checkpoint; false when drawing has been stopped.
    bool go_on();

    QPainter& painter_;
    int width_, height_;
    platform::Point pos_{};
    platform::Color text_color_{};
    int ascent_ = 0;
    std::function<bool()> check_;
    int count_ = 0;
    bool stopped_ = false;
};

}  // namespace korvex::shell::qt
