"""CPU use and peak memory of the real game idling at its main menu, beside the bare present loop.

The game (build/kestrovane, in a fresh folder with a copy of build/data) and bench/bare_present (the
game's own window, renderer, texture upload and loop pacing, with nothing drawn) run at the same time, each
under its own Xvfb server, so both see the same machine load. Once both have presented their first frame
and the menu's fade-in is over, the CPU time of each process (all threads: Mesa's software OpenGL renders
on the CPU here, and the game's audio thread mixes the menu music on the dummy driver) is read from
/proc/<pid>/stat at the start and end of the same window, as a share of one core. Both are then closed and
report their peak resident memory. Usage: cpu_idle.py [build_dir] [--runs N] [--seconds S] [--json FILE]
"""

import argparse
import json
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import realrun  # noqa: E402

SETTLE_SECONDS = 2.0  # the menu's fade-in lasts 32 updates, about 1.1 s


def one_run(paths, build_dir, seconds):
    game_dir = realrun.game_workdir(build_dir)
    bare_dir = realrun.empty_workdir()
    try:
        with realrun.XServer() as game_x, realrun.XServer() as bare_x:
            game = realrun.Program(paths["game"], game_dir, game_x, paths["probe"]).start()
            bare = realrun.Program(paths["bare"], bare_dir, bare_x, paths["probe"]).start()
            try:
                game.wait_first_present()
                bare.wait_first_present()
                time.sleep(SETTLE_SECONDS)
                start = time.monotonic()
                game_start, bare_start = game.cpu_seconds(), bare.cpu_seconds()
                while time.monotonic() - start < seconds:
                    time.sleep(0.5)
                    game.sample_memory()
                    bare.sample_memory()
                game_end, bare_end = game.cpu_seconds(), bare.cpu_seconds()
                elapsed = time.monotonic() - start
            finally:
                game.close()
                bare.close()
            return {
                "game_cpu": (game_end - game_start) / elapsed,
                "bare_cpu": (bare_end - bare_start) / elapsed,
                "game_peak_kb": game.peak_kb(),
                "bare_peak_kb": bare.peak_kb(),
                "seconds": elapsed,
                "game_fps": game.frame_rate(),
                "bare_fps": bare.frame_rate(),
            }
    finally:
        shutil.rmtree(game_dir, ignore_errors=True)
        shutil.rmtree(bare_dir, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build_dir", nargs="?", default=os.getcwd())
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=20.0)
    parser.add_argument("--json")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build_dir)
    paths = realrun.binaries(build_dir)

    load_before = realrun.machine_load()
    runs = []
    for index in range(args.runs):
        run = one_run(paths, build_dir, args.seconds)
        run["ratio"] = run["game_cpu"] / run["bare_cpu"] if run["bare_cpu"] > 0 else float("inf")
        run["extra_mb"] = (run["game_peak_kb"] - run["bare_peak_kb"]) / 1024.0
        runs.append(run)
        print("idle run %d (%.0f s): game %5.1f%% of a core, bare present loop %5.1f%% (x%.2f); "
              "peak resident game %.1f MB, bare %.1f MB (+%.1f MB); %.1f and %.1f frames/s"
              % (index + 1, run["seconds"], run["game_cpu"] * 100, run["bare_cpu"] * 100, run["ratio"],
                 run["game_peak_kb"] / 1024.0, run["bare_peak_kb"] / 1024.0, run["extra_mb"],
                 run["game_fps"], run["bare_fps"]))
    result = {
        "runs": runs,
        "game_cpu_median": realrun.median([run["game_cpu"] for run in runs]),
        "bare_cpu_median": realrun.median([run["bare_cpu"] for run in runs]),
        "ratio_median": realrun.median([run["ratio"] for run in runs]),
        "game_peak_mb_median": realrun.median([run["game_peak_kb"] / 1024.0 for run in runs]),
        "bare_peak_mb_median": realrun.median([run["bare_peak_kb"] / 1024.0 for run in runs]),
        "extra_mb_median": realrun.median([run["extra_mb"] for run in runs]),
        "load_before": load_before,
        "load_after": realrun.machine_load(),
    }
    print("idle main menu: game %.1f%% of a core vs bare present loop %.1f%% (median ratio x%.2f); "
          "peak resident %.1f MB vs %.1f MB (median +%.1f MB); load average %s before, %s after"
          % (result["game_cpu_median"] * 100, result["bare_cpu_median"] * 100, result["ratio_median"],
             result["game_peak_mb_median"], result["bare_peak_mb_median"], result["extra_mb_median"],
             load_before, result["load_after"]))
    if args.json:
        with open(args.json, "w") as file:
            json.dump(result, file, indent=2)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except realrun.MeasureError as error:
        print("idle measurement failed: %s" % error, file=sys.stderr)
        sys.exit(1)
