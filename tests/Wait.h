// Waiting in widget tests for what the test expects to happen (a state, a signal), never
// for a fixed time: a fixed sleep is too short on a loaded machine and wasted time on an idle one.
#pragma once

#include "WaitScale.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace pimavo::test {

// Runs the event loop until `done` holds, for at most `timeoutMs`. Use it as
// ASSERT_TRUE(waitUntil([&] { return ...; })); on time-out the failure says what was awaited.
template <typename Done>
::testing::AssertionResult waitUntil(Done&& done, int timeoutMs = 5000, const char* what = nullptr) {
    if (QTest::qWaitFor(done, scaledWait(timeoutMs))) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    failure << "still not so after " << timeoutMs << " ms";
    if (what) failure << ": " << what;
    return failure;
}

// Delivers what is already queued (posted events, queued calls, zero-time timers, widgets deleted
// later), as the event loop does when it comes round once; waits for nothing.
inline void processPendingEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace pimavo::test
