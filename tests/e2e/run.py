"""Runs every tests/e2e/test_*.py and closes with 'N passed, N failed'."""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)



def main():
    pattern = sys.argv[1] if len(sys.argv) > 1 else "test_*.py"
    suite = unittest.defaultTestLoader.discover(HERE, pattern=pattern, top_level_dir=HERE)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    failed = len(result.failures) + len(result.errors)
    passed = result.testsRun - failed - len(result.skipped)
    print("e2e: %d passed, %d failed, %d skipped" % (passed, failed, len(result.skipped)))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
