// pimavo-cli: the editor's picture pipeline without a window.
#include "DeviceCommands.h"
#include "ShareCommands.h"
#include "Version.h"
#include "canvas/CanvasModel.h"
#include "canvas/CanvasProject.h"
#include "core/Logging.h"
#include "document/ProjectDocument.h"
#include "engine/Operation.h"
#include "engine/Operations.h"
#include "engine/Renderer.h"
#include "filters/Effects.h"
#include "filters/FilterRegistration.h"
#include "filters/Resources.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageGeometry.h"
#include "imageio/ImageTypes.h"
#include "imageio/ImageWriter.h"
#include "imageio/Reduction.h"
#include "picker/ColorIsland.h"
#include "session/EditSession.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStringList>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

using namespace pimavo;

void printHelp() {
    std::puts("Usage: pimavo-cli [--help] [--version] COMMAND [ARGS]\n"
              "\n"
              "Pimavo's picture pipeline without a window: the same code the editor runs.\n"
              "\n"
              "Commands:\n"
              "  formats                    the files Pimavo opens and the types it saves, one a line:\n"
              "                             \"read EXT MIME\", then \"write TYPE EXT MIME\"\n"
              "  info FILE                  describe a photo as JSON: size after orientation, bits per\n"
              "                             component, declared orientation, type, metadata keys\n"
              "  convert IN OUT [--type T] [--quality Q]\n"
              "                             open IN as the editor opens it (upright, at its own size)\n"
              "                             and save it as OUT with its metadata; the type\n"
              "                             (\"image/jpeg\", \"image/tiff\", ...) follows OUT's extension\n"
              "                             unless given; Q is the lossy quality, 0 to 1 (default 0.9)\n"
              "  effect IN OUT NAME [AMOUNT]\n"
              "                             apply one of the editor's looks to a photo and save it: Aged,\n"
              "                             SilverBlue, Sepia, Grayscale (AMOUNT 0 to 1, default 1),\n"
              "                             Vignette (AMOUNT 0 to 1), Drama1, Drama2, Drama3\n"
              "  render IN OUT [OPTIONS]    the editor's picture, headless: the photo with a treated\n"
              "                             background and its colour painted back along strokes.\n"
              "                             IN may be a project (.pimavo): its picture, at full\n"
              "                             resolution, with the options applied on top. OUT ending\n"
              "                             in .pimavo writes a project instead of a picture\n"
              "      --background NAME      grayscale (default), sepia, aged or silverblue\n"
              "      --preset N             0 (the photo), 1 to 3 (the drama look)\n"
              "      --mask FILE            a grey picture: white shows the photo's colour, black the\n"
              "                             treated background; stretched over the photo\n"
              "      --color-layer FILE     a picture: white keeps the photo, any other colour recolours\n"
              "      --stroke X,Y,X,Y,...   paint the photo's colour back along a path (photo pixels,\n"
              "                             y down); repeat for more strokes\n"
              "      --brush SIZE           brush diameter in photo pixels (default 80)\n"
              "      --softness S           0 (hard) to 100 (soft, default)\n"
              "      --pick X,Y[,TOLERANCE] give back the colour of the region around a point (photo\n"
              "                             pixels, y down), as a click in the colour picker followed by\n"
              "                             Apply; TOLERANCE as the picker's slider, 0 to 0.1 (default\n"
              "                             0.03); repeat to add more regions, as Shift-clicks do\n"
              "      --invert               colour everywhere except where the strokes and picks went\n"
              "      --exposure V, --brightness V, --saturation V, --contrast V, --hue V, --blur V\n"
              "                             the coloured foreground's adjustments, as the tool panel\n"
              "                             sets them (identity: 0, 0, 1, 1, 0, 0)\n"
              "      --background-brightness V, --background-contrast V, --background-saturation V,\n"
              "      --background-blur V    the same for the treated background\n"
              "      --vignette V           vignette amount, 0 to 1\n"
              "      --reduced              compose the picture below 32 megapixels, as the canvas\n"
              "                             works on it, for photos whose full size does not fit in\n"
              "                             memory (the picture has the photo's own size otherwise)\n"
              "  filters                    list the named image operations the engine knows, one a\n"
              "                             line: NAME (INPUTS), then [FORMER NAMES]: the names earlier\n"
              "                             versions used (\"CIGaussianBlur\" for gaussian-blur), which\n"
              "                             are still accepted as aliases\n"
              "  devices                    list the cameras and scanners attached, one a line:\n"
              "                             camera<TAB>MODEL<TAB>PORT or scanner<TAB>NAME<TAB>LABEL\n"
              "  import --camera MODEL --port PORT DEST\n"
              "                             download every photo on the camera into the folder DEST\n"
              "                             (\"Directory Browse\" and \"disk:FOLDER\" read a folder as\n"
              "                             a camera); prints each file written\n"
              "  scan --device NAME [--resolution DPI] [--mode Color|Gray] OUT\n"
              "                             scan the scanner's whole area (300 dpi, Color by default)\n"
              "                             into OUT, a .png or .jpg file\n"
              "  sign-in SERVICE [--server URL]\n"
              "                             sign in to flickr, tumblr or mastodon in the browser;\n"
              "                             mastodon needs its server (https, or http on this machine)\n"
              "  share SERVICE PHOTO [--size N] [--text T] [--title T] [--alt T] [--tags A,B]\n"
              "        [--visibility V] [--to DESTINATION] [--location yes|no]\n"
              "                             post PHOTO as a JPEG of longest side N with the account\n"
              "                             the editor signed in; progress on standard error, the\n"
              "                             post's address on standard output; where the photo was\n"
              "                             taken goes only with --location yes\n"
              "  mail PHOTO                 a new mail in the mail program with PHOTO attached\n"
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
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
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
                header->orientation, jsonString(header->mimeType).c_str());
    const auto keys = props.keys();
    for (std::size_t i = 0; i < keys.size(); ++i)
        std::printf("%s\n    %s", i ? "," : "", jsonString(keys[i]).c_str());
    std::printf("%s]\n}\n", keys.empty() ? "" : "\n  ");
    return 0;
}

// Numbers on the command line are read the same in every locale: the commands that need Qt run
// after it has set the process to the desktop's, where strtod takes "0.5" for 0 under a
// decimal-comma one. A leading "+" is taken, as people write it for the positive adjustments.
std::optional<double> parseNumber(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+' && ++first != last && *first == '-') return std::nullopt;
    double v = 0;
    const auto [end, error] = std::from_chars(first, last, v);
    if (first == last || error != std::errc() || end != last || !std::isfinite(v)) return std::nullopt;
    return v;
}

int convert(const std::vector<std::string>& args) {
    std::string in, out, type;
    double quality = 0.9;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--type" && i + 1 < args.size()) {
            type = mimeTypeOfTypeName(args[++i]);
        } else if (args[i] == "--quality" && i + 1 < args.size()) {
            const auto number = parseNumber(args[++i]);
            if (!number || !(*number >= 0 && *number <= 1))
                return fail("--quality takes a number from 0 to 1");
            quality = *number;
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
        auto guess = mimeTypeForExtension(out);
        if (!guess) return fail("cannot tell the type of \"" + out + "\" from its extension; give --type");
        type = *guess;
    }
    SaveOptions options;
    options.mimeType = type;
    options.quality = quality;
    std::string error;
    // A JPEG that needs no turning is written again while it is still being decoded.
    bool written = false;
    const auto streamed =
        decodeImageFileStreaming(in, [&](const DecodedImage& image, const auto& waitForRow) {
            written = writeImageFile(*image.bitmap, out, options, &image.properties, &error, waitForRow);
        });
    if (streamed) {
        if (!streamed->image) return fail(streamed->error);
        if (written) return 0;
        if (!error.empty()) return fail(error);
    }
    DecodeResult decoded = decodeImageFile(in);
    if (!decoded.image) return fail(decoded.error);
    DecodedImage& image = *decoded.image;
    if (!writeImageFile(*image.bitmap, out, options, &image.properties, &error)) return fail(error);
    return 0;
}

Image applyEffect(const Image& photo, const std::string& name, double amount) {
    if (name == "Aged") return effects::aged(photo, amount);
    if (name == "SilverBlue") return effects::silverBlue(photo, amount);
    if (name == "Sepia") return ops::sepiaTone(photo, amount);
    // Grey by the amount: the saturation alone moves, brightness and contrast stay neutral.
    if (name == "Grayscale") return ops::colorControls(photo, 1 - amount, 0, 1);
    if (name == "Vignette") {
        const auto jpeg = resourceData("Vignette", "jpg");
        if (!jpeg) return {};
        const std::string path = "/tmp/pimavo-vignette-" + std::to_string(::getpid()) + ".jpg";
        FILE* out = std::fopen(path.c_str(), "wb");
        if (!out) return {};
        std::fwrite(jpeg->data(), 1, jpeg->size(), out);
        std::fclose(out);
        std::fflush(stdout);
        DecodeResult picture = decodeImageFile(path);
        std::remove(path.c_str());
        if (!picture.image) return {};
        return effects::vignette(photo, Image::imageWithBitmap(picture.image->bitmap), amount);
    }
    if (name == "Drama1" || name == "Drama2" || name == "Drama3") {
        static const double presets[3][3] = {{90, 25, 0.75}, {50, 50, 1.75}, {40, 10, 1.125}};
        const double* p = presets[name[5] - '1'];
        return effects::drama(photo, {p[0], p[1], p[2], 4.0, 1.5});
    }
    return {};
}

int effect(const std::vector<std::string>& args) {
    if (args.size() < 3 || args.size() > 4)
        return fail("effect takes IN OUT NAME [AMOUNT]; see pimavo-cli --help");
    const auto amount = args.size() == 4 ? parseNumber(args[3]) : std::optional<double>(1.0);
    if (!amount) return fail("the amount must be a number, not \"" + args[3] + "\"");
    auto type = mimeTypeForExtension(args[1]);
    if (!type) return fail("cannot tell the type of \"" + args[1] + "\" from its extension");
    filterRegistration();
    DecodeResult decoded = decodeImageFile(args[0]);
    if (!decoded.image) return fail(decoded.error);
    const Image photo = Image::imageWithBitmap(decoded.image->bitmap);
    const Image result = applyEffect(photo, args[2], *amount);
    if (!result) return fail("unknown effect \"" + args[2] + "\"");
    auto bitmap =
        bitmapOfImage(result.imageByCroppingToRect(photo.extent()), decoded.image->bitsPerComponent);
    if (!bitmap) return fail("the picture could not be rendered");
    SaveOptions options;
    options.mimeType = *type;
    std::string error;
    if (!writeImageFile(*bitmap, args[1], options, &decoded.image->properties, &error)) return fail(error);
    return 0;
}

// The adjustments by option name, with the names files give them.
struct Adjustment {
    const char* option;
    const char* name;
};
constexpr Adjustment kAdjustments[] = {
    {"--exposure", "exposure"},
    {"--brightness", "brightness"},
    {"--saturation", "saturation"},
    {"--contrast", "contrast"},
    {"--hue", "hue"},
    {"--blur", "blur"},
    {"--background-brightness", "backgroundBrightness"},
    {"--background-contrast", "backgroundContrast"},
    {"--background-saturation", "backgroundSaturation"},
    {"--background-blur", "backgroundBlur"},
    {"--vignette", "vignette"},
};

// One --pick: a point of the photo (pixels, y down) and the picker's tolerance.
struct PickOption {
    double x = 0, y = 0;
    double tolerance = double(0.03f);
};

std::optional<PickOption> parsePick(const std::string& text) {
    std::vector<double> v;
    for (const QString& n : QString::fromStdString(text).split(',')) {
        const auto number = parseNumber(n.trimmed().toStdString());
        if (!number) return std::nullopt;
        v.push_back(*number);
    }
    if (v.size() < 2 || v.size() > 3) return std::nullopt;
    PickOption pick{v[0], v[1]};
    if (v.size() == 3) {
        if (!(v[2] >= 0 && v[2] <= 0.1)) return std::nullopt;
        pick.tolerance = v[2];
    }
    return pick;
}

// The picker's regions merged into the painting, as clicks (the first) and Shift-clicks (the rest)
// followed by Apply would: the same fill, on the photo at the canvas's working size, where the window
// opens the picker.
// `toCanvas`: photo pixels per pixel of the photo the canvas works on (above 1 with --reduced).
bool applyPicks(CanvasModel& canvas, const std::vector<PickOption>& picks, double photoWidth,
                double photoHeight, double toCanvas, std::string* error) {
    auto working = Renderer().createBitmap(canvas.imageA_orig(), 8);
    if (!working) {
        *error = "the photo could not be prepared for --pick";
        return false;
    }
    const double f = canvas.scaleFactorFromOriginal() * toCanvas;
    const int red = working->layout().alphaFirst() ? 1 : 0;
    ColorIslandField field;
    Image picked;
    for (const PickOption& pick : picks) {
        if (!(pick.x >= 0 && pick.y >= 0 && pick.x < photoWidth && pick.y < photoHeight)) {
            *error = "--pick " + std::to_string(int(pick.x)) + "," + std::to_string(int(pick.y)) +
                     " lies outside the photo";
            return false;
        }
        const float x = float(std::min(pick.x / f, working->width() - 1.0));
        const float y = float(std::min(pick.y / f, working->height() - 1.0));
        const float colour[3] = {working->component(int(x), int(y), red),
                                 working->component(int(x), int(y), red + 1),
                                 working->component(int(x), int(y), red + 2)};
        auto mask = imageByMaskingColor(*working, colour, float(pick.tolerance), x, y, field);
        if (!mask) {
            *error = "the region for --pick could not be made";
            return false;
        }
        const Image region = Image::imageWithBitmap(std::make_shared<const Bitmap>(std::move(*mask)));
        if (!picked) {
            picked = region;
        } else {
            picked = effects::mergeMasks(picked, region);
        }
    }
    canvas.resultMaskWithColorMask(picked);
    canvas.painting().applyColorMask();
    return true;
}

// A picture given on the command line (mask or colour layer), stretched over the working picture.
std::optional<Image> layerImage(const std::string& path, const CanvasModel& canvas, std::string* error) {
    DecodeResult decoded = decodeImageFile(path, false);
    if (!decoded.image) {
        *error = decoded.error;
        return std::nullopt;
    }
    const RectF work = canvas.imageA_orig().extent();
    const BitmapRef& bm = decoded.image->bitmap;
    // Stretched from its edge pixels repeated outward, so that its border does not fade.
    const Image image = Image::imageWithBitmap(bm).imageByClampingToExtent().imageByApplyingTransform(
        Transform2D::scale(work.width() / bm->width(), work.height() / bm->height()));
    return image.imageByCroppingToRect(work);
}

bool endsWithProjectExtension(const std::string& path) {
    const std::string ext = std::string(".") + ProjectDocument::kExtension;
    return path.size() > ext.size() &&
           QString::fromStdString(path.substr(path.size() - ext.size())).toLower().toStdString() == ext;
}

// What to tell the user when composing a picture of that size needs more memory than there is: how
// much, and the size --reduced would make it at; nothing when it fits or is reduced already.
std::optional<std::string> memoryShortage(double needed, int width, int height, bool reduced) {
    const double available = availableMemory();
    if (needed <= available) return std::nullopt;
    char buf[400];
    const double gb = 1024.0 * 1024 * 1024;
    if (reduced || !needsReduction(width, height)) {
        std::snprintf(buf, sizeof buf,
                      "there is not enough memory to compose the %d × %d picture (about %.1f GB needed, "
                      "%.1f GB available)",
                      width, height, needed / gb, available / gb);
        return std::string(buf);
    }
    const SizeF fit = reducedSize(width, height);
    std::snprintf(buf, sizeof buf,
                  "there is not enough memory to compose the picture at its full size, %d × %d (about %.1f "
                  "GB needed, %.1f GB available); run again with --reduced to write it at %d × %d",
                  width, height, needed / gb, available / gb, int(fit.width), int(fit.height));
    return std::string(buf);
}

int render(const std::vector<std::string>& args) {
    if (args.size() < 2) return fail("render takes IN OUT [OPTIONS]; see pimavo-cli --help");
    const std::string in = args[0], out = args[1];
    std::string treatment, maskPath, colorLayerPath;
    std::optional<int> preset;
    double brush = 80, softness = 100;
    bool invert = false, reduced = false;
    std::vector<std::vector<double>> strokes;
    std::vector<PickOption> picks;
    std::vector<std::pair<const Adjustment*, double>> adjustments;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--invert") {
            invert = true;
            continue;
        }
        if (a == "--reduced") {
            reduced = true;
            continue;
        }
        if (i + 1 >= args.size()) return fail(a + " needs a value; see pimavo-cli --help");
        const std::string value = args[++i];
        auto number = [&](double lo, double hi) -> std::optional<double> {
            const auto v = parseNumber(value);
            if (!v || *v < lo || *v > hi) return std::nullopt;
            return v;
        };
        const Adjustment* adjustment = nullptr;
        for (const Adjustment& adj : kAdjustments)
            if (a == adj.option) adjustment = &adj;
        if (adjustment) {
            const auto v = parseNumber(value);
            if (!v) return fail(a + " takes a number, not \"" + value + "\"");
            adjustments.emplace_back(adjustment, *v);
        } else if (a == "--background" || a == "--treatment") {
            treatment = QString::fromStdString(value).toLower().toStdString();
        } else if (a == "--mask") {
            maskPath = value;
        } else if (a == "--color-layer") {
            colorLayerPath = value;
        } else if (a == "--preset") {
            const auto v = number(0, 3);
            if (!v || *v != std::floor(*v)) return fail("--preset takes 0 to 3");
            preset = int(*v);
        } else if (a == "--stroke") {
            std::vector<double> points;
            for (const QString& n : QString::fromStdString(value).split(',', Qt::SkipEmptyParts)) {
                const auto v = parseNumber(n.trimmed().toStdString());
                if (!v) return fail("--stroke takes X,Y pairs of numbers");
                points.push_back(*v);
            }
            if (points.size() < 2 || points.size() % 2) return fail("--stroke takes X,Y pairs");
            strokes.push_back(points);
        } else if (a == "--pick") {
            const auto pick = parsePick(value);
            if (!pick) return fail("--pick takes X,Y or X,Y,TOLERANCE (photo pixels; tolerance 0 to 0.1)");
            picks.push_back(*pick);
        } else if (a == "--brush") {
            const auto v = number(1, 100000);
            if (!v) return fail("--brush takes a diameter in photo pixels");
            brush = *v;
        } else if (a == "--softness") {
            const auto v = number(0, 100);
            if (!v) return fail("--softness takes 0 to 100");
            softness = *v;
        } else {
            return fail("unknown render option \"" + a + "\"; see pimavo-cli --help");
        }
    }
    static const std::pair<const char*, Treatment> kTreatments[] = {{"grayscale", Treatment::Grayscale},
                                                                    {"sepia", Treatment::Sepia},
                                                                    {"aged", Treatment::Aged},
                                                                    {"silverblue", Treatment::SilverBlue}};
    std::optional<Treatment> treatmentChosen;
    for (const auto& [option, value] : kTreatments)
        if (treatment == option) treatmentChosen = value;
    if (!treatment.empty() && !treatmentChosen)
        return fail("unknown background \"" + treatment + "\": grayscale, sepia, aged or silverblue");
    const bool writeProject = endsWithProjectExtension(out);
    auto type = mimeTypeForExtension(out);
    if (!type && !writeProject) return fail("cannot tell the type of \"" + out + "\" from its extension");
    // A project as input: its photo, settings and painting are where the options start from.
    std::optional<ProjectDocument> project;
    if (isProjectFile(in)) {
        ProjectReadResult read = readProjectFile(in);
        if (!read.project) return fail(read.error);
        project = std::move(read.project);
    }
    DecodeResult decoded = project ? decodeProjectPhoto(*project, in) : decodeImageFile(in);
    if (!decoded.image) return fail(decoded.error);
    BitmapRef photo = decoded.image->bitmap;
    // Strokes and picks are given in pixels of the photo as decoded.
    const double photoWidth = photo->width(), photoHeight = photo->height();
    if (reduced && needsReduction(photo->width(), photo->height())) {
        auto copy = reducedBelowLimit(photo, decoded.image->bitsPerComponent);
        if (!copy) return fail("the photo could not be reduced below 32 megapixels");
        photo = std::make_shared<const Bitmap>(std::move(*copy));
    }
    // A look is made at the photo's size before anything else: its memory is checked first.
    const int look = preset.value_or(project ? project->settings.look : 0);
    if (look != 0) {
        const double pixels = double(photo->width()) * photo->height();
        if (auto shortage =
                memoryShortage(pixels * (4.0 * 4 + 16.0 * 4), photo->width(), photo->height(), reduced))
            return fail(*shortage);
    }

    EditSession session;
    // One render: the opened photo is never switched back to, so it is not cached.
    CanvasModel canvas(photo, &session, CanvasModel::OpenedPhotoCache::Never);
    canvas.createMaskBuffer();
    PictureSettings settings = project ? project->settings : PictureSettings();
    settings.look = look;
    if (treatmentChosen) settings.treatment = *treatmentChosen;
    for (const auto& [adjustment, v] : adjustments) settings.setAdjustment(adjustment->name, v);
    applySettingsWhole(canvas, settings);
    if (project) restoreProjectPainting(canvas, *project);
    std::string error;
    if (!maskPath.empty()) {
        const auto mask = layerImage(maskPath, canvas, &error);
        if (!mask) return fail(error);
        canvas.painting().applyMask(*mask);
    }
    if (!colorLayerPath.empty()) {
        const auto layer = layerImage(colorLayerPath, canvas, &error);
        if (!layer) return fail(error);
        canvas.painting().applyColorDrawingMask(*layer);
    }
    // Strokes are given in photo pixels, y down; the canvas paints in working pixels, y up.
    const double f = canvas.scaleFactorFromOriginal() * photoWidth / photo->width();
    const double height = photoHeight;
    canvas.painting().brush().size = brush / f;
    canvas.painting().brush().softness = softness;
    for (const auto& points : strokes) {
        for (std::size_t k = 0; k + 1 < points.size(); k += 2) {
            const PointF p{points[k] / f, (height - points[k + 1]) / f};
            if (k == 0)
                canvas.painting().beginStroke(p);
            else
                canvas.painting().continueStroke(p);
        }
        canvas.painting().endStroke();
    }
    // Regions are picked on the photo and added to what is painted so far, as Apply adds them.
    if (!picks.empty() && !applyPicks(canvas, picks, photoWidth, height, photoWidth / photo->width(), &error))
        return fail(error);
    if (invert) canvas.painting().invertMask();
    if (writeProject) {
        ProjectDocument saved;
        if (project) {
            saved = *project;
        } else {
            std::ifstream file(in, std::ios::binary);
            saved.originalBytes = std::make_shared<const std::string>((std::istreambuf_iterator<char>(file)),
                                                                      std::istreambuf_iterator<char>());
            if (!file || saved.originalBytes->empty()) return fail("\"" + in + "\" cannot be read");
            saved.originalName = QFileInfo(QString::fromStdString(in)).fileName().toStdString();
        }
        takeCanvasState(canvas, saved);
        canvas.lookCache().waitUntilIdle();
        canvas.forgetLooks();
        if (!writeProjectFile(saved, out, &error)) return fail(error);
        return 0;
    }
    if (auto shortage = memoryShortage(canvas.resultMemoryNeeded(), photo->width(), photo->height(), reduced))
        return fail(*shortage);
    auto result = canvas.resultImage();
    canvas.lookCache().waitUntilIdle();
    canvas.forgetLooks();
    if (!result) return fail("the picture could not be rendered");
    SaveOptions options;
    options.mimeType = *type;
    if (!writeImageFile(**result, out, options, &decoded.image->properties, &error)) return fail(error);
    return 0;
}

// The desktop's name for the files with an extension, or "-" when it has none.
std::string mimeTypeOfExtension(const std::string& ext) {
    const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName("x." + QString::fromStdString(ext));
    return types.isEmpty() ? "-" : types.first().name().toStdString();
}

int listFormats() {
    for (const std::string& ext : readableFileTypes())
        std::printf("read %s %s\n", ext.c_str(), mimeTypeOfExtension(ext).c_str());
    for (const std::string& type : writableMimeTypes()) {
        const std::string ext = extensionForMimeType(type);
        std::printf("write %s %s %s\n", type.c_str(), ext.c_str(), mimeTypeOfExtension(ext).c_str());
    }
    return 0;
}

int listFilters() {
    filterRegistration();
    for (const std::string& name : Operation::filterNames()) {
        const FilterAttributes* a = Operation::attributesForName(name);
        std::printf("%s", name.c_str());
        if (a) {
            const char* sep = "  (";
            for (const auto& in : a->inputs) {
                std::printf("%s%s", sep, in.key.c_str());
                sep = ", ";
            }
            if (!a->inputs.empty()) std::printf(")");
            sep = "  [";
            for (const auto& former : a->formerNames) {
                std::printf("%s%s", sep, former.c_str());
                sep = ", ";
            }
            if (!a->formerNames.empty()) std::printf("]");
        }
        std::printf("\n");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    pimavo::routeLibraryLogging();
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
    if (cmd == "formats") return listFormats();
    if (cmd == "effect") return effect(args);
    if (cmd == "render") {
        QCoreApplication app(argc, argv);
        return render(args);
    }
    if (cmd == "info") {
        if (args.size() != 1) return fail("info takes one file; see pimavo-cli --help");
        return info(args[0]);
    }
    if (cmd == "convert") {
        return convert(args);
    }
    if (cmd == "sign-in" || cmd == "share" || cmd == "mail") {
        QCoreApplication app(argc, argv);
        if (cmd == "sign-in") return cli::signIn(args);
        if (cmd == "share") return cli::share(args);
        return cli::mail(args);
    }
    if (cmd == "devices" || cmd == "import" || cmd == "scan") {
        QCoreApplication app(argc, argv);
        if (cmd == "devices") return cli::devices(args);
        if (cmd == "import") return cli::importFromCamera(args);
        return cli::scan(args);
    }
    return fail("unknown command \"" + std::string(cmd) + "\"; see pimavo-cli --help");
}
