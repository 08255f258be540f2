"""The release archive: what a Windows user unpacks, that its DLL works, that
its manual is readable and complete, and that packaging is repeatable."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

from harness import ROOT, PLUGIN
from pe_image import PeImage
import windows_floor
from test_settings_store import SAVED_DEFAULTS


def project_version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(CoraxToPalm VERSION ([0-9.]+)", f.read()).group(1)


VERSION = project_version()
# What ships is the i686 build's archive, whichever build the suite runs.
RELEASE_BUILD = os.path.join(ROOT, "build", "win32")
RELEASE_ARCHIVE = os.path.join(RELEASE_BUILD, "CoraxToPalm-%s.zip" % VERSION)
PACKAGER = os.path.join(ROOT, "cmake", "release_zip.py")
ENTRIES = ["CoraxToPalm.dll", "CoraxToPalm.txt", "LICENSE.txt"]
MSDOS_SYSTEM = 0
# Notepad of old shows long lines unwrapped; in code page 932 a byte is a column.
MANUAL_LINE_BYTES = 76
# Free fields of the information record; the manual need not repeat them.
UNLISTED_STRINGS = {"kAuthor", "kAuthorMail", "kAuthorPage"}
# Keys that only a hand-edited INI file sets: the manual explains each one.
HAND_EDITED_KEYS = ["SubFolder", "TrimFrom", "ConvDate"]
# The dialog's check boxes and the keys that hold them.
CHECK_BOX_KEYS = {"既読にする": "DoRead", "MeDoc形式にする": "MeDocIndex",
                  "Subject の [～] を削除する": "TrimSubject", "MIMEをデコードする": "DecodeMime",
                  "しおりを付ける": "Bookmarks", "サブフォルダも変換する": "SubFolder"}


def source(*parts):
    with open(os.path.join(ROOT, *parts), encoding="utf-8") as f:
        return f.read()


def plugin_strings():
    """{constant: text} of every text the plug-in shows."""
    found = re.findall(r'constexpr char (k\w+)\[\] = "((?:[^"\\]|\\.)*)";', source("resources", "strings.h"))
    return {name: text.encode().decode("unicode_escape").encode("latin-1").decode("utf-8")
            for name, text in found}


def result_box_labels():
    """The labels of the result boxes: "User : ", "Title : ", "File : "."""
    return sorted(set(re.findall(r'"(?:\\n)?([A-Z][a-z]+ : )', source("src", "export", "export_command.cpp"))))


def dialog_texts():
    rc = source("resources", "settings_dialog.rc")
    return re.findall(r'CAPTION "([^"]+)"', rc) + re.findall(r'CONTROL "([^"]+)"', rc)


def ini_keys():
    """Every section and key name the settings store reads or writes."""
    folder = os.path.join(ROOT, "src", "settings")
    names = set()
    for name in sorted(os.listdir(folder)):
        if name.endswith(".cpp"):
            names.update(re.findall(r'"([A-Z][A-Za-z]+)"', source("src", "settings", name)))
    return sorted(names)


def read_archive():
    with zipfile.ZipFile(RELEASE_ARCHIVE) as archive:
        return archive.infolist(), {info.filename: archive.read(info) for info in archive.infolist()}


@unittest.skipUnless(os.path.exists(RELEASE_ARCHIVE), "no release archive in the build; run scripts/release")
class ArchiveTest(unittest.TestCase):
    def test_holds_the_three_files_a_user_needs_in_order(self):
        infos, _ = read_archive()
        self.assertEqual([info.filename for info in infos], ENTRIES)
        for info in infos:
            with self.subTest(entry=info.filename):
                self.assertEqual(info.create_system, MSDOS_SYSTEM)
                self.assertEqual(info.extra, b"")
                self.assertEqual(info.date_time, infos[0].date_time)

    def test_dll_carries_no_link_time_and_the_version(self):
        _, files = read_archive()
        dll = files["CoraxToPalm.dll"]
        self.assertEqual(PeImage(dll).time_stamps(), {"header": 0, "export": 0, "resource": 0})
        # The version resource's value follows its key and padding to four bytes.
        key, value = ("FileVersion".encode("utf-16-le"), VERSION.encode("utf-16-le"))
        self.assertRegex(dll, re.escape(key) + b"(?:\0\0)+" + re.escape(value))

    def test_dll_is_the_i686_builds_which_the_host_tests_load(self):
        _, files = read_archive()
        with open(os.path.join(RELEASE_BUILD, "CoraxToPalm.dll"), "rb") as f:
            self.assertEqual(files["CoraxToPalm.dll"], f.read())

    def test_dll_loads_on_windows_98_2000_and_xp(self):
        _, files = read_archive()
        image = PeImage(files["CoraxToPalm.dll"])
        self.assertEqual(image.versions, windows_floor.OLDEST_VERSIONS)
        self.assertEqual(image.exports(), (windows_floor.EXPORTS, len(windows_floor.EXPORTS)))
        for library, functions in image.imports().items():
            with self.subTest(library=library):
                self.assertEqual(sorted(set(functions) - windows_floor.ALLOWED_IMPORTS.get(library, set())), [])

    def test_licence_is_mit_with_the_authors_and_windows_line_ends(self):
        _, files = read_archive()
        text = files["LICENSE.txt"].decode("ascii")
        self.assertIn("Copyright (c) 2026 the CoraxToPalm authors", text)
        self.assertIn("Permission is hereby granted, free of charge", text)
        self.assertNotIn("\n", text.replace("\r\n", ""))


@unittest.skipUnless(os.path.exists(RELEASE_ARCHIVE), "no release archive in the build; run scripts/release")
class ManualTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        _, files = read_archive()
        cls.raw = files["CoraxToPalm.txt"]
        cls.text = cls.raw.decode("cp932")  # strict: any byte outside code page 932 fails

    def test_has_cr_lf_line_ends_only(self):
        self.assertTrue(self.raw.endswith(b"\r\n"))
        self.assertNotIn(b"\n", self.raw.replace(b"\r\n", b""))
        self.assertNotIn(b"\r", self.raw.replace(b"\r\n", b""))

    def test_lines_fit_an_unwrapped_editor(self):
        for number, line in enumerate(self.raw.split(b"\r\n"), 1):
            with self.subTest(line=number):
                self.assertLessEqual(len(line), MANUAL_LINE_BYTES)

    def test_names_every_text_the_plugin_shows(self):
        texts = [text for name, text in plugin_strings().items() if name not in UNLISTED_STRINGS]
        texts += [label.strip() for label in result_box_labels()] + dialog_texts()
        self.assertGreater(len(texts), 20)
        for text in texts:
            with self.subTest(text=text):
                self.assertTrue(text in self.text, "the manual does not name " + text)

    def test_shows_every_ini_key_in_its_sample_file(self):
        keys = ini_keys()
        self.assertIn("ConvToDoc", keys)
        for key in sorted(set(keys + HAND_EDITED_KEYS)):
            with self.subTest(key=key):
                sample_line = re.compile(r"\n  (\[%s\]|%s=-?\d+)\r\n" % (key, key))
                self.assertTrue(sample_line.search(self.text), "no sample line for " + key)

    def test_explains_each_hand_edited_key(self):
        for key in HAND_EDITED_KEYS:
            with self.subTest(key=key):
                explanation = re.compile(r"\r\n  %s +（初期値 \d）\r\n    \S" % key)
                self.assertTrue(explanation.search(self.text), "no explanation of " + key)

    def test_explains_each_check_box_with_its_key(self):
        for label, key in CHECK_BOX_KEYS.items():
            with self.subTest(label=label):
                explanation = re.compile(r"\r\n  %s +（初期値 オ[ンフ]、INI の %s）\r\n    \S"
                                         % (re.escape(label), key))
                self.assertTrue(explanation.search(self.text), "no explanation of " + label)

    def test_names_the_keys_written_back_and_those_kept(self):
        saved = [key for keys in SAVED_DEFAULTS.values() for key in keys]
        sentences = ((r"終了時に書き戻すのは(.+?)だけです", saved),
                     (r"手で書いた(.+?)はそのまま残ります", HAND_EDITED_KEYS))
        for sentence, keys in sentences:
            with self.subTest(sentence=sentence):
                named = re.search(sentence, self.text, re.S).group(1)
                self.assertEqual(sorted(re.findall(r"[A-Za-z]+", named)), sorted(keys))


class PackagingTest(unittest.TestCase):
    """Two packagings of the same files give the same bytes, whatever the
    files' own times and modes; text that code page 932 lacks is refused."""

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="ctp-release-")
        self.addCleanup(shutil.rmtree, self.dir)

    def package(self, folder, manual=None, file_time=0, mode=0o644, commit_time=1_700_000_000):
        os.makedirs(folder)
        inputs = {"dll": PLUGIN, "manual": manual or os.path.join(ROOT, "doc", "CoraxToPalm.ja.txt"),
                  "licence": os.path.join(ROOT, "LICENSE")}
        args = [sys.executable, PACKAGER, "--source-dir", ROOT, "--output", os.path.join(folder, "out.zip")]
        for option, path in inputs.items():
            copy = os.path.join(folder, option)
            shutil.copyfile(path, copy)
            os.chmod(copy, mode)
            os.utime(copy, (file_time, file_time))
            args += ["--" + option, copy]
        return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60,
                              env=dict(os.environ, SOURCE_DATE_EPOCH=str(commit_time)))

    def test_same_bytes_from_two_packagings(self):
        first = self.package(os.path.join(self.dir, "first"), file_time=1_000_000_000, mode=0o600)
        second = self.package(os.path.join(self.dir, "second-copy"), file_time=1_700_000_000, mode=0o755)
        self.assertEqual((first.returncode, second.returncode), (0, 0), first.stderr + second.stderr)
        with open(os.path.join(self.dir, "first", "out.zip"), "rb") as f:
            first_bytes = f.read()
        with open(os.path.join(self.dir, "second-copy", "out.zip"), "rb") as f:
            self.assertEqual(first_bytes, f.read())

    def test_entries_carry_the_commit_time_as_a_clock_in_japan_shows_it(self):
        # 15:00 UTC on 10 December is midnight of the 11th in Japan.
        result = self.package(os.path.join(self.dir, "dated"), commit_time=1796914800)
        self.assertEqual(result.returncode, 0, result.stderr)
        with zipfile.ZipFile(os.path.join(self.dir, "dated", "out.zip")) as archive:
            self.assertEqual({info.date_time for info in archive.infolist()}, {(2026, 12, 11, 0, 0, 0)})

    def test_refuses_text_without_a_code_page_932_form(self):
        manual = os.path.join(self.dir, "manual.txt")
        with open(manual, "w", encoding="utf-8") as f:
            f.write("MIT License\n\nCopyright \u00a9 2026\n")  # the sign has no code page 932 form
        result = self.package(os.path.join(self.dir, "bad"), manual=manual)
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"manual:3:", result.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.dir, "bad", "out.zip")))


if __name__ == "__main__":
    unittest.main()
