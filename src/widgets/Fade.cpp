#include "Fade.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QWidget>

namespace pimavo {

// Two fades left to run side by side would end in any order, and the one ending on "fully shown"
// would remove the effect the other is still driving, which stops that one where it stands: a view
// left half faded, or a view meant to go away that stays.
void fade(QWidget* w, double to, int ms, std::function<void()> then) {
    static const char* const kName = "pimavoFade";
    for (auto* running : w->findChildren<QPropertyAnimation*>(kName, Qt::FindDirectChildrenOnly)) {
        running->disconnect(w);
        running->stop();
        delete running;
    }
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(w->graphicsEffect());
    if (!effect) {
        // A view with no effect is fully shown.
        effect = new QGraphicsOpacityEffect(w);
        effect->setOpacity(1.0);
        w->setGraphicsEffect(effect);
    }
    auto* a = new QPropertyAnimation(effect, "opacity", w);
    a->setObjectName(kName);
    a->setDuration(ms);
    a->setEndValue(to);
    QObject::connect(a, &QPropertyAnimation::finished, w, [w, to, then] {
        if (to >= 1.0) {
            w->setGraphicsEffect(nullptr); // no effect left on a fully shown view
            w->update();
        }
        if (then) then();
    });
    a->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace pimavo
