#include "sharing/services/BrowserSignIn.h"

#include <QCryptographicHash>
#include <QHostAddress>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

namespace pimavo::sharing {

namespace {

// Long enough to type a password and approve the program, short enough that a forgotten browser
// tab does not keep the sign-in waiting for ever.
std::chrono::milliseconds gTimeout = std::chrono::minutes(4);

constexpr qsizetype kMaxRequestBytes = 16 * 1024;

const char kClosePage[] =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Pimavo</title></head>"
    "<body style=\"font-family:sans-serif;text-align:center;margin-top:4em\">"
    "<h1>Pimavo</h1><p>You can close this page and go back to Pimavo.</p></body></html>";

QByteArray base64Url(const QByteArray& bytes) {
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

} // namespace

BrowserSignIn::BrowserSignIn(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (done_) return;
        done_ = true;
        server_->close();
        emit timedOut();
    });
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        }
    });
}

BrowserSignIn::~BrowserSignIn() = default;

void BrowserSignIn::setTimeout(std::chrono::milliseconds timeout) {
    gTimeout = timeout;
}

bool BrowserSignIn::listen(quint16 port) {
    return server_->isListening() || server_->listen(QHostAddress::LocalHost, port);
}

QUrl BrowserSignIn::redirectUri() const {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(server_->serverPort());
    url.setPath(QStringLiteral("/callback"));
    return url;
}

bool BrowserSignIn::open(const QUrl& page) {
    if (!openInBrowser(page)) return false;
    timer_.start(gTimeout);
    return true;
}

void BrowserSignIn::readRequest(QTcpSocket* socket) {
    // Only the request line matters; the rest of the browser's request is read and left.
    QByteArray buffer = socket->property("request").toByteArray() + socket->readAll();
    if (buffer.size() > kMaxRequestBytes) {
        socket->abort();
        return;
    }
    const qsizetype end = buffer.indexOf("\r\n");
    if (end < 0) {
        socket->setProperty("request", buffer);
        return;
    }
    const QList<QByteArray> parts = buffer.left(end).split(' ');
    const QUrl target = parts.size() >= 2 ? QUrl::fromEncoded(parts[1]) : QUrl();
    const bool ours = parts.size() >= 2 && parts[0] == "GET" && target.path() == QLatin1String("/callback");
    const QByteArray body = ours ? QByteArray(kClosePage) : QByteArray("Not found");
    socket->write((ours ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                  QByteArray("Content-Type: text/html; charset=utf-8\r\nContent-Length: ") +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
    if (!ours || done_) return;
    done_ = true;
    timer_.stop();
    server_->close();
    emit answered(QUrlQuery(target));
}

bool openInBrowser(const QUrl& page) {
    const QString address = QString::fromUtf8(page.toEncoded());
    const QString browsers = qEnvironmentVariable("BROWSER");
    for (const QString& entry : browsers.split(':', Qt::SkipEmptyParts)) {
        QStringList words = QProcess::splitCommand(entry);
        if (words.isEmpty()) continue;
        const QString program = words.takeFirst();
        bool placed = false;
        for (QString& w : words) {
            if (w.contains(QLatin1String("%s"))) {
                w.replace(QLatin1String("%s"), address);
                placed = true;
            }
        }
        if (!placed) words << address;
        if (QProcess::startDetached(program, words)) return true;
    }
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    return !xdgOpen.isEmpty() && QProcess::startDetached(xdgOpen, {address});
}

QString randomToken(int bytes) {
    QByteArray random(bytes, Qt::Uninitialized);
    for (char& c : random) c = char(QRandomGenerator::system()->bounded(256));
    return QString::fromLatin1(base64Url(random));
}

QString pkceChallenge(const QString& verifier) {
    return QString::fromLatin1(
        base64Url(QCryptographicHash::hash(verifier.toLatin1(), QCryptographicHash::Sha256)));
}

} // namespace pimavo::sharing
