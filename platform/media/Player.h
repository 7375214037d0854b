#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace media {

// Open state of a player, reported as a number. A screen waits for Open (13)
// before it moves the playback position.
enum OpenState : int {
    Closed = 0,     // no media (no URL, or the URL was cleared)
    Changing = 8,   // a new URL was given; the previous media is closed
    Loading = 11,   // the file is being opened and its format read
    Open = 13,      // the media is open: duration known, position can be set
    Failed = 20,    // the file could not be opened or played
};

// How much of the player's own user interface is shown.
enum class UiMode {
    Full,       // picture plus transport bar with position, time and volume
    Mini,       // picture plus play/pause, stop and time
    None,       // picture only
    Invisible,  // nothing is shown; the player still plays
};

// Settings that a window gives its player when it is created.
struct PlayerSettings {
    QString url;                  // file to open; empty for none
    bool autoStart = true;        // play as soon as the media is open
    double rate = 1.0;            // playback speed
    int playCount = 1;            // how many times the media is played through
    int volume = 50;              // 0 to 100
    UiMode uiMode = UiMode::Full;
    bool contextMenu = true;      // right-click menu with the transport actions
    bool errorDialogs = false;    // show a message box of its own on failures
    bool stretchToFit = false;    // fill the area, ignoring the aspect ratio
    bool fullScreen = false;

    bool operator==(const PlayerSettings&) const = default;
};

// A media player control that a window embeds. Setting the URL opens the file
// (and starts it with autoStart); every change of the open state is reported
// through openStateChanged, on the user-interface thread.
class Player : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual PlayerSettings settings() const = 0;
    // Applies every setting; a different URL opens that file.
    virtual void setSettings(const PlayerSettings& settings) = 0;

    virtual QString url() const = 0;
    virtual void setUrl(const QString& path) = 0;
    virtual int openState() const = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;

    // Position and length in seconds.
    virtual double currentPosition() const = 0;
    virtual void setCurrentPosition(double seconds) = 0;
    virtual double duration() const = 0;

    // The last failure's text; empty when none.
    virtual QString errorString() const = 0;

signals:
    void openStateChanged(int newState);
    void playingChanged(bool playing);
    void errorOccurred(const QString& message);
};

// Process-wide seam through which screens get their player. Production makes
// the Qt Multimedia player; tests install a factory of fake players.
using PlayerFactory = std::function<Player*(QWidget* parent)>;

Player* createPlayer(QWidget* parent = nullptr);
// Installs a factory (an empty one restores the real player) and returns the
// previous one.
PlayerFactory setPlayerFactory(PlayerFactory factory);

} // namespace media
