// The sharing pane: the pop-up list under the window's share button with the ways the picture can
// leave the editor. It reports the chosen way and closes; a press beside it, or a window resize,
// only closes it.
#pragma once

#include "widgets/PopupList.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

namespace pimavo::sharing {

enum class SharingRoute { Mail, Flickr, Tumblr, Mastodon, Facebook, Print };

class SharingPane : public QObject {
    Q_OBJECT
public:
    // `anchor`: the share button's rectangle in `host`, which the list covers.
    SharingPane(QWidget* host, const QRect& anchor);
    ~SharingPane() override;

    static const std::vector<SharingRoute>& routes();
    static QString routeTitle(SharingRoute route);

    void show();
    // Takes the list away without choosing.
    void close();
    bool isShown() const { return list_ != nullptr; }
    PopupList* list() const { return list_; }

    // The chosen way, on the next pass of the event loop once the list is gone.
    std::function<void(SharingRoute)> onRoute;
    // The list went, chosen or not.
    std::function<void()> onClose;

    static constexpr int kWidth = 180;

private:
    void chooseRow(int index);

    QPointer<QWidget> host_;
    QRect anchor_;
    QPointer<PopupList> list_;
};

} // namespace pimavo::sharing
