#include "ColourProfile.h"

#include "ImageProperties.h"
#include "engine/Simd.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <lcms2.h>
#include <map>
#include <mutex>
#include <string>
#include <tbb/parallel_for.h>
#include <utility>

namespace pimavo {

namespace {

struct ProfileCloser {
    void operator()(void* p) const { cmsCloseProfile(p); }
};
using ProfilePtr = std::unique_ptr<void, ProfileCloser>;

std::vector<uint8_t> bytesOf(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    if (!profile || !cmsSaveProfileToMem(profile, nullptr, &size)) return {};
    std::vector<uint8_t> bytes(size);
    if (!cmsSaveProfileToMem(profile, bytes.data(), &size)) return {};
    bytes.resize(size);
    return bytes;
}

void describe(cmsHPROFILE profile, const char* name) {
    cmsMLU* text = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(text, "en", "US", name);
    cmsWriteTag(profile, cmsSigProfileDescriptionTag, text);
    cmsMLUfree(text);
}

// A matrix-shaper profile from xy primaries under D65, the same tone curve on each channel.
std::vector<uint8_t> makeProfile(const char* name, cmsCIExyYTRIPLE primaries, cmsToneCurve* curve) {
    cmsCIExyY white{0.3127, 0.3290, 1}; // D65
    cmsToneCurve* curves[3] = {curve, curve, curve};
    ProfilePtr profile(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(curve);
    if (!profile) return {};
    describe(profile.get(), name);
    return bytesOf(profile.get());
}

cmsToneCurve* srgbCurve() {
    // IEC 61966-2-1: a line near black, then a 2.4 power.
    const cmsFloat64Number p[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return cmsBuildParametricToneCurve(nullptr, 4, p);
}

// Bytes that LittleCMS reads as an RGB profile usable for input and output, else null.
ProfilePtr openRgb(std::span<const uint8_t> bytes) {
    ProfilePtr p(bytes.empty() ? cmsCreate_sRGBProfile()
                               : cmsOpenProfileFromMem(bytes.data(), cmsUInt32Number(bytes.size())));
    if (!p || cmsGetColorSpace(p.get()) != cmsSigRgbData) return nullptr;
    return p;
}

cmsUInt32Number formatOf(const PixelLayout& layout) {
    cmsUInt32Number f = COLORSPACE_SH(PT_RGB) | CHANNELS_SH(3);
    f |= layout.bitsPerComponent == 32 ? BYTES_SH(4) | FLOAT_SH(1) : BYTES_SH(layout.bitsPerComponent / 8);
    if (layout.componentsPerPixel() == 4) f |= EXTRA_SH(1);
    if (layout.alphaFirst()) f |= SWAPFIRST_SH(1);
    if (layout.premultiplied()) f |= PREMUL_SH(1);
    return f;
}

// Pixels are converted in place, where LittleCMS leaves alpha as it was without being asked to copy
// it: asking would cost a second pass over the pixels, and triple the time of a display conversion.
constexpr cmsUInt32Number kFlags = cmsFLAGS_NOCACHE;

// Whether the conversion moves no 8-bit value by more than a level, on a grid through the cube that
// takes in each channel's ends.
bool movesNothing(cmsHTRANSFORM t) {
    std::vector<uint8_t> in, out;
    for (int r = 0; r <= 255; r += 5)
        for (int g = 0; g <= 255; g += 5)
            for (int b = 0; b <= 255; b += 5) in.insert(in.end(), {uint8_t(b), uint8_t(g), uint8_t(r), 255});
    out = in;
    cmsDoTransform(t, out.data(), out.data(), cmsUInt32Number(out.size() / 4));
    for (std::size_t i = 0; i < in.size(); ++i)
        if (std::abs(int(in[i]) - int(out[i])) > 1) return false;
    return true;
}

} // namespace

namespace {

// Colours a conversion has lately made, looked up by a hash of the colour: a treated background
// has a few hundred colours and a painted sky a few thousand, each converted once rather than at
// every pixel. Each thread keeps one, for the conversion it last made, from one call to the next:
// a stroke's small rectangles find the background's colours already there.
struct ColourMemo {
    static constexpr int kBits = 13;
    static constexpr uint32_t kEmpty = 0xffffffff; // no 24-bit colour
    alignas(64) std::array<uint32_t, 1 << kBits> colours;
    alignas(64) std::array<uint32_t, 1 << kBits> converted;
    uint64_t conversion = 0; // whose colours these are

    static ColourMemo& of(uint64_t conversion) {
        thread_local ColourMemo memo;
        if (memo.conversion != conversion) {
            memo.colours.fill(kEmpty);
            memo.conversion = conversion;
        }
        return memo;
    }
};

// The conversion between two matrix-shaper profiles (nearly every photo's and screen's), for 8-bit
// pixels, done here: LittleCMS takes each pixel through 16 bits and back, three times as long. The
// source's tone curves as tables, one matrix from its linear values to the destination's, and the
// destination's inverse curves as tables indexed by the square root of linear light, fine enough
// near black for gamma curves, whose slope there is steep.
struct MatrixShaper8 {
    static constexpr int kSteps = 4096;
    std::array<std::array<float, 256>, 3> linear;
    float m[3][3];
    // Three bytes over (zero, as make_unique leaves them), so that a 32-bit read at the last entry
    // (how the vector path looks values up) stays inside.
    std::array<std::array<uint8_t, kSteps + 1 + 3>, 3> encode;
    // What each grey becomes, as 0x00RRGGBB; and whether that is the grey itself, as it is between
    // profiles with the same white and tone curves (Display P3 and sRGB): the grey of a treated
    // background, most of what this editor shows, is then left as it is.
    std::array<uint32_t, 256> grey;
    bool greysKept = false;
    uint64_t id = 0; // for the memo: this conversion's own number, never reused

    // Converts a row; returns how many pixels were converted rather than found in the memo.
    int convert(uint8_t* row, int width, ColourMemo* memo) const;
    void convertScalar(uint8_t* row, int width) const {
        for (int x = 0; x < width; ++x, row += 4) {
            const float r = linear[0][row[2]], g = linear[1][row[1]], b = linear[2][row[0]];
            // Fused as the vector path fuses them, so that a pixel comes out the same in either.
            for (int c = 0; c < 3; ++c) {
                const float v =
                    std::clamp(std::fma(m[c][2], b, std::fma(m[c][1], g, m[c][0] * r)), 0.0f, 1.0f);
                row[2 - c] = encode[std::size_t(c)][std::size_t(std::fma(std::sqrt(v), float(kSteps), 0.5f))];
            }
        }
    }
};

#ifdef PIMAVO_HAVE_AVX2
// One output channel of eight pixels from their linear values, encoded, in the low byte of each lane.
PIMAVO_AVX2 inline __m256i encodeAvx2(const MatrixShaper8& s, int c, __m256 r, __m256 g, __m256 b) {
    const float* m = s.m[c];
    __m256 v =
        _mm256_fmadd_ps(_mm256_set1_ps(m[2]), b,
                        _mm256_fmadd_ps(_mm256_set1_ps(m[1]), g, _mm256_mul_ps(_mm256_set1_ps(m[0]), r)));
    v = _mm256_min_ps(_mm256_max_ps(v, _mm256_setzero_ps()), _mm256_set1_ps(1));
    const __m256i at = _mm256_cvttps_epi32(_mm256_fmadd_ps(
        _mm256_sqrt_ps(v), _mm256_set1_ps(float(MatrixShaper8::kSteps)), _mm256_set1_ps(0.5f)));
    const auto* table = reinterpret_cast<const int*>(s.encode[std::size_t(c)].data());
    return _mm256_and_si256(_mm256_i32gather_epi32(table, at, 1), _mm256_set1_epi32(0xff));
}

// Eight pixels' colours (0x00RRGGBB in each lane) converted.
PIMAVO_AVX2 inline __m256i convert8Avx2(const MatrixShaper8& s, __m256i rgb) {
    const __m256i low = _mm256_set1_epi32(0xff);
    const __m256 b = _mm256_i32gather_ps(s.linear[2].data(), _mm256_and_si256(rgb, low), 4);
    const __m256 g =
        _mm256_i32gather_ps(s.linear[1].data(), _mm256_and_si256(_mm256_srli_epi32(rgb, 8), low), 4);
    const __m256 r = _mm256_i32gather_ps(s.linear[0].data(), _mm256_srli_epi32(rgb, 16), 4);
    return _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi32(encodeAvx2(s, 0, r, g, b), 16),
                                           _mm256_slli_epi32(encodeAvx2(s, 1, r, g, b), 8)),
                           encodeAvx2(s, 2, r, g, b));
}

// Eight pixels at once, the table look-ups as gathers: a full redraw of a photo whose colours the
// screen does not share would otherwise cost more than drawing it. Eight greys, and eight colours
// all in the memo, cost a look-up or nothing. Returns how many pixels it converted (the rest of the
// row is left to the plain loop) and adds the colours the memo lacked to misses.
PIMAVO_AVX2 int convertAvx2(const MatrixShaper8& s, uint8_t* row, int width, ColourMemo* memo, int& misses) {
    const __m256i colour = _mm256_set1_epi32(0x00ffffff);
    const __m256i low16 = _mm256_set1_epi32(0xffff);
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        auto* at = reinterpret_cast<__m256i*>(row + std::ptrdiff_t(x) * 4);
        const __m256i px = _mm256_loadu_si256(at);
        const __m256i rgb = _mm256_and_si256(px, colour);
        const __m256i alpha = _mm256_andnot_si256(colour, px);
        // Grey where red equals green and green blue: the pixel's low 16 bits equal the next 16.
        const __m256i greys = _mm256_cmpeq_epi32(_mm256_and_si256(rgb, low16), _mm256_srli_epi32(rgb, 8));
        if (_mm256_movemask_epi8(greys) == -1) {
            if (s.greysKept) continue;
            const __m256i out = _mm256_i32gather_epi32(reinterpret_cast<const int*>(s.grey.data()),
                                                       _mm256_and_si256(rgb, _mm256_set1_epi32(0xff)), 4);
            _mm256_storeu_si256(at, _mm256_or_si256(alpha, out));
            continue;
        }
        if (!memo) {
            _mm256_storeu_si256(at, _mm256_or_si256(alpha, convert8Avx2(s, rgb)));
            continue;
        }
        const __m256i slot = _mm256_srli_epi32(_mm256_mullo_epi32(rgb, _mm256_set1_epi32(int(0x9e3779b1u))),
                                               32 - ColourMemo::kBits);
        const __m256i known =
            _mm256_i32gather_epi32(reinterpret_cast<const int*>(memo->colours.data()), slot, 4);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(known, rgb)) == -1) {
            const __m256i out =
                _mm256_i32gather_epi32(reinterpret_cast<const int*>(memo->converted.data()), slot, 4);
            _mm256_storeu_si256(at, _mm256_or_si256(alpha, out));
            continue;
        }
        const __m256i out = convert8Avx2(s, rgb);
        _mm256_storeu_si256(at, _mm256_or_si256(alpha, out));
        alignas(32) uint32_t slots[8], colours[8], results[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(slots), slot);
        _mm256_store_si256(reinterpret_cast<__m256i*>(colours), rgb);
        _mm256_store_si256(reinterpret_cast<__m256i*>(results), out);
        for (int i = 0; i < 8; ++i) {
            memo->colours[slots[i]] = colours[i];
            memo->converted[slots[i]] = results[i];
        }
        misses += 8;
    }
    return x;
}
#endif

int MatrixShaper8::convert(uint8_t* row, int width, ColourMemo* memo) const {
    int done = 0, misses = 0;
#ifdef PIMAVO_HAVE_AVX2
    if (cpuHasAvx2()) done = convertAvx2(*this, row, width, memo, misses);
#endif
    convertScalar(row + std::ptrdiff_t(done) * 4, width - done);
    return misses + (width - done);
}

std::unique_ptr<MatrixShaper8> makeMatrixShaper(cmsHPROFILE from, cmsHPROFILE to) {
    if (!cmsIsMatrixShaper(from) || !cmsIsMatrixShaper(to)) return nullptr;
    const cmsTagSignature trc[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    const cmsTagSignature colorant[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag};
    // Each profile's RGB to XYZ: the colorants (adapted to D50 by the profile) as columns.
    double a[3][3], b[3][3];
    for (int c = 0; c < 3; ++c) {
        const auto* x = static_cast<const cmsCIEXYZ*>(cmsReadTag(from, colorant[c]));
        const auto* y = static_cast<const cmsCIEXYZ*>(cmsReadTag(to, colorant[c]));
        if (!x || !y) return nullptr;
        a[0][c] = x->X, a[1][c] = x->Y, a[2][c] = x->Z;
        b[0][c] = y->X, b[1][c] = y->Y, b[2][c] = y->Z;
    }
    const double det = b[0][0] * (b[1][1] * b[2][2] - b[1][2] * b[2][1]) -
                       b[0][1] * (b[1][0] * b[2][2] - b[1][2] * b[2][0]) +
                       b[0][2] * (b[1][0] * b[2][1] - b[1][1] * b[2][0]);
    if (std::abs(det) < 1e-9) return nullptr;
    double inv[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            // The cofactor of b[j][i], over the determinant.
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            inv[i][j] = (b[r0][c0] * b[r1][c1] - b[r0][c1] * b[r1][c0]) / det;
        }
    auto s = std::make_unique<MatrixShaper8>();
    static std::atomic<uint64_t> made = 0;
    s->id = ++made;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            s->m[i][j] = float(inv[i][0] * a[0][j] + inv[i][1] * a[1][j] + inv[i][2] * a[2][j]);
    for (int c = 0; c < 3; ++c) {
        const auto* in = static_cast<const cmsToneCurve*>(cmsReadTag(from, trc[c]));
        const auto* out = static_cast<const cmsToneCurve*>(cmsReadTag(to, trc[c]));
        if (!in || !out) return nullptr;
        cmsToneCurve* reverse = cmsReverseToneCurve(out);
        if (!reverse) return nullptr;
        for (int v = 0; v < 256; ++v)
            s->linear[std::size_t(c)][std::size_t(v)] = cmsEvalToneCurveFloat(in, float(v) / 255);
        for (int i = 0; i <= MatrixShaper8::kSteps; ++i) {
            const float lin = float(i) / MatrixShaper8::kSteps;
            const float e = std::clamp(cmsEvalToneCurveFloat(reverse, lin * lin), 0.0f, 1.0f);
            s->encode[std::size_t(c)][std::size_t(i)] = uint8_t(std::lround(e * 255));
        }
        cmsFreeToneCurve(reverse);
    }
    s->greysKept = true;
    for (int v = 0; v < 256; ++v) {
        uint8_t px[4] = {uint8_t(v), uint8_t(v), uint8_t(v), 0};
        s->convertScalar(px, 1);
        s->grey[std::size_t(v)] = uint32_t(px[2]) << 16 | uint32_t(px[1]) << 8 | px[0];
        s->greysKept = s->greysKept && s->grey[std::size_t(v)] == uint32_t(v) * 0x010101u;
    }
    return s;
}

} // namespace

struct ColourTransform::Handles {
    ProfilePtr from, to;
    cmsHTRANSFORM bgra8 = nullptr;
    std::unique_ptr<MatrixShaper8> fast;
    ~Handles() {
        if (bgra8) cmsDeleteTransform(bgra8);
    }
};

const std::vector<uint8_t>& srgbProfile() {
    static const std::vector<uint8_t> bytes = [] {
        ProfilePtr p(cmsCreate_sRGBProfile());
        return bytesOf(p.get());
    }();
    return bytes;
}

const std::vector<uint8_t>& adobeRgbProfile() {
    static const std::vector<uint8_t> bytes = [] {
        // Its tone curve is a pure power of 563/256.
        return makeProfile("Adobe RGB (1998)", {{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}},
                           cmsBuildGamma(nullptr, 563.0 / 256.0));
    }();
    return bytes;
}

const std::vector<uint8_t>& displayP3Profile() {
    static const std::vector<uint8_t> bytes = [] {
        return makeProfile("Display P3", {{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}},
                           srgbCurve());
    }();
    return bytes;
}

std::vector<uint8_t> photoProfile(const ImageProperties& properties) {
    if (!properties.iccProfile().empty()) return properties.iccProfile();
    const auto space = properties.exifValue("Exif.Photo.ColorSpace");
    if (space == "1") return {}; // sRGB, whatever the index says
    if (space == "2") return adobeRgbProfile();
    const auto index = properties.exifValue("Exif.Iop.InteroperabilityIndex");
    if (index && index->starts_with("R03")) return adobeRgbProfile();
    return {};
}

ColourTransform::ColourTransform(std::unique_ptr<Handles> handles) : h_(std::move(handles)) {}
ColourTransform::~ColourTransform() = default;

std::shared_ptr<const ColourTransform> ColourTransform::between(std::span<const uint8_t> from,
                                                                std::span<const uint8_t> to) {
    // A handful of pairs in a session (a photo or two, one screen, sRGB for copies), each costly to
    // make: kept for the program's life, nulls too.
    static std::mutex mutex;
    static std::map<std::pair<std::string, std::string>, std::shared_ptr<const ColourTransform>> made;
    std::pair<std::string, std::string> key{std::string(from.begin(), from.end()),
                                            std::string(to.begin(), to.end())};
    std::lock_guard lock(mutex);
    if (auto it = made.find(key); it != made.end()) return it->second;
    std::shared_ptr<const ColourTransform> result;
    auto h = std::make_unique<Handles>();
    h->from = openRgb(from);
    h->to = openRgb(to);
    if (h->from && h->to) {
        h->bgra8 = cmsCreateTransform(h->from.get(), TYPE_BGRA_8, h->to.get(), TYPE_BGRA_8,
                                      INTENT_RELATIVE_COLORIMETRIC, kFlags);
        if (h->bgra8 && !movesNothing(h->bgra8)) {
            h->fast = makeMatrixShaper(h->from.get(), h->to.get());
            result = std::shared_ptr<const ColourTransform>(new ColourTransform(std::move(h)));
        }
    }
    made.emplace(std::move(key), result);
    return result;
}

void ColourTransform::convertBgra8(uint8_t* pixels, int width, int height, std::ptrdiff_t bytesPerRow) const {
    if (width <= 0 || height <= 0) return;
    const auto run = [&](int y0, int y1) {
        if (h_->fast) {
            // A picture with colours of its own throughout (noise, confetti) would only pay for the
            // memo: after a row where it spared less than a third of the conversions, the next rows
            // go without it.
            constexpr int kRowsWithout = 16;
            ColourMemo& memo = ColourMemo::of(h_->fast->id);
            int without = 0;
            for (int y = y0; y < y1; ++y) {
                uint8_t* row = pixels + y * bytesPerRow;
                if (without > 0) {
                    --without;
                    h_->fast->convert(row, width, nullptr);
                } else if (h_->fast->convert(row, width, &memo) * 10 > width * 7) {
                    without = kRowsWithout;
                }
            }
            return;
        }
        cmsDoTransformLineStride(h_->bgra8, pixels + y0 * bytesPerRow, pixels + y0 * bytesPerRow,
                                 cmsUInt32Number(width), cmsUInt32Number(y1 - y0),
                                 cmsUInt32Number(bytesPerRow), cmsUInt32Number(bytesPerRow), 0, 0);
    };
    // A window's worth is split across the cores; a brush stroke's few rows are not worth a task.
    constexpr int kRowsPerTask = 64;
    if (std::int64_t(width) * height < 256 * 1024) {
        run(0, height);
        return;
    }
    tbb::parallel_for(0, (height + kRowsPerTask - 1) / kRowsPerTask, [&](int band) {
        run(band * kRowsPerTask, std::min(height, (band + 1) * kRowsPerTask));
    });
}

void ColourTransform::convert(Bitmap& bitmap) const {
    if (bitmap.isNull()) return;
    const cmsUInt32Number format = formatOf(bitmap.layout());
    // Deeper than 8 bits, LittleCMS would go through a sampled table, off by several levels where
    // colours leave the gamut; a picture printed or shared once is worth the exact pipeline.
    const cmsUInt32Number flags = kFlags | (bitmap.bitsPerComponent() > 8 ? cmsFLAGS_NOOPTIMIZE : 0);
    cmsHTRANSFORM t =
        cmsCreateTransform(h_->from.get(), format, h_->to.get(), format, INTENT_RELATIVE_COLORIMETRIC, flags);
    if (!t) return;
    const std::ptrdiff_t stride = std::ptrdiff_t(bitmap.bytesPerRow());
    tbb::parallel_for(0, bitmap.height(), [&](int y) {
        cmsDoTransformLineStride(t, bitmap.row(y), bitmap.row(y), cmsUInt32Number(bitmap.width()), 1,
                                 cmsUInt32Number(stride), cmsUInt32Number(stride), 0, 0);
    });
    cmsDeleteTransform(t);
}

namespace {
std::mutex screenMutex;
std::vector<uint8_t> screen;
uint64_t generation = 0;
} // namespace

void setScreenProfile(std::vector<uint8_t> profile) {
    std::lock_guard lock(screenMutex);
    if (profile == screen) return;
    screen = std::move(profile);
    ++generation;
}

std::vector<uint8_t> screenProfile() {
    std::lock_guard lock(screenMutex);
    return screen;
}

uint64_t screenProfileGeneration() {
    std::lock_guard lock(screenMutex);
    return generation;
}

std::shared_ptr<const ColourTransform> displayTransform(std::span<const uint8_t> photoProfile) {
    return ColourTransform::between(photoProfile, screenProfile());
}

} // namespace pimavo
