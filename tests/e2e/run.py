"""Runs every tests/e2e/test_*.py (or those matching PATTERN), or with
--smoke the i386 smoke set, and closes with 'e2e: N passed, N failed'."""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

# Where the kernel runs no 32-bit programs the whole suite runs on the x86_64
# build, and these run the shipped i686 DLL under emulation, several times
# slower: what only the i386 calling conventions, export names and code
# generation can break, one Wine process each.
I386_SMOKE = [
    "test_shell.LoadTest.test_refused_when_a_host_function_is_missing",
    "test_shell.InfoAndMenuTest.test_record_byte_for_byte_and_items_with_the_hosts_identifiers",
    "test_export.HotSyncExportTest."
    "test_documents_of_a_folder_and_the_one_below_go_to_the_install_folder_as_the_tool_makes_them",
    "test_settings_dialog.OkAndCancelTest."
    "test_ok_takes_every_control_the_next_opening_shows_it_and_unload_writes_it",
    "test_compressor_agreement.CompressorAgreementTest.test_every_shape_and_text_codes_as_the_reference_does",
]


def main():
    argument = sys.argv[1] if len(sys.argv) > 1 else "test_*.py"
    if argument == "--smoke":
        suite = unittest.defaultTestLoader.loadTestsFromNames(I386_SMOKE)
    else:
        suite = unittest.defaultTestLoader.discover(HERE, pattern=argument, top_level_dir=HERE)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    failed = len(result.failures) + len(result.errors)
    passed = result.testsRun - failed - len(result.skipped)
    print("e2e: %d passed, %d failed, %d skipped" % (passed, failed, len(result.skipped)))
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
