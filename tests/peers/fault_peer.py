#!/usr/bin/env python3
"""A scripted OBEX Object Push peer for what no library server does on demand.

It serves one connection on 127.0.0.1, reads each request whole by its
length field, records every byte it receives and answers as scripted:

    connect_reply  bytes of the CONNECT reply (default: Success, 1024-byte packets)
    put_replies    {PUT number from 0: reply bytes}; others get A0 00 03
    close_at       'connect' or a PUT number: close instead of answering it
    silent_at      'connect' or a PUT number: never answer it (wait for the
                   client to close)
    split          send every reply one byte at a time

From Python:
    peer = FaultPeer(connect_reply=connect_reply(255)).start()
    ... push to peer.port ...
    peer.join(); peer.packets, peer.received

From the shell (prints 'listening PORT', then the received bytes in hex):
    fault_peer.py [--port P] [--mtu M] [--refuse connect|N] [--close-at connect|N]
                  [--silent-at connect|N] [--connection-id] [--split] [--record FILE]
"""

import argparse
import socket
import struct
import sys
import threading
import time

SUCCESS, CONTINUE, FORBIDDEN_LIKE = 0xA0, 0x90, 0xC0


def connect_reply(largest_packet=1024, code=SUCCESS, connection_id=None):
    """A CONNECT reply; with connection_id it carries a Connection-Id header (12 bytes)."""
    extra = b'' if connection_id is None else struct.pack('>BI', 0xCB, connection_id)
    return struct.pack('>BHBBH', code, 7 + len(extra), 0x10, 0x00, largest_packet) + extra


def put_reply(code=SUCCESS):
    return struct.pack('>BH', code, 3)


class FaultPeer:
    def __init__(self, connect_reply=connect_reply(), put_replies=None, close_at=None,
                 silent_at=None, split=False, port=0, timeout=60):
        self.connect_reply = connect_reply
        self.put_replies = put_replies or {}
        self.close_at = close_at
        self.silent_at = silent_at
        self.split = split
        self.timeout = timeout
        self.packets = []        # every request, whole, CONNECT first
        self.received = b''      # every byte received, in order
        self.client_closed = False
        self._listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._listener.bind(('127.0.0.1', port))
        self._listener.listen(1)
        self._listener.settimeout(timeout)
        self.port = self._listener.getsockname()[1]
        self._thread = threading.Thread(target=self._serve, daemon=True)

    def start(self):
        self._thread.start()
        return self

    def join(self, timeout=None):
        self._thread.join(self.timeout if timeout is None else timeout)
        self._listener.close()
        return self

    def bodies(self):
        """The object's bytes: the Body and End-of-Body headers of all PUTs, joined."""
        data = b''
        for packet in self.packets[1:]:
            at = 3
            while at + 3 <= len(packet):
                header = packet[at]
                kind = header & 0xC0
                length = {0xC0: 5, 0x80: 2}.get(kind) or struct.unpack('>H', packet[at + 1:at + 3])[0]
                if length < 3:
                    break
                if header in (0x48, 0x49):
                    data += packet[at + 3:at + length]
                at += length
        return data

    def _read_exactly(self, conn, count):
        data = b''
        while len(data) < count:
            chunk = conn.recv(count - len(data))
            if not chunk:
                return None
            data += chunk
            self.received += chunk
        return data

    def _read_packet(self, conn):
        head = self._read_exactly(conn, 3)
        if head is None:
            return None
        length = struct.unpack('>H', head[1:3])[0]
        rest = self._read_exactly(conn, max(length - 3, 0))
        return None if rest is None else head + rest

    def _reply(self, conn, data):
        if not self.split:
            conn.sendall(data)
            return
        conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        for i in range(len(data)):
            conn.sendall(data[i:i + 1])
            time.sleep(0.002)

    def _wait_for_close(self, conn):
        while True:
            chunk = conn.recv(65536)
            if not chunk:
                return
            self.received += chunk

    def _answer(self, conn, step, reply):
        """Answers one request as scripted; False when the exchange ends here."""
        if self.close_at == step:
            return False
        if self.silent_at == step:
            self._wait_for_close(conn)
            return False
        self._reply(conn, reply)
        return True

    def _serve(self):
        try:
            conn, _ = self._listener.accept()
        except OSError:
            return
        conn.settimeout(self.timeout)
        try:
            packet = self._read_packet(conn)
            if packet is None:
                return
            self.packets.append(packet)
            if not self._answer(conn, 'connect', self.connect_reply):
                return
            number = 0
            while True:
                packet = self._read_packet(conn)
                if packet is None:
                    self.client_closed = True
                    return
                self.packets.append(packet)
                if not self._answer(conn, number, self.put_replies.get(number, put_reply())):
                    return
                number += 1
        except OSError:
            pass
        finally:
            conn.close()


def _step(text):
    return text if text in (None, 'connect') else int(text)


def main(argv):
    parser = argparse.ArgumentParser(description='Scripted OBEX Object Push peer (one connection).')
    parser.add_argument('--port', type=int, default=0)
    parser.add_argument('--mtu', type=lambda v: int(v, 0), default=1024)
    parser.add_argument('--refuse', help="'connect' or a PUT number to answer with 0xC0")
    parser.add_argument('--close-at')
    parser.add_argument('--silent-at')
    parser.add_argument('--connection-id', action='store_true')
    parser.add_argument('--split', action='store_true')
    parser.add_argument('--record', help='file that receives every byte received')
    args = parser.parse_args(argv)
    refuse = _step(args.refuse)
    peer = FaultPeer(
        connect_reply=connect_reply(args.mtu, FORBIDDEN_LIKE if refuse == 'connect' else SUCCESS,
                                    1 if args.connection_id else None),
        put_replies={refuse: put_reply(FORBIDDEN_LIKE)} if isinstance(refuse, int) else None,
        close_at=_step(args.close_at), silent_at=_step(args.silent_at), split=args.split,
        port=args.port, timeout=600)
    print('listening %d' % peer.port, flush=True)
    peer.start().join()
    if args.record:
        with open(args.record, 'wb') as f:
            f.write(peer.received)
    print(peer.received.hex(' '))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
