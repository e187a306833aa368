// Photos whose values are not sRGB, made here: a Display P3 one with a profile LittleCMS builds here
// embedded by Exiv2 (as a phone writes it), an Adobe RGB one marked only by its EXIF (as a camera
// set to Adobe RGB writes it), and a plain sRGB one. Beside them, what a direct LittleCMS conversion
// (unoptimised, in floating point) makes of their values: what the editor is to show.
//
// Each photo is 400 × 300, four flat patches of saturated colours (where the spaces differ most),
// written as a JPEG by Qt; their stored values are read back by Qt at each patch's centre.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>
#include <lcms2.h>
#include <vector>

namespace pimavo::test {

enum class PhotoSpace { DisplayP3, AdobeRgbByExif, Srgb };

inline const char* nameOf(PhotoSpace s) {
    return s == PhotoSpace::DisplayP3        ? "Display P3"
           : s == PhotoSpace::AdobeRgbByExif ? "Adobe RGB (EXIF)"
                                             : "sRGB";
}

inline std::vector<uint8_t> profileBytes(cmsHPROFILE p) {
    cmsUInt32Number n = 0;
    cmsSaveProfileToMem(p, nullptr, &n);
    std::vector<uint8_t> bytes(n);
    cmsSaveProfileToMem(p, bytes.data(), &n);
    cmsCloseProfile(p);
    return bytes;
}

inline std::vector<uint8_t> makeRgbProfile(cmsCIExyYTRIPLE primaries, cmsToneCurve* curve) {
    const cmsCIExyY d65{0.3127, 0.3290, 1};
    cmsToneCurve* curves[3] = {curve, curve, curve};
    auto bytes = profileBytes(cmsCreateRGBProfile(&d65, &primaries, curves));
    cmsFreeToneCurve(curve);
    return bytes;
}

inline std::vector<uint8_t> testDisplayP3() {
    const cmsFloat64Number srgbCurve[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return makeRgbProfile({{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}},
                          cmsBuildParametricToneCurve(nullptr, 4, srgbCurve));
}

inline std::vector<uint8_t> testAdobeRgb() {
    return makeRgbProfile({{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}},
                          cmsBuildGamma(nullptr, 2.19921875));
}

inline std::vector<uint8_t> testSrgb() {
    return profileBytes(cmsCreate_sRGBProfile());
}

// The profile the photo's values are in (sRGB for the plain one).
inline std::vector<uint8_t> profileOf(PhotoSpace s) {
    return s == PhotoSpace::DisplayP3        ? testDisplayP3()
           : s == PhotoSpace::AdobeRgbByExif ? testAdobeRgb()
                                             : testSrgb();
}

constexpr int kColourPhotoWidth = 400, kColourPhotoHeight = 300;
inline const std::array<QColor, 4> kPatchColours = {QColor(230, 40, 40), QColor(40, 200, 70),
                                                    QColor(50, 60, 220), QColor(210, 190, 60)};

// Patch i's centre as a fraction of the photo's width and height, from its top-left corner.
inline QPointF patchCentre(int i) {
    return {i % 2 == 0 ? 0.25 : 0.75, i < 2 ? 0.25 : 0.75};
}

// Writes the photo to `path` (a .jpg) with what marks its colour space.
inline void writeColourPhoto(const QString& path, PhotoSpace space) {
    QImage image(kColourPhotoWidth, kColourPhotoHeight, QImage::Format_RGB32);
    for (int i = 0; i < 4; ++i) {
        const QPointF c = patchCentre(i);
        const int x0 = c.x() < 0.5 ? 0 : kColourPhotoWidth / 2, y0 = c.y() < 0.5 ? 0 : kColourPhotoHeight / 2;
        for (int y = y0; y < y0 + kColourPhotoHeight / 2; ++y)
            for (int x = x0; x < x0 + kColourPhotoWidth / 2; ++x) image.setPixelColor(x, y, kPatchColours[i]);
    }
    ASSERT_TRUE(image.save(path, "JPEG", 98));
    auto file = Exiv2::ImageFactory::open(path.toStdString());
    file->readMetadata();
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Test";
    if (space == PhotoSpace::DisplayP3) {
        const auto p3 = testDisplayP3();
        Exiv2::DataBuf buf(p3.data(), long(p3.size()));
        file->setIccProfile(buf, true);
        exif["Exif.Photo.ColorSpace"] = uint16_t(1); // as phones write it beside a P3 profile
    } else if (space == PhotoSpace::AdobeRgbByExif) {
        exif["Exif.Photo.ColorSpace"] = uint16_t(0xFFFF); // uncalibrated
        exif["Exif.Iop.InteroperabilityIndex"] = "R03";
    } else {
        exif["Exif.Photo.ColorSpace"] = uint16_t(1);
        exif["Exif.Iop.InteroperabilityIndex"] = "R98";
    }
    file->setExifData(exif);
    file->writeMetadata();
}

// The stored value at the centre of patch i of the photo at `path`, as Qt decodes it.
inline QColor storedPatch(const QString& path, int i) {
    const QImage image(path);
    const QPointF c = patchCentre(i);
    return image.pixelColor(int(c.x() * image.width()), int(c.y() * image.height()));
}

// A colour of values in `from` as a direct LittleCMS conversion shows it on a screen of `to`.
inline QColor converted(QColor value, const std::vector<uint8_t>& from, const std::vector<uint8_t>& to) {
    cmsHPROFILE a = cmsOpenProfileFromMem(from.data(), cmsUInt32Number(from.size()));
    cmsHPROFILE b = cmsOpenProfileFromMem(to.data(), cmsUInt32Number(to.size()));
    cmsHTRANSFORM t = cmsCreateTransform(a, TYPE_RGB_DBL, b, TYPE_RGB_DBL, INTENT_RELATIVE_COLORIMETRIC,
                                         cmsFLAGS_NOOPTIMIZE);
    const double in[3] = {value.redF(), value.greenF(), value.blueF()};
    double out[3] = {};
    cmsDoTransform(t, in, out, 1);
    cmsDeleteTransform(t);
    cmsCloseProfile(a);
    cmsCloseProfile(b);
    auto level = [](double v) { return int(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    return QColor(level(out[0]), level(out[1]), level(out[2]));
}

// Whether `shown` is `expected` within three levels in each channel.
inline ::testing::AssertionResult within3(const QColor& shown, const QColor& expected) {
    const int d =
        std::max({std::abs(shown.red() - expected.red()), std::abs(shown.green() - expected.green()),
                  std::abs(shown.blue() - expected.blue())});
    if (d <= 3) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "shows " << shown.name().toStdString() << ", expected "
                                         << expected.name().toStdString() << " (off by " << d << ")";
}

} // namespace pimavo::test
