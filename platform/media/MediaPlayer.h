#pragma once

#include "platform/media/Player.h"

#include <QMediaPlayer>
#include <QPointer>

class QAudioOutput;
class QLabel;
class QSlider;
class QStackedWidget;
class QToolButton;
class QVideoWidget;
class QAction;

namespace media {

// The player over Qt Multimedia: a picture area (video, or the file name for
// audio) above a transport bar. Open states follow the media status:
// Loading while the file is read, Open once it is loaded (reported once per
// opening), Failed on an error or an unreadable file.
class MediaPlayer : public Player {
    Q_OBJECT
public:
    explicit MediaPlayer(QWidget* parent = nullptr);
    ~MediaPlayer() override;

    PlayerSettings settings() const override { return settings_; }
    void setSettings(const PlayerSettings& settings) override;

    QString url() const override { return settings_.url; }
    void setUrl(const QString& path) override;
    int openState() const override { return openState_; }

    void play() override;
    void pause() override;
    void stop() override;
    bool isPlaying() const override;

    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    double duration() const override;

    QString errorString() const override { return error_; }

    // Time as the transport bar shows it: m:ss, or h:mm:ss from one hour on.
    static QString formatTime(qint64 ms);

private:
    void setOpenState(int state);
    void fail(const QString& message);
    void onMediaStatus(QMediaPlayer::MediaStatus status);
    void onSeekable(bool seekable);
    void applyVisibleParts();
    void updateTime();
    void updatePlayButton();
    void togglePlay();

    PlayerSettings settings_;
    int openState_ = Closed;
    QString error_;
    int playsDone_ = 0;
    qint64 pendingSeekMs_ = -1;
    bool playWhenOpen_ = false;
    bool sliderHeld_ = false;

    QMediaPlayer* player_ = nullptr;
    QAudioOutput* audio_ = nullptr;
    QStackedWidget* screen_ = nullptr;
    QVideoWidget* video_ = nullptr;
    QLabel* audioLabel_ = nullptr;
    QWidget* bar_ = nullptr;
    QToolButton* playButton_ = nullptr;
    QToolButton* stopButton_ = nullptr;
    QSlider* seek_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* volumeIcon_ = nullptr;
    QSlider* volume_ = nullptr;
    QAction* playAction_ = nullptr;
    QAction* stopAction_ = nullptr;
    QAction* fullScreenAction_ = nullptr;
};

} // namespace media
