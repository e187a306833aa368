// Modes of the window: tools, painting, revert, undo and redo, zoom, full screen, the
// in-window blocking of commands, and the tool panel's requests passed on to the canvas.
#include "EditorWindow.h"
#include "PanelBinding.h"
#include "StashedBitmap.h"
#include "WindowBackdrop.h"
#include "WindowCompare.h"
#include "WindowOpening.h"
#include "WindowPicker.h"
#include "WindowSaving.h"
#include "WindowSharing.h"
#include "core/Dispatch.h"
#include "core/Settings.h"
#include "engine/Renderer.h"
#include "imageio/ImageGeometry.h"
#include "picker/RegionPicker.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/BitmapImage.h"
#include "widgets/FramedPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ZoomField.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <cmath>
#include <utility>

namespace pimavo {

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
    // Let go of first: while it is destroyed its children's events still reach the window's filter,
    // which must not take what is left of it (a QWidget by then) for a canvas.
    delete std::exchange(painterView_, nullptr).data();
}

void EditorWindow::beginEnterPainter() {
    if (!photo_.image) return;
    enteringPainter_ = true;
    delete drawingToolbar_.data();
    auto* toolbar = new ToolPanel(contentView_, settings_);
    connectToolPanel(toolbar);
    drawingToolbar_ = toolbar;
    delete painterView_.data();
    const CanvasPhoto* pending = opening_->pending();
    painterView_ = new CanvasView(
        pending && pending->preview == photo_.image ? *pending : photo_.canvasPhotoFor(photo_.image),
        session_, contentView_);
    painterView_->setInteractionBlocked(isDisabledInteraction_);
    painterView_->setColourProfile(photo_.colourProfile());
    connectPanelToCanvas(toolbar, painterView_);
    if (onFirstFrame || opening_->isHoldingDecode()) painterView_->installEventFilter(this);
    backdrop_->show(backdrop_->index());
    layOutContent();
    painterView_->show();
    toolbar->finishSetup();
    toolbar->show();
    toolbar->validateAllBrushes();
    connect(painterView_, &CanvasView::zoomChanged, zoomField_, &ZoomField::setPercent);
    connect(painterView_, &CanvasView::compareCloseRequested, compare_, &WindowCompare::exit);
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
        if (BitmapRef result = saving_->canvasResult(painterView_->model())) {
            session_->beginStep(UndoStep::tr("Apply Drawing"));
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
    opening_->finish();
    if (!photo || !photo_.image) return;
    // The photo on the canvas with its painting, as the step keeps it.
    struct PhotoState {
        std::function<BitmapRef()> photo;
        Image mask, colorLayer;
    };
    auto current = [this] {
        PhotoState state;
        if (painterView_) {
            state.mask = painterView_->model().painting().mask();
            state.colorLayer = painterView_->model().painting().colorDrawingMask();
        }
        // The photo as opened is kept anyway (for revert); any other picture waits in the cache
        // folder, so that the history does not hold a full-resolution copy per step.
        if (photo_.image == photo_.original) {
            state.photo = [kept = photo_.image] { return kept; };
        } else {
            auto stashed = StashedBitmap::stash(photo_.image, services.historyFolder.isEmpty()
                                                                  ? StashedBitmap::defaultFolder()
                                                                  : services.historyFolder);
            state.photo = [stashed] { return stashed->restore(); };
        }
        return state;
    };
    // Puts a kept state back; false, with an alert, when its photo could not be read back.
    auto restore = [this](const PhotoState& state) {
        BitmapRef kept = state.photo();
        if (!kept) {
            showAlert(
                tr("This step can no longer be undone: the picture it kept in the cache folder is gone."),
                QString());
            return false;
        }
        setPhotoWithPainting(kept, state.mask, state.colorLayer);
        return true;
    };
    // Undo and redo swap the state on screen with the one the step keeps.
    auto kept = std::make_shared<PhotoState>(current());
    setPhotoWithPainting(photo, mask, colorLayer);
    auto swap = [kept, current, restore] {
        PhotoState leaving = current();
        if (restore(*kept)) *kept = std::move(leaving);
    };
    session_->push(QString(), swap, swap);
}

PictureSettings EditorWindow::startingPictureSettings() const {
    PictureSettings settings;
    if (const int treatment = settings_->defaultTreatment(); treatment > 0 && treatment < 4)
        settings.treatment = Treatment(treatment);
    return settings;
}

void EditorWindow::setPhotoWithPainting(BitmapRef photo, const Image& mask, const Image& colorLayer) {
    // A fresh canvas: the working images, the presets cached from the old picture and the masks
    // all belong to the picture being replaced. The brush stays as it was.
    if (painterView_) painterView_->model().forgetLooks();
    const std::vector<double> brush = drawingToolbar_ ? drawingToolbar_->brush() : std::vector<double>();
    photo_.image = photo;
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
    if (RegionPicker* picker = picker_->shownPicker()) {
        picker->undo();
        return;
    }
    if (isDisabledInteraction_) return;
    session_->undo();
    redrawCanvas();
}

void EditorWindow::buttonRedoClick() {
    if (RegionPicker* picker = picker_->shownPicker()) {
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

// ---- revert -----------------------------------------------------------------------------------

void EditorWindow::revertToOriginalButtonClick() {
    opening_->finish();
    if (!photo_.original) return;
    QMessageBox box(QMessageBox::Warning, windowTitle(), tr("Revert to the original photo?"),
                    QMessageBox::NoButton, this);
    box.setInformativeText(tr("Your painting and adjustments are set aside; Undo brings them back."));
    QPushButton* revert = box.addButton(tr("Revert"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
    if (box.clickedButton() != revert) return;
    if (photo_.originalIsApplied) {
        if (BitmapRef first = photo_.photoFromOriginalBytes()) {
            photo_.original = first;
            photo_.originalIsApplied = false;
        }
    }
    // A step like any other: undo brings back the picture, its painting and its settings as they were.
    session_->beginStep(UndoStep::tr("Revert to Original"));
    session_->setPictureSettings(startingPictureSettings(), QString());
    replacePhotoUndoable(photo_.original, {}, {});
    session_->endStep();
    // Never saved, the file holds the photo as opened: nothing to save until the revert is undone.
    // Once saved, the file holds the edited picture and the original on screen is work to save.
    if (!photo_.savedSinceOpening)
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
    if (picker_->view()) {
        picker_->escape();
        return;
    }
    if (compare_->isShown()) {
        compare_->exit();
        return;
    }
    if (fullScreen_) toggleFullScreen();
}

void EditorWindow::toggleFullScreen() {
    fullScreen_ = !isFullScreen();
    fitMinimumSizeToScreen();
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
        if (isMinimized() && (compare_->view() || picker_->view())) {
            restoreCompare_ = compare_->view() != nullptr;
            restorePicker_ = picker_->view() != nullptr;
            compare_->exit();
            picker_->cancel();
        } else if (!isMinimized() && (restoreCompare_ || restorePicker_)) {
            const bool compare = restoreCompare_, picker = restorePicker_;
            restoreCompare_ = restorePicker_ = false;
            Dispatch::after(0, [self = QPointer(this), compare, picker] {
                if (!self) return;
                if (compare) self->compare_->toggle();
                if (picker && self->drawingToolbar_) {
                    self->drawingToolbar_->imagePickerButton()->setState(1);
                    self->picker_->toggle();
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
    connect(panel, &ToolPanel::colorPickerToggled, picker_, &WindowPicker::toggle);
    // The preview of one dab of the brush the panel's sliders set, as the canvas paints it.
    panel->brushPreviewProvider = [this](QSize size, double brushSize, double softness, double opacity) {
        if (!painterView_) return QImage();
        auto bitmap = painterView_->model().painting().previewImage(
            SizeF{double(size.width()), double(size.height())}, brushSize, softness, opacity);
        if (!bitmap) return QImage();
        return QImage(reinterpret_cast<const uchar*>(bitmap->row(0)), bitmap->width(), bitmap->height(),
                      qsizetype(bitmap->bytesPerRow()), QImage::Format_RGBA8888_Premultiplied)
            .copy();
    };
    panel->brushCursorProvider = [this] {
        return painterView_ ? painterView_->additionalDrawingCursorWithDiameter(0) : QCursor(Qt::ArrowCursor);
    };
    panel->bindTo(session_);
}

void EditorWindow::disconnectToolPanel(ToolPanel* panel) {
    // A panel on its way out (it goes a moment later) no longer reaches the canvas that follows it.
    if (!panel) return;
    disconnect(panel, nullptr, this, nullptr);
    panel->brushPreviewProvider = nullptr;
    panel->brushCursorProvider = nullptr;
}

} // namespace pimavo
