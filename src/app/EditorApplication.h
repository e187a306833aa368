// The application's one document and its window: every open request (command line, the desktop,
// the open panel) lands in the one window, and quitting asks the save question only when the
// picture is edited.
#pragma once

#include "EditorWindow.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace pimavo {

class UndoManager;
class Settings;

class Document {
public:
    explicit Document(Settings* settings);
    ~Document();
    EditorWindow* window() { return controller_.get(); }
    UndoManager* undoManager() { return undo_.get(); }

private:
    std::unique_ptr<UndoManager> undo_;
    std::unique_ptr<EditorWindow> controller_;
};

class EditorApplication : public QObject {
    Q_OBJECT
public:
    explicit EditorApplication(Settings* settings = nullptr);
    ~EditorApplication() override;

    // The window controller of the one document, made on first use.
    EditorWindow* currentDocumentController();
    // An open request for a file: into the one window, asking to save edited work first.
    void openDocumentWithContentsOfURL(const QString& path);
    // Quit: posts "ApplicationShouldTerminate"; true when the application may end now.
    bool applicationShouldTerminate();
    bool noNeedSaveDocument() const;
    // The welcome window, when the preference asks for it, beside the start screen; true when shown.
    bool showWelcomeScreenIfNeeded();
    QWidget* welcomeWindow() const { return welcome_; }

    static EditorApplication* shared();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Settings* settings_;
    std::unique_ptr<Document> document_;
    QPointer<QWidget> welcome_;
};

} // namespace pimavo
