// Opening a page in the user's browser, and knowing when that failed. On Linux the desktop opens a
// page through xdg-open, which says whether any program took it only by its exit status: without a
// browser QDesktopServices still answers true and nothing shows. So xdg-open is run here and its
// end waited for, without blocking.
#pragma once

#include <QUrl>
#include <functional>

class QObject;

namespace pimavo {

// Opens `address`; `failed` runs later, on this thread, when nothing could show it (and not at all
// once `context` is gone). A browser that is still running when the editor quits stays open.
void openInBrowser(const QUrl& address, QObject* context, std::function<void()> failed);

} // namespace pimavo
