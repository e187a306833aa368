#include "ValueSlider.h"

#include "ResourceImages.h"
#include "WidgetAccessibility.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace pimavo {

namespace {
constexpr double kButton = 16, kGap = 4, kKnob = 14, kTrackHeight = 6;
constexpr int kRepeatMs = 100, kHoldMs = 300;
} // namespace

ValueSlider::ValueSlider(QWidget* parent) : QWidget(parent) {
    installWidgetAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    valueLabel_ = new ValueField(this);
    connect(valueLabel_, &ValueField::valueEdited, this, &ValueSlider::valueTyped);
    connect(valueLabel_, &ValueField::editingFinished, this, &ValueSlider::valueTypingFinished);
    repeatTimer_.setInterval(kRepeatMs);
    connect(&repeatTimer_, &QTimer::timeout, this, [this] {
        if (pausedIncreasing_) return;
        if (increaseSelected_) step(+1);
        if (decreaseSelected_) step(-1);
    });
    holdTimer_.setSingleShot(true);
    holdTimer_.setInterval(kHoldMs);
    connect(&holdTimer_, &QTimer::timeout, this, [this] { knobSelected_ = true; });
    knobAnimation_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&knobAnimation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        knobLeft_ = v.toDouble();
        update();
    });
    validateSlider();
}

QSize ValueSlider::sizeHint() const {
    return {200, 22};
}

void ValueSlider::validateSlider() {
    maxValueRange_ = 100;
    minValue_ = 0;
    maxValue_ = 1;
    defaultValue_ = kNoDefault;
    doubleValue_ = 0.5;
    layoutLabel();
    validateValueLabel();
    moveKnob(false);
}

void ValueSlider::setShowRealValue(bool on) {
    isShowRealValue_ = on;
    if (!on) validateSlider();
    validateValueLabel();
}

void ValueSlider::setShowNegativeValue(bool on) {
    isShowNegativeValue_ = on;
    validateValueLabel();
    update();
}

void ValueSlider::setHiddenBackground(bool on) {
    isHiddenBackground_ = on;
    update();
}

void ValueSlider::setValueTextFieldWidth(int width) {
    valueTextFieldWidth_ = width;
    layoutLabel();
    moveKnob(false);
}

void ValueSlider::setEditableValue(bool editable) {
    valueLabel_->setEditable(editable);
    validateValueLabel();
}

void ValueSlider::setSelectionCursor(std::optional<QCursor> cursor) {
    selectionCursor_ = std::move(cursor);
    if (!cursorOverridden_) return;
    if (selectionCursor_) {
        QApplication::changeOverrideCursor(*selectionCursor_);
    } else {
        QApplication::restoreOverrideCursor();
        cursorOverridden_ = false;
    }
}

bool ValueSlider::isChangingContinue() const {
    return knobSelected_ || increaseSelected_ || decreaseSelected_;
}

// ---- the value model --------------------------------------------------------------------------

int ValueSlider::getValueInPerscentsFromValue(double value) const {
    const float p = float(100.0 * (value - minValue_) / (maxValue_ - minValue_));
    return int(std::nearbyint(p));
}

double ValueSlider::getValueFromPerscent(double percent) const {
    const double span = maxValue_ - minValue_;
    return isShowNegativeValue_ ? minValue_ + span * (50 + percent) / 100 : minValue_ + span * percent / 100;
}

QString ValueSlider::valueText() const {
    if (isShowRealValue_) return QString::asprintf("%.f", doubleValue_);
    const int p = getValueInPerscentsFromValue(doubleValue_);
    if (isShowNegativeValue_) return p == 50 ? QStringLiteral("0") : QString::asprintf("%+d", p - 50);
    return QString::asprintf("%.f", double(p));
}

double ValueSlider::shownValue() const {
    if (isShowRealValue_) return doubleValue_;
    return getValueInPerscentsFromValue(doubleValue_) - (isShowNegativeValue_ ? 50 : 0);
}

double ValueSlider::shownMinimum() const {
    return isShowRealValue_ ? minValue_ : isShowNegativeValue_ ? -50 : 0;
}

double ValueSlider::shownMaximum() const {
    return isShowRealValue_ ? maxValue_ : isShowNegativeValue_ ? 50 : 100;
}

void ValueSlider::setShownValue(double value) {
    const double v = isShowRealValue_ ? value : getValueFromPerscent(value);
    setDoubleValue(std::clamp(v, minValue_, maxValue_));
    sendAction();
}

void ValueSlider::validateValueLabel() {
    if (!hasValueLabel()) return;
    valueLabel_->setStringValue(valueText());
    double def = defaultValue_;
    if (def != kNoDefault && !isShowRealValue_)
        def = getValueInPerscentsFromValue(def) - (isShowNegativeValue_ ? 50 : 0);
    valueLabel_->setLimits(shownMinimum(), shownMaximum(), isShowNegativeValue_, def);
}

bool ValueSlider::isMarkerVisible() const {
    return !isShowRealValue_ && isShowNegativeValue_;
}

void ValueSlider::setDoubleValue(double value) {
    if (value == doubleValue_) return;
    doubleValue_ = isNeedSetDoubleValueWithoutValidation_ ? value : std::clamp(value, minValue_, maxValue_);
    validateKnobPositionAnimated(true);
}

double ValueSlider::valueForXPosition(double x) const {
    const QRectF track = trackRect();
    const double a = track.left() + kKnob / 2, b = track.right() - kKnob / 2;
    if (x < a) return minValue_;
    if (x > b) return maxValue_;
    return minValue_ + (x - a) * (maxValue_ - minValue_) / (track.width() - kKnob);
}

// ---- geometry ---------------------------------------------------------------------------------

QRectF ValueSlider::decreaseButtonRect() const {
    if (!hasButtons()) return {};
    return {0, (height() - kButton) / 2, kButton, kButton};
}

QRectF ValueSlider::trackRect() const {
    const double left = hasButtons() ? kButton + kGap : 0;
    const double label = hasValueLabel() ? valueTextFieldWidth_ + kGap : 0;
    const double right = width() - label - (hasButtons() ? kButton + kGap : 0);
    return {left, (height() - kKnob) / 2, std::max(kKnob, right - left), kKnob};
}

QRectF ValueSlider::increaseButtonRect() const {
    if (!hasButtons()) return {};
    return {trackRect().right() + kGap, (height() - kButton) / 2, kButton, kButton};
}

QRectF ValueSlider::knobRestingRect() const {
    const QRectF track = trackRect();
    const double span = maxValue_ - minValue_;
    const double v = std::clamp(doubleValue_, minValue_, maxValue_);
    const double left = span > 0 ? std::round((track.width() - kKnob) * (v - minValue_) / span) : 0;
    return {track.left() + left, track.top(), kKnob, kKnob};
}

QRectF ValueSlider::knobRect() const {
    const QRectF track = trackRect();
    return {track.left() + knobLeft_, track.top(), kKnob, kKnob};
}

void ValueSlider::layoutLabel() {
    valueLabel_->setVisible(hasValueLabel());
    if (!hasValueLabel()) return;
    valueLabel_->setGeometry(int(width() - valueTextFieldWidth_), 0, valueTextFieldWidth_, height());
}

void ValueSlider::resizeEvent(QResizeEvent*) {
    layoutLabel();
    moveKnob(false);
}

void ValueSlider::validateKnobPositionAnimated(bool animated) {
    moveKnob(animated);
    if (!isNeedSetDoubleValueWithoutValidation_) validateValueLabel();
    announceValue();
}

void ValueSlider::announceValue() {
    if (!QAccessible::isActive()) return;
    QAccessibleValueChangeEvent event(this, shownValue());
    QAccessible::updateAccessibility(&event);
}

void ValueSlider::moveKnob(bool animated) {
    const double target = knobRestingRect().left() - trackRect().left();
    knobAnimation_.stop();
    if (!animated || !isVisible()) {
        knobLeft_ = target;
        update();
        return;
    }
    knobAnimation_.setDuration(knobAnimationMs());
    knobAnimation_.setStartValue(knobLeft_);
    knobAnimation_.setEndValue(target);
    knobAnimation_.start();
}

// ---- the pointer ------------------------------------------------------------------------------

void ValueSlider::step(int direction) {
    const double delta = (maxValue_ - minValue_) / 30;
    const double next = std::clamp(doubleValue_ + direction * delta, minValue_, maxValue_);
    if (next != doubleValue_) {
        doubleValue_ = next;
        validateKnobPositionAnimated(true);
    }
}

void ValueSlider::increase() {
    step(+1);
}

void ValueSlider::decrease() {
    step(-1);
}

void ValueSlider::sendAction() {
    if (action_) action_(this);
}

void ValueSlider::press(const QPointF& at, int clickCount) {
    clickCount_ = clickCount;
    sliderSelected_ = trackRect().contains(at);
    if (increaseButtonRect().contains(at)) {
        increaseSelected_ = true;
        pausedIncreasing_ = false;
        step(+1);
        repeatTimer_.start();
    } else if (decreaseButtonRect().contains(at)) {
        decreaseSelected_ = true;
        pausedIncreasing_ = false;
        step(-1);
        repeatTimer_.start();
    } else if (knobRect().contains(at)) {
        knobSelected_ = true;
        setDoubleValue(valueForXPosition(at.x()));
        moveKnob(false);
    } else if (trackRect().contains(at)) {
        setDoubleValue(valueForXPosition(at.x()));
        holdTimer_.start();
    }
    update();
}

void ValueSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    press(event->position(), 1);
}

void ValueSlider::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    press(event->position(), 2);
}

void ValueSlider::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    const bool overTrack = trackRect().contains(at);
    if (!(event->buttons() & Qt::LeftButton)) {
        if (overTrack != sliderSelected_) {
            sliderSelected_ = overTrack;
            update();
        }
        return;
    }
    if (knobSelected_) {
        const double v = valueForXPosition(at.x());
        if (v != doubleValue_) {
            doubleValue_ = v;
            validateValueLabel();
            announceValue();
        }
        moveKnob(false);
        if (continue_) sendAction();
        if (selectionCursor_ && !cursorOverridden_) {
            QApplication::setOverrideCursor(*selectionCursor_);
            cursorOverridden_ = true;
        }
    } else if (increaseSelected_ || decreaseSelected_) {
        const bool inside = (increaseSelected_ ? increaseButtonRect() : decreaseButtonRect()).contains(at);
        if (inside == pausedIncreasing_) {
            pausedIncreasing_ = !inside;
            update();
        }
    } else if (sliderSelected_ && overTrack) {
        holdTimer_.start();
        setDoubleValue(valueForXPosition(at.x()));
    }
}

void ValueSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    holdTimer_.stop();
    if ((increaseSelected_ || decreaseSelected_) && !knobSelected_ && !sliderSelected_) {
        repeatTimer_.stop();
        increaseSelected_ = decreaseSelected_ = pausedIncreasing_ = false;
        sendAction();
        update();
        return;
    }
    repeatTimer_.stop();
    increaseSelected_ = decreaseSelected_ = pausedIncreasing_ = false;
    if (cursorOverridden_) {
        QApplication::restoreOverrideCursor();
        cursorOverridden_ = false;
    }
    if (knobSelected_ && clickCount_ == 2 && defaultValue_ != kNoDefault) setDoubleValue(defaultValue_);
    knobSelected_ = false;
    sendAction();
    knobReleased();
    update();
}

void ValueSlider::leaveEvent(QEvent* event) {
    if (sliderSelected_) {
        sliderSelected_ = false;
        update();
    }
    QWidget::leaveEvent(event);
}

// ---- the keyboard ----------------------------------------------------------------------------

void ValueSlider::keyMove(double value) {
    value = std::clamp(value, minValue_, maxValue_);
    if (value == doubleValue_) return;
    setDoubleValue(value);
    sendAction();
}

void ValueSlider::keyPressEvent(QKeyEvent* event) {
    const double span = maxValue_ - minValue_;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        keyMove(doubleValue_ - span / 30);
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        keyMove(doubleValue_ + span / 30);
        break;
    case Qt::Key_PageDown:
        keyMove(doubleValue_ - span / 10);
        break;
    case Qt::Key_PageUp:
        keyMove(doubleValue_ + span / 10);
        break;
    case Qt::Key_Home:
        keyMove(minValue_);
        break;
    case Qt::Key_End:
        keyMove(maxValue_);
        break;
    default:
        // The window's own keys (the brush size, the hand, paint and erase) pass on.
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ValueSlider::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void ValueSlider::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

// ---- typed values -----------------------------------------------------------------------------

void ValueSlider::valueTyped(double value) {
    const double v = isShowRealValue_ ? value : getValueFromPerscent(value);
    isNeedSetDoubleValueWithoutValidation_ = true;
    setDoubleValue(v);
    isNeedSetDoubleValueWithoutValidation_ = false;
    sendAction();
}

void ValueSlider::valueTypingFinished(double value) {
    // The range holds again once the edit is over, even when the typed value is already applied.
    const double v = isShowRealValue_ ? value : getValueFromPerscent(value);
    setDoubleValue(std::clamp(v, minValue_, maxValue_));
    validateValueLabel();
    sendAction();
}

// ---- drawing ----------------------------------------------------------------------------------

QString ValueSlider::knobImageName() const {
    return knobSelected_ ? QStringLiteral("slider_knob_on") : QStringLiteral("slider_knob");
}

void ValueSlider::drawTrack(QPainter& p, const QRectF& track) {
    const QString on = sliderSelected_ || knobSelected_ ? QStringLiteral("_on") : QString();
    const double y = track.center().y() - kTrackHeight / 2, cap = 4;
    ResourceImages::draw(p, QRectF(track.left(), y, cap, kTrackHeight), "slider_left" + on);
    ResourceImages::draw(p, QRectF(track.left() + cap, y, track.width() - 2 * cap, kTrackHeight),
                         "slider_center" + on);
    ResourceImages::draw(p, QRectF(track.right() - cap, y, cap, kTrackHeight), "slider_right" + on);
}

void ValueSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (hasButtons()) {
        ResourceImages::draw(p, decreaseButtonRect(),
                             decreaseSelected_ && !pausedIncreasing_ ? "minus_on.png" : "minus.png");
        ResourceImages::draw(p, increaseButtonRect(),
                             increaseSelected_ && !pausedIncreasing_ ? "plus_on.png" : "plus.png");
    }
    const QRectF track = trackRect();
    if (!isHiddenBackground_) drawTrack(p, track);
    if (isMarkerVisible()) {
        const QSizeF m = ResourceImages::size("slider_marker");
        ResourceImages::draw(p,
                             QRectF(track.center().x() - m.width() / 2, track.center().y() - m.height() / 2,
                                    m.width(), m.height()),
                             "slider_marker");
    }
    ResourceImages::draw(p, knobRect(), knobImageName(), isEnabled() ? 1.0 : 0.5);
    if (hasFocus()) paintFocusRing(p, QRectF(rect()).adjusted(1, 1, -1, -1), height() / 2.0 - 1);
}

} // namespace pimavo
