#include "ScreenColour.h"

#include "imageio/ColourProfile.h"

#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace pimavo {

std::optional<std::vector<uint8_t>> readX11ScreenProfile(const char* display) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(display, &screenNumber);
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(c, xcb_disconnect);
    if (xcb_connection_has_error(c)) return std::nullopt;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
    if (!it.rem) return std::nullopt;
    const char name[] = "_ICC_PROFILE";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, std::strlen(name), name), nullptr), &std::free);
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

bool refreshScreenProfile() {
    if (QApplication::platformName() != "xcb") return false;
    const uint64_t before = screenProfileGeneration();
    setScreenProfile(readX11ScreenProfile().value_or(std::vector<uint8_t>{}));
    if (screenProfileGeneration() == before) return false;
    // Views that keep a converted picture make it again on their next paint.
    for (QWidget* w : QApplication::allWidgets()) w->update();
    return true;
}

void followScreenProfile(QApplication& app) {
    refreshScreenProfile();
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, &app, [](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive) refreshScreenProfile();
    });
}

} // namespace pimavo
