"""DecodeMime through the real DLL: a mailbox of Japanese mail as the users
receive it (tests/mime/japanese-mail.mbox) becomes a readable document, the
same as the tool's; so does mail of the shapes real mailboxes hold
(tests/mime/real_shapes.py) with the box ticked in the dialog; with the
setting off nothing changes. With "しおりを付ける" ticked too, the DLL's
document is the tool's byte for byte, a bookmark at every message."""
import os
import re
import shutil
import struct
import subprocess
import sys

from fixtures import today_suffix
from harness import ROOT, TOOL, PluginTestCase, read_ini, tool_document, unpack, windows_path, write_ini

MIME = os.path.join(ROOT, "tests", "mime")
sys.path.insert(0, MIME)
import real_shapes  # noqa: E402
from make_corpus import cp932  # noqa: E402
MAILBOX = os.path.join(MIME, "japanese-mail.mbox")
MESSAGES = 12
ENTRY = re.compile(rb"^(\d+):(.*)$")
SUBJECT_TAG = re.compile(rb"^\[[^\]]*\] ?")


def expected_blocks():
    """The text block of each message of the mailbox, from the corpus's
    expected decoding, as the export writes it with its default clean-ups."""
    names = sorted(n for n in os.listdir(os.path.join(MIME, "corpus")) if n.endswith(".expected"))
    blocks = []
    for name in names[:MESSAGES]:
        with open(os.path.join(MIME, "corpus", name), "rb") as f:
            head, body = f.read().split(b"\r\n\r\n", 1)
        lines = head.split(b"\r\n")
        # TrimSubject is on by default: a leading [tag] goes.
        lines = [b"Subject: " + SUBJECT_TAG.sub(b"", line[9:]) if line.startswith(b"Subject: ") else line
                 for line in lines]
        blocks.append((name, b"\n".join(lines) + b"\n" + body.replace(b"\r\n", b"\n") + b"--EOM--\n"))
    return blocks


class DecodeMimeTest(PluginTestCase):
    def setUp(self):
        super().setUp()
        self.mail = os.path.join(self.dir, "mail")
        os.makedirs(os.path.join(self.mail, "Account", "main"))
        shutil.copy(MAILBOX, os.path.join(self.mail, "Account", "main", "inbox.ctx"))

    def plugin_document(self, settings, *dialog):
        write_ini(self.ini, {"Settings": settings})
        actions = ["--run", "settings", "--run", "unread"] if dialog else ["--run", "unread"]
        self.run_sim("--mailroot", windows_path(self.mail), "--folder", "main\\inbox", *dialog, *actions)
        return unpack(os.path.join(self.tmp, "inbox" + today_suffix("a") + ".pdb"))

    def test_real_shapes_with_the_box_ticked_read_as_the_tools(self):
        mailbox = os.path.join(self.dir, "shapes.mbox")
        with open(mailbox, "wb") as f:
            f.write(real_shapes.mailbox())
        shutil.copy(mailbox, os.path.join(self.mail, "Account", "main", "inbox.ctx"))
        document = self.plugin_document({}, "--dialog", "check:1104=1,ok")
        self.assertEqual(document, tool_document(self.dir, mailbox))
        for kind, _, subject, sender, body in real_shapes.MESSAGES:
            with self.subTest(message=kind):
                self.assertIn(b"\n".join(real_shapes.expected_block_lines(subject, sender)) + b"\n", document)
                self.assertIn(cp932(body), document)
        self.assertEqual(read_ini(self.ini)["Settings"]["DecodeMime"], "1")

    def test_decoded_document_is_readable_and_the_tools(self):
        document = self.plugin_document({"DecodeMime": "01"})
        self.assertEqual(document, tool_document(self.dir, MAILBOX))
        for name, block in expected_blocks():
            with self.subTest(message=name):
                self.assertIn(block, document)
        self.assertNotIn(b"=?", document)
        # Written back as the number it was read as.
        self.assertEqual(read_ini(self.ini)["Settings"]["DecodeMime"], "1")

    def test_bookmarks_ticked_in_the_dialog_give_the_tools_database_byte_for_byte(self):
        base = "inbox" + today_suffix("a")
        tool = os.path.join(self.dir, "tool.pdb")
        for bookmarks in (0, 1):
            with self.subTest(bookmarks=bookmarks):
                # Unread again: the first run marked the messages read.
                shutil.copy(MAILBOX, os.path.join(self.mail, "Account", "main", "inbox.ctx"))
                self.plugin_document({"DecodeMime": "1"}, "--dialog", "check:1105=%d,ok" % bookmarks)
                subprocess.run([TOOL, "convert", "-q", "--bookmarks=%d" % bookmarks, "--title=" + base, MAILBOX, tool],
                               check=True)
                with open(os.path.join(self.tmp, base + ".pdb"), "rb") as f:
                    database = f.read()
                with open(tool, "rb") as f:
                    self.assertEqual(database, f.read())
                # Record 0, the text record and one bookmark record a message.
                self.assertEqual(struct.unpack(">H", database[76:78])[0], 2 + MESSAGES * bookmarks)
                self.assertEqual(read_ini(self.ini)["Settings"]["Bookmarks"], str(bookmarks))

    def test_index_titles_start_their_subjects_at_their_lines(self):
        lines = self.plugin_document({"DecodeMime": "1"}).split(b"\n")
        self.assertEqual(lines[0], b"#!Medoc index %d" % MESSAGES)
        entries = [ENTRY.match(line) for line in lines[1:MESSAGES + 1]]
        for entry in entries:
            with self.subTest(entry=entry and entry.group(0)):
                self.assertIsNotNone(entry)
                title = entry.group(2).rstrip(b" ")
                subject = lines[int(entry.group(1))]
                self.assertTrue(subject.startswith(b"Subject: " + title), subject)
                subject.decode("cp932")  # whole characters only
                title.decode("cp932")

    def test_off_leaves_the_document_as_it_was(self):
        document = self.plugin_document({})
        self.assertEqual(document, tool_document(self.dir, MAILBOX, "--decode-mime=0"))
        self.assertIn(b"Subject: =?iso-2022-jp?b?GyRCSzpHLzJxJE49UDdnJEskRCQkJEYbKEI=?=\n", document)
        self.assertNotEqual(document, tool_document(self.dir, MAILBOX, "--decode-mime=1"))
