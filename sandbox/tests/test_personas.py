"""What each persona calls itself and how it words a refused login or a failed statement."""
import os
import unittest

from support import SandboxCase, pytds

DENIED_2000 = "Login failed for user 'DBOPS'."
OFFLINE = "Database 'Reports' cannot be opened because it is offline."
RESTRICTED = ("Database 'Reports' is in restricted mode. Only the database owner and members of "
              "the dbcreator and sysadmin roles can access it.")
ASKED_2000 = "Cannot open database requested in login 'Reports'. Login fails."
ASKED_2019 = 'Cannot open database "Reports" requested by the login. The login failed.'
DEFAULT = 'Cannot open user default database. Login failed.'

# persona, marker on Reports, database the login names (None: the default, Reports),
# the messages the client gets, in order.
REFUSED_LOGINS = [
    ('2000', 'offline', 'Reports', [OFFLINE, ASKED_2000, DENIED_2000]),
    ('2000', 'restricted', None, [RESTRICTED, DEFAULT, DENIED_2000]),
    ('2000', 'no-access', None, [DEFAULT, DENIED_2000]),
    # 2005 and later keep the cause in the error log.
    ('2019', 'offline', 'Reports', [ASKED_2019, DENIED_2000]),
    ('2019', 'restricted', 'Reports', [ASKED_2019, DENIED_2000]),
    ('2019', 'offline', None, [DEFAULT, DENIED_2000]),
]

# persona, refuse_logins, the messages
REFUSALS = [
    ('2019', 18401, ["Login failed for user 'DBOPS'. Reason: Server is in script upgrade mode. "
                     "Only administrator can connect at this time."]),
    ('2019', 18461, ["Login failed for user 'DBOPS'. Reason: Server is in single user mode. Only "
                     "one administrator can connect at this time."]),
    ('2000', 4064, [DEFAULT, DENIED_2000]),
]

# persona, statement in Emberline, number, state, text
STATEMENT_ERRORS = [
    ('2000', 'use Nowhere', 911, 1, "Could not locate entry in sysdatabases for database "
     "'Nowhere'. No entry found with that name. Make sure that the name is entered correctly."),
    ('2019', 'use Nowhere', 911, 1,
     "Database 'Nowhere' does not exist. Make sure that the name is entered correctly."),
    ('2000', 'use Staging', 916, 1,
     "Server user 'DBOPS' is not a valid user in database 'Staging'."),
    ('2019', 'use Staging', 916, 1, 'The server principal "DBOPS" is not able to access the '
     'database "Staging" under the current security context.'),
    ('2019', 'use Reports', 923, 1, RESTRICTED),
]

# persona, TDS level a 7.4 client gets, SERVERPROPERTY('ProductVersion'), @@VERSION begins
IDENTITIES = [
    ('2000', pytds.tds_base.TDS71rev1, '8.00.2039', 'Microsoft SQL Server  2000 - 8.00.2039 '),
    ('2019', pytds.tds_base.TDS74, '15.0.2000.5',
     'Microsoft SQL Server 2019 (RTM) - 15.0.2000.5 (X64) '),
]


class PersonaTest(SandboxCase):
    def refused(self, database):
        with self.assertRaises(pytds.OperationalError) as caught:
            self.pytds(database)
        return str(caught.exception)

    def test_refused_logins_tell_what_their_server_tells(self):
        for persona, marker, database, texts in REFUSED_LOGINS:
            with self.subTest(persona=persona, marker=marker, database=database):
                self.settings(persona=persona, default_database='Reports')
                path = os.path.join(self.data, 'Reports.' + marker)
                open(path, 'w').close()
                self.assertEqual(self.refused(database), ' '.join(texts))
                os.unlink(path)

    def test_default_database_opens_for_a_login_that_names_none(self):
        self.settings(persona='2019', default_database='emberline training')
        self.assertEqual(self.query('select db_name()', database=None), [('Emberline Training',)])
        self.assertEqual(self.last_login()['database'], 'emberline training')

    def test_refuse_logins_with_a_number(self):
        for persona, refusal, texts in REFUSALS:
            with self.subTest(persona=persona, refusal=refusal):
                self.settings(persona=persona)
                self.control(cmd='faults', faults={'refuse_logins': refusal})
                self.assertEqual(self.refused('Emberline'), ' '.join(texts))
        self.assertFalse(self.control(cmd='faults', faults={'refuse_logins': 'x'})['ok'])

    def test_statement_errors_in_each_persona(self):
        open(os.path.join(self.data, 'Staging.no-access'), 'w').close()
        open(os.path.join(self.data, 'Reports.restricted'), 'w').close()
        for persona, sql, number, state, text in STATEMENT_ERRORS:
            with self.subTest(persona=persona, sql=sql):
                self.settings(persona=persona)
                with self.assertRaises(pytds.Error) as caught:
                    self.query(sql)
                error = caught.exception
                self.assertEqual((error.msg_no, error.state, str(error)), (number, state, text))

    def test_version_in_prelogin_loginack_and_queries(self):
        for persona, tds, version, banner in IDENTITIES:
            with self.subTest(persona=persona):
                self.settings(persona=persona)
                conn = self.pytds()
                self.assertEqual(conn.tds_version, tds)
                major, minor, build = (int(part) for part in version.split('.')[:3])
                self.assertEqual(conn.product_version, major << 24 | minor << 16 | build)
                with conn.cursor() as cursor:
                    cursor.execute("select SERVERPROPERTY('ProductVersion'), @@VERSION")
                    (product, text), = cursor.fetchall()
                self.assertEqual(product, version)
                self.assertTrue(text.startswith(banner), text)


if __name__ == '__main__':
    unittest.main()
