// The editing window: its views (top bar, backdrop, canvas, tool panel, overlays), the tool it is
// in, its commands, menu validation and keys. Opening, saving, comparing, picking, sharing, help,
// autosave, imports, the start screen and the backdrop are parts of their own (Window*.h), each a
// QObject the window owns and a friend of it.
#pragma once

#include "OpenedPhoto.h"
#include "WindowServices.h"
#include "canvas/CanvasView.h"
#include "document/ProjectDocument.h"
#include "toolbar/ToolPanel.h"
#include "widgets/InteractionBlocker.h"
#include "widgets/OverlayDialog.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QMimeData;
class QPrinter;

namespace pimavo {

class WindowAutosave;
class WindowBackdrop;
class WindowCompare;
class WindowOpening;
class WindowPicker;
class WindowSaving;
class WindowStart;
class WindowHelp;
class WindowImport;
class WindowReview;
class WindowSharing;
class ImageButton;
class EditSession;
class Settings;
class FramedPanel;
class ZoomField;

struct ExportTarget;

class EditorWindow : public QMainWindow, public InteractionBlocker {
    Q_OBJECT
    // Parts of the window of their own, with its menus and views.
    friend class WindowAutosave;
    friend class WindowBackdrop;
    friend class WindowCompare;
    friend class WindowOpening;
    friend class WindowPicker;
    friend class WindowSaving;
    friend class WindowStart;
    friend class WindowHelp;
    friend class WindowReview;
    friend class WindowSharing;

public:
    // Tools: no photo; painting (canvas and tool panel on screen); adjust (no canvas).
    enum Tool { NoTool = 0, Painting = 5, Adjust = 6 };
    static constexpr int kTopBarHeight = 49;
    EditorWindow(EditSession* session, Settings* settings = nullptr);
    ~EditorWindow() override;

    // The questions, panels, browser and folders the window uses (tests answer instead).
    WindowServices services;

    // ---- modes ----
    int tool() const { return tool_; }
    void setTool(int tool);
    void buttonPaintClick();
    // The before-and-after comparison.
    WindowCompare* compare() const { return compare_; }
    // Colour region picking: the picker view covers the window while it is up.
    WindowPicker* picker() const { return picker_; }
    void revertToOriginalButtonClick();
    void buttonUndoClick();
    void buttonRedoClick();
    void validateUndoRedoButtonsState();
    void zoomInClick();
    void zoomOutClick();
    void zoomToActualSizeClick();
    void zoomToFitClick();
    void escapeDetectorClick();
    void toggleFullScreen();
    bool isDisabledInteraction() const { return isDisabledInteraction_; }
    void setDisabledInteractions(bool disabled) override;
    // The backdrop around the picture.
    WindowBackdrop* backdrop() const { return backdrop_; }

    // ---- the picture ----
    bool hasPhoto() const { return photo_.image != nullptr; }
    // Whether the photo on the canvas is decoded whole, not only the smaller first look at it.
    bool isPhotoWhole() const;
    BitmapRef image() const { return photo_.image; }
    CanvasView* painterView() const { return painterView_; }
    ToolPanel* drawingToolbar() const { return drawingToolbar_; }
    // The top bar's zoom in per cent, shown and typed.
    ZoomField* zoomField() const { return zoomField_; }
    // The colour of the show-mask checks, kept in the settings.
    void setShowMaskColour(const QColor& colour);
    // The picture as saved: the canvas's full-resolution result, or the photo.
    BitmapRef resultImage();
    // Whether the picture differs from what was last saved or opened. The saved state is a position
    // in the undo history (undoing back to it is clean again); a change the history does not hold
    // counts as an edit until the next save.
    bool isEdited() const;
    // true: a change outside the history was made; false: the picture as it is now was saved.
    void setEdited(bool edited);

    // ---- opening ----
    // The Open panel, drops, pastes and the recent photos.
    WindowOpening* opening() const { return opening_; }
    void openNewImage(BitmapRef image, const QString& title);
    void continueOpenImage(BitmapRef image);
    // The start screen, while the window holds no photo.
    WindowStart* start() const { return start_; }
    const std::optional<ImageProperties>& imageProperties() const { return photo_.properties; }
    const QString& imageMimeType() const { return photo_.mimeType; }
    const QString& representedFile() const { return photo_.file; }

    // ---- importing ----
    WindowImport* imports() const { return import_; }

    // ---- saving ----
    // Save, Save As and the question before the picture is replaced or closed.
    WindowSaving* saving() const { return saving_; }
    // The name the picture goes by: its file's name, or "Untitled".
    QString documentName() const;
    bool shouldCloseDocument();
    void closeDocumentWithSaving();
    bool needSaveDocument() const { return hasPhoto() && isEdited(); }
    void copy();
    void print();
    // Hands the picture to another application (a photo library, an editor, or one the user picks).
    void exportToApplication(const ExportTarget& target);
    // The review prompt, after every third Save As while online.
    WindowReview* review() const { return review_; }
    // Called once, when the canvas has first painted a photo (start-up measurements).
    std::function<void()> onFirstFrame;
    // What closing the window does once nothing is left to save (the document controller quits).
    std::function<void()> onClose;
    void close();
    bool noNeedSaveDocument = false;

    // ---- projects ----
    // The editing session as a project document: cheap enough for any moment on the main thread
    // (image values are shared copy-on-write, nothing is rendered or encoded), and safe to write from
    // another thread afterwards.
    ProjectDocument projectSnapshot();
    // Puts a project's picture, painting and settings in the window as they were saved, with a fresh
    // history. False, with nothing changed, when its photo cannot be made.
    bool restoreFromProject(const ProjectDocument& project, QString* error = nullptr);
    // Writes the session as a project; false with an alert on failure.
    bool saveProjectTo(const QString& path);
    bool isProjectDocument() const { return photo_.mimeType == QLatin1String(ProjectDocument::kMimeType); }

    // ---- autosave ----
    // The unsaved session kept on disk, and the recovery of those editors left behind.
    WindowAutosave* autosave() const { return autosave_; }

    // ---- help, preferences and the small windows ----
    WindowHelp* help() const { return help_; }
    // Page Setup: the paper and orientation that Print then uses.
    void runPageLayout();
    QPrinter& printer();
    // The hold-to-compare button: the untouched photo on the canvas while it is held.
    ImageButton* advancedCompareButton() const { return advancedCompareButton_; }

    // ---- sharing ----
    WindowSharing* sharing() const { return sharing_; }
    // The share button, on while the sharing pane is open.
    ImageButton* shareButton() const { return shareButton_; }

    // ---- menus ----
    // Whether the command is available now.
    bool validateUserInterfaceItem(const QString& action) const;
    QAction* action(const QString& name) const { return actions_.value(name); }

    // The editing of the picture on screen: its settings, painting and history.
    EditSession* editSession() const { return session_; }
    // The preferences and state the window keeps.
    Settings& settings() const { return *settings_; }
    // A modal alert over the window.
    void showAlert(const QString& message, const QString& informativeText);

    QWidget* contentView() const { return contentView_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // start-up
    void buildContentView();
    void buildTopBar();
    void buildMenus();
    QAction* addCommand(QMenu* menu, const QString& name, const QString& title, const QKeySequence& keys,
                        std::function<void()> run);
    void validateMenus();
    void buildExportMenu(QMenu* file);
    void removeExportFolder();
    void observe();
    // painting
    void beginEnterPainter();
    void leavePainter();
    void layOutContent();
    // The smallest window the editor works in, never larger than the screen it is on.
    void fitMinimumSizeToScreen();
    void validateResizableButtons();
    // The window hears a tool panel while it is the window's own (its picker button), and answers
    // its questions (the brush preview and pointer).
    void connectToolPanel(ToolPanel* panel);
    void disconnectToolPanel(ToolPanel* panel);
    void redrawCanvas();
    // opening
    void setImage(BitmapRef image);
    // Puts `photo` on a fresh canvas, with a painting or none, as a step undo can take back to the
    // photo and painting before it (a photo other than the one opened waits in the history folder
    // meanwhile). The picture's settings are the session's, a step of their own.
    void replacePhotoUndoable(BitmapRef photo, const Image& mask = {}, const Image& colorLayer = {});
    // The picture settings a new photo starts with: the defaults, with the treatment chosen in the
    // preferences.
    PictureSettings startingPictureSettings() const;
    void setPhotoWithPainting(BitmapRef photo, const Image& mask, const Image& colorLayer);
    void installPhoto(BitmapRef photo);
    void removeCurrentDialog();
    void openProjectURL(const QString& path);
    // The file the window now represents, after opening or saving it.
    void representFile(const QString& path);
    // Before another photo takes the window: what is up over the current one goes.
    void closeInWindowDialogs();
    // keys
    int correctKey(const QKeyEvent* event) const;
    // A repeat of a held key that a once-per-press command must not see (true: swallow `event`).
    bool isHeldKeyRepeat(QObject* watched, QEvent* event);
    // The keyboard left the window: what held keys armed is let go.
    void releaseHeldKeys();

    EditSession* session_;
    Settings* settings_;
    int tool_ = Adjust;
    OpenedPhoto photo_;
    bool isDisabledInteraction_ = false;
    bool fullScreen_ = false;

    QWidget* contentView_ = nullptr;
    FramedPanel* backgroundView_ = nullptr;
    QWidget* topBarView_ = nullptr;
    QWidget *shadowLeftView_ = nullptr, *shadowRightView_ = nullptr;
    QPointer<CanvasView> painterView_;
    QPointer<ToolPanel> drawingToolbar_;
    std::unique_ptr<OverlayDialog> currentDialog_;
    ImageButton* shareButton_ = nullptr;
    WindowSharing* sharing_ = nullptr;
    WindowHelp* help_ = nullptr;
    WindowAutosave* autosave_ = nullptr;
    WindowCompare* compare_ = nullptr;
    WindowPicker* picker_ = nullptr;
    WindowSaving* saving_ = nullptr;
    WindowStart* start_ = nullptr;
    WindowBackdrop* backdrop_ = nullptr;
    WindowOpening* opening_ = nullptr;
    WindowImport* import_ = nullptr;
    WindowReview* review_ = nullptr;
    ImageButton *undoButton_ = nullptr, *redoButton_ = nullptr, *compareButton_ = nullptr,
                *fitToScreenButton_ = nullptr, *actualSizeButton_ = nullptr, *zoomInButton_ = nullptr,
                *zoomOutButton_ = nullptr, *applyButton_ = nullptr, *openButton_ = nullptr,
                *saveButton_ = nullptr, *advancedCompareButton_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    ZoomField* zoomField_ = nullptr;
    QMenu* maskColourMenu_ = nullptr;
    void applyShowMaskColour();
    QHash<QString, QAction*> actions_;
    QMenu* backgroundMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    bool restoreCompare_ = false, restorePicker_ = false;
    struct {
        int key = 0;
        quint64 time = 0;
    } heldKeyRelease_; // the last key let go, to tell a held key's repeats from new presses
    std::unique_ptr<QPrinter> printer_;
    void nameUndoRedoCommands();
    bool enteringPainter_ = false; // a canvas and tool panel being set up
    void validateEdited();
};

} // namespace pimavo
