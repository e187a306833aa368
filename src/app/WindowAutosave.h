// The editing window's autosave and recovery: while the picture has unsaved changes, the session
// is kept as a project in the state folder, written again every few seconds when it changed; it
// goes once the picture is saved, undone back to its file or closed as the user chose. After an
// editor ended without saving, its session is offered back at the next start.
#pragma once

#include "Autosave.h"
#include "document/PictureSettings.h"

#include <QObject>
#include <memory>
#include <optional>

namespace pimavo {

class EditorWindow;

class WindowAutosave : public QObject {
    Q_OBJECT
public:
    explicit WindowAutosave(EditorWindow* window);

    // Where this window's unsaved session is kept (the file exists only while there is one).
    QString path() const;
    // Writes the session now if it changed since it was last written.
    void writeNow();
    // The picture is saved, back to its file, or let go: its kept session goes.
    void discard();
    // Offers to restore the sessions of editors that ended before saving; the choice is the user's,
    // or services.recoveryChooser's.
    void offerRecovery();
    // Restores a session left behind, which becomes this window's own; false, with an alert, when
    // it cannot be read.
    bool restore(const Autosave::Session& session);

private:
    // What was last written, so that an unchanged session is not written again.
    struct State {
        quint64 revision = 0;
        int changes = 0;
        PictureSettings picture;
        bool operator==(const State&) const = default;
    };
    State now() const;

    EditorWindow* window_;
    std::unique_ptr<Autosave> autosave_;
    std::optional<State> written_; // none: no file
};

} // namespace pimavo
