"""The real-window harness names a missing Debian package in one line instead of blaming the game."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesdriver  # noqa: E402


def expect_missing(package, action):
    try:
        action()
    except kesdriver.MissingPrerequisite as error:
        if error.package != package or package not in str(error):
            raise AssertionError("named %r instead of %s: %s" % (error.package, package, error))
        return
    raise AssertionError("no missing %s was reported" % package)


def missing_programs_name_their_packages():
    expect_missing("xvfb", lambda: kesdriver.check_programs(which=lambda program: None))
    expect_missing("xdotool", lambda: kesdriver.check_programs(
        which=lambda program: None if program == "xdotool" else "/usr/bin/" + program))


def server_without_the_error_box_fonts_names_xfonts_base():
    with kesdriver.XServer() as xserver:  # passes its own font check on a complete machine
        expect_missing("xfonts-base",
                       lambda: kesdriver.check_server_fonts(xserver.display, "-nosuchfoundry-*-medium-r-*"))


def an_uncaught_missing_prerequisite_is_one_line():
    code = ("import sys; sys.path.insert(0, %r); import kesdriver; "
            "raise kesdriver.MissingPrerequisite('xfonts-base', 'no fonts')" % os.path.dirname(os.path.abspath(__file__)))
    result = subprocess.run([sys.executable, "-c", code], stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    lines = result.stderr.decode().splitlines()
    if result.returncode == 0 or len(lines) != 1 or "xfonts-base" not in lines[0]:
        raise AssertionError("exit %d, stderr %r" % (result.returncode, lines))


def main():
    passed = failed = 0
    for check in (missing_programs_name_their_packages, server_without_the_error_box_fonts_names_xfonts_base,
                  an_uncaught_missing_prerequisite_is_one_line):
        try:
            check()
            print("PASS: %s" % check.__name__)
            passed += 1
        except Exception as error:
            print("FAIL: %s: %s" % (check.__name__, error))
            failed += 1
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
