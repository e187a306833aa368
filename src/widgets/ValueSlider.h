// A horizontal slider drawn from images: minus and plus buttons at its ends, a track with a knob,
// an optional centre marker, and a value label showing the value itself or a percentage.
//
// The action reaches its target while the knob is dragged (when continuous) and once at every
// release; stepping with the buttons and clicks on the track report their final value at the
// release. Setting the value from code sends nothing.
//
// From the keyboard: the arrows step as the buttons do, Page Up and Page Down a tenth of the range,
// Home and End go to the ends; each key sends the action once. Assistive tools see a slider named
// after its label, whose value is the one the label shows.
#pragma once

#include "ValueField.h"

#include <QCursor>
#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>
#include <functional>
#include <optional>

namespace pimavo {

class ValueSlider : public QWidget {
    Q_OBJECT
public:
    // No default value.
    static constexpr double kNoDefault = 9.223372036854776e18;

    explicit ValueSlider(QWidget* parent = nullptr);

    double minValue() const { return minValue_; }
    void setMinValue(double v) { minValue_ = v; }
    double maxValue() const { return maxValue_; }
    void setMaxValue(double v) { maxValue_ = v; }
    double doubleValue() const { return doubleValue_; }
    double curentValue() const { return doubleValue_; }
    void setDoubleValue(double value);
    double defaultValue() const { return defaultValue_; }
    void setDefaultValue(double v) { defaultValue_ = v; }

    void setContinuous(bool on) { continue_ = on; }
    bool isContinuous() const { return continue_; }
    void setShowRealValue(bool on);
    bool showRealValue() const { return isShowRealValue_; }
    void setShowNegativeValue(bool on);
    bool showNegativeValue() const { return isShowNegativeValue_; }
    void setHiddenBackground(bool on);
    void setValueTextFieldWidth(int width);
    // The pointer while the knob is dragged; changed mid-drag, it shows at once.
    void setSelectionCursor(std::optional<QCursor> cursor);
    void setEditableValue(bool editable);
    ValueField* valueLabel() const { return valueLabel_; }

    void setAction(std::function<void(ValueSlider*)> action) { action_ = std::move(action); }
    // Sends the action, as a move of the knob would (a value set from outside that must reach its
    // target).
    void sendAction();

    // Knob or a button held.
    bool isChangingContinue() const;

    // Steps as the plus and minus buttons do.
    void increase();
    void decrease();

    void validateKnobPositionAnimated(bool animated);
    void validateValueLabel();
    // The value as the label shows it ("+25", "45"), and as a number in that unit with its range.
    QString valueText() const;
    double shownValue() const;
    double shownMinimum() const;
    double shownMaximum() const;
    // Sets a value given in the shown unit (kept within the range) and sends the action.
    void setShownValue(double value);
    int getValueInPerscentsFromValue(double value) const;
    double getValueFromPerscent(double percent) const;
    double valueForXPosition(double x) const;

    // Layout, in the control's coordinates.
    QRectF decreaseButtonRect() const;
    QRectF increaseButtonRect() const;
    QRectF trackRect() const;
    QRectF knobRect() const;        // where the knob is drawn now
    QRectF knobRestingRect() const; // where the value puts it
    bool isMarkerVisible() const;

    QSize sizeHint() const override;

private slots:
    // A value typed into the label, in the unit it shows: taken as typed while the edit goes on,
    // kept within the range once it ends.
    void valueTyped(double value);
    void valueTypingFinished(double value);

protected:
    // Resets the control: range 0 to 1, no default, value 0.5, and rebuilds the label.
    void validateSlider();
    virtual void drawTrack(QPainter& painter, const QRectF& track);
    virtual QString knobImageName() const;
    virtual bool hasValueLabel() const { return true; }
    virtual bool hasButtons() const { return true; }
    virtual int knobAnimationMs() const { return 120; }
    // The knob was released (after the action for a plain slider).
    virtual void knobReleased() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tells assistive tools that the value changed.
    void announceValue();

    bool knobSelected_ = false;

private:
    void press(const QPointF& at, int clickCount);
    void step(int direction);
    // A key moved the value to `value` (clamped); the action follows as after a button step.
    void keyMove(double value);
    void moveKnob(bool animated);
    void layoutLabel();

    double minValue_ = 0, maxValue_ = 1, doubleValue_ = 0.5, defaultValue_ = kNoDefault;
    bool sliderSelected_ = false, increaseSelected_ = false, decreaseSelected_ = false,
         pausedIncreasing_ = false;
    bool isShowNegativeValue_ = true, isShowRealValue_ = false, isHiddenBackground_ = false;
    bool continue_ = true;
    bool isNeedSetDoubleValueWithoutValidation_ = false;
    bool cursorOverridden_ = false;
    unsigned long long maxValueRange_ = 100;
    int clickCount_ = 1;
    int valueTextFieldWidth_ = 34;
    std::optional<QCursor> selectionCursor_;
    std::function<void(ValueSlider*)> action_;
    ValueField* valueLabel_;
    QTimer repeatTimer_, holdTimer_;
    QVariantAnimation knobAnimation_;
    double knobLeft_ = 0; // drawn position of the knob's left edge within the track
};

} // namespace pimavo
