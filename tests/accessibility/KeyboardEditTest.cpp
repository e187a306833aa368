// A whole edit without a pointer: open a photo, choose a tool, size the brush, adjust, choose a
// look, pick a colour region and save, with keys alone, Tab walking to each control. After each
// step the picture is as the step made it.
#include "AccessibleTree.h"
#include "app/EditorWindow.h"
#include "app/WindowFixture.h"
#include "app/WindowPicker.h"
#include "canvas/CanvasView.h"
#include "engine/Renderer.h"
#include "picker/RegionPicker.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ValueSlider.h"

#include <QAction>
#include <QApplication>
#include <QImageReader>
#include <QLabel>
#include <QStackedWidget>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

struct KeyboardWindow : WindowFixture {
    KeyboardWindow() : WindowFixture(WindowOptions().activated()) {}
    ToolPanel* panel() const { return w->drawingToolbar(); }
    QWidget* focus() const { return QApplication::focusWidget() ? QApplication::focusWidget() : w.get(); }
    // Tab, as often as it takes, until `target` has the focus; false when it never comes round.
    ::testing::AssertionResult tabTo(QWidget* target, const char* what) {
        QStringList passed;
        for (int i = 0; i < 120 && focus() != target; ++i) {
            QTest::keyClick(focus(), Qt::Key_Tab);
            passed << QString("%1 #%2").arg(focus()->metaObject()->className(), focus()->objectName());
        }
        if (focus() == target) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "Tab never reaches " << what << "; it went through "
                                             << passed.mid(0, 40).join(", ").toStdString();
    }
    static bool hasPixels(const Image& image) {
        if (!image) return false;
        const auto b = Renderer().createBitmap(image, 8);
        return b && std::any_of(b->bytes().begin(), b->bytes().end(),
                                [](std::byte v) { return v != std::byte{0}; });
    }
};

TEST(KeyboardEdit, OpenToolBrushAdjustLookPickAndSaveWithKeysAlone) {
    KeyboardWindow t;
    const QString photo = t.sample();
    t.w->services.openPanel = [&] { return photo; };

    // Open: the shortcut, then the panel answers with the photo.
    t.key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return t.w->hasPhoto() && t.panel(); }, 30000, "the photo opened"));
    processPendingEvents();
    EXPECT_EQ(t.w->representedFile(), photo);
    ToolPanel* panel = t.panel();

    // A tool: Erase with Space, then Paint again with Return.
    ASSERT_TRUE(t.tabTo(panel->eraseMaskButton(), "the Erase tool"));
    QTest::keyClick(t.focus(), Qt::Key_Space);
    EXPECT_EQ(panel->eraseMaskButton()->state(), 1);
    EXPECT_EQ(panel->drawMaskButton()->state(), 0);
    ASSERT_TRUE(t.tabTo(panel->drawMaskButton(), "the Paint tool"));
    QTest::keyClick(t.focus(), Qt::Key_Return);
    EXPECT_EQ(panel->drawMaskButton()->state(), 1);
    EXPECT_EQ(panel->eraseMaskButton()->state(), 0);

    // The brush: End makes it as large as it goes, and the canvas paints with it.
    const double brushBefore = t.canvas()->geometry().brushSize();
    ASSERT_TRUE(t.tabTo(panel->brushSizeSlider(), "the brush size"));
    QTest::keyClick(t.focus(), Qt::Key_End);
    EXPECT_EQ(panel->brushSizeSlider()->valueText(), "400");
    EXPECT_GT(t.canvas()->geometry().brushSize(), brushBefore);

    // An adjustment: two steps up the exposure, a change of the picture the history holds.
    const int stepsBefore = t.session.undoStack()->count();
    ASSERT_TRUE(t.tabTo(panel->exposureSlider(), "the exposure"));
    QTest::keyClick(t.focus(), Qt::Key_Right);
    QTest::keyClick(t.focus(), Qt::Key_Right);
    EXPECT_GT(t.session.pictureSettings().foreground.exposure, 0);
    EXPECT_GT(t.session.undoStack()->count(), stepsBefore);
    EXPECT_TRUE(t.w->isEdited());

    // A look: the Background tab, then Soft.
    ASSERT_TRUE(t.tabTo(panel->tabButton2(), "the Background tab"));
    QTest::keyClick(t.focus(), Qt::Key_Space);
    EXPECT_EQ(panel->tabView()->currentIndex(), 1);
    ASSERT_TRUE(t.tabTo(panel->presetSoft(), "the Soft look"));
    QTest::keyClick(t.focus(), Qt::Key_Space);
    EXPECT_EQ(t.session.pictureSettings().look, 1);

    // A pick: the picker opens with the focus on the photo, Return picks under the cross, Apply
    // takes the region into the painting.
    const int beforePick = t.session.undoStack()->count();
    ASSERT_TRUE(t.tabTo(panel->imagePickerButton(), "the colour region picker"));
    QTest::keyClick(t.focus(), Qt::Key_Space);
    ASSERT_TRUE(waitUntil([&] { return t.w->picker()->isShown() && t.w->picker()->shownPicker(); }, 5000,
                          "the picker up"));
    RegionPicker* picker = t.w->picker()->shownPicker();
    EXPECT_EQ(t.focus(), picker);
    // The instructions speak of the keys: to a screen reader from the start, on screen once used.
    EXPECT_TRUE(picker->accessibleDescription().contains("Return"))
        << picker->accessibleDescription().toStdString();
    auto* message = picker->findChild<QLabel*>("message");
    ASSERT_TRUE(message);
    EXPECT_FALSE(message->text().contains("arrow keys"));
    QTest::keyClick(t.focus(), Qt::Key_Right);
    EXPECT_TRUE(message->text().contains("arrow keys")) << message->text().toStdString();
    QTest::keyClick(t.focus(), Qt::Key_Return);
    ASSERT_TRUE(waitUntil(
        [&] { return !picker->isInteractionsDisabled() && KeyboardWindow::hasPixels(picker->colorMask()); },
        10000, "a picked region"));
    ASSERT_TRUE(t.tabTo(picker->applyButton(), "the picker's Apply"));
    QTest::keyClick(t.focus(), Qt::Key_Space);
    ASSERT_TRUE(waitUntil([&] { return !t.w->picker()->isShown(); }, 5000, "the picker gone"));
    EXPECT_EQ(t.session.undoStack()->count(), beforePick + 1);
    EXPECT_TRUE(KeyboardWindow::hasPixels(t.canvas()->model().painting().mask()));

    // Save As: the shortcut, the panel answers with a new file, and the picture is saved.
    const QString saved = t.dir.filePath("keyboard.jpg");
    t.savePath = saved;
    t.key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(
        waitUntil([&] { return QFile::exists(saved) && !t.w->isEdited(); }, 30000, "the picture saved"));
    QImageReader written(saved);
    EXPECT_EQ(written.size(), QSize(int(t.w->image()->width()), int(t.w->image()->height())));
    EXPECT_TRUE(t.asked.contains("save as"));
}

} // namespace
} // namespace pimavo::test
