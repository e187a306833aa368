// The editing window's saves: Save to the file the picture came from, Save As with a type, the
// question that protects unsaved work before the picture is replaced or closed, and the question
// that keeps Save from silently replacing a photo the editor did not write. The picture is written
// away from the window's thread while the window goes on (SaveFlow).
#pragma once

#include "canvas/CanvasModel.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace pimavo {

class EditorWindow;
class SaveFlow;

class WindowSaving : public QObject {
    Q_OBJECT
public:
    explicit WindowSaving(EditorWindow* window);

    // Save: a project to its file, a photo over its file (once replacing it is agreed), anything
    // else through Save As.
    void save();
    // Save As; `mimeType` preselects the type the panel offers first (the picture's own by default).
    // `then` runs once the file is written; a cancelled or failed Save As drops it.
    void saveAs(const QString& mimeType = {}, std::function<void()> then = {});
    void saveAsProject();
    // Writes the result to a path in a type; false when cancelled, or with a message shown on
    // failure.
    bool writeResult(const QString& path, const QString& mimeType, double quality,
                     const QString& compression);
    // The size of the picture to make: the photo's own, or, when memory for that is short, the
    // reduced size if the user agrees; nothing when they do not.
    std::optional<CanvasModel::ResultSize> chooseResultSize(CanvasModel& canvas);
    // The canvas's picture at that size, rendered (nothing when the user declined).
    BitmapRef canvasResult(CanvasModel& canvas);
    // The saves of this window: the one under way, and its progress panel.
    SaveFlow* flow();
    bool isSaving() const;
    // Asks whether to save the edited picture before `next` replaces or closes it; `opening` names
    // what would take its place (empty when closing).
    void askToSave(std::function<void()> next, const QString& opening = {});
    // Before Save replaces `path`: true to go on; otherwise the question sent the user elsewhere.
    bool confirmReplacingOriginal(const QString& path);
    // Files this editor wrote itself (to overwrite without asking), known by path, size and time.
    void rememberWrittenFile(const QString& path);
    bool wasWrittenHere(const QString& path) const;

private:
    EditorWindow* window_;
    SaveFlow* flow_ = nullptr;
    QString replaceConfirmedFor_; // the photo whose replacing the user agreed to
};

} // namespace pimavo
