// The core services, exercised as the editor uses them: preferences surviving a reopen; queues and
// their order; the texts.
#include "WaitScale.h"
#include "core/Dispatch.h"
#include "core/MenuText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace pimavo::test {
namespace {

// Runs the event loop until `done` holds (or a generous time has passed).
bool spinUntil(const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < scaledWait(5000))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

TEST(Dispatch, SerialQueuesRunInOrderAndCanBeSuspended) {
    Dispatch::SerialQueue queue("preset cache");
    std::vector<int> order;
    std::mutex m;
    std::set<Qt::HANDLE> threads;
    for (int i = 0; i < 50; ++i) {
        queue.async([&, i] {
            std::lock_guard lock(m);
            order.push_back(i);
            threads.insert(QThread::currentThreadId());
        });
    }
    queue.waitUntilIdle();
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
    EXPECT_FALSE(threads.count(QThread::currentThreadId()));

    std::atomic<int> ran{0};
    queue.suspend();
    queue.async([&] { ++ran; });
    QThread::msleep(50);
    EXPECT_EQ(ran.load(), 0);
    queue.resume();
    queue.waitUntilIdle();
    EXPECT_EQ(ran.load(), 1);
}

TEST(Dispatch, BackgroundWorkHandsBackToTheMainThread) {
    const Qt::HANDLE main = QThread::currentThreadId();
    std::atomic<bool> done{false};
    Qt::HANDLE workedOn = nullptr, cameBackOn = nullptr;
    Dispatch::async(Dispatch::Priority::High, [&] {
        workedOn = QThread::currentThreadId();
        Dispatch::mainQueue([&] {
            cameBackOn = QThread::currentThreadId();
            done = true;
        });
    });
    ASSERT_TRUE(spinUntil([&] { return done.load(); }));
    EXPECT_NE(workedOn, main);
    EXPECT_EQ(cameBackOn, main);
}

TEST(Dispatch, HandBacksFromManyThreadsRunOnTheMainThreadInTheOrderEachThreadMadeThem) {
    constexpr int kThreads = 4, kEach = 200;
    std::vector<std::vector<int>> seen(kThreads);
    std::atomic<int> arrived{0};
    bool offMain = false;
    for (int t = 0; t < kThreads; ++t)
        Dispatch::async(Dispatch::Priority::Default, [&, t] {
            for (int i = 0; i < kEach; ++i)
                Dispatch::mainQueue([&, t, i] {
                    offMain |= QThread::currentThread() != QCoreApplication::instance()->thread();
                    seen[std::size_t(t)].push_back(i);
                    ++arrived;
                });
        });
    ASSERT_TRUE(spinUntil([&] { return arrived.load() == kThreads * kEach; }));
    EXPECT_FALSE(offMain);
    for (const auto& one : seen) {
        ASSERT_EQ(one.size(), std::size_t(kEach));
        EXPECT_TRUE(std::is_sorted(one.begin(), one.end()));
    }
}

TEST(Dispatch, DelayedPerformsRunOrAreCancelled) {
    bool ran = false, cancelled = false;
    auto keep = Dispatch::after(0.01, [&] { ran = true; });
    auto drop = Dispatch::after(0.01, [&] { cancelled = true; });
    drop->cancel();
    ASSERT_TRUE(spinUntil([&] { return ran; }));
    QThread::msleep(30);
    QCoreApplication::processEvents();
    EXPECT_FALSE(cancelled);
    EXPECT_FALSE(keep->isPending());
}

// Dialogs are titled after the menu item that opens them, as the desktop shows titles: no "&"
// shortcut marks, no ellipsis.
TEST(MenuText, WindowTitlesFromMenuTexts) {
    const std::pair<const char*, const char*> cases[] = {{"Save &As…", "Save As"},
                                                         {"&Open...", "Open"},
                                                         {"Fish && Chips", "Fish & Chips"},
                                                         {"About Pimavo", "About Pimavo"},
                                                         {"&", "&"}};
    for (const auto& [menu, title] : cases)
        EXPECT_EQ(titleFromMenuText(QString::fromUtf8(menu)), QString::fromUtf8(title)) << menu;
}

} // namespace
} // namespace pimavo::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
