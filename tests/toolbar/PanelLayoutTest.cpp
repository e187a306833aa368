// The tool panel as it is drawn: room between each label and its slider, titles that do not fill
// their buttons, a heading over the looks, and a colour chooser that can be closed.
#include "Wait.h"
#include "core/Settings.h"
#include "picker/ColorPanel.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ValueSlider.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace pimavo::test {
namespace {

struct Panel {
    QTemporaryDir dir;
    Settings settings{dir.filePath("prefs.ini")};
    QWidget window;
    ToolPanel* toolbar;
    Panel() {
        window.resize(ToolPanel::kWidth + 100, 900);
        toolbar = new ToolPanel(&window, &settings);
        toolbar->setGeometry(100, 0, ToolPanel::kWidth, 900);
        toolbar->finishSetup();
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        // The first page fades in and the brush pane slides to its place: measured once still.
        EXPECT_TRUE(waitUntil([&] { return toolbar->findChildren<QAbstractAnimation*>().isEmpty(); }));
    }
};

// The columns of `area` (in `parent`'s coordinates) where `widget` puts ink: the parent drawn with the
// widget and without it, compared. Device pixels are folded back to the parent's coordinates.
// The first and last columns (device pixels) where two grabs differ; -1, -1 where they do not.
std::pair<int, int> differingColumns(const QImage& with, const QImage& without) {
    int first = -1, last = -1;
    for (int x = 0; x < with.width(); ++x)
        for (int y = 0; y < with.height(); ++y)
            if (with.pixel(x, y) != without.pixel(x, y)) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

std::pair<int, int> inkColumns(QWidget* parent, QWidget* widget, const QRect& area) {
    const QImage with = parent->grab(area).toImage();
    widget->hide();
    const QImage without = parent->grab(area).toImage();
    widget->show();
    const qreal dpr = with.devicePixelRatio();
    const auto [first, last] = differingColumns(with, without);
    if (first < 0) return {-1, -1};
    return {area.x() + int(first / dpr), area.x() + int(last / dpr)};
}

TEST(PanelLayout, EveryRowLabelKeepsClearOfItsSlidersMinusButton) {
    Panel p;
    ToolPanel* t = p.toolbar;
    struct Row {
        const char* what;
        ValueSlider* slider;
        int page; // colour page 0, background page 1, -1 the brush pane
    } rows[] = {
        {"size", t->brushSizeSlider(), -1},
        {"softness", t->softnessSlider(), -1},
        {"opacity", t->opacitySlider(), -1},
        {"exposure", t->exposureSlider(), 0},
        {"brightness", t->brightnessSlider(), 0},
        {"saturation", t->saturationSlider(), 0},
        {"contrast", t->contrastSlider(), 0},
        {"hue", t->hueSlider(), 0},
        {"blur", t->blurSlider(), 0},
        {"vignette", t->vignetteSlider(), 0},
        {"background brightness", t->brightnessBackgroundSlider(), 1},
        {"background contrast", t->contrastBackgroundSlider(), 1},
        {"background saturation", t->saturationBackgroundSlider(), 1},
        {"background blur", t->blurBackgroundSlider(), 1},
    };
    int sliderLeft = -1;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        if (r.page >= 0) t->tabView()->setCurrentIndex(r.page);
        QWidget* page = r.slider->parentWidget();
        QLabel* label = nullptr;
        for (QLabel* l : page->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (std::abs(l->geometry().center().y() - r.slider->geometry().center().y()) <= 2) label = l;
        ASSERT_TRUE(label);
        const QRect row(0, r.slider->y(), page->width(), r.slider->height());
        const auto [labelLeft, labelRight] = inkColumns(page, label, row);
        const auto [minusLeft, minusRight] = inkColumns(page, r.slider, row);
        ASSERT_GE(labelRight, 0);
        ASSERT_GE(minusLeft, 0);
        EXPECT_GE(minusLeft - labelRight, 10) << label->text().toStdString();
        // One column of sliders on every page.
        if (sliderLeft < 0) sliderLeft = r.slider->x();
        EXPECT_EQ(r.slider->x(), sliderLeft);
        // And the plus button ends inside the page's frame.
        EXPECT_LE(minusRight, page->width() - 6);
    }
}

TEST(PanelLayout, LookTitlesHaveRoomInTheirButtonsUnderAHeading) {
    Panel p;
    ToolPanel* t = p.toolbar;
    t->tabButton2Click();
    QWidget* page = t->presetNone()->parentWidget();
    int previousRight = -1;
    for (ImageButton* b : {t->presetNone(), t->presetSoft(), t->presetDreamy(), t->presetHardLight()}) {
        SCOPED_TRACE(b->text().toStdString());
        const QImage with = b->grab().toImage();
        const QString title = b->text();
        b->setText({});
        const QImage without = b->grab().toImage();
        b->setText(title);
        const qreal dpr = with.devicePixelRatio();
        const auto [first, last] = differingColumns(with, without);
        ASSERT_GE(first, 0);
        EXPECT_GE(first / dpr, 8);
        EXPECT_GE((with.width() - 1 - last) / dpr, 8);
        // In one row, apart, inside the page.
        EXPECT_GT(b->x(), previousRight);
        EXPECT_LE(b->geometry().right(), page->width() - 8);
        previousRight = b->geometry().right();
    }
    // A heading above the row says what the buttons are.
    const QRect row = t->presetNone()->geometry().united(t->presetHardLight()->geometry());
    QLabel* heading = nullptr;
    for (QLabel* l : page->findChildren<QLabel*>())
        if (l->isVisible() && !l->text().isEmpty() && l->geometry().bottom() < row.top() &&
            row.top() - l->geometry().bottom() < 16 && l->geometry().left() <= row.left() + 8)
            heading = l;
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->text(), "Look");
    // The treatments stay above the heading.
    EXPECT_LT(t->grayscaleModeButton()->geometry().bottom(), heading->geometry().top());
}

TEST(PanelLayout, TheColourChooserHasACloseButtonThatPutsItAway) {
    Panel p;
    ToolPanel* t = p.toolbar;
    QTest::mouseClick(t->solidColorButton(), Qt::LeftButton);
    QTest::mouseClick(t->colorWell(), Qt::LeftButton);
    ASSERT_TRUE(t->isColorPanelOpen());
    QColorDialog* chooser = sharedColorPanel();
    ASSERT_TRUE(chooser->isVisible());
    QPushButton* close = nullptr;
    for (QDialogButtonBox* box : chooser->findChildren<QDialogButtonBox*>())
        if (box->isVisible())
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == QDialogButtonBox::RejectRole && b->text().remove('&') == "Close")
                    close = qobject_cast<QPushButton*>(b);
    ASSERT_TRUE(close);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_FALSE(t->isColorPanelOpen());
    // And the well opens it again.
    QTest::mouseClick(t->colorWell(), Qt::LeftButton);
    EXPECT_TRUE(t->isColorPanelOpen());
    QTest::mouseClick(t->colorWell(), Qt::LeftButton);
    EXPECT_FALSE(t->isColorPanelOpen());
}

} // namespace
} // namespace pimavo::test
