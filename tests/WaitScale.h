// How long a test may wait for what it expects, where the program runs slower than usual.
#pragma once

#include <QString>

namespace pimavo::test {

// A wait's limit, stretched by PIMAVO_TEST_WAIT_SCALE where the program runs slower than it ever
// does for a user (under ThreadSanitizer it is several times slower): the limit is only there so
// that a test that will never see what it waits for ends.
inline int scaledWait(int ms) {
    static const double scale = [] {
        bool ok = false;
        const double s = qEnvironmentVariable("PIMAVO_TEST_WAIT_SCALE").toDouble(&ok);
        return ok && s >= 1 ? s : 1.0;
    }();
    return int(ms * scale);
}

} // namespace pimavo::test
