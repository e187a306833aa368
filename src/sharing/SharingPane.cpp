#include "sharing/SharingPane.h"

#include "core/Dispatch.h"
#include "core/Strings.h"
#include "widgets/WidgetStyle.h"

#include <algorithm>

namespace pimavo::sharing {

const std::vector<SharingRoute>& SharingPane::routes() {
    static const std::vector<SharingRoute> all{SharingRoute::Mail,     SharingRoute::Flickr,
                                               SharingRoute::Tumblr,   SharingRoute::Mastodon,
                                               SharingRoute::Facebook, SharingRoute::Print};
    return all;
}

QString SharingPane::routeTitle(SharingRoute route) {
    const Strings& s = Strings::shared();
    switch (route) {
    case SharingRoute::Mail:
        return s.localized("Mail");
    case SharingRoute::Flickr:
        return s.localized("Flickr");
    case SharingRoute::Tumblr:
        return s.localized("Tumblr");
    case SharingRoute::Mastodon:
        return s.localized("Mastodon");
    case SharingRoute::Facebook:
        return s.localized("Facebook");
    case SharingRoute::Print:
        return Strings::titleFromMenuText(s.localized("kMenuPrint")) + QString::fromUtf8("\u2026");
    }
    return {};
}

SharingPane::SharingPane(QWidget* host, const QRect& anchor) : host_(host), anchor_(anchor) {}

SharingPane::~SharingPane() {
    delete list_.data();
}

QStringList SharingPane::tqPopoverViewTableViewCellsArray(PopupList*) {
    QStringList rows;
    for (SharingRoute r : routes()) rows << routeTitle(r);
    return rows;
}

QFont SharingPane::tqPopoverViewFont(PopupList*) {
    return style::uiFont(13);
}

bool SharingPane::tqPopoverViewHasBottomSeparatorAtIndex(PopupList*, int index) {
    // Printing is not sharing through a service: it sits apart.
    return routes()[std::size_t(index)] == SharingRoute::Facebook;
}

void SharingPane::show() {
    if (list_ || !host_) return;
    const int n = int(routes().size());
    const int height = n * (28 - 1) + (n <= 9 ? 12 : 0);
    // Under the button, centred on it, kept inside the window.
    const int x = std::clamp(anchor_.center().x() - kWidth / 2, 4, std::max(4, host_->width() - kWidth - 4));
    const double bottomUp = host_->height() - (anchor_.bottom() + 1 + 4) - height;
    auto* list = new PopupList(host_->rect(), QPointF(x, bottomUp), host_);
    list->setObjectName("sharingPane");
    list->setDataSource(this);
    list->setDelegate(this);
    list_ = list;
    list->show();
}

void SharingPane::close() {
    if (!list_) return;
    PopupList* list = list_;
    list_ = nullptr;
    list->hide();
    list->deleteLater();
    if (onClose) onClose();
}

void SharingPane::tqPopoverViewDidSelectCellAtIndex(PopupList* list, int index) {
    if (list != list_ || index < 0 || index >= int(routes().size())) return;
    const SharingRoute route = routes()[std::size_t(index)];
    Dispatch::after(0, [self = QPointer(this), route] {
        if (self && self->onRoute) self->onRoute(route);
    });
}

void SharingPane::tqPopoverViewWantsRelease(PopupList* list, bool) {
    if (list == list_) close();
}

} // namespace pimavo::sharing
