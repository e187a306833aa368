// The Mail panel of the sharing window: the picture, at the size chosen in the window, attached to a
// new message in the user's mail client.
#pragma once

#include "sharing/MailHandOff.h"
#include "sharing/TQSharingViewController.h"

#include <functional>

namespace pimavo {
class TQButton;
}

namespace pimavo::sharing {

class TQMailViewController : public TQSharingViewController {
    Q_OBJECT
public:
    explicit TQMailViewController(TQSharingViewControllerDelegate* delegate, QWidget* parent = nullptr);

    int sharingType() const override;
    QString sharingTitle() const override;
    void performOperation() override;
    bool showsUploadButton() const override { return false; }
    TQButton* sendButton() const { return sendButton_; }

    // Who composes the message (tests answer instead of a mail client).
    using Composer = std::function<MailResult(const QString& filePath, const QString& subject)>;
    static Composer& composer();
    // Exports nothing: hands an exported file to the composer; the alert is the caller's.
    static MailResult send(const QString& filePath);

private:
    void delayedSendEmailHandler();

    TQButton* sendButton_;
    bool pending_ = false;
};

} // namespace pimavo::sharing
