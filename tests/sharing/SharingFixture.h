// Each sharing test starts signed out of everything, with the test keys and the real browser
// time-out, and with the services' addresses unset.
#pragma once

#include "sharing/services/BrowserSignIn.h"
#include "sharing/services/CredentialStore.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace pimavo::sharing::testing {

class SharingTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"flickr", "tumblr", "mastodon"})
            CredentialStore::shared().remove(QString::fromLatin1(name));
        QSettings settings(QStringLiteral("Pimavo"), QStringLiteral("Pimavo"));
        settings.remove(QStringLiteral("sharing"));
        qputenv("PIMAVO_FLICKR_KEY", "0123456789abcdef0123456789abcdef");
        qputenv("PIMAVO_FLICKR_SECRET", "fedcba9876543210");
        qputenv("PIMAVO_TUMBLR_KEY", "tumblr-client-id-0123456789");
        qputenv("PIMAVO_TUMBLR_SECRET", "tumblr-client-secret-0123456789");
        qputenv("BROWSER", PIMAVO_FAKE_BROWSER);
        BrowserSignIn::setTimeout(std::chrono::seconds(20));
    }
    void TearDown() override {
        for (const char* v : {"PIMAVO_FLICKR_URL", "PIMAVO_TUMBLR_URL", "PIMAVO_FACEBOOK_URL"}) qunsetenv(v);
    }
};

} // namespace pimavo::sharing::testing
