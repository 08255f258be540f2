"""The platform conformance cases against the Win32 implementation.

platform-conformance.exe runs, under Wine in the Japanese locale, the cases
that the native unit tests run against the platform fake (tests/conformance),
so that the fake answers as Windows does. It runs from a folder whose name
has double-byte characters, which the module path cases then cut through.
"""
import os
import shutil
import subprocess
import unittest

from harness import NATIVE_BUILD, WIN32_BUILD, WORK, reg_delete, wine, windows_path

PROGRAM = os.path.join(WIN32_BUILD, "platform-conformance.exe")
NATIVE_CASES = os.path.join(NATIVE_BUILD, "unit_conformance")
REGISTRY_ROOT = r"HKCU\Software\CoraxToPalmConformance"
# 表 and ソ end in the byte of "\".
PROGRAM_FOLDER = "表示ソフト"


def parse_report(text):
    """{case: [failure lines]} and the closing count line."""
    cases, count_line, current = {}, None, None
    for line in text.splitlines():
        if line.startswith("ok ") or line.startswith("FAIL "):
            current = line.split()[1]
            cases[current] = []
        elif line.startswith("    ") and current:
            cases[current].append(line.strip())
        elif line.endswith(" failed"):
            count_line = line
    return cases, count_line


def native_case_names():
    listing = subprocess.run([NATIVE_CASES, "--gtest_list_tests"], stdout=subprocess.PIPE, check=True)
    # "  FakeAnswersAsWindows/<case>  # GetParam() = <case>"
    return {line.split()[0].split("/")[-1] for line in listing.stdout.decode("ascii").splitlines()
            if line.startswith("  ")}


class PlatformConformanceTest(unittest.TestCase):
    def setUp(self):
        self.dir = os.path.join(WORK, "platform_conformance")
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(os.path.join(self.dir, PROGRAM_FOLDER))
        self.program = os.path.join(self.dir, PROGRAM_FOLDER, "platform-conformance.exe")
        shutil.copy(PROGRAM, self.program)
        reg_delete(REGISTRY_ROOT)
        self.addCleanup(reg_delete, REGISTRY_ROOT)

    def test_windows_answers_every_case_as_the_fake_does(self):
        result = wine(self.program, windows_path(self.dir), check=False)
        cases, count_line = parse_report(result.stdout.decode("ascii", "replace"))
        self.assertTrue(cases, result.stderr.decode("utf-8", "replace"))
        for name, failures in cases.items():
            with self.subTest(case=name):
                self.assertEqual(failures, [])
        self.assertEqual(count_line, "%d passed, 0 failed" % len(cases))
        self.assertEqual(result.returncode, 0)
        if os.path.exists(NATIVE_CASES):
            self.assertEqual(set(cases), native_case_names(), "both sides run one table")

    def test_cases_leave_no_registry_key(self):
        wine(self.program, windows_path(self.dir), check=False)
        self.assertNotEqual(0, wine("reg", "query", REGISTRY_ROOT, check=False).returncode)

    def test_help_names_the_folder_argument(self):
        result = wine(self.program, "--help")
        self.assertIn(b"usage: platform-conformance [FOLDER]", result.stdout)


if __name__ == "__main__":
    unittest.main()
