// The foreground, background and result chains, and flattening.
#include "CanvasModel.h"
#include "engine/Operations.h"
#include "filters/Effects.h"
#include "filters/Resources.h"
#include "imageio/ImageDecoder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cmath>

namespace pimavo {

namespace {

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
    if (auto kept = blurs_.find(image, radius)) return *kept;
    return blurs_.keep(image, radius, ops::gaussianBlur(image, double(float(radius))));
}

double CanvasModel::blurScaleOf(const Image& input) const {
    const Image image = opaqueSourceOf(input);
    if (image == originA_ || image == originB_) return 1;
    if (fullSource_.image && image == fullSource_.image && originA_)
        return fullSource_.image.extent().width() / originA_.extent().width();
    return 1 / scaleFactor_;
}

Image CanvasModel::colorizeImage(const Image& image) {
    const PictureSettings::Foreground& f = picture_.foreground;
    Image r = image;
    // Exposure, colour controls and hue are unclamped and affine in premultiplied colour and alpha,
    // so they give the same pixels before or after the blur. Blurring the unadjusted image once lets
    // every later slider move reuse that blur instead of blurring again.
    if (f.blur != 0) r = blurredBase(image, f.blur * blurScaleOf(image));
    if (exposureChanged_) r = ops::exposureAdjust(r, double(float(f.exposure)));
    if (brightnessSaturationContrastChanged_)
        r = ops::colorControls(r, double(float(f.saturation)), double(float(f.brightness)),
                               double(float(f.contrast)));
    if (hueChanged_) r = ops::hueAdjust(r, double(float(f.hue)));
    // Opaque again: the border the blur faded out takes its own colour back.
    if (f.blur != 0) r = effects::setAlpha(r, 1.0);
    return r;
}

Image CanvasModel::colorizeBackgroundImage(const Image& image) {
    const PictureSettings::Background& b = picture_.background;
    const BackgroundSettings now{picture_.treatment, b.saturation, b.brightness,
                                 b.contrast,         b.blur,       brightnessContrastBackgroundChanged_};
    if (auto kept = backgrounds_.find(image, now)) return *kept;
    return backgrounds_.keep(image, now, treatedBackground(image));
}

Image CanvasModel::treatedBackground(const Image& image) {
    // The quick look standing in past 1:1 is the working picture stretched: so is its background,
    // rather than a whole full-resolution flattening of a picture that is about to be replaced.
    if (quickOrigin_ && image == originA_ && imageA_orig_)
        return stretchedTo(colorizeBackgroundImage(imageA_orig_), photoSize_);
    const PictureSettings::Background& b = picture_.background;
    Image r = image;
    const bool treated = picture_.treatment != Treatment::Grayscale;
    // As in the foreground chain: the colour controls commute with the blur.
    if (b.blur != 0) r = blurredBase(image, b.blur * blurScaleOf(image));
    if (brightnessContrastBackgroundChanged_)
        r = ops::colorControls(r, treated ? 1.0 : double(float(b.saturation)), double(float(b.brightness)),
                               double(float(b.contrast)));
    if (b.blur != 0) r = effects::setAlpha(r, 1.0);
    const double strength = float(1 - b.saturation);
    switch (picture_.treatment) {
    case Treatment::Grayscale:
        return r;
    case Treatment::Sepia:
        r = ops::sepiaTone(r, strength);
        break;
    case Treatment::Aged:
        r = effects::aged(r, strength);
        break;
    case Treatment::SilverBlue:
        r = effects::silverBlue(r, strength);
        break;
    }
    return accumulatedImageFromImage(r);
}

Image CanvasModel::colorizeResultImage(const Image& image) {
    if (picture_.vignette == 0) {
        vignetteImage_.reset();
        return image;
    }
    if (!vignetteImage_) vignetteImage_ = vignettePicture();
    if (!vignetteImage_) return image;
    // The filter stretches the picture over the image from its clamped edges: no dark frame.
    return effects::vignette(image, Image::imageWithBitmap(vignetteImage_), double(float(picture_.vignette)));
}

Image CanvasModel::accumulatedImageFromImage(const Image& image) {
    if (!image) return {};
    auto buffer = PaintBuffer::imageAccumulatorWithExtent(image.extent(), PixelFormat::RGBA16);
    if (!buffer) return image;
    buffer->setImage(image);
    return buffer->image();
}

} // namespace pimavo
