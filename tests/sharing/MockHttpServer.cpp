#include "MockHttpServer.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace pimavo::sharing::testing {

namespace {

QString decodeForm(QByteArray text) {
    text.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

QByteArray reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 201:
        return "Created";
    case 202:
        return "Accepted";
    case 206:
        return "Partial Content";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 413:
        return "Payload Too Large";
    case 422:
        return "Unprocessable Entity";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

// RFC 5849 section 3.6: unreserved characters stay, everything else is %XX in upper case.
QByteArray encode(const QString& text) {
    return QUrl::toPercentEncoding(text, "-._~");
}

} // namespace

QString HttpRequest::signedAddress() const {
    return "http://" + QString::fromLatin1(header("host")) + path;
}

std::vector<std::pair<QString, QString>> HttpRequest::form() const {
    std::vector<std::pair<QString, QString>> fields;
    for (const QByteArray& pair : body.split('&')) {
        if (pair.isEmpty()) continue;
        const qsizetype eq = pair.indexOf('=');
        fields.emplace_back(decodeForm(pair.left(eq)), eq < 0 ? QString() : decodeForm(pair.mid(eq + 1)));
    }
    return fields;
}

QString HttpRequest::formValue(const QString& name) const {
    for (const auto& [n, v] : form())
        if (n == name) return v;
    return {};
}

QString HttpRequest::bearer() const {
    const QByteArray value = header("authorization");
    return value.startsWith("Bearer ") ? QString::fromUtf8(value.mid(7)) : QString();
}

HttpResponse HttpResponse::redirect(const QUrl& to) {
    HttpResponse response{302, "text/html", "<a>moved</a>", {}};
    response.headers.push_back({"Location", to.toEncoded()});
    return response;
}

std::vector<MultipartPart> multipartParts(const HttpRequest& request) {
    std::vector<MultipartPart> parts;
    const QByteArray type = request.header("content-type");
    const QRegularExpression boundaryRe(QStringLiteral("boundary=\"?([^\";]+)\"?"));
    const auto match = boundaryRe.match(QString::fromLatin1(type));
    if (!type.startsWith("multipart/form-data") || !match.hasMatch()) return parts;
    const QByteArray delimiter = "--" + match.captured(1).toLatin1();
    const QByteArray& body = request.body;
    qsizetype at = body.indexOf(delimiter);
    while (at >= 0) {
        at += delimiter.size();
        if (body.mid(at, 2) == "--") break;
        at += 2; // CRLF
        const qsizetype headerEnd = body.indexOf("\r\n\r\n", at);
        if (headerEnd < 0) break;
        MultipartPart part;
        for (const QByteArray& line : body.mid(at, headerEnd - at).split('\n')) {
            const QByteArray l = line.trimmed();
            if (l.toLower().startsWith("content-disposition:")) {
                const QRegularExpression name(QStringLiteral("\\bname=\"([^\"]*)\""));
                const QRegularExpression file(QStringLiteral("filename=\"([^\"]*)\""));
                part.name = name.match(QString::fromUtf8(l)).captured(1);
                part.fileName = file.match(QString::fromUtf8(l)).captured(1);
            } else if (l.toLower().startsWith("content-type:")) {
                part.contentType = l.mid(13).trimmed();
            }
        }
        const qsizetype dataStart = headerEnd + 4;
        const qsizetype next = body.indexOf("\r\n" + delimiter, dataStart);
        if (next < 0) break;
        part.data = body.mid(dataStart, next - dataStart);
        parts.push_back(std::move(part));
        at = next + 2;
    }
    return parts;
}

const MultipartPart* findPart(const std::vector<MultipartPart>& parts, const QString& name) {
    for (const MultipartPart& p : parts)
        if (p.name == name) return &p;
    return nullptr;
}

bool isJpeg(const QByteArray& data) {
    return data.size() > 4 && data.startsWith("\xFF\xD8") && data.endsWith("\xFF\xD9");
}

MockHttpServer::MockHttpServer(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                buffers_.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

MockHttpServer::~MockHttpServer() = default;

bool MockHttpServer::listen() {
    return server_->listen(QHostAddress::LocalHost, 0);
}

QUrl MockHttpServer::base() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server_->serverPort()));
}

void MockHttpServer::answerNextWith(const QString& path, const HttpResponse& response) {
    overrides_.insert(path, response);
}

void MockHttpServer::dropNextAfter(const QString& path, qint64 bytes, int times) {
    drops_.insert(path, {bytes, times});
}

int MockHttpServer::count(const QString& path) const {
    return int(std::count_if(requests_.begin(), requests_.end(),
                             [&](const HttpRequest& r) { return r.path == path; }));
}

void MockHttpServer::delayNextAnswer(const QString& path, int ms, int times) {
    delays_.insert(path, {ms, times});
}

void MockHttpServer::readFrom(QTcpSocket* socket) {
    QByteArray& buffer = buffers_[socket];
    buffer += socket->readAll();
    for (;;) {
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0) return;
        HttpRequest request;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.target = first.value(1);
        const QUrl target = QUrl::fromEncoded(request.target);
        request.path = target.path();
        request.query = QUrlQuery(target);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines[i].trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon > 0)
                request.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
        }
        const qint64 length = request.header("content-length").toLongLong();
        const auto drop = drops_.find(request.path);
        if (drop != drops_.end() && buffer.size() - headerEnd - 4 >= drop->bytes) {
            if (--drop->times <= 0) drops_.erase(drop);
            requests_.push_back(request);
            buffers_.remove(socket);
            socket->abort();
            return;
        }
        if (buffer.size() - headerEnd - 4 < length) return;
        request.body = buffer.mid(headerEnd + 4, length);
        buffer.remove(0, headerEnd + 4 + length);
        requests_.push_back(request);

        HttpResponse response;
        if (auto it = overrides_.find(request.path); it != overrides_.end()) {
            response = *it;
            overrides_.erase(it);
        } else if (handler_) {
            response = handler_(request);
        } else {
            response = {404, "text/plain", "no handler", {}};
        }
        QByteArray out =
            "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reason(response.status) + "\r\n";
        out += "Content-Type: " + response.contentType + "\r\n";
        out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        for (const auto& [name, value] : response.headers) out += name + ": " + value + "\r\n";
        out += "\r\n" + response.body;
        if (auto delay = delays_.find(request.path); delay != delays_.end()) {
            const int ms = delay->ms;
            if (--delay->times <= 0) delays_.erase(delay);
            QTimer::singleShot(ms, socket, [socket, out] { socket->write(out); });
            continue;
        }
        socket->write(out);
    }
}

QHash<QString, QString> oauthParameters(const HttpRequest& request) {
    QHash<QString, QString> params;
    QByteArray header = request.header("authorization");
    if (!header.startsWith("OAuth ")) return params;
    header = header.mid(6);
    for (const QByteArray& item : header.split(',')) {
        const QByteArray t = item.trimmed();
        const qsizetype eq = t.indexOf('=');
        if (eq < 0) continue;
        QByteArray value = t.mid(eq + 1);
        if (value.startsWith('"') && value.endsWith('"')) value = value.mid(1, value.size() - 2);
        params.insert(QString::fromLatin1(t.left(eq)),
                      QString::fromUtf8(QByteArray::fromPercentEncoding(value)));
    }
    return params;
}

QString checkOAuth1(const HttpRequest& request, const QString& consumerKey, const QString& consumerSecret,
                    const QString& tokenSecret,
                    const std::vector<std::pair<QString, QString>>& bodyParameters) {
    const QHash<QString, QString> oauth = oauthParameters(request);
    if (oauth.isEmpty()) return QStringLiteral("no OAuth Authorization header");
    if (oauth.value("oauth_consumer_key") != consumerKey) return QStringLiteral("wrong consumer key");
    if (oauth.value("oauth_signature_method") != QLatin1String("HMAC-SHA1"))
        return QStringLiteral("signature method is not HMAC-SHA1");
    if (oauth.value("oauth_nonce").isEmpty() || oauth.value("oauth_timestamp").isEmpty())
        return QStringLiteral("no nonce or timestamp");
    std::vector<std::pair<QByteArray, QByteArray>> params;
    for (auto it = oauth.cbegin(); it != oauth.cend(); ++it)
        if (it.key() != QLatin1String("oauth_signature") && it.key() != QLatin1String("realm"))
            params.emplace_back(encode(it.key()), encode(it.value()));
    for (const auto& [k, v] : request.query.queryItems(QUrl::FullyDecoded))
        params.emplace_back(encode(k), encode(v));
    for (const auto& [k, v] : bodyParameters) params.emplace_back(encode(k), encode(v));
    std::sort(params.begin(), params.end());
    QByteArray normalised;
    for (const auto& [k, v] : params) {
        if (!normalised.isEmpty()) normalised += '&';
        normalised += k + '=' + v;
    }
    const QByteArray base = request.method + '&' + encode(request.signedAddress()) + '&' +
                            encode(QString::fromLatin1(normalised));
    const QByteArray key = encode(consumerSecret) + '&' + encode(tokenSecret);
    const QByteArray expected =
        QMessageAuthenticationCode::hash(base, key, QCryptographicHash::Sha1).toBase64();
    if (expected != oauth.value("oauth_signature").toLatin1())
        return QStringLiteral("signature does not match the request");
    return {};
}

} // namespace pimavo::sharing::testing
