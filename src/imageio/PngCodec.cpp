// PNG decoding through libpng directly (masks and screenshots come as PNG as often as photos do).
//
// As with JPEG, libpng's fatal errors jump back to a setjmp in small functions that hold nothing
// needing destruction. Colours come out as stored, without gamma or profile conversion; a picture
// with alpha comes out with its colour multiplied by it, as every other decoder here delivers it.
#include "RasterCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>

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
        if (!png_) return fail("out of memory");
        info_ptr_ = png_create_info_struct(png_);
        if (!info_ptr_) return fail("out of memory");
        return readHeader();
    }

    const RasterInfo& info() const override { return info_; }

    bool readRows(int y0, int y1, int channels, int bits, void* dst, std::ptrdiff_t xstride,
                  std::ptrdiff_t ystride) override {
        if (y0 != next_ || y1 > info_.height || channels < 1 || channels > info_.channels)
            return fail("rows asked for out of order");
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

    bool write(const RasterImage&, const std::string&, const WriteRequest&, std::string& why) override {
        why = "this type is written by the codec module";
        return false;
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
