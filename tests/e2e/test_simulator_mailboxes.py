"""The simulator's mailboxes are the user's data: read marks are written back
into every folder, whatever its name in code page 932, and a write-back that
fails makes the simulator fail."""
import os

from fixtures import message, write_folder
from harness import PluginTestCase, windows_path


class ReadMarkWriteBackTest(PluginTestCase):
    def setUp(self):
        super().setUp()
        self.mail = os.path.join(self.dir, "mail")

    def export_unread(self, name):
        return self.run_sim("--mailroot", windows_path(self.mail), "--folder", "main\\" + name, "--run", "unread")

    def test_read_marks_reach_folders_whose_names_hold_shift_jis(self):
        # The second byte of ソ, 表 and 予 is the byte of "\".
        for name in ("ソフト", "表", "予定表", "inbox"):
            with self.subTest(folder=name):
                path = write_folder(self.mail, "main/" + name, [message("one"), message("two")])
                run = self.export_unread(name)
                self.assertEqual(run.returncode, 0, run.stderr)
                written = run.of("mailbox-written")
                self.assertEqual([event["ok"] for event in written], [True], written)
                with open(path, "rb") as f:
                    self.assertEqual(f.read().count(b"Status: RO"), 2)
                left = [n for n in os.listdir(os.path.dirname(path)) if n.endswith(".new")]
                self.assertEqual(left, [])

    def test_a_failed_write_back_fails_the_simulator_and_keeps_the_mailbox(self):
        path = write_folder(self.mail, "main/予定表", [message("one")])
        with open(path, "rb") as f:
            before = f.read()
        os.makedirs(path + ".new")  # the write-back's temporary name is taken
        run = self.export_unread("予定表")
        self.assertNotEqual(run.returncode, 0)
        self.assertEqual([event["ok"] for event in run.of("mailbox-written")], [False])
        self.assertIn("cannot write", run.stderr)
        with open(path, "rb") as f:
            self.assertEqual(f.read(), before)
