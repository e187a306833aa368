// multipart/form-data bodies for uploads: text fields, a JSON part, and the picture read from its
// file as the body is sent, so a large picture is never held in memory twice.
#pragma once

#include "sharing/services/NetworkClient.h"

#include <QByteArray>
#include <QString>
#include <vector>

class QHttpMultiPart;
class QObject;

namespace pimavo::sharing {

// A part with its own content type, such as a post's JSON.
struct TypedPart {
    QString name;
    QByteArray contentType, data;
};

// The typed parts, the fields, then the file under `fileField`; null when the file cannot be read.
QHttpMultiPart* multipartWithFile(const std::vector<TypedPart>& typed, const FormFields& fields,
                                  const QString& fileField, const QString& filePath,
                                  const QString& fileName = {}, const QByteArray& contentType = "image/jpeg");

} // namespace pimavo::sharing
