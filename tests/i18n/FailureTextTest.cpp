// Why a file could not be opened or saved, as the image and project layers say it in English and as
// the user reads it in German or French: whole messages made of a template, a reason and a library's
// detail, each part put into the language and nothing of the file's name or the detail lost.
#include "imageio/FailureText.h"

#include "app/Translations.h"
#include "core/FailureTranslation.h"
#include "document/ProjectDocument.h"
#include "imageio/ImageDecoder.h"
#include "imageio/ImageWriter.h"

#include <QDomDocument>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pimavo::test {
namespace {

class FailureTexts : public ::testing::Test {
protected:
    void TearDown() override { installTranslators(QLocale(QLocale::English)); }
    static void use(const char* language) {
        ASSERT_EQ(installTranslators(QLocale(QString::fromLatin1(language))), QString::fromLatin1(language));
    }
};

struct Composed {
    const char* language;
    std::string english;
    const char* expected;
};

TEST_F(FailureTexts, WholeMessagesReadInTheLanguageWithNamesAndDetailsKept) {
    const Composed cases[] = {
        // A library's own detail stays as the library wrote it; German capitalises the reason's
        // sentence after the colon.
        {"de",
         "“Strand.jpg” could not be opened: the file is damaged (Not a JPEG file: starts with 0x89 0x50).",
         "„Strand.jpg“ konnte nicht geöffnet werden: Die Datei ist beschädigt (Not a JPEG file: starts with "
         "0x89 "
         "0x50)."},
        {"fr", "“Plage.jpg” could not be saved: the folder cannot be written to (Permission denied).",
         "«\u00a0Plage.jpg\u00a0» n’a pas pu être enregistré\u00a0: le dossier n’est pas accessible en "
         "écriture "
         "(Permission denied)."},
        // Three levels: the message, the entry's damage, and the reason inside it.
        {"de", "“Reise.pimavo” cannot be opened: its “mask.png” is damaged (the picture ends early).",
         "„Reise.pimavo“ kann nicht geöffnet werden: Sein Teil „mask.png“ ist beschädigt (das Bild endet zu "
         "früh)."},
        {"fr", "“Reise.pimavo” cannot be opened: its description is damaged (unknown look).",
         "«\u00a0Reise.pimavo\u00a0» ne peut pas être ouvert\u00a0: sa description est endommagée (style "
         "inconnu)."},
        // A file named like a reason is still its name.
        {"de", "“it is a folder” could not be opened: it is a folder.",
         "„it is a folder“ konnte nicht geöffnet werden: Es ist ein Ordner."},
        // Numbers put in their places.
        {"fr", "“Nuit.tif” could not be opened: it has 7 channels.",
         "«\u00a0Nuit.tif\u00a0» n’a pas pu être ouvert\u00a0: l’image a 7\u00a0canaux."},
        // What no template made is shown as it came.
        {"de", "Not a JPEG file: starts with 0x89 0x50", "Not a JPEG file: starts with 0x89 0x50"},
        {"en", "“Strand.jpg” could not be opened: the file is damaged (x).",
         "“Strand.jpg” could not be opened: the file is damaged (x)."},
    };
    for (const Composed& c : cases) {
        use(c.language);
        EXPECT_EQ(translatedFailure(c.english), QString::fromUtf8(c.expected))
            << c.language << ": " << c.english;
    }
}

TEST_F(FailureTexts, AReasonAloneIsASentence) {
    use("de");
    EXPECT_EQ(failureSentence(QStringLiteral("it is a folder")), QStringLiteral("Es ist ein Ordner."));
    use("fr");
    EXPECT_EQ(failureSentence(QStringLiteral("it is not a Pimavo project")),
              QStringLiteral("Ce n’est pas un projet Pimavo."));
}

// Every template, as the layers below fill it, comes out translated with each thing put in it kept.
TEST_F(FailureTexts, EveryTemplateIsTranslatedWithItsPlacesFilled) {
    for (const char* language : {"de", "fr"}) {
        use(language);
        for (const char* text : failure::kTemplates) {
            const char* const puts[] = {"Alpha.jpg", "4711", "Kappa"};
            const std::string english = failure::compose(text, {puts[0], puts[1], puts[2]});
            const QString translated = translatedFailure(english);
            EXPECT_NE(translated, QString::fromStdString(english)) << language << ": " << text;
            const auto places = QString::fromUtf8(text).count(QRegularExpression(QStringLiteral("%[1-9]")));
            for (qsizetype i = 0; i < places; ++i)
                EXPECT_TRUE(translated.contains(QString::fromLatin1(puts[i]), Qt::CaseInsensitive))
                    << language << ": " << text << " lost " << puts[i] << " in " << translated.toStdString();
        }
    }
}

// The translation files hold a finished translation of every failure text, with the same places.
TEST_F(FailureTexts, EveryFailureTextHasAFinishedTranslation) {
    for (const char* language : {"de", "fr"}) {
        QFile file(
            QStringLiteral(PIMAVO_SOURCE_DIR "/translations/pimavo_%1.ts").arg(QLatin1String(language)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        QDomDocument ts;
        ASSERT_TRUE(ts.setContent(&file));
        int failures = 0;
        const QDomNodeList contexts = ts.elementsByTagName(QStringLiteral("context"));
        for (int c = 0; c < contexts.size(); ++c) {
            const QDomElement context = contexts.at(c).toElement();
            if (context.firstChildElement(QStringLiteral("name")).text() != QLatin1String("Failure"))
                continue;
            for (QDomElement m = context.firstChildElement(QStringLiteral("message")); !m.isNull();
                 m = m.nextSiblingElement(QStringLiteral("message"))) {
                ++failures;
                const QString source = m.firstChildElement(QStringLiteral("source")).text();
                const QDomElement translation = m.firstChildElement(QStringLiteral("translation"));
                EXPECT_FALSE(translation.text().isEmpty()) << language << ": " << source.toStdString();
                EXPECT_TRUE(translation.attribute(QStringLiteral("type")).isEmpty())
                    << language << ": " << source.toStdString() << " is "
                    << translation.attribute(QStringLiteral("type")).toStdString();
                static const QRegularExpression place(QStringLiteral("%[1-9]"));
                QStringList from, to;
                for (auto it = place.globalMatch(source); it.hasNext();) from << it.next().captured();
                for (auto it = place.globalMatch(translation.text()); it.hasNext();)
                    to << it.next().captured();
                from.sort();
                to.sort();
                EXPECT_EQ(from, to) << language << ": " << source.toStdString();
            }
        }
        EXPECT_GT(failures, int(failure::kTemplates.size())) << language << " has no failure texts";
    }
}

// Failures as the layers make them, read in German: no English left but the file's name.
TEST_F(FailureTexts, RealFailuresReadInGerman) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    use("de");

    const DecodeResult opened = decodeImageFile(folder);
    ASSERT_FALSE(opened.image);
    EXPECT_EQ(translatedFailure(opened.error),
              QStringLiteral("„%1“ konnte nicht geöffnet werden: Es ist ein Ordner.")
                  .arg(QFileInfo(dir.path()).fileName()));

    QFile notAProject(dir.filePath(QStringLiteral("Reise.pimavo")));
    ASSERT_TRUE(notAProject.open(QIODevice::WriteOnly));
    notAProject.write("PK not really a project");
    notAProject.close();
    const ProjectReadResult read = readProjectFile(notAProject.fileName().toStdString());
    ASSERT_FALSE(read.project);
    EXPECT_EQ(translatedFailure(read.error),
              QStringLiteral("„Reise.pimavo“ kann nicht geöffnet werden: Es ist keine Projektdatei (kein "
                             "Archivverzeichnis)."));

    Bitmap picture(4, 4, PixelLayout{8, AlphaInfo::NoneSkipLast});
    SaveOptions options;
    options.mimeType = "image/png";
    std::string error;
    ASSERT_FALSE(writeImageFile(picture, folder + "/missing/Bild.png", options, nullptr, &error));
    EXPECT_EQ(translatedFailure(error),
              QStringLiteral("„Bild.png“ konnte nicht gespeichert werden: Der Ordner existiert nicht."));
}

} // namespace
} // namespace pimavo::test
