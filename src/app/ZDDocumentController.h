// The application's one document and its window: every open request (command line, the desktop,
// the open panel) lands in the one window, and quitting asks the save question only when the
// picture is edited.
#pragma once

#include "BrimwellViewController.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace pimavo {

class UndoManager;
class UserDefaults;

class MyDocument {
public:
    explicit MyDocument(UserDefaults* defaults);
    ~MyDocument();
    BrimwellViewController* brimwellViewController() { return controller_.get(); }
    UndoManager* undoManager() { return undo_.get(); }

private:
    std::unique_ptr<UndoManager> undo_;
    std::unique_ptr<BrimwellViewController> controller_;
};

class ZDDocumentController : public QObject {
    Q_OBJECT
public:
    explicit ZDDocumentController(UserDefaults* defaults = nullptr);
    ~ZDDocumentController() override;

    // The window controller of the one document, made on first use.
    BrimwellViewController* currentDocumentController();
    // An open request for a file: into the one window, asking to save edited work first.
    void openDocumentWithContentsOfURL(const QString& path);
    // Quit: posts "TQApplicationShouldTerminate"; true when the application may end now.
    bool applicationShouldTerminate();
    bool noNeedSaveDocument() const;
    // The welcome window, when the preference asks for it, beside the start screen; true when shown.
    bool showWelcomeScreenIfNeeded();
    QWidget* welcomeWindow() const { return welcome_; }

    static ZDDocumentController* shared();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    UserDefaults* defaults_;
    std::unique_ptr<MyDocument> document_;
    QPointer<QWidget> welcome_;
};

} // namespace pimavo
