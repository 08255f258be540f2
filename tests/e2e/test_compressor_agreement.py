"""The record compressor of the Windows build against the reference one.

The i686 build assumes no SSE2, so it hashes in the plain loop that every
processor runs, and compares candidates as 32-bit words: paths that the native
property test never takes (nor the x86_64 test build, which is why this test
is in the i386 smoke set). compressor-agreement.exe runs the same shapes, and
real prose, through it.
"""
import glob
import os
import unittest

from harness import ROOT, WIN32_BUILD, wine, windows_path

PROGRAM = os.path.join(WIN32_BUILD, "compressor-agreement.exe")
SHAPES = 14
RECORDS_PER_SHAPE = 200
# English and Shift-JIS prose where the system has it, and the sample mail.
PROSE = ["/usr/share/common-licenses/GPL-3", "/usr/share/vim/vim90/tutor/tutor.ja.sjis"]


def report_lines(result):
    return result.stdout.decode("ascii", "replace").splitlines()


class CompressorAgreementTest(unittest.TestCase):
    def test_every_shape_and_text_codes_as_the_reference_does(self):
        texts = [path for path in PROSE if os.path.exists(path)]
        texts += sorted(glob.glob(os.path.join(ROOT, "tools", "samples", "mail", "**", "*.ctx"), recursive=True))
        result = wine(PROGRAM, *[windows_path(path) for path in texts], check=False, timeout=300)
        lines = report_lines(result)
        self.assertEqual([line for line in lines if line.startswith("FAIL ")], [])
        shapes = [line for line in lines[:SHAPES] if line.startswith("ok ")]
        self.assertEqual(len(shapes), SHAPES, result.stderr.decode("utf-8", "replace"))
        for line in shapes:
            self.assertTrue(line.endswith(" %d" % RECORDS_PER_SHAPE), line)
        self.assertEqual(len(lines), SHAPES + len(texts) + 1)
        self.assertEqual(lines[-1], "0 failed")
        self.assertEqual(result.returncode, 0)

    def test_an_unreadable_text_is_named(self):
        result = wine(PROGRAM, "Z:\\no\\such\\file.txt", check=False, timeout=300)
        self.assertEqual(result.returncode, 2)
        self.assertIn(b"cannot read Z:\\no\\such\\file.txt", result.stderr)


if __name__ == "__main__":
    unittest.main()
