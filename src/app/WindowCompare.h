// The editing window's before-and-after comparison: the untouched photo and the picture side by
// side over the canvas, faded in and out. Any key ends it, and so do a press on a panel of the
// window and the close button; a modifier pressed alone ends it when it is let go.
#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

namespace pimavo {

class EditorWindow;
class FramedPanel;

class WindowCompare : public QObject {
    Q_OBJECT
public:
    explicit WindowCompare(EditorWindow* window);

    // Shows the comparison, or ends it when it is on. Asked for while the photo is still being
    // decoded, it comes when the photo does, and the window goes on meanwhile.
    void toggle();
    void exit();
    // On, or asked for and waiting for the photo.
    bool isShown() const { return view_ != nullptr || awaitingPhoto_; }
    // The photo's decoding ended (well or not): the comparison asked for meanwhile comes now.
    void photoArrived();
    // The overlay while it is on, to lay out with the window.
    QWidget* view() const;
    // The keys while comparing; true when the comparison took the key.
    bool keyPressed(QKeyEvent* event);
    bool keyReleased(QKeyEvent* event);
    // The keyboard left the window: a modifier held is no longer going to be let go here.
    void releaseHeldKeys() { tappedModifier_ = 0; }

private:
    void fadeIn();
    void stopAwaitingPhoto();
    // While comparing, a press on any panel of the window (the overlay, the tool panel) ends it.
    void endOnPanelPresses();
    // The compare button and the View menu's item show whether the comparison is on.
    void validateControls();
    void restoreFocus();

    EditorWindow* window_;
    QPointer<FramedPanel> view_;
    bool awaitingPhoto_ = false;
    int tappedModifier_ = 0; // a modifier pressed alone while comparing, not yet let go
    QPointer<QWidget> focusBefore_;
};

} // namespace pimavo
