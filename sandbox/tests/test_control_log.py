"""Control socket commands, the batch log, and the process life cycle."""
import os
import signal
import socket
import sqlite3

from support import PASSWORD, SandboxCase


class ControlTest(SandboxCase):
    def test_ping_status_and_errors(self):
        self.assertEqual(self.control(cmd='ping'), {'ok': True})
        self.pytds()
        status = self.control(cmd='status')
        self.assertEqual((status['ok'], status['running'], status['port'], status['connections']),
                         (True, True, self.port, 1))
        self.assertFalse(self.control(cmd='explode')['ok'])
        with socket.socket(socket.AF_UNIX) as s:
            s.connect(self.control_path)
            s.sendall(b'not json\n{"cmd": "ping"}\n')
            with s.makefile('rb') as stream:
                lines = stream.readline(), stream.readline()
        self.assertIn(b'"ok": false', lines[0])
        self.assertEqual(lines[1], b'{"ok": true}\n')

    def test_data_switch_keeps_system_databases(self):
        other = os.path.join(self.tmp, 'other')
        os.mkdir(other)
        with sqlite3.connect(os.path.join(other, 'Fresh.sqlite')) as db:
            db.execute('create table T (x int)')
        self.assertEqual(self.control(cmd='data', dir=other), {'ok': True})
        self.assertEqual([r[0] for r in self.query('select name from sysdatabases', 'master')],
                         ['master', 'tempdb', 'model', 'msdb', 'Fresh'])
        self.assertEqual(self.query('select count(*) from T', 'fresh'), [(0,)])
        self.assertFalse(self.control(cmd='data', dir=os.path.join(self.tmp, 'none'))['ok'])

    def test_sigterm_exits_cleanly_and_removes_socket(self):
        self.proc.send_signal(signal.SIGTERM)
        self.assertEqual(self.proc.wait(10), 0)
        self.assertFalse(os.path.exists(self.control_path))


class LogTest(SandboxCase):
    def test_one_line_per_batch_with_escapes_and_no_password(self):
        conn = self.pytds()
        with conn.cursor() as cursor:
            cursor.execute("select 'a\tb',\n'c\\d'\r\n")
            cursor.execute('use [Emberline Training]')
            cursor.execute("select 1 -- ünïcode")
        self.odbc('Reports').execute('select 2')
        self.assertEqual(self.log_lines(), [
            "Emberline\tselect 'a\\tb',\\n'c\\\\d'\\r\\n",
            'Emberline\tuse [Emberline Training]',
            'Emberline Training\tselect 1 -- ünïcode',
            'Reports\tselect 2'])
        self.stop_sandbox()
        with open(self.log, encoding='utf-8') as log:
            self.assertNotIn(PASSWORD, log.read())
