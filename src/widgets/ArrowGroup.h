// Controls that are one stop of the Tab chain, walked with the arrow keys: a grid of brush presets
// is one Tab away from what follows it, not twelve. The stop is the member last focused.
#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QWidget;

namespace pimavo {

class ArrowGroup : public QObject {
    Q_OBJECT
public:
    // `members` laid out in rows of `columns`, left to right and top to bottom. The group belongs to
    // the first member's parent.
    static ArrowGroup* make(const std::vector<QWidget*>& members, int columns);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ArrowGroup(const std::vector<QWidget*>& members, int columns);
    // Makes `index` the group's Tab stop.
    void setStop(int index);

    std::vector<QPointer<QWidget>> members_;
    int columns_;
};

} // namespace pimavo
