// PNG decoding through libpng directly (masks and screenshots come as PNG as often as photos do),
// and PNG encoding of our own.
//
// As with JPEG, libpng's fatal errors jump back to a setjmp in small functions that hold nothing
// needing destruction. Colours come out as stored, without gamma or profile conversion; a picture
// with alpha comes out with its colour multiplied by it, as every other decoder here delivers it.
//
// The encoder exists for speed: a one-threaded deflate of a 24-megapixel photo takes many seconds.
// Bands of rows are filtered and deflated in parallel, each band's deflate stream ended on a byte
// boundary without being final (a sync flush), so that the bands join into one valid zlib stream
// whose checksum is combined from theirs. Every row takes the Paeth filter, which predicts a photo's
// smooth gradients best, and deflate runs at its fastest level: a file smaller than one filtered
// with nothing and deflated harder, in a fraction of the time.
#include "FailureText.h"
#include "RasterCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <png.h>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <zlib.h>

namespace pimavo::codec {

namespace {

struct PngErrors {
    char message[200] = {};
};

[[noreturn]] void pngError(png_structp png, png_const_charp text) {
    auto* e = static_cast<PngErrors*>(png_get_error_ptr(png));
    std::snprintf(e->message, sizeof e->message, "%s", text);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

class PngReader final : public RasterReader {
public:
    ~PngReader() override {
        if (png_) png_destroy_read_struct(&png_, &info_ptr_, nullptr);
        if (file_) std::fclose(file_);
    }

    bool start(const std::string& path) {
        file_ = std::fopen(path.c_str(), "rb");
        if (!file_) return fail(std::strerror(errno));
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors_, pngError, pngWarning);
        if (!png_) return fail(QT_TRANSLATE_NOOP("Failure", "out of memory"));
        info_ptr_ = png_create_info_struct(png_);
        if (!info_ptr_) return fail(QT_TRANSLATE_NOOP("Failure", "out of memory"));
        return readHeader();
    }

    const RasterInfo& info() const override { return info_; }

    bool readRows(int y0, int y1, int channels, int bits, void* dst, std::ptrdiff_t xstride,
                  std::ptrdiff_t ystride) override {
        if (y0 != next_ || y1 > info_.height || channels < 1 || channels > info_.channels)
            return fail(QT_TRANSLATE_NOOP("Failure", "rows asked for out of order"));
        const std::size_t rowBytes =
            std::size_t(info_.width) * std::size_t(info_.channels) * (sixteen_ ? 2 : 1);
        if (interlaced_ && whole_.empty()) {
            // Interlaced pictures arrive in passes over the whole picture.
            whole_.resize(rowBytes * std::size_t(info_.height));
            rows_.resize(std::size_t(info_.height));
            for (int y = 0; y < info_.height; ++y)
                rows_[std::size_t(y)] = whole_.data() + rowBytes * std::size_t(y);
            if (!readImage()) return false;
        }
        row_.resize(rowBytes);
        for (int y = y0; y < y1; ++y) {
            const uint8_t* src = interlaced_ ? rows_[std::size_t(y)] : row_.data();
            if (!interlaced_ && !readRow(row_.data())) return false;
            auto* out = static_cast<std::byte*>(dst) + std::ptrdiff_t(y - y0) * ystride;
            if (sixteen_)
                scatter(reinterpret_cast<const uint16_t*>(src), 65535.0f, out, channels, bits, xstride);
            else
                scatter(src, 255.0f, out, channels, bits, xstride);
        }
        next_ = y1;
        return true;
    }

    std::string error() override { return errors_.message; }

private:
    bool fail(const char* why) {
        std::snprintf(errors_.message, sizeof errors_.message, "%s", why);
        return false;
    }

    bool readHeader() {
        if (setjmp(png_jmpbuf(png_))) return false;
        png_init_io(png_, file_);
        png_read_info(png_, info_ptr_);
        const int depth = png_get_bit_depth(png_, info_ptr_);
        png_set_expand(png_); // palettes and low-bit grey to 8 bits, transparency to alpha
        if (depth == 16) png_set_swap(png_);
        interlaced_ = png_get_interlace_type(png_, info_ptr_) != PNG_INTERLACE_NONE;
        if (interlaced_) png_set_interlace_handling(png_);
        png_read_update_info(png_, info_ptr_);
        info_.width = int(png_get_image_width(png_, info_ptr_));
        info_.height = int(png_get_image_height(png_, info_ptr_));
        info_.channels = png_get_channels(png_, info_ptr_);
        sixteen_ = png_get_bit_depth(png_, info_ptr_) == 16;
        info_.bits = sixteen_ ? 16 : 8;
        const bool alpha = info_.channels == 2 || info_.channels == 4;
        info_.alphaChannel = alpha ? info_.channels - 1 : -1;
        return true;
    }

    bool readRow(uint8_t* row) {
        if (setjmp(png_jmpbuf(png_))) return false;
        png_read_row(png_, row, nullptr);
        return true;
    }

    bool readImage() {
        if (setjmp(png_jmpbuf(png_))) return false;
        png_read_image(png_, rows_.data());
        return true;
    }

    template <typename S>
    void scatter(const S* s, float full, std::byte* out, int channels, int bits,
                 std::ptrdiff_t xstride) const {
        const int n = info_.channels, alpha = info_.alphaChannel;
        if (alpha < 0 && bits == int(8 * sizeof(S))) {
            for (int x = 0; x < info_.width; ++x, s += n, out += xstride)
                std::memcpy(out, s, sizeof(S) * std::size_t(channels));
            return;
        }
        for (int x = 0; x < info_.width; ++x, s += n, out += xstride) {
            const float a = alpha >= 0 ? float(s[alpha]) / full : 1.0f;
            for (int c = 0; c < channels; ++c) {
                float v = float(s[c]) / full;
                if (c != alpha) v *= a;
                if (bits == 8)
                    reinterpret_cast<uint8_t*>(out)[c] = uint8_t(v * 255.0f + 0.5f);
                else if (bits == 16)
                    reinterpret_cast<uint16_t*>(out)[c] = uint16_t(v * 65535.0f + 0.5f);
                else
                    reinterpret_cast<float*>(out)[c] = v;
            }
        }
    }

    png_structp png_ = nullptr;
    png_infop info_ptr_ = nullptr;
    std::FILE* file_ = nullptr;
    PngErrors errors_;
    RasterInfo info_;
    std::vector<uint8_t> row_, whole_;
    std::vector<uint8_t*> rows_;
    bool sixteen_ = false, interlaced_ = false;
    int next_ = 0;
};

// ---- writing ----------------------------------------------------------------------------------

void put32(std::string& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(char((v >> s) & 0xFF));
}

void chunk(std::string& out, const char type[4], std::string_view data) {
    put32(out, uint32_t(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out.append(data);
    put32(out,
          uint32_t(crc32(0, reinterpret_cast<const Bytef*>(out.data() + start), uInt(out.size() - start))));
}

uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Row y as PNG stores it: big-endian values, three per pixel (four with alpha).
void storedRow(const RasterImage& image, int y, uint8_t* out) {
    const std::byte* in = image.first + std::ptrdiff_t(y) * image.ystride;
    const int n = image.channels;
    if (image.bits == 8) {
        for (int x = 0; x < image.width; ++x, in += image.xstride, out += n)
            std::memcpy(out, in, std::size_t(n));
        return;
    }
    if (image.bits == 16) {
        for (int x = 0; x < image.width; ++x, in += image.xstride)
            for (int c = 0; c < n; ++c) {
                const uint16_t v = reinterpret_cast<const uint16_t*>(in)[c];
                *out++ = uint8_t(v >> 8);
                *out++ = uint8_t(v);
            }
        return;
    }
    for (int x = 0; x < image.width; ++x, in += image.xstride)
        for (int c = 0; c < n; ++c) {
            const float v = reinterpret_cast<const float*>(in)[c];
            const uint16_t q = uint16_t((v > 0 ? (v < 1 ? v : 1.0f) : 0.0f) * 65535.0f + 0.5f); // NaN → 0
            *out++ = uint8_t(q >> 8);
            *out++ = uint8_t(q);
        }
}

struct Band {
    std::string deflated;
    uLong adler = 1;
    uLong length = 0;
    bool ok = false;
};

// Rows [y0, y1) filtered and deflated as one piece of the picture's zlib stream.
void deflateBand(const RasterImage& image, int bytesPerPixel, int y0, int y1, bool last, Band& band) {
    const std::size_t rowBytes = std::size_t(image.width) * std::size_t(bytesPerPixel);
    std::vector<uint8_t> previous(rowBytes), current(rowBytes);
    std::vector<uint8_t> filtered((rowBytes + 1) * std::size_t(y1 - y0));
    if (y0 > 0) storedRow(image, y0 - 1, previous.data());
    const int bpp = bytesPerPixel;
    for (int y = y0; y < y1; ++y) {
        storedRow(image, y, current.data());
        uint8_t* f = filtered.data() + (rowBytes + 1) * std::size_t(y - y0);
        *f++ = 4; // Paeth
        const uint8_t* up = previous.data();
        const uint8_t* cur = current.data();
        const bool firstRow = y == 0;
        for (int i = 0; i < bpp; ++i) f[i] = uint8_t(cur[i] - (firstRow ? 0 : up[i]));
        if (firstRow) {
            for (std::size_t i = std::size_t(bpp); i < rowBytes; ++i)
                f[i] = uint8_t(cur[i] - cur[i - std::size_t(bpp)]);
        } else {
            for (std::size_t i = std::size_t(bpp); i < rowBytes; ++i)
                f[i] = uint8_t(cur[i] - paeth(cur[i - std::size_t(bpp)], up[i], up[i - std::size_t(bpp)]));
        }
        std::swap(previous, current);
    }
    band.length = uLong(filtered.size());
    band.adler = adler32(1, filtered.data(), uInt(filtered.size()));
    z_stream z{};
    if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return;
    band.deflated.resize(deflateBound(&z, uLong(filtered.size())) + 16);
    z.next_in = filtered.data();
    z.avail_in = uInt(filtered.size());
    z.next_out = reinterpret_cast<Bytef*>(band.deflated.data());
    z.avail_out = uInt(band.deflated.size());
    const int r = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    band.ok = last ? r == Z_STREAM_END : r == Z_OK && z.avail_in == 0;
    band.deflated.resize(band.deflated.size() - z.avail_out);
    deflateEnd(&z);
}

bool writePng(const RasterImage& image, const std::string& path, const WriteRequest& request,
              std::string& why) {
    if (image.width <= 0 || image.height <= 0) {
        why = QT_TRANSLATE_NOOP("Failure", "there is no picture");
        return false;
    }
    const int depth = image.bits == 8 ? 8 : 16; // float pictures keep 16 bits
    const int bytesPerPixel = image.channels * depth / 8;
    if (std::size_t(image.width) * std::size_t(bytesPerPixel) + 1 > (std::size_t(1) << 30)) {
        why = QT_TRANSLATE_NOOP("Failure", "the picture is too wide for PNG");
        return false;
    }
    // Bands of about a megabyte of pixels: enough of them to share out, each long enough to compress well.
    const std::size_t rowBytes = std::size_t(image.width) * std::size_t(bytesPerPixel) + 1;
    const int rowsPerBand = std::max(16, int((std::size_t(1) << 20) / rowBytes));
    const int bands = (image.height + rowsPerBand - 1) / rowsPerBand;
    std::vector<Band> out(static_cast<std::size_t>(bands));
    tbb::parallel_for(tbb::blocked_range<int>(0, bands, 1), [&](const tbb::blocked_range<int>& r) {
        for (int b = r.begin(); b != r.end(); ++b) {
            const int y0 = b * rowsPerBand, y1 = std::min(image.height, y0 + rowsPerBand);
            deflateBand(image, bytesPerPixel, y0, y1, b == bands - 1, out[std::size_t(b)]);
        }
    });
    uLong adler = 1;
    for (const Band& b : out) {
        if (!b.ok) {
            why = QT_TRANSLATE_NOOP("Failure", "the picture could not be compressed");
            return false;
        }
        adler = adler32_combine(adler, b.adler, z_off_t(b.length));
    }

    std::string file("\x89PNG\r\n\x1A\n", 8);
    std::string ihdr;
    put32(ihdr, uint32_t(image.width));
    put32(ihdr, uint32_t(image.height));
    ihdr += char(depth);
    ihdr += char(image.channels == 4 ? 6 : 2); // RGBA or RGB
    ihdr += std::string(3, '\0');              // deflate, adaptive filtering, not interlaced
    chunk(file, "IHDR", ihdr);
    if (!request.iccProfile.empty()) {
        std::string iccp("ICC Profile", 11);
        iccp += std::string(2, '\0'); // name end, deflate
        uLongf size = compressBound(uLong(request.iccProfile.size()));
        std::string packed(size, '\0');
        if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size, request.iccProfile.data(),
                      uLong(request.iccProfile.size()), 6) == Z_OK) {
            packed.resize(size);
            chunk(file, "iCCP", iccp + packed);
        }
    }
    if (!request.software.empty()) chunk(file, "tEXt", "Software" + std::string(1, '\0') + request.software);

    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        why = std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    // The zlib stream in IDAT chunks of up to 4 MB: its header, the bands as they are, its checksum.
    std::string stream("\x78\x01", 2);
    auto flush = [&](bool all) {
        while (ok && (stream.size() >= (4u << 20) || (all && !stream.empty()))) {
            const std::size_t n = std::min<std::size_t>(stream.size(), 4u << 20);
            std::string idat;
            chunk(idat, "IDAT", std::string_view(stream).substr(0, n));
            ok = std::fwrite(idat.data(), 1, idat.size(), f) == idat.size();
            stream.erase(0, n);
        }
    };
    for (Band& b : out) {
        stream += b.deflated;
        std::string().swap(b.deflated);
        flush(false);
    }
    put32(stream, uint32_t(adler));
    flush(true);
    std::string end;
    chunk(end, "IEND", {});
    ok = ok && std::fwrite(end.data(), 1, end.size(), f) == end.size();
    if (std::fflush(f) != 0 || std::ferror(f)) ok = false;
    if (std::fclose(f) != 0) ok = false;
    if (!ok) why = std::strerror(errno);
    return ok;
}

class PngBackend final : public RasterBackend {
public:
    std::unique_ptr<RasterReader> open(const std::string& path, const std::string& format, bool& recognised,
                                       std::string& why) override {
        recognised = false;
        if (format != "png") return nullptr;
        static constexpr unsigned char kMagic[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        recognised = fileStartsWith(path, kMagic, sizeof kMagic);
        return recognised ? startReader<PngReader>(path, why) : nullptr;
    }

    bool write(const RasterImage& image, const std::string& path, const WriteRequest& request,
               std::string& why) override {
        return writePng(image, path, request, why);
    }

    std::string formatList(const char* which) override {
        return std::strcmp(which, "extension_list") == 0 ? "png:png" : "png";
    }
};

} // namespace

RasterBackend& pngBackend() {
    static PngBackend backend;
    return backend;
}

} // namespace pimavo::codec
