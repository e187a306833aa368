// A web photo service as the sharing window and the command line see it: sign in through the
// browser, sign out, the account's name, the places a picture can go (albums, blogs), and an upload
// with progress and cancel. Each service is one class behind this interface; the window's panels
// and `pimavo-cli share` know nothing of OAuth, multipart bodies or a service's JSON.
//
// Every call returns at once; results arrive as signals on the thread the service lives on (the
// main thread in the editor). A service does one upload at a time.
//
// Secrets (tokens, token secrets) live in the system keyring; with none reachable they are kept for
// the session only and `credentialsAreTemporary()` says so.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <vector>

namespace pimavo::sharing {

enum class ServiceKind { Flickr, Tumblr, Mastodon, Facebook };

// The key a service is named by on the command line and in settings: "flickr", "tumblr",
// "mastodon", "facebook".
QString serviceKey(ServiceKind kind);
// The reverse of serviceKey; false for an unknown key.
bool serviceKindFromKey(const QString& key, ServiceKind& kind);

// Why something did not work, in terms a window can act on.
enum class ShareErrorKind {
    None,
    Offline,       // no network, or the service's address cannot be reached
    NotConfigured, // the build has no application keys for the service
    NotSignedIn,
    SignInDenied, // the user refused, or the browser step failed or timed out
    TokenExpired, // the stored sign-in is no longer accepted (sign in again)
    Forbidden,    // 401/403 that signing in again will not mend
    TooLarge,     // 413, or the service's own size limit
    RateLimited,  // 429; retryAfterSeconds says when to try again when the service said
    Server,       // 5xx
    Connection,   // the connection dropped mid-request
    Protocol,     // an answer the service's documentation does not allow
    Rejected,     // 400/422: the service turned the request down; `reason` says why when it said
    MaybePosted,  // the answer to a post never came and whether it went through is unknown
    Cancelled,
};

struct ShareError {
    ShareErrorKind kind = ShareErrorKind::None;
    QString message;           // a sentence for the user, localised
    int httpStatus = 0;        // 0 when no answer came
    int retryAfterSeconds = 0; // RateLimited only; 0 when not said
    QString reason;            // the service's own words on what was wrong, when it gave any
    explicit operator bool() const { return kind != ShareErrorKind::None; }
};

// An album, a blog, a board: somewhere the picture can go.
struct ShareDestination {
    QString id;
    QString title;
    bool operator==(const ShareDestination&) const = default;
};

struct UploadRequest {
    QString filePath; // the exported JPEG, read by the service as it uploads
    QString title;
    QString description; // Mastodon: the status text; Tumblr: the caption
    QString altText;     // the picture's description for people who cannot see it
    QStringList tags;
    QString visibility;  // one of visibilities()' keys; empty: the service's default
    QString destination; // a ShareDestination id; empty: the service's default
};

class PhotoService : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~PhotoService() override = default;

    virtual ServiceKind kind() const = 0;
    virtual QString displayName() const = 0;

    // What keeps the service from working in this build (application keys missing), saying how
    // to add them; empty when it can work.
    virtual QString setupProblem() const { return {}; }
    // Mastodon and servers like it: the server the account lives on, asked before signing in.
    virtual bool needsServer() const { return false; }
    virtual QUrl server() const { return {}; }
    virtual void setServer(const QUrl&) {}
    // Services that take nothing through the program (Facebook): the window exports the picture
    // and hands it over in the browser and the file manager instead of uploading.
    virtual bool uploadsDirectly() const { return true; }
    // For a service that does not upload directly: one sentence on what happens instead.
    virtual QString handOverNote() const { return {}; }

    // Stored credentials are read asynchronously after construction; `ready()` is emitted once they
    // have been (signed in or not).
    virtual bool isReady() const = 0;
    virtual bool isSignedIn() const = 0;
    virtual QString accountName() const = 0;
    virtual bool credentialsAreTemporary() const { return false; }

    // Opens the browser on the service's sign-in page and waits for it on a loopback address;
    // ends with signedInChanged() or failed().
    virtual void signIn() = 0;
    virtual void signOut() = 0;

    // The longest side the service takes, in pixels; 0 for no limit.
    virtual int maxPixelSide() const { return 0; }
    // Visibility choices, as (key, localised title) pairs in the order shown; the first is the default.
    virtual std::vector<std::pair<QString, QString>> visibilities() const { return {}; }

    virtual void fetchDestinations() { emit destinationsChanged(); }
    virtual std::vector<ShareDestination> destinations() const { return {}; }

    // Ends with uploadFinished() or failed(). A failed upload is a failure however much was sent.
    virtual void upload(const UploadRequest& request) = 0;
    virtual bool isUploading() const = 0;
    // Ends the running request; failed() follows with Cancelled.
    virtual void cancel() = 0;

signals:
    void ready();
    void signedInChanged();
    void destinationsChanged();
    void uploadProgress(qint64 sent, qint64 total);
    // Where the posted picture can be seen; empty when the service does not say.
    void uploadFinished(const QUrl& where);
    void failed(const pimavo::sharing::ShareError& error);
};

std::unique_ptr<PhotoService> createPhotoService(ServiceKind kind, QObject* parent = nullptr);

} // namespace pimavo::sharing
