// Project files: what is written reads back bit for bit, other tools read the archive, damaged and
// newer files are refused, and a snapshot is written as it was taken.
#include "document/ProjectDocument.h"

#include "document/ZipArchive.h"
#include "engine/PaintBuffer.h"
#include "engine/Renderer.h"
#include "imageio/ImageioTestSupport.h"

#include <OpenImageIO/imageio.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <atomic>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace pimavo {
namespace {

using test::readFile;
using test::run;
using test::TempDir;
using test::writeFile;

constexpr int kW = 61, kH = 37;
const PixelLayout kLayout{16, AlphaInfo::PremultipliedLast};

using Sample = std::function<uint16_t(int x, int y, int c)>;

Image layerOf(const Sample& fn) {
    Bitmap b(kW, kH, kLayout);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            for (int c = 0; c < 4; ++c) reinterpret_cast<uint16_t*>(b.row(y))[x * 4 + c] = fn(x, y, c);
    return Image::imageWithBitmap(std::move(b));
}

std::vector<uint16_t> pixelsOf(const Image& image) {
    auto b = Renderer().createBitmap(image, RectF(0, 0, kW, kH), kLayout);
    if (!b) return {};
    std::vector<uint16_t> out;
    for (int y = 0; y < kH; ++y) {
        const auto* p = reinterpret_cast<const uint16_t*>(b->row(y));
        out.insert(out.end(), p, p + kW * 4);
    }
    return out;
}

// A soft disc, as a brush leaves it: grey, opaque, every level of 16 bits in its edge.
uint16_t softMask(int x, int y, int c) {
    if (c == 3) return 0xFFFF;
    const double d = std::hypot(x - 30.0, y - 18.0) / 20;
    return uint16_t(std::clamp(1.0 - d, 0.0, 1.0) * 65535 + 0.5) ^ uint16_t(x & 1);
}
uint16_t colourLayer(int x, int y, int c) {
    if (c == 3) return 0xFFFF;
    return x < 20 ? 0xFFFF : uint16_t((x * 977 + y * 131 + c * 7919) & 0xFFFF);
}
// Translucent pixels keep their premultiplied colour.
uint16_t translucent(int x, int y, int c) {
    const uint16_t a = uint16_t((x * 1000 + y * 17) & 0xFFFF);
    return c == 3 ? a : uint16_t(a / (c + 2));
}

ProjectDocument sampleProject() {
    ProjectDocument p;
    p.originalName = "ladybird.jpg";
    p.originalBytes = std::make_shared<const std::string>(readFile(PIMAVO_SAMPLE_PHOTO));
    p.workingWidth = kW;
    p.workingHeight = kH;
    p.settings.treatment = Treatment::Aged;
    p.settings.look = 2;
    std::array<double, PictureSettings::kAdjustmentCount> values{};
    for (int i = 0; i < PictureSettings::kAdjustmentCount; ++i)
        values[std::size_t(i)] = 0.1 * i - 0.35 + 1e-9;
    p.settings.setAdjustments(values);
    p.brush = {120.5, 30, 0.25, -0.5};
    return p;
}

TEST(ProjectDocument, WrittenProjectReadsBackExactly) {
    const struct {
        const char* what;
        Sample mask, layer;
    } cases[] = {
        {"a soft grey mask", softMask, nullptr},
        {"a colour layer alone", nullptr, colourLayer},
        {"both, the layer translucent in places", softMask, translucent},
        {"nothing painted", nullptr, nullptr},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProjectDocument p = sampleProject();
        if (c.mask) p.mask = layerOf(c.mask);
        if (c.layer) p.colorLayer = layerOf(c.layer);
        const std::string path = dir.file("work.pimavo");
        std::string error;
        ASSERT_TRUE(writeProjectFile(p, path, &error)) << error;
        EXPECT_TRUE(isProjectFile(path));
        ProjectReadResult r = readProjectFile(path);
        ASSERT_TRUE(r.project) << r.error;
        const ProjectDocument& q = *r.project;
        EXPECT_EQ(q.formatVersion, ProjectDocument::kFormatVersion);
        EXPECT_EQ(q.originalName, "ladybird.jpg");
        ASSERT_TRUE(q.originalBytes);
        EXPECT_TRUE(*q.originalBytes == *p.originalBytes);
        EXPECT_FALSE(q.photo);
        EXPECT_EQ(q.workingWidth, kW);
        EXPECT_EQ(q.workingHeight, kH);
        EXPECT_EQ(q.settings, p.settings); // every bit of every double
        EXPECT_EQ(q.brush, p.brush);
        EXPECT_EQ(bool(q.mask), bool(p.mask));
        EXPECT_EQ(bool(q.colorLayer), bool(p.colorLayer));
        if (p.mask) {
            EXPECT_EQ(pixelsOf(q.mask), pixelsOf(p.mask));
        }
        if (p.colorLayer) {
            EXPECT_EQ(pixelsOf(q.colorLayer), pixelsOf(p.colorLayer));
        }
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"work.pimavo"}); // no temporary file left
    }
}

TEST(ProjectDocument, OtherToolsReadTheArchive) {
    TempDir dir;
    ProjectDocument p = sampleProject();
    p.mask = layerOf(softMask);
    p.colorLayer = layerOf(colourLayer);
    // The picture as shown, wider than a thumbnail: left half red, right half blue.
    Bitmap shown(600, 300, {8, AlphaInfo::NoneSkipLast});
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 600; ++x) {
            shown.setComponent(x, y, 0, x < 300 ? 1.0f : 0.0f);
            shown.setComponent(x, y, 2, x < 300 ? 0.0f : 1.0f);
        }
    p.picture = Image::imageWithBitmap(std::move(shown));
    const std::string path = dir.file("work.pimavo");
    ASSERT_TRUE(writeProjectFile(p, path, nullptr));

    EXPECT_NE(run("unzip -tq '" + path + "' 2>&1").find("No errors detected"), std::string::npos);
    EXPECT_EQ(run("unzip -Z1 '" + path + "'"),
              "mimetype\nmanifest.json\noriginal/ladybird.jpg\nmask.png\ncolor-layer.png\nthumbnail.png\n");
    // The type sits at a fixed place, for file managers' content sniffing.
    EXPECT_EQ(readFile(path).substr(30, 36), "mimetypeapplication/x-pimavo-project");
    EXPECT_TRUE(run("unzip -p '" + path + "' original/ladybird.jpg") == *p.originalBytes);
    const QJsonObject manifest =
        QJsonDocument::fromJson(QByteArray::fromStdString(run("unzip -p '" + path + "' manifest.json")))
            .object();
    EXPECT_EQ(manifest["version"].toInt(), 1);
    EXPECT_EQ(manifest["treatment"].toString(), "Aged");
    EXPECT_EQ(manifest["adjustments"].toObject()["backgroundContrast"].toDouble(),
              p.settings.background.contrast);
    EXPECT_EQ(manifest["original"].toObject()["entry"].toString(), "original/ladybird.jpg");

    // The layers as a general image library reads them: 16-bit, the fewest channels, exact values.
    const struct {
        const char* entry;
        int channels;
        Sample expected;
    } layers[] = {{"mask.png", 1, softMask}, {"color-layer.png", 3, colourLayer}};
    for (const auto& l : layers) {
        SCOPED_TRACE(l.entry);
        const std::string png = dir.file(l.entry);
        writeFile(png, run("unzip -p '" + path + "' " + l.entry));
        auto in = OIIO::ImageInput::open(png);
        ASSERT_TRUE(in);
        const OIIO::ImageSpec& spec = in->spec();
        EXPECT_EQ(spec.width, kW);
        EXPECT_EQ(spec.height, kH);
        EXPECT_EQ(spec.nchannels, l.channels);
        EXPECT_EQ(spec.format, OIIO::TypeDesc::UINT16);
        std::vector<uint16_t> px(std::size_t(kW * kH * l.channels));
        ASSERT_TRUE(in->read_image(0, 0, 0, l.channels, OIIO::TypeDesc::UINT16, px.data()));
        int wrong = 0;
        // PNG rows go top-down, the engine's y up: row 0 of the file is the layer's top.
        const std::vector<uint16_t> ours = pixelsOf(layerOf(l.expected));
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                for (int c = 0; c < l.channels; ++c)
                    wrong += px[std::size_t((y * kW + x) * l.channels + c)] !=
                             ours[std::size_t((y * kW + x) * 4 + c)];
        EXPECT_EQ(wrong, 0);
    }

    // The thumbnail: 256 pixels wide, 8-bit RGB, the picture's halves where they were.
    const std::string png = dir.file("thumbnail.png");
    writeFile(png, run("unzip -p '" + path + "' thumbnail.png"));
    auto in = OIIO::ImageInput::open(png);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->spec().width, 256);
    EXPECT_EQ(in->spec().height, 128);
    EXPECT_EQ(in->spec().nchannels, 3);
    std::vector<uint8_t> px(256 * 128 * 3);
    ASSERT_TRUE(in->read_image(0, 0, 0, 3, OIIO::TypeDesc::UINT8, px.data()));
    EXPECT_EQ((std::vector<int>{px[(64 * 256 + 20) * 3], px[(64 * 256 + 20) * 3 + 2]}),
              (std::vector<int>{255, 0}));
    EXPECT_EQ((std::vector<int>{px[(64 * 256 + 230) * 3], px[(64 * 256 + 230) * 3 + 2]}),
              (std::vector<int>{0, 255}));
    const auto thumbnail = readProjectThumbnail(path);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->width(), 256);
    EXPECT_EQ(thumbnail->height(), 128);
    EXPECT_FALSE(readProjectThumbnail(PIMAVO_SAMPLE_PHOTO));
}

TEST(ProjectDocument, ArchivePackedAgainByAnotherToolStillOpens) {
    TempDir dir;
    ProjectDocument p = sampleProject();
    p.mask = layerOf(softMask);
    const std::string path = dir.file("work.pimavo");
    ASSERT_TRUE(writeProjectFile(p, path, nullptr));
    const std::string unpacked = dir.file("unpacked");
    run("mkdir '" + unpacked + "' && cd '" + unpacked + "' && unzip -q '" + path +
        "' && zip -q -9 -r ../repacked.pimavo mimetype manifest.json original mask.png");
    ProjectReadResult r = readProjectFile(dir.file("repacked.pimavo"));
    ASSERT_TRUE(r.project) << r.error;
    EXPECT_EQ(pixelsOf(r.project->mask), pixelsOf(p.mask));
    EXPECT_TRUE(*r.project->originalBytes == *p.originalBytes);
}

// A kept session names the type it was last saved as; sessions kept by earlier versions named it by
// a type id, and restore to the same place and type.
TEST(ProjectDocument, KeptSessionsOfEarlierVersionsNameTheirSavedTypeAsMimeTypes) {
    const struct {
        const char* stored;
        const char* read;
    } cases[] = {{"public.jpeg", "image/jpeg"},
                 {"org.pimavo.project", "application/x-pimavo-project"},
                 {"public.heic", "image/heic"},
                 {"image/webp", "image/webp"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        TempDir dir;
        ProjectDocument p = sampleProject();
        p.mask = layerOf(softMask);
        p.savedPath = "/photos/holiday.jpg";
        p.savedType = "placeholder/type";
        const std::string path = dir.file("session.pimavo");
        ASSERT_TRUE(writeProjectFile(p, path, nullptr));
        const std::string unpacked = dir.file("unpacked");
        run("mkdir '" + unpacked + "' && cd '" + unpacked + "' && unzip -q '" + path +
            "' && sed -i 's|placeholder/type|" + c.stored +
            "|' manifest.json && zip -q -0 -X ../old.pimavo mimetype && zip -q -9 -r ../old.pimavo "
            "manifest.json "
            "original mask.png");
        ProjectReadResult r = readProjectFile(dir.file("old.pimavo"));
        ASSERT_TRUE(r.project) << r.error;
        EXPECT_EQ(r.project->savedPath, "/photos/holiday.jpg");
        EXPECT_EQ(r.project->savedType, c.read);
    }
}

// The entries of a good project, for building bad ones.
std::vector<std::pair<std::string, std::string>> entriesOf(const std::string& path) {
    ZipReader zip;
    std::string why;
    EXPECT_TRUE(zip.open(readFile(path), why));
    std::vector<std::pair<std::string, std::string>> out;
    for (const std::string& name : zip.names()) out.emplace_back(name, *zip.read(name, why));
    return out;
}

TEST(ProjectDocument, DamagedOrNewerFilesAreRefusedWithAMessage) {
    TempDir dir;
    ProjectDocument p = sampleProject();
    p.mask = layerOf(softMask);
    const std::string good = dir.file("good.pimavo");
    ASSERT_TRUE(writeProjectFile(p, good, nullptr));
    const std::string goodBytes = readFile(good);
    const auto entries = entriesOf(good);

    auto withManifest = [&](const std::function<void(QJsonObject&)>& change) {
        ZipWriter zip;
        std::vector<std::string> keep;
        keep.reserve(entries.size());
        for (const auto& [name, data] : entries) {
            if (name != "manifest.json") {
                keep.push_back(data);
            } else {
                QJsonObject m = QJsonDocument::fromJson(QByteArray::fromStdString(data)).object();
                change(m);
                keep.push_back(QJsonDocument(m).toJson().toStdString());
            }
            zip.add(name, keep.back());
        }
        std::string why;
        const std::string path = dir.file("made.zip");
        EXPECT_TRUE(zip.write(path, why));
        return readFile(path);
    };
    auto flipped = [&](const std::string& entry) {
        std::string bytes = goodBytes;
        const std::size_t at = bytes.find("IDAT", bytes.find(entry));
        bytes[at + 40] = char(bytes[at + 40] ^ 0x10);
        return bytes;
    };
    // The archive directory's record of an entry, rewritten to claim deflated data of a huge size,
    // as an archive made to exhaust memory would.
    auto bomb = [&](const std::string& entry) {
        std::string bytes = goodBytes;
        const std::size_t record = bytes.rfind("PK\1\2", bytes.rfind(entry));
        bytes[record + 10] = 8;
        bytes.replace(record + 24, 4, std::string("\0\0\0\x80", 4));
        return bytes;
    };
    const struct {
        const char* what;
        std::string bytes;
        const char* says;
    } cases[] = {
        {"an entry that would inflate to 2 GB", bomb("mask.png"), "“mask.png” is too large"},
        {"a photo, not a project", readFile(PIMAVO_SAMPLE_PHOTO), "not a project file"},
        {"cut short", goodBytes.substr(0, goodBytes.size() / 2), "not a project file"},
        {"a byte of the mask changed", flipped("mask.png"), "“mask.png” is damaged"},
        {"from a newer version", withManifest([](QJsonObject& m) { m["version"] = 2; }),
         "newer version of Pimavo (project format 2"},
        {"some other archive", withManifest([](QJsonObject& m) { m["format"] = "slides"; }),
         "not a Pimavo project"},
        {"no version", withManifest([](QJsonObject& m) { m.remove("version"); }), "no format version"},
        {"a mask of another size", withManifest([](QJsonObject& m) {
             m["workingSize"] = QJsonArray{kW, kH + 1};
         }),
         "“mask.png” is damaged"},
        {"an absurd working size", withManifest([](QJsonObject& m) {
             m["workingSize"] = QJsonArray{100000, 100000};
         }),
         "working size"},
        {"an unknown treatment", withManifest([](QJsonObject& m) { m["treatment"] = "Neon"; }),
         "unknown treatment"},
        {"a look out of range", withManifest([](QJsonObject& m) { m["look"] = 7; }), "unknown look"},
        {"a blur that would never finish", withManifest([](QJsonObject& m) {
             QJsonObject a = m["adjustments"].toObject();
             a["blur"] = 1e9;
             m["adjustments"] = a;
         }),
         "(blur)"},
        {"the original missing", withManifest([](QJsonObject& m) {
             m["original"] = QJsonObject{{"entry", "original/gone.jpg"}};
         }),
         "no “original/gone.jpg”"},
        {"no photo at all", withManifest([](QJsonObject& m) { m.remove("original"); }), "holds no photo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.file("bad.pimavo");
        writeFile(path, c.bytes);
        ProjectReadResult r = readProjectFile(path);
        EXPECT_FALSE(r.project);
        EXPECT_EQ(r.error.rfind("“bad.pimavo” cannot be opened: ", 0), 0u) << r.error;
        EXPECT_NE(r.error.find(c.says), std::string::npos) << r.error;
    }
}

// Bytes changed anywhere, cut anywhere: a message or a project, never a crash. Archive checksums
// catch most changes, so some are made with the checksums put right again, to reach the description
// and the pictures behind them.
TEST(ProjectDocument, AnyDamageEndsInAMessage) {
    TempDir dir;
    ProjectDocument p = sampleProject();
    p.originalBytes = std::make_shared<const std::string>("not really a photo");
    p.mask = layerOf(softMask);
    p.colorLayer = layerOf(translucent);
    const std::string good = dir.file("good.pimavo");
    ASSERT_TRUE(writeProjectFile(p, good, nullptr));
    const auto entries = entriesOf(good);
    const std::string goodBytes = readFile(good);
    std::mt19937 rng(7);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::string bytes;
        if (round % 2 == 0) {
            bytes = goodBytes;
            for (int k = 0, n = 1 + int(rng() % 4); k < n; ++k) bytes[rng() % bytes.size()] = char(rng());
            if (round % 8 == 0) bytes.resize(rng() % bytes.size());
        } else {
            ZipWriter zip;
            std::vector<std::string> kept;
            kept.reserve(entries.size());
            for (const auto& [name, data] : entries) {
                kept.push_back(data);
                if (rng() % 3 == 0)
                    for (int k = 0, n = 1 + int(rng() % 3); k < n; ++k)
                        kept.back()[rng() % kept.back().size()] = char(rng());
                zip.add(name, kept.back());
            }
            std::string why;
            ASSERT_TRUE(zip.write(dir.file("made.zip"), why));
            bytes = readFile(dir.file("made.zip"));
        }
        const std::string path = dir.file("bad.pimavo");
        writeFile(path, bytes);
        ProjectReadResult r = readProjectFile(path);
        if (r.project) {
            EXPECT_TRUE(r.error.empty());
            EXPECT_TRUE(r.project->originalBytes || r.project->photo);
            if (r.project->mask) {
                EXPECT_EQ(pixelsOf(r.project->mask).size(), std::size_t(kW * kH * 4));
            }
        } else {
            ++refused;
            EXPECT_FALSE(r.error.empty()) << "round " << round;
        }
        isProjectFile(path);
        readProjectThumbnail(path);
    }
    EXPECT_GT(refused, 100);
}

TEST(ProjectDocument, SnapshotIsWrittenAsTakenWhilePaintingGoesOn) {
    TempDir dir;
    auto buffer = PaintBuffer::imageAccumulatorWithExtent(RectF(0, 0, kW, kH), PixelFormat::RGBA16);
    buffer->setImage(layerOf(softMask));
    ProjectDocument p = sampleProject();
    p.mask = buffer->image();
    const std::vector<uint16_t> taken = pixelsOf(p.mask);
    const std::string path = dir.file("auto.pimavo");
    std::atomic<bool> done{false};
    bool written = false;
    std::thread writer([&] {
        written = writeProjectFile(p, path, nullptr);
        done = true;
    });
    // Painting on: the buffer changes under the writer, the snapshot it holds must not.
    int strokes = 0;
    while (!done || strokes < 3) {
        buffer->setImage(Image::imageWithColor({double(strokes % 2), 1, 1, 1}), RectF(0, 0, kW, kH));
        ++strokes;
    }
    writer.join();
    ASSERT_TRUE(written);
    ProjectReadResult r = readProjectFile(path);
    ASSERT_TRUE(r.project) << r.error;
    EXPECT_EQ(pixelsOf(r.project->mask), taken);
}

TEST(ProjectDocument, FailedSaveLeavesTheProjectThereAsItWas) {
    TempDir dir;
    const std::string path = dir.file("work.pimavo");
    ASSERT_TRUE(writeProjectFile(sampleProject(), path, nullptr));
    const std::string before = readFile(path);
    ProjectDocument empty = sampleProject();
    empty.originalBytes.reset();
    std::string error;
    EXPECT_FALSE(writeProjectFile(empty, path, &error));
    EXPECT_EQ(error, "“work.pimavo” could not be saved: there is no picture.");
    EXPECT_FALSE(writeProjectFile(sampleProject(), dir.file("gone/work.pimavo"), &error));
    EXPECT_EQ(error, "“work.pimavo” could not be saved: the folder does not exist.");
    EXPECT_TRUE(readFile(path) == before);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"work.pimavo"});
}

TEST(ProjectDocument, PhotoComesBackAsTheEditorOpensTheOriginal) {
    TempDir dir;
    const std::string path = dir.file("work.pimavo");
    ASSERT_TRUE(writeProjectFile(sampleProject(), path, nullptr));
    ProjectReadResult r = readProjectFile(path);
    ASSERT_TRUE(r.project);
    DecodeResult fromProject = decodeProjectPhoto(*r.project, path);
    DecodeResult direct = decodeImageFile(PIMAVO_SAMPLE_PHOTO, false);
    ASSERT_TRUE(fromProject.image) << fromProject.error;
    ASSERT_TRUE(direct.image);
    const Bitmap &a = *fromProject.image->bitmap, &b = *direct.image->bitmap;
    ASSERT_EQ(a.width(), b.width());
    ASSERT_EQ(a.height(), b.height());
    EXPECT_TRUE(std::equal(a.bytes().begin(), a.bytes().end(), b.bytes().begin(), b.bytes().end()));
    EXPECT_EQ(fromProject.image->properties.keys(), direct.image->properties.keys());
    EXPECT_EQ(fromProject.image->mimeType, "image/jpeg");

    // A picture that is no longer the opened photo (after Apply) is kept whole, at its depth.
    for (int bits : {8, 16, 32}) {
        SCOPED_TRACE(bits);
        ProjectDocument q = sampleProject();
        Bitmap photo(23, 17, {bits, bits == 8 ? AlphaInfo::NoneSkipFirst : AlphaInfo::NoneSkipLast});
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 23; ++x)
                for (int c = 0; c < 3; ++c)
                    photo.setComponent(x, y, (bits == 8) + c,
                                       float(test::testPattern(x, y, c) * (bits == 32 ? 3 : 1)));
        q.photo = std::make_shared<const Bitmap>(photo);
        ASSERT_TRUE(writeProjectFile(q, path, nullptr));
        ProjectReadResult back = readProjectFile(path);
        ASSERT_TRUE(back.project) << back.error;
        DecodeResult d = decodeProjectPhoto(*back.project, path);
        ASSERT_TRUE(d.image);
        const Bitmap& got = *d.image->bitmap;
        ASSERT_EQ(got.bitsPerComponent(), bits);
        EXPECT_EQ(d.image->properties.keys(), direct.image->properties.keys()) << "the original's metadata";
        EXPECT_EQ(d.image->mimeType, "image/jpeg") << "the original's type";
        int wrong = 0;
        const int r0 = got.layout().alphaFirst(), r1 = photo.layout().alphaFirst();
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 23; ++x)
                for (int c = 0; c < 3; ++c)
                    wrong += got.component(x, y, r0 + c) != photo.component(x, y, r1 + c);
        EXPECT_EQ(wrong, 0);
    }
}

} // namespace
} // namespace pimavo
