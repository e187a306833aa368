#include "engine/Log.h"

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>
#include <utility>

namespace pimavo::logging {
namespace {

std::mutex sinkMutex;
std::shared_ptr<const Sink> installed; // null: the default

std::shared_ptr<const Sink> current() {
    std::lock_guard lock(sinkMutex);
    return installed;
}

} // namespace

const char* channelName(Channel channel) {
    switch (channel) {
    case Channel::Engine:
        return "pimavo.engine";
    case Channel::Io:
        return "pimavo.io";
    case Channel::Filters:
        return "pimavo.filters";
    case Channel::Picker:
        return "pimavo.picker";
    }
    return "pimavo";
}

Sink setSink(Sink sink) {
    std::shared_ptr<const Sink> next;
    if (sink.write) next = std::make_shared<const Sink>(std::move(sink));
    std::lock_guard lock(sinkMutex);
    std::shared_ptr<const Sink> previous = std::exchange(installed, std::move(next));
    return previous ? *previous : Sink{};
}

bool enabled(Channel channel, Level level) {
    const auto sink = current();
    if (!sink) return level != Level::Debug;
    return !sink->enabled || sink->enabled(channel, level);
}

void write(Channel channel, Level level, std::string_view message) {
    const auto sink = current();
    if (sink) {
        if (!sink->enabled || sink->enabled(channel, level)) sink->write(channel, level, message);
        return;
    }
    if (level == Level::Debug) return;
    std::string line(message);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void writef(Channel channel, Level level, const char* format, ...) {
    if (!enabled(channel, level)) return;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? std::size_t(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    write(channel, level, text);
}

} // namespace pimavo::logging
