// The editor in another language, as a user of that desktop sees it: every text of the menus, the
// tool panel, the main dialogs and the picker, sharing, import and help-video windows, compared with
// what the same places say in English. A text that
// reads the same in both is not translated.
#include "../app/WindowFixture.h"
#include "app/HelpVideoWindow.h"
#include "app/Translations.h"
#include "app/WindowHelp.h"
#include "app/WindowImport.h"
#include "app/WindowPicker.h"
#include "app/WindowSaving.h"
#include "app/WindowSharing.h"
#include "import/ImportDialog.h"
#include "import/ImportTestSupport.h"
#include "picker/RegionPicker.h"
#include "sharing/ShareDialog.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>

// Texts as text in the tests' messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pimavo::test {
namespace {

using Texts = std::set<QString>;

// Names and words that read the same in every language.
// Names and words a translation rightly keeps: programs, services, file types, and words that are the
// same in the language (compared without mnemonic, ellipsis or version number).
const Texts kSameInEveryLanguage = {"Pimavo",   "Flickr",    "Tumblr",  "Mastodon", "Facebook", "JPEG",
                                    "JPG",      "PNG",       "TIFF",    "WebP",     "WEBP",     "HEIC",
                                    "AVIF",     "JP2",       "BMP",     "EXR",      "GIMP",     "Krita",
                                    "Shotwell", "darktable", "digiKam", "Magenta",  "Version"};
const std::map<QString, Texts> kSameInLanguage = {{"de", {"Support", "Vignette", "Sepia"}},
                                                  {"fr", {"Saturation", "Photo"}}};

bool rightlyTheSame(const QString& text, const QString& language) {
    if (text.startsWith(QLatin1String("http"))) return true;
    QString bare = text;
    bare.remove(QLatin1Char('&'));
    bare.remove(QRegularExpression(QStringLiteral("(…|\\.\\.\\.)$")));
    bare.remove(QRegularExpression(QStringLiteral(" [0-9.]+$")));
    const auto own = kSameInLanguage.find(language);
    return kSameInEveryLanguage.count(bare) || (own != kSameInLanguage.end() && own->second.count(bare));
}

void add(Texts& texts, QString text) {
    if (Qt::mightBeRichText(text)) text = QTextDocumentFragment::fromHtml(text).toPlainText();
    text = text.trimmed();
    // Numbers, sizes and file names are not words to translate.
    static const QRegularExpression word(QStringLiteral("[^\\W\\d_]{2,}"));
    if (word.match(text).hasMatch()) texts.insert(text);
}

// What a widget and the widgets in it show or say: labels, buttons, tips, accessible names, titles,
// lists.
Texts widgetTexts(QWidget* root) {
    Texts texts;
    add(texts, root->windowTitle());
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (QWidget* w : all) {
        if (w != root && !w->isVisibleTo(root)) continue;
        add(texts, w->toolTip());
        // What a screen reader says is read too.
        add(texts, w->accessibleName());
        add(texts, w->accessibleDescription());
        if (auto* label = qobject_cast<QLabel*>(w)) add(texts, label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) add(texts, button->text());
        if (auto* field = qobject_cast<QLineEdit*>(w)) add(texts, field->placeholderText());
        if (auto* box = qobject_cast<QGroupBox*>(w)) add(texts, box->title());
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i) add(texts, combo->itemText(i));
    }
    return texts;
}

// The buttons Qt names itself (Close, Cancel): its own translation, not the editor's.
Texts standardButtons(QWidget* root) {
    Texts texts;
    for (QDialogButtonBox* box : root->findChildren<QDialogButtonBox*>())
        for (QAbstractButton* b : box->buttons())
            if (box->standardButton(b) != QDialogButtonBox::NoButton) add(texts, b->text());
    return texts;
}

Texts withoutStandardButtons(QWidget* root) {
    Texts texts = widgetTexts(root);
    for (const QString& t : standardButtons(root)) texts.erase(t);
    return texts;
}

void menuTexts(QMenu* menu, Texts& texts) {
    emit menu->aboutToShow(); // the menus filled as they open (Open Recent)
    for (QAction* a : menu->actions()) {
        add(texts, a->text());
        if (a->menu()) menuTexts(a->menu(), texts);
    }
}

// Runs `inside` on the next message box the window puts up, then answers it with Cancel (or OK).
void onMessageBox(std::function<void(QMessageBox*)> inside) {
    onModal<QMessageBox>([inside = std::move(inside)](QMessageBox* box) {
        inside(box);
        QAbstractButton* leave = box->button(QMessageBox::Cancel);
        if (!leave) leave = box->button(QMessageBox::Ok);
        if (leave) leave->click();
    });
}

// Everything one window shows, surface by surface.
using Shown = std::map<std::string, Texts>;

Shown walkTheEditor() {
    WindowFixture t;
    // The real dialogs, not the tests' stand-ins.
    t.w->services.saveQuestion = nullptr;
    t.w->services.alertShown = nullptr;
    Shown shown;
    for (QAction* a : t.w->menuBar()->actions()) {
        add(shown["menu bar"], a->text());
        if (a->menu()) menuTexts(a->menu(), shown["menus"]);
    }
    shown["start screen"] = widgetTexts(t.w->start()->view());

    t.w->help()->showPreferences();
    QWidget* preferences = t.w->help()->preferencesWindow();
    if (auto* advanced = preferences->findChild<QAbstractButton*>("advanced")) advanced->setChecked(true);
    shown["preferences"] = withoutStandardButtons(preferences);
    shown["Qt's standard buttons"] = standardButtons(preferences);
    preferences->close();
    t.w->help()->showAbout();
    shown["about"] = withoutStandardButtons(t.w->help()->aboutWindow());
    t.w->help()->aboutWindow()->close();

    // A file that is no photo: the message that it could not be opened.
    const QString damaged = t.dir.filePath("damaged.jpg");
    QFile file(damaged);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a photo at all");
    file.close();
    bool alerted = false;
    onMessageBox([&](QMessageBox* box) {
        alerted = true;
        add(shown["open failure"], box->text().remove(QFileInfo(damaged).fileName()));
        add(shown["open failure"], box->informativeText());
    });
    t.w->opening()->open(damaged);
    EXPECT_TRUE(waitUntil([&] { return alerted; }, 10000, "the message that the file could not be opened"));
    // A project that is no project: the project layer's own words for why.
    const QString project = t.dir.filePath("damaged.pimavo");
    QFile projectFile(project);
    EXPECT_TRUE(projectFile.open(QIODevice::WriteOnly));
    projectFile.write("PK but no archive");
    projectFile.close();
    alerted = false;
    onMessageBox([&](QMessageBox* box) {
        alerted = true;
        add(shown["project failure"], box->text().remove(QFileInfo(project).fileName()));
        add(shown["project failure"], box->informativeText());
    });
    t.w->opening()->open(project);
    EXPECT_TRUE(
        waitUntil([&] { return alerted; }, 10000, "the message that the project could not be opened"));

    t.open(t.sample());
    ToolPanel* panel = t.w->drawingToolbar();
    add(shown["tool panel tabs"], panel->tabButton1()->text());
    add(shown["tool panel tabs"], panel->tabButton2()->text());
    shown["tool panel"] = widgetTexts(panel);
    // The window's own buttons and labels: the top bar, around the canvas.
    Texts window = widgetTexts(t.w->contentView());
    for (const QString& text : shown["tool panel"]) window.erase(text);
    shown["window"] = window;

    // The windows a photo opens onto: the picker, sharing by mail, the camera and scanner import,
    // and the help videos.
    t.w->picker()->toggle();
    EXPECT_TRUE(waitUntil([&] { return t.w->picker()->isShown(); }, 10000, "the picker"));
    shown["picker"] = widgetTexts(t.w->picker()->view());
    t.w->picker()->cancel();
    EXPECT_TRUE(waitUntil([&] { return !t.w->picker()->view(); }, 10000, "the picker to go"));
    t.w->sharing()->showShareWindow(sharing::ShareDialog::Mail);
    if (QWidget* share = t.w->sharing()->shareWindow()) {
        shown["sharing"] = withoutStandardButtons(share);
        share->close();
    }
    // The scanners the window lists are SANE's test scanner's, not whatever drivers the machine has.
    usePrivateSaneConfiguration();
    QTimer::singleShot(0, [&] {
        if (ImportDialog* import = t.w->imports()->importWindow()) {
            shown["import"] = withoutStandardButtons(import);
            import->reject();
        }
    });
    t.w->imports()->runImportWindow();
    t.w->help()->showVideos();
    if (QWidget* videos = t.w->help()->videoWindow()) {
        shown["help videos"] = withoutStandardButtons(videos);
        videos->close();
    }

    // The question before edited work is replaced.
    t.w->setEdited(true);
    bool asked = false;
    onMessageBox([&](QMessageBox* box) {
        asked = true;
        for (QAbstractButton* b : box->buttons())
            add(box->standardButton(b) == QMessageBox::NoButton ? shown["save question"]
                                                                : shown["Qt's standard buttons"],
                b->text());
        add(shown["save question"], box->text().remove(t.w->documentName()));
        add(shown["save question"], box->informativeText());
    });
    t.w->saving()->askToSave([] {});
    EXPECT_TRUE(asked);
    t.w->setEdited(false);
    return shown;
}

// The places a user reads, as walkTheEditor() names them.
const char* const kSurfaces[] = {"menu bar",     "tool panel tabs", "Qt's standard buttons",
                                 "menus",        "tool panel",      "window",
                                 "start screen", "preferences",     "about",
                                 "open failure", "project failure", "save question",
                                 "picker",       "sharing",         "import",
                                 "help videos"};

class Translated : public ::testing::TestWithParam<const char*> {
protected:
    void TearDown() override { installTranslators(QLocale(QLocale::English)); }
};

TEST_P(Translated, EveryTextTheUserReads) {
    ASSERT_EQ(installTranslators(QLocale(QLocale::English)), "en");
    const Shown english = walkTheEditor();
    ASSERT_EQ(installTranslators(QLocale(QString::fromLatin1(GetParam()))), GetParam());
    const Shown translated = walkTheEditor();
    for (const char* surface : kSurfaces) {
        const Texts& before = english.at(surface);
        const Texts& after = translated.at(surface);
        EXPECT_FALSE(after.empty()) << surface << " shows nothing to read";
        QStringList untranslated;
        for (const QString& text : after)
            if (before.count(text) && !rightlyTheSame(text, QString::fromLatin1(GetParam())))
                untranslated << text;
        EXPECT_TRUE(untranslated.isEmpty()) << GetParam() << ", " << surface << ": not translated:\n  "
                                            << untranslated.join("\n  ").toStdString();
    }
}

// Longer words than the English ones still fit their buttons and labels: none is cut off.
TEST_P(Translated, EveryWordFitsItsPlace) {
    ASSERT_EQ(installTranslators(QLocale(QString::fromLatin1(GetParam()))), GetParam());
    WindowFixture t;
    t.open(t.sample());
    ToolPanel* panel = t.w->drawingToolbar();
    QStringList cut;
    auto check = [&](QWidget* root) {
        for (QWidget* w : root->findChildren<QWidget*>()) {
            QString text;
            if (auto* button = qobject_cast<ImageButton*>(w)) text = button->text();
            if (auto* label = qobject_cast<QLabel*>(w); label && !Qt::mightBeRichText(label->text())) {
                // A text that wraps must fit in the lines its label has room for.
                if (label->wordWrap()) {
                    if (w->isVisible() && label->heightForWidth(w->width()) > w->height())
                        cut << QStringLiteral("%1 (%2 of %3 px high)")
                                   .arg(label->text())
                                   .arg(label->heightForWidth(w->width()))
                                   .arg(w->height());
                    continue;
                }
                text = label->text();
            }
            if (text.isEmpty()) continue;
            const int needed = QFontMetrics(w->font()).horizontalAdvance(text);
            if (needed > w->width())
                cut << QStringLiteral("%1 (%2 of %3 px)").arg(text).arg(needed).arg(w->width());
        }
    };
    // Both pages of the panel: the colour's and the background's.
    check(panel);
    panel->tabButton2()->click();
    check(panel);
    check(t.w->contentView());
    // The picker's instructions, for the mouse and, once an arrow is pressed, for the keys.
    t.w->picker()->toggle();
    ASSERT_TRUE(waitUntil([&] { return t.w->picker()->isShown() && t.w->picker()->shownPicker(); }, 10000,
                          "the picker"));
    RegionPicker* picker = t.w->picker()->shownPicker();
    check(picker);
    QTest::keyClick(picker, Qt::Key_Right);
    check(picker);
    t.w->picker()->cancel();
    EXPECT_TRUE(cut.isEmpty()) << GetParam() << ": cut off:\n  " << cut.join("\n  ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, Translated, ::testing::Values("de", "fr"));

} // namespace
} // namespace pimavo::test
