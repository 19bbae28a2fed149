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


def templates(workdir):
    """The player's pictures (the sprite sheet's first row of 16-pixel cells), each facing both ways, as
    lists of (x, y, colour) of their drawn pixels."""
    sprites = kesdriver.read_png(workdir.join("data/gfx/sprites.png"))
    found = []
    for cell in range(16):
        pixels = [(x, y, sprites.pixel(16 * cell + x, y)) for y in range(16) for x in range(16)]
        pixels = [(x, y, c) for x, y, c in pixels if c != KEY]
        if pixels:
            found.append(pixels)
            found.append([(15 - x, y, c) for x, y, c in pixels])
    return found


def small(picture):
    """The 320x240 picture the game drew, from the doubled window."""
    return [[picture.pixel(2 * x, 2 * y) for x in range(320)] for y in range(240)]


def matches(screen, where, template):
    """Every place a picture of the player lies on the screen: (x, y, share of its pixels shown on even
    checkerboard squares (x + y), share shown on odd ones). The player drawn whole shows both; the ghost
    only the even ones. where: the screen's places of each colour."""
    # Places are found from the template's three rarest colours on the screen (one of them shows on an
    # even square), then checked pixel by pixel.
    rare = sorted({c for _, _, c in template}, key=lambda c: len(where.get(c, ())))[:3]
    places = set()
    for ax, ay, c in template:
        if c in rare:
            places.update((x - ax, y - ay) for x, y in where.get(c, ()))
    found = []
    for left, top in places:
        shown = [[0, 0], [0, 0]]
        for x, y, c in template:
            sx, sy = left + x, top + y
            if 0 <= sx < 320 and 16 <= sy < 240:  # below the status display and the countdown
                square = (sx + sy) & 1
                shown[square][1] += 1
                shown[square][0] += screen[sy][sx] == c
        if shown[0][1] >= 20 and shown[1][1] >= 20:
            found.append((left, top, shown[0][0] / shown[0][1], shown[1][0] / shown[1][1]))
    return found


def ghost_and_player(picture, player_pictures):
    """Whether the picture shows the player drawn whole and, elsewhere, the ghost drawn on even squares."""
    screen = small(picture)
    where = {}
    for y in range(16, 240):
        for x in range(320):
            where.setdefault(screen[y][x], []).append((x, y))
    places = [place for template in player_pictures for place in matches(screen, where, template)]
    player = [(x, y) for x, y, even, odd in places if even > 0.95 and odd > 0.95]
    ghost = [(x, y) for x, y, even, odd in places if even > 0.95 and odd < 0.5]
    return player and ghost and all(abs(g[0] - p[0]) + abs(g[1] - p[1]) >= 8 for g in ghost for p in player)


def ghost_beside_player(xserver, binary, build_dir):
    workdir = e2e_support.Workdir(build_dir, kesdriver.settings_text(fullscreen=0))
    player_pictures = templates(workdir)
    try:
        with kesdriver.GameProcess(xserver, binary, workdir.path,
                                   args=["--windowed", "--level", "data/maps/level1.map"]) as game:
            try:
                game.open()
                game.wait_for_picture(on_play, timeout=60, what="the level, faded in")

                def apart(picture):
                    return picture if ghost_and_player(picture, player_pictures) else None

                picture = game.wait_for_picture(apart, timeout=30, what="a half-drawn ghost beside the player")
                if os.environ.get("KESTROVANE_GHOST_PICTURE"):
                    picture.save(os.environ["KESTROVANE_GHOST_PICTURE"])
                e2e_support.close_through_credits(game, workdir, "the credits after Escape", key="Escape")
            except kesdriver.DriverError as error:
                raise e2e_support.fail_with_log(game, error, "kestrovane-ghost-failure.png")
    finally:
        workdir.cleanup()


def main():
    return e2e_support.main([("the par ghost runs ahead, half drawn, beside the player", ghost_beside_player)])


if __name__ == "__main__":
    sys.exit(main())
