// The small windows around the editor: welcome, about, acknowledgements, preferences.
#pragma once

#include <QDialog>
#include <functional>

namespace pimavo {

class UserDefaults;

// How the editor works, in a few lines; shown at start until the user turns it off.
class WelcomeWindow : public QDialog {
    Q_OBJECT
public:
    WelcomeWindow(UserDefaults* defaults, QWidget* parent = nullptr);
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
