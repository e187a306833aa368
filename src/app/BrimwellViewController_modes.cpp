// Modes of the window: tools, painting, compare, revert, undo and redo, zoom, full screen, the
// in-window blocking of commands, and the tool panel's requests passed on to the canvas.
#include "BrimwellViewController.h"
#include "StashedBitmap.h"
#include "core/NotificationCenter.h"
#include "core/Strings.h"
#include "core/UndoManager.h"
#include "core/UserDefaults.h"
#include "engine/CIContext.h"
#include "imageio/ImageGeometry.h"
#include "toolbar/DrawingToolbarController.h"
#include "widgets/BitmapImage.h"
#include "widgets/TQButton.h"
#include "widgets/TQCIImageView.h"
#include "widgets/TQSpinner.h"
#include "widgets/ZDView.h"
#include "widgets/ZoomField.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScopeGuard>
#include <cmath>

namespace pimavo {

namespace {

// Fades a widget's opacity to `to`; `then` runs at the end.
void fade(QWidget* w, double to, int ms, std::function<void()> then = {}) {
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(w->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(w);
        effect->setOpacity(to > 0.5 ? 0.0 : 1.0);
        w->setGraphicsEffect(effect);
    }
    auto* a = new QPropertyAnimation(effect, "opacity", w);
    a->setDuration(ms);
    a->setEndValue(to);
    QObject::connect(a, &QPropertyAnimation::finished, w, [w, to, then] {
        if (to >= 1.0) w->setGraphicsEffect(nullptr); // no effect left on a fully shown view
        if (then) then();
    });
    a->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace

// ---- tools and painting -----------------------------------------------------------------------

void BrimwellViewController::setTool(int t) {
    const int effective = t == Adjust ? Adjust : hasPhoto() ? Painting : t;
    if (effective == tool_) return;
    if (tool_ == Painting) leavePainter();
    if (tool_ == NoTool) {
        const int previous = tool_;
        undo_->registerUndo(this, [this, previous] { setTool(previous); });
        validateUndoRedoButtonsState();
    }
    tool_ = effective;
    if (tool_ == Painting) beginEnterPainter();
    validateResizebleButtons();
    validateMenus();
}

void BrimwellViewController::leavePainter() {
    if (drawingToolbar_) {
        QPointer<DrawingToolbarController> old = drawingToolbar_;
        drawingToolbar_ = nullptr;
        old->hide();
        Dispatch::after(0.3, [old] { delete old.data(); });
    }
    delete painterView_.data();
}

void BrimwellViewController::beginEnterPainter() {
    if (!image_) return;
    enteringPainter_ = true;
    delete drawingToolbar_.data();
    auto* toolbar = new DrawingToolbarController(contentView_, defaults_);
    toolbar->setDelegate(this);
    drawingToolbar_ = toolbar;
    delete painterView_.data();
    const bool pending = pendingOpening_ && pendingOpening_->photo.preview == image_;
    painterView_ =
        new CIMicroPaintView(pending ? pendingOpening_->photo : canvasPhotoFor(image_), this, contentView_);
    if (onFirstFrame || fullDecodeGate_) painterView_->installEventFilter(this);
    validateBackgroundForIndex(backgroundIndex());
    layOutContent();
    painterView_->show();
    toolbar->awakeFromNib();
    toolbar->show();
    toolbar->validateAllBrushes();
    // The treatment a new photo starts with, as chosen in the preferences.
    if (const int treatment = int(defaults_->integerForKey("PimavoDefaultTreatmentIntegerValue"));
        treatment > 0 && treatment <= 3)
        toolbar->treatmentButtonClick(treatment);
    connect(painterView_, &CIMicroPaintView::zoomChanged, zoomField_, &ZoomField::setPercent);
    applyShowMaskColour();
    painterView_->zoomToFitRect();
    zoomField_->setPercent(painterView_->zoomPercent());
    painterView_->setFocus();
    layOutContent();
    enteringPainter_ = false;
    panelSettled();
}

void BrimwellViewController::redrawCanvas() {
    if (painterView_) painterView_->validateImage();
}

void BrimwellViewController::buttonPaintClick() {
    if (painterView_) {
        // The full-resolution result and a fresh canvas take a moment on a large photo.
        QApplication::setOverrideCursor(Qt::BusyCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        if (BitmapRef result = canvasResult(painterView_->model())) {
            undo_->beginUndoGrouping();
            undo_->setActionName(Strings::shared().localized("Apply Drawing"));
            // The brush and the treatment stay; the adjustments and the look are in the new photo.
            replacePhotoUndoable(result, {}, {},
                                 drawingToolbar_ ? std::optional(drawingToolbar_->settings()) : std::nullopt,
                                 false);
            // The new photo shows as the picture did: all of it in its colours, with the treatment
            // ready for the eraser to bring back. A cleared mask would drop every painted colour
            // under the treatment at once.
            if (painterView_) {
                painterView_->model().invertMask();
                redrawCanvas();
            }
            undo_->endUndoGrouping();
            return;
        }
    }
    setTool(Painting);
}

void BrimwellViewController::replacePhotoUndoable(
    BitmapRef photo, const CIImage& mask, const CIImage& colorLayer,
    const std::optional<DrawingToolbarController::Settings>& panel, bool panelPicture) {
    finishOpening();
    if (!photo || !image_) return;
    // What undo brings back. The photo as opened is kept anyway (for revert); any other picture
    // waits in the cache folder, so that the history does not hold a full-resolution copy per step.
    CIImage oldMask, oldLayer;
    if (painterView_) {
        oldMask = painterView_->model().mask();
        oldLayer = painterView_->model().colorDrawingMask();
    }
    std::optional<DrawingToolbarController::Settings> oldPanel;
    if (drawingToolbar_) oldPanel = drawingToolbar_->settings();
    std::function<BitmapRef()> previous;
    if (image_ == originalImage_) {
        previous = [kept = image_] { return kept; };
    } else {
        auto stashed = StashedBitmap::stash(image_, historyFolder.isEmpty() ? StashedBitmap::defaultFolder()
                                                                            : historyFolder);
        previous = [stashed] { return stashed->restore(); };
    }
    undo_->registerUndo(this, [this, previous, oldMask, oldLayer, oldPanel] {
        if (BitmapRef back = previous()) {
            replacePhotoUndoable(back, oldMask, oldLayer, oldPanel, true);
        } else {
            showAlert(Strings::shared().localized("kHistoryPictureLost"), QString());
        }
    });
    // A fresh canvas: the working images, the presets cached from the old picture and the masks
    // all belong to the picture being replaced.
    if (painterView_) painterView_->model().resetPresetDictionary();
    image_ = photo;
    if (tool_ == Painting) {
        leavePainter();
        beginEnterPainter();
        if (painterView_ && (mask || colorLayer)) {
            painterView_->model().restorePainting(mask, colorLayer);
            redrawCanvas();
        }
        // The panel's settings come back as part of the state: no change of their own to save.
        if (drawingToolbar_ && panel) {
            enteringPainter_ = true;
            drawingToolbar_->restoreSettings(*panel, panelPicture);
            enteringPainter_ = false;
            panelSettled();
            redrawCanvas();
        }
    }
    validateUndoRedoButtonsState();
    validateMenus();
}

void BrimwellViewController::validateResizebleButtons() {
    const bool on = tool_ == Painting;
    if (tool_ == NoTool && !hasPhoto()) {
        for (TQButton* b : {zoomInButton_, zoomOutButton_, fitToScreenButton_, actualSizeButton_})
            b->setEnabled(false);
        zoomField_->setEnabled(false);
        zoomField_->clear(); // no picture, no zoom
    } else if (tool_ != NoTool) {
        for (TQButton* b : {zoomInButton_, zoomOutButton_, fitToScreenButton_, actualSizeButton_})
            b->setEnabled(on);
        zoomField_->setEnabled(on);
    }
    compareButton_->setEnabled(on);
    advancedCompareButton_->setEnabled(on);
    applyButton_->setEnabled(on);
    saveButton_->setEnabled(hasPhoto());
    shareButton_->setEnabled(hasPhoto());
}

namespace {
const QColor kDefaultShowMaskColour(255, 0, 0);
} // namespace

void BrimwellViewController::setShowMaskColour(const QColor& colour) {
    defaults_->setColor("showMaskColor", {float(colour.redF()), float(colour.greenF()), float(colour.blueF()), 1});
    defaults_->synchronize();
    applyShowMaskColour();
}

void BrimwellViewController::applyShowMaskColour() {
    const auto kept = defaults_->colorForKey("showMaskColor");
    const QColor colour =
        kept ? QColor::fromRgbF((*kept)[0], (*kept)[1], (*kept)[2]) : kDefaultShowMaskColour;
    if (maskColourMenu_)
        for (QAction* a : maskColourMenu_->actions()) a->setChecked(a->data().value<QColor>() == colour);
    if (!painterView_) return;
    // The checks keep their see-through strength whatever their colour.
    painterView_->model().setShowMaskColor(
        CIColor{float(colour.redF()), float(colour.greenF()), float(colour.blueF()), 0.6f});
    if (painterView_->model().isShowMask()) redrawCanvas();
}

void BrimwellViewController::zoomInClick() {
    if (tool_ == Painting && painterView_) painterView_->zoomIn();
}
void BrimwellViewController::zoomOutClick() {
    if (tool_ == Painting && painterView_) painterView_->zoomOut();
}
void BrimwellViewController::zoomToActualSizeClick() {
    if (tool_ == Painting && painterView_) painterView_->zoomToActualSize();
}
void BrimwellViewController::zoomToFitClick() {
    if (tool_ == Painting && painterView_) painterView_->zoomToFitRect();
}

// ---- undo and redo ----------------------------------------------------------------------------

void BrimwellViewController::buttonUndoClick() {
    // While the picker is up, its own steps are undone.
    if (auto* picker = qobject_cast<ZDColorPickerView*>(colorPickerView_.data()); picker && isColorPickerShowed_) {
        picker->undo();
        return;
    }
    if (isDisabledInteraction_) return;
    closePanelEdit(true);
    undo_->undo();
    redrawCanvas();
}

void BrimwellViewController::buttonRedoClick() {
    if (auto* picker = qobject_cast<ZDColorPickerView*>(colorPickerView_.data()); picker && isColorPickerShowed_) {
        picker->redo();
        return;
    }
    if (isDisabledInteraction_) return;
    closePanelEdit(true);
    undo_->redo();
    redrawCanvas();
}

void BrimwellViewController::validateUndoRedoButtonsState() {
    if (undo_->isUndoing() || undo_->isRedoing()) {
        Dispatch::after(0, [self = QPointer(this)] {
            if (self) self->validateUndoRedoButtonsState();
        });
        return;
    }
    undoButton_->setEnabled(undo_->canUndo());
    redoButton_->setEnabled(undo_->canRedo());
    nameUndoRedoCommands();
    validateMenus();
}

// ---- compare ----------------------------------------------------------------------------------

void BrimwellViewController::buttonCompareClick() {
    if (compareView_) {
        exitFromCompare();
        return;
    }
    if (!painterView_) {
        validateCompareControls(); // the toggle button rests
        return;
    }
    auto* overlay = new ZDView(contentView_);
    overlay->setPatternImageName(backgroundView_->patternImageName());
    compareView_ = overlay;
    const int W = contentView_->width(), H = contentView_->height() - kTopBarHeight;
    overlay->setGeometry(0, kTopBarHeight, W, H);
    auto* before = new TQCIImageView(overlay);
    auto* after = new TQCIImageView(overlay);
    const int c = 24;
    before->setGeometry(10, 10 + c, W / 2 - 20, H - 15 - c - 10);
    after->setGeometry(W / 2 + 10, 10 + c, W / 2 - 20, H - 15 - c - 10);
    before->setImage(painterView_->model().originalCIImage());
    after->setImage(painterView_->model().currentFullSizeCIImageForDisplay(false));
    auto label = [overlay](const QString& image, int centreX) {
        auto* l = new ZDView(overlay);
        l->setBackgroundImageName(image);
        l->setGeometry(centreX - 36, 8, 72, 20);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    };
    label("before_compare.png", W / 4);
    label("after_compare.png", 3 * W / 4);
    auto* close = new TQButton(overlay);
    close->setImage("close_compare");
    close->setGeometry(W - 15 - 24, 6, 24, 24);
    close->setAction([this](TQButton*) { exitFromCompare(); });
    overlay->show();
    overlay->raise();
    // Keys go to the overlay, which passes them to the window: a field of the hidden tool panel or
    // the disabled canvas keeps none of them.
    focusBeforeCompare_ = QApplication::focusWidget();
    overlay->setFocusPolicy(Qt::StrongFocus);
    overlay->setFocus(Qt::OtherFocusReason);
    tappedModifier_ = 0;
    validateCompareControls();
    // Deferred calls check the window is still there: it may close before they run.
    Dispatch::after(0, [self = QPointer(this)] {
        if (self) self->showCompare();
    });
}

void BrimwellViewController::validateCompareControls() {
    const bool on = compareView_ != nullptr;
    compareButton_->setState(on ? 1 : 0);
    validateMenus();
}

void BrimwellViewController::showCompare() {
    if (!compareView_) return;
    setDisabledInteractions(true);
    fade(compareView_, 1.0, 200);
    if (painterView_) painterView_->setEnabled(false);
    if (drawingToolbar_) fade(drawingToolbar_, 0.0, 200);
}

void BrimwellViewController::exitFromCompare() {
    if (!compareView_) return;
    setDisabledInteractions(false);
    QPointer<ZDView> overlay = compareView_;
    compareView_ = nullptr;
    validateCompareControls();
    if (overlay && overlay->hasFocus()) {
        overlay->clearFocus();
        if (focusBeforeCompare_ && focusBeforeCompare_->isVisible())
            focusBeforeCompare_->setFocus(Qt::OtherFocusReason);
        else if (painterView_)
            painterView_->setFocus(Qt::OtherFocusReason);
    }
    fade(overlay, 0.0, 200, [overlay] {
        if (overlay) overlay->deleteLater();
    });
    if (painterView_) painterView_->setEnabled(true);
    if (drawingToolbar_) fade(drawingToolbar_, 1.0, 200);
}

// ---- revert -----------------------------------------------------------------------------------

void BrimwellViewController::revertToOriginalButtonClick() {
    finishOpening();
    if (!originalImage_) return;
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    Strings::shared().localized("kStringRevertToOriginalMessageAlertText"),
                    QMessageBox::NoButton, this);
    box.setInformativeText(Strings::shared().localized("kStringRevertToOriginalAdditionalAlertText"));
    QPushButton* revert = box.addButton(Strings::shared().localized("Revert"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
    if (box.clickedButton() != revert) return;
    if (originalIsApplied_) {
        if (BitmapRef first = photoFromOriginalBytes()) {
            originalImage_ = first;
            originalIsApplied_ = false;
        }
    }
    // A step like any other: undo brings back the picture, its painting and the panel as they were.
    undo_->closeEventGroup();
    undo_->beginUndoGrouping();
    undo_->setActionName(Strings::shared().localized("kUndoRevertToOriginal"));
    replacePhotoUndoable(originalImage_, {}, {}, std::nullopt, false);
    undo_->endUndoGrouping();
    // Never saved, the file holds the photo as opened: nothing to save until the revert is undone.
    // Once saved, the file holds the edited picture and the original on screen is work to save.
    if (!savedSinceOpening_)
        setEdited(false);
    else
        validateEdited();
    validateUndoRedoButtonsState();
}

// ---- blocking and full screen -----------------------------------------------------------------

void BrimwellViewController::setDisabledInteractions(bool disabled) {
    isDisabledInteraction_ = disabled;
    if (backgroundMenu_) backgroundMenu_->setEnabled(!disabled);
    validateMenus();
}

void BrimwellViewController::escapeDetectorClick() {
    // One thing at a time, the one on top first.
    if (isSharingPaneShown()) {
        sharingPane_->close();
        return;
    }
    if (sharingDialog_) {
        // The list open over the window goes first; an upload under way is not dropped unasked.
        if (sharingWindow_ && sharingWindow_->takeEscape()) return;
        // Not while the key is still on its way through the window's fields.
        Dispatch::after(0, [self = QPointer(this)] {
            if (self) self->closeSharingWindow();
        });
        return;
    }
    if (colorPickerView_) {
        // The picker's own cancel also stops a pick under way.
        if (auto* picker = qobject_cast<ZDColorPickerView*>(colorPickerView_.data()))
            picker->cancel();
        else
            exitFromColorPickerWithCancel();
        return;
    }
    if (compareView_) {
        exitFromCompare();
        return;
    }
    if (fullScreen_) toggleFullScreen();
}

void BrimwellViewController::toggleFullScreen() {
    NotificationCenter::defaultCenter().post("kWindowDidResize");
    fullScreen_ = !isFullScreen();
    if (fullScreen_)
        showFullScreen();
    else
        showNormal();
    NotificationCenter::defaultCenter().post("kEnterFullScreen");
}

void BrimwellViewController::changeEvent(QEvent* event) {
    // A dialog or another window took the keyboard: the keys held now are let go there.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) releaseHeldKeys();
    if (event->type() == QEvent::WindowStateChange) {
        // Minimised with compare mode or the picker on: come back to it when restored.
        if (isMinimized() && (compareView_ || colorPickerView_)) {
            restoreCompare_ = compareView_ != nullptr;
            restorePicker_ = colorPickerView_ != nullptr;
            exitFromCompare();
            exitFromColorPickerWithCancel();
        } else if (!isMinimized() && (restoreCompare_ || restorePicker_)) {
            const bool compare = restoreCompare_, picker = restorePicker_;
            restoreCompare_ = restorePicker_ = false;
            Dispatch::after(0, [self = QPointer(this), compare, picker] {
                if (!self) return;
                if (compare) self->buttonCompareClick();
                if (picker && self->drawingToolbar_) {
                    self->drawingToolbar_->imagePickerButton()->setState(1);
                    self->showColorPickerView(self->drawingToolbar_, true);
                }
            });
        }
        fullScreen_ = isFullScreen();
        if (QAction* a = actions_.value("toggleFullScreen:")) a->setChecked(fullScreen_);
    }
    QMainWindow::changeEvent(event);
}

// ---- the canvas's owner -----------------------------------------------------------------------

void BrimwellViewController::applyMask(const CIImage& mask) {
    if (!painterView_) return;
    painterView_->model().applyMask(mask);
    redrawCanvas();
}

void BrimwellViewController::applyColorDrawingMask(const CIImage& layer) {
    if (!painterView_) return;
    painterView_->model().applyColorDrawingMask(layer);
    redrawCanvas();
}

void BrimwellViewController::startProgress() {
    if (progressDialog_) return;
    progressDialog_ = std::make_unique<ZDDialog>(ZDDialog::Bare);
    progressDialog_->setDialogSize(QSizeF(240, 110));
    auto* spinner = new TQSpinner;
    spinner->setGeometry(104, 22, 32, 32);
    progressDialog_->addSubview(spinner);
    spinner->startAnimation();
    auto* label = new QLabel(Strings::shared().localized("kProcessing"));
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet("color: white; background: transparent;");
    label->setGeometry(0, 62, 240, 30);
    progressDialog_->addSubview(label);
    progressDialog_->showInView(contentView_);
    QApplication::setOverrideCursor(Qt::BusyCursor);
}

void BrimwellViewController::stopProgress() {
    if (!progressDialog_) return;
    progressDialog_->hideDialogWithoutAnimation();
    progressDialog_.reset();
    QApplication::restoreOverrideCursor();
}

bool BrimwellViewController::setToolbarBrushSize(double size) {
    if (!drawingToolbar_) return false;
    drawingToolbar_->setBrushSize(size);
    return true;
}

void BrimwellViewController::showAlert(const QString& message, const QString& informativeText) {
    if (alertShown) {
        alertShown(message, informativeText);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Pimavo"), message, QMessageBox::Ok, this);
    box.setInformativeText(informativeText);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

// ---- the tool panel's requests ----------------------------------------------------------------

#define CANVAS_OR_RETURN(sender)                                                                             \
    if (!isOwnToolbar(sender) || !painterView_) return;                                                      \
    CanvasModel& m = painterView_->model()

void BrimwellViewController::invertMaskForDrawingToolbarController(DrawingToolbarController* s) {
    CANVAS_OR_RETURN(s);
    m.invertMask();
    undo_->setActionName(Strings::shared().localized("Invert Mask"));
    redrawCanvas();
}
void BrimwellViewController::clearMaskForDrawingToolbarController(DrawingToolbarController* s) {
    CANVAS_OR_RETURN(s);
    m.clearMask();
    undo_->setActionName(Strings::shared().localized("Clear Mask"));
    redrawCanvas();
}
void BrimwellViewController::showMask(DrawingToolbarController* s, bool on) {
    CANVAS_OR_RETURN(s);
    m.setShowMask(on);
    redrawCanvas();
}
void BrimwellViewController::eraseMask(DrawingToolbarController* s, bool on) {
    CANVAS_OR_RETURN(s);
    m.setEraseMask(on);
    painterView_->validateCursor();
}
void BrimwellViewController::moveImage(DrawingToolbarController* s, bool on) {
    if (isOwnToolbar(s) && painterView_) painterView_->setMoveImage(on);
}
void BrimwellViewController::solidColorSelected(DrawingToolbarController* s, bool on) {
    CANVAS_OR_RETURN(s);
    m.setIsSolidColor(on);
}
void BrimwellViewController::customColor(DrawingToolbarController* s, std::optional<QColor> c) {
    CANVAS_OR_RETURN(s);
    m.setColor(c ? std::optional<CIColor>(CIColor{c->redF(), c->greenF(), c->blueF(), c->alphaF()})
                 : std::nullopt);
    painterView_->validateCursor();
}
void BrimwellViewController::brushSizeDidChange(DrawingToolbarController* s, double size) {
    if (!isOwnToolbar(s) || !painterView_) return;
    painterView_->setBrushSize(size);
    painterView_->validateCursor();
}
void BrimwellViewController::softnessDidChange(DrawingToolbarController* s, double v) {
    CANVAS_OR_RETURN(s);
    m.setBrushSoftness(v);
    painterView_->validateCursor();
}
void BrimwellViewController::opacityDidChange(DrawingToolbarController* s, double v) {
    CANVAS_OR_RETURN(s);
    m.setBrushOpacity(v);
    painterView_->validateCursor();
}
void BrimwellViewController::intensivityDidChange(DrawingToolbarController* s, double v) {
    CANVAS_OR_RETURN(s);
    m.setIntensivity(v);
}
void BrimwellViewController::vignetteDidChange(DrawingToolbarController* s, double v) {
    CANVAS_OR_RETURN(s);
    if (v != m.vignetteValue()) panelChanged("Vignette");
    m.setVignetteValue(v);
    redrawCanvas();
}
void BrimwellViewController::presetDidChanged(DrawingToolbarController* s, int preset) {
    CANVAS_OR_RETURN(s);
    if (preset != m.preset()) panelChanged("Look");
    m.setPreset(preset);
    redrawCanvas();
}
void BrimwellViewController::backgroundFilterNameDidChange(DrawingToolbarController* s,
                                                           std::optional<QString> name) {
    CANVAS_OR_RETURN(s);
    if (name.value_or(QString()) != m.backgroundFilterName()) panelChanged("Treatment");
    m.setBackgroundFilterName(name.value_or(QString()));
    redrawCanvas();
}

// A value that changes the picture is work to keep.
#define ADJUSTMENT(method, getter, setter, step)                                                             \
    void BrimwellViewController::method(DrawingToolbarController* s, double v) {                             \
        CANVAS_OR_RETURN(s);                                                                                 \
        if (v != m.getter()) panelChanged(step);                                                             \
        m.setter(v);                                                                                         \
        redrawCanvas();                                                                                      \
    }
ADJUSTMENT(exposureDidChange, exposure, setExposure, "Exposure")
ADJUSTMENT(brightnessDidChange, brightness, setBrightness, "Brightness")
ADJUSTMENT(saturationDidChange, saturation, setSaturation, "Saturation")
ADJUSTMENT(contrastDidChange, contrast, setContrast, "Contrast")
ADJUSTMENT(hueDidChange, hue, setHue, "Hue")
ADJUSTMENT(blurDidChange, blur, setBlur, "Blur")
ADJUSTMENT(brightnessBackgroundDidChange, brightnessBackground, setBrightnessBackground,
           "Background Brightness")
ADJUSTMENT(contrastBackgroundDidChange, contrastBackground, setContrastBackground, "Background Contrast")
ADJUSTMENT(saturationBackgroundDidChange, saturationBackground, setSaturationBackground,
           "Background Saturation")
ADJUSTMENT(blurBackgroundDidChange, blurBackground, setBlurBackground, "Background Blur")
#undef ADJUSTMENT

void BrimwellViewController::showColorPickerView(DrawingToolbarController* s, bool) {
    if (!isOwnToolbar(s)) return;
    // A toggle: the button's state follows the mode, whatever it was.
    if (colorPickerView_) {
        exitFromColorPickerWithCancel();
        return;
    }
    QWidget* view = nullptr;
    if (colorPickerFactory) {
        view = colorPickerFactory(contentView_);
    } else if (painterView_) {
        finishOpening(); // regions from the photo's own working copy, as a save would use
        // The photo at the size of the painting mask: the regions it gives fit the mask as they are.
        auto working = CIContext().createBitmap(painterView_->model().imageA_orig(), 8);
        if (working)
            view = new ZDColorPickerView(contentView_->rect(),
                                         std::make_shared<const Bitmap>(std::move(*working)), this,
                                         contentView_);
    }
    if (!view) {
        // No picker in this build: the button rests.
        if (drawingToolbar_) drawingToolbar_->imagePickerButton()->setState(0);
        return;
    }
    colorPickerView_ = view;
    if (auto* picker = qobject_cast<ZDColorPickerView*>(view))
        connect(picker, &ZDColorPickerView::stepsChanged, this, [this] {
            validateMenus();
            nameUndoRedoCommands();
        });
    auto* hidden = new QGraphicsOpacityEffect(view);
    hidden->setOpacity(0); // faded in once it is ready
    view->setGraphicsEffect(hidden);
    view->setGeometry(contentView_->rect());
    view->show();
    view->raise();
    Dispatch::after(0.5, [self = QPointer(this)] {
        if (self) self->showColorPicker();
    });
}

namespace {

// A picture for the picker's preview: at most two megapixels, as a Qt image.
QImage previewOf(BitmapRef picture) {
    if (!picture) return {};
    std::optional<Bitmap> small;
    const double pixels = double(picture->width()) * picture->height();
    if (pixels > 2.0e6) {
        const double k = std::sqrt(2.0e6 / pixels);
        small = scaledImageToCoverSize(
            *picture, CGSize(std::floor(picture->width() * k), std::floor(picture->height() * k)));
    }
    return qImageFromBitmap(small ? *small : *picture);
}

} // namespace

QImage BrimwellViewController::resultImageForColorPicker() {
    // A preview: the size the canvas paints at is plenty, however large the photo.
    if (painterView_)
        if (auto result = painterView_->model().resultImage(CanvasModel::ResultSize::Reduced))
            return previewOf(*result);
    return previewOf(resultImage());
}

QImage BrimwellViewController::resultMaskWithColorMask(const CIImage& mask) {
    if (!painterView_) return previewOf(image_);
    auto result = painterView_->model().resultMaskWithColorMask(mask);
    return previewOf(result ? *result : image_);
}

void BrimwellViewController::showColorPicker() {
    if (!colorPickerView_) return;
    setDisabledInteractions(true);
    isColorPickerShowed_ = true;
    nameUndoRedoCommands();
    validateMenus(); // Undo and Redo are the picker's now
    fade(colorPickerView_, 1.0, 200);
    if (painterView_) painterView_->setEnabled(false);
}

void BrimwellViewController::exitFromColorPickerWithApply() {
    if (painterView_) {
        // The picker's selection as it stands: its steps undone back to nothing leave nothing to apply.
        if (auto* picker = qobject_cast<ZDColorPickerView*>(colorPickerView_.data()); picker && !picker->colorMask())
            painterView_->model().clearColorMask();
        undo_->closeEventGroup(); // one step of its own in the Edit menu
        painterView_->model().applyColorMask();
        undo_->setActionName(Strings::shared().localized("Pick Colours"));
        undo_->closeEventGroup();
        redrawCanvas();
    }
    closeColorPicker();
}

void BrimwellViewController::exitFromColorPickerWithCancel() {
    if (painterView_) painterView_->model().clearColorMask();
    closeColorPicker();
}

void BrimwellViewController::closeColorPicker() {
    if (!colorPickerView_) return;
    isColorPickerShowed_ = false;
    nameUndoRedoCommands();
    QPointer<QWidget> view = colorPickerView_;
    colorPickerView_ = nullptr;
    // A pick still running would otherwise hand its region to the canvas after the close.
    if (auto* picker = qobject_cast<ZDColorPickerView*>(view.data())) picker->stopPicking();
    fade(view, 0.0, 200);
    Dispatch::after(0.3, [view] { delete view.data(); });
    if (painterView_) painterView_->setEnabled(true);
    if (drawingToolbar_) drawingToolbar_->imagePickerButton()->setState(0);
    setDisabledInteractions(false);
}

QImage BrimwellViewController::previewImageForDrawingToolbarController(DrawingToolbarController* s,
                                                                       QSize size, double brushSize,
                                                                       double softness, double opacity) {
    if (!isOwnToolbar(s) || !painterView_) return {};
    auto bitmap =
        painterView_->model().previewImage(CGSize(size.width(), size.height()), brushSize, softness, opacity);
    if (!bitmap) return {};
    return QImage(reinterpret_cast<const uchar*>(bitmap->row(0)), bitmap->width(), bitmap->height(),
                  qsizetype(bitmap->bytesPerRow()), QImage::Format_RGBA8888_Premultiplied)
        .copy();
}

void BrimwellViewController::applyMask(DrawingToolbarController* s, const CIImage& mask) {
    if (isOwnToolbar(s)) applyMask(mask);
}

QCursor BrimwellViewController::brushCursorForDrawingToolbarController(DrawingToolbarController* s) {
    if (!isOwnToolbar(s) || !painterView_) return Qt::ArrowCursor;
    return painterView_->additionalDrawingCursorWithDiametr(0);
}

#undef CANVAS_OR_RETURN

} // namespace pimavo
