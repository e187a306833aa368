#include "PhotoPrefetch.h"

#include "canvas/CanvasModel.h"
#include "core/Dispatch.h"
#include "imageio/Reduction.h"

#include <future>
#include <mutex>

namespace pimavo::prefetch {

namespace {

using Reduced = ReducedPhoto;

// The reduced decode of a big JPEG; nothing when the photo is to be decoded whole.
std::optional<Reduced> decodeReduced(const std::string& file) {
    const auto header = readImageHeader(file);
    if (!header || header->mimeType != "image/jpeg" || needsReduction(header->width, header->height))
        return std::nullopt;
    const SizeF whole{double(header->width), double(header->height)};
    const SizeF working = CanvasModel::workingSize(whole);
    if (working.width >= whole.width) return std::nullopt;
    // Only the first frame comes from this decode, and the whole photo replaces it within a second:
    // so it need only fill a canvas fitted to the window, not the working size. The fewer pixels,
    // the sooner the photo is on screen (a quarter of a 24-MP photo's side, against three eighths).
    const double fill = std::min(1.0, std::max(0.5, 1280.0 / working.width));
    DecodeResult reduced =
        decodeImageFileReduced(file, int(working.width * fill), int(working.height * fill));
    // A damaged file is decoded whole at once, so that what the user is told holds for what is shown.
    if (!reduced.image || !reduced.image->warning.empty()) return std::nullopt;
    return Reduced{*header, std::move(*reduced.image)};
}

std::mutex gPrefetchMutex;
std::string gPrefetchFile;
std::future<std::optional<Reduced>> gPrefetch;
bool gPrefetchDone = false;
std::function<void()> gPrefetchThen; // waiting for gPrefetchDone

} // namespace

void start(const std::string& file) {
    std::lock_guard lock(gPrefetchMutex);
    gPrefetchFile = file;
    gPrefetchDone = false;
    gPrefetch = std::async(std::launch::async, [file] {
        std::optional<Reduced> reduced = decodeReduced(file);
        std::function<void()> then;
        {
            std::lock_guard finished(gPrefetchMutex);
            gPrefetchDone = true;
            then = std::exchange(gPrefetchThen, nullptr);
        }
        // Posted, not run: the result is in the future only once this returns, and the main
        // thread waits for it there.
        if (then) Dispatch::mainQueue(std::move(then));
        return reduced;
    });
}

void whenDone(std::function<void()> then) {
    std::unique_lock lock(gPrefetchMutex);
    if (gPrefetch.valid() && !gPrefetchDone) {
        gPrefetchThen = std::move(then);
        return;
    }
    lock.unlock();
    then();
}

void forget() {
    {
        std::lock_guard lock(gPrefetchMutex);
        gPrefetchThen = nullptr;
    }
    // Unlocked: the decode takes the lock as it ends. Only the main thread touches the future.
    if (gPrefetch.valid()) gPrefetch.wait();
}

std::optional<ReducedPhoto> take(const std::string& file) {
    std::optional<Reduced> ready;
    bool prefetched = false;
    std::future<std::optional<Reduced>> pending;
    {
        std::lock_guard lock(gPrefetchMutex);
        if (gPrefetch.valid()) {
            prefetched = gPrefetchFile == file;
            pending = std::move(gPrefetch);
        }
    }
    // Waited for unlocked (the decode takes the lock as it ends), and even when not wanted after all.
    if (pending.valid()) {
        std::optional<Reduced> done = pending.get();
        if (prefetched) ready = std::move(done);
    }
    if (!prefetched) ready = decodeReduced(file);
    return ready;
}

} // namespace pimavo::prefetch
