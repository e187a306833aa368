#include "LookCache.h"

#include "core/Dispatch.h"
#include "engine/Renderer.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>

namespace pimavo {

namespace {

// Each cache made takes the next number; the newest owns the files.
std::atomic<int> gNewestCache{-1};

// The folders of editors that ended without tidying up (killed, crashed): each is named after its
// process, and one whose process is gone is removed.
void sweepFolders() {
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

// One folder per process: two running editors never read each other's looks.
const QString& folder() {
    static const bool swept = (sweepFolders(), true);
    static QTemporaryDir dir(QDir::tempPath() +
                             QString("/pimavo-presets-%1-XXXXXX").arg(QCoreApplication::applicationPid()));
    static const QString path = dir.isValid() ? dir.path() + "/" : QDir::tempPath() + "/";
    (void)swept;
    return path;
}

bool writeImage(const Image& image, const QString& path, int bits, bool alpha) {
    auto bitmap = Renderer().createBitmap(image, bits, alpha);
    if (!bitmap) return false;
    SaveOptions options;
    options.mimeType = "image/tiff";
    options.tiffCompression = "none"; // lossless and quick: these files are read back soon
    std::string error;
    return writeImageFile(*bitmap, path.toStdString(), options, nullptr, &error);
}

void remove(const LookCache::Files& files) {
    if (!files.normal.isEmpty()) QFile::remove(files.normal);
    if (!files.origin.isEmpty()) QFile::remove(files.origin);
}

} // namespace

bool LookCache::Files::onDisk() const {
    return !normal.isEmpty() && QFile::exists(normal) && QFile::exists(origin);
}

LookCache::LookCache(int bits, bool alpha, bool held)
    : bits_(bits), alpha_(alpha), generation_(++gNewestCache), held_(held) {
    for (int look = 0; look <= 3; ++look) entries_[look] = {};
}

LookCache::~LookCache() {
    if (queue_) queue_->waitUntilIdle();
}

std::optional<LookCache::Files> LookCache::entry(int look) const {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(look);
    if (it == entries_.end()) return std::nullopt;
    return it->second;
}

std::optional<LookCache::Files> LookCache::files(int look) const {
    auto known = entry(look);
    if (!known || known->normal.isEmpty()) return std::nullopt;
    return known;
}

void LookCache::forget(int look) {
    std::lock_guard lock(mutex_);
    entries_.erase(look);
}

bool LookCache::ownsFilesLocked() const {
    return generation_ == gNewestCache.load();
}

bool LookCache::write(int look, const Image& normal, const Image& origin) {
    {
        std::lock_guard lock(mutex_);
        if (entries_.count(look) || !ownsFilesLocked()) return false;
    }
    const Files written{folder() + QString("normal%1.tiff").arg(look),
                        folder() + QString("origin%1.tiff").arg(look)};
    writeImage(normal, written.normal, bits_, alpha_);
    writeImage(origin, written.origin, bits_, alpha_);
    std::lock_guard lock(mutex_);
    // Written twice meanwhile, or cleared: the files are not this write's to keep.
    if (entries_.count(look) || !ownsFilesLocked()) {
        remove(written);
        return false;
    }
    entries_[look] = written;
    return true;
}

void LookCache::writeLater(int look, const Image& normal, const Image& origin,
                           std::function<void()> written) {
    if (!queue_) queue_ = std::make_unique<Dispatch::SerialQueue>("look cache");
    auto job = [this, look, normal, origin, written = std::move(written)] {
        if (write(look, normal, origin) && written) written();
    };
    if (held_)
        heldWrite_ = std::move(job);
    else
        queue_->async(std::move(job));
}

void LookCache::release() {
    held_ = false;
    if (heldWrite_ && queue_) queue_->async(std::exchange(heldWrite_, nullptr));
}

void LookCache::waitUntilIdle() {
    release();
    if (queue_) queue_->waitUntilIdle();
}

void LookCache::clear() {
    if (queue_) {
        // Work queued but not started never runs; a write under way is finished and then discarded.
        queue_->suspend();
        queue_.reset();
    }
    heldWrite_ = nullptr;
    std::lock_guard lock(mutex_);
    for (const auto& [look, files] : entries_) remove(files);
    entries_.clear();
    generation_ = gNewestCache.load();
}

Image LookCache::read(const QString& path) {
    if (path.isEmpty() || !QFile::exists(path)) return {};
    DecodeResult r = decodeImageFile(path.toStdString(), false);
    return r.image ? Image::imageWithBitmap(r.image->bitmap) : Image();
}

} // namespace pimavo
