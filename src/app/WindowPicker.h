// The editing window's colour region picker: over the window while it is up, its clicks pick
// regions of similar colour, which Apply merges into the painting as one step and Cancel forgets.
// While it is up, Undo and Redo take the picker's own steps.
#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>

namespace pimavo {

class EditorWindow;
class Image;
class RegionPicker;

class WindowPicker : public QObject {
    Q_OBJECT
public:
    explicit WindowPicker(EditorWindow* window);

    // Opens the picker, or cancels it when it is up.
    void toggle();
    void apply();
    void cancel();
    // Escape: the picker's own cancel, which also stops a pick under way.
    void escape();
    // Up and faded in (it takes the commands from then on).
    bool isShown() const { return shown_; }
    // The picker's view from the moment it is made until it has gone.
    QWidget* view() const { return view_; }
    // The picker while it is shown; none otherwise (or in a build with a stand-in view).
    RegionPicker* shownPicker() const;
    // The picture with a colour region merged into the mask, as the picker previews it.
    QImage previewWithRegion(const Image& region);

private:
    void fadeIn();
    void close();
    QImage picturePreview();

    EditorWindow* window_;
    QPointer<QWidget> view_;
    bool shown_ = false;
};

} // namespace pimavo
