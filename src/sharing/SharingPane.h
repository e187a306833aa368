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

class SharingPane : public QObject, public PopupListDataSource, public PopupListDelegate {
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

    QStringList tqPopoverViewTableViewCellsArray(PopupList*) override;
    int tqPopoverViewSelectedCellIndex(PopupList*) override { return -1; }
    QFont tqPopoverViewFont(PopupList*) override;
    int tqPopoverViewTableViewWidth(PopupList*) override { return kWidth; }
    int tqPopoverViewTableCellHeight(PopupList*) override { return 28; }
    int tqPopoverViewMaxPopoverHeight(PopupList*) override { return 800; }
    void tqPopoverViewDidSelectCellAtIndex(PopupList* list, int index) override;
    void tqPopoverViewWantsRelease(PopupList* list, bool release) override;
    bool tqPopoverViewHasBottomSeparatorAtIndex(PopupList*, int index) override;

    static constexpr int kWidth = 180;

private:
    QPointer<QWidget> host_;
    QRect anchor_;
    QPointer<PopupList> list_;
};

} // namespace pimavo::sharing
