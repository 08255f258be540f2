"""The Palm Desktop registry and users file as the plug-in meets them at attach."""
import os
import unittest

from fixtures import install_palm_desktop, message, remove_palm_desktop, today_suffix, write_folder
from harness import HOTSYNC_KEY, PluginTestCase, read_ini, reg_query, wine, windows_path, write_ini


class HotSyncTest(PluginTestCase):
    def setUp(self):
        super().setUp()
        self.mail = os.path.join(self.dir, "mail")
        self.palm = os.path.join(self.dir, "palm")
        write_folder(self.mail, "main/inbox", [message("one")])
        remove_palm_desktop()
        self.addCleanup(remove_palm_desktop)

    def export(self):
        return self.run_sim("--mailroot", windows_path(self.mail), "--folder", "main\\inbox", "--run", "unread")

    def test_no_palm_desktop_keeps_documents_in_the_temporary_folder(self):
        write_ini(self.ini, {"Settings": {"InstallUser": "1"}})
        run = self.export()
        self.assertEqual(run.boxes()[0]["text"], "File : %s\n" % windows_path(os.path.join(self.tmp, "inbox" + today_suffix("a") + ".pdb")))
        self.assertEqual(read_ini(self.ini)["Settings"]["InstallUser"], "0")

    def test_users_are_read_at_attach_and_the_position_chooses(self):
        install_palm_desktop(self.palm, [(1, "Tanaka", "TanakaH"), (2, "Smith", "SmithJ")])
        write_ini(self.ini, {"Settings": {"InstallUser": "2"}})
        run = self.export()
        base = "inbox" + today_suffix("a")
        self.assertEqual(run.boxes()[0]["text"], "User : Smith\nTitle : %s\n" % base)
        self.assertTrue(os.path.exists(os.path.join(self.palm, "SmithJ", "INSTALL", base + ".pdb")))
        self.assertEqual(reg_query(HOTSYNC_KEY, "Install2"), ("REG_DWORD", "0x1"))

    def test_position_beyond_the_list_is_reset(self):
        install_palm_desktop(self.palm, [(1, "Tanaka", "TanakaH")])
        write_ini(self.ini, {"Settings": {"InstallUser": "2"}})
        self.run_sim()
        self.assertEqual(read_ini(self.ini)["Settings"]["InstallUser"], "0")

    def test_missing_hotsync_key_is_not_created(self):
        install_palm_desktop(self.palm, [(9, "Sato", "SatoK")], hotsync_key=False)
        write_ini(self.ini, {"Settings": {"InstallUser": "1"}})
        run = self.export()
        self.assertTrue(run.boxes()[0]["text"].startswith("User : Sato\n"))
        self.assertIsNone(reg_query(HOTSYNC_KEY, "Install9"))
        self.assertNotEqual(0, wine("reg", "query", HOTSYNC_KEY, check=False).returncode)

    def test_no_user_chosen_raises_no_flag(self):
        install_palm_desktop(self.palm, [(3, "Ito", "ItoM")])
        run = self.export()
        self.assertTrue(run.boxes()[0]["text"].startswith("File : "))
        self.assertIsNone(reg_query(HOTSYNC_KEY, "Install3"))

    def test_folders_named_beyond_code_page_932(self):
        # An account named 𠮷田 has such a TMP, plug-in and Palm Desktop
        # folder; the ANSI calls spell 𠮷 "??", a folder that does not exist.
        folder = os.path.join(self.dir, "\U00020BB7\u7530")
        self.plugin, self.ini = os.path.join(folder, "CoraxToPalm.dll"), os.path.join(folder, "CoraxToPalm.ini")
        self.tmp, palm = os.path.join(folder, "tmp"), os.path.join(folder, "palm")
        os.renames(os.path.join(self.dir, "tmp"), self.tmp)
        os.rename(os.path.join(self.dir, "CoraxToPalm.dll"), self.plugin)
        install_palm_desktop(palm, [(1, "Tanaka", "TanakaH")])
        write_ini(self.ini, {"Settings": {"InstallUser": "1"}})
        run = self.export()
        base = "inbox" + today_suffix("a")
        self.assertEqual(run.boxes()[0]["text"], "User : Tanaka\nTitle : %s\n" % base)
        self.assertTrue(os.path.exists(os.path.join(palm, "TanakaH", "INSTALL", base + ".pdb")))
        self.assertEqual(read_ini(self.ini)["Settings"]["InstallUser"], "1")
        self.assertIn("ConvToDoc", read_ini(self.ini)["Settings"], "the whole INI written at unload")

        remove_palm_desktop()
        write_folder(self.mail, "main/inbox", [message("two")])
        shown = self.export().boxes()[0]["text"]
        self.assertTrue(shown.startswith("File : ") and shown.isascii(), shown)
        # The first export's text file is still there: the second is "b".
        made = "inbox" + today_suffix("b") + ".pdb"
        self.assertTrue(shown.endswith("\\tmp\\%s\n" % made), shown)
        self.assertTrue(os.path.exists(os.path.join(self.tmp, made)))


if __name__ == "__main__":
    unittest.main()
