// The play screen's set-up: level list, first and following levels, player, overlay and starfield.
#include "states/PlayState.h"

#include "Game.h"
#include "audio/AudioManager.h"
#include "editor/RaceLink.h"
#include "entities/Player.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "io/FieldReader.h"
#include "io/InputScript.h"
#include "states/Card.h"
#include "states/Fade.h"
#include "states/Ghost.h"
#include "world/Map.h"

#include <algorithm>
#include <iostream>
#include <stdexcept>
#include <utility>

namespace
{
constexpr std::size_t kStarCount = 200;
const char* const kMapFolder = "data/maps/";

// The pictures play needs in a freshly loaded level's image cache: tiles and the entity sheet.
void AddPlayImages(Map& map, SDL_RendererInfo info)
{
    map.mImageManager->AddImage("tiles", "tiles", info, true);
    map.mImageManager->AddImage("sprites", "sprites", info, true);
}

// Loads a level with the pictures play draws it with; a level that cannot be loaded says why. The map
// keeps its player start across loads, so it is cleared first: a level without a player line then shows
// no start instead of the previous level's.
bool LoadLevel(Map& map, const std::string& level, SDL_RendererInfo info)
{
    map.mPlayerStartX = -1;
    map.mPlayerStartY = -1;
    if (!map.Load(level, info))
    {
        PlayState::ReportLevelFailure(level, map.mLoadFailure);
        return false;
    }
    AddPlayImages(map, info);
    return true;
}

// The level's type for the player, or null (said on stderr): a player without one could neither move
// nor be drawn.
EntityType* PlayerType(const Map& map, const std::string& level)
{
    EntityType* type = map.mEntityTypeManager->GetEntityType(Player::mTypeName);
    if (type == nullptr)
    {
        PlayState::ReportLevelFailure(level, "the entity types define no Player");
    }
    return type;
}

// The top-left corner of the player's start tile, in level pixels. Multiplied as doubles: a level may
// name any int column, and every valid one gives the same result as the int product.
double StartX(const Map& map)
{
    return static_cast<double>(map.mPlayerStartX) * map.mTileSize;
}

double StartY(const Map& map)
{
    return static_cast<double>(map.mPlayerStartY) * map.mTileSize;
}
} // namespace

PlayState::PlayState() = default;

// Play still ends as it would have, but whoever made the level can see which file is at fault.
void PlayState::ReportLevelFailure(const std::string& level, const std::string& reason)
{
    std::cerr << "Unable to load level " << level << ": " << reason << std::endl;
}

void PlayState::PlayOnly(const std::string& levelFile, std::vector<unsigned> replay)
{
    mRace.reset();
    mOnlyLevel = levelFile;
    mReplay = std::move(replay);
}

bool PlayState::Simulate(Game* game, const std::string& levelFile, std::vector<unsigned> input,
                         const Assist& rules)
{
    mSilent = true;
    mRules = rules;
    mOnlyLevel = levelFile; // also keeps the player's progress out of it
    mReplay = std::move(input);
    mMaps.assign(1, levelFile);
    CleanUp();
    mRunTimes.assign(1, 0);
    mRunAssisted.assign(1, false);
    const SDL_RendererInfo info = game->mFramework->GetRendererInfo();
    // No pictures: what is drawn of this world is drawn with the play screen's own.
    mMap = std::make_unique<Map>();
    if (!mMap->Load(levelFile, info) || (mMap->mPlayerStartX == -1 && mMap->mPlayerStartY == -1))
    {
        return false;
    }
    EntityType* playerType = mMap->mEntityTypeManager->GetEntityType(Player::mTypeName);
    mPlayer = std::make_unique<Player>();
    if (playerType == nullptr ||
        !mPlayer->Init(StartX(*mMap), StartY(*mMap), Player::mTypeName, playerType, info))
    {
        return false;
    }
    mPlayer->SetDirection(mMap->mPlayerDirection);
    mFadeState = Fade::FadingIn;
    BeginLevel(game);
    mLevelReady = true;
    mMap->CameraCheck(mPlayer->GetX(), mPlayer->GetY(), game->mScreen->mSurface);
    return true;
}

bool PlayState::StepSimulation(Game* game)
{
    if (!mLevelReady || IsEnding() || !mPlayer->GetIsAlive() || mReplayUpdate >= mReplay.size())
    {
        return false;
    }
    StepReplay(game);
    UpdateWorld(game);
    // Shots leave at the view's right edge: the camera goes where a frame drawn now would put it.
    mMap->CameraCheck(mPlayer->GetX(), mPlayer->GetY(), game->mScreen->mSurface);
    return true;
}

std::string PlayState::LevelPath(int index) const
{
    return mOnlyLevel.empty() ? kMapFolder + mMaps[index] : mOnlyLevel;
}

PlayState::~PlayState()
{
    CleanUp();
    mMaps.clear();
    mStars.clear();
}

bool PlayState::Init(Game* game)
{
    // Emptied first, so the list does not grow with every game begun. Every line is a name, empty
    // lines included: the list has no comments.
    mMaps.clear();
    if (!mOnlyLevel.empty())
    {
        mMaps.push_back(mOnlyLevel);
    }
    else if (!FieldReader::ReadLines(Progress::mLevelList, mMaps))
    {
        throw std::runtime_error("Unable to load maps.lst!");
    }
    if (mMaps.empty())
    {
        throw std::runtime_error("No maps were found!");
    }

    SetPaused(game, false);
    CleanUp(); // also restarts at the first level of the list
    // Continue starts at the level asked for, while the list still has it: at its later place when it is
    // listed twice, as progress counts it.
    const auto first = std::find(mMaps.rbegin(), mMaps.rend(), mFirstLevel);
    if (!mFirstLevel.empty() && first != mMaps.rend())
    {
        mCurrentMap = static_cast<int>(mMaps.rend() - first) - 1;
    }
    mFirstLevel.clear();
    mRunTimes.assign(mMaps.size(), 0);
    mRunAssisted.assign(mMaps.size(), false);

    SDL_Surface* screen = game->mScreen->mSurface;
    mBlackScreen = Fade::CreateOverlay(screen, mAlpha);

    const SDL_RendererInfo info = game->mFramework->GetRendererInfo();
    mMap = std::make_unique<Map>();
    const std::string level = LevelPath(mCurrentMap);
    if (!LoadLevel(*mMap, level, info))
    {
        return false;
    }
    if (mMap->mPlayerStartX == -1 && mMap->mPlayerStartY == -1)
    {
        throw std::runtime_error("Player not on map found!");
    }
    EntityType* playerType = PlayerType(*mMap, level);
    if (playerType == nullptr)
    {
        return false;
    }
    mPlayer = std::make_unique<Player>();
    if (!mPlayer->Init(StartX(*mMap), StartY(*mMap), Player::mTypeName, playerType, info))
    {
        ReportLevelFailure(level,
                           "the player cannot be set up (its type, or the status display data/gfx/hud.png)");
        return false;
    }
    mPlayer->SetDirection(mMap->mPlayerDirection);

    mStars.resize(kStarCount);
    Utils::InitStars(mStars, screen->w, screen->h);
    Utils::DoStars(mStars, screen->w, screen->h); // the first frame already shows moved stars

    ClearInput();
    PlayLevelTune(game, true);

    mBackToMenu = false;
    mQuitRequested = false;
    mNextLevel = false;
    mFadeState = Fade::FadingIn;
    BeginLevel(game);
    mLevelReady = true;
    return true;
}

void PlayState::CleanUp()
{
    mLevelReady = false;
    mGhost.reset();
    mCard.reset();
    mEndingCard.reset();
    mPauseCard.reset();
    mStartCard.reset();
    mExitReached = false;
    mLevelTime = 0;
    mBlackScreen.reset();
    // The player's destructor never touches its type, so the map that owns the type may go first.
    mMap.reset();
    mPlayer.reset();
    mBackToMenu = false;
    mQuitRequested = false;
    mNextLevel = false;
    ClearInput();
    mFireTimer = 0;
    mCurrentMap = 0;
    mReplayUpdate = 0;
    mReplayHeld = 0;
    mRecording.clear();
}

void PlayState::ClearInput()
{
    mMoveLeft = false;
    mMoveRight = false;
    mDoJump = false;
    mDoFire = false;
    mKeysDown = 0;
}

unsigned PlayState::RecordedKeys() const
{
    return (mMoveLeft ? InputScript::Left : 0u) | (mMoveRight ? InputScript::Right : 0u) | mKeysDown;
}

void PlayState::Sound(Game* game, const char* name)
{
    if (!mSilent)
    {
        game->mAudioManager->PlaySound(name);
    }
}

bool PlayState::StartNextLevel(Game* game)
{
    // A player who died on the way out (the oxygen ran out as the door was reached) stays dead: the run
    // ends as it would have anywhere else.
    if (!mPlayer->GetIsAlive())
    {
        return false;
    }
    // Until the new level is complete the player's type belongs to a destroyed level: nothing may use it.
    mLevelReady = false;
    if (mCurrentMap < 0 || static_cast<std::size_t>(mCurrentMap) >= mMaps.size())
    {
        return false;
    }
    const SDL_RendererInfo info = game->mFramework->GetRendererInfo();
    const std::string level = LevelPath(mCurrentMap);
    if (!LoadLevel(*mMap, level, info))
    {
        return false;
    }
    EntityType* playerType = PlayerType(*mMap, level);
    if (playerType == nullptr)
    {
        return false;
    }
    if (mMap->mPlayerStartX == -1 && mMap->mPlayerStartY == -1)
    {
        ReportLevelFailure(level, "it places no player");
        return false;
    }

    PlayLevelTune(game, false);
    // Shots refer to the old level's types; they do not survive the change.
    mPlayer->mBullets.clear();
    // The base Init rebinds type, flags, jump speed and position; health, weapon and state stay.
    mPlayer->Init(StartX(*mMap), StartY(*mMap), Player::mTypeName, playerType);
    mPlayer->SetBaseType(EntityType::mBasePlayer);
    mPlayer->SetDirection(mMap->mPlayerDirection);
    mPlayer->SetDX(0.0);
    mPlayer->SetDY(0.0);
    mPlayer->SetIsOnGround(false);
    mPlayer->SetState(mPlayer->GetWeapon() ? StandingArmed : Standing);
    mPlayer->mOxygen = 10.0;
    mPlayer->mHasKeycard = false;
    mPlayer->mHurtTimer = 0;

    BeginLevel(game);
    mLevelReady = true;
    return true;
}

void PlayState::PlayLevelTune(Game* game, bool restart)
{
    // A tune the game does not have (the browser page leaves the last decks' out) is the usual one.
    const bool named =
        mMap && !mMap->mMusic.empty() && game->mAudioManager && game->mAudioManager->HasMusic(mMap->mMusic);
    const std::string tune = named ? mMap->mMusic : "level.ogg";
    // A deck's levels share their tune: it plays on from one to the next.
    if (!mSilent && game->mAudioManager && (restart || tune != mTune))
    {
        game->mAudioManager->PlayMusic(tune, true);
    }
    mTune = tune;
}
