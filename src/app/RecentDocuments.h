// Recently opened photos, shared with the desktop: the freedesktop.org bookmark file
// (~/.local/share/recently-used.xbel) that file managers and open dialogs read.
//
// The file belongs to every application: it is read and rewritten under a lock, replaced
// atomically, and every entry and element that is not ours is written back unchanged.
#pragma once

#include <QString>

namespace pimavo {

// The desktop's bookmark file.
QString recentlyUsedBookmarkFile();
// Notes that the application opened or saved `path`; false when the file could not be written.
bool noteRecentDocument(const QString& path, const QString& mimeType, const QString& bookmarkFile,
                        const QString& applicationName = QStringLiteral("Pimavo"),
                        const QString& exec = QStringLiteral("'pimavo %u'"));

} // namespace pimavo
