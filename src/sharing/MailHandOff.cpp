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
    // Detached: xdg-email may run the mail client itself and only return when it quits.
    if (!QProcess::startDetached(mailer, {QStringLiteral("--subject"), subject, QStringLiteral("--attach"), filePath}))
        return {false, QStringLiteral("Mail application not found")};
    return {true, {}};
}

} // namespace pimavo::sharing
