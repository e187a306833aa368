#include "PictureSettings.h"

#include "imageio/FailureText.h"

#include <QJsonValue>
#include <cmath>

namespace pimavo {

namespace {

// Where each adjustment lives, in the order of kAdjustmentNames.
template <typename Settings> auto fields(Settings& s) {
    return std::array{&s.foreground.exposure,
                      &s.foreground.brightness,
                      &s.foreground.saturation,
                      &s.foreground.contrast,
                      &s.foreground.hue,
                      &s.foreground.blur,
                      &s.vignette,
                      &s.background.brightness,
                      &s.background.contrast,
                      &s.background.saturation,
                      &s.background.blur};
}

constexpr std::array<const char*, 4> kTreatmentNames = {"", "CISepiaTone", "Aged", "SilverBlue"};

// Brings a description written by an earlier version up to this one. Version 1 is the first:
// nothing to do yet. A later version that changes what a stored value means converts it here, so
// that a file keeps the look it was saved with.
QJsonObject migrated(QJsonObject json, int /*fromVersion*/) {
    return json;
}

} // namespace

std::array<double, PictureSettings::kAdjustmentCount> PictureSettings::adjustments() const {
    std::array<double, kAdjustmentCount> out{};
    const auto f = fields(*this);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = *f[i];
    return out;
}

void PictureSettings::setAdjustments(const std::array<double, kAdjustmentCount>& values) {
    const auto f = fields(*this);
    for (std::size_t i = 0; i < values.size(); ++i) *f[i] = values[i];
}

std::optional<double> PictureSettings::adjustment(std::string_view name) const {
    const auto f = fields(*this);
    for (std::size_t i = 0; i < kAdjustmentNames.size(); ++i)
        if (name == kAdjustmentNames[i]) return *f[i];
    return std::nullopt;
}

void PictureSettings::setAdjustment(std::string_view name, double value) {
    const auto f = fields(*this);
    for (std::size_t i = 0; i < kAdjustmentNames.size(); ++i)
        if (name == kAdjustmentNames[i]) *f[i] = value;
}

const char* PictureSettings::treatmentName(Treatment treatment) {
    return kTreatmentNames[std::size_t(treatment)];
}

std::optional<Treatment> PictureSettings::treatmentNamed(std::string_view name) {
    for (std::size_t i = 0; i < kTreatmentNames.size(); ++i)
        if (name == kTreatmentNames[i]) return Treatment(i);
    return std::nullopt;
}

QJsonObject PictureSettings::toJson() const {
    QJsonObject adjustments;
    const auto values = this->adjustments();
    for (std::size_t i = 0; i < values.size(); ++i) adjustments[kAdjustmentNames[i]] = values[i];
    return QJsonObject{{"treatment", treatmentName(treatment)}, {"look", look}, {"adjustments", adjustments}};
}

std::optional<PictureSettings> PictureSettings::fromJson(const QJsonObject& stored, int version,
                                                         std::string* error) {
    auto fail = [&](const std::string& why) -> std::optional<PictureSettings> {
        if (error) *error = why;
        return std::nullopt;
    };
    const QJsonObject json = migrated(stored, version);
    PictureSettings s;
    const QJsonValue treatment = json["treatment"];
    if (!treatment.isUndefined()) {
        const auto known =
            treatment.isString() ? treatmentNamed(treatment.toString().toStdString()) : std::nullopt;
        if (!known) return fail(QT_TRANSLATE_NOOP("Failure", "unknown treatment"));
        s.treatment = *known;
    }
    const QJsonValue look = json["look"];
    if (!look.isUndefined()) {
        if (!look.isDouble() || look.toDouble() != std::floor(look.toDouble()) || look.toDouble() < 0 ||
            look.toDouble() > 3)
            return fail(QT_TRANSLATE_NOOP("Failure", "unknown look"));
        s.look = look.toInt();
    }
    const QJsonObject adjustments = json["adjustments"].toObject();
    const auto f = fields(s);
    for (std::size_t i = 0; i < kAdjustmentNames.size(); ++i) {
        const QJsonValue v = adjustments[kAdjustmentNames[i]];
        if (v.isUndefined()) continue;
        // Blur radii set the cost of every redraw: a forged one must not make the editor crawl.
        const bool blur = f[i] == &s.foreground.blur || f[i] == &s.background.blur;
        if (!v.isDouble() || !std::isfinite(v.toDouble()) ||
            (blur && !(v.toDouble() >= 0 && v.toDouble() <= 100)))
            return fail(kAdjustmentNames[i]);
        *f[i] = v.toDouble();
    }
    return s;
}

} // namespace pimavo
