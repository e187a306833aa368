// Modes of the window: tools, painting, compare, revert, undo and redo, zoom, full screen, the
// in-window blocking of commands, and the tool panel's requests passed on to the canvas.
#include "EditorWindow.h"
#include "PanelBinding.h"
#include "StashedBitmap.h"
#include "WindowSharing.h"
#include "core/Settings.h"
#include "core/Strings.h"
#include "engine/Renderer.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/BitmapImage.h"
#include "widgets/FramedPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ImagePreview.h"
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

// Fades a widget's opacity to `to`; `then` runs at the end. One fade at a time per widget: a new
// one takes over from the opacity the last one reached, and the last one's `then` never runs. Two
// fades left to run side by side end in any order, and the one ending on "fully shown" removes the
// effect the other is still driving, which stops that one where it stands: a view left half faded,
// or a view meant to go away that stays.
void fade(QWidget* w, double to, int ms, std::function<void()> then = {}) {
    static const char* const kName = "pimavoFade";
    for (auto* running : w->findChildren<QPropertyAnimation*>(kName, Qt::FindDirectChildrenOnly)) {
        running->disconnect(w);
        running->stop();
        delete running;
    }
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(w->graphicsEffect());
    if (!effect) {
        // A view with no effect is fully shown.
        effect = new QGraphicsOpacityEffect(w);
        effect->setOpacity(1.0);
        w->setGraphicsEffect(effect);
    }
    auto* a = new QPropertyAnimation(effect, "opacity", w);
    a->setObjectName(kName);
    a->setDuration(ms);
    a->setEndValue(to);
    QObject::connect(a, &QPropertyAnimation::finished, w, [w, to, then] {
        if (to >= 1.0) {
            w->setGraphicsEffect(nullptr); // no effect left on a fully shown view
            w->update();
        }
        if (then) then();
    });
    a->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace

// ---- tools and painting -----------------------------------------------------------------------

void EditorWindow::setTool(int t) {
    const int effective = t == Adjust ? Adjust : hasPhoto() ? Painting : t;
    if (effective == tool_) return;
    if (tool_ == Painting) leavePainter();
    tool_ = effective;
    if (tool_ == Painting) beginEnterPainter();
    validateResizableButtons();
    validateMenus();
}

void EditorWindow::leavePainter() {
    if (drawingToolbar_) {
        QPointer<ToolPanel> old = drawingToolbar_;
        drawingToolbar_ = nullptr;
        disconnectToolPanel(old);
        old->hide();
        Dispatch::after(0.3, [old] { delete old.data(); });
    }
    delete painterView_.data();
}

void EditorWindow::beginEnterPainter() {
    if (!image_) return;
    enteringPainter_ = true;
    delete drawingToolbar_.data();
    auto* toolbar = new ToolPanel(contentView_, settings_);
    connectToolPanel(toolbar);
    drawingToolbar_ = toolbar;
    delete painterView_.data();
    const bool pending = pendingOpening_ && pendingOpening_->photo.preview == image_;
    painterView_ =
        new CanvasView(pending ? pendingOpening_->photo : canvasPhotoFor(image_), session_, contentView_);
    painterView_->setInteractionBlocked(isDisabledInteraction_);
    connectPanelToCanvas(toolbar, painterView_);
    if (onFirstFrame || fullDecodeGate_) painterView_->installEventFilter(this);
    validateBackgroundForIndex(backgroundIndex());
    layOutContent();
    painterView_->show();
    toolbar->finishSetup();
    toolbar->show();
    toolbar->validateAllBrushes();
    connect(painterView_, &CanvasView::zoomChanged, zoomField_, &ZoomField::setPercent);
    connect(painterView_, &CanvasView::compareCloseRequested, this, &EditorWindow::exitFromCompare);
    connect(painterView_, &CanvasView::alertRequested, this, &EditorWindow::showAlert);
    applyShowMaskColour();
    painterView_->zoomToFitRect();
    zoomField_->setPercent(painterView_->zoomPercent());
    painterView_->setFocus();
    layOutContent();
    enteringPainter_ = false;
}

void EditorWindow::redrawCanvas() {
    if (painterView_) painterView_->validateImage();
}

void EditorWindow::buttonPaintClick() {
    if (painterView_) {
        // The full-resolution result and a fresh canvas take a moment on a large photo.
        QApplication::setOverrideCursor(Qt::BusyCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        if (BitmapRef result = canvasResult(painterView_->model())) {
            session_->beginStep(Strings::shared().localized("Apply Drawing"));
            // The treatment stays; the adjustments and the look are in the new photo.
            PictureSettings applied;
            applied.treatment = session_->pictureSettings().treatment;
            session_->setPictureSettings(applied, QString());
            replacePhotoUndoable(result, {}, {});
            // The new photo shows as the picture did: all of it in its colours, with the treatment
            // ready for the eraser to bring back. A cleared mask would drop every painted colour
            // under the treatment at once.
            if (painterView_) {
                painterView_->model().painting().invertMask();
                redrawCanvas();
            }
            session_->endStep();
            return;
        }
    }
    setTool(Painting);
}

void EditorWindow::replacePhotoUndoable(BitmapRef photo, const Image& mask, const Image& colorLayer) {
    finishOpening();
    if (!photo || !image_) return;
    // Undo and redo swap the state on screen with the one the step keeps.
    auto kept = std::make_shared<PhotoState>(currentPhotoState());
    setPhotoWithPainting(photo, mask, colorLayer);
    auto swap = [this, kept] {
        PhotoState leaving = currentPhotoState();
        if (restorePhotoState(*kept)) *kept = std::move(leaving);
    };
    session_->push(QString(), swap, swap);
}

PictureSettings EditorWindow::startingPictureSettings() const {
    PictureSettings settings;
    if (const int treatment = settings_->defaultTreatment(); treatment > 0 && treatment < 4)
        settings.treatment = Treatment(treatment);
    return settings;
}

EditorWindow::PhotoState EditorWindow::currentPhotoState() {
    PhotoState state;
    if (painterView_) {
        state.mask = painterView_->model().painting().mask();
        state.colorLayer = painterView_->model().painting().colorDrawingMask();
    }
    // The photo as opened is kept anyway (for revert); any other picture waits in the cache
    // folder, so that the history does not hold a full-resolution copy per step.
    if (image_ == originalImage_) {
        state.photo = [kept = image_] { return kept; };
    } else {
        auto stashed =
            StashedBitmap::stash(image_, services.historyFolder.isEmpty() ? StashedBitmap::defaultFolder()
                                                                          : services.historyFolder);
        state.photo = [stashed] { return stashed->restore(); };
    }
    return state;
}

bool EditorWindow::restorePhotoState(const PhotoState& state) {
    BitmapRef photo = state.photo();
    if (!photo) {
        showAlert(Strings::shared().localized("kHistoryPictureLost"), QString());
        return false;
    }
    setPhotoWithPainting(photo, state.mask, state.colorLayer);
    return true;
}

void EditorWindow::setPhotoWithPainting(BitmapRef photo, const Image& mask, const Image& colorLayer) {
    // A fresh canvas: the working images, the presets cached from the old picture and the masks
    // all belong to the picture being replaced. The brush stays as it was.
    if (painterView_) painterView_->model().forgetLooks();
    const std::vector<double> brush = drawingToolbar_ ? drawingToolbar_->brush() : std::vector<double>();
    image_ = photo;
    if (tool_ == Painting) {
        leavePainter();
        beginEnterPainter();
        if (drawingToolbar_ && !brush.empty()) drawingToolbar_->restoreBrush(brush);
        if (painterView_ && (mask || colorLayer)) {
            painterView_->model().painting().restorePainting(mask, colorLayer);
            redrawCanvas();
        }
    }
    validateUndoRedoButtonsState();
    validateMenus();
}

void EditorWindow::validateResizableButtons() {
    const bool on = tool_ == Painting;
    if (tool_ == NoTool && !hasPhoto()) {
        for (ImageButton* b : {zoomInButton_, zoomOutButton_, fitToScreenButton_, actualSizeButton_})
            b->setEnabled(false);
        zoomField_->setEnabled(false);
        zoomField_->clear(); // no picture, no zoom
    } else if (tool_ != NoTool) {
        for (ImageButton* b : {zoomInButton_, zoomOutButton_, fitToScreenButton_, actualSizeButton_})
            b->setEnabled(on);
        zoomField_->setEnabled(on);
    }
    compareButton_->setEnabled(on);
    advancedCompareButton_->setEnabled(on);
    applyButton_->setEnabled(on);
    saveButton_->setEnabled(hasPhoto());
    shareButton_->setEnabled(hasPhoto());
}

void EditorWindow::setShowMaskColour(const QColor& colour) {
    settings_->setShowMaskColour({float(colour.redF()), float(colour.greenF()), float(colour.blueF()), 1});
    applyShowMaskColour();
}

void EditorWindow::applyShowMaskColour() {
    const Settings::Colour kept = settings_->showMaskColour();
    const QColor colour = QColor::fromRgbF(kept[0], kept[1], kept[2]);
    if (maskColourMenu_)
        for (QAction* a : maskColourMenu_->actions()) a->setChecked(a->data().value<QColor>() == colour);
    if (!painterView_) return;
    // The checks keep their see-through strength whatever their colour.
    painterView_->model().setShowMaskColor(
        Rgba{float(colour.redF()), float(colour.greenF()), float(colour.blueF()), 0.6f});
    if (painterView_->model().isShowMask()) redrawCanvas();
}

void EditorWindow::zoomInClick() {
    if (tool_ == Painting && painterView_) painterView_->zoomIn();
}
void EditorWindow::zoomOutClick() {
    if (tool_ == Painting && painterView_) painterView_->zoomOut();
}
void EditorWindow::zoomToActualSizeClick() {
    if (tool_ == Painting && painterView_) painterView_->zoomToActualSize();
}
void EditorWindow::zoomToFitClick() {
    if (tool_ == Painting && painterView_) painterView_->zoomToFitRect();
}

// ---- undo and redo ----------------------------------------------------------------------------

void EditorWindow::buttonUndoClick() {
    // While the picker is up, its own steps are undone.
    if (auto* picker = qobject_cast<RegionPicker*>(colorPickerView_.data()); picker && isColorPickerShowed_) {
        picker->undo();
        return;
    }
    if (isDisabledInteraction_) return;
    session_->undo();
    redrawCanvas();
}

void EditorWindow::buttonRedoClick() {
    if (auto* picker = qobject_cast<RegionPicker*>(colorPickerView_.data()); picker && isColorPickerShowed_) {
        picker->redo();
        return;
    }
    if (isDisabledInteraction_) return;
    session_->redo();
    redrawCanvas();
}

void EditorWindow::validateUndoRedoButtonsState() {
    if (session_->isReplaying()) {
        Dispatch::after(0, [self = QPointer(this)] {
            if (self) self->validateUndoRedoButtonsState();
        });
        return;
    }
    undoButton_->setEnabled(session_->canUndo());
    redoButton_->setEnabled(session_->canRedo());
    nameUndoRedoCommands();
    validateMenus();
}

// ---- compare ----------------------------------------------------------------------------------

void EditorWindow::buttonCompareClick() {
    if (isCompareShown()) {
        exitFromCompare();
        return;
    }
    if (!painterView_) {
        validateCompareControls(); // the toggle button rests
        return;
    }
    if (!isPhotoWhole()) {
        // The untouched side is the photo itself. Waiting for its decoding here would hold the
        // window still for as long as that takes (long for a big photo on a busy machine), with
        // the keys and clicks meanwhile replayed against a comparison half made: it comes when
        // the photo does, and the window goes on meanwhile.
        compareAwaitingPhoto_ = true;
        tappedModifier_ = 0;
        QApplication::setOverrideCursor(Qt::BusyCursor);
        // As while comparing: keys only end it, and a press on the canvas too.
        focusBeforeCompare_ = QApplication::focusWidget();
        painterView_->setEnabled(false);
        endCompareOnPanelPresses();
        setFocus(Qt::OtherFocusReason);
        validateCompareControls();
        return;
    }
    auto* overlay = new FramedPanel(contentView_);
    overlay->setPatternImageName(backgroundView_->patternImageName());
    // Hidden until it fades in.
    auto* hidden = new QGraphicsOpacityEffect(overlay);
    hidden->setOpacity(0);
    overlay->setGraphicsEffect(hidden);
    compareView_ = overlay;
    const int W = contentView_->width(), H = contentView_->height() - kTopBarHeight;
    overlay->setGeometry(0, kTopBarHeight, W, H);
    auto* before = new ImagePreview(overlay);
    auto* after = new ImagePreview(overlay);
    const int c = 24;
    before->setGeometry(10, 10 + c, W / 2 - 20, H - 15 - c - 10);
    after->setGeometry(W / 2 + 10, 10 + c, W / 2 - 20, H - 15 - c - 10);
    before->setImage(painterView_->model().originalImage());
    after->setImage(painterView_->model().fullSizeImageForDisplay(false));
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
    close->setAction([this](ImageButton*) { exitFromCompare(); });
    // The canvas takes no key or press from here on, not only once the fade begins: a key typed
    // before then would paint or zoom beneath the comparison instead of ending it.
    painterView_->setEnabled(false);
    overlay->show();
    overlay->raise();
    endCompareOnPanelPresses();
    // Keys go to the overlay, which passes them to the window: a field of the hidden tool panel or
    // the disabled canvas keeps none of them.
    focusBeforeCompare_ = QApplication::focusWidget();
    overlay->setFocusPolicy(Qt::StrongFocus);
    overlay->setFocus(Qt::OtherFocusReason);
    tappedModifier_ = 0;
    validateCompareControls();
    // Deferred calls check the window is still there: it may close before they run. The fade in
    // belongs to this comparison only: one left and begun again meanwhile has its own.
    Dispatch::after(0, [self = QPointer(this), shown = QPointer<FramedPanel>(overlay)] {
        if (self && shown && self->compareView_ == shown) self->showCompare();
    });
}

void EditorWindow::endCompareOnPanelPresses() {
    for (FramedPanel* panel : findChildren<FramedPanel*>())
        connect(panel, &FramedPanel::pressed, this, &EditorWindow::exitFromCompare, Qt::UniqueConnection);
}

void EditorWindow::stopAwaitingPhotoForCompare() {
    if (!compareAwaitingPhoto_) return;
    compareAwaitingPhoto_ = false;
    QApplication::restoreOverrideCursor();
    if (painterView_) painterView_->setEnabled(true);
    if (focusBeforeCompare_ && focusBeforeCompare_->isVisible())
        focusBeforeCompare_->setFocus(Qt::OtherFocusReason);
    else if (painterView_)
        painterView_->setFocus(Qt::OtherFocusReason);
}

void EditorWindow::showCompareWhenPhotoArrives() {
    if (!compareAwaitingPhoto_) return;
    stopAwaitingPhotoForCompare();
    if (isPhotoWhole() && painterView_)
        buttonCompareClick();
    else
        validateCompareControls();
}

void EditorWindow::validateCompareControls() {
    const bool on = isCompareShown();
    compareButton_->setState(on ? 1 : 0);
    validateMenus();
}

void EditorWindow::showCompare() {
    if (!compareView_) return;
    setDisabledInteractions(true);
    fade(compareView_, 1.0, 200);
    if (painterView_) painterView_->setEnabled(false);
    if (drawingToolbar_) fade(drawingToolbar_, 0.0, 200);
}

void EditorWindow::exitFromCompare() {
    if (compareAwaitingPhoto_) {
        stopAwaitingPhotoForCompare();
        validateCompareControls();
    }
    if (!compareView_) return;
    setDisabledInteractions(false);
    QPointer<FramedPanel> overlay = compareView_;
    compareView_ = nullptr;
    validateCompareControls();
    if (overlay && overlay->hasFocus()) {
        overlay->clearFocus();
        if (focusBeforeCompare_ && focusBeforeCompare_->isVisible())
            focusBeforeCompare_->setFocus(Qt::OtherFocusReason);
        else if (painterView_)
            painterView_->setFocus(Qt::OtherFocusReason);
    }
    if (overlay) {
        // Fading out, it takes no more clicks: they go to the canvas and the panel beneath.
        overlay->setAttribute(Qt::WA_TransparentForMouseEvents);
        fade(overlay, 0.0, 200, [overlay] {
            if (overlay) overlay->deleteLater();
        });
    }
    if (painterView_) painterView_->setEnabled(true);
    if (drawingToolbar_) fade(drawingToolbar_, 1.0, 200);
}

// ---- revert -----------------------------------------------------------------------------------

void EditorWindow::revertToOriginalButtonClick() {
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
    // A step like any other: undo brings back the picture, its painting and its settings as they were.
    session_->beginStep(Strings::shared().localized("kUndoRevertToOriginal"));
    session_->setPictureSettings(startingPictureSettings(), QString());
    replacePhotoUndoable(originalImage_, {}, {});
    session_->endStep();
    // Never saved, the file holds the photo as opened: nothing to save until the revert is undone.
    // Once saved, the file holds the edited picture and the original on screen is work to save.
    if (!savedSinceOpening_)
        setEdited(false);
    else
        validateEdited();
    validateUndoRedoButtonsState();
}

// ---- blocking and full screen -----------------------------------------------------------------

void EditorWindow::setDisabledInteractions(bool disabled) {
    isDisabledInteraction_ = disabled;
    if (painterView_) painterView_->setInteractionBlocked(disabled);
    if (backgroundMenu_) backgroundMenu_->setEnabled(!disabled);
    validateMenus();
}

void EditorWindow::escapeDetectorClick() {
    // One thing at a time, the one on top first.
    if (sharing_->takeEscape()) return;
    if (colorPickerView_) {
        // The picker's own cancel also stops a pick under way.
        if (auto* picker = qobject_cast<RegionPicker*>(colorPickerView_.data()))
            picker->cancel();
        else
            exitFromColorPickerWithCancel();
        return;
    }
    if (isCompareShown()) {
        exitFromCompare();
        return;
    }
    if (fullScreen_) toggleFullScreen();
}

void EditorWindow::toggleFullScreen() {
    fullScreen_ = !isFullScreen();
    if (fullScreen_)
        showFullScreen();
    else
        showNormal();
}

void EditorWindow::changeEvent(QEvent* event) {
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
                    self->showColorPickerView();
                }
            });
        }
        fullScreen_ = isFullScreen();
        if (QAction* a = actions_.value("view_full_screen")) a->setChecked(fullScreen_);
    }
    QMainWindow::changeEvent(event);
}

// ---- alerts ------------------------------------------------------------------------------------

void EditorWindow::showAlert(const QString& message, const QString& informativeText) {
    if (services.alertShown) {
        services.alertShown(message, informativeText);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Pimavo"), message, QMessageBox::Ok, this);
    box.setInformativeText(informativeText);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

// ---- the tool panel's requests ----------------------------------------------------------------

void EditorWindow::connectToolPanel(ToolPanel* panel) {
    connect(panel, &ToolPanel::colorPickerToggled, this, &EditorWindow::showColorPickerView);
    panel->brushPreviewProvider = [this](QSize size, double brushSize, double softness, double opacity) {
        return brushPreviewImage(size, brushSize, softness, opacity);
    };
    panel->brushCursorProvider = [this] { return brushCursor(); };
    panel->bindTo(session_);
}

void EditorWindow::disconnectToolPanel(ToolPanel* panel) {
    // A panel on its way out (it goes a moment later) no longer reaches the canvas that follows it.
    if (!panel) return;
    disconnect(panel, nullptr, this, nullptr);
    panel->brushPreviewProvider = nullptr;
    panel->brushCursorProvider = nullptr;
}

void EditorWindow::showColorPickerView() {
    // A toggle: the button's state follows the mode, whatever it was.
    if (colorPickerView_) {
        exitFromColorPickerWithCancel();
        return;
    }
    QWidget* view = nullptr;
    if (services.colorPickerFactory) {
        view = services.colorPickerFactory(contentView_);
    } else if (painterView_) {
        finishOpening(); // regions from the photo's own working copy, as a save would use
        // The photo at the size of the painting mask: the regions it gives fit the mask as they are.
        auto working = Renderer().createBitmap(painterView_->model().imageA_orig(), 8);
        if (working) {
            auto* picker = new RegionPicker(
                contentView_->rect(), std::make_shared<const Bitmap>(std::move(*working)),
                {[this] { return resultImageForColorPicker(); },
                 [this](const Image& mask) { return resultMaskWithColorMask(mask); }},
                contentView_);
            connect(picker, &RegionPicker::applyRequested, this, &EditorWindow::exitFromColorPickerWithApply);
            connect(picker, &RegionPicker::cancelled, this, &EditorWindow::exitFromColorPickerWithCancel);
            view = picker;
        }
    }
    if (!view) {
        // No picker in this build: the button rests.
        if (drawingToolbar_) drawingToolbar_->imagePickerButton()->setState(0);
        return;
    }
    colorPickerView_ = view;
    if (auto* picker = qobject_cast<RegionPicker*>(view))
        connect(picker, &RegionPicker::stepsChanged, this, [this] {
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
            *picture, SizeF(std::floor(picture->width() * k), std::floor(picture->height() * k)));
    }
    return qImageFromBitmap(small ? *small : *picture);
}

} // namespace

QImage EditorWindow::resultImageForColorPicker() {
    // A preview: the size the canvas paints at is plenty, however large the photo.
    if (painterView_)
        if (auto result = painterView_->model().resultImage(CanvasModel::ResultSize::Reduced))
            return previewOf(*result);
    return previewOf(resultImage());
}

QImage EditorWindow::resultMaskWithColorMask(const Image& mask) {
    if (!painterView_) return previewOf(image_);
    auto result = painterView_->model().resultMaskWithColorMask(mask);
    return previewOf(result ? *result : image_);
}

void EditorWindow::showColorPicker() {
    if (!colorPickerView_) return;
    setDisabledInteractions(true);
    isColorPickerShowed_ = true;
    nameUndoRedoCommands();
    validateMenus(); // Undo and Redo are the picker's now
    fade(colorPickerView_, 1.0, 200);
    if (painterView_) painterView_->setEnabled(false);
}

void EditorWindow::exitFromColorPickerWithApply() {
    if (painterView_) {
        // The picker's selection as it stands: its steps undone back to nothing leave nothing to apply.
        if (auto* picker = qobject_cast<RegionPicker*>(colorPickerView_.data()); picker && !picker->colorMask())
            painterView_->model().painting().clearColorMask();
        painterView_->model().painting().applyColorMask();
        redrawCanvas();
    }
    closeColorPicker();
}

void EditorWindow::exitFromColorPickerWithCancel() {
    if (painterView_) painterView_->model().painting().clearColorMask();
    closeColorPicker();
}

void EditorWindow::closeColorPicker() {
    if (!colorPickerView_) return;
    isColorPickerShowed_ = false;
    nameUndoRedoCommands();
    QPointer<QWidget> view = colorPickerView_;
    colorPickerView_ = nullptr;
    // A pick still running would otherwise hand its region to the canvas after the close.
    if (auto* picker = qobject_cast<RegionPicker*>(view.data())) picker->stopPicking();
    fade(view, 0.0, 200);
    Dispatch::after(0.3, [view] { delete view.data(); });
    if (painterView_) painterView_->setEnabled(true);
    if (drawingToolbar_) drawingToolbar_->imagePickerButton()->setState(0);
    setDisabledInteractions(false);
}

QImage EditorWindow::brushPreviewImage(QSize size, double brushSize, double softness, double opacity) {
    if (!painterView_) return {};
    auto bitmap = painterView_->model().painting().previewImage(SizeF(size.width(), size.height()), brushSize,
                                                                softness, opacity);
    if (!bitmap) return {};
    return QImage(reinterpret_cast<const uchar*>(bitmap->row(0)), bitmap->width(), bitmap->height(),
                  qsizetype(bitmap->bytesPerRow()), QImage::Format_RGBA8888_Premultiplied)
        .copy();
}

QCursor EditorWindow::brushCursor() {
    if (!painterView_) return Qt::ArrowCursor;
    return painterView_->additionalDrawingCursorWithDiameter(0);
}

} // namespace pimavo
