#include "ExportController.h"

#include "core/FailureTranslation.h"
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
#include <QTemporaryFile>
#include <QUrl>
#include <cerrno>
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

ExportController::ExportController(BitmapRef image, const ImageProperties* properties, QString photoName)
    : image_(std::move(image)), properties_(properties), photoName_(std::move(photoName)) {}

QString ExportController::exportFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QDir::homePath() : pictures;
}

namespace {

QString exportBaseName(const QString& photoName) {
    QString name = QFileInfo(photoName).completeBaseName();
    if (name.isEmpty()) name = ExportController::tr("Untitled");
    //: The name of a copy handed to another application; %1 is the photo's name
    return ExportController::tr("%1 (Pimavo)").arg(name);
}

QString exportPathNumbered(const QString& folder, const QString& base, long n) {
    return folder + "/" + (n < 2 ? base : QString("%1 %2").arg(base).arg(n)) + ".jpg";
}

} // namespace

QString ExportController::uniqueExportPath(const QString& folder, const QString& photoName) {
    const QString base = exportBaseName(photoName);
    long n = 1;
    while (QFileInfo::exists(exportPathNumbered(folder, base, n)) ||
           QFileInfo(exportPathNumbered(folder, base, n)).isSymLink())
        ++n;
    return exportPathNumbered(folder, base, n);
}

std::optional<QString> ExportController::preparedImagePathToExport(QString* error,
                                                                   const QString& folder) const {
    if (!QDir().mkpath(folder)) {
        if (error) *error = tr("The folder “%1” could not be made.").arg(folder);
        return std::nullopt;
    }
    if (!image_) return std::nullopt;
    // Written whole under a hidden name first, then linked to the free name: a link is refused
    // where a file already is, so a file that took the name meanwhile is never replaced.
    QTemporaryFile part(folder + "/.pimavo-export-XXXXXX.jpg");
    if (!part.open()) {
        if (error) *error = tr("The folder “%1” cannot be written to.").arg(folder);
        return std::nullopt;
    }
    part.close();
    SaveOptions options;
    options.mimeType = "image/jpeg";
    std::string why;
    if (!writeImageFile(*image_, QFile::encodeName(part.fileName()).toStdString(), options, properties_,
                        &why)) {
        if (error) *error = translatedFailure(why);
        return std::nullopt;
    }
    const QString base = exportBaseName(photoName_);
    for (long n = 1; n < 100000; ++n) {
        const QString path = exportPathNumbered(folder, base, n);
        if (::link(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(path).constData()) == 0)
            return path; // the hidden name goes with `part`
        if (errno != EEXIST) {
            if (error)
                *error = tr("The copy could not be kept in “%1”: %2.").arg(folder, qt_error_string(errno));
            return std::nullopt;
        }
    }
    if (error) *error = tr("The folder “%1” has no free name left for the copy.").arg(folder);
    return std::nullopt;
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
        if (error) *error = tr("“%1” cannot be started.").arg(name);
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
        if (error) *error = tr("“%1” could not be started.").arg(name);
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
    if (error) *error = tr("No application could be asked to open the picture.");
    return false;
}

} // namespace pimavo
