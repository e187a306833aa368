// Moving pixels between spans and memory in the formats the engine reads and writes.
//
// Integer formats clamp to 0..1 and round; float formats keep values as they are. Formats with an
// alpha that is kept premultiplied receive premultiplied colour; straight-alpha formats receive
// colour divided by alpha; formats without alpha (or with an ignored one) receive the premultiplied
// colour, which for opaque pixels is the colour itself.
#pragma once

#include "Bitmap.h"
#include "Tile.h"

#include <cstddef>
#include <cstdint>

namespace pimavo {

// Pixel formats of rendering and accumulation, all premultiplied.
enum class PixelFormat { ARGB8, RGBA8, BGRA8, RGBA16, RGBAf };

int bytesPerPixel(PixelFormat format);

// Where each channel lives inside a pixel and how values are stored.
struct PixelCodec {
    int bits = 8;                 // 8, 16, 32 (float)
    int components = 4;           // components per pixel
    int offset[4] = {0, 1, 2, 3}; // component index of r, g, b, a; -1 when absent
    bool straightAlpha = false;   // colour stored divided by alpha

    static PixelCodec forFormat(PixelFormat format);
    static PixelCodec forLayout(const PixelLayout& layout);
    int bytesPerPixel() const { return components * bits / 8; }
};

// A destination that decides how to keep the spans it receives (a buffer that picks its storage
// per tile as it fills). Each render task stores through its own sink, from one thread, row after
// row upwards and each row from left to right.
class SpanSink {
public:
    virtual void store(const SpanBuffer& span, const SpanPos& pos) = 0;

protected:
    ~SpanSink() = default;
};

// A destination in memory: pixel (x, y) lives at base + (y - baseY) * rowStride + (x - baseX) * bpp.
// A negative stride stores rows top-down. With a sink, spans go to the sink instead.
struct PixelStore {
    PixelCodec codec;
    std::byte* base = nullptr;
    std::ptrdiff_t rowStride = 0;
    int baseX = 0, baseY = 0;
    SpanSink* sink = nullptr;

    std::byte* address(int x, int y) const {
        return base + std::ptrdiff_t(y - baseY) * rowStride +
               std::ptrdiff_t(x - baseX) * codec.bytesPerPixel();
    }
    void store(const SpanBuffer& span, const SpanPos& pos) const;
};

// Converts n pixels starting at `src` into a span, premultiplying straight alpha and giving
// alpha 1 to formats without alpha.
void loadPixels(const PixelCodec& codec, const std::byte* src, int n, SpanBuffer& out, int offset = 0);

// Opaque grey kept as one 16-bit value per pixel: v stands for (v, v, v, 65535) in RGBA16.
// storeGrey16 writes the span and answers true when every pixel of it is opaque grey, as it says or
// as found (and writes nothing otherwise); loadGrey16 reads such values into a span; expandGrey16 writes them
// as RGBA16.
bool storeGrey16(const SpanBuffer& span, int n, uint16_t* dst);
void loadGrey16(const uint16_t* src, int n, SpanBuffer& out, int offset = 0);
void greyValues(const uint16_t* src, int n, float* values);
void expandGrey16(const uint16_t* src, int n, uint16_t* rgba);

// RGBA16 whose every component is a multiple of 257 (an 8-bit level, as photos from 8-bit files
// have) kept as four bytes per pixel: byte b stands for b * 257. storeBytes16 writes the span and
// answers true when all its values are such (writing nothing otherwise); greyToBytes does
// the same for opaque grey kept by storeGrey16; loadBytes16 reads the values into a span, exactly as
// the 16-bit values read; expandBytes16 writes them as RGBA16.
bool storeBytes16(const SpanBuffer& span, int n, uint8_t* dst);
// Opaque RGBA16 kept as three planes of 16-bit values, alpha 65535 understood. storeOpaque16
// writes the span and answers true when every alpha is 65535 (writing nothing otherwise);
// loadOpaque16 reads the planes into a span, alpha 1.
bool storeOpaque16(const SpanBuffer& span, int n, uint16_t* r, uint16_t* g, uint16_t* b);
void loadOpaque16(const uint16_t* r, const uint16_t* g, const uint16_t* b, int n, SpanBuffer& out,
                  int offset = 0);
bool greyToBytes(const uint16_t* grey, int n, uint8_t* dst);
void loadBytes16(const uint8_t* src, int n, SpanBuffer& out, int offset = 0);
void expandBytes16(const uint8_t* src, int n, uint16_t* rgba);

} // namespace pimavo
