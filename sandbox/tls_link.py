"""TLS under TDS, server side: the handshake travels in PRELOGIN packets, then TLS records go
straight over TCP and carry the TDS packets (MS-TDS 2.2.6.5)."""
import ssl
import struct
import threading

import tds_packets as pk

RECORD_HEADER = 5


class TlsLink:
    """Reads and writes like the socket it wraps (recv, sendall), through TLS."""

    def __init__(self, context, sock):
        self._sock = sock
        self._in, self._out = ssl.MemoryBIO(), ssl.MemoryBIO()
        self._tls = context.wrap_bio(self._in, self._out, server_side=True)
        self._lock = threading.Lock()     # the reader and the worker thread share it
        self._plain = b''

    def handshake(self, first, send):
        """`first`: the payload of the client's first handshake packet; `send(data)` answers
        in PRELOGIN packets. ConnectionClosed when it fails."""
        data = first
        try:
            while True:
                self._in.write(data)
                try:
                    self._tls.do_handshake()
                    break
                except ssl.SSLWantReadError:
                    pass
                if self._out.pending:
                    send(self._out.read())
                ptype, data = pk.read_message(self._sock)
                if ptype != pk.PRELOGIN:
                    raise pk.ConnectionClosed('packet 0x%02X during the TLS handshake' % ptype)
        except ssl.SSLError as error:
            raise pk.ConnectionClosed('TLS handshake failed: %s' % error) from error
        if self._out.pending:
            send(self._out.read())

    def recv(self, count):
        # One record at a time, so that nothing after the last encrypted one is taken: after
        # a login-only handshake the client goes on in the clear.
        while not self._plain:
            header = pk.recv_exact(self._sock, RECORD_HEADER)
            body = pk.recv_exact(self._sock, struct.unpack_from('>H', header, 3)[0])
            with self._lock:
                self._in.write(header + body)
                self._plain = self._decrypted()
        chunk, self._plain = self._plain[:count], self._plain[count:]
        return chunk

    def _decrypted(self):
        parts = []
        while True:
            try:
                parts.append(self._tls.read(65536))
            except ssl.SSLWantReadError:
                return b''.join(parts)
            except ssl.SSLError as error:   # close_notify or a broken record
                raise pk.ConnectionClosed('TLS: %s' % error) from error

    def sendall(self, data):
        with self._lock:
            self._tls.write(data)
            sealed = self._out.read()
        self._sock.sendall(sealed)
