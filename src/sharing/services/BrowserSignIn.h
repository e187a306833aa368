// The browser step of signing in (RFC 8252): the service's page opens in the user's browser
// ($BROWSER, else xdg-open), and the service sends the browser back to a listener on 127.0.0.1 at
// a port the system chose. The listener answers the browser with a short page and hands the query
// of the address it was sent to, once, to whoever waits. Nobody answering within the time-out
// counts as a refusal.
//
// Also the small pieces of OAuth 2.0 that Qt 6.4 lacks: the PKCE verifier and its S256 challenge,
// and the `state` that ties the answer to the request.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <chrono>

class QTcpServer;
class QTcpSocket;

namespace pimavo::sharing {

class BrowserSignIn : public QObject {
    Q_OBJECT
public:
    explicit BrowserSignIn(QObject* parent = nullptr);
    ~BrowserSignIn() override;

    // Starts listening on `port`, or on any free port when 0; false when the port could not be had.
    bool listen(quint16 port = 0);
    // Where the service is to send the browser back: http://127.0.0.1:PORT/callback.
    QUrl redirectUri() const;
    // Opens the page and starts the clock; false (and nothing waits) when no browser could be run.
    bool open(const QUrl& page);

    // How long the user has for the browser step; tests shorten it.
    static void setTimeout(std::chrono::milliseconds timeout);

signals:
    void answered(const QUrlQuery& query);
    void timedOut();

private:
    void readRequest(QTcpSocket* socket);

    QTcpServer* server_;
    QTimer timer_;
    bool done_ = false;
};

// The browser named by $BROWSER (the first of a colon-separated list; "%s" stands for the address),
// else xdg-open, started detached; false when neither could be started.
bool openInBrowser(const QUrl& page);

// A random string of URL-safe characters from `bytes` random bytes.
QString randomToken(int bytes = 32);
// base64url(SHA-256(verifier)) without padding.
QString pkceChallenge(const QString& verifier);

} // namespace pimavo::sharing
