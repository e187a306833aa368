// Where sign-ins are kept: in the keyring when one is reachable, else for the session only; never
// in the settings file.
#include "FakeServices.h"
#include "SharingFixture.h"
#include "SharingTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QSettings>

using namespace pimavo::sharing;
using namespace pimavo::sharing::testing;

namespace {

QByteArray settingsFile() {
    QSettings settings(QStringLiteral("Pimavo"), QStringLiteral("Pimavo"));
    settings.sync();
    QFile file(settings.fileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool signInToFakeMastodon(FakeMastodon& fake, std::unique_ptr<PhotoService>& service,
                          std::unique_ptr<Recorder>& events) {
    service = createPhotoService(ServiceKind::Mastodon);
    events = std::make_unique<Recorder>(*service);
    service->setServer(fake.server.base());
    return signIn(*service, *events);
}

class CredentialsTest : public SharingTest {};

TEST_F(CredentialsTest, WithoutAKeyringTheSignInLastsForTheSessionOnly) {
    if (!qEnvironmentVariableIsEmpty("PIMAVO_TEST_KEYRING")) GTEST_SKIP() << "a keyring is running";
    // Known from the first look into the keyring, before anyone signs in, so the window can say it.
    auto fresh = createPhotoService(ServiceKind::Tumblr);
    Recorder freshEvents(*fresh);
    ASSERT_TRUE(spinUntil([&] { return freshEvents.ready; }));
    EXPECT_TRUE(fresh->credentialsAreTemporary());

    FakeMastodon fake;
    std::unique_ptr<PhotoService> service;
    std::unique_ptr<Recorder> events;
    ASSERT_TRUE(signInToFakeMastodon(fake, service, events));
    EXPECT_TRUE(service->credentialsAreTemporary());

    // Another window of the same session still finds it.
    auto second = createPhotoService(ServiceKind::Mastodon);
    Recorder secondEvents(*second);
    ASSERT_TRUE(spinUntil([&] { return secondEvents.ready; }));
    EXPECT_TRUE(second->isSignedIn());
    EXPECT_EQ(second->accountName(), "@painter@127.0.0.1");

    const QByteArray stored = settingsFile();
    EXPECT_TRUE(stored.contains("painter")); // the account name is no secret
    EXPECT_FALSE(stored.contains("mastodon-token")) << stored.toStdString();
    EXPECT_FALSE(stored.contains("mastodon-secret")) << stored.toStdString();
}

// Run with a keyring of its own (keyring_test.sh): the token goes there and nowhere else.
TEST_F(CredentialsTest, WithAKeyringTheSignInIsKeptThere) {
    if (qEnvironmentVariableIsEmpty("PIMAVO_TEST_KEYRING")) GTEST_SKIP() << "needs the keyring run";
    FakeMastodon fake;
    std::unique_ptr<PhotoService> service;
    std::unique_ptr<Recorder> events;
    ASSERT_TRUE(signInToFakeMastodon(fake, service, events));
    EXPECT_FALSE(service->credentialsAreTemporary());

    QProcess lookup;
    lookup.start("secret-tool", {"search", "--all", "--unlock", "server", "Pimavo", "user", "mastodon"});
    ASSERT_TRUE(lookup.waitForFinished(20000));
    const QByteArray found = lookup.readAllStandardOutput() + lookup.readAllStandardError();
    EXPECT_TRUE(found.contains("attribute.user = mastodon")) << found.toStdString();
    EXPECT_TRUE(found.contains("secret = ")) << found.toStdString();
    EXPECT_FALSE(settingsFile().contains("mastodon-token"));

    service->signOut();
    ASSERT_TRUE(spinUntil(
        [&] {
            QProcess again;
            again.start("secret-tool", {"search", "--all", "server", "Pimavo", "user", "mastodon"});
            again.waitForFinished(20000);
            return !again.readAll().contains("attribute.user = mastodon");
        },
        5000));
}

} // namespace
