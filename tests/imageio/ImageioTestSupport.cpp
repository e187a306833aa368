#include "ImageioTestSupport.h"

#include <OpenImageIO/imageio.h>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pimavo::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "pimavo-test-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data()) ? tmpl : "";
}

TempDir::~TempDir() {
    std::error_code ec;
    // Read-only folders made by tests must become writable again to be removed.
    for (auto& e : fs::recursive_directory_iterator(path_, ec))
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::vector<std::string> TempDir::entries() const {
    std::vector<std::string> out;
    for (auto& e : fs::directory_iterator(path_)) out.push_back(e.path().filename().string());
    return out;
}

double testPattern(int x, int y, int c) {
    // Every pixel different and every channel different, so misplaced pixels show.
    return std::fmod(0.05 + 0.031 * x + 0.017 * y * (c + 1) + 0.3 * c, 1.0);
}

bool writeTestImage(const std::string& path, int w, int h, int channels, int bits, const PixelFn& fn,
                    int orientation) {
    auto out = OIIO::ImageOutput::create(path);
    if (!out) return false;
    const OIIO::TypeDesc type = bits == 8     ? OIIO::TypeDesc::UINT8
                                : bits == 16  ? OIIO::TypeDesc::UINT16
                                : bits == -16 ? OIIO::TypeDesc::HALF
                                              : OIIO::TypeDesc::FLOAT;
    OIIO::ImageSpec spec(w, h, channels, type);
    if (orientation) spec.attribute("Orientation", orientation);
    if (fs::path(path).extension() == ".jpg") spec.attribute("CompressionQuality", 100);
    std::vector<float> px(std::size_t(w) * h * channels);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < channels; ++c)
                px[(std::size_t(y) * w + x) * channels + c] = float(fn(x, y, c));
    if (!out->open(path, spec)) return false;
    const bool ok = out->write_image(OIIO::TypeDesc::FLOAT, px.data());
    return out->close() && ok;
}

std::string run(const std::string& command) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return out;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    ::pclose(p);
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

double photoComponent(const Bitmap& b, int x, int y, int c) {
    const int first = b.layout().alphaFirst() ? 1 : 0;
    return b.component(x, y, first + c);
}

std::string tinyIccProfile() {
    std::string p(132, '\0');
    auto put32 = [&](std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) p[at + i] = char((v >> (24 - 8 * i)) & 0xff);
    };
    auto put4 = [&](std::size_t at, const char* s) { p.replace(at, 4, s, 4); };
    put32(0, 132);
    put4(4, "none");
    put32(8, 0x02100000);
    put4(12, "mntr");
    put4(16, "RGB ");
    put4(20, "XYZ ");
    put4(36, "acsp");
    put32(68, 0x0000F6D6); // D50 illuminant X, Y, Z
    put32(72, 0x00010000);
    put32(76, 0x0000D32D);
    put4(80, "test");
    put32(128, 0); // no tags
    return p;
}

} // namespace pimavo::test
