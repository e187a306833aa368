#include "OverlayDialog.h"

#include "ImageButton.h"
#include "InteractionBlocker.h"
#include "WidgetAccessibility.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QTimer>
#include <cmath>

namespace pimavo {

namespace {
int g_CountOfDialogs = 0;
InteractionBlocker* g_blocker = nullptr;
constexpr QSizeF kPanelSize(360, 245); // the panel's own size when none is given

} // namespace

// The dimmed cover: swallows the pointer so nothing behind the dialog can be used. A class of its
// own so that assistive tools are told it is a dialog.
class OverlayCover : public QWidget {
    Q_OBJECT
public:
    OverlayCover() { installWidgetAccessibility(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0, 0, 0, 128));
    }
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void wheelEvent(QWheelEvent* e) override { e->accept(); }
};

InteractionBlocker* InteractionBlocker::current() {
    return g_blocker;
}

void InteractionBlocker::setCurrent(InteractionBlocker* blocker) {
    g_blocker = blocker;
}

OverlayDialog::OverlayDialog(int style) : style_(style) {
    view_ = new OverlayCover();
    dialogCenterView_ = new FramedPanel(view_);
    dialogCenterView_->setType(style == WithCloseButton ? FramedPanel::DialogLook
                                                        : FramedPanel::NotificationLook);
    dialogCenterView_->resize(kPanelSize.toSize());
    dialogDoneButtonTitle_ = tr("Done");
}

OverlayDialog::~OverlayDialog() {
    if (shown_) hideDialogWithoutAnimation();
    delete view_;
}

int OverlayDialog::countOfDialogs() {
    return g_CountOfDialogs;
}

ImageButton* OverlayDialog::closeButton() {
    if (!closeButton_) {
        closeButton_ = new ImageButton(dialogCenterView_);
        closeButton_->setImage("close_dialog");
        closeButton_->setAlternateImage("close_dialog_over");
        closeButton_->setDisabledImage("close_dialog_on");
        closeButton_->setAccessibleName(tr("Close"));
        // Its top edge 9 points below the panel's: 24 points down to its bottom, whatever the height.
        closeButton_->setGeometry(13, 24 - 15, 13, 15);
        closeButton_->setAction([this](ImageButton*) { emit closeRequested(); });
    }
    return closeButton_;
}

void OverlayDialog::addSubview(QWidget* view) {
    view->setParent(dialogCenterView_);
    view->show();
}

void OverlayDialog::showInView(QWidget* parent, const QString& message) {
    if (!parent || shown_) return;
    if (!message.isEmpty()) view_->setAccessibleName(message);
    view_->setParent(parent);
    if (style_ == WithCloseButton) closeButton()->show();
    layOutInParent();
    view_->show();
    view_->raise();
    // The keys follow the eye into the dialog: a keyboard user starts at its first control.
    for (QWidget* w = view_->nextInFocusChain(); w != view_ && w; w = w->nextInFocusChain())
        if (view_->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(view_) &&
            w->isEnabled()) {
            focusBefore_ = QApplication::focusWidget();
            w->setFocus(Qt::TabFocusReason);
            break;
        }
    if (g_CountOfDialogs == 0 && g_blocker) g_blocker->setDisabledInteractions(true);
    ++g_CountOfDialogs;
    shown_ = true;
    auto* fade = new QGraphicsOpacityEffect(view_);
    fade->setOpacity(0);
    view_->setGraphicsEffect(fade);
    QTimer::singleShot(0, view_, [this, fade] {
        auto* a = new QPropertyAnimation(fade, "opacity", fade);
        a->setDuration(200);
        a->setEndValue(1.0);
        // Faded in, the effect goes: under one, a text box's scrolling area is not repainted and
        // shows whatever was on screen there before.
        connect(a, &QAbstractAnimation::finished, view_, [this, fade] {
            if (view_->graphicsEffect() == fade) view_->setGraphicsEffect(nullptr);
        });
        a->start(QAbstractAnimation::DeleteWhenStopped);
    });
}

void OverlayDialog::layOutInParent() {
    QWidget* parent = view_ ? view_->parentWidget() : nullptr;
    if (!parent) return;
    view_->setGeometry(0, 0, parent->width(), parent->height());
    const QSizeF size = dialogSize_.isEmpty() ? QSizeF(dialogCenterView_->size()) : dialogSize_;
    const double W = parent->width(), H = parent->height();
    const double x = std::round(W / 2 - size.width() / 2);
    // Centred, then raised by 40 points when the panel leaves room: the eye sits above the middle.
    double yUp = std::round(H / 2 - size.height() / 2);
    if (0.7 * H > size.height()) yUp += 40;
    const double yDown = H - yUp - size.height(); // the panel's top edge, counted downwards
    dialogCenterView_->setGeometry(int(x), int(yDown), int(size.width()), int(size.height()));
}

void OverlayDialog::hideDialog() {
    if (!shown_) return;
    auto* fade = qobject_cast<QGraphicsOpacityEffect*>(view_->graphicsEffect());
    if (!fade) {
        fade = new QGraphicsOpacityEffect(view_);
        view_->setGraphicsEffect(fade);
    }
    auto* a = new QPropertyAnimation(fade, "opacity", fade);
    a->setDuration(250);
    a->setEndValue(0.0);
    a->start(QAbstractAnimation::DeleteWhenStopped);
    QTimer::singleShot(300, this, [this] { hideDialogWithoutAnimation(); });
}

void OverlayDialog::hideDialogWithoutAnimation() {
    if (!shown_) return;
    shown_ = false;
    --g_CountOfDialogs;
    if (g_CountOfDialogs == 0 && g_blocker) g_blocker->setDisabledInteractions(false);
    const bool hadFocus = view_->isAncestorOf(QApplication::focusWidget());
    view_->hide();
    view_->setParent(nullptr);
    if (focusBefore_ && (hadFocus || !QApplication::focusWidget()) && focusBefore_->isVisible())
        focusBefore_->setFocus(Qt::OtherFocusReason);
    focusBefore_ = nullptr;
}

} // namespace pimavo

#include "OverlayDialog.moc"
