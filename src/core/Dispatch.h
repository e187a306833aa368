// Running work elsewhere and coming back: global queues by priority (a shared thread pool), named
// serial queues that run one task at a time and can be suspended, hand-back to the main thread,
// and delayed performs on the main thread that can be cancelled.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace pimavo::Dispatch {

enum class Priority { Background, Low, Default, High };

// Runs fn on a pool thread; higher priorities start first.
void async(Priority priority, std::function<void()> fn);

// Runs fn on the main thread at the next pass of its event loop.
void mainQueue(std::function<void()> fn);

// A pending delayed perform; cancelling it (on the main thread) keeps it from running.
class DelayedPerform {
public:
    explicit DelayedPerform(QObject* context) : context_(context) {}
    void cancel();
    bool isPending() const { return !finished_ && !context_.isNull(); }
    bool isCancelled() const { return cancelled_; }
    void markFinished() { finished_ = true; }

private:
    QPointer<QObject> context_;
    bool finished_ = false;
    bool cancelled_ = false;
};

// Runs fn on the main thread after `seconds` (0: at the next pass of the event loop).
std::shared_ptr<DelayedPerform> after(double seconds, std::function<void()> fn);

// A named queue whose tasks run one after another, in order, on pool threads.
class SerialQueue {
public:
    explicit SerialQueue(QString label, Priority priority = Priority::Default);
    ~SerialQueue(); // waits for the task running, drops the rest

    const QString& label() const { return label_; }
    void async(std::function<void()> fn);
    // Stops starting tasks (a running one finishes) until as many resumes as suspends.
    void suspend();
    void resume();
    // Blocks until every task queued so far has run (never call it from the queue itself).
    void waitUntilIdle();

private:
    void drain();
    void scheduleLocked();

    QString label_;
    Priority priority_;
    std::mutex mutex_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> tasks_;
    bool running_ = false;
    int suspended_ = 0;
    bool closing_ = false;
};

} // namespace pimavo::Dispatch
