#include "ArrowGroup.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

namespace pimavo {

ArrowGroup* ArrowGroup::make(const std::vector<QWidget*>& members, int columns) {
    return new ArrowGroup(members, columns);
}

ArrowGroup::ArrowGroup(const std::vector<QWidget*>& members, int columns)
    : QObject(members.empty() ? nullptr : members.front()->parentWidget()), columns_(std::max(1, columns)) {
    for (QWidget* w : members) {
        members_.emplace_back(w);
        w->installEventFilter(this);
    }
    setStop(0);
}

void ArrowGroup::setStop(int index) {
    for (int i = 0; i < int(members_.size()); ++i)
        if (members_[std::size_t(i)])
            members_[std::size_t(i)]->setFocusPolicy(i == index ? Qt::TabFocus : Qt::NoFocus);
}

bool ArrowGroup::eventFilter(QObject* watched, QEvent* event) {
    const auto at = std::find(members_.begin(), members_.end(), watched);
    if (at == members_.end()) return false;
    const int index = int(at - members_.begin());
    if (event->type() == QEvent::FocusIn) {
        setStop(index);
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    const int count = int(members_.size());
    int next = index;
    switch (key->key()) {
    case Qt::Key_Left:
        next = index - 1;
        break;
    case Qt::Key_Right:
        next = index + 1;
        break;
    case Qt::Key_Up:
        next = index - columns_;
        break;
    case Qt::Key_Down:
        next = index + columns_;
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = count - 1;
        break;
    default:
        return false;
    }
    // At an edge the focus stays where it is.
    if (next < 0 || next >= count || !members_[std::size_t(next)] ||
        !members_[std::size_t(next)]->isEnabled())
        return true;
    setStop(next);
    members_[std::size_t(next)]->setFocus(Qt::TabFocusReason);
    return true;
}

} // namespace pimavo
