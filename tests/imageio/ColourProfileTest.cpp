// Which colour space a photo's values are in, as its file says, and conversions between profiles
// against LittleCMS's own unoptimised floating-point conversion.
#include "imageio/ColourProfile.h"

#include "imageio/ImageProperties.h"
#include "imageio/ImageWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <lcms2.h>
#include <random>
#include <string>
#include <unistd.h>

namespace pimavo {
namespace {

std::vector<uint8_t> bytesOf(cmsHPROFILE p) {
    cmsUInt32Number n = 0;
    cmsSaveProfileToMem(p, nullptr, &n);
    std::vector<uint8_t> bytes(n);
    cmsSaveProfileToMem(p, bytes.data(), &n);
    cmsCloseProfile(p);
    return bytes;
}

// sRGB described afresh, as cameras and other programs embed it: other bytes, the same space.
std::vector<uint8_t> srgbDescribedAgain() {
    const cmsCIExyY d65{0.3127, 0.3290, 1};
    const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1}, {0.30, 0.60, 1}, {0.15, 0.06, 1}};
    const cmsFloat64Number p[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, p);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    auto bytes = bytesOf(cmsCreateRGBProfile(&d65, &primaries, curves));
    cmsFreeToneCurve(curve);
    return bytes;
}

// LittleCMS's conversion from `from` to `to` in floating point, without its optimisations.
class Reference {
public:
    Reference(const std::vector<uint8_t>& from, const std::vector<uint8_t>& to)
        : a_(open(from)), z_(open(to)),
          t_(cmsCreateTransform(a_, TYPE_RGB_DBL, z_, TYPE_RGB_DBL, INTENT_RELATIVE_COLORIMETRIC,
                                cmsFLAGS_NOOPTIMIZE)) {}
    ~Reference() {
        cmsDeleteTransform(t_);
        cmsCloseProfile(a_);
        cmsCloseProfile(z_);
    }
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;
    std::array<double, 3> operator()(std::array<double, 3> rgb) const {
        std::array<double, 3> out{};
        cmsDoTransform(t_, rgb.data(), out.data(), 1);
        for (double& v : out) v = std::clamp(v, 0.0, 1.0);
        return out;
    }

private:
    static cmsHPROFILE open(const std::vector<uint8_t>& b) {
        return b.empty() ? cmsCreate_sRGBProfile()
                         : cmsOpenProfileFromMem(b.data(), cmsUInt32Number(b.size()));
    }
    cmsHPROFILE a_, z_;
    cmsHTRANSFORM t_;
};

TEST(ColourProfile, APhotosColourSpaceIsItsProfileElseWhatItsExifSays) {
    const std::vector<uint8_t> p3 = displayP3Profile();
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> exif;
        bool embedP3;
        std::vector<uint8_t> expected;
    } cases[] = {
        {"nothing said", {}, false, {}},
        {"Adobe RGB by DCF",
         {{"Exif.Photo.ColorSpace", "65535"}, {"Exif.Iop.InteroperabilityIndex", "R03"}},
         false,
         adobeRgbProfile()},
        {"Adobe RGB by index alone", {{"Exif.Iop.InteroperabilityIndex", "R03"}}, false, adobeRgbProfile()},
        {"Adobe RGB as some cameras say it", {{"Exif.Photo.ColorSpace", "2"}}, false, adobeRgbProfile()},
        {"sRGB said, whatever the index",
         {{"Exif.Photo.ColorSpace", "1"}, {"Exif.Iop.InteroperabilityIndex", "R03"}},
         false,
         {}},
        {"uncalibrated sRGB index",
         {{"Exif.Photo.ColorSpace", "65535"}, {"Exif.Iop.InteroperabilityIndex", "R98"}},
         false,
         {}},
        {"embedded profile wins",
         {{"Exif.Photo.ColorSpace", "65535"}, {"Exif.Iop.InteroperabilityIndex", "R03"}},
         true,
         p3},
    };
    const auto dir =
        std::filesystem::temp_directory_path() / ("colour-profile-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    Bitmap picture(8, 8, PixelLayout{8, AlphaInfo::NoneSkipLast});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = (dir / "photo.jpg").string();
        SaveOptions options;
        options.mimeType = "image/jpeg";
        std::string why;
        ASSERT_TRUE(writeImageFile(picture, path, options, nullptr, &why)) << why;
        {
            auto file = Exiv2::ImageFactory::open(path);
            file->readMetadata();
            Exiv2::ExifData exif;
            for (const auto& [key, value] : c.exif) {
                if (key == "Exif.Photo.ColorSpace")
                    exif[key] = uint16_t(std::stoi(value));
                else
                    exif[key] = value;
            }
            file->setExifData(exif);
            if (c.embedP3) {
                Exiv2::DataBuf buf(p3.data(), long(p3.size()));
                file->setIccProfile(buf, true);
            }
            file->writeMetadata();
        }
        EXPECT_EQ(photoProfile(ImageProperties::readFromFile(path)), c.expected);
    }
    std::filesystem::remove_all(dir);
}

TEST(ColourProfile, ConversionsGiveLittleCmsColoursAndNoneBetweenTheSameSpace) {
    struct Case {
        const char* name;
        std::vector<uint8_t> from, to;
        bool converts;
    } cases[] = {
        {"Display P3 to sRGB", displayP3Profile(), {}, true},
        {"Adobe RGB to sRGB", adobeRgbProfile(), srgbProfile(), true},
        {"sRGB to Adobe RGB", {}, adobeRgbProfile(), true},
        {"Adobe RGB to Display P3", adobeRgbProfile(), displayP3Profile(), true},
        {"sRGB to sRGB", {}, srgbProfile(), false},
        {"sRGB described twice", srgbDescribedAgain(), {}, false},
        {"Display P3 to itself", displayP3Profile(), displayP3Profile(), false},
        {"unreadable bytes", {1, 2, 3, 4}, {}, false},
    };
    // A grid through the cube, ends included, and a few colours off it, so that the row's length is
    // no multiple of the pixels converted at once.
    std::vector<std::array<int, 3>> colours;
    for (int r = 0; r <= 255; r += 15)
        for (int g = 0; g <= 255; g += 15)
            for (int b = 0; b <= 255; b += 15) colours.push_back({r, g, b});
    colours.insert(colours.end(), {{1, 2, 3}, {254, 253, 252}, {128, 0, 255}, {0, 255, 128}, {37, 99, 201}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto t = ColourTransform::between(c.from, c.to);
        ASSERT_EQ(bool(t), c.converts);
        if (!t) continue;
        // As Qt lays out its 32-bit pixels (B, G, R, A), in a row with room to spare at its end.
        const int width = int(colours.size()), stride = width * 4 + 12;
        std::vector<uint8_t> row(std::size_t(stride), 7);
        for (int i = 0; i < width; ++i) {
            const auto [r, g, b] = colours[std::size_t(i)];
            std::copy_n(std::array<uint8_t, 4>{uint8_t(b), uint8_t(g), uint8_t(r), uint8_t(i % 256)}.data(),
                        4, row.data() + 4 * i);
        }
        t->convertBgra8(row.data(), width, 1, stride);
        // And a 16-bit RGBA bitmap, as pictures are printed and shared.
        Bitmap deep(width, 1, PixelLayout{16, AlphaInfo::Last});
        for (int i = 0; i < width; ++i) {
            for (int k = 0; k < 3; ++k)
                deep.setComponent(i, 0, k, float(colours[std::size_t(i)][std::size_t(k)] / 255.0));
            deep.setComponent(i, 0, 3, 1);
        }
        t->convert(deep);
        const Reference reference(c.from, c.to);
        int worst8 = 0;
        double worst16 = 0;
        for (int i = 0; i < width; ++i) {
            const auto [r, g, b] = colours[std::size_t(i)];
            const auto want = reference({r / 255.0, g / 255.0, b / 255.0});
            const uint8_t* px = row.data() + 4 * i;
            const int got[3] = {px[2], px[1], px[0]};
            for (int k = 0; k < 3; ++k) {
                worst8 = std::max(worst8, std::abs(got[k] - int(std::lround(want[std::size_t(k)] * 255))));
                worst16 = std::max(worst16, std::abs(deep.component(i, 0, k) - want[std::size_t(k)]) * 255);
            }
            EXPECT_EQ(px[3], uint8_t(i % 256)) << "alpha is left as it is";
            EXPECT_EQ(deep.component(i, 0, 3), 1.0f);
        }
        EXPECT_LE(worst8, 3);
        EXPECT_LE(worst16, 1.0);
        EXPECT_EQ(row[std::size_t(stride) - 1], 7) << "nothing past the row's pixels is touched";
    }
}

// Whole pictures take shortcuts (greys, colours met before, rows split across cores); each pixel must
// still come out as it does converted on its own.
TEST(ColourProfile, APictureConvertsAsItsPixelsDoOneByOne) {
    const auto p3 = ColourTransform::between(displayP3Profile(), {});
    const auto adobe = ColourTransform::between(adobeRgbProfile(), {}); // moves greys too
    ASSERT_TRUE(p3 && adobe);
    using Pixel = std::function<std::array<uint8_t, 3>(int x, int y, std::mt19937& random)>;
    struct Case {
        const char* name;
        Pixel pixel;
    } cases[] = {
        {"a grey background",
         [](int x, int y, std::mt19937&) {
             return std::array<uint8_t, 3>{uint8_t(x + y), uint8_t(x + y), uint8_t(x + y)};
         }},
        {"a tinted background, its few colours over and over",
         [](int x, int y, std::mt19937&) {
             const int l = (x * 3 + y) % 256;
             return std::array<uint8_t, 3>{uint8_t(l), uint8_t(l * 9 / 10), uint8_t(l * 3 / 4)};
         }},
        {"colours that never repeat",
         [](int, int, std::mt19937& random) {
             return std::array<uint8_t, 3>{uint8_t(random()), uint8_t(random()), uint8_t(random())};
         }},
        {"grey with a colour here and there",
         [](int x, int y, std::mt19937& random) {
             if ((x + 3 * y) % 13 == 0) return std::array<uint8_t, 3>{uint8_t(random()), 40, 200};
             return std::array<uint8_t, 3>{uint8_t(y), uint8_t(y), uint8_t(y)};
         }},
        {"repeated colours broken by rows of noise",
         [](int x, int y, std::mt19937& random) {
             if (y % 40 < 3)
                 return std::array<uint8_t, 3>{uint8_t(random()), uint8_t(random()), uint8_t(random())};
             return std::array<uint8_t, 3>{uint8_t(x % 7 * 30), uint8_t(200 - y % 11), 90};
         }},
    };
    // Enough pixels to be split across cores, and a width no multiple of those converted at once.
    constexpr int W = 613, H = 450, stride = W * 4 + 8;
    for (const Case& c : cases) {
        for (const auto* t : {p3.get(), adobe.get()}) {
            SCOPED_TRACE(std::string(c.name) + (t == p3.get() ? ", Display P3" : ", Adobe RGB"));
            std::mt19937 random(5);
            std::vector<uint8_t> picture(std::size_t(stride) * H, 7);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const auto [r, g, b] = c.pixel(x, y, random);
                    uint8_t* px = picture.data() + std::size_t(y) * stride + std::size_t(x) * 4;
                    px[0] = b, px[1] = g, px[2] = r, px[3] = uint8_t(x * y);
                }
            std::vector<uint8_t> alone = picture;
            t->convertBgra8(picture.data(), W, H, stride);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    t->convertBgra8(alone.data() + std::size_t(y) * stride + std::size_t(x) * 4, 1, 1, 4);
            int differing = 0;
            for (std::size_t i = 0; i < picture.size(); ++i) differing += picture[i] != alone[i];
            EXPECT_EQ(differing, 0);
        }
    }
}

} // namespace
} // namespace pimavo
