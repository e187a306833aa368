#include "ImageTypes.h"

#include "RasterCodec.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace pimavo {

namespace {

struct TypeRow {
    const char* format; // decoder and encoder name
    const char* utType;
    const char* extension;
    const char* otherExtensions; // also in common use for the type, space-separated
};

// One row per format the editor handles; the order is the order formats are tried when sniffing.
constexpr TypeRow kTypes[] = {
    {"jpeg", "public.jpeg", "jpg", "jpeg"},
    {"tiff", "public.tiff", "tiff", "tif"},
    {"png", "public.png", "png", ""},
    {"raw", "public.camera-raw-image", "dng", ""},
    {"heif", "public.heic", "heic", "heif"},
    {"webp", "org.webmproject.webp", "webp", ""},
    {"openexr", "com.ilm.openexr-image", "exr", ""},
    {"jpeg2000", "public.jpeg-2000", "jp2", ""},
    {"bmp", "com.microsoft.bmp", "bmp", ""},
    {"ico", "com.microsoft.ico", "ico", ""},
};

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::vector<std::string> readableFileTypes() {
    static const std::string kList =
        "tiff/tif/jpg/jpeg/png/bmp/nef/crw/cr2/nrw/orf/raw/rw2/ptx/ptx/3fr/erf/raf/raw/"
        "rwl/dng/mrw/mos/arw/srf/sr2/pef/jp2/exr";
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = kList.find('/', start);
        out.push_back(kList.substr(start, slash - start));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return out;
}

std::string utTypeForFormat(std::string_view format) {
    for (const TypeRow& t : kTypes)
        if (format == t.format) return t.utType;
    return {};
}

std::string formatForUTType(std::string_view utType) {
    for (const TypeRow& t : kTypes)
        if (utType == t.utType) return t.format;
    return {};
}

std::string extensionForUTType(std::string_view utType) {
    for (const TypeRow& t : kTypes)
        if (utType == t.utType) return t.extension;
    return {};
}

std::vector<std::string> extensionsForUTType(std::string_view utType) {
    std::vector<std::string> out;
    for (const TypeRow& t : kTypes) {
        if (utType != t.utType) continue;
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

std::optional<std::string> utTypeForExtension(std::string_view path) {
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
                    const std::string ut = utTypeForFormat(format);
                    if (!ut.empty()) return ut;
                }
            }
            pos = end + 1;
        }
        return std::nullopt;
    };
    if (auto ut = inTable(codec::jpegBackend().formatList("extension_list"))) return ut;
    if (auto ut = inTable(codec::pngBackend().formatList("extension_list"))) return ut;
    if (std::string_view(ext) == "tif" || std::string_view(ext) == "tiff") return "public.tiff";
    if (auto* library = codec::libraryBackend()) return inTable(library->formatList("extension_list"));
    return std::nullopt;
}

bool hasOwnEncoder(std::string_view utType) {
    return utType == "public.jpeg" || utType == "public.tiff" || utType == "public.png";
}

std::vector<std::string> writableUTTypes() {
    auto* library = codec::libraryBackend();
    const std::string outputs =
        ",jpeg,tiff,png," + (library ? library->formatList("output_format_list") : std::string()) + ",";
    std::vector<std::string> out;
    for (const TypeRow& t : kTypes) {
        const std::string ut = t.utType;
        if (ut == "com.apple.icns" || ut == "com.microsoft.ico" || ut == "com.adobe.pdf") continue;
        if (ut == "public.camera-raw-image") continue; // no encoder writes camera raw
        if (outputs.find(std::string(",") + t.format + ",") != std::string::npos) out.push_back(ut);
    }
    return out;
}

const std::vector<std::string>& decoderFormats() {
    static const std::vector<std::string> formats = [] {
        std::vector<std::string> f;
        auto* library = codec::libraryBackend();
        const std::string inputs =
            ",jpeg,png," + (library ? library->formatList("input_format_list") : std::string()) + ",";
        for (const TypeRow& t : kTypes)
            if (std::string_view(t.format) != "ico" &&
                inputs.find(std::string(",") + t.format + ",") != std::string::npos)
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
