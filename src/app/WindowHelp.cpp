#include "WindowHelp.h"

#include "AuxiliaryWindows.h"
#include "BrowserLauncher.h"
#include "EditorWindow.h"
#include "Translations.h"
#include "WindowBackdrop.h"
#include "WindowFrame.h"
#include "WindowStart.h"
#include "core/Dispatch.h"
#include "core/MenuText.h"
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

// A file shipped beside the program: share/pimavo when installed, the build tree's copy before.
QString sharedFile(const QString& relative) {
    const QString installed = QCoreApplication::applicationDirPath() + "/../share/pimavo/" + relative;
    if (QFileInfo::exists(installed)) return QFileInfo(installed).canonicalFilePath();
    const QString built = QStringLiteral(PIMAVO_SHARE_BUILD_DIR "/") + relative;
    return QFileInfo::exists(built) ? built : QString();
}

} // namespace

WindowHelp::WindowHelp(EditorWindow* window) : QObject(window), window_(window) {}

void WindowHelp::buildMenu() {
    //: A menu of the menu bar
    QMenu* help = window_->menuBar()->addMenu(tr("&Help"));
    window_->addCommand(help, "help_guide", tr("Pimavo &Help"), QKeySequence::HelpContents,
                        [this] { showGuide(); });
    window_->addCommand(help, "help_videos", tr("&Video Tutorials"), QKeySequence(),
                        [this] { showVideos(); });
    window_->addCommand(help, "help_start_screen", tr("Show &Welcome Screen"), QKeySequence(),
                        [this] { showWelcome(); });
    help->addSeparator();
    window_->addCommand(help, "help_support", tr("&Support"), QKeySequence(),
                        [this] { openWebPage(Settings::WebPage::Support); });
    window_->addCommand(help, "help_review", tr("&Leave a Review"), QKeySequence(),
                        [this] { openWebPage(Settings::WebPage::Review); });
    window_->addCommand(help, "help_home_page", tr("Pimavo &Website"), QKeySequence(),
                        [this] { openWebPage(Settings::WebPage::HomePage); });
    window_->addCommand(help, "help_other_products", tr("&More from Pimavo"), QKeySequence(),
                        [this] { openWebPage(Settings::WebPage::OtherProducts); });
    help->addSeparator();
    window_->addCommand(help, "help_acknowledgements", tr("A&cknowledgements"), QKeySequence(),
                        [this] { showAcknowledgements(); });
    window_->addCommand(help, "app_about", tr("&About Pimavo"), QKeySequence(), [this] { showAbout(); });
}

// ---- web pages and the guide ------------------------------------------------------------------

QUrl WindowHelp::webPageAddress(Settings::WebPage page) const {
    const QUrl chosen = QUrl::fromUserInput(window_->settings_->webPage(page));
    if (chosen.isValid() && !chosen.isEmpty()) return chosen;
    return ownAddress(page);
}

QUrl WindowHelp::ownAddress(Settings::WebPage page) {
    using P = Settings::WebPage;
    switch (page) {
    case P::Guide:
        return QUrl(QStringLiteral("https://pimavo.org/help"));
    case P::Videos:
        return QUrl(QStringLiteral("https://pimavo.org/help/videos.json"));
    case P::Support:
        return QUrl(QStringLiteral("https://pimavo.org/support"));
    case P::Review:
        return QUrl(QStringLiteral("https://pimavo.org/review"));
    case P::HomePage:
        return QUrl(QStringLiteral("https://pimavo.org"));
    case P::OtherProducts:
        return QUrl(QStringLiteral("https://pimavo.org/more"));
    case P::PrintOnCanvas:
        return QUrl(QStringLiteral("https://pimavo.org/print"));
    }
    return {};
}

QUrl WindowHelp::helpVideosAddress() const {
    const QString fromEnvironment = qEnvironmentVariable("PIMAVO_HELP_VIDEOS_URL").trimmed();
    if (!fromEnvironment.isEmpty()) return QUrl::fromUserInput(fromEnvironment);
    return webPageAddress(Settings::WebPage::Videos);
}

bool WindowHelp::openAddress(const QUrl& address) {
    const auto cannot = [this, address] {
        window_->showAlert(tr("The page could not be opened."), address.toDisplayString());
    };
    const auto& openURL = window_->services.openURL;
    if (!openURL) {
        openInBrowser(address, window_, cannot);
        return true;
    }
    const bool opened = openURL(address);
    if (!opened) cannot();
    return opened;
}

void WindowHelp::showGuide() {
    // The guide in the editor's language when it is translated, else in English; "de_AT" may
    // have a copy of its own, "de" serves it otherwise.
    const QString language = translationLanguage();
    QString guide;
    for (const QString& folder : {language, language.section('_', 0, 0)})
        if (guide.isEmpty() && folder != "en") guide = sharedFile("help/" + folder + "/index.html");
    if (guide.isEmpty()) guide = sharedFile("help/index.html");
    if (guide.isEmpty()) {
        // Not installed with the program: the same guide on the web.
        openAddress(webPageAddress(Settings::WebPage::Guide));
        return;
    }
    const QUrl address = QUrl::fromLocalFile(guide);
    // No browser to show it: the guide is plain enough for a window of the program's own.
    const auto inWindow = [this, address] {
        showSmallWindow(guide_, [this, address] {
            auto* window = new QDialog(window_);
            window->setWindowTitle(titleFromMenuText(tr("Pimavo &Help")));
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
    const auto& openURL = window_->services.openURL;
    if (!openURL)
        openInBrowser(address, window_, inWindow);
    else if (!openURL(address))
        inWindow();
}

void WindowHelp::openWebPage(Settings::WebPage page) {
    openAddress(webPageAddress(page));
}

// ---- help videos ------------------------------------------------------------------------------

void WindowHelp::showVideos() {
    if (!videos_) {
        const QString& folder = window_->services.helpVideosCacheFolder;
        const QString cache =
            folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/HelpVideos"
                             : folder;
        if (!network_) network_ = new QNetworkAccessManager(this);
        auto* window = new HelpVideoWindow(helpVideosAddress(), cache, network_, window_);
        window->setAttribute(Qt::WA_DeleteOnClose);
        // Over the editor, whole on its screen.
        QRect frame(QPoint(), window->size());
        frame.moveCenter(window_->frameGeometry().center());
        if (QScreen* on = window_->screen()) {
            // The window's own area: its title bar goes above it, inside the screen too.
            const QRect room = on->availableGeometry().adjusted(0, 32, 0, 0);
            frame.setSize(frame.size().boundedTo(room.size()));
            frame.moveTo(std::clamp(frame.x(), room.left(), room.right() + 1 - frame.width()),
                         std::clamp(frame.y(), room.top(), room.bottom() + 1 - frame.height()));
        }
        window->setGeometry(frame);
        videos_ = window;
    }
    videos_->show();
    videos_->raise();
    videos_->activateWindow();
}

void WindowHelp::showVideo(const QString& name) {
    showVideos();
    videos_->showHelpVideoWithVideoName(name);
}

// ---- the small windows ------------------------------------------------------------------------

void WindowHelp::showSmallWindow(QPointer<QWidget>& window, const std::function<QWidget*()>& make,
                                 bool modal) {
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

void WindowHelp::showAbout() {
    showSmallWindow(
        about_, [this] { return new AboutWindow(window_); }, true);
}

void WindowHelp::showAcknowledgements() {
    showSmallWindow(acknowledgements_, [this] {
        return new AcknowledgementsWindow(sharedFile("acknowledgements.html"), window_);
    });
}

void WindowHelp::showPreferences() {
    showSmallWindow(preferences_, [this] {
        return new PreferencesWindow(
            window_->settings_,
            [this](int background) {
                window_->backdrop()->show(background);
                window_->validateMenus();
            },
            window_, window_->session_);
    });
}

QWidget* WindowHelp::showWelcome() {
    if (welcome_ && welcome_->isVisible()) {
        welcome_->raise();
        return welcome_;
    }
    auto* window = new WelcomeWindow(window_->settings_, window_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QDialog::finished, window, &QObject::deleteLater);
    window->adjustSize();
    welcome_ = window;
    // Placed once the start screen is laid out and the window manager has placed the editor.
    QPointer<QWidget> shown(window);
    Dispatch::after(0.15, [this, shown] {
        if (!shown) return;
        const QRect panel = window_->start()->panelRect();
        // Where the compositor places windows, it puts a dialog over its parent by itself.
        if (panel.isValid() && window_->screen() && !windowsPlacedByCompositor()) {
            // The frame is not known before the window is shown; allow for a title bar.
            const QSize frame = shown->size() + QSize(2, 32);
            shown->move(WelcomeWindow::placeAvoiding(frame, panel, window_->start()->buttonsRect(),
                                                     window_->screen()->availableGeometry()));
        }
        shown->show();
        shown->raise();
    });
    return window;
}

} // namespace pimavo
