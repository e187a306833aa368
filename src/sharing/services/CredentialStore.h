// Where the services keep their secrets: the system keyring (Secret Service through QtKeychain),
// one entry per name under the service "Pimavo", so the editor and pimavo-cli see the same sign-in.
// With no keyring reachable the secrets are kept in memory for this session only, and
// isTemporary() says so from the first failed keyring call on. Nothing secret goes to QSettings.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

namespace pimavo::sharing {

class CredentialStore : public QObject {
    Q_OBJECT
public:
    static CredentialStore& shared();

    // `done` runs on this thread with the value, or nothing when there is none; not at all once
    // `context` is gone.
    void read(const QString& name, QObject* context, std::function<void(std::optional<QByteArray>)> done);
    // `done` (optional) runs once the keyring has it, or once it is known to be kept for the session.
    void write(const QString& name, const QByteArray& value, QObject* context = nullptr,
               std::function<void()> done = {});
    void remove(const QString& name);

    bool isTemporary() const { return temporary_; }
    // Runs the event loop until the keyring has done what it was asked (a program about to exit
    // must not leave a forgotten sign-in behind), at most `ms`; false when it is still busy.
    bool waitUntilSettled(int ms = 10000);

signals:
    void temporaryChanged();
    void settled();

private:
    explicit CredentialStore(QObject* parent = nullptr);
    void keyringFailed();
    void jobEnded();

    QHash<QString, QByteArray> session_;
    QHash<QString, bool> removed_;
    bool temporary_ = false;
    int jobs_ = 0;
};

} // namespace pimavo::sharing
