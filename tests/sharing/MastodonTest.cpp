// Mastodon against its fake: the program registered once per server, PKCE sign-in, media processed
// before the status, and every way an upload can fail.
#include "FakeServices.h"
#include "SharingFixture.h"
#include "SharingTestSupport.h"
#include "sharing/services/MastodonService.h"
#include "sharing/services/NetworkClient.h"

#include <QFile>
#include <QSettings>

using namespace pimavo::sharing;
using namespace pimavo::sharing::testing;

namespace {

class MastodonTest : public SharingTest {
protected:
    std::unique_ptr<PhotoService> signedInService(Recorder*& events) {
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

TEST_F(MastodonTest, RegistersOnceSignsInAndPostsTheProcessedPicture) {
    Recorder* events = nullptr;
    auto service = signedInService(events);
    ASSERT_TRUE(service->isSignedIn());
    EXPECT_TRUE(service->needsServer());
    EXPECT_EQ(service->accountName(), "@painter@127.0.0.1");

    fake.processingPolls = 2;
    const QString photo = makeJpeg(400, 300);
    service->upload({photo,
                     "Poppy",
                     "Red on grey",
                     "A red poppy in a grey field",
                     {"poppy", "black and white"},
                     "unlisted",
                     ""});
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

TEST_F(MastodonTest, EachFailedUploadIsReportedAsWhatItMeans) {
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
        {"429", [&] { fake.server.answerNextWith("/api/v2/media", limited); }, ShareErrorKind::RateLimited,
         120},
        {"503", [&] { fake.server.answerNextWith("/api/v1/statuses", HttpResponse::json(503, "{}")); },
         ShareErrorKind::Server, 0},
        {"403",
         [&] {
             fake.server.answerNextWith("/api/v2/media",
                                        HttpResponse::json(403, R"({"error":"This action is not allowed"})"));
         },
         ShareErrorKind::Forbidden, 0},
        // Nearly all of the picture was sent: still a failure.
        {"dropped", [&] { fake.server.dropNextAfter("/api/v2/media", size * 95 / 100, 2); },
         ShareErrorKind::Connection, 0},
        {"422",
         [&] {
             fake.server.answerNextWith(
                 "/api/v1/statuses",
                 HttpResponse::json(
                     422, R"({"error":"Validation failed: Text character limit of 500 exceeded"})"));
         },
         ShareErrorKind::Rejected, 0},
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
        // What the server said was wrong reaches the user.
        if (c.kind == ShareErrorKind::Rejected) {
            EXPECT_EQ(events->errors[0].reason, "Validation failed: Text character limit of 500 exceeded");
            EXPECT_TRUE(events->errors[0].message.contains("Text character limit of 500 exceeded"))
                << events->errors[0].message.toStdString();
        }
    }
    EXPECT_TRUE(fake.statuses.empty());
    EXPECT_FALSE(service->isSignedIn());
    EXPECT_TRUE(fake.server.problems.isEmpty()) << fake.server.problems.join("; ").toStdString();
}

TEST_F(MastodonTest, CancelEndsTheUploadAndNothingIsPosted) {
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
        ASSERT_TRUE(spinUntil(
            [&] { return fake.server.count("/api/v2/media") > mediaBefore || c.processingPolls == 0; }));
        service->cancel();
        ASSERT_TRUE(events->waitForEnd());
        ASSERT_EQ(events->errors.size(), 1u);
        EXPECT_EQ(events->errors[0].kind, ShareErrorKind::Cancelled);
        EXPECT_FALSE(service->isUploading());
    }
    EXPECT_TRUE(fake.statuses.empty());
}

TEST_F(MastodonTest, AskingToSignInAgainReplacesTheSignInWaitingForTheBrowser) {
    auto service = createPhotoService(ServiceKind::Mastodon);
    Recorder events(*service);
    service->setServer(fake.server.base());
    ASSERT_TRUE(spinUntil([&] { return events.ready; }));
    qputenv("BROWSER", "true"); // a page the user closes without answering
    service->signIn();
    ASSERT_TRUE(spinUntil([&] { return fake.registrations == 1; }));
    // The browser starts once the registration's answer is read, with nothing to tell the test:
    // it must have been started with this BROWSER before the next one is set.
    QTest::qWait(100);
    qputenv("BROWSER", PIMAVO_FAKE_BROWSER);
    ASSERT_TRUE(signIn(*service, events));
    EXPECT_TRUE(events.errors.empty()) << events.errors.front().message.toStdString();
    EXPECT_EQ(fake.registrations, 1);
    EXPECT_TRUE(fake.server.problems.isEmpty()) << fake.server.problems.join("; ").toStdString();
}

TEST_F(MastodonTest, APostWhoseAnswerNeverCameIsLookedForAndNeverPostedTwice) {
    Recorder* events = nullptr;
    auto service = signedInService(events);
    ASSERT_TRUE(service->isSignedIn());
    fake.processingPolls = 0;
    // Answers slower than this count as lost.
    setTransferTimeout(std::chrono::milliseconds(400));
    struct Case {
        const char* name;
        const char* visibility;
        bool serverPosts;            // whether the server made the post before the answer was lost
        ShareErrorKind firstOutcome; // None: the post was found on the account
    };
    const Case cases[] = {
        {"posted, answer late", "unlisted", true, ShareErrorKind::None},
        {"not posted, connection lost", "public", false, ShareErrorKind::Connection},
        {"posted where nobody else sees it", "private", true, ShareErrorKind::MaybePosted},
        {"not posted, nobody else would see it", "direct", false, ShareErrorKind::MaybePosted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        events->clear();
        const QString photo = makeJpeg(320, 240);
        const UploadRequest request{photo, "", QString("Text for ") + c.name, "", {}, c.visibility, ""};
        const std::size_t before = fake.statuses.size();
        if (c.serverPosts)
            fake.server.delayNextAnswer("/api/v1/statuses", 3000);
        else
            fake.server.dropNextAfter("/api/v1/statuses", 0, 2);
        service->upload(request);
        ASSERT_TRUE(events->waitForEnd());
        EXPECT_EQ(fake.statuses.size(), before + (c.serverPosts ? 1 : 0));
        if (c.firstOutcome == ShareErrorKind::None) {
            ASSERT_TRUE(events->errors.empty()) << events->errors[0].message.toStdString();
            ASSERT_EQ(events->finished.size(), 1u);
            EXPECT_EQ(events->finished[0].path(), "/@painter/" + fake.statuses.back().id);
            continue;
        }
        ASSERT_EQ(events->errors.size(), 1u);
        EXPECT_EQ(events->errors[0].kind, c.firstOutcome) << events->errors[0].message.toStdString();
        // The user is told whether to look before trying again, never that nothing was posted.
        EXPECT_FALSE(events->errors[0].message.contains("before the picture was posted"));

        // Trying again posts it, once.
        events->clear();
        service->upload(request);
        ASSERT_TRUE(events->waitForEnd());
        ASSERT_TRUE(events->errors.empty()) << events->errors[0].message.toStdString();
        EXPECT_EQ(fake.statuses.size(), before + 1);
        ASSERT_EQ(events->finished.size(), 1u);
        EXPECT_EQ(events->finished[0].path(), "/@painter/" + fake.statuses.back().id);
    }
    // Each post went with one key, the same on every try; a new post gets a new one.
    QHash<QByteArray, QSet<QString>> textsByKey;
    for (const HttpRequest& r : fake.server.requests())
        if (r.path == "/api/v1/statuses" && !r.body.isEmpty()) // not those dropped before their body
            textsByKey[r.header("idempotency-key")].insert(r.formValue("status"));
    EXPECT_EQ(textsByKey.size(), qsizetype(std::size(cases)));
    for (const auto& texts : textsByKey) EXPECT_EQ(texts.size(), 1);
    setTransferTimeout(std::chrono::milliseconds(0));
    EXPECT_TRUE(fake.server.problems.isEmpty()) << fake.server.problems.join("; ").toStdString();
}

TEST_F(MastodonTest, ASignInThatFailsOnAnotherServerKeepsTheAccountThatWorks) {
    Recorder* events = nullptr;
    auto service = signedInService(events);
    ASSERT_TRUE(service->isSignedIn());
    FakeMastodon other;
    struct Case {
        const char* name;
        QUrl server;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"refused on the other server", other.server.base(), [&] { other.oauth.userApproves = false; }},
        {"no server there", QUrl("http://127.0.0.1:9"), [] {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto elsewhere = createPhotoService(ServiceKind::Mastodon);
        Recorder tried(*elsewhere);
        ASSERT_TRUE(spinUntil([&] { return tried.ready; }));
        c.arrange();
        elsewhere->setServer(c.server);
        EXPECT_FALSE(elsewhere->isSignedIn());
        elsewhere->signIn();
        ASSERT_TRUE(tried.waitForEnd());
        ASSERT_EQ(tried.errors.size(), 1u);
        EXPECT_FALSE(elsewhere->isSignedIn());

        // A later window or command still has the working account, and can post with it.
        auto later = createPhotoService(ServiceKind::Mastodon);
        Recorder laterEvents(*later);
        ASSERT_TRUE(spinUntil([&] { return laterEvents.ready; }));
        EXPECT_EQ(later->server(), fake.server.base());
        ASSERT_TRUE(later->isSignedIn());
        EXPECT_EQ(later->accountName(), "@painter@127.0.0.1");
        // And the window that tried, once back on the first server.
        elsewhere->setServer(fake.server.base());
        ASSERT_TRUE(spinUntil([&] { return elsewhere->isReady() && elsewhere->isSignedIn(); }));
    }
    fake.processingPolls = 0;
    service->upload({makeJpeg(200, 150), "", "still here", "", {}, "public", ""});
    ASSERT_TRUE(events->waitForEnd());
    EXPECT_TRUE(events->errors.empty());
    EXPECT_EQ(fake.statuses.size(), 1u);
}

TEST(MastodonServerTest, OnlySecureServersOrThisMachineAreAccepted) {
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
