// What the sharing tests share: waiting on the event loop, a recorder of a service's signals, and
// pictures to upload.
#pragma once

#include "../WaitScale.h"
#include "sharing/services/PhotoService.h"

#include <QString>
#include <QTest>
#include <functional>
#include <vector>

namespace pimavo::sharing::testing {

// Runs the event loop until `done` holds or `ms` have passed; answers `done()`.
inline bool spinUntil(const std::function<bool()>& done, int ms = 20000) {
    return QTest::qWaitFor(done, pimavo::test::scaledWait(ms));
}

struct Recorder {
    explicit Recorder(PhotoService& service);
    std::vector<ShareError> errors;
    std::vector<QUrl> finished;
    std::vector<std::pair<qint64, qint64>> progress;
    int signedInChanges = 0, destinationChanges = 0;
    bool ready = false;

    // Waits for the next failure or finished upload after the ones already counted.
    bool waitForEnd(int ms = 20000);
    void clear();

private:
    std::size_t seen_ = 0;
};

// A noisy JPEG of the size, so it does not compress to nothing; its path stays until the process ends.
QString makeJpeg(int width, int height);

// Signs the service in through the fake browser and waits; false (with the reason printed) when it
// did not work.
bool signIn(PhotoService& service, Recorder& recorder);

} // namespace pimavo::sharing::testing
