#include "CameraDevice.h"

#include "imageio/ImageTypes.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <gphoto2/gphoto2.h>
#include <mutex>

namespace pimavo {

namespace {

// What a user is told when a camera fails.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(pimavo::CameraDevice)
};

std::recursive_timed_mutex& gphotoLock() {
    static std::recursive_timed_mutex lock;
    return lock;
}

QString gpError(int code) {
    return QString::fromUtf8(gp_result_as_string(code));
}

bool isPhotoName(const QString& name) {
    return isReadableExtension(QFileInfo(name).suffix().toStdString());
}

// Loaded once: reading the list of drivers opens every one of them.
CameraAbilitiesList* abilities(GPContext* context) {
    static CameraAbilitiesList* list = [context] {
        CameraAbilitiesList* l = nullptr;
        gp_abilities_list_new(&l);
        gp_abilities_list_load(l, context);
        return l;
    }();
    return list;
}

GPPortInfoList* ports() {
    static GPPortInfoList* list = [] {
        GPPortInfoList* l = nullptr;
        gp_port_info_list_new(&l);
        gp_port_info_list_load(l);
        return l;
    }();
    return list;
}

struct Context {
    GPContext* context = gp_context_new();
    const std::atomic<bool>* cancel = nullptr;
    Context() {
        gp_context_set_cancel_func(
            context,
            [](GPContext*, void* data) {
                auto* self = static_cast<Context*>(data);
                return self->cancel && self->cancel->load() ? GP_CONTEXT_FEEDBACK_CANCEL
                                                            : GP_CONTEXT_FEEDBACK_OK;
            },
            this);
    }
    ~Context() { gp_context_unref(context); }
};

QStringList folderCameras() {
    const QString list = qEnvironmentVariable("PIMAVO_FOLDER_CAMERAS");
    QStringList out;
    for (const QString& f : list.split(':', Qt::SkipEmptyParts))
        if (QFileInfo(f).isDir()) out << QFileInfo(f).absoluteFilePath();
    return out;
}

} // namespace

QString CameraInfo::label() const {
    if (port.startsWith("disk:")) return QFileInfo(port.mid(5)).fileName() + " (" + model + ")";
    return model;
}

std::vector<CameraInfo> detectCameras(QString* error, bool wait, bool* busy) {
    std::unique_lock lock(gphotoLock(), std::defer_lock);
    if (wait) {
        lock.lock();
    } else if (!lock.try_lock()) {
        if (busy) *busy = true;
        return {};
    }
    if (busy) *busy = false;
    std::vector<CameraInfo> out;
    Context ctx;
    CameraList* list = nullptr;
    gp_list_new(&list);
    const int rc = gp_camera_autodetect(list, ctx.context);
    if (rc < GP_OK) {
        if (error) *error = gpError(rc);
    } else {
        for (int i = 0; i < gp_list_count(list); ++i) {
            const char *name = nullptr, *value = nullptr;
            gp_list_get_name(list, i, &name);
            gp_list_get_value(list, i, &value);
            if (!name || !value) continue;
            // The placeholder for a plain mounted disk without a camera layout.
            if (QString::fromUtf8(value) == "disk:" || QString::fromUtf8(value) == "usb:") continue;
            out.push_back({QString::fromUtf8(name), QString::fromUtf8(value)});
        }
    }
    gp_list_free(list);
    for (const QString& folder : folderCameras()) {
        CameraInfo info{"Directory Browse", "disk:" + folder};
        if (std::find(out.begin(), out.end(), info) == out.end()) out.push_back(info);
    }
    return out;
}

struct CameraConnection::Impl {
    Context ctx;
    Camera* camera = nullptr;
    ~Impl() {
        if (camera) {
            gp_camera_exit(camera, ctx.context);
            gp_camera_unref(camera);
        }
    }
};

std::unique_ptr<CameraConnection> CameraConnection::open(const CameraInfo& info, QString& error) {
    std::lock_guard lock(gphotoLock());
    std::unique_ptr<CameraConnection> c(new CameraConnection);
    c->info_ = info;
    c->d_ = std::make_unique<Impl>();
    GPContext* context = c->d_->ctx.context;
    CameraAbilitiesList* al = abilities(context);
    const int model = gp_abilities_list_lookup_model(al, info.model.toUtf8().constData());
    if (model < GP_OK) {
        error = Texts::tr("No driver for the camera “%1”.").arg(info.model);
        return nullptr;
    }
    CameraAbilities a;
    gp_abilities_list_get_abilities(al, model, &a);
    GPPortInfoList* pl = ports();
    const int port = gp_port_info_list_lookup_path(pl, info.port.toUtf8().constData());
    if (port < GP_OK) {
        error = Texts::tr("The camera's port “%1” is not there.").arg(info.port);
        return nullptr;
    }
    GPPortInfo pi;
    gp_port_info_list_get_info(pl, port, &pi);
    gp_camera_new(&c->d_->camera);
    gp_camera_set_abilities(c->d_->camera, a);
    gp_camera_set_port_info(c->d_->camera, pi);
    if (const int rc = gp_camera_init(c->d_->camera, context); rc < GP_OK) {
        error = Texts::tr("The camera “%1” did not answer (%2).").arg(info.model, gpError(rc));
        return nullptr;
    }
    return c;
}

CameraConnection::~CameraConnection() {
    std::lock_guard lock(gphotoLock());
    d_.reset();
}

std::vector<CameraPhoto> CameraConnection::photos(QString& error) {
    std::lock_guard lock(gphotoLock());
    std::vector<CameraPhoto> out;
    QStringList folders{"/"};
    CameraList* list = nullptr;
    gp_list_new(&list);
    while (!folders.isEmpty()) {
        const QString folder = folders.takeFirst();
        const QByteArray f = folder.toUtf8();
        gp_list_reset(list);
        if (const int rc = gp_camera_folder_list_files(d_->camera, f.constData(), list, d_->ctx.context);
            rc < GP_OK) {
            error = Texts::tr("The camera's folder “%1” could not be read (%2).").arg(folder, gpError(rc));
            break;
        }
        for (int i = 0; i < gp_list_count(list); ++i) {
            const char* name = nullptr;
            gp_list_get_name(list, i, &name);
            if (!name || !isPhotoName(QString::fromUtf8(name))) continue;
            CameraPhoto p{folder, QString::fromUtf8(name)};
            CameraFileInfo fi;
            if (gp_camera_file_get_info(d_->camera, f.constData(), name, &fi, d_->ctx.context) >= GP_OK) {
                if (fi.file.fields & GP_FILE_INFO_SIZE) p.size = qint64(fi.file.size);
                if (fi.file.fields & GP_FILE_INFO_MTIME) p.time = qint64(fi.file.mtime);
            }
            out.push_back(p);
        }
        gp_list_reset(list);
        if (gp_camera_folder_list_folders(d_->camera, f.constData(), list, d_->ctx.context) >= GP_OK) {
            QStringList sub;
            for (int i = 0; i < gp_list_count(list); ++i) {
                const char* name = nullptr;
                gp_list_get_name(list, i, &name);
                if (name && name[0] != '.')
                    sub << (folder.endsWith('/') ? folder : folder + "/") + QString::fromUtf8(name);
            }
            folders = sub + folders; // depth first, so a folder's photos stay together
        }
    }
    gp_list_free(list);
    return out;
}

namespace {
// The file's bytes, or an empty array with the reason.
QByteArray fetch(Camera* camera, GPContext* context, const CameraPhoto& photo, CameraFileType type,
                 int* code) {
    CameraFile* file = nullptr;
    gp_file_new(&file);
    QByteArray bytes;
    *code = gp_camera_file_get(camera, photo.folder.toUtf8().constData(), photo.name.toUtf8().constData(),
                               type, file, context);
    if (*code >= GP_OK) {
        const char* data = nullptr;
        unsigned long size = 0;
        if (gp_file_get_data_and_size(file, &data, &size) >= GP_OK && data)
            bytes = QByteArray(data, qsizetype(size));
    }
    gp_file_unref(file);
    return bytes;
}

QImage decodeScaled(QByteArray bytes, int maxSide) {
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > maxSide || size.height() > maxSide))
        reader.setScaledSize(size.scaled(maxSide, maxSide, Qt::KeepAspectRatio));
    return reader.read();
}
} // namespace

QImage CameraConnection::thumbnail(const CameraPhoto& photo, int maxSide) {
    std::lock_guard lock(gphotoLock());
    int code = 0;
    QImage image =
        decodeScaled(fetch(d_->camera, d_->ctx.context, photo, GP_FILE_TYPE_PREVIEW, &code), maxSide);
    if (image.isNull())
        image = decodeScaled(fetch(d_->camera, d_->ctx.context, photo, GP_FILE_TYPE_NORMAL, &code), maxSide);
    return image;
}

DownloadResult CameraConnection::download(const std::vector<CameraPhoto>& photos, const QString& folder,
                                          const std::function<void(int, int)>& progress,
                                          const std::atomic<bool>* cancel) {
    DownloadResult result;
    if (!QDir().mkpath(folder)) {
        result.error = Texts::tr("The folder “%1” could not be created.").arg(folder);
        return result;
    }
    int done = 0;
    for (const CameraPhoto& photo : photos) {
        if (cancel && cancel->load()) {
            result.cancelled = true;
            break;
        }
        int code = 0;
        QByteArray bytes;
        {
            std::lock_guard lock(gphotoLock());
            d_->ctx.cancel = cancel;
            bytes = fetch(d_->camera, d_->ctx.context, photo, GP_FILE_TYPE_NORMAL, &code);
            d_->ctx.cancel = nullptr;
        }
        if (code == GP_ERROR_CANCEL) {
            result.cancelled = true;
            break;
        }
        if (code < GP_OK) {
            const bool gone = code == GP_ERROR_IO || code == GP_ERROR_IO_USB_FIND ||
                              code == GP_ERROR_FILE_NOT_FOUND || code == GP_ERROR_DIRECTORY_NOT_FOUND;
            result.error =
                (gone ? Texts::tr("The transfer stopped at “%1”: the camera is no longer there (%2). "
                                  "The photos already imported are kept.")
                      : Texts::tr("The transfer stopped at “%1”: the camera did not answer (%2). The "
                                  "photos already imported are kept."))
                    .arg(photo.name, gpError(code));
            break;
        }
        // Imported before (under its name, or a numbered one): that file is the photo, not a copy to make.
        if (const QString same = alreadyThere(folder, photo.name, bytes); !same.isEmpty()) {
            result.written << same;
            if (progress) progress(++done, int(photos.size()));
            continue;
        }
        // The whole file lands under a temporary name and is renamed when complete.
        QSaveFile out(freeFileName(folder, photo.name));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
            result.error = Texts::tr("“%1” could not be written in “%2”: %3.")
                               .arg(photo.name, folder, out.errorString());
            break;
        }
        if (photo.time > 0) {
            QFile written(out.fileName());
            if (written.open(QIODevice::ReadWrite))
                written.setFileTime(QDateTime::fromSecsSinceEpoch(photo.time),
                                    QFileDevice::FileModificationTime);
        }
        result.written << out.fileName();
        if (progress) progress(++done, int(photos.size()));
    }
    return result;
}

namespace {
// "name.ext", then "name 2.ext", "name 3.ext", …
QString numberedName(const QString& name, int n) {
    if (n < 2) return name;
    const QFileInfo info(name);
    const QString base = info.completeBaseName(), suffix = info.suffix();
    return suffix.isEmpty() ? QString("%1 %2").arg(base).arg(n)
                            : QString("%1 %2.%3").arg(base).arg(n).arg(suffix);
}
} // namespace

QString freeFileName(const QString& folder, const QString& name) {
    const QDir dir(folder);
    for (int n = 1;; ++n)
        if (!dir.exists(numberedName(name, n))) return dir.filePath(numberedName(name, n));
}

QString alreadyThere(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QDir dir(folder);
    for (int n = 1;; ++n) {
        const QString path = dir.filePath(numberedName(name, n));
        const QFileInfo info(path);
        if (!info.exists()) return {};
        if (info.size() != bytes.size()) continue;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.readAll() == bytes) return path;
    }
}

} // namespace pimavo
