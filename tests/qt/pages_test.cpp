// PNG and PDF pages of batch mode: written as asked, and showing what the SVG page shows.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <cstdlib>
#include <regex>
#include <sstream>

#include "shell/qt/hooks.hpp"
#include "tests/qt/qt_support.hpp"

namespace korvex {
namespace {

namespace fs = std::filesystem;

using qt_test::run_batch;
using qt_test::slurp;

// The box around every stroke of an SVG page: path points, polyline points and rectangles
// (the white background, drawn first with width 100%, is left out).
QRect svg_bbox(const std::string& svg) {
    int l = 1 << 30, t = 1 << 30, r = -1, b = -1;
    auto add = [&](int x, int y) {
        l = std::min(l, x);
        t = std::min(t, y);
        r = std::max(r, x);
        b = std::max(b, y);
    };
    const std::regex path_re("<path d=\"([^\"]*)\"");
    const std::regex poly_re("<polyline points=\"([^\"]*)\"");
    const std::regex rect_re("<rect x=\"(-?\\d+)\" y=\"(-?\\d+)\" width=\"(\\d+)\" height=\"(\\d+)\"");
    const std::regex num_pair("(-?\\d+)[ ,](-?\\d+)");
    for (const std::regex* re : {&path_re, &poly_re}) {
        for (std::sregex_iterator it(svg.begin(), svg.end(), *re), end; it != end; ++it) {
            const std::string d = (*it)[1];
            for (std::sregex_iterator p(d.begin(), d.end(), num_pair); p != end; ++p)
                add(std::stoi((*p)[1]), std::stoi((*p)[2]));
        }
    }
    for (std::sregex_iterator it(svg.begin(), svg.end(), rect_re), end; it != end; ++it) {
        const int x = std::stoi((*it)[1]), y = std::stoi((*it)[2]);
        add(x, y);
        add(x + std::stoi((*it)[3]), y + std::stoi((*it)[4]));
    }
    if (r < 0) return {};
    return QRect(QPoint(l, t), QPoint(r, b));
}

TEST(QtPages, PngAndPdfWritersMakeAPageOfTheAskedSize) {
    EXPECT_EQ(shell::qt::make_page("gif", 10, 10), nullptr);
    EXPECT_EQ(shell::qt::make_page("png", 0, 10), nullptr);
    const fs::path dir = qt_test::job_dir("sample.dat", "writers");

    auto png = shell::qt::make_page("png", 120, 90);
    ASSERT_NE(png, nullptr);
    png->surface().select_pen(platform::Pen{platform::PenStyle::Solid, 1, {}});
    png->surface().move_to({0, 0});
    png->surface().line_to({119, 89});
    ASSERT_TRUE(png->save(dir / "a.png"));
    QImage img(QString::fromStdString((dir / "a.png").string()));
    ASSERT_EQ(img.size(), QSize(120, 90));
    EXPECT_TRUE(qt_test::is_dark(img.pixel(60, 45)));
    EXPECT_TRUE(qt_test::is_white(img.pixel(100, 10)));

    auto pdf = shell::qt::make_page("pdf", 1008, 700);
    ASSERT_NE(pdf, nullptr);
    pdf->surface().move_to({0, 0});
    pdf->surface().line_to({500, 500});
    ASSERT_TRUE(pdf->save(dir / "a.pdf"));
    const std::string bytes = slurp(dir / "a.pdf");
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    // One point to the pixel: the sheet is the page's pixel size.
    EXPECT_NE(bytes.find("/MediaBox [0 0 1008"), std::string::npos);
    EXPECT_NE(bytes.find(" 700"), std::string::npos);

    // A file that cannot be written is reported, not passed over.
    auto png2 = shell::qt::make_page("png", 10, 10);
    EXPECT_FALSE(png2->save(dir / "no such dir" / "b.png"));
    auto pdf2 = shell::qt::make_page("pdf", 10, 10);
    EXPECT_FALSE(pdf2->save(dir / "no such dir" / "b.pdf"));
    fs::remove_all(dir);
}

TEST(QtPages, BatchPngShowsTheStrokesOfTheSvgPageAndPdfItsSheet) {
    const fs::path dir = qt_test::job_dir("sample.dat", "batch");
    ASSERT_EQ(run_batch(dir, "svg"), 0);
    ASSERT_EQ(run_batch(dir, "png"), 0);
    ASSERT_EQ(run_batch(dir, "pdf"), 0);
    const std::string svg = slurp(dir / "KORVEX-1.svg");
    const QRect want = svg_bbox(svg);
    ASSERT_FALSE(want.isEmpty()) << "the sample job draws a page";

    QImage png(QString::fromStdString((dir / "KORVEX-1.png").string()));
    ASSERT_EQ(png.size(), QSize(1008, 700));
    const QRect got = qt_test::bbox(png, png.rect(), qt_test::is_ink);
    // Same primitives at the same pixels; a width-2 pen may reach a pixel past its end point.
    EXPECT_NEAR(got.left(), want.left(), 2);
    EXPECT_NEAR(got.top(), want.top(), 2);
    EXPECT_NEAR(got.right(), want.right(), 2);
    EXPECT_NEAR(got.bottom(), want.bottom(), 2);
    // The page-number box of the last page at the lower left, with its red label.
    const QRect red = qt_test::bbox(png, QRect(0, 700 - 25, 30, 25), qt_test::is_red);
    EXPECT_FALSE(red.isEmpty());
    EXPECT_TRUE(qt_test::is_dark(png.pixel(0, 690)));
    EXPECT_TRUE(qt_test::is_dark(png.pixel(29, 690)));

    const std::string pdf = slurp(dir / "KORVEX-1.pdf");
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("/MediaBox [0 0 1008"), std::string::npos);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace korvex
