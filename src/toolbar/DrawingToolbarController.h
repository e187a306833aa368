// The tool panel docked at the right of the window: tools, brush, background treatments and
// presets, foreground and background adjustments, vignette, mask buttons, and the solid colour
// with its intensity and recent colours. Every change goes to the delegate.
#pragma once

#include "DrawingToolbarControllerDelegate.h"
#include "widgets/ZDView.h"

#include <QList>
#include <QPointer>
#include <array>
#include <optional>
#include <vector>

class QLabel;
class QScrollArea;
class QStackedWidget;

namespace pimavo {

class ColorPickerCellView;
class TQButton;
class TQGradientSlider;
class TQSlider;
class UserDefaults;
class ZDColorView;

class DrawingToolbarController : public ZDView {
    Q_OBJECT
public:
    // The panel's width; the canvas keeps this much of the window free for it.
    static constexpr int kWidth = 310;

    explicit DrawingToolbarController(QWidget* parent = nullptr, UserDefaults* defaults = nullptr);
    ~DrawingToolbarController() override;

    DrawingToolbarControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(DrawingToolbarControllerDelegate* delegate) { delegate_ = delegate; }
    // The interface is ready: the panel sends its starting values to the delegate.
    void awakeFromNib();

    // What the panel shows and has sent to the canvas, for a panel that replaces this one (a canvas
    // on another photo, after Apply or its undo).
    struct Settings {
        std::vector<double> brush;   // size, softness, opacity, colour intensity
        std::vector<double> picture; // the adjustments of both tabs and the vignette
        int treatment = 0, look = 0;
    };
    Settings settings() const;
    // The positions of the adjustment and vignette sliders (Settings::picture) that send these
    // picture values, in the same order: what a reopened project shows.
    static std::vector<double> pictureSlidersFor(const std::vector<double>& values);
    // Shows and sends them: the brush and the treatment always; the adjustments and the look when
    // `picture` is set (they belong to the photo they were made on).
    void restoreSettings(const Settings& settings, bool picture);

    // From outside.
    void setBrushSize(double size);
    void switchDrawingMode();
    void switchShowMaskMode();
    void validateAllBrushes();
    void brushSliderValueChanged();
    void customColorPickerShouldBeClosed();
    void selectColor(const QColor& color);
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
    TQSlider* brushSizeSlider() const { return brushSizeSlider_; }
    TQSlider* softnessSlider() const { return softnessSlider_; }
    TQSlider* opacitySlider() const { return opacitySlider_; }
    TQGradientSlider* intensivitySlider() const { return intensivitySlider_; }
    TQSlider* exposureSlider() const { return exposureSlider_; }
    TQSlider* brightnessSlider() const { return brightnessSlider_; }
    TQSlider* saturationSlider() const { return saturationSlider_; }
    TQSlider* contrastSlider() const { return contrastSlider_; }
    TQSlider* hueSlider() const { return hueSlider_; }
    TQSlider* blurSlider() const { return blurSlider_; }
    TQSlider* vignetteSlider() const { return vignetteSlider_; }
    TQSlider* brightnessBackgroundSlider() const { return brightnessBackgroundSlider_; }
    TQSlider* contrastBackgroundSlider() const { return contrastBackgroundSlider_; }
    TQSlider* saturationBackgroundSlider() const { return saturationBackgroundSlider_; }
    TQSlider* blurBackgroundSlider() const { return blurBackgroundSlider_; }
    TQButton* drawMaskButton() const { return drawMaskButton_; }
    TQButton* eraseMaskButton() const { return eraseMaskButton_; }
    TQButton* solidColorButton() const { return solidColorButton_; }
    TQButton* movingImageButton() const { return movingImageButton_; }
    TQButton* imagePickerButton() const { return imagePickerButton_; }
    TQButton* invertMaskButton() const { return invertMaskButton_; }
    TQButton* clearMaskButton() const { return clearMaskButton_; }
    TQButton* showMaskButton() const { return showMaskButton_; }
    TQButton* grayscaleModeButton() const { return treatmentButtons_[0]; }
    TQButton* sepiaModeButton() const { return treatmentButtons_[1]; }
    TQButton* agedModeButton() const { return treatmentButtons_[2]; }
    TQButton* silverBlueModeButton() const { return treatmentButtons_[3]; }
    TQButton* presetButton(int tag) const { return presetButtons_[std::size_t(tag)]; }
    TQButton* presetTypeButton(int type) const { return presetTypeButtons_[std::size_t(type)]; }
    TQButton* presetNone() const { return presetTypeButtons_[0]; }
    TQButton* presetSoft() const { return presetTypeButtons_[1]; }
    TQButton* presetDreamy() const { return presetTypeButtons_[2]; }
    TQButton* presetHardLight() const { return presetTypeButtons_[3]; }
    TQButton* resetButton() const { return resetButton_; }
    TQButton* resetButton2() const { return resetButton2_; }
    TQButton* colorWell() const { return colorWell_; }
    TQButton* tabButton1() const { return tabButton1_; }
    TQButton* tabButton2() const { return tabButton2_; }
    QStackedWidget* paintTabView() const { return paintTabView_; }
    QStackedWidget* tabView() const { return tabView_; }
    ZDView* brushPane() const { return brushPane_; }
    QWidget* rescentColorsView() const { return rescentColorsView_; }
    QList<ColorPickerCellView*> recentColorCells() const;
    ZDColorView* selectedColorView() const { return selectedColorView_; }
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The pointer of a brush slider being dragged: the brush at its new size and softness.
    void showBrushWhileDragging(TQSlider* slider);
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
    void adjustmentChanged(TQSlider* slider);
    void intensityChanged();
    void showSelectedColor();
    void redisplayRecentColors();
    void closeColorPanel();
    void setPaintPage(int page);
    void observe();

    DrawingToolbarControllerDelegate* delegate_ = nullptr;
    UserDefaults* defaults_;
    bool loaded_ = false;

    TQSlider *brushSizeSlider_ = nullptr, *softnessSlider_ = nullptr, *opacitySlider_ = nullptr;
    TQGradientSlider* intensivitySlider_ = nullptr;
    TQSlider *exposureSlider_ = nullptr, *brightnessSlider_ = nullptr, *saturationSlider_ = nullptr,
             *contrastSlider_ = nullptr, *hueSlider_ = nullptr, *blurSlider_ = nullptr,
             *vignetteSlider_ = nullptr;
    TQSlider *brightnessBackgroundSlider_ = nullptr, *contrastBackgroundSlider_ = nullptr,
             *saturationBackgroundSlider_ = nullptr, *blurBackgroundSlider_ = nullptr;

    TQButton *drawMaskButton_ = nullptr, *eraseMaskButton_ = nullptr, *solidColorButton_ = nullptr,
             *movingImageButton_ = nullptr, *imagePickerButton_ = nullptr;
    TQButton *invertMaskButton_ = nullptr, *clearMaskButton_ = nullptr, *showMaskButton_ = nullptr,
             *recentMaskButton_ = nullptr;
    std::array<TQButton*, 4> treatmentButtons_{};
    std::array<TQButton*, 12> presetButtons_{};
    std::array<TQButton*, 4> presetTypeButtons_{};
    TQButton *resetButton_ = nullptr, *resetButton2_ = nullptr;
    TQButton *tabButton1_ = nullptr, *tabButton2_ = nullptr;
    TQButton* colorWell_ = nullptr;
    QLabel* brushPreviewImageView_ = nullptr;
    QStackedWidget *paintTabView_ = nullptr, *tabView_ = nullptr;
    ZDView* brushPane_ = nullptr;
    QScrollArea* scrollArea_ = nullptr;
    QWidget* body_ = nullptr;
    ZDView* backgroundView_ = nullptr;
    QWidget* rescentColorsView_ = nullptr;
    QWidget* questionMarkView_ = nullptr;
    ZDColorView* selectedColorView_ = nullptr;

    bool miniSize_ = false;
    int selectedPresetIndex_ = 0;
    Tool tool_ = Paint;
    int treatment_ = 0;
    std::optional<QColor> selectedColor_;
    QPointer<QWidget> colorPanel_;
    bool monitoring_ = false;
};

} // namespace pimavo
