// Creation, working images and the adjustment setters.
#include "CanvasModel.h"

#include "core/Dispatch.h"
#include "filters/FilterRegistration.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

#include <atomic>
#include <cmath>

namespace pimavo {

CanvasPhoto::CanvasPhoto(BitmapRef ready) {
    if (ready)
        width = ready->width(), height = ready->height(), bits = ready->bitsPerComponent(),
        alpha = ready->layout().hasAlpha();
    std::promise<BitmapRef> made;
    made.set_value(std::move(ready));
    photo = made.get_future().share();
}

CanvasPhoto::CanvasPhoto(BitmapRef previewBitmap, std::shared_future<BitmapRef> photoBitmap, int photoWidth,
                         int photoHeight, int photoBits)
    : preview(std::move(previewBitmap)), photo(std::move(photoBitmap)), width(photoWidth),
      height(photoHeight), bits(photoBits) {}

CanvasModel::CanvasModel(CanvasPhoto photo, EditSession* session, OpenedPhotoCache cache)
    : session_(session),
      photo_(std::move(photo.photo)), photoSize_{double(photo.width), double(photo.height)},
      bits_(photo.bits), alpha_(photo.alpha),
      lookCache_(photo.bits, photo.alpha, cache == OpenedPhotoCache::AfterFirstFrame),
      alive_(std::make_shared<bool>(true)), fullSize_(std::move(photo.fullSize)) {
    filterRegistration();
    if (photo.preview)
        initializeFromPreview(photo.preview);
    else
        initializeImages(0, cache != OpenedPhotoCache::Never);
    if (EditSession* s = session_) {
        s->resetLayers({}, {}); // a new canvas starts unpainted
        connect(s, &EditSession::layersRestored, this, [this](const Image& mask, const Image& colorLayer) {
            painting_.loadLayers(mask, colorLayer);
        });
        // The picture looks as the session says, from the start and after every change.
        setPictureSettings(s->pictureSettings());
        connect(s, &EditSession::pictureSettingsChanged, this, &CanvasModel::setPictureSettings);
    }
}

EditSession* CanvasModel::session() const {
    return session_;
}

SizeF CanvasModel::workingSize(SizeF photo, double* factor) {
    const double W = photo.width, H = photo.height;
    if (W * H <= 2000000.0) {
        if (factor) *factor = 1;
        return photo;
    }
    const double L = std::max(W, H), S = std::min(W, H);
    const double T = std::floor(std::sqrt(L / S * 2000000.0));
    const SizeF fitted = scaledSizeToFitSize(photo, {T - 1, T - 1});
    const double f = W / fitted.width;
    if (factor) *factor = f;
    // The scaled extent, cut to whole pixels in single precision.
    return {std::floor(float(W / f)), std::floor(float(H / f))};
}

double CanvasModel::scaleFactorFromPhoto() const {
    if (!fullSize_) return scaleFactor_;
    // Against the working copy's whole pixels, as the view lays it out: at 100 % the picture is
    // exactly as wide as the photo.
    const double working = workingSize(photoSize_).width;
    return working > 0 ? fullSize_->width() / working : scaleFactor_;
}

Image CanvasModel::workingImageOfScale(const Image& full, double scaleFactor) {
    if (scaleFactor == 1) return accumulatedImageFromImage(full);
    const RectF e = full.extent();
    const double w = std::floor(float(e.width() / scaleFactor)),
                 h = std::floor(float(e.height() / scaleFactor));
    return accumulatedImageFromImage(
        full.imageByApplyingTransform(Transform2D::scale(1 / scaleFactor, 1 / scaleFactor))
            .imageByCroppingToRect(RectF(0, 0, w, h)));
}

void CanvasModel::setImageA(const Image& image) {
    if (image == imageA_) return;
    imageA_ = image.imageByCroppingToRect(imageA_orig_.extent());
    validateMask();
}

void CanvasModel::setImageB(const Image& image) {
    if (image == imageB_) return;
    imageB_ = image;
    validateMask();
}

void CanvasModel::createMaskBuffer() {
    if (!painting_.createBuffers(imageA_orig_.extent())) return;
    brightnessContrastBackgroundChanged_ = true;
    setImageA(colorizeBackgroundImage(imageA_orig_));
    validateMask();
}

void CanvasModel::validateMask() {
    ++changeCount_;
    haveChanges_ = true;
}

PictureSettings CanvasModel::pictureSettings() const {
    PictureSettings s = picture_;
    s.look = preset_;
    return s;
}

void CanvasModel::setPictureSettings(const PictureSettings& settings) {
    const PictureSettings was = std::exchange(picture_, settings);
    const auto &f = settings.foreground, &wf = was.foreground;
    const auto &b = settings.background, &wb = was.background;
    // The chains leave out what was never changed, so an untouched photo is not run through
    // operations that would only round its values.
    if (f.exposure != wf.exposure) exposureChanged_ = true;
    if (f.brightness != wf.brightness || f.saturation != wf.saturation || f.contrast != wf.contrast)
        brightnessSaturationContrastChanged_ = true;
    if (f.hue != wf.hue) hueChanged_ = true;
    if (b.brightness != wb.brightness || b.saturation != wb.saturation || b.contrast != wb.contrast)
        brightnessContrastBackgroundChanged_ = true;
    const bool vignette = settings.vignette != was.vignette;
    if (vignette) needUpdateMasksWhenDrawing_ = true;
    if (settings.look != preset_) {
        setPreset(settings.look); // shows the new look through both chains
    } else {
        if (f != wf || vignette) setImageB(colorizeImage(imageB_orig_));
        if (b != wb || settings.treatment != was.treatment || vignette)
            setImageA(colorizeBackgroundImage(imageA_orig_));
    }
    if (vignette) validateMask();
}

void CanvasModel::setShowMask(bool on) {
    if (on == showMask_) return;
    showMask_ = on;
    validateMask();
}

void CanvasModel::setShowMaskColor(const Rgba& colour) {
    if (colour == showMaskColor_) return;
    showMaskColor_ = colour;
    if (showMask_) validateMask();
}

} // namespace pimavo
