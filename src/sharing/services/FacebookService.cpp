#include "sharing/services/FacebookService.h"

#include "sharing/services/NetworkClient.h"

#include <QMetaObject>

namespace pimavo::sharing {

FacebookService::FacebookService(QObject* parent) : PhotoService(parent) {
    // Ready from the start; the signal still comes, after the window has connected to it.
    QMetaObject::invokeMethod(this, &PhotoService::ready, Qt::QueuedConnection);
}

QString FacebookService::handOverNote() const {
    return tr("Facebook does not take pictures from other programs: Pimavo saves the picture and opens "
              "Facebook in your browser, where you add it to a post.");
}

QUrl FacebookService::shareAddress() {
    return serviceAddress("PIMAVO_FACEBOOK_URL", QUrl(QStringLiteral("https://www.facebook.com/")));
}

void FacebookService::signIn() {
    ShareError e = makeError(ShareErrorKind::NotConfigured, displayName());
    e.message = handOverNote();
    QMetaObject::invokeMethod(
        this, [this, e] { emit failed(e); }, Qt::QueuedConnection);
}

void FacebookService::upload(const UploadRequest&) {
    QMetaObject::invokeMethod(
        this, [this] { emit uploadFinished(shareAddress()); }, Qt::QueuedConnection);
}

} // namespace pimavo::sharing
