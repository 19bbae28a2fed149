"""The picture on a wide screen, under a window manager: fullscreen keeps square pixels with black bars at the
sides (Fit) or around a whole multiple (Sharp); leaving fullscreen returns to the first window's size; a
resized window shows the whole picture scaled into it, and the next run opens at the size it was left at."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support  # noqa: E402
import kesdriver  # noqa: E402

WIDE = {"width": 1920, "height": 1080, "window_manager": True}
SCREEN = (0, 0, 1920, 1080)


def within(shot, left, top, width, height):
    """The 640x480 picture the game laid into this rectangle of a screenshot, read back at the centre of each
    of its pixels: text then sits exactly where the game drew it, if and only if no pixel was widened."""
    rgb = bytearray()
    for y in range(480):
        row = top + int((y + 0.5) * height / 480)
        for x in range(640):
            rgb += bytes(shot.pixel(left + int((x + 0.5) * width / 640), row))
    return kesdriver.Picture(640, 480, bytes(rgb))


def scaled_into(area, rect, screen):
    """A screenshot check: the picture inside rect shows the screen (a Workdir check), the rest of area is black."""
    def check(shot):
        left, top, width, height = rect
        for y in range(area[1], area[1] + area[3], 7):
            for x in range(area[0], area[0] + area[2], 7):
                inside = left <= x < left + width and top <= y < top + height
                if not inside and shot.pixel(x, y) != (0, 0, 0):
                    return False
        return screen(within(shot, *rect))
    return check


def window_rect(xserver, window):
    """The window's inside on the screen: left, top, width, height."""
    geometry = window.get_geometry()
    origin = xserver.display.screen().root.translate_coords(window, 0, 0)
    return origin.x, origin.y, geometry.width, geometry.height


def expect_kept(game, workdir, line):
    """Closes the game and checks the window file it leaves."""
    game.close_window()
    if game.wait_exit(timeout=90) != 0:
        raise kesdriver.DriverError("the game exited with an error")
    kept = workdir.read("kesv.window").decode("latin-1").splitlines()[-1]
    if kept != line:
        raise kesdriver.DriverError("kesv.window keeps %r, not %r" % (kept, line))


def fullscreen(scaling, rect, leave):
    def scenario(xserver, binary, build_dir):
        workdir = e2e_support.Workdir(build_dir, kesdriver.settings_text(fullscreen=1))
        workdir.write("kesv.window", "0 0 %s\n" % scaling)
        game = kesdriver.GameProcess(xserver, binary, workdir.path).open()
        try:
            game.wait_for_picture(scaled_into(SCREEN, rect, workdir.on_menu), timeout=60,
                                  what="the main menu at %s with black around it" % (rect,))
            if leave:
                game.key("Down", "Return")  # Options
                settings = lambda picture: workdir.shows(picture, "Fullscreen: On", 92, 100)  # noqa: E731
                game.wait_for_picture(scaled_into(SCREEN, rect, settings), what="the settings screen")
                game.key("Down", "Down", "Down", "Down", "Return")
                # The first window of a 1080-line desktop: four times the game's own pixels.
                inside = kesdriver.wait_until(lambda: window_rect(xserver, game.window)[2:] == (1280, 960)
                                              and window_rect(xserver, game.window), 30, "a 1280x960 window")
                off = lambda picture: workdir.shows(picture, "Fullscreen: Off", 92, 100)  # noqa: E731
                game.wait_for_picture(scaled_into(inside, inside, off), what="the settings in the window")
                expect_kept(game, workdir, "1280 960 %s" % scaling)
        except kesdriver.DriverError as error:
            raise e2e_support.fail_with_log(game, error, "kestrovane-scaling-failure.png")
        finally:
            game.stop()
            workdir.cleanup()

    return scenario


def resized_window(xserver, binary, build_dir):
    workdir = e2e_support.Workdir(build_dir, kesdriver.settings_text(fullscreen=0))
    game = kesdriver.GameProcess(xserver, binary, workdir.path).open()
    try:
        game.xdotool("windowsize", game.window.id, 1000, 600)
        kesdriver.wait_until(lambda: window_rect(xserver, game.window)[2:] == (1000, 600), 30, "a 1000x600 window")
        left, top, _, _ = window_rect(xserver, game.window)
        # Fit: the whole 4:3 picture, as tall as the window, between bars.
        game.wait_for_picture(scaled_into((left, top, 1000, 600), (left + 100, top, 800, 600), workdir.on_menu),
                              what="the menu scaled into the resized window")
        expect_kept(game, workdir, "1000 600 Fit")
        game.stop()
        game = kesdriver.GameProcess(xserver, binary, workdir.path).open()
        if window_rect(xserver, game.window)[2:] != (1000, 600):
            raise kesdriver.DriverError("the next run opened at %dx%d" % window_rect(xserver, game.window)[2:])
    except kesdriver.DriverError as error:
        raise e2e_support.fail_with_log(game, error, "kestrovane-resize-failure.png")
    finally:
        game.stop()
        workdir.cleanup()


def main():
    return e2e_support.main([
        ("fullscreen Fit on 1920x1080: bars at the sides, then back to a 1280x960 window",
         fullscreen("Fit", (240, 0, 1440, 1080), True), WIDE),
        ("fullscreen Sharp on 1920x1080: four times the picture, black all round",
         fullscreen("Sharp", (320, 60, 1280, 960), False), WIDE),
        ("a resized window shows the whole picture and is kept for the next run", resized_window, WIDE),
    ])


if __name__ == "__main__":
    sys.exit(main())
