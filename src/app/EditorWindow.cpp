// The editing window: construction, layout, the top bar, backgrounds and the background chooser.
#include "EditorWindow.h"

#include "StartScreen.h"
#include "Version.h"
#include "WindowAutosave.h"
#include "WindowBackdrop.h"
#include "WindowCompare.h"
#include "WindowHelp.h"
#include "WindowImport.h"
#include "WindowOpening.h"
#include "WindowPicker.h"
#include "WindowReview.h"
#include "WindowSaving.h"
#include "WindowSharing.h"
#include "WindowStart.h"
#include "core/Settings.h"
#include "session/EditSession.h"
#include "toolbar/ToolPanel.h"
#include "widgets/FramedPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ResourceImages.h"
#include "widgets/WidgetStyle.h"
#include "widgets/ZoomField.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStringListModel>
#include <QWindow>

namespace pimavo {

namespace {

// A plain widget that paints a named image stretched over itself (the side shadows, the top bar).
class ImageStrip : public QWidget {
public:
    ImageStrip(const QString& image, QWidget* parent) : QWidget(parent), image_(image) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        ResourceImages::draw(p, rect(), image_);
    }

private:
    QString image_;
};

// The view under the canvas: a right click opens the background chooser.
class ContentView : public QWidget {
public:
    std::function<void(QPoint)> onRightClick;
    std::function<void()> onPress, onResize;
    using QWidget::QWidget;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::RightButton && onRightClick) onRightClick(e->position().toPoint());
        if (onPress) onPress();
    }
    void resizeEvent(QResizeEvent*) override {
        if (onResize) onResize();
    }
};

} // namespace

EditorWindow::EditorWindow(EditSession* session, Settings* settings)
    : session_(session), settings_(settings ? settings : &Settings::standard()) {
    sharing_ = new WindowSharing(this);
    help_ = new WindowHelp(this);
    import_ = new WindowImport(this);
    review_ = new WindowReview(this);
    compare_ = new WindowCompare(this);
    picker_ = new WindowPicker(this);
    saving_ = new WindowSaving(this);
    start_ = new WindowStart(this);
    backdrop_ = new WindowBackdrop(this);
    opening_ = new WindowOpening(this);
    setWindowTitle(QStringLiteral("Pimavo[*]"));
    fitMinimumSizeToScreen();
    setAcceptDrops(true);
    InteractionBlocker::setCurrent(this);
    buildContentView();
    buildTopBar();
    buildMenus();
    observe();

    // A newer version asks for a review again.
    const double version = QString(PIMAVO_VERSION).section('.', 0, 1).toDouble();
    if (settings_->lastVersion() < version) {
        settings_->setLastVersion(version);
        settings_->setReviewDeclined(false);
    }

    tool_ = Adjust;
    setTool(NoTool);
    validateUndoRedoButtonsState();
    autosave_ = new WindowAutosave(this);
    start_->showSoon();
}

EditorWindow::~EditorWindow() {
    autosave_->discard(); // closed as the user chose: saved, or let go
    sharing_->closeAll();
    removeExportFolder();
    if (InteractionBlocker::current() == this) InteractionBlocker::setCurrent(nullptr);
    start_->hold();
}

void EditorWindow::buildContentView() {
    auto* content = new ContentView(this);
    content->onRightClick = [this](QPoint p) {
        if (!isDisabledInteraction_) backdrop_->popUpFrom(p);
    };
    content->onPress = [this] { compare_->exit(); };
    content->onResize = [this] { layOutContent(); };
    contentView_ = content;
    setCentralWidget(content);
    backgroundView_ = new FramedPanel(content);
    backgroundView_->setAttribute(Qt::WA_TransparentForMouseEvents);
    shadowLeftView_ = new ImageStrip("shadow_left", content);
    shadowRightView_ = new ImageStrip("shadow_right", content);
    backdrop_->show(backdrop_->index());
}

void EditorWindow::buildTopBar() {
    topBarView_ = new ImageStrip("top_bar_top", contentView_);
    topBarView_->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    auto button = [this](const QString& image, const QString& tip, std::function<void()> run) {
        auto* b = new ImageButton(topBarView_);
        b->setImages(image);
        b->setToolTip(tip);
        b->resize(32, 32);
        b->setAction([run](ImageButton*) { run(); });
        return b;
    };
    openButton_ = button("top_open", tr("Open a photo"), [this] { opening_->showOpenPanel(); });
    saveButton_ = button("top_save", tr("Save As"), [this] { saving_->saveAs(); });
    undoButton_ = button("top_undo", tr("Undo"), [this] { buttonUndoClick(); });
    redoButton_ = button("top_redo", tr("Redo"), [this] { buttonRedoClick(); });
    zoomOutButton_ = button("top_zoom_out", tr("Zoom Out"), [this] { zoomOutClick(); });
    zoomInButton_ = button("top_zoom_in", tr("Zoom In"), [this] { zoomInClick(); });
    zoomField_ = new ZoomField(topBarView_);
    zoomField_->setToolTip(tr("Zoom: type a percentage and press Return"));
    //: The zoom field's name to screen readers
    zoomField_->setAccessibleName(tr("Zoom level"));
    connect(zoomField_, &ZoomField::percentEntered, this, [this](double percent) {
        if (tool_ == Painting && painterView_) painterView_->zoomToPercent(percent);
        if (painterView_) zoomField_->setPercent(painterView_->zoomPercent());
        if (painterView_) painterView_->setFocus(); // the keys go back to the picture
    });
    // Tab follows the bar from left to right: the field sits between the two zoom buttons.
    setTabOrder(zoomOutButton_, zoomField_);
    setTabOrder(zoomField_, zoomInButton_);
    fitToScreenButton_ = button("top_fit", tr("Zoom to Fit"), [this] { zoomToFitClick(); });
    actualSizeButton_ = button("top_actual", tr("Actual Size"), [this] { zoomToActualSizeClick(); });
    compareButton_ = button("top_compare", tr("Compare Before and After"), [this] { compare_->toggle(); });
    compareButton_->setButtonType(ImageButton::ButtonType::Toggle);
    // Held, the canvas shows the photo as it was opened; let go, the picture comes back.
    advancedCompareButton_ = button("top_hold_compare", tr("Hold to see the original photo"), [] {});
    connect(advancedCompareButton_, &QAbstractButton::pressed, this, [this] {
        if (painterView_ && !isDisabledInteraction_) painterView_->showCompareView();
    });
    connect(advancedCompareButton_, &QAbstractButton::released, this, [this] {
        if (painterView_) painterView_->hideCompareView();
    });
    applyButton_ = button("top_apply", tr("Apply the painting to the photo"), [this] { buttonPaintClick(); });
    // On while the sharing pane is open; the click itself decides.
    shareButton_ = button("top_share", tr("Share the picture"), [this] { sharing_->buttonClicked(); });
    shareButton_->setButtonType(ImageButton::ButtonType::Toggle);
    versionLabel_ = new QLabel(tr("Version %1").arg(PIMAVO_VERSION), topBarView_);
    versionLabel_->setFont(style::uiFont(10));
    versionLabel_->setStyleSheet("color: rgb(120,120,126);");
}

void EditorWindow::layOutContent() {
    const int W = contentView_->width(), H = contentView_->height();
    backgroundView_->setGeometry(0, 0, W, H);
    shadowLeftView_->setGeometry(0, 0, std::min(461, W / 2), H);
    shadowRightView_->setGeometry(W - std::min(461, W / 2), 0, std::min(461, W / 2), H);
    topBarView_->setGeometry(0, 0, W, kTopBarHeight);
    int x = 12;
    for (ImageButton* b : {openButton_, saveButton_}) b->move(x, 8), x += 38;
    x += 14;
    for (ImageButton* b : {undoButton_, redoButton_}) b->move(x, 8), x += 38;
    x += 14;
    zoomOutButton_->move(x, 8), x += 36;
    zoomField_->move(x, 12), x += zoomField_->width() + 4;
    for (ImageButton* b : {zoomInButton_, fitToScreenButton_, actualSizeButton_}) b->move(x, 8), x += 38;
    x += 14;
    compareButton_->move(x, 8);
    advancedCompareButton_->move(x + 38, 8);
    applyButton_->move(x + 76, 8);
    shareButton_->move(x + 76 + 52, 8);
    versionLabel_->setGeometry(W - 130, 14, 118, 20);
    versionLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int T = drawingToolbar_ ? ToolPanel::kWidth : 0;
    if (painterView_) painterView_->setGeometry(0, kTopBarHeight, W - T, H - kTopBarHeight);
    if (drawingToolbar_) drawingToolbar_->setGeometry(W - T, kTopBarHeight, T, H - kTopBarHeight);
    if (QWidget* v = compare_->view()) v->setGeometry(0, kTopBarHeight, W, H - kTopBarHeight);
    if (QWidget* v = start_->view()) v->setGeometry(0, 0, W, H);
    if (QWidget* v = picker_->view()) v->setGeometry(0, 0, W, H);
    if (currentDialog_ && currentDialog_->view()) currentDialog_->view()->setGeometry(0, 0, W, H);
    sharing_->layOutDialog();
    topBarView_->raise();
    if (QWidget* v = compare_->view()) v->raise();
    if (QWidget* v = start_->view()) v->raise();
    if (QWidget* v = picker_->view()) v->raise();
}

void EditorWindow::fitMinimumSizeToScreen() {
    // Room for the top bar's buttons and a canvas beside the tool panel. On a small screen, or at a
    // large scale factor, the screen wins: the tool panel scrolls instead.
    const QSize wanted(900, 700);
    // Full screen, the screen sets the size. A minimum above it (with the decorations a Wayland
    // client draws until the compositor has taken the window full screen) is a protocol error
    // there, and the compositor ends the program.
    if (fullScreen_) {
        setMinimumSize(0, 0);
        return;
    }
    QScreen* on = screen();
    if (!on) {
        setMinimumSize(wanted);
        return;
    }
    // The window's frame is known once it is shown; before that, allow for a title bar.
    const QRect outer = frameGeometry(), inner = geometry();
    const QSize frame = isVisible() && outer.isValid() ? outer.size() - inner.size() : QSize(0, 40);
    const QSize room = on->availableSize() - frame;
    setMinimumSize(wanted.boundedTo(room.expandedTo(QSize(320, 240))));
}

void EditorWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    fitMinimumSizeToScreen();
    if (QWindow* window = windowHandle()) {
        // Moved to another screen, or the screen changed its size or scale: fit again.
        connect(window, &QWindow::screenChanged, this, &EditorWindow::fitMinimumSizeToScreen,
                Qt::UniqueConnection);
        if (QScreen* screen = window->screen())
            connect(screen, &QScreen::availableGeometryChanged, this, &EditorWindow::fitMinimumSizeToScreen,
                    Qt::UniqueConnection);
    }
}

void EditorWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    compare_->exit(); // the comparison is laid out for the old size
    validateResizableButtons();
}

bool EditorWindow::isPhotoWhole() const {
    return opening_->isWhole();
}

bool EditorWindow::isEdited() const {
    return hasPhoto() && !session_->isClean();
}

void EditorWindow::setEdited(bool edited) {
    if (edited) {
        if (enteringPainter_) return; // settings a new canvas starts with are no change to the picture
        session_->setEditedOutsideHistory();
    } else {
        session_->setClean();
    }
    validateEdited();
}

void EditorWindow::validateEdited() {
    const bool edited = isEdited();
    if (!edited && autosave_) autosave_->discard(); // saved, or undone back to what the file holds
    if (edited == isWindowModified()) return;
    setWindowModified(edited);
    validateMenus();
}

void EditorWindow::observe() {
    // Every step made, undone or redone moves the picture towards or away from what was saved.
    connect(session_, &EditSession::historyChanged, this, [this] {
        validateEdited();
        validateUndoRedoButtonsState();
    });
    // Paste is available as soon as something readable is copied, here or in another program.
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { validateMenus(); });
    // Keys held down are told from new presses before the shortcuts see them.
    qApp->installEventFilter(this);
}

// ---- backgrounds ------------------------------------------------------------------------------

} // namespace pimavo
