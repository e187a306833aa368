#include "Logging.h"

#include "engine/Log.h"

Q_LOGGING_CATEGORY(lcEngine, "pimavo.engine", QtInfoMsg)
Q_LOGGING_CATEGORY(lcIo, "pimavo.io", QtInfoMsg)
Q_LOGGING_CATEGORY(lcFilters, "pimavo.filters", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPicker, "pimavo.picker", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCanvas, "pimavo.canvas", QtInfoMsg)
Q_LOGGING_CATEGORY(lcApp, "pimavo.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSharing, "pimavo.sharing", QtInfoMsg)
Q_LOGGING_CATEGORY(lcImport, "pimavo.import", QtInfoMsg)

namespace pimavo {
namespace {

const QLoggingCategory& categoryOf(logging::Channel channel) {
    switch (channel) {
    case logging::Channel::Engine:
        return lcEngine();
    case logging::Channel::Io:
        return lcIo();
    case logging::Channel::Filters:
        return lcFilters();
    case logging::Channel::Picker:
        return lcPicker();
    }
    return lcEngine();
}

QtMsgType typeOf(logging::Level level) {
    switch (level) {
    case logging::Level::Debug:
        return QtDebugMsg;
    case logging::Level::Info:
        return QtInfoMsg;
    case logging::Level::Warning:
        return QtWarningMsg;
    }
    return QtWarningMsg;
}

} // namespace

void routeLibraryLogging() {
    logging::setSink({[](logging::Channel channel, logging::Level level) {
                          return categoryOf(channel).isEnabled(typeOf(level));
                      },
                      [](logging::Channel channel, logging::Level level, std::string_view message) {
                          const QLoggingCategory& category = categoryOf(channel);
                          const QString text = QString::fromUtf8(message.data(), qsizetype(message.size()));
                          switch (level) {
                          case logging::Level::Debug:
                              qCDebug(category).noquote() << text;
                              break;
                          case logging::Level::Info:
                              qCInfo(category).noquote() << text;
                              break;
                          case logging::Level::Warning:
                              qCWarning(category).noquote() << text;
                              break;
                          }
                      }});
}

} // namespace pimavo
