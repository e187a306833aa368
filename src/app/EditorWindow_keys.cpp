// Keys: the temporary hand, brush size, paint and erase, show mask, escape; while comparing, keys
// go to the comparison (WindowCompare).
#include "EditorWindow.h"
#include "UsKeyboard.h"
#include "WindowCompare.h"
#include "WindowOpening.h"
#include "core/Dispatch.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ValueSlider.h"

#include <QAction>
#include <QKeyEvent>

namespace pimavo {

int EditorWindow::correctKey(const QKeyEvent* event) const {
    return int(usCharacterForKey(event));
}

void EditorWindow::keyPressEvent(QKeyEvent* event) {
    if (compare_->keyPressed(event)) return;
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
    if (compare_->keyReleased(event)) return;
    const int c = correctKey(event);
    if (c == ' ' && tool_ == Painting && painterView_ && !event->isAutoRepeat())
        painterView_->setMoveImageUsingSpace(false);
    QMainWindow::keyReleaseEvent(event);
}

void EditorWindow::releaseHeldKeys() {
    compare_->releaseHeldKeys();
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
    if (event->type() == QEvent::Paint && watched == painterView_) opening_->firstFramePainted();
    // Modifier changes reach the canvas.
    if (watched == painterView_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (tool_ == Painting && painterView_) painterView_->flagsChanged(ke->modifiers());
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace pimavo
