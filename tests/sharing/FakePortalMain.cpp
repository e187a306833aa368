// A stand-in for the desktop portal's mail interface, for the command-line tests:
//   sharing_fake_portal FOLDER
// takes the name org.freedesktop.portal.Desktop on the session bus, writes FOLDER/ready, and
// answers one ComposeEmail: the subject goes to FOLDER/subject.txt and each attachment, read
// through the descriptor it came as, to FOLDER/attachment-N. Then it ends.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

class EmailPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Email")
public:
    explicit EmailPortal(QString folder) : folder_(std::move(folder)) {}

public slots:
    QDBusObjectPath ComposeEmail(const QString&, const QVariantMap& options) {
        QFile subject(folder_ + "/subject.txt");
        if (subject.open(QIODevice::WriteOnly)) subject.write(options.value("subject").toString().toUtf8());
        QList<QDBusUnixFileDescriptor> fds;
        options.value("attachment_fds").value<QDBusArgument>() >> fds;
        int n = 0;
        for (const QDBusUnixFileDescriptor& fd : fds) {
            QFile out(QString("%1/attachment-%2").arg(folder_).arg(++n));
            if (!out.open(QIODevice::WriteOnly)) continue;
            char buffer[65536];
            ssize_t got;
            ::lseek(fd.fileDescriptor(), 0, SEEK_SET);
            while ((got = ::read(fd.fileDescriptor(), buffer, sizeof buffer)) > 0) out.write(buffer, got);
        }
        QTimer::singleShot(200, qApp, &QCoreApplication::quit);
        return QDBusObjectPath("/org/freedesktop/portal/desktop/request/1_1/pimavo");
    }

private:
    QString folder_;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    qDBusRegisterMetaType<QList<QDBusUnixFileDescriptor>>();
    const QString folder = QString::fromLocal8Bit(argv[1]);
    EmailPortal portal(folder);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/org/freedesktop/portal/desktop", &portal, QDBusConnection::ExportAllSlots) ||
        !bus.registerService("org.freedesktop.portal.Desktop")) {
        std::fprintf(stderr, "sharing_fake_portal: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    QFile ready(folder + "/ready");
    ready.open(QIODevice::WriteOnly);
    ready.close();
    // Not asked within a minute: the test has gone.
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}

#include "FakePortalMain.moc"
