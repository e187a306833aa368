#include "sharing/services/CredentialStore.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace pimavo::sharing {

namespace {
const QString kKeyringService = QStringLiteral("Pimavo");
} // namespace

CredentialStore::CredentialStore(QObject* parent) : QObject(parent) {}

CredentialStore& CredentialStore::shared() {
    static CredentialStore* store = new CredentialStore;
    return *store;
}

void CredentialStore::keyringFailed() {
    if (temporary_) return;
    temporary_ = true;
    emit temporaryChanged();
}

void CredentialStore::jobEnded() {
    if (--jobs_ == 0) emit settled();
}

bool CredentialStore::waitUntilSettled(int ms) {
    if (jobs_ == 0) return true;
    QEventLoop loop;
    connect(this, &CredentialStore::settled, &loop, &QEventLoop::quit);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return jobs_ == 0;
}

void CredentialStore::read(const QString& name, QObject* context,
                           std::function<void(std::optional<QByteArray>)> done) {
    QPointer<QObject> guard(context);
    const auto deliver = [guard, done](std::optional<QByteArray> value) {
        if (guard) done(std::move(value));
    };
    const auto known = [this, name]() -> std::optional<QByteArray> {
        if (const auto it = session_.constFind(name); it != session_.cend()) return *it;
        return std::nullopt;
    };
    if (temporary_) {
        QMetaObject::invokeMethod(
            this, [deliver, value = known()] { deliver(value); }, Qt::QueuedConnection);
        return;
    }
    // The keyring is asked even when this session already knows the answer: its reply is also how
    // the program learns whether there is a keyring at all.
    auto* job = new QKeychain::ReadPasswordJob(kKeyringService, this);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(name);
    connect(job, &QKeychain::Job::finished, this, [this, job, name, deliver, known] {
        if (job->error() != QKeychain::NoError && job->error() != QKeychain::EntryNotFound) keyringFailed();
        // What this session wrote or removed since is newer than the keyring's answer.
        if (job->error() == QKeychain::NoError && !session_.contains(name) && !removed_.value(name))
            session_.insert(name, job->binaryData());
        deliver(known());
        jobEnded();
    });
    ++jobs_;
    job->start();
}

void CredentialStore::write(const QString& name, const QByteArray& value, QObject* context,
                            std::function<void()> done) {
    session_.insert(name, value);
    removed_.remove(name);
    QPointer<QObject> guard(context);
    const auto finish = [guard, done, context] {
        if (done && (!context || guard)) done();
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
        if (job->error() != QKeychain::NoError) keyringFailed();
        finish();
        jobEnded();
    });
    ++jobs_;
    job->start();
}

void CredentialStore::remove(const QString& name) {
    session_.remove(name);
    removed_.insert(name, true);
    if (temporary_) return;
    auto* job = new QKeychain::DeletePasswordJob(kKeyringService, this);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(name);
    connect(job, &QKeychain::Job::finished, this, [this] { jobEnded(); });
    ++jobs_;
    job->start();
}

} // namespace pimavo::sharing
