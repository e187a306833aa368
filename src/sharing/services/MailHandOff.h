// Hands a picture to the user's mail program as the attachment of a new mail: through the desktop
// portal (org.freedesktop.portal.Email, the file passed as an open descriptor, so sandboxed mail
// programs can read it), else through xdg-email. Used by the sharing window and by pimavo-cli mail.
#pragma once

#include <QString>

namespace pimavo::sharing {

struct MailHandOffResult {
    bool ok = false;
    QString error;   // a sentence for the user when !ok
    QString through; // "portal" or "xdg-email"
    QString detail;  // what the user can do instead, when !ok
};

using MailResult = MailHandOffResult;

MailHandOffResult composeMailWithAttachment(const QString& filePath, const QString& subject = {},
                                            const QString& body = {});

} // namespace pimavo::sharing
