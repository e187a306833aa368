#include "SwatchCell.h"

#include "widgets/WidgetAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace pimavo {

namespace {

class SwatchCellAccessible : public QAccessibleWidget {
public:
    explicit SwatchCellAccessible(SwatchCell* cell) : QAccessibleWidget(cell, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) static_cast<SwatchCell*>(widget())->choose();
    }
};

QAccessibleInterface* makeInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(SwatchCell::staticMetaObject.className()))
        return new SwatchCellAccessible(static_cast<SwatchCell*>(object));
    return nullptr;
}

} // namespace

SwatchCell::SwatchCell(const QRect& frame, QWidget* parent) : ColorSwatch(frame, QColor(), false, parent) {
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    (void)installed;
    setBorderWidth(1.0f);
    setBorderColor(Qt::black);
    setCursor(Qt::PointingHandCursor);
}

void SwatchCell::setFillColor(const QColor& color) {
    ColorSwatch::setFillColor(deviceRGB(color));
    // Only a cell with a colour has anything to choose.
    setFocusPolicy(fillColor_.isValid() ? Qt::TabFocus : Qt::NoFocus);
    //: A colour swatch read by a screen reader; %1 is the colour as #RRGGBB.
    setAccessibleName(fillColor_.isValid() ? tr("Colour %1").arg(fillColor_.name().toUpper()) : QString());
}

void SwatchCell::choose() {
    if (fillColor_.isValid()) emit colorSelected(fillColor_);
}

void SwatchCell::enterEvent(QEnterEvent* event) {
    if (fillColor_.isValid()) {
        setBorderWidth(2.0f);
        setBorderColor(Qt::white);
    }
    ColorSwatch::enterEvent(event);
}

void SwatchCell::leaveEvent(QEvent* event) {
    setBorderWidth(1.0f);
    setBorderColor(Qt::black);
    ColorSwatch::leaveEvent(event);
}

void SwatchCell::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) choose();
}

void SwatchCell::keyPressEvent(QKeyEvent* event) {
    const bool press =
        event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (press && !event->isAutoRepeat() && !(event->modifiers() & ~Qt::KeypadModifier)) {
        choose();
        event->accept();
        return;
    }
    ColorSwatch::keyPressEvent(event);
}

void SwatchCell::focusInEvent(QFocusEvent* event) {
    update();
    ColorSwatch::focusInEvent(event);
}

void SwatchCell::focusOutEvent(QFocusEvent* event) {
    update();
    ColorSwatch::focusOutEvent(event);
}

void SwatchCell::paintEvent(QPaintEvent* event) {
    ColorSwatch::paintEvent(event);
    if (!hasFocus()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintFocusRing(p, QRectF(rect()).adjusted(1, 1, -1, -1), 2);
}

} // namespace pimavo
