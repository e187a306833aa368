// A bare window around the canvas, for trying it by hand before the editor window exists:
//   pimavo-canvas-harness [PHOTO]
// Keys: Ctrl + / Ctrl − zoom, Ctrl 0 fit, Ctrl 1 actual size, [ ] brush size, X erase, space hand,
// B background treatment, Ctrl Z / Ctrl Shift Z undo and redo.
#include "canvas/CIMicroPaintView.h"
#include "core/UndoManager.h"
#include "imageio/ImageDecoder.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <cstdio>

using namespace pimavo;

namespace {

class HarnessOwner : public CanvasOwner {
public:
    UndoManager undo;
    CIMicroPaintView* view = nullptr;
    UndoManager* undoManager() override { return &undo; }
    void applyMask(const CIImage& m) override {
        view->model().applyMask(m);
        view->validateImage();
    }
    void applyColorDrawingMask(const CIImage& c) override {
        view->model().applyColorDrawingMask(c);
        view->validateImage();
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
    auto* view = new CIMicroPaintView(decoded.image->bitmap, &owner);
    owner.view = view;
    window.setCentralWidget(view);
    // Sized to fit the screen, whatever its scale.
    const QSize screen = window.screen()->availableSize();
    window.resize(std::min(1100, screen.width() * 9 / 10), std::min(760, screen.height() * 9 / 10));

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
    brush->addAction("Smaller", QKeySequence("["),
                     [&] { view->setBrushSize(std::max(10.0, view->model().brushSize() - 10)), status(); });
    brush->addAction("Larger", QKeySequence("]"),
                     [&] { view->setBrushSize(std::min(400.0, view->model().brushSize() + 10)), status(); });
    brush->addAction("Paint / Erase", QKeySequence("X"), [&] {
        view->model().setEraseMask(!view->model().isEraseMask());
        view->validateCursor();
        status();
    });
    const QStringList treatments{"", "CISepiaTone", "Aged", "SilverBlue"};
    int treatment = 0;
    brush->addAction("Next Background", QKeySequence("B"), [&] {
        treatment = (treatment + 1) % treatments.size();
        view->model().setBackgroundFilterName(treatments[treatment]);
        view->validateImage();
    });
    window.show();
    view->setFocus();
    status();
    return app.exec();
}
