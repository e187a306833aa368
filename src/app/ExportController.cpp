#include "ExportController.h"

#include "imageio/ImageWriter.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <fcntl.h>
#include <unistd.h>

namespace pimavo {

const std::vector<ExportTarget>& exportTargets() {
    static const std::vector<ExportTarget> targets{
        {QStringLiteral("Shotwell"), {"org.gnome.Shotwell.desktop", "shotwell.desktop"}, true},
        {QStringLiteral("digiKam"), {"org.kde.digikam.desktop", "digikam.desktop"}, true},
        {QStringLiteral("GIMP"), {"gimp.desktop", "org.gimp.GIMP.desktop"}, false},
        {QStringLiteral("Krita"), {"org.kde.krita.desktop", "krita.desktop"}, false},
        {QStringLiteral("darktable"), {"org.darktable.darktable.desktop", "darktable.desktop"}, false},
    };
    return targets;
}

ExportController::ExportController(BitmapRef image, const ImageProperties* properties)
    : image_(std::move(image)), properties_(properties) {}

QString ExportController::exportFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/ImportPhotos";
}

QString ExportController::uniqueExportPath(const QString& folder) {
    const QString base = QStringLiteral("TessarineExportedImage");
    QString path = folder + "/" + base + ".jpg";
    for (long n = 2; QFileInfo::exists(path); ++n)
        path = folder + "/" + QString("%1 %2.jpg").arg(base).arg(n);
    return path;
}

std::optional<QString> ExportController::preparedImagePathToExport(QString* error,
                                                                   const QString& folder) const {
    if (!QDir().mkpath(folder)) {
        if (error) *error = QObject::tr("The folder “%1” could not be made.").arg(folder);
        return std::nullopt;
    }
    if (!image_) return std::nullopt;
    const QString path = uniqueExportPath(folder);
    SaveOptions options;
    options.utType = "public.jpeg";
    std::string why;
    if (!writeImageFile(*image_, path.toStdString(), options, properties_, &why)) {
        if (error) *error = QString::fromStdString(why);
        return std::nullopt;
    }
    return path;
}

QString ExportController::installedDesktopFile(const ExportTarget& target) {
    for (const QString& id : target.desktopIds) {
        const QString file = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
        if (!file.isEmpty()) return file;
    }
    return {};
}

bool ExportController::exportFileToApplication(const QString& path, const QString& desktopFile,
                                               QString* error) {
    QSettings entry(desktopFile, QSettings::IniFormat);
    entry.beginGroup("Desktop Entry");
    QString exec = entry.value("Exec").toString();
    const QString name = entry.value("Name").toString();
    if (exec.isEmpty()) {
        if (error) *error = QObject::tr("“%1” cannot be started.").arg(name);
        return false;
    }
    // The field codes of the entry take the file; the rest of them are dropped.
    QStringList args = QProcess::splitCommand(exec);
    bool placed = false;
    for (QString& a : args) {
        if (a == "%f" || a == "%F")
            a = path, placed = true;
        else if (a == "%u" || a == "%U")
            a = QUrl::fromLocalFile(path).toString(), placed = true;
    }
    args.removeIf([](const QString& a) { return a.size() == 2 && a.startsWith('%'); });
    if (!placed) args << path;
    const QString program = args.takeFirst();
    if (!QProcess::startDetached(program, args)) {
        if (error) *error = QObject::tr("“%1” could not be started.").arg(name);
        return false;
    }
    return true;
}

bool ExportController::openWithChooser(const QString& path, QString* error) {
    // The portal asks the user which application to use.
    QDBusInterface portal("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                          "org.freedesktop.portal.OpenURI", QDBusConnection::sessionBus());
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (portal.isValid() && fd >= 0) {
        QDBusUnixFileDescriptor descriptor(fd);
        ::close(fd);
        QVariantMap options{{"ask", true}};
        QDBusReply<QDBusObjectPath> reply =
            portal.call("OpenFile", QString(), QVariant::fromValue(descriptor), options);
        if (reply.isValid()) return true;
    } else if (fd >= 0) {
        ::close(fd);
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return true;
    if (error) *error = QObject::tr("No application could be asked to open the picture.");
    return false;
}

} // namespace pimavo
