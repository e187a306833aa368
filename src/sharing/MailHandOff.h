// Handing a picture to the user's mail client: a new message with the file attached, for the user
// to address and send.
#pragma once

#include <QString>

namespace pimavo::sharing {

struct MailResult {
    bool ok;
    QString error; // for the user; empty when ok
};

// Opens a new message with `subject` and the file attached; the file must stay readable until the
// user has sent the message.
MailResult composeMailWithAttachment(const QString& filePath, const QString& subject);

} // namespace pimavo::sharing
