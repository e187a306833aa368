#include "ScreenColour.h"

#include "core/Dispatch.h"
#include "imageio/ColourProfile.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QScreen>
#include <QThreadPool>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <xcb/xcb.h>

namespace pimavo {

std::optional<std::vector<uint8_t>> readX11ScreenProfile(const char* display, int monitor) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(display, &screenNumber);
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(c, xcb_disconnect);
    if (xcb_connection_has_error(c)) return std::nullopt;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
    if (!it.rem) return std::nullopt;
    const std::string name = monitor > 0 ? "_ICC_PROFILE_" + std::to_string(monitor) : "_ICC_PROFILE";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(name.size()), name.c_str()), nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE) return std::nullopt;
    // A profile is a few kilobytes, a LUT-based one a few hundred; the length is in 32-bit units.
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            c,
            xcb_get_property(c, 0, it.data->root, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 16 * 1024 * 1024),
            nullptr),
        &std::free);
    if (!reply || reply->format != 8) return std::nullopt;
    const int length = xcb_get_property_value_length(reply.get());
    if (length <= 0) return std::nullopt;
    const auto* bytes = static_cast<const uint8_t*>(xcb_get_property_value(reply.get()));
    return std::vector<uint8_t>(bytes, bytes + length);
}

namespace {

constexpr const char* kColord = "org.freedesktop.ColorManager";

// Takes the profile for the screen, and repaints every window if it changed; answers whether it did.
bool applyScreenProfile(std::vector<uint8_t> profile);

// One property of a colord object, or an invalid value when it does not answer.
QVariant colordProperty(const QDBusConnection& bus, const QString& path, const char* interface,
                        const char* name, int timeoutMs) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kColord, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString::fromLatin1(interface) << QString::fromLatin1(name);
    const QDBusMessage reply = bus.call(get, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant();
}

QList<QDBusObjectPath> objectPaths(const QVariant& value) {
    QList<QDBusObjectPath> paths;
    if (value.canConvert<QDBusArgument>())
        value.value<QDBusArgument>() >> paths;
    else
        paths = value.value<QList<QDBusObjectPath>>();
    return paths;
}

} // namespace

std::optional<std::vector<uint8_t>> readColordDisplayProfile(const QDBusConnection& bus,
                                                             const QString& output, int timeoutMs) {
    if (!bus.isConnected()) return std::nullopt;
    QDBusMessage find =
        QDBusMessage::createMethodCall(kColord, QStringLiteral("/org/freedesktop/ColorManager"), kColord,
                                       QStringLiteral("GetDevicesByKind"));
    find << QStringLiteral("display");
    const QDBusMessage found = bus.call(find, QDBus::Block, timeoutMs);
    if (found.type() != QDBusMessage::ReplyMessage || found.arguments().isEmpty()) return std::nullopt;
    // The display of that output first, then the others in colord's order.
    std::optional<QString> chosenProfile;
    for (const QDBusObjectPath& device : objectPaths(found.arguments().constFirst())) {
        const QList<QDBusObjectPath> profiles = objectPaths(
            colordProperty(bus, device.path(), "org.freedesktop.ColorManager.Device", "Profiles", timeoutMs));
        if (profiles.isEmpty()) continue;
        QMap<QString, QString> metadata;
        const QVariant m =
            colordProperty(bus, device.path(), "org.freedesktop.ColorManager.Device", "Metadata", timeoutMs);
        if (m.canConvert<QDBusArgument>()) m.value<QDBusArgument>() >> metadata;
        // The first profile is the device's default.
        const bool named = !output.isEmpty() && metadata.value(QStringLiteral("XRANDR_name")) == output;
        if (named || !chosenProfile) chosenProfile = profiles.constFirst().path();
        if (named) break;
    }
    if (!chosenProfile) return std::nullopt;
    const QString file =
        colordProperty(bus, *chosenProfile, "org.freedesktop.ColorManager.Profile", "Filename", timeoutMs)
            .toString();
    QFile icc(file);
    // A profile is kilobytes; a file of many megabytes is not one.
    if (file.isEmpty() || !icc.open(QIODevice::ReadOnly) || icc.size() > 16 * 1024 * 1024)
        return std::nullopt;
    const QByteArray bytes = icc.readAll();
    if (bytes.isEmpty()) return std::nullopt;
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

bool refreshScreenProfile() {
    const QString platform = QApplication::platformName();
    if (platform != "xcb" && !platform.startsWith("wayland")) return false;
    static std::atomic<int> latest{0};
    const int ticket = ++latest;
    // The monitor of the window being worked in; Qt lists the monitors in the X server's order,
    // the primary first, as the properties number them.
    const QWindow* window = QGuiApplication::focusWindow();
    QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    const int monitor = std::max(0, int(QGuiApplication::screens().indexOf(screen)));
    if (platform == "xcb")
        if (auto profile = readX11ScreenProfile(nullptr, monitor))
            return applyScreenProfile(std::move(*profile));
    // colord may have to be started to answer: asked away from the window, which follows the answer
    // (sRGB without one) when it comes, unless a later reading has taken over by then.
    const QString output = screen ? screen->name() : QString();
    QThreadPool::globalInstance()->start([output, ticket] {
        auto profile = readColordDisplayProfile(QDBusConnection::systemBus(), output);
        Dispatch::mainQueue([profile = profile.value_or(std::vector<uint8_t>{}), ticket]() mutable {
            if (ticket == latest) applyScreenProfile(std::move(profile));
        });
    });
    return false;
}

void followScreenProfile(QApplication& app) {
    refreshScreenProfile();
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, &app, [](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive) refreshScreenProfile();
    });
    // A window moved to another monitor shows in that monitor's colours.
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, &app, [](QWindow* window) {
        if (!window || window->property("pimavoFollowsScreen").toBool()) return;
        window->setProperty("pimavoFollowsScreen", true);
        QObject::connect(window, &QWindow::screenChanged, window, [] { refreshScreenProfile(); });
    });
}

namespace {

bool applyScreenProfile(std::vector<uint8_t> profile) {
    const uint64_t before = screenProfileGeneration();
    setScreenProfile(std::move(profile));
    if (screenProfileGeneration() == before) return false;
    // Views that keep a converted picture make it again on their next paint.
    for (QWidget* w : QApplication::allWidgets()) w->update();
    return true;
}

} // namespace

} // namespace pimavo
