"""The real game in a window with bad data: a missing font shows the error box (and, with no display
for the box, the message on standard error); garbage settings are rewritten whole; a missing story shows
"Not available!"; without any sound the game still plays; a missing level list shows the error box when
play begins. A run that met a fatal error ends with exit code 1, the others with 0, and every run leaves a
complete settings file."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support  # noqa: E402
import kesdriver  # noqa: E402
from e2e_support import on_play  # noqa: E402

WINDOWED = kesdriver.settings_text(fullscreen=0)


def expect_error_box_then_exit(game, workdir):
    box = kesdriver.wait_for_error_box(game, timeout=90)
    if game.xserver.find_window(kesdriver.WINDOW_TITLE) is not None:
        raise kesdriver.DriverError("the game window is still open beside the error box")
    kesdriver.close_error_box(game, box)
    code = game.wait_exit(timeout=60)
    if code != 1:
        raise kesdriver.DriverError("the game exited with code %d after the error box, not 1" % code)
    if workdir.read("kesv.cfg").decode() != WINDOWED:
        raise kesdriver.DriverError("kesv.cfg not written back: %r" % workdir.read("kesv.cfg"))


def scenario(settings=WINDOWED, remove=(), write=None):
    """Decorator-free helper: builds the work folder for one scenario."""
    def make(build_dir):
        workdir = e2e_support.Workdir(build_dir, settings)
        for relative in remove:
            workdir.remove(relative)
        for relative, content in (write or {}).items():
            workdir.write(relative, content)
        return workdir
    return make


def from_the_menu(xserver, binary, workdir, failure_shot, act):
    """Starts the game in workdir, waits for the main menu, then act(game); the folder goes in any case."""
    with kesdriver.GameProcess(xserver, binary, workdir.path) as game:
        try:
            game.open()
            game.wait_for_picture(workdir.on_menu, timeout=60, what="the main menu")
            act(game)
        except kesdriver.DriverError as error:
            raise e2e_support.fail_with_log(game, error, failure_shot)
        finally:
            workdir.cleanup()


def missing_font(xserver, binary, build_dir):
    workdir = scenario()(build_dir)
    font = workdir.font  # read before the file goes
    workdir.remove("data/gfx/font.png")
    workdir.font = font
    with kesdriver.GameProcess(xserver, binary, workdir.path) as game:
        try:
            game.start()
            expect_error_box_then_exit(game, workdir)
        except kesdriver.DriverError as error:
            raise e2e_support.fail_with_log(game, error, "kestrovane-font-failure.png")
    # Where no box can open, the same message goes to standard error.
    code, _, stderr = kesdriver.run_without_display(binary, workdir.path)
    expected = "Kestrovane - Error: Unable to load image: Couldn't open data/gfx/font.png"
    if code != 1 or expected not in stderr:
        raise kesdriver.DriverError("without a display: exit code %d, stderr %r" % (code, stderr))
    workdir.cleanup()


def garbage_settings(xserver, binary, build_dir):
    garbage = bytes((i * 73 + 41) % 256 for i in range(700)) + b"\n\x00\xff 1 2\n"
    workdir = scenario(settings=garbage)(build_dir)

    def act(game):
        e2e_support.close_through_credits(game, workdir)
        lines = workdir.read("kesv.cfg").decode("latin-1").split("\n")
        layout = kesdriver.settings_text().split("\n")
        if len(lines) != 8 or [lines[i] for i in (0, 1, 3, 4, 6)] != [layout[i] for i in (0, 1, 3, 4, 6)]:
            raise kesdriver.DriverError("kesv.cfg not rewritten in the full layout: %r" % lines)
        for i in (2, 5, 7):
            if not all(field.lstrip("-").isdigit() for field in lines[i].split(" ")):
                raise kesdriver.DriverError("kesv.cfg line %d is not numbers: %r" % (i + 1, lines[i]))

    from_the_menu(xserver, binary, workdir, "kestrovane-garbage-settings-failure.png", act)


def missing_story(xserver, binary, build_dir):
    workdir = scenario(remove=["data/story.txt"])(build_dir)

    def act(game):
        game.key("Return")
        # Typed at one character per four updates: the whole line stands after about two seconds.
        game.wait_for_picture(lambda p: workdir.on_story(p, "Not available!"), timeout=60,
                              what='"Not available!" on the story screen')
        e2e_support.close_through_credits(game, workdir)

    from_the_menu(xserver, binary, workdir, "kestrovane-story-failure.png", act)


def no_sound_at_all(xserver, binary, build_dir):
    workdir = scenario(remove=["data/sfx", "data/music"])(build_dir)

    def act(game):
        game.key("Down", "Up", "Return")  # cursor sounds that do not exist
        game.wait_for_picture(workdir.on_story, timeout=60, what="the story")
        game.key("space")
        game.wait_for_picture(on_play, timeout=60, what="play")
        game.key("Up", "space", "Right")  # jump and fire sounds that do not exist either
        e2e_support.close_through_credits(game, workdir)

    from_the_menu(xserver, binary, workdir, "kestrovane-nosound-failure.png", act)


def missing_level_list(xserver, binary, build_dir):
    workdir = scenario(remove=["data/maps/maps.lst"])(build_dir)

    def act(game):
        game.key("Return")
        game.wait_for_picture(workdir.on_story, timeout=60, what="the story")
        game.key("space")
        expect_error_box_then_exit(game, workdir)

    from_the_menu(xserver, binary, workdir, "kestrovane-maplist-failure.png", act)


def main():
    return e2e_support.main([
        ("missing font: error box, then the message on stderr without a display", missing_font),
        ("garbage settings file: the game runs and rewrites it whole", garbage_settings),
        ("missing story: \"Not available!\" is typed", missing_story),
        ("no sound files or lists: the game still plays", no_sound_at_all),
        ("missing level list: error box when play begins", missing_level_list),
    ])


if __name__ == "__main__":
    sys.exit(main())
