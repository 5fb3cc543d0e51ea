"""The built modules as a host and a clean Windows see them: the exports
carry their plain names (no @N), the import tables name only system DLLs,
and each file has the width its name promises."""

import os
import re
import shutil
import subprocess
import unittest

from harness import REPO_ROOT, WINE_TARGETS as WINDOWS, TargetsTestCase, bin_dir, plugin_path

SYSTEM_DLLS = {'kernel32.dll', 'user32.dll', 'ws2_32.dll', 'bthprops.cpl', 'msvcrt.dll'}
PE_FORMATS = {'win32': 'pei-i386', 'win64': 'pei-x86-64'}


def def_file_exports():
    """The entry points that plugin/QUELT.def exports."""
    names = []
    with open(os.path.join(REPO_ROOT, 'plugin', 'QUELT.def')) as f:
        for line in f:
            word = line.split(';')[0].strip()
            if word and word.upper() not in ('EXPORTS', 'LIBRARY'):
                names.append(word.split()[0])
    return names


def objdump(path):
    tool = shutil.which('x86_64-w64-mingw32-objdump') or 'objdump'
    return subprocess.run([tool, '-p', '-f', path], capture_output=True, text=True,
                          check=True).stdout


def pe_exports(dump):
    """Names in the export table's name pointer table."""
    names = []
    in_table = False
    for line in dump.splitlines():
        if line.startswith('[Ordinal/Name Pointer] Table'):
            in_table = True
        elif in_table:
            match = re.match(r'\s*\[\s*\d+\]\s+(\S+)', line)
            if not match:
                break
            names.append(match.group(1))
    return names


def pe_imports(dump):
    return [line.split('DLL Name:')[1].strip() for line in dump.splitlines()
            if 'DLL Name:' in line]


def windows_modules(target):
    """The Windows files of a target that exist: plug-in, host, stand-in."""
    paths = [plugin_path(target), os.path.join(bin_dir(target), 'quelt-host.exe'),
             os.path.join(bin_dir(target), 'bthprops.cpl')]
    return [path for path in paths if os.path.exists(path)]


class DllFilesTest(TargetsTestCase):

    def test_plugin_exports_every_entry_point_by_its_plain_name(self):
        expected = sorted(def_file_exports())
        for target in self.built_targets(WINDOWS):
            with self.subTest(target=target):
                exports = pe_exports(objdump(plugin_path(target)))
                self.assertEqual(sorted(exports), expected)
                self.assertFalse([name for name in exports if '@' in name or name[0] == '_'])

    def test_native_plugin_exports_the_same_entry_points(self):
        self.built_targets(['native'])
        dump = subprocess.run(['nm', '-D', '--defined-only', plugin_path('native')],
                              capture_output=True, text=True, check=True).stdout
        exported = sorted(line.split()[-1] for line in dump.splitlines()
                          if line.split()[-1].startswith('Fs'))
        self.assertEqual(exported, sorted(def_file_exports()))

    def test_imports_name_only_system_dlls(self):
        for target in self.built_targets(WINDOWS):
            for path in windows_modules(target):
                with self.subTest(target=target, module=os.path.basename(path)):
                    imports = [name.lower() for name in pe_imports(objdump(path))]
                    self.assertTrue(imports)
                    foreign = [name for name in imports if name not in SYSTEM_DLLS
                               and not name.startswith('api-ms-')]
                    self.assertEqual(foreign, [], 'runtime DLLs a clean system lacks')

    def test_modules_have_the_width_of_their_target(self):
        for target in self.built_targets(WINDOWS):
            for path in windows_modules(target):
                with self.subTest(target=target, module=os.path.basename(path)):
                    self.assertIn('file format %s' % PE_FORMATS[target], objdump(path))


if __name__ == '__main__':
    unittest.main()
