"""TLS for the login or the whole connection, as FreeTDS (tsql, ODBC) and pytds meet it."""
import os
import unittest

from support import PASSWORD, USER, SandboxCase, pytds
from test_protocol import TDS74, RawClient, login7, packet

VERSION_ROW = "Select Value from Defaults where ID = 'DBVersion'"


class EncryptionTest(SandboxCase):
    extra_args = ('--persona', '2019')

    def read_version(self, client):
        """The version row through one client: pytds with these options, tsql or odbc."""
        if client == 'tsql':
            out, err = self.tsql(VERSION_ROW + '\ngo\n')
            return '14.01.03' in out or out + err
        if client == 'odbc':
            conn = self.odbc()
            return conn.execute(VERSION_ROW)[2] == [('14.01.03',)] or conn.diags
        certificate = self.control(cmd='status')['certificate']
        options = {'cafile': certificate, 'validate_host': False} if 'cafile' in client else {}
        conn = self.pytds(enc_login_only='login only' in client, **options)
        with conn.cursor() as cursor:
            cursor.execute(VERSION_ROW)
            return cursor.fetchall() == [('14.01.03',)]

    def test_each_client_gets_the_encryption_the_table_gives(self):
        # encrypt, client, LOGIN7 inside TLS, whole connection inside TLS
        for encrypt, client, tls, whole in [
                ('login', 'tsql', True, False),
                ('login', 'odbc', True, False),
                ('login', 'pytds cafile login only', True, False),
                ('login', 'pytds cafile', True, True),       # it asks for ENCRYPT_ON
                ('login', 'pytds', False, False),            # it cannot encrypt
                ('all', 'tsql', True, True),
                ('all', 'odbc', True, True),
                ('all', 'pytds cafile login only', True, True),
                ('none', 'odbc', False, False)]:
            with self.subTest(encrypt=encrypt, client=client):
                self.settings(encrypt=encrypt)
                self.assertIs(self.read_version(client), True)
                self.assertEqual(self.last_login(), {'tls': tls, 'whole': whole,
                                                     'database': 'Emberline', 'ok': True})

    def test_force_encryption_refuses_a_client_that_cannot_encrypt(self):
        self.settings(encrypt='all')
        with self.assertRaisesRegex(pytds.Error, 'required by server'):
            self.pytds()
        client = RawClient(self.port)
        self.addCleanup(client.sock.close)
        self.assertEqual(client.request(0x12, b'\xff')[0x20], 0x03)      # ENCRYPT_REQ
        client.sock.sendall(packet(0x10, login7(USER, PASSWORD, 'Emberline', TDS74)))
        self.assertEqual(client.sock.recv(100), b'')                        # closed unanswered

    def test_certificate_made_at_start_private_and_removed_at_exit(self):
        path = self.control(cmd='status')['certificate']
        self.assertEqual(os.stat(path).st_mode & 0o077, 0)
        self.assertTrue(self.stop_sandbox())
        self.assertFalse(os.path.exists(path))


if __name__ == '__main__':
    unittest.main()
