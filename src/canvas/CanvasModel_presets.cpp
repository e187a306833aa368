// Presets: the photo as opened, or one of three strengths of the drama look, baked into the source
// images at both sizes and kept on disk so that switching back is only reading two files.
#include "CanvasModel.h"
#include "core/Dispatch.h"
#include "engine/Cancellation.h"
#include "engine/Operations.h"
#include "engine/Renderer.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

namespace pimavo {

// A working-size picture stretched over the photo's extent: what the screen shows past 1:1 until the
// look's own full-resolution pixels are ready.
Image CanvasModel::stretchedTo(const Image& working, SizeF full) {
    const RectF e = working.extent();
    if (e.isEmpty() || e.isInfinite()) return {};
    return working.imageByClampingToExtent()
        .imageByApplyingTransform(
            Transform2D::translation(-e.minX(), -e.minY())
                .concat(Transform2D::scale(full.width / e.width(), full.height / e.height())))
        .imageByCroppingToRect(RectF(0, 0, full.width, full.height));
}

Image CanvasModel::applyDrama(const Image& photo, int preset, double scale, bool alpha) {
    static const double values[3][3] = {{90, 25, 0.75}, {50, 50, 1.75}, {40, 10, 1.125}};
    if (preset < 1 || preset > 3) return photo;
    const double* v = values[preset - 1];
    effects::Drama settings;
    settings.radiusHDR = double(float(v[0] / scale));
    settings.radiusHighPass = double(float(v[1] / scale));
    settings.amountHighPass = double(float(v[2]));
    settings.radiusSharpen = 4.0 / scale;
    settings.amountSharpen = 1.5;
    // The look works on opaque colour; a photo with transparency takes its alpha back after it.
    const Image look = effects::drama(alpha ? opaqueColour(photo) : photo, settings);
    return alpha ? ops::sourceIn(look, photo) : look;
}

void CanvasModel::initializeImages(int preset, bool cache) {
    const BitmapRef opened = this->photo();
    if (!opened) return;
    Image photo = Image::imageWithBitmap(opened);
    if (preset != 0) photo = accumulatedImageFromImage(applyDrama(photo, preset, 1, alpha_));
    originA_ = originB_ = photo;
    workingSize(photoSize_, &scaleFactor_);
    const Image working = scaleFactor_ == 1 ? originA_ : workingImageOf(originA_);
    imageA_orig_ = imageB_orig_ = imageA_ = imageB_ = working;
    if (preset == 0) workingPhoto_ = working;
    if (!cache) return;
    // Flattened here, on this thread; only encoding and writing run on the queue. The photo as
    // opened is a fixed bitmap already: a 16-bit copy of it would cost a full-size pass and, for a
    // 24-MP photo, 190 MB before the picture is first on screen.
    const Image origin = preset == 0 ? photo : accumulatedImageFromImage(originA_),
                normal = accumulatedImageFromImage(imageA_);
    lookCache_.forget(preset);
    cacheInBackground(preset, normal, origin);
}

void CanvasModel::initializeFromPreview(const BitmapRef& preview) {
    const SizeF size = workingSize(photoSize_, &scaleFactor_);
    // Stretched to the working size exactly, which the masks are made at: a reduced decode comes in
    // steps of a power of two.
    const Image reduced = Image::imageWithBitmap(preview);
    const RectF e = reduced.extent();
    const Image working = accumulatedImageFromImage(
        reduced.imageByClampingToExtent()
            .imageByApplyingTransform(Transform2D::scale(size.width / e.width(), size.height / e.height()))
            .imageByCroppingToRect(RectF(0, 0, size.width, size.height)));
    imageA_orig_ = imageB_orig_ = imageA_ = imageB_ = workingPhoto_ = working;
    // The photo itself arrives as the look of preset 0, exact working copy and all.
    computeLook(0, std::nullopt);
    openingGeneration_ = looks_.generation();
}

void CanvasModel::cacheInBackground(int preset, const Image& normal, const Image& origin) {
    // Display work belongs to the main thread, whoever cached.
    lookCache_.writeLater(preset, normal, origin, [this, alive = std::weak_ptr<bool>(alive_), preset] {
        Dispatch::mainQueue([this, alive, preset] {
            if (alive.expired() || preset != delayedPreset_) return;
            applyPreset(preset);
            delayedPreset_ = -1;
        });
    });
}

void CanvasModel::cacheNow(int preset, const Image& normal, const Image& origin) {
    if (!lookCache_.write(preset, normal, origin) || preset != delayedPreset_) return;
    applyPreset(preset);
    delayedPreset_ = -1;
}

void CanvasModel::setPreset(int preset) {
    if (preset == preset_ || !photo_.valid()) return;
    preset_ = preset;
    delayedPreset_ = -1;
    // The look being made is no longer wanted: stopped now, it leaves both cores to the quick look.
    looks_.cancel();
    // Both files, or the look is made again and cached anew.
    std::optional<LookCache::Files> cached = lookCache_.files(preset);
    if (cached && !cached->onDisk()) {
        lookCache_.forget(preset);
        cached.reset();
    }
    // On screen at once: the working-size look, read from the cache or made from the working copy
    // with the look's radii shrunk to its scale. What a click must wait for is a 2-MP picture.
    Image shown = cached ? LookCache::read(cached->normal) : Image();
    if (!shown)
        shown = preset == 0
                    ? workingPhoto_
                    : accumulatedImageFromImage(applyDrama(workingPhoto_, preset, scaleFactor_, alpha_));
    // Past 1:1 the screen shows the same quick look stretched, until the look's own pixels arrive;
    // saving waits for those.
    if (originA_ && shown) {
        originA_ = originB_ = stretchedTo(shown, photoSize_);
        quickOrigin_ = true;
    }
    showWorkingImages(shown);
    emit drawingCompleted();
    computeLook(preset, cached);
}

void CanvasModel::computeLook(int preset, const std::optional<LookCache::Files>& cached) {
    const std::shared_future<BitmapRef> photo = photo_;
    const int bits = bits_;
    const bool alpha = alpha_;
    const double factor = scaleFactor_;
    // Ready, it takes the working-size look's place, unless another look was chosen meanwhile or
    // something that needed it (a save) already put it in place.
    looks_.start(
        preset, [=] { return makeFullLook(photo, preset, bits, alpha, factor, cached); },
        [this] { finishPendingLook(); });
}

LookMaker::Look CanvasModel::makeFullLook(const std::shared_future<BitmapRef>& photo, int preset, int bits,
                                          bool alpha, double factor,
                                          const std::optional<LookCache::Files>& cached) {
    LookMaker::Look look;
    if (cached) look.origin = LookCache::read(cached->origin);
    const BitmapRef opened = look.origin ? nullptr : photo.get();
    if (!look.origin && opened) {
        const Image base = Image::imageWithBitmap(opened);
        if (preset == 0) {
            look.origin = base;
        } else {
            // At the photo's own depth, as its cache file holds it: half the memory of a 16-bit
            // buffer for an 8-bit photo, at the moment the look's whole-image blurs are held too.
            std::optional<Bitmap> flat;
            if (bits <= 16) flat = Renderer().createBitmap(applyDrama(base, preset, 1, alpha), bits, alpha);
            look.origin = flat ? Image::imageWithBitmap(std::move(*flat))
                               : accumulatedImageFromImage(applyDrama(base, preset, 1, alpha));
        }
    }
    look.normal = cached ? LookCache::read(cached->normal) : Image();
    if (!look.normal && look.origin) look.normal = workingImageOfScale(look.origin, factor);
    return look;
}

void CanvasModel::showWorkingImages(const Image& working) {
    imageA_orig_ = imageB_orig_ = working;
    imageA_ = colorizeBackgroundImage(imageA_orig_);
    imageB_ = colorizeImage(imageB_orig_);
    lastModifiedImage_.reset();
    validateMask();
    if (pictureChanged_) pictureChanged_();
}

void CanvasModel::finishPendingLook() {
    const auto taken = looks_.take();
    if (!taken) return;
    const auto& [preset, look] = *taken;
    if (!look.origin && quickOrigin_) {
        // Never saved in place of the look: without its pixels there is no full-size picture.
        originA_ = originB_ = Image();
        quickOrigin_ = false;
    }
    installLook(preset, look.origin, look.normal);
}

void CanvasModel::finishOpeningLook() {
    if (looks_.isPending() && looks_.generation() == openingGeneration_) finishPendingLook();
}

void CanvasModel::installLook(int preset, const Image& origin, const Image& normal) {
    if (!origin || !normal) return;
    originA_ = originB_ = origin;
    quickOrigin_ = false;
    if (preset == 0) workingPhoto_ = normal; // exact, where it may have come from a reduced decode
    showWorkingImages(normal);
    // A look not cached yet, or whose files were deleted, is cached (again).
    if (auto files = lookCache_.files(preset); files && files->onDisk()) return;
    lookCache_.forget(preset);
    cacheInBackground(preset, normal, origin);
}

void CanvasModel::applyPreset(int preset) {
    lastModifiedImage_.reset();
    // Known and not written: made here; not known: being made, applied once written.
    if (const auto entry = lookCache_.entry(preset)) {
        const Image origin = LookCache::read(entry->origin), normal = LookCache::read(entry->normal);
        if (!origin || !normal) {
            delayedPreset_ = preset;
            lookCache_.forget(preset);
            processPreset(preset);
            return;
        }
        originA_ = originB_ = origin;
        imageA_orig_ = imageB_orig_ = normal;
        imageA_ = colorizeBackgroundImage(imageA_orig_);
        imageB_ = colorizeImage(imageB_orig_);
        delayedPreset_ = -1;
    } else {
        delayedPreset_ = preset; // being computed: applied when cached
    }
    validateMask();
    haveChanges_ = true; // the result is made when it is asked for: at full size it may be large
    if (pictureChanged_) pictureChanged_();
    emit drawingCompleted();
}

void CanvasModel::processPreset(int preset) {
    if (lookCache_.entry(preset)) return;
    // The opened bitmap is fixed already: no flattened copy of it is needed.
    const BitmapRef opened = photo();
    if (!opened) return;
    const Image base = Image::imageWithBitmap(opened);
    Image origin = base;
    if (preset >= 1) {
        // The look is kept at the photo's own depth, which is what its cache file holds: a bitmap of
        // that depth is half the memory of a 16-bit buffer for 8-bit photos, at the moment the
        // look's whole-image blurs are held too.
        const Image look = applyDrama(base, preset, 1, alpha_);
        std::optional<Bitmap> flat;
        if (bits_ <= 16) flat = Renderer().createBitmap(look, bits_, alpha_);
        origin = flat ? Image::imageWithBitmap(std::move(*flat)) : accumulatedImageFromImage(look);
    }
    const Image normal = workingImageOf(origin);
    cacheNow(preset, normal, origin);
}

void CanvasModel::forgetLooks() {
    lookCache_.clear();
    delayedPreset_ = -1;
}

CanvasModel::~CanvasModel() {
    *alive_ = false;
    alive_.reset();
}

} // namespace pimavo
