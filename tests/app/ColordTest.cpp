// The screen's profile as colord holds it, where the X root window has none and on Wayland: the
// editor asks colord for the display of the screen's output, and reads that display's default
// profile. Here a stand-in for colord answers on a bus of the test's own.
#include "ColourTestPhotos.h"
#include "app/ScreenColour.h"

#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace pimavo::test {
namespace {

using Metadata = QMap<QString, QString>;

class FakeProfile : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ColorManager.Profile")
    Q_PROPERTY(QString Filename READ filename)
public:
    explicit FakeProfile(QString file) : file_(std::move(file)) {}
    QString filename() const { return file_; }

private:
    QString file_;
};

class FakeDevice : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ColorManager.Device")
    Q_PROPERTY(QList<QDBusObjectPath> Profiles READ profiles)
    Q_PROPERTY(QMap<QString, QString> Metadata READ metadata)
public:
    FakeDevice(QList<QDBusObjectPath> profiles, Metadata metadata)
        : profiles_(std::move(profiles)), metadata_(std::move(metadata)) {}
    QList<QDBusObjectPath> profiles() const { return profiles_; }
    Metadata metadata() const { return metadata_; }

private:
    QList<QDBusObjectPath> profiles_;
    Metadata metadata_;
};

class FakeManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ColorManager")
public:
    explicit FakeManager(QList<QDBusObjectPath> displays) : displays_(std::move(displays)) {}

public slots:
    QList<QDBusObjectPath> GetDevicesByKind(const QString& kind) {
        return kind == QLatin1String("display") ? displays_ : QList<QDBusObjectPath>{};
    }

private:
    QList<QDBusObjectPath> displays_;
};

struct Display {
    const char* output;
    std::vector<QString> profileFiles; // the first is the default
};

// colord on a thread of its own, so that the editor's blocking calls from this one are answered.
class FakeColord : public QThread {
public:
    FakeColord(QString address, std::vector<Display> displays)
        : address_(std::move(address)), displays_(std::move(displays)) {}
    ~FakeColord() override {
        quit();
        wait();
    }
    void startAndWait() {
        start();
        while (!ready_.load()) QThread::msleep(5);
    }

protected:
    void run() override {
        qDBusRegisterMetaType<Metadata>();
        QDBusConnection bus = QDBusConnection::connectToBus(address_, QStringLiteral("fake-colord"));
        std::vector<std::unique_ptr<QObject>> objects;
        QList<QDBusObjectPath> devices;
        int profileNumber = 0;
        for (std::size_t d = 0; d < displays_.size(); ++d) {
            QList<QDBusObjectPath> profiles;
            for (const QString& file : displays_[d].profileFiles) {
                const QString path =
                    QStringLiteral("/org/freedesktop/ColorManager/profiles/p%1").arg(++profileNumber);
                objects.push_back(std::make_unique<FakeProfile>(file));
                bus.registerObject(path, objects.back().get(), QDBusConnection::ExportAllProperties);
                profiles << QDBusObjectPath(path);
            }
            const QString path = QStringLiteral("/org/freedesktop/ColorManager/devices/d%1").arg(d);
            objects.push_back(std::make_unique<FakeDevice>(
                profiles, Metadata{{"XRANDR_name", QString::fromLatin1(displays_[d].output)}}));
            bus.registerObject(path, objects.back().get(), QDBusConnection::ExportAllProperties);
            devices << QDBusObjectPath(path);
        }
        FakeManager manager(devices);
        bus.registerObject(QStringLiteral("/org/freedesktop/ColorManager"), &manager,
                           QDBusConnection::ExportAllSlots);
        bus.registerService(QStringLiteral("org.freedesktop.ColorManager"));
        ready_ = true;
        exec();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-colord"));
    }

private:
    QString address_;
    std::vector<Display> displays_;
    std::atomic<bool> ready_{false};
};

// A message bus of the test's own, ended with it.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus(QStringLiteral("editor"));
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    const QString& address() const { return address_; }
    QDBusConnection editorSide() const {
        return QDBusConnection::connectToBus(address_, QStringLiteral("editor"));
    }

private:
    QProcess daemon_;
    QString address_;
};

QString writeProfile(const QTemporaryDir& dir, const char* name, const std::vector<uint8_t>& bytes) {
    QFile f(dir.filePath(QString::fromLatin1(name)));
    if (f.open(QIODevice::WriteOnly))
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    return f.fileName();
}

TEST(Colord, TheDisplayOfTheScreensOutputGivesItsDefaultProfile) {
    QTemporaryDir dir;
    const QString p3 = writeProfile(dir, "p3.icc", testDisplayP3());
    const QString adobe = writeProfile(dir, "adobe.icc", testAdobeRgb());
    const QString missing = dir.filePath("gone.icc");
    struct Case {
        const char* name;
        std::vector<Display> displays;
        const char* output;
        std::optional<std::vector<uint8_t>> expected;
    } cases[] = {
        {"the output's own display", {{"eDP-1", {p3}}, {"DP-2", {adobe, p3}}}, "DP-2", testAdobeRgb()},
        {"an output colord does not know: its first display",
         {{"eDP-1", {p3}}, {"DP-2", {adobe}}},
         "HDMI-1",
         testDisplayP3()},
        {"a display without a profile is passed over",
         {{"eDP-1", {}}, {"DP-2", {adobe}}},
         "",
         testAdobeRgb()},
        {"the profile's file is gone", {{"DP-2", {missing}}}, "DP-2", std::nullopt},
        {"no display", {}, "DP-2", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PrivateBus bus;
        ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon did not start";
        FakeColord colord(bus.address(), c.displays);
        colord.startAndWait();
        EXPECT_EQ(readColordDisplayProfile(bus.editorSide(), QString::fromLatin1(c.output)), c.expected);
    }
}

TEST(Colord, WithoutColordThereIsNoProfile) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon did not start";
    EXPECT_EQ(readColordDisplayProfile(bus.editorSide(), QStringLiteral("DP-2"), 60000), std::nullopt);
}

} // namespace
} // namespace pimavo::test

#include "ColordTest.moc"
