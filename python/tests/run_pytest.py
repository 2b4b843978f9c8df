"""Runs the Python module's pytest suite for ctest: 77 (skipped) when pytest is
missing, and a failure when pytest collects no test at all (its exit code 5),
which means the suite was not found rather than that it passed."""
import sys

try:
    import pytest
except ImportError:
    print("pytest is not installed (Debian: python3-pytest); the Python tests are skipped")
    sys.exit(77)

code = pytest.main(["-q", "-p", "no:cacheprovider", sys.argv[1]])
if code == pytest.ExitCode.NO_TESTS_COLLECTED:
    print("pytest collected no tests in %s" % sys.argv[1])
    sys.exit(1)
sys.exit(int(code))
