// The keys a service gives a program registered with it (Flickr, Tumblr). They are looked up in
// this order: the build's own (CMake options PIMAVO_FLICKR_KEY and so on), the environment variable
// of the same name, and the preferences ("sharing/flickrKey", "sharing/flickrSecret", ...).
#pragma once

#include "sharing/services/PhotoService.h"

#include <QString>

namespace pimavo::sharing {

struct ApplicationKey {
    QString key, secret;
    bool isComplete() const { return !key.isEmpty() && !secret.isEmpty(); }
};

ApplicationKey applicationKey(ServiceKind kind);

// One or two sentences on how to give the program the service's keys.
QString missingKeyAdvice(ServiceKind kind, const QString& displayName);

} // namespace pimavo::sharing
