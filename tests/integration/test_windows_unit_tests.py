"""The unit tests that hold on every platform, built for Windows as
quelt_spine_tests.exe, run under Wine at both widths: the text helpers over
the real code-page conversions and error texts, the lifecycle with real
message boxes and a real socket API, and the OBEX byte helpers."""

import os
import unittest

from harness import WINE_TARGETS, TargetsTestCase, bin_dir, run_windows_program

PROGRAM = 'quelt_spine_tests.exe'


class WindowsUnitTests(TargetsTestCase):

    def test_they_pass_at_both_widths(self):
        for target in self.built_targets(WINE_TARGETS):
            with self.subTest(target=target):
                program = os.path.join(bin_dir(target), PROGRAM)
                self.assertTrue(os.path.exists(program), 'not built: ' + program)
                result = run_windows_program(target, PROGRAM, ['--gtest_brief=1'])
                self.assertEqual(result.returncode, 0, result.describe())
                self.assertTrue(any(line.startswith('[  PASSED  ]') for line in result.stdout),
                                result.describe())


if __name__ == '__main__':
    unittest.main()
