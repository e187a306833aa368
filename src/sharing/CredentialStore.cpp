#include "sharing/CredentialStore.h"

#include <qt6keychain/keychain.h>

namespace pimavo::sharing {

namespace {
const QString kKeyringService = QStringLiteral("Pimavo");
} // namespace

CredentialStore::CredentialStore(QObject* parent) : QObject(parent) {}

CredentialStore& CredentialStore::shared()
{
    static CredentialStore* store = new CredentialStore;
    return *store;
}

void CredentialStore::keyringFailed()
{
    if (temporary_)
        return;
    temporary_ = true;
    emit temporaryChanged();
}

void CredentialStore::read(const QString& name, QObject* context,
                           std::function<void(std::optional<QByteArray>)> done)
{
    QPointer<QObject> guard(context);
    const auto deliver = [guard, done](std::optional<QByteArray> value) {
        if (guard)
            done(std::move(value));
    };
    if (session_.contains(name) || removed_.value(name) || temporary_) {
        const auto it = session_.constFind(name);
        std::optional<QByteArray> value;
        if (it != session_.cend())
            value = *it;
        QMetaObject::invokeMethod(this, [deliver, value] { deliver(value); }, Qt::QueuedConnection);
        return;
    }
    auto* job = new QKeychain::ReadPasswordJob(kKeyringService, this);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(name);
    connect(job, &QKeychain::Job::finished, this, [this, job, name, deliver] {
        if (job->error() == QKeychain::NoError) {
            // Another read or a write may have come first; a newer session value wins.
            if (!session_.contains(name))
                session_.insert(name, job->binaryData());
            deliver(session_.value(name));
            return;
        }
        if (job->error() != QKeychain::EntryNotFound)
            keyringFailed();
        const auto it = session_.constFind(name);
        deliver(it == session_.cend() ? std::nullopt : std::optional<QByteArray>(*it));
    });
    job->start();
}

void CredentialStore::write(const QString& name, const QByteArray& value, QObject* context,
                            std::function<void()> done)
{
    session_.insert(name, value);
    removed_.remove(name);
    QPointer<QObject> guard(context);
    const auto finish = [guard, done, context] {
        if (done && (!context || guard))
            done();
    };
    if (temporary_) {
        QMetaObject::invokeMethod(this, finish, Qt::QueuedConnection);
        return;
    }
    auto* job = new QKeychain::WritePasswordJob(kKeyringService, this);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(name);
    job->setBinaryData(value);
    connect(job, &QKeychain::Job::finished, this, [this, job, finish] {
        if (job->error() != QKeychain::NoError)
            keyringFailed();
        finish();
    });
    job->start();
}

void CredentialStore::remove(const QString& name)
{
    session_.remove(name);
    removed_.insert(name, true);
    if (temporary_)
        return;
    auto* job = new QKeychain::DeletePasswordJob(kKeyringService, this);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(name);
    job->start();
}

} // namespace pimavo::sharing
