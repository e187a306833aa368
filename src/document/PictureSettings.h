// How the picture looks, apart from what is painted on it: the treatment of the background, the
// look, the adjustments of the colour (foreground) and of the background, and the vignette. One
// value type for the tool panel, the canvas, the undo history, projects and kept sessions.
#pragma once

#include <QJsonObject>
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace pimavo {

// What the background is turned into.
enum class Treatment { Grayscale, Sepia, Aged, SilverBlue };

struct PictureSettings {
    struct Foreground {
        double exposure = 0, brightness = 0, saturation = 1, contrast = 1, hue = 0, blur = 0;
        bool operator==(const Foreground&) const = default;
    };
    struct Background {
        double brightness = 0, contrast = 1, saturation = 0, blur = 0;
        bool operator==(const Background&) const = default;
    };

    Treatment treatment = Treatment::Grayscale;
    int look = 0; // 0 the photo as it is, 1 to 3 the drama look's strengths
    Foreground foreground;
    Background background;
    double vignette = 0;

    bool operator==(const PictureSettings&) const = default;

    // The adjustments by the names files give them, in the order the tool panel lists them.
    static constexpr int kAdjustmentCount = 11;
    static constexpr std::array<const char*, kAdjustmentCount> kAdjustmentNames = {
        "exposure",      "brightness", "saturation",           "contrast",           "hue",
        "blur",          "vignette",   "backgroundBrightness", "backgroundContrast", "backgroundSaturation",
        "backgroundBlur"};
    std::array<double, kAdjustmentCount> adjustments() const;
    void setAdjustments(const std::array<double, kAdjustmentCount>& values);
    // One adjustment by its file name; nullopt for a name that is none (and nothing set).
    std::optional<double> adjustment(std::string_view name) const;
    void setAdjustment(std::string_view name, double value);

    // The treatment as files name it, which is also the canvas's name of its background filter:
    // "" (grayscale), "CISepiaTone", "Aged", "SilverBlue". Stored files rely on these.
    static const char* treatmentName(Treatment treatment);
    static std::optional<Treatment> treatmentNamed(std::string_view name);

    // The version of the description toJson writes. A description of an earlier version is brought
    // up to date before it is read (see fromJson), so that old files keep their look.
    static constexpr int kVersion = 1;
    // {"treatment": "Aged", "look": 2, "adjustments": {"exposure": 0.5, …}}: every adjustment written.
    QJsonObject toJson() const;
    // Reads a description written at `version`. Missing values keep their defaults; a value that
    // is malformed (or a blur radius beyond 100, which would make every redraw crawl) is refused,
    // `error` naming it ("unknown treatment", "backgroundBlur").
    static std::optional<PictureSettings> fromJson(const QJsonObject& json, int version, std::string* error);
};

} // namespace pimavo
