#include "sharing/ApplicationKeys.h"

#include "core/Strings.h"

#include <QSettings>

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

namespace pimavo::sharing {

namespace {

QString lookUp(const char* built, const char* variable, const QString& settingsKey)
{
    if (*built)
        return QString::fromUtf8(built);
    if (const QString value = qEnvironmentVariable(variable).trimmed(); !value.isEmpty())
        return value;
    return QSettings(QStringLiteral("Pimavo"), QStringLiteral("Pimavo")).value(settingsKey).toString().trimmed();
}

} // namespace

ApplicationKey applicationKey(ServiceKind kind)
{
    switch (kind) {
    case ServiceKind::Flickr:
        return {lookUp(PIMAVO_FLICKR_KEY, "PIMAVO_FLICKR_KEY", QStringLiteral("sharing/flickrKey")),
                lookUp(PIMAVO_FLICKR_SECRET, "PIMAVO_FLICKR_SECRET", QStringLiteral("sharing/flickrSecret"))};
    case ServiceKind::Tumblr:
        return {lookUp(PIMAVO_TUMBLR_KEY, "PIMAVO_TUMBLR_KEY", QStringLiteral("sharing/tumblrKey")),
                lookUp(PIMAVO_TUMBLR_SECRET, "PIMAVO_TUMBLR_SECRET", QStringLiteral("sharing/tumblrSecret"))};
    default:
        return {};
    }
}

QString missingKeyAdvice(ServiceKind kind, const QString& displayName)
{
    const QString upper = serviceKey(kind).toUpper();
    return Strings::format(Strings::shared().localized("kShareMissingKeys"),
                           {displayName, "PIMAVO_" + upper + "_KEY", "PIMAVO_" + upper + "_SECRET"});
}

} // namespace pimavo::sharing
