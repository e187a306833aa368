// Creation, working images and the adjustment setters.
#include "CanvasModel.h"

#include "filters/FilterRegistration.h"
#include "imageio/ImageGeometry.h"

#include <atomic>
#include <cmath>

namespace pimavo {

namespace {
std::atomic<int> gCanvasCounter{-1};
}

CanvasModel::CanvasModel(BitmapRef photo, CanvasOwner* owner)
    : owner_(owner), canvasNumber_(++gCanvasCounter), photo_(std::move(photo)) {
    filterRegistration();
    bits_ = photo_ ? photo_->bitsPerComponent() : 8;
    initializeImages();
}

CanvasModel::~CanvasModel() = default;

CGSize CanvasModel::workingSize(CGSize photo, double* factor) {
    const double W = photo.width, H = photo.height;
    if (W * H <= 2000000.0) {
        if (factor) *factor = 1;
        return photo;
    }
    const double L = std::max(W, H), S = std::min(W, H);
    const double T = std::floor(std::sqrt(L / S * 2000000.0));
    const CGSize fitted = scaledSizeToFitSize(photo, {T - 1, T - 1});
    const double f = W / fitted.width;
    if (factor) *factor = f;
    // The scaled extent, cut to whole pixels in single precision.
    return {std::floor(float(W / f)), std::floor(float(H / f))};
}

void CanvasModel::initializeImages() {
    if (!photo_) return;
    originA_ = originB_ = CIImage::imageWithBitmap(photo_);
    const CGSize size = workingSize({double(photo_->width()), double(photo_->height())}, &scaleFactor_);
    CIImage working = originA_;
    if (scaleFactor_ != 1) {
        working = accumulatedImageFromImage(
            originA_.imageByApplyingTransform(CGAffineTransform::scale(1 / scaleFactor_, 1 / scaleFactor_))
                .imageByCroppingToRect(CGRect(0, 0, size.width, size.height)));
    }
    imageA_orig_ = imageB_orig_ = imageA_ = imageB_ = working;
}

void CanvasModel::setImageA(const CIImage& image) {
    if (image == imageA_) return;
    imageA_ = image.imageByCroppingToRect(imageA_orig_.extent());
    validateMask();
}

void CanvasModel::setImageB(const CIImage& image) {
    if (image == imageB_) return;
    imageB_ = image;
    validateMask();
}

void CanvasModel::validateMask() {
    ++changeCount_;
    haveChanges_ = true;
}

#define PIMAVO_SETTER(Name, field, flagStatement, update)                                                    \
    void CanvasModel::Name(double v) {                                                                       \
        if (v == field) return;                                                                              \
        flagStatement;                                                                                       \
        field = v;                                                                                           \
        update;                                                                                              \
    }

PIMAVO_SETTER(setExposure, exposure_, exposureChanged_ = true, setImageB(colorizeImage(imageB_orig_)))
PIMAVO_SETTER(setBrightness, brightness_, brightnessSaturationContrastChanged_ = true,
              setImageB(colorizeImage(imageB_orig_)))
PIMAVO_SETTER(setSaturation, saturation_, brightnessSaturationContrastChanged_ = true,
              setImageB(colorizeImage(imageB_orig_)))
PIMAVO_SETTER(setContrast, contrast_, brightnessSaturationContrastChanged_ = true,
              setImageB(colorizeImage(imageB_orig_)))
PIMAVO_SETTER(setHue, hue_, hueChanged_ = true, setImageB(colorizeImage(imageB_orig_)))
PIMAVO_SETTER(setBlur, blur_, (void)0, setImageB(colorizeImage(imageB_orig_)))
PIMAVO_SETTER(setBrightnessBackground, brightnessBackground_, brightnessContrastBackgroundChanged_ = true,
              setImageA(colorizeBackgroundImage(imageA_orig_)))
PIMAVO_SETTER(setContrastBackground, contrastBackground_, brightnessContrastBackgroundChanged_ = true,
              setImageA(colorizeBackgroundImage(imageA_orig_)))
PIMAVO_SETTER(setSaturationBackground, saturationBackground_, brightnessContrastBackgroundChanged_ = true,
              setImageA(colorizeBackgroundImage(imageA_orig_)))
PIMAVO_SETTER(setBlurBackground, blurBackground_, (void)0, setImageA(colorizeBackgroundImage(imageA_orig_)))
PIMAVO_SETTER(setVignetteValue, vignetteValue_, needUpdateMasksWhenDrawing_ = true,
              (setImageB(colorizeImage(imageB_orig_)), setImageA(colorizeBackgroundImage(imageA_orig_)),
               validateMask()))
PIMAVO_SETTER(setIntensivity, intensivity_, (void)0, (void)0)

#undef PIMAVO_SETTER

void CanvasModel::setBackgroundFilterName(const QString& name) {
    if (name == backgroundFilterName_) return;
    backgroundFilterName_ = name;
    setImageA(colorizeBackgroundImage(imageA_orig_));
}

void CanvasModel::setShowMask(bool on) {
    if (on == showMask_) return;
    showMask_ = on;
    validateMask();
}

} // namespace pimavo
