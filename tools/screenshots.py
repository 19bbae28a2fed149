#!/usr/bin/env python3
"""Takes the README screenshots from the real game in a virtual display: the main menu, the settings, the story,
play and the level editor.

Usage: python3 tools/screenshots.py [build folder] [output folder]   (defaults: build, docs/screenshots)
Needs Xvfb, xdotool and python3-xlib (tools/install-deps.sh installs them) and a built game with its data.
"""
import os
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import kesdriver  # noqa: E402


def typing_seconds(workdir):
    """How long the story screen types: 4 updates of 1/30 s per character and one more step per line."""
    with open(os.path.join(workdir, "data", "story.txt"), encoding="latin-1") as file:
        lines = [line.rstrip("\r\n") for line in file]
    if "[ending]" in lines:
        lines = lines[: lines.index("[ending]")]  # the ending page is typed after the last level
    return sum(len(line) + 1 for line in lines if not line.startswith("//")) * 4 / 30.0


def editor_shot(xserver, binary, workdir, out):
    """The level editor on the keycard level, scrolled to its lock and door, the help card closed."""
    with kesdriver.GameProcess(xserver, binary, workdir, args=["--edit", "data/maps/level4.map"]) as game:
        game.open()
        game.wait_for_picture(lambda picture: not picture.is_black(), what="the editor")
        game.key(*(["Down"] * 12 + ["Right"] * 14), delay_ms=20)
        time.sleep(1.0)
        game.screenshot(os.path.join(out, "editor.png"))
        game.key("Escape")
        game.wait_exit()


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
    out = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "docs", "screenshots"))
    os.makedirs(out, exist_ok=True)
    workdir = tempfile.mkdtemp(prefix="kestrovane-shots-")
    if not kesdriver.copy_data(build, workdir):
        sys.exit("%s/data does not exist: build the game first" % build)
    binary = os.path.join(build, "kestrovane")
    # The play picture shows the blob pens, the first deck with blobs: the copied level list starts there.
    levels_path = os.path.join(workdir, "data", "maps", "maps.lst")
    with open(levels_path) as file:
        levels = file.read().splitlines()
    with open(levels_path, "w") as file:
        file.write("\n".join(levels[2:3] + levels) + "\n")

    def settle(seconds):
        # The screens fade in over about a second; pictures are taken once they stand still.
        time.sleep(seconds)

    with kesdriver.XServer() as xserver, kesdriver.GameProcess(xserver, binary, workdir) as game:
        game.open()
        game.wait_for_picture(lambda picture: not picture.is_black(), what="the main menu")
        settle(2.0)
        game.screenshot(os.path.join(out, "menu.png"))
        game.key("Down")
        game.key("Return")
        settle(2.0)
        game.screenshot(os.path.join(out, "settings.png"))
        game.key("Escape")
        settle(1.5)
        game.key("Up")
        game.key("Return")
        settle(typing_seconds(workdir) + 1.0)  # the whole story, typed out
        game.screenshot(os.path.join(out, "story.png"))
        game.key("space")
        settle(2.5)
        game.key_down("Right")
        settle(1.2)
        game.key("Up")
        settle(0.3)
        game.screenshot(os.path.join(out, "play.png"))
        game.key_up("Right")
        game.close_window()
        game.wait_exit()
        editor_shot(xserver, binary, workdir, out)
    print("screenshots written to %s" % out)


if __name__ == "__main__":
    main()
