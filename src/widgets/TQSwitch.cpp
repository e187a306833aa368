#include "TQSwitch.h"

#include "WidgetStyle.h"

#include <QPainter>
#include <cmath>

namespace pimavo {

TQSwitch::TQSwitch(QWidget* parent) : TQSlider(parent) {
    setSegmentsCountNumber(3);
}

QSize TQSwitch::sizeHint() const {
    return {200, 38};
}

void TQSwitch::setSegmentsCountNumber(int count) {
    segmentsCount_ = std::max(2, count);
    setMinValue(0);
    setMaxValue(segmentsCount_ - 1);
    setDefaultValue(kNoDefault);
    update();
}

void TQSwitch::setSegmentsTitles(const QStringList& titles) {
    segmentsTitles_ = titles;
    update();
}

void TQSwitch::setSelectedSegment(unsigned long long segment) {
    selectedSegment_ = segment;
    if (segment != kNoSegment) setDoubleValue(double(segment));
    update();
}

void TQSwitch::knobReleased() {
    // Ties go to the even segment, as the default rounding of the platform does.
    const double rounded = std::nearbyint(doubleValue());
    setSelectedSegment(static_cast<unsigned long long>(std::max(0.0, rounded)));
}

QColor TQSwitch::titleColor(int segment) const {
    return selectedSegment_ != kNoSegment && static_cast<unsigned long long>(segment) == selectedSegment_
               ? QColor(Qt::white)
               : QColor::fromRgbF(0.74f, 0.74f, 0.74f);
}

void TQSwitch::paintEvent(QPaintEvent* event) {
    TQSlider::paintEvent(event);
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
