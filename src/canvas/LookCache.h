// Looks kept on disk. Each look of a photo (0 the photo as opened, 1 to 3 the drama look's
// strengths) is made once and kept as two uncompressed TIFF files, its working-size and its
// full-resolution picture, so that going back to a look is reading two files instead of making it
// again. The files live in a folder of this process's own in the temporary directory; folders left
// by editors that ended without tidying up are removed on first use.
//
// The cache of the newest canvas owns the files: an older one writes nothing more. Writes run on a
// queue of the cache's own; every call is safe from any thread.
#pragma once

#include "engine/Image.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace pimavo {

namespace Dispatch {
class SerialQueue;
}

class LookCache {
public:
    struct Files {
        QString normal, origin; // the working-size and the full-resolution picture
        bool onDisk() const;    // both are there
    };

    // Pictures are kept at `bits` per component, with alpha when `alpha`. A cache made `held`
    // starts writing only once released (the first frame of a photo is not to wait for a core).
    LookCache(int bits, bool alpha, bool held);
    ~LookCache(); // waits for the write under way; queued writes are dropped

    // A look's entry: its files once written, no files while it is known but not written yet.
    // Every look starts known; a look forgotten may be written.
    std::optional<Files> entry(int look) const;
    // The look's files, when they have been written.
    std::optional<Files> files(int look) const;
    void forget(int look);

    // Writes a look's pictures here and now, unless the look is known or another canvas owns the
    // files; true when they were written.
    bool write(int look, const Image& normal, const Image& origin);
    // Writes them on the queue; `written` runs there afterwards when they were.
    void writeLater(int look, const Image& normal, const Image& origin, std::function<void()> written);
    // A held cache starts writing.
    void release();
    // Releases the cache, and waits for its writes (tests, and before quitting).
    void waitUntilIdle();
    // Forgets every look and deletes its files; writes queued and not started never run. The cache
    // owns the files again.
    void clear();

    // A picture read back from a look's file; null when it is not there.
    static Image read(const QString& path);

private:
    bool ownsFilesLocked() const;

    const int bits_;
    const bool alpha_;
    mutable std::mutex mutex_;
    std::map<int, Files> entries_;
    int generation_;
    std::unique_ptr<Dispatch::SerialQueue> queue_;
    bool held_;
    std::function<void()> heldWrite_;
};

} // namespace pimavo
