// Facebook takes no pictures from programs like this one any more: the picture is exported and
// handed over, the share page opened in the browser and the file shown in the file manager, and the
// user posts it there. There is nothing to sign in to.
#pragma once

#include "sharing/services/PhotoService.h"

namespace pimavo::sharing {

class FacebookService : public PhotoService {
    Q_OBJECT
public:
    explicit FacebookService(QObject* parent = nullptr);

    ServiceKind kind() const override { return ServiceKind::Facebook; }
    QString displayName() const override { return QStringLiteral("Facebook"); }
    bool uploadsDirectly() const override { return false; }
    QString handOverNote() const override;
    bool isReady() const override { return true; }
    bool isSignedIn() const override { return false; }
    QString accountName() const override { return {}; }
    void signIn() override;
    void signOut() override {}
    // Finishes at once with the address of the page the picture is posted on.
    void upload(const UploadRequest& request) override;
    bool isUploading() const override { return false; }
    void cancel() override {}

    // The page the picture is posted from, which the window opens in the browser.
    QUrl server() const override { return shareAddress(); }
    static QUrl shareAddress();
};

} // namespace pimavo::sharing
