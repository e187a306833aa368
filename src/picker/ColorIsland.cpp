#include "ColorIsland.h"

#include "engine/Log.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <limits>

namespace pimavo {

namespace {

constexpr float kMaxDistance = 441.67294f; // √3 × 255
constexpr int kSeedRadius2 = 100;
// Tolerance 0.1, the slider's end, allows colours up to half the largest distance from the picked
// one; the default 0.03 about a seventh of it (a photo's shading of one surface, not its neighbours).
constexpr float kToleranceScale = 5.0f;

// A strength is a product of forces along a path; the strongest product is the shortest path over
// −log(force), here in whole steps of 1/kStepsPerUnit. A step of one level in colour costs about
// half a step, and the weakest force that still carries (next to black and white) about 3300: a
// ring of 4096 buckets holds every distance the growth's front can be ahead of its nearest cell.
constexpr double kStepsPerUnit = 256.0;
constexpr uint32_t kRing = 4096;
constexpr uint16_t kNoEdge = 0xFFFF;
constexpr int kMaxSquaredDistance = 3 * 255 * 255;
// Distances (plus one) saturate here, far past where a strength underflows a float, so that a path
// of any length never wraps a 32-bit count.
constexpr uint32_t kFarthest = (1u << 30) + 1;

// The cost of one step, by the squared colour distance across it (an integer: the bytes are).
const std::vector<uint16_t>& stepCosts() {
    static const std::vector<uint16_t> table = [] {
        std::vector<uint16_t> t(kMaxSquaredDistance + 1);
        for (int d2 = 0; d2 <= kMaxSquaredDistance; ++d2) {
            // The force as the fill has always measured it, in single precision: black next to white
            // gives exactly 0, which carries nothing.
            const float force = 1.0f - std::sqrt(float(d2)) / kMaxDistance;
            t[std::size_t(d2)] =
                force <= 0.0f ? kNoEdge : uint16_t(std::lround(-std::log(double(force)) * kStepsPerUnit));
            assert(t[std::size_t(d2)] == kNoEdge || t[std::size_t(d2)] < kRing);
        }
        return t;
    }();
    return table;
}

// The strength at a distance: exp(−distance / kStepsPerUnit), down to the smallest normal float.
const std::vector<float>& strengths() {
    static const std::vector<float> table = [] {
        std::vector<float> t;
        for (double v = 1.0; v >= double(std::numeric_limits<float>::min());
             v = std::exp(-double(t.size()) / kStepsPerUnit))
            t.push_back(float(v));
        return t;
    }();
    return table;
}

} // namespace

bool ColorIslandField::belongsTo(const void* photo, int width, int height) const {
    return !nodes_.empty() && photo == photo_ && width == width_ && height == height_;
}

void ColorIslandField::reset(const void* photo, int width, int height) {
    photo_ = photo;
    width_ = width;
    height_ = height;
    // No band of background along the frame: it held a picked sky back from the photo's edges.
    nodes_.assign(std::size_t(width) * std::size_t(height), Node{kUnreached, 0, 0, 0, 0});
}

ColorIslandField::Cell ColorIslandField::at(int x, int y) const {
    if (!isPicked(x, y)) return {};
    const std::vector<float>& strength = strengths();
    const uint32_t d = nodes_[std::size_t(y) * std::size_t(width_) + std::size_t(x)].distance - 1;
    return {d < strength.size() ? strength[d] : strength.back(), 2};
}

std::optional<int> ColorIslandField::fill(const uint8_t* pixels, int bytesPerRow, int seedX, int seedY,
                                          const float picked[3], float tolerance,
                                          const std::atomic<bool>* cancel) {
    const int w = width_, h = height_;
    if (w <= 0 || h <= 0) return 0;
    auto cancelled = [this, cancel] {
        if (!cancel || !cancel->load(std::memory_order_relaxed)) return false;
        // Half grown, the cells answer nothing: the next click starts afresh.
        photo_ = nullptr;
        width_ = height_ = 0;
        nodes_.clear();
        return true;
    };
    const uint16_t* cost = stepCosts().data();
    Node* nodes = nodes_.data();

    // Each click's region is what this click reaches; merging regions is the picker's. The cells the
    // picked label may take are those within the tolerance of the picked colour.
    const float pr = picked[0] * 255.0f, pg = picked[1] * 255.0f, pb = picked[2] * 255.0f;
    const float limit = std::clamp(tolerance, 0.0f, 0.1f) * kToleranceScale * kMaxDistance;
    for (int y = 0; y < h; ++y) {
        if (y % 64 == 0 && cancelled()) return std::nullopt;
        const uint8_t* p = pixels + std::size_t(y) * std::size_t(bytesPerRow);
        Node* n = nodes + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x, p += 4) {
            const float dr = float(p[1]) - pr, dg = float(p[2]) - pg, db = float(p[3]) - pb;
            n[x] = {std::sqrt(dr * dr + dg * dg + db * db) <= limit ? kUnreached : kOutsideTolerance, p[1],
                    p[2], p[3], 0};
        }
    }

    if (ring_.size() != kRing) ring_.assign(kRing, {});
    for (auto& bucket : ring_) bucket.clear();
    uint64_t occupied[kRing / 64] = {};
    std::size_t pending = 0;
    auto push = [&](uint32_t i, uint32_t d) {
        const uint32_t slot = d % kRing;
        ring_[slot].push_back(i);
        occupied[slot / 64] |= uint64_t(1) << (slot % 64);
        ++pending;
    };
    // The cells of the disk around the click that have the picked colour: the disk bridges a grain
    // that parts a surface, but a click on a thin line takes the line and none of what lies beside
    // it. The parts outside the picture are not there.
    for (int y = std::max(0, seedY - 10); y <= std::min(h - 1, seedY + 10); ++y)
        for (int x = std::max(0, seedX - 10); x <= std::min(w - 1, seedX + 10); ++x)
            if ((x - seedX) * (x - seedX) + (y - seedY) * (y - seedY) <= kSeedRadius2) {
                const uint32_t i = uint32_t(y) * uint32_t(w) + uint32_t(x);
                if (nodes[i].distance == kOutsideTolerance) continue;
                nodes[i].distance = 1;
                push(i, 1);
            }

    // Only the picked label grows: the background may never take a cell the picked label may (the
    // tolerance divides them), so its growth would change nothing that is shown. Cells are settled
    // in order of distance (Dial's buckets, kept in a ring): each cell spreads its label once, with
    // its strongest path's strength, and the work is linear in the cells reached.
    const std::ptrdiff_t offsets[8] = {-w - 1, -w, -w + 1, -1, 1, w - 1, w, w + 1};
    const std::size_t cellCount = nodes_.size();
    constexpr std::size_t kAhead = 12;
    int settled = 0;
    uint32_t current = 1;
    while (pending > 0) {
        const uint32_t slot = current % kRing;
        std::vector<uint32_t>& bucket = ring_[slot];
        if (bucket.empty()) {
            // On to the next distance holding cells, at most a ring ahead.
            occupied[slot / 64] &= ~(uint64_t(1) << (slot % 64));
            uint32_t step = 1;
            for (;;) {
                const uint32_t s = (slot + step) % kRing;
                const uint64_t bits = occupied[s / 64] >> (s % 64);
                if (bits) {
                    step += uint32_t(std::countr_zero(bits));
                    break;
                }
                step += 64 - s % 64;
            }
            current = std::min(current + step, kFarthest);
            continue;
        }
        const uint32_t i = bucket.back();
        bucket.pop_back();
        --pending;
        // The cells of a distance lie all around the front, far apart: fetch the neighbourhood of a
        // cell a few pops ahead while this one is worked on.
        if (bucket.size() >= kAhead) {
            const std::size_t a = bucket[bucket.size() - kAhead];
            __builtin_prefetch(nodes + (a >= std::size_t(w) ? a - std::size_t(w) : a), 1);
            __builtin_prefetch(nodes + a, 1);
            __builtin_prefetch(nodes + std::min(a + std::size_t(w), cellCount - 1), 1);
        }
        const Node p = nodes[i];
        if (p.distance != current) continue; // reached again, more cheaply, and settled then
        if (++settled % 16384 == 0 && cancelled()) return std::nullopt;
        uint32_t around[8];
        int count = 0;
        const int px = int(i % uint32_t(w)), py = int(i / uint32_t(w));
        if (px > 0 && py > 0 && px < w - 1 && py < h - 1) {
            for (std::ptrdiff_t offset : offsets) around[count++] = uint32_t(std::ptrdiff_t(i) + offset);
        } else {
            for (int y = std::max(0, py - 1); y <= std::min(h - 1, py + 1); ++y)
                for (int x = std::max(0, px - 1); x <= std::min(w - 1, px + 1); ++x)
                    if (x != px || y != py) around[count++] = uint32_t(y) * uint32_t(w) + uint32_t(x);
        }
        // No branch on whether a neighbour is settled, beyond the tolerance or unreachable: those
        // never compare as nearer (settled: at most the current distance; beyond the tolerance: 0;
        // across a force of zero: the largest distance), and grain makes such branches unpredictable.
        for (int k = 0; k < count; ++k) {
            Node& n = nodes[around[k]];
            const int dr = p.red - n.red, dg = p.green - n.green, db = p.blue - n.blue;
            const uint32_t c = cost[dr * dr + dg * dg + db * db];
            const uint32_t d = std::min(current + c, kFarthest) | (c == kNoEdge ? kUnreached : 0);
            if (d < n.distance) {
                n.distance = d;
                push(around[k], d);
            }
        }
    }
    return settled;
}

namespace {

// One pick on an ARGB8 buffer: announced, grown, and the buffer rewritten as the mask (opaque white
// where picked, clear elsewhere). False, and the buffer as it was, when cancelled.
bool fillAndWrite(ColorIslandField& field, uint8_t* data, int bytesPerRow, int x, int y,
                  const float colour[3], float tolerance, const std::atomic<bool>* cancel = nullptr) {
    const int w = field.width(), h = field.height();
    using logging::Channel, logging::Level;
    logging::writef(Channel::Picker, Level::Debug, "pick at %d %d, image: %dx%d, pixels: %d", x, y, w, h,
                    w * h);
    const auto steps = field.fill(data, bytesPerRow, x, y, colour, tolerance, cancel);
    if (!steps) {
        logging::write(Channel::Picker, Level::Debug, "pick cancelled");
        return false;
    }
    logging::writef(Channel::Picker, Level::Debug, "steps: %d", *steps);
    for (int row = 0; row < h; ++row) {
        uint8_t* d = data + std::size_t(row) * std::size_t(bytesPerRow);
        for (int col = 0; col < w; ++col) {
            const uint8_t v = field.isPicked(col, row) ? 0xFF : 0x00;
            d[4 * col] = d[4 * col + 1] = d[4 * col + 2] = d[4 * col + 3] = v;
        }
    }
    return true;
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
                                          float y, ColorIslandField& field, const std::atomic<bool>* cancel) {
    const int w = photo.width(), h = photo.height();
    if (w <= 0 || h <= 0) return std::nullopt;
    auto out = Bitmap::make(w, h, PixelLayout{8, AlphaInfo::PremultipliedFirst});
    if (!out) return std::nullopt;
    // The photo as ARGB8, the buffer the fill reads and then rewrites.
    const int red = photo.layout().alphaFirst() ? 1 : 0;
    const std::size_t stride = std::size_t(photo.layout().bytesPerPixel());
    for (int row = 0; row < h; ++row) {
        uint8_t* d = reinterpret_cast<uint8_t*>(out->row(row));
        if (photo.bitsPerComponent() == 8) {
            const uint8_t* s = reinterpret_cast<const uint8_t*>(photo.row(row)) + red;
            for (int col = 0; col < w; ++col, d += 4, s += stride)
                d[0] = 255, d[1] = s[0], d[2] = s[1], d[3] = s[2];
            continue;
        }
        for (int col = 0; col < w; ++col, d += 4) {
            d[0] = 255;
            for (int c = 0; c < 3; ++c)
                d[1 + c] =
                    uint8_t(std::lround(std::clamp(photo.component(col, row, red + c), 0.0f, 1.0f) * 255.0f));
        }
    }
    if (!field.belongsTo(&photo, w, h)) field.reset(&photo, w, h);
    if (!fillAndWrite(field, reinterpret_cast<uint8_t*>(out->row(0)), int(out->bytesPerRow()), int(x), int(y),
                      color, tolerance, cancel))
        return std::nullopt;
    return out;
}

} // namespace pimavo
