#pragma once
// Messages from the Qt-free libraries (engine, image files, filters, the colour island fill).
//
// These libraries cannot use Qt's logging, so they write to one sink that the program installs at
// start-up (core's Logging.h routes each channel to its QLoggingCategory). Without a sink, debug
// messages are dropped and the rest go to standard error. Nothing here ever writes to standard output.
#include <functional>
#include <string>
#include <string_view>

namespace pimavo::logging {

enum class Channel { Engine, Io, Filters, Picker };
enum class Level { Debug, Info, Warning };

// The category name a channel is known by ("pimavo.io").
const char* channelName(Channel channel);

struct Sink {
    // Whether a message would be kept: lets callers skip formatting one that would not.
    std::function<bool(Channel, Level)> enabled;
    std::function<void(Channel, Level, std::string_view)> write;
};

// Installs a sink (an empty one restores the default) and gives back the one it replaces.
Sink setSink(Sink sink);

bool enabled(Channel channel, Level level);
void write(Channel channel, Level level, std::string_view message);

// printf-style, formatted only when the message would be kept.
void writef(Channel channel, Level level, const char* format, ...) __attribute__((format(printf, 3, 4)));

} // namespace pimavo::logging
