#include "WindowPicker.h"

#include "EditorWindow.h"
#include "WindowOpening.h"
#include "core/Dispatch.h"
#include "engine/Renderer.h"
#include "imageio/ImageGeometry.h"
#include "picker/RegionPicker.h"
#include "toolbar/ToolPanel.h"
#include "widgets/BitmapImage.h"
#include "widgets/Fade.h"
#include "widgets/ImageButton.h"

#include <QGraphicsOpacityEffect>
#include <cmath>

namespace pimavo {

namespace {

// A picture for the picker's preview: at most two megapixels, as a Qt image.
QImage previewOf(BitmapRef picture) {
    if (!picture) return {};
    std::optional<Bitmap> small;
    const double pixels = double(picture->width()) * picture->height();
    if (pixels > 2.0e6) {
        const double k = std::sqrt(2.0e6 / pixels);
        small = scaledImageToCoverSize(
            *picture, SizeF{std::floor(picture->width() * k), std::floor(picture->height() * k)});
    }
    return qImageFromBitmap(small ? *small : *picture);
}

} // namespace

WindowPicker::WindowPicker(EditorWindow* window) : QObject(window), window_(window) {}

RegionPicker* WindowPicker::shownPicker() const {
    return shown_ ? qobject_cast<RegionPicker*>(view_.data()) : nullptr;
}

void WindowPicker::toggle() {
    EditorWindow& w = *window_;
    // A toggle: the button's state follows the mode, whatever it was.
    if (view_) {
        cancel();
        return;
    }
    QWidget* view = nullptr;
    if (w.services.colorPickerFactory) {
        view = w.services.colorPickerFactory(w.contentView_);
    } else if (w.painterView_) {
        w.opening_->finish(); // regions from the photo's own working copy, as a save would use
        // The photo at the size of the painting mask: the regions it gives fit the mask as they are.
        auto working = Renderer().createBitmap(w.painterView_->model().imageA_orig(), 8);
        if (working) {
            auto* picker =
                new RegionPicker(w.contentView_->rect(), std::make_shared<const Bitmap>(std::move(*working)),
                                 {[this] { return picturePreview(); },
                                  [this](const Image& mask) { return previewWithRegion(mask); }},
                                 w.contentView_);
            picker->setColourProfile(w.photo_.colourProfile());
            connect(picker, &RegionPicker::applyRequested, this, &WindowPicker::apply);
            connect(picker, &RegionPicker::cancelled, this, &WindowPicker::cancel);
            view = picker;
        }
    }
    if (!view) {
        // No picker in this build: the button rests.
        if (w.drawingToolbar_) w.drawingToolbar_->imagePickerButton()->setState(0);
        return;
    }
    view_ = view;
    if (auto* picker = qobject_cast<RegionPicker*>(view))
        connect(picker, &RegionPicker::stepsChanged, this, [this] {
            window_->validateMenus();
            window_->nameUndoRedoCommands();
        });
    auto* hidden = new QGraphicsOpacityEffect(view);
    hidden->setOpacity(0); // faded in once it is ready
    view->setGraphicsEffect(hidden);
    view->setGeometry(w.contentView_->rect());
    view->show();
    view->raise();
    Dispatch::after(0.5, [self = QPointer(this)] {
        if (self) self->fadeIn();
    });
}

QImage WindowPicker::picturePreview() {
    // A preview: the size the canvas paints at is plenty, however large the photo.
    if (window_->painterView_)
        if (auto result = window_->painterView_->model().resultImage(CanvasModel::ResultSize::Reduced))
            return previewOf(*result);
    return previewOf(window_->resultImage());
}

QImage WindowPicker::previewWithRegion(const Image& region) {
    if (!window_->painterView_) return previewOf(window_->photo_.image);
    auto result = window_->painterView_->model().resultMaskWithColorMask(region);
    return previewOf(result ? *result : window_->photo_.image);
}

void WindowPicker::fadeIn() {
    EditorWindow& w = *window_;
    if (!view_) return;
    w.setDisabledInteractions(true);
    shown_ = true;
    w.nameUndoRedoCommands();
    w.validateMenus(); // Undo and Redo are the picker's now
    fade(view_, 1.0, 200);
    if (w.painterView_) w.painterView_->setEnabled(false);
}

void WindowPicker::apply() {
    EditorWindow& w = *window_;
    if (w.painterView_) {
        // The picker's selection as it stands: its steps undone back to nothing leave nothing to apply.
        if (auto* picker = qobject_cast<RegionPicker*>(view_.data()); picker && !picker->colorMask())
            w.painterView_->model().painting().clearColorMask();
        w.painterView_->model().painting().applyColorMask();
        w.redrawCanvas();
    }
    close();
}

void WindowPicker::cancel() {
    if (window_->painterView_) window_->painterView_->model().painting().clearColorMask();
    close();
}

void WindowPicker::escape() {
    if (auto* picker = qobject_cast<RegionPicker*>(view_.data()))
        picker->cancel();
    else
        cancel();
}

void WindowPicker::close() {
    EditorWindow& w = *window_;
    if (!view_) return;
    shown_ = false;
    w.nameUndoRedoCommands();
    QPointer<QWidget> view = view_;
    view_ = nullptr;
    // A pick still running would otherwise hand its region to the canvas after the close.
    if (auto* picker = qobject_cast<RegionPicker*>(view.data())) picker->stopPicking();
    fade(view, 0.0, 200);
    Dispatch::after(0.3, [view] { delete view.data(); });
    if (w.painterView_) w.painterView_->setEnabled(true);
    if (w.drawingToolbar_) w.drawingToolbar_->imagePickerButton()->setState(0);
    w.setDisabledInteractions(false);
}

} // namespace pimavo
