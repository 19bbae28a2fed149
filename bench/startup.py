"""Start-up of the real game to its first presented frame, and its peak resident memory.

Each run starts build/kestrovane in a fresh working folder holding a copy of build/data, under its own
Xvfb server, with audio on SDL's dummy driver: once with no settings file (a first run: the defaults,
desktop fullscreen) and once with a settings file that asks for a window. The same run starts
bench/bare_present (the game's window and renderer in desktop fullscreen, nothing else) as the floor.
The clock starts just before the process is created and stops when the first SDL_RenderPresent returns,
as reported by the preloaded probe (bench/present_probe.cpp), which also stamps the end of SDL_Init,
window and renderer creation, the opening of audio and the first look for events (the main loop begins). Each program is then closed as a window close
does and reports its peak resident memory (VmHWM) at exit.
Usage: startup.py [build_dir] [--runs N] [--json FILE]
"""

import argparse
import json
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import realrun  # noqa: E402

WINDOWED_SETTINGS = ("// Default config file\n// Fullscreen VSync Show FPS\n0 0 0\n// Controls\n"
                     "// Left Right Jump Fire\n80 79 82 44\n// Sound Music Sound Volume Music Volume\n1 1 64 64")
MARKS = ["loaded", "sdl-init", "window", "renderer", "audio", "loop", "first-present"]


def measure(binary, workdir, paths):
    with realrun.XServer() as xserver:
        program = realrun.Program(binary, workdir, xserver, paths["probe"]).start()
        try:
            startup = program.wait_first_present()
            time.sleep(1.0)
        finally:
            code = program.close()
    if program.presents is not None and program.presents < 2:
        raise realrun.MeasureError("the probe saw %d presents of %s: it is not watching its frames"
                                   % (program.presents, binary))
    return {"startup_ms": startup * 1000.0, "peak_kb": program.peak_kb(), "exit_code": code,
            "marks_ms": {name: value * 1000.0 for name, value in program.marks.items()}}


def one_run(paths, build_dir):
    result = {}
    for kind in ("game", "game_windowed", "bare"):
        workdir = realrun.empty_workdir() if kind == "bare" else realrun.game_workdir(build_dir)
        try:
            if kind == "game_windowed":
                with open(os.path.join(workdir, "kesv.cfg"), "w") as file:
                    file.write(WINDOWED_SETTINGS)
            result[kind] = measure(paths["bare" if kind == "bare" else "game"], workdir, paths)
        finally:
            shutil.rmtree(workdir, ignore_errors=True)
    return result


def summary(runs, kind):
    marks = {}
    for name in MARKS:
        values = [run[kind]["marks_ms"][name] for run in runs if name in run[kind]["marks_ms"]]
        if values:
            marks[name] = realrun.median(values)
    return {
        "startup_ms_median": realrun.median([run[kind]["startup_ms"] for run in runs]),
        "peak_mb_median": realrun.median([run[kind]["peak_kb"] / 1024.0 for run in runs]),
        "marks_ms_median": marks,
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build_dir", nargs="?", default=os.getcwd())
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--json")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build_dir)
    paths = realrun.binaries(build_dir)

    load_before = realrun.machine_load()
    runs = []
    for index in range(args.runs):
        run = one_run(paths, build_dir)
        runs.append(run)
        print("start-up run %d: first frame after %6.1f ms (game, fullscreen), %6.1f ms (game, windowed), "
              "%6.1f ms (bare, fullscreen); peak resident %.1f MB (game)"
              % (index + 1, run["game"]["startup_ms"], run["game_windowed"]["startup_ms"],
                 run["bare"]["startup_ms"], run["game"]["peak_kb"] / 1024.0))
    result = {kind: summary(runs, kind) for kind in ("game", "game_windowed", "bare")}
    result.update({"runs": runs, "load_before": load_before, "load_after": realrun.machine_load()})

    print("start-up medians over %d runs (load average %s before, %s after), ms after the process start:"
          % (len(runs), load_before, result["load_after"]))
    print("  %-22s" % "" + "".join("%14s" % name for name in MARKS))
    for kind, title in (("game", "game, fullscreen"), ("game_windowed", "game, windowed"),
                        ("bare", "bare loop, fullscreen")):
        marks = result[kind]["marks_ms_median"]
        print("  %-22s" % title + "".join("%14s" % ("%.1f" % marks[name] if name in marks else "-")
                                          for name in MARKS))
    if args.json:
        with open(args.json, "w") as file:
            json.dump(result, file, indent=2)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except realrun.MeasureError as error:
        print("start-up measurement failed: %s" % error, file=sys.stderr)
        sys.exit(1)
