// PLACEHOLDER until the portal-based hand-off lands: this file is replaced by the sharing
// library's own MailHandOff.cpp at merge (keep theirs). It only runs xdg-email.
#include "sharing/MailHandOff.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace pimavo::sharing {

MailResult composeMailWithAttachment(const QString& filePath, const QString& subject) {
    const QString mailer = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (mailer.isEmpty() || !QFileInfo::exists(filePath))
        return {false, QStringLiteral("Mail application not found")};
    // xdg-email answers at once when it finds no way to compose, and may run the mail client itself
    // and only return when that quits: a short wait tells the two apart without holding the window.
    auto* process = new QProcess;
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start(mailer, {QStringLiteral("--subject"), subject, QStringLiteral("--attach"), filePath});
    if (!process->waitForStarted(5000)) {
        process->deleteLater();
        return {false, QStringLiteral("Mail application not found")};
    }
    if (process->waitForFinished(3000) &&
        (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0))
        return {false, QStringLiteral("Mail application not found")};
    return {true, {}};
}

} // namespace pimavo::sharing
