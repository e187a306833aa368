// The general codec module: every format but JPEG, through OpenImageIO. Built as a loadable module
// so that the libraries it pulls in are loaded only when such a file is met.
#include "FailureText.h"
#include "RasterCodec.h"

#include <OpenImageIO/imageio.h>
#include <algorithm>
#include <cmath>
#include <dlfcn.h>
#include <mutex>
#include <vector>

namespace pimavo::codec {

namespace {

// Decoded pixels are bounded again by the decoders themselves: no more than 512 megapixels of four
// float channels, no more than 64 channels.
constexpr int kDecoderLimitMB = int(512.0 * 1000 * 1000 * 16 / (1 << 20));

OIIO::TypeDesc typeForBits(int bits) {
    return bits == 8 ? OIIO::TypeDesc::UINT8 : bits == 16 ? OIIO::TypeDesc::UINT16 : OIIO::TypeDesc::FLOAT;
}

int bitsForType(const OIIO::TypeDesc& t) {
    switch (t.basetype) {
    case OIIO::TypeDesc::UINT8:
    case OIIO::TypeDesc::INT8:
        return 8;
    case OIIO::TypeDesc::UINT16:
    case OIIO::TypeDesc::INT16:
        return 16;
    default:
        return 32; // half, float, double and wide integers all become float
    }
}

// The pixel type a format stores best for a bitmap depth.
OIIO::TypeDesc storedType(const std::string& format, int bits) {
    if (format == "jpeg" || format == "bmp" || format == "webp" || format == "heif")
        return OIIO::TypeDesc::UINT8;
    if (format == "openexr") return bits == 32 ? OIIO::TypeDesc::FLOAT : OIIO::TypeDesc::HALF;
    if (format == "png" || format == "jpeg2000")
        return bits == 8 ? OIIO::TypeDesc::UINT8 : OIIO::TypeDesc::UINT16;
    return typeForBits(bits);
}

// More than libheif pads a plane's rows by (to a multiple of 64 pixels at most).
constexpr std::size_t kHeifRowSlackPixels = 128;

// The picture's rows packed in 8-bit samples, with room for `slackPixels` more pixels after the last.
std::vector<uint8_t> packedEightBits(const RasterImage& image, std::size_t slackPixels) {
    const auto channels = std::size_t(image.channels);
    const std::size_t row = channels * std::size_t(image.width);
    std::vector<uint8_t> out(row * std::size_t(image.height) + channels * slackPixels);
    for (int y = 0; y < image.height; ++y) {
        uint8_t* d = out.data() + std::size_t(y) * row;
        for (int x = 0; x < image.width; ++x) {
            const std::byte* px =
                image.first + std::ptrdiff_t(y) * image.ystride + std::ptrdiff_t(x) * image.xstride;
            for (std::size_t c = 0; c < channels; ++c) {
                if (image.bits == 8)
                    *d++ = reinterpret_cast<const uint8_t*>(px)[c];
                else if (image.bits == 16)
                    *d++ =
                        uint8_t((uint32_t(reinterpret_cast<const uint16_t*>(px)[c]) * 255 + 32767) / 65535);
                else if (const float v = reinterpret_cast<const float*>(px)[c]; v > 0) // NaN: 0
                    *d++ = v < 1 ? uint8_t(v * 255.0f + 0.5f) : uint8_t(255);
                else
                    *d++ = 0;
            }
        }
    }
    return out;
}

// Which HEIF codings libheif can encode, asked of the copy OpenImageIO loaded. Which encoders a
// libheif has depends on how it was built (some leave out HEVC).
std::vector<std::string> heifEncoders() {
    void* heif = ::dlopen("libheif.so.1", RTLD_NOW | RTLD_NOLOAD);
    if (!heif) return {"heic", "avif"}; // not asked: an encoder that is missing fails when saving
    struct HeifError {
        int code, subcode;
        const char* message;
    };
    using Init = HeifError (*)(void*);
    using Have = int (*)(int);
    if (auto init = reinterpret_cast<Init>(::dlsym(heif, "heif_init"))) init(nullptr);
    auto have = reinterpret_cast<Have>(::dlsym(heif, "heif_have_encoder_for_format"));
    std::vector<std::string> out;
    // libheif's compression formats: 1 is HEVC, 4 is AV1.
    if (!have || have(1)) out.push_back("heic");
    if (!have || have(4)) out.push_back("avif");
    ::dlclose(heif);
    return out;
}

class LibraryReader final : public RasterReader {
public:
    LibraryReader(std::unique_ptr<OIIO::ImageInput> input, const OIIO::ImageSpec& spec, bool upright)
        : input_(std::move(input)), spec_(spec) {
        info_.width = spec.width;
        info_.height = spec.height;
        info_.depth = spec.depth;
        info_.channels = spec.nchannels;
        info_.alphaChannel = spec.alpha_channel;
        info_.bits = bitsForType(spec.format);
        const int o = spec.get_int_attribute("Orientation", -1);
        info_.orientation = !upright && o >= 1 && o <= 8 ? o : -1;
    }
    ~LibraryReader() override { input_->close(); }

    const RasterInfo& info() const override { return info_; }

    bool readRows(int y0, int y1, int channels, int bits, void* dst, std::ptrdiff_t xstride,
                  std::ptrdiff_t ystride) override {
        return input_->read_scanlines(0, 0, spec_.y + y0, spec_.y + y1, 0, 0, channels, typeForBits(bits),
                                      dst, OIIO::stride_t(xstride), OIIO::stride_t(ystride));
    }

    std::string error() override { return input_->geterror(); }

private:
    std::unique_ptr<OIIO::ImageInput> input_;
    OIIO::ImageSpec spec_;
    RasterInfo info_;
};

class LibraryBackend final : public RasterBackend {
public:
    LibraryBackend() {
        OIIO::attribute("limits:imagesize_MB", kDecoderLimitMB);
        OIIO::attribute("limits:channels", 64);
    }

    std::unique_ptr<RasterReader> open(const std::string& path, const std::string& format, bool& recognised,
                                       std::string& why) override {
        recognised = false;
        auto input = OIIO::ImageInput::create(format);
        if (!input || !input->valid_file(path)) return nullptr;
        recognised = true;
        OIIO::ImageSpec spec;
        if (!input->open(path, spec)) {
            why = input->geterror();
            return nullptr;
        }
        // libheif applies the file's rotation itself; the pixels come out upright.
        return std::make_unique<LibraryReader>(std::move(input), spec, format == "heif");
    }

    bool write(const RasterImage& image, const std::string& path, const WriteRequest& request,
               std::string& why) override {
        const std::string& format = request.format;
        auto out = OIIO::ImageOutput::create(format);
        if (!out) {
            why = QT_TRANSLATE_NOOP("Failure", "this type cannot be written");
            return false;
        }
        OIIO::ImageSpec spec(image.width, image.height, image.channels, storedType(format, image.bits));
        if (image.channels == 4) {
            // The colour comes divided by alpha already: written as it is.
            spec.alpha_channel = 3;
            spec.attribute("oiio:UnassociatedAlpha", 1);
        }
        // Quality is for lossy formats only: lossless encoders read it as effort (zip level 9 is slow).
        if (format == "jpeg" || format == "webp" || format == "heif" || format == "jpeg2000")
            spec.attribute("CompressionQuality", request.quality);
        // The HEIF writer takes its coding, and its quality, only from the compression's name.
        if (format == "heif")
            spec.attribute("Compression",
                           (request.compression.empty() ? std::string("heic") : request.compression) + ":" +
                               std::to_string(request.quality));
        if (format == "openexr") spec.attribute("compression", "zip");
        if (format == "jpeg") spec.attribute("compression", "jpeg:" + std::to_string(request.quality));
        if (!request.software.empty()) spec.attribute("Software", request.software);
        if (!request.iccProfile.empty())
            spec.attribute("ICCProfile",
                           OIIO::TypeDesc(OIIO::TypeDesc::UINT8, int(request.iccProfile.size())),
                           request.iccProfile.data());
        if (!out->open(path, spec)) {
            why = out->geterror();
            return false;
        }
        const std::byte* first = image.first;
        OIIO::stride_t xstride = image.xstride, ystride = image.ystride;
        OIIO::TypeDesc type = typeForBits(image.bits);
        std::vector<float> associated;
        if (format == "webp" && image.channels == 4) {
            // The WebP writer divides the colour by alpha itself, even when told the colour is
            // unassociated, and does so on values it takes for gamma 2.2: it is handed the colour
            // multiplied the same way, so that the file gets the colour as it is.
            associated.resize(std::size_t(image.width) * std::size_t(image.height) * 4);
            for (int y = 0; y < image.height; ++y) {
                const std::byte* row = image.first + std::ptrdiff_t(y) * image.ystride;
                float* d = associated.data() + std::size_t(y) * std::size_t(image.width) * 4;
                for (int x = 0; x < image.width; ++x, d += 4) {
                    const std::byte* px = row + std::ptrdiff_t(x) * image.xstride;
                    auto value = [&](int c) -> float {
                        if (image.bits == 8) return float(reinterpret_cast<const uint8_t*>(px)[c]) / 255.0f;
                        if (image.bits == 16)
                            return float(reinterpret_cast<const uint16_t*>(px)[c]) / 65535.0f;
                        return reinterpret_cast<const float*>(px)[c];
                    };
                    const float a = value(3), k = std::pow(std::clamp(a, 0.0f, 1.0f), 1 / 2.2f);
                    for (int c = 0; c < 3; ++c) d[c] = value(c) * k;
                    d[3] = a;
                }
            }
            first = reinterpret_cast<const std::byte*>(associated.data());
            xstride = 4 * sizeof(float),
            ystride = OIIO::stride_t(std::size_t(image.width) * 4 * sizeof(float));
            type = OIIO::TypeDesc::FLOAT;
        }
        std::vector<uint8_t> packed;
        if (format == "heif") {
            // The HEIF writer copies each row at the stride of the encoder's plane, which libheif
            // pads (an 8-pixel row to 64 pixels): it reads past the row, and past the end of the
            // buffer at the last row, its own when it converted the rows first. It is handed rows it
            // takes as they are (packed, in the 8 bits it stores) with room after the last.
            packed = packedEightBits(image, kHeifRowSlackPixels);
            first = reinterpret_cast<const std::byte*>(packed.data());
            xstride = image.channels;
            ystride = OIIO::stride_t(image.width) * image.channels;
            type = OIIO::TypeDesc::UINT8;
        }
        const bool ok = out->write_image(type, first, xstride, ystride);
        if (!ok) why = out->geterror();
        if (!out->close() && ok) {
            why = out->geterror();
            return false;
        }
        return ok;
    }

    std::string formatList(const char* which) override { return OIIO::get_string_attribute(which); }

    std::vector<std::string> compressions(const std::string& format) override {
        if (format != "heif") return {};
        static const std::vector<std::string> encoders = heifEncoders();
        return encoders;
    }
};

} // namespace

} // namespace pimavo::codec

extern "C" __attribute__((visibility("default"))) pimavo::codec::RasterBackend* pimavo_raster_backend() {
    static pimavo::codec::LibraryBackend backend;
    return &backend;
}
