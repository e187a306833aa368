// The panel of a web photo service: sign-in state, the service's own choices (visibility, album or
// blog), the texts that go with the picture, and the upload. It drives any PhotoService; each
// service's panel (FlickrPage, ...) only says which fields it shows.
#pragma once

#include "core/Settings.h"
#include "sharing/SharePage.h"
#include "sharing/services/PhotoService.h"

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace pimavo {
class ImageButton;
}

namespace pimavo::sharing {

class ChoicePopup;

class ServicePage : public SharePage {
    Q_OBJECT
public:
    // The fields a service's panel shows besides the sign-in line.
    struct Fields {
        bool title = false;
        bool description = true;
        QString descriptionLabel = {};   // "Description", "Caption", "Post"
        QString descriptionDefault = {}; // the text it starts with
        bool tags = false;
        bool altText = false;
        bool visibility = false; // the service's visibilities(), when it has any
        // Where the chosen row is kept between windows; none: chosen afresh in every window.
        std::optional<Settings::ShareChoice> visibilityKept = {};
        bool destinations = false;     // albums, blogs
        QString destinationLabel = {}; // "Album", "Blog"
        std::optional<Settings::ShareChoice> destinationKept = {};
    };

    ServicePage(ServiceKind kind, std::unique_ptr<PhotoService> service, Fields fields,
                SharePageContext context, QWidget* parent = nullptr);
    ~ServicePage() override;

    int sharingType() const override;
    QString sharingTitle() const override;
    void cancelRequest() override;
    void quit() override;
    void performOperation() override;
    bool canUpload() const override;
    QString uploadTitle() const override;
    bool canLogOut() const override;
    void logOut() override;
    bool isUploading() const override { return uploading_; }

    ServiceKind kind() const { return kind_; }
    PhotoService* service() const { return service_.get(); }
    // What the panel says about the service now (sign-in, problems), as the user reads it.
    QString statusText() const;
    ImageButton* signInButton() const { return signInButton_; }
    QLineEdit* titleField() const { return titleField_; }
    QPlainTextEdit* descriptionField() const { return descriptionField_; }
    QLineEdit* tagsField() const { return tagsField_; }
    QLineEdit* altTextField() const { return altTextField_; }
    QLineEdit* serverField() const { return serverField_; }
    ChoicePopup* visibilityButton() const { return visibilityButton_; }
    ChoicePopup* destinationButton() const { return destinationButton_; }

    // The sentence the user reads for a failure.
    static QString messageForError(const ShareError& error, ServiceKind kind);
    // The service's name as the tabs and titles say it.
    static QString serviceName(ServiceKind kind);
    // Shows a page or a folder to the user (tests answer instead); false when nothing could.
    using Opener = std::function<bool(const QUrl&)>;
    static Opener& opener();

private:
    void refresh();
    void signIn();
    void uploadFinished(const QUrl& where);
    void failed(const ShareError& error);
    void handOver(const ExportedImage& image);
    // Fills the fields with what was typed for this picture before, and keeps what is typed now.
    void keepDrafts();
    UploadRequest request(const QString& filePath) const;

    ServiceKind kind_;
    std::unique_ptr<PhotoService> service_;
    Fields fields_;
    bool uploading_ = false;
    bool signingIn_ = false;
    QLabel* statusLabel_ = nullptr;
    QLabel* noteLabel_ = nullptr;
    ImageButton* signInButton_ = nullptr;
    QLineEdit *titleField_ = nullptr, *tagsField_ = nullptr, *altTextField_ = nullptr,
              *serverField_ = nullptr;
    QPlainTextEdit* descriptionField_ = nullptr;
    ChoicePopup *visibilityButton_ = nullptr, *destinationButton_ = nullptr;
    QWidget* form_ = nullptr;
};

// One panel class per service: each knows its fields.
class FlickrPage : public ServicePage {
    Q_OBJECT
public:
    explicit FlickrPage(std::unique_ptr<PhotoService> service, SharePageContext context,
                        QWidget* parent = nullptr);
};

class TumblrPage : public ServicePage {
    Q_OBJECT
public:
    explicit TumblrPage(std::unique_ptr<PhotoService> service, SharePageContext context,
                        QWidget* parent = nullptr);
};

class MastodonPage : public ServicePage {
    Q_OBJECT
public:
    explicit MastodonPage(std::unique_ptr<PhotoService> service, SharePageContext context,
                          QWidget* parent = nullptr);
};

class FacebookPage : public ServicePage {
    Q_OBJECT
public:
    explicit FacebookPage(std::unique_ptr<PhotoService> service, SharePageContext context,
                          QWidget* parent = nullptr);
};

} // namespace pimavo::sharing
