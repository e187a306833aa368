// Mastodon against its fake: the program registered once per server, PKCE sign-in, media processed
// before the status, and every way an upload can fail.
#include "FakeServices.h"
#include "SharingFixture.h"
#include "SharingTestSupport.h"
#include "sharing/MastodonService.h"

#include <QFile>
#include <QSettings>

using namespace pimavo::sharing;
using namespace pimavo::sharing::testing;

namespace {

class MastodonTest : public SharingTest {
protected:
    std::unique_ptr<PhotoService> signedInService(Recorder*& events)
    {
        auto service = createPhotoService(ServiceKind::Mastodon);
        recorder_ = std::make_unique<Recorder>(*service);
        events = recorder_.get();
        service->setServer(fake.server.base());
        EXPECT_TRUE(signIn(*service, *events));
        return service;
    }
    FakeMastodon fake;
    std::unique_ptr<Recorder> recorder_;
};

TEST_F(MastodonTest, RegistersOnceSignsInAndPostsTheProcessedPicture)
{
    Recorder* events = nullptr;
    auto service = signedInService(events);
    ASSERT_TRUE(service->isSignedIn());
    EXPECT_TRUE(service->needsServer());
    EXPECT_EQ(service->accountName(), "@painter@127.0.0.1");

    fake.processingPolls = 2;
    const QString photo = makeJpeg(400, 300);
    service->upload({photo, "Poppy", "Red on grey", "A red poppy in a grey field", {"poppy", "black and white"},
                     "unlisted", ""});
    ASSERT_TRUE(events->waitForEnd());
    ASSERT_TRUE(events->errors.empty()) << events->errors.back().message.toStdString();
    ASSERT_EQ(fake.statuses.size(), 1u);
    const auto& status = fake.statuses[0];
    EXPECT_EQ(status.visibility, "unlisted");
    EXPECT_EQ(status.text, "Red on grey\n\n#poppy #blackandwhite");
    ASSERT_EQ(status.mediaIds.size(), 1);
    EXPECT_EQ(fake.mediaDescriptions.value(status.mediaIds[0]), "A red poppy in a grey field");
    QFile file(photo);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(fake.media.value(status.mediaIds[0]), file.readAll());
    // Two answers of "still processing", then the processed media.
    EXPECT_EQ(fake.server.count("/api/v1/media/" + status.mediaIds[0]), 3);
    ASSERT_EQ(events->finished.size(), 1u);
    EXPECT_EQ(events->finished[0].path(), "/@painter/110000001");

    // Signing in again on the same server reuses the registration.
    service->signOut();
    EXPECT_FALSE(service->isSignedIn());
    ASSERT_TRUE(signIn(*service, *events));
    EXPECT_EQ(fake.registrations, 1);
    EXPECT_TRUE(fake.server.problems.isEmpty()) << fake.server.problems.join("; ").toStdString();
}

TEST_F(MastodonTest, EachFailedUploadIsReportedAsWhatItMeans)
{
    Recorder* events = nullptr;
    auto service = signedInService(events);
    ASSERT_TRUE(service->isSignedIn());
    fake.processingPolls = 0;
    const QString photo = makeJpeg(1200, 900);
    const qint64 size = QFileInfo(photo).size();

    HttpResponse limited = HttpResponse::json(429, R"({"error":"Too many requests"})");
    limited.headers.push_back({"Retry-After", "120"});
    struct Case {
        const char* name;
        std::function<void()> arrange;
        ShareErrorKind kind;
        int retryAfter;
    };
    // The expired token comes last: it signs the service out.
    const Case cases[] = {
        {"413", [&] { fake.server.answerNextWith("/api/v2/media", HttpResponse::json(413, "{}")); },
         ShareErrorKind::TooLarge, 0},
        {"429", [&] { fake.server.answerNextWith("/api/v2/media", limited); }, ShareErrorKind::RateLimited, 120},
        {"503", [&] { fake.server.answerNextWith("/api/v1/statuses", HttpResponse::json(503, "{}")); },
         ShareErrorKind::Server, 0},
        {"403", [&] { fake.server.answerNextWith("/api/v2/media", HttpResponse::json(403, R"({"error":"This action is not allowed"})")); },
         ShareErrorKind::Forbidden, 0},
        // Nearly all of the picture was sent: still a failure.
        {"dropped", [&] { fake.server.dropNextAfter("/api/v2/media", size * 95 / 100, 2); }, ShareErrorKind::Connection, 0},
        {"expired token", [&] { fake.revokeToken(); }, ShareErrorKind::TokenExpired, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        events->clear();
        c.arrange();
        service->upload({photo, "", "text", "", {}, "public", ""});
        ASSERT_TRUE(events->waitForEnd());
        ASSERT_EQ(events->errors.size(), 1u);
        EXPECT_TRUE(events->finished.empty());
        EXPECT_EQ(events->errors[0].kind, c.kind) << events->errors[0].message.toStdString();
        EXPECT_EQ(events->errors[0].retryAfterSeconds, c.retryAfter);
        EXPECT_FALSE(events->errors[0].message.isEmpty());
        EXPECT_FALSE(service->isUploading());
    }
    EXPECT_TRUE(fake.statuses.empty());
    EXPECT_FALSE(service->isSignedIn());
    EXPECT_TRUE(fake.server.problems.isEmpty()) << fake.server.problems.join("; ").toStdString();
}

TEST_F(MastodonTest, CancelEndsTheUploadAndNothingIsPosted)
{
    Recorder* events = nullptr;
    auto service = signedInService(events);
    ASSERT_TRUE(service->isSignedIn());
    const QString photo = makeJpeg(600, 400);
    struct Case {
        const char* name;
        int processingPolls;
        std::function<bool()> when;
    };
    const Case cases[] = {
        {"while sending", 0, [] { return true; }},
        {"while the server processes", 1000, [&] { return fake.server.count("/api/v2/media") > 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        events->clear();
        fake.processingPolls = c.processingPolls;
        const int mediaBefore = fake.server.count("/api/v2/media");
        service->upload({photo, "", "text", "", {}, "", ""});
        ASSERT_TRUE(spinUntil([&] { return fake.server.count("/api/v2/media") > mediaBefore || c.processingPolls == 0; }));
        service->cancel();
        ASSERT_TRUE(events->waitForEnd());
        ASSERT_EQ(events->errors.size(), 1u);
        EXPECT_EQ(events->errors[0].kind, ShareErrorKind::Cancelled);
        EXPECT_FALSE(service->isUploading());
    }
    EXPECT_TRUE(fake.statuses.empty());
}

TEST_F(MastodonTest, AskingToSignInAgainReplacesTheSignInWaitingForTheBrowser)
{
    auto service = createPhotoService(ServiceKind::Mastodon);
    Recorder events(*service);
    service->setServer(fake.server.base());
    ASSERT_TRUE(spinUntil([&] { return events.ready; }));
    qputenv("BROWSER", "true"); // a page the user closes without answering
    service->signIn();
    ASSERT_TRUE(spinUntil([&] { return fake.registrations == 1; }));
    QTest::qWait(100);
    qputenv("BROWSER", PIMAVO_FAKE_BROWSER);
    ASSERT_TRUE(signIn(*service, events));
    EXPECT_TRUE(events.errors.empty()) << events.errors.front().message.toStdString();
    EXPECT_EQ(fake.registrations, 1);
    EXPECT_TRUE(fake.server.problems.isEmpty()) << fake.server.problems.join("; ").toStdString();
}

TEST(MastodonServerTest, OnlySecureServersOrThisMachineAreAccepted)
{
    const std::pair<const char*, const char*> cases[] = {
        {"https://Mastodon.Example/some/path", "https://mastodon.example"},
        {"mastodon.social", "https://mastodon.social"},
        {"https://pixelfed.example:8443", "https://pixelfed.example:8443"},
        {"http://127.0.0.1:3000", "http://127.0.0.1:3000"},
        {"http://localhost", "http://localhost"},
        {"http://mastodon.example", ""},
        {"http://192.168.1.20", ""},
        {"ftp://mastodon.example", ""},
        {"", ""},
    };
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(MastodonService::normalisedServer(QUrl(given)).toString(), QString(expected)) << given;
}

} // namespace
