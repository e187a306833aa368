// How the picture looks, as files store it: every value comes back exactly, descriptions written
// before a value existed keep its default, and damaged ones are refused with the value named.
#include "document/PictureSettings.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

namespace pimavo {
namespace {

QJsonObject parsed(const char* json) {
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

TEST(PictureSettings, EveryValueComesBackExactlyUnderTheNameFilesUse) {
    const struct {
        Treatment treatment;
        const char* storedAs; // what files have always called it
    } treatments[] = {{Treatment::Grayscale, ""},
                      {Treatment::Sepia, "CISepiaTone"},
                      {Treatment::Aged, "Aged"},
                      {Treatment::SilverBlue, "SilverBlue"}};
    for (const auto& t : treatments) {
        SCOPED_TRACE(t.storedAs);
        PictureSettings s;
        s.treatment = t.treatment;
        s.look = 3;
        s.foreground = {0.1 + 1e-12, -0.2, 1.7, 0.3, -3.14159, 12.5};
        s.background = {0.25, 1.5, 0.75 + 1e-15, 99};
        s.vignette = 0.8;
        const QJsonObject json = s.toJson();
        EXPECT_EQ(json["treatment"].toString(), t.storedAs);
        // Through text, as a file holds it.
        const QJsonObject reread = QJsonDocument::fromJson(QJsonDocument(json).toJson()).object();
        std::string error;
        const auto back = PictureSettings::fromJson(reread, PictureSettings::kVersion, &error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(*back, s);
    }
}

TEST(PictureSettings, MissingValuesKeepTheirDefaultsAndDamagedOnesAreNamed) {
    const struct {
        const char* json;
        const char* error; // nullptr: read
    } cases[] = {
        {"{}", nullptr},
        {R"({"adjustments": {"exposure": 0.5}})", nullptr},
        {R"({"treatment": "Neon"})", "unknown treatment"},
        {R"({"treatment": 2})", "unknown treatment"},
        {R"({"look": 4})", "unknown look"},
        {R"({"look": 1.5})", "unknown look"},
        {R"({"adjustments": {"contrast": "high"}})", "contrast"},
        {R"({"adjustments": {"backgroundBlur": 1000}})", "backgroundBlur"},
        {R"({"adjustments": {"blur": -1}})", "blur"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        std::string error;
        const auto s = PictureSettings::fromJson(parsed(c.json), 1, &error);
        if (c.error) {
            EXPECT_FALSE(s);
            EXPECT_EQ(error, c.error);
            continue;
        }
        ASSERT_TRUE(s) << error;
        PictureSettings expected;
        if (std::string(c.json).find("exposure") != std::string::npos) expected.foreground.exposure = 0.5;
        EXPECT_EQ(*s, expected);
    }
}

} // namespace
} // namespace pimavo
