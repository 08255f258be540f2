"""The settings dialog "PROPDLG": its template in the built library, and what
OK and Cancel do to the settings, the install user and the INI file."""
import os
import struct
import subprocess
import time
import unittest

import fixtures
from harness import HOTSYNC_KEY, PLUGIN, PluginTestCase, read_ini, reg_query, scaled, wine_env, windows_path, write_ini
from pe_image import PeImage

CAPTION = "CoraxToPalm の設定"
NO_INSTALL_USER = "(インストールしない)"
OK, CANCEL = 1, 2

# --- The template as the resource compiler wrote it -----------------------

RT_DIALOG = 5
RT_VERSION = 16
LANG_JAPANESE = 1041
DIALOG_STYLE = 0x80C800C0  # WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
DS_SETFONT = 0x40
# The classes a template may name by number.
CLASS_ORDINALS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC", 0x83: "LISTBOX", 0x84: "SCROLLBAR",
                  0x85: "COMBOBOX"}
VERSION_SIGNATURE = 0xFEEF04BD

# order, id, class, text, style, extended style, x, y, width, height
CONTROLS = [
    (1, "BUTTON", "OK", 0x50010001, 0, 61, 126, 36, 14),
    (2, "BUTTON", "キャンセル", 0x50010000, 0, 100, 126, 36, 14),
    (-1, "STATIC", "ユーザー", 0x50020000, 0, 4, 6, 47, 12),
    (1001, "COMBOBOX", "", 0x50210002, 0, 36, 4, 80, 72),
    (1100, "BUTTON", "既読にする", 0x50010003, 0, 4, 24, 46, 12),
    (1101, "BUTTON", "MeDoc形式にする", 0x50010003, 0, 4, 36, 64, 12),
    (1102, "BUTTON", "Subject の [～] を削除する", 0x50010003, 0, 4, 48, 90, 12),
    (1104, "BUTTON", "MIMEをデコードする", 0x50010003, 0, 4, 60, 80, 12),
    (1105, "BUTTON", "しおりを付ける", 0x50010003, 0, 4, 72, 64, 12),
    (1103, "BUTTON", "サブフォルダも変換する", 0x50010003, 0, 4, 88, 80, 12),
    (-1, "STATIC", "未読がｎ通以上の場合に変換する", 0x50020000, 0, 14, 104, 100, 12),
    (1003, "EDIT", "", 0x50802000, 0x1000, 100, 102, 24, 12),
]


class TemplateReader:
    """Reads a DLGTEMPLATEEX field by field."""

    def __init__(self, data):
        self.data, self.at = data, 0

    def take(self, form):
        values = struct.unpack_from("<" + form, self.data, self.at)
        self.at += struct.calcsize("<" + form)
        return values if len(values) > 1 else values[0]

    def text(self):
        end = self.at
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        value = self.data[self.at:end].decode("utf-16-le")
        self.at = end + 2
        return value

    def name_or_number(self):
        first = struct.unpack_from("<H", self.data, self.at)[0]
        if first == 0:
            self.at += 2
            return None
        if first == 0xFFFF:
            self.at += 4
            return struct.unpack_from("<H", self.data, self.at - 2)[0]
        return self.text()

    def align(self):
        self.at = (self.at + 3) & ~3


def read_dialog_template(data):
    r = TemplateReader(data)
    dialog = {}
    (dialog["version"], dialog["signature"], dialog["help"], dialog["exstyle"], dialog["style"],
     dialog["count"], *rectangle) = r.take("HHIIIHhhhh")
    dialog["rectangle"] = tuple(rectangle)
    dialog["menu"], dialog["class"], dialog["caption"] = r.name_or_number(), r.name_or_number(), r.text()
    if dialog["style"] & DS_SETFONT:
        dialog["font"] = r.take("HHBB") + (r.text(),)
    controls = []
    for _ in range(dialog["count"]):
        r.align()
        _, exstyle, style, x, y, width, height, control_id = r.take("IIIhhhhi")
        kind = r.name_or_number()
        kind = CLASS_ORDINALS.get(kind, kind) if isinstance(kind, int) else kind.upper()
        text = r.name_or_number()
        extra = r.take("H")
        r.at += extra
        controls.append((control_id, kind, text or "", style, exstyle, x, y, width, height))
    dialog["controls"] = controls
    return dialog


class TemplateTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(PLUGIN, "rb") as f:
            cls.resources = PeImage(f.read()).resources()

    def test_dialog_is_one_japanese_extended_template(self):
        languages = [k[2] for k in self.resources if k[:2] == (RT_DIALOG, "PROPDLG")]
        self.assertEqual(languages, [LANG_JAPANESE])

    def test_dialog_fields(self):
        dialog = read_dialog_template(self.resources[(RT_DIALOG, "PROPDLG", LANG_JAPANESE)])
        self.assertEqual((dialog["version"], dialog["signature"]), (1, 0xFFFF))
        self.assertEqual(dialog["style"], DIALOG_STYLE)
        self.assertEqual(dialog["exstyle"], 0)
        self.assertEqual(dialog["rectangle"], (0, 0, 140, 144))
        self.assertEqual((dialog["menu"], dialog["class"]), (None, None))
        self.assertEqual(dialog["caption"], CAPTION)
        self.assertEqual(dialog["font"], (9, 0, 0, 1, "ＭＳ Ｐゴシック"))

    def test_twelve_controls_in_order(self):
        dialog = read_dialog_template(self.resources[(RT_DIALOG, "PROPDLG", LANG_JAPANESE)])
        self.assertEqual(dialog["count"], len(CONTROLS))
        for order, (actual, expected) in enumerate(zip(dialog["controls"], CONTROLS), 1):
            with self.subTest(order=order):
                self.assertEqual(actual, expected)
                # Every text has its Shift-JIS form: the plug-in's code page.
                expected[2].encode("cp932")

    def test_version_resource(self):
        (key,) = [k for k in self.resources if k[0] == RT_VERSION]
        self.assertEqual(key[2], LANG_JAPANESE)
        data = self.resources[key]
        fixed = data.index(struct.pack("<I", VERSION_SIGNATURE))
        file_ms, file_ls = struct.unpack_from("<II", data, fixed + 8)
        self.assertEqual((file_ms >> 16, file_ms & 0xFFFF, file_ls >> 16), (0, 2, 3))
        self.assertIn("Corax To Palm".encode("utf-16-le"), data)
        self.assertIn("041103a4".encode("utf-16-le"), data.lower())


# --- The dialog at work, through the simulator ----------------------------

USERS = [(101, "山田太郎", "YamadaT"), (102, "Suzuki", "SuzukiH"), (103, "佐藤花子", "SatoH")]


def control(dialog, control_id):
    (found,) = [c for c in dialog["controls"] if c["id"] == control_id]
    return found


def shown_settings(dialog):
    """What an opened dialog shows, in the settings' terms."""
    return {
        "DoRead": control(dialog, 1100)["check"],
        "MeDocIndex": control(dialog, 1101)["check"],
        "TrimSubject": control(dialog, 1102)["check"],
        "SubFolder": control(dialog, 1103)["check"],
        "DecodeMime": control(dialog, 1104)["check"],
        "Bookmarks": control(dialog, 1105)["check"],
        "MinUnread": control(dialog, 1003)["text"],
        "InstallUser": control(dialog, 1001)["selection"],
        "users": control(dialog, 1001)["items"],
    }


class DialogTestCase(PluginTestCase):
    def setUp(self):
        super().setUp()
        self.palm = os.path.join(self.dir, "palm")
        self.mail = os.path.join(self.dir, "mail")
        # The prefix is shared: start from no Palm Desktop whatever ran before.
        fixtures.remove_palm_desktop()
        self.addCleanup(fixtures.remove_palm_desktop)

    def with_users(self, users=USERS):
        fixtures.install_palm_desktop(self.palm, users)

    def with_messages(self, count):
        fixtures.write_folder(self.mail, "main/inbox", [fixtures.message("s%d" % i) for i in range(count)])
        return ["--mailroot", windows_path(self.mail), "--folder", r"main\inbox"]

    def settings_runs(self, script, openings=1, before=(), after=()):
        run = self.run_sim(*before, *(["--run", "settings"] * openings), *after, "--dialog", script)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.of("dialog-error"), [])
        return run

    def outputs(self, folder):
        return sorted(os.listdir(folder)) if os.path.isdir(folder) else []


class OpeningTest(DialogTestCase):
    def test_controls_show_the_defaults(self):
        run = self.settings_runs("cancel")
        (dialog,) = run.of("dialog")
        self.assertEqual(dialog["caption"], CAPTION)
        self.assertEqual([(c["id"], c["class"].upper(), c["text"]) for c in dialog["controls"]],
                         [(i, kind, NO_INSTALL_USER if i == 1001 else ("0" if i == 1003 else text))
                          for i, kind, text, *_ in CONTROLS])
        self.assertEqual(shown_settings(dialog), {"DoRead": 1, "MeDocIndex": 1, "TrimSubject": 1, "SubFolder": 0,
                                                  "DecodeMime": 0, "Bookmarks": 0, "MinUnread": "0", "InstallUser": 0,
                                                  "users": [NO_INSTALL_USER]})
        self.assertEqual(run.of("dialog-end"), [{"event": "dialog-end", "result": CANCEL}])

    def test_without_a_script_the_dialog_is_cancelled(self):
        run = self.run_sim("--run", "settings")
        self.assertEqual([e["result"] for e in run.of("dialog-end")], [CANCEL])

    def test_no_owner_before_the_first_export_command_then_the_main_window(self):
        run = self.settings_runs("cancel;cancel", before=["--run", "settings", "--run", "selection"], openings=1)
        self.assertEqual([d["owner"] for d in run.of("dialog")], ["none", "main"])


class UserListTest(DialogTestCase):
    def test_no_users_offer_only_no_install_and_ok_keeps_zero(self):
        run = self.settings_runs("ok;cancel", openings=2)
        first, second = run.of("dialog")
        self.assertEqual(control(first, 1001)["items"], [NO_INSTALL_USER])
        self.assertEqual(control(second, 1001)["selection"], 0)
        self.assertEqual(read_ini(self.ini)["Settings"]["InstallUser"], "0")

    def test_three_users_in_file_order_with_the_third_selected(self):
        self.with_users()
        write_ini(self.ini, {"Settings": {"InstallUser": "3"}})
        run = self.settings_runs("cancel")
        (dialog,) = run.of("dialog")
        combo = control(dialog, 1001)
        self.assertEqual(combo["items"], [NO_INSTALL_USER] + [name for _, name, _ in USERS])
        self.assertEqual((combo["selection"], combo["text"]), (3, "佐藤花子"))

    def test_choosing_no_install_sends_the_next_export_to_the_temporary_folder(self):
        self.with_users()
        write_ini(self.ini, {"Settings": {"InstallUser": "3"}})
        run = self.settings_runs("combo:1001=0,ok", before=self.with_messages(1), after=["--run", "unread"])
        self.assertEqual([e["result"] for e in run.of("dialog-end")], [OK])
        self.assertEqual(self.outputs(self.tmp), ["inbox%s.pdb" % fixtures.today_suffix("a")])
        self.assertEqual(self.outputs(os.path.join(self.palm, "SatoH", "INSTALL")), [])
        self.assertIsNone(reg_query(HOTSYNC_KEY, "Install103"))
        self.assertEqual(read_ini(self.ini)["Settings"]["InstallUser"], "0")

    def test_choosing_a_user_sends_the_next_export_to_that_users_install_folder(self):
        self.with_users()
        run = self.settings_runs("combo:1001=2,ok", before=self.with_messages(1), after=["--run", "unread"])
        self.assertEqual([e["result"] for e in run.of("dialog-end")], [OK])
        self.assertEqual(self.outputs(os.path.join(self.palm, "SuzukiH", "INSTALL")),
                         ["inbox%s.pdb" % fixtures.today_suffix("a")])
        self.assertEqual(reg_query(HOTSYNC_KEY, "Install102"), ("REG_DWORD", "0x1"))
        self.assertEqual(read_ini(self.ini)["Settings"]["InstallUser"], "2")

    def test_no_selection_at_ok_means_no_install_user(self):
        self.with_users()
        write_ini(self.ini, {"Settings": {"InstallUser": "1"}})
        self.settings_runs("combo:1001=-1,ok")
        self.assertEqual(read_ini(self.ini)["Settings"]["InstallUser"], "0")


class MinimumCountTest(DialogTestCase):
    def test_minimum_holds_back_a_smaller_export(self):
        run = self.settings_runs("edit:1003=5,ok", before=self.with_messages(4), after=["--run", "unread"])
        self.assertEqual([b["text"] for b in run.boxes()], ["変換対象がありませんでした"])
        self.assertEqual(self.outputs(self.tmp), [])

    def test_text_is_converted_as_the_store_converts_values(self):
        for text, shown in [("5", "5"), ("", "0"), ("007", "7"), ("12x", "12"), ("-3", "-3")]:
            with self.subTest(text=text):
                run = self.settings_runs("edit:1003=%s,ok;cancel" % text, openings=2)
                self.assertEqual(control(run.of("dialog")[1], 1003)["text"], shown)

    def test_empty_text_lets_a_small_export_through(self):
        run = self.settings_runs("edit:1003=5,ok;edit:1003=,ok", openings=2, before=self.with_messages(1),
                                 after=["--run", "unread"])
        self.assertEqual(self.outputs(self.tmp), ["inbox%s.pdb" % fixtures.today_suffix("a")])
        self.assertNotIn("変換対象がありませんでした", [b["text"] for b in run.boxes()])


STORED = {"Settings": {"ConvToDoc": "1", "MeDocIndex": "0", "DoRead": "1", "TrimSubject": "0", "SubFolder": "1",
                       "InstallUser": "2", "DecodeMime": "1", "Bookmarks": "1"},
          "UniqID": {"ID": "100"}}
EVERY_CONTROL_CHANGED = ("check:1100=0,check:1101=1,check:1102=1,check:1103=0,check:1104=0,check:1105=0,"
                         "edit:1003=9,combo:1001=3")


class OkAndCancelTest(DialogTestCase):
    def test_cancel_after_changing_every_control_changes_nothing(self):
        self.with_users()
        write_ini(self.ini, STORED)
        run = self.settings_runs(EVERY_CONTROL_CHANGED + ",cancel;cancel", openings=2,
                                 before=self.with_messages(1), after=["--run", "unread"])
        first, second = run.of("dialog")
        self.assertEqual([e["result"] for e in run.of("dialog-end")], [CANCEL, CANCEL])
        self.assertEqual(shown_settings(second), shown_settings(first))
        # The install user is still the second one.
        self.assertEqual(len(self.outputs(os.path.join(self.palm, "SuzukiH", "INSTALL"))), 1)
        after = read_ini(self.ini)
        self.assertEqual(after["Settings"], {**STORED["Settings"]})
        self.assertEqual(after["UniqID"], {"ID": "101"})  # the export's letter only

    def test_ok_with_nothing_changed_keeps_everything(self):
        self.with_users()
        write_ini(self.ini, STORED)
        run = self.settings_runs("ok;cancel", openings=2)
        first, second = run.of("dialog")
        self.assertEqual([e["result"] for e in run.of("dialog-end")], [OK, CANCEL])
        self.assertEqual(shown_settings(first), {"DoRead": 1, "MeDocIndex": 0, "TrimSubject": 0, "SubFolder": 1,
                                                 "DecodeMime": 1, "Bookmarks": 1, "MinUnread": "0", "InstallUser": 2,
                                                 "users": [NO_INSTALL_USER] + [u[1] for u in USERS]})
        self.assertEqual(shown_settings(second), shown_settings(first))
        self.assertEqual(read_ini(self.ini), STORED)

    def test_ok_takes_every_control_the_next_opening_shows_it_and_unload_writes_it(self):
        self.with_users()
        write_ini(self.ini, STORED)
        run = self.settings_runs(EVERY_CONTROL_CHANGED + ",ok;cancel", openings=2)
        self.assertEqual(shown_settings(run.of("dialog")[1]),
                         {"DoRead": 0, "MeDocIndex": 1, "TrimSubject": 1, "SubFolder": 0, "DecodeMime": 0,
                          "Bookmarks": 0, "MinUnread": "9", "InstallUser": 3,
                          "users": [NO_INSTALL_USER] + [u[1] for u in USERS]})
        # SubFolder is the file's own, which the box never writes back.
        self.assertEqual(read_ini(self.ini), {
            "Settings": {"ConvToDoc": "1", "MeDocIndex": "1", "DoRead": "0", "TrimSubject": "1", "SubFolder": "1",
                         "InstallUser": "3", "DecodeMime": "0", "Bookmarks": "0"},
            "UniqID": {"ID": "100"}})


class IniTest(DialogTestCase):
    def run_until_second_opening(self, script):
        """Runs the simulator and returns the INI text seen while the second
        dialog is open, after the first one's OK, and the finished run's INI."""
        process = subprocess.Popen(self.simulator_command("--run", "settings", "--run", "settings", "--dialog", script),
                                   env=wine_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        during = None
        deadline = time.time() + scaled(60)
        while process.poll() is None and time.time() < deadline:
            if os.path.exists(self.log):
                with open(self.log, encoding="utf-8") as f:
                    if f.read().count('"event":"dialog",') == 2:
                        with open(self.ini, "rb") as ini:
                            during = ini.read()
                        break
            time.sleep(0.05)
        self.assertEqual(process.wait(timeout=scaled(60)), 0)
        return during

    def test_choices_reach_the_file_only_at_unload_and_last_into_the_next_run_subfolder_and_minimum_not(self):
        self.with_users()
        before = {"Settings": {"ConvToDoc": "1", "MeDocIndex": "1", "DoRead": "1", "TrimSubject": "1",
                               "InstallUser": "0", "DecodeMime": "0", "Bookmarks": "0"},
                  "UniqID": {"ID": "97"}}
        write_ini(self.ini, before)
        with open(self.ini, "rb") as f:
            original = f.read()
        during = self.run_until_second_opening("check:1100=0,check:1101=0,check:1102=0,check:1103=1,check:1104=1,"
                                               "check:1105=1,edit:1003=7,combo:1001=1,ok;wait:3000,cancel")
        self.assertEqual(during, original)
        self.assertEqual(read_ini(self.ini), {
            "Settings": {"ConvToDoc": "1", "MeDocIndex": "0", "DoRead": "0", "TrimSubject": "0", "InstallUser": "1",
                         "DecodeMime": "1", "Bookmarks": "1"},
            "UniqID": {"ID": "97"},
        })
        # The host started again reads what the first run wrote.
        (reopened,) = self.settings_runs("cancel").of("dialog")
        self.assertEqual(shown_settings(reopened),
                         {"DoRead": 0, "MeDocIndex": 0, "TrimSubject": 0, "SubFolder": 0, "DecodeMime": 1,
                          "Bookmarks": 1, "MinUnread": "0", "InstallUser": 1,
                          "users": [NO_INSTALL_USER] + [u[1] for u in USERS]})

if __name__ == "__main__":
    unittest.main()
