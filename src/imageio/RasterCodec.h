// The codecs behind the decoder and the writer: plain rasters in, plain rasters out.
//
// JPEG, the format nearly every photo comes in and the one most pictures are saved as, has a codec
// of its own here, and so has PNG for reading. Every other format goes through a general image library that
// links a few hundred shared libraries (video, medical and volume formats among them); it lives in a module
// loaded the first time such a file is met, so that starting the editor and opening or saving a JPEG never
// pay for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pimavo::codec {

struct RasterInfo {
    int width = 0, height = 0, depth = 1;
    int channels = 0;
    int alphaChannel = -1;
    int bits = 8;         // of the values the decoder delivers best: 8, 16, or 32 (any float)
    int orientation = -1; // as declared by the file, 1–8; −1 when it declares none
};

class RasterReader {
public:
    virtual ~RasterReader() = default;
    virtual const RasterInfo& info() const = 0;
    // Rows [y0, y1), in order, channels [0, channels) as unsigned 8 or 16-bit or float values
    // (`bits` 8, 16 or 32), into `dst` with the given strides in bytes.
    virtual bool readRows(int y0, int y1, int channels, int bits, void* dst, std::ptrdiff_t xstride,
                          std::ptrdiff_t ystride) = 0;
    virtual std::string error() = 0;
    // Asks, before any row is read, for the picture at a reduced size no smaller than the given one
    // (in the file's own orientation), as a decoder can make it cheaply; info() then tells the size.
    // False when the decoder cannot, and the picture stays whole.
    virtual bool reduceTo(int minWidth, int minHeight) {
        (void)minWidth, (void)minHeight;
        return false;
    }
    // Set when the rows were delivered but part of them could not be read: "grey" when what is
    // missing is shown grey, "coarse" when the whole picture is there with less detail.
    virtual std::string warning() const { return {}; }
};

// A picture to write: three channels of `bits` per value (four with straight alpha last), `first`
// at red of the top-left pixel.
struct RasterImage {
    int width = 0, height = 0, bits = 8;
    int channels = 3;
    const std::byte* first = nullptr;
    std::ptrdiff_t xstride = 0, ystride = 0;
    // Asked before row y is read, when the rows are still arriving; false: they never will.
    std::function<bool(int)> waitForRow;
};

struct WriteRequest {
    std::string format;      // decoder/encoder name: "jpeg", "png", ...
    std::string compression; // of a format with several codings: "heic" or "avif" for "heif"
    int quality = 90;        // 1–100, lossy formats only
    std::string software;    // a comment naming the program; none when empty
    std::vector<uint8_t> iccProfile;
    bool jfif = true; // the JFIF segment of a plain JPEG; a camera file's EXIF takes its place
    // Segments a JPEG carries as they are (marker, payload), after the ones the encoder makes.
    std::vector<std::pair<int, std::string>> segments;
};

class RasterBackend {
public:
    virtual ~RasterBackend() = default;
    // A reader for a file in `format`. Null with `recognised` false when the content is not of that
    // format; null with `recognised` true and `why` set when it is, but cannot be read.
    virtual std::unique_ptr<RasterReader> open(const std::string& path, const std::string& format,
                                               bool& recognised, std::string& why) = 0;
    virtual bool write(const RasterImage& image, const std::string& path, const WriteRequest& request,
                       std::string& why) = 0;
    // The formats the backend reads and writes ("input_format_list", "output_format_list") and its
    // extension table ("extension_list": "format:ext,ext;format:ext").
    virtual std::string formatList(const char* which) = 0;
    // The codings the encoder of `format` has, for a format with several ("heic", "avif" for
    // "heif"); empty for the others.
    virtual std::vector<std::string> compressions(const std::string& format) {
        (void)format;
        return {};
    }
};

// The codecs of our own, always there: JPEG reads and writes, PNG reads.
RasterBackend& jpegBackend();
RasterBackend& pngBackend();
// The backend that reads `format`: one of our own, or the general one (null when it cannot be loaded).
RasterBackend* readerFor(const std::string& format);
// The general backend, loaded on first use; null (with `why`) when the module cannot be loaded.
RasterBackend* libraryBackend(std::string* why = nullptr);
// Whether the general backend has been loaded by this process.
bool libraryBackendLoaded();

// Whether the file's first bytes are `magic`.
bool fileStartsWith(const std::string& path, const void* magic, std::size_t size);

// A reader of our own codecs, started on the file; null with the reason when the header is bad.
template <typename Reader>
std::unique_ptr<RasterReader> startReader(const std::string& path, std::string& why) {
    auto reader = std::make_unique<Reader>();
    if (reader->start(path)) return reader;
    why = reader->error();
    return nullptr;
}

// The orientation an Exif block (starting with "Exif\0\0" or the TIFF header) declares, or −1.
int exifOrientation(const uint8_t* data, std::size_t size);

} // namespace pimavo::codec

// The module's one entry point.
extern "C" pimavo::codec::RasterBackend* pimavo_raster_backend();
