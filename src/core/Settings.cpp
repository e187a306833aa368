#include "core/Settings.h"

#include "core/SettingsMigration.h"

#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <limits>

namespace pimavo {

namespace {

// Every key and every default, in one place.
namespace key {
const QString showWelcome = QStringLiteral("start/showWelcome");
const QString windowFrame = QStringLiteral("window/frame");
const QString windowMaximized = QStringLiteral("window/maximized");
const QString background = QStringLiteral("window/background");
const QString showMaskColour = QStringLiteral("window/showMaskColor");
const QString defaultTreatment = QStringLiteral("editing/defaultTreatment");
const QString selectedColour = QStringLiteral("colors/selected");
const QString recentColours = QStringLiteral("colors/recent");
const QString saveType = QStringLiteral("save/type");
const QString saveQuality = QStringLiteral("save/quality");
const QString writtenFiles = QStringLiteral("save/writtenFiles");
const QString recentDocuments = QStringLiteral("recent/documents");
const QString savesSinceReview = QStringLiteral("review/savesSincePrompt");
const QString reviewDeclined = QStringLiteral("review/declined");
const QString lastVersion = QStringLiteral("review/lastVersion");
const QString includeLocation = QStringLiteral("sharing/includeLocation");
} // namespace key

namespace fallback {
constexpr bool showWelcome = true;
constexpr int background = 0;
constexpr Settings::Colour showMaskColour = {1, 0, 0, 1};
constexpr int defaultTreatment = 0;
const QString saveType = QStringLiteral("image/jpeg");
constexpr double saveQuality = 0.9;
constexpr bool includeLocation = false;
} // namespace fallback

std::optional<int> readInt(const QVariant& v, int low, int high) {
    bool ok = false;
    const int i = v.toString().trimmed().toInt(&ok);
    return ok && i >= low && i <= high ? std::optional(i) : std::nullopt;
}

bool readBool(const QVariant& v, bool otherwise) {
    return settings_format::boolFrom(v).value_or(otherwise);
}

std::optional<double> readDouble(const QVariant& v) {
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    return ok && std::isfinite(d) ? std::optional(d) : std::nullopt;
}

} // namespace

Settings& Settings::standard() {
    static Settings settings;
    return settings;
}

QString Settings::standardFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Pimavo/Pimavo.conf");
}

Settings::Settings() : Settings(standardFile()) {}

Settings::Settings(const QString& file) : settings_(std::make_unique<QSettings>(file, QSettings::IniFormat)) {
    if (migrateSettings(*settings_)) settings_->sync();
}

Settings::~Settings() = default;

QString Settings::fileName() const {
    return settings_->fileName();
}

QVariant Settings::value(const QString& key) const {
    return settings_->value(key);
}

void Settings::store(const QString& key, const QVariant& value) {
    settings_->setValue(key, value);
    settings_->sync();
    emit changed(key);
}

void Settings::removeKey(const QString& key) {
    settings_->remove(key);
    settings_->sync();
    emit changed(key);
}

// ---- start and window

bool Settings::showWelcomeAtStart() const {
    return readBool(value(key::showWelcome), fallback::showWelcome);
}
void Settings::setShowWelcomeAtStart(bool show) {
    store(key::showWelcome, show);
}
QString Settings::showWelcomeKey() {
    return key::showWelcome;
}

std::optional<QRect> Settings::windowFrame() const {
    const QVariant v = value(key::windowFrame);
    if (v.typeId() != QMetaType::QRect || !v.toRect().isValid()) return std::nullopt;
    return v.toRect();
}
bool Settings::windowMaximized() const {
    return readBool(value(key::windowMaximized), false);
}
void Settings::setWindowFrame(const QRect& frame, bool maximized) {
    settings_->setValue(key::windowMaximized, maximized);
    store(key::windowFrame, frame);
}

int Settings::background() const {
    return readInt(value(key::background), 0, 3).value_or(fallback::background);
}
void Settings::setBackground(int index) {
    store(key::background, std::clamp(index, 0, 3));
}

Settings::Colour Settings::showMaskColour() const {
    return settings_format::colourFrom(value(key::showMaskColour)).value_or(fallback::showMaskColour);
}
void Settings::setShowMaskColour(const Colour& colour) {
    store(key::showMaskColour, settings_format::colourText(colour));
}

// ---- editing

int Settings::defaultTreatment() const {
    return readInt(value(key::defaultTreatment), 0, 3).value_or(fallback::defaultTreatment);
}
void Settings::setDefaultTreatment(int treatment) {
    store(key::defaultTreatment, std::clamp(treatment, 0, 3));
}

std::optional<Settings::Colour> Settings::selectedColour() const {
    return settings_format::colourFrom(value(key::selectedColour));
}
void Settings::setSelectedColour(const Colour& colour) {
    store(key::selectedColour, settings_format::colourText(colour));
}

QList<Settings::Colour> Settings::recentColours() const {
    QList<Colour> out = settings_format::coloursFrom(value(key::recentColours));
    if (out.size() > kRecentColoursLimit) out.resize(kRecentColoursLimit);
    return out;
}
void Settings::setRecentColours(const QList<Colour>& colours) {
    QStringList texts;
    for (const Colour& c : colours.mid(0, kRecentColoursLimit)) texts << settings_format::colourText(c);
    store(key::recentColours, texts);
}

// ---- saving

QString Settings::saveType() const {
    const QVariant v = value(key::saveType);
    return v.typeId() == QMetaType::QString && !v.toString().isEmpty() ? v.toString() : fallback::saveType;
}
void Settings::setSaveType(const QString& mimeType) {
    store(key::saveType, mimeType);
}

double Settings::saveQuality() const {
    const auto q = readDouble(value(key::saveQuality));
    return q && *q > 0 && *q <= 1 ? *q : fallback::saveQuality;
}
void Settings::setSaveQuality(double quality) {
    store(key::saveQuality, std::clamp(quality, 0.01, 1.0));
}

QList<Settings::WrittenFile> Settings::writtenFiles() const {
    QList<WrittenFile> out;
    const int n = settings_->beginReadArray(key::writtenFiles);
    for (int i = 0; i < n; ++i) {
        settings_->setArrayIndex(i);
        const auto size = readDouble(settings_->value("size"));
        const auto modified = readDouble(settings_->value("modified"));
        const QString path = settings_->value("path").toString();
        if (!path.isEmpty() && size && modified) out.append({path, qint64(*size), qint64(*modified)});
    }
    settings_->endArray();
    return out;
}
void Settings::setWrittenFiles(const QList<WrittenFile>& files) {
    settings_format::writeWrittenFiles(*settings_, key::writtenFiles, files);
    settings_->sync();
    emit changed(key::writtenFiles);
}

QStringList Settings::recentDocuments() const {
    QStringList out = settings_format::stringsFrom(value(key::recentDocuments)).value_or(QStringList());
    out.removeAll(QString());
    return out;
}
void Settings::setRecentDocuments(const QStringList& paths) {
    if (paths.isEmpty())
        removeKey(key::recentDocuments);
    else
        store(key::recentDocuments, paths);
}

// ---- the review prompt

int Settings::savesSinceReviewPrompt() const {
    return readInt(value(key::savesSinceReview), 0, std::numeric_limits<int>::max()).value_or(0);
}
void Settings::setSavesSinceReviewPrompt(int count) {
    store(key::savesSinceReview, std::max(0, count));
}

bool Settings::reviewDeclined() const {
    return readBool(value(key::reviewDeclined), false);
}
void Settings::setReviewDeclined(bool declined) {
    store(key::reviewDeclined, declined);
}

double Settings::lastVersion() const {
    return readDouble(value(key::lastVersion)).value_or(0);
}
void Settings::setLastVersion(double version) {
    store(key::lastVersion, version);
}

// ---- sharing

bool Settings::shareIncludesLocation() const {
    return readBool(value(key::includeLocation), fallback::includeLocation);
}
void Settings::setShareIncludesLocation(bool include) {
    store(key::includeLocation, include);
}

QString Settings::keyOf(ShareChoice which) {
    switch (which) {
    case ShareChoice::FlickrVisibility:
        return QStringLiteral("sharing/flickrVisibility");
    case ShareChoice::MastodonVisibility:
        return QStringLiteral("sharing/mastodonVisibility");
    case ShareChoice::TumblrBlog:
        return QStringLiteral("sharing/tumblrBlog");
    }
    return {};
}
int Settings::shareChoice(ShareChoice which) const {
    return readInt(value(keyOf(which)), 0, std::numeric_limits<int>::max()).value_or(0);
}
void Settings::setShareChoice(ShareChoice which, int row) {
    store(keyOf(which), std::max(0, row));
}

QString Settings::keyOf(ServiceKey which) {
    switch (which) {
    case ServiceKey::FlickrKey:
        return QStringLiteral("sharing/flickrKey");
    case ServiceKey::FlickrSecret:
        return QStringLiteral("sharing/flickrSecret");
    case ServiceKey::TumblrKey:
        return QStringLiteral("sharing/tumblrKey");
    case ServiceKey::TumblrSecret:
        return QStringLiteral("sharing/tumblrSecret");
    }
    return {};
}
QString Settings::serviceKey(ServiceKey which) const {
    const QVariant v = value(keyOf(which));
    return v.typeId() == QMetaType::QString ? v.toString().trimmed() : QString();
}
void Settings::setServiceKey(ServiceKey which, const QString& value) {
    if (value.trimmed().isEmpty())
        removeKey(keyOf(which));
    else
        store(keyOf(which), value.trimmed());
}

// ---- help

QString Settings::keyOf(WebPage which) {
    switch (which) {
    case WebPage::Guide:
        return QStringLiteral("help/guideUrl");
    case WebPage::Videos:
        return QStringLiteral("help/videosUrl");
    case WebPage::Support:
        return QStringLiteral("help/supportUrl");
    case WebPage::Review:
        return QStringLiteral("help/reviewUrl");
    case WebPage::HomePage:
        return QStringLiteral("help/homePageUrl");
    case WebPage::OtherProducts:
        return QStringLiteral("help/otherProductsUrl");
    case WebPage::PrintOnCanvas:
        return QStringLiteral("help/printOnCanvasUrl");
    }
    return {};
}
QString Settings::webPage(WebPage which) const {
    const QVariant v = value(keyOf(which));
    return v.typeId() == QMetaType::QString ? v.toString().trimmed() : QString();
}
void Settings::setWebPage(WebPage which, const QString& address) {
    if (address.trimmed().isEmpty())
        removeKey(keyOf(which));
    else
        store(keyOf(which), address.trimmed());
}

} // namespace pimavo
