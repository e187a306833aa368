// The backdrop around the picture: four greys (0 dark grey, 1 grey, 2 medium grey, 3 light grey),
// chosen from the View menu or from the list a right click on the backdrop opens, and kept in the
// settings.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

namespace pimavo {

class EditorWindow;
class PopupList;

// The patterns the backdrops are painted with.
inline constexpr const char* kBackdropPatterns[4] = {"back_dark_grey", "back_grey", "back_medium_grey",
                                                     "back_light_grey"};

class WindowBackdrop : public QObject {
    Q_OBJECT
public:
    explicit WindowBackdrop(EditorWindow* window);

    // A backdrop's name, as the View menu, the backdrop's list and the preferences show it.
    static QString name(int index);

    int index() const;
    // Kept in the settings and shown.
    void choose(int index);
    // Shows one without keeping it (the preferences preview them); `index()` shows the kept one.
    void show(int index);
    // On the lightest backdrop the side shadows would look like dirt: they go.
    bool areSideShadowsShown() const;
    // The list of backdrops, opened at a point of the window's content.
    void popUpFrom(QPoint point);

private:
    EditorWindow* window_;
    QPointer<PopupList> list_;
};

} // namespace pimavo
