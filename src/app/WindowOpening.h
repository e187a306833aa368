// The editing window's opening of photos: the Open panel, files by path, drops and pastes, and the
// recent photos. A photo replaces the one open only once the user has had the chance to save it. A
// big JPEG shows first from a reduced decode while its whole decode runs (WholeDecodes); a photo
// above the canvas's pixel limit waits for its reduced working copy.
#pragma once

#include "WholeDecodes.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageProperties.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

class QMimeData;

namespace pimavo {

class EditorWindow;

class WindowOpening : public QObject {
    Q_OBJECT
public:
    explicit WindowOpening(EditorWindow* window);

    // The Open panel, starting in panelFolder(): beside the photo open, else beside the last one
    // opened, else the Pictures folder.
    void showOpenPanel();
    QString panelFolder() const;
    // Opens a photo or a project, asking first to save the edited picture it replaces.
    void open(const QString& path);
    // A picture without a file (pasted), as an untitled photo, asking first as open() does.
    void openPicture(BitmapRef picture);
    // Opens at once; a folder asks for a photo in it.
    void openNow(const QString& path);
    // Drops and pastes: a photo's file opens as that file, a picture as an untitled photo. Only the
    // types on offer are looked at in canOpen, never the bytes: the menus ask often.
    bool canOpen(const QMimeData* data) const;
    void openFrom(const QMimeData* data);
    void paste();
    QStringList recent() const;
    void addRecent(const QString& path);

    // Whether the photo on the canvas is decoded whole, not only the smaller first look at it.
    bool isWhole() const { return !decodes_.pending(); }
    // The photo on the canvas from a reduced decode, while its whole decode runs.
    const CanvasPhoto* pending() const { return decodes_.pending(); }
    // Waits for the photo being decoded in the background, if any, and puts it in the preview's
    // place.
    void finish();
    // Another photo takes the window: the one being decoded is no longer wanted.
    void forgetPending() { decodes_.forget(); }
    // The reduced photo is first on screen, and the whole decode may start.
    bool isHoldingDecode() const { return decodes_.isHeld(); }
    void firstFramePainted() { decodes_.firstFramePainted(); }
    // A photo whose whole decode failed: the window keeps nothing of its file.
    void forgetFile();

private:
    // What a photo's file brings besides its pixels, made the window's once the photo is installed.
    struct OpenedFile {
        QString path, mimeType, warning;
        std::optional<ImageProperties> properties;
        std::shared_ptr<const std::string> bytes;
    };
    void adopt(OpenedFile opened);
    std::optional<DecodedImage> decode(const QString& path, QString* error);
    // A big JPEG's reduced decode, with its whole decode started (pending until finish); nothing
    // for photos shown whole at once.
    std::optional<DecodedImage> decodeReduced(const QString& path);

    EditorWindow* window_;
    WholeDecodes decodes_;
};

} // namespace pimavo
