#include "platform/media/Player.h"

#include "platform/media/MediaPlayer.h"

namespace media {

namespace {
PlayerFactory& installedFactory() {
    static PlayerFactory factory;
    return factory;
}
} // namespace

Player* createPlayer(QWidget* parent) {
    if (const PlayerFactory& factory = installedFactory())
        return factory(parent);
    return new MediaPlayer(parent);
}

PlayerFactory setPlayerFactory(PlayerFactory factory) {
    PlayerFactory previous = std::move(installedFactory());
    installedFactory() = std::move(factory);
    return previous;
}

} // namespace media
