"""Plays through the menus of the real game in a window: main menu -> Options -> a new key binding and a
louder sound -> back to the menu -> window closed -> credits -> exit code 0, with the changes saved."""

import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesdriver  # noqa: E402

GREY = (192, 192, 192)


def grey_pixels(picture, x, y, width, height):
    """Light-grey pixels in a rectangle given in the game's 320x240 coordinates (the window doubles them)."""
    return sum(1 for py in range(y * 2, (y + height) * 2) for px in range(x * 2, (x + width) * 2)
               if picture.pixel(px, py) == GREY)


# Text bands that only one screen draws in light grey, fully faded in.
def on_settings(picture):
    return grey_pixels(picture, 40, 220, 240, 8) > 200  # "Escape = Back to the main menu"


def on_menu(picture):
    return grey_pixels(picture, 100, 228, 120, 8) > 100  # the version line, centred


def on_credits(picture):
    return grey_pixels(picture, 72, 112, 176, 8) > 200 and not on_settings(picture)  # "Thank you for playing!"


def main():
    if len(sys.argv) != 2:
        print("usage: test_menus.py <build dir>")
        return 2
    build_dir = os.path.abspath(sys.argv[1])
    binary = kesdriver.find_binary(build_dir)

    with tempfile.TemporaryDirectory(prefix="kestrovane-menus-") as workdir:
        if not kesdriver.copy_data(build_dir, workdir):
            print("FAIL: %s/data does not exist (build the data target)" % build_dir)
            return 1
        with kesdriver.XServer() as xserver, kesdriver.GameProcess(xserver, binary, workdir) as game:
            try:
                game.open()
                game.wait_for_picture(on_menu, timeout=30, what="the main menu")
                game.key("Down", "Return")
                game.wait_for_picture(on_settings, timeout=30, what="the settings screen")

                # "Move Left" takes the A key; the sound volume, eight rows down, goes up three steps from 64.
                game.key("Return", "a")
                game.key(*["Down"] * 8, "Return", "Right", "Right", "Right", "Return")
                game.key("Escape")
                game.wait_for_picture(on_menu, timeout=30, what="the main menu again")

                closed = time.monotonic()
                game.close_window()
                game.wait_for_picture(on_credits, timeout=30, what="the credits")
                code = game.wait_exit(timeout=60)
                if code != 0:
                    raise kesdriver.DriverError("the game exited with code %d" % code)
                # The credits fade in, hold and fade out at a fixed rate: over three seconds in all.
                if time.monotonic() - closed < 2.5:
                    raise kesdriver.DriverError("the game ended before the credits had run")

                with open(os.path.join(workdir, "kesv.cfg")) as file:
                    lines = file.read().split("\n")
                if lines[5] != "4 79 82 44" or lines[7] != "1 1 67 64":
                    raise kesdriver.DriverError("kesv.cfg does not hold the changes: %r" % lines)
            except kesdriver.DriverError as error:
                print("FAIL: %s" % error)
                print("game output:\n%s" % game.log())
                if game.running():
                    game.screenshot(os.path.join(tempfile.gettempdir(), "kestrovane-menus-failure.png"))
                return 1

    print("PASS: options changed a key and the sound volume, the window closed through the credits, "
          "exit code 0, changes saved")
    return 0


if __name__ == "__main__":
    sys.exit(main())
