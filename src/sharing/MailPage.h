// The Mail panel of the sharing window: the picture, at the size chosen in the window, attached to a
// new message in the user's mail client.
#pragma once

#include "sharing/SharePage.h"
#include "sharing/services/MailHandOff.h"

#include <functional>

namespace pimavo {
class ImageButton;
}

namespace pimavo::sharing {

class MailPage : public SharePage {
    Q_OBJECT
public:
    explicit MailPage(SharePageContext context, QWidget* parent = nullptr);

    int sharingType() const override;
    QString sharingTitle() const override;
    void performOperation() override;
    bool showsUploadButton() const override { return false; }
    ImageButton* sendButton() const { return sendButton_; }

    // Who composes the message (tests answer instead of a mail client).
    using Composer = std::function<MailResult(const QString& filePath, const QString& subject)>;
    static Composer& composer();
    // Exports nothing: hands an exported file to the composer; the alert is the caller's.
    static MailResult send(const QString& filePath);

private:
    void delayedSendEmailHandler();

    ImageButton* sendButton_;
    bool pending_ = false;
};

} // namespace pimavo::sharing
