// The four services' panels: which fields each shows and where its choices are kept.
#include "sharing/ServicePage.h"

namespace pimavo::sharing {

namespace {} // namespace

FlickrPage::FlickrPage(std::unique_ptr<PhotoService> service, SharePageContext context, QWidget* parent)
    : ServicePage(ServiceKind::Flickr, std::move(service),
                  Fields{.title = true,
                         .description = true,
                         .descriptionLabel = tr("Description"),
                         .descriptionDefault = tr("Made with Pimavo"),
                         .tags = true,
                         .visibility = true,
                         .visibilityKept = Settings::ShareChoice::FlickrVisibility},
                  std::move(context), parent) {}

TumblrPage::TumblrPage(std::unique_ptr<PhotoService> service, SharePageContext context, QWidget* parent)
    : ServicePage(ServiceKind::Tumblr, std::move(service),
                  Fields{.description = true,
                         .descriptionLabel = tr("Caption"),
                         .descriptionDefault = tr("Made with Pimavo"),
                         .tags = true,
                         .destinations = true,
                         .destinationLabel = tr("Blog"),
                         .destinationKept = Settings::ShareChoice::TumblrBlog},
                  std::move(context), parent) {}

MastodonPage::MastodonPage(std::unique_ptr<PhotoService> service, SharePageContext context, QWidget* parent)
    : ServicePage(ServiceKind::Mastodon, std::move(service),
                  Fields{.description = true,
                         //: The text of the post (the noun)
                         .descriptionLabel = tr("Post"),
                         .descriptionDefault = tr("Made with Pimavo"),
                         .altText = true,
                         .visibility = true,
                         .visibilityKept = Settings::ShareChoice::MastodonVisibility},
                  std::move(context), parent) {}

// Albums are chosen afresh in every window: the last one used is rarely the next one.
FacebookPage::FacebookPage(std::unique_ptr<PhotoService> service, SharePageContext context, QWidget* parent)
    : ServicePage(ServiceKind::Facebook, std::move(service),
                  Fields{.description = true,
                         .descriptionLabel = tr("Caption"),
                         .descriptionDefault = tr("Made with Pimavo"),
                         .destinations = true,
                         .destinationLabel = tr("Album")},
                  std::move(context), parent) {}

} // namespace pimavo::sharing
