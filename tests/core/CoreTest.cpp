// The core services, exercised as the editor uses them: sequences of registrations, undos and
// redos; notifications; preferences surviving a reopen; queues and their order; the texts.
#include "core/Dispatch.h"
#include "core/NotificationCenter.h"
#include "core/Strings.h"
#include "core/UndoManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
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
    while (!done() && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A document whose value changes undoably, as the canvas's masks do.
struct Doc {
    UndoManager& undo;
    int value = 0;
    void set(int v) {
        const int old = value;
        undo.registerUndo(this, [this, old] { set(old); });
        value = v;
    }
};

TEST(UndoManager, StepsUndoAndRedoInOrder) {
    UndoManager undo;
    Doc doc{undo};
    int changes = 0;
    QObject::connect(&undo, &UndoManager::stackChanged, [&] { ++changes; });
    // Each change in its own event: separate steps.
    doc.set(1);
    undo.closeEventGroup();
    doc.set(2);
    undo.closeEventGroup();
    doc.set(3);
    undo.closeEventGroup();
    EXPECT_TRUE(undo.canUndo());
    EXPECT_FALSE(undo.canRedo());
    undo.undo();
    EXPECT_EQ(doc.value, 2);
    undo.undo();
    EXPECT_EQ(doc.value, 1);
    EXPECT_TRUE(undo.canRedo());
    undo.redo();
    EXPECT_EQ(doc.value, 2);
    undo.redo();
    EXPECT_EQ(doc.value, 3);
    EXPECT_FALSE(undo.canRedo());
    // A new change forgets what could be redone.
    undo.undo();
    doc.set(7);
    undo.closeEventGroup();
    EXPECT_FALSE(undo.canRedo());
    undo.undo();
    EXPECT_EQ(doc.value, 2);
    EXPECT_GT(changes, 0);
}

TEST(UndoManager, GroupsMakeOneStep) {
    UndoManager undo;
    Doc a{undo}, b{undo};
    // Everything registered in one event is one step, closed by the event loop.
    a.set(1);
    b.set(1);
    EXPECT_TRUE(undo.canUndo());
    spinUntil([&] { return !undo.canUndo() || undo.undoActionName().isNull(); });
    QCoreApplication::processEvents();
    undo.undo();
    EXPECT_EQ(a.value, 0);
    EXPECT_EQ(b.value, 0);
    // Explicit groups nest into the outermost one, named.
    undo.redo();
    undo.beginUndoGrouping();
    undo.setActionName("Apply Drawing");
    a.set(5);
    undo.beginUndoGrouping();
    b.set(6);
    undo.endUndoGrouping();
    undo.endUndoGrouping();
    EXPECT_EQ(undo.undoActionName(), "Apply Drawing");
    undo.undo();
    EXPECT_EQ(a.value, 1);
    EXPECT_EQ(b.value, 1);
    EXPECT_EQ(undo.redoActionName(), "Apply Drawing");
    undo.redo();
    EXPECT_EQ(a.value, 5);
    EXPECT_EQ(b.value, 6);
}

// The history is bounded by a number of steps and by the memory its steps keep; the oldest go
// first, the newest always stays, and undoing everything reaches the state before the oldest kept.
TEST(UndoManager, KeepsTheNewestStepsWithinItsBounds) {
    struct Case {
        const char* what;
        int levels;
        qint64 budget;
        std::vector<qint64> bytes;  // per step, in order
        bool learnedAtTheEnd;       // the step's memory is added once it is made (a stroke)
        int kept;
    } cases[] = {
        {"a count", 20, 0, std::vector<qint64>(25, 0), false, 20},
        {"no bound", 0, 0, std::vector<qint64>(300, 100), false, 300},
        {"memory of many small steps", 1000, 1000, std::vector<qint64>(300, 10), false, 100},
        {"the oldest big step goes first", 1000, 1000, {600, 300, 300}, false, 2},
        {"the newest always stays", 1000, 100, {500}, false, 1},
        {"memory learned after the step", 1000, 1000, std::vector<qint64>(5, 400), true, 2},
        {"two hundred short strokes", 1000, qint64(512) << 20, std::vector<qint64>(250, 300 << 10), true, 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UndoManager undo;
        undo.setLevelsOfUndo(c.levels);
        undo.setMemoryBudget(c.budget);
        Doc doc{undo};
        const int n = int(c.bytes.size());
        for (int i = 1; i <= n; ++i) {
            const int old = doc.value;
            undo.registerUndo(&doc, [&doc, old] { doc.set(old); }, c.learnedAtTheEnd ? 0 : c.bytes[i - 1]);
            doc.value = i;
            undo.closeEventGroup();
            if (c.learnedAtTheEnd) undo.addStepMemory(c.bytes[i - 1]);
        }
        EXPECT_EQ(undo.undoCount(), c.kept);
        if (c.budget > 0) {
            EXPECT_TRUE(undo.memoryUsed() <= c.budget || c.kept == 1) << undo.memoryUsed();
        }
        int steps = 0;
        while (undo.canUndo()) {
            undo.undo();
            ++steps;
        }
        EXPECT_EQ(steps, c.kept);
        EXPECT_EQ(doc.value, n - c.kept);
        EXPECT_EQ(undo.memoryUsed(), 0);
        // Redone all the way: the same steps, the same end.
        while (undo.canRedo()) undo.redo();
        EXPECT_EQ(doc.value, n);
    }
}

TEST(UndoManager, KnowsWhatItIsDoing) {
    UndoManager undo;
    Doc doc{undo};
    bool sawUndoing = false, sawRedoing = false;
    undo.registerUndo(&doc, [&] {
        sawUndoing = undo.isUndoing();
        sawRedoing = undo.isRedoing();
    });
    undo.closeEventGroup();
    undo.undo();
    EXPECT_TRUE(sawUndoing);
    EXPECT_FALSE(sawRedoing);
}

TEST(UndoManager, RemovingActions) {
    UndoManager undo;
    Doc a{undo}, b{undo};
    a.set(1);
    undo.closeEventGroup();
    b.set(1);
    undo.closeEventGroup();
    undo.removeAllActionsWithTarget(&b);
    undo.undo();
    EXPECT_EQ(a.value, 0);
    EXPECT_EQ(b.value, 1);
    a.set(2);
    undo.closeEventGroup();
    undo.removeAllActions();
    EXPECT_FALSE(undo.canUndo());
    EXPECT_FALSE(undo.canRedo());
}

// Where a document was saved is a position in its history: the same state gives the same
// position, whatever route led back to it; every other state gives another.
TEST(UndoManager, PositionNamesTheStateReached) {
    // Each script starts from a fresh history with its position marked as saved ("mark" marks it
    // again); "set" is a new step; the value after the script and whether it is the marked state.
    struct Case {
        const char* script;
        bool atMark;
    };
    const Case cases[] = {
        {"", true},
        {"set", false},
        {"set undo", true},
        {"set undo redo", false},
        {"set mark undo redo", true},
        {"set set mark undo", false},
        {"set set mark undo undo redo redo", true},
        {"set mark undo set", false},   // the marked step can no longer be redone
        {"set open", false},            // a step still being built is already a change
        {"set mark clear", false},      // the steps are gone, their changes are not
        {"mark set*25 undo*20", false}, // the oldest steps were dropped: not the first state
        {"set*25 mark undo*20 redo*20", true},
    };
    for (const Case& c : cases) {
        UndoManager undo;
        Doc doc{undo};
        quint64 mark = undo.position();
        for (const QString& word : QString(c.script).split(' ', Qt::SkipEmptyParts)) {
            const QStringList parts = word.split('*');
            const int times = parts.size() > 1 ? parts[1].toInt() : 1;
            for (int i = 0; i < times; ++i) {
                if (parts[0] == "set") {
                    doc.set(doc.value + 1);
                    undo.closeEventGroup();
                } else if (parts[0] == "open") {
                    doc.set(doc.value + 1); // left open, as during the event that makes it
                } else if (parts[0] == "undo") {
                    undo.undo();
                } else if (parts[0] == "redo") {
                    undo.redo();
                } else if (parts[0] == "mark") {
                    mark = undo.position();
                } else if (parts[0] == "clear") {
                    undo.removeAllActions();
                }
            }
        }
        EXPECT_EQ(undo.position() == mark, c.atMark) << c.script;
    }
}

TEST(NotificationCenter, DeliversToObserversOfTheName) {
    NotificationCenter& center = NotificationCenter::defaultCenter();
    int a = 0, b = 0;
    QVariant seen;
    int observerA, observerB;
    center.addObserver(&observerA, "UndoManagerStackChanged", [&](const Notification&) { ++a; });
    center.addObserver(&observerB, "addToRecentColors", [&](const Notification& n) {
        ++b;
        seen = n.object;
    });
    center.post("UndoManagerStackChanged");
    center.post("addToRecentColors", QVariantList{0.1f, 0.2f, 0.3f, 1.0f});
    center.post("SomethingElse");
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(seen.toList().size(), 4);
    center.removeObserver(&observerA);
    center.post("UndoManagerStackChanged");
    EXPECT_EQ(a, 1);
    // An observer may remove itself while being called.
    center.addObserver(&observerA, "once", [&](const Notification&) {
        ++a;
        center.removeObserver(&observerA, "once");
    });
    center.post("once");
    center.post("once");
    EXPECT_EQ(a, 2);
    center.removeObserver(&observerB);
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
TEST(Strings, WindowTitlesFromMenuTexts) {
    const std::pair<const char*, const char*> cases[] = {{"Save &As…", "Save As"},
                                                         {"&Open...", "Open"},
                                                         {"Fish && Chips", "Fish & Chips"},
                                                         {"About Pimavo", "About Pimavo"},
                                                         {"&", "&"}};
    for (const auto& [menu, title] : cases)
        EXPECT_EQ(Strings::titleFromMenuText(QString::fromUtf8(menu)), QString::fromUtf8(title)) << menu;
    EXPECT_EQ(Strings::titleFromMenuText(Strings::shared().localized("kMenuSaveAs")), "Save As");
}

TEST(Strings, EveryKeyHasATextAndMissingKeysShowThemselves) {
    const Strings& s = Strings::shared();
    for (const char* key : {"kStringSaveDialogText", "kStringSaveDialogAdditionalText",
                            "kStringWaitingResizeAutomaticallyImagePro", "kStringSupportLink",
                            "kStringTwitterInvalidUserInput", "kStringFlickrImageUploadProgressTitle"}) {
        EXPECT_NE(s.string(key), key) << key;
        EXPECT_FALSE(s.string(key).isEmpty()) << key;
    }
    for (const char* key : {"kFileCouldNotBeOpened", "kStringCantOpenImageAlertInfo",
                            "kColorPickerTitle", "Print error", "email_subject"})
        EXPECT_NE(s.localized(key), key) << key;
    EXPECT_EQ(s.string("kNoSuchKey"), "kNoSuchKey");
    EXPECT_EQ(Strings::format(s.localized("kFileCouldNotBeOpened"), {"photo.jpg"}),
              "The file “photo.jpg” could not be opened.");
    EXPECT_TRUE(Strings::format(s.string("kStringWaitingResizeAutomaticallyImagePro"), {32})
                    .contains("32 megapixels"));
    EXPECT_EQ(Strings::format("%@ and %@ and %d", {"a"}), "a and %@ and %d");
}

} // namespace
} // namespace pimavo::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
