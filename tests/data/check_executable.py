#!/usr/bin/env python3
"""The Windows program must start from a CD on a bare Windows: a GUI-subsystem PE for the
right machine whose import table names only DLLs that every Windows has."""

import os
import shutil
import subprocess
import sys
import unittest

# DLLs that ship with every Windows from XP on.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll", "comdlg32.dll",
    "advapi32.dll", "ole32.dll", "oleaut32.dll", "olepro32.dll", "msvcrt.dll", "gdiplus.dll",
    "shlwapi.dll", "version.dll", "uxtheme.dll",
}

MACHINES = {"i686": "i386", "x86_64": "x86-64"}

EXECUTABLE = ""
PROCESSOR = ""


def objdump_headers(path):
    triple = "i686-w64-mingw32" if PROCESSOR == "i686" else "x86_64-w64-mingw32"
    objdump = shutil.which(triple + "-objdump") or "objdump"
    return subprocess.run([objdump, "-p", "-f", path], check=True, capture_output=True,
                          text=True).stdout


class Executable(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.headers = objdump_headers(EXECUTABLE)

    def test_imports_only_system_dlls(self):
        dlls = [line.split("DLL Name:")[1].strip().lower()
                for line in self.headers.splitlines() if "DLL Name:" in line]
        self.assertIn("kernel32.dll", dlls)
        self.assertEqual([d for d in dlls if d not in SYSTEM_DLLS], [],
                         "the program would need DLLs that a bare Windows lacks")

    def test_is_a_gui_program_for_its_machine(self):
        self.assertRegex(self.headers, r"Subsystem\s+0+2\s+\(Windows GUI\)")
        self.assertIn("file format pei-" + MACHINES[PROCESSOR], self.headers)


if __name__ == "__main__":
    EXECUTABLE, PROCESSOR = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
