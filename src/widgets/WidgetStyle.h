// The colours and type of the interface, in one place.
#pragma once

#include <QColor>
#include <QFont>

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

} // namespace pimavo::style
