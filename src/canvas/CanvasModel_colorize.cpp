// The foreground, background and result chains, and flattening.
#include "CanvasModel.h"
#include "filters/Resources.h"
#include "imageio/ImageDecoder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cmath>

namespace pimavo {

namespace {

Image run(const char* name, const Image& input,
            std::initializer_list<std::pair<const char*, OperationValue>> values) {
    auto f = Operation::filterWithName(name);
    if (!f || !input) return {};
    f->setValue("inputImage", input);
    for (const auto& [k, v] : values) f->setValue(k, v);
    return f->outputImage();
}

// The bundled vignette picture, decoded once.
BitmapRef vignettePicture() {
    static BitmapRef picture = [] {
        const auto data = resourceData("Vignette", "jpg");
        if (!data) return BitmapRef();
        QTemporaryFile file(QDir::tempPath() + "/pimavo-vignette-XXXXXX.jpg");
        if (!file.open()) return BitmapRef();
        file.write(data->data(), qint64(data->size()));
        file.flush();
        DecodeResult r = decodeImageFile(file.fileName().toStdString(), false);
        return r.image ? r.image->bitmap : BitmapRef();
    }();
    return picture;
}

} // namespace

Image CanvasModel::blurredBase(const Image& image, double radius) {
    for (const BlurCacheEntry& e : blurCache_)
        if (e.input == image && e.radius == radius) return e.output;
    Image out = run("CIGaussianBlur", image, {{"inputRadius", double(float(radius))}});
    blurCache_[blurCacheNext_] = {image, radius, out};
    blurCacheNext_ = (blurCacheNext_ + 1) % int(std::size(blurCache_));
    return out;
}

double CanvasModel::blurScaleOf(const Image& input) const {
    const Image image = opaqueSourceOf(input);
    if (image == originA_ || image == originB_) return 1;
    if (fullSource_.image && image == fullSource_.image && originA_)
        return fullSource_.image.extent().width() / originA_.extent().width();
    return 1 / scaleFactor_;
}

Image CanvasModel::colorizeImage(const Image& image) {
    Image r = image;
    // Exposure, colour controls and hue are unclamped and affine in premultiplied colour and alpha,
    // so they give the same pixels before or after the blur. Blurring the unadjusted image once lets
    // every later slider move reuse that blur instead of blurring again.
    if (blur_ != 0) r = blurredBase(image, blur_ * blurScaleOf(image));
    if (exposureChanged_) r = run("CIExposureAdjust", r, {{"inputEV", double(float(exposure_))}});
    if (brightnessSaturationContrastChanged_)
        r = run("CIColorControls", r,
                {{"inputBrightness", double(float(brightness_))},
                 {"inputSaturation", double(float(saturation_))},
                 {"inputContrast", double(float(contrast_))}});
    if (hueChanged_) r = run("CIHueAdjust", r, {{"inputAngle", double(float(hue_))}});
    // Opaque again: the border the blur faded out takes its own colour back.
    if (blur_ != 0) r = run("SetAlpha", r, {{"inputParam1", 1.0}});
    return r;
}

Image CanvasModel::colorizeBackgroundImage(const Image& image) {
    const BackgroundSettings now{backgroundFilterName_, saturationBackground_,
                                 brightnessBackground_, contrastBackground_,
                                 blurBackground_,       brightnessContrastBackgroundChanged_};
    for (const BackgroundCacheEntry& e : backgroundCache_)
        if (e.input && e.input == image && e.settings == now) return e.output;
    Image out = treatedBackground(image);
    backgroundCache_[backgroundCacheNext_] = {image, now, out};
    backgroundCacheNext_ = (backgroundCacheNext_ + 1) % int(std::size(backgroundCache_));
    return out;
}

Image CanvasModel::treatedBackground(const Image& image) {
    // The quick look standing in past 1:1 is the working picture stretched: so is its background,
    // rather than a whole full-resolution flattening of a picture that is about to be replaced.
    if (quickOrigin_ && image == originA_ && imageA_orig_)
        return stretchedTo(colorizeBackgroundImage(imageA_orig_), photoSize_);
    Image r = image;
    const bool treated = !backgroundFilterName_.isEmpty();
    // As in the foreground chain: the colour controls commute with the blur.
    if (blurBackground_ != 0)
        r = blurredBase(image, blurBackground_ * blurScaleOf(image));
    if (brightnessContrastBackgroundChanged_)
        r = run("CIColorControls", r,
                {{"inputSaturation", treated ? 1.0 : double(float(saturationBackground_))},
                 {"inputBrightness", double(float(brightnessBackground_))},
                 {"inputContrast", double(float(contrastBackground_))}});
    if (blurBackground_ != 0) r = run("SetAlpha", r, {{"inputParam1", 1.0}});
    if (!treated) return r;
    const double strength = float(1 - saturationBackground_);
    const std::string name = backgroundFilterName_.toStdString();
    r = run(name.c_str(), r, {{name == "CISepiaTone" ? "inputIntensity" : "inputParam1", strength}});
    return accumulatedImageFromImage(r);
}

Image CanvasModel::colorizeResultImage(const Image& image) {
    if (vignetteValue_ == 0) {
        vignetteImage_.reset();
        vignetteFilter_.reset();
        return image;
    }
    if (!vignetteFilter_) {
        vignetteImage_ = vignettePicture();
        vignetteFilter_ = Operation::filterWithName("Vignette");
        if (!vignetteFilter_ || !vignetteImage_) {
            vignetteFilter_.reset();
            return image;
        }
    }
    // The filter stretches the picture over the image from its clamped edges: no dark frame.
    vignetteFilter_->setValue("inputImageSecond", Image::imageWithBitmap(vignetteImage_));
    vignetteFilter_->setValue("inputImage", image);
    vignetteFilter_->setValue("inputParam1", double(float(vignetteValue_)));
    return vignetteFilter_->outputImage();
}

Image CanvasModel::accumulatedImageFromImage(const Image& image) {
    if (!image) return {};
    auto buffer = PaintBuffer::imageAccumulatorWithExtent(image.extent(), kCIFormatRGBA16);
    if (!buffer) return image;
    buffer->setImage(image);
    return buffer->image();
}

} // namespace pimavo
