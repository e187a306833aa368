// The menu bar and which of its commands are available in each mode.
#include "AuxiliaryWindows.h"
#include "EditorWindow.h"
#include "StartScreen.h"
#include "WindowBackdrop.h"
#include "WindowCompare.h"
#include "WindowHelp.h"
#include "WindowImport.h"
#include "WindowOpening.h"
#include "WindowPicker.h"
#include "WindowSaving.h"
#include "WindowSharing.h"
#include "WindowStart.h"
#include "picker/RegionPicker.h"
#include "toolbar/ToolPanel.h"
#include "widgets/ImageButton.h"
#include "widgets/ResourceImages.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPainter>
#include <algorithm>

namespace pimavo {

namespace {

// A background's swatch for the menu. Where a menu draws an icon it draws no check mark: the chosen
// background's swatch carries the mark itself (the icon's On state).
QIcon swatch(const QString& pattern) {
    auto draw = [&](bool chosen) {
        QPixmap pm(40, 40);
        pm.setDevicePixelRatio(2);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        ResourceImages::tile(p, QRectF(0, 0, 20, 20), pattern);
        p.setPen(QColor(0, 0, 0, 120));
        p.drawRect(QRectF(0.5, 0.5, 19, 19));
        if (chosen) {
            const QPolygonF tick({QPointF(5, 10.5), QPointF(8.5, 14), QPointF(15, 6.5)});
            p.setPen(QPen(QColor(0, 0, 0, 200), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(tick);
            p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(tick);
        }
        return pm;
    };
    QIcon icon;
    icon.addPixmap(draw(false), QIcon::Normal, QIcon::Off);
    icon.addPixmap(draw(true), QIcon::Normal, QIcon::On);
    icon.addPixmap(draw(true), QIcon::Active, QIcon::On);
    return icon;
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

QAction* EditorWindow::addCommand(QMenu* menu, const QString& name, const QString& title,
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

void EditorWindow::buildMenus() {
    //: A menu of the menu bar (the noun)
    QMenu* file = menuBar()->addMenu(tr("&File"));
    //: A command: open a photo
    addCommand(file, "file_open", tr("&Open…"), QKeySequence::Open, [this] { opening_->showOpenPanel(); });
    recentMenu_ = file->addMenu(tr("Open &Recent"));
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] {
        recentMenu_->clear();
        QStringList paths;
        for (const QString& path : opening_->recent())
            if (QFileInfo::exists(path)) paths << path;
        for (const QString& path : paths) {
            QAction* a = recentMenu_->addAction(recentMenuTitle(path, paths));
            a->setToolTip(path);
            connect(a, &QAction::triggered, this, [this, path] {
                if (validateUserInterfaceItem("file_open_recent")) opening_->open(path);
            });
        }
        if (recentMenu_->isEmpty()) recentMenu_->addAction(tr("No recent photos"))->setEnabled(false);
    });
    addCommand(file, "file_browse_photos", tr("Browse Photos…"), QKeySequence(Qt::CTRL | Qt::Key_I),
               [this] { import_->toggleMediaBrowser(); });
    addCommand(file, "file_import_camera", tr("Import from Camera or Scanner…"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), [this] { import_->runImportWindow(); });
    file->addSeparator();
    addCommand(file, "file_save", tr("&Save"), QKeySequence::Save, [this] { saving_->save(); });
    addCommand(file, "file_save_as", tr("Save &As…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
               [this] { saving_->saveAs(); });
    addCommand(file, "file_save_project", tr("Save as &Project…"), QKeySequence(),
               [this] { saving_->saveAsProject(); });
    addCommand(file, "edit_revert", tr("&Revert to Original…"), QKeySequence(),
               [this] { revertToOriginalButtonClick(); });
    file->addSeparator();
    addCommand(file, "file_page_setup", tr("Page Set&up…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
               [this] { runPageLayout(); });
    addCommand(file, "file_print", tr("&Print…"), QKeySequence::Print, [this] { print(); });
    addCommand(file, "file_print_on_canvas", tr("Print on &Canvas…"), QKeySequence(),
               [this] { help_->openWebPage(Settings::WebPage::PrintOnCanvas); });
    file->addSeparator();
    addCommand(file, "app_quit", tr("&Quit"), QKeySequence::Quit, [this] { closeDocumentWithSaving(); });

    //: A menu of the menu bar
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    addCommand(edit, "edit_undo", tr("&Undo"), QKeySequence::Undo, [this] { buttonUndoClick(); });
    addCommand(edit, "edit_redo", tr("&Redo"), QKeySequence::Redo, [this] { buttonRedoClick(); });
    // Both keys users bring from other editors, whichever the desktop names first; a key listed
    // twice would make the shortcut ambiguous and do nothing.
    if (QAction* redo = actions_.value("edit_redo")) {
        QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Redo);
        for (const QKeySequence& k :
             {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
            if (!keys.contains(k)) keys << k;
        redo->setShortcuts(keys);
    }
    edit->addSeparator();
    addCommand(edit, "edit_copy", tr("&Copy"), QKeySequence::Copy, [this] { copy(); });
    addCommand(edit, "edit_paste", tr("&Paste"), QKeySequence::Paste, [this] { opening_->paste(); });
    edit->addSeparator();
    addCommand(edit, "edit_invert_mask", tr("Invert Mask"), QKeySequence(), [this] {
        if (!painterView_) return;
        painterView_->model().painting().invertMask();
        redrawCanvas();
    });
    addCommand(edit, "edit_clear_mask", tr("Clear Mask"), QKeySequence(), [this] {
        if (!painterView_) return;
        painterView_->model().painting().clearMask();
        redrawCanvas();
    });
    addCommand(edit, "edit_show_mask", tr("Show &Mask"), QKeySequence(), [this] {
        if (drawingToolbar_) drawingToolbar_->switchShowMaskMode();
    });
    // Red checks say nothing over a red flower: the colour is the user's.
    maskColourMenu_ = edit->addMenu(tr("Mask C&olour"));
    maskColourMenu_->setObjectName("maskColourMenu");
    //: The colours the mask can be shown in
    const std::pair<const char*, QColor> maskColours[] = {
        {QT_TR_NOOP("Red"), QColor(255, 0, 0)},       {QT_TR_NOOP("Green"), QColor(0, 255, 0)},
        {QT_TR_NOOP("Blue"), QColor(0, 0, 255)},      {QT_TR_NOOP("Yellow"), QColor(255, 255, 0)},
        {QT_TR_NOOP("Magenta"), QColor(255, 0, 255)}, {QT_TR_NOOP("White"), QColor(255, 255, 255)},
    };
    for (const auto& [key, colour] : maskColours) {
        QAction* a = maskColourMenu_->addAction(tr(key));
        a->setCheckable(true);
        a->setData(colour);
        connect(a, &QAction::triggered, this, [this, colour = colour] { setShowMaskColour(colour); });
    }
    applyShowMaskColour();
    addCommand(edit, "edit_apply_drawing", tr("&Apply Drawing"), QKeySequence(Qt::CTRL | Qt::Key_Return),
               [this] { buttonPaintClick(); });
    edit->addSeparator();
    addCommand(edit, "app_preferences", tr("Pre&ferences…"), QKeySequence::Preferences,
               [this] { help_->showPreferences(); });

    //: A menu of the menu bar (the noun)
    QMenu* view = menuBar()->addMenu(tr("&View"));
    addCommand(view, "view_zoom_in", tr("Zoom In"), QKeySequence::ZoomIn, [this] { zoomInClick(); });
    addCommand(view, "view_zoom_out", tr("Zoom Out"), QKeySequence::ZoomOut, [this] { zoomOutClick(); });
    addCommand(view, "view_actual_size", tr("Actual Size"), QKeySequence(Qt::CTRL | Qt::Key_1),
               [this] { zoomToActualSizeClick(); });
    addCommand(view, "view_zoom_to_fit", tr("Zoom to Fit"), QKeySequence(Qt::CTRL | Qt::Key_0),
               [this] { zoomToFitClick(); });
    view->addSeparator();
    QAction* compare = addCommand(view, "view_compare", tr("Compare Before and After"),
                                  QKeySequence(Qt::CTRL | Qt::Key_B), [this] { compare_->toggle(); });
    // Checked while comparing, like the top bar's button. Held down, the key toggles once.
    compare->setCheckable(true);
    compare->setAutoRepeat(false);
    //: The View menu's list of greys around the picture
    backgroundMenu_ = view->addMenu(tr("&Background"));
    auto* backgrounds = new QActionGroup(backgroundMenu_);
    for (int i = 0; i < 4; ++i) {
        QAction* a = backgroundMenu_->addAction(swatch(kBackdropPatterns[i]), WindowBackdrop::name(i));
        a->setCheckable(true);
        a->setActionGroup(backgrounds);
        a->setData(i);
        a->setObjectName("edit_background");
        connect(a, &QAction::triggered, this, [this, i] { backdrop_->choose(i); });
    }
    view->addSeparator();
    // F11 as the desktop has it: the platform's own full-screen binding is empty on some desktops.
    QAction* fullScreen = addCommand(view, "view_full_screen", tr("&Full Screen"), QKeySequence(Qt::Key_F11),
                                     [this] { toggleFullScreen(); });
    fullScreen->setCheckable(true);
    // The check follows the window, whoever changed its state; triggering only asks for the change.
    connect(fullScreen, &QAction::triggered, this,
            [this, fullScreen] { fullScreen->setChecked(isFullScreen()); });

    sharing_->buildMenu();
    help_->buildMenu();
    validateMenus();
}

void EditorWindow::validateMenus() {
    for (auto it = actions_.begin(); it != actions_.end(); ++it)
        it.value()->setEnabled(validateUserInterfaceItem(it.key()));
    if (recentMenu_) recentMenu_->setEnabled(validateUserInterfaceItem("file_open_recent"));
    if (QAction* fullScreen = actions_.value("view_full_screen")) fullScreen->setChecked(isFullScreen());
    if (QAction* compare = action("view_compare")) compare->setChecked(compare_->isShown());
    if (backgroundMenu_) {
        const int chosen = backdrop_->index();
        for (QAction* a : backgroundMenu_->actions()) a->setChecked(a->data().toInt() == chosen);
    }
}

bool EditorWindow::validateUserInterfaceItem(const QString& a) const {
    // Help, the web pages and the small windows are there whatever the window is doing.
    static const QStringList always{
        "app_quit",        "app_about",      "help_start_screen",   "help_acknowledgements",
        "app_preferences", "help_guide",     "help_videos",         "help_support",
        "help_review",     "help_home_page", "help_other_products", "file_print_on_canvas"};
    if (always.contains(a)) return true;
    // The comparison blocks the window's commands, but its own command takes it away again.
    if (a == "view_compare" && compare_->isShown()) return true;
    // Asked of the clipboard only for Paste: the menus are validated after every stroke.
    auto pasteReadable = [this] { return opening_->canOpen(QApplication::clipboard()->mimeData()); };
    // The picker's own steps, while it is up.
    if (RegionPicker* picker = picker_->shownPicker(); picker && (a == "edit_undo" || a == "edit_redo"))
        return a == "edit_undo" ? picker->canUndo() : picker->canRedo();
    if (isDisabledInteraction_) {
        if (a == "view_full_screen") return true;
        if (start_->isShown()) {
            if (a == "edit_paste") return pasteReadable();
            return a == "file_open" || a == "file_open_recent" || a == "file_import_camera" ||
                   a == "file_browse_photos";
        }
        return false;
    }
    const bool picker = picker_->isShown();
    if (a == "view_zoom_in") return zoomInButton_->isEnabled() && !picker;
    if (a == "view_zoom_out") return zoomOutButton_->isEnabled() && !picker;
    if (a == "view_actual_size") return actualSizeButton_->isEnabled() && !picker;
    if (a == "view_zoom_to_fit") return fitToScreenButton_->isEnabled() && !picker;
    if (a == "edit_undo") return undoButton_->isEnabled() && !picker;
    if (a == "edit_redo") return redoButton_->isEnabled() && !picker;
    if (a == "edit_revert") return !picker && photo_.original != nullptr;
    if (a == "edit_paste") return !picker && pasteReadable();
    if (a == "edit_copy") return !picker && hasPhoto();
    if (a == "view_compare") return compareButton_->isEnabled() && !picker;
    if (a == "edit_show_mask" || a == "edit_invert_mask" || a == "edit_clear_mask")
        return drawingToolbar_ != nullptr;
    if (a == "view_full_screen") return true;
    if (a == "edit_apply_drawing") return applyButton_->isEnabled();
    if (a == "file_open" || a == "file_open_recent") return true;
    if (a == "file_import_camera" || a == "file_browse_photos") return true;
    if (a == "file_save_as" || a == "file_save_project" || a == "file_print" || a == "file_page_setup")
        return hasPhoto();
    if (a == "file_save") return isEdited() && hasPhoto();
    if (a == "edit_background") return true;
    if (a.startsWith("file_export_to/")) return hasPhoto();
    if (a.startsWith("file_share/")) return hasPhoto() && !picker && !sharing_->shareWindow();
    return false;
}

} // namespace pimavo
