"""--least-privilege and the read-only, auto-close and restricted markers."""
import os
import sqlite3
import time
import unittest

from support import SandboxCase, pytds  # first: it puts the sandbox on the path
from test_clients import CATALOG_QUERY

import permissions  # noqa: E402
import personas  # noqa: E402

# What the program sends, each in its database; all of them pass under least privilege.
PROGRAM = [
    ('Emberline', "Select Value from Defaults where ID = 'DBVersion'"),
    ('Emberline', 'SELECT KindCode, Direct, LineOverhead FROM L_Kind'),
    ('Emberline', "UPDATE L_Kind SET Direct = 1, LineOverhead = 0 WHERE KindCode = 'AT'"),
    ('Emberline', "UPDATE Defaults SET Value = '14.01.03' WHERE ID = 'DBUpdateFrom'"),
    ('master', CATALOG_QUERY.replace('FROM', ", HAS_DBACCESS(name), CAST(DATABASEPROPERTYEX(name, "
                                              "'UserAccess') AS nvarchar(128)), SERVERPROPERTY("
                                              "'Edition') FROM")),
]

OBJECT = "object 'L_Kind', database 'Emberline', schema 'dbo'."
# statement in Emberline, persona, number, text
REFUSED = [
    ('select Description from L_Kind', '2019', 230,
     "The SELECT permission was denied on the column 'Description' of the " + OBJECT),
    ("UPDATE L_Kind SET Active = 0 WHERE KindCode = 'AT'", '2019', 230,
     "The UPDATE permission was denied on the column 'Active' of the " + OBJECT),
    ("insert into L_Kind (KindCode) values ('X1')", '2019', 229,
     'The INSERT permission was denied on the ' + OBJECT),
    ("delete from Defaults where ID = 'x'", '2000', 229,
     "DELETE permission denied on object 'Defaults', database 'Emberline', owner 'dbo'."),
    ('select count(*) from L_Department', '2019', 229,
     "The SELECT permission was denied on the object 'L_Department', database 'Emberline', "
     "schema 'dbo'."),
    ('create table T (x int)', '2019', 262,
     "CREATE TABLE permission denied in database 'Emberline'."),
]


class RuleTest(unittest.TestCase):
    def test_an_update_reads_its_where_columns(self):
        """SQL Server's rule: UPDATE ... WHERE col = needs SELECT on col; without SELECT on
        the table at all, 229."""
        rights = {key: value for key, value in permissions.LEAST_PRIVILEGE.items()
                  if key != ('SELECT', 'L_Kind')}
        conn = sqlite3.connect(':memory:')
        conn.execute('create table L_Kind (KindCode text, Direct int, LineOverhead int)')
        guard = permissions.Guard('Emberline', personas.find('2019'), rights)
        conn.set_authorizer(guard)
        with self.assertRaises(sqlite3.DatabaseError):
            conn.execute("UPDATE L_Kind SET Direct = 1 WHERE KindCode = 'AT'")
        self.assertEqual((guard.refusal.number, guard.refusal.text),
                         (229, 'The SELECT permission was denied on the ' + OBJECT))


class LeastPrivilegeTest(SandboxCase):
    extra_args = ('--least-privilege',)

    def test_the_programs_statements_pass(self):
        for database, sql in PROGRAM:
            with self.subTest(sql=sql), self.pytds(database).cursor() as cursor:
                cursor.execute(sql)     # raises when refused

    def test_anything_else_is_refused_as_the_persona_words_it(self):
        for sql, persona, number, text in REFUSED:
            with self.subTest(sql=sql):
                self.settings(persona=persona, least_privilege=True)
                with self.assertRaises(pytds.OperationalError) as caught:
                    self.query(sql)
                self.assertEqual((caught.exception.msg_no, str(caught.exception)), (number, text))


class MarkerTest(SandboxCase):
    def mark(self, name, marker):
        open(os.path.join(self.data, '%s.%s' % (name, marker)), 'w').close()

    def test_read_only_database_refuses_writes_only(self):
        self.mark('Emberline', 'read-only')
        self.assertEqual(self.query("select CAST(DATABASEPROPERTYEX('Emberline', 'Updateability') "
                                    "AS nvarchar(128)), CAST(DATABASEPROPERTYEX('Reports', "
                                    "'Updateability') AS nvarchar(128)), count(*) from L_Kind"),
                         [('READ_ONLY', 'READ_WRITE', 821)])
        for persona, text in (('2000', "Could not run BEGIN TRANSACTION in database 'Emberline' "
                                       "because the database is read-only."),
                              ('2019', 'Failed to update database "Emberline" because the '
                                       'database is read-only.')):
            self.settings(persona=persona)
            with self.assertRaises(pytds.OperationalError) as caught:
                self.query("update L_Kind set Direct = 0 where KindCode = 'none'")
            self.assertEqual((caught.exception.msg_no, str(caught.exception)), (3906, text))

    def test_restricted_database_is_shut_to_the_login(self):
        self.mark('Reports', 'restricted')
        self.assertEqual(self.query("select HAS_DBACCESS('Reports'), CAST(DATABASEPROPERTYEX("
                                    "'Reports', 'UserAccess') AS nvarchar(128))"),
                         [(0, 'RESTRICTED_USER')])
        self.assertEqual([d.native for d in self.odbc().execute('use Reports')[1]], [923])

    def test_auto_close_database_takes_two_seconds_per_session_to_open(self):
        for name in ('Reports', 'Staging'):
            self.mark(name, 'auto-close')
        asks = ("select HAS_DBACCESS('Reports'), CAST(DATABASEPROPERTYEX('Staging', 'Status') "
                "AS nvarchar(128)), HAS_DBACCESS('Emberline')")
        conn = self.pytds()
        for rounds, least, most in ((1, 4.0, 5.5), (2, 0, 0.5)):   # the second: already open
            started = time.monotonic()
            with conn.cursor() as cursor:
                cursor.execute(asks)
                self.assertEqual(cursor.fetchall(), [(1, 'ONLINE', 1)])
            self.assertTrue(least <= time.monotonic() - started <= most, rounds)
        started = time.monotonic()
        self.assertEqual(self.query('select db_name()', 'reports'), [('Reports',)])
        self.assertGreaterEqual(time.monotonic() - started, 2.0)

    def test_cancel_during_the_auto_close_wait(self):
        self.mark('Reports', 'auto-close')
        conn = self.pytds(timeout=0.5)
        with conn.cursor() as cursor:
            started = time.monotonic()
            with self.assertRaises(TimeoutError):
                cursor.execute('use Reports')
            self.assertLess(time.monotonic() - started, 1.5)
            cursor.execute('select db_name()')
            self.assertEqual(cursor.fetchall(), [('Emberline',)])


if __name__ == '__main__':
    unittest.main()
