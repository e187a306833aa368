// A slider whose track is a gradient from black through a colour to white; a new colour slides
// into the middle of the gradient.
#pragma once

#include "ValueSlider.h"

#include <QColor>
#include <QVariantAnimation>

namespace pimavo {

class GradientSlider : public ValueSlider {
    Q_OBJECT
public:
    explicit GradientSlider(QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);
    // The middle stop as drawn now (it moves towards color() for half a second).
    QColor shownColor() const { return shown_; }

protected:
    bool hasValueLabel() const override { return false; }
    QString knobImageName() const override { return QStringLiteral("color_picker_tumb.png"); }
    void drawTrack(QPainter& painter, const QRectF& track) override;

private:
    QColor color_{128, 128, 128}, shown_{128, 128, 128};
    QVariantAnimation fade_;
};

} // namespace pimavo
