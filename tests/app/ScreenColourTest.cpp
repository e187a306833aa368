// The screen's profile as the desktop publishes it on X11 (the root window's `_ICC_PROFILE`) is what
// the canvas converts to: set, changed and removed while the editor runs, the canvas follows. Runs
// on a virtual X screen of its own (screen_colour_test.sh), on Qt's xcb platform.
#include "app/ScreenColour.h"

#include "ColourTestPhotos.h"
#include "Wait.h"
#include "canvas/CanvasView.h"
#include "session/EditSession.h"

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <xcb/xcb.h>

namespace pimavo::test {
namespace {

// Sets (or, given nothing, deletes) `_ICC_PROFILE` on the root window, as a colour manager does, or
// the property of another monitor.
void publishScreenProfile(const std::vector<uint8_t>& profile, const std::string& property = "_ICC_PROFILE") {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(property.size()), property.c_str()), nullptr);
    ASSERT_TRUE(atom);
    if (profile.empty())
        xcb_delete_property(c, root, atom->atom);
    else
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, atom->atom, XCB_ATOM_CARDINAL, 8,
                            uint32_t(profile.size()), profile.data());
    std::free(atom);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
}

// The photo's values, sRGB, as a bitmap the canvas paints.
BitmapRef srgbPatches() {
    auto b = std::make_shared<Bitmap>(kColourPhotoWidth, kColourPhotoHeight,
                                      PixelLayout{8, AlphaInfo::NoneSkipLast});
    for (int y = 0; y < b->height(); ++y)
        for (int x = 0; x < b->width(); ++x) {
            const int i = (x < kColourPhotoWidth / 2 ? 0 : 1) + (y < kColourPhotoHeight / 2 ? 0 : 2);
            const QColor c = kPatchColours[size_t(i)];
            b->setComponent(x, y, 0, float(c.redF()));
            b->setComponent(x, y, 1, float(c.greenF()));
            b->setComponent(x, y, 2, float(c.blueF()));
        }
    return b;
}

TEST(ScreenColour, TheCanvasFollowsTheProfileOnTheRootWindow) {
    ASSERT_EQ(QApplication::platformName(), "xcb");
    EditSession session;
    CanvasView view(srgbPatches(), &session);
    view.resize(600, 450);
    view.model().painting().invertMask(); // the photo's colour everywhere, not its grey
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    struct Case {
        const char* name;
        std::vector<uint8_t> screen; // empty: none published
    } cases[] = {
        {"Adobe RGB screen", testAdobeRgb()},
        {"Display P3 screen", testDisplayP3()},
        {"no profile published", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        publishScreenProfile(c.screen);
        const auto read = readX11ScreenProfile();
        EXPECT_EQ(read.value_or(std::vector<uint8_t>{}), c.screen);
        refreshScreenProfile();
        // Without a property the editor asks colord, away from the window; there is none here.
        ASSERT_TRUE(
            waitUntil([&] { return screenProfile() == c.screen; }, 10000, "the screen's profile taken"));
        processPendingEvents();
        const QImage shot = view.grab().toImage();
        const QRectF frame = view.viewRectFromImage(RectF(0, 0, kColourPhotoWidth, kColourPhotoHeight));
        for (int i = 0; i < 4; ++i) {
            const QPointF p = patchCentre(i);
            const QPoint at =
                QPointF(frame.left() + p.x() * frame.width(), frame.top() + p.y() * frame.height()).toPoint();
            const QColor want = c.screen.empty() ? kPatchColours[size_t(i)]
                                                 : converted(kPatchColours[size_t(i)], testSrgb(), c.screen);
            EXPECT_TRUE(within3(shot.pixelColor(at), want)) << "patch " << i;
        }
    }
}

// Each monitor's profile is its own property: the first's `_ICC_PROFILE`, the second's
// `_ICC_PROFILE_1`; neither is taken for the other.
TEST(ScreenColour, EachMonitorHasItsOwnProfile) {
    publishScreenProfile(testAdobeRgb());
    publishScreenProfile(testDisplayP3(), "_ICC_PROFILE_1");
    EXPECT_EQ(readX11ScreenProfile(nullptr, 0), testAdobeRgb());
    EXPECT_EQ(readX11ScreenProfile(nullptr, 1), testDisplayP3());
    EXPECT_EQ(readX11ScreenProfile(nullptr, 2), std::nullopt);
    publishScreenProfile({});
    publishScreenProfile({}, "_ICC_PROFILE_1");
    EXPECT_EQ(readX11ScreenProfile(nullptr, 1), std::nullopt);
}

} // namespace
} // namespace pimavo::test
