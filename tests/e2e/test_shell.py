"""Loading, the information record, the menus and the command dispatch."""
import os
import struct
import unittest

from harness import PluginTestCase, SIMULATOR_MISSING

INFO_RECORD_SIZE = 21384 + 100
INFO_PREFILL = 0xAA
INFO_TEXTS = [
    (4, "Corax To Palm"),
    (104, "Ver.0.2.3β"),
    (204, "2002/05/22"),
    (604, "Palm の DOC 形式に変換し、インストール予約します。"),
]
EMPTIED_OFFSETS = [10844, 10944, 21184, 21284, 21384]

MENU_ITEMS = [  # kind, command, text
    (8, 35000, "未読をDOCに変換"),
    (9, 35001, "DOCに変換"),
    (3, 35002, "CoraxToPalm の設定"),
]


class LoadTest(PluginTestCase):
    def test_refused_when_a_host_function_is_missing(self):
        run = self.run_sim("--run", "info", simulator=SIMULATOR_MISSING)
        self.assertEqual(run.of("load"), [{"event": "load", "ok": False}])
        # Nothing of the attach or detach work: no settings file appears.
        self.assertFalse(os.path.exists(self.ini))

    def test_loads_and_unloads_in_a_full_host(self):
        run = self.run_sim()
        self.assertEqual([e["event"] for e in run.events], ["load", "unload"])
        self.assertEqual(run.returncode, 0)


class InfoAndMenuTest(PluginTestCase):
    def test_record_byte_for_byte_and_items_with_the_hosts_identifiers(self):
        run = self.run_sim("--run", "info", "--run", "menu:3", "--run", "menu:8", "--run", "menu:9")
        self.assertEqual(run.of("load")[0]["ok"], True)
        (info,) = run.of("info")
        self.assertEqual(info["result"], 0)
        expected = bytearray([INFO_PREFILL] * INFO_RECORD_SIZE)
        expected[0:4] = struct.pack("<i", 10)
        for offset, text in INFO_TEXTS:
            data = text.encode("cp932") + b"\0"
            expected[offset:offset + len(data)] = data
        record = bytes.fromhex(info["record_hex"])
        # The author's fields are free; check they are terminated texts.
        for offset in (304, 404, 504):
            end = record.index(b"\0", offset)
            self.assertLess(end - offset, 100)
            expected[offset:end + 1] = record[offset:end + 1]
        for offset in EMPTIED_OFFSETS:
            expected[offset] = 0
        self.assertEqual(record, bytes(expected))

        ids = {e["command"]: e["result"] for e in run.of("call") if e["name"] == "CXA_GetTempID"}
        menus = {e["kind"]: e for e in run.of("menu")}
        for kind, command, text in MENU_ITEMS:
            with self.subTest(kind=kind):
                menu = menus[kind]
                self.assertEqual(menu["result"], 1)
                self.assertEqual(menu["appended"], 1)
                self.assertEqual(menu["text"], text)
                self.assertEqual(menu["id"], ids[command])
                self.assertEqual(menu["state"], 0)  # a plain, enabled item
        self.assertTrue(all(e["own_module"] for e in run.of("call") if e["name"] == "CXA_GetTempID"))

    def test_other_kinds_get_nothing(self):
        run = self.run_sim("--run", "menu:5", "--run", "menu:0", "--run", "menu:10")
        for menu in run.of("menu"):
            with self.subTest(kind=menu["kind"]):
                self.assertEqual((menu["result"], menu["appended"]), (0, 0))
        self.assertEqual(run.calls(), [])


class CommandTest(PluginTestCase):
    def test_unknown_commands_do_nothing(self):
        for number in (0, 1, 34999, 35003, -35000):
            with self.subTest(number=number):
                run = self.run_sim("--run", "cmd:%d" % number)
                self.assertEqual(run.calls(), [])
                self.assertEqual(run.boxes(), [])


if __name__ == "__main__":
    unittest.main()
