"""Drives the real game in a virtual X display: start, find the window, press keys, take screenshots, close.

Typical use:

    with kesdriver.XServer() as xserver, kesdriver.GameProcess(xserver, binary, workdir) as game:
        game.open()
        game.key("Return")
        game.screenshot("shot.png")
        game.close_window()
        code = game.wait_exit()

Every wait polls an observable fact until a generous deadline; nothing relies on a bare sleep.
"""

import os
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib


def missing_package_line(package, what):
    """The one line a real-window test prints when something it relies on is not installed."""
    return "missing prerequisite: %s; install the Debian package %s (tools/install-deps.sh --test)" % (what, package)


try:
    import Xlib.display
    import Xlib.error
    import Xlib.protocol.event
    from Xlib import X
except ImportError:
    # The system Python carries python3-xlib; a separate Python earlier on PATH may not.
    if os.path.exists("/usr/bin/python3") and os.path.realpath(sys.executable) != os.path.realpath("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    sys.exit(missing_package_line("python3-xlib", "the X client library for Python"))

WINDOW_TITLE = "Kestrovane"
ERROR_BOX_TITLE = "Kestrovane - Error"
POLL_SECONDS = 0.05


class DriverError(Exception):
    """Something the game was expected to do did not happen in time."""


class MissingPrerequisite(DriverError):
    """A program, library or font the real-window tests rely on is not installed: not a fault of the game."""

    def __init__(self, package, what):
        super().__init__(missing_package_line(package, what))
        self.package = package


# Programs the tests start, with the Debian packages that bring them.
REQUIRED_PROGRAMS = (("Xvfb", "xvfb"), ("xdotool", "xdotool"))
# The core fonts SDL's X11 error box asks the server for. Without any, the box cannot open: the game prints
# its error on stderr instead, and a test waiting for the box would blame the game.
ERROR_BOX_FONTS = "-*-*-medium-r-normal--*-120-*-*-*-*-*-*"


def check_programs(which=shutil.which):
    """Raises MissingPrerequisite naming the package of the first required program not on PATH."""
    for program, package in REQUIRED_PROGRAMS:
        if which(program) is None:
            raise MissingPrerequisite(package, "the program %s is not on PATH" % program)


def check_server_fonts(display, pattern=ERROR_BOX_FONTS):
    """Raises MissingPrerequisite when the X server has no core font for the game's error box."""
    if not display.list_fonts(pattern, 1):
        raise MissingPrerequisite("xfonts-base", "the X server has no core font %s for the error box" % pattern)


def _report_missing_prerequisite(kind, error, trace):
    # One clear line instead of a traceback, whichever test or measurement met it.
    if isinstance(error, MissingPrerequisite):
        print(error, file=sys.stderr)
    else:
        _default_excepthook(kind, error, trace)


_default_excepthook = sys.excepthook
sys.excepthook = _report_missing_prerequisite


def wait_until(condition, timeout, what):
    """Polls condition() until it returns a true value, which is returned; raises DriverError on timeout."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise DriverError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(POLL_SECONDS)


def write_png(path, width, height, rgb):
    """Writes 8-bit RGB pixels (bytes, row after row) as a PNG file."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    stride = width * 3
    raw = b"".join(b"\x00" + bytes(rgb[y * stride:(y + 1) * stride]) for y in range(height))
    with open(path, "wb") as file:
        file.write(b"\x89PNG\r\n\x1a\n")
        file.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        file.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        file.write(chunk(b"IEND", b""))


class Picture:
    """A screenshot: width, height and RGB bytes."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.rgb[offset:offset + 3])

    def is_black(self):
        return not any(self.rgb)

    def save(self, path):
        write_png(path, self.width, self.height, self.rgb)


class XServer:
    """An Xvfb server on a free display number, with one 640x480x24 screen (or the size given), and on request
    Debian's small window manager Openbox: without one, a fullscreen window does not take the screen."""

    def __init__(self, width=640, height=480, depth=24, window_manager=False):
        self.size = (width, height, depth)
        self.window_manager = window_manager
        self.process = None
        self.manager = None
        self.name = None
        self.display = None

    def start(self, timeout=30):
        check_programs()
        read_end, write_end = os.pipe()
        width, height, depth = self.size
        # Xvfb picks the free display number itself and reports it on the pipe.
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx%d" % (width, height, depth),
             "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        try:
            number = b""
            deadline = time.monotonic() + timeout
            while not number.endswith(b"\n"):
                remaining = deadline - time.monotonic()
                if remaining <= 0 or self.process.poll() is not None:
                    raise DriverError("Xvfb did not start")
                ready, _, _ = select.select([read_end], [], [], remaining)
                if ready:
                    data = os.read(read_end, 16)
                    if not data:
                        raise DriverError("Xvfb closed its display pipe")
                    number += data
        finally:
            os.close(read_end)
        self.name = ":" + number.decode().strip()
        self.display = Xlib.display.Display(self.name)
        try:
            check_server_fonts(self.display)
            if self.window_manager:
                self._start_window_manager(timeout)
        except DriverError:
            self.stop()
            raise
        return self

    def _start_window_manager(self, timeout):
        if shutil.which("openbox") is None:
            raise MissingPrerequisite("openbox", "the program openbox is not on PATH")
        env = dict(os.environ, DISPLAY=self.name)
        self.manager = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        # A running manager names its check window on the root window.
        check = self.display.intern_atom("_NET_SUPPORTING_WM_CHECK")

        def running():
            if self.manager.poll() is not None:
                raise DriverError("openbox exited with code %s" % self.manager.returncode)
            return self.display.screen().root.get_full_property(check, X.AnyPropertyType) is not None

        wait_until(running, timeout, "the window manager")

    def stop(self):
        if self.manager is not None:
            self.manager.terminate()
            try:
                self.manager.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.manager.kill()
                self.manager.wait()
            self.manager = None
        if self.display is not None:
            try:
                self.display.close()
            except Exception:
                pass
            self.display = None
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process = None

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        return False

    def windows(self):
        """Every viewable window with its title, as (window, title) pairs, in stacking order."""
        found = []

        def visit(window):
            try:
                children = window.query_tree().children
            except Xlib.error.XError:
                return
            for child in children:
                try:
                    if child.get_attributes().map_state == X.IsViewable:
                        title = self._title(child)
                        if title is not None:
                            found.append((child, title))
                except Xlib.error.XError:
                    continue  # destroyed while we looked
                visit(child)

        visit(self.display.screen().root)
        return found

    def _title(self, window):
        net_name = window.get_full_property(self.display.intern_atom("_NET_WM_NAME"),
                                            self.display.intern_atom("UTF8_STRING"))
        if net_name is not None and net_name.value:
            value = net_name.value
            return value.decode("utf-8", "replace") if isinstance(value, bytes) else str(value)
        name = window.get_wm_name()
        if name:
            return name.decode("latin-1") if isinstance(name, bytes) else str(name)
        return None

    def find_window(self, title):
        for window, window_title in self.windows():
            if window_title == title:
                return window
        return None

    def grab(self):
        """A screenshot of the whole screen."""
        root = self.display.screen().root
        geometry = root.get_geometry()
        width, height = geometry.width, geometry.height
        image = root.get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF)
        data = image.data if isinstance(image.data, bytes) else image.data.encode("latin-1")
        # A 24-bit screen stores each pixel as 4 bytes: blue, green, red, unused.
        rgb = bytearray(width * height * 3)
        rgb[0::3] = data[2::4]
        rgb[1::3] = data[1::4]
        rgb[2::3] = data[0::4]
        return Picture(width, height, bytes(rgb))


class GameProcess:
    """The game binary running in a working directory on an XServer."""

    def __init__(self, xserver, binary, workdir, extra_env=None, args=()):
        self.xserver = xserver
        self.binary = os.path.abspath(binary)
        self.workdir = workdir
        self.extra_env = extra_env or {}
        self.args = list(args)
        self.process = None
        self.window = None
        self.log_path = None

    def start(self):
        env = dict(os.environ)
        env.pop("SDL_VIDEODRIVER", None)  # a real window is the point
        env["DISPLAY"] = self.xserver.name
        env["SDL_AUDIODRIVER"] = "dummy"
        # The game speaks the language of these: the tests read English unless they ask for another.
        for name in ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"):
            env.pop(name, None)
        env.update(self.extra_env)
        log = tempfile.NamedTemporaryFile(prefix="kestrovane-e2e-", suffix=".log", delete=False)
        self.log_path = log.name
        self.process = subprocess.Popen([self.binary] + self.args, cwd=self.workdir, env=env,
                                        stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        log.close()
        return self

    def open(self):
        """Starts the game and waits for its window, focused; returns self."""
        self.start()
        self.wait_for_window()
        self.focus()
        return self

    def log(self):
        if not self.log_path or not os.path.exists(self.log_path):
            return ""
        with open(self.log_path, "r", errors="replace") as file:
            return file.read()

    def running(self):
        return self.process is not None and self.process.poll() is None

    def _check_alive(self):
        if self.xserver.find_window(ERROR_BOX_TITLE) is not None:
            raise DriverError("the game showed its error box")
        if not self.running():
            raise DriverError("the game exited early with code %s" % self.process.returncode)

    def wait_for_window(self, title=WINDOW_TITLE, timeout=60, stable_seconds=0.5):
        """Waits for a viewable window with this title whose id stays the same for stable_seconds.

        In fullscreen SDL maps a first window and replaces it a moment later, so an early id can vanish.
        """
        candidate = [None, 0.0]

        def settled():
            self._check_alive()
            window = self.xserver.find_window(title)
            now = time.monotonic()
            if window is None:
                candidate[0] = None
                return None
            if candidate[0] is None or candidate[0].id != window.id:
                candidate[0], candidate[1] = window, now
                return None
            return window if now - candidate[1] >= stable_seconds else None

        self.window = wait_until(settled, timeout, "a stable window titled %r" % title)
        return self.window

    def focus(self, timeout=10):
        subprocess.run(["xdotool", "windowfocus", str(self.window.id)], env=self._xenv(), check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def focused():
            focus = self.xserver.display.get_input_focus().focus
            return getattr(focus, "id", None) == self.window.id

        wait_until(focused, timeout, "keyboard focus on the game window")

    def xdotool(self, *args):
        """Runs an xdotool command on the game's display (numbers may be given as numbers)."""
        subprocess.run(["xdotool"] + [str(arg) for arg in args], env=self._xenv(), check=True)

    def key(self, *keys, delay_ms=60):
        """Presses and releases each key (xdotool key names such as Return, Escape, Up, space)."""
        self.xdotool("key", "--delay", delay_ms, *keys)

    def key_down(self, key):
        self.xdotool("keydown", key)

    def key_up(self, key):
        self.xdotool("keyup", key)

    def screenshot(self, path=None):
        """Grabs the screen (the game covers it all); saves a PNG when a path is given."""
        picture = self.xserver.grab()
        if path:
            picture.save(path)
        return picture

    def wait_for_picture(self, condition, timeout=30, what="a picture"):
        """Polls screenshots until condition(picture) holds; returns that picture."""
        def check():
            self._check_alive()
            picture = self.screenshot()
            return picture if condition(picture) else None

        return wait_until(check, timeout, what)

    def close_window(self):
        """Asks the window to close, as a window manager does when the player clicks its close button."""
        display = self.xserver.display
        protocols = display.intern_atom("WM_PROTOCOLS")
        delete = display.intern_atom("WM_DELETE_WINDOW")
        event = Xlib.protocol.event.ClientMessage(window=self.window, client_type=protocols,
                                                  data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        self.window.send_event(event, event_mask=X.NoEventMask)
        display.flush()

    def wait_exit(self, timeout=60):
        """Waits for the game to end and returns its exit code."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise DriverError("the game did not exit within %.0f s" % timeout)

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.log_path and os.path.exists(self.log_path):
            os.unlink(self.log_path)
            self.log_path = None

    def _xenv(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.xserver.name
        return env

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        return False


def find_binary(build_dir):
    binary = os.path.join(build_dir, "kestrovane")
    if not os.path.isfile(binary):
        raise DriverError("no game binary at %s" % binary)
    return binary


def version_line(binary):
    """The main menu's version line, as the game itself reports its version ("Version 0.1.4"), and the x
    at which the menu centres it on the 320x240 picture."""
    output = subprocess.run([binary, "--version"], capture_output=True, text=True, timeout=30, check=True).stdout
    text = "Version " + output.split()[-1]
    return text, (320 - 8 * len(text)) // 2


def copy_data(build_dir, workdir):
    """Copies the generated build/data into workdir/data; False when the build has none."""
    source = os.path.join(build_dir, "data")
    if not os.path.isdir(source):
        return False
    shutil.copytree(source, os.path.join(workdir, "data"))
    return True


# ---- Added for the robustness tests: reading pictures, checking drawn text, the error box. ----

def read_png(path):
    """Reads an 8-bit PNG (grey, RGB, palette, grey+alpha or RGBA, not interlaced) as a Picture of RGB bytes."""
    with open(path, "rb") as file:
        data = file.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise DriverError("%s is not a PNG file" % path)
    offset, idat, palette = 8, b"", b""
    width = height = depth = colour = interlace = None
    while offset < len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        body = data[offset + 8:offset + 8 + length]
        offset += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = body
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        raise DriverError("%s: unsupported PNG layout (depth %s, colour type %s)" % (path, depth, colour))
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append(bytes(line))
        previous = line
    rgb = bytearray()
    for line in rows:
        for x in range(width):
            pixel = line[x * channels:(x + 1) * channels]
            if colour in (0, 4):
                rgb += bytes((pixel[0],) * 3)
            elif colour == 3:
                rgb += palette[pixel[0] * 3:pixel[0] * 3 + 3]
            else:
                rgb += pixel[:3]
    return Picture(width, height, bytes(rgb))


KEY_COLOUR = (128, 0, 128)


def text_mismatches(picture, font, text, x, y, colour, scale=2, cell=8):
    """Compares text drawn with the game's bitmap font (a Picture of font.png: 12 cells of cell x cell
    per row, printable ASCII from space, key colour as background) at (x, y) of the game's picture,
    enlarged by scale in the screenshot. Every glyph pixel must show colour and no background pixel
    of the cells may; returns the number of pixels that differ (0 means the text is there)."""
    wrong = 0
    for index, char in enumerate(text):
        glyph = ord(char) - 32
        gx0, gy0 = (glyph % 12) * cell, (glyph // 12) * cell
        for gy in range(cell):
            for gx in range(cell):
                lit = font.pixel(gx0 + gx, gy0 + gy) != KEY_COLOUR
                sx, sy = (x + index * cell + gx) * scale, (y + gy) * scale
                for dy in range(scale):
                    for dx in range(scale):
                        if (picture.pixel(sx + dx, sy + dy) == colour) != lit:
                            wrong += 1
    return wrong


def find_error_box(xserver):
    """The error box window ("Kestrovane - Error") when it is shown, else None."""
    return xserver.find_window(ERROR_BOX_TITLE)


def wait_for_error_box(game, timeout=60):
    """Waits until the game shows its error box (the game process is still running then) and returns it."""
    def shown():
        box = find_error_box(game.xserver)
        if box is None and not game.running():
            raise DriverError("the game exited with code %s without an error box" % game.process.returncode)
        return box

    return wait_until(shown, timeout, "the error box")


def close_error_box(game, box):
    """Asks the error box to close, as a window manager does when its close button is clicked."""
    display = game.xserver.display
    event = Xlib.protocol.event.ClientMessage(
        window=box, client_type=display.intern_atom("WM_PROTOCOLS"),
        data=(32, [display.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
    box.send_event(event, event_mask=X.NoEventMask)
    display.flush()


def run_without_display(binary, workdir, timeout=60, args=(), extra_env=None):
    """Runs the game on SDL's dummy video driver with no X display, where no error box can open, so an
    error goes to standard error. Returns (exit code, standard output text, standard error text)."""
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    env["SDL_VIDEODRIVER"] = "dummy"
    env["SDL_AUDIODRIVER"] = "dummy"
    env.update(extra_env or {})
    result = subprocess.run([os.path.abspath(binary)] + list(args), cwd=workdir, env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
    return result.returncode, result.stdout.decode("utf-8", "replace"), result.stderr.decode("utf-8", "replace")


def settings_text(fullscreen=0, vsync=0, fps=0, keys=(80, 79, 82, 44), audio=(1, 1, 64, 64)):
    """A settings file as the game writes it."""
    return ("// Default config file\n// Fullscreen VSync Show FPS\n%d %d %d\n// Controls\n// Left Right Jump Fire\n"
            "%d %d %d %d\n// Sound Music Sound Volume Music Volume\n%d %d %d %d"
            % ((fullscreen, vsync, fps) + tuple(keys) + tuple(audio)))
