// Plain views, in-window dialogs and the pop-up list: geometry, blocking, and what a press does.
#include "../Wait.h"
#include "widgets/BitmapImage.h"
#include "widgets/FramedPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/InteractionBlocker.h"
#include "widgets/OverlayDialog.h"
#include "widgets/PopupList.h"
#include "widgets/ResourceImages.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

struct Blocker : InteractionBlocker {
    std::vector<bool> calls;
    void setDisabledInteractions(bool disabled) override { calls.push_back(disabled); }
};

TEST(Dialog, TheWindowIsBlockedFromTheFirstShowToTheLastHide) {
    Blocker blocker;
    InteractionBlocker::setCurrent(&blocker);
    QWidget window;
    window.resize(1000, 700);
    window.show();
    OverlayDialog a(OverlayDialog::Bare), b(OverlayDialog::WithCloseButton);
    a.showInView(&window);
    b.showInView(&window);
    EXPECT_EQ(blocker.calls, std::vector<bool>{true});
    a.hideDialogWithoutAnimation();
    EXPECT_EQ(blocker.calls, std::vector<bool>{true});
    b.hideDialog(); // fades, then goes
    EXPECT_TRUE(waitUntil([&] { return !b.isShown(); }, 5000));
    EXPECT_EQ(blocker.calls, (std::vector<bool>{true, false}));
    EXPECT_EQ(OverlayDialog::countOfDialogs(), 0);
    InteractionBlocker::setCurrent(nullptr);
}

TEST(Dialog, PanelIsCentredAndRaisedWhenThereIsRoom) {
    struct Case {
        QSize view, panel;
        int x, yUp; // lower-left corner, counted upwards
    } cases[] = {
        {{1000, 700}, {360, 210}, 320, 285}, // 245 raised by 40: 490 > 210
        {{1000, 300}, {360, 210}, 320, 45},  // 210 ≥ 0.7 × 300: centred exactly
        {{801, 600}, {400, 100}, 201, 290},
    };
    for (const Case& c : cases) {
        QWidget window;
        window.resize(c.view);
        OverlayDialog d(OverlayDialog::Bare);
        d.setDialogSize(QSizeF(c.panel));
        d.showInView(&window);
        const QRect g = d.dialogCenterView()->geometry();
        EXPECT_EQ(g.x(), c.x);
        EXPECT_EQ(c.view.height() - g.bottom() - 1, c.yUp);
        EXPECT_EQ(g.size(), c.panel);
        EXPECT_EQ(d.view()->geometry(), QRect(QPoint(0, 0), c.view));
        d.hideDialogWithoutAnimation();
    }
}

TEST(Dialog, CloseButtonAsksToCloseAndLeavesTheDialogUp) {
    QWidget window;
    window.resize(800, 600);
    window.show();
    OverlayDialog d(OverlayDialog::WithCloseButton);
    QSignalSpy closeRequests(&d, &OverlayDialog::closeRequested);
    d.showInView(&window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The button sits in the panel's top-left corner, where a click is meant for it.
    const QRect panel(d.dialogCenterView()->mapTo(&window, QPoint(0, 0)), d.dialogCenterView()->size());
    const QRect button(d.closeButton()->mapTo(&window, QPoint(0, 0)), d.closeButton()->size());
    EXPECT_TRUE(d.closeButton()->isVisible());
    EXPECT_TRUE(panel.contains(button))
        << "panel " << panel.x() << "," << panel.y() << " button " << button.x() << "," << button.y();
    EXPECT_LT(button.center().x() - panel.left(), panel.width() / 4);
    EXPECT_LT(button.center().y() - panel.top(), panel.height() / 4);
    QTest::mouseClick(d.closeButton(), Qt::LeftButton);
    EXPECT_EQ(closeRequests.count(), 1);
    EXPECT_TRUE(d.isShown());
    OverlayDialog bare(OverlayDialog::Bare);
    bare.showInView(&window);
    EXPECT_TRUE(bare.dialogCenterView()->findChildren<ImageButton*>().isEmpty());
}

TEST(PlainView, DisabledSwallowsPressesInsideOnlyAndEveryPressLeavesCompare) {
    int compareCloses = 0;
    QWidget window;
    window.resize(400, 200);
    FramedPanel view(&window);
    QObject::connect(&view, &FramedPanel::pressed, [&compareCloses] { ++compareCloses; });
    view.setGeometry(0, 0, 200, 200);
    auto* inside = new QPushButton("in", &view);
    inside->setGeometry(20, 20, 80, 30);
    QPushButton outside("out", &window);
    outside.setGeometry(250, 20, 80, 30);
    int insideClicks = 0, outsideClicks = 0;
    QObject::connect(inside, &QPushButton::clicked, [&] { ++insideClicks; });
    QObject::connect(&outside, &QPushButton::clicked, [&] { ++outsideClicks; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_EQ(compareCloses, 1);
    view.setEnabled(false);
    QTest::mouseClick(inside, Qt::LeftButton);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(150, 150));
    QTest::mouseClick(&outside, Qt::LeftButton);
    EXPECT_EQ(insideClicks, 0);
    EXPECT_EQ(compareCloses, 1);
    EXPECT_EQ(outsideClicks, 1);
    view.setEnabled(true);
    QTest::mouseClick(inside, Qt::LeftButton);
    EXPECT_EQ(insideClicks, 1);
}

// The pop-up list as its owners use it: rows from a model, what it asks of them through its signals.
struct ListOwner {
    QStandardItemModel rows;
    std::vector<int> chosen;
    int closes = 0;
    explicit ListOwner(int count) {
        for (int i = 0; i < count; ++i) {
            auto* row = new QStandardItem(QString("Row %1").arg(i));
            row->setData(i == 0, PopupList::SeparatorBelowRole);
            rows.appendRow(row);
        }
    }
    void attach(PopupList& list, int pitch, int maxHeight, int current) {
        list.setModel(&rows);
        list.setRowFont(QFont("Helvetica", 13));
        list.setListWidth(180);
        list.setRowHeight(pitch);
        list.setMaximumListHeight(maxHeight);
        list.setCurrentRow(current);
        QObject::connect(&list, &PopupList::rowChosen, [this](int row) { chosen.push_back(row); });
        QObject::connect(&list, &PopupList::closeRequested, [this] { ++closes; });
    }
};

TEST(Popover, GeometryFollowsRowsAndMaximum) {
    struct Case {
        int rows, max;
        int height, content;
        double originY; // after the move for small maxima
    } cases[] = {
        {5, 400, 157, 157, 500 - 400},  // T = 145, + 12 for few rows; moved down by 800 − 400
        {20, 400, 400, 580, 500 - 400}, // T = 580 > 400: the rows scroll
        {5, 670, 157, 157, 500},        // a large maximum leaves the origin alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        QWidget window;
        window.resize(1000, 900);
        ListOwner owner(c.rows);
        PopupList list(QRect(0, 0, 1000, 900), QPointF(50, 500), &window);
        owner.attach(list, 30, c.max, 1);
        window.show();
        list.popUp();
        EXPECT_EQ(list.listFrame().height(), c.height);
        EXPECT_EQ(list.contentHeight(), c.content);
        EXPECT_EQ(list.listOrigin().y(), c.originY);
        EXPECT_EQ(900 - list.listFrame().bottom() - 1, int(c.originY));
        EXPECT_EQ(list.listFrame().width(), 180);
        // Every row of the model, in order, the current one checked, the marked one underlined.
        ASSERT_EQ(list.rowCount(), c.rows);
        for (int r = 0; r < c.rows; ++r) {
            EXPECT_EQ(list.cell(r)->text(), QString("Row %1").arg(r));
            EXPECT_EQ(list.cell(r)->isChecked(), r == 1) << r;
            EXPECT_EQ(list.cell(r)->hasSeparator(), r == 0) << r;
        }
    }
}

TEST(Popover, ClickOnARowReportsThenAsksToCloseAndAnythingElseOnlyAsksToClose) {
    QWidget window;
    window.resize(1000, 900);
    ListOwner owner(5);
    PopupList list(QRect(0, 0, 1000, 900), QPointF(50, 300), &window);
    owner.attach(list, 30, 700, 1);
    window.show();
    list.popUp();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Hovering highlights the row and shows the selected check mark on the current choice.
    PopupListCell* row1 = list.cell(1);
    const QPoint inRow1 = row1->mapTo(&window, row1->rect().center());
    QTest::mouseMove(&window, inRow1);
    QMouseEvent move(QEvent::MouseMove, row1->parentWidget()->mapFrom(&window, inRow1),
                     window.mapToGlobal(inRow1), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(row1->parentWidget(), &move);
    EXPECT_TRUE(row1->isSelected());
    EXPECT_EQ(list.hoveredRow(), 1);
    EXPECT_EQ(row1->checkImageName(), "check_y");
    EXPECT_EQ(list.cell(2)->checkImageName(), "");

    PopupListCell* row3 = list.cell(3);
    QTest::mouseClick(row3->parentWidget(), Qt::LeftButton, {}, row3->geometry().center());
    EXPECT_EQ(owner.chosen, std::vector<int>{3});
    EXPECT_EQ(owner.closes, 1);
    QTest::mouseClick(&list, Qt::LeftButton, {}, QPoint(900, 50));
    QTest::mouseClick(&list, Qt::RightButton, {}, QPoint(900, 60));
    EXPECT_EQ(owner.chosen, std::vector<int>{3});
    EXPECT_EQ(owner.closes, 3);
}

TEST(Popover, AWindowResizeAsksToCloseTheListOnce) {
    QWidget window;
    window.resize(600, 600);
    ListOwner owner(5);
    PopupList list(QRect(0, 0, 600, 600), QPointF(10, 10), &window);
    owner.attach(list, 30, 400, 1);
    window.show();
    list.popUp();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(owner.closes, 0); // being shown is no resize
    window.resize(700, 650);
    EXPECT_TRUE(waitUntil([&] { return owner.closes > 0; }, 5000));
    EXPECT_EQ(owner.closes, 1);
    window.resize(600, 600);
    EXPECT_TRUE(waitUntil([&] { return window.size() == QSize(600, 600); }, 5000));
    EXPECT_EQ(owner.closes, 1); // no longer listening
    EXPECT_TRUE(owner.chosen.empty());
}

// Every image the widgets and panels ask for by name is there.
TEST(Images, EveryNamedImageExists) {
    QStringList names{
        "plus.png",     "plus_on.png",       "minus.png",       "minus_on.png",      "color_picker_tumb.png",
        "slider_knob",  "slider_knob_on",    "slider_marker",   "check_y",           "check_b",
        "close_dialog", "close_dialog_over", "close_dialog_on", "question_mark.png", "background_tools.png",
        "grayscale",    "grayscale_on",      "sepia",           "sepia_on",          "bluetone",
        "bluetone_on"};
    for (const char* family : {"adj_", "dialog_", "notification_", "drawing_"})
        for (const char* col : {"left", "center", "right"})
            for (const char* row : {"top", "center", "bottom"}) {
                names << QString(family) + col + "_" + row;
            }
    names << "adj_left_top_s"
          << "adj_center_top_s"
          << "adj_right_top_s";
    for (int i = 0; i < 12; ++i) names << QString("brush_preset_%1").arg(i);
    for (const QString& n : names) {
        EXPECT_TRUE(ResourceImages::exists(n)) << n.toStdString();
        const QPixmap pm = ResourceImages::pixmap(n, QSize(10, 10), 2.0);
        EXPECT_EQ(pm.size(), QSize(20, 20)) << n.toStdString();
    }
    EXPECT_FALSE(ResourceImages::exists("no_such_image"));
}

} // namespace
} // namespace pimavo::test

namespace pimavo::test {
namespace {

// Bitmaps of every depth and layout the program makes come out as the same colours in Qt, and a Qt
// picture with transparency comes in with it (premultiplied), and goes out again the same.
TEST(BitmapImage, ColoursSurviveEveryLayout) {
    struct Case {
        const char* what;
        PixelLayout layout;
    } cases[] = {
        {"8-bit XRGB", PixelLayout{8, AlphaInfo::NoneSkipFirst}},
        {"8-bit RGBA", PixelLayout{8, AlphaInfo::PremultipliedLast}},
        {"16-bit RGBX", PixelLayout{16, AlphaInfo::NoneSkipLast}},
        {"float RGBX", PixelLayout{32, AlphaInfo::NoneSkipLast}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bitmap b(3, 2, c.layout);
        const int red = c.layout.alphaFirst() ? 1 : 0;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                b.setComponent(x, y, red, 0.8f);
                b.setComponent(x, y, red + 1, x / 2.0f);
                b.setComponent(x, y, red + 2, y * 0.2f);
                if (c.layout.hasAlpha()) b.setComponent(x, y, c.layout.alphaFirst() ? 0 : 3, 1.0f);
            }
        const QImage q = qImageFromBitmap(b);
        EXPECT_EQ(q.pixelColor(2, 1), QColor(204, 255, 51));
        EXPECT_EQ(q.pixelColor(0, 0), QColor(204, 0, 0));
    }
    QImage translucent(2, 1, QImage::Format_ARGB32);
    translucent.setPixelColor(0, 0, QColor(255, 0, 0, 128));
    translucent.setPixelColor(1, 0, QColor(10, 20, 30, 255));
    const BitmapRef in = bitmapFromQImage(translucent);
    ASSERT_TRUE(in);
    ASSERT_TRUE(in->layout().hasAlpha());
    EXPECT_NEAR(in->component(0, 0, 0), 128 / 255.0, 1.0 / 255); // red, premultiplied
    EXPECT_NEAR(in->component(0, 0, 3), 128 / 255.0, 1.0 / 255);
    EXPECT_NEAR(in->component(1, 0, 2), 30 / 255.0, 1e-6);
    EXPECT_EQ(in->component(1, 0, 3), 1.0f);
    const QImage out = qImageFromBitmap(*in);
    EXPECT_TRUE(out.hasAlphaChannel());
    EXPECT_NEAR(out.pixelColor(0, 0).alpha(), 128, 1);
    EXPECT_NEAR(out.pixelColor(0, 0).red(), 255, 2);
    EXPECT_FALSE(bitmapFromQImage(QImage()));
}

} // namespace
} // namespace pimavo::test
