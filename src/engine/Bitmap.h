// A bitmap: pixels in memory, rows stored top-down, 8-bit, 16-bit (native byte order) or 32-bit
// float components. It is the currency between the decoder, the engine and the writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace pimavo {

// Where the alpha component sits and what it means, in the platform's terms.
enum class AlphaInfo {
    None,               // 3 components, no alpha
    PremultipliedLast,  // RGBA, colour premultiplied by alpha
    PremultipliedFirst, // ARGB, colour premultiplied by alpha
    Last,               // RGBA, straight colour
    First,              // ARGB, straight colour
    NoneSkipLast,       // RGBX: 4 components, the last ignored
    NoneSkipFirst,      // XRGB: 4 components, the first ignored
};

struct PixelLayout {
    int bitsPerComponent = 8; // 8, 16 or 32 (float)
    AlphaInfo alphaInfo = AlphaInfo::NoneSkipFirst;

    int componentsPerPixel() const { return alphaInfo == AlphaInfo::None ? 3 : 4; }
    int bytesPerPixel() const { return componentsPerPixel() * bitsPerComponent / 8; }
    bool hasAlpha() const;
    bool alphaFirst() const; // the first component is alpha or ignored
    bool premultiplied() const;
    bool isValid() const;

    friend bool operator==(const PixelLayout&, const PixelLayout&) = default;
};

class Bitmap {
public:
    Bitmap() = default;
    // Zero-filled pixels; bytes per row are tightly packed unless given.
    Bitmap(int width, int height, PixelLayout layout, std::size_t bytesPerRow = 0);

    // A bitmap needs width × height × bytes per pixel of memory; nullopt when that cannot be had.
    static std::optional<Bitmap> make(int width, int height, PixelLayout layout);

    bool isNull() const { return width_ <= 0 || height_ <= 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    const PixelLayout& layout() const { return layout_; }
    int bitsPerComponent() const { return layout_.bitsPerComponent; }
    std::size_t bytesPerRow() const { return bytesPerRow_; }

    std::byte* row(int y) { return data_.data() + std::size_t(y) * bytesPerRow_; }
    const std::byte* row(int y) const { return data_.data() + std::size_t(y) * bytesPerRow_; }
    std::span<std::byte> bytes() { return data_; }
    std::span<const std::byte> bytes() const { return data_; }

    // Component c of pixel (x, y), y counted from the top, as a value in 0..1 for integer formats.
    float component(int x, int y, int c) const;
    void setComponent(int x, int y, int c, float v);

private:
    int width_ = 0, height_ = 0;
    PixelLayout layout_;
    std::size_t bytesPerRow_ = 0;
    std::vector<std::byte> data_;
};

using BitmapRef = std::shared_ptr<const Bitmap>;

} // namespace pimavo
