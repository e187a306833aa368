#include "sharing/services/ApplicationKeys.h"

#include "core/Settings.h"

#ifndef PIMAVO_FLICKR_KEY
#define PIMAVO_FLICKR_KEY ""
#endif
#ifndef PIMAVO_FLICKR_SECRET
#define PIMAVO_FLICKR_SECRET ""
#endif
#ifndef PIMAVO_TUMBLR_KEY
#define PIMAVO_TUMBLR_KEY ""
#endif
#ifndef PIMAVO_TUMBLR_SECRET
#define PIMAVO_TUMBLR_SECRET ""
#endif

#include <QCoreApplication>

namespace pimavo::sharing {

namespace {

// What a user is told about the keys a service needs.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(pimavo::sharing::ApplicationKeys)
};

QString lookUp(const char* built, const char* variable, Settings::ServiceKey stored) {
    if (*built) return QString::fromUtf8(built);
    if (const QString value = qEnvironmentVariable(variable).trimmed(); !value.isEmpty()) return value;
    return Settings::standard().serviceKey(stored);
}

} // namespace

ApplicationKey applicationKey(ServiceKind kind) {
    switch (kind) {
    case ServiceKind::Flickr:
        return {lookUp(PIMAVO_FLICKR_KEY, "PIMAVO_FLICKR_KEY", Settings::ServiceKey::FlickrKey),
                lookUp(PIMAVO_FLICKR_SECRET, "PIMAVO_FLICKR_SECRET", Settings::ServiceKey::FlickrSecret)};
    case ServiceKind::Tumblr:
        return {lookUp(PIMAVO_TUMBLR_KEY, "PIMAVO_TUMBLR_KEY", Settings::ServiceKey::TumblrKey),
                lookUp(PIMAVO_TUMBLR_SECRET, "PIMAVO_TUMBLR_SECRET", Settings::ServiceKey::TumblrSecret)};
    default:
        return {};
    }
}

QString missingKeyAdvice(ServiceKind kind, const QString& displayName) {
    const QString upper = serviceKey(kind).toUpper();
    return Texts::tr("This copy of Pimavo has no keys for %1. Register the program with the service and set "
                     "%2 and %3 in the environment or in the Preferences.")
        .arg(displayName, "PIMAVO_" + upper + "_KEY", "PIMAVO_" + upper + "_SECRET");
}

} // namespace pimavo::sharing
