// Cameras and phones through libgphoto2: which are attached, what photos they hold, their
// thumbnails, and downloading photos into a folder.
//
// A folder can stand for a camera too (libgphoto2's "Directory Browse" camera on the port
// "disk:<folder>"): memory cards mounted with a DCIM folder are found that way, and the folders
// named in PIMAVO_FOLDER_CAMERAS (separated by ':') are offered as such cameras as well.
//
// libgphoto2 is not safe to call from several threads at once: every call here takes one lock.
// A connection is used by one thread at a time.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace pimavo {

struct CameraInfo {
    QString model; // as libgphoto2 names it: "Directory Browse", "Canon EOS 80D", …
    QString port;  // "usb:001,004", "disk:/media/card", …
    QString label() const;
    bool operator==(const CameraInfo&) const = default;
};

struct CameraPhoto {
    QString folder, name;
    qint64 size = 0;
    qint64 time = 0; // seconds since the epoch, 0 when the camera does not say
};

// The cameras attached now. Empty `error` and an empty list: none. When another thread is using
// libgphoto2 and `wait` is false, answers nothing with `busy` set.
std::vector<CameraInfo> detectCameras(QString* error = nullptr, bool wait = true, bool* busy = nullptr);

struct DownloadResult {
    QStringList written; // whole files, in the order they were asked for
    QString error;       // why the transfer ended early; empty when every photo came
    bool cancelled = false;
};

class CameraConnection {
public:
    static std::unique_ptr<CameraConnection> open(const CameraInfo& camera, QString& error);
    ~CameraConnection();
    CameraConnection(const CameraConnection&) = delete;
    CameraConnection& operator=(const CameraConnection&) = delete;

    const CameraInfo& info() const { return info_; }
    // The photos in every folder of the camera, in the camera's order.
    std::vector<CameraPhoto> photos(QString& error);
    // The camera's own preview of the photo, or the photo itself reduced when it has none.
    QImage thumbnail(const CameraPhoto& photo, int maxSide);
    // Each photo into `folder` under its own name (a name already taken by another file gets a
    // number added; the same photo imported before is not copied again).
    // A photo is written whole or not at all: a camera that goes away mid-file leaves no part of
    // it, and every photo finished before stays. `progress(done, total)` is called after each.
    DownloadResult download(const std::vector<CameraPhoto>& photos, const QString& folder,
                            const std::function<void(int, int)>& progress = {},
                            const std::atomic<bool>* cancel = nullptr);

private:
    CameraConnection() = default;
    struct Impl;
    std::unique_ptr<Impl> d_;
    CameraInfo info_;
};

// `name` in `folder`, or "name 2.ext", "name 3.ext", … when it is taken.
QString freeFileName(const QString& folder, const QString& name);
// The file among `name`, "name 2.ext", … in `folder` that holds exactly `bytes`; empty when none.
QString alreadyThere(const QString& folder, const QString& name, const QByteArray& bytes);

} // namespace pimavo
