// The program's user-visible texts, looked up by key: the strings dictionary
// ("Messages") and the localised strings. A key that is missing shows as itself, so
// a gap is visible rather than blank.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace pimavo {

class Strings {
public:
    static const Strings& shared();

    // The strings dictionary.
    QString string(const QString& key) const;
    // The localised strings.
    QString localized(const QString& key) const;

    // Fills the placeholders %@, %d, %ld, %u and %i with the arguments, in order.
    static QString format(const QString& text, const QVariantList& args);
    // A menu item's text as a window's title: without its shortcut marks ("&") or trailing ellipsis.
    static QString titleFromMenuText(const QString& menuText);

    QStringList dictionaryKeys() const { return dictionary_.keys(); }
    QStringList localizedKeys() const { return localized_.keys(); }

private:
    Strings();
    QHash<QString, QString> dictionary_, localized_;
};

} // namespace pimavo
