#include "StashedBitmap.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <atomic>

namespace pimavo {

std::shared_ptr<const StashedBitmap> StashedBitmap::stash(BitmapRef bitmap, const QString& folder) {
    if (!bitmap) return nullptr;
    std::shared_ptr<StashedBitmap> s(new StashedBitmap);
    s->width_ = bitmap->width();
    s->height_ = bitmap->height();
    s->layout_ = bitmap->layout();
    QDir().mkpath(folder);
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("step-XXXXXX.raw")));
    file.setAutoRemove(false);
    bool written = file.open();
    // Rows as they are packed in the picture; tightly packed when read back.
    const std::size_t rowBytes = std::size_t(s->width_) * std::size_t(s->layout_.bytesPerPixel());
    if (written && bitmap->bytesPerRow() == rowBytes) {
        const auto bytes = bitmap->bytes();
        written = file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) ==
                  qint64(bytes.size());
    } else {
        for (int y = 0; written && y < s->height_; ++y)
            written = file.write(reinterpret_cast<const char*>(bitmap->row(y)), qint64(rowBytes)) ==
                      qint64(rowBytes);
    }
    if (written) written = file.flush();
    if (written) {
        s->path_ = file.fileName();
    } else {
        if (file.isOpen()) file.remove();
        s->kept_ = std::move(bitmap); // a full disk must not cost the step
    }
    return s;
}

StashedBitmap::~StashedBitmap() {
    if (!path_.isEmpty()) QFile::remove(path_);
}

BitmapRef StashedBitmap::restore() const {
    if (kept_) return kept_;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    auto bitmap = Bitmap::make(width_, height_, layout_);
    if (!bitmap) return nullptr;
    const auto bytes = bitmap->bytes();
    const qint64 want = qint64(bytes.size());
    if (bitmap->bytesPerRow() * std::size_t(height_) != bytes.size() ||
        file.read(reinterpret_cast<char*>(bytes.data()), want) != want)
        return nullptr;
    return std::make_shared<const Bitmap>(std::move(*bitmap));
}

QString StashedBitmap::defaultFolder() {
    const QDir cache(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    static std::atomic<bool> swept{false};
    if (!swept.exchange(true)) {
        // Left behind by an editor that ended without tidying up (a crash, a power cut).
        for (const QString& name : cache.entryList({QStringLiteral("history-*")}, QDir::Dirs)) {
            const QString pid = name.mid(int(qstrlen("history-")));
            if (pid.toLongLong() != QCoreApplication::applicationPid() &&
                !QDir(QStringLiteral("/proc/") + pid).exists())
                QDir(cache.filePath(name)).removeRecursively();
        }
    }
    return cache.filePath(QStringLiteral("history-%1").arg(QCoreApplication::applicationPid()));
}

} // namespace pimavo
