#include "WidgetAccessibility.h"

#include "ImageButton.h"
#include "PopupList.h"
#include "SegmentSwitch.h"
#include "ValueSlider.h"
#include "WidgetStyle.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <map>

namespace pimavo {

namespace {

QString withoutMnemonics(QString text) {
    // "&&" is a literal ampersand; a single one marks the mnemonic.
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'&') text.remove(i, 1);
    return text;
}

// A control's name as a tool reads it: what the program set, or the label beside it.
QString nameOf(const QWidget* w) {
    return w->accessibleName().isEmpty() ? labelText(w) : w->accessibleName();
}

// A description that says more than the name; a tool tip that only repeats it says nothing.
QString descriptionOf(const QWidget* w, const QString& name) {
    const QString d = w->accessibleDescription().isEmpty() ? w->toolTip() : w->accessibleDescription();
    return d == name ? QString() : d;
}

class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessible(ValueSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}
    ValueSlider* slider() const { return static_cast<ValueSlider*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            return nameOf(widget());
        case QAccessible::Description:
            return descriptionOf(widget(), nameOf(widget()));
        case QAccessible::Value:
            return slider()->valueText();
        default:
            return QAccessibleWidget::text(t);
        }
    }
    // The value label is the slider's value, not a control of its own, unless it can be typed in.
    int childCount() const override {
        return slider()->valueLabel()->editable() ? QAccessibleWidget::childCount() : 0;
    }
    QAccessibleInterface* child(int index) const override {
        return childCount() > 0 ? QAccessibleWidget::child(index) : nullptr;
    }

    QVariant currentValue() const override { return slider()->shownValue(); }
    void setCurrentValue(const QVariant& value) override { slider()->setShownValue(value.toDouble()); }
    QVariant maximumValue() const override { return slider()->shownMaximum(); }
    QVariant minimumValue() const override { return slider()->shownMinimum(); }
    QVariant minimumStepSize() const override {
        return (slider()->shownMaximum() - slider()->shownMinimum()) / 30;
    }

    QStringList actionNames() const override {
        return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (!slider()->isEnabled()) return;
        if (name == increaseAction()) {
            slider()->increase();
            slider()->sendAction();
        } else if (name == decreaseAction()) {
            slider()->decrease();
            slider()->sendAction();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }
};

// One position of a segment switch, a tab of its own to a tool; it has no widget.
class SegmentAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    SegmentAccessible(SegmentSwitch* owner, int index) : owner_(owner), index_(index) {}

    bool isValid() const override { return owner_ && index_ < owner_->segmentsCountNumber(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent() ? parent()->window() : nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(owner_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && owner_ ? owner_->segmentsTitles().value(index_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!owner_) return {};
        const QRectF track = owner_->trackRect();
        const int n = owner_->segmentsCountNumber();
        const double w = track.width() / n;
        const QRect local = QRectF(track.left() + index_ * w, 0, w, owner_->height()).toAlignedRect();
        return {owner_->mapToGlobal(local.topLeft()), local.size()};
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!owner_) return s;
        s.selectable = true;
        s.selected = owner_->selectedSegment() == static_cast<unsigned long long>(index_);
        s.invisible = !owner_->isVisible();
        s.disabled = !owner_->isEnabled();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name != pressAction() || !owner_ || !owner_->isEnabled()) return;
        owner_->setSelectedSegment(static_cast<unsigned long long>(index_));
        owner_->sendAction();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<SegmentSwitch> owner_;
    int index_;
};

class SegmentSwitchAccessible : public QAccessibleWidget {
public:
    explicit SegmentSwitchAccessible(SegmentSwitch* s) : QAccessibleWidget(s, QAccessible::PageTabList) {}
    ~SegmentSwitchAccessible() override {
        for (const auto& [index, id] : segments_) QAccessible::deleteAccessibleInterface(id);
    }
    SegmentSwitch* segmentSwitch() const { return static_cast<SegmentSwitch*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return nameOf(widget());
        if (t == QAccessible::Description) return descriptionOf(widget(), nameOf(widget()));
        return QAccessibleWidget::text(t);
    }
    int childCount() const override {
        return int(std::min<qsizetype>(segmentSwitch()->segmentsCountNumber(),
                                       segmentSwitch()->segmentsTitles().size()));
    }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        auto found = segments_.find(index);
        if (found == segments_.end())
            found = segments_
                        .emplace(index, QAccessible::registerAccessibleInterface(
                                            new SegmentAccessible(segmentSwitch(), index)))
                        .first;
        return QAccessible::accessibleInterface(found->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [index, id] : segments_)
            if (QAccessible::accessibleInterface(id) == child) return index;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i)
            if (child(i)->rect().contains(x, y)) return child(i);
        return nullptr;
    }

private:
    mutable std::map<int, QAccessible::Id> segments_;
};

class ImageButtonAccessible : public QAccessibleWidget {
public:
    explicit ImageButtonAccessible(ImageButton* b) : QAccessibleWidget(b, QAccessible::Button) {}
    ImageButton* button() const { return static_cast<ImageButton*>(widget()); }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            return name();
        case QAccessible::Description:
            // A button beside its label shows the current choice: that is what it says more.
            if (!labelText(widget()).isEmpty() && widget()->accessibleName().isEmpty())
                return withoutMnemonics(button()->text());
            return descriptionOf(widget(), name());
        default:
            return QAccessibleWidget::text(t);
        }
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = button()->isCheckable();
        s.checked = button()->isChecked();
        s.pressed = button()->isDown();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names{pressAction()};
        if (button()->isCheckable()) names << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (!button()->isEnabled()) return;
        if (name == pressAction() || name == toggleAction())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QString name() const {
        if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
        if (const QString label = labelText(widget()); !label.isEmpty()) return label;
        if (!button()->text().isEmpty()) return withoutMnemonics(button()->text());
        // A button that is only an image says what it does in its tool tip.
        return button()->toolTip();
    }
};

class PopupListAccessible : public QAccessibleWidget {
public:
    explicit PopupListAccessible(PopupList* list) : QAccessibleWidget(list, QAccessible::List) {}
    PopupList* list() const { return static_cast<PopupList*>(widget()); }

    // The rows are the list's items; the scrolling views that hold them are no concern of a tool.
    int childCount() const override { return list()->rowCount(); }
    QAccessibleInterface* child(int index) const override {
        return QAccessible::queryAccessibleInterface(list()->cell(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < list()->rowCount(); ++i)
            if (child && child->object() == list()->cell(i)) return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int row = list()->rowAt(list()->mapFromGlobal(QPoint(x, y)));
        return row >= 0 ? child(row) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return list()->hoveredRow() >= 0 ? child(list()->hoveredRow()) : nullptr;
    }
};

class PopupListCellAccessible : public QAccessibleWidget {
public:
    explicit PopupListCellAccessible(PopupListCell* cell) : QAccessibleWidget(cell, QAccessible::ListItem) {}
    PopupListCell* cell() const { return static_cast<PopupListCell*>(widget()); }
    PopupList* list() const {
        for (QWidget* w = widget()->parentWidget(); w; w = w->parentWidget())
            if (auto* l = qobject_cast<PopupList*>(w)) return l;
        return nullptr;
    }

    QAccessibleInterface* parent() const override {
        PopupList* l = list();
        return l ? QAccessible::queryAccessibleInterface(l) : QAccessibleWidget::parent();
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? cell()->text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = cell()->isSelected();
        s.focused = cell()->isSelected();
        s.checkable = true;
        s.checked = cell()->isChecked();
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        PopupList* l = list();
        if (name != pressAction() || !l) return;
        for (int row = 0; row < l->rowCount(); ++row)
            if (l->cell(row) == cell()) l->choose(row);
    }
};

// The cover of an in-window dialog: a dialog to a tool, named as it was put up or by its message.
class OverlayCoverAccessible : public QAccessibleWidget {
public:
    explicit OverlayCoverAccessible(QWidget* cover) : QAccessibleWidget(cover, QAccessible::Dialog) {}
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
        for (const QLabel* label : widget()->findChildren<QLabel*>())
            if (!label->text().isEmpty() && label->isVisibleTo(widget())) return label->text();
        return {};
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.modal = true;
        return s;
    }
};

QAccessibleInterface* makeInterface(const QString& className, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    // The class names arrive from the most derived up: a gradient slider is asked for as itself
    // first and finds its interface as a ValueSlider.
    if (className == QLatin1String(SegmentSwitch::staticMetaObject.className()))
        return new SegmentSwitchAccessible(static_cast<SegmentSwitch*>(w));
    if (className == QLatin1String(ValueSlider::staticMetaObject.className()))
        return new SliderAccessible(static_cast<ValueSlider*>(w));
    if (className == QLatin1String(ImageButton::staticMetaObject.className()))
        return new ImageButtonAccessible(static_cast<ImageButton*>(w));
    if (className == QLatin1String(PopupList::staticMetaObject.className()))
        return new PopupListAccessible(static_cast<PopupList*>(w));
    if (className == QLatin1String(PopupListCell::staticMetaObject.className()))
        return new PopupListCellAccessible(static_cast<PopupListCell*>(w));
    if (className == QLatin1String("pimavo::OverlayCover")) return new OverlayCoverAccessible(w);
    return nullptr;
}

} // namespace

void installWidgetAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    (void)installed;
}

QString labelText(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    if (!parent) return {};
    for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == widget) return withoutMnemonics(label->text());
    return {};
}

void paintFocusRing(QPainter& p, const QRectF& rect, double radius, bool onAccent) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(onAccent ? style::kInk : style::kAccent, 2));
    p.drawRoundedRect(rect, radius, radius);
    p.restore();
}

} // namespace pimavo
