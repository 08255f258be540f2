"""Both export commands end to end: files, macros, the read marks and the boxes."""
import os
import unittest

from fixtures import install_palm_desktop, message, remove_palm_desktop, today_suffix, write_folder
from harness import HOTSYNC_KEY, PluginTestCase, read_ini, reg_query, tool_document, unpack, windows_path, write_ini

NOTHING = "変換対象がありませんでした"


class ExportTestCase(PluginTestCase):
    def setUp(self):
        super().setUp()
        self.mail = os.path.join(self.dir, "mail")
        os.makedirs(self.mail)

    def export(self, *args, folder="main/inbox"):
        return self.run_sim("--mailroot", windows_path(self.mail), "--folder", folder.replace("/", "\\"), *args)

    def tmp_file(self, name):
        return os.path.join(self.tmp, name)

    def win_tmp(self, name):
        return windows_path(self.tmp_file(name))

    def only_box(self, run):
        boxes = run.boxes()
        self.assertEqual(len(boxes), 1, boxes)
        return boxes[0]


class UnreadExportTest(ExportTestCase):
    def test_unread_messages_become_a_document_and_are_marked_read(self):
        # A vertical tab is white space before a tag, in the optimised build too.
        path = write_folder(self.mail, "main/inbox", [message("[ml:1] one"), message("two", read=True),
                                                      message("\v[ml:3] three")])
        run = self.export("--run", "unread")
        pdb = "inbox" + today_suffix("a") + ".pdb"
        box = self.only_box(run)
        self.assertEqual((box["caption"], box["icon"], box["owner"]), ("変換完了", "information", "main"))
        self.assertEqual(box["text"], "File : %s\n" % self.win_tmp(pdb))
        self.assertEqual(os.listdir(self.tmp), [pdb])  # the text file is gone
        text = unpack(self.tmp_file(pdb))
        self.assertTrue(text.startswith(b"#!Medoc index 2\n3:one"), text[:60])
        self.assertIn(b"\nSubject: three\n", text)  # the control filter drops the VT
        self.assertEqual(run.macros(), ["SelectAllUnreadMessage();", "DoRead();", "SetFocusToList();",
                                        "SetFocusToFolder();"])
        calls = run.calls()
        self.assertLess(calls.index("CXA_OpenAllThread"), calls.index("CXA_GetMessageCount"))
        self.assertEqual(calls[-1], "CXA_ReDispListAndView")
        with open(path, "rb") as f:
            self.assertEqual(f.read().count(b"Status: RO"), 3)
        self.assertEqual(read_ini(self.ini)["UniqID"]["ID"], "98")

    def test_a_second_run_finds_nothing_left(self):
        write_folder(self.mail, "main/inbox", [message("one")])
        self.export("--run", "unread")
        run = self.export("--run", "unread")
        self.assertEqual(self.only_box(run)["text"], NOTHING)

    def test_no_current_folder(self):
        write_folder(self.mail, "main/inbox", [message("one")])
        for subfolder in ("0", "1"):
            with self.subTest(subfolder=subfolder):
                write_ini(self.ini, {"Settings": {"SubFolder": subfolder}})
                run = self.run_sim("--mailroot", windows_path(self.mail), "--fallback", "main\\inbox",
                                   "--context", "77", "--run", "menu:5", "--run", "unread")
                self.assertEqual(self.only_box(run)["text"], NOTHING)
                self.assertNotIn("CXA_GetMessageCount", run.calls())
                fallback = [c for c in run.of("call") if c["name"] == "CXA_GetAindexFolderPath"]
                self.assertEqual([c["context"] for c in fallback], [77])
                listed = [c["pattern"] for c in run.of("call") if c["name"] == "CXA_ListUpFiles"]
                expected = [windows_path(os.path.join(self.mail, "Account", "main", "inbox")) + "\\*.ctx"]
                self.assertEqual(listed, expected if subfolder == "1" else [])

    def test_host_withholding_one_text(self):
        write_folder(self.mail, "main/inbox", [message("one"), message("two"), message("three")])
        write_ini(self.ini, {"Settings": {"ConvToDoc": "0"}})
        run = self.export("--no-text", "2", "--run", "unread")
        text_file = "inbox" + today_suffix("a") + ".txt"
        self.assertEqual(self.only_box(run)["text"], "テキストファイル\nFile : %s\n" % self.win_tmp(text_file))
        with open(self.tmp_file(text_file), "rb") as f:
            data = f.read()
        self.assertEqual(data.count(b"--EOM--\n"), 2)
        self.assertNotIn(b"Subject: two", data)

    def test_index_numbers_are_the_lines_of_the_subject_lines(self):
        # Four counted: the second has no Subject, the host withholds the third.
        write_folder(self.mail, "main/inbox", [message("one"), message(None), message("three"), message("four")])
        self.export("--no-text", "3", "--run", "unread")
        lines = unpack(self.tmp_file("inbox" + today_suffix("a") + ".pdb")).split(b"\n")
        self.assertEqual(lines[0], b"#!Medoc index 2")
        for entry, subject in zip(lines[1:3], (b"one", b"four")):
            number = int(entry.split(b":", 1)[0])
            self.assertEqual(lines[number], b"Subject: " + subject, entry)


class SubfolderTest(ExportTestCase):
    def setUp(self):
        super().setUp()
        write_ini(self.ini, {"Settings": {"SubFolder": "1"}})

    def test_folders_below_are_walked_in_order(self):
        write_folder(self.mail, "main/inbox", [message("read one", read=True)])
        write_folder(self.mail, "main/inbox/b", [message("b1")])
        write_folder(self.mail, "main/inbox/a", [message("a1")])
        write_folder(self.mail, "main/inbox/a/deep", [message("deep", read=True)])
        run = self.export("--run", "unread")
        opened = [m for m in run.macros() if m.startswith("OpenThisFolder")]
        self.assertEqual(opened, ['OpenThisFolder("main\\inbox\\a.ctx");',
                                  'OpenThisFolder("main\\inbox\\a\\deep.ctx");',
                                  'OpenThisFolder("main\\inbox\\b.ctx");'])
        # a (letter b after inbox's a), deep has nothing (c), b (d) is the last document made.
        self.assertEqual(sorted(os.listdir(self.tmp)), ["a" + today_suffix("b") + ".pdb", "b" + today_suffix("d") + ".pdb"])
        self.assertEqual(self.only_box(run)["text"], "File : %s\n" % self.win_tmp("b" + today_suffix("d") + ".pdb"))

    def test_report_never_names_a_folder_that_made_nothing(self):
        write_folder(self.mail, "main/inbox", [message("one")])
        write_folder(self.mail, "main/inbox/empty", [message("read", read=True)])
        run = self.export("--run", "unread")
        self.assertEqual(self.only_box(run)["text"], "File : %s\n" % self.win_tmp("inbox" + today_suffix("a") + ".pdb"))

    def test_failed_listing(self):
        write_folder(self.mail, "main/inbox", [message("read", read=True)])
        run = self.export("--list-result", "-1", "--run", "unread")
        boxes = run.boxes()
        self.assertEqual([(b["text"], b["icon"]) for b in boxes], [("フォルダが多すぎる？", "error"), (NOTHING, "information")])

    def test_listed_path_without_account_is_passed_over(self):
        write_folder(self.mail, "main/inbox", [message("one")])
        run = self.export("--list-extra", "C:\\elsewhere\\x.ctx", "--run", "unread")
        self.assertFalse(any(m.startswith("OpenThisFolder") for m in run.macros()))
        self.assertEqual(run.calls().count("CXA_GetMessageCount"), 1)

    def test_selection_touches_no_macro_and_no_subfolder(self):
        write_folder(self.mail, "main/inbox", [message("one"), message("two")])
        write_folder(self.mail, "main/inbox/a", [message("a1")])
        run = self.export("--select", "2", "--run", "selection")
        self.assertEqual(run.macros(), ["DoRead();"])
        for call in ("CXA_ListUpFiles", "CXA_OpenAllThread", "CXA_CloseAllThread", "CXA_ReDispListAndView"):
            self.assertNotIn(call, run.calls())
        self.assertEqual(self.only_box(run)["text"], "File : %s\n" % self.win_tmp("inbox" + today_suffix("a") + ".pdb"))


class BaseNameTest(ExportTestCase):
    def test_names_and_letters(self):
        cases = [  # folder, ID in the INI, expected file, ID afterwards
            ("main/inbox", "90", "inbox" + today_suffix("Z") + ".pdb", "97"),
            ("main/inbox", "122", "inbox" + today_suffix("z") + ".pdb", "65"),
            ("NewsGroup/fj.comp.lang.c", "97", "f.c.l.c" + today_suffix("a") + ".pdb", "98"),
        ]
        for folder, letter, expected, after in cases:
            with self.subTest(folder=folder, letter=letter):
                for name in os.listdir(self.tmp):
                    os.remove(self.tmp_file(name))
                write_folder(self.mail, folder, [message("one")])
                write_ini(self.ini, {"UniqID": {"ID": letter}})
                self.export("--run", "unread", folder=folder)
                self.assertEqual(os.listdir(self.tmp), [expected])
                self.assertEqual(read_ini(self.ini)["UniqID"]["ID"], after)

    def test_folder_names_whose_characters_end_in_a_backslash_byte(self):
        # The second byte of 表, ソ and 予 is the byte of "\"; read marks
        # are left out (DoRead 0), the name is what is checked.
        for name in ("予定表", "表", "ソフト"):
            with self.subTest(folder=name):
                for left in os.listdir(self.tmp):
                    os.remove(self.tmp_file(left))
                write_ini(self.ini, {"Settings": {"DoRead": "0"}, "UniqID": {"ID": "97"}})
                write_folder(self.mail, "main/" + name, [message("one")])
                run = self.export("--run", "unread", folder="main/" + name)
                expected = name + today_suffix("a") + ".pdb"
                self.assertEqual(os.listdir(self.tmp), [expected])
                self.assertEqual(self.only_box(run)["text"], "File : %s\n" % self.win_tmp(expected))


class FailureTest(ExportTestCase):
    def test_text_file_write_error_converts_nothing_and_marks_nothing(self):
        path = write_folder(self.mail, "main/inbox", [message("one", body="x" * 70000 + "\n")])
        os.symlink("/dev/full", self.tmp_file("inbox" + today_suffix("a") + ".txt"))
        run = self.export("--run", "unread")
        box = self.only_box(run)
        self.assertEqual((box["text"], box["icon"]),
                         ("テンポラリファイルが作れません。\n" + self.win_tmp("inbox" + today_suffix("a") + ".txt"), "error"))
        self.assertNotIn("DoRead();", run.macros())
        with open(path, "rb") as f:
            self.assertNotIn(b"Status:", f.read())
        self.assertFalse(any(n.endswith(".pdb") for n in os.listdir(self.tmp)))

    def test_missing_temporary_folder(self):
        write_folder(self.mail, "main/inbox", [message("one")])
        os.rmdir(self.tmp)
        run = self.export("--run", "unread")
        box = self.only_box(run)
        self.assertTrue(box["text"].startswith("テンポラリファイルが作れません。\n"), box)
        self.assertNotIn("DoRead();", run.macros())

    def test_unset_tmp_falls_back_to_the_windows_temporary_folder(self):
        write_folder(self.mail, "main/inbox", [message("one")])
        run = self.run_sim("--mailroot", windows_path(self.mail), "--folder", "main\\inbox", "--no-tmp",
                           "--run", "unread", tmp=False)
        text = self.only_box(run)["text"]
        self.assertTrue(text.startswith("File : C:\\"), text)
        self.assertTrue(text.endswith("inbox" + today_suffix("a") + ".pdb\n"), text)


class HotSyncExportTest(ExportTestCase):
    def setUp(self):
        super().setUp()
        self.palm = os.path.join(self.dir, "palm")
        self.addCleanup(remove_palm_desktop)

    def test_documents_of_a_folder_and_the_one_below_go_to_the_install_folder_as_the_tool_makes_them(self):
        install_palm_desktop(self.palm, [(12345, "山田太郎", "YamadaT"), (7, "Smith", "SmithJ")])
        write_ini(self.ini, {"Settings": {"InstallUser": "1", "SubFolder": "1"}})
        mailboxes = {"inbox" + today_suffix("a"): write_folder(self.mail, "main/inbox", [message("[ml:1] one")]),
                     "a" + today_suffix("b"): write_folder(self.mail, "main/inbox/a",
                                                           [message("二通目", body="日本語の本文\n"), message("three")])}
        # Before the export marks the messages read; the tool decodes MIME unless told not to.
        expected = {base: tool_document(self.dir, mailbox, "--decode-mime=0") for base, mailbox in mailboxes.items()}
        run = self.export("--run", "unread")
        self.assertEqual(self.only_box(run)["text"], "User : 山田太郎\nTitle : %s\n" % ("a" + today_suffix("b")))
        install = os.path.join(self.palm, "YamadaT", "INSTALL")
        self.assertEqual(sorted(os.listdir(install)), sorted(base + ".pdb" for base in expected))
        for base, document in expected.items():
            with self.subTest(document=base):
                self.assertEqual(unpack(os.path.join(install, base + ".pdb")), document)
        self.assertEqual(os.listdir(self.tmp), [])
        self.assertEqual(reg_query(HOTSYNC_KEY, "Install12345"), ("REG_DWORD", "0x1"))
        self.assertIsNone(reg_query(HOTSYNC_KEY, "Install7"))

    def test_failed_conversion_leaves_the_text_and_the_messages_unread(self):
        install_palm_desktop(self.palm, [(5, "Sato", "SatoK")], install_folders=False)
        write_ini(self.ini, {"Settings": {"InstallUser": "1", "SubFolder": "1"}})
        write_folder(self.mail, "main/inbox", [message("one")])
        run = self.export("--run", "unread")
        base = "inbox" + today_suffix("a")
        box = self.only_box(run)
        self.assertEqual((box["text"], box["icon"]),
                         ("DOCへの変換に失敗。\n" + windows_path(os.path.join(self.palm, "SatoK", "INSTALL", base + ".pdb")), "error"))
        self.assertEqual(os.listdir(self.tmp), [base + ".txt"])
        self.assertNotIn("DoRead();", run.macros())
        self.assertIsNone(reg_query(HOTSYNC_KEY, "Install5"))

    def test_install_path_too_long_is_refused_not_cut(self):
        install_palm_desktop(self.palm, [(1, "Ito", "U")])
        write_ini(self.ini, {"Settings": {"InstallUser": "1"}})
        # The host's folder path fits its 264 bytes; the install path does not.
        length = 262 - len(windows_path(os.path.join(self.mail, "Account", "main"))) - len("\\.ctx")
        self.assertGreater(len(windows_path(self.palm)) + len("\\U\\INSTALL\\_1208a.pdb") + length, 263)
        folder = "main/" + "f" * length
        write_folder(self.mail, folder, [message("one")])
        run = self.export("--run", "unread", folder=folder)
        base = "f" * length + today_suffix("a")
        box = self.only_box(run)
        self.assertEqual(box["text"], "DOCへの変換に失敗。\n" + windows_path(os.path.join(self.palm, "U", "INSTALL", base + ".pdb")))
        self.assertEqual(os.listdir(os.path.join(self.palm, "U", "INSTALL")), [])
        self.assertNotIn("DoRead();", run.macros())
        self.assertIsNone(reg_query(HOTSYNC_KEY, "Install1"))

    def test_long_user_name_is_shown_whole(self):
        name = "長" * 127
        install_palm_desktop(self.palm, [(1, name, "U")])
        write_ini(self.ini, {"Settings": {"InstallUser": "1"}})
        write_folder(self.mail, "main/" + "f" * 120, [message("one")])
        run = self.export("--run", "unread", folder="main/" + "f" * 120)
        self.assertEqual(self.only_box(run)["text"], "User : %s\nTitle : %s\n" % (name, "f" * 120 + today_suffix("a")))


if __name__ == "__main__":
    unittest.main()
