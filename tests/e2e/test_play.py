"""Plays the real game in a window: New Game -> story -> play -> two F12 screenshots (640x480 PNG files
of the level) -> Escape -> main menu -> New Game again -> play -> window closed -> credits -> exit 0."""

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
            game.start()
            game.wait_for_window()
            game.focus()
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


def _try_read(path):
    try:
        return kesdriver.read_png(path)
    except Exception:
        return None


def main():
    if len(sys.argv) != 2:
        print("usage: test_play.py <build dir>")
        return 2
    return e2e_support.run_scenarios(os.path.abspath(sys.argv[1]), [
        ("new game, story, play, screenshots, back to the menu, play again, close through the credits",
         play_and_screenshots)])


if __name__ == "__main__":
    sys.exit(main())
