"""Starts the real game in an empty folder: the window appears, the default settings file is written,
the menu is drawn, and closing the window ends the program through the credits with exit code 0. Then the
command line's answers that need no window: the help, the version and a refused option, each with its exit
status and on its own stream, and nothing written."""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support  # noqa: E402
import kesdriver  # noqa: E402

DEFAULT_SETTINGS = kesdriver.settings_text(fullscreen=1).encode()


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

    # The built content and nothing else: the game writes its own settings.
    try:
        folder = e2e_support.Workdir(build_dir, prefix="kestrovane-startup-")
    except kesdriver.DriverError as error:
        print("FAIL: %s" % error)
        return 1
    try:
        workdir = folder.path
        with kesdriver.XServer() as xserver, kesdriver.GameProcess(xserver, binary, workdir) as game:
            game.start()
            try:
                game.wait_for_window()
                settings = read_settings(workdir)
                if settings != DEFAULT_SETTINGS:
                    raise kesdriver.DriverError("kesv.cfg is not the default file: %r" % settings)

                # The main menu fades in from black over about a second; its version line shows it whole.
                game.wait_for_picture(folder.on_menu, timeout=30, what="the main menu")

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
    finally:
        folder.cleanup()

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
