#!/usr/bin/env python3
"""Installs the build into a temporary prefix and checks what lands there.

Every file the desktop needs must be installed, byte for byte as committed,
and the names that tie them together must agree: the desktop entry's Icon and
Exec, the metainfo's id, launchable and binary. A mismatch between those is
invisible in the build and only shows as a missing icon or an application
that the software centre cannot start.

Usage: check-install.py CMAKE BUILD_DIR SOURCE_DIR [unittest options]
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

CMAKE = BUILD = SOURCE = None

APP_ID = "net.korvel.Korvel"
PNG_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def desktop_entry(path):
    """The keys of the [Desktop Entry] group."""
    keys, group = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            if line.startswith("["):
                group = line
            elif group == "[Desktop Entry]" and "=" in line:
                key, value = line.split("=", 1)
                keys[key.strip()] = value.strip()
    return keys


class Installed(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = tempfile.mkdtemp(prefix="korvel-install-")
        cls.result = subprocess.run([CMAKE, "--install", BUILD, "--prefix", cls.prefix],
                                    capture_output=True, text=True)
        cls.share = os.path.join(cls.prefix, "share")
        cls.linux = os.path.join(SOURCE, "resources", "linux")
        cls.icons = os.path.join(SOURCE, "resources", "icon", "hicolor")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.prefix, ignore_errors=True)

    def setUp(self):
        self.assertEqual(self.result.returncode, 0, self.result.stdout + self.result.stderr)

    def expected_files(self):
        """Installed path (relative to the prefix) -> committed file it must equal."""
        files = {
            f"share/applications/{APP_ID}.desktop": os.path.join(self.linux, f"{APP_ID}.desktop"),
            f"share/metainfo/{APP_ID}.metainfo.xml":
                os.path.join(self.linux, f"{APP_ID}.metainfo.xml"),
            "share/icons/hicolor/scalable/apps/korvel.svg":
                os.path.join(self.icons, "scalable", "apps", "korvel.svg"),
        }
        for size in PNG_SIZES:
            name = f"{size}x{size}/apps/korvel.png"
            files[f"share/icons/hicolor/{name}"] = os.path.join(self.icons, name)
        return files

    def test_program_is_installed_and_runnable(self):
        program = os.path.join(self.prefix, "bin", "Korvel")
        self.assertTrue(os.path.isfile(program), "bin/Korvel is missing")
        self.assertTrue(os.access(program, os.X_OK), "bin/Korvel is not executable")
        with open(program, "rb") as f:
            self.assertEqual(f.read(4), b"\x7fELF")

    def test_desktop_files_are_installed_as_committed(self):
        for installed, committed in self.expected_files().items():
            with self.subTest(installed):
                path = os.path.join(self.prefix, installed)
                self.assertTrue(os.path.isfile(path), f"{installed} is missing")
                with open(path, "rb") as got, open(committed, "rb") as want:
                    self.assertEqual(got.read(), want.read(), f"{installed} differs")

    def test_nothing_else_lands_in_the_desktop_folders(self):
        expected = set(self.expected_files())
        found = set()
        for folder in ("applications", "metainfo", "icons"):
            for base, _, names in os.walk(os.path.join(self.share, folder)):
                for name in names:
                    found.add(os.path.relpath(os.path.join(base, name), self.prefix))
        self.assertEqual(found - expected, set())

    def test_names_tie_the_files_together(self):
        entry = desktop_entry(os.path.join(self.share, "applications", f"{APP_ID}.desktop"))
        self.assertTrue(os.path.isfile(os.path.join(self.prefix, "bin", entry["Exec"].split()[0])))
        icon = entry.get("Icon")
        for size in PNG_SIZES:
            with self.subTest(size=size):
                self.assertTrue(os.path.isfile(os.path.join(
                    self.share, "icons", "hicolor", f"{size}x{size}", "apps", f"{icon}.png")))
        self.assertTrue(os.path.isfile(os.path.join(
            self.share, "icons", "hicolor", "scalable", "apps", f"{icon}.svg")))

        root = ElementTree.parse(
            os.path.join(self.share, "metainfo", f"{APP_ID}.metainfo.xml")).getroot()
        self.assertEqual(root.findtext("id"), APP_ID)
        self.assertEqual(root.findtext("launchable"), f"{APP_ID}.desktop")
        self.assertEqual(root.findtext("provides/binary"), entry["Exec"].split()[0])


def main():
    global CMAKE, BUILD, SOURCE
    args = [a for a in sys.argv[1:] if not a.startswith("-")]
    options = [a for a in sys.argv[1:] if a.startswith("-")]
    if len(args) < 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    CMAKE, BUILD, SOURCE = args[:3]
    program = unittest.main(argv=[sys.argv[0]] + options + args[3:], exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
