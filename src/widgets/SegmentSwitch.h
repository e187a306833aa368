// A slider that snaps to a few named positions ("Normal", "High", "Highest" by default). The arrows,
// Home and End choose a position from the keyboard; assistive tools see a list of tabs, one per
// position.
#pragma once

#include "ValueSlider.h"

#include <QStringList>
#include <limits>

namespace pimavo {

class SegmentSwitch : public ValueSlider {
    Q_OBJECT
public:
    static constexpr unsigned long long kNoSegment = std::numeric_limits<unsigned long long>::max();

    explicit SegmentSwitch(QWidget* parent = nullptr);

    unsigned long long selectedSegment() const { return selectedSegment_; }
    void setSelectedSegment(unsigned long long segment);
    int segmentsCountNumber() const { return segmentsCount_; }
    void setSegmentsCountNumber(int count);
    const QStringList& segmentsTitles() const { return segmentsTitles_; }
    void setSegmentsTitles(const QStringList& titles);

    // The colour of a segment's title: white when selected, grey otherwise.
    QColor titleColor(int segment) const;
    QSize sizeHint() const override;

protected:
    bool hasValueLabel() const override { return false; }
    bool hasButtons() const override { return false; }
    int knobAnimationMs() const override { return 50; }
    void knobReleased() override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int segmentsCount_ = 3;
    unsigned long long selectedSegment_ = kNoSegment;
    QStringList segmentsTitles_{QStringLiteral("Normal"), QStringLiteral("High"), QStringLiteral("Highest")};
};

} // namespace pimavo
