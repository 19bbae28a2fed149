"""Starts the real game in an empty folder: the window appears, the default settings file is written,
the menu is drawn, and closing the window ends the program through the credits with exit code 0. Then the
command line's answers that need no window: the help, the version and a refused option, each with its exit
status and on its own stream, and nothing written."""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesdriver  # noqa: E402

DEFAULT_SETTINGS = kesdriver.settings_text(fullscreen=1).encode()


def write_minimal_data(workdir):
    """The few pictures start-up needs, for a build whose content has not been generated."""
    gfx = os.path.join(workdir, "data", "gfx")
    os.makedirs(gfx)

    def solid(name, width, height, rgb):
        kesdriver.write_png(os.path.join(gfx, name), width, height, bytes(rgb) * (width * height))

    # Every glyph is a filled 6x6 square on the transparent key colour.
    font = bytearray()
    for y in range(64):
        for x in range(96):
            inside = 1 <= x % 8 <= 6 and 1 <= y % 8 <= 6
            font += bytes((255, 255, 255) if inside else (128, 0, 128))
    kesdriver.write_png(os.path.join(gfx, "font.png"), 96, 64, bytes(font))
    solid("bg.png", 320, 240, (20, 40, 90))
    solid("arrow.png", 8, 8, (200, 200, 0))
    solid("title.png", 160, 40, (180, 60, 60))
    solid("settings.png", 160, 40, (60, 180, 60))


def read_settings(workdir):
    path = os.path.join(workdir, "kesv.cfg")
    if not os.path.exists(path):
        return None
    with open(path, "rb") as file:
        return file.read()


def check_command_line(binary, workdir):
    """Returns a failure text, or None when every answer is right."""
    usage = "Usage: kestrovane [OPTION]..."
    expected = {
        ("--help",): (0, usage, ""),
        ("--version",): (0, "Kestrovane ", ""),
        ("--windowed", "--lvl", "x.map"): (2, "", "kestrovane: unknown option --lvl\n\n" + usage),
        ("--replay", "x.replay"): (2, "", "kestrovane: --replay needs --level"),
    }
    for args, (code, stdout, stderr) in expected.items():
        got = kesdriver.run_without_display(binary, workdir, args=args)
        # Each text begins as expected, and a stream expected empty is empty.
        right = (got[0] == code and got[1].startswith(stdout) and got[2].startswith(stderr)
                 and bool(got[1]) == bool(stdout) and bool(got[2]) == bool(stderr))
        if not right:
            return "%s: exit code %d, stdout %r, stderr %r" % (" ".join(args), got[0], got[1], got[2])
    if os.listdir(workdir):
        return "answering the command line wrote %s" % os.listdir(workdir)
    return None


def main():
    if len(sys.argv) != 2:
        print("usage: test_startup.py <build dir>")
        return 2
    build_dir = os.path.abspath(sys.argv[1])
    binary = kesdriver.find_binary(build_dir)

    with tempfile.TemporaryDirectory(prefix="kestrovane-startup-") as workdir:
        if not kesdriver.copy_data(build_dir, workdir):
            print("note: %s/data does not exist; using a minimal generated data folder" % build_dir)
            write_minimal_data(workdir)

        with kesdriver.XServer() as xserver, kesdriver.GameProcess(xserver, binary, workdir) as game:
            game.start()
            try:
                game.wait_for_window()
                settings = read_settings(workdir)
                if settings != DEFAULT_SETTINGS:
                    raise kesdriver.DriverError("kesv.cfg is not the default file: %r" % settings)

                # The main menu fades in from black over about a second.
                game.wait_for_picture(lambda picture: not picture.is_black(), timeout=30,
                                      what="the main menu to appear")

                game.close_window()
                code = game.wait_exit(timeout=60)
                if code != 0:
                    raise kesdriver.DriverError("the game exited with code %d" % code)
                if read_settings(workdir) != DEFAULT_SETTINGS:
                    raise kesdriver.DriverError("kesv.cfg was not rewritten with the same values at exit")
            except kesdriver.DriverError as error:
                print("FAIL: %s" % error)
                print("game output:\n%s" % game.log())
                if game.running():
                    game.screenshot(os.path.join(tempfile.gettempdir(), "kestrovane-startup-failure.png"))
                return 1

    print("PASS: window opened, default settings written, menu drawn, closed with exit code 0")
    with tempfile.TemporaryDirectory(prefix="kestrovane-options-") as workdir:
        failure = check_command_line(binary, workdir)
    if failure:
        print("FAIL: %s" % failure)
        return 1
    print("PASS: --help, --version and refused options answer with their exit status on their own stream")
    return 0


if __name__ == "__main__":
    sys.exit(main())
