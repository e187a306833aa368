#include "ImageButton.h"

#include "ResourceImages.h"
#include "WidgetAccessibility.h"
#include "WidgetStyle.h"

#include <QKeyEvent>
#include <QPainter>

namespace pimavo {

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
    installWidgetAccessibility();
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::ArrowCursor);
    connect(this, &QAbstractButton::clicked, this, [this] { sendAction(); });
}

void ImageButton::setButtonType(ButtonType type) {
    type_ = type;
    setCheckable(type == ButtonType::Toggle || isChecked());
}

void ImageButton::setImage(const QString& name) {
    image_ = name;
    update();
}

void ImageButton::setAlternateImage(const QString& name) {
    alternate_ = name;
    update();
}

void ImageButton::setDisabledImage(const QString& name) {
    disabled_ = name;
    update();
}

void ImageButton::setImages(const QString& baseName) {
    image_ = baseName;
    alternate_ = ResourceImages::exists(baseName + "_on") ? baseName + "_on" : QString();
    disabled_ = ResourceImages::exists(baseName + "_dis") ? baseName + "_dis" : QString();
    update();
}

void ImageButton::setState(int state) {
    // A momentary button can still be marked on by its owner (the current tool, a chosen preset).
    if (!isCheckable()) setCheckable(true);
    setChecked(state != 0);
    update();
}

void ImageButton::nextCheckState() {
    if (type_ == ButtonType::Toggle) QAbstractButton::nextCheckState();
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
    // Space is QAbstractButton's; Return is what a keyboard user presses on a button too.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat() &&
        !(event->modifiers() & ~Qt::KeypadModifier)) {
        click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void ImageButton::sendAction() {
    if (action_) action_(this);
}

QSize ImageButton::sizeHint() const {
    const QSizeF s = ResourceImages::size(image_);
    if (!s.isEmpty() && text().isEmpty()) return s.toSize();
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text()) + 20, std::max(22, fm.height() + 8)};
}

void ImageButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const bool pressedLook = isDown() || isChecked();
    QString name = image_;
    if (!isEnabled() && !disabled_.isEmpty())
        name = disabled_;
    else if (pressedLook && !alternate_.isEmpty())
        name = alternate_;
    const qreal opacity = !isEnabled() && disabled_.isEmpty() ? 0.4 : 1.0;
    if (stretchCorner_ > 0)
        ResourceImages::drawNinePart(p, r, name, stretchCorner_, opacity);
    else
        ResourceImages::draw(p, r, name, opacity);
    if (hovered_ && isEnabled() && !pressedLook && !name.isEmpty()) {
        // A faint lift under the pointer: the button answers before it is pressed.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 18));
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 5, 5);
    }
    if (!text().isEmpty()) {
        p.setFont(font());
        QColor ink = pressedLook && !alternate_.isEmpty() ? style::kInkOnAccent : style::kInk;
        if (!isEnabled()) ink = style::kInkDisabled;
        p.setPen(ink);
        p.drawText(r, Qt::AlignCenter, text());
    }
    if (hasFocus())
        paintFocusRing(p, r.adjusted(1, 1, -1, -1), std::min(6.0, r.height() / 4),
                       pressedLook && !alternate_.isEmpty());
}

} // namespace pimavo
