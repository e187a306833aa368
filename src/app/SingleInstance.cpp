#include "SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QVariant>
#include <algorithm>
#include <unistd.h>

namespace pimavo {

QString SingleInstance::keyFor(const QString& runtimeDir, const QString& display) {
    QString screen = display;
    // An X display's screen number is not another session.
    if (const auto colon = screen.lastIndexOf(':'); colon >= 0) {
        const auto dot = screen.indexOf('.', colon);
        if (dot >= 0) screen.truncate(dot);
    }
    QString name;
    for (const QChar c : screen) name += c.isLetterOrNumber() || c == '-' || c == '_' ? c : QChar('_');
    if (name.isEmpty()) name = QStringLiteral("none");
    if (!runtimeDir.isEmpty() && QFileInfo(runtimeDir).isDir())
        return QDir(runtimeDir).filePath(QStringLiteral("pimavo-%1.socket").arg(name));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("pimavo-%1-%2.socket").arg(::getuid()).arg(name));
}

QString SingleInstance::defaultKey() {
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    const QString display =
        !wayland.isEmpty() ? QFileInfo(wayland).fileName() : qEnvironmentVariable("DISPLAY");
    return keyFor(qEnvironmentVariable("XDG_RUNTIME_DIR"), display);
}

SingleInstance::SingleInstance(const QString& key) : key_(key) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::sendToRunning(const QStringList& paths, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write((paths.join('\n') + "\n\n").toUtf8());
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    // The running editor answers once it has the paths, when its event loop next comes round: it
    // may be busy a while (opening a large photo, writing a file), and this launch waits for it
    // rather than start a second editor beside it.
    constexpr int kAnswerMs = 30000;
    return socket.waitForReadyRead(std::max(timeoutMs, kAnswerMs)) && socket.readAll().startsWith("ok");
}

bool SingleInstance::listen(std::function<void(const QStringList&)> onOpen) {
    onOpen_ = std::move(onOpen);
    // A channel an editor still answers on stays its own: taking it over would leave that editor
    // unreachable (and listening with access options puts the new socket in place of the old one
    // without asking). This one then runs without a channel.
    {
        QLocalSocket probe;
        probe.connectToServer(key_);
        if (probe.waitForConnected(500)) return false;
    }
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(key_)) {
        // A channel left by an editor that did not end cleanly.
        QLocalServer::removeServer(key_);
        if (!server_->listen(key_)) return false;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                // Collected until the blank line that ends the list.
                const QByteArray all = client->property("received").toByteArray() + client->readAll();
                client->setProperty("received", all);
                if (!all.endsWith("\n\n")) return;
                client->write("ok");
                client->flush();
                const QStringList paths = QString::fromUtf8(all).split('\n', Qt::SkipEmptyParts);
                if (onOpen_) onOpen_(paths); // no paths: just come to the front
            });
        }
    });
    return true;
}

} // namespace pimavo
