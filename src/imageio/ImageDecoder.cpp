#include "ImageDecoder.h"

#include "FailureText.h"
#include "ImageGeometry.h"
#include "ImageTypes.h"
#include "RasterCodec.h"
#include "engine/Log.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace pimavo {

namespace {

namespace fs = std::filesystem;

// Memory the system can still give us, in bytes.
double availableMemory() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    long long kb = 0;
    std::string unit;
    while (meminfo >> key >> kb >> unit)
        if (key == "MemAvailable:") return double(kb) * 1024;
    const long pages = sysconf(_SC_AVPHYS_PAGES), size = sysconf(_SC_PAGESIZE);
    return pages > 0 && size > 0 ? double(pages) * double(size) : 1e18;
}

std::string fileName(const std::string& path) {
    return fs::path(path).filename().string();
}

struct Opened {
    std::unique_ptr<codec::RasterReader> reader;
    std::string format;
    const codec::RasterInfo& info() const { return reader->info(); }
};

std::string damaged(const std::string& detail) {
    return detail.empty() ? QT_TRANSLATE_NOOP("Failure", "the file is damaged")
                          : failure::compose(failure::kFileDamagedBecause, {detail});
}

// Opens the header with the first photo decoder that recognises the file's content, trying the one
// its extension suggests first.
std::optional<Opened> openHeader(const std::string& path, std::string& why) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        why = QT_TRANSLATE_NOOP("Failure", "the file does not exist");
        return std::nullopt;
    }
    if (fs::is_directory(status)) {
        why = QT_TRANSLATE_NOOP("Failure", "it is a folder");
        return std::nullopt;
    }
    if (!fs::is_regular_file(status)) {
        why = QT_TRANSLATE_NOOP("Failure", "it is not a regular file");
        return std::nullopt;
    }
    if (fs::file_size(path, ec) == 0) {
        why = QT_TRANSLATE_NOOP("Failure", "the file is empty");
        return std::nullopt;
    }
    // Tries one format: 1 opened, 0 not of that format, −1 of that format but unreadable.
    std::optional<Opened> opened;
    auto attempt = [&](const std::string& format) {
        codec::RasterBackend* backend = codec::readerFor(format);
        if (!backend) return 0;
        bool recognised = false;
        std::string detail;
        auto reader = backend->open(path, format, recognised, detail);
        if (reader) {
            opened = Opened{std::move(reader), format};
            return 1;
        }
        if (!recognised) return 0;
        why = damaged(detail);
        return -1;
    };
    std::string guess;
    if (auto ut = mimeTypeForExtension(path)) guess = formatForMimeType(*ut);
    if (!guess.empty() && isDecoderFormat(guess))
        if (int r = attempt(guess)) return r > 0 ? std::move(opened) : std::nullopt;
    for (const std::string& format : decoderFormats()) {
        if (format == guess) continue;
        if (int r = attempt(format)) return r > 0 ? std::move(opened) : std::nullopt;
    }
    std::string missing;
    if (!codec::libraryBackend(&missing))
        why = failure::compose(failure::kNotReadableWithoutModule, {missing});
    else
        why = QT_TRANSLATE_NOOP("Failure", "it is not a photo in a format Pimavo reads");
    return std::nullopt;
}

// libjpeg decodes a JPEG cut short as if the rest were grey, with only a warning. A complete one
// ends its last scan with an EOI marker, which cannot occur inside entropy-coded data (0xFF is
// always stuffed there), so looking for it after the first scan tells complete from truncated.
bool jpegIsComplete(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    auto readAt = [&](std::size_t offset, std::size_t count) {
        std::string bytes(count, '\0');
        in.clear();
        in.seekg(std::streamoff(offset));
        in.read(bytes.data(), std::streamsize(count));
        bytes.resize(std::size_t(in.gcount()));
        return bytes;
    };
    in.seekg(0, std::ios::end);
    const std::size_t n = std::size_t(in.tellg());
    // Walk the marker segments up to the first scan.
    std::size_t i = 2;
    for (;;) {
        const std::string head = readAt(i, 4);
        if (head.size() < 4 || static_cast<unsigned char>(head[0]) != 0xFF) return false;
        const auto marker = static_cast<unsigned char>(head[1]);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        i +=
            2 + (std::size_t(static_cast<unsigned char>(head[2])) << 8 | static_cast<unsigned char>(head[3]));
        if (marker == 0xDA) break;
    }
    // Complete files end with the marker, perhaps followed by a little padding: look at the tail
    // first, and read the whole scan data only when it is not there.
    const std::size_t tail = std::min<std::size_t>(n - std::min(n, i), 4096);
    for (std::size_t from : {n - tail, i}) {
        const std::string data = readAt(from, n - from);
        for (std::size_t k = data.size(); k-- > 1;)
            if (static_cast<unsigned char>(data[k - 1]) == 0xFF &&
                static_cast<unsigned char>(data[k]) == 0xD9)
                return true;
    }
    return false;
}

// What the user is told of a file that opened with part of it unreadable.
std::string incompleteWarning(const std::string& path, bool cutShort, const std::string& damage) {
    const char* text = damage == "coarse" ? (cutShort ? failure::kIncompleteCoarse : failure::kDamagedCoarse)
                                          : (cutShort ? failure::kIncompleteGrey : failure::kDamagedGrey);
    return failure::compose(text, {fileName(path)});
}

bool checkHeader(const codec::RasterInfo& spec, int bits, std::string& why) {
    if (spec.width <= 0 || spec.height <= 0 || spec.depth > 1) {
        why = QT_TRANSLATE_NOOP("Failure", "its size is not that of a picture");
        return false;
    }
    if (spec.channels < 1 || spec.channels > 64) {
        why = failure::compose(failure::kChannels, {std::to_string(spec.channels)});
        return false;
    }
    const double pixels = double(spec.width) * double(spec.height);
    if (pixels > kMaxDecodePixels) {
        why = failure::compose(failure::kTooManyPixels,
                               {std::to_string(spec.width), std::to_string(spec.height),
                                std::to_string(std::lround(kMaxDecodePixels / 1e6))});
        return false;
    }
    // The bitmap, the rotated copy and the decoder's own buffers must all fit.
    const double needed = pixels * 4 * (bits / 8) * 2 + pixels * spec.channels * 4;
    if (needed > availableMemory()) {
        why = QT_TRANSLATE_NOOP("Failure", "there is not enough memory to open it");
        return false;
    }
    return true;
}

// Decodes all scanlines into a photo bitmap (not yet oriented), a band at a time.
std::optional<Bitmap> readPixels(Opened& o, int bits, std::string& why) {
    const codec::RasterInfo& spec = o.info();
    const int nch = spec.channels;
    const int alpha = spec.alphaChannel >= 0 && spec.alphaChannel < nch ? spec.alphaChannel : -1;
    // Transparency is kept: RGBA with the colour associated, as the decoders deliver it.
    const auto layout = photoLayout(bits, alpha >= 0);
    auto bitmap = Bitmap::make(spec.width, spec.height, *layout);
    if (!bitmap) {
        why = QT_TRANSLATE_NOOP("Failure", "there is not enough memory to open it");
        return std::nullopt;
    }
    const bool grey = nch < 3 || (nch == 3 && alpha == 1);
    const std::size_t valueSize = std::size_t(bits / 8);
    const std::size_t rowValues = std::size_t(spec.width) * std::size_t(nch);
    const int band = std::max(1, int((8u << 20) / (rowValues * valueSize)));
    std::vector<std::byte> buf(rowValues * valueSize * std::size_t(band));

    if (nch == 3 && alpha < 0) {
        // Plain RGB goes straight into the bitmap, skipping its ignored component.
        const int bpc = bits / 8;
        std::byte* first = bitmap->row(0) + (bits == 8 ? bpc : 0);
        if (!o.reader->readRows(0, spec.height, 3, bits, first, 4 * bpc,
                                std::ptrdiff_t(bitmap->bytesPerRow()))) {
            why = damaged(o.reader->error());
            return std::nullopt;
        }
        if (bits != 8) {
            // The ignored component of 16-bit and float layouts reads as opaque.
            for (int y = 0; y < spec.height; ++y)
                for (int x = 0; x < spec.width; ++x) bitmap->setComponent(x, y, 3, 1.0f);
        }
        return bitmap;
    }
    for (int y0 = 0; y0 < spec.height; y0 += band) {
        const int y1 = std::min(spec.height, y0 + band);
        if (!o.reader->readRows(y0, y1, nch, bits, buf.data(), std::ptrdiff_t(std::size_t(nch) * valueSize),
                                std::ptrdiff_t(rowValues * valueSize))) {
            why = damaged(o.reader->error());
            return std::nullopt;
        }
        // Alpha is already associated by the decoder: it goes into the bitmap as it is.
        auto convert = [&](auto* src, auto opaque) {
            using T = std::remove_const_t<std::remove_pointer_t<decltype(src)>>;
            for (int y = y0; y < y1; ++y) {
                const T* s = src + std::size_t(y - y0) * rowValues;
                T* d = reinterpret_cast<T*>(bitmap->row(y));
                // 8-bit XRGB keeps red at index 1; RGBA and the other layouts at 0.
                const int first = bits == 8 && alpha < 0 ? 1 : 0;
                for (int x = 0; x < spec.width; ++x, s += nch, d += 4) {
                    const T r = s[0], g = grey ? s[0] : s[1], b = grey ? s[0] : s[2];
                    d[first] = r, d[first + 1] = g, d[first + 2] = b;
                    d[first == 1 ? 0 : 3] = alpha >= 0 ? s[alpha] : opaque;
                }
            }
        };
        if (bits == 8)
            convert(reinterpret_cast<const uint8_t*>(buf.data()), uint8_t(255));
        else if (bits == 16)
            convert(reinterpret_cast<const uint16_t*>(buf.data()), uint16_t(65535));
        else
            convert(reinterpret_cast<const float*>(buf.data()), 1.0f);
    }
    return bitmap;
}

} // namespace

std::optional<ImageHeader> readImageHeader(const std::string& path, std::string* error) {
    std::string why;
    auto opened = openHeader(path, why);
    if (!opened) {
        if (error) *error = failure::compose(failure::kCouldNotBeOpened, {fileName(path), why});
        return std::nullopt;
    }
    ImageHeader h;
    h.orientation = opened->info().orientation;
    const bool swap = h.orientation >= 5;
    h.width = swap ? opened->info().height : opened->info().width;
    h.height = swap ? opened->info().width : opened->info().height;
    h.bitsPerComponent = opened->info().bits;
    h.mimeType = mimeTypeOfFile(opened->format, path);
    return h;
}

namespace {

// What the editor says of each photo it opens: the facts for whoever debugs, the damage for the user.
void announceDecoded(int orientation, unsigned depth, const std::string& warning) {
    logging::writef(logging::Channel::Io, logging::Level::Debug, "Image orientation: %d, bpc: %u",
                    orientation, depth);
    if (!warning.empty())
        logging::writef(logging::Channel::Io, logging::Level::Warning, "warning: %s", warning.c_str());
}

// A minimum size of zero decodes the whole picture.
DecodeResult decode(const std::string& path, bool announce, int minWidth, int minHeight) {
    DecodeResult result;
    std::string why;
    auto fail = [&](const std::string& reason) {
        result.error = failure::compose(failure::kCouldNotBeOpened, {fileName(path), reason});
        result.reason = reason;
        return result;
    };
    try {
        auto opened = openHeader(path, why);
        if (!opened) return fail(why);
        const int bits = opened->info().bits;
        if (!checkHeader(opened->info(), bits, why)) return fail(why);
        // The depth the picture has from now on: 8, 16, or 32 for every kind of float.
        const int depth = bits;
        const int orientation = opened->info().orientation;
        if (minWidth > 0 && minHeight > 0) {
            const bool turned = orientation >= 5;
            if (!opened->reader->reduceTo(turned ? minHeight : minWidth, turned ? minWidth : minHeight))
                return fail(QT_TRANSLATE_NOOP("Failure", "it cannot be decoded at a reduced size"));
        }

        const bool cutShort = opened->format == "jpeg" && !jpegIsComplete(path);
        auto pixels = readPixels(*opened, bits, why);
        if (!pixels)
            return fail(cutShort
                            ? std::string(QT_TRANSLATE_NOOP(
                                  "Failure", "the file is incomplete, and none of its picture can be read"))
                            : why);
        const std::string damage = opened->reader->warning();
        const bool damagedData = !damage.empty();
        opened->reader.reset();
        std::optional<Bitmap> upright =
            orientation > 1 ? bitmapWithOrientation(*pixels, orientation) : std::move(pixels);
        if (!upright) return fail(QT_TRANSLATE_NOOP("Failure", "there is not enough memory to open it"));

        DecodedImage image;
        image.bitmap = std::make_shared<const Bitmap>(std::move(*upright));
        image.properties = propertiesForSaving(path, depth);
        image.mimeType = mimeTypeOfFile(opened->format, path);
        image.orientation = orientation;
        image.bitsPerComponent = depth;
        if (cutShort || damagedData) image.warning = incompleteWarning(path, cutShort, damage);
        if (announce) announceDecoded(orientation, unsigned(depth), image.warning);
        result.image = std::move(image);
        return result;
    } catch (const std::exception& e) {
        return fail(failure::compose(failure::kDecoderFailed, {e.what()}));
    }
}

} // namespace

DecodeResult decodeImageFile(const std::string& path, bool announce) {
    return decode(path, announce, 0, 0);
}

DecodeResult decodeImageFileReduced(const std::string& path, int minWidth, int minHeight) {
    return decode(path, false, std::max(1, minWidth), std::max(1, minHeight));
}

std::optional<DecodeResult> decodeImageFileStreaming(
    const std::string& path,
    const std::function<void(const DecodedImage& image, const std::function<bool(int)>& waitForRow)>& use) {
    std::string why;
    auto opened = openHeader(path, why);
    if (!opened || opened->format != "jpeg") return std::nullopt;
    const codec::RasterInfo& spec = opened->info();
    if (spec.orientation > 1 || spec.channels != 3 || spec.alphaChannel >= 0 || spec.bits != 8 ||
        !checkHeader(spec, 8, why))
        return std::nullopt;
    auto bitmap = Bitmap::make(spec.width, spec.height, *photoLayout(8));
    if (!bitmap) return std::nullopt;
    auto pixels = std::make_shared<Bitmap>(std::move(*bitmap));
    const bool cutShort = !jpegIsComplete(path);

    // Bands of rows handed over as they are decoded.
    std::mutex mutex;
    std::condition_variable progress;
    int ready = 0;
    bool failed = false;
    std::string failedBecause;
    std::thread decoding([&] {
        const int band = 64;
        for (int y0 = 0; y0 < spec.height; y0 += band) {
            const int y1 = std::min(spec.height, y0 + band);
            // XRGB: red at the second byte, whole pixels apart.
            const bool ok = opened->reader->readRows(y0, y1, 3, 8, pixels->row(y0) + 1, 4,
                                                     std::ptrdiff_t(pixels->bytesPerRow()));
            std::lock_guard lock(mutex);
            if (!ok) {
                failed = true;
                failedBecause = damaged(opened->reader->error());
                break;
            }
            ready = y1;
            progress.notify_all();
        }
        std::lock_guard lock(mutex);
        failed = failed || ready < spec.height;
        progress.notify_all();
    });
    const std::function<bool(int)> waitForRow = [&](int y) {
        std::unique_lock lock(mutex);
        progress.wait(lock, [&] { return ready > y || failed; });
        return ready > y;
    };

    DecodedImage image;
    image.bitmap = pixels;
    image.properties = propertiesForSaving(path, 8);
    image.mimeType = mimeTypeForFormat("jpeg");
    image.orientation = spec.orientation;
    image.bitsPerComponent = 8;
    use(image, waitForRow);
    decoding.join();

    DecodeResult result;
    if (failed) {
        result.error = failure::compose(
            failure::kCouldNotBeOpened,
            {fileName(path),
             cutShort
                 ? QT_TRANSLATE_NOOP("Failure", "the file is incomplete, and none of its picture can be read")
                 : failedBecause});
        return result;
    }
    const std::string damage = opened->reader->warning();
    if (cutShort || !damage.empty()) image.warning = incompleteWarning(path, cutShort, damage);
    announceDecoded(spec.orientation, 8u, image.warning);
    result.image = std::move(image);
    return result;
}

ImageProperties propertiesForSaving(const std::string& path, int depth) {
    ImageProperties p = ImageProperties::readFromFile(path);
    p.removeOrientation();
    p.setTiffValue("Software", softwareName());
    p.setDepth(depth);
    return p;
}

} // namespace pimavo
