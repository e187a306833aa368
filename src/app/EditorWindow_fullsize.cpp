// Photos above the canvas's pixel limit: the canvas paints on a reduced copy, while the picture that
// is saved, copied, printed or shared is composed from the photo as decoded. Only when the memory
// for that is not there does the user get the choice of the reduced size.
#include "EditorWindow.h"
#include "Question.h"
#include "core/Strings.h"
#include "imageio/Reduction.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>

namespace pimavo {

std::optional<CanvasModel::ResultSize> EditorWindow::chooseResultSize(CanvasModel& canvas) {
    using Size = CanvasModel::ResultSize;
    const double needed = canvas.resultMemoryNeeded(Size::Full), available = availableMemory();
    const SizeF full = canvas.resultSize(Size::Full), reduced = canvas.resultSize(Size::Reduced);
    Size size = Size::Full;
    if (needed > available && reduced.width < full.width) {
        auto n = [](double v) { return QString::number(qint64(v)); };
        auto gb = [](double bytes) { return QString::number(bytes / (1024.0 * 1024 * 1024), 'f', 1); };
        const QString message =
            Strings::format(Strings::shared().localized("kFullSizeNeedsMemoryText"),
                            {n(full.width), n(full.height), gb(needed), gb(available)});
        const QString info = Strings::format(Strings::shared().localized("kFullSizeNeedsMemoryInfo"),
                                             {n(reduced.width), n(reduced.height)});
        bool useReduced = false;
        if (services.reducedSizeQuestion) {
            useReduced = services.reducedSizeQuestion(message + "\n" + info);
        } else {
            useReduced = askQuestion(this, QMessageBox::Warning, message, info,
                                     {{Strings::format(Strings::shared().localized("kUseReducedSize"),
                                                       {n(reduced.width), n(reduced.height)})}}) == 0;
        }
        if (!useReduced) return std::nullopt;
        size = Size::Reduced;
    }
    return size;
}

BitmapRef EditorWindow::canvasResult(CanvasModel& canvas) {
    const std::optional<CanvasModel::ResultSize> size = chooseResultSize(canvas);
    if (!size) return nullptr;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    auto result = canvas.resultImage(*size);
    return result ? *result : nullptr;
}

} // namespace pimavo
