#include "UserDefaults.h"

namespace pimavo {

UserDefaults& UserDefaults::standardUserDefaults() {
    static UserDefaults defaults;
    return defaults;
}

UserDefaults::UserDefaults() : settings_(std::make_unique<QSettings>("Pimavo", "Pimavo")) {}

UserDefaults::UserDefaults(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

void UserDefaults::registerDefaults(const QVariantMap& defaults) {
    for (auto it = defaults.begin(); it != defaults.end(); ++it) defaults_[it.key()] = it.value();
}

QVariant UserDefaults::objectForKey(const QString& key) const {
    const QVariant v = settings_->value(key);
    return v.isValid() ? v : defaults_.value(key);
}

bool UserDefaults::boolForKey(const QString& key) const {
    const QVariant v = objectForKey(key);
    // Ini files give strings back; "true"/"false" and numbers both read as expected.
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().toLower();
        return s == "true" || s == "yes" || s.toDouble() != 0;
    }
    return v.toBool();
}

qint64 UserDefaults::integerForKey(const QString& key) const {
    return objectForKey(key).toLongLong();
}
double UserDefaults::doubleForKey(const QString& key) const {
    return objectForKey(key).toDouble();
}
float UserDefaults::floatForKey(const QString& key) const {
    return objectForKey(key).toFloat();
}
QString UserDefaults::stringForKey(const QString& key) const {
    return objectForKey(key).toString();
}
QVariantList UserDefaults::arrayForKey(const QString& key) const {
    return objectForKey(key).toList();
}

std::optional<std::array<float, 4>> UserDefaults::colorForKey(const QString& key) const {
    const QVariantList list = arrayForKey(key);
    if (list.size() != 4) return std::nullopt;
    std::array<float, 4> c{};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        c[std::size_t(i)] = list[i].toFloat(&ok);
        if (!ok) return std::nullopt;
    }
    return c;
}

void UserDefaults::setObject(const QString& key, const QVariant& value) {
    settings_->setValue(key, value);
}

void UserDefaults::setColor(const QString& key, const std::array<float, 4>& rgba) {
    setObject(key, QVariantList{rgba[0], rgba[1], rgba[2], rgba[3]});
}

void UserDefaults::removeObjectForKey(const QString& key) {
    settings_->remove(key);
}

bool UserDefaults::synchronize() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

} // namespace pimavo
