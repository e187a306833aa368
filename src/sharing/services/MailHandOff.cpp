#include "sharing/services/MailHandOff.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <fcntl.h>
#include <unistd.h>

namespace pimavo::sharing {

namespace {

// What a user is told when the mail program cannot be reached.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(pimavo::sharing::MailHandOff)
};

// A mail program that takes longer to say anything has started: it is left to run.
constexpr int kXdgEmailWaitMs = 5000;
constexpr int kPortalTimeoutMs = 10000;

bool throughPortal(const QString& filePath, const QString& subject, const QString& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    const int fd = ::open(QFile::encodeName(filePath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    QDBusUnixFileDescriptor attachment(fd); // keeps its own duplicate
    ::close(fd);
    qDBusRegisterMetaType<QList<QDBusUnixFileDescriptor>>();
    QVariantMap options;
    if (!subject.isEmpty()) options.insert(QStringLiteral("subject"), subject);
    if (!body.isEmpty()) options.insert(QStringLiteral("body"), body);
    options.insert(QStringLiteral("attachment_fds"),
                   QVariant::fromValue(QList<QDBusUnixFileDescriptor>{attachment}));
    QDBusInterface portal(QStringLiteral("org.freedesktop.portal.Desktop"),
                          QStringLiteral("/org/freedesktop/portal/desktop"),
                          QStringLiteral("org.freedesktop.portal.Email"), bus);
    if (!portal.isValid()) return false;
    portal.setTimeout(kPortalTimeoutMs);
    const QDBusReply<QDBusObjectPath> reply = portal.call(QStringLiteral("ComposeEmail"), QString(), options);
    return reply.isValid();
}

bool throughXdgEmail(const QString& filePath, const QString& subject, const QString& body) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty()) return false;
    QStringList arguments;
    if (!subject.isEmpty()) arguments << QStringLiteral("--subject") << subject;
    if (!body.isEmpty()) arguments << QStringLiteral("--body") << body;
    arguments << QStringLiteral("--attach") << QFileInfo(filePath).absoluteFilePath();
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    if (!process->waitForFinished(kXdgEmailWaitMs)) {
        // Still running: the mail program is open in front of the user. It is left to end on its own.
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return true;
    }
    const bool ok = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    delete process;
    return ok;
}

} // namespace

MailHandOffResult composeMailWithAttachment(const QString& filePath, const QString& subject,
                                            const QString& body) {
    MailHandOffResult result;
    if (!QFileInfo(filePath).isReadable()) {
        result.error = Texts::tr("The picture “%1” to attach cannot be read.").arg(filePath);
        return result;
    }
    if (throughPortal(filePath, subject, body)) {
        result.ok = true;
        result.through = QStringLiteral("portal");
        return result;
    }
    if (throughXdgEmail(filePath, subject, body)) {
        result.ok = true;
        result.through = QStringLiteral("xdg-email");
        return result;
    }
    result.error =
        Texts::tr("Mail application not found. Install a mail program, or attach the picture yourself.");
    return result;
}

} // namespace pimavo::sharing
