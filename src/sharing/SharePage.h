// A panel of the sharing window: one way the picture leaves the editor (a photo service, or mail).
// The window hosts one panel at a time and drives it through this interface; the panel reports
// back to the window through SharePageDelegate.
#pragma once

#include "sharing/ExportedImage.h"

#include <QHash>
#include <QWidget>

class QLabel;

namespace pimavo {
class Settings;
}

namespace pimavo::sharing {

class SharePage;

// What the user typed into the panels (a title, a post, an alt text, tags), kept while the same
// picture is being shared: closing the window by mistake, or to change the picture, loses none of it.
struct ShareDrafts {
    QHash<int, QHash<QString, QString>> fields; // by sharing type, then by field
};

class SharePageDelegate {
public:
    virtual ~SharePageDelegate() = default;
    // The picture written at the size chosen in the window, its longer side at most `maxPixelSide`
    // (0: no limit).
    virtual ExportedImage exportImageForSharing(int maxPixelSide) = 0;
    virtual bool connectedToNetwork() = 0;
    virtual void showSharingAlert(const QString& message, const QString& informativeText) = 0;
    // Good news (a picture posted), said without the alarm of a failure.
    virtual void showSharingNotice(const QString& message, const QString& informativeText) {
        showSharingAlert(message, informativeText);
    }
    virtual Settings* sharingSettings() = 0;
    // Nothing when typed texts are not to outlive the panel.
    virtual ShareDrafts* sharingDrafts() { return nullptr; }

    virtual void sharingViewControllerDidStartUploading(SharePage* panel) = 0;
    virtual void sharingViewControllerUploadPercents(SharePage* panel, int percents) = 0;
    virtual void sharingViewControllerDidFinishUploading(SharePage* panel) = 0;
    // Signed in or out, ready or not: what the window's buttons offer may have changed.
    virtual void sharingViewControllerDidChangeState(SharePage* panel) = 0;
    virtual void sharingViewControllerWantsRelease(SharePage* panel) = 0;
    // The mail panel handed the picture to the mail client.
    virtual void sharingViewControllerDidSendMail(SharePage*) {}
};

class SharePage : public QWidget {
    Q_OBJECT
public:
    explicit SharePage(SharePageDelegate* delegate, QWidget* parent = nullptr)
        : QWidget(parent), delegate_(delegate) {}

    // The tab's sharing type (ShareDialog::SharingType).
    virtual int sharingType() const = 0;
    // The title above the panel ("Share to Flickr"); empty for none.
    virtual QString sharingTitle() const = 0;

    // Aborts the running upload; the finish callback follows.
    virtual void cancelRequest() {}
    // Asks the window to release the panel.
    virtual void quitController();
    // Starts the upload or the send.
    virtual void performOperation() = 0;
    // Signed in and ready: the window's Upload button may be used.
    virtual bool canUpload() const { return false; }
    // Whether the window shows Upload for this panel at all.
    virtual bool showsUploadButton() const { return true; }
    // The Upload button's text.
    virtual QString uploadTitle() const;
    virtual bool canLogOut() const { return false; }
    virtual void logOut() {}
    virtual bool isUploading() const { return false; }

protected:
    SharePageDelegate* delegate_;
};

} // namespace pimavo::sharing
