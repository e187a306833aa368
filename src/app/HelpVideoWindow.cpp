#include "HelpVideoWindow.h"

#include "core/MenuText.h"
#include "widgets/WidgetStyle.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QSplitter>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoSink>

namespace pimavo {

namespace {

constexpr QSize kThumbnailSize(128, 72);

QString clock(qint64 ms) {
    const int seconds = int(std::max<qint64>(0, ms) / 1000);
    return seconds > 0 ? formatVideoDuration(seconds) : QStringLiteral("0:00");
}

} // namespace

HelpVideoView::HelpVideoView(QWidget* parent) : QWidget(parent), sink_(new QVideoSink(this)) {
    setMinimumSize(320, 180);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(sink_, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
        if (!frame.isValid()) return;
        frame_ = frame.toImage();
        update();
    });
}

void HelpVideoView::setText(const QString& text) {
    text_ = text;
    update();
}

void HelpVideoView::clearFrame() {
    frame_ = QImage();
    update();
}

void HelpVideoView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!frame_.isNull()) {
        const QSizeF fitted = QSizeF(frame_.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
        const QRectF target(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                            fitted);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, frame_);
        return;
    }
    p.setPen(style::kInkDim);
    p.setFont(style::uiFont(12));
    p.drawText(rect().adjusted(24, 24, -24, -24), Qt::AlignCenter | Qt::TextWordWrap, text_);
}

HelpVideoWindow::HelpVideoWindow(const QUrl& listAddress, const QString& cacheFolder,
                                 QNetworkAccessManager* network, QWidget* parent)
    : QWidget(parent, Qt::Window), library_(new HelpVideoLibrary(listAddress, cacheFolder, network, this)),
      audio_(new QAudioOutput(this)) {
    setPalette(style::darkPalette());
    setAutoFillBackground(true);
    setWindowTitle(titleFromMenuText(tr("&Video Tutorials")));

    message_ = new QLabel;
    message_->setWordWrap(true);
    message_->setStyleSheet(QString("color: %1;").arg(style::kAccent.name()));
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    retryButton_ = new QPushButton(tr("Try Again"));
    connect(retryButton_, &QPushButton::clicked, this, [this] {
        if (!messageAboutVideo_ || current_.isEmpty()) {
            reload();
            return;
        }
        // The video chosen, from the start, in a player of its own: fetched again unless a good
        // copy is kept.
        const QString name = current_;
        current_.clear();
        makePlayer(player_->audioOutput() != nullptr);
        select(name);
    });
    auto* messageRow = new QHBoxLayout;
    messageRow->addWidget(message_, 1);
    messageRow->addWidget(retryButton_);

    list_ = new QListWidget;
    //: The list of help videos, as a screen reader names it
    list_->setAccessibleName(tr("Help videos"));
    list_->setIconSize(kThumbnailSize);
    list_->setSpacing(2);
    list_->setMinimumWidth(kThumbnailSize.width() + 170);
    list_->setWordWrap(true);
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { select(item->data(Qt::UserRole).toString()); });
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { select(item->data(Qt::UserRole).toString()); });

    view_ = new HelpVideoView;
    view_->setText(tr("Loading the list of videos…"));
    playButton_ = new QPushButton(tr("Play"));
    playButton_->setMinimumWidth(80);
    connect(playButton_, &QPushButton::clicked, this, &HelpVideoWindow::togglePlaying);
    slider_ = new QSlider(Qt::Horizontal);
    //: The slider of where the video is, as a screen reader names it
    slider_->setAccessibleName(tr("Playback position"));
    slider_->setRange(0, 0);
    // Seeks where the user lets go or clicks, not at every step of a drag: each seek restarts decoding.
    connect(slider_, &QSlider::sliderReleased, this, [this] { player_->setPosition(slider_->value()); });
    connect(slider_, &QSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove) return;
        player_->setPosition(slider_->sliderPosition());
    });
    time_ = new QLabel;
    time_->setMinimumWidth(90);
    time_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* controls = new QHBoxLayout;
    controls->addWidget(playButton_);
    controls->addWidget(slider_, 1);
    controls->addWidget(time_);
    auto* playerBox = new QWidget;
    auto* playerLayout = new QVBoxLayout(playerBox);
    playerLayout->setContentsMargins(0, 0, 0, 0);
    playerLayout->addWidget(view_, 1);
    playerLayout->addLayout(controls);

    auto* split = new QSplitter;
    split->addWidget(list_);
    split->addWidget(playerBox);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(messageRow);
    layout->addWidget(split, 1);
    resize(960, 480);

    // Without a sound device the player's sound stage fails and takes the picture with it; the
    // videos then play silent.
    makePlayer(!QMediaDevices::audioOutputs().isEmpty());

    connect(library_, &HelpVideoLibrary::listReady, this, &HelpVideoWindow::fillList);
    connect(library_, &HelpVideoLibrary::listFailed, this, [this](const QString& problem) {
        list_->clear();
        view_->setText(QString());
        showMessage(tr("The list of help videos cannot be loaded: %1.").arg(problem), true);
    });
    connect(
        library_, &HelpVideoLibrary::thumbnailReady, this, [this](const QString& name, const QImage& image) {
            for (int i = 0; i < list_->count(); ++i) {
                QListWidgetItem* item = list_->item(i);
                if (item->data(Qt::UserRole).toString() != name) continue;
                QPixmap pm(kThumbnailSize * devicePixelRatio());
                pm.fill(Qt::black);
                QPainter p(&pm);
                const QImage fitted = image.scaled(pm.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
                p.drawImage((pm.width() - fitted.width()) / 2, (pm.height() - fitted.height()) / 2, fitted);
                p.end();
                pm.setDevicePixelRatio(devicePixelRatio());
                item->setIcon(QIcon(pm));
            }
        });
    connect(library_, &HelpVideoLibrary::videoProgress, this,
            [this](const QString& name, qint64 got, qint64 total) {
                if (name != current_ || total <= 0) return;
                const HelpVideo* v = library_->video(name);
                view_->setText(tr("Loading “%1”…").arg(v ? v->title : name) +
                               QString(" %1 %").arg(int(100 * got / total)));
            });
    connect(library_, &HelpVideoLibrary::videoReady, this, [this](const QString& name, const QString& path) {
        if (name != current_) return;
        view_->setText(QString());
        player_->setSource(QUrl::fromLocalFile(path));
        player_->play();
    });
    connect(library_, &HelpVideoLibrary::videoFailed, this,
            [this](const QString& name, const QString& problem) {
                if (name != current_) return;
                const HelpVideo* v = library_->video(name);
                view_->setText(QString());
                showMessage(tr("“%1” cannot be loaded: %2.").arg(v ? v->title : name, problem), true, true);
            });

    // Space plays and pauses wherever the focus is in the window, the list included.
    auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
    space->setAutoRepeat(false);
    connect(space, &QShortcut::activated, this, &HelpVideoWindow::togglePlaying);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);

    showMessage(QString(), false);
    validateControls();
    reload();
}

void HelpVideoWindow::makePlayer(bool withSound) {
    if (QMediaPlayer* old = player_) {
        // What the old pipeline still has to say is about a video given up.
        old->disconnect(this);
        old->stop();
        old->setVideoOutput(static_cast<QVideoSink*>(nullptr));
        old->deleteLater();
    }
    player_ = new QMediaPlayer(this);
    playerFailed_ = false;
    if (withSound) player_->setAudioOutput(audio_);
    player_->setVideoOutput(view_->videoSink());
    connect(player_, &QMediaPlayer::durationChanged, this, [this](qint64 ms) {
        slider_->setRange(0, int(ms));
        validateControls();
    });
    connect(player_, &QMediaPlayer::positionChanged, this, [this](qint64 ms) {
        if (!slider_->isSliderDown()) slider_->setValue(int(ms));
        validateControls();
    });
    connect(player_, &QMediaPlayer::playbackStateChanged, this, [this] { validateControls(); });
    connect(player_, &QMediaPlayer::seekableChanged, this, [this] { validateControls(); });
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, [this] { validateControls(); });
    connect(player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString& why) {
        // A failing stream says so more than once; the first word counts.
        if (playerFailed_ || player_->source().isEmpty()) return;
        playerFailed_ = true;
        const HelpVideo* v = library_->video(current_);
        if (player_->audioOutput()) {
            // A sound server that is not there, or not yet, fails the whole stream ("Internal
            // data stream error"): the same video again at once, silent, before anything is said.
            const QUrl source = player_->source();
            makePlayer(false);
            player_->setSource(source);
            player_->play();
            return;
        }
        view_->clearFrame();
        view_->setText(QString());
        // The kept copy may be what is broken: Try Again fetches it anew.
        if (v) library_->forgetVideo(*v);
        showMessage(tr("“%1” cannot be played: %2.").arg(v ? v->title : current_, why), true, true);
    });
}

HelpVideoWindow::~HelpVideoWindow() {
    player_->stop();
}

QString HelpVideoWindow::message() const {
    return message_->isHidden() ? QString() : message_->text();
}

void HelpVideoWindow::showMessage(const QString& text, bool retry, bool aboutVideo) {
    messageAboutVideo_ = aboutVideo;
    message_->setText(text);
    message_->setHidden(text.isEmpty());
    retryButton_->setVisible(retry);
}

void HelpVideoWindow::reload() {
    showMessage(QString(), false);
    if (list_->count() == 0) view_->setText(tr("Loading the list of videos…"));
    library_->reload();
}

void HelpVideoWindow::fillList(bool fromCache, const QString& problem) {
    list_->clear();
    for (const HelpVideo& v : library_->videos()) {
        const QString length = formatVideoDuration(v.seconds);
        auto* item = new QListWidgetItem(length.isEmpty() ? v.title : v.title + "\n" + length);
        item->setData(Qt::UserRole, v.name);
        item->setToolTip(v.title);
        QPixmap blank(kThumbnailSize);
        blank.fill(QColor(20, 20, 22));
        item->setIcon(QIcon(blank));
        list_->addItem(item);
        library_->fetchThumbnail(v);
    }
    if (fromCache)
        showMessage(tr("The help videos cannot be reached: %1. This is the list from your last visit; the "
                       "videos you watched before still play.")
                        .arg(problem),
                    true);
    else
        showMessage(list_->count() ? QString() : tr("There are no help videos yet."), false);
    if (!pending_.isEmpty()) {
        const QString name = pending_;
        pending_.clear();
        select(name);
    } else if (current_.isEmpty()) {
        view_->setText(list_->count() ? tr("Choose a video on the left.") : QString());
    }
}

void HelpVideoWindow::select(const QString& name) {
    const HelpVideo* v = library_->video(name);
    if (!v) {
        showMessage(tr("There is no help video called “%1”.").arg(name), false, true);
        return;
    }
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->data(Qt::UserRole).toString() == name) list_->setCurrentRow(i);
    if (name == current_ && player_->mediaStatus() != QMediaPlayer::NoMedia &&
        player_->error() == QMediaPlayer::NoError) {
        player_->play();
        return;
    }
    // Keeps a message about the list (offline), drops one about another video.
    if (messageAboutVideo_) showMessage(QString(), false);
    current_ = name;
    if (playerFailed_) makePlayer(player_->audioOutput() != nullptr);
    player_->stop();
    player_->setSource(QUrl());
    view_->clearFrame();
    view_->setText(tr("Loading “%1”…").arg(v->title));
    slider_->setRange(0, 0);
    validateControls();
    library_->fetchVideo(*v);
}

void HelpVideoWindow::showHelpVideoWithVideoName(const QString& name) {
    show();
    raise();
    activateWindow();
    if (library_->videos().isEmpty())
        pending_ = name;
    else
        select(name);
}

void HelpVideoWindow::togglePlaying() {
    if (player_->playbackState() == QMediaPlayer::PlayingState) {
        player_->pause();
    } else if (player_->mediaStatus() != QMediaPlayer::NoMedia) {
        // At the end, playing again starts from the beginning.
        if (player_->mediaStatus() == QMediaPlayer::EndOfMedia) player_->setPosition(0);
        player_->play();
    }
}

void HelpVideoWindow::validateControls() {
    const bool playing = player_->playbackState() == QMediaPlayer::PlayingState;
    playButton_->setText(playing ? tr("Pause") : tr("Play"));
    const bool loaded = player_->mediaStatus() != QMediaPlayer::NoMedia;
    playButton_->setEnabled(loaded);
    slider_->setEnabled(loaded && player_->isSeekable());
    time_->setText(loaded ? clock(player_->position()) + " / " + clock(player_->duration()) : QString());
}

void HelpVideoWindow::hideEvent(QHideEvent* event) {
    // Closed or minimised, the window does not go on talking.
    player_->pause();
    QWidget::hideEvent(event);
}

} // namespace pimavo
