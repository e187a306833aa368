// The network side every photo service shares: one access manager (Qt queues and runs its requests
// and delivers their ends on the thread it lives on), a disk cache for what is downloaded, the
// network's reachability, and the reading of a failed answer as a ShareError.
#pragma once

#include "sharing/services/PhotoService.h"

#include <QString>
#include <QUrl>
#include <chrono>
#include <utility>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

namespace pimavo::sharing {

// Form fields in order, names repeated where a service wants a list ("media_ids[]").
using FormFields = std::vector<std::pair<QString, QString>>;

// application/x-www-form-urlencoded, every reserved character (and "+") escaped.
QByteArray formEncoded(const FormFields& fields);
// The address with the fields as its query, escaped as formEncoded does.
QUrl withQuery(QUrl url, const FormFields& fields);
// A POST of the fields as a form; `bearer`, when given, is sent as the OAuth 2.0 access token.
QNetworkReply* postForm(const QUrl& url, const FormFields& fields, const QString& bearer = {});

// The manager of the thread that first asks for it, the main thread in the editor and the command
// line; its disk cache lives in the user's cache folder.
QNetworkAccessManager& networkManager();

// False only when the system says there is no network; without a way to tell, true.
bool isNetworkReachable();

// A request with the program's user agent and a transfer time-out: a stalled transfer ends as a
// dropped connection rather than hanging.
QNetworkRequest makeRequest(const QUrl& url);
// How long a transfer may stand still before it is given up; zero or less restores the standard
// minute. For tests, which cannot wait that long.
void setTransferTimeout(std::chrono::milliseconds timeout);

// What a service's error answer says was wrong, in its own words; empty when it said nothing readable.
QString reasonFromAnswer(const QByteArray& body);

// The address a service is reached at: the environment variable `variable` when it holds an
// absolute URL (a local server in tests), else `standard`. The path of `standard` is kept either way.
QUrl serviceAddress(const char* variable, const QUrl& standard);

// Whether a server address may be used: https anywhere, plain http only on this machine.
bool isAcceptableServer(const QUrl& url);

// The error a finished reply stands for; None for a success (2xx and no transport error). `service`
// names the service in the message. `tokenProblem`: the service said the token is expired or
// invalid (each service says so its own way); a 401 then reads as TokenExpired rather than Forbidden.
ShareError errorFromReply(QNetworkReply* reply, const QString& service, bool tokenProblem = false);

// A ShareError of the kind with its localised sentence.
ShareError makeError(ShareErrorKind kind, const QString& service, int httpStatus = 0, int retryAfter = 0);

// Retry-After as seconds: a number of seconds or an HTTP date; 0 when absent or unreadable.
int retryAfterSeconds(const QByteArray& header);

} // namespace pimavo::sharing
