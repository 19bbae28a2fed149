"""Plays the real game in a window with progress kept from an earlier session (the second level reached):
the main menu offers Continue above New Game; New Game still plays the first level; Continue plays the
second; the player runs out of air there and the game returns to the main menu; Continue plays the second
level again; the window is closed through the credits and the progress file still names the second level."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support  # noqa: E402
import kesdriver  # noqa: E402
from e2e_support import on_play  # noqa: E402

PROGRESS = "reached level2.map\nbest 900 level1.map\n"


def same_share(a, b):
    """The share of pixels below the status display (its countdown changes every update) that two pictures
    have alike."""
    top = 48 * 3 * a.width
    same = sum(a.rgb[i:i + 3] == b.rgb[i:i + 3] for i in range(top, len(a.rgb), 3))
    return same / ((len(a.rgb) - top) // 3)


def level_view(game, what):
    """The picture of a level just begun, faded in and settled: after the fade-in the player lands and the
    view stops following it, so two screenshots in a row show the same place (a walking enemy aside)."""
    game.wait_for_picture(on_play, timeout=60, what=what)
    last = [game.screenshot()]

    def settled(picture):
        still = same_share(last[0], picture) > 0.98
        last[0] = picture
        return still

    return game.wait_for_picture(settled, timeout=30, what=what + ", settled")


def alike(a, b):
    """Whether two pictures show the same place: most pixels below the status display are the same (two
    levels share about 40% of theirs, the dark ones; the same start shares nearly all)."""
    return same_share(a, b) > 0.75


def continue_after_dying(xserver, binary, build_dir):
    workdir = e2e_support.Workdir(build_dir, kesdriver.settings_text(fullscreen=0))
    workdir.write("kesv.sav", PROGRESS)
    with kesdriver.GameProcess(xserver, binary, workdir.path) as game:
        try:
            game.open()
            game.wait_for_picture(lambda p: workdir.on_menu(p) and workdir.shows(p, "Continue", 128, 160),
                                  timeout=60, what="Continue above the main menu's entries")

            game.key("Down", "Return")  # New Game, below Continue
            game.wait_for_picture(workdir.on_story, timeout=60, what="the story after New Game")
            game.key("space")
            first = level_view(game, "the first level")
            game.key("Escape")
            game.wait_for_picture(workdir.on_menu, timeout=60, what="the main menu after Escape")

            game.key("Up", "Return")  # Continue
            second = level_view(game, "the level Continue starts")
            if alike(first, second):
                raise kesdriver.DriverError("Continue started the first level again")
            # Standing still, the air runs out in about 11 seconds.
            game.wait_for_picture(workdir.on_menu, timeout=60, what="the main menu after running out of air")

            game.key("Return")  # the arrow is still on Continue
            again = level_view(game, "the level Continue starts after dying")
            if not alike(second, again):
                raise kesdriver.DriverError("Continue after dying did not start the second level")
            e2e_support.close_through_credits(game, workdir, "the credits after closing the window in play")
            saved = workdir.read("kesv.sav").decode()
            if "reached level2.map\n" not in saved or "best 900 level1.map\n" not in saved:
                raise kesdriver.DriverError("kesv.sav lost the progress: %r" % saved)
            if workdir.read("kesv.cfg").decode() != kesdriver.settings_text(fullscreen=0):
                raise kesdriver.DriverError("kesv.cfg changed: %r" % workdir.read("kesv.cfg"))
        except kesdriver.DriverError as error:
            raise e2e_support.fail_with_log(game, error, "kestrovane-continue-failure.png")
        finally:
            workdir.cleanup()


def main():
    return e2e_support.main([
        ("progress kept, New Game plays level 1, Continue level 2, death, Continue level 2 again",
         continue_after_dying)])


if __name__ == "__main__":
    sys.exit(main())
