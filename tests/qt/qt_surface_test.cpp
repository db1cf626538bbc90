// The painter surface: what each primitive puts on the pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "shell/qt/qt_surface.hpp"
#include "tests/qt/qt_support.hpp"

namespace korvex {
namespace {

using platform::Color;
using platform::Pen;
using platform::PenStyle;
using qt_test::is_dark;
using qt_test::is_white;
using shell::qt::QtSurface;

const Color BLACK{0, 0, 0};

struct Canvas {
    QImage img{100, 80, QImage::Format_RGB32};
    QPainter painter;
    Canvas() {
        img.fill(Qt::white);
        painter.begin(&img);
    }
    const QImage& done() {
        painter.end();
        return img;
    }
};

TEST(QtSurface, LinesRunOnWholePixelsWithTheirPenWidth) {
    Canvas c;
    QtSurface s(c.painter, 100, 80);
    EXPECT_EQ(s.width(), 100);
    EXPECT_EQ(s.height(), 80);
    s.select_pen(Pen{PenStyle::Solid, 1, BLACK});
    s.move_to({10, 10});
    s.line_to({50, 10});
    s.select_pen(Pen{PenStyle::Solid, 3, BLACK});
    s.move_to({10, 40});
    s.line_to({50, 40});
    const QImage& img = c.done();

    // One-pixel line: exactly row 10, from column 10 on.
    EXPECT_TRUE(is_dark(img.pixel(10, 10)));
    EXPECT_TRUE(is_dark(img.pixel(30, 10)));
    EXPECT_TRUE(is_white(img.pixel(30, 9)));
    EXPECT_TRUE(is_white(img.pixel(30, 11)));
    EXPECT_TRUE(is_white(img.pixel(8, 10)));
    EXPECT_TRUE(is_white(img.pixel(52, 10)));
    // Width 3: rows 39 to 41.
    for (int y = 39; y <= 41; ++y) EXPECT_TRUE(is_dark(img.pixel(30, y))) << y;
    EXPECT_TRUE(is_white(img.pixel(30, 37)));
    EXPECT_TRUE(is_white(img.pixel(30, 43)));
}

// A move followed by a line to the same pixel paints nothing, however wide the pen.
TEST(QtSurface, ALineOfNoLengthPaintsNothing) {
    Canvas c;
    QtSurface s(c.painter, 100, 80);
    s.select_pen(Pen{PenStyle::Solid, 3, BLACK});
    s.move_to({20, 20});
    s.line_to({20, 20});
    s.select_pen(Pen{PenStyle::Solid, 1, BLACK});
    s.move_to({60, 60});
    s.line_to({60, 60});
    const QImage& img = c.done();
    for (int y = 15; y <= 25; ++y)
        for (int x = 15; x <= 25; ++x) EXPECT_TRUE(is_white(img.pixel(x, y))) << x << "," << y;
    EXPECT_TRUE(is_white(img.pixel(60, 60)));
}

TEST(QtSurface, RectangleCoversLeftToRightMinusOneFilledWithTheBrush) {
    Canvas c;
    QtSurface s(c.painter, 100, 80);
    s.select_pen(Pen{PenStyle::Solid, 1, BLACK});
    s.set_brush(Color{0, 255, 0});
    s.rectangle(70, 30, 60, 20);  // corners in either order
    s.set_brush(Color{255, 255, 255});
    s.rectangle(0, 55, 25, 80);
    const QImage& img = c.done();

    for (QPoint p : {QPoint(60, 25), QPoint(69, 25), QPoint(65, 20), QPoint(65, 29)})
        EXPECT_TRUE(is_dark(img.pixel(p))) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixel(65, 25), qRgb(0, 255, 0));
    EXPECT_TRUE(is_white(img.pixel(70, 25)));
    EXPECT_TRUE(is_white(img.pixel(65, 30)));
    // The page-mark box of a 80 pixel high page: outline on rows 55 and 79, columns 0 and 24.
    EXPECT_TRUE(is_dark(img.pixel(24, 70)));
    EXPECT_TRUE(is_white(img.pixel(25, 70)));
    EXPECT_TRUE(is_dark(img.pixel(12, 79)));
    EXPECT_TRUE(is_white(img.pixel(12, 67)));
}

TEST(QtSurface, TextHangsBelowItsPointInTheTextColourAndLeavesThePen) {
    Canvas c;
    QtSurface s(c.painter, 100, 80);
    s.select_pen(Pen{PenStyle::Solid, 1, BLACK});
    s.set_text_color(Color{255, 0, 0});
    s.text({10, 30}, "999");
    s.text({10, 60}, std::string_view("\x01\xC4", 2));  // control byte and a Latin-1 letter
    s.move_to({60, 5});
    s.line_to({90, 5});
    const QImage& img = c.done();

    const QRect red = qt_test::bbox(img, QRect(0, 0, 100, 56), qt_test::is_red);
    ASSERT_FALSE(red.isEmpty());
    EXPECT_GE(red.top(), 30);
    EXPECT_LE(red.top(), 36);
    EXPECT_LE(red.bottom(), 30 + QtSurface::DEFAULT_FONT_PIXELS);
    EXPECT_GE(red.left(), 10);
    EXPECT_LE(red.left(), 13);
    EXPECT_FALSE(qt_test::bbox(img, QRect(0, 58, 100, 20), qt_test::is_red).isEmpty());
    EXPECT_TRUE(is_dark(img.pixel(75, 5)));  // the line keeps the black pen
}

TEST(QtSurface, DrawingStopsOnceTheCheckpointSaysSo) {
    Canvas c;
    QtSurface s(c.painter, 100, 80);
    int asked = 0;
    s.set_checkpoint([&] { return ++asked < 2; });
    s.select_pen(Pen{PenStyle::Solid, 1, BLACK});
    for (int i = 0; i < 2 * QtSurface::CHECK_EVERY - 1; ++i) s.line_to({i % 50, 1});
    EXPECT_FALSE(s.stopped());
    s.line_to({10, 70});  // the second check says stop: not drawn
    EXPECT_TRUE(s.stopped());
    s.move_to({0, 75});
    s.line_to({99, 75});
    const QImage& img = c.done();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(is_white(img.pixel(50, 75)));
    EXPECT_TRUE(is_white(img.pixel(10, 60)));
}

}  // namespace
}  // namespace korvex
