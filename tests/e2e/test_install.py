"""Installs the build into a temporary root as a distribution would, then checks the installed files, runs
the desktop and AppStream validators on them, plays the installed launcher in a virtual display with a
temporary home, installs and uninstalls under /usr/local, and builds the Debian package, compares it with
the install and has Debian's lintian check it."""

import hashlib
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support  # noqa: E402
import kesdriver  # noqa: E402
from test_play import start_play  # noqa: E402

ICON_SIZES = (16, 32, 48, 64, 128, 192, 256, 512)
SDL_LIBRARIES = ("libsdl2-2.0-0", "libsdl2-image-2.0-0", "libsdl2-mixer-2.0-0")
DEFAULT_SETTINGS = kesdriver.settings_text(fullscreen=1).encode()
# Under /usr the command is a game's, in /usr/games; the program it starts lives in libexec either way.
LAUNCHER = "usr/games/kestrovane"
SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def run(command, **options):
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **options)
    if result.returncode != 0:
        raise kesdriver.DriverError("%s failed with %d:\n%s" % (" ".join(command), result.returncode, result.stdout))
    return result.stdout


def files_under(root):
    """Relative paths of every file and link under root (folders left out)."""
    found = set()
    for folder, _, names in os.walk(root):
        for name in names:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def snapshot(root):
    """Everything that would show a change to the tree: each entry's kind, mode, size and content."""
    state = {}
    for folder, folders, names in os.walk(root):
        for name in folders + names:
            path = os.path.join(folder, name)
            info = os.lstat(path)
            if os.path.islink(path):
                content = os.readlink(path)
            elif os.path.isfile(path):
                with open(path, "rb") as file:
                    content = hashlib.sha256(file.read()).hexdigest()
            else:
                content = None
            state[os.path.relpath(path, root)] = (info.st_mode, info.st_size, info.st_mtime_ns, content)
    return state


def png_header(path):
    """(width, height, colour type) of a PNG file."""
    with open(path, "rb") as file:
        head = file.read(26)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        raise kesdriver.DriverError("%s is not a PNG file" % path)
    width, height = struct.unpack(">II", head[16:24])
    return width, height, head[25]


def app_id(build_dir):
    """The desktop's name for the game, as the build configured its menu entry."""
    entries = [name for name in os.listdir(os.path.join(build_dir, "packaging")) if name.endswith(".desktop")]
    if len(entries) != 1:
        raise kesdriver.DriverError("expected one desktop entry in %s/packaging, found %s" % (build_dir, entries))
    return entries[0][:-len(".desktop")]


def expected_files(build_dir, app):
    data = files_under(os.path.join(build_dir, "data"))
    return ({LAUNCHER, "usr/libexec/kestrovane/kestrovane",
             "usr/share/applications/%s.desktop" % app, "usr/share/metainfo/%s.metainfo.xml" % app,
             "usr/share/man/man6/kestrovane.6.gz", "usr/share/doc/kestrovane/copyright",
             "usr/share/doc/kestrovane/changelog.gz"}
            | {"usr/share/kestrovane/data/" + name for name in data}
            | {"usr/share/icons/hicolor/%dx%d/apps/%s.png" % (size, size, app) for size in ICON_SIZES})


def check_files(root, build_dir, app):
    installed = files_under(root)
    expected = expected_files(build_dir, app)
    if installed != expected:
        raise kesdriver.DriverError("installed files differ; missing %s, unexpected %s"
                                    % (sorted(expected - installed), sorted(installed - expected)))
    for program in (LAUNCHER, "usr/libexec/kestrovane/kestrovane"):
        if not os.access(os.path.join(root, program), os.X_OK):
            raise kesdriver.DriverError("%s is not executable" % program)
    for name in files_under(os.path.join(build_dir, "data")):
        with open(os.path.join(build_dir, "data", name), "rb") as built, \
                open(os.path.join(root, "usr/share/kestrovane/data", name), "rb") as installed_file:
            if built.read() != installed_file.read():
                raise kesdriver.DriverError("installed data/%s differs from the build's" % name)
    for size in ICON_SIZES:
        header = png_header(os.path.join(root, "usr/share/icons/hicolor/%dx%d/apps/%s.png" % (size, size, app)))
        if header != (size, size, 6):
            raise kesdriver.DriverError("the %d px icon is %dx%d of colour type %d, not RGBA" % ((size,) + header))


def check_validators(root, app):
    desktop = os.path.join(root, "usr/share/applications/%s.desktop" % app)
    metainfo = os.path.join(root, "usr/share/metainfo/%s.metainfo.xml" % app)
    run(["desktop-file-validate", desktop])
    run(["appstreamcli", "validate", "--no-net", metainfo])
    # Both carry every shipped language's words (German is always among them).
    with open(desktop, encoding="utf-8") as entry, open(metainfo, encoding="utf-8") as data:
        if "Comment[de]=" not in entry.read() or 'xml:lang="de"' not in data.read():
            raise kesdriver.DriverError("the menu entry or the AppStream data lacks the German translation")


def play_installed(xserver, build_dir, root, home, xdg_data_home, screenshot):
    """Starts the installed launcher from a folder that holds a copy of the data, so a launcher that forgot
    to change folders would still run, and be caught writing its settings (and a screenshot) there."""
    start = e2e_support.Workdir(build_dir, prefix="kestrovane-install-start-")
    before = snapshot(root)
    extra_env = {"HOME": home}
    if xdg_data_home is not None:
        extra_env["XDG_DATA_HOME"] = xdg_data_home
    folder = os.path.join(xdg_data_home or os.path.join(home, ".local/share"), "kestrovane")
    try:
        with kesdriver.GameProcess(xserver, os.path.join(root, LAUNCHER), start.path,
                                   extra_env=extra_env) as game:
            game.start()
            try:
                game.wait_for_window()
                game.wait_for_picture(start.on_menu, timeout=60, what="the main menu")
                if screenshot:
                    game.focus()
                    start_play(game, start, "a screenshot")
                    game.key("F12")
                    kesdriver.wait_until(lambda: os.path.exists(os.path.join(folder, "kesv0.png")), 30,
                                         "kesv0.png in the player's folder")
                e2e_support.close_through_credits(game, start)
            except kesdriver.DriverError as error:
                raise e2e_support.fail_with_log(game, error, "kestrovane-install-fail.png")
        with open(os.path.join(folder, "kesv.cfg"), "rb") as file:
            if file.read() != DEFAULT_SETTINGS:
                raise kesdriver.DriverError("the player's kesv.cfg is not the default file")
        installed_data = os.path.realpath(os.path.join(root, "usr/share/kestrovane/data"))
        if os.path.realpath(os.path.join(folder, "data")) != installed_data:
            raise kesdriver.DriverError("the player's data/ does not lead to the installed data")
        if os.path.exists(start.join("kesv.cfg")) or os.path.exists(start.join("kesv0.png")):
            raise kesdriver.DriverError("the game wrote in the folder it was started from")
        if snapshot(root) != before:
            raise kesdriver.DriverError("playing changed the install tree")
    finally:
        start.cleanup()


def check_launcher(xserver, build_dir, root):
    home = tempfile.mkdtemp(prefix="kestrovane-home-")
    try:
        os.environ.pop("XDG_DATA_HOME", None)
        play_installed(xserver, build_dir, root, home, None, screenshot=False)
        xdg = os.path.join(home, "xdg-data")
        play_installed(xserver, build_dir, root, home, xdg, screenshot=True)
        # Each run kept to its own folder: the second left the first one's as it was.
        if sorted(os.listdir(os.path.join(home, ".local/share/kestrovane"))) != ["data", "kesv.cfg", "kesv.window"]:
            raise kesdriver.DriverError("the home folder's kestrovane/ holds more than data and the player's files")
    finally:
        shutil.rmtree(home, ignore_errors=True)


def check_data_link(root):
    """Runs the installed launcher with a stand-in game: the player's own data/ (a link to a mod, a link
    that leads nowhere, a real folder) is kept, and the launcher's link to a moved install is repaired."""
    tree = tempfile.mkdtemp(prefix="kestrovane-launcher-")
    try:
        launcher = os.path.join(tree, "usr/bin/kestrovane")
        game = os.path.join(tree, "usr/libexec/kestrovane/kestrovane")
        content = os.path.join(tree, "usr/share/kestrovane/data")
        for folder in (os.path.dirname(launcher), os.path.dirname(game), content):
            os.makedirs(folder)
        shutil.copy(os.path.join(root, LAUNCHER), launcher)
        with open(game, "w") as file:
            file.write("#!/bin/sh\n")
        os.chmod(game, 0o755)
        mod = os.path.join(tree, "mods/longer-decks")
        # What data/ is before the start, and what it must be after: a link's target, or "folder".
        for before, after in ((None, content), ("/opt/old/share/kestrovane/data", content), (mod, mod),
                              ("../unplugged-drive/data", "../unplugged-drive/data"), ("folder", "folder")):
            xdg = tempfile.mkdtemp(prefix="xdg-", dir=tree)
            data = os.path.join(xdg, "kestrovane", "data")
            os.makedirs(os.path.dirname(data))
            if before == "folder":
                os.mkdir(data)
            elif before:
                os.symlink(before, data)
            run([launcher], env=dict(os.environ, HOME=tree, XDG_DATA_HOME=xdg))
            now = os.readlink(data) if os.path.islink(data) else "folder" if os.path.isdir(data) else None
            if now != after:
                raise kesdriver.DriverError("data/ that was %s became %s, not %s" % (before, now, after))
    finally:
        shutil.rmtree(tree, ignore_errors=True)


def check_launcher_arguments(root, app):
    """The launcher passes the arguments on: the version is the AppStream data's, and a level named relative
    to the folder the game was started from is looked for there, not in the player's folder."""
    launcher = os.path.join(root, LAUNCHER)
    home = tempfile.mkdtemp(prefix="kestrovane-home-")
    start = os.path.join(home, "start")
    os.mkdir(start)
    try:
        env = {"HOME": home, "XDG_DATA_HOME": ""}
        with open(os.path.join(root, "usr/share/metainfo/%s.metainfo.xml" % app)) as file:
            release = re.search(r'<release version="([^"]+)"', file.read()).group(1)
        code, stdout, _ = kesdriver.run_without_display(launcher, start, args=["--version"], extra_env=env)
        if code != 0 or stdout != "Kestrovane %s\n" % release:
            raise kesdriver.DriverError("--version: exit code %d, %r; the AppStream release is %s"
                                        % (code, stdout, release))
        code, _, stderr = kesdriver.run_without_display(launcher, start, args=["--level", "mine/deck.map"],
                                                        extra_env=env)
        line = "Unable to load level %s/mine/deck.map: the level file cannot be opened" % start
        if code != 1 or line not in stderr:
            raise kesdriver.DriverError("--level mine/deck.map: exit code %d, stderr %r" % (code, stderr))
    finally:
        shutil.rmtree(home, ignore_errors=True)


def check_package(build_dir, root):
    out = tempfile.mkdtemp(prefix="kestrovane-deb-")
    try:
        run(["cpack", "--config", os.path.join(build_dir, "CPackConfig.cmake"), "-B", out])
        packages = [name for name in os.listdir(out) if name.endswith(".deb")]
        if len(packages) != 1:
            raise kesdriver.DriverError("cpack made %s, not one .deb" % packages)
        deb = os.path.join(out, packages[0])
        listed = set()
        for line in run(["dpkg-deb", "-c", deb]).splitlines():
            fields = line.split()
            if not fields[0].startswith("d"):
                listed.add(os.path.normpath(fields[5]))
        if listed != files_under(root):
            raise kesdriver.DriverError("the package's files differ from the install; only in the package %s, "
                                        "only in the install %s" % (sorted(listed - files_under(root)),
                                                                    sorted(files_under(root) - listed)))
        depends = run(["dpkg-deb", "-f", deb, "Depends"])
        missing = [library for library in SDL_LIBRARIES if library not in depends]
        if missing:
            raise kesdriver.DriverError("the package's dependencies %r lack %s" % (depends.strip(), missing))
        if not shutil.which("lintian"):
            raise kesdriver.MissingPrerequisite("lintian", "Debian's package checker")
        # Not a single error or warning (the notice about running as root is lintian's own, on stderr).
        report = subprocess.run(["lintian", "--fail-on", "error,warning", deb], stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True)
        if report.returncode != 0:
            raise kesdriver.DriverError("lintian finds fault with the package:\n" + report.stdout)
    finally:
        shutil.rmtree(out, ignore_errors=True)


def check_local_install_and_uninstall(build_dir):
    """Under /usr/local the command goes in bin/, where the README says; make uninstall then takes away
    every file the install added and the game's own folders, and nothing of anyone else's."""
    root = tempfile.mkdtemp(prefix="kestrovane-local-")
    try:
        others = {"usr/local/bin/other-game", "usr/local/share/applications/other.desktop"}
        for name in others:
            os.makedirs(os.path.dirname(os.path.join(root, name)), exist_ok=True)
            open(os.path.join(root, name), "w").close()
        run(["cmake", "--install", build_dir, "--prefix", "/usr/local"], env=dict(os.environ, DESTDIR=root))
        if not os.access(os.path.join(root, "usr/local/bin/kestrovane"), os.X_OK):
            raise kesdriver.DriverError("under /usr/local the command is not in bin/: %s"
                                        % sorted(files_under(os.path.join(root, "usr/local/bin"))))
        run(["make", "--no-print-directory", "-C", SOURCE_DIR, "uninstall", "BUILD_DIR=" + build_dir,
             "PREFIX=/usr/local", "DESTDIR=" + root])
        if files_under(root) != others:
            raise kesdriver.DriverError("after make uninstall: %s" % sorted(files_under(root) - others))
        left = [os.path.relpath(folder, root) for folder, _, _ in os.walk(root)
                if "kestrovane" in os.path.relpath(folder, root)]
        if left:
            raise kesdriver.DriverError("make uninstall left the game's folders %s" % left)
    finally:
        shutil.rmtree(root, ignore_errors=True)


def main():
    if len(sys.argv) != 2:
        print("usage: test_install.py <build dir>")
        return 2
    build_dir = os.path.abspath(sys.argv[1])
    app = app_id(build_dir)
    root = tempfile.mkdtemp(prefix="kestrovane-destdir-")
    try:
        run(["cmake", "--install", build_dir, "--prefix", "/usr"], env=dict(os.environ, DESTDIR=root))
        return e2e_support.run_scenarios(build_dir, [
            ("installed files", lambda xserver, binary, build: check_files(root, build, app)),
            ("desktop entry and AppStream data validate", lambda xserver, binary, build: check_validators(root, app)),
            ("installed launcher plays in the player's folder, settings and screenshot there",
             lambda xserver, binary, build: check_launcher(xserver, build, root)),
            ("launcher keeps the player's own data/ and repairs its own link",
             lambda xserver, binary, build: check_data_link(root)),
            ("installed launcher passes its arguments, relative files found from where it was started",
             lambda xserver, binary, build: check_launcher_arguments(root, app)),
            ("under /usr/local in bin/, and make uninstall takes it all away",
             lambda xserver, binary, build: check_local_install_and_uninstall(build)),
            ("Debian package, clean by lintian", lambda xserver, binary, build: check_package(build, root)),
        ])
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
