#include "Translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace pimavo {

namespace {

// Kept for the program's lifetime, as the application holds only pointers to them.
std::unique_ptr<QTranslator> gOwn, gQt, gPlurals;
QString gLanguage = QStringLiteral("en");

void install(std::unique_ptr<QTranslator>& slot, std::unique_ptr<QTranslator> next) {
    slot = std::move(next);
    if (slot) QCoreApplication::installTranslator(slot.get());
}

// The file named and no other: QTranslator would take "pimavo_de.qm" for "pimavo_de_AT.qm", and
// the language chosen would not be the one loaded.
std::unique_ptr<QTranslator> loaded(const QString& path) {
    auto translator = std::make_unique<QTranslator>();
    return QFile::exists(path) && translator->load(path) ? std::move(translator) : nullptr;
}

} // namespace

QString installTranslators(const QLocale& locale) {
    std::unique_ptr<QTranslator> own, qt;
    QString chosen = QStringLiteral("en");
    for (const QString& language : locale.uiLanguages()) {
        const QLocale wanted(language);
        if (wanted.language() == QLocale::English || wanted.language() == QLocale::C) break;
        // "de-AT" may have its own file; "de" serves it otherwise.
        const QString name = wanted.name();
        for (const QString& tried : {name, name.section('_', 0, 0)}) {
            own = loaded(":/i18n/pimavo_" + tried + ".qm");
            if (own) {
                chosen = tried;
                break;
            }
        }
        if (own) break;
    }
    if (own) {
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        qt = loaded(folder + "/qtbase_" + chosen + ".qm");
        if (!qt && chosen.contains('_')) qt = loaded(folder + "/qtbase_" + chosen.section('_', 0, 0) + ".qm");
    }
    for (const auto* slot : {&gOwn, &gQt, &gPlurals})
        if (*slot) QCoreApplication::removeTranslator(slot->get());
    // The translator installed last is asked first: the English plural forms ("1 step") only where
    // the language has no text.
    install(gPlurals, loaded(QStringLiteral(":/i18n/pimavo_en.qm")));
    install(gQt, std::move(qt));
    install(gOwn, std::move(own));
    gLanguage = chosen;
    return chosen;
}

QString translationLanguage() {
    return gLanguage;
}

} // namespace pimavo
