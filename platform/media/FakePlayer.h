#pragma once

#include "platform/media/Player.h"

#include <QList>
#include <QPointer>
#include <QStringList>

namespace media {

// A player without media for tests: it records what a screen asks of it and
// reports the open states that the test chooses.
class FakePlayer : public Player {
    Q_OBJECT
public:
    explicit FakePlayer(QWidget* parent = nullptr);

    PlayerSettings settings() const override { return settings_; }
    void setSettings(const PlayerSettings& settings) override;

    QString url() const override { return settings_.url; }
    // Records the URL and reports Changing and Loading, as the real player
    // does; Open is up to the test (reportOpenState).
    void setUrl(const QString& path) override;
    int openState() const override { return openState_; }

    void play() override;
    void pause() override;
    void stop() override;
    bool isPlaying() const override { return playing_; }

    double currentPosition() const override { return position_; }
    void setCurrentPosition(double seconds) override;
    double duration() const override { return duration_; }
    void setDuration(double seconds) { duration_ = seconds; }

    QString errorString() const override { return error_; }

    // Emits openStateChanged(state); Open starts playing with autoStart.
    void reportOpenState(int state);
    void reportError(const QString& message);

    // Every call made on the player, in order: "url <path>", "play",
    // "pause", "stop", "position <seconds>".
    const QStringList& calls() const { return calls_; }
    // Every position set, in seconds.
    const QList<double>& positionsSet() const { return positions_; }

private:
    PlayerSettings settings_;
    int openState_ = Closed;
    bool playing_ = false;
    double position_ = 0;
    double duration_ = 0;
    QString error_;
    QStringList calls_;
    QList<double> positions_;
};

// Installs a factory of fake players for the lifetime of this object and
// keeps every player it made; the previous factory comes back afterwards.
class FakePlayerFactory {
public:
    FakePlayerFactory();
    ~FakePlayerFactory();
    FakePlayerFactory(const FakePlayerFactory&) = delete;
    FakePlayerFactory& operator=(const FakePlayerFactory&) = delete;

    int created() const { return int(players_.size()); }
    // The last player made, or null when none was made or it is gone.
    FakePlayer* last() const;
    QList<QPointer<FakePlayer>> players() const { return players_; }

private:
    PlayerFactory previous_;
    QList<QPointer<FakePlayer>> players_;
};

} // namespace media
