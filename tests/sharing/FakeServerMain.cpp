// A fake service as a program of its own, for the command-line tests:
//   sharing_fake_server mastodon|flickr|tumblr URL_FILE MEDIA_FOLDER
// writes its address to URL_FILE and serves until its standard input ends; then it writes each
// picture it received into MEDIA_FOLDER and prints what it received and found wrong, one a line.
#include "FakeServices.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

using namespace pimavo::sharing::testing;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: sharing_fake_server mastodon|flickr|tumblr URL_FILE MEDIA_FOLDER\n");
        return 2;
    }
    const QString service = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[3]);
    FakeMastodon mastodon;
    FakeFlickr flickr;
    FakeTumblr tumblr;
    mastodon.processingPolls = 1;
    MockHttpServer& server = service == "flickr"   ? flickr.server
                             : service == "tumblr" ? tumblr.server
                                                   : mastodon.server;
    QFile url(QString::fromLocal8Bit(argv[2]));
    if (!url.open(QIODevice::WriteOnly)) return 2;
    url.write(server.base().toEncoded() + '\n');
    url.close();

    // A line "revoke" makes Mastodon refuse the token it gave; "reject REASON" answers the next
    // status with 422 and the reason; "slow MS" posts the next status at once but answers MS later.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);
            app.quit();
            return;
        }
        pending.append(buffer, got);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QByteArray line = pending.left(end).trimmed();
            if (line == "revoke")
                mastodon.revokeToken();
            else if (line.startsWith("slow "))
                mastodon.server.delayNextAnswer("/api/v1/statuses", line.mid(5).toInt());
            else if (line.startsWith("reject "))
                mastodon.server.answerNextWith(
                    "/api/v1/statuses", HttpResponse::json(422, R"({"error":")" + line.mid(7) + R"("})"));
        }
    });
    app.exec();

    int count = 0;
    const auto save = [&](const QByteArray& bytes) {
        const QString path = QString("%1/received-%2.jpg").arg(folder).arg(++count);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        std::printf("picture: %s\n", qPrintable(path));
    };
    for (const auto& status : mastodon.statuses) {
        std::printf("status: %s %s\n", qPrintable(status.visibility), qPrintable(status.text));
        for (const QString& id : status.mediaIds) {
            std::printf("description: %s\n", qPrintable(mastodon.mediaDescriptions.value(id)));
            save(mastodon.media.value(id));
        }
    }
    for (const auto& upload : flickr.uploads) {
        std::printf("upload: %s is_public=%s\n", qPrintable(upload.fields.value("title")),
                    qPrintable(upload.fields.value("is_public")));
        save(upload.photo);
    }
    for (const auto& post : tumblr.posts) {
        std::printf("post: %s\n", qPrintable(post.blog));
        save(post.photo);
    }
    for (const QString& problem : server.problems) std::printf("problem: %s\n", qPrintable(problem));
    return 0;
}
