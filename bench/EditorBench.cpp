// Frames of the level editor on the largest shipped level: scrolling across it and painting strokes, each
// iteration one pass of input and one drawn frame; and the editor after a new level is resized key by key
// to the largest size, 1024x1024: its memory, and its frame at that size.
#include "ContentFolder.h"
#include "GameRig.h"
#include "StateManager.h"
#include "editor/EditorState.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

namespace
{
// The largest level by cells, with a rig that shows the editor on it.
struct EditorStage
{
    EditorStage()
    {
        std::size_t most = 0;
        for (const std::string& name : bench::ContentFolder::ShippedLevels())
        {
            LevelDocument level;
            level.Load("data/maps/" + name);
            const std::size_t cells = static_cast<std::size_t>(level.Width()) * level.Height();
            if (cells > most)
            {
                most = cells;
                levelName = name;
            }
        }
        rig.Start(false);
        rig.mGame.mStateManager->AddState("Editor", editor = new EditorState());
        editor->Open("data/maps/" + levelName);
        editor->Init(&rig.mGame);
        rig.Show("Editor");
    }

    bench::ContentFolder folder;
    test::GameRig rig;
    EditorState* editor = nullptr;
    std::string levelName;
};

EditorStage& Stage()
{
    static EditorStage stage;
    return stage;
}

void BM_EditorFrame_Scrolling(benchmark::State& state)
{
    EditorStage& stage = Stage();
    Game& game = stage.rig.mGame;
    int step = 0;
    for (auto _ : state)
    {
        // Across the level and back, a tile a frame.
        const bool back = (step++ / 200) % 2 == 1;
        stage.editor->Press(&game, back ? SDLK_LEFT : SDLK_RIGHT, KMOD_NONE);
        stage.rig.RenderFrame();
        benchmark::DoNotOptimize(stage.rig.Screen()->pixels);
    }
    state.SetLabel(stage.levelName);
}
BENCHMARK(BM_EditorFrame_Scrolling)->Unit(benchmark::kMicrosecond);

void BM_EditorFrame_Painting(benchmark::State& state)
{
    EditorStage& stage = Stage();
    EditorState& editor = *stage.editor;
    editor.mTool = EditorState::Tool::Paint;
    int step = 0;
    for (auto _ : state)
    {
        // Zigzag strokes over the view, a cell a frame, each stroke one undoable step.
        const int x = step % 16;
        const int y = (step / 16) % 13;
        if (x == 0)
        {
            editor.PressMouse(SDL_BUTTON_LEFT, 8, y * 16 + 8);
        }
        editor.MoveMouse(x * 16 + 8, y * 16 + 8);
        if (x == 15)
        {
            editor.ReleaseMouse(SDL_BUTTON_LEFT, x * 16 + 8, y * 16 + 8);
        }
        ++step;
        stage.rig.RenderFrame();
        benchmark::DoNotOptimize(stage.rig.Screen()->pixels);
    }
    state.counters["undo_steps"] = static_cast<double>(editor.mHistory.Steps());
    state.SetLabel(stage.levelName);
}
BENCHMARK(BM_EditorFrame_Painting)->Unit(benchmark::kMicrosecond);

// The process's resident memory in MiB, from the system's own account of it.
double ResidentMiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
    {
        if (line.compare(0, 6, "VmRSS:") == 0)
        {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0.0;
}

// A new level grown to 1024x1024 as a level maker would, holding Ctrl+Down and then Ctrl+Right: each step
// of the way is an undoable resize.
struct ResizedStage
{
    ResizedStage()
    {
        rig.Start(false);
        rig.mGame.mStateManager->AddState("Editor", editor = new EditorState());
        editor->Open("grown.map");
        editor->Init(&rig.mGame);
        rig.Show("Editor");
        residentBefore = ResidentMiB();
        Game& game = rig.mGame;
        while (editor->mLevel.Height() < LevelDocument::mMaxSide)
        {
            editor->Press(&game, SDLK_DOWN, KMOD_LCTRL);
        }
        while (editor->mLevel.Width() < LevelDocument::mMaxSide)
        {
            editor->Press(&game, SDLK_RIGHT, KMOD_LCTRL);
        }
        residentAfter = ResidentMiB();
    }

    bench::ContentFolder folder;
    test::GameRig rig;
    EditorState* editor = nullptr;
    double residentBefore = 0.0;
    double residentAfter = 0.0;
};

void BM_EditorFrame_Resized1024(benchmark::State& state)
{
    static ResizedStage stage;
    Game& game = stage.rig.mGame;
    int step = 0;
    for (auto _ : state)
    {
        // Down the level's diagonal and back, a tile a frame.
        const bool back = (step++ / 400) % 2 == 1;
        stage.editor->Press(&game, back ? SDLK_LEFT : SDLK_RIGHT, KMOD_NONE);
        stage.editor->Press(&game, back ? SDLK_UP : SDLK_DOWN, KMOD_NONE);
        stage.rig.RenderFrame();
        benchmark::DoNotOptimize(stage.rig.Screen()->pixels);
    }
    constexpr double kMiB = 1024.0 * 1024.0;
    state.counters["undo_steps"] = static_cast<double>(stage.editor->mHistory.Steps());
    state.counters["undo_MiB"] = static_cast<double>(stage.editor->mHistory.Bytes()) / kMiB;
    state.counters["level_MiB"] =
        2.0 * static_cast<double>(stage.editor->mLevel.Layer(0).size()) * sizeof(std::uint32_t) / kMiB;
    state.counters["rss_growth_MiB"] = stage.residentAfter - stage.residentBefore;
    state.counters["rss_MiB"] = stage.residentAfter;
    state.SetLabel(std::to_string(stage.editor->mLevel.Width()) + "x" +
                   std::to_string(stage.editor->mLevel.Height()));
}
BENCHMARK(BM_EditorFrame_Resized1024)->Unit(benchmark::kMicrosecond);
} // namespace
