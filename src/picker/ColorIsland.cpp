#include "ColorIsland.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pimavo {

namespace {

constexpr float kMaxDistance = 441.67294f; // √3 × 255
constexpr int kSeedRadius2 = 100;
// Tolerance 0.1, the slider's end, allows colours up to half the largest distance from the picked
// one; the default 0.03 about a seventh of it (a photo's shading of one surface, not its neighbours).
constexpr float kToleranceScale = 5.0f;

struct Rgb {
    float r, g, b;
};

Rgb colourAt(const uint8_t* pixels, int bytesPerRow, int x, int y) {
    const uint8_t* p = pixels + std::size_t(y) * std::size_t(bytesPerRow) + std::size_t(x) * 4;
    return {float(p[1]), float(p[2]), float(p[3])};
}

float distance(const Rgb& a, const Rgb& b) {
    const float dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return std::sqrt(dr * dr + dg * dg + db * db);
}

} // namespace

bool ColorIslandField::belongsTo(const void* photo, int width, int height) const {
    return !cells_.empty() && photo == photo_ && width == width_ && height == height_;
}

void ColorIslandField::reset(const void* photo, int width, int height) {
    photo_ = photo;
    width_ = width;
    height_ = height;
    // No band of background along the frame: it held a picked sky back from the photo's edges.
    cells_.assign(std::size_t(width) * std::size_t(height), Cell{});
    fresh_ = true;
}

int ColorIslandField::fill(const uint8_t* pixels, int bytesPerRow, int seedX, int seedY,
                           const float picked[3], float tolerance) {
    const int w = width_, h = height_;
    if (w <= 0 || h <= 0) return 0;
    auto index = [w](int x, int y) { return std::size_t(y) * std::size_t(w) + std::size_t(x); };
    // The disk around the click; the parts outside the picture are simply not there.
    std::vector<std::size_t> changed;
    std::vector<uint8_t> stampedNow(cells_.size());
    for (int y = std::max(0, seedY - 10); y <= std::min(h - 1, seedY + 10); ++y)
        for (int x = std::max(0, seedX - 10); x <= std::min(w - 1, seedX + 10); ++x)
            if ((x - seedX) * (x - seedX) + (y - seedY) * (y - seedY) <= kSeedRadius2) {
                cells_[index(x, y)] = {1.0f, 2};
                stampedNow[index(x, y)] = 1;
                changed.push_back(index(x, y));
            }
    // Which label may take a cell: the picked one only within the tolerance of the picked colour.
    const Rgb pickedRgb{picked[0] * 255.0f, picked[1] * 255.0f, picked[2] * 255.0f};
    const float limit = std::clamp(tolerance, 0.0f, 0.1f) * kToleranceScale * kMaxDistance;
    std::vector<uint8_t> similarCells(cells_.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            similarCells[index(x, y)] = distance(colourAt(pixels, bytesPerRow, x, y), pickedRgb) <= limit;
    auto similar = [&](std::size_t i) { return similarCells[i] != 0; };
    // Earlier picked regions are the picker's to merge (add, take away, replace): this click's
    // region is what this click reaches.
    if (!fresh_)
        for (std::size_t i = 0; i < cells_.size(); ++i)
            if (cells_[i].label == 2 && !stampedNow[i]) cells_[i] = Cell{};

    // Grown to its fixed point, strongest first: a cell's strength ends as the strongest product of
    // forces along any path from a labelled cell, and it takes that path's label. (Passes that
    // re-examine the neighbours of every change reach the same point, many times more slowly.)
    // A bucket queue over strength (0..1 in 4096 steps), taken strongest bucket first: cells are
    // settled almost in strength order at the cost of a vector push, and a cell that a later claim
    // strengthens is simply taken again.
    constexpr int kBuckets = 4096;
    std::vector<std::vector<uint32_t>> buckets(kBuckets);
    auto bucketOf = [](float strength) {
        return std::clamp(int(strength * float(kBuckets - 1)), 0, kBuckets - 1);
    };
    int top = -1;
    auto push = [&](std::size_t i) {
        const int b = bucketOf(cells_[i].strength);
        buckets[std::size_t(b)].push_back(uint32_t(i));
        top = std::max(top, b);
    };
    // Only the picked label spreads: the background may never take a cell the picked label may
    // (the tolerance divides them), so its growth would change nothing that is shown.
    for (std::size_t c : changed) push(c);
    fresh_ = false;
    std::vector<float> spread(cells_.size(), -1.0f); // the strength each cell last spread with
    int steps = 0;
    while (top >= 0) {
        std::vector<uint32_t>& bucket = buckets[std::size_t(top)];
        if (bucket.empty()) {
            --top;
            continue;
        }
        const uint32_t i = bucket.back();
        bucket.pop_back();
        const Cell from = cells_[i];
        if (from.strength <= spread[i]) continue; // already spread with this strength or more
        spread[i] = from.strength;
        ++steps;
        const int px = int(i % uint32_t(w)), py = int(i / uint32_t(w));
        const Rgb cp = colourAt(pixels, bytesPerRow, px, py);
        for (int y = std::max(0, py - 1); y <= std::min(h - 1, py + 1); ++y)
            for (int x = std::max(0, px - 1); x <= std::min(w - 1, px + 1); ++x) {
                if (x == px && y == py) continue;
                const std::size_t q = index(x, y);
                // A force never exceeds the attacker's strength: no need to measure colours then.
                if (cells_[q].strength >= from.strength || (from.label == 2) != similar(q)) continue;
                const float force =
                    (1.0f - distance(cp, colourAt(pixels, bytesPerRow, x, y)) / kMaxDistance) * from.strength;
                // Strictly stronger only: black next to white (force 0) never takes anything.
                if (force > cells_[q].strength) {
                    cells_[q] = {force, from.label};
                    push(q);
                }
            }
    }
    return steps;
}

namespace {

// One pick on an ARGB8 buffer: announced, grown, and the buffer rewritten as the mask (opaque white
// where picked, clear elsewhere).
void fillAndWrite(ColorIslandField& field, uint8_t* data, int bytesPerRow, int x, int y,
                  const float colour[3], float tolerance) {
    const int w = field.width(), h = field.height();
    std::printf("%f %f\n", double(x), double(y));
    std::printf("image: %dx%d\n", w, h);
    std::printf("pixels: %d\n", w * h);
    std::printf("steps: %d\n", field.fill(data, bytesPerRow, x, y, colour, tolerance));
    std::fflush(stdout);
    for (int row = 0; row < h; ++row) {
        uint8_t* d = data + std::size_t(row) * std::size_t(bytesPerRow);
        for (int col = 0; col < w; ++col) {
            const uint8_t v = field.isPicked(col, row) ? 0xFF : 0x00;
            d[4 * col] = d[4 * col + 1] = d[4 * col + 2] = d[4 * col + 3] = v;
        }
    }
}

} // namespace

void _fill_color_island(uint8_t* data, int width, int height, int bytesPerRow, int seedX, int seedY,
                        float red, float green, float blue, float tolerance) {
    static ColorIslandField field;
    if (!data || width <= 0 || height <= 0 || bytesPerRow < width * 4) return;
    if (!field.belongsTo(nullptr, width, height)) field.reset(nullptr, width, height);
    const float picked[3] = {red, green, blue};
    fillAndWrite(field, data, bytesPerRow, seedX, seedY, picked, tolerance);
}

void fill_color_island(uint8_t* data, int width, int height, int bytesPerRow, int seedX, int seedY, float red,
                       float green, float blue, float tolerance) {
    _fill_color_island(data, width, height, bytesPerRow, seedX, seedY, red, green, blue, tolerance);
}

std::optional<Bitmap> imageByMaskingColor(const Bitmap& photo, const float color[3], float tolerance, float x,
                                          float y, ColorIslandField& field) {
    const int w = photo.width(), h = photo.height();
    if (w <= 0 || h <= 0) return std::nullopt;
    auto out = Bitmap::make(w, h, PixelLayout{8, AlphaInfo::PremultipliedFirst});
    if (!out) return std::nullopt;
    // The photo as ARGB8, the buffer the fill reads and then rewrites.
    const int red = photo.layout().alphaFirst() ? 1 : 0;
    for (int row = 0; row < h; ++row) {
        uint8_t* d = reinterpret_cast<uint8_t*>(out->row(row));
        for (int col = 0; col < w; ++col, d += 4) {
            d[0] = 255;
            for (int c = 0; c < 3; ++c)
                d[1 + c] =
                    uint8_t(std::lround(std::clamp(photo.component(col, row, red + c), 0.0f, 1.0f) * 255.0f));
        }
    }
    if (!field.belongsTo(&photo, w, h)) field.reset(&photo, w, h);
    fillAndWrite(field, reinterpret_cast<uint8_t*>(out->row(0)), int(out->bytesPerRow()), int(x), int(y),
                 color, tolerance);
    return out;
}

} // namespace pimavo
