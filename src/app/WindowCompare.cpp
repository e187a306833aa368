// While comparing, a key only ends the comparison: it reaches no tool. A lone modifier ends it when
// tapped (let go with nothing pressed meanwhile), so that Ctrl+B, which toggles the comparison
// through the menu's shortcut, is not taken for "any key" on its way down. Releases of keys pressed
// before the comparison began (the B of the Ctrl+B that opened it) end nothing.
#include "WindowCompare.h"

#include "EditorWindow.h"
#include "core/Dispatch.h"
#include "widgets/Fade.h"
#include "widgets/FramedPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ImagePreview.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>

namespace pimavo {

namespace {
bool isModifierKey(int key) {
    switch (key) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
        return true;
    default:
        return false;
    }
}
} // namespace

WindowCompare::WindowCompare(EditorWindow* window) : QObject(window), window_(window) {}

QWidget* WindowCompare::view() const {
    return view_;
}

void WindowCompare::toggle() {
    EditorWindow& w = *window_;
    if (isShown()) {
        exit();
        return;
    }
    if (!w.painterView_) {
        validateControls(); // the toggle button rests
        return;
    }
    if (!w.isPhotoWhole()) {
        // The untouched side is the photo itself. Waiting for its decoding here would hold the
        // window still for as long as that takes (long for a big photo on a busy machine), with
        // the keys and clicks meanwhile replayed against a comparison half made.
        awaitingPhoto_ = true;
        tappedModifier_ = 0;
        QApplication::setOverrideCursor(Qt::BusyCursor);
        // As while comparing: keys only end it, and a press on the canvas too.
        focusBefore_ = QApplication::focusWidget();
        w.painterView_->setEnabled(false);
        endOnPanelPresses();
        w.setFocus(Qt::OtherFocusReason);
        validateControls();
        return;
    }
    auto* overlay = new FramedPanel(w.contentView_);
    overlay->setPatternImageName(w.backgroundView_->patternImageName());
    // Hidden until it fades in.
    auto* hidden = new QGraphicsOpacityEffect(overlay);
    hidden->setOpacity(0);
    overlay->setGraphicsEffect(hidden);
    view_ = overlay;
    const int W = w.contentView_->width(), H = w.contentView_->height() - EditorWindow::kTopBarHeight;
    overlay->setGeometry(0, EditorWindow::kTopBarHeight, W, H);
    auto* before = new ImagePreview(overlay);
    auto* after = new ImagePreview(overlay);
    const int c = 24;
    before->setGeometry(10, 10 + c, W / 2 - 20, H - 15 - c - 10);
    after->setGeometry(W / 2 + 10, 10 + c, W / 2 - 20, H - 15 - c - 10);
    before->setColourProfile(w.photo_.colourProfile());
    after->setColourProfile(w.photo_.colourProfile());
    before->setImage(w.painterView_->model().originalImage());
    after->setImage(w.painterView_->model().fullSizeImageForDisplay(false));
    auto label = [overlay](const QString& image, int centreX) {
        auto* l = new FramedPanel(overlay);
        l->setBackgroundImageName(image);
        l->setGeometry(centreX - 36, 8, 72, 20);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    };
    label("before_compare.png", W / 4);
    label("after_compare.png", 3 * W / 4);
    auto* close = new ImageButton(overlay);
    close->setImage("close_compare");
    close->setGeometry(W - 15 - 24, 6, 24, 24);
    close->setAction([this](ImageButton*) { exit(); });
    // The canvas takes no key or press from here on, not only once the fade begins: a key typed
    // before then would paint or zoom beneath the comparison instead of ending it.
    w.painterView_->setEnabled(false);
    overlay->show();
    overlay->raise();
    endOnPanelPresses();
    // Keys go to the overlay, which passes them to the window: a field of the hidden tool panel or
    // the disabled canvas keeps none of them.
    focusBefore_ = QApplication::focusWidget();
    overlay->setFocusPolicy(Qt::StrongFocus);
    overlay->setFocus(Qt::OtherFocusReason);
    tappedModifier_ = 0;
    validateControls();
    // Deferred calls check the window is still there: it may close before they run. The fade in
    // belongs to this comparison only: one left and begun again meanwhile has its own.
    Dispatch::after(0, [self = QPointer(this), shown = QPointer<FramedPanel>(overlay)] {
        if (self && shown && self->view_ == shown) self->fadeIn();
    });
}

void WindowCompare::endOnPanelPresses() {
    for (FramedPanel* panel : window_->findChildren<FramedPanel*>())
        connect(panel, &FramedPanel::pressed, this, &WindowCompare::exit, Qt::UniqueConnection);
}

void WindowCompare::restoreFocus() {
    if (focusBefore_ && focusBefore_->isVisible())
        focusBefore_->setFocus(Qt::OtherFocusReason);
    else if (window_->painterView_)
        window_->painterView_->setFocus(Qt::OtherFocusReason);
}

void WindowCompare::stopAwaitingPhoto() {
    if (!awaitingPhoto_) return;
    awaitingPhoto_ = false;
    QApplication::restoreOverrideCursor();
    if (window_->painterView_) window_->painterView_->setEnabled(true);
    restoreFocus();
}

void WindowCompare::photoArrived() {
    if (!awaitingPhoto_) return;
    stopAwaitingPhoto();
    if (window_->isPhotoWhole() && window_->painterView_)
        toggle();
    else
        validateControls();
}

void WindowCompare::validateControls() {
    window_->compareButton_->setState(isShown() ? 1 : 0);
    window_->validateMenus();
}

void WindowCompare::fadeIn() {
    EditorWindow& w = *window_;
    if (!view_) return;
    w.setDisabledInteractions(true);
    fade(view_, 1.0, 200);
    if (w.painterView_) w.painterView_->setEnabled(false);
    if (w.drawingToolbar_) fade(w.drawingToolbar_, 0.0, 200);
}

void WindowCompare::exit() {
    EditorWindow& w = *window_;
    if (awaitingPhoto_) {
        stopAwaitingPhoto();
        validateControls();
    }
    if (!view_) return;
    w.setDisabledInteractions(false);
    QPointer<FramedPanel> overlay = view_;
    view_ = nullptr;
    validateControls();
    if (overlay && overlay->hasFocus()) {
        overlay->clearFocus();
        restoreFocus();
    }
    if (overlay) {
        // Fading out, it takes no more clicks: they go to the canvas and the panel beneath.
        overlay->setAttribute(Qt::WA_TransparentForMouseEvents);
        fade(overlay, 0.0, 200, [overlay] {
            if (overlay) overlay->deleteLater();
        });
    }
    if (w.painterView_) w.painterView_->setEnabled(true);
    if (w.drawingToolbar_) fade(w.drawingToolbar_, 1.0, 200);
}

bool WindowCompare::keyPressed(QKeyEvent* event) {
    if (!isShown()) {
        tappedModifier_ = 0;
        return false;
    }
    event->accept();
    if (event->isAutoRepeat()) return true;
    if (isModifierKey(event->key())) {
        tappedModifier_ = event->key();
        return true;
    }
    tappedModifier_ = 0;
    exit();
    return true;
}

bool WindowCompare::keyReleased(QKeyEvent* event) {
    if (!isShown()) return false;
    event->accept();
    if (!event->isAutoRepeat() && tappedModifier_ != 0 && event->key() == tappedModifier_) {
        tappedModifier_ = 0;
        exit();
    }
    return true;
}

} // namespace pimavo
