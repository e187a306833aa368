// What the editing window asks of the desktop and of the user beyond its own views: the questions
// it puts, the file panels and print dialogs it runs, the browser and the network it uses, and the
// folders it keeps files in. An answer left empty is the real one (a dialog, the user's folders);
// tests and benchmarks answer instead.
#pragma once

#include "Autosave.h"
#include "import/PhotoLibrary.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <vector>

class QPrinter;
class QWidget;

namespace pimavo {

struct WindowServices {
    // Before an edited picture is replaced or closed.
    enum class Answer { Save, DontSave, Cancel };
    std::function<Answer(const QString& message)> saveQuestion;
    // Before the first Save over a photo the editor did not write.
    enum class ReplaceAnswer { Replace, SaveAs, SaveAsProject, Cancel };
    std::function<ReplaceAnswer(const QString& message)> replaceQuestion;
    // When the full-size picture does not fit in memory; true to use the reduced size.
    std::function<bool(const QString& message)> reducedSizeQuestion;
    // Which of the sessions editors left behind unsaved to restore: its index, −1 for none.
    std::function<int(const std::vector<Autosave::Session>& sessions)> recoveryChooser;
    // A modal alert over the window.
    std::function<void(const QString& message, const QString& info)> alertShown;

    // The Save and Open panels: the chosen path (empty when cancelled); Save also sets the type and
    // the quality.
    std::function<QString(const QString& folder, const QString& name, QString& mimeType, double& quality)>
        savePanel;
    std::function<QString()> openPanel;
    // Page Setup and Print: true when accepted.
    std::function<bool(QPrinter&)> pageSetupDialog;
    std::function<bool(QPrinter&)> printDialog;

    // Opens an address in the user's browser; false on failure.
    std::function<bool(const QUrl&)> openURL;
    // Whether the network is there (the review prompt and the share button ask).
    std::function<bool()> networkReachable;
    // Makes the colour region picker's view over the content view (none: no picker available).
    std::function<QWidget*(QWidget* contentView)> colorPickerFactory;
    // Where the media browser looks.
    std::function<LibrarySources()> librarySources;

    // The desktop's bookmark file of recent documents.
    QString recentBookmarkFile;
    // Where imports go, exported copies go, the history keeps full-resolution pictures out of
    // memory, the help videos are kept, and the sharing pane's mail copies go.
    QString importFolder, exportFolder, historyFolder, helpVideosCacheFolder, sharingExportFolder;
};

} // namespace pimavo
