"""Plays the real game in a window: New Game -> story -> play -> two F12 screenshots (640x480 PNG files
of the level) -> Escape -> main menu -> New Game again -> play -> window closed -> credits -> exit 0.
Then a level maker's command line: a level that cannot be loaded ends with one stderr line and exit
status 1, no error box; a level with its recorded input plays at once, Escape leads through the credits,
and the settings keep their fullscreen although the run was windowed. A race from the command line: a
run checked without a window prints its race link (status 0, or 3 when it does not finish, with no file
written), the race's own run watched finishes (status 0), and a run given beside it names the level."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support  # noqa: E402
import kesdriver  # noqa: E402
from e2e_support import on_play  # noqa: E402


def start_play(game, workdir, what):
    game.wait_for_picture(workdir.on_menu, timeout=60, what="the main menu before %s" % what)
    game.key("Return")  # "New Game" is selected
    game.wait_for_picture(workdir.on_story, timeout=60, what="the story before %s" % what)
    game.key("space")
    game.wait_for_picture(on_play, timeout=60, what="play, faded in, for %s" % what)


def play_and_screenshots(xserver, binary, build_dir):
    workdir = e2e_support.Workdir(build_dir, kesdriver.settings_text(fullscreen=0))
    with kesdriver.GameProcess(xserver, binary, workdir.path) as game:
        try:
            game.open()
            start_play(game, workdir, "the first game")

            game.key("F12")
            game.key("F12")
            shots = [workdir.join("kesv0.png"), workdir.join("kesv1.png")]
            kesdriver.wait_until(lambda: all(os.path.exists(s) and os.path.getsize(s) > 0 for s in shots),
                                 30, "the screenshots kesv0.png and kesv1.png")
            for shot in shots:
                # The file may still be being written: read it once it decodes.
                picture = kesdriver.wait_until(lambda: _try_read(shot), 30, "a complete %s" % shot)
                if (picture.width, picture.height) != (640, 480):
                    raise kesdriver.DriverError("%s is %dx%d" % (shot, picture.width, picture.height))
                if picture.is_black() or not on_play(picture):
                    raise kesdriver.DriverError("%s does not show the level with its status display" % shot)
            if os.path.exists(workdir.join("kesv2.png")):
                raise kesdriver.DriverError("two F12 presses wrote more than two screenshots")

            game.key("Escape")
            start_play(game, workdir, "the second game")
            e2e_support.close_through_credits(game, workdir, "the credits after closing the window in play")
            if workdir.read("kesv.cfg").decode() != kesdriver.settings_text(fullscreen=0):
                raise kesdriver.DriverError("kesv.cfg changed: %r" % workdir.read("kesv.cfg"))
        except kesdriver.DriverError as error:
            raise e2e_support.fail_with_log(game, error, "kestrovane-play-failure.png")
        finally:
            workdir.cleanup()


def level_from_command_line(xserver, binary, build_dir):
    workdir = e2e_support.Workdir(build_dir, kesdriver.settings_text(fullscreen=1))
    replay = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "maps", "level1.replay")
    try:
        with kesdriver.GameProcess(xserver, binary, workdir.path, args=["--level", "nothere.map"]) as game:
            game.start()
            code = game.wait_exit(timeout=60)
            line = "Unable to load level nothere.map: the level file cannot be opened\n"
            if code != 1 or line not in game.log():
                raise kesdriver.DriverError("a missing level: exit code %s, output %r" % (code, game.log()))

        with kesdriver.GameProcess(xserver, binary, workdir.path,
                                   args=["--windowed", "--level", "data/maps/level1.map", "--replay", replay]) as game:
            try:
                game.open()
                game.wait_for_picture(on_play, timeout=60, what="the level, playing at once")
                game.key("Escape")
                game.wait_for_picture(workdir.on_credits, timeout=60, what="the credits after Escape")
                code = game.wait_exit(timeout=60)
                if code != 3:
                    raise kesdriver.DriverError("Escape left the recorded input unfinished, yet the game exited "
                                                "with code %d, not 3" % code)
            except kesdriver.DriverError as error:
                raise e2e_support.fail_with_log(game, error, "kestrovane-level-failure.png")
        if workdir.read("kesv.cfg").decode() != kesdriver.settings_text(fullscreen=1):
            raise kesdriver.DriverError("kesv.cfg changed: %r" % workdir.read("kesv.cfg"))
    finally:
        workdir.cleanup()


def race_from_command_line(_xserver, binary, build_dir):
    workdir = e2e_support.Workdir(build_dir, kesdriver.settings_text(fullscreen=0))
    maps = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "maps")
    try:
        before = sorted(os.listdir(workdir.path))
        check = ["--level", "data/maps/level1.map", "--replay", os.path.join(maps, "level1.replay"), "--print-link"]
        code, output, errors = kesdriver.run_without_display(binary, workdir.path, args=check)
        race = output.strip()
        if code != 0 or not race.startswith("race.") or "\n" in race:
            raise kesdriver.DriverError("--print-link: exit code %s, output %r %r" % (code, output, errors))
        check[3] = os.path.join(maps, "level2.replay")
        code, output, errors = kesdriver.run_without_display(binary, workdir.path, args=check)
        if code != 3 or output or "Unable to load level data/maps/level1.map: the run does not reach the exit" not in errors:
            raise kesdriver.DriverError("--print-link of a run that does not finish: exit code %s, %r %r"
                                        % (code, output, errors))
        if sorted(os.listdir(workdir.path)) != before:
            raise kesdriver.DriverError("--print-link wrote files: %s" % sorted(os.listdir(workdir.path)))

        code, _, errors = kesdriver.run_without_display(binary, workdir.path, timeout=120,
                                                        args=["--windowed", "--link", race, "--replay"])
        if code != 0:
            raise kesdriver.DriverError("the race's own run watched: exit code %s, %r" % (code, errors))
        workdir.write("short.replay", "R10\n")
        code, _, errors = kesdriver.run_without_display(binary, workdir.path,
                                                        args=["--windowed", "--link", race, "--replay", "short.replay"])
        if code != 3:
            raise kesdriver.DriverError("a run that stops short on a race's level: exit code %s, %r" % (code, errors))
        code, _, errors = kesdriver.run_without_display(binary, workdir.path,
                                                        args=["--link", race, "--replay", "nothere.replay"])
        if code != 1 or "Unable to load level level1.map: no recorded input: nothere.replay" not in errors:
            raise kesdriver.DriverError("a missing input beside a race: exit code %s, %r" % (code, errors))
    finally:
        workdir.cleanup()


def _try_read(path):
    try:
        return kesdriver.read_png(path)
    except Exception:
        return None


def main():
    return e2e_support.main([
        ("new game, story, play, screenshots, back to the menu, play again, close through the credits",
         play_and_screenshots),
        ("a level from the command line: a missing one refused, one with its recorded input watched",
         level_from_command_line),
        ("a race from the command line: printed from a run, its run watched, a run beside it", race_from_command_line)])


if __name__ == "__main__":
    sys.exit(main())
