"""Runs quelt-host natively and under Wine for the integration tests.

    from harness import run_host, write_world, targets, HostResult, BUILD_ROOT, REPO_ROOT

    result = run_host('win32', ['ls', 'cd "[A00] Office dongle"', 'ls'], world=WORLD)
    result.returncode, result.stdout, result.logs, result.boxes, result.progress

Every target runs build/<target>/bin/quelt-host (quelt-host.exe under Wine),
which loads the plug-in beside it (QUELT.so, QUELT.wfx, QUELT.wfx64) and, on
Windows, the stand-in bthprops.cpl beside it. Other programs of a Windows
build run the same way:

    result = run_windows_program('win64', 'quelt_spine_tests.exe', ['--gtest_brief=1'])

Wine runs in one prefix per build folder (BUILD_ROOT/wine/prefix), made once
with the window driver 'null' (message boxes are real and the host closes
them), the crash dialog off and the stand-in bthprops.cpl preferred over
Wine's own. Run as a script it also serves the ctest fixture:
    python3 harness.py --setup-prefix   create the prefix, keep its server up
    python3 harness.py --stop-server    end the prefix's wine server
"""

import atexit
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

REPO_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD_ROOT = os.environ.get('QUELT_BUILD_ROOT') or os.path.join(REPO_ROOT, 'build')

ALL_TARGETS = ('native', 'win32', 'win64')
WINE_TARGETS = ('win32', 'win64')

WINE_DIR = os.path.join(BUILD_ROOT, 'wine')
WINE_PREFIX = os.path.join(WINE_DIR, 'prefix')
_PREFIX_READY = os.path.join(WINE_DIR, 'prefix.ready')
_PREFIX_LOCK = os.path.join(WINE_DIR, 'prefix.lock')

# mscoree and mshtml off: no prompts to install Mono or Gecko.
WINE_DLL_OVERRIDES = 'bthprops.cpl=n;mscoree,mshtml='

_REGISTRY = (
    (r'HKCU\Software\Wine\Drivers', 'Graphics', 'REG_SZ', 'null'),
    (r'HKCU\Software\Wine\WineDbg', 'ShowCrashDialog', 'REG_DWORD', '0'),
)


class HostResult:
    """What one run of quelt-host gave.

    stdout, stderr: lists of lines without their line ends.
    logs: (type, text) per 'log <type> <text>' line, the text unescaped
          (so "CONNECT \\" in the plug-in is 'CONNECT \\' here, one backslash);
          the host drops carriage returns, so "Done.\\r\\n" arrives as 'Done.\\n'.
    boxes: 'caption|text' per 'box' line, unescaped the same way.
    progress: the percent of each 'progress <percent>' line.
    """

    def __init__(self, returncode, stdout_text, stderr_text, command=None):
        self.returncode = returncode
        self.command = command
        self.stdout = _lines(stdout_text)
        self.stderr = _lines(stderr_text)
        self.logs = []
        self.boxes = []
        self.progress = []
        for line in self.stderr:
            kind, _, rest = line.partition(' ')
            if kind == 'log':
                number, _, text = rest.partition(' ')
                if number.lstrip('-').isdigit():
                    self.logs.append((int(number), unescape(text)))
            elif kind == 'box':
                self.boxes.append(unescape(rest))
            elif kind == 'progress' and rest.lstrip('-').isdigit():
                self.progress.append(int(rest))

    def __repr__(self):
        return ('HostResult(returncode=%r,\n stdout=%r,\n stderr=%r)'
                % (self.returncode, self.stdout, self.stderr))

    def describe(self):
        """The run in a form fit for an assertion message."""
        return '%s\nexit %r\n--- stdout\n%s\n--- stderr\n%s' % (
            ' '.join(self.command or []), self.returncode,
            '\n'.join(self.stdout), '\n'.join(self.stderr))


def _lines(text):
    return [line.rstrip('\r') for line in text.split('\n')][:-1] if text else []


def unescape(text):
    """Undoes the host's escaping: \\n is a line break, \\\\ a backslash."""
    out = []
    i = 0
    while i < len(text):
        if text[i] == '\\' and i + 1 < len(text) and text[i + 1] in 'n\\':
            out.append('\n' if text[i + 1] == 'n' else '\\')
            i += 2
        else:
            out.append(text[i])
            i += 1
    return ''.join(out)


def bin_dir(target):
    return os.path.join(BUILD_ROOT, target, 'bin')


def host_path(target):
    name = 'quelt-host' if target == 'native' else 'quelt-host.exe'
    return os.path.join(bin_dir(target), name)


def plugin_path(target):
    return os.path.join(bin_dir(target), {'native': 'QUELT.so', 'win32': 'QUELT.wfx',
                                          'win64': 'QUELT.wfx64'}[target])


def targets():
    """The targets whose builds exist (host and plug-in), in the order
    native, win32, win64; QUELT_TARGETS (e.g. 'native,win64') restricts them.
    Wine targets count only where Wine is installed."""
    wanted = os.environ.get('QUELT_TARGETS')
    chosen = [t.strip() for t in wanted.split(',')] if wanted else ALL_TARGETS
    found = []
    for target in ALL_TARGETS:
        if target not in chosen:
            continue
        if not (os.path.exists(host_path(target)) and os.path.exists(plugin_path(target))):
            continue
        if target in WINE_TARGETS and not shutil.which('wine'):
            continue
        found.append(target)
    return found


_temp_files = []


@atexit.register
def _remove_temp_files():
    for path in _temp_files:
        try:
            os.remove(path)
        except OSError:
            pass


def write_world(text):
    """Writes world text (UTF-8) to a temporary file and returns its path;
    the file is removed when the test process ends."""
    handle, path = tempfile.mkstemp(prefix='quelt-world-', suffix='.txt')
    with os.fdopen(handle, 'w', encoding='utf-8', newline='\n') as f:
        f.write(text)
    _temp_files.append(path)
    return path


def wine_env(extra=None):
    env = dict(os.environ)
    for name in ('DISPLAY', 'WAYLAND_DISPLAY'):
        env.pop(name, None)
    env.update({
        'WINEPREFIX': WINE_PREFIX,
        'WINEDEBUG': '-all',
        'WINEDLLOVERRIDES': WINE_DLL_OVERRIDES,
    })
    if extra:
        env.update(extra)
    return env


def _wine(args, timeout=120):
    return subprocess.run(args, env=wine_env(), stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=timeout, check=False)


def ensure_prefix():
    """Creates the Wine prefix once; safe when tests run in parallel."""
    if os.path.exists(_PREFIX_READY):
        return
    os.makedirs(WINE_DIR, exist_ok=True)
    with open(_PREFIX_LOCK, 'w') as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(_PREFIX_READY):
            return
        _wine(['wineboot', '--init'], timeout=300)
        for key, value, kind, data in _REGISTRY:
            _wine(['wine', 'reg', 'add', key, '/v', value, '/t', kind, '/d', data, '/f'])
        # The window driver is chosen when the server starts: restart it.
        # Stopping it also writes the registry to the prefix's files.
        stop_wine_server()
        if not os.path.exists(os.path.join(WINE_PREFIX, 'user.reg')):
            raise RuntimeError('Wine did not create the prefix %s' % WINE_PREFIX)
        with open(_PREFIX_READY, 'w') as f:
            f.write('ready\n')


def start_wine_server():
    """Keeps the prefix's server running until stop_wine_server (or five idle
    minutes, should the run be cut short): each program then starts in about
    half the time."""
    # The server outlives this call: it must not hold the caller's pipes.
    subprocess.run(['wineserver', '-p300'], env=wine_env(), stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)


def stop_wine_server():
    if os.path.isdir(WINE_PREFIX) and shutil.which('wineserver'):
        subprocess.run(['wineserver', '-k'], env=wine_env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=False)
        subprocess.run(['wineserver', '-w'], env=wine_env(), check=False)


def run_host(target, commands, world=None, args=(), env=None, timeout=120, stdin=None):
    """Runs quelt-host of `target` with each command as one -c argument.

    world: world text (written to a temporary file passed with --world), or
           None for the built-in demo world.
    args: further arguments, placed before the commands (e.g. ['--abort-at', '50']).
    env: variables added to the environment.
    stdin: text on standard input (commands when there are no -c); None: empty.
    """
    exe = host_path(target)
    argv = [exe] if target == 'native' else ['wine', exe]
    world_path = None
    if world is not None:
        world_path = write_world(world)
        argv += ['--world', world_path]
    argv += list(args)
    for command in commands:
        argv += ['-c', command]
    if target == 'native':
        run_env = dict(os.environ)
        run_env.pop('QUELT_WORLD', None)
        if env:
            run_env.update(env)
    else:
        ensure_prefix()
        run_env = wine_env(env)
        if not (env and 'QUELT_WORLD' in env):
            run_env.pop('QUELT_WORLD', None)
    try:
        return _run(argv, run_env, stdin, timeout)
    finally:
        if world_path:
            try:
                os.remove(world_path)
                _temp_files.remove(world_path)
            except (OSError, ValueError):
                pass


def run_windows_program(target, name, args=(), timeout=120):
    """Runs bin/<name> of a Windows target under Wine, in the tests' prefix
    and with the stand-in bthprops.cpl beside it, like quelt-host."""
    ensure_prefix()
    argv = ['wine', os.path.join(bin_dir(target), name)] + list(args)
    return _run(argv, wine_env(), None, timeout)


def _run(argv, run_env, stdin, timeout):
    # Output goes to files, not pipes: Wine's helper processes (winedevice)
    # inherit the handles and outlive the program, so a pipe would never end.
    with tempfile.TemporaryFile() as inp, tempfile.TemporaryFile() as out, \
            tempfile.TemporaryFile() as err:
        inp.write((stdin or '').encode('utf-8'))
        inp.seek(0)
        process = subprocess.Popen(argv, env=run_env, stdin=inp, stdout=out, stderr=err,
                                   start_new_session=True)
        try:
            process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            raise AssertionError('%s did not end within %s s: %s\n%s\n%s' % (
                os.path.basename(argv[1] if argv[0] == 'wine' else argv[0]), timeout,
                ' '.join(argv), _read(out), _read(err)))
        stdout_text, stderr_text = _read(out), _read(err)
    return HostResult(process.returncode, stdout_text, stderr_text, argv)


def _read(stream):
    stream.seek(0)
    return stream.read().decode('utf-8', 'replace')


class TargetsTestCase(unittest.TestCase):
    """Base for tests that run the same expectations on every target:

        for target in self.built_targets():
            with self.subTest(target=target):
                ...
    """

    def built_targets(self, kinds=ALL_TARGETS):
        """The built targets among `kinds`; skips the test when there are none."""
        found = [target for target in targets() if target in kinds]
        if not found:
            self.skipTest('no build of %s under %s' % ('/'.join(kinds), BUILD_ROOT))
        return found


def _main(argv):
    if argv == ['--setup-prefix']:
        if any(t in WINE_TARGETS for t in targets()):
            ensure_prefix()
            start_wine_server()
            print('wine prefix ready: %s' % WINE_PREFIX)
        else:
            print('no Windows build or no Wine: nothing to prepare')
        return 0
    if argv == ['--stop-server']:
        stop_wine_server()
        return 0
    print('usage: harness.py --setup-prefix | --stop-server', file=sys.stderr)
    return 2


if __name__ == '__main__':
    sys.exit(_main(sys.argv[1:]))
