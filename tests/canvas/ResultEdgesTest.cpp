// The full-resolution result up to its very edges: the enlarged working-size mask and the stretched
// vignette picture must not fade along the border of the picture.
#include "CanvasTestPictures.h"
#include "canvas/CanvasProject.h"
#include "engine/Renderer.h"
#include "filters/Resources.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "session/EditSession.h"

#include <QTemporaryFile>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

struct Canvas {
    EditSession session;
    CanvasModel model;
    explicit Canvas(BitmapRef photo)
        : model(std::move(photo), &session, CanvasModel::OpenedPhotoCache::Never) {
        model.createMaskBuffer();
    }
};

// With the mask white everywhere the result is the photo itself, at every pixel, whichever way the
// working size was rounded.
TEST(ResultEdges, AnAllWhiteMaskGivesThePhotoAtEveryPixel) {
    struct Case {
        int w, h;
    } cases[] = {
        {2001, 1333}, // the working height rounds down
        {1333, 2001}, // portrait: the working width rounds down
        {3001, 2003}, // both odd, a factor near 1.7
        {1601, 1601}, // square: nothing rounds, only the border could fade
        {2345, 1789},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        const BitmapRef photo = speckledPhoto(c.w, c.h);
        Canvas canvas(photo);
        ASSERT_GT(canvas.model.scaleFactorFromOriginal(), 1);
        canvas.model.painting().invertMask();
        const auto result = canvas.model.resultImage();
        ASSERT_TRUE(result);
        const Bitmap& got = **result;
        ASSERT_EQ(got.width(), c.w);
        ASSERT_EQ(got.height(), c.h);
        int wrong = 0, firstX = -1, firstY = -1;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                for (int k = 1; k <= 3; ++k)
                    if (std::lround(got.component(x, y, k) * 255) !=
                        std::lround(photo->component(x, y, k) * 255)) {
                        if (wrong++ == 0) firstX = x, firstY = y;
                        break;
                    }
        EXPECT_EQ(wrong, 0) << "first at (" << firstX << ", " << firstY << "), rows top-down";
    }
}

// The vignette picture as the user should see it: stretched over the image with its edge pixels
// extended, so that no border fades. `g` is its green channel, y up.
struct VignetteReference {
    int w = 0, h = 0;
    std::vector<float> g;
    VignetteReference() {
        const auto data = resourceData("Vignette", "jpg");
        if (!data) return;
        QTemporaryFile file;
        file.setFileTemplate(file.fileTemplate() + ".jpg");
        if (!file.open()) return;
        file.write(data->data(), qint64(data->size()));
        file.flush();
        const DecodeResult r = decodeImageFile(file.fileName().toStdString(), false);
        if (!r.image) return;
        const Image picture = Image::imageWithBitmap(r.image->bitmap);
        w = int(picture.extent().width()), h = int(picture.extent().height());
        std::vector<float> rgba(std::size_t(w) * h * 4);
        Renderer().render(picture, RectF(0, 0, w, h), PixelFormat::RGBAf, rgba.data(), w * 16);
        g.resize(std::size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                g[std::size_t(y) * w + x] = rgba[(std::size_t(h - 1 - y) * w + x) * 4 + 1];
    }
    float at(int x, int y) const {
        return g[std::size_t(std::clamp(y, 0, h - 1)) * w + std::clamp(x, 0, w - 1)];
    }
    // The darkening of pixel (x, y) of an image of size W × H.
    double factor(int x, int y, int W, int H) const {
        const double u = std::clamp((x + 0.5) * w / W - 0.5, 0.0, w - 1.0);
        const double v = std::clamp((y + 0.5) * h / H - 0.5, 0.0, h - 1.0);
        const int i = int(u), j = int(v);
        const double fx = u - i, fy = v - j;
        return (at(i, j) * (1 - fx) + at(i + 1, j) * fx) * (1 - fy) +
               (at(i, j + 1) * (1 - fx) + at(i + 1, j + 1) * fx) * fy;
    }
};

std::vector<float> renderFloat(const Image& image, int W, int H) {
    std::vector<float> px(std::size_t(W) * H * 4);
    Renderer().render(image, RectF(0, 0, W, H), PixelFormat::RGBAf, px.data(), W * 16);
    return px;
}

// With the vignette at full strength, each edge pixel is the plain picture darkened by exactly what
// the vignette picture says there; no darker frame along the border.
TEST(ResultEdges, TheVignetteDrawsNoFrame) {
    const VignetteReference vignette;
    ASSERT_FALSE(vignette.g.empty());
    struct Case {
        int w, h;
        bool fullSize;
    } cases[] = {{640, 480, false}, {333, 517, false}, {2001, 1333, false}, {2001, 1333, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h) + (c.fullSize ? " full" : " working"));
        Canvas canvas(speckledPhoto(c.w, c.h));
        CanvasModel& m = canvas.model;
        auto compose = [&] {
            return c.fullSize ? m.fullSizeImageForDisplay(false) : m.zoomedImageForDisplay(false);
        };
        const Image plainImage = compose();
        const int W = int(plainImage.extent().width()), H = int(plainImage.extent().height());
        const std::vector<float> plain = renderFloat(plainImage, W, H);
        changePictureSettings(m, [&](PictureSettings& ps) { ps.vignette = 1; });
        const std::vector<float> dark = renderFloat(compose(), W, H);
        double worst = 0;
        int worstX = 0, worstY = 0;
        auto check = [&](int x, int y) {
            const std::size_t at = (std::size_t(H - 1 - y) * W + x) * 4; // buffer rows top-down
            const double want = plain[at + 1] * vignette.factor(x, y, W, H);
            const double d = std::abs(dark[at + 1] - want);
            if (d > worst) worst = d, worstX = x, worstY = y;
        };
        for (int x = 0; x < W; ++x)
            for (int y : {0, 1, 2, H / 2, H - 3, H - 2, H - 1}) check(x, y);
        for (int y = 0; y < H; ++y)
            for (int x : {0, 1, 2, W / 2, W - 3, W - 2, W - 1}) check(x, y);
        EXPECT_LT(worst, 1.0 / 512) << "at (" << worstX << ", " << worstY << "), y up, of " << W << " x "
                                    << H;
    }
}

} // namespace
} // namespace pimavo::test
