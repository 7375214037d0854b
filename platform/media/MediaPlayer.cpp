#include "platform/media/MediaPlayer.h"

#include <QAction>
#include <QAudioOutput>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>

#include <algorithm>

namespace media {

namespace {
QUrl toUrl(const QString& path) {
    // A scheme of more than one letter is a URL; anything else (also a
    // drive letter) is a file path.
    const int colon = path.indexOf(QLatin1String("://"));
    if (colon > 1)
        return QUrl(path);
    return QUrl::fromLocalFile(path);
}
} // namespace

MediaPlayer::MediaPlayer(QWidget* parent) : Player(parent) {
    player_ = new QMediaPlayer(this);
    audio_ = new QAudioOutput(this);
    player_->setAudioOutput(audio_);

    screen_ = new QStackedWidget(this);
    video_ = new QVideoWidget(screen_);
    audioLabel_ = new QLabel(screen_);
    audioLabel_->setAlignment(Qt::AlignCenter);
    audioLabel_->setWordWrap(true);
    audioLabel_->setAutoFillBackground(true);
    QPalette dark = audioLabel_->palette();
    dark.setColor(QPalette::Window, QColor(24, 24, 24));
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    audioLabel_->setPalette(dark);
    screen_->addWidget(audioLabel_);
    screen_->addWidget(video_);
    player_->setVideoOutput(video_);

    bar_ = new QWidget(this);
    playButton_ = new QToolButton(bar_);
    playButton_->setObjectName(QStringLiteral("BReproduzir"));
    playButton_->setAutoRaise(true);
    stopButton_ = new QToolButton(bar_);
    stopButton_->setObjectName(QStringLiteral("BParar"));
    stopButton_->setAutoRaise(true);
    stopButton_->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    stopButton_->setToolTip(tr("Parar"));
    seek_ = new QSlider(Qt::Horizontal, bar_);
    seek_->setObjectName(QStringLiteral("SPosicao"));
    seek_->setRange(0, 0);
    time_ = new QLabel(bar_);
    time_->setObjectName(QStringLiteral("LTempo"));
    volumeIcon_ = new QLabel(bar_);
    volumeIcon_->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(16, 16));
    volume_ = new QSlider(Qt::Horizontal, bar_);
    volume_->setObjectName(QStringLiteral("SVolume"));
    volume_->setRange(0, 100);
    volume_->setFixedWidth(80);
    volume_->setToolTip(tr("Volume"));

    auto* barLayout = new QHBoxLayout(bar_);
    barLayout->setContentsMargins(4, 2, 4, 2);
    barLayout->addWidget(playButton_);
    barLayout->addWidget(stopButton_);
    barLayout->addWidget(seek_, 1);
    barLayout->addWidget(time_);
    barLayout->addWidget(volumeIcon_);
    barLayout->addWidget(volume_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(screen_, 1);
    layout->addWidget(bar_);

    playAction_ = new QAction(this);
    connect(playAction_, &QAction::triggered, this, &MediaPlayer::togglePlay);
    stopAction_ = new QAction(style()->standardIcon(QStyle::SP_MediaStop), tr("Parar"), this);
    connect(stopAction_, &QAction::triggered, this, &MediaPlayer::stop);
    fullScreenAction_ = new QAction(tr("Tela cheia"), this);
    connect(fullScreenAction_, &QAction::triggered, this, [this] { video_->setFullScreen(true); });
    addAction(playAction_);
    addAction(stopAction_);
    addAction(fullScreenAction_);

    connect(playButton_, &QToolButton::clicked, this, &MediaPlayer::togglePlay);
    connect(stopButton_, &QToolButton::clicked, this, &MediaPlayer::stop);
    connect(seek_, &QSlider::sliderPressed, this, [this] { sliderHeld_ = true; });
    connect(seek_, &QSlider::sliderReleased, this, [this] {
        sliderHeld_ = false;
        setCurrentPosition(seek_->value() / 1000.0);
    });
    connect(seek_, &QSlider::actionTriggered, this, [this](int action) {
        // Clicks on the groove and keys move the position at once.
        if (action != QAbstractSlider::SliderMove && !sliderHeld_)
            setCurrentPosition(seek_->sliderPosition() / 1000.0);
    });
    connect(volume_, &QSlider::valueChanged, this, [this](int value) {
        settings_.volume = value;
        audio_->setVolume(value / 100.0f);
    });

    connect(player_, &QMediaPlayer::mediaStatusChanged, this, &MediaPlayer::onMediaStatus);
    connect(player_, &QMediaPlayer::seekableChanged, this, &MediaPlayer::onSeekable);
    connect(player_, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error error, const QString& text) {
                if (error != QMediaPlayer::NoError)
                    fail(text);
            });
    connect(player_, &QMediaPlayer::playbackStateChanged, this, [this] {
        updatePlayButton();
        emit playingChanged(isPlaying());
    });
    connect(player_, &QMediaPlayer::durationChanged, this, [this](qint64 ms) {
        seek_->setRange(0, int(std::min<qint64>(ms, INT_MAX)));
        updateTime();
    });
    connect(player_, &QMediaPlayer::positionChanged, this, [this](qint64 ms) {
        if (!sliderHeld_)
            seek_->setValue(int(std::min<qint64>(ms, INT_MAX)));
        updateTime();
    });
    connect(player_, &QMediaPlayer::hasVideoChanged, this, [this](bool video) {
        screen_->setCurrentWidget(video ? static_cast<QWidget*>(video_) : audioLabel_);
    });

    setSettings(PlayerSettings{});
    updatePlayButton();
    updateTime();
}

MediaPlayer::~MediaPlayer() {
    // Stop before the outputs go, so nothing plays on after the window closes.
    player_->disconnect(this);
    player_->stop();
}

void MediaPlayer::setSettings(const PlayerSettings& settings) {
    const bool reopen = settings.url != settings_.url;
    settings_ = settings;
    settings_.playCount = std::max(1, settings.playCount);
    settings_.volume = std::clamp(settings.volume, 0, 100);
    if (settings_.rate <= 0)
        settings_.rate = 1.0;

    player_->setPlaybackRate(settings_.rate);
    volume_->setValue(settings_.volume);
    audio_->setVolume(settings_.volume / 100.0f);
    video_->setAspectRatioMode(settings_.stretchToFit ? Qt::IgnoreAspectRatio : Qt::KeepAspectRatio);
    setContextMenuPolicy(settings_.contextMenu ? Qt::ActionsContextMenu : Qt::NoContextMenu);
    video_->setContextMenuPolicy(settings_.contextMenu ? Qt::ActionsContextMenu : Qt::NoContextMenu);
    if (settings_.contextMenu)
        video_->addActions(actions());
    applyVisibleParts();
    if (video_->isFullScreen() != settings_.fullScreen)
        video_->setFullScreen(settings_.fullScreen);
    if (reopen)
        setUrl(settings_.url);
}

void MediaPlayer::applyVisibleParts() {
    const UiMode mode = settings_.uiMode;
    screen_->setVisible(mode != UiMode::Invisible);
    bar_->setVisible(mode == UiMode::Full || mode == UiMode::Mini);
    seek_->setVisible(mode == UiMode::Full);
    volumeIcon_->setVisible(mode == UiMode::Full);
    volume_->setVisible(mode == UiMode::Full);
}

void MediaPlayer::setUrl(const QString& path) {
    settings_.url = path;
    error_.clear();
    playsDone_ = 0;
    pendingSeekMs_ = -1;
    playWhenOpen_ = settings_.autoStart;
    player_->stop();
    audioLabel_->setText(path.isEmpty() ? QString()
                                        : QStringLiteral("<b>%1</b>").arg(QFileInfo(path).fileName().toHtmlEscaped()));
    screen_->setCurrentWidget(audioLabel_);
    if (path.isEmpty()) {
        player_->setSource(QUrl());
        setOpenState(Closed);
        return;
    }
    setOpenState(Changing);
    player_->setSource(toUrl(path));
    if (openState_ == Changing && player_->mediaStatus() == QMediaPlayer::LoadingMedia)
        setOpenState(Loading);
}

void MediaPlayer::setOpenState(int state) {
    if (openState_ == state)
        return;
    openState_ = state;
    emit openStateChanged(state);
}

void MediaPlayer::fail(const QString& message) {
    if (openState_ == Failed)
        return;
    error_ = message.isEmpty() ? tr("Não foi possível abrir o arquivo.") : message;
    playWhenOpen_ = false;
    pendingSeekMs_ = -1;
    audioLabel_->setText(QStringLiteral("<b>%1</b><br>%2")
                             .arg(QFileInfo(settings_.url).fileName().toHtmlEscaped(), error_.toHtmlEscaped()));
    screen_->setCurrentWidget(audioLabel_);
    QPointer<MediaPlayer> alive(this);
    setOpenState(Failed);
    if (!alive)
        return;
    emit errorOccurred(error_);
    if (alive && settings_.errorDialogs) {
        auto* box = new QMessageBox(QMessageBox::Warning, window()->windowTitle(), error_, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
}

void MediaPlayer::onMediaStatus(QMediaPlayer::MediaStatus status) {
    switch (status) {
    case QMediaPlayer::NoMedia:
        if (settings_.url.isEmpty())
            setOpenState(Closed);
        break;
    case QMediaPlayer::LoadingMedia:
        if (openState_ != Open)
            setOpenState(Loading);
        break;
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::BufferingMedia:
    case QMediaPlayer::BufferedMedia:
    case QMediaPlayer::StalledMedia:
        if (openState_ == Changing || openState_ == Loading) {
            // Report first: a handler may set the position before playing.
            QPointer<MediaPlayer> alive(this);
            setOpenState(Open);
            if (alive && playWhenOpen_ && openState_ == Open)
                play();
        }
        break;
    case QMediaPlayer::EndOfMedia:
        if (++playsDone_ < settings_.playCount) {
            player_->setPosition(0);
            player_->play();
        }
        break;
    case QMediaPlayer::InvalidMedia:
        fail(player_->errorString());
        break;
    }
}

void MediaPlayer::onSeekable(bool seekable) {
    if (seekable && pendingSeekMs_ >= 0) {
        const qint64 ms = pendingSeekMs_;
        pendingSeekMs_ = -1;
        player_->setPosition(ms);
    }
}

void MediaPlayer::play() {
    if (openState_ != Open) {
        playWhenOpen_ = !settings_.url.isEmpty() && openState_ != Failed;
        return;
    }
    playWhenOpen_ = false;
    if (player_->mediaStatus() == QMediaPlayer::EndOfMedia)
        playsDone_ = 0;
    player_->play();
}

void MediaPlayer::pause() {
    playWhenOpen_ = false;
    player_->pause();
}

void MediaPlayer::stop() {
    playWhenOpen_ = false;
    pendingSeekMs_ = -1;
    player_->stop();
}

bool MediaPlayer::isPlaying() const {
    return player_->playbackState() == QMediaPlayer::PlayingState;
}

double MediaPlayer::currentPosition() const {
    if (pendingSeekMs_ >= 0)
        return pendingSeekMs_ / 1000.0;
    return player_->position() / 1000.0;
}

void MediaPlayer::setCurrentPosition(double seconds) {
    const qint64 ms = std::max<qint64>(0, qRound64(seconds * 1000.0));
    if (player_->isSeekable()) {
        pendingSeekMs_ = -1;
        player_->setPosition(ms);
    } else if (openState_ == Changing || openState_ == Loading || openState_ == Open) {
        pendingSeekMs_ = ms;
    }
}

double MediaPlayer::duration() const {
    return player_->duration() / 1000.0;
}

QString MediaPlayer::formatTime(qint64 ms) {
    const qint64 total = std::max<qint64>(0, ms) / 1000;
    const qint64 h = total / 3600, m = total / 60 % 60, s = total % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

void MediaPlayer::updateTime() {
    time_->setText(formatTime(player_->position()) + QStringLiteral(" / ") + formatTime(player_->duration()));
}

void MediaPlayer::updatePlayButton() {
    const bool playing = isPlaying();
    const QIcon icon = style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay);
    const QString text = playing ? tr("Pausar") : tr("Reproduzir");
    playButton_->setIcon(icon);
    playButton_->setToolTip(text);
    playAction_->setIcon(icon);
    playAction_->setText(text);
}

void MediaPlayer::togglePlay() {
    if (isPlaying())
        pause();
    else
        play();
}

} // namespace media
