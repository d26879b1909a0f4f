"""Logins, queries and errors as FreeTDS (ODBC, tsql) and pytds report them."""
import os
import sqlite3
import unittest

from support import SandboxCase, pytds

CATALOG_QUERY = ('SELECT name, CASE WHEN dbid <= 4 OR (category & 16) = 16 THEN 1 ELSE 0 END '
                 'AS IsSystem FROM master.dbo.sysdatabases ORDER BY name')
LONG_TEXT = 'x' * 4100 + '\u00e9nd'


class LoginTest(SandboxCase):
    def test_odbc_login_asking_74_and_71(self):
        for version in ('7.4', '7.1'):
            conn = self.odbc(tds_version=version)
            self.assertTrue(conn.ok, conn.diags)
            rc, _, rows, _ = conn.execute("Select Value from Defaults where ID = 'DBVersion'")
            self.assertEqual(rows, [('14.01.03',)])

    def test_pytds_login_lands_in_requested_database_without_use(self):
        conn = self.pytds('Emberline Training')
        with conn.cursor() as cursor:
            cursor.execute('select db_name()')
            self.assertEqual(cursor.fetchall(), [('Emberline Training',)])
        self.assertNotIn('use', ' '.join(self.log_lines()).lower())

    def test_no_database_means_master(self):
        self.assertEqual(self.query('select db_name()', database=None), [('master',)])

    def test_wrong_password_is_18456(self):
        conn = self.odbc(password='wrong')
        self.assertFalse(conn.ok)
        self.assertIn(('42000', 18456, "Login failed for user 'DBOPS'."), conn.diags)
        with self.assertRaises(pytds.OperationalError) as caught:
            self.pytds(user='sa')
        self.assertEqual(caught.exception.msg_no, 18456)
        self.assertIn("Login failed for user 'sa'.", str(caught.exception))

    def test_unknown_database_is_4060_then_18456(self):
        conn = self.odbc('NoSuchDb')
        natives = {d.native: d for d in conn.diags}
        self.assertEqual(natives[4060].text,
                         "Cannot open database requested in login 'NoSuchDb'. Login fails.")
        self.assertIn(18456, natives)
        with self.assertRaises(pytds.OperationalError) as caught:
            self.pytds('../Emberline')
        self.assertIn("Cannot open database requested in login '../Emberline'",
                      str(caught.exception))

    def test_single_user_database_admits_one_connection(self):
        open(os.path.join(self.data, 'Emberline.single-user'), 'w').close()
        first = self.pytds()
        second = self.odbc()
        self.assertEqual([d.native for d in second.diags if d.native][:1], [924])
        self.assertIn(("42000", 924, "Database 'Emberline' is already open and can only have "
                       "one user at a time."), second.diags)
        self.assertEqual({4060, 18456} & {d.native for d in second.diags}, {4060, 18456})
        with self.assertRaises(pytds.OperationalError) as caught:
            self.pytds()
        self.assertIn('only have one user at a time', str(caught.exception))
        first.close()
        self.wait_for_connections(0)
        self.assertTrue(self.odbc().ok)

    def test_offline_and_no_access_databases_refuse_the_login_and_use(self):
        open(os.path.join(self.data, 'Reports.offline'), 'w').close()
        open(os.path.join(self.data, 'Staging.no-access'), 'w').close()
        offline = self.odbc('reports')
        self.assertIn(('42000', 942, "Database 'Reports' cannot be opened because it is "
                       "offline."), offline.diags)
        self.assertEqual({d.native for d in offline.diags} & {4060, 18456}, {4060, 18456})
        # SQL Server 2000 tells a login without a user in the database no more than 4060.
        denied = self.odbc('Staging')
        self.assertEqual({d.native for d in denied.diags if d.native}, {4060, 18456})
        conn = self.odbc()
        self.assertEqual([d.native for d in conn.execute('use Reports')[1]], [942])
        rc, diags, _, _ = conn.execute('use [Staging]')
        self.assertEqual((rc, [d[1:] for d in diags]), (-1, [(
            916, "Server user 'DBOPS' is not a valid user in database 'Staging'.")]))
        self.assertEqual(conn.execute('select db_name()')[2], [('Emberline',)])

    def test_tsql_reports_login_failure(self):
        out, err = self.tsql('select 1\ngo\n', password='nope')
        self.assertIn("Login failed for user 'DBOPS'", out + err)


class QueryTest(SandboxCase):
    def setUp(self):
        super().setUp()
        with sqlite3.connect(os.path.join(self.data, 'Emberline.sqlite')) as db:
            db.execute('CREATE TABLE Notes (ID INTEGER, Body NVARCHAR(4000), Score FLOAT)')
            db.executemany('INSERT INTO Notes VALUES (?, ?, ?)',
                           [(1, LONG_TEXT, 2.5), (2, None, None), (3, '', 5e9)])

    def test_nulls_long_text_and_numbers_via_pytds(self):
        for version in (pytds.tds_base.TDS74, pytds.tds_base.TDS71):
            rows = self.pytds(tds_version=version).cursor()
            rows.execute('select ID, Body, Score, 12345678901 from Notes order by ID')
            self.assertEqual(rows.fetchall(), [(1, LONG_TEXT, 2.5, 12345678901),
                                               (2, None, None, 12345678901),
                                               (3, '', 5e9, 12345678901)])

    def test_nulls_and_long_text_via_odbc(self):
        _, _, rows, _ = self.odbc().execute('select ID, Body from Notes order by ID')
        self.assertEqual(rows, [('1', LONG_TEXT), ('2', None), ('3', '')])

    def test_update_count(self):
        sql = "UPDATE L_Kind SET Direct = 1, LineOverhead = 0 WHERE KindCode = 'AT'"
        rc, _, _, count = self.odbc().execute(sql)
        self.assertEqual((rc, count), (0, 1))
        with self.pytds().cursor() as cursor:
            cursor.execute("UPDATE L_Kind SET Active = 0 WHERE KindCode LIKE 'ZZ%'")
            self.assertEqual(cursor.rowcount, 30)
        self.assertEqual(self.query("select Direct, LineOverhead from L_Kind where KindCode='at'"),
                         [(1, 0)])

    def test_invalid_object_column_and_syntax(self):
        conn = self.odbc()
        cases = [('select * from Missing', '42S02', 208, "Invalid object name 'Missing'."),
                 ('select Nope from Defaults', '42S22', 207, "Invalid column name 'Nope'."),
                 ('selec 1', '42000', 102, "Incorrect syntax near 'selec'.")]
        for sql, state, number, text in cases:
            rc, diags, _, _ = conn.execute(sql)
            self.assertEqual((rc, diags), (-1, [(state, number, text)]))
            with self.assertRaises(pytds.ProgrammingError) as caught:
                self.query(sql)
            self.assertEqual((caught.exception.msg_no, str(caught.exception)), (number, text))
        self.assertEqual(conn.execute('select 1')[2], [('1',)])

    def test_bound_parameters_and_prepared_statements(self):
        for version in ('7.4', '7.1'):
            conn = self.odbc(tds_version=version)
            sql = 'UPDATE L_Kind SET Direct = ?, LineOverhead = ? WHERE KindCode = ?'
            self.assertEqual(conn.execute(sql, params=[1, 0, 'AT']), (0, [], [], 1))
            rc, diags, rows, _ = conn.execute('select Body from Notes where ID = ?', params=[1])
            self.assertEqual((rc, rows), (0, [(LONG_TEXT,)]))
            self.assertEqual(conn.execute_prepared('update Notes set ID = ? where Score = 2.5',
                                                   [10, 1]), [(0, 1), (0, 1)])
            rc, diags, _, _ = conn.execute('select * from Missing where ID = ?', params=[1])
            self.assertEqual((rc, [(d.state, d.native) for d in diags]), (-1, [('42S02', 208)]))
        with self.pytds().cursor() as cursor:
            cursor.execute('select %s, %s, %s from Notes where Body = %s',
                           (7, None, 2.5, LONG_TEXT))
            self.assertEqual(cursor.fetchall(), [(7, None, 2.5)])
            cursor.execute('update Notes set Score = %s where ID > %s', (1.0, 1))
            self.assertEqual(cursor.rowcount, 2)
        self.assertIn('Emberline\tupdate Notes set Score = @P1 where ID > @P2', self.log_lines())

    def test_catalog_query(self):
        expected = [('Emberline', 0), ('Emberline Training', 0), ('EmberlineArchive', 0),
                    ('EmberlineSupport', 0), ('master', 1), ('model', 1), ('msdb', 1),
                    ('Reports', 0), ('Staging', 0), ('tempdb', 1)]
        open(os.path.join(self.data, 'Staging.distribution'), 'w').close()
        expected[8] = ('Staging', 1)
        self.assertEqual(self.query(CATALOG_QUERY), expected)
        _, _, rows, _ = self.odbc().execute(CATALOG_QUERY)
        self.assertEqual(rows, [(n, str(s)) for n, s in expected])
        self.assertEqual(self.query('select name, database_id from sys.databases where '
                                    'database_id in (1, 5)'), [('master', 1), ('Emberline', 5)])

    def test_catalog_functions_tell_access_and_state_without_opening(self):
        for name, marker in (('Reports', 'offline'), ('Staging', 'no-access'),
                             ('Emberline', 'single-user'), ('EmberlineArchive', 'single-user')):
            open(os.path.join(self.data, name + '.' + marker), 'w').close()
        holder = self.pytds('Emberline')
        query = ("SELECT name, HAS_DBACCESS(name), "
                 "CAST(DATABASEPROPERTYEX(name, 'Status') AS nvarchar(128)), "
                 "CAST(DATABASEPROPERTYEX(name, 'UserAccess') AS nvarchar(128)), status & 512 "
                 "FROM master.dbo.sysdatabases WHERE dbid > 4 ORDER BY name")
        self.assertEqual(self.query(query, database=None), [
            ('Emberline', 0, 'ONLINE', 'SINGLE_USER', 0),    # held by another connection
            ('Emberline Training', 1, 'ONLINE', 'MULTI_USER', 0),
            ('EmberlineArchive', 1, 'ONLINE', 'SINGLE_USER', 0),
            ('EmberlineSupport', 1, 'ONLINE', 'MULTI_USER', 0),
            ('Reports', 0, 'OFFLINE', 'MULTI_USER', 512),
            ('Staging', 0, 'ONLINE', 'MULTI_USER', 0)])
        with holder.cursor() as cursor:
            cursor.execute("select HAS_DBACCESS('emberline'), HAS_DBACCESS('Nowhere'), "
                           "DATABASEPROPERTYEX('Emberline', 'Collation')")
            self.assertEqual(cursor.fetchall(), [(1, None, None)])

    def test_catalog_sees_new_files_and_odd_names(self):
        names = ['Grüße Ärger', "O'Brien; x=1, {a} [b]", 'a' * 128]
        for name in names + ['b' * 129]:
            sqlite3.connect(os.path.join(self.data, name + '.sqlite')).close()
        listed = [r[0] for r in self.query('select name from master..sysdatabases')]
        self.assertEqual([n for n in names if n in listed], names)
        self.assertNotIn('b' * 129, listed)
        for name in names:
            self.assertEqual(self.query('select db_name()', database=name.upper()), [(name,)])
            conn = self.odbc(name)
            self.assertTrue(conn.ok, conn.diags)
            self.assertEqual(conn.execute('select db_name()')[2], [(name,)])

    def test_use_switches_database_with_info_5701(self):
        conn = self.odbc()
        rc, diags, _, _ = conn.execute('use [Emberline Training]')
        self.assertEqual((rc, diags), (1, [('01000', 5701, "Changed database context to "
                                                             "'Emberline Training'.")]))
        self.assertEqual(conn.execute('select db_name()')[2], [('Emberline Training',)])
        rc, diags, _, _ = conn.execute('use Nowhere')
        self.assertEqual((rc, [d.native for d in diags]), (-1, [911]))

    def test_pytds_transactions_commit_and_roll_back(self):
        for version in (pytds.tds_base.TDS74, pytds.tds_base.TDS71):
            conn = self.pytds(autocommit=False, tds_version=version)
            with conn.cursor() as cursor:
                cursor.execute("update Defaults set Value = 'rolled' where ID = 'Currency'")
                conn.rollback()
                cursor.execute("update Defaults set Value = 'kept' where ID = 'CompanyCode'")
                conn.commit()
            self.assertEqual(self.query("select Value from Defaults where ID in "
                                        "('Currency', 'CompanyCode') order by ID"),
                             [('kept',), ('GBP',)])

    def test_tsql_select(self):
        out, _ = self.tsql("Select Value from Defaults where ID = 'DBVersion'\ngo\n")
        self.assertIn('14.01.03', out)


class ServerVersionTest(SandboxCase):
    extra_args = ('--tds-version', '7.4')

    def test_both_clients_at_74(self):
        self.assertEqual(self.query('select count(*) from L_Kind'), [(821,)])
        self.assertEqual(self.odbc().execute('select count(*) from L_Kind')[2], [('821',)])
        self.assertEqual(self.query('select count(*) from L_Kind', database='reports'), [(821,)])

    def test_transaction_manager_requests(self):
        conn = self.pytds(autocommit=False)
        with conn.cursor() as cursor:
            cursor.execute("update Defaults set Value = 'EUR' where ID = 'Currency'")
            conn.rollback()
            cursor.execute("select Value from Defaults where ID = 'Currency'")
            self.assertEqual(cursor.fetchall(), [('GBP',)])
            cursor.execute("update Defaults set Value = 'USD' where ID = 'Currency'")
            conn.commit()
        self.assertEqual(self.query("select Value from Defaults where ID = 'Currency'"),
                         [('USD',)])
        self.assertNotIn('BEGIN', '\n'.join(self.log_lines()).upper())


if __name__ == '__main__':
    unittest.main()
