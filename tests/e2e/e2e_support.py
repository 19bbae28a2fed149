"""Shared by the robustness tests of the real game: a working folder with the built content, screens told
apart by the text they draw with the game's own font, and a scenario runner that reports failures."""

import os
import shutil
import sys
import tempfile
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesdriver  # noqa: E402

GREY = (192, 192, 192)
RED = (255, 0, 0)
BLUE = (0, 0, 255)


class Workdir:
    """A temporary working folder holding a copy of build/data and the given settings file text."""

    def __init__(self, build_dir, settings=None, prefix="kestrovane-e2e-"):
        self.path = tempfile.mkdtemp(prefix=prefix)
        if not kesdriver.copy_data(build_dir, self.path):
            raise kesdriver.DriverError("%s/data does not exist (build the data target)" % build_dir)
        if settings is not None:
            self.write("kesv.cfg", settings)
        self.font = kesdriver.read_png(self.join("data/gfx/font.png"))
        self.version, self.version_x = kesdriver.version_line(kesdriver.find_binary(build_dir))

    def join(self, relative):
        return os.path.join(self.path, relative)

    def write(self, relative, content):
        mode = "wb" if isinstance(content, bytes) else "w"
        with open(self.join(relative), mode) as file:
            file.write(content)

    def read(self, relative):
        with open(self.join(relative), "rb") as file:
            return file.read()

    def remove(self, relative):
        target = self.join(relative)
        if os.path.isdir(target):
            shutil.rmtree(target)
        elif os.path.exists(target):
            os.unlink(target)

    def story_lines(self):
        """The lines the story screen shows: every line of data/story.txt that is not a comment, up to the
        ending page's mark."""
        with open(self.join("data/story.txt"), "rb") as file:
            lines = [line.rstrip("\r") for line in file.read().decode("latin-1").split("\n")]
        if "[ending]" in lines:
            lines = lines[: lines.index("[ending]")]
        return [line for line in lines if not line.startswith("//")]

    def cleanup(self):
        shutil.rmtree(self.path, ignore_errors=True)

    # Screens, told apart by a text that only they draw, fully faded in.
    def shows(self, picture, text, x, y, colour=GREY):
        return kesdriver.text_mismatches(picture, self.font, text, x, y, colour) == 0

    def on_menu(self, picture):
        return self.shows(picture, self.version, self.version_x, 228)

    def on_credits(self, picture):
        return self.shows(picture, "Thank you for playing!", 72, 112)

    def on_story(self, picture, first_line=None):
        line = first_line if first_line is not None else self.story_lines()[0]
        return self.shows(picture, line[:39], 8, 8)


def on_play(picture):
    """Play, fully faded in: the status display's full health bar (red) and oxygen bar (blue)."""
    return picture.pixel(30, 12) == RED and picture.pixel(100, 12) == BLUE


def close_through_credits(game, workdir, what="the credits", key=None):
    """Closes the window (or presses key) and checks that the credits run and the game exits with code 0."""
    if key:
        game.key(key)
    else:
        game.close_window()
    game.wait_for_picture(workdir.on_credits, timeout=60, what=what)
    code = game.wait_exit(timeout=90)
    if code != 0:
        raise kesdriver.DriverError("the game exited with code %d" % code)


def run_scenarios(build_dir, scenarios):
    """Runs each (name, function(xserver, binary, build_dir)[, XServer arguments]) on its own X server (640x480
    unless the arguments say otherwise); prints one line per scenario and a closing count. Returns the exit
    code for the test script."""
    binary = kesdriver.find_binary(build_dir)
    passed = failed = 0
    for name, scenario, *server in scenarios:
        try:
            with kesdriver.XServer(**(server[0] if server else {})) as xserver:
                scenario(xserver, binary, build_dir)
            print("PASS: %s" % name)
            passed += 1
        except kesdriver.MissingPrerequisite as error:
            print(error)  # every other scenario would fail the same way
            return 1
        except Exception as error:  # a failed scenario must not hide the others
            print("FAIL: %s: %s" % (name, error))
            if not isinstance(error, kesdriver.DriverError):
                traceback.print_exc()
            failed += 1
        sys.stdout.flush()
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


def main(scenarios):
    """A test script's entry: its one argument is the build folder; runs the scenarios there."""
    if len(sys.argv) != 2:
        print("usage: %s <build dir>" % os.path.basename(sys.argv[0]))
        return 2
    return run_scenarios(os.path.abspath(sys.argv[1]), scenarios)


def fail_with_log(game, error, shot_name):
    """Adds the game's output and a screenshot path to a failure."""
    shot = os.path.join(tempfile.gettempdir(), shot_name)
    try:
        if game.running():
            game.screenshot(shot)
    except Exception:
        shot = "(no screenshot)"
    return kesdriver.DriverError("%s\nscreenshot: %s\ngame output:\n%s" % (error, shot, game.log()))
