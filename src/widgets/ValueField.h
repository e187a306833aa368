// The value label of a slider: static right-aligned text, or an editable field for integers in
// the unit the slider shows, signalling every change and the end of an edit.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace pimavo {

class ValueField : public QWidget {
    Q_OBJECT
public:
    explicit ValueField(QWidget* parent = nullptr);

    QString stringValue() const;
    void setStringValue(const QString& text);
    bool editable() const { return editable_; }
    void setEditable(bool editable);
    QLineEdit* valueTextField() const { return field_; }

    // What the field tells its editor about the slider, in the shown unit: "kMinValue",
    // "kMaxValue", "kShowNegativeValue", "kDefValue".
    void setLimits(double minValue, double maxValue, bool showNegative, double defaultValue);

signals:
    // A number typed into the field, at every keystroke; and when the edit ends.
    void valueEdited(double value);
    void editingFinished(double value);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* label_;
    QLineEdit* field_;
    bool editable_ = false;
};

} // namespace pimavo
