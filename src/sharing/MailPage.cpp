#include "sharing/MailPage.h"

#include "core/Dispatch.h"
#include "sharing/ShareDialog.h"
#include "widgets/ImageButton.h"
#include "widgets/ResourceImages.h"
#include "widgets/WidgetStyle.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>

namespace pimavo::sharing {

namespace {

// The envelope above the text, as the tab draws it but larger.
class Envelope : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const qreal side = std::min(width(), height());
        ResourceImages::draw(p, QRectF((width() - side) / 2, 0, side, side), "email_off");
    }
};
} // namespace

MailPage::Composer& MailPage::composer() {
    static Composer compose = [](const QString& path, const QString& subject) {
        return composeMailWithAttachment(path, subject);
    };
    return compose;
}

MailResult MailPage::send(const QString& filePath) {
    MailResult result = composer() ? composer()(filePath, tr("A picture made with Pimavo"))
                                   : MailResult{false, QString(), {}, {}};
    // The hand-off says so in plain English when there is no mail client; the user reads it localised.
    if (!result.ok && (result.error.isEmpty() || result.error == QLatin1String("Mail application not found")))
        result.error =
            tr("Mail application not found. Install a mail program, or attach the picture yourself.");
    // The copy made for the message goes with the sharing window; one the user attaches by hand
    // is kept among their pictures.
    if (!result.ok && result.detail.isEmpty()) {
        QString why;
        const QString kept = keepHandOverCopy(filePath, tr("Mail"), &why);
        result.detail =
            kept.isEmpty()
                ? why
                : tr("The picture is kept at %1 for you to attach.").arg(QDir::toNativeSeparators(kept));
    }
    return result;
}

MailPage::MailPage(SharePageContext context, QWidget* parent) : SharePage(std::move(context), parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 20, 30, 20);
    layout->setSpacing(14);
    auto* envelope = new Envelope(this);
    envelope->setFixedHeight(64);
    layout->addStretch(1);
    layout->addWidget(envelope);
    auto* label = new QLabel(
        tr("The picture is attached to a new message in your mail application, at the size chosen below."),
        this);
    label->setObjectName("mailExplanation");
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(style::uiFont(13));
    label->setStyleSheet("color: rgb(235,235,238);");
    layout->addWidget(label);
    sendButton_ = new ImageButton(this);
    sendButton_->setImage("button");
    sendButton_->setAlternateImage("button_pressed");
    sendButton_->setDisabledImage("button_dis");
    sendButton_->setStretchCorner(4);
    sendButton_->setFont(style::uiFont(12));
    sendButton_->setText(tr("New Message with Picture"));
    sendButton_->setFixedSize(
        std::max(180, sendButton_->fontMetrics().horizontalAdvance(sendButton_->text()) + 40), 30);
    sendButton_->setAction([this](ImageButton*) { performOperation(); });
    layout->addWidget(sendButton_, 0, Qt::AlignHCenter);
    layout->addStretch(2);
}

int MailPage::sharingType() const {
    return ShareDialog::Mail;
}

QString MailPage::sharingTitle() const {
    return tr("Share with Mail");
}

void MailPage::performOperation() {
    // After the click has been handled: the hand-over may take a moment and the button should not
    // look stuck meanwhile.
    if (pending_) return;
    pending_ = true;
    sendButton_->setEnabled(false);
    Dispatch::after(0, [self = QPointer(this)] {
        if (self) self->delayedSendEmailHandler();
    });
}

void MailPage::delayedSendEmailHandler() {
    pending_ = false;
    sendButton_->setEnabled(true);
    if (!context_.exportImage) return;
    const ExportedImage exported = context_.exportImage(0);
    if (exported.path.isEmpty()) {
        emit alertRequested(tr("The picture could not be prepared for sharing."), exported.error);
        return;
    }
    const MailResult result = send(exported.path);
    if (!result.ok) {
        emit alertRequested(result.error, result.detail);
        return;
    }
    emit mailSent();
}

} // namespace pimavo::sharing
