// The value label of a slider: static right-aligned text, or an editable field for integers in
// the unit the slider shows, reporting every change and the end of an edit to its delegate.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace pimavo {

class ValueFieldDelegate {
public:
    virtual ~ValueFieldDelegate() = default;
    virtual void textFieldValueWasChangedTo(double value) = 0;
    virtual void textFieldValueChangingWasFinished(double value) = 0;
};

class ValueField : public QWidget {
    Q_OBJECT
public:
    explicit ValueField(QWidget* parent = nullptr);

    QString stringValue() const;
    void setStringValue(const QString& text);
    bool editable() const { return editable_; }
    void setEditable(bool editable);
    ValueFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(ValueFieldDelegate* delegate) { delegate_ = delegate; }
    QLineEdit* valueTextField() const { return field_; }

    // What the field tells its editor about the slider, in the shown unit: "kMinValue",
    // "kMaxValue", "kShowNegativeValue", "kDefValue".
    void setLimits(double minValue, double maxValue, bool showNegative, double defaultValue);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* label_;
    QLineEdit* field_;
    ValueFieldDelegate* delegate_ = nullptr;
    bool editable_ = false;
};

} // namespace pimavo
