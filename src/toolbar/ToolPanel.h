// The tool panel docked at the right of the window: tools, brush, background treatments and
// presets, foreground and background adjustments, vignette, mask buttons, and the solid colour
// with its intensity and recent colours. The picture's settings are the edit session's: the panel
// shows them and edits them there. The tools and the brush are signals its owner passes on to the
// canvas.
#pragma once

#include "document/PictureSettings.h"
#include "widgets/FramedPanel.h"

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QSize>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QScrollArea;
class QStackedWidget;

namespace pimavo {

class SwatchCell;
class ImageButton;
class GradientSlider;
class ValueSlider;
class Settings;
class ColorSwatch;
class EditSession;

class ToolPanel : public FramedPanel {
    Q_OBJECT
public:
    // The panel's width; the canvas keeps this much of the window free for it.
    static constexpr int kWidth = 310;

    explicit ToolPanel(QWidget* parent = nullptr, pimavo::Settings* userSettings = nullptr);
    ~ToolPanel() override;

    // What the panel asks of its owner: the brush preview drawn at `size` for a brush of that size,
    // softness and opacity, and the pointer showing the brush as it now is.
    std::function<QImage(QSize size, double brushSize, double softness, double opacity)> brushPreviewProvider;
    std::function<QCursor()> brushCursorProvider;
    // The interface is ready: the panel sends its starting values (connect to its signals first).
    void finishSetup();

    // What the panel shows and has sent to the canvas, for a panel that replaces this one (a canvas
    // on another photo, after Apply or its undo).
    // The brush as the sliders set it: size, softness, opacity, colour intensity. Restored, the
    // panel sends each changed value as the sliders do.
    std::vector<double> brush() const;
    void restoreBrush(const std::vector<double>& values);

    // The panel shows the session's picture settings and edits them: each slider, treatment, look
    // and reset is a step of the session's history. Without a session the panel keeps them itself.
    void bindTo(EditSession* session);
    PictureSettings pictureSettings() const;
    void showPictureSettings(const PictureSettings& settings);

    // From outside.
    void setBrushSize(double size);
    void switchDrawingMode();
    void switchShowMaskMode();
    void validateAllBrushes();
    void brushSliderValueChanged();
    void customColorPickerShouldBeClosed();
    void selectColor(const QColor& color);
    // A colour the user painted with goes first among the recent colours.
    void addToRecentColors(const QColor& color);
    // Scrolls the panel's body so that one of its controls is in view.
    void scrollToShow(QWidget* control);
    void validateBrushPreview();

    bool miniSize() const { return miniSize_; }
    void setMiniSize(bool on) { miniSize_ = on; }
    std::optional<QColor> selectedColor() const { return selectedColor_; }
    // The solid colour as the intensity makes it, none without a selected colour.
    std::optional<QColor> colorWithIntensity() const;
    bool isColorPanelOpen() const { return colorPanel_ != nullptr; }

    // The controls, for the owner and for tests.
    ValueSlider* brushSizeSlider() const { return brushSizeSlider_; }
    ValueSlider* softnessSlider() const { return softnessSlider_; }
    ValueSlider* opacitySlider() const { return opacitySlider_; }
    GradientSlider* intensitySlider() const { return intensitySlider_; }
    ValueSlider* exposureSlider() const { return exposureSlider_; }
    ValueSlider* brightnessSlider() const { return brightnessSlider_; }
    ValueSlider* saturationSlider() const { return saturationSlider_; }
    ValueSlider* contrastSlider() const { return contrastSlider_; }
    ValueSlider* hueSlider() const { return hueSlider_; }
    ValueSlider* blurSlider() const { return blurSlider_; }
    ValueSlider* vignetteSlider() const { return vignetteSlider_; }
    ValueSlider* brightnessBackgroundSlider() const { return brightnessBackgroundSlider_; }
    ValueSlider* contrastBackgroundSlider() const { return contrastBackgroundSlider_; }
    ValueSlider* saturationBackgroundSlider() const { return saturationBackgroundSlider_; }
    ValueSlider* blurBackgroundSlider() const { return blurBackgroundSlider_; }
    ImageButton* drawMaskButton() const { return drawMaskButton_; }
    ImageButton* eraseMaskButton() const { return eraseMaskButton_; }
    ImageButton* solidColorButton() const { return solidColorButton_; }
    ImageButton* movingImageButton() const { return movingImageButton_; }
    ImageButton* imagePickerButton() const { return imagePickerButton_; }
    ImageButton* invertMaskButton() const { return invertMaskButton_; }
    ImageButton* clearMaskButton() const { return clearMaskButton_; }
    ImageButton* showMaskButton() const { return showMaskButton_; }
    ImageButton* grayscaleModeButton() const { return treatmentButtons_[0]; }
    ImageButton* sepiaModeButton() const { return treatmentButtons_[1]; }
    ImageButton* agedModeButton() const { return treatmentButtons_[2]; }
    ImageButton* silverBlueModeButton() const { return treatmentButtons_[3]; }
    ImageButton* presetButton(int tag) const { return presetButtons_[std::size_t(tag)]; }
    ImageButton* presetTypeButton(int type) const { return presetTypeButtons_[std::size_t(type)]; }
    ImageButton* presetNone() const { return presetTypeButtons_[0]; }
    ImageButton* presetSoft() const { return presetTypeButtons_[1]; }
    ImageButton* presetDreamy() const { return presetTypeButtons_[2]; }
    ImageButton* presetHardLight() const { return presetTypeButtons_[3]; }
    ImageButton* resetButton() const { return resetButton_; }
    ImageButton* resetButton2() const { return resetButton2_; }
    ImageButton* colorWell() const { return colorWell_; }
    ImageButton* tabButton1() const { return tabButton1_; }
    ImageButton* tabButton2() const { return tabButton2_; }
    QStackedWidget* paintTabView() const { return paintTabView_; }
    QStackedWidget* tabView() const { return tabView_; }
    FramedPanel* brushPane() const { return brushPane_; }
    QWidget* rescentColorsView() const { return rescentColorsView_; }
    QList<SwatchCell*> recentColorCells() const;
    ColorSwatch* selectedColorView() const { return selectedColorView_; }
    int selectedPresetIndex() const { return selectedPresetIndex_; }

    // The brush pane's frame for each tool, counted down from the top of the panel's body.
    static QRect brushPaneFrame(int tool);
    // Where the body starts, below the tool row; the body scrolls when the panel is too low for it.
    static int bodyTop();
    QScrollArea* bodyScrollArea() const { return scrollArea_; }

    // Button handlers (the clicks land here).
    void drawMaskButtonClick();
    void eraseMaskButtonClick();
    void solidColorButtonClick();
    void movingImageButtonClick();
    void treatmentButtonClick(int index);
    void presetTypeButtonClick(int type);
    void presetButtonClick(int tag);
    void resetButtonClick();
    void resetButton2Click();
    // Each page's Reset is offered while one of its sliders is off its default.
    void validateResetButtons();
    void showColorPanelButtonClick();
    void tabButton1Click();
    void tabButton2Click();

signals:
    // The colour panel opened and closed.
    void colorPanelShown();
    void colorPanelHidden();
    // The tools: moving the picture, erasing, painting with the solid colour.
    void moveImageChanged(bool on);
    void eraseMaskChanged(bool on);
    void solidColorChanged(bool on);
    // The colour strokes recolour with, the intensity applied; invalid for none (plain painting).
    void customColorChanged(const QColor& color);
    // The mask row.
    void invertMaskRequested();
    void clearMaskRequested();
    void showMaskChanged(bool on);
    // The colour region picker button, a toggle.
    void colorPickerToggled(bool on);
    // The brush.
    void brushSizeChanged(double size);
    void softnessChanged(double softness);
    void opacityChanged(double opacity);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The pointer of a brush slider being dragged: the brush at its new size and softness.
    void showBrushWhileDragging(ValueSlider* slider);
    enum Tool { Paint, Erase, SolidColor, Hand };

    void buildInterface();
    void buildToolRow();
    void buildPaintPages();
    void buildBrushPane();
    void buildMaskRow();
    void buildAdjustments();
    void setUpSliders();
    void selectTool(Tool tool);
    void placeBrushPane(Tool tool, bool enabled);
    void deselectBrushPresets();
    // What each brush preset paints with, for those who cannot see its picture.
    void describeBrushPresets();
    void adjustmentChanged(ValueSlider* slider);
    // Changes the picture settings as a step named `step`.
    void editPicture(const char* step, const std::function<void(PictureSettings&)>& change);
    void intensityChanged();
    // The solid colour as it now paints (invalid for none).
    QColor customColor() const;
    void showSelectedColor();
    void redisplayRecentColors();
    void closeColorPanel();
    void setPaintPage(int page);

    pimavo::Settings* userSettings_;
    bool loaded_ = false;

    ValueSlider *brushSizeSlider_ = nullptr, *softnessSlider_ = nullptr, *opacitySlider_ = nullptr;
    GradientSlider* intensitySlider_ = nullptr;
    ValueSlider *exposureSlider_ = nullptr, *brightnessSlider_ = nullptr, *saturationSlider_ = nullptr,
                *contrastSlider_ = nullptr, *hueSlider_ = nullptr, *blurSlider_ = nullptr,
                *vignetteSlider_ = nullptr;
    ValueSlider *brightnessBackgroundSlider_ = nullptr, *contrastBackgroundSlider_ = nullptr,
                *saturationBackgroundSlider_ = nullptr, *blurBackgroundSlider_ = nullptr;

    ImageButton *drawMaskButton_ = nullptr, *eraseMaskButton_ = nullptr, *solidColorButton_ = nullptr,
                *movingImageButton_ = nullptr, *imagePickerButton_ = nullptr;
    ImageButton *invertMaskButton_ = nullptr, *clearMaskButton_ = nullptr, *showMaskButton_ = nullptr,
                *recentMaskButton_ = nullptr;
    std::array<ImageButton*, 4> treatmentButtons_{};
    std::array<ImageButton*, 12> presetButtons_{};
    std::array<ImageButton*, 4> presetTypeButtons_{};
    ImageButton *resetButton_ = nullptr, *resetButton2_ = nullptr;
    ImageButton *tabButton1_ = nullptr, *tabButton2_ = nullptr;
    ImageButton* colorWell_ = nullptr;
    QLabel* brushPreviewImageView_ = nullptr;
    QStackedWidget *paintTabView_ = nullptr, *tabView_ = nullptr;
    FramedPanel* brushPane_ = nullptr;
    QScrollArea* scrollArea_ = nullptr;
    QWidget* body_ = nullptr;
    FramedPanel* backgroundView_ = nullptr;
    QWidget* rescentColorsView_ = nullptr;
    QWidget* questionMarkView_ = nullptr;
    ColorSwatch* selectedColorView_ = nullptr;

    bool miniSize_ = false;
    int selectedPresetIndex_ = 0;
    Tool tool_ = Paint;
    QPointer<EditSession> session_;
    PictureSettings shown_;
    std::optional<QColor> selectedColor_;
    QPointer<QWidget> colorPanel_;
    bool monitoring_ = false;
};

} // namespace pimavo
