// A bare window around the canvas and the tool panel, for trying them by hand before the editor
// window exists:
//   pimavo-canvas-harness [PHOTO]
// Keys: Ctrl + / Ctrl − zoom, Ctrl 0 fit, Ctrl 1 actual size, [ ] brush size, X paint or erase,
// \ show mask, space hand, Ctrl Z / Ctrl Shift Z undo and redo.
#include "canvas/CIMicroPaintView.h"
#include "core/NotificationCenter.h"
#include "core/UndoManager.h"
#include "imageio/ImageDecoder.h"
#include "toolbar/DrawingToolbarController.h"
#include "widgets/TQSlider.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <cstdio>

using namespace pimavo;

namespace {

// Owns the canvas and the panel and passes the panel's changes on, as the editor window will.
class HarnessOwner : public CanvasOwner, public DrawingToolbarControllerDelegate {
public:
    UndoManager undo;
    CIMicroPaintView* view = nullptr;
    DrawingToolbarController* toolbar = nullptr;
    std::function<void(const QString&)> say;

    CanvasModel& m() { return view->model(); }
    void redraw() { view->validateImage(); }

    // CanvasOwner
    UndoManager* undoManager() override { return &undo; }
    void applyMask(const CIImage& mask) override {
        m().applyMask(mask);
        redraw();
    }
    void applyColorDrawingMask(const CIImage& c) override {
        m().applyColorDrawingMask(c);
        redraw();
    }
    bool setToolbarBrushSize(double size) override {
        if (!toolbar) return false;
        toolbar->setBrushSize(size);
        return true;
    }

    // DrawingToolbarControllerDelegate
    void invertMaskForDrawingToolbarController(DrawingToolbarController*) override {
        m().invertMask();
        redraw();
    }
    void showMask(DrawingToolbarController*, bool on) override {
        m().setShowMask(on);
        redraw();
    }
    void eraseMask(DrawingToolbarController*, bool on) override {
        m().setEraseMask(on);
        view->validateCursor();
    }
    void moveImage(DrawingToolbarController*, bool on) override { view->setMoveImage(on); }
    void solidColorSelected(DrawingToolbarController*, bool on) override { m().setIsSolidColor(on); }
    void customColor(DrawingToolbarController*, std::optional<QColor> c) override {
        m().setColor(c ? std::optional<CIColor>(CIColor{c->redF(), c->greenF(), c->blueF(), c->alphaF()})
                       : std::nullopt);
        view->validateCursor();
    }
    void clearMaskForDrawingToolbarController(DrawingToolbarController*) override {
        m().clearMask();
        redraw();
    }
    void brushSizeDidChange(DrawingToolbarController*, double size) override {
        view->setBrushSize(size);
        view->validateCursor();
    }
    void softnessDidChange(DrawingToolbarController*, double v) override {
        m().setBrushSoftness(v);
        view->validateCursor();
    }
    void opacityDidChange(DrawingToolbarController*, double v) override {
        m().setBrushOpacity(v);
        view->validateCursor();
    }
    void intensivityDidChange(DrawingToolbarController*, double v) override { m().setIntensivity(v); }
    void vignetteDidChange(DrawingToolbarController*, double v) override {
        adjust([&] { m().setVignetteValue(v); });
    }
    void presetDidChanged(DrawingToolbarController*, int p) override {
        adjust([&] { m().setPreset(p); });
    }
    void exposureDidChange(DrawingToolbarController*, double v) override {
        adjust([&] { m().setExposure(v); });
    }
    void brightnessDidChange(DrawingToolbarController*, double v) override {
        adjust([&] { m().setBrightness(v); });
    }
    void saturationDidChange(DrawingToolbarController*, double v) override {
        adjust([&] { m().setSaturation(v); });
    }
    void contrastDidChange(DrawingToolbarController*, double v) override {
        adjust([&] { m().setContrast(v); });
    }
    void hueDidChange(DrawingToolbarController*, double v) override {
        adjust([&] { m().setHue(v); });
    }
    void blurDidChange(DrawingToolbarController*, double v) override {
        adjust([&] { m().setBlur(v); });
    }
    void brightnessBackgroundDidChange(DrawingToolbarController*, double v) override {
        adjust([&] { m().setBrightnessBackground(v); });
    }
    void contrastBackgroundDidChange(DrawingToolbarController*, double v) override {
        adjust([&] { m().setContrastBackground(v); });
    }
    void saturationBackgroundDidChange(DrawingToolbarController*, double v) override {
        adjust([&] { m().setSaturationBackground(v); });
    }
    void blurBackgroundDidChange(DrawingToolbarController*, double v) override {
        adjust([&] { m().setBlurBackground(v); });
    }
    void backgroundFilterNameDidChange(DrawingToolbarController*, std::optional<QString> name) override {
        adjust([&] { m().setBackgroundFilterName(name.value_or(QString())); });
    }
    void showColorPickerView(DrawingToolbarController*, bool show) override {
        if (say) say(show ? "The colour region picker comes with the editor window." : "");
    }
    QImage previewImageForDrawingToolbarController(DrawingToolbarController*, QSize size, double brushSize,
                                                   double softness, double opacity) override {
        auto bitmap = m().previewImage(CGSize(size.width(), size.height()), brushSize, softness, opacity);
        if (!bitmap) return {};
        return QImage(reinterpret_cast<const uchar*>(bitmap->row(0)), bitmap->width(), bitmap->height(),
                      qsizetype(bitmap->bytesPerRow()), QImage::Format_RGBA8888_Premultiplied)
            .copy();
    }
    void applyMask(DrawingToolbarController*, const CIImage& mask) override { applyMask(mask); }
    QCursor brushCursorForDrawingToolbarController(DrawingToolbarController*) override {
        return view->currentBrushCursor();
    }

private:
    template <typename F> void adjust(F change) {
        change();
        redraw();
    }
};

// The canvas on the left, the panel docked at the right.
class HarnessArea : public QWidget {
public:
    CIMicroPaintView* canvas = nullptr;
    DrawingToolbarController* panel = nullptr;

protected:
    void resizeEvent(QResizeEvent*) override {
        if (canvas) canvas->setGeometry(0, 0, width() - DrawingToolbarController::kWidth, height());
        if (panel)
            panel->setGeometry(width() - DrawingToolbarController::kWidth, 0,
                               DrawingToolbarController::kWidth, height());
        NotificationCenter::defaultCenter().post("kWindowDidResize");
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string path = argc > 1 ? argv[1] : PIMAVO_SAMPLE_PHOTO;
    DecodeResult decoded = decodeImageFile(path);
    if (!decoded.image) {
        QMessageBox::critical(nullptr, "Pimavo", QString::fromStdString(decoded.error));
        return 1;
    }
    HarnessOwner owner;
    QMainWindow window;
    auto* area = new HarnessArea;
    auto* view = new CIMicroPaintView(decoded.image->bitmap, &owner, area);
    auto* toolbar = new DrawingToolbarController(area);
    area->canvas = view;
    area->panel = toolbar;
    owner.view = view;
    owner.toolbar = toolbar;
    owner.say = [&window](const QString& text) { window.statusBar()->showMessage(text, 4000); };
    toolbar->setDelegate(&owner);
    toolbar->awakeFromNib();
    window.setCentralWidget(area);
    // Sized to fit the screen, whatever its scale.
    const QSize screen = window.screen()->availableSize();
    window.resize(std::min(1280, screen.width() * 9 / 10), std::min(800, screen.height() * 9 / 10));

    auto status = [&] {
        window.statusBar()->showMessage(
            QString("Zoom %1%   Brush %2   %3")
                .arg(std::lround(view->scale() / view->model().scaleFactorFromOriginal() * 100))
                .arg(view->model().brushSize())
                .arg(view->model().isEraseMask() ? "Erase" : "Paint"));
    };
    QMenu* viewMenu = window.menuBar()->addMenu("&View");
    viewMenu->addAction("Zoom &In", QKeySequence::ZoomIn, [&] { view->zoomIn(), status(); });
    viewMenu->addAction("Zoom &Out", QKeySequence::ZoomOut, [&] { view->zoomOut(), status(); });
    viewMenu->addAction("Zoom to &Fit", QKeySequence("Ctrl+0"), [&] { view->zoomToFitRect(), status(); });
    viewMenu->addAction("&Actual Size", QKeySequence("Ctrl+1"), [&] { view->zoomToActualSize(), status(); });
    QMenu* edit = window.menuBar()->addMenu("&Edit");
    edit->addAction("&Undo", QKeySequence::Undo, [&] { owner.undo.undo(); });
    edit->addAction("&Redo", QKeySequence::Redo, [&] { owner.undo.redo(); });
    QMenu* brush = window.menuBar()->addMenu("&Brush");
    brush->addAction("Smaller", QKeySequence("["), [&] {
        toolbar->brushSizeSlider()->decrease();
        toolbar->brushSliderValueChanged();
        status();
    });
    brush->addAction("Larger", QKeySequence("]"), [&] {
        toolbar->brushSizeSlider()->increase();
        toolbar->brushSliderValueChanged();
        status();
    });
    brush->addAction("Paint / Erase", QKeySequence("X"), [&] {
        toolbar->switchDrawingMode();
        status();
    });
    brush->addAction("Show Mask", QKeySequence("\\"), [&] { toolbar->switchShowMaskMode(); });
    window.show();
    view->setFocus();
    status();
    return app.exec();
}
