// The user's preferences, kept between runs (QSettings, organisation and application "Pimavo").
// Keys are the program's own names ("kSelectedColorKey", "showWelcomeScreenOnStartup", ...).
// Registered defaults answer for keys never set. Colours are stored as four single-precision
// numbers (red, green, blue, alpha).
#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <array>
#include <memory>
#include <optional>

namespace pimavo {

class UserDefaults {
public:
    static UserDefaults& standardUserDefaults();
    // Preferences in a file of their own (tests, or a portable setup).
    explicit UserDefaults(const QString& iniFile);
    UserDefaults();

    void registerDefaults(const QVariantMap& defaults);

    QVariant objectForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    qint64 integerForKey(const QString& key) const;
    double doubleForKey(const QString& key) const;
    float floatForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    QVariantList arrayForKey(const QString& key) const;
    std::optional<std::array<float, 4>> colorForKey(const QString& key) const;

    void setObject(const QString& key, const QVariant& value);
    void setBool(const QString& key, bool value) { setObject(key, value); }
    void setInteger(const QString& key, qint64 value) { setObject(key, value); }
    void setDouble(const QString& key, double value) { setObject(key, value); }
    void setFloat(const QString& key, float value) { setObject(key, value); }
    void setString(const QString& key, const QString& value) { setObject(key, value); }
    void setColor(const QString& key, const std::array<float, 4>& rgba);
    void removeObjectForKey(const QString& key);

    bool synchronize();

private:
    std::unique_ptr<QSettings> settings_;
    QVariantMap defaults_;
};

} // namespace pimavo
