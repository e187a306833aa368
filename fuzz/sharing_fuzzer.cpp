// libFuzzer target: what the photo services' servers answer (ServiceAnswers.h, the OAuth 2.0 token
// answers, error answers and Retry-After). Any bytes must read as a value; tokens read from an
// answer must be kept and restored unchanged; a wait asked of us is never negative; and an
// upload is never taken as done without the id it names.
#include "FuzzSupport.h"
#include "sharing/services/NetworkClient.h"
#include "sharing/services/OAuth2Tokens.h"
#include "sharing/services/ServiceAnswers.h"

using namespace pimavo::sharing;
using namespace pimavo::fuzz;

namespace {

void tokensSurviveKeeping(const OAuth2Tokens& tokens) {
    const OAuth2Tokens back = OAuth2Tokens::fromStored(tokens.toStored());
    expect(back.access == tokens.access && back.refresh == tokens.refresh &&
               back.expiresAt == tokens.expiresAt,
           "tokens kept in the keyring come back unchanged");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));

    const OAuth2Tokens fresh = OAuth2Tokens::fromAnswer(body);
    expect(fresh.expiresAt >= 0, "a token's expiry is a time or none");
    tokensSurviveKeeping(fresh);
    OAuth2Tokens previous;
    previous.access = "old access";
    previous.refresh = "old refresh";
    const OAuth2Tokens refreshed = OAuth2Tokens::fromAnswer(body, previous);
    expect(!refreshed.refresh.isEmpty(), "a refresh keeps a refresh token");
    tokensSurviveKeeping(refreshed);

    const QString reason = reasonFromAnswer(body);
    expect(reason == reason.trimmed(), "a server's reason is trimmed");
    expect(retryAfterSeconds(body) >= 0, "a server never makes us wait a negative time");

    const FlickrUploadAnswer upload = readFlickrUploadAnswer(body);
    expect(!upload.ok || !upload.photoId.isEmpty(), "an upload is done only with a photo id");
    readFlickrTokenAnswer(body);
    readFlickrLoginAnswer(body);
    readMastodonApp(body);
    readMastodonAccount(body);
    readMastodonMedia(body);
    readMastodonStatusAddress(body);
    findMastodonStatusWithMedia(body, "1");
    if (const auto user = readTumblrUser(body))
        for (const auto& blog : user->blogs)
            expect(!blog.id.isEmpty() && !blog.title.isEmpty(), "a blog has a name and a title");
    readTumblrPostId(body);
    return 0;
}
