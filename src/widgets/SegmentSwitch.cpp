#include "SegmentSwitch.h"

#include "WidgetStyle.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <cmath>

namespace pimavo {

SegmentSwitch::SegmentSwitch(QWidget* parent) : ValueSlider(parent) {
    setSegmentsCountNumber(3);
}

QSize SegmentSwitch::sizeHint() const {
    return {200, 38};
}

void SegmentSwitch::setSegmentsCountNumber(int count) {
    segmentsCount_ = std::max(2, count);
    setMinValue(0);
    setMaxValue(segmentsCount_ - 1);
    setDefaultValue(kNoDefault);
    update();
}

void SegmentSwitch::setSegmentsTitles(const QStringList& titles) {
    segmentsTitles_ = titles;
    update();
}

void SegmentSwitch::setSelectedSegment(unsigned long long segment) {
    selectedSegment_ = segment;
    if (segment != kNoSegment) setDoubleValue(double(segment));
    update();
}

void SegmentSwitch::knobReleased() {
    // Ties go to the even segment, as the default rounding of the platform does.
    const double rounded = std::nearbyint(doubleValue());
    setSelectedSegment(static_cast<unsigned long long>(std::max(0.0, rounded)));
}

void SegmentSwitch::keyPressEvent(QKeyEvent* event) {
    const long long last = segmentsCount_ - 1;
    const long long now = selectedSegment_ == kNoSegment ? -1 : static_cast<long long>(selectedSegment_);
    long long next = now;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        next = now < 0 ? 0 : now - 1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        next = now + 1;
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = last;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    next = std::clamp(next, 0LL, last);
    if (next == now) return;
    setSelectedSegment(static_cast<unsigned long long>(next));
    sendAction();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&changed);
    }
}

QColor SegmentSwitch::titleColor(int segment) const {
    return selectedSegment_ != kNoSegment && static_cast<unsigned long long>(segment) == selectedSegment_
               ? QColor(Qt::white)
               : QColor::fromRgbF(0.74f, 0.74f, 0.74f);
}

void SegmentSwitch::paintEvent(QPaintEvent* event) {
    ValueSlider::paintEvent(event);
    QPainter p(this);
    p.setFont(style::uiFont(10));
    const QRectF track = trackRect();
    const double usable = track.width() - track.height();
    for (int i = 0; i < segmentsCount_ && i < segmentsTitles_.size(); ++i) {
        const double x = track.left() + track.height() / 2 + usable * i / (segmentsCount_ - 1);
        const Qt::Alignment align = i == 0                    ? Qt::AlignLeft
                                    : i == segmentsCount_ - 1 ? Qt::AlignRight
                                                              : Qt::AlignHCenter;
        QRectF box(x - 60, track.bottom() + 2, 120, 16);
        if (i == 0) box.moveLeft(track.left());
        if (i == segmentsCount_ - 1) box.moveRight(track.right());
        p.setPen(titleColor(i));
        p.drawText(box, align | Qt::AlignTop, segmentsTitles_[i]);
    }
}

} // namespace pimavo
