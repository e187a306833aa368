#include "NotificationCenter.h"

namespace pimavo {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void* observer, const QString& name, Callback callback) {
    if (!callback) return;
    std::lock_guard lock(mutex_);
    entries_.push_back({observer, name, std::make_shared<Callback>(std::move(callback))});
}

void NotificationCenter::removeObserver(const void* observer) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& e) { return e.observer == observer; });
}

void NotificationCenter::removeObserver(const void* observer, const QString& name) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& e) { return e.observer == observer && e.name == name; });
}

void NotificationCenter::post(const QString& name, const QVariant& object) {
    std::vector<std::shared_ptr<Callback>> callbacks;
    {
        std::lock_guard lock(mutex_);
        for (const Entry& e : entries_)
            if (e.name == name) callbacks.push_back(e.callback);
    }
    // Called outside the lock, so that callbacks may post or change registrations.
    const Notification n{name, object};
    for (const auto& c : callbacks) (*c)(n);
}

} // namespace pimavo
