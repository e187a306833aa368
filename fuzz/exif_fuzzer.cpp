// libFuzzer target: the code that edits metadata in saved files. The first byte chooses what the
// rest is taken for:
//   0  an EXIF block, made fit for a saved picture (exifBlockForSaving)
//   1  a JPEG file, whose metadata segments are read and written back (readJpegMetadata, putJpegMetadata)
//   2  a PNG file that gets an eXIf chunk (putPngExifChunk)
//   3  a TIFF file that gets an EXIF block (putTiffExifBlock)
//   4  a HEIF file whose XMP is read and whose EXIF item is pointed at a new block (readHeifXmp, putHeifExif)
// None may crash, hang or read outside what it was given; what an editor claims to have written
// must read back as written.
#include "FuzzSupport.h"
#include "imageio/ExifBlock.h"
#include "imageio/HeifExif.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

using namespace pimavo;
using namespace pimavo::fuzz;

namespace {

constexpr std::string_view kSoftware = "Pimavo 0.1.0 (fuzzed)";
// One time for every save, so that a second save of a saved block has nothing left to change.
const SaveTime kSaved{"2026:01:02 03:04:05", "+01:00", "2026-01-02T03:04:05+01:00"};

std::vector<uint8_t> vectorOf(std::string_view s) {
    return {reinterpret_cast<const uint8_t*>(s.data()),
            reinterpret_cast<const uint8_t*>(s.data()) + s.size()};
}

// A small sound block as a camera writes one: Make (out of line), Orientation 6, no Software.
std::vector<uint8_t> cameraBlock(bool bigEndian) {
    std::vector<uint8_t> b;
    auto p16 = [&](uint32_t v) {
        const uint8_t hi = uint8_t(v >> 8), lo = uint8_t(v);
        b.push_back(bigEndian ? hi : lo);
        b.push_back(bigEndian ? lo : hi);
    };
    auto p32 = [&](uint32_t v) {
        if (bigEndian) {
            p16(v >> 16);
            p16(v & 0xFFFF);
        } else {
            p16(v & 0xFFFF);
            p16(v >> 16);
        }
    };
    b.push_back(bigEndian ? 'M' : 'I');
    b.push_back(bigEndian ? 'M' : 'I');
    p16(42);
    p32(8);
    p16(2);
    p16(0x010F), p16(2), p32(7), p32(8 + 2 + 2 * 12 + 4); // Make
    p16(0x0112), p16(3), p32(1), p16(6), p16(0);          // Orientation
    p32(0);
    for (char c : std::string_view("Camera\0", 7)) b.push_back(uint8_t(c));
    b.push_back(0);
    return b;
}

// The smallest file with the segments a JPEG has before its picture data.
std::string smallJpeg() {
    std::string j("\xFF\xD8", 2);
    j += std::string("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 18);
    j += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
    j += std::string("\x12\x34\xFF\xD9", 4);
    return j;
}

void editExifBlock(std::string_view payload) {
    for (const auto& [width, height] : {std::pair{640, 480}, std::pair{70000, 3}}) {
        const auto saved = exifBlockForSaving(vectorOf(payload), width, height, kSoftware, kSaved);
        if (!saved) continue;
        expect(saved->size() <= 65535 - 2 - 6, "a block for saving fits a JPEG segment");
        const auto twice = exifBlockForSaving(*saved, width, height, kSoftware, kSaved);
        expect(twice && *twice == *saved, "a block made fit for saving is left as it is");
        const std::string path = scratchPath("block.jpg");
        expect(writeFile(path, smallJpeg()), "the scratch JPEG is written");
        JpegMetadata m;
        m.exifBlock = *saved;
        std::string why;
        expect(putJpegMetadata(path, m, &why), "a block for saving goes into a JPEG");
        expect(readJpegMetadata(path).exifBlock == *saved, "a block in a JPEG reads back as written");
    }
}

void rewriteJpeg(std::string_view file) {
    const std::string path = scratchPath("input.jpg");
    expect(writeFile(path, file), "the scratch JPEG is written");
    const JpegMetadata m = readJpegMetadata(path);
    xmpNeedsNoChange(m.xmp);
    photoshopNeedsNoChange(m.photoshop);
    photoshopNeedsNoChange(std::string(file));
    std::string why;
    if (!putJpegMetadata(path, m, &why)) {
        expect(!why.empty(), "a JPEG that cannot take its metadata says why");
        return;
    }
    const JpegMetadata back = readJpegMetadata(path);
    expect(back.exifBlock == m.exifBlock, "the EXIF block written back reads the same");
    expect(back.xmp == m.xmp, "the XMP written back reads the same");
    expect(back.photoshop == m.photoshop, "the Photoshop segment written back reads the same");
}

// A PNG's chunks after its signature, as (type, data); nothing when they do not end with the file.
std::optional<std::vector<std::pair<std::string, std::string>>> pngChunks(const std::string& png) {
    if (png.size() < 8) return std::nullopt;
    std::vector<std::pair<std::string, std::string>> out;
    std::size_t at = 8;
    while (at < png.size()) {
        if (png.size() - at < 12) return std::nullopt;
        const uint32_t length = uint32_t(uint8_t(png[at])) << 24 | uint32_t(uint8_t(png[at + 1])) << 16 |
                                uint32_t(uint8_t(png[at + 2])) << 8 | uint32_t(uint8_t(png[at + 3]));
        if (length > png.size() - at - 12) return std::nullopt;
        out.emplace_back(png.substr(at + 4, 4), png.substr(at + 8, length));
        at += 12 + length;
    }
    return out;
}

void putIntoPng(std::string_view file) {
    const std::string path = scratchPath("input.png");
    expect(writeFile(path, file), "the scratch PNG is written");
    const std::vector<uint8_t> block = cameraBlock(false);
    std::string why;
    if (!putPngExifChunk(path, block, &why)) {
        expect(!why.empty(), "a PNG that cannot take EXIF says why");
        return;
    }
    const std::string written = readFile(path);
    const auto chunks = pngChunks(written);
    expect(chunks.has_value(), "a PNG given EXIF is a sequence of whole chunks");
    expect(!chunks->empty() && chunks->front().first == "IHDR", "a PNG given EXIF starts with its header");
    const auto exif =
        std::count_if(chunks->begin(), chunks->end(), [](const auto& c) { return c.first == "eXIf"; });
    expect(exif == 1, "a PNG given EXIF has one eXIf chunk");
    expect((*chunks)[1].first == "eXIf" && (*chunks)[1].second == std::string(block.begin(), block.end()),
           "the eXIf chunk follows the header and holds the block");
    if (const auto before = pngChunks(std::string(file))) {
        auto kept = *chunks, had = *before;
        std::erase_if(kept, [](const auto& c) { return c.first == "eXIf"; });
        std::erase_if(had, [](const auto& c) { return c.first == "eXIf"; });
        expect(kept == had, "a PNG given EXIF keeps its other chunks");
    }
}

std::size_t tiffTypeSize(uint32_t type) {
    static const std::size_t sizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    return type < std::size(sizes) ? sizes[type] : 0;
}

void putIntoTiff(std::string_view file) {
    const std::string path = scratchPath("input.tiff");
    expect(writeFile(path, file), "the scratch TIFF is written");
    const bool big = file.size() >= 2 && file[0] == 'M';
    const std::vector<uint8_t> block = cameraBlock(big);
    std::string why;
    if (!putTiffExifBlock(path, block, &why)) {
        expect(!why.empty(), "a TIFF that cannot take EXIF says why");
        return;
    }
    const std::string t = readFile(path);
    // The block first, as it was but for the header's pointer to the new directory.
    expect(t.size() >= block.size() && std::memcmp(t.data(), block.data(), 4) == 0 &&
               std::memcmp(t.data() + 8, block.data() + 8, block.size() - 8) == 0,
           "a TIFF given EXIF starts with the block");
    auto u = [&](std::size_t at, int n) {
        uint32_t v = 0;
        for (int k = 0; k < n; ++k) {
            const uint32_t byte = uint8_t(t[at + std::size_t(big ? k : n - 1 - k)]);
            v = v << 8 | byte;
        }
        return v;
    };
    const std::size_t ifd = u(4, 4);
    expect(ifd + 2 <= t.size(), "a TIFF given EXIF has its directory in the file");
    const std::size_t n = u(ifd, 2);
    expect(ifd + 2 + n * 12 + 4 <= t.size(), "a TIFF given EXIF has its whole directory in the file");
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t e = ifd + 2 + i * 12;
        if (i > 0) expect(u(e - 12, 2) <= u(e, 2), "a TIFF given EXIF lists its tags in order");
        const std::size_t bytes = tiffTypeSize(u(e + 2, 2)) * u(e + 4, 4);
        if (bytes > 4)
            expect(u(e + 8, 4) <= t.size() && bytes <= t.size() - u(e + 8, 4),
                   "a TIFF given EXIF has every value in the file");
    }
}

void heif(std::string_view file) {
    const std::string path = scratchPath("input.heic");
    expect(writeFile(path, file), "the scratch HEIF file is written");
    expect(readHeifXmp(path).size() <= (16u << 20), "XMP read from a HEIF file is bounded");
    const std::vector<uint8_t> block = cameraBlock(true);
    std::string why;
    if (!putHeifExif(path, block, &why)) {
        expect(!why.empty(), "a HEIF file that cannot take EXIF says why");
        return;
    }
    const std::string written = readFile(path);
    expect(written.size() == file.size() + 8 + 10 + block.size(),
           "a HEIF file given EXIF grows by the block's box");
    readHeifXmp(path);
    expect(putHeifExif(path, block, &why), "a HEIF file given EXIF can be given it again");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view payload = bytesOf(data + 1, size - 1);
    switch (data[0] % 5) {
    case 0:
        editExifBlock(payload);
        break;
    case 1:
        rewriteJpeg(payload);
        break;
    case 2:
        putIntoPng(payload);
        break;
    case 3:
        putIntoTiff(payload);
        break;
    default:
        heif(payload);
        break;
    }
    return 0;
}
