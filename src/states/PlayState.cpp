// The play screen's set-up: level list, first level, player, overlay and starfield.
#include "states/PlayState.h"

#include "entities/Player.h"
#include "graphics/Image.h"
#include "world/Map.h"

PlayState::PlayState() = default;

PlayState::~PlayState()
{
    CleanUp();
}

bool PlayState::Init(Game*)
{
    return false;
}

void PlayState::CleanUp()
{
    mBlackScreen.reset();
    mMap.reset();
    mPlayer.reset();
}

void PlayState::HandleEvents(Game*) {}
void PlayState::Tick(Game*) {}
void PlayState::Render(Game*, const float&) {}
bool PlayState::IsEntityCollision(Entity*, Entity*)
{
    return false;
}
Entity* PlayState::GetEntityCollision(Game*, Entity*)
{
    return nullptr;
}
void PlayState::UpdateEntity(Game*, Entity*) {}
void PlayState::CheckPlayerCollision(Game*, bool) {}
void PlayState::AquireItem(Game*, Entity*) {}
