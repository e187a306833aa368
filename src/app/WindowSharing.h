// The editing window's sharing: the share button's pane, the Share menu, the sharing window in its
// in-window dialog, and the picture mailed whole from the pane. What it shares is the picture Save
// would write, with the photo's metadata; what the user typed for it is kept until another photo
// takes the window.
#pragma once

#include "sharing/ShareDialog.h"
#include "sharing/SharingPane.h"
#include "widgets/OverlayDialog.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QMenu;

namespace pimavo {

class EditorWindow;

class WindowSharing : public QObject, public sharing::ShareDialogOwner {
    Q_OBJECT
public:
    explicit WindowSharing(EditorWindow* window);
    ~WindowSharing() override;

    // The Share menu: a command per route, then the window's Export To.
    void buildMenu();
    // The share button: opens the pane when online, painting and no sharing window is up.
    void buttonClicked();
    // Opens the pane under the share button, or closes it when it is open.
    void togglePane();
    bool isPaneShown() const { return pane_ && pane_->isShown(); }
    sharing::SharingPane* pane() const { return pane_.get(); }
    // A way out chosen in the pane or the Share menu.
    void shareRoute(sharing::SharingRoute route);
    // The picture, whole, attached to a new message in the mail client.
    void mailPicture();
    // The sharing window over the editing window, opened on a tab (ShareDialog types).
    void showShareWindow(int type);
    sharing::ShareDialog* shareWindow() const { return shareWindow_; }
    OverlayDialog* dialog() const { return dialog_.get(); }
    void closeShareWindow();
    // Fits the sharing window to the window's content and centres it again.
    void layOutDialog();
    // Escape: the pane closes, or the sharing window takes it, or closes. False when nothing of
    // sharing was up to take it.
    bool takeEscape();
    // The pane and the sharing window go (another photo is coming, or the window closes).
    void closeAll();
    // A title or an alt text typed for the last photo does not describe the next one.
    void forgetDrafts() { drafts_ = {}; }

    // sharing::ShareDialogOwner
    const ImageProperties* sharedImageProperties() override;
    void sharingWindowWantsClose(sharing::ShareDialog* window) override;
    QWidget* sharingContentView() override;
    bool connectedToNetwork() override;
    void showSharingAlert(const QString& message, const QString& informativeText) override;
    void showSharingNotice(const QString& message, const QString& informativeText) override;
    bool isSharingInFullScreen() override;
    void leaveFullScreenForSharing() override;
    sharing::ShareDrafts* sharingDrafts() override { return &drafts_; }

private:
    void closeShareWindowLater();

    EditorWindow* window_;
    std::unique_ptr<sharing::SharingPane> pane_;
    sharing::ShareDrafts drafts_; // for the photo on the canvas
    QPointer<sharing::ShareDialog> shareWindow_;
    std::unique_ptr<OverlayDialog> dialog_;
};

} // namespace pimavo
