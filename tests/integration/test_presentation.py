"""Presentation through the host, natively and under Wine: custom icons,
the MAC column (wide and ANSI requests), the module's resources and
exports read back from the built DLLs, the reproducible icons and the
installable package."""

import os
import re
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
import pe_resources  # noqa: E402
from harness import BUILD_ROOT, REPO_ROOT, TargetsTestCase, run_host, targets  # noqa: E402

WORLD = """\
radio  address=00:1A:7D:DA:71:13 name="Office dongle"
radio  address=00:1A:7D:DA:71:14 name="Laptop radio."
device radio=0 address=00:1B:F0:12:3A:5E name="Phone"
device radio=0 address=11:22:33:44:55:66 name="Shout!"
device radio=1 address=AA:BB:CC:DD:EE:01 name="Tablet"
"""

ADAPTER0 = '00:1A:7D:DA:71:13'
ADAPTER1 = '00:1A:7D:DA:71:14'
DEVICE1 = '11:22:33:44:55:66'
ZEROS = '00:00:00:00:00:00'

DONGLE = r'\[A00] Office dongle'
SHOUT = DONGLE + r'\[D01] Shout!'

# (path, icon name or None for the host's default)
ICON_CASES = [
    (DONGLE, 'ICON2'),
    (r'\[A01] Laptop radio.', 'ICON2'),
    (DONGLE + r'\[D00] Phone', 'ICON3'),
    (SHOUT, 'ICON3'),
    (r'\[A00] Office dongle/[D01] Shout!', 'ICON3'),
    (SHOUT + r'\Copy the files to send.', 'ICON5'),
    (SHOUT + r'\Please disconnect!', 'ICON4'),
    (r"\Can't find any radio adapter!", 'ICON4'),
    (r'\[a00] lower case', None),
    (DONGLE + r'\[d00] lower case', None),
    (r'\notes.txt', None),
    ('\\', None),
]


MODULE_FILES = {'win32': 'QUELT.wfx', 'win64': 'QUELT.wfx64'}


def module_path(target):
    return os.path.join(BUILD_ROOT, target, 'bin', MODULE_FILES[target])


def quoted(path):
    return '"%s"' % path


def icon_commands(ansi):
    return (['ansi on'] if ansi else []) + ['icon ' + quoted(p) for p, _ in ICON_CASES]


class CustomIcons(TargetsTestCase):
    def test_entries_get_the_icon_of_their_kind_through_both_requests(self):
        expected = ['icon 1 %s' % icon if icon else 'icon 0 %s' % path
                    for path, icon in ICON_CASES]
        for target in self.built_targets():
            for ansi in (False, True):
                with self.subTest(target=target, ansi=ansi):
                    result = run_host(target, icon_commands(ansi), world=WORLD)
                    self.assertEqual(result.returncode, 0, result.describe())
                    self.assertEqual(result.stdout, expected, result.describe())
                    self.assertEqual(result.logs, [], 'icons log nothing')


# (path, value): asked after the root, adapter 0 and device 1 were listed.
VALUE_CASES = [
    (DONGLE, ADAPTER0),
    (r'\[A01] Laptop radio.', ADAPTER1),
    (SHOUT, DEVICE1),
    (r'\[A00] Office dongle/[D01] Shout!', DEVICE1),
    (SHOUT + r'\Copy the files to send.', DEVICE1),
    (r'\[a00] lower case', DEVICE1),
    (r'\[A07] beyond the radios', ZEROS),
    (DONGLE + r'\[D42] never listed', ZEROS),
]


class ContentColumn(TargetsTestCase):
    def browse_to_shout(self):
        return ['ls \\', 'ls ' + quoted(DONGLE), 'ls ' + quoted(SHOUT)]

    def test_values_follow_the_listing_through_both_requests(self):
        values = ['value ' + quoted(path) for path, _ in VALUE_CASES]
        expected = ['value 8 %s' % value for _, value in VALUE_CASES]
        for target in self.built_targets():
            with self.subTest(target=target):
                result = run_host(target, self.browse_to_shout() + values + ['ansi on'] + values,
                                  world=WORLD)
                self.assertEqual(result.returncode, 0, result.describe())
                listing = result.stdout[:-2 * len(values)]
                self.assertIn('0x81\tCopy the files to send.', listing, result.describe())
                self.assertEqual(result.stdout[-2 * len(values):], expected + expected,
                                 result.describe())

    def test_without_an_opened_device_other_entries_show_zeros(self):
        for target in self.built_targets():
            with self.subTest(target=target):
                result = run_host(target, ['ls \\', 'value "\\Unknown directory!"',
                                           'value ' + quoted(DONGLE)], world=WORLD)
                self.assertEqual(result.stdout[-2:], ['value 8 ' + ZEROS, 'value 8 ' + ADAPTER0],
                                 result.describe())


class AnsiEntryPoints(TargetsTestCase):
    """The ANSI entry points are frames: through them the host sees what it
    sees through the wide ones, names converted to the ANSI code page."""

    WORLD = WORLD + 'device radio=0 address=00:00:00:00:00:07 name="Caf\u00e9"\n'
    CAFE = DONGLE + '\\[D02] Caf\u00e9'

    def session(self, local):
        return ['put "%s"' % local,  # no device chosen yet: the box, nothing sent
                'ls \\', 'ls ' + quoted(DONGLE), 'ls ' + quoted(self.CAFE),
                'icon ' + quoted(self.CAFE), 'value ' + quoted(self.CAFE),
                'cd ' + quoted(self.CAFE), 'put "%s"' % local]

    def test_a_session_through_either_set_gives_the_same_answers(self):
        with tempfile.NamedTemporaryFile(suffix='.txt') as local:
            local.write(b'hello')
            local.flush()
            for target in self.built_targets():
                with self.subTest(target=target):
                    name = local.name if target == 'native' else 'Z:' + local.name.replace('/', '\\')
                    wide = run_host(target, self.session(name), world=self.WORLD)
                    ansi = run_host(target, ['ansi on'] + self.session(name), world=self.WORLD)
                    self.assertEqual(wide.returncode, 0, wide.describe())
                    self.assertIn('0x11\t[D02] Caf\u00e9', wide.stdout, wide.describe())
                    self.assertEqual(wide.stdout[-3:], ['icon 1 ICON3', 'value 8 00:00:00:00:00:07',
                                                        'put 5'], wide.describe())
                    for part in ('stdout', 'logs', 'boxes', 'progress'):
                        self.assertEqual(getattr(ansi, part), getattr(wide, part),
                                         '%s differs\n%s\n%s' % (part, wide.describe(),
                                                                  ansi.describe()))


class AnsiLongPaths(TargetsTestCase):
    """Host texts reach the wide entry points cut to their first 1023
    characters, also where the system's conversion reports the cut."""

    WORLD = WORLD + ''.join('device radio=0 address=00:00:00:00:00:%02X name="Extra %d"\n' % (n, n)
                            for n in range(2, 6))

    @staticmethod
    def long_path():
        # Cut at 1023 it names device 5's folder (a trailing separator is
        # passed over); cut at 1024 it has no marker; whole, it is adapter 1.
        path = DONGLE + '\\[D05] '
        path += 'y' * (1022 - len(path)) + '\\[A01] radio'
        return path + 'z' * (1500 - len(path))

    def test_a_1500_character_path_is_judged_by_its_first_1023(self):
        value = 'value ' + quoted(self.long_path())
        for target in self.built_targets():
            with self.subTest(target=target):
                result = run_host(target, ['ls \\', 'ls ' + quoted(DONGLE), value, 'ansi on', value],
                                  world=self.WORLD)
                self.assertEqual(result.stdout[-2:], ['value 8 ' + ADAPTER1,
                                                      'value 8 00:00:00:00:00:05'],
                                 result.describe())


class IconsAsTheSystemLoadsThem(unittest.TestCase):
    """quelt_icon_probe loads the DLL under Wine, asks it for icons and
    describes the icon handles it got back."""

    def probes(self):
        found = []
        for target in MODULE_FILES:
            probe = os.path.join(BUILD_ROOT, target, 'bin', 'quelt_icon_probe.exe')
            if target in targets() and os.path.exists(probe):
                found.append((target, probe))
        if not found:
            self.skipTest('no Windows build with quelt_icon_probe')
        harness.ensure_prefix()
        return found

    def run_probe(self, probe, module):
        """One line per path of ICON_CASES: result, name, size, bits."""
        dos_module = 'Z:' + module.replace('/', '\\')
        paths = [path for path, _ in ICON_CASES]
        # Output through files: a wine server that this run starts keeps
        # inherited pipes open after the program has ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run(['wine', probe, dos_module] + paths, env=harness.wine_env(),
                                  stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                  timeout=120).returncode
            out.seek(0)
            err.seek(0)
            self.assertEqual(code, 0, err.read().decode('utf-8', 'replace'))
            lines = [line.rstrip('\r') for line in out.read().decode('utf-8').splitlines()]
        self.assertEqual(len(lines), len(ICON_CASES))
        return lines

    def test_each_icon_request_gives_a_32_bit_icon(self):
        for target, probe in self.probes():
            lines = self.run_probe(probe, module_path(target))
            for line, (path, icon) in zip(lines, ICON_CASES):
                with self.subTest(target=target, path=path):
                    head, size, bits = line.rsplit(' ', 2)
                    answer, name = head.split(' ', 1)
                    if icon is None:
                        self.assertEqual((answer, name), ('0', path))
                        continue
                    self.assertEqual((answer, name), ('1', icon))
                    width, height = size.split('x')
                    self.assertTrue(int(width) > 0 and width == height, line)
                    self.assertEqual(bits, '32')

    def test_an_icon_that_cannot_be_loaded_is_declined(self):
        icon_name = 'ICON'.encode('utf-16-le')
        for target, probe in self.probes():
            with open(module_path(target), 'rb') as f:
                module = f.read()
            self.assertEqual(module.count(icon_name), 5, 'the five group names')
            with tempfile.TemporaryDirectory() as folder:
                # The same module with its icon groups renamed: LoadIconA finds none.
                stripped = os.path.join(folder, MODULE_FILES[target])
                with open(stripped, 'wb') as f:
                    f.write(module.replace(icon_name, 'ICOX'.encode('utf-16-le')))
                lines = self.run_probe(probe, stripped)
            for line, (path, _) in zip(lines, ICON_CASES):
                with self.subTest(target=target, path=path):
                    self.assertEqual(line, '0 %s 0x0 0' % path)


EXPORTS = sorted([
    'FsInit', 'FsInitW', 'FsGetDefRootName', 'FsDisconnect', 'FsDisconnectW',
    'FsContentPluginUnloading', 'FsFindFirstW', 'FsFindNextW', 'FsFindClose', 'FsPutFileW',
    'FsExtractCustomIconW', 'FsContentGetSupportedField', 'FsContentGetSupportedFieldFlags',
    'FsContentGetValueW', 'FsContentGetDefaultSortOrder', 'FsContentGetDefaultView',
    'FsFindFirst', 'FsFindNext', 'FsPutFile', 'FsExtractCustomIcon', 'FsContentGetValue',
])

SWISS_GERMAN = 0x0807
US_ENGLISH = 0x0409


def project_version():
    with open(os.path.join(REPO_ROOT, 'CMakeLists.txt')) as f:
        return re.search(r'project\(QUELT VERSION (\d+)\.(\d+)\.(\d+)', f.read()).groups()


class ModuleResources(unittest.TestCase):
    def modules(self):
        found = [(t, module_path(t)) for t in MODULE_FILES if os.path.exists(module_path(t))]
        if not found:
            self.skipTest('no Windows build')
        return found

    def test_every_entry_point_is_exported_under_its_plain_name(self):
        for target, path in self.modules():
            with self.subTest(target=target):
                self.assertEqual(sorted(pe_resources.PeFile(path).exports()), EXPORTS)

    def test_five_icon_groups_of_one_48_pixel_image_with_alpha(self):
        for target, path in self.modules():
            resources = pe_resources.PeFile(path).resources()
            groups = {n: (lang, data) for kind, n, lang, data in resources
                      if kind == pe_resources.RT_GROUP_ICON}
            images = {n: (lang, data) for kind, n, lang, data in resources
                      if kind == pe_resources.RT_ICON}
            self.assertEqual(sorted(groups), ['ICON%d' % i for i in range(1, 6)], target)
            self.assertEqual(sorted(images), [1, 2, 3, 4, 5], target)
            for number in range(1, 6):
                with self.subTest(target=target, icon=number):
                    group_language, group = groups['ICON%d' % number]
                    image_language, image = images[number]
                    self.assertEqual((group_language, image_language),
                                     (SWISS_GERMAN, SWISS_GERMAN))
                    self.assertEqual(pe_resources.group_icon_entries(group),
                                     [(48, 48, 32, len(image), number)])
                    width, height, bits, alphas = pe_resources.icon_image(image)
                    self.assertEqual((width, height, bits), (48, 48, 32))
                    self.assertIn(0, alphas, 'transparent around the picture')
                    self.assertIn(255, alphas)
                    self.assertTrue(any(0 < a < 255 for a in alphas), 'antialiased edges')

    def test_manifest_and_version_information(self):
        major, minor, patch = project_version()
        for target, path in self.modules():
            with self.subTest(target=target):
                resources = pe_resources.PeFile(path).resources()
                manifests = [(n, lang, data) for kind, n, lang, data in resources
                             if kind == pe_resources.RT_MANIFEST]
                self.assertEqual([(n, lang) for n, lang, _ in manifests], [(2, US_ENGLISH)])
                text = manifests[0][2].decode('utf-8')
                self.assertRegex(text, r'requestedExecutionLevel\s+level="asInvoker"\s+'
                                       r'uiAccess="false"')
                versions = [data for kind, _, _, data in resources
                            if kind == pe_resources.RT_VERSION]
                self.assertEqual(len(versions), 1)
                strings = pe_resources.version_strings(versions[0])
                self.assertEqual(strings['ProductName'], 'QUELT')
                self.assertEqual(strings['FileVersion'], '%s.%s.%s' % (major, minor, patch))
                self.assertEqual(strings['OriginalFilename'], os.path.basename(path))
                self.assertTrue(strings['FileDescription'])
                self.assertEqual(pe_resources.fixed_file_version(versions[0]),
                                 (int(major), int(minor), int(patch), 0))


class IconSources(unittest.TestCase):
    def test_checked_in_icons_are_what_the_drawing_makes(self):
        script = os.path.join(REPO_ROOT, 'resources', 'draw_icons.py')
        result = subprocess.run([sys.executable, script, 'check',
                                 os.path.join(REPO_ROOT, 'resources', 'icons')],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)


class Package(unittest.TestCase):
    def test_zip_holds_both_modules_a_readme_and_the_install_descriptor(self):
        with tempfile.TemporaryDirectory() as dist:
            for name in ('QUELT.wfx', 'QUELT.wfx64'):
                with open(os.path.join(dist, name), 'wb') as f:
                    f.write(b'MZ module ' + name.encode())
            result = subprocess.run(
                ['bash', os.path.join(REPO_ROOT, 'scripts', 'package.sh'), dist],
                capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, result.stderr)
            with zipfile.ZipFile(os.path.join(dist, 'QUELT.zip')) as package:
                self.assertEqual(sorted(package.namelist()),
                                 ['QUELT.wfx', 'QUELT.wfx64', 'pluginst.inf', 'readme.txt'])
                self.assertEqual(package.read('QUELT.wfx64'), b'MZ module QUELT.wfx64')
                descriptor = package.read('pluginst.inf').decode('ascii').splitlines()
                readme = package.read('readme.txt').decode('utf-8')
            self.assertEqual(descriptor[0], '[plugininstall]')
            keys = dict(line.split('=', 1) for line in descriptor[1:] if line)
            self.assertEqual(keys['type'], 'wfx')
            self.assertEqual(keys['file'], 'QUELT.wfx')
            self.assertEqual(keys['file64'], 'QUELT.wfx64')
            self.assertEqual(keys['defaultdir'], 'QUELT')
            self.assertTrue(keys['description'])
            self.assertIn('OBEX', readme)
            self.assertIn('MAC', readme)
            self.assertTrue(os.path.exists(os.path.join(dist, 'icons-contact-sheet.png')))

    def test_missing_module_is_a_clear_error(self):
        with tempfile.TemporaryDirectory() as dist:
            result = subprocess.run(
                ['bash', os.path.join(REPO_ROOT, 'scripts', 'package.sh'), dist],
                capture_output=True, text=True)
            self.assertNotEqual(result.returncode, 0)
            self.assertIn('QUELT.wfx', result.stderr)
            self.assertFalse(os.path.exists(os.path.join(dist, 'QUELT.zip')))


if __name__ == '__main__':
    unittest.main()
