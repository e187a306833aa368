// The editor speaks the desktop's language: LANGUAGE, then LANG, as a user sets them, choose the
// menus' language and the guide's. Each case starts the editor anew in a program of its own, since
// the desktop's language is read once, when a program starts.
#include "../app/WindowFixture.h"
#include "app/Translations.h"
#include "app/WindowHelp.h"

#include <QMenuBar>
#include <QProcess>
#include <QTextStream>
#include <gtest/gtest.h>

// Texts as text in the tests' messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pimavo::test {
namespace {

// Run on its own by the test below, in the environment it is given: starts the editor as main()
// does and says what it shows.
TEST(Language, DISABLED_EditorStartedInTheDesktopsLanguage) {
    installTranslators();
    WindowFixture t;
    QUrl guide;
    t.w->services.openURL = [&guide](const QUrl& address) {
        guide = address;
        return true;
    };
    t.w->help()->showGuide();
    QTextStream out(stdout);
    out << "language " << translationLanguage() << '\n';
    for (QAction* a : t.w->menuBar()->actions()) out << "menu " << a->text() << '\n';
    out << "guide " << guide.toLocalFile().section(QStringLiteral("/help/"), 1) << '\n';
}

struct Said {
    QString language;
    QStringList menus;
    QString guide;
};

Said startEditor(const QString& language, const QString& lang) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LANG", "LC_ALL", "LC_MESSAGES"}) env.remove(name);
    if (!language.isEmpty()) env.insert("LANGUAGE", language);
    env.insert("LANG", lang);
    QProcess editor;
    editor.setProcessEnvironment(env);
    editor.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_also_run_disabled_tests",
                  "--gtest_filter=Language.DISABLED_EditorStartedInTheDesktopsLanguage"});
    EXPECT_TRUE(editor.waitForFinished(scaledWait(60000)));
    EXPECT_EQ(editor.exitCode(), 0) << editor.readAllStandardError().toStdString();
    Said said;
    for (const QString& line : QString::fromUtf8(editor.readAllStandardOutput()).split('\n')) {
        if (line.startsWith("language ")) said.language = line.section(' ', 1);
        if (line.startsWith("menu ")) said.menus << line.section(' ', 1);
        if (line.startsWith("guide ")) said.guide = line.section(' ', 1);
    }
    return said;
}

TEST(Language, FollowsTheDesktop) {
    const QStringList english{"&File", "&Edit", "&View", "S&hare", "&Help"};
    const QStringList german{"&Datei", "&Bearbeiten", "&Ansicht", "&Teilen", "&Hilfe"};
    const QStringList french{"&Fichier", "É&dition", "&Affichage", "&Partager", "Aid&e"};
    struct Case {
        const char* what;
        const char* language; // LANGUAGE; empty: not set
        const char* lang;     // LANG
        const char* chosen;
        QStringList menus;
        const char* guide;
    } cases[] = {
        {"LANGUAGE names it", "de", "C.UTF-8", "de", german, "de/index.html"},
        {"LANG names it", "", "fr_FR.UTF-8", "fr", french, "fr/index.html"},
        {"LANGUAGE wins over LANG", "fr:de", "de_DE.UTF-8", "fr", french, "fr/index.html"},
        {"a region of a translated language", "de_AT", "C.UTF-8", "de", german, "de/index.html"},
        {"the first language translated", "pt:fr", "C.UTF-8", "fr", french, "fr/index.html"},
        {"an unknown language falls back to English", "xx", "C.UTF-8", "en", english, "index.html"},
        {"English before a translated language", "en:fr", "fr_FR.UTF-8", "en", english, "index.html"},
        {"no language at all", "", "C", "en", english, "index.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Said said = startEditor(QString::fromLatin1(c.language), QString::fromLatin1(c.lang));
        EXPECT_EQ(said.language, c.chosen);
        EXPECT_EQ(said.menus, c.menus);
        EXPECT_EQ(said.guide, c.guide);
    }
}

} // namespace
} // namespace pimavo::test
