// Opening the sample photo and picking a colour region write nothing to standard output: their
// debug lines go to the pimavo.io and pimavo.picker categories, off unless enabled.
#include "core/Logging.h"
#include "engine/Log.h"
#include "imageio/ImageDecoder.h"
#include "picker/ColorIsland.h"

#include <QLoggingCategory>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace pimavo::test {
namespace {

// Standard output, at the descriptor, into a file for as long as it lives.
class StdoutToFile {
public:
    StdoutToFile() {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        file_ = std::tmpfile();
        dup2(fileno(file_), STDOUT_FILENO);
    }
    // Everything written meanwhile, and standard output back where it was.
    std::string finish() {
        std::fflush(stdout);
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
        std::string text;
        std::rewind(file_);
        for (int c; (c = std::fgetc(file_)) != EOF;) text += char(c);
        std::fclose(file_);
        return text;
    }

private:
    int saved_ = -1;
    std::FILE* file_ = nullptr;
};

struct Message {
    std::string category;
    QtMsgType type;
    std::string text;
};
std::mutex messagesMutex;
std::vector<Message> messages;

void keep(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    std::lock_guard lock(messagesMutex);
    messages.push_back({context.category ? context.category : "", type, text.toStdString()});
}

bool logged(const std::string& category, QtMsgType type, const std::string& start) {
    std::lock_guard lock(messagesMutex);
    for (const Message& m : messages)
        if (m.category == category && m.type == type && m.text.rfind(start, 0) == 0) return true;
    return false;
}

// Opens the sample photo as the editor does and picks the colour at its centre.
void openAndPick() {
    DecodeResult opened = decodeImageFile(PIMAVO_SAMPLE_PHOTO);
    ASSERT_TRUE(opened.image) << opened.error;
    const Bitmap& photo = *opened.image->bitmap;
    const int x = photo.width() / 2, y = photo.height() / 2;
    const int red = photo.layout().alphaFirst() ? 1 : 0;
    const float colour[3] = {photo.component(x, y, red), photo.component(x, y, red + 1),
                             photo.component(x, y, red + 2)};
    ColorIslandField field;
    ASSERT_TRUE(imageByMaskingColor(photo, colour, 0.05f, float(x), float(y), field));
}

TEST(QuietLibraries, OpeningAndPickingWriteNothingToStandardOutput) {
    struct Case {
        const char* name;
        bool routed;       // through Qt's categories, as the programs run
        const char* rules; // Qt logging rules while it runs
        bool debugShown;   // the debug lines reach Qt's handler
    } cases[] = {
        {"without Qt's logging", false, "", false},
        {"routed, debug off by default", true, "", false},
        {"routed, debug enabled", true, "pimavo.io.debug=true\npimavo.picker.debug=true", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            std::lock_guard lock(messagesMutex);
            messages.clear();
        }
        if (c.routed) routeLibraryLogging();
        QLoggingCategory::setFilterRules(QString::fromUtf8(c.rules));
        const QtMessageHandler previous = qInstallMessageHandler(keep);
        StdoutToFile out;
        openAndPick();
        const std::string written = out.finish();
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());
        logging::setSink({});

        EXPECT_EQ(written, "");
        EXPECT_EQ(logged("pimavo.io", QtDebugMsg, "Image orientation: "), c.debugShown);
        EXPECT_EQ(logged("pimavo.picker", QtDebugMsg, "steps: "), c.debugShown);
    }
}

} // namespace
} // namespace pimavo::test
