"""The INI file beside the library: read at attach, eight keys written at detach."""
import unittest

from harness import PluginTestCase, read_ini, write_ini

SAVED_DEFAULTS = {
    "Settings": {"ConvToDoc": "1", "MeDocIndex": "1", "DoRead": "1", "TrimSubject": "1", "InstallUser": "0",
                 "DecodeMime": "0", "Bookmarks": "0"},
    "UniqID": {"ID": "97"},
}


def in_file_order(sections):
    return [(section, list(keys.items())) for section, keys in sections.items()]


class SettingsStoreTest(PluginTestCase):
    def test_no_file_gives_defaults_and_detach_writes_eight_keys_in_order(self):
        self.run_sim()
        self.assertEqual(in_file_order(read_ini(self.ini)), in_file_order(SAVED_DEFAULTS))

    def test_values_are_converted_and_written_back(self):
        write_ini(self.ini, {
            "Settings": {"ConvToDoc": "", "MeDocIndex": "  -0", "DoRead": " 2x", "TrimSubject": "4294967297",
                         "SubFolder": "1", "TrimFrom": "junk", "ConvDate": "7"},
            "UniqID": {"ID": "122"},
        })
        self.run_sim()
        ini = read_ini(self.ini)
        self.assertEqual(ini["Settings"]["ConvToDoc"], "0")
        self.assertEqual(ini["Settings"]["MeDocIndex"], "0")
        self.assertEqual(ini["Settings"]["DoRead"], "2")
        self.assertEqual(ini["Settings"]["TrimSubject"], "1")  # wraps at 32 bits
        self.assertEqual(ini["UniqID"]["ID"], "122")
        # The keys never written keep what the file holds.
        self.assertEqual(ini["Settings"]["SubFolder"], "1")
        self.assertEqual(ini["Settings"]["TrimFrom"], "junk")
        self.assertEqual(ini["Settings"]["ConvDate"], "7")

    def test_out_of_range_install_user_is_written_back_as_zero(self):
        write_ini(self.ini, {"Settings": {"InstallUser": "-3"}})
        self.run_sim()
        self.assertEqual(read_ini(self.ini)["Settings"]["InstallUser"], "0")


if __name__ == "__main__":
    unittest.main()
