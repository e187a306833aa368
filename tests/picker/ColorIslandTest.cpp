// Colour region picking: what one click selects, on synthetic pictures and on the sample photo.
#include "picker/ColorIsland.h"

#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"

#include <cmath>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <queue>
#include <random>

namespace pimavo::test {
namespace {

// An 8-bit photo from a colour function (0..255 per channel), y from the top.
Bitmap photo(int w, int h, const std::function<std::array<int, 3>(int, int)>& fn) {
    Bitmap b(w, h, *photoLayout(8));
    for (int y = 0; y < h; ++y) {
        uint8_t* row = reinterpret_cast<uint8_t*>(b.row(y));
        for (int x = 0; x < w; ++x) {
            const auto c = fn(x, y);
            row[4 * x] = 255, row[4 * x + 1] = uint8_t(c[0]), row[4 * x + 2] = uint8_t(c[1]),
                    row[4 * x + 3] = uint8_t(c[2]);
        }
    }
    return b;
}

struct Pick {
    std::optional<Bitmap> mask;
    int count = 0;
    bool at(int x, int y) const { return reinterpret_cast<const uint8_t*>(mask->row(y))[4 * x] == 0xFF; }
};

Pick pick(const Bitmap& p, ColorIslandField& field, int x, int y, float tolerance) {
    const int red = p.layout().alphaFirst() ? 1 : 0;
    // A click outside the photo has no colour of its own: black stands in.
    const bool inside = x >= 0 && y >= 0 && x < p.width() && y < p.height();
    auto at = [&](int c) { return inside ? p.component(x, y, c) : 0.0f; };
    const float colour[3] = {at(red), at(red + 1), at(red + 2)};
    Pick out;
    out.mask = imageByMaskingColor(p, colour, tolerance, float(x), float(y), field);
    for (int j = 0; j < p.height(); ++j)
        for (int i = 0; i < p.width(); ++i) out.count += out.at(i, j);
    return out;
}

TEST(ColorIsland, AUniformPictureIsPickedToItsEdges) {
    const Bitmap p = photo(100, 80, [](int, int) { return std::array<int, 3>{120, 140, 160}; });
    ColorIslandField field;
    const Pick r = pick(p, field, 50, 40, 0.03f);
    EXPECT_EQ(r.count, 100 * 80);
    for (auto [x, y] : {std::pair{0, 0}, {99, 0}, {0, 79}, {99, 79}, {50, 0}, {0, 40}})
        EXPECT_TRUE(r.at(x, y)) << x << "," << y;
}

TEST(ColorIsland, AStrongEdgeKeepsRegionsApartAndToleranceWidensThem) {
    // Red on the left, blue on the right.
    const Bitmap p = photo(120, 60, [](int x, int) {
        return x < 60 ? std::array<int, 3>{200, 30, 30} : std::array<int, 3>{30, 40, 210};
    });
    ColorIslandField field;
    const Pick r = pick(p, field, 30, 30, 0.03f);
    EXPECT_TRUE(r.at(59, 30));
    EXPECT_FALSE(r.at(60, 30));
    for (int y = 0; y < 60; ++y)
        for (int x = 60; x < 120; ++x) ASSERT_FALSE(r.at(x, y)) << x << "," << y;

    // A ramp: the wider the tolerance, the wider the stripe of similar colour around the click.
    const Bitmap ramp = photo(200, 60, [](int x, int) { return std::array<int, 3>{x, x, x}; });
    int previous = 0;
    for (float tolerance : {0.005f, 0.01f, 0.02f, 0.03f}) {
        ColorIslandField f;
        const int n = pick(ramp, f, 100, 30, tolerance).count;
        EXPECT_GT(n, previous) << tolerance;
        previous = n;
    }
}

// A click takes its own colour only: the disk around it bridges grain of that colour but takes
// nothing of another, however near the click. A 3-pixel red line on blue, clicked on and beside.
TEST(ColorIsland, AClickTakesOnlyItsColour) {
    const std::array<int, 3> red{200, 30, 30}, blue{30, 40, 210};
    const Bitmap p = photo(120, 80, [&](int x, int) { return x >= 60 && x < 63 ? red : blue; });
    struct Case {
        const char* name;
        int x, y;
        float tolerance;
        bool lineTaken, blueTaken;
    };
    const Case cases[] = {
        {"on the line", 61, 40, 0.03f, true, false},
        {"on the line, widest tolerance", 61, 40, 0.1f, true, false},
        {"beside the line", 55, 40, 0.03f, false, true},
        {"beside the line, widest tolerance", 57, 40, 0.1f, false, true},
    };
    for (const Case& c : cases) {
        ColorIslandField field;
        const Pick r = pick(p, field, c.x, c.y, c.tolerance);
        int line = 0, other = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 120; ++x) (x >= 60 && x < 63 ? line : other) += r.at(x, y);
        EXPECT_EQ(line, c.lineTaken ? 3 * 80 : 0) << c.name;
        if (c.blueTaken)
            EXPECT_GT(other, 60 * 80) << c.name;
        else
            EXPECT_EQ(other, 0) << c.name;
    }
}

TEST(ColorIsland, BlackNextToWhiteNeverCaptures) {
    // White on the left, black on the right; even the widest tolerance stops at the border,
    // because the force across it is exactly zero.
    const Bitmap p = photo(80, 40, [](int x, int) {
        return x < 40 ? std::array<int, 3>{255, 255, 255} : std::array<int, 3>{0, 0, 0};
    });
    ColorIslandField field;
    const Pick r = pick(p, field, 20, 20, 0.1f);
    EXPECT_TRUE(r.at(39, 20));
    EXPECT_FALSE(r.at(40, 20));
    // The white half, edge to edge, and no more.
    EXPECT_EQ(r.count, 40 * 40);
}

TEST(ColorIsland, TheCellsBelongToThePhoto) {
    const Bitmap p = photo(100, 100, [](int x, int) {
        return x < 50 ? std::array<int, 3>{200, 30, 30} : std::array<int, 3>{30, 200, 30};
    });
    ColorIslandField field;
    // A click whose disk lies wholly outside the picture picks nothing.
    EXPECT_EQ(pick(p, field, -40, -40, 0.03f).count, 0);
    // A later click on the same photo takes its own region, all of it: the background the first
    // click laid over the green half gives way to a click on green.
    pick(p, field, 25, 50, 0.03f);
    const Pick second = pick(p, field, 75, 50, 0.03f);
    EXPECT_TRUE(second.at(75, 50));
    EXPECT_TRUE(second.at(60, 20));
    EXPECT_FALSE(second.at(25, 50));
    // Another photo starts afresh: the first photo's region does not come along.
    const Bitmap swapped = photo(100, 100, [](int x, int) {
        return x < 50 ? std::array<int, 3>{30, 200, 30} : std::array<int, 3>{200, 30, 30};
    });
    const Pick fresh = pick(swapped, field, 75, 50, 0.03f);
    EXPECT_TRUE(fresh.at(75, 50));
    EXPECT_FALSE(fresh.at(25, 50));
    // And so does another size, never read beyond its own.
    const Bitmap small = photo(30, 20, [](int, int) { return std::array<int, 3>{90, 90, 90}; });
    pick(small, field, 15, 10, 0.03f);
    EXPECT_EQ(field.width(), 30);
    EXPECT_EQ(field.height(), 20);
}

// The sample photo: a click on the ladybird at the default tolerance takes the beetle's red shell,
// not the green stem or the blue flowers. The reference is built independently: the red pixels
// connected to the click point.
TEST(ColorIsland, OnTheSamplePhotoAClickTakesTheRedShell) {
    DecodeResult decoded = decodeImageFile(PIMAVO_SAMPLE_PHOTO, false);
    ASSERT_TRUE(decoded.image);
    auto small = scaledImageToCoverSize(*decoded.image->bitmap, SizeF{1280, 800});
    ASSERT_TRUE(small);
    const Bitmap& p = *small;
    const int cx = 885, cy = 375; // on the shell
    const int red = p.layout().alphaFirst() ? 1 : 0;
    auto rgb = [&](int x, int y) {
        std::array<int, 3> c;
        for (int k = 0; k < 3; ++k) c[std::size_t(k)] = int(std::lround(p.component(x, y, red + k) * 255));
        return c;
    };
    auto isRed = [&](int x, int y) {
        const auto c = rgb(x, y);
        return c[0] > 120 && c[0] > c[1] + 60 && c[0] > c[2] + 60;
    };
    ASSERT_TRUE(isRed(cx, cy));
    std::vector<uint8_t> reference(std::size_t(p.width()) * p.height());
    std::deque<std::pair<int, int>> queue{{cx, cy}};
    reference[std::size_t(cy) * p.width() + cx] = 1;
    int referenceCount = 0;
    while (!queue.empty()) {
        auto [x, y] = queue.front();
        queue.pop_front();
        ++referenceCount;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= p.width() || ny >= p.height()) continue;
                uint8_t& seen = reference[std::size_t(ny) * p.width() + nx];
                if (!seen && isRed(nx, ny)) seen = 1, queue.emplace_back(nx, ny);
            }
    }
    ColorIslandField field;
    const Pick r = pick(p, field, cx, cy, 0.03f);
    int both = 0, greenOrBlue = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            if (!r.at(x, y)) continue;
            both += reference[std::size_t(y) * p.width() + x];
            const auto c = rgb(x, y);
            greenOrBlue += c[1] > c[0] + 20 || c[2] > c[0] + 20;
        }
    const double overlap = double(both) / double(r.count + referenceCount - both);
    EXPECT_GT(overlap, 0.7) << "picked " << r.count << ", reference " << referenceCount;
    EXPECT_LT(greenOrBlue, r.count / 100 + 1);
}

// An independent reading of what one click selects: the cells of the picked colour in the disk around
// the click, and what they reach through cells within the tolerance of the picked colour, never across
// a step of force zero (black next to white).
std::vector<uint8_t> reachedCells(const Bitmap& p, int sx, int sy, float tolerance) {
    const int w = p.width(), h = p.height();
    auto rgb = [&](int x, int y) {
        const uint8_t* q = reinterpret_cast<const uint8_t*>(p.row(y)) + 4 * x;
        return std::array<float, 3>{float(q[1]), float(q[2]), float(q[3])};
    };
    auto dist = [](std::array<float, 3> a, std::array<float, 3> b) {
        return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                         (a[2] - b[2]) * (a[2] - b[2]));
    };
    const auto picked = rgb(sx, sy);
    const float limit = tolerance * 5.0f * 441.67294f;
    std::vector<uint8_t> in(std::size_t(w) * h);
    std::deque<std::pair<int, int>> queue;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x - sx) * (x - sx) + (y - sy) * (y - sy) <= 100 && dist(rgb(x, y), picked) <= limit)
                in[std::size_t(y) * w + x] = 1, queue.emplace_back(x, y);
    while (!queue.empty()) {
        auto [x, y] = queue.front();
        queue.pop_front();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= w || ny >= h || in[std::size_t(ny) * w + nx]) continue;
                if (dist(rgb(nx, ny), picked) > limit) continue;
                if (1.0f - dist(rgb(x, y), rgb(nx, ny)) / 441.67294f <= 0.0f) continue;
                in[std::size_t(ny) * w + nx] = 1;
                queue.emplace_back(nx, ny);
            }
    }
    return in;
}

// Grain of ±amplitude levels over a flat colour, the same every run.
Bitmap grainy(int w, int h, std::array<int, 3> base, int amplitude, unsigned variant = 7) {
    std::mt19937 rng(variant);
    std::uniform_int_distribution<int> grain(-amplitude, amplitude);
    return photo(w, h, [&](int, int) {
        return std::array<int, 3>{std::clamp(base[0] + grain(rng), 0, 255),
                                  std::clamp(base[1] + grain(rng), 0, 255),
                                  std::clamp(base[2] + grain(rng), 0, 255)};
    });
}

// The region of one click, on pictures whose paths are long, grainy or blocked, against the reading
// above; and every cell is settled once, whatever the picture.
TEST(ColorIsland, TheRegionIsWhatTheClickReachesWithinTheTolerance) {
    struct Case {
        const char* name;
        Bitmap picture;
        int x, y;
        float tolerance;
    };
    // Red corridors between blue walls, each open at alternate ends: one path snakes through all.
    const Bitmap maze = photo(240, 120, [](int x, int y) {
        const bool wall = x % 12 == 11 && ((x / 12) % 2 ? y > 5 : y < 114);
        return wall ? std::array<int, 3>{30, 40, 210} : std::array<int, 3>{200, 30, 30};
    });
    // Columns of black and white: the widest tolerance takes both, but never across a border.
    const Bitmap bars = photo(90, 40, [](int x, int) {
        return (x / 15) % 2 ? std::array<int, 3>{0, 0, 0} : std::array<int, 3>{255, 255, 255};
    });
    // A soft diagonal ramp with grain: the tolerance cuts it along a band.
    std::mt19937 rng(3);
    const Bitmap ramp = photo(160, 160, [&](int x, int y) {
        const int v = (x + y) * 255 / 318 + int(rng() % 5) - 2;
        return std::array<int, 3>{std::clamp(v, 0, 255), 128, std::clamp(255 - v, 0, 255)};
    });
    Case cases[] = {
        {"grain 8", grainy(600, 400, {120, 150, 190}, 8), 300, 200, 0.03f},
        {"grain 12", grainy(400, 300, {90, 160, 60}, 12), 5, 295, 0.03f},
        {"grain 40, narrow tolerance", grainy(200, 150, {128, 128, 128}, 40, 11), 100, 75, 0.01f},
        {"maze", Bitmap(maze), 5, 60, 0.03f},
        {"bars", Bitmap(bars), 7, 20, 0.1f},
        {"ramp", Bitmap(ramp), 80, 80, 0.02f},
        {"click at the corner", Bitmap(ramp), 0, 0, 0.03f},
    };
    for (Case& c : cases) {
        const Bitmap& p = c.picture;
        const std::vector<uint8_t> reference = reachedCells(p, c.x, c.y, c.tolerance);
        ColorIslandField field;
        field.reset(&p, p.width(), p.height());
        const int red = p.layout().alphaFirst() ? 1 : 0;
        const float colour[3] = {p.component(c.x, c.y, red), p.component(c.x, c.y, red + 1),
                                 p.component(c.x, c.y, red + 2)};
        const auto steps = field.fill(reinterpret_cast<const uint8_t*>(p.row(0)), int(p.bytesPerRow()), c.x,
                                      c.y, colour, c.tolerance);
        int picked = 0, wrong = 0;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x) {
                picked += field.isPicked(x, y);
                wrong += field.isPicked(x, y) != bool(reference[std::size_t(y) * p.width() + x]);
            }
        EXPECT_EQ(wrong, 0) << c.name;
        EXPECT_EQ(steps, picked) << c.name << ": every picked cell spreads its label once";
    }
}

// A cell's strength is the strongest product of forces along any path from the click, which an
// exact search in double precision finds independently.
TEST(ColorIsland, AStrengthIsTheStrongestPathsProductOfForces) {
    std::mt19937 rng(5);
    const Bitmap p = photo(48, 36, [&](int x, int y) {
        return std::array<int, 3>{100 + x + int(rng() % 20), 120 + int(rng() % 30),
                                  140 - y + int(rng() % 10)};
    });
    const int sx = 20, sy = 18, w = p.width(), h = p.height();
    ColorIslandField field;
    const Pick r = pick(p, field, sx, sy, 0.1f);
    ASSERT_EQ(r.count, w * h);
    auto rgb = [&](int x, int y) {
        const uint8_t* q = reinterpret_cast<const uint8_t*>(p.row(y)) + 4 * x;
        return std::array<double, 3>{double(q[1]), double(q[2]), double(q[3])};
    };
    std::vector<double> best(std::size_t(w) * h, 0.0);
    std::priority_queue<std::pair<double, int>> queue;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x - sx) * (x - sx) + (y - sy) * (y - sy) <= 100)
                best[std::size_t(y) * w + x] = 1, queue.emplace(1.0, y * w + x);
    while (!queue.empty()) {
        auto [s, i] = queue.top();
        queue.pop();
        if (s < best[std::size_t(i)]) continue;
        const int x = i % w, y = i / w;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                const auto a = rgb(x, y), b = rgb(nx, ny);
                const double d = std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                                           (a[2] - b[2]) * (a[2] - b[2]));
                const double force = s * (1.0 - d / 441.67294);
                double& there = best[std::size_t(ny) * w + nx];
                if (force > there) there = force, queue.emplace(force, ny * w + nx);
            }
    }
    // Each step's force may be rounded by a fraction of a percent, no more.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double steps = std::max(std::abs(x - sx), std::abs(y - sy));
            const double error = std::abs(std::log(field.at(x, y).strength / best[std::size_t(y) * w + x]));
            EXPECT_LE(error, 0.003 * steps + 1e-6) << x << "," << y;
        }
    EXPECT_LT(field.at(0, 0).strength, field.at(10, 10).strength);
}

// Two megapixels of a flat colour with grain: a click takes all of it, edge to edge, without a pass
// over the picture per level of strength.
TEST(ColorIsland, AGrainyTwoMegapixelPictureIsPickedWhole) {
    const Bitmap p = grainy(1732, 1155, {150, 170, 200}, 8);
    ColorIslandField field;
    const Pick r = pick(p, field, 866, 577, 0.03f);
    EXPECT_EQ(r.count, p.width() * p.height());
}

// A pick cancelled before it completes answers nothing, and the next one on the same field starts
// afresh.
TEST(ColorIsland, ACancelledPickAnswersNothingAndTheNextStartsAfresh) {
    const Bitmap p = grainy(300, 200, {120, 150, 190}, 8);
    const float colour[3] = {120 / 255.0f, 150 / 255.0f, 190 / 255.0f};
    ColorIslandField field;
    std::atomic<bool> cancel{true};
    EXPECT_FALSE(imageByMaskingColor(p, colour, 0.03f, 150, 100, field, &cancel));
    cancel = false;
    const auto mask = imageByMaskingColor(p, colour, 0.03f, 150, 100, field, &cancel);
    ASSERT_TRUE(mask);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(mask->row(199))[4 * 299], 0xFF);
    EXPECT_TRUE(field.isPicked(0, 0));
}

} // namespace
} // namespace pimavo::test
