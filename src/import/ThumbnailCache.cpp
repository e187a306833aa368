#include "ThumbnailCache.h"

#include "imageio/ColourProfile.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageProperties.h"
#include "imageio/RasterCodec.h"
#include "widgets/BitmapImage.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTransform>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace pimavo {

namespace {

constexpr const char* kSoftware = "Pimavo";

qint64 modificationTime(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return -1;
    return qint64(st.st_mtime);
}

bool ensurePrivateFolder(const QString& folder) {
    if (!QDir().mkpath(folder)) return false;
    // The cache shows what the user's pictures look like: only the user may read it.
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}

QImage upright(const QImage& image, int orientation) {
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.transformed(QTransform().rotate(180));
    case 4:
        return image.mirrored(false, true);
    case 5:
        return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7:
        return image.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

// The JPEG preview a camera embeds in its EXIF block (IFD1), typically 160 × 120; empty when none.
QByteArray exifThumbnail(const uint8_t* data, std::size_t size) {
    if (size < 14 || std::memcmp(data, "Exif\0\0", 6) != 0) return {};
    const uint8_t* tiff = data + 6;
    const std::size_t n = size - 6;
    const bool little = tiff[0] == 'I';
    auto u16 = [&](std::size_t at) -> uint32_t {
        if (at + 2 > n) return 0;
        return little ? uint32_t(tiff[at] | tiff[at + 1] << 8) : uint32_t(tiff[at] << 8 | tiff[at + 1]);
    };
    auto u32 = [&](std::size_t at) -> uint32_t {
        if (at + 4 > n) return 0;
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    const uint32_t ifd0 = u32(4);
    if (ifd0 < 8 || ifd0 >= n) return {};
    const uint32_t ifd1 = u32(ifd0 + 2 + 12 * u16(ifd0));
    if (ifd1 < 8 || ifd1 >= n) return {};
    uint32_t offset = 0, length = 0;
    for (uint32_t i = 0, count = u16(ifd1); i < count && i < 64; ++i) {
        const std::size_t entry = ifd1 + 2 + 12 * i;
        if (u16(entry) == 0x0201) offset = u32(entry + 8);
        if (u16(entry) == 0x0202) length = u32(entry + 8);
    }
    if (offset == 0 || length == 0 || std::size_t(offset) + length > n) return {};
    return QByteArray(reinterpret_cast<const char*>(tiff + offset), qsizetype(length));
}

// libjpeg reduces by 1/8 steps while decoding: asking for the smallest size that still covers
// `maxSide` skips most of the inverse DCT work and all the full-size memory.
QImage decodeJpegReduced(const QString& path, int maxSide) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(QFile::encodeName(path).constData(), "rb"),
                                               std::fclose);
    if (!file) return {};
    jpeg_decompress_struct cinfo{};
    JpegError err{};
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1); };
    err.mgr.output_message = [](j_common_ptr) {};
    QImage out;
    QByteArray preview;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file.get());
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xffff);
    jpeg_read_header(&cinfo, TRUE);
    int orientation = -1;
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && orientation < 0) {
            orientation = codec::exifOrientation(m->data, m->data_length);
            preview = exifThumbnail(m->data, m->data_length);
        }
    // A camera's own preview, when it is large enough and shows the whole picture (some pad a
    // 3:2 photo into a 4:3 preview with black bars), saves decoding the photo at all.
    if (!preview.isEmpty()) {
        QImage small = QImage::fromData(preview, "JPEG");
        const double photoAspect = double(cinfo.image_width) / cinfo.image_height;
        if (!small.isNull() && std::max(small.width(), small.height()) >= maxSide &&
            std::abs(double(small.width()) / small.height() - photoAspect) < 0.02 * photoAspect) {
            jpeg_destroy_decompress(&cinfo);
            small = small.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            return upright(small.convertToFormat(QImage::Format_RGB888), orientation);
        }
    }
    if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK ||
        double(cinfo.image_width) * cinfo.image_height > kMaxDecodePixels) {
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    cinfo.out_color_space = JCS_RGB;
    const unsigned longSide = std::max(cinfo.image_width, cinfo.image_height);
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    for (unsigned denom : {8u, 4u, 2u})
        if (longSide / denom >= unsigned(maxSide)) {
            cinfo.scale_denom = denom;
            break;
        }
    cinfo.dct_method = JDCT_IFAST;
    cinfo.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&cinfo);
    out = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB888);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    if (out.width() > maxSide || out.height() > maxSide)
        out = out.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return upright(out, orientation);
}

QByteArray pngChunk(const char* type, const QByteArray& data) {
    QByteArray chunk;
    const quint32 size = quint32(data.size());
    for (int shift : {24, 16, 8, 0}) chunk += char((size >> shift) & 0xff);
    const QByteArray body = QByteArray(type, 4) + data;
    chunk += body;
    const quint32 crc =
        quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size())));
    for (int shift : {24, 16, 8, 0}) chunk += char((crc >> shift) & 0xff);
    return chunk;
}

// The text chunks in front of a PNG's pixels, read straight from the file: checking that a
// thumbnail is up to date costs no decode. (Qt's reader folds keys at ':' and cannot be used.)
QHash<QByteArray, QByteArray> pngText(const QString& path) {
    QHash<QByteArray, QByteArray> out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(8) != "\x89PNG\r\n\x1a\n") return out;
    while (true) {
        const QByteArray head = file.read(8);
        if (head.size() != 8) return out;
        const quint32 size = (quint32(uchar(head[0])) << 24) | (quint32(uchar(head[1])) << 16) |
                             (quint32(uchar(head[2])) << 8) | quint32(uchar(head[3]));
        const QByteArray type = head.mid(4);
        if (type == "IDAT" || type == "IEND" || size > (1u << 20)) return out;
        const QByteArray data = file.read(qint64(size));
        file.skip(4); // CRC
        if (type == "tEXt") {
            const qsizetype zero = data.indexOf('\0');
            if (zero > 0) out.insert(data.left(zero), data.mid(zero + 1));
        }
    }
}

} // namespace

QImage decodeReduced(const QString& path, int maxSide) {
    if (codec::fileStartsWith(path.toStdString(), "\xff\xd8\xff", 3)) {
        QImage jpeg = decodeJpegReduced(path, maxSide);
        if (!jpeg.isNull()) return jpeg;
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (reader.canRead()) {
        const QSize size = reader.size();
        if (size.isValid() && (size.width() > maxSide || size.height() > maxSide))
            reader.setScaledSize(size.scaled(maxSide, maxSide, Qt::KeepAspectRatio));
        QImage image = reader.read();
        if (!image.isNull()) return image;
    }
    // Camera raw, TIFF variants, EXR…: the editor's own decoder, then scaled.
    DecodeResult r = decodeImageFile(path.toStdString(), false);
    if (!r.image) return {};
    QImage image = qImageFromBitmap(*r.image->bitmap);
    if (image.width() > maxSide || image.height() > maxSide)
        image = image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

ThumbnailCache::ThumbnailCache(QString root) : root_(std::move(root)) {}

QString ThumbnailCache::defaultRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/thumbnails";
}

QByteArray ThumbnailCache::fileUri(const QString& path) {
    // Unreserved characters and those GLib leaves alone in a path; everything else as %XX.
    static const QByteArray keep = "!$&'()*+,-./:=@_~";
    const QByteArray bytes = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    QByteArray uri = "file://";
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || keep.contains(c)) {
            uri += c;
        } else {
            static const char hex[] = "0123456789ABCDEF";
            uri += '%';
            uri += hex[u >> 4];
            uri += hex[u & 15];
        }
    }
    return uri;
}

QString ThumbnailCache::thumbnailPath(const QString& path, ThumbnailSize size) const {
    const QByteArray md5 = QCryptographicHash::hash(fileUri(path), QCryptographicHash::Md5).toHex();
    return root_ + (size == ThumbnailSize::Large ? "/large/" : "/normal/") + QString::fromLatin1(md5) +
           ".png";
}

QString ThumbnailCache::failurePath(const QString& path) const {
    const QByteArray md5 = QCryptographicHash::hash(fileUri(path), QCryptographicHash::Md5).toHex();
    return root_ + "/fail/pimavo/" + QString::fromLatin1(md5) + ".png";
}

namespace {
bool upToDate(const QString& thumbnail, const QByteArray& uri, qint64 mtime) {
    const QHash<QByteArray, QByteArray> text = pngText(thumbnail);
    return text.value("Thumb::URI") == uri && text.value("Thumb::MTime") == QByteArray::number(mtime);
}
} // namespace

QImage ThumbnailCache::cached(const QString& path, ThumbnailSize size) const {
    const qint64 mtime = modificationTime(path);
    if (mtime < 0) return {};
    const QString thumbnail = thumbnailPath(path, size);
    if (!upToDate(thumbnail, fileUri(path), mtime)) return {};
    return QImage(thumbnail, "png");
}

bool ThumbnailCache::knownToFail(const QString& path) const {
    const qint64 mtime = modificationTime(path);
    return mtime >= 0 && upToDate(failurePath(path), fileUri(path), mtime);
}

QImage ThumbnailCache::thumbnail(const QString& path, ThumbnailSize size, bool* made) const {
    if (made) *made = false;
    if (QImage image = cached(path, size); !image.isNull()) return image;
    const qint64 mtime = modificationTime(path);
    if (mtime < 0 || knownToFail(path)) return {};
    if (made) *made = true;
    QImage image = decodeReduced(path, int(size));
    if (image.isNull()) {
        QImage marker(1, 1, QImage::Format_ARGB32);
        marker.fill(Qt::transparent);
        store(marker, failurePath(path), path, mtime);
        return {};
    }
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    // Thumbnails are sRGB, as the desktop reads them: one of a photo in another colour space is
    // converted (shown, it is converted again, to the screen's).
    const auto properties = ImageProperties::readFromFile(QFile::encodeName(path).toStdString());
    if (auto toSrgb = ColourTransform::between(photoProfile(properties), {}))
        toSrgb->convertBgra8(image.bits(), image.width(), image.height(), image.bytesPerLine());
    image.setColorSpace(QColorSpace::SRgb);
    store(image, thumbnailPath(path, size), path, mtime);
    return image;
}

bool ThumbnailCache::store(const QImage& thumb, const QString& target, const QString& path,
                           qint64 mtime) const {
    if (!ensurePrivateFolder(QFileInfo(target).absolutePath())) return false;
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!QImageWriter(&buffer, "png").write(thumb)) return false;
    }
    // The keys go in plain tEXt chunks, where every reader of the cache looks; Qt would compress long
    // values, which some readers of the cache do not expect.
    QByteArray text;
    const std::pair<const char*, QByteArray> keys[] = {
        {"Thumb::URI", fileUri(path)},
        {"Thumb::MTime", QByteArray::number(mtime)},
        {"Thumb::Size", QByteArray::number(QFileInfo(path).size())},
        {"Software", kSoftware},
    };
    for (const auto& [key, value] : keys) text += pngChunk("tEXt", QByteArray(key) + '\0' + value);
    constexpr qsizetype kAfterHeader = 8 + 4 + 4 + 13 + 4; // signature, then the IHDR chunk
    png.insert(kAfterHeader, text);
    // Written beside the target and renamed over it: never half a file under the final name. Not
    // synced to disk: a thumbnail lost to a crash is made again, and syncing would cost more than
    // making it.
    const QByteArray final = QFile::encodeName(target);
    QByteArray temp = final + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    ::fchmod(fd, S_IRUSR | S_IWUSR);
    const char* at = png.constData();
    qsizetype left = png.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n <= 0 && errno != EINTR) break;
        if (n > 0) {
            at += n;
            left -= n;
        }
    }
    const bool written = ::close(fd) == 0 && left == 0;
    if (!written || ::rename(temp.constData(), final.constData()) != 0) {
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

} // namespace pimavo
