// The accessibility tree as an assistive tool walks it, without a bus: each control's role, name
// and state, and what is wrong with them for a user who cannot see the screen.
#pragma once

#include "widgets/ImageButton.h"
#include "widgets/PopupList.h"
#include "widgets/SegmentSwitch.h"
#include "widgets/ValueSlider.h"

#include <QAccessible>
#include <QMetaEnum>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

namespace pimavo::test {

inline QString roleName(QAccessible::Role role) {
    return QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(role));
}

// The roles a user acts on: without a name, a tool can only say "button", "slider".
inline bool isInteractive(QAccessible::Role role) {
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::Dial:
    case QAccessible::PageTab:
    case QAccessible::PageTabList:
    case QAccessible::List:
    case QAccessible::ListItem:
    case QAccessible::Dialog:
    case QAccessible::Link:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return true;
    default:
        return false;
    }
}

struct AccessibleNode {
    QAccessibleInterface* iface;
    QString path; // the roles and names from the root down, to find it by
};

// Every node a tool reads under `root`: what is hidden is left out with all it holds.
inline std::vector<AccessibleNode> visibleNodes(QAccessibleInterface* root) {
    std::vector<AccessibleNode> nodes;
    std::function<void(QAccessibleInterface*, const QString&)> visit = [&](QAccessibleInterface* i,
                                                                           const QString& above) {
        if (!i || !i->isValid() || i->state().invisible) return;
        QString here = roleName(i->role());
        if (const QString name = i->text(QAccessible::Name); !name.isEmpty())
            here += " '" + name + "'";
        else if (i->object() && !i->object()->objectName().isEmpty())
            here += " #" + i->object()->objectName();
        else if (i->object())
            here += QString(" (%1)").arg(i->object()->metaObject()->className());
        const QString path = above.isEmpty() ? here : above + " > " + here;
        nodes.push_back({i, path});
        for (int c = 0; c < i->childCount(); ++c) visit(i->child(c), path);
    };
    visit(root, {});
    return nodes;
}

inline std::vector<AccessibleNode> visibleNodes(QWidget* root) {
    return visibleNodes(QAccessible::queryAccessibleInterface(root));
}

// What the program's own widgets must be to a tool, most derived first.
struct ExpectedRole {
    const char* what;
    std::function<bool(const QObject*)> is;
    QAccessible::Role role;
};
inline const std::vector<ExpectedRole>& expectedRoles() {
    static const std::vector<ExpectedRole> table = {
        {"segment switch", [](const QObject* o) { return qobject_cast<const SegmentSwitch*>(o) != nullptr; },
         QAccessible::PageTabList},
        {"slider", [](const QObject* o) { return qobject_cast<const ValueSlider*>(o) != nullptr; },
         QAccessible::Slider},
        {"image button", [](const QObject* o) { return qobject_cast<const ImageButton*>(o) != nullptr; },
         QAccessible::Button},
        {"pop-up list", [](const QObject* o) { return qobject_cast<const PopupList*>(o) != nullptr; },
         QAccessible::List},
        {"pop-up row", [](const QObject* o) { return qobject_cast<const PopupListCell*>(o) != nullptr; },
         QAccessible::ListItem},
    };
    return table;
}

// Every fault under `root`, one line each: an interactive node without a name, one of the
// program's widgets in the wrong role, a control Tab reaches that a tool cannot use.
inline QStringList accessibilityFaults(QWidget* root) {
    QStringList faults;
    const std::vector<AccessibleNode> nodes = visibleNodes(root);
    for (const AccessibleNode& n : nodes) {
        const QAccessible::Role role = n.iface->role();
        if (isInteractive(role) && n.iface->text(QAccessible::Name).trimmed().isEmpty())
            faults << "no name: " + n.path;
        const QObject* o = n.iface->object();
        for (const ExpectedRole& e : expectedRoles())
            if (o && e.is(o)) {
                if (role != e.role)
                    faults << QString("%1 is %2, not %3: %4")
                                  .arg(e.what, roleName(role), roleName(e.role), n.path);
                break;
            }
    }
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)) continue;
        // The field inside a spin box or an editable combo box is the box itself to a tool.
        if (w->parentWidget() &&
            isInteractive(QAccessible::queryAccessibleInterface(w->parentWidget())->role()))
            continue;
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
        const bool listed =
            std::any_of(nodes.begin(), nodes.end(), [&](const AccessibleNode& n) { return n.iface == i; });
        if (!listed)
            faults << QString("Tab reaches %1 #%2, which is not in the tree")
                          .arg(w->metaObject()->className(), w->objectName());
    }
    return faults;
}

// The first visible node of a role called `name`: by its own name, or by the label a tool reads
// before it (a combo box's name is its current choice; the label beside it says what it is for).
inline QAccessibleInterface* findNode(QWidget* root, QAccessible::Role role, const QString& name) {
    for (const AccessibleNode& n : visibleNodes(root)) {
        if (n.iface->role() != role) continue;
        if (n.iface->text(QAccessible::Name) == name) return n.iface;
        for (const auto& [label, relation] : n.iface->relations(QAccessible::Label))
            if (label->text(QAccessible::Name) == name) return n.iface;
    }
    return nullptr;
}

} // namespace pimavo::test
