// The in-window dialog: a dimmed cover over the window's content with a centred panel holding
// another view. While at least one dialog is up, the window's own commands are blocked.
#pragma once

#include "FramedPanel.h"

#include <QPointer>
#include <QSizeF>

namespace pimavo {

class ImageButton;
class OverlayDialog;

class OverlayDialogDelegate {
public:
    virtual ~OverlayDialogDelegate() = default;
    virtual void destructiveButtonClickInDialog(OverlayDialog*) {}
};

class OverlayDialog : public QObject {
    Q_OBJECT
public:
    enum Style { WithCloseButton = 0, Bare = 1 };

    explicit OverlayDialog(int style);
    ~OverlayDialog() override;

    int style() const { return style_; }
    QSizeF dialogSize() const { return dialogSize_; }
    void setDialogSize(QSizeF size) { dialogSize_ = size; }
    FramedPanel* dialogCenterView() const { return dialogCenterView_; }
    QWidget* view() const { return view_; }
    const QString& dialogDoneButtonTitle() const { return dialogDoneButtonTitle_; }
    ImageButton* closeButton();

    OverlayDialogDelegate* delegate() const { return delegate_; }
    void setDelegate(OverlayDialogDelegate* delegate) { delegate_ = delegate; }

    // Adds a view to the panel.
    void addSubview(QWidget* view);
    void showInView(QWidget* parent, const QString& message = {});
    void hideDialog();
    // Covers the parent again and re-centres the panel (after the parent's size changed).
    void layOutInParent();
    void hideDialogWithoutAnimation();
    bool isShown() const { return shown_; }

    // Dialogs on screen in this process.
    static int countOfDialogs();

private:
    int style_;
    QSizeF dialogSize_;
    QPointer<QWidget> view_;
    FramedPanel* dialogCenterView_;
    QPointer<ImageButton> closeButton_;
    QString dialogDoneButtonTitle_;
    OverlayDialogDelegate* delegate_ = nullptr;
    bool shown_ = false;
};

} // namespace pimavo
