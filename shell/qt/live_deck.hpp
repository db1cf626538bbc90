#pragma once
// The live deck: the window watches its deck file, so that an engineer who edits the deck beside
// it sees the new pages without doing anything.
#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <functional>

namespace korvex::shell::qt {

// Watches a deck file and its directory (editors save by writing a new file and renaming it over
// the old one, which a watch on the file alone loses) and reports every change of the deck's
// content, at most once in INTERVAL_MS: a burst of events while an editor writes is one change.
// A deck that is missing for the moment (between an editor's remove and its write) is waited for.
class DeckWatcher final : public QObject {
public:
    static constexpr int INTERVAL_MS = 250;

    // changed() is called when the content differs from what it was at the last report (or at
    // construction). It returns false when the change cannot be taken now; it is offered again
    // an interval later.
    DeckWatcher(const std::filesystem::path& deck, std::function<bool()> changed);

private:
    void watch();
    void check();

    QString deck_;
    QString dir_;
    QFileSystemWatcher watcher_;
    QTimer timer_;
    QByteArray seen_;
    bool seen_exists_ = false;
    std::function<bool()> changed_;
};

}  // namespace korvex::shell::qt
