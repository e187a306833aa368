// JPEG through libjpeg(-turbo) directly.
//
// libjpeg reports fatal errors through a callback that must not return; it jumps back to the
// setjmp in the few small functions below, which hold nothing that needs destroying between the
// setjmp and the library calls. Warnings that mean the data is damaged (a file cut short, corrupt
// entropy data) are noted: libjpeg paints what it could not read grey, which is what a photographer
// wants of a file cut short on a pulled card — the photo, said to be incomplete. A file of which no
// row at all could be read is refused.
#include "FailureText.h"
#include "RasterCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jerror.h>
#include <jpeglib.h>

namespace pimavo::codec {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};
    bool damaged = false;
    bool readSomething = false; // when damaged: whether any of the picture came before the damage
};

[[noreturn]] void errorExit(j_common_ptr c) {
    auto* e = reinterpret_cast<ErrorManager*>(c->err);
    (*c->err->format_message)(c, e->message);
    std::longjmp(e->jump, 1);
}

void emitMessage(j_common_ptr c, int level) {
    if (level >= 0) return; // trace messages
    // Other warnings (stray bytes between markers, say) leave the picture whole.
    const int code = c->err->msg_code;
    if (code != JWRN_JPEG_EOF && code != JWRN_HIT_MARKER) return;
    auto* e = reinterpret_cast<ErrorManager*>(c->err);
    if (!e->damaged) {
        (*c->err->format_message)(c, e->message);
        // A row of blocks of the first scan, or a whole scan of a progressive file, came in whole.
        if (c->is_decompressor) {
            const auto* d = reinterpret_cast<j_decompress_ptr>(c);
            e->readSomething = d->input_scan_number > 1 || d->input_iMCU_row > 0;
        }
    }
    e->damaged = true;
}

void outputMessage(j_common_ptr) {}

void installErrors(jpeg_common_struct* c, ErrorManager& e) {
    c->err = jpeg_std_error(&e.base);
    e.base.error_exit = errorExit;
    e.base.emit_message = emitMessage;
    e.base.output_message = outputMessage;
}

int readUnsigned(const uint8_t* p, int bytes, bool bigEndian) {
    int v = 0;
    for (int i = 0; i < bytes; ++i) v |= int(p[bigEndian ? i : bytes - 1 - i]) << (8 * (bytes - 1 - i));
    return v;
}

class JpegReader final : public RasterReader {
public:
    ~JpegReader() override {
        jpeg_destroy_decompress(&cinfo_);
        if (file_) std::fclose(file_);
    }

    // Reads the header; false with the reason in error().
    bool start(const std::string& path) {
        file_ = std::fopen(path.c_str(), "rb");
        if (!file_) {
            std::snprintf(errors_.message, sizeof errors_.message, "%s", std::strerror(errno));
            return false;
        }
        installErrors(reinterpret_cast<jpeg_common_struct*>(&cinfo_), errors_);
        if (setjmp(errors_.jump)) return false;
        jpeg_create_decompress(&cinfo_);
        jpeg_stdio_src(&cinfo_, file_);
        jpeg_save_markers(&cinfo_, JPEG_APP0 + 1, 0xFFFF);
        jpeg_read_header(&cinfo_, TRUE);
        info_.width = int(cinfo_.image_width);
        info_.height = int(cinfo_.image_height);
        const J_COLOR_SPACE in = cinfo_.jpeg_color_space;
        cmyk_ = in == JCS_CMYK || in == JCS_YCCK;
        cinfo_.out_color_space = in == JCS_GRAYSCALE ? JCS_GRAYSCALE : cmyk_ ? JCS_CMYK : JCS_RGB;
        info_.channels = in == JCS_GRAYSCALE ? 1 : 3;
        info_.bits = 8;
        for (jpeg_saved_marker_ptr m = cinfo_.marker_list; m; m = m->next)
            if (m->marker == JPEG_APP0 + 1 && m->data_length > 6 &&
                std::memcmp(m->data, "Exif\0\0", 6) == 0) {
                info_.orientation = exifOrientation(m->data, m->data_length);
                break;
            }
        return !errors_.damaged;
    }

    const RasterInfo& info() const override { return info_; }

    // The DCT scales by a power of two: an eighth of the work per block at 1/8, and none of the
    // full-size buffers.
    bool reduceTo(int minWidth, int minHeight) override {
        if (started_ || cmyk_) return false;
        int denom = 1;
        for (int d : {8, 4, 2})
            if ((info_.width + d - 1) / d >= minWidth && (info_.height + d - 1) / d >= minHeight) {
                denom = d;
                break;
            }
        if (denom == 1) return false;
        if (setjmp(errors_.jump)) return false;
        cinfo_.scale_num = 1;
        cinfo_.scale_denom = unsigned(denom);
        jpeg_calc_output_dimensions(&cinfo_);
        info_.width = int(cinfo_.output_width);
        info_.height = int(cinfo_.output_height);
        return true;
    }

    bool readRows(int y0, int y1, int channels, int bits, void* dst, std::ptrdiff_t xstride,
                  std::ptrdiff_t ystride) override {
        if (y0 != next_ || y1 > info_.height || channels < 1 || channels > info_.channels) {
            std::snprintf(errors_.message, sizeof errors_.message,
                          QT_TRANSLATE_NOOP("Failure", "rows asked for out of order"));
            return false;
        }
        const int components = cmyk_ ? 4 : info_.channels;
        row_.resize(std::size_t(info_.width) * std::size_t(components));
        for (int y = y0; y < y1; ++y) {
            if (!readScanline()) return false;
            auto* out = static_cast<std::byte*>(dst) + std::ptrdiff_t(y - y0) * ystride;
            if (cmyk_) {
                // Photo JPEGs store CMYK inverted (the Adobe convention libjpeg hands through).
                for (int x = 0; x < info_.width; ++x) {
                    uint8_t* s = row_.data() + std::size_t(x) * 4;
                    for (int c = 0; c < 3; ++c) s[c] = uint8_t((s[c] * s[3] + 127) / 255);
                }
            }
            if (bits == 8)
                scatter<uint8_t>(out, channels, components, xstride, [](uint8_t v) { return v; });
            else if (bits == 16)
                scatter<uint16_t>(out, channels, components, xstride,
                                  [](uint8_t v) { return uint16_t(v * 257); });
            else
                scatter<float>(out, channels, components, xstride,
                               [](uint8_t v) { return float(v) / 255.0f; });
        }
        next_ = y1;
        if (next_ == info_.height) return finish();
        return true;
    }

    std::string error() override { return errors_.message; }

private:
    // One decoded row into the caller's layout; the loops are specialised for the common shapes.
    template <typename T, typename Convert>
    void scatter(std::byte* out, int channels, int components, std::ptrdiff_t xstride,
                 Convert convert) const {
        const uint8_t* s = row_.data();
        const int n = info_.width;
        if (channels == 3 && components >= 3 && xstride == std::ptrdiff_t(4 * sizeof(T))) {
            T* d = reinterpret_cast<T*>(out);
            for (int x = 0; x < n; ++x, s += components, d += 4) {
                d[0] = convert(s[0]);
                d[1] = convert(s[1]);
                d[2] = convert(s[2]);
            }
            return;
        }
        for (int x = 0; x < n; ++x, s += components, out += xstride)
            for (int c = 0; c < channels; ++c) reinterpret_cast<T*>(out)[c] = convert(s[c]);
    }

    bool readScanline() {
        if (setjmp(errors_.jump)) return false;
        if (!started_) {
            jpeg_start_decompress(&cinfo_);
            started_ = true;
        }
        JSAMPROW rows[1] = {row_.data()};
        if (jpeg_read_scanlines(&cinfo_, rows, 1) != 1) {
            std::snprintf(errors_.message, sizeof errors_.message,
                          QT_TRANSLATE_NOOP("Failure", "the picture data ends early"));
            return false;
        }
        return usable();
    }

    bool finish() {
        if (setjmp(errors_.jump)) return false;
        jpeg_finish_decompress(&cinfo_);
        return usable();
    }

    // Damage after some of the picture leaves a picture to show; damage before any does not.
    bool usable() {
        if (errors_.damaged && !errors_.readSomething) {
            std::snprintf(errors_.message, sizeof errors_.message,
                          QT_TRANSLATE_NOOP("Failure", "none of its picture data could be read"));
            return false;
        }
        return true;
    }

public:
    // A progressive file keeps its coarse scans whole: what is missing is detail, not a part of the
    // picture.
    std::string warning() const override {
        return !errors_.damaged ? std::string() : cinfo_.progressive_mode ? "coarse" : "grey";
    }

private:
    jpeg_decompress_struct cinfo_{};
    ErrorManager errors_;
    std::FILE* file_ = nullptr;
    RasterInfo info_;
    std::vector<uint8_t> row_;
    bool cmyk_ = false, started_ = false;
    int next_ = 0;
};

// Compresses rows into a file. Kept apart from the writer's buffers: nothing here needs destroying
// if libjpeg jumps out.
bool compress(jpeg_compress_struct& cinfo, ErrorManager& errors, std::FILE* file, const RasterImage& image,
              const WriteRequest& request, std::vector<uint8_t>& row) {
    if (setjmp(errors.jump)) return false;
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = JDIMENSION(image.width);
    cinfo.image_height = JDIMENSION(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, std::clamp(request.quality, 1, 100), TRUE);
    cinfo.write_JFIF_header = request.jfif ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    for (const auto& [marker, payload] : request.segments)
        jpeg_write_marker(&cinfo, marker, reinterpret_cast<const JOCTET*>(payload.data()),
                          unsigned(payload.size()));
    if (!request.software.empty())
        jpeg_write_marker(&cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(request.software.data()),
                          unsigned(request.software.size()));
    if (!request.iccProfile.empty())
        jpeg_write_icc_profile(&cinfo, request.iccProfile.data(), unsigned(request.iccProfile.size()));
    for (int y = 0; y < image.height; ++y) {
        if (image.waitForRow && !image.waitForRow(y)) {
            std::snprintf(errors.message, sizeof errors.message,
                          QT_TRANSLATE_NOOP("Failure", "the picture could not be read whole"));
            return false;
        }
        const std::byte* in = image.first + std::ptrdiff_t(y) * image.ystride;
        uint8_t* out = row.data();
        if (image.bits == 8) {
            for (int x = 0; x < image.width; ++x, in += image.xstride, out += 3) std::memcpy(out, in, 3);
        } else if (image.bits == 16) {
            for (int x = 0; x < image.width; ++x, in += image.xstride)
                for (int c = 0; c < 3; ++c)
                    *out++ =
                        uint8_t((unsigned(reinterpret_cast<const uint16_t*>(in)[c]) * 255u + 32895u) >> 16);
        } else {
            for (int x = 0; x < image.width; ++x, in += image.xstride)
                for (int c = 0; c < 3; ++c) {
                    const float v = reinterpret_cast<const float*>(in)[c];
                    *out++ = uint8_t((v > 0 ? (v < 1 ? v : 1.0f) : 0.0f) * 255.0f + 0.5f); // NaN → 0
                }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

class JpegBackend final : public RasterBackend {
public:
    std::unique_ptr<RasterReader> open(const std::string& path, const std::string& format, bool& recognised,
                                       std::string& why) override {
        recognised = false;
        if (format != "jpeg") return nullptr;
        static constexpr unsigned char kMagic[] = {0xFF, 0xD8, 0xFF};
        recognised = fileStartsWith(path, kMagic, sizeof kMagic);
        return recognised ? startReader<JpegReader>(path, why) : nullptr;
    }

    bool write(const RasterImage& image, const std::string& path, const WriteRequest& request,
               std::string& why) override {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file) {
            why = std::strerror(errno);
            return false;
        }
        jpeg_compress_struct cinfo{};
        ErrorManager errors;
        installErrors(reinterpret_cast<jpeg_common_struct*>(&cinfo), errors);
        jpeg_create_compress(&cinfo);
        std::vector<uint8_t> row(std::size_t(image.width) * 3);
        bool ok = compress(cinfo, errors, file, image, request, row);
        jpeg_destroy_compress(&cinfo);
        if (std::fflush(file) != 0 || std::ferror(file)) ok = ok && (why = std::strerror(errno), false);
        if (std::fclose(file) != 0 && ok) {
            why = std::strerror(errno);
            return false;
        }
        if (!ok && why.empty()) why = errors.message;
        return ok;
    }

    std::string formatList(const char* which) override {
        return std::strcmp(which, "extension_list") == 0 ? "jpeg:jpg,jpe,jpeg,jif,jfif,jfi" : "jpeg";
    }
};

} // namespace

RasterBackend& jpegBackend() {
    static JpegBackend backend;
    return backend;
}

bool fileStartsWith(const std::string& path, const void* magic, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::vector<unsigned char> start(size);
    const bool same =
        std::fread(start.data(), 1, size, f) == size && std::memcmp(start.data(), magic, size) == 0;
    std::fclose(f);
    return same;
}

int exifOrientation(const uint8_t* data, std::size_t size) {
    if (size >= 6 && std::memcmp(data, "Exif\0\0", 6) == 0) data += 6, size -= 6;
    if (size < 8) return -1;
    const bool big = data[0] == 'M' && data[1] == 'M';
    if (!big && !(data[0] == 'I' && data[1] == 'I')) return -1;
    if (readUnsigned(data + 2, 2, big) != 42) return -1;
    const std::size_t ifd = std::size_t(unsigned(readUnsigned(data + 4, 4, big)));
    if (ifd > size - 2 || ifd < 8) return -1;
    const int count = readUnsigned(data + ifd, 2, big);
    for (int i = 0; i < count; ++i) {
        const std::size_t at = ifd + 2 + std::size_t(i) * 12;
        if (at + 12 > size) return -1;
        if (readUnsigned(data + at, 2, big) != 0x0112) continue;
        if (readUnsigned(data + at + 2, 2, big) != 3) return -1; // SHORT
        const int v = readUnsigned(data + at + 8, 2, big);
        return v >= 1 && v <= 8 ? v : -1;
    }
    return -1;
}

} // namespace pimavo::codec
