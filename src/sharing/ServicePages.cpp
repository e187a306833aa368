// The four services' panels: which fields each shows and where its choices are kept.
#include "core/Strings.h"
#include "sharing/ServicePage.h"

namespace pimavo::sharing {

namespace {
QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}
} // namespace

FlickrPage::FlickrPage(std::unique_ptr<PhotoService> service,
                                               SharePageDelegate* delegate, QWidget* parent)
    : ServicePage(
          ServiceKind::Flickr, std::move(service),
          Fields{.title = true,
                 .description = true,
                 .descriptionLabel = text("kShareDescription"),
                 .descriptionDefault = Strings::shared().string("kStringFlickrImageUploadText"),
                 .tags = true,
                 .visibility = true,
                 .visibilityKey = "kFlickrVisibilityPopoverSelectedCellKey"},
          delegate, parent) {}

TumblrPage::TumblrPage(std::unique_ptr<PhotoService> service,
                                               SharePageDelegate* delegate, QWidget* parent)
    : ServicePage(ServiceKind::Tumblr, std::move(service),
                                   Fields{.description = true,
                                          .descriptionLabel = text("kShareCaption"),
                                          .descriptionDefault = text("kStringTumblrImageUploadText"),
                                          .tags = true,
                                          .destinations = true,
                                          .destinationLabel = text("kShareBlog"),
                                          .destinationKey = "kBlogsPopoverSelectedCellKey"},
                                   delegate, parent) {}

MastodonPage::MastodonPage(std::unique_ptr<PhotoService> service,
                                                   SharePageDelegate* delegate, QWidget* parent)
    : ServicePage(ServiceKind::Mastodon, std::move(service),
                                   Fields{.description = true,
                                          .descriptionLabel = text("kSharePost"),
                                          .descriptionDefault = text("kStringTwitterImageUploadText"),
                                          .altText = true,
                                          .visibility = true,
                                          .visibilityKey = "kMastodonVisibilityPopoverSelectedCellKey"},
                                   delegate, parent) {}

// Albums are chosen afresh in every window: the last one used is rarely the next one.
FacebookPage::FacebookPage(std::unique_ptr<PhotoService> service,
                                                   SharePageDelegate* delegate, QWidget* parent)
    : ServicePage(ServiceKind::Facebook, std::move(service),
                                   Fields{.description = true,
                                          .descriptionLabel = text("kShareCaption"),
                                          .descriptionDefault = text("kStringFacebookImageUploadText"),
                                          .destinations = true,
                                          .destinationLabel = text("kShareAlbum"),
                                          .destinationKey = "kAlbumsPopoverSelectedCellKey",
                                          .forgetDestination = true},
                                   delegate, parent) {}

} // namespace pimavo::sharing
