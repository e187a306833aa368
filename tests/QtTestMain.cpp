// The entry point of the widget test programs: Qt on the offscreen platform (or the one the program
// was built for, PIMAVO_TEST_PLATFORM), then GoogleTest.
#include "WaitScale.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// A dialog nobody answers (an alert the test did not expect) waits for ever on the offscreen
// platform; without this a single such test holds the whole run until the CI gives up, and says
// nothing about why. The watchdog names the test and what is on screen, then ends the program.
class Watchdog : public ::testing::EmptyTestEventListener {
public:
    // PIMAVO_TEST_LIMIT_SECONDS shortens it to see the watchdog at work; a slow (sanitized) run
    // stretches it as it does every wait.
    const std::chrono::seconds limit_{qEnvironmentVariableIntValue("PIMAVO_TEST_LIMIT_SECONDS") > 0
                                          ? qEnvironmentVariableIntValue("PIMAVO_TEST_LIMIT_SECONDS")
                                          : pimavo::test::scaledWait(120)};
    // For a test stuck outside the event loop, where the timer below cannot run.
    const std::chrono::seconds hardLimit_ = limit_ + std::chrono::seconds(60);

    Watchdog() : thread_([this] { guard(); }) {
        timer_.setInterval(1000);
        QObject::connect(&timer_, &QTimer::timeout, [this] { check(); });
    }
    ~Watchdog() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    void OnTestStart(const ::testing::TestInfo& info) override {
        {
            std::lock_guard lock(mutex_);
            name_ = std::string(info.test_suite_name()) + "." + info.name();
            started_ = Clock::now();
            running_ = true;
        }
        wake_.notify_all();
        timer_.start();
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        timer_.stop();
        std::lock_guard lock(mutex_);
        running_ = false;
    }

private:
    void check() {
        std::string name;
        {
            std::lock_guard lock(mutex_);
            if (!running_ || Clock::now() - started_ < limit_) return;
            name = name_;
        }
        std::fprintf(stderr, "\n%s has run for more than %lld s; stopping it.\n", name.c_str(),
                     static_cast<long long>(limit_.count()));
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            std::fprintf(stderr, "  on screen: %s \"%s\"%s\n", w->metaObject()->className(),
                         qPrintable(w->windowTitle()),
                         w == QApplication::activeModalWidget() ? " (modal)" : "");
            if (auto* box = qobject_cast<QMessageBox*>(w))
                std::fprintf(stderr, "    says: %s / %s\n", qPrintable(box->text()),
                             qPrintable(box->informativeText()));
        }
        std::fflush(stderr);
        std::abort();
    }

    void guard() {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            if (!running_) {
                wake_.wait(lock);
                continue;
            }
            const auto deadline = started_ + hardLimit_;
            if (Clock::now() < deadline) {
                wake_.wait_until(lock, deadline);
                continue;
            }
            std::fprintf(stderr, "\n%s has run for more than %lld s outside the event loop; stopping it.\n",
                         name_.c_str(), static_cast<long long>(hardLimit_.count()));
            std::fflush(stderr);
            printStacks();
            std::abort();
        }
    }

    // Where each thread is, from gdb when there is one: a hang seen once in a CI run can then be
    // understood from its log.
    static void printStacks() {
        if (std::system("command -v gdb > /dev/null 2>&1") != 0) return;
        prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY); // where only ancestors may look in
        const std::string gdb = "gdb -p " + std::to_string(::getpid()) +
                                " -batch -nx -ex 'thread apply all bt 40' < /dev/null 1>&2 2> /dev/null";
        if (std::system(gdb.c_str()) != 0) std::fprintf(stderr, "(gdb could not show the threads)\n");
    }

    QTimer timer_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string name_;
    Clock::time_point started_;
    bool running_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

#ifndef PIMAVO_TEST_PLATFORM
#define PIMAVO_TEST_PLATFORM "offscreen"
#endif

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", PIMAVO_TEST_PLATFORM);
    // Unsaved sessions, settings, caches and copies kept for the user go to a home of the tests'
    // own, never among the user's.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    for (const char* name : {"XDG_STATE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qunsetenv(name);
    qputenv("XDG_STATE_HOME", home.filePath("state").toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    auto& listeners = ::testing::UnitTest::GetInstance()->listeners();
    auto* watchdog = new Watchdog;
    listeners.Append(watchdog);
    const int result = RUN_ALL_TESTS();
    // Its timer belongs to this application, so it goes before the application does.
    delete listeners.Release(watchdog);
    return result;
}
