"""Runs real programs (the game, the bare present loop) in private virtual X displays and measures them.

Each program gets its own Xvfb server of the game's size (640x480, 24 bits) and its own working folder;
bench/present_probe.cpp is preloaded into it to report the moment of its first present and its peak memory.
The CPU time of a process (all its threads) is read from /proc/<pid>/stat.
"""

import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tests", "e2e"))
import kesdriver  # noqa: E402  (the real-window driver: its Xvfb server serves the measurements too)

# A program that does not do what the measurement needs, or an X server that does not start.
MeasureError = kesdriver.DriverError

# An Xvfb server of the game's size on a free display number, stopped again on exit.
XServer = kesdriver.XServer


class Program:
    """One measured program: started under the probe, watched through its stderr and /proc."""

    def __init__(self, binary, workdir, xserver, probe):
        self.name = os.path.basename(binary)
        self.binary = os.path.abspath(binary)
        self.workdir = workdir
        self.xserver = xserver
        self.probe = os.path.abspath(probe)
        self.process = None
        self.started = None          # time.monotonic() just before the program was started
        self.first_present = None    # time.monotonic() of the end of its first present
        self.exit_peak_kb = None     # VmHWM reported by the program itself at exit
        self.sampled_peak_kb = 0     # highest VmHWM seen from outside while it ran
        self.presents = None
        self.ended = None            # time.monotonic() when it was seen to have ended
        self.marks = {}              # milestone -> seconds after the start (see present_probe.cpp)
        self.lines = []
        self._reader = None

    def start(self):
        env = dict(os.environ)
        env.pop("SDL_VIDEODRIVER", None)  # a real window on the virtual display
        env["DISPLAY"] = self.xserver.name
        env["SDL_AUDIODRIVER"] = "dummy"  # this machine has no sound device
        env["LD_PRELOAD"] = self.probe
        self.started = time.monotonic()
        self.process = subprocess.Popen([self.binary], cwd=self.workdir, env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        return self

    def _read(self):
        for raw in self.process.stderr:
            line = raw.decode("utf-8", "replace").strip()
            self.lines.append(line)
            fields = line.split()
            if fields[:2] == ["kes-probe", "first-present-ns"]:
                self.first_present = int(fields[2]) / 1e9
                self.marks["first-present"] = self.first_present - self.started
            elif fields[:2] == ["kes-probe", "mark"]:
                self.marks[fields[2]] = int(fields[3]) / 1e9 - self.started
            elif fields[:3] == ["kes-probe", "exit", "vmhwm-kb"]:
                self.exit_peak_kb = int(fields[3])
                self.presents = int(fields[5])

    def wait_first_present(self, timeout=60):
        deadline = time.monotonic() + timeout
        while self.first_present is None:
            self.sample_memory()
            if self.process.poll() is not None:
                raise MeasureError("%s ended before its first frame: %s" % (self.binary, " | ".join(self.lines)))
            if time.monotonic() > deadline:
                raise MeasureError("%s presented no frame within %d s" % (self.binary, timeout))
            time.sleep(0.002)
        return self.first_present - self.started

    def cpu_seconds(self):
        """User plus system time of all threads so far."""
        with open("/proc/%d/stat" % self.process.pid) as file:
            # The command name may hold blanks; the fields after its closing parenthesis do not.
            fields = file.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS

    def sample_memory(self):
        try:
            with open("/proc/%d/status" % self.process.pid) as file:
                for line in file:
                    if line.startswith("VmHWM:"):
                        self.sampled_peak_kb = max(self.sampled_peak_kb, int(line.split()[1]))
        except OSError:
            pass  # already gone

    def close(self, timeout=30):
        """Asks the program to end as closing its window does (SDL turns SIGTERM into a close request)."""
        if self.process.poll() is None:
            self.sample_memory()
            self.process.send_signal(signal.SIGTERM)
        deadline = time.monotonic() + timeout
        while self.process.poll() is None and time.monotonic() < deadline:
            self.sample_memory()
            time.sleep(0.02)
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.ended = time.monotonic()
        self._reader.join(timeout=5)
        return self.process.returncode

    def frame_rate(self):
        """Frames presented per second between the first present and the end, from the probe's count."""
        if self.presents is None or self.first_present is None or self.ended is None:
            return float("nan")
        return self.presents / max(self.ended - self.first_present, 1e-6)

    def peak_kb(self):
        """The program's own report when it exited normally, else the highest value seen from outside."""
        return self.exit_peak_kb if self.exit_peak_kb is not None else self.sampled_peak_kb


def game_workdir(build_dir):
    """A fresh working folder holding a copy of the generated content, as beside an installed game."""
    data = os.path.join(build_dir, "data")
    if not os.path.isfile(os.path.join(data, "maps", "maps.lst")):
        raise MeasureError("no generated content in %s; build the data target first" % data)
    workdir = tempfile.mkdtemp(prefix="kestrovane-bench-")
    shutil.copytree(data, os.path.join(workdir, "data"))
    return workdir


def empty_workdir():
    return tempfile.mkdtemp(prefix="kestrovane-bench-")


def binaries(build_dir):
    paths = {
        "game": os.path.join(build_dir, "kestrovane"),
        "bare": os.path.join(build_dir, "bench", "bare_present"),
        "probe": os.path.join(build_dir, "bench", "libkes_present_probe.so"),
    }
    for name, path in paths.items():
        if not os.path.isfile(path):
            raise MeasureError("missing %s: %s (build it first)" % (name, path))
    return paths


def machine_load():
    with open("/proc/loadavg") as file:
        return " ".join(file.read().split()[:3])


def median(values):
    return statistics.median(values) if values else float("nan")
