// The colour region picker: a full-window overlay with the photo on the left, which the user clicks,
// and on the right the picture as it would be with the picked regions added to the painting.
// A loupe under the pointer, the last picked colour, a tolerance slider, Apply and Cancel.
//
// Each click runs the colour island fill away from the window; its region is merged into the
// picker's mask — replacing it, or added with Shift, or taken away with Ctrl or Alt (Shift wins) —
// and the preview comes back on the main thread. A new tolerance re-runs the last click on the
// selection as it was before that click. Clicks and tolerance changes are steps of the picker's own
// undo and redo (Ctrl+Z, Ctrl+Shift+Z). The photo zooms with the wheel and Ctrl +/−/0 and moves
// with Space-drag or the middle button; the preview follows it. Cancel and Escape leave the picker at once,
// even while a pick runs: the pick stops, and nothing of it arrives afterwards. Destroying the picker or
// quitting the application stops a running pick too.
//
// Without a pointer: the arrows move a cross over the photo (with the loupe), Return picks under it
// with the same modifiers as a click; Tab reaches the tolerance, Apply and Cancel.
#pragma once

#include "ColorIsland.h"
#include "PhotoViewport.h"
#include "PickHistory.h"
#include "engine/Image.h"
#include "imageio/ColourProfile.h"
#include "widgets/FramedPanel.h"

#include <QColor>
#include <QImage>
#include <functional>
#include <memory>
#include <optional>

namespace pimavo {

class ImageButton;
class ValueSlider;
class BusySpinner;
class ColorSwatch;

class RegionPicker : public FramedPanel {
    Q_OBJECT
public:
    // What the preview on the right shows, from the picker's owner: the picture as it is, and as it
    // would be with `mask` merged into the painting.
    struct Previews {
        std::function<QImage()> picture;
        std::function<QImage(const Image& mask)> withMask;
    };
    // `photo` is the photo at the size of the painting mask.
    RegionPicker(const QRect& frame, BitmapRef photo, Previews previews, QWidget* parent = nullptr);
    ~RegionPicker() override;

    double toleranceValue() const { return toleranceValue_; }
    bool isInteractionsDisabled() const { return isInteractionsDisabled_; }
    // The selection as it stands after the current step.
    const Image& colorMask() const { return history_.current().mask; }
    ValueSlider* toleranceSlider() const { return toleranceSlider_; }
    ImageButton* applyButton() const { return applyButton_; }
    ImageButton* cancelButton() const { return cancelButton_; }
    bool isLoupeShown() const;
    // The photo's value at the last pick (what the fill matches), not its colour on the screen.
    QColor pickedColor() const;
    // The ICC profile of the photo's and preview's values (empty: sRGB); they show converted to the
    // screen's, and so do the loupe and the swatch.
    void setColourProfile(std::vector<uint8_t> profile);

    // Where the photo is drawn in this view (it may reach beyond the left view when zoomed in), and
    // the scale it is drawn at (fitted, it is never enlarged).
    QRectF getFirstImageRect() const;
    float calculateImageScale() const;
    // The photo pixel under a point of this view (column, row from the top), or nothing outside it.
    std::optional<QPointF> photoPointAt(QPointF p) const;

    void pick(QPointF at, Qt::KeyboardModifiers modifiers);
    // Where Return picks: the cross the arrows move, in this view, once a key has placed it.
    std::optional<QPointF> keyboardTarget() const { return keyTarget_; }
    void toleranceValueWasChanged();
    // The picker's own steps; nothing while a pick runs.
    bool canUndo() const { return history_.canUndo() && !isInteractionsDisabled_; }
    bool canRedo() const { return history_.canRedo() && !isInteractionsDisabled_; }
    void undo();
    void redo();
    // What Undo and Redo would do here, named for the Edit menu ("Add Colour"); empty when nothing.
    QString undoStepName() const;
    QString redoStepName() const;
    const PhotoViewport& viewport() const { return viewport_; }
    // Zooms by `factor` about a view point, which keeps the photo point under it.
    void zoomAt(QPointF at, double factor);
    bool isSwatchShown() const;
    // Stops any running pick and says the picker is cancelled.
    void cancel();
    // Stops any running pick, for an owner that closes the picker itself: nothing of the pick
    // arrives afterwards, and no further click or slider move picks.
    void stopPicking();

signals:
    // Apply was clicked: the owner takes the selection (colorMask) and closes the picker.
    void applyRequested();
    // Cancel or Escape: the pick under way, if any, has stopped; the owner closes the picker.
    void cancelled();
    // The preview has come back from a pick.
    void colorFilteringCompleted();
    // What undo and redo can do has changed.
    void stepsChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // How to pick with the mouse, and without a pointer, in the words of the message above the photos.
    static QString mouseInstructions();
    static QString keyboardInstructions();
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Work;
    void layOut();
    // Runs a click away from the window; its region merges into `before` as a new step.
    void applyColorMask(const PickClick& params, const Image& before, PickStep::Kind kind);
    // The preview, swatch and slider as the current step has them.
    void showCurrentStep();
    void setSpaceHeld(bool held);
    void updateCursor();
    void startSmallProgress();
    void stopSmallProgress();
    void processEvent(QPointF at);
    // Moves the keyboard's cross by a step (its first step places it in the middle of the photo).
    void moveKeyboardTarget(QPointF by);
    QColor colorAt(int x, int y) const;
    // The pictures and colours as the screen is to show them; made again when the profiles change.
    void refreshShown();
    QImage forScreen(const QImage& image) const;
    QColor forScreen(const QColor& colour) const;

    BitmapRef photo_;
    QImage photoImage_, previewImage_;
    QImage photoShown_, previewShown_;
    qint64 previewShownKey_ = 0;
    QColor picked_;
    std::vector<uint8_t> profile_;
    std::shared_ptr<const ColourTransform> toScreen_;
    uint64_t screenGeneration_ = UINT64_MAX;
    Previews previews_;
    std::shared_ptr<Work> work_;
    PickHistory history_;
    PhotoViewport viewport_;
    double toleranceValue_ = double(0.03f);
    bool spaceHeld_ = false;
    std::optional<QPointF> moveFrom_; // the pointer of a drag that moves the photo
    std::optional<QPointF> keyTarget_;
    bool isInteractionsDisabled_ = false;

    ImageButton *applyButton_, *cancelButton_;
    ValueSlider* toleranceSlider_;
    BusySpinner* spinner_;
    ColorSwatch *loupe_, *swatch_;
    QWidget* magnified_;
    QImage magnifiedImage_;
    QRect leftView_, rightView_;
};

} // namespace pimavo
