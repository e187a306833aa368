// The colours and type of the interface, in one place.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

namespace pimavo::style {

inline const QColor kInk{235, 235, 238};    // text on the panels
inline const QColor kInkDim{174, 174, 180}; // secondary text (0.682 grey)
inline const QColor kInkDisabled{100, 100, 106};
inline const QColor kInkOnAccent{29, 29, 31};
inline const QColor kAccent{255, 186, 31}; // highlight: (1, 0.73, 0.12)
inline const QColor kPanel{41, 41, 44};
inline const QColor kRowBackground{48, 48, 48}; // list rows: grey 0.19

// The interface face at a point size ("Helvetica" where installed, its metric twin otherwise).
inline QFont uiFont(qreal points, bool bold = false) {
    QFont f(QStringLiteral("Helvetica"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// The palette of the program's own windows and dialogs: the panels' dark grey, their ink, the
// accent for selections.
inline QPalette darkPalette() {
    QPalette p;
    const QColor window = kPanel, base{30, 30, 32}, button{58, 58, 62};
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::Window, window);
        p.setColor(g, QPalette::WindowText, kInk);
        p.setColor(g, QPalette::Base, base);
        p.setColor(g, QPalette::AlternateBase, window);
        p.setColor(g, QPalette::Text, kInk);
        p.setColor(g, QPalette::PlaceholderText, kInkDim);
        p.setColor(g, QPalette::Button, button);
        p.setColor(g, QPalette::ButtonText, kInk);
        p.setColor(g, QPalette::BrightText, Qt::white);
        p.setColor(g, QPalette::Highlight, kAccent);
        p.setColor(g, QPalette::HighlightedText, kInkOnAccent);
        p.setColor(g, QPalette::ToolTipBase, base);
        p.setColor(g, QPalette::ToolTipText, kInk);
        p.setColor(g, QPalette::Link, kAccent);
        p.setColor(g, QPalette::Light, button.lighter(130));
        p.setColor(g, QPalette::Midlight, button.lighter(115));
        p.setColor(g, QPalette::Mid, button.darker(130));
        p.setColor(g, QPalette::Dark, base.darker(130));
        p.setColor(g, QPalette::Shadow, Qt::black);
    }
    p.setColor(QPalette::Disabled, QPalette::Window, window);
    p.setColor(QPalette::Disabled, QPalette::Base, base);
    p.setColor(QPalette::Disabled, QPalette::Button, button);
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, r, kInkDisabled);
    return p;
}

} // namespace pimavo::style
