// A palette cell: a bordered square swatch; a click on a cell with a colour selects it, an empty
// cell does nothing. A cell with a colour is a Tab stop that Space or Return chooses, and reads to an
// assistive tool as a button named by its colour.
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
    // What a click does: selects the cell's colour, when it has one.
    void choose();

signals:
    void colorSelected(const QColor& color);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int viewId_ = 0;
};

} // namespace pimavo
