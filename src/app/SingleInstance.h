// One editor per user session: a photo opened from the desktop while Pimavo runs goes to the
// running editor's window instead of starting a second one.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QLocalServer;

namespace pimavo {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `key` names the session's channel (tests use their own).
    explicit SingleInstance(const QString& key = defaultKey());
    ~SingleInstance() override;

    // Hands the paths (perhaps none: come to the front) to a running editor; true when one took
    // them, and this process should end.
    bool sendToRunning(const QStringList& paths, int timeoutMs = 1000);
    // Becomes the running editor: paths sent by later launches arrive at `onOpen`.
    bool listen(std::function<void(const QStringList&)> onOpen);

    static QString defaultKey();

private:
    QString key_;
    QLocalServer* server_ = nullptr;
    std::function<void(const QStringList&)> onOpen_;
};

} // namespace pimavo
