// Helpers for the image-file tests: temporary folders, files generated with the decoder library
// itself, and independent read-back through exiftool.
#pragma once

#include "engine/Bitmap.h"

#include <functional>
#include <string>
#include <vector>

namespace pimavo::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

// Channel values for a test picture: fn(x, y, channel) in 0..1, y counted from the top.
using PixelFn = std::function<double(int x, int y, int c)>;
double testPattern(int x, int y, int c);

// Writes a picture with the encoder library directly; `orientation` 0 writes no orientation tag.
// bits 8 or 16 (integers), 32 (float) or -16 (half float).
bool writeTestImage(const std::string& path, int w, int h, int channels, int bits, const PixelFn& fn,
                    int orientation = 0);

// Runs a shell command and answers its standard output.
std::string run(const std::string& command);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// The value of component c (red 0, green 1, blue 2) of pixel (x, y) of a photo bitmap, 0..1.
double photoComponent(const Bitmap& b, int x, int y, int c);

// A small but well-formed ICC profile (header and an empty tag table).
std::string tinyIccProfile();

} // namespace pimavo::test
