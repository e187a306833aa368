// The four services' panels: which fields each shows and where its choices are kept.
#include "core/Strings.h"
#include "sharing/ServicePage.h"

namespace pimavo::sharing {

namespace {
QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}
} // namespace

FlickrPage::FlickrPage(std::unique_ptr<PhotoService> service, SharePageContext context, QWidget* parent)
    : ServicePage(ServiceKind::Flickr, std::move(service),
                  Fields{.title = true,
                         .description = true,
                         .descriptionLabel = text("kShareDescription"),
                         .descriptionDefault = Strings::shared().string("kStringFlickrImageUploadText"),
                         .tags = true,
                         .visibility = true,
                         .visibilityKept = Settings::ShareChoice::FlickrVisibility},
                  std::move(context), parent) {}

TumblrPage::TumblrPage(std::unique_ptr<PhotoService> service, SharePageContext context, QWidget* parent)
    : ServicePage(ServiceKind::Tumblr, std::move(service),
                  Fields{.description = true,
                         .descriptionLabel = text("kShareCaption"),
                         .descriptionDefault = text("kStringTumblrImageUploadText"),
                         .tags = true,
                         .destinations = true,
                         .destinationLabel = text("kShareBlog"),
                         .destinationKept = Settings::ShareChoice::TumblrBlog},
                  std::move(context), parent) {}

MastodonPage::MastodonPage(std::unique_ptr<PhotoService> service, SharePageContext context, QWidget* parent)
    : ServicePage(ServiceKind::Mastodon, std::move(service),
                  Fields{.description = true,
                         .descriptionLabel = text("kSharePost"),
                         .descriptionDefault = text("kStringTwitterImageUploadText"),
                         .altText = true,
                         .visibility = true,
                         .visibilityKept = Settings::ShareChoice::MastodonVisibility},
                  std::move(context), parent) {}

// Albums are chosen afresh in every window: the last one used is rarely the next one.
FacebookPage::FacebookPage(std::unique_ptr<PhotoService> service, SharePageContext context, QWidget* parent)
    : ServicePage(ServiceKind::Facebook, std::move(service),
                  Fields{.description = true,
                         .descriptionLabel = text("kShareCaption"),
                         .descriptionDefault = text("kStringFacebookImageUploadText"),
                         .destinations = true,
                         .destinationLabel = text("kShareAlbum")},
                  std::move(context), parent) {}

} // namespace pimavo::sharing
