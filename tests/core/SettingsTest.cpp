// Settings files as earlier versions left them, opened by this one; and values that only an ini
// file's round trip can lose.
#include "core/Settings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

using Colour = Settings::Colour;

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Written with the value types earlier versions stored: scalars as such, colours as four floats,
// lists as lists (of lists, of maps).
void writeEarlierFile(const QString& path, const QList<std::pair<QString, QVariant>>& values) {
    QSettings old(path, QSettings::IniFormat);
    for (const auto& [key, value] : values) old.setValue(key, value);
    old.sync();
    ASSERT_EQ(old.status(), QSettings::NoError);
}

QVariantList floats(std::initializer_list<float> parts) {
    QVariantList out;
    for (float f : parts) out << f;
    return out;
}

struct Carried {
    const char* oldKey;
    QVariant oldValue;
    const char* newKey;
    std::function<void(const Settings&)> expect;
};

std::vector<Carried> everyEarlierKey(const QString& dir) {
    const QVariantMap written{
        {"path", dir + "/out.jpg"}, {"size", qint64(123456)}, {"modified", qint64(1700000000123)}};
    return {
        {"showWelcomeScreenOnStartup", false, "start/showWelcome",
         [](const Settings& s) { EXPECT_FALSE(s.showWelcomeAtStart()); }},
        {"BrimwellSavedFrame", "40 60 1000 700 maximized", "window/frame",
         [](const Settings& s) {
             EXPECT_EQ(s.windowFrame(), QRect(40, 60, 1000, 700));
             EXPECT_TRUE(s.windowMaximized());
         }},
        {"kBackgroundPopoverSelectedCellKey", 2, "window/background",
         [](const Settings& s) { EXPECT_EQ(s.background(), 2); }},
        {"showMaskColor", floats({0, 0, 1, 1}), "window/showMaskColor",
         [](const Settings& s) {
             EXPECT_EQ(s.showMaskColour(), (Colour{0, 0, 1, 1}));
         }},
        {"PimavoDefaultTreatmentIntegerValue", 3, "editing/defaultTreatment",
         [](const Settings& s) { EXPECT_EQ(s.defaultTreatment(), 3); }},
        {"kSelectedColorKey", floats({0.25f, 200 / 255.0f, 0.75f, 1}), "colors/selected",
         [](const Settings& s) {
             EXPECT_EQ(s.selectedColour(), (Colour{0.25f, 200 / 255.0f, 0.75f, 1}));
         }},
        {"kRecentColorsKey", QVariantList{floats({1, 0, 0, 1}), floats({0.1f, 0.2f, 0.3f, 1})},
         "colors/recent",
         [](const Settings& s) {
             EXPECT_EQ(s.recentColours(), (QList<Colour>{{1, 0, 0, 1}, {0.1f, 0.2f, 0.3f, 1}}));
         }},
        {"PimavoDefaultSaveTypeStringValue", "image/png", "save/type",
         [](const Settings& s) { EXPECT_EQ(s.saveType(), "image/png"); }},
        {"PimavoSaveQualityFloatValue", 0.7, "save/quality",
         [](const Settings& s) { EXPECT_DOUBLE_EQ(s.saveQuality(), 0.7); }},
        {"PimavoWrittenFilesArray", QVariantList{written}, "save/writtenFiles/size",
         [dir](const Settings& s) {
             EXPECT_EQ(s.writtenFiles(),
                       (QList<Settings::WrittenFile>{{dir + "/out.jpg", 123456, 1700000000123}}));
         }},
        {"PimavoRecentDocuments", QVariantList{dir + "/a, b.jpg", dir + "/c.png"}, "recent/documents",
         [dir](const Settings& s) {
             EXPECT_EQ(s.recentDocuments(), (QStringList{dir + "/a, b.jpg", dir + "/c.png"}));
         }},
        {"PimavoCountOfSavingsIntegerValue", 2, "review/savesSincePrompt",
         [](const Settings& s) { EXPECT_EQ(s.savesSinceReviewPrompt(), 2); }},
        {"PimavoNeverShowReviewAppBoolValue", true, "review/declined",
         [](const Settings& s) { EXPECT_TRUE(s.reviewDeclined()); }},
        {"PimavoLastVersionAppFloatValue", 1.5f, "review/lastVersion",
         [](const Settings& s) { EXPECT_DOUBLE_EQ(s.lastVersion(), 1.5); }},
        {"kFlickrVisibilityPopoverSelectedCellKey", 2, "sharing/flickrVisibility",
         [](const Settings& s) { EXPECT_EQ(s.shareChoice(Settings::ShareChoice::FlickrVisibility), 2); }},
        {"kMastodonVisibilityPopoverSelectedCellKey", 1, "sharing/mastodonVisibility",
         [](const Settings& s) { EXPECT_EQ(s.shareChoice(Settings::ShareChoice::MastodonVisibility), 1); }},
        {"kBlogsPopoverSelectedCellKey", 4, "sharing/tumblrBlog",
         [](const Settings& s) { EXPECT_EQ(s.shareChoice(Settings::ShareChoice::TumblrBlog), 4); }},
        {"kStringHelpLink", "https://guide.example/", "help/guideUrl",
         [](const Settings& s) { EXPECT_EQ(s.webPage(Settings::WebPage::Guide), "https://guide.example/"); }},
        {"kStringHelpVideosLink", "https://mirror.example/videos.json", "help/videosUrl",
         [](const Settings& s) {
             EXPECT_EQ(s.webPage(Settings::WebPage::Videos), "https://mirror.example/videos.json");
         }},
        {"kStringSupportLink", "https://support.example/", "help/supportUrl",
         [](const Settings& s) {
             EXPECT_EQ(s.webPage(Settings::WebPage::Support), "https://support.example/");
         }},
        {"kStringReviewLink", "https://review.example/", "help/reviewUrl",
         [](const Settings& s) {
             EXPECT_EQ(s.webPage(Settings::WebPage::Review), "https://review.example/");
         }},
        {"kStringHomePageLink", "https://home.example/", "help/homePageUrl",
         [](const Settings& s) {
             EXPECT_EQ(s.webPage(Settings::WebPage::HomePage), "https://home.example/");
         }},
        {"kStringOtherProductsLink", "https://more.example/", "help/otherProductsUrl",
         [](const Settings& s) {
             EXPECT_EQ(s.webPage(Settings::WebPage::OtherProducts), "https://more.example/");
         }},
        {"kStringPrintOnCanvasLink", "https://print.example/", "help/printOnCanvasUrl",
         [](const Settings& s) {
             EXPECT_EQ(s.webPage(Settings::WebPage::PrintOnCanvas), "https://print.example/");
         }},
        // Chosen afresh in every sharing window, or no longer offered: not carried.
        {"kResolutionsPopoverSelectedCellKey", 3, nullptr, {}},
        {"kAlbumsPopoverSelectedCellKey", 1, nullptr, {}},
        {"k_Crop_Proportions_Popover_Selected_Cell_Key", 2, nullptr, {}},
    };
}

TEST(SettingsMigration, EveryEarlierKeyReadsBackThroughItsSettingAndIsGone) {
    QTemporaryDir dir;
    const QString file = dir.filePath("Pimavo.conf");
    const std::vector<Carried> rows = everyEarlierKey(dir.path());
    QList<std::pair<QString, QVariant>> values;
    for (const Carried& r : rows) values.append(std::pair{QString::fromLatin1(r.oldKey), r.oldValue});
    // Written by this version already, beside the old keys: left alone.
    values.append(std::pair{QStringLiteral("sharing/includeLocation"), QVariant(true)});
    values.append(std::pair{QStringLiteral("sharing/flickr/accountName"), QVariant("painter")});
    writeEarlierFile(file, values);

    {
        Settings settings(file);
        for (const Carried& r : rows) {
            SCOPED_TRACE(r.oldKey);
            if (r.expect) r.expect(settings);
        }
        EXPECT_TRUE(settings.shareIncludesLocation());
    }
    const QSettings plain(file, QSettings::IniFormat);
    for (const Carried& r : rows) {
        SCOPED_TRACE(r.oldKey);
        EXPECT_FALSE(plain.contains(r.oldKey));
        if (r.newKey) {
            EXPECT_TRUE(plain.contains(r.newKey));
        }
    }
    EXPECT_EQ(plain.value("settings/version").toInt(), Settings::kVersion);
    EXPECT_EQ(plain.value("sharing/flickr/accountName").toString(), "painter");

    // Once only: opening again changes nothing, even with an old key put back by hand.
    writeEarlierFile(file, {{"kBackgroundPopoverSelectedCellKey", 1}});
    const QByteArray before = fileBytes(file);
    Settings again(file);
    EXPECT_EQ(again.background(), 2);
    EXPECT_EQ(fileBytes(file), before);
}

TEST(SettingsMigration, AValueOfTheWrongTypeIsDroppedAndTheDefaultStays) {
    struct Case {
        const char* oldKey;
        QVariant oldValue;
        std::function<void(const Settings&)> expectDefault;
    };
    const Case cases[] = {
        {"showWelcomeScreenOnStartup", "perhaps",
         [](const Settings& s) { EXPECT_TRUE(s.showWelcomeAtStart()); }},
        {"BrimwellSavedFrame", "40 60 wide 700", [](const Settings& s) { EXPECT_FALSE(s.windowFrame()); }},
        {"BrimwellSavedFrame", QVariantList{40, 60, 1000, 700},
         [](const Settings& s) { EXPECT_FALSE(s.windowFrame()); }},
        {"kBackgroundPopoverSelectedCellKey", "dark",
         [](const Settings& s) { EXPECT_EQ(s.background(), 0); }},
        {"kBackgroundPopoverSelectedCellKey", 9, [](const Settings& s) { EXPECT_EQ(s.background(), 0); }},
        {"showMaskColor", "red",
         [](const Settings& s) {
             EXPECT_EQ(s.showMaskColour(), (Colour{1, 0, 0, 1}));
         }},
        {"PimavoDefaultTreatmentIntegerValue", 2.5,
         [](const Settings& s) { EXPECT_EQ(s.defaultTreatment(), 0); }},
        {"kSelectedColorKey", QVariantList{0.1, "x", 0.3, 1},
         [](const Settings& s) { EXPECT_FALSE(s.selectedColour()); }},
        {"kSelectedColorKey", floats({0.1f, 0.2f, 0.3f}),
         [](const Settings& s) { EXPECT_FALSE(s.selectedColour()); }},
        {"kRecentColorsKey", "blue", [](const Settings& s) { EXPECT_TRUE(s.recentColours().isEmpty()); }},
        {"PimavoDefaultSaveTypeStringValue", QVariantList{"image/png"},
         [](const Settings& s) { EXPECT_EQ(s.saveType(), "image/jpeg"); }},
        {"PimavoSaveQualityFloatValue", 7, [](const Settings& s) { EXPECT_DOUBLE_EQ(s.saveQuality(), 0.9); }},
        {"PimavoWrittenFilesArray", "out.jpg",
         [](const Settings& s) { EXPECT_TRUE(s.writtenFiles().isEmpty()); }},
        {"PimavoRecentDocuments", QVariantMap{{"path", "a.jpg"}},
         [](const Settings& s) { EXPECT_TRUE(s.recentDocuments().isEmpty()); }},
        {"PimavoCountOfSavingsIntegerValue", -3,
         [](const Settings& s) { EXPECT_EQ(s.savesSinceReviewPrompt(), 0); }},
        {"PimavoNeverShowReviewAppBoolValue", "sometimes",
         [](const Settings& s) { EXPECT_FALSE(s.reviewDeclined()); }},
        {"PimavoLastVersionAppFloatValue", "one", [](const Settings& s) { EXPECT_EQ(s.lastVersion(), 0); }},
        {"kBlogsPopoverSelectedCellKey", "first",
         [](const Settings& s) { EXPECT_EQ(s.shareChoice(Settings::ShareChoice::TumblrBlog), 0); }},
        {"kStringSupportLink", QVariantList{"https://a.example/", "https://b.example/"},
         [](const Settings& s) { EXPECT_EQ(s.webPage(Settings::WebPage::Support), ""); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.oldKey) + " = " + c.oldValue.toString().toStdString());
        QTemporaryDir dir;
        const QString file = dir.filePath("Pimavo.conf");
        writeEarlierFile(file, {{c.oldKey, c.oldValue}});
        {
            Settings settings(file);
            c.expectDefault(settings);
        }
        const QSettings plain(file, QSettings::IniFormat);
        EXPECT_EQ(plain.allKeys(), QStringList{"settings/version"}) << "dropped, not carried";
    }
}

// An ini file gives a list of one back as a plain text: still a list of one when read again.
TEST(Settings, AListOfOneSurvivesReopening) {
    struct Case {
        const char* what;
        std::function<void(Settings&)> write;
        std::function<void(const Settings&)> expect;
    };
    const Case cases[] = {
        {"recent photo", [](Settings& s) { s.setRecentDocuments({"/photos/a, b.jpg"}); },
         [](const Settings& s) { EXPECT_EQ(s.recentDocuments(), QStringList{"/photos/a, b.jpg"}); }},
        {"recent colour",
         [](Settings& s) {
             s.setRecentColours({{0.5f, 0.25f, 0, 1}});
         },
         [](const Settings& s) {
             EXPECT_EQ(s.recentColours(), (QList<Colour>{{0.5f, 0.25f, 0, 1}}));
         }},
        {"written file",
         [](Settings& s) {
             s.setWrittenFiles({{"/photos/out.jpg", 10, 20}});
         },
         [](const Settings& s) {
             EXPECT_EQ(s.writtenFiles(), (QList<Settings::WrittenFile>{{"/photos/out.jpg", 10, 20}}));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        {
            Settings s(dir.filePath("Pimavo.conf"));
            c.write(s);
        }
        const Settings reopened(dir.filePath("Pimavo.conf"));
        c.expect(reopened);
    }
}

} // namespace
} // namespace pimavo::test
