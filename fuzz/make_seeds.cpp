// Writes the seed corpora of the fuzzers that read what the program itself writes (projects and
// their ZIP container, the manifest, the EXIF editors' files) with the program's own writers, so
// that every seed is a file a user could have: fuzz/make-seeds.sh runs it and adds the near-misses.
//   make_seeds SAMPLE_PHOTO OUTPUT_FOLDER
#include "FuzzSupport.h"
#include "document/ProjectDocument.h"
#include "document/ZipArchive.h"
#include "imageio/ExifBlock.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageWriter.h"

#include <filesystem>
#include <iostream>

using namespace pimavo;
using namespace pimavo::fuzz;

namespace {

namespace fs = std::filesystem;

constexpr int kSide = 8;

Bitmap gradient(int bits, AlphaInfo alpha) {
    Bitmap b(kSide, kSide, PixelLayout{bits, alpha});
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            auto* p = b.row(y) + std::size_t(x) * std::size_t(b.layout().bytesPerPixel());
            for (int c = 0; c < 4; ++c) {
                const int v = c == 3 ? 255 : (x * 32 + y * (c + 1) * 8) & 255;
                if (bits == 8)
                    p[c] = std::byte(v);
                else
                    reinterpret_cast<uint16_t*>(p)[c] = uint16_t(v * 257);
            }
        }
    return b;
}

Image layer(uint16_t grey, uint16_t alpha) {
    Bitmap b(kSide, kSide, PixelLayout{16, AlphaInfo::PremultipliedLast});
    for (int y = 0; y < kSide; ++y) {
        auto* p = reinterpret_cast<uint16_t*>(b.row(y));
        for (int x = 0; x < kSide; ++x, p += 4) {
            const auto a = uint16_t(x < kSide / 2 ? alpha : 0xFFFF);
            p[0] = p[1] = p[2] = uint16_t(std::min<int>(grey, a)), p[3] = a;
        }
    }
    return Image::imageWithBitmap(std::move(b));
}

void fail(const std::string& what) {
    std::cerr << "make_seeds: " << what << "\n";
    std::exit(1);
}

std::string writePicture(const Bitmap& b, const fs::path& path, const std::string& type,
                         const ImageProperties* properties) {
    SaveOptions options;
    options.mimeType = type;
    std::string error;
    if (!writeImageFile(b, path.string(), options, properties, &error)) return {};
    return readFile(path.string());
}

void put(const fs::path& folder, const std::string& name, std::string_view bytes) {
    fs::create_directories(folder);
    if (!writeFile((folder / name).string(), bytes)) fail("cannot write " + (folder / name).string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) fail("usage: make_seeds SAMPLE_PHOTO OUTPUT_FOLDER");
    const std::string sample = argv[1];
    const fs::path out = argv[2];
    const fs::path scratch = out / "scratch";
    fs::create_directories(scratch);

    // A photo of 8 × 8 pixels carrying the sample's metadata, in each type the metadata editors change.
    const ImageProperties metadata = propertiesForSaving(sample, 8);
    const Bitmap photo = gradient(8, AlphaInfo::NoneSkipLast);
    const std::string jpeg = writePicture(photo, scratch / "photo.jpg", "image/jpeg", &metadata);
    if (jpeg.empty()) fail("no JPEG written");
    const JpegMetadata sampleMetadata = readJpegMetadata(sample);

    // exif_fuzzer: a mode byte, then the block or the file (see exif_fuzzer.cpp).
    const fs::path exif = out / "exif_fuzzer";
    auto mode = [](char m, std::string_view bytes) { return std::string(1, m) + std::string(bytes); };
    auto asString = [](const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); };
    if (!sampleMetadata.exifBlock.empty()) {
        put(exif, "block-camera", mode(0, asString(sampleMetadata.exifBlock)));
        if (const auto saved =
                exifBlockForSaving(sampleMetadata.exifBlock, 640, 480, "Pimavo", SaveTime::now()))
            put(exif, "block-saved", mode(0, asString(*saved)));
    }
    put(exif, "jpeg-metadata", mode(1, jpeg));
    put(exif, "jpeg-plain", mode(1, writePicture(photo, scratch / "plain.jpg", "image/jpeg", nullptr)));
    for (const auto& [type, name] : {std::pair{"image/png", "png"}, std::pair{"image/tiff", "tiff"}}) {
        const std::string written =
            writePicture(photo, scratch / ("photo." + std::string(name)), type, &metadata);
        if (written.empty()) fail(std::string("no ") + name + " written");
        put(exif, std::string(name) + "-metadata", mode(name[0] == 'p' ? 2 : 3, written));
        put(exif, std::string(name) + "-plain",
            mode(name[0] == 'p' ? 2 : 3,
                 writePicture(photo, scratch / ("plain." + std::string(name)), type, nullptr)));
    }
    for (const auto& [type, name] : {std::pair{"image/heic", "heic"}, std::pair{"image/avif", "avif"}}) {
        const std::string written =
            writePicture(photo, scratch / ("photo." + std::string(name)), type, &metadata);
        if (!written.empty()) put(exif, std::string(name) + "-metadata", mode(4, written));
    }

    // project_fuzzer and zip_fuzzer: projects as the editor saves them.
    ProjectDocument p;
    p.originalName = "photo.jpg";
    p.originalBytes = std::make_shared<const std::string>(jpeg);
    p.workingWidth = p.workingHeight = kSide;
    std::vector<std::pair<std::string, ProjectDocument>> projects;
    projects.emplace_back("opened", p);
    ProjectDocument painted = p;
    painted.mask = layer(0xFFFF, 0xFFFF);
    painted.colorLayer = layer(0x4000, 0x8000);
    painted.picture = Image::imageWithBitmap(gradient(8, AlphaInfo::NoneSkipLast));
    painted.settings.treatment = Treatment::Sepia;
    painted.settings.look = 2;
    painted.settings.foreground.exposure = 0.3;
    painted.settings.background.blur = 4;
    painted.brush = {45, 75, 1, 0};
    projects.emplace_back("painted", painted);
    ProjectDocument applied = painted;
    applied.photo = std::make_shared<const Bitmap>(gradient(16, AlphaInfo::NoneSkipLast));
    applied.savedPath = "/home/someone/Pictures/photo-edited.jpg";
    applied.savedType = "image/jpeg";
    projects.emplace_back("applied", applied);
    ProjectDocument pasted;
    pasted.photo = std::make_shared<const Bitmap>(gradient(8, AlphaInfo::NoneSkipLast));
    pasted.workingWidth = pasted.workingHeight = kSide;
    pasted.mask = layer(0x8000, 0xFFFF);
    projects.emplace_back("pasted", pasted);
    for (const auto& [name, project] : projects) {
        const fs::path path = scratch / (name + ".pimavo");
        std::string error;
        if (!writeProjectFile(project, path.string(), &error)) fail(error);
        const std::string bytes = readFile(path.string());
        put(out / "project_fuzzer", name + ".pimavo", bytes);
        put(out / "zip_fuzzer", name + ".zip", bytes);
        ZipReader zip;
        if (!zip.open(bytes, error)) fail(error);
        const auto manifest = zip.read("manifest.json", error);
        if (!manifest) fail(error);
        put(out / "manifest_fuzzer", name + ".json", *manifest);
    }
    fs::remove_all(scratch);
    return 0;
}
