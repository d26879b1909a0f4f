"""TDS packet framing: reassemble client messages, split replies at the packet size."""
import socket
import struct

HEADER = struct.Struct('>BBHHBB')

SQL_BATCH = 0x01
RPC = 0x03
REPLY = 0x04
ATTENTION = 0x06
TRANSACTION = 0x0E
LOGIN7 = 0x10
PRELOGIN = 0x12

STATUS_EOM = 0x01


class ConnectionClosed(Exception):
    """The peer closed or reset the connection, or sent something unframeable."""


def recv_exact(sock, count):
    chunks = []
    while count:
        try:
            chunk = sock.recv(count)
        except OSError as exc:
            raise ConnectionClosed(str(exc)) from exc
        if not chunk:
            raise ConnectionClosed('end of stream')
        chunks.append(chunk)
        count -= len(chunk)
    return b''.join(chunks)


def read_message(sock):
    """Return (packet type, payload) of the next complete client message."""
    payload = []
    while True:
        ptype, status, length, _spid, _pid, _win = HEADER.unpack(recv_exact(sock, HEADER.size))
        if length < HEADER.size:
            raise ConnectionClosed('bad packet length %d' % length)
        payload.append(recv_exact(sock, length - HEADER.size))
        if status & STATUS_EOM:
            return ptype, b''.join(payload)


def frame(payload, spid, packet_size, ptype=REPLY):
    """Wrap a reply in as many packets as the negotiated size needs."""
    room = packet_size - HEADER.size
    packets = []
    offsets = range(0, max(len(payload), 1), room)
    for number, start in enumerate(offsets, 1):
        chunk = payload[start:start + room]
        last = start + room >= len(payload)
        packets.append(HEADER.pack(ptype, STATUS_EOM if last else 0,
                                   len(chunk) + HEADER.size, spid & 0xFFFF, number & 0xFF, 0))
        packets.append(chunk)
    return b''.join(packets)


def send_all(sock, data):
    """Send, mapping a vanished peer to ConnectionClosed."""
    try:
        sock.sendall(data)
    except OSError as exc:
        raise ConnectionClosed(str(exc)) from exc


def close_now(sock, reset=False):
    """Close a socket another thread may be blocked on; reset=True sends RST instead of FIN."""
    try:
        if reset:
            sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack('ii', 1, 0))
            sock.shutdown(socket.SHUT_RD)
        else:
            sock.shutdown(socket.SHUT_RDWR)
    except OSError:
        pass
    sock.close()
