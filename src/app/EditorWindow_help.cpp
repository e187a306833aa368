// The Help menu and the small windows: the user guide, the help videos, the web pages, welcome,
// about, acknowledgements and preferences; and Page Setup, whose paper Print uses.
#include "AuxiliaryWindows.h"
#include "EditorWindow.h"
#include "BrowserLauncher.h"
#include "core/Strings.h"
#include "core/Settings.h"
#include "widgets/ImageButton.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QNetworkAccessManager>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

namespace pimavo {

namespace {

QString text(const char* key) {
    return Strings::shared().localized(QString::fromLatin1(key));
}

// A file shipped beside the program: share/pimavo when installed, the build tree's copy before.
QString sharedFile(const QString& relative) {
    const QString installed = QCoreApplication::applicationDirPath() + "/../share/pimavo/" + relative;
    if (QFileInfo::exists(installed)) return QFileInfo(installed).canonicalFilePath();
    const QString built = QStringLiteral(PIMAVO_SHARE_BUILD_DIR "/") + relative;
    return QFileInfo::exists(built) ? built : QString();
}

} // namespace

void EditorWindow::buildHelpMenu() {
    QMenu* help = menuBar()->addMenu(text("kMenuHelp"));
    addCommand(help, "help_guide", text("kMenuPimavoHelp"), QKeySequence::HelpContents,
               [this] { helpMenuItemClick(); });
    addCommand(help, "help_videos", text("kMenuVideoTutorials"), QKeySequence(),
               [this] { videoHelpsItemClick(); });
    addCommand(help, "help_start_screen", text("kMenuWelcome"), QKeySequence(),
               [this] { showWelcomeScreen(); });
    help->addSeparator();
    addCommand(help, "help_support", text("kMenuSupport"), QKeySequence(),
               [this] { supportMenuItemClick(); });
    addCommand(help, "help_review", text("kMenuLeaveReview"), QKeySequence(),
               [this] { leaveReviewMenuItemClick(); });
    addCommand(help, "help_home_page", text("kMenuHomePage"), QKeySequence(),
               [this] { homePageMenuItemClick(); });
    addCommand(help, "help_other_products", text("kMenuOtherProducts"), QKeySequence(),
               [this] { otherProductsMenuItemClick(); });
    help->addSeparator();
    addCommand(help, "help_acknowledgements", text("kMenuAcknowledgements"), QKeySequence(),
               [this] { acknowledgementsMenuItemClick(); });
    addCommand(help, "app_about", text("kMenuAbout"), QKeySequence(),
               [this] { aboutMenuItemClick(); });
}

// ---- web pages and the guide ------------------------------------------------------------------

QUrl EditorWindow::webPageAddress(Settings::WebPage page) const {
    const QUrl chosen = QUrl::fromUserInput(settings_->webPage(page));
    if (chosen.isValid() && !chosen.isEmpty()) return chosen;
    using P = Settings::WebPage;
    const char* own = "";
    switch (page) {
    case P::Guide: own = "kStringHelpLink"; break;
    case P::Videos: own = "kStringHelpVideosLink"; break;
    case P::Support: own = "kStringSupportLink"; break;
    case P::Review: own = "kStringReviewLink"; break;
    case P::HomePage: own = "kStringHomePageLink"; break;
    case P::OtherProducts: own = "kStringOtherProductsLink"; break;
    case P::PrintOnCanvas: own = "kStringPrintOnCanvasLink"; break;
    }
    return QUrl(Strings::shared().string(QString::fromLatin1(own)));
}

QUrl EditorWindow::helpVideosAddress() const {
    const QString fromEnvironment = qEnvironmentVariable("PIMAVO_HELP_VIDEOS_URL").trimmed();
    if (!fromEnvironment.isEmpty()) return QUrl::fromUserInput(fromEnvironment);
    return webPageAddress(Settings::WebPage::Videos);
}

bool EditorWindow::openAddress(const QUrl& address) {
    const auto cannot = [this, address] { showAlert(text("kCannotOpenAddress"), address.toDisplayString()); };
    if (!services.openURL) {
        openInBrowser(address, this, cannot);
        return true;
    }
    const bool opened = services.openURL(address);
    if (!opened) cannot();
    return opened;
}

void EditorWindow::helpMenuItemClick() {
    const QString guide = sharedFile("help/index.html");
    if (guide.isEmpty()) {
        // Not installed with the program: the same guide on the web.
        openAddress(webPageAddress(Settings::WebPage::Guide));
        return;
    }
    const QUrl address = QUrl::fromLocalFile(guide);
    // No browser to show it: the guide is plain enough for a window of the program's own.
    const auto inWindow = [this, address] {
        showAuxiliaryWindow(guideWindow_, [this, address] {
            auto* window = new QDialog(this);
            window->setWindowTitle(Strings::titleFromMenuText(text("kMenuPimavoHelp")));
            auto* browser = new QTextBrowser;
            browser->setObjectName("guide");
            browser->setOpenExternalLinks(true);
            browser->setSource(address);
            auto* layout = new QVBoxLayout(window);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->addWidget(browser);
            window->resize(720, 640);
            return window;
        });
    };
    if (!services.openURL)
        openInBrowser(address, this, inWindow);
    else if (!services.openURL(address))
        inWindow();
}

void EditorWindow::supportMenuItemClick() {
    openAddress(webPageAddress(Settings::WebPage::Support));
}

void EditorWindow::leaveReviewMenuItemClick() {
    openAddress(webPageAddress(Settings::WebPage::Review));
}

void EditorWindow::homePageMenuItemClick() {
    openAddress(webPageAddress(Settings::WebPage::HomePage));
}

void EditorWindow::otherProductsMenuItemClick() {
    openAddress(webPageAddress(Settings::WebPage::OtherProducts));
}

void EditorWindow::printOnCanvasButtonClick() {
    openAddress(webPageAddress(Settings::WebPage::PrintOnCanvas));
}

// ---- help videos ------------------------------------------------------------------------------

void EditorWindow::videoHelpsItemClick() {
    if (!videoHelpWindow_) {
        const QString cache =
            services.helpVideosCacheFolder.isEmpty()
                ? QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/HelpVideos"
                : services.helpVideosCacheFolder;
        if (!network_) network_ = new QNetworkAccessManager(this);
        auto* window = new HelpVideoWindow(helpVideosAddress(), cache, network_, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        // Over the editor, whole on its screen.
        QRect frame(QPoint(), window->size());
        frame.moveCenter(frameGeometry().center());
        if (QScreen* on = screen()) {
            // The window's own area: its title bar goes above it, inside the screen too.
            const QRect room = on->availableGeometry().adjusted(0, 32, 0, 0);
            frame.setSize(frame.size().boundedTo(room.size()));
            frame.moveTo(std::clamp(frame.x(), room.left(), room.right() + 1 - frame.width()),
                         std::clamp(frame.y(), room.top(), room.bottom() + 1 - frame.height()));
        }
        window->setGeometry(frame);
        videoHelpWindow_ = window;
    }
    videoHelpWindow_->show();
    videoHelpWindow_->raise();
    videoHelpWindow_->activateWindow();
}

void EditorWindow::showHelpVideoWithVideoName(const QString& name) {
    videoHelpsItemClick();
    videoHelpWindow_->showHelpVideoWithVideoName(name);
}

// ---- the small windows ------------------------------------------------------------------------

void EditorWindow::showAuxiliaryWindow(QPointer<QWidget>& window,
                                                 const std::function<QWidget*()>& make, bool modal) {
    if (!window) {
        window = make();
        window->setAttribute(Qt::WA_DeleteOnClose);
        // Modal without a nested event loop: the window's own commands wait, the program does not.
        if (modal) window->setWindowModality(Qt::ApplicationModal);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void EditorWindow::aboutMenuItemClick() {
    showAuxiliaryWindow(
        aboutWindow_, [this] { return new AboutWindow(this); }, true);
}

void EditorWindow::acknowledgementsMenuItemClick() {
    showAuxiliaryWindow(acknowledgementsWindow_, [this] {
        return new AcknowledgementsWindow(sharedFile("acknowledgements.html"), this);
    });
}

void EditorWindow::preferencesMenuItemClick() {
    showAuxiliaryWindow(preferencesWindow_, [this] {
        return new PreferencesWindow(
            settings_,
            [this](int background) {
                validateBackgroundForIndex(background);
                validateMenus();
            },
            this, session_);
    });
}

QWidget* EditorWindow::showWelcomeScreen() {
    if (welcome_ && welcome_->isVisible()) {
        welcome_->raise();
        return welcome_;
    }
    auto* window = new WelcomeWindow(settings_, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QDialog::finished, window, &QObject::deleteLater);
    window->adjustSize();
    welcome_ = window;
    // Placed once the start screen is laid out and the window manager has placed the editor.
    QPointer<QWidget> shown(window);
    Dispatch::after(0.15, [this, shown] {
        if (!shown) return;
        const QRect panel = startScreenPanelRect();
        if (panel.isValid() && screen()) {
            // The frame is not known before the window is shown; allow for a title bar.
            const QSize frame = shown->size() + QSize(2, 32);
            shown->move(WelcomeWindow::placeAvoiding(frame, panel, startScreenButtonsRect(),
                                                     screen()->availableGeometry()));
        }
        shown->show();
        shown->raise();
    });
    return window;
}

// ---- page setup -------------------------------------------------------------------------------

QPrinter& EditorWindow::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void EditorWindow::runPageLayout() {
    if (services.pageSetupDialog) {
        services.pageSetupDialog(printer());
        return;
    }
    QPageSetupDialog dialog(&printer(), this);
    dialog.exec();
}

} // namespace pimavo
