// Texts derived from menu items' texts.
#pragma once

#include <QString>

namespace pimavo {

// A menu item's text as a window's title: without its shortcut marks ("&") or trailing ellipsis.
QString titleFromMenuText(const QString& menuText);

} // namespace pimavo
