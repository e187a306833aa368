// The editing window's start screen: over the window while it holds no photo, with Open, the most
// recent photo and its thumbnail, and Import; a photo dropped or pasted on it opens.
#pragma once

#include "StartScreen.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <memory>

namespace pimavo {

class EditorWindow;
namespace Dispatch {
class DelayedPerform;
}

class WindowStart : public QObject {
    Q_OBJECT
public:
    explicit WindowStart(EditorWindow* window);

    void show();
    // Shown once the window's event loop runs, unless a photo is on its way by then.
    void showSoon();
    void hide();
    bool isShown() const { return screen_ != nullptr; }
    // A photo is on its way: the start screen is not to flash up before it (a failed opening
    // shows it).
    void hold();
    // The start screen's view while it is up.
    QWidget* view() const;
    // Its panel and the row of its buttons, in global coordinates (empty while it is not on
    // screen): what the welcome window keeps clear of.
    QRect panelRect() const;
    QRect buttonsRect() const;

private:
    EditorWindow* window_;
    QPointer<StartScreen> screen_;
    std::shared_ptr<Dispatch::DelayedPerform> pending_;
};

} // namespace pimavo
