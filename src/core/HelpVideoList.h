// The list of help videos as the help server publishes it, a JSON document:
//
//   {"videos": [{"name": "masks", "title": "Painting colour back", "duration": 95,
//                "thumbnail": "thumbs/masks.png", "url": "videos/masks.webm"}, ...]}
//
// (a bare array of the same objects is read too). `name` is what the program asks for a video by;
// `duration` is in seconds; addresses may be relative to the list's own address, and are web
// addresses (local files only in a local list). An entry without a name, a title or a usable video
// address is left out; a document that is no such list is an error.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

namespace pimavo {

struct HelpVideo {
    QString name;
    QString title;
    int seconds = 0; // 0: not known
    QUrl thumbnail;  // empty: none
    QUrl video;
};

std::optional<QList<HelpVideo>> parseHelpVideoList(const QByteArray& json, const QUrl& base,
                                                   QString* error = nullptr);

// "0:07", "1:35", "1:02:03"; empty when not known.
QString formatVideoDuration(int seconds);

} // namespace pimavo
