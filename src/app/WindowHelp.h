// The editing window's Help menu and small windows: the user guide (in the browser, or a window
// of its own without one), the help videos, the program's web pages, and the welcome, about,
// acknowledgements and preferences windows. Each small window is made once and raised when asked
// for again.
#pragma once

#include "HelpVideoWindow.h"
#include "core/Settings.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <functional>

class QNetworkAccessManager;

namespace pimavo {

class EditorWindow;

class WindowHelp : public QObject {
    Q_OBJECT
public:
    explicit WindowHelp(EditorWindow* window);

    void buildMenu();
    // The user guide shipped with the program, in the browser.
    void showGuide();
    // A page of the program's web site, in the browser.
    void openWebPage(Settings::WebPage page);
    void showVideos();
    void showVideo(const QString& name);
    void showAbout();
    void showAcknowledgements();
    void showPreferences();
    // The welcome window beside the start screen, without blocking the window; raised when up.
    QWidget* showWelcome();

    QWidget* welcomeWindow() const { return welcome_; }
    QWidget* preferencesWindow() const { return preferences_; }
    QWidget* aboutWindow() const { return about_; }
    QWidget* acknowledgementsWindow() const { return acknowledgements_; }
    // The guide in a window of its own, when no browser could show it.
    QWidget* guideWindow() const { return guide_; }
    HelpVideoWindow* videoWindow() const { return videos_; }

    // The address a web-page command opens: the one chosen in the settings when set, else the
    // program's own page.
    QUrl webPageAddress(Settings::WebPage page) const;
    // The program's own address of a page, which the settings may replace.
    static QUrl ownAddress(Settings::WebPage page);
    // Where the help videos' list comes from: $PIMAVO_HELP_VIDEOS_URL, else the web-page rule.
    QUrl helpVideosAddress() const;

private:
    // Opens an address in the user's browser; false, with an alert, when it cannot be.
    bool openAddress(const QUrl& address);
    void showSmallWindow(QPointer<QWidget>& window, const std::function<QWidget*()>& make,
                         bool modal = false);

    EditorWindow* window_;
    QPointer<QWidget> welcome_, preferences_, about_, acknowledgements_, guide_;
    QPointer<HelpVideoWindow> videos_;
    QNetworkAccessManager* network_ = nullptr; // the program's one, made on first use
};

} // namespace pimavo
