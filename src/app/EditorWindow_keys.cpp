// Keys: the temporary hand, brush size, paint and erase, show mask, escape; any key leaves compare.
//
// While comparing, a key only ends the comparison: it reaches no tool. A lone modifier ends it when
// tapped (let go with nothing pressed meanwhile), so that Ctrl+B, which toggles the comparison
// through the menu's shortcut, is not taken for "any key" on its way down. Releases of keys pressed
// before the comparison began (the B of the Ctrl+B that opened it) end nothing.
#include "EditorWindow.h"
#include "UsKeyboard.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ValueSlider.h"

#include <QAction>
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

int EditorWindow::correctKey(const QKeyEvent* event) const {
    return int(usCharacterForKey(event));
}

void EditorWindow::keyPressEvent(QKeyEvent* event) {
    if (isCompareShown()) {
        event->accept();
        if (event->isAutoRepeat()) return;
        if (isModifierKey(event->key())) {
            tappedModifier_ = event->key();
            return;
        }
        tappedModifier_ = 0;
        exitFromCompare();
        return;
    }
    tappedModifier_ = 0;
    if (event->key() == Qt::Key_Escape) {
        escapeDetectorClick();
        return;
    }
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const int c = plain ? correctKey(event) : 0;
    bool handled = true;
    if (c == ' ' && tool_ == Painting && painterView_) {
        if (!event->isAutoRepeat()) painterView_->setMoveImageUsingSpace(true);
    } else if (c == '[' && drawingToolbar_) {
        drawingToolbar_->brushSizeSlider()->decrease();
        drawingToolbar_->brushSliderValueChanged();
    } else if (c == ']' && drawingToolbar_) {
        drawingToolbar_->brushSizeSlider()->increase();
        drawingToolbar_->brushSliderValueChanged();
    } else if (c == '\\' && drawingToolbar_) {
        drawingToolbar_->switchShowMaskMode();
    } else if (c == 'x' && drawingToolbar_) {
        drawingToolbar_->switchDrawingMode();
    } else {
        handled = false;
    }
    if (!handled) QMainWindow::keyPressEvent(event);
}

void EditorWindow::keyReleaseEvent(QKeyEvent* event) {
    if (isCompareShown()) {
        event->accept();
        if (!event->isAutoRepeat() && tappedModifier_ != 0 && event->key() == tappedModifier_) {
            tappedModifier_ = 0;
            exitFromCompare();
        }
        return;
    }
    const int c = correctKey(event);
    if (c == ' ' && tool_ == Painting && painterView_ && !event->isAutoRepeat())
        painterView_->setMoveImageUsingSpace(false);
    QMainWindow::keyReleaseEvent(event);
}

void EditorWindow::releaseHeldKeys() {
    tappedModifier_ = 0;
    if (painterView_) painterView_->releaseHeldKeys();
}

bool EditorWindow::isHeldKeyRepeat(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyRelease) {
        if (!ke->isAutoRepeat()) heldKeyRelease_ = {ke->key(), ke->timestamp()};
        return false;
    }
    // A held key repeats. Qt says so when it can tell; some X servers send the repeats as a
    // release and a press at the same instant, which only the time gives away.
    const bool repeat = ke->isAutoRepeat() || (ke->timestamp() != 0 && ke->key() == heldKeyRelease_.key &&
                                               ke->timestamp() - heldKeyRelease_.time <= 1);
    if (!repeat) return false;
    // Commands that act once per press (Compare) take no repeats: neither their shortcut nor,
    // while comparing, the window's "any key".
    const QKeySequence pressed(ke->keyCombination());
    for (QAction* a : std::as_const(actions_))
        if (!a->autoRepeat() && a->shortcut() == pressed) {
            event->accept();
            return true;
        }
    return false;
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isHeldKeyRepeat(watched, event)) return true;
    if (event->type() == QEvent::Paint && watched == painterView_ && onFirstFrame) {
        // Reported once the paint has gone through, on the next pass of the event loop.
        auto report = std::move(onFirstFrame);
        onFirstFrame = nullptr;
        Dispatch::after(0, report);
    }
    if (event->type() == QEvent::Paint && watched == painterView_ && fullDecodeGate_) {
        // Once this paint has gone through.
        Dispatch::after(0, [gate = std::exchange(fullDecodeGate_, nullptr)] { gate->set_value(); });
    }
    // Modifier changes reach the canvas.
    if (watched == painterView_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (tool_ == Painting && painterView_) painterView_->flagsChanged(ke->modifiers());
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace pimavo
