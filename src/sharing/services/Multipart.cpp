#include "sharing/services/Multipart.h"

#include <QFile>
#include <QFileInfo>
#include <QHttpMultiPart>

namespace pimavo::sharing {

namespace {

QByteArray quoted(const QString& text) {
    // Quotes and line breaks would end the header early; browsers send them escaped this way.
    QByteArray bytes = text.toUtf8();
    bytes.replace('"', "%22").replace('\r', "%0D").replace('\n', "%0A");
    return '"' + bytes + '"';
}

QHttpPart textPart(const QString& name, const QByteArray& contentType, const QByteArray& data) {
    QHttpPart part;
    part.setRawHeader("Content-Disposition", "form-data; name=" + quoted(name));
    if (!contentType.isEmpty()) part.setRawHeader("Content-Type", contentType);
    part.setBody(data);
    return part;
}

} // namespace

QHttpMultiPart* multipartWithFile(const std::vector<TypedPart>& typed, const FormFields& fields,
                                  const QString& fileField, const QString& filePath, const QString& fileName,
                                  const QByteArray& contentType) {
    auto* file = new QFile(filePath);
    if (!file->open(QIODevice::ReadOnly)) {
        delete file;
        return nullptr;
    }
    auto* body = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    file->setParent(body);
    for (const TypedPart& part : typed) body->append(textPart(part.name, part.contentType, part.data));
    for (const auto& [name, value] : fields) body->append(textPart(name, {}, value.toUtf8()));
    QHttpPart photo;
    photo.setRawHeader("Content-Disposition",
                       "form-data; name=" + quoted(fileField) + "; filename=" +
                           quoted(fileName.isEmpty() ? QFileInfo(filePath).fileName() : fileName));
    photo.setRawHeader("Content-Type", contentType);
    photo.setBodyDevice(file);
    body->append(photo);
    return body;
}

} // namespace pimavo::sharing
