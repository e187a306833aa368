// The zoom of the picture in per cent, shown and typed: Return takes a number (with or without
// "%"), Escape or leaving the field shows the zoom as it is again. Anything but a positive number
// changes nothing.
#pragma once

#include <QLineEdit>
#include <optional>

namespace pimavo {

class ZoomField : public QLineEdit {
    Q_OBJECT
public:
    explicit ZoomField(QWidget* parent = nullptr);

    // The zoom shown (while the user is not typing).
    void setPercent(double percent);
    double percent() const { return percent_; }
    // "12.5 %", "33.3 %", "100 %".
    static QString textFor(double percent);
    // The per cent a typed text means, if any.
    static std::optional<double> parse(const QString& text);

signals:
    void percentEntered(double percent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showPercent();
    double percent_ = 100;
};

} // namespace pimavo
