// The pieces of the network client a test can pin down without a service: Retry-After, token
// lifetimes, addresses pointed at a local server, and the loopback listener the browser comes back to.
#include "sharing/services/NetworkClient.h"

#include "SharingTestSupport.h"
#include "sharing/services/BrowserSignIn.h"
#include "sharing/services/OAuth2Tokens.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QProcess>
#include <gtest/gtest.h>
#include <limits>

using namespace pimavo::sharing;
using namespace pimavo::sharing::testing;

namespace {

TEST(NetworkClientTest, RetryAfterIsReadAsSecondsOrAsADate) {
    const QByteArray inTwoMinutes =
        QDateTime::currentDateTimeUtc().addSecs(120).toString(Qt::RFC2822Date).toLatin1();
    const QByteArray past =
        QDateTime::currentDateTimeUtc().addSecs(-600).toString(Qt::RFC2822Date).toLatin1();
    struct Case {
        QByteArray header;
        int low, high;
    };
    constexpr int kLongest = std::numeric_limits<int>::max();
    const Case cases[] = {
        {"120", 120, 120},
        {" 7 ", 7, 7},
        {"", 0, 0},
        {"soon", 0, 0},
        {"-5", 0, 0},
        {past, 0, 0},
        {inTwoMinutes, 110, 121},
        // Further ahead than an int of seconds reaches: the longest wait, not a negative one.
        {"21 Oct 2100 07:28:00 +0000", kLongest, kLongest},
        {"31 Dec 9999 23:59:59 +0000", kLongest, kLongest}};
    for (const Case& c : cases) {
        const int seconds = retryAfterSeconds(c.header);
        EXPECT_GE(seconds, c.low) << c.header.toStdString();
        EXPECT_LE(seconds, c.high) << c.header.toStdString();
    }
}

TEST(NetworkClientTest, TokenLifetimesAreReadAsTheServerSaysWithinACentury) {
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    constexpr qint64 kYear = 366 * 24 * 3600;
    struct Case {
        const char* answer;
        qint64 low, high; // expiresAt - now; 0, 0: not said
    } cases[] = {
        {R"({"access_token":"a","expires_in":3600})", 3590, 3610},
        {R"({"access_token":"a","expires_in":"86400"})", 86390, 86410},
        {R"({"access_token":"a"})", 0, 0},
        {R"({"access_token":"a","expires_in":-5})", 0, 0},
        // Past any clock: capped, never wrapped round to a time long gone.
        {R"({"access_token":"a","expires_in":9223372036854775807})", 99 * kYear, 101 * kYear},
        {R"({"access_token":"a","expires_in":"9223372036854775807"})", 99 * kYear, 101 * kYear},
    };
    for (const Case& c : cases) {
        const OAuth2Tokens tokens = OAuth2Tokens::fromAnswer(c.answer);
        if (c.high == 0) {
            EXPECT_EQ(tokens.expiresAt, 0) << c.answer;
            continue;
        }
        EXPECT_GE(tokens.expiresAt - now, c.low) << c.answer;
        EXPECT_LE(tokens.expiresAt - now, c.high) << c.answer;
        EXPECT_FALSE(tokens.isExpired()) << c.answer;
    }
}

TEST(NetworkClientTest, AServiceAddressCanBePointedAtALocalServer) {
    const QUrl standard("https://up.flickr.com/services/upload/");
    struct Case {
        const char* variable;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, "https://up.flickr.com/services/upload/"},
        {"http://127.0.0.1:8123", "http://127.0.0.1:8123/services/upload/"},
        {"http://127.0.0.1:8123/", "http://127.0.0.1:8123/services/upload/"},
        {"http://localhost/flickr", "http://localhost/flickr/services/upload/"},
        {"not an address", "https://up.flickr.com/services/upload/"},
    };
    for (const Case& c : cases) {
        if (c.variable)
            qputenv("PIMAVO_TEST_SERVICE_URL", c.variable);
        else
            qunsetenv("PIMAVO_TEST_SERVICE_URL");
        EXPECT_EQ(serviceAddress("PIMAVO_TEST_SERVICE_URL", standard).toString(), QString(c.expected))
            << (c.variable ? c.variable : "(unset)");
    }
    qunsetenv("PIMAVO_TEST_SERVICE_URL");
}

TEST(NetworkClientTest, PkceChallengeIsTheUnpaddedUrlSafeSha256OfTheVerifier) {
    // The example of RFC 7636, appendix B.
    EXPECT_EQ(pkceChallenge("dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk"),
              "E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM");
    const QString a = randomToken(32), b = randomToken(32);
    EXPECT_NE(a, b);
    EXPECT_GE(a.size(), 43); // the shortest verifier RFC 7636 allows
    EXPECT_FALSE(a.contains('+') || a.contains('/') || a.contains('='));
}

TEST(NetworkClientTest, TheListenerAnswersTheBrowserAndHandsOverTheQueryOnce) {
    BrowserSignIn listener;
    ASSERT_TRUE(listener.listen());
    const QUrl redirect = listener.redirectUri();
    EXPECT_EQ(redirect.host(), "127.0.0.1");
    EXPECT_GT(redirect.port(), 0);
    std::vector<QUrlQuery> answers;
    QObject::connect(&listener, &BrowserSignIn::answered, [&](const QUrlQuery& q) { answers.push_back(q); });

    const auto fetch = [](const QUrl& url) {
        QProcess curl;
        curl.start("curl", {"--silent", "--noproxy", "*", "--include", url.toString()});
        spinUntil([&] { return curl.state() == QProcess::NotRunning; }, 10000);
        return curl.readAllStandardOutput();
    };
    QUrl wrong = redirect;
    wrong.setPath("/favicon.ico");
    EXPECT_TRUE(fetch(wrong).startsWith("HTTP/1.1 404"));
    QUrl back = redirect;
    back.setQuery("code=abc%2B1&state=xyz");
    const QByteArray page = fetch(back);
    EXPECT_TRUE(page.startsWith("HTTP/1.1 200")) << page.toStdString();
    EXPECT_TRUE(page.contains("close this page"));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].queryItemValue("code", QUrl::FullyDecoded), "abc+1");
    EXPECT_EQ(answers[0].queryItemValue("state", QUrl::FullyDecoded), "xyz");
    // The listener is closed once answered: a replayed answer finds nobody.
    fetch(back);
    EXPECT_EQ(answers.size(), 1u);
}

} // namespace
