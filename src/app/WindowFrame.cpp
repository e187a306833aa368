#include "WindowFrame.h"

#include "core/Settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace pimavo {

QRect frameOnScreens(const QRect& saved, const QList<QRect>& screens, QSize fallback) {
    if (screens.isEmpty()) return saved.isValid() ? saved : QRect(QPoint(0, 0), fallback);
    const QRect* best = nullptr;
    qint64 bestArea = 0;
    if (saved.isValid())
        for (const QRect& screen : screens) {
            const QRect common = screen.intersected(saved);
            const qint64 area = qint64(common.width()) * common.height();
            if (area > bestArea) bestArea = area, best = &screen;
        }
    if (!best) {
        const QRect& primary = screens.front();
        const QSize size = fallback.boundedTo(primary.size());
        return QRect(primary.center() - QPoint(size.width() / 2, size.height() / 2), size);
    }
    // On the screen it was most on, whole: a screen that shrank since leaves no part out of reach.
    QRect r(saved.topLeft(), saved.size().boundedTo(best->size()));
    if (r.right() > best->right()) r.moveRight(best->right());
    if (r.bottom() > best->bottom()) r.moveBottom(best->bottom());
    if (r.left() < best->left()) r.moveLeft(best->left());
    if (r.top() < best->top()) r.moveTop(best->top());
    return r;
}

// Wayland's compositor puts a window where it likes and tells it nothing, so only the size of a
// frame means anything there.
bool windowsPlacedByCompositor() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void restoreFrame(QWidget& window, const Settings& settings) {
    // The window's own area goes below its title bar, which must stay on the screen too, or the
    // window could not be moved: room for one above the area each screen offers.
    constexpr int titleBar = 32;
    QList<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens << primary->availableGeometry().adjusted(0, titleBar, 0, 0);
    for (QScreen* s : QGuiApplication::screens())
        if (s != QGuiApplication::primaryScreen())
            screens << s->availableGeometry().adjusted(0, titleBar, 0, 0);
    const QRect saved = settings.windowFrame().value_or(QRect());
    const QSize room = screens.isEmpty() ? QSize(1440, 900) : screens.front().size();
    const QSize fallback(std::min(1440, room.width() * 9 / 10), std::min(900, room.height() * 9 / 10));
    if (windowsPlacedByCompositor()) {
        // The place was left on a desktop this one may not have, and it is of no use here; a size
        // kept as it was, within the screen, is what the user gets back.
        const QSize size = saved.isValid() ? saved.size().boundedTo(room) : fallback;
        window.resize(size.expandedTo(window.minimumSize()));
        if (settings.windowMaximized()) window.setWindowState(window.windowState() | Qt::WindowMaximized);
        return;
    }
    const QRect frame = frameOnScreens(saved, screens, fallback);
    // The window's own area, as saved (moving would place its frame there, and it would drift by
    // the title bar at every start).
    window.setGeometry(QRect(frame.topLeft(), frame.size().expandedTo(window.minimumSize())));
    if (settings.windowMaximized()) window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void saveFrame(const QWidget& window, Settings& settings) {
    QRect r = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    // The place a Wayland window reports is not where it is: the one kept from a desktop that
    // places windows stays for the next start there.
    if (windowsPlacedByCompositor()) r.moveTopLeft(settings.windowFrame().value_or(QRect()).topLeft());
    settings.setWindowFrame(r, window.isMaximized());
}

} // namespace pimavo
