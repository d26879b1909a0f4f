"""Reading a database file as the tests check it: one Defaults value, L_Kind against a golden
table. Files are opened read-only, so a wrong path never leaves an empty database behind."""
import sqlite3
import urllib.parse


def _open(path):
    return sqlite3.connect('file:%s?mode=ro' % urllib.parse.quote(path), uri=True)


def default_value(path, key):
    """The Defaults value of ID `key` as text: 'NULL' for NULL, '(no row)' without that row."""
    with _open(path) as db:
        row = db.execute('SELECT Value FROM Defaults WHERE ID = ?', (key,)).fetchone()
    return '(no row)' if row is None else 'NULL' if row[0] is None else row[0]


def kind_differences(path, golden):
    """Lines 'unexpected ROW' / 'missing ROW' where L_Kind differs from the golden TSV (a
    header line, then every column of every row, NULL as 'NULL'); none when it matches."""
    with _open(path) as db:
        rows = db.execute('SELECT KindCode, Description, Direct, LineOverhead, Active, '
                          'SortOrder, GLAccount FROM L_Kind').fetchall()
    actual = {'\t'.join('NULL' if v is None else str(v) for v in row) for row in rows}
    with open(golden, encoding='utf-8') as table:
        expected = set(table.read().splitlines()[1:])
    return [('unexpected ' if line in actual else 'missing ') + line
            for line in sorted(actual ^ expected)]
