// A small HTTP/1.1 server on 127.0.0.1 for the sharing tests and benchmark: requests are read whole
// (headers and a Content-Length body) and answered by a handler, one connection at a time per
// socket. The fake services on top check what a real service checks and keep what they found wrong
// in `problems`, so a test asserts both the program's result and that the service was satisfied.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>
#include <functional>
#include <optional>
#include <vector>

class QTcpServer;
class QTcpSocket;

namespace pimavo::sharing::testing {

struct HttpRequest {
    QByteArray method;
    QByteArray target; // path and query as sent
    QString path;
    QUrlQuery query;
    QHash<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;

    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
    // The address the client signed: http://HOST:PORT/path, no query.
    QString signedAddress() const;
    // The form body as name-value pairs, decoded ("+" is a space).
    std::vector<std::pair<QString, QString>> form() const;
    QString formValue(const QString& name) const;
    // The token of an "Authorization: Bearer" header.
    QString bearer() const;
};

struct MultipartPart {
    QString name, fileName;
    QByteArray contentType, data;
};
// The parts of a multipart/form-data body; empty when it is not one.
std::vector<MultipartPart> multipartParts(const HttpRequest& request);
const MultipartPart* findPart(const std::vector<MultipartPart>& parts, const QString& name);

struct HttpResponse {
    int status = 200;
    QByteArray contentType = "application/json";
    QByteArray body;
    std::vector<std::pair<QByteArray, QByteArray>> headers;

    static HttpResponse json(int status, const QByteArray& body) {
        return {status, "application/json", body, {}};
    }
    static HttpResponse redirect(const QUrl& to);
};

class MockHttpServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    explicit MockHttpServer(QObject* parent = nullptr);
    ~MockHttpServer() override;

    bool listen();
    QUrl base() const;
    void setHandler(Handler handler) { handler_ = std::move(handler); }

    // The next request to `path` gets `response` instead of the handler's answer.
    void answerNextWith(const QString& path, const HttpResponse& response);
    // The next `times` requests to `path` lose their connection once `bytes` of their body have
    // arrived. (Qt sends a request again, once, when a kept-alive connection drops under it.)
    void dropNextAfter(const QString& path, qint64 bytes, int times = 1);

    // The next `times` requests to `path` are handled at once (whatever they do is done) but
    // answered only `ms` later: a server that is slow to say so.
    void delayNextAnswer(const QString& path, int ms, int times = 1);

    const std::vector<HttpRequest>& requests() const { return requests_; }
    int count(const QString& path) const;

    QStringList problems;

private:
    void readFrom(QTcpSocket* socket);

    QTcpServer* server_;
    Handler handler_;
    std::vector<HttpRequest> requests_;
    QHash<QString, HttpResponse> overrides_;
    struct Drop {
        qint64 bytes;
        int times;
    };
    QHash<QString, Drop> drops_;
    struct Delay {
        int ms;
        int times;
    };
    QHash<QString, Delay> delays_;
    QHash<QTcpSocket*, QByteArray> buffers_;
};

// OAuth 1.0a signature check, written apart from the program's signing: the parameters of the
// Authorization header, the query and `bodyParameters`, with the consumer's and token's secrets.
// Empty when the signature is right, else why not.
QString checkOAuth1(const HttpRequest& request, const QString& consumerKey, const QString& consumerSecret,
                    const QString& tokenSecret,
                    const std::vector<std::pair<QString, QString>>& bodyParameters);
// The oauth_* parameters of the Authorization header, decoded.
QHash<QString, QString> oauthParameters(const HttpRequest& request);

bool isJpeg(const QByteArray& data);

} // namespace pimavo::sharing::testing
