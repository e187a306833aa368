#include "MenuText.h"

namespace pimavo {

QString titleFromMenuText(const QString& menuText) {
    QString out;
    for (qsizetype i = 0; i < menuText.size(); ++i) {
        if (menuText[i] == '&' && i + 1 < menuText.size()) ++i; // "&&" is a plain ampersand
        out += menuText[i];
    }
    while (out.endsWith(QChar(0x2026)) || out.endsWith('.')) out.chop(1);
    return out.trimmed();
}

} // namespace pimavo
