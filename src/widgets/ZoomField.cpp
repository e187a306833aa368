#include "ZoomField.h"

#include "WidgetStyle.h"

#include <QKeyEvent>
#include <QLocale>
#include <cmath>
#include <optional>

namespace pimavo {

ZoomField::ZoomField(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignCenter);
    setFont(style::uiFont(11));
    setFixedSize(64, 24);
    setStyleSheet("QLineEdit { color: rgb(225,225,228); background: rgb(40,40,44); "
                  "border: 1px solid rgb(70,70,76); border-radius: 4px; }"
                  "QLineEdit:disabled { color: rgb(110,110,116); }");
    connect(this, &QLineEdit::returnPressed, this, [this] {
        const auto typed = parse(text());
        showPercent(); // the zoom as it comes out, once the canvas has taken it
        if (typed) emit percentEntered(*typed);
        selectAll();
    });
    showPercent();
}

QString ZoomField::textFor(double percent) {
    const double tenths = std::round(percent * 10) / 10;
    // In the user's numbers ("12,5 %"), without a thousands separator the field would read back as
    // a decimal one.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    if (tenths >= 100 || tenths == std::round(tenths))
        return locale.toString(qint64(std::lround(percent))) + " %";
    return locale.toString(tenths, 'f', 1) + " %";
}

std::optional<double> ZoomField::parse(const QString& text) {
    QString t = text.trimmed();
    if (t.endsWith('%')) t.chop(1);
    t = t.trimmed();
    t.replace(',', '.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v <= 0) return std::nullopt;
    return v;
}

void ZoomField::setPercent(double percent) {
    percent_ = percent;
    if (!hasFocus()) showPercent();
}

void ZoomField::showPercent() {
    setText(textFor(percent_));
}

void ZoomField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        showPercent();
        clearFocus();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ZoomField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    showPercent();
}

} // namespace pimavo
