// Photos above 32 megapixels are reduced to just below the limit.
#include "imageio/Reduction.h"

#include "imageio/ImageGeometry.h"

#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace pimavo::test {
namespace {

TEST(Reduction, WhichPhotosAndHowFar) {
    struct Case {
        int w, h;
        bool reduce;
        int side;
    } cases[] = {
        {6000, 5334, true, 5998},  {6400, 5000, false, 0},   {10000, 5000, true, 7999},
        {5000, 10000, true, 7999}, {8000, 8000, true, 5655},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(needsReduction(c.w, c.h), c.reduce) << c.w << "x" << c.h;
        if (c.reduce) {
            EXPECT_EQ(reductionSide(c.w, c.h), c.side) << c.w << "x" << c.h;
        }
    }
}

TEST(Reduction, ReducesOffTheCallingThreadToJustUnderTheLimit) {
    auto photo = std::make_shared<const Bitmap>(10000, 5000, *photoLayout(16));
    std::promise<std::optional<Bitmap>> done;
    std::thread::id worker;
    resizeInBackground(photo, 16, [&](std::optional<Bitmap> b) {
        worker = std::this_thread::get_id();
        done.set_value(std::move(b));
    });
    auto result = done.get_future().get();
    ASSERT_TRUE(result);
    EXPECT_NE(worker, std::this_thread::get_id());
    EXPECT_EQ(result->width(), 7999);
    EXPECT_EQ(result->height(), 3999);
    EXPECT_EQ(result->bitsPerComponent(), 16);
    EXPECT_LT(double(result->width()) * result->height(), 32e6);
}

} // namespace
} // namespace pimavo::test
