"""Plays a level alone in a real window without touching a key: its recorded input runs ahead as the par
ghost, drawn as the player's picture with every other pixel left out, beside the player who stands at the
start. Set KESTROVANE_GHOST_PICTURE to a file name to keep the screenshot (the README's picture)."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support  # noqa: E402
import kesdriver  # noqa: E402
from e2e_support import on_play  # noqa: E402

KEY = (128, 0, 128)


def colours(picture, width, height):
    return {picture.pixel(x, y) for y in range(height) for x in range(width)}


def player_colours(workdir):
    """Colours of the player's pictures (the sprite sheet's first row of cells) found in no tile and not
    in the status display, so that a pixel of one of them on the screen is the player's or the ghost's."""
    sprites = kesdriver.read_png(workdir.join("data/gfx/sprites.png"))
    tiles = kesdriver.read_png(workdir.join("data/gfx/tiles.png"))
    hud = kesdriver.read_png(workdir.join("data/gfx/hud.png"))
    others = colours(tiles, tiles.width, tiles.height) | colours(hud, hud.width, hud.height)
    return colours(sprites, 256, 16) - others - {KEY, (0, 0, 0), (255, 255, 255)}


def ghost_and_player(picture, palette):
    """Player-coloured pixels of the 320x240 picture on even and on odd checkerboard squares (x + y). The
    player, drawn whole, has both; the ghost has only even ones."""
    counts = [0, 0]
    for y in range(16, 240):  # below the status display and the countdown
        for x in range(320):
            if picture.pixel(2 * x, 2 * y) in palette:
                counts[(x + y) & 1] += 1
    return counts


def ghost_beside_player(xserver, binary, build_dir):
    workdir = e2e_support.Workdir(build_dir, kesdriver.settings_text(fullscreen=0))
    palette = player_colours(workdir)
    try:
        with kesdriver.GameProcess(xserver, binary, workdir.path,
                                   args=["--windowed", "--level", "data/maps/level1.map"]) as game:
            try:
                game.start()
                game.wait_for_window()
                game.focus()
                game.wait_for_picture(on_play, timeout=60, what="the level, faded in")

                def apart(picture):
                    even, odd = ghost_and_player(picture, palette)
                    return picture if odd >= 20 and even - odd >= 20 else None

                picture = game.wait_for_picture(apart, timeout=30, what="a half-drawn ghost beside the player")
                if os.environ.get("KESTROVANE_GHOST_PICTURE"):
                    picture.save(os.environ["KESTROVANE_GHOST_PICTURE"])
                game.key("Escape")
                game.wait_for_picture(workdir.on_credits, timeout=60, what="the credits after Escape")
                if game.wait_exit(timeout=60) != 0:
                    raise kesdriver.DriverError("the game did not exit with code 0")
            except kesdriver.DriverError as error:
                raise e2e_support.fail_with_log(game, error, "kestrovane-ghost-failure.png")
    finally:
        workdir.cleanup()


def main():
    return e2e_support.main([("the par ghost runs ahead, half drawn, beside the player", ghost_beside_player)])


if __name__ == "__main__":
    sys.exit(main())
