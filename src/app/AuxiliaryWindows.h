// The small windows around the editor: welcome, about, acknowledgements, preferences.
#pragma once

#include <QDialog>
#include <QRect>
#include <functional>

namespace pimavo {

class EditSession;
class Settings;

// How the editor works, in a few lines; shown at start until the user turns it off. It does not
// block the window: the start screen's buttons work while it is up.
class WelcomeWindow : public QDialog {
    Q_OBJECT
public:
    WelcomeWindow(Settings* settings, QWidget* parent = nullptr);
    // Where a window of `size` goes on `screen` without covering `panel`: below it, above it, to its
    // right or to its left; when none has room, clear of `buttons` at least (all global coordinates).
    static QPoint placeAvoiding(QSize size, const QRect& panel, const QRect& buttons, const QRect& screen);
};

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

// The libraries the program loads and their licences, from the page the build writes after linking
// (`librariesFile`), and the pictures that come with it.
class AcknowledgementsWindow : public QDialog {
    Q_OBJECT
public:
    explicit AcknowledgementsWindow(const QString& librariesFile, QWidget* parent = nullptr);
    static QString acknowledgementsText(const QString& librariesFile);
};

// What the program keeps in its settings that a user may want to change; each change is stored at
// once: the welcome window at start, the background, the treatment of each newly opened photo, the
// type pictures without one are saved as and the quality of lossy types, the help videos' list,
// and under Advanced the services' application keys. Each control is named after its setting's key.
class PreferencesWindow : public QDialog {
    Q_OBJECT
public:
    // `backgroundChanged` applies a newly chosen background to the window at once; `undo`, when
    // given, is the history whose bounds the window states.
    PreferencesWindow(Settings* settings, std::function<void(int)> backgroundChanged,
                      QWidget* parent = nullptr, const EditSession* undo = nullptr);
};

// The type a picture without a file type is saved as, as chosen: one something writes.
QString defaultSaveType(const Settings& settings);

} // namespace pimavo
