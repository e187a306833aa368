// The help videos window: the list of short videos (thumbnail, title, length) on the left, the
// player on the right with play/pause and a position bar, and a line above both that says plainly
// when the list or a video cannot be had, or when the list shown is the one kept from a last visit.
#pragma once

#include "HelpVideoLibrary.h"

#include <QWidget>

class QAudioOutput;
class QLabel;
class QListWidget;
class QMediaPlayer;
class QPushButton;
class QSlider;
class QVideoSink;

namespace pimavo {

// Paints the player's frames scaled into its bounds on black, or a line of text while there is none.
class HelpVideoView : public QWidget {
    Q_OBJECT
public:
    explicit HelpVideoView(QWidget* parent = nullptr);
    QVideoSink* videoSink() const { return sink_; }
    void setText(const QString& text);
    void clearFrame();
    bool hasFrame() const { return !frame_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVideoSink* sink_;
    QImage frame_;
    QString text_;
};

class HelpVideoWindow : public QWidget {
    Q_OBJECT
public:
    HelpVideoWindow(const QUrl& listAddress, const QString& cacheFolder,
                    QNetworkAccessManager* network = nullptr, QWidget* parent = nullptr);
    ~HelpVideoWindow() override;

    // Shows the window on one video and plays it (at once, or when the list has arrived).
    void showHelpVideoWithVideoName(const QString& name);
    void reload();

    // What the window shows, for its owner and for tests.
    QListWidget* list() const { return list_; }
    HelpVideoView* videoView() const { return view_; }
    QPushButton* playButton() const { return playButton_; }
    QSlider* positionSlider() const { return slider_; }
    QMediaPlayer* player() const { return player_; }
    QString message() const;
    QString currentVideoName() const { return current_; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void fillList(bool fromCache, const QString& problem);
    // `aboutVideo`: the message concerns the video chosen, and goes when another is chosen.
    void showMessage(const QString& text, bool retry, bool aboutVideo = false);
    void select(const QString& name);
    void togglePlaying();
    void validateControls();
    // A player of its own for what comes next: what an earlier one still reports stays unheard.
    void makePlayer(bool withSound);

    HelpVideoLibrary* library_;
    QMediaPlayer* player_ = nullptr;
    QAudioOutput* audio_;
    bool playerFailed_ = false;
    QLabel* message_;
    QPushButton* retryButton_;
    QListWidget* list_;
    HelpVideoView* view_;
    QPushButton* playButton_;
    QSlider* slider_;
    QLabel* time_;
    QString current_, pending_;
    bool messageAboutVideo_ = false;
};

} // namespace pimavo
