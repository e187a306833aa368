#include "ShareCommands.h"

#include "sharing/services/CredentialStore.h"
#include "sharing/services/MailHandOff.h"
#include "sharing/services/MastodonService.h"
#include "sharing/services/NetworkClient.h"
#include "sharing/services/PhotoService.h"
#include "sharing/services/SharedPicture.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <optional>

namespace pimavo::cli {

namespace {

using namespace pimavo::sharing;

// The command-line tool speaks English whatever the desktop's language: its messages are read by
// scripts and pasted into bug reports as often as by people. The services' own messages are
// translated, but the tool installs no translator, so they come in English too.
constexpr const char* kOffline =
    "You are not connected to the internet. Check your connection and try again.";

int fail(const QString& message) {
    std::fprintf(stderr, "pimavo-cli: %s\n", message.toUtf8().constData());
    return 1;
}

struct Arguments {
    std::vector<std::pair<std::string, std::string>> named;
    std::vector<std::string> plain;
    std::optional<QString> value(const std::string& name) const {
        for (const auto& [n, v] : named)
            if (n == name) return QString::fromStdString(v);
        return std::nullopt;
    }
};

// "--name value" options among plain arguments; false (with `error`) for an unknown or valueless one.
bool parse(const std::vector<std::string>& args, std::initializer_list<const char*> names, Arguments& out,
           QString& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            out.plain.push_back(a);
            continue;
        }
        const std::string name = a.substr(2);
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            error = QString("unknown option \"%1\"; see pimavo-cli --help").arg(QString::fromStdString(a));
            return false;
        }
        if (i + 1 >= args.size()) {
            error = QString("%1 needs a value").arg(QString::fromStdString(a));
            return false;
        }
        out.named.emplace_back(name, args[++i]);
    }
    return true;
}

std::unique_ptr<PhotoService> makeService(const std::string& key, QString& error) {
    ServiceKind kind;
    if (!serviceKindFromKey(QString::fromStdString(key), kind)) {
        error = QString("unknown service \"%1\"; the services are flickr, tumblr, mastodon and facebook")
                    .arg(QString::fromStdString(key));
        return nullptr;
    }
    return createPhotoService(kind);
}

// Runs the event loop until the service has read its stored sign-in.
void waitUntilReady(PhotoService& service) {
    if (service.isReady()) return;
    QEventLoop loop;
    QObject::connect(&service, &PhotoService::ready, &loop, &QEventLoop::quit);
    loop.exec();
}

bool setServer(PhotoService& service, const std::optional<QString>& server, QString& error) {
    if (!server) return true;
    if (!service.needsServer()) {
        error = QString("%1 takes no --server").arg(service.displayName());
        return false;
    }
    const QUrl url = MastodonService::normalisedServer(QUrl::fromUserInput(*server));
    if (url.isEmpty()) {
        error = QString("\"%1\" is not a server address Pimavo accepts: https, or plain http only on "
                        "127.0.0.1 or localhost")
                    .arg(*server);
        return false;
    }
    service.setServer(url);
    return true;
}

} // namespace

int signIn(const std::vector<std::string>& args) {
    Arguments a;
    QString error;
    if (!parse(args, {"server"}, a, error)) return fail(error);
    if (a.plain.size() != 1) return fail("sign-in takes one service; see pimavo-cli --help");
    auto service = makeService(a.plain[0], error);
    if (!service) return fail(error);
    if (!setServer(*service, a.value("server"), error)) return fail(error);
    if (service->needsServer() && service->server().isEmpty())
        return fail("Enter the address of your server first, such as https://mastodon.social. Only secure "
                    "(https) addresses are accepted.");
    if (const QString problem = service->setupProblem(); !problem.isEmpty()) return fail(problem);
    if (!service->uploadsDirectly()) return fail(service->handOverNote());
    waitUntilReady(*service);
    if (!isNetworkReachable()) return fail(kOffline);

    QEventLoop loop;
    int status = 0;
    QObject::connect(service.get(), &PhotoService::signedInChanged, &loop, [&] {
        if (service->isSignedIn()) loop.quit();
    });
    QObject::connect(service.get(), &PhotoService::failed, &loop, [&](const ShareError& e) {
        status = fail(e.message);
        loop.quit();
    });
    std::fprintf(stderr, "Opening the %s sign-in page in the browser…\n", qPrintable(service->displayName()));
    service->signIn();
    loop.exec();
    CredentialStore::shared().waitUntilSettled();
    if (status != 0) return status;
    std::printf("Signed in to %s as %s\n", qPrintable(service->displayName()),
                qPrintable(service->accountName()));
    if (service->credentialsAreTemporary())
        std::fprintf(stderr, "The sign-in could not be kept in a keyring: it ends with this command, and the "
                             "next one will not find it.\n");
    return 0;
}

// Copies `file` into `folder` as "BASE.jpg", or "BASE 2.jpg", "BASE 3.jpg"... when that is taken: a
// file of the user's by that name is never replaced (the copy refuses an existing name, so one
// made meanwhile by someone else is not either). The copy's path, or empty.
static QString keepUnderFreeName(const QString& file, const QString& folder, const QString& base) {
    for (int n = 1; n < 10000; ++n) {
        const QString path = folder + "/" + (n == 1 ? base : QString("%1 %2").arg(base).arg(n)) + ".jpg";
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) continue;
        if (QFile::copy(file, path)) return path;
        if (!QFileInfo::exists(path)) return {}; // not a name taken meanwhile: the folder refuses
    }
    return {};
}

int share(const std::vector<std::string>& args) {
    Arguments a;
    QString error;
    if (!parse(args, {"size", "text", "title", "alt", "tags", "visibility", "to", "server", "location"}, a,
               error))
        return fail(error);
    if (a.plain.size() != 2) return fail("share takes a service and a photo; see pimavo-cli --help");
    const QString location = a.value("location").value_or("no");
    if (location != "yes" && location != "no") return fail("--location takes yes or no");
    auto service = makeService(a.plain[0], error);
    if (!service) return fail(error);
    if (!setServer(*service, a.value("server"), error)) return fail(error);
    const QString photo = QString::fromStdString(a.plain[1]);
    if (!QFileInfo(photo).isReadable()) return fail(QString("cannot read \"%1\"").arg(photo));
    int size = 0;
    if (const auto s = a.value("size")) {
        bool ok = false;
        size = s->toInt(&ok);
        if (!ok || size < 16) return fail("--size takes the longest side in pixels, at least 16");
    }
    if (service->maxPixelSide() > 0 && (size == 0 || size > service->maxPixelSide()))
        size = service->maxPixelSide();
    const QString visibility = a.value("visibility").value_or(QString());
    if (!visibility.isEmpty()) {
        QStringList keys;
        for (const auto& [key, title] : service->visibilities()) keys << key;
        if (!keys.contains(visibility))
            return fail(QString("%1 knows no visibility \"%2\"; it has: %3")
                            .arg(service->displayName(), visibility, keys.join(", ")));
    }

    QTemporaryDir folder;
    const QString exported = folder.filePath(QFileInfo(photo).completeBaseName() + ".jpg");
    if (!writeSharedJpeg(photo, size, exported, &error, location == "yes")) return fail(error);
    if (!service->uploadsDirectly()) {
        // Kept where the user can find it: the temporary folder goes when the command ends.
        const QString kept =
            keepUnderFreeName(exported, QFileInfo(photo).absolutePath(),
                              QFileInfo(photo).completeBaseName() + "-" + serviceKey(service->kind()));
        if (kept.isEmpty()) return fail(QString("cannot write a copy beside \"%1\"").arg(photo));
        std::fprintf(stderr, "%s\n", qPrintable(service->handOverNote()));
        std::printf("%s\n", qPrintable(kept));
        // The upload that follows only gives the address the picture is posted at.
    }

    waitUntilReady(*service);
    if (service->uploadsDirectly() && !service->isSignedIn())
        return fail(QString("not signed in to %1; run pimavo-cli sign-in %2 first")
                        .arg(service->displayName(), serviceKey(service->kind())));
    if (!isNetworkReachable()) return fail(kOffline);

    UploadRequest request;
    request.filePath = exported;
    request.title = a.value("title").value_or(QString());
    request.description = a.value("text").value_or(QString());
    request.altText = a.value("alt").value_or(QString());
    if (const auto tags = a.value("tags")) request.tags = tags->split(',', Qt::SkipEmptyParts);
    request.visibility = visibility;
    request.destination = a.value("to").value_or(QString());

    QEventLoop loop;
    int status = 0;
    int shown = -1;
    QObject::connect(service.get(), &PhotoService::uploadProgress, &loop, [&](qint64 sent, qint64 total) {
        const int percent = int(sent * 100 / std::max<qint64>(1, total));
        if (percent != shown) {
            shown = percent;
            std::fprintf(stderr, "%d%%\n", percent);
        }
    });
    QObject::connect(service.get(), &PhotoService::uploadFinished, &loop, [&](const QUrl& where) {
        std::printf("%s\n", where.toString().toUtf8().constData());
        loop.quit();
    });
    QObject::connect(service.get(), &PhotoService::failed, &loop, [&](const ShareError& e) {
        status = fail(e.message);
        loop.quit();
    });
    service->upload(request);
    loop.exec();
    // A sign-in the service refused is forgotten in the keyring before the command ends.
    CredentialStore::shared().waitUntilSettled();
    return status;
}

int mail(const std::vector<std::string>& args) {
    if (args.size() != 1) return fail("mail takes one photo; see pimavo-cli --help");
    const QString photo = QString::fromStdString(args[0]);
    QTemporaryDir folder;
    folder.setAutoRemove(false); // the mail program reads the attachment after this command ends
    const QString exported = folder.filePath(QFileInfo(photo).completeBaseName() + ".jpg");
    QString error;
    if (!writeSharedJpeg(photo, 0, exported, &error)) return fail(error);
    const MailHandOffResult result = composeMailWithAttachment(exported, "A picture made with Pimavo",
                                                               "Here is a picture I made with Pimavo.");
    if (!result.ok) {
        folder.remove();
        return fail(result.error);
    }
    return 0;
}

} // namespace pimavo::cli
