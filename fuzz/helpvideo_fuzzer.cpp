// libFuzzer target: the help-video list as a server (or a file beside the program) publishes it.
// Any bytes give a list or a message; every entry given has a name, a title and a video address;
// and a list from the network never names anything but web addresses.
#include "FuzzSupport.h"
#include "core/HelpVideoList.h"

#include <QByteArray>

using namespace pimavo;
using namespace pimavo::fuzz;

namespace {

bool isWeb(const QUrl& url) {
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

void check(const QByteArray& json, const QUrl& base) {
    QString error;
    const auto list = parseHelpVideoList(json, base, &error);
    if (!list) {
        expect(!error.isEmpty(), "a refused list says why");
        return;
    }
    for (const HelpVideo& v : *list) {
        expect(!v.name.isEmpty() && v.name == v.name.trimmed(), "an entry has a trimmed name");
        expect(!v.title.isEmpty() && v.title == v.title.trimmed(), "an entry has a trimmed title");
        expect(v.video.isValid() && !v.video.isEmpty(), "an entry has a video address");
        expect(v.seconds >= 0 && v.seconds <= 24 * 3600, "a duration is at most a day");
        if (!base.isLocalFile()) {
            expect(isWeb(v.video), "a list from the network names only web videos");
            expect(v.thumbnail.isEmpty() || isWeb(v.thumbnail),
                   "a list from the network names only web pictures");
        } else {
            expect(isWeb(v.video) || v.video.isLocalFile(), "a local list names web or local videos");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray json(reinterpret_cast<const char*>(data), qsizetype(size));
    check(json, QUrl("https://help.example/videos/list.json"));
    check(json, QUrl::fromLocalFile("/usr/share/pimavo/videos.json"));
    return 0;
}
