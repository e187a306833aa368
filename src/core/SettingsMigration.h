// Settings files written by earlier versions, brought over once. Those versions named keys in the
// styles of their time ("kSelectedColorKey", "BrimwellSavedFrame", "PimavoCountOfSavingsIntegerValue")
// and wrote colours and lists as QVariant blobs. On opening, each old key whose value reads as the
// type its setting wants is carried to its new key (unless that key is already set), every old key
// is removed, and "settings/version" is set so this never runs again. A value that does not read as
// its type is dropped: the setting keeps its default.
//
// The text forms the new keys are written in are here too, for Settings and the migration alike.
#pragma once

#include "core/Settings.h"

#include <QSettings>
#include <QVariant>
#include <optional>

namespace pimavo {

inline const QString kSettingsVersionKey = QStringLiteral("settings/version");

// True when the file was changed (the caller syncs).
bool migrateSettings(QSettings& settings);

namespace settings_format {
// true/false, yes/no, 1/0; nullopt for anything else.
std::optional<bool> boolFrom(const QVariant& value);
// "0.25 0.5 0.75 1": red, green, blue, alpha.
QString colourText(const Settings::Colour& colour);
// From that text, or from a list of four numbers; each part in 0–1.
std::optional<Settings::Colour> colourFrom(const QVariant& value);
// A list of colours, each as colourFrom reads it; entries that do not read are left out.
QList<Settings::Colour> coloursFrom(const QVariant& value);
// A list of texts (an ini file gives one text back for a list of one); nullopt for anything else.
std::optional<QStringList> stringsFrom(const QVariant& value);
void writeWrittenFiles(QSettings& settings, const QString& key, const QList<Settings::WrittenFile>& files);
} // namespace settings_format

} // namespace pimavo
