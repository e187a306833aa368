// The tool panel as a user works it: what reaches the owner after each click, drag and choice.
#include "../Wait.h"
#include "core/Settings.h"
#include "picker/SwatchCell.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/GradientSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/ValueSlider.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pimavo::test {
namespace {

// Writes down every request the panel makes, "name value", and answers its questions.
struct Recorder {
    QStringList calls;
    void log(const QString& name, const QVariant& v = {}) {
        calls << (v.isValid() ? name + " " + v.toString() : name);
    }
    static QString colour(const QColor& c) {
        return c.isValid() ? QString("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue()) : QString("none");
    }
    // The picture settings reach the session: each one that changed, under its file name.
    void listen(EditSession* session) {
        QObject::connect(
            session, &EditSession::pictureSettingsChanged, session, [this](const PictureSettings& now) {
                if (now.treatment != last.treatment)
                    log("treatment", QString::fromLatin1(PictureSettings::treatmentName(now.treatment)));
                if (now.look != last.look) log("look", now.look);
                const auto values = now.adjustments(), before = last.adjustments();
                for (std::size_t i = 0; i < values.size(); ++i)
                    if (values[i] != before[i]) log(PictureSettings::kAdjustmentNames[i], values[i]);
                last = now;
            });
    }
    PictureSettings last;
    void listen(ToolPanel* p) {
        using P = ToolPanel;
        auto value = [this, p](void (P::*signal)(double), const char* name) {
            QObject::connect(p, signal, p, [this, name](double v) { log(name, v); });
        };
        auto toggle = [this, p](void (P::*signal)(bool), const char* name) {
            QObject::connect(p, signal, p, [this, name](bool on) { log(name, on); });
        };
        QObject::connect(p, &P::invertMaskRequested, p, [this] { log("invert"); });
        QObject::connect(p, &P::clearMaskRequested, p, [this] { log("clear"); });
        toggle(&P::showMaskChanged, "showMask");
        toggle(&P::eraseMaskChanged, "eraseMask");
        toggle(&P::moveImageChanged, "moveImage");
        toggle(&P::solidColorChanged, "solidColorSelected");
        toggle(&P::colorPickerToggled, "picker");
        QObject::connect(p, &P::customColorChanged, p,
                         [this](const QColor& c) { log("customColor", colour(c)); });
        value(&P::brushSizeChanged, "size");
        value(&P::softnessChanged, "softness");
        value(&P::opacityChanged, "opacity");
        p->brushPreviewProvider = [](QSize size, double, double, double) {
            QImage i(size, QImage::Format_ARGB32_Premultiplied);
            i.fill(Qt::black);
            return i;
        };
        p->brushCursorProvider = [] { return QCursor(Qt::CrossCursor); };
    }
};

// A shown panel with its own preferences file, its start-up calls already made and forgotten.
struct Panel {
    QTemporaryDir dir;
    Settings settings{dir.filePath("prefs.ini")};
    Recorder owner;
    EditSession session;
    QWidget window;
    ToolPanel* toolbar;
    explicit Panel(std::optional<QColor> stored = std::nullopt) {
        if (stored)
            settings.setSelectedColour(
                {float(stored->redF()), float(stored->greenF()), float(stored->blueF()), 1.0f});
        window.resize(ToolPanel::kWidth + 400, 760);
        toolbar = new ToolPanel(&window, &settings);
        toolbar->setGeometry(400, 0, ToolPanel::kWidth, 760);
        owner.listen(toolbar);
        owner.listen(&session);
        toolbar->bindTo(&session);
        toolbar->finishSetup();
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        // The stored colour arrives 0.3 s after start-up, with word that no solid colour paints yet.
        EXPECT_TRUE(waitUntil([&] { return owner.calls.contains("customColor none"); }, 5000));
        startup = owner.calls;
        owner.calls.clear();
    }
    QStringList startup;
    void forget() { owner.calls.clear(); }
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    // Drags a slider's knob to an end and lets go, as a user would.
    void dragTo(ValueSlider* s, bool right) {
        const QPoint knob = s->knobRect().center().toPoint();
        const QPoint end = right ? QPoint(s->width() - 1, knob.y()) : QPoint(0, knob.y());
        QTest::mousePress(s, Qt::LeftButton, {}, knob);
        QTest::mouseMove(s, end);
        QTest::mouseRelease(s, Qt::LeftButton, {}, end);
    }
    void doubleClickKnob(ValueSlider* s) {
        const QPoint at = s->knobRect().center().toPoint();
        QTest::mousePress(s, Qt::LeftButton, {}, at);
        QTest::mouseRelease(s, Qt::LeftButton, {}, at);
        QTest::mousePress(s, Qt::LeftButton, {}, at);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, at, s->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(s, &dbl);
        QTest::mouseRelease(s, Qt::LeftButton, {}, at);
    }
    QString last(const QString& prefix) const {
        for (auto it = owner.calls.rbegin(); it != owner.calls.rend(); ++it)
            if (it->startsWith(prefix + " ")) return it->mid(prefix.size() + 1);
        return {};
    }
};

TEST(Toolbar, StartUpSendsTheStartingValuesAndNoSolidColour) {
    Panel p(QColor(200, 40, 30));
    const QStringList want{"size 45", "softness 75", "opacity 1", "customColor none"};
    EXPECT_EQ(p.startup, want);
    // The stored colour is chosen and shown, but the canvas does not paint with it yet.
    ASSERT_TRUE(p.toolbar->selectedColor());
    EXPECT_EQ(p.toolbar->selectedColor()->red(), 200);
    EXPECT_EQ(p.toolbar->drawMaskButton()->state(), 1);
}

TEST(Toolbar, ToolsSendTheirCallsAndMoveTheBrushPane) {
    Panel p(QColor(0, 0, 255));
    struct Case {
        ImageButton* (ToolPanel::*button)() const;
        int page;
        QRect pane;
        QStringList calls;
    } cases[] = {
        {&ToolPanel::eraseMaskButton,
         1,
         {0, 117, 310, 115},
         {"moveImage false", "eraseMask true", "customColor none", "solidColorSelected false"}},
        {&ToolPanel::solidColorButton,
         2,
         {0, 157, 310, 70},
         {"customColor 0,0,255", "solidColorSelected true", "moveImage false", "eraseMask false"}},
        {&ToolPanel::movingImageButton,
         0,
         {0, 102, 310, 115},
         {"moveImage true", "solidColorSelected false"}},
        {&ToolPanel::drawMaskButton,
         0,
         {0, 102, 310, 115},
         {"moveImage false", "eraseMask false", "customColor none", "solidColorSelected false"}},
    };
    for (const Case& c : cases) {
        p.forget();
        ImageButton* b = (p.toolbar->*c.button)();
        p.click(b);
        EXPECT_EQ(p.owner.calls, c.calls);
        int on = 0;
        for (ImageButton* t : {p.toolbar->drawMaskButton(), p.toolbar->eraseMaskButton(),
                               p.toolbar->solidColorButton(), p.toolbar->movingImageButton()})
            on += t->state();
        EXPECT_EQ(on, 1);
        EXPECT_EQ(b->state(), 1);
        EXPECT_EQ(p.toolbar->paintTabView()->currentIndex(), c.page);
        EXPECT_EQ(ToolPanel::brushPaneFrame(c.page == 0 && c.calls[0] == "moveImage true" ? 3 : c.page),
                  c.pane);
        EXPECT_TRUE(waitUntil(
            [&] { return p.toolbar->brushPane()->geometry() == c.pane.adjusted(8, 0, -8, 0); }, 5000));
    }
    // The hand leaves the brush alone.
    p.click(p.toolbar->movingImageButton());
    EXPECT_FALSE(p.toolbar->brushPane()->isEnabled());
    // X alternates paint and erase.
    p.click(p.toolbar->drawMaskButton());
    p.toolbar->switchDrawingMode();
    EXPECT_EQ(p.toolbar->eraseMaskButton()->state(), 1);
    p.toolbar->switchDrawingMode();
    EXPECT_EQ(p.toolbar->drawMaskButton()->state(), 1);
}

TEST(Toolbar, AdjustmentSlidersSendMappedValuesAndResetRestores) {
    Panel p;
    p.toolbar->tabButton1Click();
    // Contrast: 3.5 → 0.875, 4.5 → 1.5, the default 4 → 1 (double click on the knob).
    p.dragTo(p.toolbar->contrastSlider(), false);
    EXPECT_EQ(p.last("contrast"), "0.875");
    EXPECT_TRUE(p.toolbar->resetButton()->isEnabled());
    p.dragTo(p.toolbar->contrastSlider(), true);
    EXPECT_EQ(p.last("contrast"), "1.5");
    p.doubleClickKnob(p.toolbar->contrastSlider());
    EXPECT_EQ(p.last("contrast"), "1");
    p.dragTo(p.toolbar->exposureSlider(), true);
    EXPECT_EQ(p.last("exposure"), "2");
    p.dragTo(p.toolbar->vignetteSlider(), true);
    p.forget();
    p.click(p.toolbar->resetButton());
    EXPECT_EQ(p.owner.calls, (QStringList{"exposure 0", "vignette 0"}))
        << "one step puts back the whole page";
    EXPECT_EQ(p.session.pictureSettings(), PictureSettings());
    EXPECT_EQ(p.toolbar->exposureSlider()->doubleValue(), 0);
    EXPECT_EQ(p.toolbar->vignetteSlider()->doubleValue(), 0);
    EXPECT_FALSE(p.toolbar->resetButton()->isEnabled());

    // The background saturation reads as saturation does everywhere: less of it, less colour. Its
    // left end and its default are grey (0), its right end the photo's full colour (1).
    p.toolbar->tabButton2Click();
    for (const auto& [right, sent] : {std::pair{true, "1"}, std::pair{false, "0"}, std::pair{true, "1"}}) {
        p.dragTo(p.toolbar->saturationBackgroundSlider(), right);
        EXPECT_EQ(p.last("backgroundSaturation"), sent) << (right ? "right end" : "left end");
    }
    EXPECT_EQ(p.toolbar->saturationBackgroundSlider()->doubleValue(), 1);
    p.doubleClickKnob(p.toolbar->saturationBackgroundSlider());
    EXPECT_EQ(p.last("backgroundSaturation"), "0");
    EXPECT_EQ(p.toolbar->saturationBackgroundSlider()->doubleValue(), 0);
    p.dragTo(p.toolbar->blurBackgroundSlider(), true);
    p.forget();
    p.click(p.toolbar->resetButton2());
    EXPECT_EQ(p.owner.calls, QStringList{"backgroundBlur 0"});
    EXPECT_EQ(p.session.pictureSettings(), PictureSettings());
    EXPECT_FALSE(p.toolbar->resetButton2()->isEnabled());
}

// Undone back to the defaults (settings restored from the history), a page offers no Reset.
TEST(Toolbar, ResetIsOfferedOnlyWhileASliderIsOffItsDefault) {
    Panel p;
    struct Case {
        const char* name;
        ValueSlider* slider;
        ImageButton* reset;
        bool background;
    };
    for (const Case& c :
         {Case{"colour", p.toolbar->exposureSlider(), p.toolbar->resetButton(), false},
          Case{"background", p.toolbar->blurBackgroundSlider(), p.toolbar->resetButton2(), true}}) {
        SCOPED_TRACE(c.name);
        if (c.background) p.toolbar->tabButton2Click();
        EXPECT_FALSE(c.reset->isEnabled());
        p.dragTo(c.slider, true);
        EXPECT_TRUE(c.reset->isEnabled());
        p.session.undo(); // back to the defaults, as undo puts them
        EXPECT_EQ(c.slider->doubleValue(), c.slider->defaultValue());
        EXPECT_FALSE(c.reset->isEnabled());
    }
}

TEST(Toolbar, IntensityTakesTheColourTowardsBlackOrWhite) {
    Panel p(QColor(200, 100, 50));
    p.click(p.toolbar->solidColorButton());
    p.dragTo(p.toolbar->intensitySlider(), false);
    EXPECT_EQ(p.last("customColor"), "0,0,0");
    p.dragTo(p.toolbar->intensitySlider(), true);
    EXPECT_EQ(p.last("customColor"), "255,255,255");
    p.doubleClickKnob(p.toolbar->intensitySlider());
    EXPECT_EQ(p.last("customColor"), "200,100,50");
}

TEST(Toolbar, ChoosingAColourPaintsWithItOnlyWithTheSolidColourTool) {
    Panel p;
    p.toolbar->selectColor(QColor(10, 200, 10));
    EXPECT_EQ(p.last("customColor"), "");
    EXPECT_EQ(p.settings.selectedColour().value()[1], float(200 / 255.0));
    p.click(p.toolbar->solidColorButton());
    p.toolbar->addToRecentColors(QColor(1, 2, 3));
    p.toolbar->show();
    p.click(p.toolbar->recentColorCells()[0]);
    EXPECT_EQ(p.last("customColor"), "1,2,3");
}

TEST(Toolbar, RecentColoursMoveToTheFrontAndKeepEight) {
    Panel p;
    for (int i = 0; i < 9; ++i) p.toolbar->addToRecentColors(QColor(i * 20, 0, 0));
    p.toolbar->addToRecentColors(QColor(60, 0, 0)); // already there: to the front, once
    ASSERT_EQ(p.settings.recentColours().size(), 8);
    const QList<SwatchCell*> cells = p.toolbar->recentColorCells();
    ASSERT_EQ(cells.size(), 8);
    const int want[8] = {60, 160, 140, 120, 100, 80, 40, 20}; // 0 pushed out by the ninth
    for (int i = 0; i < 8; ++i) EXPECT_EQ(cells[i]->fillColor().red(), want[i]) << i;
    p.toolbar->addToRecentColors(QColor(0, 0, 255));
    EXPECT_EQ(p.toolbar->recentColorCells()[0]->fillColor(), QColor(0, 0, 255));
    // A click on a cell selects its colour.
    p.click(p.toolbar->solidColorButton());
    p.toolbar->show();
    p.click(cells[1]);
    EXPECT_EQ(p.last("customColor"), "60,0,0");
}

// Looks clicked in quick succession each take, in order; the current one again sends nothing.
TEST(Toolbar, EveryLookClickedTakesAndTheCurrentOneIsIgnored) {
    Panel p;
    p.toolbar->tabButton2Click();
    p.click(p.toolbar->presetNone());
    EXPECT_TRUE(p.owner.calls.isEmpty());
    for (ImageButton* b : {p.toolbar->presetSoft(), p.toolbar->presetDreamy(), p.toolbar->presetHardLight(),
                           p.toolbar->presetSoft(), p.toolbar->presetDreamy(), p.toolbar->presetDreamy()})
        p.click(b);
    EXPECT_EQ(p.owner.calls, (QStringList{"look 1", "look 2", "look 3", "look 1", "look 2"}));
    EXPECT_EQ(p.toolbar->presetDreamy()->state(), 1);
    EXPECT_EQ(p.toolbar->presetNone()->state(), 0);
}

TEST(Toolbar, BrushPresetsAndTheBrushSizeLimits) {
    Panel p;
    p.click(p.toolbar->presetButton(7));
    EXPECT_EQ(p.owner.calls, (QStringList{"size 13", "softness 90", "opacity 0.82"}));
    EXPECT_EQ(p.toolbar->presetButton(7)->state(), 1);
    p.dragTo(p.toolbar->softnessSlider(), true);
    EXPECT_EQ(p.toolbar->presetButton(7)->state(), 0);
    p.forget();
    p.toolbar->setBrushSize(401);
    p.toolbar->setBrushSize(9.5);
    EXPECT_TRUE(p.owner.calls.isEmpty());
    EXPECT_EQ(p.toolbar->brushSizeSlider()->doubleValue(), 13);
    p.toolbar->setBrushSize(120);
    EXPECT_EQ(p.owner.calls, QStringList{"size 120"});
}

TEST(Toolbar, TreatmentsMaskButtonsAndThePicker) {
    Panel p;
    p.toolbar->tabButton2Click();
    p.click(p.toolbar->agedModeButton());
    p.click(p.toolbar->silverBlueModeButton());
    p.click(p.toolbar->grayscaleModeButton());
    EXPECT_EQ(p.owner.calls, (QStringList{"treatment Aged", "treatment SilverBlue", "treatment "}));
    p.click(p.toolbar->sepiaModeButton());
    EXPECT_EQ(p.toolbar->eraseMaskButton()->image(), "sepia");
    p.forget();
    p.click(p.toolbar->invertMaskButton());
    p.click(p.toolbar->clearMaskButton());
    p.toolbar->switchShowMaskMode();
    p.click(p.toolbar->showMaskButton());
    p.click(p.toolbar->imagePickerButton());
    EXPECT_EQ(p.owner.calls,
              (QStringList{"invert", "clear", "showMask true", "showMask false", "picker true"}));
}

TEST(Toolbar, TheColourPanelOpensAndAClickElsewhereClosesIt) {
    Panel p;
    QSignalSpy shown(p.toolbar, &ToolPanel::colorPanelShown);
    QSignalSpy hidden(p.toolbar, &ToolPanel::colorPanelHidden);
    p.click(p.toolbar->solidColorButton());
    p.click(p.toolbar->colorWell());
    EXPECT_TRUE(p.toolbar->isColorPanelOpen());
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(hidden.count(), 0);
    p.click(p.toolbar->exposureSlider()); // a click in the window, not in the panel
    EXPECT_FALSE(p.toolbar->isColorPanelOpen());
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(hidden.count(), 1);
}

TEST(Palette, AnEmptyCellSelectsNothingAndKeepsItsBorder) {
    QWidget window;
    SwatchCell empty(QRect(0, 0, 24, 24), &window), full(QRect(30, 0, 24, 24), &window);
    QSignalSpy emptySelected(&empty, &SwatchCell::colorSelected),
        fullSelected(&full, &SwatchCell::colorSelected);
    full.setFillColor(QColor::fromHsvF(0.3f, 0.5f, 0.5f));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(full.fillColor().spec(), QColor::Rgb); // kept as device RGB
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&empty, &enter);
    EXPECT_EQ(empty.borderWidth(), 1.0f);
    QTest::mouseClick(&empty, Qt::LeftButton);
    EXPECT_EQ(emptySelected.count(), 0);
    QTest::mouseClick(&full, Qt::LeftButton);
    ASSERT_EQ(fullSelected.count(), 1);
    EXPECT_EQ(fullSelected[0][0].value<QColor>(), full.fillColor());
}

} // namespace
} // namespace pimavo::test
