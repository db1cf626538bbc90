#pragma once
// Helpers of the Qt shell tests: scratch job directories, images, pixel searches.
#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QThread>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <sys/wait.h>

#include "tests/runtime/scratch_dir.hpp"

namespace korvex::qt_test {

inline std::filesystem::path source_dir() { return KORVEX_SOURCE_DIR; }

// A fresh directory holding the given example deck as KORVEX.DAT.
inline std::filesystem::path job_dir(const std::string& example, const std::string& tag) {
    std::random_device rd;
    auto dir = std::filesystem::temp_directory_path() /
               ("korvex_qt_" + tag + "_" + std::to_string(rd()));
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(source_dir() / "examples" / example, dir / "KORVEX.DAT");
    return dir;
}

using testing::slurp;
using testing::spit;

// The korvex program's batch job in dir, with pages of the given kind; its exit status.
inline int run_batch(const std::filesystem::path& dir, const std::string& kind) {
    const std::string cmd = std::string("QT_QPA_PLATFORM= '") + KORVEX_BINARY + "' --batch '" + dir.string() +
                            "' --pages " + kind + " >/dev/null 2>&1";
    return testing::exit_status_of(cmd);
}

// Hands out events until done() holds or max_ms have passed.
inline void pump_until(const std::function<bool()>& done, int max_ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < max_ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
}

inline bool is_white(QRgb c) { return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240; }
inline bool is_dark(QRgb c) { return qRed(c) < 128 && qGreen(c) < 128 && qBlue(c) < 128; }
inline bool is_red(QRgb c) { return qRed(c) > 180 && qGreen(c) < 100 && qBlue(c) < 100; }
inline bool is_ink(QRgb c) { return !is_white(c); }

// Bounding box of the pixels inside area that satisfy pred; empty when there are none.
template <class Pred>
QRect bbox(const QImage& img, QRect area, Pred pred) {
    area = area.intersected(img.rect());
    int l = area.right() + 1, t = area.bottom() + 1, r = area.left() - 1, b = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (pred(img.pixel(x, y))) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
    if (r < l) return {};
    return QRect(QPoint(l, t), QPoint(r, b));
}

inline bool on_x_display() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

}  // namespace korvex::qt_test
