#include "sharing/SharingPane.h"

#include "core/Dispatch.h"
#include "core/MenuText.h"
#include "widgets/WidgetStyle.h"

#include <QStandardItemModel>
#include <algorithm>

namespace pimavo::sharing {

const std::vector<SharingRoute>& SharingPane::routes() {
    static const std::vector<SharingRoute> all{SharingRoute::Mail,     SharingRoute::Flickr,
                                               SharingRoute::Tumblr,   SharingRoute::Mastodon,
                                               SharingRoute::Facebook, SharingRoute::Print};
    return all;
}

QString SharingPane::routeTitle(SharingRoute route) {
    switch (route) {
    case SharingRoute::Mail:
        //: Sharing by e-mail
        return tr("Mail");
    case SharingRoute::Flickr:
        return QStringLiteral("Flickr");
    case SharingRoute::Tumblr:
        return QStringLiteral("Tumblr");
    case SharingRoute::Mastodon:
        return QStringLiteral("Mastodon");
    case SharingRoute::Facebook:
        return QStringLiteral("Facebook");
    case SharingRoute::Print:
        return titleFromMenuText(tr("&Print…")) + QString::fromUtf8("\u2026");
    }
    return {};
}

SharingPane::SharingPane(QWidget* host, const QRect& anchor) : host_(host), anchor_(anchor) {}

SharingPane::~SharingPane() {
    delete list_.data();
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
    //: The name of the list of ways to share the picture, as a screen reader says it
    list->setAccessibleName(tr("Share"));
    auto* rows = new QStandardItemModel(list);
    for (SharingRoute r : routes()) {
        auto* row = new QStandardItem(routeTitle(r));
        // Printing is not sharing through a service: it sits apart.
        row->setData(r == SharingRoute::Facebook, PopupList::SeparatorBelowRole);
        rows->appendRow(row);
    }
    list->setModel(rows);
    list->setListWidth(kWidth);
    list->setRowHeight(28);
    connect(list, &PopupList::rowChosen, this, [this, list](int row) {
        if (list == list_) chooseRow(row);
    });
    connect(list, &PopupList::closeRequested, this, [this, list] {
        if (list == list_) close();
    });
    list_ = list;
    list->popUp();
}

void SharingPane::close() {
    if (!list_) return;
    PopupList* list = list_;
    list_ = nullptr;
    list->hide();
    list->deleteLater();
    if (onClose) onClose();
}

void SharingPane::chooseRow(int index) {
    if (index < 0 || index >= int(routes().size())) return;
    const SharingRoute route = routes()[std::size_t(index)];
    Dispatch::after(0, [self = QPointer(this), route] {
        if (self && self->onRoute) self->onRoute(route);
    });
}

} // namespace pimavo::sharing
