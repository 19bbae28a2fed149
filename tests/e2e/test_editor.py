"""The level editor in a real window: --edit on a new level, painting with the mouse (xdotool), placing the
player's start and an exit from the palette, test-play and back to the editor as it was, saving, and the
level then played alone with --level; a level link played with --link, and a broken link refused."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support  # noqa: E402
import kesdriver  # noqa: E402
from e2e_support import on_play  # noqa: E402

AMBER = (255, 192, 64)
# The palette's columns on the 640x480 window: the picture's x 256 upward, 16 picture pixels a cell.
PALETTE_X = 512


def entity_row(build_dir):
    """The side palette's first row of entities: the tiles (one for each colour of the tile table) fill the
    rows above it, four a row."""
    with open(os.path.join(build_dir, "data", "maps", "tiletypes.cfg"), encoding="latin-1") as table:
        colours = {line.split(" ")[0] for line in table.read().split("\n")
                   if not line.startswith("//") and len(line.split(" ")) >= 8}
    return (len(colours) + 3) // 4


def click(game, x, y, button=1):
    game.xdotool("mousemove", x, y, "click", button)


def drag(game, x0, y0, x1, y1):
    game.xdotool("mousemove", x0, y0, "mousedown", 1)
    for step in range(1, 9):
        game.xdotool("mousemove", x0 + (x1 - x0) * step // 8, y0 + (y1 - y0) * step // 8)
    game.xdotool("mouseup", 1)


def says(workdir, text):
    """The second status line shows text (amber, at the picture's y 220)."""
    return lambda picture: workdir.shows(picture, text, 0, 220, AMBER)


def on_editor(picture):
    """The editor: the palette panel's dark blue at the picture's right edge."""
    return picture.pixel(636, 410) == (24, 24, 40)


def edit_test_and_save(xserver, binary, build_dir):
    workdir = e2e_support.Workdir(build_dir, kesdriver.settings_text(fullscreen=0))
    try:
        with kesdriver.GameProcess(xserver, binary, workdir.path, args=["--edit", "mine.map"]) as game:
            try:
                game.open()
                game.wait_for_picture(says(workdir, "New level mine.map"), timeout=60, what="the editor, new level")
                # A wall drawn by dragging with the first tile of the palette's second column chosen.
                click(game, PALETTE_X + 16 * 2 + 8, 8)
                drag(game, 40, 360, 400, 360)
                game.key("ctrl+s")
                game.wait_for_picture(says(workdir, "Not saved: No player start"), timeout=30,
                                      what="saving refused without a start")
                # The start and an exit from the entity palette, below the tiles' rows: Player first,
                # ShipDoor2 (the eleventh entity) in its third row.
                entities = entity_row(build_dir)
                click(game, PALETTE_X + 16, entities * 32 + 16)
                click(game, 72, 328)
                click(game, PALETTE_X + 2 * 32 + 16, (entities + 2) * 32 + 16)
                click(game, 12 * 32 + 16, 328)
                game.wait_for_picture(lambda picture: picture.pixel(72, 328) != picture.pixel(72, 200),
                                      timeout=30, what="the player's start drawn")
                before = game.screenshot()

                game.key("t")
                game.wait_for_picture(on_play, timeout=60, what="test-play")
                game.key("Escape")
                game.wait_for_picture(says(workdir, "Back from test-play"), timeout=60, what="the editor again")
                after = game.screenshot()
                # The level, the view and the palette exactly as they were.
                view = [(x, y) for x in range(0, 640, 7) for y in range(0, 416, 7)]
                if any(before.pixel(x, y) != after.pixel(x, y) for x, y in view):
                    raise kesdriver.DriverError("the editor came back changed from test-play")

                game.key("ctrl+s")
                game.wait_for_picture(says(workdir, "Saved mine.map"), timeout=30, what="the level saved")
                game.key("l")
                kesdriver.wait_until(lambda: _link(game), 30, "the level's link on standard output")
                link = _link(game)
                e2e_support.close_through_credits(game, workdir, "the credits after leaving", key="Escape")
            except kesdriver.DriverError as error:
                raise e2e_support.fail_with_log(game, error, "kestrovane-editor-failure.png")
        for args in (["--level", "mine.map"], ["--link", link]):
            with kesdriver.GameProcess(xserver, binary, workdir.path, args=["--windowed"] + args) as game:
                try:
                    game.open()
                    game.wait_for_picture(on_play, timeout=60, what="the made level played with %s" % args[0])
                    e2e_support.close_through_credits(game, workdir, "the credits after Escape", key="Escape")
                except kesdriver.DriverError as error:
                    raise e2e_support.fail_with_log(game, error, "kestrovane-editor-level-failure.png")
        code, _, output = kesdriver.run_without_display(binary, workdir.path, args=["--link", link[:len(link) // 2]])
        if code != 1 or "kestrovane: the link cannot be played: The link is broken" not in output:
            raise kesdriver.DriverError("a broken link: exit code %s, output %r" % (code, output))
    finally:
        workdir.cleanup()


def _link(game):
    lines = [line for line in game.log().split("\n") if len(line) > 100 and " " not in line]
    return lines[-1] if lines else None


def main():
    return e2e_support.main([
        ("the editor: paint with the mouse, place, test-play and back, save, play the saved level",
         edit_test_and_save)])


if __name__ == "__main__":
    sys.exit(main())
