// A panel of the sharing window: one way the picture leaves the editor (a photo service, or mail).
// The window hosts one panel at a time and drives it through this interface; the panel asks the
// window what it needs through a SharePageContext and reports back with signals.
#pragma once

#include "sharing/ExportedImage.h"

#include <QHash>
#include <QWidget>
#include <functional>

class QLabel;

namespace pimavo {
class Settings;
}

namespace pimavo::sharing {

// What the user typed into the panels (a title, a post, an alt text, tags), kept while the same
// picture is being shared: closing the window by mistake, or to change the picture, loses none of it.
struct ShareDrafts {
    QHash<int, QHash<QString, QString>> fields; // by sharing type, then by field
};

// What a panel asks of the window that hosts it, answered on the spot.
struct SharePageContext {
    // The picture written at the size chosen in the window, its longer side at most `maxPixelSide`
    // (0: no limit).
    std::function<ExportedImage(int maxPixelSide)> exportImage;
    std::function<bool()> connectedToNetwork; // none: taken as connected
    Settings* settings = nullptr;
    // Where typed texts are kept; none (or nothing returned) when they are not to outlive the panel.
    std::function<ShareDrafts*()> drafts;
};

class SharePage : public QWidget {
    Q_OBJECT
public:
    explicit SharePage(SharePageContext context, QWidget* parent = nullptr)
        : QWidget(parent), context_(std::move(context)) {}

    // The tab's sharing type (ShareDialog::SharingType).
    virtual int sharingType() const = 0;
    // The title above the panel ("Share to Flickr"); empty for none.
    virtual QString sharingTitle() const = 0;

    // Aborts the running upload; the finish callback follows.
    virtual void cancelRequest() {}
    // Asks the window to release the panel.
    virtual void quit();
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

signals:
    // Something went wrong, to be said in an alert.
    void alertRequested(const QString& message, const QString& informativeText);
    // Good news (a picture posted), to be said without the alarm of a failure.
    void noticeRequested(const QString& message, const QString& informativeText);
    void uploadStarted();
    void uploadProgress(int percent);
    void uploadEnded();
    // Signed in or out, ready or not: what the window's buttons offer may have changed.
    void stateChanged();
    // The panel is done: the window is to release it.
    void releaseRequested();
    // The mail panel handed the picture to the mail client.
    void mailSent();

protected:
    bool connectedToNetwork() const { return !context_.connectedToNetwork || context_.connectedToNetwork(); }
    ShareDrafts* drafts() const { return context_.drafts ? context_.drafts() : nullptr; }

    SharePageContext context_;
};

} // namespace pimavo::sharing
