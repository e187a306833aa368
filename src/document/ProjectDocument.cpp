#include "ProjectDocument.h"

#include "ZipArchive.h"
#include "engine/Renderer.h"
#include "imageio/AtomicFile.h"
#include "imageio/FailureText.h"
#include "imageio/ImageProperties.h"
#include "imageio/ImageTypes.h"
#include "imageio/TiffWriter.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <png.h>
#include <unistd.h>

namespace pimavo {

namespace {

namespace fs = std::filesystem;

constexpr const char* kFormatName = "pimavo-project";
constexpr const char* kManifest = "manifest.json";
constexpr const char* kMask = "mask.png";
constexpr const char* kColorLayer = "color-layer.png";
constexpr const char* kPhoto = "photo.tiff";
constexpr const char* kThumbnail = "thumbnail.png";
// Larger than any working size the canvas makes (about two megapixels) by far, small enough that a
// forged size cannot ask for absurd memory.
constexpr int kMaxWorkingSide = 32768;
constexpr double kMaxWorkingPixels = 16.0 * 1000 * 1000;
// A project is a ZIP without ZIP64.
constexpr std::uintmax_t kMaxProjectBytes = 0xFFFFFFFFu;

const PixelLayout kLayerLayout{16, AlphaInfo::PremultipliedLast};

// ---- 16-bit PNG in memory -----------------------------------------------------------------------

struct PngErrors {
    char message[200] = {};
};

[[noreturn]] void pngError(png_structp png, png_const_charp text) {
    auto* e = static_cast<PngErrors*>(png_get_error_ptr(png));
    std::snprintf(e->message, sizeof e->message, "%s", text);
    png_longjmp(png, 1);
}
void pngWarning(png_structp, png_const_charp) {}

void appendToString(png_structp png, png_bytep data, png_size_t size) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), size);
}
void flushNothing(png_structp) {}

// The fewest channels that hold the layer exactly: grey for an opaque grey mask, RGB for an opaque
// layer, RGBA otherwise (colour premultiplied, as the buffers keep it).
int channelsNeeded(const Bitmap& b) {
    bool grey = true;
    for (int y = 0; y < b.height(); ++y) {
        const auto* p = reinterpret_cast<const uint16_t*>(b.row(y));
        for (int x = 0; x < b.width(); ++x, p += 4) {
            if (p[3] != 0xFFFF) return 4;
            grey = grey && p[0] == p[1] && p[1] == p[2];
        }
    }
    return grey ? 1 : 3;
}

// Fills `rows` with the big-endian rows of `channels` samples libpng takes; setjmp-free so that it
// may own vectors.
std::vector<uint8_t> packedRows(const Bitmap& b, int channels) {
    const std::size_t rowBytes = std::size_t(b.width()) * std::size_t(channels) * 2;
    std::vector<uint8_t> out(rowBytes * std::size_t(b.height()));
    uint8_t* o = out.data();
    for (int y = 0; y < b.height(); ++y) {
        const auto* p = reinterpret_cast<const uint16_t*>(b.row(y));
        for (int x = 0; x < b.width(); ++x, p += 4)
            for (int c = 0; c < channels; ++c) {
                *o++ = uint8_t(p[c] >> 8);
                *o++ = uint8_t(p[c]);
            }
    }
    return out;
}

// `packed`: big-endian rows of `channels` samples of `depth` (8 or 16) bits.
bool encodePng(const std::vector<uint8_t>& packed, int width, int height, int channels, int depth,
               std::string& out, PngErrors& errors) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors, pngError, pngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendToString, flushNothing);
    const int type = channels == 1   ? PNG_COLOR_TYPE_GRAY
                     : channels == 3 ? PNG_COLOR_TYPE_RGB
                                     : PNG_COLOR_TYPE_RGBA;
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), depth, type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Masks are mostly flat areas with soft edges: one cheap filter and the fastest deflate make a
    // file a fraction of the raw size in a few milliseconds per megapixel.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    const std::size_t rowBytes = std::size_t(width) * std::size_t(channels) * std::size_t(depth / 8);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(packed.data() + rowBytes * std::size_t(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::optional<std::string> layerPng(const Image& layer, int width, int height, std::string& why) {
    auto bitmap = Renderer().createBitmap(layer, RectF(0, 0, width, height), kLayerLayout);
    if (!bitmap) {
        why = QT_TRANSLATE_NOOP("Failure", "the painting could not be rendered");
        return std::nullopt;
    }
    const int channels = channelsNeeded(*bitmap);
    const std::vector<uint8_t> packed = packedRows(*bitmap, channels);
    std::string out;
    PngErrors errors;
    if (!encodePng(packed, width, height, channels, 16, out, errors)) {
        why = failure::compose(failure::kPaintingNotCompressed, {errors.message});
        return std::nullopt;
    }
    return out;
}

// The picture made small, as 8-bit RGB: what file managers and recovery offers show.
std::optional<std::string> thumbnailPng(const Image& picture, std::string& why) {
    const RectF e = picture.extent();
    if (e.isEmpty() || e.isInfinite()) return std::nullopt;
    const double scale =
        std::min(1.0, double(ProjectDocument::kThumbnailSide) / std::max(e.width(), e.height()));
    const Image small = picture.imageByApplyingTransform(Transform2D::scale(scale, scale));
    const RectF r(std::floor(small.extent().minX()), std::floor(small.extent().minY()),
                  std::max(1.0, std::floor(e.width() * scale)),
                  std::max(1.0, std::floor(e.height() * scale)));
    auto bitmap = Renderer().createBitmap(small, r, PixelLayout{8, AlphaInfo::NoneSkipLast});
    if (!bitmap) {
        why = QT_TRANSLATE_NOOP("Failure", "the thumbnail could not be rendered");
        return std::nullopt;
    }
    std::vector<uint8_t> packed;
    packed.reserve(std::size_t(bitmap->width()) * std::size_t(bitmap->height()) * 3);
    for (int y = 0; y < bitmap->height(); ++y) {
        const auto* p = reinterpret_cast<const uint8_t*>(bitmap->row(y));
        for (int x = 0; x < bitmap->width(); ++x, p += 4) packed.insert(packed.end(), p, p + 3);
    }
    std::string out;
    PngErrors errors;
    if (!encodePng(packed, bitmap->width(), bitmap->height(), 3, 8, out, errors)) {
        why = failure::compose(failure::kThumbnailNotCompressed, {errors.message});
        return std::nullopt;
    }
    return out;
}

struct PngSource {
    const std::string* bytes;
    std::size_t at = 0;
};

void readFromString(png_structp png, png_bytep data, png_size_t size) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (size > src->bytes->size() - src->at)
        png_error(png, QT_TRANSLATE_NOOP("Failure", "the picture ends early"));
    std::memcpy(data, src->bytes->data() + src->at, size);
    src->at += size;
}

struct PngHeader {
    png_uint_32 width = 0, height = 0;
    int depth = 0, type = 0, interlace = 0;
};

bool readPngHeader(png_structp png, png_infop info, PngHeader& h) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    png_get_IHDR(png, info, &h.width, &h.height, &h.depth, &h.type, &h.interlace, nullptr, nullptr);
    return true;
}

bool readPngRows(png_structp png, png_infop info, std::vector<png_bytep>& rows, std::size_t rowBytes) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFFFF, PNG_FILLER_AFTER);
    png_set_swap(png); // to native 16-bit values
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != rowBytes)
        png_error(png, QT_TRANSLATE_NOOP("Failure", "unexpected layout"));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

// A 16-bit layer of exactly the working size, as the buffers hold it.
std::optional<Bitmap> decodeLayer(const std::string& bytes, int width, int height, std::string& why) {
    PngErrors errors;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, &info, nullptr);
        why = QT_TRANSLATE_NOOP("Failure", "out of memory");
        return std::nullopt;
    }
    PngSource src{&bytes};
    png_set_read_fn(png, &src, readFromString);
    PngHeader h;
    std::optional<Bitmap> bitmap;
    if (!readPngHeader(png, info, h)) {
        why = errors.message;
    } else if (int(h.width) != width || int(h.height) != height || h.depth != 16 ||
               h.interlace != PNG_INTERLACE_NONE) {
        why = QT_TRANSLATE_NOOP("Failure", "it is not a 16-bit picture of the working size");
    } else if ((bitmap = Bitmap::make(width, height, kLayerLayout))) {
        auto rows = std::vector<png_bytep>(std::size_t(height));
        for (int y = 0; y < height; ++y) rows[std::size_t(y)] = reinterpret_cast<png_bytep>(bitmap->row(y));
        if (!readPngRows(png, info, rows, std::size_t(width) * 8)) {
            why = errors.message;
            bitmap.reset();
        }
    } else {
        why = QT_TRANSLATE_NOOP("Failure", "there is not enough memory for it");
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return bitmap;
}

// ---- files ----------------------------------------------------------------------------------------

// A file of the caller's in the temporary folder, removed when it goes.
class TempFile {
public:
    explicit TempFile(const std::string& suffix) {
        const char* dir = std::getenv("TMPDIR");
        std::string name = std::string(dir && *dir ? dir : "/tmp") + "/pimavo-project-XXXXXX" + suffix;
        std::vector<char> tmpl(name.begin(), name.end());
        tmpl.push_back('\0');
        const int fd = ::mkstemps(tmpl.data(), int(suffix.size()));
        if (fd < 0) return;
        ::close(fd);
        path_ = tmpl.data();
    }
    ~TempFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool writeWholeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    return bool(out);
}

// The name the original keeps inside the archive: its own, without any folder.
std::string entryNameFor(const std::string& originalName) {
    std::string name = fs::path(originalName).filename().string();
    if (name.empty() || name == "." || name == "..") name = "photo";
    return "original/" + name;
}

} // namespace

bool writeProjectFile(const ProjectDocument& project, const std::string& path, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = saveFailureMessage(path, why);
        return false;
    };
    const bool hasOriginal = project.originalBytes && !project.originalBytes->empty();
    if (!hasOriginal && !project.photo) return fail(QT_TRANSLATE_NOOP("Failure", "there is no picture"));
    if (project.workingWidth <= 0 || project.workingHeight <= 0)
        return fail(QT_TRANSLATE_NOOP("Failure", "the picture has no working size"));

    // The two layers and the kept picture are independent: they are encoded side by side.
    std::string why;
    auto encode = [&](const Image& layer) -> std::future<std::optional<std::string>> {
        if (!layer) return {};
        return std::async(std::launch::async, [&, layer] {
            std::string reason;
            auto png = layerPng(layer, project.workingWidth, project.workingHeight, reason);
            return png ? png : std::optional<std::string>("\0" + reason);
        });
    };
    auto maskJob = encode(project.mask);
    auto layerJob = encode(project.colorLayer);
    // A thumbnail that cannot be made is no reason to lose the save: the project is whole without.
    std::string thumbnailWhy;
    const auto thumbnail = project.picture ? thumbnailPng(project.picture, thumbnailWhy) : std::nullopt;
    std::optional<std::string> photoTiff;
    if (project.photo) {
        TempFile temp(".tiff");
        if (temp.path().empty()) return fail(QT_TRANSLATE_NOOP("Failure", "no temporary file could be made"));
        std::string reason;
        if (!writeTiff(*project.photo, temp.path(), "zip", {}, reason)) return fail(reason);
        photoTiff = readWholeFile(temp.path());
        if (!photoTiff) return fail(QT_TRANSLATE_NOOP("Failure", "the picture could not be read back"));
    }
    auto finish = [&](std::future<std::optional<std::string>>& job) -> std::optional<std::string> {
        if (!job.valid()) return std::string();
        auto out = job.get();
        if (out && !out->empty() && (*out)[0] == '\0') {
            why = out->substr(1);
            return std::nullopt;
        }
        return out;
    };
    const auto maskPng = finish(maskJob);
    const auto layerPng = finish(layerJob);
    if (!maskPng || !layerPng) return fail(why);

    QJsonObject manifest;
    manifest["format"] = kFormatName;
    manifest["version"] = ProjectDocument::kFormatVersion;
    manifest["generator"] = QString::fromStdString(softwareName());
    if (hasOriginal)
        manifest["original"] =
            QJsonObject{{"name", QString::fromStdString(project.originalName)},
                        {"entry", QString::fromStdString(entryNameFor(project.originalName))}};
    if (project.photo) manifest["photo"] = kPhoto;
    manifest["workingSize"] = QJsonArray{project.workingWidth, project.workingHeight};
    if (project.mask) manifest["mask"] = kMask;
    if (project.colorLayer) manifest["colorLayer"] = kColorLayer;
    if (thumbnail) manifest["thumbnail"] = kThumbnail;
    const QJsonObject settings = project.settings.toJson();
    for (auto it = settings.begin(); it != settings.end(); ++it) manifest[it.key()] = it.value();
    if (!project.brush.empty()) {
        QJsonArray brush;
        for (double v : project.brush) brush.append(v);
        manifest["brush"] = brush;
    }
    if (!project.savedPath.empty())
        manifest["savedAs"] = QJsonObject{{"path", QString::fromStdString(project.savedPath)},
                                          {"type", QString::fromStdString(project.savedType)}};
    const QByteArray json = QJsonDocument(manifest).toJson(QJsonDocument::Indented);

    ZipWriter zip;
    // First and stored, as in other ZIP-based documents: the type can be told from fixed offsets.
    zip.add("mimetype", ProjectDocument::kMimeType);
    zip.add(kManifest, std::string_view(json.constData(), std::size_t(json.size())));
    if (hasOriginal) zip.add(entryNameFor(project.originalName), *project.originalBytes);
    if (photoTiff) zip.add(kPhoto, *photoTiff);
    if (project.mask) zip.add(kMask, *maskPng);
    if (project.colorLayer) zip.add(kColorLayer, *layerPng);
    if (thumbnail) zip.add(kThumbnail, *thumbnail);
    return writeFileAtomically(
        path, std::string(".") + ProjectDocument::kExtension,
        [&](const std::string& temp, std::string& reason) { return zip.write(temp, reason); }, error);
}

bool isProjectFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[30 + 8 + 28] = {};
    if (!in.read(head, sizeof head) || std::memcmp(head, "PK\3\4", 4) != 0) return false;
    // As Pimavo writes it: the type at a fixed place, no need to read further.
    if (std::string_view(head + 30, 36) == std::string("mimetype") + ProjectDocument::kMimeType) return true;
    // Packed again by another tool: the archive says.
    std::string why;
    const auto bytes = readWholeFile(path);
    ZipReader zip;
    return bytes && zip.open(*bytes, why) && zip.contains(kManifest) && zip.contains("mimetype") &&
           zip.read("mimetype", why) == std::string(ProjectDocument::kMimeType);
}

ProjectReadResult readProjectFile(const std::string& path) {
    ProjectReadResult result;
    const std::string name = fs::path(path).filename().string();
    auto fail = [&](const std::string& why) {
        result.reason = why;
        result.error = failure::compose(failure::kProjectCannotBeOpened, {name, why});
        return result;
    };
    std::error_code ec;
    if (fs::is_directory(path, ec)) return fail(QT_TRANSLATE_NOOP("Failure", "it is a folder"));
    if (const auto size = fs::file_size(path, ec); !ec && size > kMaxProjectBytes)
        return fail(QT_TRANSLATE_NOOP("Failure", "it is too large to be a Pimavo project"));
    auto bytes = readWholeFile(path);
    if (!bytes) return fail(failure::compose(failure::kProjectUnreadable, {std::strerror(errno)}));
    ZipReader zip;
    std::string why;
    if (!zip.open(std::move(*bytes), why)) return fail(why);
    const auto json = zip.read(kManifest, why);
    if (!json)
        return fail(zip.contains(kManifest) ? why
                                            : QT_TRANSLATE_NOOP("Failure", "it is not a Pimavo project"));
    QJsonParseError parseError;
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromRawData(json->data(), qsizetype(json->size())), &parseError);
    if (!doc.isObject()) return fail(QT_TRANSLATE_NOOP("Failure", "its description is damaged"));
    const QJsonObject m = doc.object();
    if (m["format"].toString() != kFormatName)
        return fail(QT_TRANSLATE_NOOP("Failure", "it is not a Pimavo project"));
    const int version = m["version"].toInt(0);
    if (version > ProjectDocument::kFormatVersion)
        return fail(
            failure::compose(failure::kNewerProject,
                             {std::to_string(version), std::to_string(ProjectDocument::kFormatVersion)}));
    if (version < 1)
        return fail(QT_TRANSLATE_NOOP("Failure", "its description is damaged (no format version)"));

    ProjectDocument p;
    p.formatVersion = version;
    const QJsonArray size = m["workingSize"].toArray();
    p.workingWidth = size.size() == 2 ? size[0].toInt(0) : 0;
    p.workingHeight = size.size() == 2 ? size[1].toInt(0) : 0;
    if (p.workingWidth <= 0 || p.workingHeight <= 0 || p.workingWidth > kMaxWorkingSide ||
        p.workingHeight > kMaxWorkingSide || double(p.workingWidth) * p.workingHeight > kMaxWorkingPixels)
        return fail(QT_TRANSLATE_NOOP("Failure", "its description is damaged (working size)"));

    std::string damage;
    const auto settings = PictureSettings::fromJson(m, version, &damage);
    if (!settings) return fail(failure::compose(failure::kDescriptionDamaged, {damage}));
    p.settings = *settings;
    for (const QJsonValue v : m["brush"].toArray())
        if (v.isDouble() && std::isfinite(v.toDouble())) p.brush.push_back(v.toDouble());

    const QJsonObject savedAs = m["savedAs"].toObject();
    p.savedPath = savedAs["path"].toString().toStdString();
    p.savedType = mimeTypeOfTypeName(savedAs["type"].toString().toStdString());

    const QJsonObject original = m["original"].toObject();
    if (!original.isEmpty()) {
        const auto data = zip.read(original["entry"].toString().toStdString(), why);
        if (!data) return fail(why);
        p.originalName = fs::path(original["name"].toString().toStdString()).filename().string();
        p.originalBytes = std::make_shared<const std::string>(std::move(*data));
    }
    if (m.contains("photo")) {
        const auto data = zip.read(m["photo"].toString().toStdString(), why);
        if (!data) return fail(why);
        TempFile temp(".tiff");
        if (temp.path().empty() || !writeWholeFile(temp.path(), *data))
            return fail(QT_TRANSLATE_NOOP("Failure", "no temporary file could be made"));
        DecodeResult decoded = decodeImageFile(temp.path(), false);
        if (!decoded.image || !decoded.image->warning.empty())
            return fail(QT_TRANSLATE_NOOP("Failure", "its picture is damaged"));
        p.photo = decoded.image->bitmap;
    }
    if (!p.originalBytes && !p.photo) return fail(QT_TRANSLATE_NOOP("Failure", "it holds no photo"));

    auto layer = [&](const char* key, Image& into) -> bool {
        if (!m.contains(key)) return true;
        const std::string entry = m[key].toString().toStdString();
        const auto png = zip.read(entry, why);
        if (!png) return false;
        std::string reason;
        auto bitmap = decodeLayer(*png, p.workingWidth, p.workingHeight, reason);
        if (!bitmap) {
            why = failure::compose(failure::kEntryDamagedBecause, {entry, reason});
            return false;
        }
        into = Image::imageWithBitmap(std::move(*bitmap));
        return true;
    };
    if (!layer("mask", p.mask) || !layer("colorLayer", p.colorLayer)) return fail(why);
    result.project = std::move(p);
    return result;
}

std::optional<Bitmap> readProjectThumbnail(const std::string& path) {
    std::error_code ec;
    if (const auto size = fs::file_size(path, ec); ec || size > kMaxProjectBytes) return std::nullopt;
    auto bytes = readWholeFile(path);
    ZipReader zip;
    std::string why;
    if (!bytes || !zip.open(std::move(*bytes), why)) return std::nullopt;
    const auto png = zip.read(kThumbnail, why);
    if (!png) return std::nullopt;
    TempFile temp(".png");
    if (temp.path().empty() || !writeWholeFile(temp.path(), *png)) return std::nullopt;
    DecodeResult decoded = decodeImageFile(temp.path(), false);
    if (!decoded.image || !decoded.image->warning.empty()) return std::nullopt;
    const Bitmap& b = *decoded.image->bitmap;
    if (b.width() > ProjectDocument::kThumbnailSide || b.height() > ProjectDocument::kThumbnailSide)
        return std::nullopt;
    return b;
}

DecodeResult decodeProjectPhoto(const ProjectDocument& project, const std::string& projectPath) {
    DecodeResult result;
    const std::string name = fs::path(projectPath).filename().string();
    if (project.photo) {
        DecodedImage image;
        image.bitmap = project.photo;
        image.bitsPerComponent = project.photo->bitsPerComponent();
        image.mimeType = "image/tiff";
        // The picture Apply made still carries the metadata of the photo it was made from.
        if (project.originalBytes) {
            TempFile temp(fs::path(project.originalName).extension().string());
            if (!temp.path().empty() && writeWholeFile(temp.path(), *project.originalBytes)) {
                image.properties = propertiesForSaving(temp.path(), image.bitsPerComponent);
                if (const auto header = readImageHeader(temp.path())) image.mimeType = header->mimeType;
            }
        }
        result.image = std::move(image);
    } else if (!project.originalBytes) {
        result.reason = QT_TRANSLATE_NOOP("Failure", "it holds no photo");
    } else {
        TempFile temp(fs::path(project.originalName).extension().string());
        if (temp.path().empty() || !writeWholeFile(temp.path(), *project.originalBytes)) {
            result.reason = QT_TRANSLATE_NOOP("Failure", "no temporary file could be made");
        } else {
            result = decodeImageFile(temp.path());
        }
    }
    if (!result.image) {
        if (result.reason.empty()) result.reason = QT_TRANSLATE_NOOP("Failure", "its photo is damaged");
        result.error = failure::compose(failure::kProjectCannotBeOpened, {name, result.reason});
    }
    return result;
}

} // namespace pimavo
