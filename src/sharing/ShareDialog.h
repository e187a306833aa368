// The sharing window: shown in an in-window dialog over the editing window, it hosts one panel at a
// time (a photo service or mail) behind a row of service tabs, with the output-size choice, Upload,
// Log Out and Cancel, and the upload progress in a dialog of its own.
//
// The picture is the editor's full-resolution result, given when the window is made. Every upload
// and every mail gets a JPEG copy of it at the chosen size (ExportedImage.h); the copies are removed
// when the window goes, not before, since a mail client or a browser may still be reading them.
#pragma once

#include "engine/Bitmap.h"
#include "imageio/ImageProperties.h"
#include "sharing/SharePage.h"
#include "sharing/services/MailHandOff.h"
#include "sharing/services/PhotoService.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;

class QCheckBox;

namespace pimavo {
class ImageButton;
class Settings;
class OverlayDialog;
} // namespace pimavo

namespace pimavo::sharing {

class ChoicePopup;
class ShareDialog;

// What the sharing window needs of the editing window.
class ShareDialogOwner {
public:
    virtual ~ShareDialogOwner() = default;
    virtual const ImageProperties* sharedImageProperties() = 0;
    // The user closed the window (Cancel, the dialog's close button, Log Out).
    virtual void sharingWindowWantsClose(ShareDialog* window) = 0;
    // Where the progress dialog goes: the editing window's content view.
    virtual QWidget* sharingContentView() = 0;
    virtual bool connectedToNetwork() = 0;
    virtual void showSharingAlert(const QString& message, const QString& informativeText) = 0;
    // Good news (a picture posted), said without the alarm of a failure.
    virtual void showSharingNotice(const QString& message, const QString& informativeText) {
        showSharingAlert(message, informativeText);
    }
    virtual bool isSharingInFullScreen() { return false; }
    virtual void leaveFullScreenForSharing() {}
    // Where the panels keep what the user typed for the picture being shared.
    virtual ShareDrafts* sharingDrafts() { return nullptr; }
};

// The upload progress: a title, a bar, the percentage ("42 %") and Cancel.
class UploadProgressPanel : public QWidget {
    Q_OBJECT
public:
    explicit UploadProgressPanel(QWidget* parent = nullptr);
    void setTitle(const QString& title);
    // What the title says once the whole picture is handed to the network: the server still has
    // to receive what is on its way and answer, for as long as that takes.
    void setWaitingTitle(const QString& title) { waitingTitle_ = title; }
    // Up to 100 the share sent; at 100 the bar turns indeterminate under the waiting title.
    void updateProgress(int percents);
    // The upload ended: Cancel is of no more use.
    void processFinish();
    QString percentText() const;
    ImageButton* cancelButton() const { return cancelButton_; }
    QProgressBar* progressBar() const { return bar_; }
    QLabel* titleLabel() const { return title_; }
    // Called with true when the user cancelled, false when the upload ended.
    std::function<void(bool cancelled)> onFinish;

private:
    QLabel *title_, *percent_;
    QString waitingTitle_;
    QProgressBar* bar_;
    ImageButton* cancelButton_;
};

class ShareDialog : public QWidget {
    Q_OBJECT
public:
    // The tabs, by their sharing type; Mastodon takes the place the microblog had.
    enum SharingType { Facebook = 1, Mastodon = 2, Tumblr = 3, Flickr = 4, Mail = 5 };
    static constexpr int kWidth = 500, kHeight = 470;
    // The window's size in a content view of `room`: its own, or less on a small screen.
    static QSize sizeInView(QSize room);

    ShareDialog(int sharingType, BitmapRef sharingImage, ShareDialogOwner* delegate, Settings* settings,
                QWidget* parent = nullptr);
    ~ShareDialog() override;

    // Opens the panel of the type the window was made for (once it is in its dialog).
    void start();
    int sharingType() const { return sharingType_; }

    // ---- the tabs ----
    void buttonFacebookClick();
    void buttonMastodonClick();
    void buttonTumblrClick();
    void buttonFlickrClick();
    void buttonEmailClick();
    ImageButton* tabButton(int type) const;

    // ---- the buttons ----
    void buttonUploadClick();
    void buttonLogOutClick();
    void buttonCancelClick();
    void updateControls();
    ImageButton* uploadButton() const { return buttonUpload_; }
    ImageButton* logOutButton() const { return buttonLogOut_; }
    ImageButton* cancelButton() const { return buttonCancel_; }
    QLabel* infoTextField() const { return infoTextField_; }
    QLabel* titleLabel() const { return sharingTitleLabel_; }
    ChoicePopup* resolutionChoice() const { return resolution_; }
    // "Include where the photo was taken": shown only for a photo that says where; off unless the
    // user turned it on (the choice is kept).
    QCheckBox* locationCheckBox() const { return locationCheckBox_; }
    SharePage* currentPage() const { return currentPage_; }

    // ---- the picture ----
    // The sizes offered and the one chosen (the picture's own until another is chosen).
    const std::vector<QSize>& possibleResolutions() const { return possibleResolutions_; }
    QSize chosenResolution() const;
    // Where the copies go (tests point it elsewhere).
    QString exportFolder;

    // Escape pressed while the window is up: an open list closes, and only that; during an upload
    // the user is asked whether to stop it. True when the window is to stay.
    bool takeEscape();
    // Asks whether to stop posting to `service`; true to stop (tests answer instead).
    using StopQuestion = std::function<bool(const QString& service)>;
    static StopQuestion& stopQuestion();

    // ---- progress ----
    UploadProgressPanel* uploadProgress() const { return uploadProgress_; }
    OverlayDialog* progressDialog() const { return currentDialog_.get(); }

    // Which service stands behind a tab (tests give their own).
    using ServiceFactory = std::function<std::unique_ptr<PhotoService>(ServiceKind)>;
    static ServiceFactory& serviceFactory();

    // The pane's mail route: the whole picture attached to a new message.
    static MailResult sendEmailImage(const Bitmap& image, const ImageProperties* properties,
                                     const QString& folder);

    // ---- what the panels ask of the window ----
    // The picture written at the size chosen here, its longer side at most `maxPixelSide` (0: no limit).
    ExportedImage exportImageForSharing(int maxPixelSide);
    bool connectedToNetwork();
    void showSharingAlert(const QString& message, const QString& informativeText);
    void showSharingNotice(const QString& message, const QString& informativeText);

protected:
    void resizeEvent(QResizeEvent* event) override;

private slots:
    // What the open panel reports.
    void pageStartedUploading();
    void showUploadPercent(int percent);
    void pageFinishedUploading();
    void pageSentMail();

private:
    // Opens the panel of a tab; false when it was already open or could not be opened.
    bool openPanel(int type);
    void connectPage(SharePage* panel);
    // A panel that is done goes; the window shows its hint again.
    void releasePage(SharePage* panel);
    void closePage();
    void turnOffButtons();
    void showUploadProgress();
    void uploadProgressFinished(bool cancelled);
    void hideProgress();
    void layOut();

    int sharingType_;
    BitmapRef sharingImage_;
    ShareDialogOwner* delegate_;
    Settings* settings_;
    std::vector<QSize> possibleResolutions_;
    QPointer<SharePage> currentPage_;
    ImageButton *buttonFacebook_, *buttonMastodon_, *buttonTumblr_, *buttonFlickr_, *buttonMail_;
    ImageButton *buttonUpload_, *buttonLogOut_, *buttonCancel_;
    QLabel *infoTextField_, *sharingTitleLabel_, *resolutionLabel_;
    ChoicePopup* resolution_;
    QCheckBox* locationCheckBox_;
    std::unique_ptr<OverlayDialog> currentDialog_;
    QPointer<UploadProgressPanel> uploadProgress_;
};

} // namespace pimavo::sharing
