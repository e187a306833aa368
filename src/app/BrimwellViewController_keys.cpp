// Keys: the temporary hand, brush size, paint and erase, show mask, escape; any key leaves compare.
#include "BrimwellViewController.h"
#include "UsKeyboard.h"
#include "toolbar/DrawingToolbarController.h"
#include "widgets/TQSlider.h"

#include <QKeyEvent>

namespace pimavo {

int BrimwellViewController::correctKey(const QKeyEvent* event) const {
    return int(usCharacterForKey(event));
}

void BrimwellViewController::keyPressEvent(QKeyEvent* event) {
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
    exitFromCompare();
    if (!handled) QMainWindow::keyPressEvent(event);
}

void BrimwellViewController::keyReleaseEvent(QKeyEvent* event) {
    const int c = correctKey(event);
    if (c == ' ' && tool_ == Painting && painterView_ && !event->isAutoRepeat())
        painterView_->setMoveImageUsingSpace(false);
    exitFromCompare();
    QMainWindow::keyReleaseEvent(event);
}

bool BrimwellViewController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && watched == painterView_ && onFirstFrame) {
        // Reported once the paint has gone through, on the next pass of the event loop.
        auto report = std::move(onFirstFrame);
        onFirstFrame = nullptr;
        Dispatch::after(0, report);
    }
    // Modifier changes reach the canvas wherever the focus is.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (tool_ == Painting && painterView_) painterView_->flagsChanged(ke->modifiers());
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace pimavo
