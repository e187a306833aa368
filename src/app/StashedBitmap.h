// Pictures the undo history has to be able to bring back, kept out of memory. Twenty steps of a
// full-resolution photo would hold gigabytes; a stashed picture costs a file in the cache folder
// and a few bytes of memory, and is read back only when undo or redo needs it. A picture that
// cannot be written stays in memory rather than be lost.
#pragma once

#include "engine/Bitmap.h"

#include <QString>
#include <memory>

namespace pimavo {

class StashedBitmap {
public:
    // Writes `bitmap` into `folder` (made when missing); never null for a picture.
    static std::shared_ptr<const StashedBitmap> stash(BitmapRef bitmap, const QString& folder);
    ~StashedBitmap();
    StashedBitmap(const StashedBitmap&) = delete;
    StashedBitmap& operator=(const StashedBitmap&) = delete;

    // The picture again; null only when its file was lost meanwhile.
    BitmapRef restore() const;
    // Whether it lives in a file rather than in memory.
    bool isOnDisk() const { return !path_.isEmpty(); }
    const QString& path() const { return path_; }

    // The cache folder of this process's history; the folders of editors that are gone are removed.
    static QString defaultFolder();

private:
    StashedBitmap() = default;
    BitmapRef kept_;
    QString path_;
    int width_ = 0, height_ = 0;
    PixelLayout layout_;
};

} // namespace pimavo
