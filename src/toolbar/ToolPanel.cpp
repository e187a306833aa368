// The tool panel's construction and layout, and the start-up sequence.
#include "ToolPanel.h"

#include "core/Dispatch.h"
#include "core/Settings.h"
#include "picker/ColorSwatch.h"
#include "picker/SwatchCell.h"
#include "widgets/ArrowGroup.h"
#include "widgets/GradientSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/ValueSlider.h"
#include "widgets/WidgetStyle.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <algorithm>

namespace pimavo {

namespace {

// The tool row stays at the panel's top; the rows below it are the body, which scrolls when the
// window is too low for all of it. Body rows are counted down from the body's top edge.
constexpr int kToolRowTop = 6, kBodyTop = 48;
constexpr int kPagesTop = 2, kMaskRowTop = 242, kTabsTop = 288, kTabPageTop = 318, kTabPageHeight = 272;
constexpr int kBodyHeight = kTabPageTop + kTabPageHeight + 8;
constexpr int kRowPitch = 30;
// Label column and slider column of a slider row, inside a page that is kWidth - 16 wide: the labels
// keep clear of the sliders' minus buttons however wide the longest label is.
constexpr int kLabelLeft = 12, kLabelGap = 12, kRowRightMargin = 8;

ImageButton* iconButton(QWidget* parent, const QString& image, const QString& tip, QRect frame) {
    auto* b = new ImageButton(parent);
    b->setImages(image);
    b->setToolTip(tip);
    b->setGeometry(frame);
    return b;
}

ImageButton* textButton(QWidget* parent, const QString& title, QRect frame) {
    auto* b = new ImageButton(parent);
    b->setImage("button");
    b->setAlternateImage("button_on");
    b->setDisabledImage("button_dis");
    b->setStretchCorner(4);
    b->setText(title);
    b->setFont(style::uiFont(11));
    b->setGeometry(frame);
    return b;
}

// A text button ending at `right`, at least `width` wide and as wide as its word needs: "Reset" is
// "Zurücksetzen" or "Réinitialiser" in other languages.
ImageButton* rightAlignedTextButton(QWidget* parent, const QString& title, int right, int top, int width,
                                    int height) {
    ImageButton* b = textButton(parent, title, {right - width, top, width, height});
    const int needed = QFontMetrics(b->font()).horizontalAdvance(title) + 20;
    if (needed > width) b->setGeometry(right - needed, top, needed, height);
    return b;
}

QLabel* rowLabel(QWidget* parent, const QString& title, int top, int width = 84) {
    auto* l = new QLabel(title, parent);
    l->setFont(style::uiFont(11));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, style::kInkDim);
    l->setPalette(pal);
    l->setGeometry(kLabelLeft, top, width, 22);
    return l;
}

// The labels of the slider rows, in the brush pane and on both adjustment pages.
constexpr const char* kSliderLabels[] = {
    //: The brush's size
    QT_TRANSLATE_NOOP("pimavo::ToolPanel", "Size"),
    //: How soft the brush's edge is
    QT_TRANSLATE_NOOP("pimavo::ToolPanel", "Softness"),
    //: How opaque the brush paints
    QT_TRANSLATE_NOOP("pimavo::ToolPanel", "Opacity"),
    //: A photo adjustment, as in photography
    QT_TRANSLATE_NOOP("pimavo::ToolPanel", "Exposure"), QT_TRANSLATE_NOOP("pimavo::ToolPanel", "Brightness"),
    QT_TRANSLATE_NOOP("pimavo::ToolPanel", "Saturation"), QT_TRANSLATE_NOOP("pimavo::ToolPanel", "Contrast"),
    QT_TRANSLATE_NOOP("pimavo::ToolPanel", "Hue"),
    //: A photo adjustment: how blurred the picture is
    QT_TRANSLATE_NOOP("pimavo::ToolPanel", "Blur"),
    //: A photo adjustment: darkened corners
    QT_TRANSLATE_NOOP("pimavo::ToolPanel", "Vignette")};

// Where the sliders of a page start: past the widest row label and a gap, so that one column of
// sliders lines up under another whatever the labels say.
int sliderLeft() {
    const QFontMetrics metrics(style::uiFont(11));
    int widest = 0;
    for (const char* key : kSliderLabels)
        widest = std::max(widest, metrics.horizontalAdvance(ToolPanel::tr(key)));
    return kLabelLeft + widest + kLabelGap;
}

// A label and its slider on one row of a page `pageWidth` wide.
ValueSlider* sliderRow(QWidget* page, const QString& label, int top, int pageWidth) {
    const int left = sliderLeft();
    QLabel* name = rowLabel(page, label, top, left - kLabelGap - kLabelLeft);
    auto* s = new ValueSlider(page);
    name->setBuddy(s); // the slider's name to assistive tools
    s->setGeometry(left, top, pageWidth - left - kRowRightMargin, 22);
    return s;
}

} // namespace

ToolPanel::ToolPanel(QWidget* parent, pimavo::Settings* userSettings)
    : FramedPanel(parent), userSettings_(userSettings ? userSettings : &pimavo::Settings::standard()) {
    resize(kWidth, kBodyTop + kBodyHeight);
    buildInterface();
}

ToolPanel::~ToolPanel() {
    if (monitoring_) qApp->removeEventFilter(this);
    closeColorPanel();
}

QRect ToolPanel::brushPaneFrame(int tool) {
    switch (tool) {
    case Erase:
        return {0, 117, kWidth, 115};
    case SolidColor:
        return {0, 157, kWidth, 70};
    default:
        return {0, 102, kWidth, 115};
    }
}

int ToolPanel::bodyTop() {
    return kBodyTop;
}

void ToolPanel::buildInterface() {
    setPatternImageName("background_tools.png");
    buildToolRow();
    // The body scrolls under the tool row; its own background stays transparent so the panel's
    // pattern shows behind it.
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName("panelBody");
    // Tab goes through the controls, not the area that scrolls them (it scrolls to each one).
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scrollArea_->setWidgetResizable(false);
    scrollArea_->verticalScrollBar()->setStyleSheet(
        "QScrollBar:vertical { background: transparent; width: 8px; margin: 2px 0 2px 0; }"
        "QScrollBar::handle:vertical { background: rgba(255,255,255,70); border-radius: 3px;"
        " min-height: 32px; margin: 0 1px 0 1px; }"
        "QScrollBar::handle:vertical:hover { background: rgba(255,255,255,110); }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }");
    scrollArea_->viewport()->setAutoFillBackground(false);
    body_ = new QWidget;
    body_->setObjectName("panelBodyContent");
    body_->setAutoFillBackground(false);
    // Only the margin right of the rows gives way to the scroll bar.
    body_->setFixedSize(kWidth, kBodyHeight);
    scrollArea_->setWidget(body_);
    scrollArea_->setGeometry(0, kBodyTop, kWidth, height() - kBodyTop);
    buildPaintPages();
    buildBrushPane();
    buildMaskRow();
    buildAdjustments();
}

void ToolPanel::buildToolRow() {
    auto* row = new FramedPanel(this);
    row->setType(FramedPanel::AdjustmentsHeaderLook);
    row->setGeometry(8, kToolRowTop, kWidth - 16, 42);
    drawMaskButton_ = iconButton(
        row, "tool_paint", tr("Paint the photo’s colour back (X switches with Erase)"), {10, 5, 32, 32});
    eraseMaskButton_ = iconButton(
        row, "grayscale", tr("Erase colour back to the background (X switches with Paint)"), {48, 5, 32, 32});
    solidColorButton_ = iconButton(row, "tool_solidcolor", tr("Paint with a solid colour"), {86, 5, 32, 32});
    movingImageButton_ =
        iconButton(row, "tool_hand", tr("Move the picture (or hold Space)"), {124, 5, 32, 32});
    imagePickerButton_ = iconButton(row, "tool_picker", tr("Select a region of similar colour"),
                                    {row->width() - 42, 5, 32, 32});
    // Short names for the tools; a screen reader reads the tool tip after them as the description.
    //: A tool: painting the photo's own colour back
    drawMaskButton_->setAccessibleName(tr("Paint"));
    //: A tool: erasing painted colour
    eraseMaskButton_->setAccessibleName(tr("Erase"));
    //: A tool: painting with one chosen colour
    solidColorButton_->setAccessibleName(tr("Solid colour"));
    //: A tool: moving the picture around
    movingImageButton_->setAccessibleName(tr("Move"));
    //: A tool: picking regions of similar colour
    imagePickerButton_->setAccessibleName(tr("Colour region picker"));
    imagePickerButton_->setButtonType(ImageButton::ButtonType::Toggle);
    drawMaskButton_->setAction([this](ImageButton*) { drawMaskButtonClick(); });
    eraseMaskButton_->setAction([this](ImageButton*) { eraseMaskButtonClick(); });
    solidColorButton_->setAction([this](ImageButton*) { solidColorButtonClick(); });
    movingImageButton_->setAction([this](ImageButton*) { movingImageButtonClick(); });
    imagePickerButton_->setAction([this](ImageButton* b) { emit colorPickerToggled(b->state() == 1); });
}

void ToolPanel::buildPaintPages() {
    paintTabView_ = new QStackedWidget(body_);
    paintTabView_->setGeometry(8, kPagesTop, kWidth - 16, 100);
    // Pages 0 (paint) and 1 (erase) share the brush presets; page 2 is the solid colour.
    for (int page = 0; page < 3; ++page) paintTabView_->addWidget(new QWidget());
    auto* presets = new QWidget(paintTabView_->widget(0));
    presets->setObjectName("brushPresets");
    presets->setGeometry(0, 8, kWidth - 16, 84);
    for (int tag = 0; tag < 12; ++tag) {
        auto* b = iconButton(presets, QString("brush_preset_%1").arg(tag), tr("Brush preset"),
                             {12 + (tag % 6) * 46, (tag / 6) * 42, 32, 32});
        b->setTag(tag);
        //: %1 is the preset's number, 1 to 12
        b->setAccessibleName(tr("Brush preset %1").arg(tag + 1));
        b->setAction([this](ImageButton* button) { presetButtonClick(button->tag()); });
        presetButtons_[std::size_t(tag)] = b;
    }
    ArrowGroup::make({presetButtons_.begin(), presetButtons_.end()}, 6);
    describeBrushPresets();
    auto* eraseHint = new QLabel(tr("Erasing brings the background back."), paintTabView_->widget(1));
    eraseHint->setFont(style::uiFont(10));
    eraseHint->setGeometry(12, 92, kWidth - 40, 20);
    QPalette pal = eraseHint->palette();
    pal.setColor(QPalette::WindowText, style::kInkDim);
    eraseHint->setPalette(pal);

    // The solid colour: the well with its swatch, the intensity, the recent colours.
    QWidget* colour = paintTabView_->widget(2);
    colorWell_ = new ImageButton(colour);
    colorWell_->setGeometry(6, 10, 70, 45);
    colorWell_->setToolTip(tr("Choose a colour"));
    colorWell_->setAction([this](ImageButton*) { showColorPanelButtonClick(); });
    auto* ring = new ColorSwatch(QRect(16, 4, 37, 37), Qt::white, true, colorWell_);
    ring->setAttribute(Qt::WA_TransparentForMouseEvents);
    selectedColorView_ = new ColorSwatch(QRect(21, 9, 27, 27), QColor(), true, colorWell_);
    selectedColorView_->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* question = new FramedPanel(colorWell_);
    question->setBackgroundImageName("question_mark.png");
    question->setGeometry(21, 9, 27, 27);
    question->setAttribute(Qt::WA_TransparentForMouseEvents);
    questionMarkView_ = question;
    auto* intensityLabel = rowLabel(colour, tr("Intensity"), 12);
    intensityLabel->move(86, 8);
    intensitySlider_ = new GradientSlider(colour);
    intensityLabel->setBuddy(intensitySlider_);
    intensitySlider_->setGeometry(86, 28, kWidth - 16 - 96, 22);
    auto* recentLabel = rowLabel(colour, tr("Recent colours"), 64);
    recentLabel->resize(160, 22);
    recentLabel->move(8, 66);
    rescentColorsView_ = new QWidget(colour);
    rescentColorsView_->setGeometry(8, 88, kWidth - 32, 28);
    for (int i = 0; i < 8; ++i) {
        auto* cell = new SwatchCell(QRect(i * 34, 2, 24, 24), rescentColorsView_);
        cell->setViewId(i);
        connect(cell, &SwatchCell::colorSelected, this, &ToolPanel::selectColor);
    }
}

void ToolPanel::buildBrushPane() {
    brushPane_ = new FramedPanel(body_);
    brushPane_->setType(FramedPanel::DrawingLook);
    brushPane_->setGeometry(brushPaneFrame(Paint).adjusted(8, 0, -8, 0));
    auto slider = [&](int label, int top) {
        return sliderRow(brushPane_, tr(kSliderLabels[label]), top, kWidth - 16);
    };
    brushSizeSlider_ = slider(0, 8);
    softnessSlider_ = slider(1, 42);
    opacitySlider_ = slider(2, 76);
}

void ToolPanel::buildMaskRow() {
    auto* row = new FramedPanel(body_);
    row->setType(FramedPanel::AdjustmentsLook);
    row->setGeometry(8, kMaskRowTop, kWidth - 16, 40);
    invertMaskButton_ = iconButton(row, "mask_invert", tr("Invert the mask"), {10, 4, 32, 32});
    clearMaskButton_ = iconButton(row, "mask_clear", tr("Clear the mask"), {48, 4, 32, 32});
    showMaskButton_ = iconButton(row, "mask_show", tr("Show the mask (\\)"), {86, 4, 32, 32});
    showMaskButton_->setButtonType(ImageButton::ButtonType::Toggle);
    recentMaskButton_ = new ImageButton(row);
    recentMaskButton_->hide();
    brushPreviewImageView_ = new QLabel(row);
    brushPreviewImageView_->setGeometry(row->width() - 46, 2, 36, 36);
    brushPreviewImageView_->setToolTip(tr("The brush as it paints"));
    invertMaskButton_->setAction([this](ImageButton*) { emit invertMaskRequested(); });
    clearMaskButton_->setAction([this](ImageButton*) { emit clearMaskRequested(); });
    showMaskButton_->setAction([this](ImageButton* b) { emit showMaskChanged(b->state() == 1); });
}

void ToolPanel::buildAdjustments() {
    //: A tab of the tool panel: the adjustments of the photo's coloured part
    tabButton1_ = textButton(body_, tr("Colour"), {12, kTabsTop, 140, 24});
    //: A tab of the tool panel: the treatment, look and adjustments of the photo's background
    tabButton2_ = textButton(body_, tr("Background"), {158, kTabsTop, 140, 24});
    tabButton1_->setAction([this](ImageButton*) { tabButton1Click(); });
    tabButton2_->setAction([this](ImageButton*) { tabButton2Click(); });
    tabView_ = new QStackedWidget(body_);
    tabView_->setGeometry(8, kTabPageTop, kWidth - 16, kTabPageHeight);
    const int pageWidth = kWidth - 16;

    auto* front = new FramedPanel();
    front->setType(FramedPanel::AdjustmentsLook);
    auto* back = new FramedPanel();
    back->setType(FramedPanel::AdjustmentsLook);
    tabView_->addWidget(front);
    tabView_->addWidget(back);
    auto slider = [pageWidth](QWidget* page, const QString& label, int row, int top0) {
        return sliderRow(page, label, top0 + row * kRowPitch, pageWidth);
    };
    exposureSlider_ = slider(front, tr(kSliderLabels[3]), 0, 10);
    brightnessSlider_ = slider(front, tr(kSliderLabels[4]), 1, 10);
    saturationSlider_ = slider(front, tr(kSliderLabels[5]), 2, 10);
    contrastSlider_ = slider(front, tr(kSliderLabels[6]), 3, 10);
    hueSlider_ = slider(front, tr(kSliderLabels[7]), 4, 10);
    blurSlider_ = slider(front, tr(kSliderLabels[8]), 5, 10);
    vignetteSlider_ = slider(front, tr(kSliderLabels[9]), 6, 22);
    resetButton_ =
        rightAlignedTextButton(front, tr("Reset"), pageWidth - 12, 10 + 7 * kRowPitch + 18, 80, 22);
    resetButton_->setToolTip(tr(
        "Set exposure, brightness, saturation, contrast, hue, blur and vignette back to where they started"));
    resetButton_->setAction([this](ImageButton*) { resetButtonClick(); });

    // The background: its treatment, its look, its adjustments.
    const char* treatmentImages[4] = {"treatment_grayscale", "treatment_sepia", "treatment_aged",
                                      "treatment_silverblue"};
    const char* treatmentTips[4] = {QT_TR_NOOP("Grayscale"), QT_TR_NOOP("Sepia"),
                                    //: The look of an old, faded photograph
                                    QT_TR_NOOP("Aged"), QT_TR_NOOP("Silver Blue")};
    for (int i = 0; i < 4; ++i) {
        auto* b = iconButton(back, treatmentImages[i], tr(treatmentTips[i]), {16 + i * 46, 10, 34, 34});
        b->setTag(i);
        b->setAction([this](ImageButton* button) { treatmentButtonClick(button->tag()); });
        treatmentButtons_[std::size_t(i)] = b;
    }
    // The looks, under a heading that says what they are. Each button is as wide as its title
    // needs plus even padding; the room left over is shared out so the row fills the page.
    //: The heading over the background's looks (None, Soft, Dreamy, Hard Light)
    auto* lookHeading = rowLabel(back, tr("Look"), 52, pageWidth - 2 * kLabelLeft);
    lookHeading->setObjectName("lookHeading");
    const char* typeTitles[4] = {//: No look on the background
                                 QT_TR_NOOP("None"),
                                 //: A look: a softened, glowing background
                                 QT_TR_NOOP("Soft"),
                                 //: A look: a hazy, dream-like background
                                 QT_TR_NOOP("Dreamy"),
                                 //: A look: a hard, contrasty light, as the blend mode of that name
                                 QT_TR_NOOP("Hard Light")};
    const QFont lookFont = style::uiFont(10);
    const QFontMetrics lookMetrics(lookFont);
    constexpr int kLookPadding = 10, kLookGap = 4, kLookMargin = 10;
    int titles = 0;
    for (const char* t : typeTitles) titles += lookMetrics.horizontalAdvance(tr(t));
    const int spare = std::max(0, pageWidth - 2 * kLookMargin - 3 * kLookGap - titles - 4 * 2 * kLookPadding);
    int x = kLookMargin;
    for (int type = 0; type < 4; ++type) {
        const int w = lookMetrics.horizontalAdvance(tr(typeTitles[type])) + 2 * kLookPadding + spare / 4;
        auto* b = textButton(back, tr(typeTitles[type]), {x, 74, w, 24});
        x += w + kLookGap;
        b->setFont(lookFont);
        b->setTag(type);
        b->setProperty("presetType", type);
        b->setAction(
            [this](ImageButton* button) { presetTypeButtonClick(button->property("presetType").toInt()); });
        presetTypeButtons_[std::size_t(type)] = b;
    }
    constexpr int kBackSlidersTop = 112;
    brightnessBackgroundSlider_ = slider(back, tr(kSliderLabels[4]), 0, kBackSlidersTop);
    contrastBackgroundSlider_ = slider(back, tr(kSliderLabels[6]), 1, kBackSlidersTop);
    saturationBackgroundSlider_ = slider(back, tr(kSliderLabels[5]), 2, kBackSlidersTop);
    blurBackgroundSlider_ = slider(back, tr(kSliderLabels[8]), 3, kBackSlidersTop);
    resetButton2_ = rightAlignedTextButton(back, tr("Reset"), pageWidth - 12,
                                           kBackSlidersTop + 4 * kRowPitch + 8, 80, 22);
    resetButton2_->setToolTip(tr("Set the background's brightness, contrast, saturation and blur back to "
                                 "where they started; the tone and the look stay"));
    resetButton2_->setAction([this](ImageButton*) { resetButton2Click(); });
}

// Once per slider: display first, then range, value and default (the display mode resets them).
void ToolPanel::setUpSliders() {
    struct Row {
        ValueSlider* slider;
        double min, max, initial;
        bool real, negative;
    } rows[] = {
        {brushSizeSlider_, 10, 400, 45, true, false},
        {softnessSlider_, 0, 100, 75, true, false},
        {opacitySlider_, 0.001, 1, 1, false, false},
        {intensitySlider_, -1, 1, 0, false, false},
        {exposureSlider_, -2, 2, 0, false, true},
        {brightnessSlider_, -0.04, 0.04, 0, false, false},
        {saturationSlider_, 0, 2, 1, false, false},
        {contrastSlider_, 3.5, 4.5, 4, false, false},
        {hueSlider_, -3.14, 3.14, 0, false, false},
        {blurSlider_, 0, 14, 0, false, false},
        {vignetteSlider_, 0, 1, 0, false, false},
        {brightnessBackgroundSlider_, -0.04, 0.04, 0, false, false},
        {contrastBackgroundSlider_, 3.5, 4.5, 4, false, false},
        {saturationBackgroundSlider_, 0, 1, 0, false, false},
        {blurBackgroundSlider_, 0, 14, 0, false, false},
    };
    for (const Row& r : rows) {
        r.slider->setShowRealValue(r.real);
        r.slider->setShowNegativeValue(r.negative);
        r.slider->setMinValue(r.min);
        r.slider->setMaxValue(r.max);
        r.slider->setDoubleValue(r.initial);
        r.slider->setDefaultValue(r.initial);
        r.slider->setContinuous(true);
        r.slider->validateKnobPositionAnimated(false);
    }
    brushSizeSlider_->setAction([this](ValueSlider*) { brushSliderValueChanged(); });
    softnessSlider_->setAction([this](ValueSlider* s) {
        deselectBrushPresets();
        emit softnessChanged(s->doubleValue());
        showBrushWhileDragging(s);
        validateBrushPreview();
    });
    opacitySlider_->setAction([this](ValueSlider* s) {
        deselectBrushPresets();
        emit opacityChanged(s->doubleValue());
        validateBrushPreview();
    });
    intensitySlider_->setAction([this](ValueSlider*) { intensityChanged(); });
    for (ValueSlider* s : {exposureSlider_, brightnessSlider_, saturationSlider_, contrastSlider_, hueSlider_,
                           blurSlider_, vignetteSlider_, brightnessBackgroundSlider_,
                           contrastBackgroundSlider_, saturationBackgroundSlider_, blurBackgroundSlider_})
        s->setAction([this](ValueSlider* slider) { adjustmentChanged(slider); });
}

void ToolPanel::finishSetup() {
    if (loaded_) return;
    loaded_ = true;
    setUpSliders();
    recentMaskButton_->setEnabled(false);
    showPictureSettings(pictureSettings());
    validateAllBrushes();
    deselectBrushPresets();
    QPointer<ToolPanel> self(this);
    Dispatch::after(0.3, [self] {
        if (!self) return;
        const auto stored = self->userSettings_->selectedColour();
        if (stored)
            self->selectColor(QColor::fromRgbF((*stored)[0], (*stored)[1], (*stored)[2], (*stored)[3]));
        emit self->customColorChanged(QColor());
    });
    selectTool(Paint);
    tabButton1Click();
    redisplayRecentColors();
    validateBrushPreview();
}

void ToolPanel::resizeEvent(QResizeEvent* event) {
    FramedPanel::resizeEvent(event);
    scrollArea_->setGeometry(0, kBodyTop, kWidth, std::max(0, height() - kBodyTop));
}

void ToolPanel::scrollToShow(QWidget* control) {
    if (control && body_->isAncestorOf(control)) scrollArea_->ensureWidgetVisible(control, 0, 8);
}

} // namespace pimavo
