// Presets: the photo as opened, or one of three strengths of the drama look, baked into the source
// images at both sizes and kept on disk so that switching back is only reading two files.
#include "CanvasModel.h"
#include "core/Dispatch.h"
#include "engine/Operations.h"
#include "engine/Renderer.h"
#include "engine/Cancellation.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

namespace pimavo {

int currentCanvasCounter();

namespace {

// The preset folders of editors that ended without tidying up (killed, crashed): each is named
// after its process, and one whose process is gone is removed.
void sweepPresetFolders() {
    const QDir temp(QDir::tempPath());
    for (const QString& name : temp.entryList({QStringLiteral("pimavo-presets-*")}, QDir::Dirs)) {
        const QString pid = name.section('-', 2, 2);
        bool number = false;
        const qint64 owner = pid.toLongLong(&number);
        if (number && owner != QCoreApplication::applicationPid() &&
            !QDir(QStringLiteral("/proc/") + pid).exists())
            QDir(temp.filePath(name)).removeRecursively();
    }
}

// One folder per process: two running editors never read each other's presets.
const QString& presetFolder() {
    static const bool swept = (sweepPresetFolders(), true);
    static QTemporaryDir dir(QDir::tempPath() +
                             QString("/pimavo-presets-%1-XXXXXX").arg(QCoreApplication::applicationPid()));
    static const QString folder = dir.isValid() ? dir.path() + "/" : QDir::tempPath() + "/";
    (void)swept;
    return folder;
}

Image readImage(const QString& path) {
    if (path.isEmpty() || !QFile::exists(path)) return {};
    DecodeResult r = decodeImageFile(path.toStdString(), false);
    return r.image ? Image::imageWithBitmap(r.image->bitmap) : Image();
}

} // namespace

// A working-size picture stretched over the photo's extent: what the screen shows past 1:1 until the
// look's own full-resolution pixels are ready.
Image CanvasModel::stretchedTo(const Image& working, SizeF full) {
    const RectF e = working.extent();
    if (e.isEmpty() || e.isInfinite()) return {};
    return working.imageByClampingToExtent()
        .imageByApplyingTransform(Transform2D::translation(-e.minX(), -e.minY())
                                      .concat(Transform2D::scale(full.width / e.width(),
                                                                       full.height / e.height())))
        .imageByCroppingToRect(RectF(0, 0, full.width, full.height));
}

namespace {

bool writeImage(const Image& image, const QString& path, int bits, bool alpha) {
    auto bitmap = Renderer().createBitmap(image, bits, alpha);
    if (!bitmap) return false;
    SaveOptions options;
    options.mimeType = "image/tiff";
    options.tiffCompression = "none"; // lossless and quick: these files are read back soon
    std::string error;
    return writeImageFile(*bitmap, path.toStdString(), options, nullptr, &error);
}

} // namespace

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
    {
        std::lock_guard lock(presetsMutex_);
        presets_.erase(preset);
    }
    cacheInBackground(preset, normal, origin);
}

void CanvasModel::initializeFromPreview(const BitmapRef& preview) {
    const SizeF size = workingSize(photoSize_, &scaleFactor_);
    // Stretched to the working size exactly, which the masks are made at: a reduced decode comes in
    // steps of a power of two.
    const Image reduced = Image::imageWithBitmap(preview);
    const RectF e = reduced.extent();
    const Image working =
        accumulatedImageFromImage(reduced.imageByClampingToExtent()
                                      .imageByApplyingTransform(Transform2D::scale(
                                          size.width / e.width(), size.height / e.height()))
                                      .imageByCroppingToRect(RectF(0, 0, size.width, size.height)));
    imageA_orig_ = imageB_orig_ = imageA_ = imageB_ = workingPhoto_ = working;
    // The photo itself arrives as the look of preset 0, exact working copy and all.
    computeLook(0, std::nullopt);
    openingGeneration_ = lookGeneration_;
}

void CanvasModel::cacheInBackground(int preset, const Image& normal, const Image& origin) {
    if (!cacheQueue_) cacheQueue_ = std::make_unique<Dispatch::SerialQueue>("preset cache");
    std::weak_ptr<bool> alive = alive_;
    auto job = [this, alive, preset, normal, origin] {
        if (alive.expired()) return;
        cacheImagesWithPresetType(preset, normal, origin);
    };
    if (holdCaching_)
        heldCaching_ = std::move(job);
    else
        cacheQueue_->async(std::move(job));
}

void CanvasModel::firstFrameShown() {
    holdCaching_ = false;
    if (heldCaching_ && cacheQueue_) cacheQueue_->async(std::exchange(heldCaching_, nullptr));
}

bool CanvasModel::cacheIsCurrent() const {
    return presetsCounter_ == currentCanvasCounter();
}

void CanvasModel::cacheImagesWithPresetType(int t, const Image& normal, const Image& origin) {
    auto valid = [&] {
        std::lock_guard lock(presetsMutex_);
        return !presets_.count(t) && cacheIsCurrent();
    };
    if (!valid()) return;
    const PresetEntry entry{presetFolder() + QString("normal%1.tiff").arg(t),
                            presetFolder() + QString("origin%1.tiff").arg(t)};
    if (!valid()) return;
    writeImage(normal, entry.normal, bits_, alpha_);
    writeImage(origin, entry.origin, bits_, alpha_);
    bool apply = false;
    {
        std::lock_guard lock(presetsMutex_);
        if (!presets_.count(t) && cacheIsCurrent()) {
            presets_[t] = entry;
            apply = t == delayedPreset_;
        } else {
            QFile::remove(entry.normal);
            QFile::remove(entry.origin);
            return;
        }
    }
    if (!apply) return;
    // Display work belongs to the main thread, whoever cached.
    std::weak_ptr<bool> alive = alive_;
    auto finish = [this, alive, t] {
        if (alive.expired()) return;
        applyPreset(t);
        delayedPreset_ = -1;
    };
    if (QThread::currentThread() == QCoreApplication::instance()->thread())
        finish();
    else
        Dispatch::mainQueue(finish);
}

void CanvasModel::setPreset(int preset) {
    if (preset == preset_ || !photo_.valid()) return;
    preset_ = preset;
    delayedPreset_ = -1;
    // The look being made is no longer wanted: stopped now, it leaves both cores to the quick look.
    if (lookCancel_) lookCancel_->cancel();
    std::optional<PresetEntry> cached;
    {
        std::lock_guard lock(presetsMutex_);
        auto it = presets_.find(preset);
        if (it != presets_.end() && !it->second.normal.isEmpty()) {
            // Both files, or the look is made again and cached anew.
            if (QFile::exists(it->second.normal) && QFile::exists(it->second.origin))
                cached = it->second;
            else
                presets_.erase(it);
        }
    }
    // On screen at once: the working-size look, read from the cache or made from the working copy
    // with the look's radii shrunk to its scale. What a click must wait for is a 2-MP picture.
    Image shown = cached ? readImage(cached->normal) : Image();
    if (!shown)
        shown = preset == 0 ? workingPhoto_
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

void CanvasModel::computeLook(int preset, const std::optional<PresetEntry>& cached) {
    const int generation = ++lookGeneration_;
    // One full-resolution look at a time: the one being made is no longer wanted and stops at its
    // next tile, and the new one starts once it has let go of its memory.
    if (lookCancel_) lookCancel_->cancel();
    auto cancel = std::make_shared<CancelFlag>();
    lookCancel_ = cancel;
    const std::shared_future<BitmapRef> photo = photo_;
    const int bits = bits_;
    const bool alpha = alpha_;
    const double factor = scaleFactor_;
    auto made = std::make_shared<std::promise<FullLook>>();
    pendingLook_ = PendingLook{preset, made->get_future().share()};
    std::weak_ptr<bool> alive = alive_;
    if (!lookQueue_) lookQueue_ = std::make_unique<Dispatch::SerialQueue>("looks");
    lookQueue_->async([made, photo, bits, alpha, factor, preset, cached, alive, generation, cancel, this] {
        FullLook look;
        if (!cancel->isCancelled()) {
            CancellationScope scope(cancel.get());
            look = makeFullLook(photo, preset, bits, alpha, factor, cached);
            if (cancel->isCancelled())
                look = {};
            else
                ++looksMade_;
        }
        made->set_value(std::move(look));
        if (cancel->isCancelled()) return;
        // Ready, it takes the working-size look's place, unless another look was chosen meanwhile
        // or something that needed it (a save) already put it in place.
        Dispatch::mainQueue([alive, generation, this] {
            if (alive.expired() || generation != lookGeneration_) return;
            finishPendingLook();
        });
    });
}

CanvasModel::FullLook CanvasModel::makeFullLook(const std::shared_future<BitmapRef>& photo, int preset, int bits,
                                                bool alpha, double factor, const std::optional<PresetEntry>& cached) {
    FullLook look;
    if (cached) look.origin = readImage(cached->origin);
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
    look.normal = cached ? readImage(cached->normal) : Image();
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
    if (!pendingLook_) return;
    const PendingLook pending = std::move(*pendingLook_);
    pendingLook_.reset();
    const FullLook& look = pending.full.get();
    if (!look.origin && quickOrigin_) {
        // Never saved in place of the look: without its pixels there is no full-size picture.
        originA_ = originB_ = Image();
        quickOrigin_ = false;
    }
    installLook(pending.preset, look.origin, look.normal);
}

void CanvasModel::finishOpeningLook() {
    if (pendingLook_ && lookGeneration_ == openingGeneration_) finishPendingLook();
}

void CanvasModel::installLook(int preset, const Image& origin, const Image& normal) {
    if (!origin || !normal) return;
    originA_ = originB_ = origin;
    quickOrigin_ = false;
    if (preset == 0) workingPhoto_ = normal; // exact, where it may have come from a reduced decode
    showWorkingImages(normal);
    {
        // An entry without files is a preset not cached yet; one whose files were deleted is
        // cached again.
        std::lock_guard lock(presetsMutex_);
        auto it = presets_.find(preset);
        if (it != presets_.end() && !it->second.normal.isEmpty() && QFile::exists(it->second.normal) &&
            QFile::exists(it->second.origin))
            return;
        presets_.erase(preset);
    }
    cacheInBackground(preset, normal, origin);
}

void CanvasModel::applyPreset(int preset) {
    lastModifiedImage_.reset();
    std::optional<PresetEntry> entry;
    {
        std::lock_guard lock(presetsMutex_);
        auto it = presets_.find(preset);
        if (it != presets_.end()) entry = it->second;
    }
    if (entry) {
        const Image origin = readImage(entry->origin), normal = readImage(entry->normal);
        if (!origin || !normal) {
            delayedPreset_ = preset;
            {
                std::lock_guard lock(presetsMutex_);
                presets_.erase(preset);
            }
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
    {
        std::lock_guard lock(presetsMutex_);
        if (presets_.count(preset)) return;
    }
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
    if (!cacheQueue_) cacheQueue_ = std::make_unique<Dispatch::SerialQueue>("preset cache");
    cacheImagesWithPresetType(preset, normal, origin);
}

void CanvasModel::resetPresetDictionary() {
    if (cacheQueue_) {
        // Work queued but not started never runs; a write under way is finished and then discarded.
        cacheQueue_->suspend();
        cacheQueue_.reset();
    }
    delayedPreset_ = -1;
    heldCaching_ = nullptr;
    std::lock_guard lock(presetsMutex_);
    for (const auto& [p, entry] : presets_) {
        if (!entry.normal.isEmpty()) QFile::remove(entry.normal);
        if (!entry.origin.isEmpty()) QFile::remove(entry.origin);
    }
    presets_.clear();
    presetsCounter_ = currentCanvasCounter();
}

std::optional<std::pair<QString, QString>> CanvasModel::presetFiles(int preset) const {
    std::lock_guard lock(presetsMutex_);
    auto it = presets_.find(preset);
    if (it == presets_.end() || it->second.normal.isEmpty()) return std::nullopt;
    return std::make_pair(it->second.normal, it->second.origin);
}

void CanvasModel::waitForPresetCache() {
    firstFrameShown();
    if (cacheQueue_) cacheQueue_->waitUntilIdle();
}

CanvasModel::~CanvasModel() {
    *alive_ = false;
    alive_.reset();
    if (lookCancel_) lookCancel_->cancel();
    if (lookQueue_) lookQueue_->waitUntilIdle();
    if (cacheQueue_) cacheQueue_->waitUntilIdle();
}

} // namespace pimavo
