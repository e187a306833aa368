// The small windows around the editor: welcome, about, acknowledgements, preferences.
#pragma once

#include <QDialog>
#include <QRect>
#include <functional>

namespace pimavo {

class UserDefaults;

// How the editor works, in a few lines; shown at start until the user turns it off. It does not
// block the window: the start screen's buttons work while it is up.
class WelcomeWindow : public QDialog {
    Q_OBJECT
public:
    WelcomeWindow(UserDefaults* defaults, QWidget* parent = nullptr);
    // Where a window of `size` goes on `screen` without covering `panel`: below it, above it, to its
    // right or to its left; when none has room, clear of `buttons` at least (all global coordinates).
    static QPoint placeAvoiding(QSize size, const QRect& panel, const QRect& buttons, const QRect& screen);
};

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

// The libraries the program is built on and their licences.
class AcknowledgementsWindow : public QDialog {
    Q_OBJECT
public:
    explicit AcknowledgementsWindow(QWidget* parent = nullptr);
    static QString acknowledgementsText();
};

class PreferencesWindow : public QDialog {
    Q_OBJECT
public:
    // `backgroundChanged` applies a newly chosen background to the window at once.
    PreferencesWindow(UserDefaults* defaults, std::function<void(int)> backgroundChanged,
                      QWidget* parent = nullptr);
};

} // namespace pimavo
