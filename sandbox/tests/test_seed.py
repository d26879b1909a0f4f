"""The sample databases follow the program's correction table."""
import os
import sqlite3
import tempfile
import unittest

from support import run_tool

import seed

NAMES = ['Emberline', 'Emberline Training', 'EmberlineArchive', 'Reports', 'Staging',
         'EmberlineSupport']


class SeedTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.dir = os.path.join(cls.tmp.name, 'data')
        os.makedirs(cls.dir)
        cls.bystander = os.path.join(cls.dir, 'Mine.sqlite')
        with open(cls.bystander, 'w') as f:
            f.write('keep')
        with open(os.path.join(cls.dir, 'Emberline.sqlite'), 'w') as f:
            f.write('stale')
        run_tool('seed', cls.dir).check_returncode()
        cls.corrections = seed.read_corrections(seed.DEFAULT_CORRECTIONS)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def rows(self, name, sql):
        with sqlite3.connect(os.path.join(self.dir, name + '.sqlite')) as db:
            return db.execute(sql).fetchall()

    def test_files_and_bystanders(self):
        self.assertEqual(sorted(os.listdir(self.dir)), sorted([n + '.sqlite' for n in NAMES]
                                                              + ['Mine.sqlite']))
        with open(self.bystander) as f:
            self.assertEqual(f.read(), 'keep')

    def test_table_codes_carry_wrong_flags_except_in_the_updated_archive(self):
        expected = {code: (direct, overhead) for code, direct, overhead in self.corrections}
        self.assertEqual(len(expected), 791)
        for name in ('Emberline', 'Emberline Training', 'Reports', 'Staging', 'EmberlineArchive'):
            found = dict((c, (d, o)) for c, d, o in self.rows(
                name, 'select KindCode, Direct, LineOverhead from L_Kind'))
            self.assertEqual(len(found), 821)
            self.assertEqual(sorted(set(found) - set(expected)), seed.LOCAL_CODES)
            wrong = [c for c in expected if found[c] != expected[c]]
            self.assertEqual(len(wrong), 0 if name == 'EmberlineArchive' else 791, name)

    def test_versions_and_missing_pieces(self):
        version = "select Value from Defaults where ID = 'DBVersion'"
        self.assertEqual(self.rows('Emberline', version), [('14.01.03',)])
        self.assertEqual(self.rows('Emberline', "select Value from Defaults where ID = "
                                                "'dbupdatefrom'"), [('14.01.02',)])
        self.assertEqual(self.rows('Emberline Training', version), [('14.01.03',)])
        self.assertEqual(self.rows('EmberlineArchive', version), [('14.01.04',)])
        self.assertEqual(self.rows('Staging', version), [])
        tables = "select name from sqlite_master where type = 'table' order by name"
        self.assertNotIn(('Defaults',), self.rows('Reports', tables))
        self.assertEqual(self.rows('EmberlineSupport', tables), [('SupportLog',)])

    def test_wrong_entry_count_fails_loudly(self):
        with tempfile.NamedTemporaryFile('w', suffix='.tsv') as table:
            table.write('AT\t1\t0\nAA\t1\t0\n')
            table.flush()
            done = run_tool('seed', os.path.join(self.tmp.name, 'x'), '--corrections', table.name)
        self.assertNotEqual(done.returncode, 0)
        self.assertIn('found 2 kind code entries, expected 791', done.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.tmp.name, 'x')))


if __name__ == '__main__':
    unittest.main()
