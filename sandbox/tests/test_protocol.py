"""Wire-level duties no client library shows directly: framing, attention, disconnects."""
import socket
import struct
import time

from support import PASSWORD, USER, SandboxCase

TDS71, TDS74 = 0x71000001, 0x74000004


def packet(ptype, payload=b''):
    return struct.pack('>BBHHBB', ptype, 1, len(payload) + 8, 0, 1, 0) + payload


def login7(user, password, database, version, packet_size=4096):
    def obfuscate(text):
        return bytes((((b << 4) & 0xF0) | (b >> 4)) ^ 0xA5 for b in text.encode('utf-16-le'))
    fields = ['host'.encode('utf-16-le'), user.encode('utf-16-le'), obfuscate(password),
              b'', b'', b'', b'', b'', database.encode('utf-16-le')]
    pairs, data = b'', b''
    for raw in fields:
        pairs += struct.pack('<HH', 94 + len(data), len(raw) // 2)
        data += raw
    end = 94 + len(data)
    tail = bytes(6) + struct.pack('<HHHHHHI', end, 0, end, 0, end, 0, 0)
    fixed = struct.pack('<IIIIIIBBBBiI', 94 + len(data), version, packet_size, 0, 0, 0,
                        0xE0, 0x03, 0, 0, 0, 0x409)
    return fixed + pairs + tail + data


class RawClient:
    def __init__(self, port):
        self.sock = socket.create_connection(('127.0.0.1', port), 5)

    def request(self, ptype, payload=b''):
        self.sock.sendall(packet(ptype, payload))
        return self.reply()

    def reply(self):
        """Payload of one whole reply; also keeps the packet lengths."""
        self.lengths, payload = [], b''
        while True:
            header = self._exact(8)
            self.lengths.append(struct.unpack('>H', header[2:4])[0])
            payload += self._exact(self.lengths[-1] - 8)
            if header[1] & 1:
                return payload

    def _exact(self, count):
        data = b''
        while len(data) < count:
            chunk = self.sock.recv(count - len(data))
            if not chunk:
                raise ConnectionError('closed')
            data += chunk
        return data

    def login(self, version, password=PASSWORD, packet_size=4096):
        self.request(0x12, b'\xff')
        return self.request(0x10, login7(USER, password, 'Emberline', version, packet_size))


class ProtocolTest(SandboxCase):
    def client(self):
        client = RawClient(self.port)
        self.addCleanup(client.sock.close)
        return client

    def test_prelogin_reply_is_one_packet_without_encryption(self):
        client = self.client()
        reply = client.request(0x12, b'\xff')
        self.assertEqual(len(client.lengths), 1)
        self.assertEqual(reply[5:10], b'\x01\x00\x20\x00\x01')
        self.assertEqual(reply[0x20], 0x02)

    def test_pre7_login_is_closed(self):
        client = self.client()
        client.sock.sendall(packet(0x02, bytes(512)))
        self.assertEqual(client.sock.recv(100), b'')

    def test_failed_login_uses_requested_done_width(self):
        for version, done in ((TDS74, b'\xfd\x02\x00\x00\x00' + bytes(8)),
                              (TDS71, b'\xfd\x02\x00\x00\x00' + bytes(4))):
            reply = self.client().login(version, password='no')
            self.assertTrue(reply.endswith(done), reply[-16:].hex())

    def test_attention_acked_even_after_statement_finished(self):
        client = self.client()
        self.assertIn(b'\xad', client.login(TDS71))
        self.assertTrue(client.request(0x01, 'select 1'.encode('utf-16-le'))
                        .startswith(b'\x81'))
        self.assertEqual(client.request(0x06), b'\xfd\x20\x00\x00\x00' + bytes(4))
        self.assertTrue(client.request(0x01, 'select 2'.encode('utf-16-le'))
                        .endswith(b'\xfd\x10\x00\xc1\x00\x01\x00\x00\x00'))

    def test_replies_split_at_negotiated_packet_size(self):
        client = self.client()
        self.assertIn('512'.encode('utf-16-le'), client.login(TDS71, packet_size=512))
        reply = client.request(0x01, "select replace(hex(zeroblob(1500)), '0', 'y')"
                               .encode('utf-16-le'))
        self.assertGreater(len(client.lengths), 5)
        self.assertLessEqual(max(client.lengths), 512)
        self.assertIn('y'.encode('utf-16-le') * 3000, reply)

    def test_disconnect_mid_batch_abandons_it(self):
        self.control(cmd='faults', faults={'delay': 1.0})
        client = self.client()
        client.login(TDS71)
        client.sock.sendall(packet(0x01, "update Defaults set Value = 'gone' where ID = "
                                         "'Currency'".encode('utf-16-le')))
        time.sleep(0.2)
        client.sock.close()
        self.wait_for_connections(0, timeout=0.7)
        time.sleep(1.0)
        self.control(cmd='faults', faults={})
        self.assertEqual(self.query("select Value from Defaults where ID = 'Currency'"),
                         [('GBP',)])
