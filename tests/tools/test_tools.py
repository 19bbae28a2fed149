"""The project's own tools: the deb-src sources list the web build derives from apt's configuration, and the
guard that keeps the tests off the player's files."""

import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools/web"))
import deb_src_entries  # noqa: E402

DEBIAN_KEY = "/usr/share/keyrings/debian-archive-keyring.gpg"


def write_files(root, files):
    for name, text in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as file:
            file.write(text)


class DebSrcEntries(unittest.TestCase):
    def derive(self, files):
        with tempfile.TemporaryDirectory() as root:
            write_files(root, files)
            return deb_src_entries.derive(os.path.join(root, "etc"), os.path.join(root, "lists"))

    def test_one_line_entries_keep_their_options_and_only_debian_archives(self):
        lines, blocks = self.derive({"etc/sources.list": (
            "deb [arch=amd64 signed-by=%s] http://deb.debian.org/debian stable main contrib # a comment\n"
            "deb-src [arch=amd64 signed-by=%s] http://deb.debian.org/debian stable main contrib\n"
            "deb http://security.debian.org/debian-security sid/updates main\n"
            "# deb http://deb.debian.org/debian bookworm-backports main\n"
            "deb [signed-by=/etc/apt/keyrings/vendor.gpg] https://packages.vendor.example/debian bookworm main\n"
            % (DEBIAN_KEY, DEBIAN_KEY)),
            "etc/sources.list.d/vendor.list": "deb https://repo.example.com/apt bookworm-updates main\n",
            "etc/sources.list.d/old.list.disabled": "deb http://deb.debian.org/debian buster main\n"})
        self.assertEqual(lines, [
            "deb-src [arch=amd64 signed-by=%s] http://deb.debian.org/debian stable main contrib" % DEBIAN_KEY,
            "deb-src http://security.debian.org/debian-security sid/updates main"])
        self.assertEqual(blocks, [])

    def test_deb822_stanzas_keep_every_field_but_their_type(self):
        lines, blocks = self.derive({"etc/sources.list.d/debian.sources": (
            "Types: deb deb-src\n# a snapshot once\nURIs: http://deb.debian.org/debian\nSuites: sid\n"
            "Components: main\nEnabled:\nSigned-By:\n -----BEGIN PGP PUBLIC KEY BLOCK-----\n .\n mQINBGP\n"
            " -----END PGP PUBLIC KEY BLOCK-----\n\n"
            "Types: deb\nURIs: http://deb.debian.org/debian\nSuites: experimental\nComponents: main\nEnabled: no\n\n"
            "Types: deb\nURIs: https://download.vendor.example/linux/debian\nSuites: bookworm\nComponents: stable\n"
            "Signed-By: /etc/apt/keyrings/vendor.asc\n"),
            "etc/sources.list.d/mirror.sources": (
            "Types: deb\nURIs: http://mirror.lan/debian/\nSuites: bookworm\nComponents: main\n"
            "Architectures: amd64\n"),
            # A local mirror is Debian's archive by the Release file apt keeps for it.
            "lists/mirror.lan_debian_dists_bookworm_InRelease": "-----BEGIN PGP SIGNED MESSAGE-----\n"
            "Origin: Debian\nLabel: Debian\nSuite: stable\n"})
        self.assertEqual(lines, [])
        self.assertEqual(blocks, [
            "Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: sid\nComponents: main\nSigned-By:\n"
            " -----BEGIN PGP PUBLIC KEY BLOCK-----\n .\n mQINBGP\n -----END PGP PUBLIC KEY BLOCK-----",
            "Types: deb-src\nURIs: http://mirror.lan/debian/\nSuites: bookworm\nComponents: main\n"
            "Architectures: amd64"])

    def test_written_list_is_one_apt_accepts_and_nothing_debian_is_an_error(self):
        with tempfile.TemporaryDirectory() as root:
            write_files(root, {
                "etc/sources.list": "deb [signed-by=%s] http://deb.debian.org/debian bookworm main\n"
                                    "deb-src http://deb.debian.org/debian bookworm main\n" % DEBIAN_KEY,
                "etc/sources.list.d/debian.sources": "Types: deb\nURIs: http://deb.debian.org/debian-security\n"
                                                     "Suites: bookworm-security\nComponents: main\n"
                                                     "Signed-By: %s\n" % DEBIAN_KEY,
                "out/sources.list.d/stale.list": "deb-src http://deb.debian.org/debian buster main\n",
                "third-party/sources.list": "deb https://packages.vendor.example/debian bookworm main\n"})
            script = os.path.join(ROOT, "tools/web/deb_src_entries.py")
            out = os.path.join(root, "out")
            subprocess.run([sys.executable, script, "--etc", os.path.join(root, "etc"), out], check=True)
            self.assertEqual(sorted(os.listdir(os.path.join(out, "sources.list.d"))), ["debian-src.sources"])
            os.makedirs(os.path.join(root, "lists/partial"))
            # apt reads the list as it would before fetching, without fetching (conflicting Signed-By values
            # for one archive would stop it here).
            uris = subprocess.run(
                ["apt-get", "-o", "Dir::Etc::SourceList=" + os.path.join(out, "sources.list"),
                 "-o", "Dir::Etc::SourceParts=" + os.path.join(out, "sources.list.d"),
                 "-o", "Dir::State::Lists=" + os.path.join(root, "lists"), "-o", "Dir::Cache::pkgcache=",
                 "-o", "Dir::Cache::srcpkgcache=", "update", "--print-uris"],
                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            self.assertEqual(uris.returncode, 0, uris.stdout)
            self.assertEqual(sorted(line.split()[0] for line in uris.stdout.splitlines() if "/source/" in line), [
                "'http://deb.debian.org/debian-security/dists/bookworm-security/main/source/Sources.xz'",
                "'http://deb.debian.org/debian/dists/bookworm/main/source/Sources.xz'"])
            refused = subprocess.run([sys.executable, script, "--etc", os.path.join(root, "third-party"), out],
                                     stderr=subprocess.PIPE, text=True)
            self.assertEqual(refused.returncode, 1)
            self.assertIn("no enabled entry for a Debian archive", refused.stderr)


class SettingsGuard(unittest.TestCase):
    def test_any_player_file_that_changes_appears_or_goes_fails_naming_it(self):
        guard = os.path.join(ROOT, "tools/settings-guard.sh")
        with tempfile.TemporaryDirectory() as root:
            write_files(root, {"build/kesv.cfg": "fullscreen 0\n", "build/kesv.sav": "reached 3\n",
                               "build/notes.txt": "mine\n"})
            os.mkdir(os.path.join(root, "top"))
            folders = [os.path.join(root, "build"), os.path.join(root, "top")]
            record = os.path.join(root, "record.txt")

            def compare():
                return subprocess.run(["bash", guard, "compare", record] + folders, cwd=root,
                                      stdout=subprocess.PIPE, text=True)

            subprocess.run(["bash", guard, "record", record] + folders, check=True)
            write_files(root, {"build/notes.txt": "changed, but not the player's\n"})
            self.assertEqual(compare().returncode, 0)
            for change, name in ((lambda: write_files(root, {"build/kesv.sav": "reached 4\n"}), "build/kesv.sav"),
                                 (lambda: os.remove(os.path.join(root, "build/kesv.cfg")), "build/kesv.cfg"),
                                 (lambda: write_files(root, {"top/kesv.ghost.main.level1": "R24\n"}),
                                  "top/kesv.ghost.main.level1"),
                                 (lambda: write_files(root, {"top/kesv.window": "640 480\n"}), "top/kesv.window")):
                change()
                result = compare()
                self.assertEqual(result.returncode, 1)
                self.assertIn(os.path.join(root, name), result.stdout)


if __name__ == "__main__":
    unittest.main()
