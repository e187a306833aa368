// An indeterminate progress indicator: a turning arc, for work whose length is not known.
#pragma once

#include <QTimer>
#include <QWidget>

namespace pimavo {

class BusySpinner : public QWidget {
    Q_OBJECT
public:
    explicit BusySpinner(QWidget* parent = nullptr);
    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer timer_;
    int angle_ = 0;
};

} // namespace pimavo
