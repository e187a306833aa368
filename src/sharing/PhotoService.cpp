#include "sharing/PhotoService.h"

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

QString serviceKey(ServiceKind kind)
{
    for (const auto& k : kKeys)
        if (k.kind == kind)
            return QString::fromLatin1(k.key);
    return {};
}

bool serviceKindFromKey(const QString& key, ServiceKind& kind)
{
    for (const auto& k : kKeys) {
        if (key.compare(QLatin1String(k.key), Qt::CaseInsensitive) == 0) {
            kind = k.kind;
            return true;
        }
    }
    return false;
}

// No service is built yet: the window shows the services' tabs with nothing behind them.
std::unique_ptr<PhotoService> createPhotoService(ServiceKind, QObject*)
{
    return nullptr;
}

} // namespace pimavo::sharing
