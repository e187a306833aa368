// The full-resolution result up to its very edges: the enlarged working-size mask must not fade
// along the border of the picture.
#include "canvas/CanvasModel.h"
#include "canvas/HeadlessOwner.h"
#include "engine/CIContext.h"
#include "imageio/ImageGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

// A photo whose every pixel has its own colour, so a pixel taken from a neighbour or blended with
// the background shows.
BitmapRef speckledPhoto(int w, int h) {
    auto bm = std::make_shared<Bitmap>(w, h, *photoLayout(8));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u;
            v ^= v >> 13;
            v *= 0x5bd1e995u;
            for (int c = 1; c <= 3; ++c) bm->setComponent(x, y, c, float((v >> (8 * c)) & 0xff) / 255.0f);
        }
    return bm;
}

struct Canvas {
    HeadlessOwner owner;
    CanvasModel model;
    explicit Canvas(BitmapRef photo) : model(std::move(photo), &owner, false) {
        owner.canvas = &model;
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
        canvas.model.invertMask();
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

} // namespace
} // namespace pimavo::test
