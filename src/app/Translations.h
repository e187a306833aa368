// The editor speaks the desktop's language: the first of the user's languages (LANGUAGE, then
// LC_ALL, LC_MESSAGES and LANG, as QLocale::uiLanguages() lists them) that it has a translation
// for, with Qt's own translation of the standard dialogs in the same language. English, the
// language the texts are written in, needs no translation: where it comes first it wins over any
// language listed after it.
#pragma once

#include <QLocale>
#include <QString>

namespace pimavo {

// Installs the translators on the application for `locale`'s languages, replacing any installed
// before; returns the language chosen ("de"), or "en" for the texts as written.
QString installTranslators(const QLocale& locale = QLocale());
// The language installed last ("en" before any): what the guide and other texts kept beside the
// program are chosen by.
QString translationLanguage();

} // namespace pimavo
