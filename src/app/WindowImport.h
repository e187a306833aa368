// The editing window's imports: the media browser docked beside the picture (the Pictures folder
// and the photo libraries), and the camera and scanner import window. A photo chosen in either
// opens as the file it is, asking first about unsaved work.
#pragma once

#include "import/ImportDialog.h"
#include "import/MediaBrowserPanel.h"

#include <QObject>
#include <QPointer>

namespace pimavo {

class EditorWindow;

class WindowImport : public QObject {
    Q_OBJECT
public:
    explicit WindowImport(EditorWindow* window);

    // Shows the media browser beside the window, or hides it when it is shown.
    void toggleMediaBrowser();
    // Runs the camera and scanner import window modally.
    void runImportWindow();
    MediaBrowserPanel* mediaBrowser() const { return mediaBrowser_; }
    ImportDialog* importWindow() const { return importWindow_; }

private:
    // The import window brought a photo: it opens once the window is closed.
    void photoImported(const QString& path);

    EditorWindow* window_;
    QPointer<MediaBrowserPanel> mediaBrowser_;
    QPointer<ImportDialog> importWindow_;
    QString importedPath_;
};

} // namespace pimavo
