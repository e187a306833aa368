// The menu bar and which of its commands are available in each mode.
#include "AuxiliaryWindows.h"
#include "BrimwellViewController.h"
#include "StartScreen.h"
#include "core/Strings.h"
#include "core/UndoManager.h"
#include "core/UserDefaults.h"
#include "toolbar/DrawingToolbarController.h"
#include "widgets/ResourceImages.h"
#include "widgets/TQButton.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPainter>
#include <algorithm>

namespace pimavo {

namespace {

QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}

const char* const kBackgroundNames[4] = {"Dark Gray", "Gray", "Medium Gray", "Light Gray"};
const char* const kBackgroundPatterns[4] = {"back_dark_grey", "back_grey", "back_medium_grey",
                                            "back_light_grey"};

QIcon swatch(const QString& pattern) {
    QPixmap pm(40, 40);
    pm.setDevicePixelRatio(2);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    ResourceImages::tile(p, QRectF(0, 0, 20, 20), pattern);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawRect(QRectF(0.5, 0.5, 19, 19));
    return QIcon(pm);
}

// A recent photo's name in the menu; when another entry has the same name, its folder tells them
// apart ("ladybird.jpg — ~/Pictures/2024").
QString recentMenuTitle(const QString& path, const QStringList& all) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const bool clash = std::count_if(all.begin(), all.end(), [&](const QString& other) {
                           return QFileInfo(other).fileName() == name;
                       }) > 1;
    QString title = name;
    if (clash) {
        QString folder = QDir::toNativeSeparators(info.absolutePath());
        const QString home = QDir::toNativeSeparators(QDir::homePath());
        if (folder == home || folder.startsWith(home + QDir::separator()))
            folder = "~" + folder.mid(home.size());
        title += QString::fromUtf8(" \u2014 ") + folder;
    }
    return title.replace('&', "&&"); // a name is not a mnemonic
}

} // namespace

QAction* BrimwellViewController::addCommand(QMenu* menu, const QString& name, const QString& title,
                                            const QKeySequence& keys, std::function<void()> run) {
    QAction* a = menu->addAction(title);
    a->setShortcut(keys);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, a, name, run] {
        if (validateUserInterfaceItem(name)) run();
        // A checkable item shows the state, not its own toggling: set it back if nothing happened.
        if (a->isCheckable()) validateMenus();
    });
    actions_.insert(name, a);
    return a;
}

void BrimwellViewController::buildMenus() {
    QMenu* file = menuBar()->addMenu(text("kMenuFile"));
    addCommand(file, "openImage:", text("kMenuOpen"), QKeySequence::Open, [this] { openImage(); });
    recentMenu_ = file->addMenu(text("kMenuOpenRecent"));
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] {
        recentMenu_->clear();
        QStringList paths;
        for (const QString& path : recentDocuments())
            if (QFileInfo::exists(path)) paths << path;
        for (const QString& path : paths) {
            QAction* a = recentMenu_->addAction(recentMenuTitle(path, paths));
            a->setToolTip(path);
            connect(a, &QAction::triggered, this, [this, path] {
                if (validateUserInterfaceItem("recentItemClick:")) openWithSavingCurrentImageURL(path);
            });
        }
        if (recentMenu_->isEmpty()) recentMenu_->addAction(text("kNoRecentPhotos"))->setEnabled(false);
    });
    addCommand(file, "importFromIMediaMenuItemClick:", text("kMenuMediaBrowser"),
               QKeySequence(Qt::CTRL | Qt::Key_I), [this] { importFromIMediaMenuItemClick(); });
    addCommand(file, "importItemClick:", text("kMenuImportDevice"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), [this] { importItemClick(); });
    file->addSeparator();
    addCommand(file, "saveMenuItemClick:", text("kMenuSave"), QKeySequence::Save,
               [this] { saveMenuItemClick(); });
    addCommand(file, "saveImage:", text("kMenuSaveAs"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
               [this] { saveImage(); });
    addCommand(file, "saveImageAsProject:", text("kMenuSaveAsProject"), QKeySequence(),
               [this] { saveImageAsProject(); });
    addCommand(file, "revertToOriginalButtonClick:", text("kMenuRevert"), QKeySequence(),
               [this] { revertToOriginalButtonClick(); });
    file->addSeparator();
    addCommand(file, "runPageLayout:", text("kMenuPageSetup"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
               [this] { runPageLayout(); });
    addCommand(file, "print:", text("kMenuPrint"), QKeySequence::Print, [this] { print(); });
    addCommand(file, "printOnCanvasButtonClick:", text("kMenuPrintOnCanvas"), QKeySequence(),
               [this] { printOnCanvasButtonClick(); });
    file->addSeparator();
    addCommand(file, "closeApplication:", text("kMenuQuit"), QKeySequence::Quit,
               [this] { closeDocumentWithSaving(); });

    QMenu* edit = menuBar()->addMenu(text("kMenuEdit"));
    addCommand(edit, "buttonUndoClick:", text("kMenuUndo"), QKeySequence::Undo,
               [this] { buttonUndoClick(); });
    addCommand(edit, "buttonRedoClick:", text("kMenuRedo"), QKeySequence::Redo,
               [this] { buttonRedoClick(); });
    // Both keys users bring from other editors, whichever the desktop names first; a key listed
    // twice would make the shortcut ambiguous and do nothing.
    if (QAction* redo = actions_.value("buttonRedoClick:")) {
        QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Redo);
        for (const QKeySequence& k : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
            if (!keys.contains(k)) keys << k;
        redo->setShortcuts(keys);
    }
    edit->addSeparator();
    addCommand(edit, "copy:", text("kMenuCopy"), QKeySequence::Copy, [this] { copy(); });
    addCommand(edit, "paste:", text("kMenuPaste"), QKeySequence::Paste, [this] { paste(); });
    edit->addSeparator();
    addCommand(edit, "invertMaskButtonClick:", text("kInvertMask"), QKeySequence(), [this] {
        if (drawingToolbar_) invertMaskForDrawingToolbarController(drawingToolbar_);
    });
    addCommand(edit, "clearMaskButtonClick:", text("kClearMask"), QKeySequence(), [this] {
        if (drawingToolbar_) clearMaskForDrawingToolbarController(drawingToolbar_);
    });
    addCommand(edit, "showMaskButtonClick:", text("kMenuShowMask"), QKeySequence(), [this] {
        if (drawingToolbar_) drawingToolbar_->switchShowMaskMode();
    });
    // Red checks say nothing over a red flower: the colour is the user's.
    maskColourMenu_ = edit->addMenu(text("kMenuMaskColour"));
    maskColourMenu_->setObjectName("maskColourMenu");
    const std::pair<const char*, QColor> maskColours[] = {
        {"kMaskColourRed", QColor(255, 0, 0)},      {"kMaskColourGreen", QColor(0, 255, 0)},
        {"kMaskColourBlue", QColor(0, 0, 255)},     {"kMaskColourYellow", QColor(255, 255, 0)},
        {"kMaskColourMagenta", QColor(255, 0, 255)}, {"kMaskColourWhite", QColor(255, 255, 255)},
    };
    for (const auto& [key, colour] : maskColours) {
        QAction* a = maskColourMenu_->addAction(text(key));
        a->setCheckable(true);
        a->setData(colour);
        connect(a, &QAction::triggered, this, [this, colour = colour] { setShowMaskColour(colour); });
    }
    applyShowMaskColour();
    addCommand(edit, "buttonPaintClick:", text("kMenuApplyDrawing"), QKeySequence(Qt::CTRL | Qt::Key_Return),
               [this] { buttonPaintClick(); });
    edit->addSeparator();
    addCommand(edit, "preferencesMenuItemClick:", text("kMenuPreferences"), QKeySequence::Preferences,
               [this] { preferencesMenuItemClick(); });

    QMenu* view = menuBar()->addMenu(text("kMenuView"));
    addCommand(view, "zoomInClick:", text("kTopZoomIn"), QKeySequence::ZoomIn, [this] { zoomInClick(); });
    addCommand(view, "zoomOutClick:", text("kTopZoomOut"), QKeySequence::ZoomOut, [this] { zoomOutClick(); });
    addCommand(view, "zoomToActualSizeClick:", text("kTopActualSize"), QKeySequence(Qt::CTRL | Qt::Key_1),
               [this] { zoomToActualSizeClick(); });
    addCommand(view, "zoomToFitClick:", text("kTopFit"), QKeySequence(Qt::CTRL | Qt::Key_0),
               [this] { zoomToFitClick(); });
    view->addSeparator();
    QAction* compare = addCommand(view, "buttonCompareClick:", text("kTopCompare"),
                                  QKeySequence(Qt::CTRL | Qt::Key_B), [this] { buttonCompareClick(); });
    // Checked while comparing, like the top bar's button. Held down, the key toggles once.
    compare->setCheckable(true);
    compare->setAutoRepeat(false);
    backgroundMenu_ = view->addMenu(text("kMenuBackground"));
    for (int i = 0; i < 4; ++i) {
        QAction* a = backgroundMenu_->addAction(swatch(kBackgroundPatterns[i]),
                                                Strings::shared().localized(kBackgroundNames[i]));
        a->setCheckable(true);
        a->setData(i);
        a->setObjectName("onBackgroundMenuItemClick:");
        connect(a, &QAction::triggered, this, [this, i] { tqPopoverViewDidSelectCellAtIndex(nullptr, i); });
    }
    view->addSeparator();
    // F11 as the desktop has it: the platform's own full-screen binding is empty on some desktops.
    QAction* fullScreen = addCommand(view, "toggleFullScreen:", text("kMenuFullScreen"),
                                     QKeySequence(Qt::Key_F11), [this] { toggleFullScreen(); });
    fullScreen->setCheckable(true);
    // The check follows the window, whoever changed its state; triggering only asks for the change.
    connect(fullScreen, &QAction::triggered, this,
            [this, fullScreen] { fullScreen->setChecked(isFullScreen()); });

    buildShareMenu();
    buildHelpMenu();
    validateMenus();
}

void BrimwellViewController::validateMenus() {
    for (auto it = actions_.begin(); it != actions_.end(); ++it)
        it.value()->setEnabled(validateUserInterfaceItem(it.key()));
    if (recentMenu_) recentMenu_->setEnabled(validateUserInterfaceItem("recentItemClick:"));
    if (QAction* fullScreen = actions_.value("toggleFullScreen:")) fullScreen->setChecked(isFullScreen());
    if (QAction* compare = action("buttonCompareClick:")) compare->setChecked(compareView_ != nullptr);
    if (backgroundMenu_) {
        const int chosen = backgroundIndex();
        for (QAction* a : backgroundMenu_->actions()) a->setChecked(a->data().toInt() == chosen);
    }
}

bool BrimwellViewController::validateUserInterfaceItem(const QString& a) const {
    // Help, the web pages and the small windows are there whatever the window is doing.
    static const QStringList always{"closeApplication:",           "aboutMenuItemClick:",
                                    "showWelcomeScreen:",          "acknowledgementsMenuItemClick:",
                                    "preferencesMenuItemClick:",   "helpMenuItemClick:",
                                    "videoHelpsItemClick:",        "supportMenuItemClick:",
                                    "leaveReviewMenuItemClick:",   "homePageMenuItemClick:",
                                    "otherProductsMenuItemClick:", "printOnCanvasButtonClick:"};
    if (always.contains(a)) return true;
    // The comparison blocks the window's commands, but its own command takes it away again.
    if (a == "buttonCompareClick:" && compareView_) return true;
    // Asked of the clipboard only for Paste: the menus are validated after every stroke.
    auto pasteReadable = [this] { return canReadDataFromPasteboard(QApplication::clipboard()->mimeData()); };
    // The picker's own steps, while it is up.
    if (auto* picker = qobject_cast<ZDColorPickerView*>(colorPickerView_.data());
        picker && isColorPickerShowed_ && (a == "buttonUndoClick:" || a == "buttonRedoClick:"))
        return a == "buttonUndoClick:" ? picker->canUndo() : picker->canRedo();
    if (isDisabledInteraction_) {
        if (a == "toggleFullScreen:") return true;
        if (isStartScreenShown()) {
            if (a == "paste:") return pasteReadable();
            return a == "openImage:" || a == "recentItemClick:" || a == "importItemClick:" ||
                   a == "importFromIMediaMenuItemClick:";
        }
        return false;
    }
    const bool picker = isColorPickerShowed_;
    if (a == "zoomInClick:") return zoomInButton_->isEnabled() && !picker;
    if (a == "zoomOutClick:") return zoomOutButton_->isEnabled() && !picker;
    if (a == "zoomToActualSizeClick:") return actualSizeButton_->isEnabled() && !picker;
    if (a == "zoomToFitClick:") return fitToScreenButton_->isEnabled() && !picker;
    if (a == "buttonUndoClick:") return undoButton_->isEnabled() && !picker;
    if (a == "buttonRedoClick:") return redoButton_->isEnabled() && !picker;
    if (a == "revertToOriginalButtonClick:") return !picker && originalImage_ != nullptr;
    if (a == "paste:") return !picker && pasteReadable();
    if (a == "copy:") return !picker && hasPhoto();
    if (a == "buttonCompareClick:") return compareButton_->isEnabled() && !picker;
    if (a == "showMaskButtonClick:" || a == "invertMaskButtonClick:" || a == "clearMaskButtonClick:")
        return drawingToolbar_ != nullptr;
    if (a == "toggleFullScreen:") return true;
    if (a == "buttonPaintClick:") return applyButton_->isEnabled();
    if (a == "openImage:" || a == "recentItemClick:") return true;
    if (a == "importItemClick:" || a == "importFromIMediaMenuItemClick:") return true;
    if (a == "saveImage:" || a == "saveImageAsProject:" || a == "print:" || a == "runPageLayout:") return hasPhoto();
    if (a == "saveMenuItemClick:") return isEdited() && hasPhoto();
    if (a == "onBackgroundMenuItemClick:") return true;
    if (a.startsWith("exportToApplication:")) return hasPhoto();
    if (a.startsWith("shareItemClick:")) return hasPhoto() && !picker && !sharingWindow_;
    return false;
}

} // namespace pimavo
