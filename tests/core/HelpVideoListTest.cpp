// The help-video list as the help server publishes it, read into the entries the video window shows.
#include "core/HelpVideoList.h"

#include <QByteArray>
#include <QStringList>
#include <QUrl>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

using namespace pimavo;

TEST(HelpVideoList, ReadsWhatTheServerPublishes) {
    const QUrl base("https://help.example/videos/list.json");
    struct Case {
        const char* what;
        const char* json;
        bool ok;
        QStringList names;
        QString firstVideo, firstThumbnail;
        int firstSeconds;
    } cases[] = {
        {"an object with relative addresses",
         R"({"videos":[{"name":"masks","title":"Masks","duration":95.4,"thumbnail":"t/m.png","url":"v/m.webm"}]})",
         true,
         {"masks"},
         "https://help.example/videos/v/m.webm",
         "https://help.example/videos/t/m.png",
         95},
        {"a bare array, absolute address, no thumbnail",
         R"([{"name":"a","title":"A","url":"https://cdn.example/a.mp4"}])",
         true,
         {"a"},
         "https://cdn.example/a.mp4",
         "",
         0},
        {"entries missing a name, title or address are left out",
         R"([{"title":"T","url":"x.ogv"},{"name":"n","url":"x.ogv"},{"name":"n","title":"T"},
             {"name":"ok","title":"OK","url":"ok.ogv","duration":-3}])",
         true,
         {"ok"},
         "https://help.example/videos/ok.ogv",
         "",
         0},
        {"addresses other than web ones are refused, local files too",
         R"([{"name":"s","title":"S","url":"javascript:void 0"},{"name":"f","title":"F","url":"ftp://h/x"},
             {"name":"l","title":"L","url":"file:///etc/passwd"},{"name":"h","title":"H","url":"/v.webm"}])",
         true,
         {"h"},
         "https://help.example/v.webm",
         "",
         0},
        {"not JSON", "<html>Service unavailable</html>", false, {}, "", "", 0},
        {"JSON but no list", R"({"error":"gone"})", false, {}, "", "", 0},
    };
    for (const Case& c : cases) {
        QString error;
        const auto list = parseHelpVideoList(QByteArray(c.json), base, &error);
        ASSERT_EQ(list.has_value(), c.ok) << c.what;
        if (!list) {
            EXPECT_FALSE(error.isEmpty()) << c.what;
            continue;
        }
        QStringList names;
        for (const HelpVideo& v : *list) names << v.name;
        EXPECT_EQ(names, c.names) << c.what;
        if (list->isEmpty()) continue;
        EXPECT_EQ(list->first().video.toString(), c.firstVideo) << c.what;
        EXPECT_EQ(list->first().thumbnail.toString(), c.firstThumbnail) << c.what;
        EXPECT_EQ(list->first().seconds, c.firstSeconds) << c.what;
    }
    // A list on the user's own disk may name videos beside it.
    const auto local = parseHelpVideoList(R"([{"name":"l","title":"L","url":"l.ogv"}])",
                                          QUrl::fromLocalFile("/usr/share/pimavo/videos.json"));
    ASSERT_TRUE(local && local->size() == 1);
    EXPECT_EQ(local->first().video, QUrl::fromLocalFile("/usr/share/pimavo/l.ogv"));
    for (auto [seconds, shown] : std::initializer_list<std::pair<int, const char*>>{
             {0, ""}, {7, "0:07"}, {95, "1:35"}, {3723, "1:02:03"}})
        EXPECT_EQ(formatVideoDuration(seconds), shown);
}
