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
    if (welcome_ && welcome_->isVisible()) {
        welcome_->raise();
        return true;
    }
    QPointer<BrimwellViewController> owner = document_ ? document_->brimwellViewController() : nullptr;
    auto* window = new WelcomeWindow(defaults_, owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QDialog::finished, window, &QObject::deleteLater);
    window->adjustSize();
    welcome_ = window;
    // Placed once the start screen is laid out, and the window manager has placed the editor.
    QPointer<WelcomeWindow> shown(window);
    Dispatch::after(0.15, [shown, owner] {
        if (!shown) return;
        if (owner) {
            const QRect panel = owner->startScreenPanelRect();
            QScreen* screen = owner->screen();
            if (panel.isValid() && screen) {
                // The frame is not known before the window is shown; allow for a title bar.
                const QSize frame = shown->size() + QSize(2, 32);
                shown->move(WelcomeWindow::placeAvoiding(frame, panel, owner->startScreenButtonsRect(),
                                                         screen->availableGeometry()));
            }
        }
        shown->show();
        shown->raise();
    });
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
