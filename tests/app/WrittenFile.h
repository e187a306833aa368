// Files another program writes while a test looks at them.
#pragma once

#include "WaitScale.h"
#include "imageio/ImageDecoder.h"

#include <QString>
#include <QTest>

namespace pimavo::test {

// Waits until the picture at `path` reads whole (a file that has just appeared may still be being
// written) and leaves its decode in `picture`, the last attempt's when time runs out.
inline bool waitUntilWrittenWhole(const QString& path, DecodeResult& picture, int ms = 5000) {
    return QTest::qWaitFor(
        [&] {
            picture = decodeImageFile(path.toStdString(), false);
            return picture.image && picture.image->warning.empty();
        },
        scaledWait(ms));
}

} // namespace pimavo::test
