"""The plug-in's spine through quelt-host, the same on every target: it
loads, hands over its root name with the about box, disconnects; and the
host's own errors end with exit status 2 and a one-line message."""

import glob
import os
import unittest

from harness import REPO_ROOT, TargetsTestCase, bin_dir, plugin_path, run_host


class SpineTest(TargetsTestCase):

    def test_root_name_and_about_box(self):
        for target in self.built_targets():
            with self.subTest(target=target):
                result = run_host(target, ['root'])
                self.assertEqual(result.returncode, 0, result.describe())
                self.assertEqual(result.stdout, ['root QUELT'], result.describe())
                self.assertEqual(len(result.boxes), 1, result.describe())
                self.assertTrue(result.boxes[0].startswith('Info|QUELT '), result.describe())

    def test_disconnect_answers_1_before_and_after_other_commands(self):
        for target in self.built_targets():
            with self.subTest(target=target):
                result = run_host(target, ['disconnect', 'root', 'disconnect'])
                self.assertEqual(result.returncode, 0, result.describe())
                self.assertEqual(result.stdout, ['disconnect 1', 'root QUELT', 'disconnect 1'],
                                 result.describe())

    def test_commands_from_standard_input(self):
        for target in self.built_targets():
            with self.subTest(target=target):
                result = run_host(target, [], stdin='root\n\ndisconnect\r\n')
                self.assertEqual(result.returncode, 0, result.describe())
                self.assertEqual(result.stdout, ['root QUELT', 'disconnect 1'], result.describe())

    def test_ansi_switch_keeps_the_answers(self):
        for target in self.built_targets():
            with self.subTest(target=target):
                result = run_host(target, ['ansi on', 'disconnect', 'ansi off', 'disconnect'])
                self.assertEqual(result.returncode, 0, result.describe())
                self.assertEqual(result.stdout, ['disconnect 1', 'disconnect 1'],
                                 result.describe())


class WorldAndTextTest(TargetsTestCase):
    """--world reaches the platform (the stand-in DLL under Wine), and names
    come out as UTF-8 from the wide and the ANSI entry points alike."""

    WORLD = (
        'radio address=00:1A:7D:DA:71:13 name="B\u00fcro f\u00fcr \u20ac"\n'
        'radio address=00:1A:7D:DA:71:14 name="\u4e2dmega \\\\ back"\n'
    )

    def test_world_names_wide_and_ansi(self):
        wide = ['0x11\t[A00] B\u00fcro f\u00fcr \u20ac', '0x11\t[A01] \u4e2dmega \\ back']
        # Code page 1252 has the umlaut and the euro sign; the CJK sign becomes '?'.
        ansi = ['0x11\t[A00] B\u00fcro f\u00fcr \u20ac', '0x11\t[A01] ?mega \\ back']
        for target in self.built_targets():
            with self.subTest(target=target):
                result = run_host(target, ['ls', 'ansi on', 'ls'], world=self.WORLD)
                self.assertEqual(result.returncode, 0, result.describe())
                self.assertEqual(result.stdout, wide + ansi, result.describe())


class HostErrorTest(TargetsTestCase):
    """Each case: arguments, commands, the start of the one error line."""

    CASES = [
        ('unknown command', [], ['root', 'fly away'], 'unknown command: fly'),
        ('unclosed quote', [], ['cd "[A00] Office'], 'unclosed quote'),
        ('missing argument', [], ['cd'], 'usage: cd PATH'),
        ('too many arguments', [], ['root now'], 'usage: root'),
        ('bad ansi switch', [], ['ansi maybe'], 'usage: ansi on|off'),
        ('unknown option', ['--colour'], ['root'], "unknown option '--colour'"),
        ('option without value', ['-c'], [], '-c needs a value'),
        ('percent out of range', ['--abort-at', '101'], ['root'], '--abort-at wants'),
        ('percent not a number', ['--abort-at', 'half'], ['root'], '--abort-at wants'),
        ('missing plug-in', ['--plugin', os.path.join(REPO_ROOT, 'no-such-plugin.dll')],
         ['root'], 'cannot load the plug-in'),
    ]

    def test_host_errors_exit_2_with_one_line(self):
        for target in self.built_targets():
            for name, args, commands, message in self.CASES:
                with self.subTest(target=target, case=name):
                    result = run_host(target, commands, args=args)
                    self.assertEqual(result.returncode, 2, result.describe())
                    errors = [line for line in result.stderr if line.startswith('quelt-host: ')]
                    self.assertEqual(len(errors), 1, result.describe())
                    self.assertIn(message, errors[0], result.describe())

    def test_module_without_entry_points(self):
        """A module that loads but is no plug-in: FsInit is missing."""
        for target in self.built_targets():
            with self.subTest(target=target):
                module = (os.path.join(bin_dir(target), 'bthprops.cpl') if target != 'native'
                          else next(iter(glob.glob('/usr/lib/x86_64-linux-gnu/libm.so.6')), None))
                if module is None or not os.path.exists(module):
                    self.skipTest('no module to load for %s' % target)
                result = run_host(target, ['root'], args=['--plugin', module])
                self.assertEqual(result.returncode, 2, result.describe())
                self.assertEqual(result.stderr,
                                 ['quelt-host: the plug-in has no entry point FsInit'],
                                 result.describe())

    def test_plugin_of_the_other_width_does_not_load(self):
        other = {'win32': 'win64', 'win64': 'win32'}
        for target in self.built_targets(other):
            with self.subTest(target=target):
                result = run_host(target, ['root'],
                                  args=['--plugin', plugin_path(other[target])])
                self.assertEqual(result.returncode, 2, result.describe())
                self.assertIn('cannot load the plug-in', result.stderr[-1])

    def test_error_stops_the_commands_that_follow(self):
        for target in self.built_targets():
            with self.subTest(target=target):
                result = run_host(target, ['disconnect', 'bogus', 'root'])
                self.assertEqual(result.returncode, 2, result.describe())
                self.assertEqual(result.stdout, ['disconnect 1'], result.describe())

    def test_error_in_standard_input_stops_a_script(self):
        for target in self.built_targets():
            with self.subTest(target=target):
                result = run_host(target, [], stdin='disconnect\nbogus\nroot\n')
                self.assertEqual(result.returncode, 2, result.describe())
                self.assertEqual(result.stdout, ['disconnect 1'], result.describe())


if __name__ == '__main__':
    unittest.main()
