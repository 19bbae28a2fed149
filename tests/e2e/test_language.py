"""Plays the real game in a window in German: started with LANGUAGE=de, the menus speak German, and the
Language row keeps German in kesv.lang; started with that file in an English system, the game speaks German
again until the row goes back to Auto, which turns every screen English at once."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support  # noqa: E402
import kesdriver  # noqa: E402

LANGUAGE_ROW_Y = 196  # the last row of the options


def german_from_the_environment(xserver, binary, build_dir):
    workdir = e2e_support.Workdir(build_dir, kesdriver.settings_text(fullscreen=0))
    with kesdriver.GameProcess(xserver, binary, workdir.path, extra_env={"LANGUAGE": "de"}) as game:
        try:
            game.open()
            game.wait_for_picture(lambda p: workdir.on_menu(p) and workdir.shows(p, "Neues Spiel", 128, 168)
                                  and workdir.shows(p, "Optionen", 128, 176), timeout=60, what="the German menu")
            game.key("Down", "Return")
            game.wait_for_picture(lambda p: workdir.shows(p, "Sprache: Auto", 92, LANGUAGE_ROW_Y), timeout=60,
                                  what="the German options, the language on Auto")
            game.key("Up", "Right")  # the cursor wraps to the last row; Auto, then German
            game.wait_for_picture(lambda p: workdir.shows(p, "Sprache: Deutsch", 92, LANGUAGE_ROW_Y), timeout=30,
                                  what="German chosen")
            game.key("Escape")
            game.wait_for_picture(lambda p: workdir.shows(p, "Neues Spiel", 128, 168), timeout=60,
                                  what="the German menu again")
            game.close_window()
            game.wait_for_picture(lambda p: workdir.shows(p, "Danke f", 84, 112), timeout=60,
                                  what="the German credits")
            if game.wait_exit(timeout=90) != 0:
                raise kesdriver.DriverError("the game did not exit cleanly")
            kept = workdir.read("kesv.lang").decode()
            if "\nlanguage de\n" not in kept:
                raise kesdriver.DriverError("kesv.lang does not keep German: %r" % kept)
            if workdir.read("kesv.cfg").decode() != kesdriver.settings_text(fullscreen=0):
                raise kesdriver.DriverError("kesv.cfg changed: %r" % workdir.read("kesv.cfg"))
        except kesdriver.DriverError as error:
            raise e2e_support.fail_with_log(game, error, "kestrovane-language-failure.png")
        finally:
            workdir.cleanup()


def kept_choice_then_back_to_auto(xserver, binary, build_dir):
    workdir = e2e_support.Workdir(build_dir, kesdriver.settings_text(fullscreen=0))
    workdir.write("kesv.lang", "language de\n")
    with kesdriver.GameProcess(xserver, binary, workdir.path, extra_env={"LANG": "C"}) as game:
        try:
            game.open()
            game.wait_for_picture(lambda p: workdir.shows(p, "Neues Spiel", 128, 168), timeout=60,
                                  what="German kept over an English system")
            game.key("Down", "Return")
            game.wait_for_picture(lambda p: workdir.shows(p, "Sprache: Deutsch", 92, LANGUAGE_ROW_Y),
                                  timeout=60, what="the German options")
            game.key("Up", "Left")  # back to Auto: the system's English, at once
            game.wait_for_picture(lambda p: workdir.shows(p, "Language: Auto", 92, LANGUAGE_ROW_Y)
                                  and workdir.shows(p, "Escape = Back to the main menu", 40, 220),
                                  timeout=30, what="the options in English at once")
            game.key("Escape")
            game.wait_for_picture(lambda p: workdir.shows(p, "New Game", 128, 168), timeout=60,
                                  what="the English menu")
            e2e_support.close_through_credits(game, workdir)
            kept = workdir.read("kesv.lang").decode()
            if "\nlanguage auto\n" not in kept:
                raise kesdriver.DriverError("kesv.lang does not keep Auto: %r" % kept)
        except kesdriver.DriverError as error:
            raise e2e_support.fail_with_log(game, error, "kestrovane-language-auto-failure.png")
        finally:
            workdir.cleanup()


if __name__ == "__main__":
    sys.exit(e2e_support.main([
        ("LANGUAGE=de shows the menus in German, and the Language row keeps German",
         german_from_the_environment),
        ("a kept German wins over the system's English until the row goes back to Auto",
         kept_choice_then_back_to_auto),
    ]))
