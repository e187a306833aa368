#include "Dispatch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThreadPool>
#include <QTimer>

namespace pimavo::Dispatch {

namespace {
int poolPriority(Priority p) {
    switch (p) {
    case Priority::Background:
        return 0;
    case Priority::Low:
        return 1;
    case Priority::Default:
        return 2;
    case Priority::High:
        return 3;
    }
    return 2;
}
} // namespace

void async(Priority priority, std::function<void()> fn) {
    if (fn) QThreadPool::globalInstance()->start(std::move(fn), poolPriority(priority));
}

namespace {
// The hand-back to the main thread: the work waits in a queue of our own under a std::mutex, and an
// empty event wakes the main thread for each piece. Qt's own queued calls would carry the work
// through its event queue, whose lock ThreadSanitizer cannot see (Qt is not built with it): every
// hand-back would read as a race, and real ones would drown among them.
class MainQueue final : public QObject {
public:
    void post(std::function<void()> fn) {
        {
            std::lock_guard lock(mutex_);
            pending_.push_back(std::move(fn));
        }
        QCoreApplication::postEvent(this, new QEvent(wakeType()));
    }

protected:
    void customEvent(QEvent*) override {
        std::function<void()> next;
        {
            std::lock_guard lock(mutex_);
            if (pending_.empty()) return;
            next = std::move(pending_.front());
            pending_.pop_front();
        }
        next();
    }

private:
    static QEvent::Type wakeType() {
        static const auto type = QEvent::Type(QEvent::registerEventType());
        return type;
    }
    std::mutex mutex_;
    std::deque<std::function<void()>> pending_;
};

// Made on first use, from whatever thread, and given to the main thread; made again for a new
// application object.
MainQueue* mainQueueFor(QCoreApplication* app) {
    static std::mutex made;
    static QPointer<MainQueue> queue;
    std::lock_guard lock(made);
    if (!queue) {
        queue = new MainQueue;
        queue->moveToThread(app->thread());
        QObject::connect(app, &QObject::destroyed, [q = queue.data()] { delete q; });
    }
    return queue.data();
}
} // namespace

void mainQueue(std::function<void()> fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!fn || !app) return;
    mainQueueFor(app)->post(std::move(fn));
}

void DelayedPerform::cancel() {
    finished_ = cancelled_ = true;
    delete context_.data(); // takes its pending timer with it
    context_.clear();
}

std::shared_ptr<DelayedPerform> after(double seconds, std::function<void()> fn) {
    auto* context = new QObject(QCoreApplication::instance());
    auto handle = std::make_shared<DelayedPerform>(context);
    std::weak_ptr<DelayedPerform> weak = handle;
    QTimer::singleShot(int(std::max(0.0, seconds) * 1000 + 0.5), context,
                       [context, weak, fn = std::move(fn)] {
                           context->deleteLater();
                           if (auto h = weak.lock()) {
                               if (h->isCancelled()) return;
                               h->markFinished();
                           }
                           if (fn) fn();
                       });
    return handle;
}

SerialQueue::SerialQueue(QString label, Priority priority) : label_(std::move(label)), priority_(priority) {}

SerialQueue::~SerialQueue() {
    std::unique_lock lock(mutex_);
    closing_ = true;
    tasks_.clear();
    idle_.wait(lock, [this] { return !running_; });
}

void SerialQueue::async(std::function<void()> fn) {
    if (!fn) return;
    std::lock_guard lock(mutex_);
    if (closing_) return;
    tasks_.push_back(std::move(fn));
    scheduleLocked();
}

void SerialQueue::scheduleLocked() {
    if (running_ || suspended_ > 0 || tasks_.empty()) return;
    running_ = true;
    Dispatch::async(priority_, [this] { drain(); });
}

void SerialQueue::drain() {
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty() || suspended_ > 0) {
                running_ = false;
                idle_.notify_all();
                return;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

void SerialQueue::suspend() {
    std::lock_guard lock(mutex_);
    ++suspended_;
}

void SerialQueue::resume() {
    std::lock_guard lock(mutex_);
    if (suspended_ > 0) --suspended_;
    scheduleLocked();
}

void SerialQueue::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !running_ && (tasks_.empty() || suspended_ > 0); });
}

} // namespace pimavo::Dispatch
