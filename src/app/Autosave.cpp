#include "Autosave.h"

#include "canvas/CanvasProject.h"
#include "session/EditSession.h"
#include "widgets/BitmapImage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pimavo {

namespace {

std::atomic<int> gSessions{0};

// Locks a session's lock file: held for as long as the descriptor is open, and let go by the system
// when the process ends in any way, a kill included. −1 when another process holds it.
int lockSession(const QString& lockPath, bool wait) {
    const int fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

QString Autosave::defaultFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) state = QDir::homePath() + "/.local/state";
    return state + "/pimavo";
}

Autosave::Autosave(QString folder) : folder_(std::move(folder)) {
    QDir().mkpath(folder_);
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    path_ = QStringLiteral("%1/session-%2-%3.pimavo").arg(folder_).arg(::getpid()).arg(++gSessions);
    lock_ = lockSession(path_ + ".lock", true);
}

Autosave::~Autosave() {
    join();
    if (lock_ >= 0) {
        QFile::remove(path_ + ".lock");
        ::close(lock_);
    }
}

void Autosave::join() {
    if (writer_.joinable()) writer_.join();
}

bool Autosave::write(ProjectDocument snapshot) {
    if (finished_ && !finished_->load()) return false;
    join();
    finished_ = std::make_shared<std::atomic<bool>>(false);
    discarded_ = std::make_shared<std::atomic<bool>>(false);
    writer_ = std::thread([snapshot = std::move(snapshot), path = path_.toStdString(), finished = finished_,
                           discarded = discarded_] {
        std::string error;
        if (!discarded->load()) writeProjectFile(snapshot, path, &error);
        // Removed meanwhile: what was just written is not wanted either.
        if (discarded->load()) QFile::remove(QString::fromStdString(path));
        finished->store(true);
    });
    return true;
}

void Autosave::remove() {
    if (discarded_) discarded_->store(true);
    QFile::remove(path_);
}

bool Autosave::adopt(const QString& leftBehind) {
    if (leftBehind == path_) return true;
    join();
    QFile::remove(path_);
    if (::rename(QFile::encodeName(leftBehind).constData(), QFile::encodeName(path_).constData()) != 0)
        return false;
    QFile::remove(leftBehind + ".lock");
    return true;
}

std::vector<Autosave::Session> Autosave::leftBehind(const QString& folder) {
    std::vector<Session> sessions;
    // Locks of editors that ended without a session to keep (a terminated editor leaves its lock).
    for (const QFileInfo& f :
         QDir(folder).entryInfoList({QStringLiteral("session-*.pimavo.lock")}, QDir::Files)) {
        const QString session = f.absoluteFilePath().chopped(5);
        if (QFile::exists(session)) continue;
        const int fd = lockSession(f.absoluteFilePath(), false);
        if (fd < 0) continue;
        ::close(fd);
        QFile::remove(f.absoluteFilePath());
    }
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("session-*.pimavo")}, QDir::Files, QDir::Time);
    for (const QFileInfo& f : files) {
        const QString lockPath = f.absoluteFilePath() + ".lock";
        const int fd = lockSession(lockPath, false);
        if (fd < 0) continue; // its editor is running
        ::close(fd);
        QFile::remove(lockPath);
        const ProjectReadResult read = readProjectFile(f.absoluteFilePath().toStdString());
        if (!read.project) continue; // cut short by the crash itself: nothing to offer
        Session s;
        s.path = f.absoluteFilePath();
        s.name = QString::fromStdString(read.project->originalName);
        s.changed = f.lastModified();
        sessions.push_back(s);
    }
    return sessions;
}

QImage Autosave::thumbnail(const QString& path, int side) {
    // Made again from the session, as restoring it will: exactly what comes back.
    const ProjectReadResult read = readProjectFile(path.toStdString());
    if (!read.project) return {};
    const DecodeResult photo = decodeProjectPhoto(*read.project, path.toStdString());
    if (!photo.image) return {};
    EditSession session;
    CanvasModel canvas(photo.image->bitmap, &session, CanvasModel::OpenedPhotoCache::Never);
    applySettingsWhole(canvas, read.project->settings);
    restoreProjectPainting(canvas, *read.project);
    const auto picture = canvas.getCurrentImage();
    if (!picture) return {};
    return qImageFromBitmap(*picture).scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace pimavo
