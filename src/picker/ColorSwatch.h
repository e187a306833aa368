// A colour swatch: a filled circle, or a square with a border.
#pragma once

#include <QColor>
#include <QWidget>

namespace pimavo {

class ColorSwatch : public QWidget {
    Q_OBJECT
public:
    ColorSwatch(const QRect& frame, const QColor& color, bool isCircle, QWidget* parent = nullptr);

    QColor fillColor() const { return fillColor_; }
    virtual void setFillColor(const QColor& color);
    QColor borderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    float borderWidth() const { return borderWidth_; }
    void setBorderWidth(float width);
    bool isCircle() const { return isCircle_; }

protected:
    void paintEvent(QPaintEvent* event) override;

    QColor fillColor_;
    bool isCircle_;
    QColor borderColor_{Qt::transparent};
    float borderWidth_ = 0;
};

// A colour as device RGB (the one colour space the canvas and the settings use).
QColor deviceRGB(const QColor& color);

} // namespace pimavo
