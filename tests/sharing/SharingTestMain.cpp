// The sharing tests' entry point: settings, caches and the keyring of their own, no proxy, and a
// browser that is curl following the sign-in page to the fake service and back.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toLocal8Bit());
    for (const char* proxy :
         {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(proxy);
    qputenv("BROWSER", PIMAVO_FAKE_BROWSER);
    // Tests run side by side: each sign-in listens where it can.
    qputenv("PIMAVO_TUMBLR_REDIRECT_PORT", "0");
    // Without the keyring run's own session bus, no keyring is reachable: the session-only path.
    if (qEnvironmentVariableIsEmpty("PIMAVO_TEST_KEYRING"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/pimavo-test-bus");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
