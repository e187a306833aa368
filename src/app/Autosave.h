// Autosave: the editing session written as a project while it has unsaved changes, so that a crash,
// a kill or a power cut loses at most the last moments of work.
//
// Each window's session is one file in the user's state folder ($XDG_STATE_HOME/pimavo), named
// after the editor's process. It is written in the background from a snapshot, replaced atomically,
// and removed once the picture is saved or closed without saving. A file whose editor is no longer
// running is work left behind, offered for restoring at the next start.
#pragma once

#include "document/ProjectDocument.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace pimavo {

class Autosave {
public:
    // The state folder: $XDG_STATE_HOME/pimavo, ~/.local/state/pimavo when it is not set.
    static QString defaultFolder();

    explicit Autosave(QString folder);
    ~Autosave(); // waits for a write under way

    QString path() const { return path_; }
    // Writes the snapshot on a thread of its own. False, with nothing done, while an earlier write is
    // still under way: the caller tries again later with a newer snapshot.
    bool write(ProjectDocument snapshot);
    // The session's file goes (saved, or closed without saving); a write under way is discarded.
    void remove();
    // Takes a session left behind as this one's own, so that it stays until saved or closed.
    bool adopt(const QString& leftBehind);

    struct Session {
        QString path;
        QString name; // the photo's file name, as the project keeps it
        QDateTime changed;
    };
    // Sessions whose editors are no longer running, newest first.
    static std::vector<Session> leftBehind(const QString& folder);
    // The session's picture, small, as the editor would show it; null when it cannot be read.
    static QImage thumbnail(const QString& path, int side);

private:
    void join();

    QString folder_, path_;
    int lock_ = -1; // held while this editor runs: its sessions are not left behind
    std::thread writer_;
    std::shared_ptr<std::atomic<bool>> finished_;  // the write under way has ended
    std::shared_ptr<std::atomic<bool>> discarded_; // the write under way is not wanted
};

} // namespace pimavo
