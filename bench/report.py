"""Prints the measured figures against the performance budgets, from the JSON files run.sh collects.

Usage: report.py BENCH_JSON [STARTUP_JSON] [IDLE_JSON]. Exits 0 whatever the verdicts: the table is the
result. Benchmark times are the medians over the repetitions: wall-clock time, and beside it the CPU time
of the measuring thread, which a busy machine inflates less (on an idle machine the two agree). The
verdict is taken on the wall-clock time; "(cpu ok)" marks a budget that only the waiting for a core missed.
"""

import json
import sys

UNIT_TO_US = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}


def load(path):
    try:
        with open(path) as file:
            return json.load(file)
    except (OSError, ValueError):
        return None


def medians(bench):
    """run_name -> the median aggregate entry of that benchmark."""
    found = {}
    for entry in bench.get("benchmarks", []):
        if entry.get("run_type") == "aggregate" and entry.get("aggregate_name") == "median":
            found[entry["run_name"]] = entry
        elif entry.get("run_type") == "iteration" and entry["run_name"] not in found:
            found[entry["run_name"]] = entry  # a run without repetitions
    return found


def time_us(entry, which="real_time"):
    return entry[which] * UNIT_TO_US[entry.get("time_unit", "ns")]


def both_us(entry, scale=1.0, digits=1):
    """'wall / cpu' of an entry, in microseconds divided by scale."""
    return "%.*f / %.*f" % (digits, time_us(entry) / scale, digits, time_us(entry, "cpu_time") / scale)


def find(entries, prefix):
    for name, entry in entries.items():
        if name.startswith(prefix):
            return entry
    return None


class Table:
    def __init__(self):
        self.rows = []

    def add(self, what, measured, budget, ok, note="", cpu_ok=None):
        verdict = "n/a" if ok is None else ("ok" if ok else "MISSED")
        if ok is False and cpu_ok:
            verdict += " (cpu ok)"
        self.rows.append((what, measured, budget, verdict, note))

    def show(self):
        headers = ("measurement", "median (wall / cpu)", "budget", "verdict", "notes")
        widths = [max(len(str(row[i])) for row in self.rows + [headers]) for i in range(5)]
        line = "  ".join("%-*s" % (widths[i], headers[i]) for i in range(5))
        print(line)
        print("-" * len(line))
        for row in self.rows:
            print("  ".join("%-*s" % (widths[i], row[i]) for i in range(5)))


def bench_rows(table, bench):
    entries = medians(bench)

    frame = entries.get("BM_FrameOfPlay_BusiestShipped")
    if frame:
        us = time_us(frame)
        table.add("frame of play, busiest shipped screen", both_us(frame) + " us", "<= 1000 us", us <= 1000.0,
                  "%s, %d entities on screen" % (frame.get("label", "?"), frame.get("entities", 0)),
                  time_us(frame, "cpu_time") <= 1000.0)
    stress_frame = find(entries, "BM_FrameOfPlay_StressArena")
    if stress_frame:
        table.add("frame of play, stress arena", both_us(stress_frame) + " us", "-", None,
                  "%d entities on screen" % stress_frame.get("entities", 0))

    parts = [("Starfield", "starfield"), ("Level", "both tile layers and the entities"),
             ("StatusAndCountdown", "status display and countdown"), ("FadeOverlay", "fade overlay blend"),
             ("Enlargement", "twofold enlargement")]
    for key, title in parts:
        part = entries.get("BM_FramePart_" + key)
        if part:
            table.add("  frame step: %s" % title, both_us(part) + " us", "-", None, "")

    enlarge = find(entries, "BM_Enlarge_DrawScaled")
    if enlarge:
        ratio = enlarge.get("x_memcpy", float("nan"))
        table.add("enlargement 320x240 -> 640x480", "%.1f us = x%.2f memcpy" % (time_us(enlarge), ratio),
                  "<= x4 memcpy", ratio <= 4.0, "memcpy of 1.2 MB in the same run: %.1f us"
                  % enlarge.get("memcpy_us", float("nan")))

    # The editor draws once a pass like play: its frames share play's budget.
    for key, title in (("Scrolling", "scrolling"), ("Painting", "painting")):
        editor = find(entries, "BM_EditorFrame_" + key)
        if editor:
            us = time_us(editor)
            table.add("editor frame, %s the largest level" % title, both_us(editor) + " us", "<= 1000 us",
                      us <= 1000.0, editor.get("label", "?"), time_us(editor, "cpu_time") <= 1000.0)
    # A new level grown key by key to the largest size: the history keeps every step within its bound (64 MiB),
    # so the editor's memory stays far from a browser tab's 2 GiB.
    grown = find(entries, "BM_EditorFrame_Resized1024")
    if grown:
        us = time_us(grown)
        table.add("editor frame, a level grown to 1024x1024", both_us(grown) + " us", "<= 1000 us", us <= 1000.0,
                  grown.get("label", "?"), time_us(grown, "cpu_time") <= 1000.0)
        growth = grown.get("rss_growth_MiB", float("nan"))
        table.add("editor memory after growing to 1024x1024", "+%.1f MiB resident" % growth, "<= +128 MiB",
                  growth <= 128.0, "level %.0f MiB, undo %.2f MiB in %d steps"
                  % (grown.get("level_MiB", float("nan")), grown.get("undo_MiB", float("nan")),
                     grown.get("undo_steps", 0)))

    tick = find(entries, "BM_Tick_MostEntitiesShipped")
    if tick:
        us = time_us(tick)
        table.add("PlayState::Tick, most entities shipped", both_us(tick, digits=2) + " us", "<= 20 us", us <= 20.0,
                  "%s, %d entities" % (tick.get("label", "?"), tick.get("entities", 0)),
                  time_us(tick, "cpu_time") <= 20.0)
    stress = find(entries, "BM_Tick_StressArena")
    if stress:
        us = time_us(stress)
        table.add("PlayState::Tick, 200 enemies + 50 shots", both_us(stress) + " us", "<= 200 us", us <= 200.0,
                  "%d enemies, %d shots at the end" % (stress.get("enemies", 0), stress.get("shots", 0)),
                  time_us(stress, "cpu_time") <= 200.0)

    ghost = find(entries, "BM_Ghost_TickMostEntitiesShipped")
    if ghost:
        us = time_us(ghost)
        table.add("Ghost update beside play, most entities", both_us(ghost, digits=2) + " us", "<= 20 us",
                  us <= 20.0, "%s, its recorded input" % ghost.get("label", "?"), time_us(ghost, "cpu_time") <= 20.0)
    ghost_start = find(entries, "BM_Ghost_StartMostEntitiesShipped")
    if ghost_start:
        ms = time_us(ghost_start) / 1e3
        table.add("Ghost set-up at a level's start", both_us(ghost_start, 1e3, 2) + " ms", "<= 33 ms", ms <= 33.0,
                  "its own copy of %s, once per level" % ghost_start.get("label", "?"),
                  time_us(ghost_start, "cpu_time") / 1e3 <= 33.0)
    bare = entries.get("BM_Input_BarePoll")
    layer = entries.get("BM_Input_LayerPass")
    if bare and layer:
        # The update step is 33 ms: a microsecond more per pass is far below anything a player could see.
        added = (time_us(layer) - time_us(bare)) * 1e3
        added_cpu = (time_us(layer, "cpu_time") - time_us(bare, "cpu_time")) * 1e3
        table.add("input layer pass, beyond SDL's bare poll", "%.0f / %.0f ns" % (added, added_cpu), "<= 1000 ns",
                  added <= 1000.0, "bare poll %s us, layer %s us" % (both_us(bare, digits=3), both_us(layer, digits=3)),
                  added_cpu <= 1000.0)
    for name, title in (("BM_Input_PlayPass_Quiet", "play's input pass, nothing pressed"),
                        ("BM_Input_PlayPass_KeyAndTouch", "play's input pass, a key and a touch each way")):
        entry = entries.get(name)
        if entry:
            table.add(title, both_us(entry, digits=3) + " us", "-", None, "")

    largest = find(entries, "BM_MapLoad_LargestShipped")
    if largest:
        ms = time_us(largest) / 1e3
        table.add("Map::Load, largest shipped level", both_us(largest, 1e3, 2) + " ms", "<= 5 ms", ms <= 5.0,
                  "%s, %d cells" % (largest.get("label", "?"), largest.get("cells", 0)),
                  time_us(largest, "cpu_time") / 1e3 <= 5.0)

    decks = sorted((entry["cells"], entry) for name, entry in entries.items()
                   if name.startswith("BM_MapLoad_Deck/") and "cells" in entry)
    for cells, entry in decks:
        table.add("Map::Load, generated deck %d cells" % cells, both_us(entry, 1e3, 2) + " ms", "-", None,
                  "%.1f ns per cell" % (entry["per_cell"] * 1e9))
    if len(decks) >= 3:
        # Fixed costs (tables, the tile sheet) make small levels dearer per cell; a cost that grows faster
        # than the cell count shows as a per-cell time rising with size.
        smallest = decks[1][1]["per_cell"]
        largest_deck = decks[-1][1]["per_cell"]
        growth = largest_deck / smallest
        table.add("Map::Load, per-cell growth", "x%.2f from %d to %d cells" % (growth, decks[1][0], decks[-1][0]),
                  "<= x1.25 (linear)", growth <= 1.25, "per-cell time of the largest deck over the second smallest")


def startup_rows(table, startup):
    game = startup["game"]
    bare = startup["bare"]
    windowed = startup["game_windowed"]
    runs = len(startup["runs"])
    ms = game["startup_ms_median"]
    table.add("start-up to first frame, first run (fullscreen)", "%.0f ms" % ms, "<= 300 ms", ms <= 300.0,
              "%d runs; window made at %.0f ms, renderer at %.0f ms"
              % (runs, game["marks_ms_median"].get("window", float("nan")),
                 game["marks_ms_median"].get("renderer", float("nan"))))
    table.add("  same for the bare loop (the floor)", "%.0f ms" % bare["startup_ms_median"], "-", None,
              "same window and renderer, nothing else")
    marks = game["marks_ms_median"]
    bare_marks = bare["marks_ms_median"]
    nan = float("nan")
    table.add("  game's own set-up (renderer -> main loop)", "%.0f ms" % (marks.get("loop", nan) - marks.get("renderer", nan)),
              "-", None, "settings read before; font, audio, sounds, music, screens")
    table.add("  first pass of the main loop (-> presented)",
              "%.0f ms" % (marks.get("first-present", nan) - marks.get("loop", nan)), "-", None,
              "bare loop: %.0f ms" % (bare_marks.get("first-present", nan) - bare_marks.get("loop", nan)))
    ms = windowed["startup_ms_median"]
    table.add("start-up to first frame, windowed settings", "%.0f ms" % ms, "<= 300 ms", ms <= 300.0,
              "renderer at %.0f ms" % windowed["marks_ms_median"].get("renderer", float("nan")))


def idle_rows(table, idle):
    ratio = idle["ratio_median"]
    table.add("CPU at idle main menu vs bare present loop", "x%.2f" % ratio, "<= x1.3", ratio <= 1.3,
              "game %.1f%%, bare %.1f%% of a core" % (idle["game_cpu_median"] * 100, idle["bare_cpu_median"] * 100))
    extra = idle["extra_mb_median"]
    table.add("peak resident memory above bare loop", "+%.1f MB" % extra, "<= +32 MB", extra <= 32.0,
              "game %.1f MB, bare %.1f MB" % (idle["game_peak_mb_median"], idle["bare_peak_mb_median"]))


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    table = Table()
    bench = load(argv[1])
    if bench:
        bench_rows(table, bench)
        context = bench.get("context", {})
        print("benchmarks on %s, %s CPUs at %s MHz, load average %s"
              % (context.get("host_name", "?"), context.get("num_cpus", "?"), context.get("mhz_per_cpu", "?"),
                 ", ".join("%.1f" % value for value in context.get("load_avg", []))))
    startup = load(argv[2]) if len(argv) > 2 else None
    if startup:
        startup_rows(table, startup)
    idle = load(argv[3]) if len(argv) > 3 else None
    if idle:
        idle_rows(table, idle)
    print()
    table.show()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
