#include "shell/qt/hooks.hpp"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "shell/qt/qt_surface.hpp"
#include "shell/qt/window.hpp"

namespace korvex::shell::qt {

namespace {

QString qpath(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// A PNG page: a white image the model paints on, written when the page is done.
class PngPage final : public PageWriter {
public:
    PngPage(int w, int h) : image_(w, h, QImage::Format_RGB32) {
        image_.fill(Qt::white);
        painter_.begin(&image_);
        surface_.emplace(painter_, w, h);
    }
    platform::Surface& surface() override { return *surface_; }
    bool save(const std::filesystem::path& path) override {
        if (painter_.isActive()) painter_.end();
        return image_.save(qpath(path), "PNG");
    }

private:
    QImage image_;
    QPainter painter_;
    std::optional<QtSurface> surface_;
};

// A PDF page of width x height points, one point to the pixel, so that its coordinates are those
// of the SVG page. The document is made in memory and written out whole.
class PdfPage final : public PageWriter {
public:
    PdfPage(int w, int h) : buffer_(&bytes_) {
        buffer_.open(QIODevice::WriteOnly);
        writer_.emplace(&buffer_);
        writer_->setResolution(72);
        writer_->setPageLayout(QPageLayout(QPageSize(QSizeF(w, h), QPageSize::Point, QString(),
                                                     QPageSize::ExactMatch),
                                           QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer_->setCreator(QStringLiteral("KORVEX"));
        if (painter_.begin(&*writer_)) {
            painter_.fillRect(0, 0, w, h, Qt::white);
            surface_.emplace(painter_, w, h);
        } else {
            surface_.emplace(idle_painter_, w, h);
        }
    }
    platform::Surface& surface() override { return *surface_; }
    bool save(const std::filesystem::path& path) override {
        if (painter_.isActive() && !painter_.end()) return false;
        if (bytes_.isEmpty()) return false;
        QFile f(qpath(path));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        const bool ok = f.write(bytes_) == bytes_.size();
        f.close();
        return ok && f.error() == QFileDevice::NoError;
    }

private:
    QByteArray bytes_;
    QBuffer buffer_;
    std::optional<QPdfWriter> writer_;
    QPainter painter_;
    QPainter idle_painter_;  // inactive: draws nothing when the document could not be started
    std::optional<QtSurface> surface_;
};

// The Qt application object of the process, made on first use. Qt keeps the arguments it is
// given, so they live here as long as the application.
struct QtRuntime {
    int argc = 1;
    char name[8] = "korvex";
    char platform_opt[10] = "-platform";
    char offscreen[10] = "offscreen";
    char* argv[4] = {name, nullptr, nullptr, nullptr};
    std::unique_ptr<QGuiApplication> app;

    bool have_display() const {
        for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            const char* s = std::getenv(v);
            if (s && *s) return true;
        }
        return false;
    }
    bool for_window() {
        if (app) return qobject_cast<QApplication*>(app.get()) != nullptr;
        if (QCoreApplication::instance()) return qobject_cast<QApplication*>(QCoreApplication::instance());
        if (!have_display()) return false;
        app = std::make_unique<QApplication>(argc, argv);
        return true;
    }
    void for_pages() {
        if (app || QCoreApplication::instance()) return;
        // Pages need fonts but no screen: the offscreen platform works without a display.
        argc = 3;
        argv[1] = platform_opt;
        argv[2] = offscreen;
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
};

}  // namespace

std::unique_ptr<PageWriter> make_page(const std::string& kind, int width, int height) {
    if (width < 1 || height < 1) return nullptr;
    if (kind == "png") return std::make_unique<PngPage>(width, height);
    if (kind == "pdf") return std::make_unique<PdfPage>(width, height);
    return nullptr;
}

ShellHooks qt_hooks() {
    auto rt = std::make_shared<QtRuntime>();
    ShellHooks h;
    h.run_window = [rt](const std::filesystem::path& dir, bool study) {
        if (!rt->for_window()) {
            std::fprintf(stderr, "korvex: no display for the diagram window; use --batch\n");
            return EXIT_USAGE;
        }
        return run_window(dir, {}, study);
    };
    h.make_page = [rt](const std::string& kind, int width, int height) {
        rt->for_pages();
        return make_page(kind, width, height);
    };
    return h;
}

}  // namespace korvex::shell::qt
