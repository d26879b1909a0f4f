"""Each fault option, from the command line and through the control socket."""
import socket
import time
import unittest

from support import SandboxCase, pytds


class CommandLineFaultsTest(SandboxCase):
    extra_args = ('--fail', '2:1205:Defaults', '--refuse-logins')

    def test_refused_login_then_cleared(self):
        self.assertIn(18456, [d.native for d in self.odbc().diags])
        with self.assertRaises(pytds.OperationalError) as caught:
            self.pytds()
        self.assertEqual(caught.exception.msg_no, 18456)
        self.assertEqual(self.control(cmd='faults', faults={'fail': '2:1205:Defaults'}),
                         {'ok': True})
        conn = self.odbc()
        self.assertTrue(conn.ok)
        self.assertEqual(conn.execute('select 1')[2], [('1',)])    # does not match: not counted
        self.assertEqual(conn.execute('select count(*) from Defaults')[2], [('9',)])
        rc, diags, _, _ = conn.execute("update Defaults set Value = 'x' where ID = 'Currency'")
        self.assertEqual(rc, -1)
        self.assertEqual([(d.state, d.native) for d in diags], [('42000', 1205)])
        self.assertEqual(conn.execute("select Value from Defaults where ID = 'Currency'")[2],
                         [('GBP',)])
        self.assertEqual(self.control(cmd='status')['counters']['fail'],
                         {'trigger': '2:1205:Defaults', 'seen': 3})


class RuntimeFaultsTest(SandboxCase):
    def faults(self, **settings):
        self.assertEqual(self.control(cmd='faults', faults=settings), {'ok': True})

    def test_fail_unknown_number_via_pytds(self):
        self.faults(fail='1:4321:')
        with self.assertRaises(pytds.OperationalError) as caught:
            self.query('select 1')
        self.assertEqual((caught.exception.msg_no, caught.exception.severity), (4321, 16))

    def test_drop_fin_and_rst(self):
        self.faults(drop='1:DROP')
        conn = self.odbc()
        rc, diags, _, _ = conn.execute('select 1 as DROP_ME')
        self.assertEqual((rc, [(d.state, d.native) for d in diags]), (-1, [('01000', 20017)]))
        self.assertEqual([d.state for d in conn.execute('select 1')[1]], ['08S01'])
        self.faults(drop='1:DROP', drop_mode='rst')
        with self.assertRaises(ConnectionResetError):
            self.query('select 1 as DROP_ME')
        self.faults(drop='1:DROP')
        with self.assertRaises(pytds.ClosedConnectionError):
            self.query('select 1 as DROP_ME')
        self.wait_for_connections(0)

    def test_stop_and_start(self):
        conn = self.odbc()
        # ODBC, not pytds, which would retry the statement on a new connection.
        idle = self.odbc()
        self.faults(stop='2:')
        self.assertEqual(conn.execute('select 1')[2], [('1',)])
        rc, _, _, _ = conn.execute('select 2')
        self.assertEqual(rc, -1)
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection(('127.0.0.1', self.port), 2)
        self.assertEqual(idle.execute('select 1')[0], -1)
        status = self.control(cmd='status')
        self.assertEqual((status['running'], status['connections']), (False, 0))
        self.assertEqual(self.control(cmd='start'), {'ok': True})
        self.assertEqual(self.query('select 3'), [(3,)])
        self.assertEqual(self.control(cmd='stop'), {'ok': True})
        self.assertEqual(self.output(), 'ready %d\n' % self.port)
        self.assertEqual(self.control(cmd='start'), {'ok': True})
        self.assertEqual(self.query('select 4'), [(4,)])

    def test_delay_cancelled_by_attention_does_not_run(self):
        self.faults(delay=1.0)
        conn = self.pytds(timeout=0.3)
        with conn.cursor() as cursor:
            with self.assertRaises(TimeoutError):
                cursor.execute("update Defaults set Value = 'late' where ID = 'Currency'")
        self.faults()
        with conn.cursor() as cursor:
            cursor.execute("select Value from Defaults where ID = 'Currency'")
            self.assertEqual(cursor.fetchall(), [('GBP',)])

    def test_delay_with_odbc_query_timeout(self):
        self.faults(delay=1.5)
        conn = self.odbc()
        started = time.monotonic()
        rc, diags, _, _ = conn.execute("update Defaults set Value = 'late' where ID = 'Currency'",
                                       timeout=1)
        self.assertLess(time.monotonic() - started, 1.4)
        self.assertEqual((rc, sorted(d.state for d in diags)), (-1, ['HY008', 'HYT00']))
        self.faults()
        self.assertEqual(conn.execute("select Value from Defaults where ID = 'Currency'")[2],
                         [('GBP',)])

    def expect_login_timeout(self, within):
        """Both clients give up a login of 1 s time-out, ODBC within `within` seconds."""
        started = time.monotonic()
        conn = self.odbc(login_timeout=1)
        self.assertFalse(conn.ok)
        self.assertLess(time.monotonic() - started, within)
        self.assertIn('HYT00', [d.state for d in conn.diags])
        with self.assertRaises((TimeoutError, pytds.LoginError)):
            self.pytds(login_timeout=1)

    def test_login_delay(self):
        self.faults(login_delay=1.5)
        self.expect_login_timeout(1.4)
        self.faults(login_delay=0.2)
        self.assertTrue(self.odbc(login_timeout=1).ok)

    def test_silent_prelogin(self):
        self.faults(silent_prelogin=True)
        self.expect_login_timeout(3)
        self.faults()
        self.assertTrue(self.odbc().ok)

    def test_trickle_paces_one_phase_of_the_connections_it_caught(self):
        self.faults(trickle='login:0.005')
        started = time.monotonic()
        slow = self.pytds()         # the login reply, some 300 bytes, at 5 ms a byte
        self.assertGreater(time.monotonic() - started, 1.0)
        self.faults()
        started = time.monotonic()
        self.assertEqual(self.query('select 1'), [(1,)])
        self.assertLess(time.monotonic() - started, 0.5)
        started = time.monotonic()
        with slow.cursor() as cursor:   # only the login trickled
            cursor.execute('select 1')
            self.assertEqual(cursor.fetchall(), [(1,)])
        self.assertLess(time.monotonic() - started, 0.5)

    def test_stall_answers_a_first_statement_only_by_acknowledging_its_cancel(self):
        self.faults(stall=True)
        stalled = self.odbc()
        self.faults()
        self.assertEqual(self.query('select 1'), [(1,)])
        started = time.monotonic()
        rc, diags, _, _ = stalled.execute('select 1', timeout=1)
        self.assertEqual((rc, [d.state for d in diags][:1]), (-1, ['HYT00']))
        self.assertLess(time.monotonic() - started, 3)
        self.assertEqual(stalled.execute('select 1')[2], [('1',)])

    def test_bad_fault_settings_are_rejected(self):
        for settings in ({'fail': '0:208:x'}, {'drop': 'x'}, {'drop_mode': 'slow'},
                         {'trickle': 'later:1'}, {'trickle': 'login:0'}, {'nonsense': 1}):
            answer = self.control(cmd='faults', faults=settings)
            self.assertFalse(answer['ok'], settings)
            self.assertTrue(answer['error'])


if __name__ == '__main__':
    unittest.main()
