"""Reading a database file as the tests check it: one Defaults value, L_Kind as after an
update. Files are opened read-only, so a wrong path never leaves an empty database behind."""
import hashlib
import sqlite3
import urllib.parse

import seed

# L_Kind of the sample database Emberline after a complete update, every column of every row:
# the SHA-256 of its dump (see _dump). Written out, so that it follows no edit of the
# correction table or of the seed; those only point at the rows that differ.
KINDS_AFTER_UPDATE_SHA256 = '7b98c36f6f69e415bb4e363af63ab1e26e76a7e1553926d6690da8e9d6646dde'
KIND_COLUMNS = ('KindCode', 'Description', 'Direct', 'LineOverhead', 'Active', 'SortOrder',
                'GLAccount')


def _open(path):
    return sqlite3.connect('file:%s?mode=ro' % urllib.parse.quote(path), uri=True)


def default_value(path, key):
    """The Defaults value of ID `key` as text: 'NULL' for NULL, '(no row)' without that row."""
    with _open(path) as db:
        row = db.execute('SELECT Value FROM Defaults WHERE ID = ?', (key,)).fetchone()
    return '(no row)' if row is None else 'NULL' if row[0] is None else row[0]


def _dump(rows):
    """A header line, then one line per row in sorted order, tab-separated, NULL as 'NULL'."""
    lines = sorted('\t'.join('NULL' if v is None else str(v) for v in row) for row in rows)
    return ''.join(line + '\n' for line in ['\t'.join(KIND_COLUMNS)] + lines)


def kind_differences(path):
    """Nothing when L_Kind is as after an update. Otherwise its digest, after lines
    'unexpected ROW' / 'missing ROW' against the rows that the correction table (Direct,
    LineOverhead) and the seed (every other column) give."""
    with _open(path) as db:
        dump = _dump(db.execute('SELECT %s FROM L_Kind' % ', '.join(KIND_COLUMNS)).fetchall())
    digest = hashlib.sha256(dump.encode('utf-8')).hexdigest()
    if digest == KINDS_AFTER_UPDATE_SHA256:
        return []
    entries = seed.read_corrections(seed.DEFAULT_CORRECTIONS)
    actual = set(dump.splitlines()[1:])
    expected = set(_dump(seed.kind_rows(entries, corrected=True)).splitlines()[1:])
    return [('unexpected ' if line in actual else 'missing ') + line
            for line in sorted(actual ^ expected)] + [
        'L_Kind has the digest %s, not %s' % (digest, KINDS_AFTER_UPDATE_SHA256)]
