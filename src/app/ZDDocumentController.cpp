#include "ZDDocumentController.h"

#include "AuxiliaryWindows.h"
#include "core/Dispatch.h"
#include "core/NotificationCenter.h"
#include "core/UndoManager.h"
#include "core/UserDefaults.h"
#include "picker/ColorPanel.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileOpenEvent>
#include <QScreen>

namespace pimavo {

namespace {
ZDDocumentController* gShared = nullptr;
}

MyDocument::MyDocument(UserDefaults* defaults) : undo_(std::make_unique<UndoManager>()) {
    sharedColorPanel()->setWindowOpacity(0);
    controller_ = std::make_unique<BrimwellViewController>(undo_.get(), defaults);
}

MyDocument::~MyDocument() {
    controller_.reset();
}

ZDDocumentController::ZDDocumentController(UserDefaults* defaults)
    : defaults_(defaults ? defaults : &UserDefaults::standardUserDefaults()) {
    gShared = this;
    qApp->installEventFilter(this);
    if (!defaults_->objectForKey("showWelcomeScreenOnStartup").isValid()) {
        defaults_->setBool("showWelcomeScreenOnStartup", true);
        defaults_->synchronize();
    }
}

ZDDocumentController::~ZDDocumentController() {
    if (gShared == this) gShared = nullptr;
    if (qApp) qApp->removeEventFilter(this);
}

ZDDocumentController* ZDDocumentController::shared() {
    return gShared;
}

BrimwellViewController* ZDDocumentController::currentDocumentController() {
    if (!document_) {
        document_ = std::make_unique<MyDocument>(defaults_);
        BrimwellViewController* c = document_->brimwellViewController();
        // Closing the window ends the application: there is no state without it.
        c->onClose = [] { QApplication::quit(); };
    }
    return document_->brimwellViewController();
}

void ZDDocumentController::openDocumentWithContentsOfURL(const QString& path) {
    currentDocumentController()->openWithSavingCurrentImageURL(path);
}

bool ZDDocumentController::noNeedSaveDocument() const {
    return document_ && document_->brimwellViewController()->noNeedSaveDocument;
}

bool ZDDocumentController::showWelcomeScreenIfNeeded() {
    if (!defaults_->objectForKey("showWelcomeScreenOnStartup").isValid()) {
        defaults_->setBool("showWelcomeScreenOnStartup", true);
        defaults_->synchronize();
    }
    if (!defaults_->boolForKey("showWelcomeScreenOnStartup")) return false;
    welcome_ = currentDocumentController()->showWelcomeScreen();
    return true;
}

bool ZDDocumentController::applicationShouldTerminate() {
    NotificationCenter::defaultCenter().post("TQApplicationShouldTerminate");
    if (!document_) return true;
    BrimwellViewController* c = document_->brimwellViewController();
    if (!c->isEdited() || c->noNeedSaveDocument) return true;
    c->closeDocumentWithSaving();
    return false;
}

bool ZDDocumentController::eventFilter(QObject* watched, QEvent* event) {
    // Files handed to the running program by the desktop.
    if (event->type() == QEvent::FileOpen && watched == qApp) {
        openDocumentWithContentsOfURL(static_cast<QFileOpenEvent*>(event)->file());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pimavo
