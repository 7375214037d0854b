#include "platform/media/FakePlayer.h"

#include <algorithm>

namespace media {

FakePlayer::FakePlayer(QWidget* parent) : Player(parent) {
    setObjectName(QStringLiteral("FakePlayer"));
}

void FakePlayer::setSettings(const PlayerSettings& settings) {
    const bool reopen = settings.url != settings_.url;
    settings_ = settings;
    if (reopen)
        setUrl(settings.url);
}

void FakePlayer::setUrl(const QString& path) {
    calls_ << QStringLiteral("url ") + path;
    settings_.url = path;
    playing_ = false;
    position_ = 0;
    error_.clear();
    if (path.isEmpty()) {
        reportOpenState(Closed);
        return;
    }
    reportOpenState(Changing);
    reportOpenState(Loading);
}

void FakePlayer::play() {
    calls_ << QStringLiteral("play");
    if (openState_ == Open && !playing_) {
        playing_ = true;
        emit playingChanged(true);
    }
}

void FakePlayer::pause() {
    calls_ << QStringLiteral("pause");
    if (playing_) {
        playing_ = false;
        emit playingChanged(false);
    }
}

void FakePlayer::stop() {
    calls_ << QStringLiteral("stop");
    position_ = 0;
    if (playing_) {
        playing_ = false;
        emit playingChanged(false);
    }
}

void FakePlayer::setCurrentPosition(double seconds) {
    calls_ << QStringLiteral("position ") + QString::number(seconds);
    positions_ << seconds;
    position_ = std::max(0.0, seconds);
}

void FakePlayer::reportOpenState(int state) {
    openState_ = state;
    QPointer<FakePlayer> alive(this);
    emit openStateChanged(state);
    if (alive && state == Open && settings_.autoStart && !playing_ && openState_ == Open) {
        playing_ = true;
        emit playingChanged(true);
    }
}

void FakePlayer::reportError(const QString& message) {
    error_ = message;
    QPointer<FakePlayer> alive(this);
    reportOpenState(Failed);
    if (alive)
        emit errorOccurred(message);
}

FakePlayerFactory::FakePlayerFactory() {
    previous_ = setPlayerFactory([this](QWidget* parent) -> Player* {
        auto* player = new FakePlayer(parent);
        players_ << QPointer<FakePlayer>(player);
        return player;
    });
}

FakePlayerFactory::~FakePlayerFactory() {
    setPlayerFactory(std::move(previous_));
}

FakePlayer* FakePlayerFactory::last() const {
    return players_.isEmpty() ? nullptr : players_.last().data();
}

} // namespace media
