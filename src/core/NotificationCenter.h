// Named notifications between loosely coupled parts of the program.
//
// An observer registers a callback for a name; posting a name calls every callback registered for
// it, synchronously on the posting thread, in registration order, with the optional object.
// Callbacks may add or remove observers (the removal takes effect for later posts). Thread-safe.
#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <mutex>
#include <vector>

namespace pimavo {

struct Notification {
    QString name;
    QVariant object;
};

class NotificationCenter {
public:
    using Callback = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // `observer` identifies the registration for removal; it is never dereferenced.
    void addObserver(const void* observer, const QString& name, Callback callback);
    void removeObserver(const void* observer);
    void removeObserver(const void* observer, const QString& name);

    void post(const QString& name, const QVariant& object = {});

private:
    struct Entry {
        const void* observer;
        QString name;
        std::shared_ptr<Callback> callback;
    };
    std::mutex mutex_;
    std::vector<Entry> entries_;
};

} // namespace pimavo
