// pimavo-cli: the editor's picture pipeline without a window.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "Version.h"
#include "engine/CIFilter.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageTypes.h"
#include "imageio/ImageWriter.h"
#include "imageio/Reduction.h"

namespace {

using namespace pimavo;

void printHelp() {
    std::puts("Usage: pimavo-cli [--help] [--version] COMMAND [ARGS]\n"
              "\n"
              "Pimavo's picture pipeline without a window: the same code the editor runs.\n"
              "\n"
              "Commands:\n"
              "  info FILE                  describe a photo as JSON: size after orientation, bits per\n"
              "                             component, declared orientation, type, metadata keys\n"
              "  convert IN OUT [--type T] [--quality Q]\n"
              "                             open IN as the editor opens it (upright, reduced above 32\n"
              "                             megapixels) and save it as OUT with its metadata; the type\n"
              "                             (\"public.jpeg\", \"public.tiff\", ...) follows OUT's extension\n"
              "                             unless given; Q is the lossy quality, 0 to 1 (default 0.9)\n"
              "  filters                    list the named image operations the engine knows\n"
              "\n"
              "Options:\n"
              "  --help         show this help and exit\n"
              "  --version      show the version and exit\n"
              "\n"
              "Errors go to standard error and end with exit status 1.");
}

int fail(const std::string& message) {
    std::fprintf(stderr, "pimavo-cli: %s\n", message.c_str());
    return 1;
}

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

int info(const std::string& path) {
    std::string error;
    const auto header = readImageHeader(path, &error);
    if (!header) return fail(error);
    const ImageProperties props = ImageProperties::readFromFile(path);
    std::printf("{\n  \"file\": %s,\n  \"width\": %d,\n  \"height\": %d,\n  \"bitsPerComponent\": %d,\n"
                "  \"orientation\": %d,\n  \"type\": %s,\n  \"metadata\": [",
                jsonString(path).c_str(), header->width, header->height, header->bitsPerComponent,
                header->orientation, jsonString(header->utType).c_str());
    const auto keys = props.keys();
    for (std::size_t i = 0; i < keys.size(); ++i)
        std::printf("%s\n    %s", i ? "," : "", jsonString(keys[i]).c_str());
    std::printf("%s]\n}\n", keys.empty() ? "" : "\n  ");
    return 0;
}

int convert(const std::vector<std::string>& args) {
    std::string in, out, type;
    double quality = 0.9;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--type" && i + 1 < args.size()) {
            type = args[++i];
        } else if (args[i] == "--quality" && i + 1 < args.size()) {
            char* end = nullptr;
            quality = std::strtod(args[++i].c_str(), &end);
            if (!end || *end || !(quality >= 0 && quality <= 1)) return fail("--quality takes a number from 0 to 1");
        } else if (in.empty()) {
            in = args[i];
        } else if (out.empty()) {
            out = args[i];
        } else {
            return fail("convert takes one input and one output; see pimavo-cli --help");
        }
    }
    if (in.empty() || out.empty()) return fail("convert needs an input and an output; see pimavo-cli --help");
    if (type.empty()) {
        auto guess = utTypeForExtension(out);
        if (!guess) return fail("cannot tell the type of \"" + out + "\" from its extension; give --type");
        type = *guess;
    }
    DecodeResult decoded = decodeImageFile(in);
    if (!decoded.image) return fail(decoded.error);
    DecodedImage& image = *decoded.image;
    BitmapRef bitmap = image.bitmap;
    if (needsReduction(bitmap->width(), bitmap->height())) {
        const int side = reductionSide(bitmap->width(), bitmap->height());
        auto reduced = resizeImageToCoverSize(*bitmap, {double(side), double(side)}, image.bitsPerComponent);
        if (!reduced) return fail("the photo could not be reduced below 32 megapixels");
        bitmap = std::make_shared<const Bitmap>(std::move(*reduced));
    }
    SaveOptions options;
    options.utType = type;
    options.quality = quality;
    std::string error;
    if (!writeImageFile(*bitmap, out, options, &image.properties, &error)) return fail(error);
    return 0;
}

int listFilters() {
    for (const std::string& name : CIFilter::filterNames()) {
        const FilterAttributes* a = CIFilter::attributesForName(name);
        std::printf("%s", name.c_str());
        if (a) {
            const char* sep = "  (";
            for (const auto& in : a->inputs) {
                std::printf("%s%s", sep, in.key.c_str());
                sep = ", ";
            }
            if (!a->inputs.empty()) std::printf(")");
        }
        std::printf("\n");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printHelp();
        return 1;
    }
    const std::string_view cmd = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        printHelp();
        return 0;
    }
    if (cmd == "--version") {
        std::printf("pimavo-cli %s\n", PIMAVO_VERSION);
        return 0;
    }
    if (cmd == "filters") return listFilters();
    if (cmd == "info") {
        if (args.size() != 1) return fail("info takes one file; see pimavo-cli --help");
        return info(args[0]);
    }
    if (cmd == "convert") {
        return convert(args);
    }
    return fail("unknown command \"" + std::string(cmd) + "\"; see pimavo-cli --help");
}
