// A palette cell: a bordered square swatch; a click on a cell with a colour selects it, an empty
// cell does nothing.
#pragma once

#include "ColorSwatch.h"

namespace pimavo {

class SwatchCell : public ColorSwatch {
    Q_OBJECT
public:
    explicit SwatchCell(const QRect& frame, QWidget* parent = nullptr);

    int viewId() const { return viewId_; }
    void setViewId(int id) { viewId_ = id; }
    void setFillColor(const QColor& color) override;

signals:
    void colorSelected(const QColor& color);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int viewId_ = 0;
};

} // namespace pimavo
