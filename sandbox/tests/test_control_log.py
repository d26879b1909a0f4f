"""Control socket commands, the batch log, and the process life cycle."""
import os
import socket
import sqlite3

from support import PASSWORD, SandboxCase, run_tool


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
        self.assertTrue(self.stop_sandbox(), 'it had to be killed')
        self.assertFalse(os.path.exists(self.control_path))


class CommandLineTest(SandboxCase):
    """The verbs the scripts and C++ tests use instead of their own clients."""

    def test_control_prints_one_field_and_fails_unless_ok(self):
        def ask(*args):
            done = run_tool('control', self.control_path, *args)
            return done.returncode, done.stdout
        self.assertEqual(ask('{"cmd": "status"}', 'data'), (0, self.data + '\n'))
        self.assertEqual(ask('{"cmd": "ping"}', 'port'), (1, ''))
        self.assertEqual([ask(bad)[0] for bad in ('{"cmd": "explode"}', 'not json')], [1, 1])

    def test_default_and_check_kinds_read_database_files(self):
        def file(name):
            return os.path.join(self.data, name + '.sqlite')
        self.assertEqual(run_tool('default', file('Emberline'), 'dbupdatefrom').stdout,
                         '14.01.02\n')
        self.assertEqual(run_tool('default', file('Staging'), 'DBVersion').stdout, '(no row)\n')
        self.assertEqual(run_tool('default', file('Nothing'), 'DBVersion').returncode, 1)
        self.assertFalse(os.path.exists(file('Nothing')), 'a missing file was created')
        self.assertEqual(run_tool('check-kinds', file('EmberlineArchive')).returncode, 0)
        differs = run_tool('check-kinds', file('Emberline'))
        self.assertEqual((differs.returncode, len(differs.stdout.splitlines())), (1, 2 * 791 + 1))
        self.assertIn('unexpected AT\tKind AT\t0\t1\t1\t10\t5001\n', differs.stdout)
        self.assertIn('missing AT\tKind AT\t1\t0\t1\t10\t5001\n', differs.stdout)
        self.assertRegex(differs.stdout, r'\nL_Kind has the digest [0-9a-f]{64}, not 7b98c36f')

    def test_background_start_fails_when_it_cannot_listen(self):
        ready = os.path.join(self.tmp, 'second.ready')
        done = run_tool('serve', '--background', '--ready-file', ready, '--data', self.data,
                        '--port', str(self.port), '--browser-port', '0')
        self.assertEqual((done.returncode, os.path.exists(ready)), (1, False))
        self.assertIn('cannot listen', done.stderr)


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
