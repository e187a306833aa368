#include "RegionPicker.h"

#include "ColorSwatch.h"
#include "core/Dispatch.h"
#include "filters/FilterRegistration.h"
#include "session/UndoStep.h"
#include "widgets/BitmapImage.h"
#include "widgets/BusySpinner.h"
#include "widgets/ImageButton.h"
#include "widgets/ValueSlider.h"
#include "widgets/WidgetStyle.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QWheelEvent>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

namespace pimavo {

namespace {

constexpr int kLoupe = 200, kMagnified = 160, kTop = 180;

// The loupe's magnified picture, round.
class MagnifiedView : public QWidget {
public:
    QImage image;
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath circle;
        circle.addEllipse(QRectF(rect()));
        p.setClipPath(circle);
        p.fillRect(rect(), Qt::black);
        if (!image.isNull()) p.drawImage(rect(), image);
        p.setClipping(false);
        p.setPen(QPen(QColor(128, 128, 128), 5));
        p.drawEllipse(QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5));
    }
};

} // namespace

// What the fill works on away from the window: the photo's pixels and its cells, one pick at a time.
// It outlives the view while a pick runs; once `cancelled` is set, the running pick stops and no
// later one starts or delivers.
struct RegionPicker::Work {
    std::mutex mutex;
    BitmapRef photo;
    ColorIslandField field;
    std::atomic<bool> cancelled{false};
};

RegionPicker::RegionPicker(const QRect& frame, BitmapRef photo, Previews previews, QWidget* parent)
    : FramedPanel(parent), photo_(std::move(photo)), previews_(std::move(previews)),
      work_(std::make_shared<Work>()), history_(PickStep{Image(), Image(), std::nullopt, double(0.03f)}) {
    work_->photo = photo_;
    filterRegistration(); // the mask merges are program filters
    setGeometry(frame);
    // Opaque: the tool panel and the canvas under the picker would otherwise show through its
    // title and controls.
    setBackgroundColor(QColor(13, 13, 14));
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    if (photo_) photoImage_ = qImageFromBitmap(*photo_);
    viewport_.setPhotoSize(QSizeF(photoImage_.size()));
    if (previews_.picture) previewImage_ = previews_.picture();

    auto label = [this](const QString& s, const QFont& font, const QColor& colour) {
        auto* l = new QLabel(s, this);
        l->setFont(font);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, colour);
        l->setPalette(pal);
        return l;
    };
    auto* title = label(tr("Pick a Colour Region"), style::uiFont(19, true), Qt::white);
    title->setObjectName("title");
    auto* message = label(mouseInstructions(), style::uiFont(12), QColor(255, 255, 255, 178));
    message->setObjectName("message");
    message->setWordWrap(true);
    // A screen reader gives both ways of picking; the label gives the keys' way once they are used.
    setAccessibleDescription(message->text() + QLatin1Char(' ') + keyboardInstructions());
    //: How far a colour may differ from the picked one and still belong to the region
    auto* threshold = label(tr("Tolerance"), style::uiFont(14), Qt::white);
    threshold->setObjectName("threshold");
    auto* before = label(tr("Photo"), style::uiFont(13, true), Qt::white);
    before->setObjectName("captionLeft");
    before->setAlignment(Qt::AlignCenter);
    auto* after = label(tr("Preview"), style::uiFont(13, true), Qt::white);
    after->setObjectName("captionRight");
    after->setAlignment(Qt::AlignCenter);

    auto button = [this](const QString& image, std::function<void()> run) {
        auto* b = new ImageButton(this);
        b->setImages(image);
        b->resize(32, 32);
        b->setAction([run](ImageButton*) { run(); });
        return b;
    };
    cancelButton_ = button("cp_cancel", [this] { cancel(); });
    cancelButton_->setToolTip(tr("Leave without picking"));
    applyButton_ = button("cp_apply", [this] { emit applyRequested(); });
    applyButton_->setToolTip(tr("Apply the picked regions to the painting"));

    toleranceSlider_ = new ValueSlider(this);
    threshold->setBuddy(toleranceSlider_);
    // From the photo, Tab goes on as the eye reads the bar: the tolerance, then Apply, then Cancel.
    setTabOrder(toleranceSlider_, applyButton_);
    setTabOrder(applyButton_, cancelButton_);
    toleranceSlider_->setShowRealValue(false);
    toleranceSlider_->setShowNegativeValue(false);
    toleranceSlider_->setMinValue(0);
    toleranceSlider_->setMaxValue(double(0.1f));
    toleranceSlider_->setDoubleValue(double(0.03f));
    toleranceSlider_->setDefaultValue(double(0.03f));
    toleranceSlider_->setContinuous(false);
    toleranceSlider_->setAction([this](ValueSlider*) { toleranceValueWasChanged(); });

    // Round, and only once a colour is picked: an empty square read as a box to tick.
    swatch_ = new ColorSwatch(QRect(0, 0, 20, 20), Qt::transparent, true, this);
    swatch_->setBorderColor(Qt::white);
    swatch_->setBorderWidth(2);
    swatch_->hide();
    spinner_ = new BusySpinner(this);
    spinner_->resize(32, 32);
    spinner_->hide();

    loupe_ = new ColorSwatch(QRect(0, 0, kLoupe, kLoupe), Qt::white, true, this);
    loupe_->setAttribute(Qt::WA_TransparentForMouseEvents);
    magnified_ = new MagnifiedView(loupe_);
    magnified_->setGeometry(20, 20, kMagnified, kMagnified);
    loupe_->hide();
    setFocusPolicy(Qt::StrongFocus);
    // A pick still running when the application quits would hold up its exit until done.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [work = work_] { work->cancelled = true; });
    layOut();
}

RegionPicker::~RegionPicker() {
    work_->cancelled = true;
}

void RegionPicker::showEvent(QShowEvent* event) {
    FramedPanel::showEvent(event);
    setFocus(Qt::OtherFocusReason); // for Escape
}

void RegionPicker::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->key() == Qt::Key_Escape) {
        cancel();
    } else if (event->matches(QKeySequence::Undo)) {
        undo();
    } else if (event->matches(QKeySequence::Redo) ||
               (ctrl && (event->modifiers() & Qt::ShiftModifier) && event->key() == Qt::Key_Z)) {
        redo();
    } else if (event->matches(QKeySequence::ZoomIn) ||
               (ctrl && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal))) {
        zoomAt(viewport_.viewRect().center(), std::sqrt(2.0));
    } else if (event->matches(QKeySequence::ZoomOut) || (ctrl && event->key() == Qt::Key_Minus)) {
        zoomAt(viewport_.viewRect().center(), 1 / std::sqrt(2.0));
    } else if (ctrl && event->key() == Qt::Key_0) {
        viewport_.fit();
        loupe_->hide();
        update();
    } else if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) setSpaceHeld(true);
    } else if (!ctrl && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right ||
                         event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        // Shift takes finer steps, as the pointer's precision would.
        const double step = event->modifiers() & Qt::ShiftModifier ? 1 : 8;
        const double dx = event->key() == Qt::Key_Left ? -step : event->key() == Qt::Key_Right ? step : 0;
        const double dy = event->key() == Qt::Key_Up ? -step : event->key() == Qt::Key_Down ? step : 0;
        moveKeyboardTarget({dx, dy});
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // With the keys' cross, Return picks under it. After a pick with the mouse it does what it
        // does in any dialog, and applies what was picked.
        if (!keyTarget_ && history_.canUndo()) {
            if (applyButton_->isEnabled()) emit applyRequested();
        } else {
            if (!keyTarget_) moveKeyboardTarget({0, 0});
            if (keyTarget_) pick(*keyTarget_, event->modifiers() & ~Qt::KeypadModifier);
        }
    } else {
        FramedPanel::keyPressEvent(event);
        return;
    }
    event->accept();
}

void RegionPicker::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        setSpaceHeld(false);
        return;
    }
    FramedPanel::keyReleaseEvent(event);
}

void RegionPicker::focusOutEvent(QFocusEvent* event) {
    // The release of a key held now would go elsewhere, unseen.
    setSpaceHeld(false);
    FramedPanel::focusOutEvent(event);
}

QString RegionPicker::mouseInstructions() {
    return tr("Click the photo to select a region of its colour. Shift-click adds a colour, Ctrl-click "
              "takes one away; Ctrl+Z undoes a step. The mouse wheel zooms, Space-drag moves the photo.");
}

QString RegionPicker::keyboardInstructions() {
    return tr("The arrow keys move a cross (Shift for fine steps); Return selects the region of its colour, "
              "Shift+Return adds a colour, Ctrl+Return takes one away; Ctrl+Z undoes a step.");
}

void RegionPicker::moveKeyboardTarget(QPointF by) {
    const QRectF photo = viewport_.photoRect().intersected(QRectF(leftView_));
    if (photo.isEmpty()) return;
    if (!keyTarget_) findChild<QLabel*>("message")->setText(keyboardInstructions());
    const QPointF from = keyTarget_ ? *keyTarget_ + by : photo.center();
    keyTarget_ = QPointF(std::clamp(from.x(), photo.left(), photo.right() - 1),
                         std::clamp(from.y(), photo.top(), photo.bottom() - 1));
    processEvent(*keyTarget_);
    update();
}

void RegionPicker::setSpaceHeld(bool held) {
    spaceHeld_ = held;
    if (!held) moveFrom_.reset();
    updateCursor();
}

void RegionPicker::updateCursor() {
    if (moveFrom_)
        setCursor(Qt::ClosedHandCursor);
    else if (spaceHeld_)
        setCursor(Qt::OpenHandCursor);
    else
        setCursor(Qt::CrossCursor);
}

void RegionPicker::cancel() {
    if (work_->cancelled) return;
    stopPicking();
    emit cancelled();
}

void RegionPicker::stopPicking() {
    work_->cancelled = true;
    spinner_->stopAnimation();
    // Closing: no more clicks, slider re-runs or Apply while the picker fades out.
    isInteractionsDisabled_ = true;
    applyButton_->setEnabled(false);
    toleranceSlider_->setEnabled(false);
}

void RegionPicker::resizeEvent(QResizeEvent*) {
    layOut();
}

void RegionPicker::layOut() {
    const int W = width(), H = height();
    auto* title = findChild<QLabel*>("title");
    auto* message = findChild<QLabel*>("message");
    // The title as wide as its words.
    title->setGeometry(10, 16, std::max(300, title->sizeHint().width()), 32);
    // Three lines: the instructions run longer in German than in English.
    message->setGeometry(10, 52, std::min(760, W - 120), 68);
    cancelButton_->move(W - 15 - cancelButton_->width(), 25);
    applyButton_->move(cancelButton_->x() - 15 - applyButton_->width(), 25);
    leftView_ = QRect(10, kTop, W / 2 - 20, std::max(50, H - kTop - 20));
    rightView_ = QRect(W / 2 + 10, kTop, W / 2 - 20, leftView_.height());
    viewport_.setViewRect(QRectF(leftView_));
    const int sliderX = rightView_.center().x() - 100;
    toleranceSlider_->setGeometry(sliderX, 128, 200, 22);
    auto* threshold = findChild<QLabel*>("threshold");
    threshold->setGeometry(sliderX - 110, 128, 100, 22);
    threshold->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    swatch_->move(threshold->x() - 25 - swatch_->width(), 129);
    findChild<QLabel*>("captionLeft")->setGeometry(leftView_.center().x() - 150, kTop - 22, 300, 18);
    findChild<QLabel*>("captionRight")->setGeometry(rightView_.center().x() - 150, kTop - 22, 300, 18);
    spinner_->move(rightView_.center().x() - 16, rightView_.center().y() - 16);
    update();
}

float RegionPicker::calculateImageScale() const {
    return float(viewport_.scale());
}

QRectF RegionPicker::getFirstImageRect() const {
    return viewport_.photoRect();
}

std::optional<QPointF> RegionPicker::photoPointAt(QPointF p) const {
    if (photoImage_.isNull()) return std::nullopt;
    return viewport_.photoPointAt(p);
}

void RegionPicker::zoomAt(QPointF at, double factor) {
    if (!viewport_.zoomAt(at, factor)) return;
    loupe_->hide(); // until the pointer moves: what it showed has moved away
    update();
}

bool RegionPicker::isSwatchShown() const {
    return !swatch_->isHidden();
}

QColor RegionPicker::colorAt(int x, int y) const {
    x = std::clamp(x, 0, photoImage_.width() - 1);
    y = std::clamp(y, 0, photoImage_.height() - 1);
    return photoImage_.pixelColor(x, y);
}

bool RegionPicker::isLoupeShown() const {
    return loupe_->isVisible();
}

QColor RegionPicker::pickedColor() const {
    return picked_;
}

void RegionPicker::setColourProfile(std::vector<uint8_t> profile) {
    if (profile == profile_) return;
    profile_ = std::move(profile);
    screenGeneration_ = UINT64_MAX;
    refreshShown();
    update();
}

QImage RegionPicker::forScreen(const QImage& image) const {
    if (!toScreen_ || image.isNull()) return image;
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    toScreen_->convertBgra8(out.bits(), out.width(), out.height(), out.bytesPerLine());
    return out;
}

QColor RegionPicker::forScreen(const QColor& colour) const {
    if (!toScreen_ || !colour.isValid()) return colour;
    QImage one(1, 1, QImage::Format_RGB32);
    one.setPixelColor(0, 0, colour);
    return forScreen(one).pixelColor(0, 0);
}

void RegionPicker::refreshShown() {
    if (const uint64_t now = screenProfileGeneration(); now != screenGeneration_) {
        toScreen_ = displayTransform(profile_);
        screenGeneration_ = now;
        photoShown_ = forScreen(photoImage_);
        previewShownKey_ = 0;
        if (picked_.isValid()) swatch_->setFillColor(forScreen(picked_));
    }
    if (previewImage_.cacheKey() != previewShownKey_) {
        previewShown_ = forScreen(previewImage_);
        previewShownKey_ = previewImage_.cacheKey();
    }
}

void RegionPicker::paintEvent(QPaintEvent* event) {
    FramedPanel::paintEvent(event);
    refreshShown();
    QPainter p(this);
    // Enlarged, the photo's pixels show as squares: where a click lands is where it picks.
    p.setRenderHint(QPainter::SmoothPixmapTransform, viewport_.scale() < 1.5);
    // Only the part that shows is drawn: zoomed in, the rest lies outside the view.
    const QRectF source = viewport_.visiblePhotoRect();
    const QRectF target = viewport_.photoRect().intersected(QRectF(leftView_));
    if (!photoShown_.isNull() && !source.isEmpty()) p.drawImage(target, photoShown_, source);
    if (!previewShown_.isNull() && !source.isEmpty() && !photoShown_.isNull()) {
        // The preview shows the same part of the picture beside it, at whatever size it was made.
        const double k = double(previewImage_.width()) / photoImage_.width();
        const QRectF previewSource(source.topLeft() * k, source.size() * k);
        p.drawImage(target.translated(rightView_.x() - leftView_.x(), rightView_.y() - leftView_.y()),
                    previewShown_, previewSource);
    }
    // The separator under the message.
    p.fillRect(QRect(10, 122, width() - 20, 1), QColor::fromRgbF(0.9f, 0.9f, 0.9f, 0.6f));
    if (keyTarget_ && hasFocus()) {
        // The keyboard's cross, dark under light so that it shows on any photo.
        const QPointF c = *keyTarget_;
        for (const auto& [colour, width] : {std::pair{QColor(0, 0, 0, 160), 3.0}, {style::kAccent, 1.5}}) {
            p.setPen(QPen(colour, width));
            p.drawLine(c - QPointF(12, 0), c + QPointF(12, 0));
            p.drawLine(c - QPointF(0, 12), c + QPointF(0, 12));
        }
    }
}

// ---- the pointer ------------------------------------------------------------------------------

void RegionPicker::mouseMoveEvent(QMouseEvent* event) {
    if (moveFrom_) {
        viewport_.moveBy(event->position() - *moveFrom_);
        moveFrom_ = event->position();
        update();
        return;
    }
    processEvent(event->position());
}

void RegionPicker::mouseReleaseEvent(QMouseEvent* event) {
    if (moveFrom_) {
        moveFrom_.reset();
        updateCursor();
    }
    FramedPanel::mouseReleaseEvent(event);
}

void RegionPicker::wheelEvent(QWheelEvent* event) {
    const QPointF at = event->position();
    if (!leftView_.contains(at.toPoint()) && !rightView_.contains(at.toPoint())) {
        FramedPanel::wheelEvent(event);
        return;
    }
    // Over the preview, the point beside it in the photo stays put.
    const QPointF anchor =
        rightView_.contains(at.toPoint()) ? at - QPointF(rightView_.x() - leftView_.x(), 0) : at;
    const int dy = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (dy != 0) zoomAt(anchor, std::pow(std::sqrt(2.0), dy / 120.0));
    processEvent(at);
    event->accept();
}

void RegionPicker::leaveEvent(QEvent*) {
    loupe_->hide();
}

void RegionPicker::processEvent(QPointF at) {
    const auto point = photoPointAt(at);
    if (!point) {
        loupe_->hide();
        return;
    }
    loupe_->move((at - QPointF(kLoupe / 2, kLoupe / 2)).toPoint());
    // 100 × 100 photo pixels around the point, drawn 160 × 160: 1.6 times as large.
    QImage region(100, 100, QImage::Format_RGB32);
    region.fill(Qt::black);
    {
        QPainter p(&region);
        refreshShown();
        p.drawImage(QPointF(50 - point->x(), 50 - point->y()), photoShown_);
    }
    static_cast<MagnifiedView*>(magnified_)->image = region;
    loupe_->setFillColor(forScreen(colorAt(int(point->x()), int(point->y()))));
    loupe_->show();
    loupe_->raise();
    magnified_->update();
}

void RegionPicker::mousePressEvent(QMouseEvent* event) {
    FramedPanel::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason); // for the keys: undo, zoom, Space
    const bool overPictures =
        leftView_.contains(event->position().toPoint()) || rightView_.contains(event->position().toPoint());
    if (overPictures &&
        (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_))) {
        moveFrom_ = event->position();
        loupe_->hide();
        updateCursor();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        // The mouse takes over from the keys: their cross goes, and Return applies this pick.
        if (keyTarget_) {
            keyTarget_.reset();
            findChild<QLabel*>("message")->setText(mouseInstructions());
        }
        pick(event->position(), event->modifiers());
    }
}

void RegionPicker::pick(QPointF at, Qt::KeyboardModifiers modifiers) {
    if (isInteractionsDisabled_) return;
    const auto point = photoPointAt(at);
    if (!point) return; // the letterbox
    const QColor c = colorAt(int(point->x()), int(point->y()));
    refreshShown();
    loupe_->setFillColor(forScreen(c));
    PickClick params;
    params.x = float(point->x());
    params.y = float(point->y());
    params.color = c;
    // Ctrl stands in for Alt where the window manager takes Alt-click to move windows.
    params.type = modifiers & Qt::ShiftModifier                         ? 1
                  : modifiers & (Qt::AltModifier | Qt::ControlModifier) ? 2
                                                                        : 0;
    picked_ = c;
    swatch_->setFillColor(forScreen(c));
    swatch_->show();
    applyColorMask(params, history_.current().mask, pickKindOfType(params.type));
}

void RegionPicker::toleranceValueWasChanged() {
    if (isInteractionsDisabled_) return;
    toleranceValue_ = toleranceSlider_->doubleValue();
    const PickStep& now = history_.current();
    if (now.click) {
        // The last click again, on the selection it was made on.
        applyColorMask(*now.click, now.maskBefore, PickStep::Kind::Tolerance);
    } else if (toleranceValue_ != now.tolerance) {
        PickStep step = now;
        step.tolerance = toleranceValue_;
        step.kind = PickStep::Kind::Tolerance;
        history_.push(step);
        emit stepsChanged();
    }
}

void RegionPicker::undo() {
    if (!canUndo()) return;
    history_.undo();
    showCurrentStep();
    emit stepsChanged();
}

void RegionPicker::redo() {
    if (!canRedo()) return;
    history_.redo();
    showCurrentStep();
    emit stepsChanged();
}

namespace {

QString stepName(PickStep::Kind kind) {
    switch (kind) {
    case PickStep::Kind::Start:
        return {};
    case PickStep::Kind::Pick:
        return UndoStep::tr("Pick Colour");
    case PickStep::Kind::Add:
        return UndoStep::tr("Add Colour");
    case PickStep::Kind::TakeAway:
        return UndoStep::tr("Take Away Colour");
    case PickStep::Kind::Tolerance:
        return UndoStep::tr("Tolerance Change");
    }
    return {};
}

} // namespace

QString RegionPicker::undoStepName() const {
    return canUndo() ? stepName(history_.undoKind()) : QString();
}

QString RegionPicker::redoStepName() const {
    return canRedo() ? stepName(history_.redoKind()) : QString();
}

void RegionPicker::showCurrentStep() {
    const PickStep& now = history_.current();
    toleranceValue_ = now.tolerance;
    toleranceSlider_->setDoubleValue(now.tolerance);
    swatch_->setVisible(now.click.has_value());
    if (now.click) {
        picked_ = now.click->color;
        swatch_->setFillColor(forScreen(picked_));
    }
    if (now.mask && previews_.withMask)
        previewImage_ = previews_.withMask(now.mask);
    else if (!now.mask && previews_.picture)
        previewImage_ = previews_.picture();
    update();
}

// ---- the work ---------------------------------------------------------------------------------

void RegionPicker::applyColorMask(const PickClick& params, const Image& before, PickStep::Kind kind) {
    if (work_->cancelled) return;
    startSmallProgress();
    std::shared_ptr<Work> work = work_;
    const float tolerance = float(toleranceValue_);
    QPointer<RegionPicker> self(this);
    Dispatch::async(Dispatch::Priority::High, [work, params, tolerance, before, kind, self] {
        std::optional<Bitmap> mask;
        {
            std::lock_guard lock(work->mutex);
            const float colour[3] = {float(params.color.redF()), float(params.color.greenF()),
                                     float(params.color.blueF())};
            if (work->photo && !work->cancelled)
                mask = imageByMaskingColor(*work->photo, colour, tolerance, params.x, params.y, work->field,
                                           &work->cancelled);
        }
        auto shared = mask ? std::make_shared<const Bitmap>(std::move(*mask)) : nullptr;
        // The canvas and the views belong to the main thread: the merge and the preview happen there.
        Dispatch::mainQueue([self, work, shared, params, tolerance, before, kind] {
            // A cancelled picker takes nothing more: its owner has been told it is cancelled.
            if (!self || work->cancelled) return;
            if (shared) {
                const Image merged = mergedColorMask(before, Image::imageWithBitmap(shared), params.type);
                self->history_.push(PickStep{merged, before, params, double(tolerance), kind});
                if (self->previews_.withMask) self->previewImage_ = self->previews_.withMask(merged);
            }
            self->stopSmallProgress();
            self->update();
            emit self->colorFilteringCompleted();
            emit self->stepsChanged();
        });
    });
}

void RegionPicker::startSmallProgress() {
    // Cancel stays usable: it stops the pick.
    applyButton_->setEnabled(false);
    toleranceSlider_->setEnabled(false);
    isInteractionsDisabled_ = true;
    spinner_->raise();
    spinner_->startAnimation();
    emit stepsChanged();
}

void RegionPicker::stopSmallProgress() {
    isInteractionsDisabled_ = false;
    applyButton_->setEnabled(true);
    cancelButton_->setEnabled(true);
    toleranceSlider_->setEnabled(true);
    spinner_->stopAnimation();
}

} // namespace pimavo
