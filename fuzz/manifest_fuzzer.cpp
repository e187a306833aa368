// libFuzzer target: the manifest of project files (manifest.json). The bytes become the manifest of
// an otherwise sound project, whose photo, picture and 4 × 4 layers the program's own writer made:
// the manifest must be read or refused with a reason, an opened project must save and open again
// the same (ProjectChecks.h), and picture settings that were read must write and read back equal.
#include "FuzzSupport.h"
#include "ProjectChecks.h"
#include "document/ZipArchive.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <map>

using namespace pimavo;
using namespace pimavo::fuzz;

namespace {

constexpr int kSide = 4;

Image layer(uint16_t grey, uint16_t alpha) {
    Bitmap b(kSide, kSide, PixelLayout{16, AlphaInfo::PremultipliedLast});
    for (int y = 0; y < kSide; ++y) {
        auto* p = reinterpret_cast<uint16_t*>(b.row(y));
        for (int x = 0; x < kSide; ++x, p += 4) p[0] = p[1] = p[2] = uint16_t(grey / (x + 1)), p[3] = alpha;
    }
    return Image::imageWithBitmap(std::move(b));
}

// The entries every project around a fuzzed manifest holds, as the program writes them.
const std::map<std::string, std::string>& soundEntries() {
    static const std::map<std::string, std::string> entries = [] {
        ProjectDocument p;
        p.originalName = "photo.jpg";
        p.originalBytes = std::make_shared<const std::string>("the photo's bytes, kept as they were");
        Bitmap photo(kSide, kSide, PixelLayout{8, AlphaInfo::NoneSkipLast});
        p.photo = std::make_shared<const Bitmap>(std::move(photo));
        p.workingWidth = p.workingHeight = kSide;
        p.mask = layer(0xFFFF, 0xFFFF);
        p.colorLayer = layer(0x4000, 0x8000);
        const std::string path = scratchPath("sound.pimavo");
        std::string why;
        expect(writeProjectFile(p, path, &why), "the sound project can be written");
        ZipReader zip;
        expect(zip.open(readFile(path), why), "the sound project opens");
        std::map<std::string, std::string> out;
        for (const std::string& name : zip.names())
            if (name != "manifest.json") out[name] = *zip.read(name, why);
        return out;
    }();
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view manifest = bytesOf(data, size);
    ZipWriter zip;
    zip.add("mimetype", ProjectDocument::kMimeType);
    zip.add("manifest.json", manifest);
    for (const auto& [name, content] : soundEntries())
        if (name != "mimetype") zip.add(name, content);
    static const std::string path = scratchPath("manifest.pimavo");
    std::string why;
    expect(zip.write(path, why), "the project around the manifest can be written");
    checkProjectFile(path);

    // The picture settings on their own, at the version the manifest claims.
    const QJsonObject json =
        QJsonDocument::fromJson(QByteArray(manifest.data(), qsizetype(manifest.size()))).object();
    std::string damage;
    const auto settings = PictureSettings::fromJson(json, json["version"].toInt(1), &damage);
    if (!settings) {
        expect(!damage.empty(), "refused settings say which value is wrong");
        return 0;
    }
    const auto back = PictureSettings::fromJson(settings->toJson(), PictureSettings::kVersion, &damage);
    expect(back && *back == *settings, "picture settings read back as they were written");
    return 0;
}
