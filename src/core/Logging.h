#pragma once
// The program's logging categories. Debug messages are off unless enabled, as Qt's are
// (QT_LOGGING_RULES="pimavo.io.debug=true"); warnings are on.
//
// The Qt-free libraries (engine, image files, filters, the colour island fill) write through
// engine/Log.h; routeLibraryLogging() sends their channels to the categories of the same names.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcEngine)  // pimavo.engine
Q_DECLARE_LOGGING_CATEGORY(lcIo)      // pimavo.io
Q_DECLARE_LOGGING_CATEGORY(lcFilters) // pimavo.filters
Q_DECLARE_LOGGING_CATEGORY(lcPicker)  // pimavo.picker
Q_DECLARE_LOGGING_CATEGORY(lcCanvas)  // pimavo.canvas
Q_DECLARE_LOGGING_CATEGORY(lcApp)     // pimavo.app
Q_DECLARE_LOGGING_CATEGORY(lcSharing) // pimavo.sharing
Q_DECLARE_LOGGING_CATEGORY(lcImport)  // pimavo.import

namespace pimavo {

// Installs the sink that hands the Qt-free libraries' messages to Qt's logging. Called once at
// start-up by each program; messages before it go to standard error (warnings) or nowhere (debug).
void routeLibraryLogging();

} // namespace pimavo
