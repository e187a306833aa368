#pragma once
// Collects what the Qt-free libraries log while it lives (every level, debug included), instead of
// letting it reach standard error; the sink installed before it comes back when it goes.
#include "engine/Log.h"

#include <mutex>
#include <string>
#include <vector>

namespace pimavo::test {

class LogCapture {
public:
    struct Entry {
        logging::Channel channel;
        logging::Level level;
        std::string text;
    };

    LogCapture() {
        previous_ =
            logging::setSink({[](logging::Channel, logging::Level) { return true; },
                              [this](logging::Channel channel, logging::Level level, std::string_view text) {
                                  std::lock_guard lock(mutex_);
                                  entries_.push_back({channel, level, std::string(text)});
                              }});
    }
    ~LogCapture() { logging::setSink(std::move(previous_)); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The messages of one channel and level, each followed by a newline.
    std::string text(logging::Channel channel, logging::Level level) const {
        std::lock_guard lock(mutex_);
        std::string all;
        for (const Entry& e : entries_)
            if (e.channel == channel && e.level == level) all += e.text + "\n";
        return all;
    }

    std::vector<Entry> entries() const {
        std::lock_guard lock(mutex_);
        return entries_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    logging::Sink previous_;
};

} // namespace pimavo::test
