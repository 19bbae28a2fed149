// Keeping one measured scene alive across benchmark runs, and surveying the shipped levels once.
#include "Stage.h"

#include "world/Map.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace bench
{
namespace
{
std::string gKey;
std::unique_ptr<Stage> gStage;

// Shots as a held fire key leaves them: one every 10 updates at 6 pixels an update, 60 pixels apart.
void AddShotsAhead(PlayScene& scene, int count)
{
    Player& player = scene.ThePlayer();
    const bool right = player.GetDirection();
    for (int i = 0; i < count; ++i)
    {
        const double offset = 2.0 + 60.0 * i;
        scene.AddShot(player.GetX() + (right ? offset : -offset), player.GetY(), right);
    }
}

int CountFittings(Map& map)
{
    int count = 0;
    for (const auto& entry : map.mEntities)
    {
        count += entry.second->GetBaseType() == EntityType::mBaseLift ? 1 : 0;
    }
    for (const std::string& key : map.mCollisionLayer)
    {
        const Tile* tile = map.mTileManager->GetTile(key);
        count += tile != nullptr && tile->mTileType != nullptr && tile->mTileType->IsVent() ? 1 : 0;
    }
    return count;
}

template <typename Better> const LevelSurvey& Pick(Better better)
{
    const auto& levels = SurveyShippedLevels();
    if (levels.empty())
    {
        throw std::runtime_error("no shipped levels to measure");
    }
    return *std::max_element(levels.begin(), levels.end(), better);
}
} // namespace

Stage& CurrentStage(const std::string& key, const std::function<void(Stage&)>& build)
{
    if (gStage && gKey == key)
    {
        return *gStage;
    }
    CloseStage();
    auto stage = std::make_unique<Stage>();
    build(*stage);
    gStage = std::move(stage);
    gKey = key;
    return *gStage;
}

void CloseStage()
{
    // The game goes before its working folder.
    if (gStage)
    {
        gStage->scene.reset();
        gStage->folder.reset();
    }
    gStage.reset();
    gKey.clear();
}

const std::vector<LevelSurvey>& SurveyShippedLevels()
{
    static const std::vector<LevelSurvey> survey = []
    {
        CloseStage();
        std::vector<LevelSurvey> levels;
        ContentFolder folder;
        for (const std::string& level : folder.ShippedLevels())
        {
            PlayScene scene(folder, level);
            Map& map = scene.TheMap();
            LevelSurvey entry;
            entry.level = level;
            entry.cells = map.mWidth * map.mHeight;
            entry.entities = static_cast<int>(map.mEntities.size() + map.mItems.size() + map.mEnemies.size());
            entry.fittings = CountFittings(map);
            entry.busiest = FindBusiestView(map, scene.Screen());
            std::fprintf(
                stderr,
                "level %-12s %4d x %-3d cells, %3d entities, %3d lifts and vents, busiest view at (%d, %d): "
                "%lld pixels\n",
                level.c_str(), map.mWidth, map.mHeight, entry.entities, entry.fittings, entry.busiest.cameraX,
                entry.busiest.cameraY, entry.busiest.Pixels());
            levels.push_back(entry);
        }
        return levels;
    }();
    return survey;
}

const LevelSurvey& BusiestScreenLevel()
{
    return Pick([](const LevelSurvey& a, const LevelSurvey& b)
                { return a.busiest.Pixels() < b.busiest.Pixels(); });
}

const LevelSurvey& MostEntitiesLevel()
{
    return Pick([](const LevelSurvey& a, const LevelSurvey& b) { return a.entities < b.entities; });
}

const LevelSurvey& MostFittingsLevel()
{
    return Pick([](const LevelSurvey& a, const LevelSurvey& b)
                { return a.fittings < b.fittings || (a.fittings == b.fittings && a.entities < b.entities); });
}

Stage& MostFittingsStage()
{
    return CurrentStage("most-fittings",
                        [](Stage& built)
                        {
                            built.level = MostFittingsLevel().level;
                            built.folder = std::make_unique<ContentFolder>();
                            built.scene = std::make_unique<PlayScene>(*built.folder, built.level);
                        });
}

Stage& MostEntitiesStage()
{
    return CurrentStage("most-entities",
                        [](Stage& built)
                        {
                            built.level = MostEntitiesLevel().level;
                            built.folder = std::make_unique<ContentFolder>();
                            built.scene = std::make_unique<PlayScene>(*built.folder, built.level);
                        });
}

void BuildBusiestScreen(Stage& built)
{
    const LevelSurvey& busiest = BusiestScreenLevel();
    built.folder = std::make_unique<ContentFolder>();
    built.level = busiest.level;
    built.scene = std::make_unique<PlayScene>(*built.folder, busiest.level);
    built.view = FindBusiestView(built.scene->TheMap(), built.scene->Screen());
    ShowBusyView(built);
}

void ShowBusyView(Stage& stage)
{
    PlayScene& scene = *stage.scene;
    Player& player = scene.ThePlayer();
    player.SetWeapon(true);
    player.SetState(WalkingArmed);
    scene.AimCamera(stage.view.cameraX, stage.view.cameraY);
    AddShotsAhead(scene, 5);
    scene.DrawFrame();
    const Map& map = scene.TheMap();
    if (map.mCameraX != stage.view.cameraX || map.mCameraY != stage.view.cameraY)
    {
        throw std::runtime_error("the camera does not stand where the busiest view is");
    }
}

const LevelSurvey& LargestLevel()
{
    return Pick([](const LevelSurvey& a, const LevelSurvey& b) { return a.cells < b.cells; });
}
} // namespace bench
