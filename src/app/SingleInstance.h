// One editor per desktop session: a photo opened from the desktop while Pimavo runs goes to the
// running editor's window instead of starting a second one. A launch on another display, or in
// another login session of the same user, starts its own editor: handing its photo to a window the
// user cannot see would put a question about unsaved work on the wrong screen.
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
    // them, and this process should end. `timeoutMs` limits the wait for a connection; an editor
    // that accepted it is given longer to answer, as it may be busy.
    bool sendToRunning(const QStringList& paths, int timeoutMs = 1000);
    // Becomes the running editor: paths sent by later launches arrive at `onOpen`. False when the
    // channel cannot be had, or another editor still answers on it.
    bool listen(std::function<void(const QStringList&)> onOpen);

    // The channel of this process's desktop session, from XDG_RUNTIME_DIR and the display.
    static QString defaultKey();
    // The channel of a session: a socket in its runtime folder (or the temporary folder), one per
    // display. ":0" and ":0.0" are one display.
    static QString keyFor(const QString& runtimeDir, const QString& display);

private:
    QString key_;
    QLocalServer* server_ = nullptr;
    std::function<void(const QStringList&)> onOpen_;
};

} // namespace pimavo
