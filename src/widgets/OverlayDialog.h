// The in-window dialog: a dimmed cover over the window's content with a centred panel holding
// another view. While at least one dialog is up, the window's own commands are blocked.
#pragma once

#include "FramedPanel.h"

#include <QPointer>
#include <QSizeF>

namespace pimavo {

class ImageButton;

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

signals:
    // The close button was clicked; the dialog stays up until its owner closes it.
    void closeRequested();

private:
    int style_;
    QSizeF dialogSize_;
    QPointer<QWidget> view_;
    FramedPanel* dialogCenterView_;
    QPointer<ImageButton> closeButton_;
    QString dialogDoneButtonTitle_;
    // Where the keys were before the dialog took them; they go back there when it goes.
    QPointer<QWidget> focusBefore_;
    bool shown_ = false;
};

} // namespace pimavo
