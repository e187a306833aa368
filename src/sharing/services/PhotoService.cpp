#include "sharing/services/PhotoService.h"

#include "sharing/services/FacebookService.h"
#include "sharing/services/FlickrService.h"
#include "sharing/services/MastodonService.h"
#include "sharing/services/TumblrService.h"

#include <array>

namespace pimavo::sharing {

namespace {
struct KindKey {
    ServiceKind kind;
    const char* key;
};
constexpr std::array<KindKey, 4> kKeys{{{ServiceKind::Flickr, "flickr"},
                                        {ServiceKind::Tumblr, "tumblr"},
                                        {ServiceKind::Mastodon, "mastodon"},
                                        {ServiceKind::Facebook, "facebook"}}};
} // namespace

QString serviceKey(ServiceKind kind) {
    for (const auto& k : kKeys)
        if (k.kind == kind) return QString::fromLatin1(k.key);
    return {};
}

bool serviceKindFromKey(const QString& key, ServiceKind& kind) {
    for (const auto& k : kKeys) {
        if (key.compare(QLatin1String(k.key), Qt::CaseInsensitive) == 0) {
            kind = k.kind;
            return true;
        }
    }
    return false;
}

std::unique_ptr<PhotoService> createPhotoService(ServiceKind kind, QObject* parent) {
    switch (kind) {
    case ServiceKind::Flickr:
        return std::make_unique<FlickrService>(parent);
    case ServiceKind::Tumblr:
        return std::make_unique<TumblrService>(parent);
    case ServiceKind::Mastodon:
        return std::make_unique<MastodonService>(parent);
    case ServiceKind::Facebook:
        return std::make_unique<FacebookService>(parent);
    }
    return nullptr;
}

} // namespace pimavo::sharing
