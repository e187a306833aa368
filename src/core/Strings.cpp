#include "Strings.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace pimavo {

namespace {
QHash<QString, QString> load(const QString& resource) {
    QHash<QString, QString> table;
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) return table;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = object.begin(); it != object.end(); ++it) table.insert(it.key(), it.value().toString());
    return table;
}
} // namespace

Strings::Strings()
    : dictionary_(load(":/strings/Messages.json")), localized_(load(":/strings/Localizable.json")) {}

const Strings& Strings::shared() {
    static const Strings strings;
    return strings;
}

QString Strings::string(const QString& key) const {
    return dictionary_.value(key, key);
}

QString Strings::localized(const QString& key) const {
    return localized_.value(key, key);
}

QString Strings::titleFromMenuText(const QString& menuText) {
    QString out;
    for (qsizetype i = 0; i < menuText.size(); ++i) {
        if (menuText[i] == '&' && i + 1 < menuText.size()) ++i; // "&&" is a plain ampersand
        out += menuText[i];
    }
    while (out.endsWith(QChar(0x2026)) || out.endsWith('.')) out.chop(1);
    return out.trimmed();
}

QString Strings::format(const QString& text, const QVariantList& args) {
    static const QRegularExpression placeholder(QStringLiteral("%(@|l?d|u|i)"));
    QString out;
    qsizetype last = 0, next = 0;
    auto it = placeholder.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        out += next < args.size() ? args[next++].toString() : m.captured();
        last = m.capturedEnd();
    }
    out += text.mid(last);
    return out;
}

} // namespace pimavo
