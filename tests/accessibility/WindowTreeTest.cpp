// The windows as a screen reader walks them: the editing window before and with a photo (the tool
// panel's pages, the background menu), the sharing pane and window, the import, preferences and
// help windows. Every control a user acts on has a name and the role it plays; what each window is
// for can be found by role and name.
#include "AccessibleTree.h"
#include "app/EditorWindow.h"
#include "app/HelpVideoWindow.h"
#include "app/WindowBackdrop.h"
#include "app/WindowFixture.h"
#include "app/WindowHelp.h"
#include "app/WindowSharing.h"
#include "import/ImportDialog.h"
#include "import/ImportTestSupport.h"
#include "sharing/ShareDialog.h"
#include "toolbar/ToolPanel.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace pimavo::test {
namespace {

struct Presence {
    QAccessible::Role role;
    const char* name;
};

struct Surface {
    const char* what;
    // Puts the surface up in the window and returns the widget to walk from.
    std::function<QWidget*(WindowFixture&, std::unique_ptr<QWidget>& owned)> show;
    std::vector<Presence> present;
};

QWidget* withPhoto(WindowFixture& t) {
    t.open(t.sample());
    return t.w.get();
}

const std::vector<Surface>& surfaces() {
    static const std::vector<Surface> table = {
        {"the start screen",
         [](WindowFixture& t, auto&) { return static_cast<QWidget*>(t.w.get()); },
         {{QAccessible::Button, "Open a photo"}}},
        {"the window with a photo and the tool panel's colour page",
         [](WindowFixture& t, auto&) { return withPhoto(t); },
         {{QAccessible::Button, "Paint"},
          {QAccessible::Button, "Brush preset 1"},
          {QAccessible::Slider, "Size"},
          {QAccessible::Slider, "Exposure"},
          {QAccessible::Slider, "Vignette"},
          {QAccessible::EditableText, "Zoom level"}}},
        {"the tool panel's background page and solid colour",
         [](WindowFixture& t, auto&) {
             withPhoto(t);
             t.w->drawingToolbar()->tabButton2()->click();
             t.w->drawingToolbar()->solidColorButton()->click();
             processPendingEvents();
             return static_cast<QWidget*>(t.w->drawingToolbar());
         },
         {{QAccessible::Button, "Sepia"},
          {QAccessible::Button, "Dreamy"},
          {QAccessible::Slider, "Intensity"},
          {QAccessible::Slider, "Blur"}}},
        {"the background menu",
         [](WindowFixture& t, auto&) {
             withPhoto(t);
             t.w->backdrop()->popUpFrom(QPoint(200, 200));
             processPendingEvents();
             return static_cast<QWidget*>(t.w.get());
         },
         {{QAccessible::List, "Window background"}}},
        {"the sharing pane",
         [](WindowFixture& t, auto&) {
             withPhoto(t);
             t.w->sharing()->togglePane();
             processPendingEvents();
             EXPECT_TRUE(t.w->sharing()->isPaneShown());
             return static_cast<QWidget*>(t.w.get());
         },
         {{QAccessible::List, "Share"}, {QAccessible::ListItem, "Mail"}}},
        {"the sharing window on its mail tab",
         [](WindowFixture& t, auto&) {
             withPhoto(t);
             t.w->sharing()->showShareWindow(sharing::ShareDialog::Mail);
             processPendingEvents();
             return static_cast<QWidget*>(t.w.get());
         },
         {{QAccessible::Dialog, "Sharing"}, {QAccessible::Button, "Close"}}},
        {"the sharing window on a service's tab",
         [](WindowFixture& t, auto&) {
             t.w->services.networkReachable = [] { return true; };
             withPhoto(t);
             t.w->sharing()->showShareWindow(sharing::ShareDialog::Mastodon);
             processPendingEvents();
             return static_cast<QWidget*>(t.w.get());
         },
         {{QAccessible::Dialog, "Sharing"}}},
        {"the import window",
         [](WindowFixture& t, std::unique_ptr<QWidget>& owned) {
             usePrivateSaneConfiguration(); // SANE's test scanner, not the machine's drivers
             owned = std::make_unique<ImportDialog>(t.w.get());
             owned->show();
             EXPECT_TRUE(QTest::qWaitForWindowExposed(owned.get()));
             return owned.get();
         },
         {}},
        {"the preferences",
         [](WindowFixture& t, auto&) {
             t.w->help()->showPreferences();
             processPendingEvents();
             return t.w->help()->preferencesWindow();
         },
         {{QAccessible::ComboBox, "Window background:"}}},
        {"the help videos, their list not to be had",
         [](WindowFixture& t, auto&) {
             // A port nothing listens on: the list fails at once and the window offers to try again.
             qputenv("PIMAVO_HELP_VIDEOS_URL", "http://127.0.0.1:9/list.json");
             t.w->services.helpVideosCacheFolder = t.dir.filePath("cache");
             t.w->help()->showVideos();
             qunsetenv("PIMAVO_HELP_VIDEOS_URL");
             QWidget* videos = t.w->help()->videoWindow();
             EXPECT_TRUE(videos && QTest::qWaitForWindowExposed(videos));
             return videos;
         },
         {}},
    };
    return table;
}

TEST(AccessibleWindows, EveryControlHasANameAndItsRole) {
    for (const Surface& s : surfaces()) {
        SCOPED_TRACE(s.what);
        WindowFixture t;
        std::unique_ptr<QWidget> owned;
        QWidget* root = s.show(t, owned);
        ASSERT_TRUE(root);
        const QStringList faults = accessibilityFaults(root);
        EXPECT_TRUE(faults.isEmpty()) << s.what << ":\n  " << faults.join("\n  ").toStdString();
        for (const Presence& p : s.present) {
            QStringList ofRole; // what there is instead, to tell a wrong name from a missing control
            for (const AccessibleNode& n : visibleNodes(root))
                if (n.iface->role() == p.role) ofRole << n.path;
            EXPECT_TRUE(findNode(root, p.role, p.name))
                << s.what << ": no " << roleName(p.role).toStdString() << " named '" << p.name
                << "' among\n  " << ofRole.join("\n  ").toStdString();
        }
    }
}

} // namespace
} // namespace pimavo::test
