#include "shell/qt/live_deck.hpp"

#include <QFile>
#include <QFileInfo>

namespace korvex::shell::qt {

namespace {

// The deck's bytes; false when there is no file to read.
bool read_deck(const QString& path, QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    bytes = f.readAll();
    return true;
}

}  // namespace

DeckWatcher::DeckWatcher(const std::filesystem::path& deck, std::function<bool()> changed)
    : deck_(QFileInfo(QString::fromStdString(deck.string())).absoluteFilePath()),
      dir_(QFileInfo(deck_).absolutePath()), changed_(std::move(changed)) {
    seen_exists_ = read_deck(deck_, seen_);
    timer_.setSingleShot(true);
    timer_.setInterval(INTERVAL_MS);
    connect(&timer_, &QTimer::timeout, this, [this] { check(); });
    // Every event only starts the timer: the deck is looked at once the interval has passed.
    auto poke = [this] {
        if (!timer_.isActive()) timer_.start();
    };
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, poke);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, poke);
    watch();
}

void DeckWatcher::watch() {
    // A file replaced by a rename drops out of the watch: it is taken up again on every look.
    if (!watcher_.directories().contains(dir_)) watcher_.addPath(dir_);
    if (!watcher_.files().contains(deck_) && QFileInfo::exists(deck_)) watcher_.addPath(deck_);
}

void DeckWatcher::check() {
    watch();
    QByteArray now;
    if (!read_deck(deck_, now)) return;  // not there for the moment: its return is an event too
    if (seen_exists_ && now == seen_) return;
    if (!changed_()) {
        timer_.start();
        return;
    }
    seen_ = std::move(now);
    seen_exists_ = true;
}

}  // namespace korvex::shell::qt
