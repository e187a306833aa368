#include "ImageTypes.h"

#include "RasterCodec.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace pimavo {

namespace {

struct TypeRow {
    const char* format; // decoder and encoder name
    const char* mimeType;
    const char* extension;
    const char* otherExtensions;  // also in common use for the type, space-separated
    const char* compression = ""; // which of the format's codings the type is, where it has several
};

// One row per type of photo the editor handles; the order is the order formats are tried when
// sniffing. Whether a row's format is read or written at all is asked of the codecs at run time.
// One format may hold several types (HEIF holds HEVC and AV1 pictures): the first row of a format
// is the one it answers for when nothing tells them apart.
constexpr TypeRow kTypes[] = {
    {"jpeg", "image/jpeg", "jpg", "jpeg"},
    {"tiff", "image/tiff", "tiff", "tif"},
    {"png", "image/png", "png", ""},
    {"raw", "image/x-dcraw", "dng", ""},
    {"heif", "image/heic", "heic", "heif hif", "heic"},
    {"heif", "image/avif", "avif", "", "avif"},
    {"webp", "image/webp", "webp", ""},
    {"jpegxl", "image/jxl", "jxl", ""},
    {"openexr", "image/x-exr", "exr", ""},
    {"jpeg2000", "image/jp2", "jp2", ""},
    {"bmp", "image/bmp", "bmp", ""},
    {"ico", "image/vnd.microsoft.icon", "ico", ""},
};

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The extensions `format` goes by in a codec's table ("jpeg:jpg,jpe;tiff:tif,tiff").
std::vector<std::string> extensionsInTable(const std::string& table, std::string_view format) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < table.size()) {
        const std::size_t end = std::min(table.find(';', pos), table.size());
        const std::string_view entry = std::string_view(table).substr(pos, end - pos);
        const std::size_t colon = entry.find(':');
        if (colon != std::string_view::npos && entry.substr(0, colon) == format) {
            std::string_view exts = entry.substr(colon + 1);
            while (!exts.empty()) {
                const std::size_t comma = exts.find(',');
                if (comma != 0) out.push_back(lower(exts.substr(0, comma)));
                exts = comma == std::string_view::npos ? std::string_view() : exts.substr(comma + 1);
            }
        }
        pos = end + 1;
    }
    return out;
}

bool rowHasExtension(const TypeRow& t, std::string_view ext) {
    if (ext == t.extension) return true;
    std::string_view others = t.otherExtensions;
    while (!others.empty()) {
        const std::size_t space = others.find(' ');
        if (others.substr(0, space) == ext) return true;
        others = space == std::string_view::npos ? std::string_view() : others.substr(space + 1);
    }
    return false;
}

// The type of `format` an extension names: the row that goes by it, else the format's first row.
std::string mimeTypeForFormatAndExtension(std::string_view format, std::string_view ext) {
    for (const TypeRow& t : kTypes)
        if (format == t.format && rowHasExtension(t, ext)) return t.mimeType;
    for (const TypeRow& t : kTypes)
        if (format == t.format) return t.mimeType;
    return {};
}

// The extensions the built-in JPEG and PNG codecs read, known without loading the codec module.
const std::vector<std::string>& builtInExtensions() {
    static const std::vector<std::string> exts = [] {
        std::vector<std::string> e =
            extensionsInTable(codec::jpegBackend().formatList("extension_list"), "jpeg");
        for (std::string& x : extensionsInTable(codec::pngBackend().formatList("extension_list"), "png"))
            e.push_back(std::move(x));
        return e;
    }();
    return exts;
}

} // namespace

const std::vector<std::string>& readableFileTypes() {
    static const std::vector<std::string> types = [] {
        std::vector<std::string> out;
        auto add = [&](const std::string& ext) {
            if (!ext.empty() && std::find(out.begin(), out.end(), ext) == out.end()) out.push_back(ext);
        };
        for (const std::string& ext : builtInExtensions()) add(ext);
        codec::RasterBackend* library = codec::libraryBackend();
        const std::string table = library ? library->formatList("extension_list") : std::string();
        for (const std::string& format : decoderFormats()) {
            if (format == "jpeg" || format == "png") continue;
            for (const std::string& ext : extensionsInTable(table, format)) add(ext);
        }
        return out;
    }();
    return types;
}

bool isReadableExtension(std::string_view extension) {
    const std::string ext = lower(extension);
    if (ext.empty()) return false;
    const auto& builtIn = builtInExtensions();
    if (std::find(builtIn.begin(), builtIn.end(), ext) != builtIn.end()) return true;
    const auto& all = readableFileTypes();
    return std::find(all.begin(), all.end(), ext) != all.end();
}

std::string mimeTypeOfFile(std::string_view format, const std::string& path) {
    if (format != "heif") return mimeTypeForFormat(format);
    // A HEIF file says what its pictures are coded with by the brands of its first box.
    std::ifstream in(path, std::ios::binary);
    char box[64] = {};
    in.read(box, sizeof box);
    const std::size_t n = std::size_t(in.gcount());
    if (n < 16 || std::memcmp(box + 4, "ftyp", 4) != 0) return mimeTypeForFormat(format);
    const std::size_t size = std::min<std::size_t>(n, (uint8_t(box[2]) << 8) | uint8_t(box[3]));
    for (std::size_t brand = 8; brand + 4 <= size; brand += brand == 8 ? 8 : 4) {
        const std::string_view b(box + brand, 4);
        if (b == "avif" || b == "avis") return "image/avif";
        if (b == "heic" || b == "heix" || b == "hevc" || b == "heim" || b == "heis") return "image/heic";
    }
    return mimeTypeForFormat(format);
}

std::string mimeTypeForFormat(std::string_view format) {
    for (const TypeRow& t : kTypes)
        if (format == t.format) return t.mimeType;
    return {};
}

std::string formatForMimeType(std::string_view mimeType) {
    for (const TypeRow& t : kTypes)
        if (mimeType == t.mimeType) return t.format;
    return {};
}

std::string mimeTypeOfTypeName(std::string_view name) {
    static constexpr std::pair<std::string_view, std::string_view> kEarlierIds[] = {
        {"public.jpeg", "image/jpeg"},
        {"public.tiff", "image/tiff"},
        {"public.png", "image/png"},
        {"public.heic", "image/heic"},
        {"public.heif", "image/heif"},
        {"public.avif", "image/avif"},
        {"public.jpeg-2000", "image/jp2"},
        {"public.jpeg-xl", "image/jxl"},
        {"org.webmproject.webp", "image/webp"},
        {"com.ilm.openexr-image", "image/x-exr"},
        {"public.camera-raw-image", "image/x-dcraw"},
        {"com.microsoft.ico", "image/vnd.microsoft.icon"},
        {"com.microsoft.bmp", "image/bmp"},
        {"org.pimavo.project", "application/x-pimavo-project"},
    };
    for (const auto& [id, mime] : kEarlierIds)
        if (name == id) return std::string(mime);
    return std::string(name);
}

std::string extensionForMimeType(std::string_view mimeType) {
    for (const TypeRow& t : kTypes)
        if (mimeType == t.mimeType) return t.extension;
    return {};
}

std::vector<std::string> extensionsForMimeType(std::string_view mimeType) {
    std::vector<std::string> out;
    for (const TypeRow& t : kTypes) {
        if (mimeType != t.mimeType) continue;
        out.push_back(t.extension);
        std::string_view others = t.otherExtensions;
        while (!others.empty()) {
            const std::size_t space = others.find(' ');
            out.emplace_back(others.substr(0, space));
            others = space == std::string_view::npos ? std::string_view() : others.substr(space + 1);
        }
    }
    return out;
}

std::optional<std::string> mimeTypeForExtension(std::string_view path) {
    std::string ext = lower(std::filesystem::path(path).extension().string());
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    if (ext.empty()) return std::nullopt;
    // The codecs' own extension tables decide which format an extension means; the general one is
    // asked only for what the JPEG codec does not know.
    auto inTable = [&](const std::string& table) -> std::optional<std::string> {
        std::size_t pos = 0;
        while (pos < table.size()) {
            const std::size_t end = std::min(table.find(';', pos), table.size());
            const std::string entry = table.substr(pos, end - pos);
            const std::size_t colon = entry.find(':');
            if (colon != std::string::npos) {
                const std::string format = entry.substr(0, colon);
                std::string exts = "," + entry.substr(colon + 1) + ",";
                if (exts.find("," + ext + ",") != std::string::npos) {
                    const std::string ut = mimeTypeForFormatAndExtension(format, ext);
                    if (!ut.empty()) return ut;
                }
            }
            pos = end + 1;
        }
        return std::nullopt;
    };
    if (auto ut = inTable(codec::jpegBackend().formatList("extension_list"))) return ut;
    if (auto ut = inTable(codec::pngBackend().formatList("extension_list"))) return ut;
    if (std::string_view(ext) == "tif" || std::string_view(ext) == "tiff") return "image/tiff";
    if (auto* library = codec::libraryBackend()) return inTable(library->formatList("extension_list"));
    return std::nullopt;
}

bool hasOwnEncoder(std::string_view mimeType) {
    return mimeType == "image/jpeg" || mimeType == "image/tiff" || mimeType == "image/png";
}

std::vector<std::string> writableMimeTypes() {
    auto* library = codec::libraryBackend();
    const std::string outputs =
        ",jpeg,tiff,png," + (library ? library->formatList("output_format_list") : std::string()) + ",";
    std::vector<std::string> out;
    for (const TypeRow& t : kTypes) {
        const std::string ut = t.mimeType;
        if (ut == "image/x-icns" || ut == "image/vnd.microsoft.icon" || ut == "application/pdf") continue;
        if (ut == "image/x-dcraw") continue; // no encoder writes camera raw
        if (outputs.find(std::string(",") + t.format + ",") == std::string::npos) continue;
        // A format with several codings is offered in those its encoder has (HEIF without HEVC).
        if (*t.compression && library) {
            const auto have = library->compressions(t.format);
            if (std::find(have.begin(), have.end(), t.compression) == have.end()) continue;
        }
        out.push_back(ut);
    }
    return out;
}

std::string compressionForMimeType(std::string_view mimeType) {
    for (const TypeRow& t : kTypes)
        if (mimeType == t.mimeType) return t.compression;
    return {};
}

const std::vector<std::string>& decoderFormats() {
    static const std::vector<std::string> formats = [] {
        std::vector<std::string> f;
        auto* library = codec::libraryBackend();
        const std::string inputs =
            ",jpeg,png," + (library ? library->formatList("input_format_list") : std::string()) + ",";
        for (const TypeRow& t : kTypes)
            if (std::string_view(t.format) != "ico" &&
                inputs.find(std::string(",") + t.format + ",") != std::string::npos &&
                std::find(f.begin(), f.end(), t.format) == f.end())
                f.push_back(t.format);
        return f;
    }();
    return formats;
}

bool isDecoderFormat(std::string_view format) {
    if (format == "jpeg" || format == "png") return true;
    const auto& all = decoderFormats();
    return std::find(all.begin(), all.end(), format) != all.end();
}

} // namespace pimavo
