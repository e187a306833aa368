#include "core/SettingsMigration.h"

#include <cmath>
#include <limits>

namespace pimavo {

namespace settings_format {

std::optional<bool> boolFrom(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool) return value.toBool();
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    const QString s = value.toString().trimmed().toLower();
    if (s == "true" || s == "yes" || s == "1") return true;
    if (s == "false" || s == "no" || s == "0") return false;
    return std::nullopt;
}

QString colourText(const Settings::Colour& colour) {
    QStringList parts;
    for (float c : colour) parts << QString::number(double(c), 'g', 9);
    return parts.join(' ');
}

namespace {

std::optional<float> unitNumber(const QVariant& v) {
    if (v.typeId() == QMetaType::QVariantList || v.typeId() == QMetaType::QStringList) return std::nullopt;
    bool ok = false;
    const float f = v.toString().trimmed().toFloat(&ok);
    return ok && std::isfinite(f) && f >= 0 && f <= 1 ? std::optional(f) : std::nullopt;
}

std::optional<Settings::Colour> colourFromParts(const QVariantList& parts) {
    if (parts.size() != 4) return std::nullopt;
    Settings::Colour c{};
    for (int i = 0; i < 4; ++i) {
        const auto f = unitNumber(parts[i]);
        if (!f) return std::nullopt;
        c[std::size_t(i)] = *f;
    }
    return c;
}

bool isList(const QVariant& v) {
    return v.typeId() == QMetaType::QVariantList || v.typeId() == QMetaType::QStringList;
}

} // namespace

std::optional<Settings::Colour> colourFrom(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) {
        QVariantList parts;
        for (const QString& p : value.toString().split(' ', Qt::SkipEmptyParts)) parts << p;
        return colourFromParts(parts);
    }
    if (isList(value)) return colourFromParts(value.toList());
    return std::nullopt;
}

QList<Settings::Colour> coloursFrom(const QVariant& value) {
    QList<Settings::Colour> out;
    // A list of one colour comes back from an ini file as that colour alone.
    if (const auto one = colourFrom(value)) return {*one};
    if (!isList(value)) return out;
    for (const QVariant& entry : value.toList())
        if (const auto c = colourFrom(entry)) out << *c;
    return out;
}

std::optional<QStringList> stringsFrom(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) return QStringList{value.toString()};
    if (!isList(value)) return std::nullopt;
    QStringList out;
    for (const QVariant& v : value.toList()) {
        if (v.typeId() != QMetaType::QString) return std::nullopt;
        out << v.toString();
    }
    return out;
}

void writeWrittenFiles(QSettings& settings, const QString& key, const QList<Settings::WrittenFile>& files) {
    settings.remove(key);
    settings.beginWriteArray(key, int(files.size()));
    for (int i = 0; i < files.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue("path", files[i].path);
        settings.setValue("size", files[i].size);
        settings.setValue("modified", files[i].modified);
    }
    settings.endArray();
}

} // namespace settings_format

namespace {

using namespace settings_format;

// Writes the old value under `now` when it reads as the setting's type; false when it does not.
using Carry = bool (*)(QSettings& s, const QString& now, const QVariant& old);

std::optional<qint64> integerFrom(const QVariant& v, qint64 low, qint64 high) {
    if (isList(v)) return std::nullopt;
    bool ok = false;
    const qint64 i = v.toString().trimmed().toLongLong(&ok);
    return ok && i >= low && i <= high ? std::optional(i) : std::nullopt;
}

bool carryInteger(QSettings& s, const QString& now, const QVariant& old, qint64 low, qint64 high) {
    const auto i = integerFrom(old, low, high);
    if (i) s.setValue(now, *i);
    return bool(i);
}

bool carryRow(QSettings& s, const QString& now, const QVariant& old) {
    return carryInteger(s, now, old, 0, std::numeric_limits<int>::max());
}

bool carryOneOfFour(QSettings& s, const QString& now, const QVariant& old) {
    return carryInteger(s, now, old, 0, 3);
}

bool carryBool(QSettings& s, const QString& now, const QVariant& old) {
    const auto b = boolFrom(old);
    if (b) s.setValue(now, *b);
    return bool(b);
}

bool carryNumber(QSettings& s, const QString& now, const QVariant& old) {
    if (isList(old)) return false;
    bool ok = false;
    const double d = old.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d)) return false;
    s.setValue(now, d);
    return true;
}

bool carryQuality(QSettings& s, const QString& now, const QVariant& old) {
    bool ok = false;
    const double q = isList(old) ? 0 : old.toString().trimmed().toDouble(&ok);
    if (!ok || !(q > 0 && q <= 1)) return false;
    s.setValue(now, q);
    return true;
}

bool carryText(QSettings& s, const QString& now, const QVariant& old) {
    if (old.typeId() != QMetaType::QString || old.toString().trimmed().isEmpty()) return false;
    s.setValue(now, old.toString().trimmed());
    return true;
}

bool carryColour(QSettings& s, const QString& now, const QVariant& old) {
    const auto c = colourFrom(old);
    if (c) s.setValue(now, colourText(*c));
    return bool(c);
}

bool carryColours(QSettings& s, const QString& now, const QVariant& old) {
    const QList<Settings::Colour> colours = coloursFrom(old);
    if (colours.isEmpty()) return false;
    QStringList texts;
    for (const Settings::Colour& c : colours.mid(0, Settings::kRecentColoursLimit)) texts << colourText(c);
    s.setValue(now, texts);
    return true;
}

bool carryPaths(QSettings& s, const QString& now, const QVariant& old) {
    auto paths = stringsFrom(old);
    if (!paths) return false;
    paths->removeAll(QString());
    if (paths->isEmpty()) return false;
    s.setValue(now, *paths);
    return true;
}

// "x y width height", with " maximized" when the window was.
bool carryFrame(QSettings& s, const QString& now, const QVariant& old) {
    if (old.typeId() != QMetaType::QString) return false;
    const QStringList parts = old.toString().split(' ', Qt::SkipEmptyParts);
    if (parts.size() < 4 || parts.size() > 5) return false;
    int n[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        n[i] = parts[i].toInt(&ok);
        if (!ok) return false;
    }
    if (parts.size() == 5 && parts[4] != "maximized") return false;
    const QRect frame(n[0], n[1], n[2], n[3]);
    if (!frame.isValid()) return false;
    s.setValue(now, frame);
    s.setValue(QStringLiteral("window/maximized"), parts.size() == 5);
    return true;
}

// A list of {path, size, modified}; a list of one comes back from an ini file as the entry alone.
bool carryWrittenFiles(QSettings& s, const QString& now, const QVariant& old) {
    QVariantList entries;
    if (old.typeId() == QMetaType::QVariantMap)
        entries << old;
    else if (old.typeId() == QMetaType::QVariantList)
        entries = old.toList();
    else
        return false;
    QList<Settings::WrittenFile> files;
    for (const QVariant& e : entries) {
        if (e.typeId() != QMetaType::QVariantMap) continue;
        const QVariantMap m = e.toMap();
        const auto size = integerFrom(m.value("size"), 0, std::numeric_limits<qint64>::max());
        const auto modified = integerFrom(m.value("modified"), 0, std::numeric_limits<qint64>::max());
        const QString path = m.value("path").toString();
        if (!path.isEmpty() && size && modified) files.append({path, *size, *modified});
    }
    if (files.isEmpty()) return false;
    writeWrittenFiles(s, now, files);
    return true;
}

bool dropped(QSettings&, const QString&, const QVariant&) {
    return false;
}

struct Rule {
    const char* old;
    const char* now; // nullptr: the value is not kept
    Carry carry;
};

// Every key earlier versions wrote.
constexpr Rule kRules[] = {
    {"showWelcomeScreenOnStartup", "start/showWelcome", carryBool},
    {"BrimwellSavedFrame", "window/frame", carryFrame},
    {"kBackgroundPopoverSelectedCellKey", "window/background", carryOneOfFour},
    {"showMaskColor", "window/showMaskColor", carryColour},
    {"PimavoDefaultTreatmentIntegerValue", "editing/defaultTreatment", carryOneOfFour},
    {"kSelectedColorKey", "colors/selected", carryColour},
    {"kRecentColorsKey", "colors/recent", carryColours},
    {"PimavoDefaultSaveTypeStringValue", "save/type", carryText},
    {"PimavoSaveQualityFloatValue", "save/quality", carryQuality},
    {"PimavoWrittenFilesArray", "save/writtenFiles", carryWrittenFiles},
    {"PimavoRecentDocuments", "recent/documents", carryPaths},
    {"PimavoCountOfSavingsIntegerValue", "review/savesSincePrompt", carryRow},
    {"PimavoNeverShowReviewAppBoolValue", "review/declined", carryBool},
    {"PimavoLastVersionAppFloatValue", "review/lastVersion", carryNumber},
    {"kFlickrVisibilityPopoverSelectedCellKey", "sharing/flickrVisibility", carryRow},
    {"kMastodonVisibilityPopoverSelectedCellKey", "sharing/mastodonVisibility", carryRow},
    {"kBlogsPopoverSelectedCellKey", "sharing/tumblrBlog", carryRow},
    {"kStringHelpLink", "help/guideUrl", carryText},
    {"kStringHelpVideosLink", "help/videosUrl", carryText},
    {"kStringSupportLink", "help/supportUrl", carryText},
    {"kStringReviewLink", "help/reviewUrl", carryText},
    {"kStringHomePageLink", "help/homePageUrl", carryText},
    {"kStringOtherProductsLink", "help/otherProductsUrl", carryText},
    {"kStringPrintOnCanvasLink", "help/printOnCanvasUrl", carryText},
    // Chosen afresh in every sharing window, or no longer offered.
    {"kResolutionsPopoverSelectedCellKey", nullptr, dropped},
    {"kAlbumsPopoverSelectedCellKey", nullptr, dropped},
    {"k_Crop_Proportions_Popover_Selected_Cell_Key", nullptr, dropped},
};

} // namespace

bool migrateSettings(QSettings& settings) {
    bool ok = false;
    if (settings.value(kSettingsVersionKey).toString().toInt(&ok) >= Settings::kVersion && ok) return false;
    for (const Rule& rule : kRules) {
        const QString old = QString::fromLatin1(rule.old);
        if (!settings.contains(old)) continue;
        if (rule.now) {
            const QString now = QString::fromLatin1(rule.now);
            // A value the new version wrote is newer than the old one.
            // (A list of entries, such as the written files, keeps its length under "size".)
            if (!settings.contains(now) && !settings.contains(now + "/size"))
                rule.carry(settings, now, settings.value(old));
        }
        settings.remove(old);
    }
    settings.setValue(kSettingsVersionKey, Settings::kVersion);
    return true;
}

} // namespace pimavo
