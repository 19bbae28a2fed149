// The screen where the game is played: level list, input, the fixed update, collisions and drawing.
#pragma once

#include "State.h"
#include "graphics/Utils.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

class Entity;
class Image;
class Map;
class Player;

class PlayState : public State
{
public:
    PlayState();
    ~PlayState() override;

    bool Init(Game* game) override;
    void CleanUp() override;
    void Pause() override {}
    void Resume() override {}
    void HandleEvents(Game* game) override;
    void Tick(Game* game) override;
    void Render(Game* game, const float& interpolation) override;

    bool IsEntityCollision(Entity* a, Entity* b);
    // The first registered entity that e touches, or null.
    Entity* GetEntityCollision(Game* game, Entity* e);
    void UpdateEntity(Game* game, Entity* e);
    void CheckPlayerCollision(Game* game, bool fromAbove);
    void AquireItem(Game* game, Entity* item);

    SDL_Event mEvent{};
    bool mBackToMenu = false;
    bool mQuitRequested = false;
    bool mNextLevel = false;
    bool mMoveLeft = false;
    bool mMoveRight = false;
    bool mDoJump = false;
    bool mDoFire = false;
    unsigned int mFireTimer = 0; // updates since the last shot
    int mAlpha = 255;
    int mCurrentMap = 0;         // index in mMaps of the level being played
    int mFadeState = 1;          // 1 fading in or playing, 2 fading out, -1 a fade-out just finished
    std::unique_ptr<Image> mBlackScreen;
    std::unique_ptr<Player> mPlayer;
    std::unique_ptr<Map> mMap;
    std::vector<Utils::Star> mStars;
    std::vector<std::string> mMaps;
};
