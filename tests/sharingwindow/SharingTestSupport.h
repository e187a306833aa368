// What the sharing window tests share: a photo service the test drives by hand, and reading files
// back with independent tools.
#pragma once

#include "sharing/ShareDialog.h"
#include "sharing/services/PhotoService.h"

#include <QProcess>
#include <QSize>
#include <QStringList>

namespace pimavo::test {

// A service whose answers the test gives: every call is counted, every signal is the test's to emit.
class FakeService : public sharing::PhotoService {
public:
    explicit FakeService(sharing::ServiceKind kind) : kind_(kind) {}

    sharing::ServiceKind kind_;
    bool ready_ = true, signedIn_ = true, temporary_ = false, direct_ = true, needsServer_ = false;
    QString account_ = "ana", problem_, note_;
    QUrl server_;
    int maxSide_ = 0;
    std::vector<std::pair<QString, QString>> visibilities_;
    std::vector<sharing::ShareDestination> destinations_;
    bool uploading_ = false;
    int signIns = 0, signOuts = 0, cancels = 0, fetches = 0;
    std::vector<sharing::UploadRequest> uploads;

    sharing::ServiceKind kind() const override { return kind_; }
    QString displayName() const override { return sharing::serviceKey(kind_); }
    QString setupProblem() const override { return problem_; }
    bool needsServer() const override { return needsServer_; }
    QUrl server() const override { return server_; }
    void setServer(const QUrl& url) override { server_ = url; }
    bool uploadsDirectly() const override { return direct_; }
    QString handOverNote() const override { return note_; }
    bool isReady() const override { return ready_; }
    bool isSignedIn() const override { return signedIn_; }
    QString accountName() const override { return account_; }
    bool credentialsAreTemporary() const override { return temporary_; }
    void signIn() override { ++signIns; }
    void signOut() override {
        ++signOuts;
        signedIn_ = false;
        emit signedInChanged();
    }
    int maxPixelSide() const override { return maxSide_; }
    std::vector<std::pair<QString, QString>> visibilities() const override { return visibilities_; }
    void fetchDestinations() override {
        ++fetches;
        emit destinationsChanged();
    }
    std::vector<sharing::ShareDestination> destinations() const override { return destinations_; }
    void upload(const sharing::UploadRequest& request) override {
        uploads.push_back(request);
        uploading_ = true;
    }
    bool isUploading() const override { return uploading_; }
    void cancel() override {
        ++cancels;
        if (!uploading_) return;
        uploading_ = false;
        emit failed({sharing::ShareErrorKind::Cancelled, "Cancelled", 0, 0, {}});
    }
};

// Gives the sharing window fake services for as long as it lives; `setUp` prepares each new one.
struct FakeServices {
    std::vector<FakeService*> made;
    std::function<void(FakeService&)> setUp;
    bool none = false; // as a build without the services
    sharing::ShareDialog::ServiceFactory saved;
    FakeServices() {
        saved = sharing::ShareDialog::serviceFactory();
        sharing::ShareDialog::serviceFactory() =
            [this](sharing::ServiceKind kind) -> std::unique_ptr<sharing::PhotoService> {
            if (none) return nullptr;
            auto s = std::make_unique<FakeService>(kind);
            if (setUp) setUp(*s);
            made.push_back(s.get());
            return s;
        };
    }
    ~FakeServices() { sharing::ShareDialog::serviceFactory() = saved; }
    FakeService* last() const { return made.empty() ? nullptr : made.back(); }
};

// The size of an image file as vips reads it.
inline QSize vipsSize(const QString& path) {
    QProcess p;
    p.start("vipsheader", {"-f", "width", path});
    p.waitForFinished();
    const int w = p.readAllStandardOutput().trimmed().toInt();
    p.start("vipsheader", {"-f", "height", path});
    p.waitForFinished();
    return QSize(w, p.readAllStandardOutput().trimmed().toInt());
}

// The number of colour channels of an image file as vips reads it.
inline int vipsBands(const QString& path) {
    QProcess p;
    p.start("vipsheader", {"-f", "bands", path});
    p.waitForFinished();
    return p.readAllStandardOutput().trimmed().toInt();
}

// One tag as exiftool reads it ("-s3": the value alone).
inline QString exifTag(const QString& path, const QString& tag) {
    QProcess p;
    p.start("exiftool", {"-s3", "-" + tag, path});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace pimavo::test
