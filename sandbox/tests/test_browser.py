"""The SSRP answer for the named instance, read the way FreeTDS and pytds read it."""
import socket
import unittest

from support import SandboxCase, free_udp_port


def freetds_port(reply, instance):
    """Port as FreeTDS's instance lookup extracts it (0 when it would reject the reply)."""
    if len(reply) <= 3 or reply[0] != 0x05:
        return 0
    fields = reply[3:].decode('ascii').split(';')
    pairs = dict(zip(fields[0::2], fields[1::2]))
    if pairs.get('InstanceName', '').lower() != instance.lower():
        return 0
    port = pairs.get('tcp', '')
    terminated = ';tcp;%s;' % port in reply.decode('ascii')
    return int(port) if port.isdigit() and 0 < int(port) < 65536 and terminated else 0


class BrowserTest(SandboxCase):
    def setUp(self):
        self.browser_port = free_udp_port()
        super().setUp()

    def ask(self, datagram):
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
            s.settimeout(0.5)
            s.sendto(datagram, ('127.0.0.1', self.browser_port))
            try:
                return s.recvfrom(1024)[0]
            except socket.timeout:
                return None

    def test_instance_request_in_any_case(self):
        for name in (b'emberline2', b'EMBERLINE2', b'EmberLine2'):
            reply = self.ask(b'\x04' + name + b'\x00')
            self.assertEqual(freetds_port(reply, 'emberline2'), self.port)
            self.assertEqual(int.from_bytes(reply[1:3], 'little'), len(reply) - 3)
            self.assertRegex(reply[3:].decode('ascii'),
                             r'^ServerName;[^;]+;InstanceName;EMBERLINE2;IsClustered;No;'
                             r'Version;8\.00\.2039;tcp;%d;;$' % self.port)

    def test_all_instances_request_as_pytds_parses_it(self):
        reply = self.ask(b'\x03')
        record = reply[3:].decode('ascii').split(';;')[0].split(';')
        fields = dict(zip(record[0::2], record[1::2]))
        self.assertEqual((fields['InstanceName'].upper(), int(fields['tcp'])),
                         ('EMBERLINE2', self.port))

    def test_silent_for_other_instances_and_when_stopped(self):
        self.assertIsNone(self.ask(b'\x04SQLEXPRESS\x00'))
        self.control(cmd='stop')
        self.assertIsNone(self.ask(b'\x04emberline2\x00'))
        self.control(cmd='start')
        self.assertEqual(freetds_port(self.ask(b'\x04emberline2\x00'), 'EMBERLINE2'), self.port)


if __name__ == '__main__':
    unittest.main()
