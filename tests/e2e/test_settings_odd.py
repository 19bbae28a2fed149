"""Starts the real game in fullscreen from a hand-edited settings file with odd values, checks the main
menu's text against the font's own glyphs, quits through "Quit" and the credits, and checks the file as
the game rewrote it: comments dropped, 2 read as 1, 500 kept, the fourth data line gone, and the
fields missing from short lines at their defaults."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support  # noqa: E402
import kesdriver  # noqa: E402

ODD_SETTINGS = ("// my own notes\r\n"
                "2 0\n"              # fullscreen 2 reads as on; the frame-rate display keeps its default
                "// keys\n"
                "\n"
                "4 7 22\n"           # the fire key keeps its default
                "0 1 500\n"          # sound off, volume 500 kept as it is, music volume default
                "1 1 1 1\n")         # a fourth data line: ignored, lost on rewrite

EXPECTED = kesdriver.settings_text(fullscreen=1, keys=(4, 7, 22, 44), audio=(0, 1, 500, 64))

MENU_TEXT = [  # (text, x, y) on the 320x240 picture
    ("New Game", 128, 168), ("Options", 128, 176), ("Quit", 128, 184),
    ("Arrow Keys = Change current option", 24, 204),
    ("Enter Key = Select current option", 28, 212),
]


def odd_settings_and_quit(xserver, binary, build_dir):
    workdir = e2e_support.Workdir(build_dir, ODD_SETTINGS)
    with kesdriver.GameProcess(xserver, binary, workdir.path) as game:
        try:
            game.open()
            menu = game.wait_for_picture(workdir.on_menu, timeout=60, what="the main menu")
            if (menu.width, menu.height) != (640, 480):
                raise kesdriver.DriverError("unexpected screen size %dx%d" % (menu.width, menu.height))
            for text, x, y in MENU_TEXT + [(workdir.version, workdir.version_x, 228)]:
                wrong = kesdriver.text_mismatches(menu, workdir.font, text, x, y, e2e_support.GREY)
                if wrong:
                    raise kesdriver.DriverError("%r at (%d, %d): %d pixels differ from the font" % (text, x, y, wrong))

            game.key("Up")  # from "New Game" round to "Quit"
            game.key("Return")
            quit_pressed = time.monotonic()
            game.wait_for_picture(workdir.on_credits, timeout=60, what="the credits")
            code = game.wait_exit(timeout=90)
            if code != 0:
                raise kesdriver.DriverError("the game exited with code %d" % code)
            if time.monotonic() - quit_pressed < 3.0:
                raise kesdriver.DriverError("the game ended before the menu's fade and the credits had run")
            written = workdir.read("kesv.cfg").decode("latin-1")
            if written != EXPECTED:
                raise kesdriver.DriverError("kesv.cfg rewritten as %r, expected %r" % (written, EXPECTED))
        except kesdriver.DriverError as error:
            raise e2e_support.fail_with_log(game, error, "kestrovane-settings-failure.png")
        finally:
            workdir.cleanup()


def main():
    return e2e_support.main([
        ("odd settings in fullscreen, menu text at its places, Quit through the credits", odd_settings_and_quit)])


if __name__ == "__main__":
    sys.exit(main())
