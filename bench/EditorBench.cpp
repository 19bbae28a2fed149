// Frames of the level editor on the largest shipped level: scrolling across it and painting strokes, each
// iteration one pass of input and one drawn frame.
#include "ContentFolder.h"
#include "GameRig.h"
#include "StateManager.h"
#include "editor/EditorState.h"

#include <benchmark/benchmark.h>

#include <memory>

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
} // namespace
