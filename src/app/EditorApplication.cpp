#include "EditorApplication.h"

#include "AuxiliaryWindows.h"
#include "WindowHelp.h"
#include "WindowOpening.h"
#include "core/Dispatch.h"
#include "core/Settings.h"
#include "picker/ColorPanel.h"
#include "session/EditSession.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileOpenEvent>
#include <QScreen>

namespace pimavo {

namespace {
EditorApplication* gShared = nullptr;
}

Document::Document(Settings* settings) : session_(std::make_unique<EditSession>()) {
    sharedColorPanel()->setWindowOpacity(0);
    controller_ = std::make_unique<EditorWindow>(session_.get(), settings);
}

Document::~Document() {
    controller_.reset();
}

EditorApplication::EditorApplication(Settings* settings)
    : settings_(settings ? settings : &Settings::standard()) {
    gShared = this;
    qApp->installEventFilter(this);
}

EditorApplication::~EditorApplication() {
    if (gShared == this) gShared = nullptr;
    if (qApp) qApp->removeEventFilter(this);
}

EditorApplication* EditorApplication::shared() {
    return gShared;
}

EditorWindow* EditorApplication::currentDocumentController() {
    if (!document_) {
        document_ = std::make_unique<Document>(settings_);
        EditorWindow* c = document_->window();
        // Closing the window ends the application: there is no state without it.
        c->onClose = [] { QApplication::quit(); };
    }
    return document_->window();
}

void EditorApplication::openDocumentWithContentsOfURL(const QString& path) {
    currentDocumentController()->opening()->open(path);
}

bool EditorApplication::noNeedSaveDocument() const {
    return document_ && document_->window()->noNeedSaveDocument;
}

bool EditorApplication::showWelcomeScreenIfNeeded() {
    if (!settings_->showWelcomeAtStart()) return false;
    welcome_ = currentDocumentController()->help()->showWelcome();
    return true;
}

bool EditorApplication::applicationShouldTerminate() {
    if (!document_) return true;
    EditorWindow* c = document_->window();
    if (!c->isEdited() || c->noNeedSaveDocument) return true;
    c->closeDocumentWithSaving();
    return false;
}

bool EditorApplication::eventFilter(QObject* watched, QEvent* event) {
    // Files handed to the running program by the desktop.
    if (event->type() == QEvent::FileOpen && watched == qApp) {
        openDocumentWithContentsOfURL(static_cast<QFileOpenEvent*>(event)->file());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pimavo
