"""Sending files: quelt-host's put against real OBEX peers (a receiver on the
OpenOBEX library and OpenOBEX's own obex_tcp tool), against a scripted fault
peer, and under Wine, where no Bluetooth sockets exist."""

import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

from harness import BUILD_ROOT, REPO_ROOT, TargetsTestCase, run_host, targets

sys.path.insert(0, os.path.join(REPO_ROOT, 'tests', 'peers'))
from fault_peer import CONTINUE, FaultPeer, connect_reply, put_reply  # noqa: E402

REFUSED = 0xC0
TO_DEVICE = ['ls', 'cd "[A00] Office dongle"', 'ls', 'cd "[D00] Phone"', 'ls']
RECEIVER = os.path.join(BUILD_ROOT, 'native', 'bin', 'obex_receiver')


def world(port, extra=''):
    return ('radio address=00:1A:7D:DA:71:13 name="Office dongle"\n'
            'device radio=0 address=00:1B:F0:12:3A:5E name="Phone" obex=127.0.0.1:%d %s\n'
            'sockets reply-timeout-ms=500\n' % (port, extra))


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def pattern(size, seed=0):
    block = bytes((i * 7 + seed) & 0xFF for i in range(251))
    return (block * (size // len(block) + 1))[:size]


def wait_until_listening(port, process, seconds=5):
    """Waits for a listening socket on `port` without connecting to it (a
    connection would use up a one-shot server)."""
    wanted = ':%04X ' % port
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline and process.poll() is None:
        for table in ('/proc/net/tcp', '/proc/net/tcp6'):
            with open(table) as f:
                for line in f.readlines()[1:]:
                    fields = line.split()
                    if (fields[1] + ' ').endswith(wanted) and fields[3] == '0A':
                        return True
        time.sleep(0.05)
    return False


def put_results(result):
    return [line for line in result.stdout if line.startswith('put ')]


class Folder:
    """A temporary folder of files to send, removed afterwards."""

    def __init__(self, test):
        self.path = tempfile.mkdtemp(prefix='quelt-send-')
        test.addCleanup(shutil.rmtree, self.path, True)

    def file(self, name, content):
        path = os.path.join(self.path, name)
        with open(path, 'wb') as f:
            f.write(content)
        return path


class Receiver:
    """obex_receiver on a free loopback port, storing into a temporary folder."""

    def __init__(self, test, mtu, count):
        self.folder = tempfile.mkdtemp(prefix='quelt-received-')
        test.addCleanup(shutil.rmtree, self.folder, True)
        self.port = free_port()
        self.process = subprocess.Popen(
            [RECEIVER, '--port', str(self.port), '--mtu', str(mtu), '--count', str(count),
             '--folder', self.folder],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        test.addCleanup(self.stop)
        first = self.process.stdout.readline()
        if not first.startswith('listening'):
            raise AssertionError('obex_receiver did not start: %r' % first)

    def content(self, name):
        with open(os.path.join(self.folder, name), 'rb') as f:
            return f.read()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
        self.process.wait(10)
        self.process.stdout.close()


def native_only(test_class):
    return unittest.skipUnless('native' in targets(), 'no native build')(test_class)


@native_only
class SendingToRealPeers(unittest.TestCase):
    def test_files_arrive_identical(self):
        files = Folder(self)
        sent = {
            'twenty.bin': pattern(20000),        # 8194 + 8194 + 3612: 40, 81, 100
            'chunk.bin': pattern(8194, 1),       # exactly one chunk
            'chunk1.bin': pattern(8195, 2),      # one chunk and one byte
            'ten-mib.bin': os.urandom(10 * 1024 * 1024),
            'Привет мир.txt': pattern(5000, 3),
            '世界の写真.jpg': pattern(3000, 4),
            'smile \U0001F600.txt': pattern(100, 5),
        }
        receiver = Receiver(self, mtu=0xFFFF, count=len(sent))
        puts = ['put "%s"' % files.file(name, data) for name, data in sent.items()]
        result = run_host('native', TO_DEVICE + puts, world=world(receiver.port))
        self.assertEqual(['put 0'] * len(sent), put_results(result), result.describe())
        self.assertEqual([0, 40, 81, 100, 100], result.progress[:5])
        for name, data in sent.items():
            self.assertTrue(receiver.content(name) == data, name)

    def test_obex_tcp_tool_receives_a_file(self):
        # The unmodified tool serves TCP port 650 for about 10 s, announces
        # 1024-byte packets and exits after one push.
        folder = tempfile.mkdtemp(prefix='quelt-obex-tcp-')
        self.addCleanup(shutil.rmtree, folder, True)
        # A port served before stays blocked for about a minute: try again.
        deadline = time.monotonic() + 75
        while True:
            tool = subprocess.Popen(['obex_tcp'], cwd=folder, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
            self.addCleanup(lambda t=tool: t.poll() is None and (t.kill(), t.wait()))
            if wait_until_listening(650, tool):
                break
            tool.wait(15)
            if time.monotonic() > deadline:
                self.skipTest('obex_tcp could not serve port 650')
            time.sleep(1)
        data = pattern(3000)  # K = 1024 - 2 * 13 - 19 = 979: four packets
        path = Folder(self).file('tool-test.bin', data)
        result = run_host('native', TO_DEVICE + ['put "%s"' % path], world=world(650))
        self.assertEqual(['put 0'], put_results(result), result.describe())
        self.assertEqual([0, 32, 65, 97, 100, 100], result.progress)
        tool.wait(15)
        with open(os.path.join(folder, 'tool-test.bin'), 'rb') as f:
            self.assertTrue(f.read() == data)


@native_only
class SendingToAFaultPeer(unittest.TestCase):
    def push(self, peer, name='a.txt', content=b'0123456789', args=(), extra=''):
        path = Folder(self).file(name, content)
        peer.start()
        result = run_host('native', TO_DEVICE + ['put "%s"' % path], args=args,
                          world=world(peer.port, extra), timeout=60)
        peer.join()
        return result

    def test_worked_example_byte_for_byte(self):
        peer = FaultPeer(connect_reply(1024))
        result = self.push(peer)
        self.assertEqual(['put 0'], put_results(result), result.describe())
        expected = bytes.fromhex('80 00 07 10 00 20 00'
                                 '82 00 24 01 00 0F 00 61 00 2E 00 74 00 78 00 74 00 00'
                                 'C3 00 00 00 0A 49 00 0D') + b'0123456789'
        self.assertEqual(expected.hex(' '), peer.received.hex(' '))
        self.assertEqual((4, 'Done'), result.logs[-1])
        self.assertEqual([0, 100, 100], result.progress)

    def test_refusals_fail_the_put(self):
        cases = [
            ('connect', dict(connect_reply=connect_reply(1024, REFUSED)), 1),
            ('first put', dict(put_replies={0: put_reply(REFUSED)}), 2),
            ('later put', dict(put_replies={1: put_reply(REFUSED)}), 3),
            ('closed mid-transfer', dict(close_at=1), 3),
            ('silent', dict(silent_at=1), 3),
            ('closed at connect', dict(close_at='connect'), 1),
        ]
        content = pattern(3000)  # four packets of at most 995 bytes
        for what, script, packets in cases:
            with self.subTest(what):
                peer = FaultPeer(**script)
                result = self.push(peer, content=content)
                self.assertEqual(['put 5'], put_results(result), result.describe())
                self.assertEqual(packets, len(peer.packets))
                self.assertEqual(6, result.logs[-1][0])
                self.assertNotIn((4, 'Done'), result.logs)
                self.assertNotIn(100, result.progress)

    def test_awkward_but_valid_peers_still_get_the_file(self):
        cases = [
            ('connection id header', dict(connect_reply=connect_reply(1024, connection_id=7))),
            ('replies in single bytes', dict(split=True)),
            ('continue replies', dict(put_replies={n: put_reply(CONTINUE) for n in range(5)})),
            ('smallest packets', dict(connect_reply=connect_reply(255))),  # K = 226
        ]
        content = pattern(1000)
        for what, script in cases:
            with self.subTest(what):
                peer = FaultPeer(**script)
                result = self.push(peer, content=content)
                self.assertEqual(['put 0'], put_results(result), result.describe())
                self.assertTrue(peer.bodies() == content)
                self.assertTrue(peer.client_closed)

    def test_nothing_is_put_when_nothing_can_go(self):
        cases = [
            ('empty file', 1024, b''),
            ('no room for a body byte', 20, b'0123456789'),
        ]
        for what, largest, content in cases:
            with self.subTest(what):
                peer = FaultPeer(connect_reply(largest))
                result = self.push(peer, content=content)
                self.assertEqual(['put 5'], put_results(result), result.describe())
                self.assertEqual(1, len(peer.packets))  # the CONNECT only
                self.assertEqual((5, 'Done'), result.logs[-2])
                self.assertEqual(6, result.logs[-1][0])

    def test_abort_after_the_final_reply_fails_the_put(self):
        peer = FaultPeer()
        result = self.push(peer, args=['--abort-at', '100'])
        self.assertEqual(['put 5'], put_results(result), result.describe())
        self.assertEqual([0, 100], result.progress)
        self.assertNotIn((4, 'Done'), result.logs)

    def test_already_connected_socket_goes_on(self):
        peer = FaultPeer()
        result = self.push(peer, extra='connect-error=10056')
        self.assertEqual(['put 0'], put_results(result), result.describe())


WINDOWS_TARGETS = ('win32', 'win64')


def dos_path(path):
    return 'Z:' + path.replace('/', '\\')


class SendingUnderWine(TargetsTestCase):
    """Wine has no Bluetooth sockets: only the request's own paths and the
    sender's first failure can be seen there."""

    def test_refused_request_shows_its_box_and_opens_nothing(self):
        for target in self.built_targets(WINDOWS_TARGETS):
            with self.subTest(target):
                result = run_host(target, ['put "%s"' % dos_path('/nonexistent/a.txt')],
                                  world=world(6500))
                self.assertEqual(['put 4'], put_results(result), result.describe())
                self.assertEqual(
                    ['Wrong directory|Please choose adapter \nand bluetooth device first!'],
                    result.boxes)
                self.assertEqual([], result.logs)
                self.assertEqual([], result.progress)

    def test_put_fails_in_the_request_or_at_the_socket(self):
        path = Folder(self).file('a.txt', b'0123456789')
        for target in self.built_targets(WINDOWS_TARGETS):
            with self.subTest(target):
                listing = run_host(target, TO_DEVICE, world=world(6500))
                cases = [('missing', dos_path(path + '.missing'), 'put 3', 3, []),
                         ('existing', dos_path(path), 'put 5', 6, [0])]
                for what, local, answer, log_type, progress in cases:
                    result = run_host(target, TO_DEVICE + ['put "%s"' % local], world=world(6500))
                    own_logs = result.logs[len(listing.logs):]
                    self.assertEqual([answer], put_results(result), result.describe())
                    self.assertEqual(log_type, own_logs[-1][0], what)
                    self.assertEqual(progress, result.progress, what)
                    if what == 'missing':
                        self.assertEqual(1, len(own_logs), own_logs)


if __name__ == '__main__':
    unittest.main()
