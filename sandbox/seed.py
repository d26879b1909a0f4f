"""Write the sample databases, with kind codes taken from the program's correction table."""
import os
import re
import sqlite3

EXPECTED_ENTRIES = 791
DEFAULT_CORRECTIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..',
                                   'corrections', 'KindCodeCorrections.tsv')
_ENTRY = re.compile(r'^([A-Z0-9]+)\t([01])\t([01])$')
LOCAL_CODES = ['ZZ%02d' % i for i in range(1, 31)]

SCHEMA_DEFAULTS = ('CREATE TABLE Defaults (ID NVARCHAR(50) PRIMARY KEY COLLATE NOCASE, '
                   'Value NVARCHAR(255) COLLATE NOCASE)')
SCHEMA_L_KIND = ('CREATE TABLE L_Kind (KindCode NVARCHAR(4) PRIMARY KEY COLLATE NOCASE, '
                 'Description NVARCHAR(50) COLLATE NOCASE, Direct BIT NOT NULL DEFAULT 0, '
                 'LineOverhead BIT NOT NULL DEFAULT 0, Active BIT NOT NULL DEFAULT 1, '
                 'SortOrder INT, GLAccount NVARCHAR(20) COLLATE NOCASE)')
SCHEMA_DEPARTMENT = ('CREATE TABLE L_Department (DeptCode NVARCHAR(10) PRIMARY KEY COLLATE NOCASE, '
                     'Description NVARCHAR(50) COLLATE NOCASE, Active BIT NOT NULL DEFAULT 1)')
SCHEMA_SUPPORT = ('CREATE TABLE SupportLog (LogID INTEGER PRIMARY KEY, Logged DATETIME, '
                  'Author NVARCHAR(50) COLLATE NOCASE, Topic NVARCHAR(100) COLLATE NOCASE, '
                  'Note NVARCHAR(4000) COLLATE NOCASE)')


class SeedError(Exception):
    pass


def read_corrections(path):
    """[(code, direct, line_overhead)] from the table's lines; exactly 791 entries or SeedError."""
    try:
        with open(path, encoding='utf-8') as source:
            lines = source.read().splitlines()
    except OSError as error:
        raise SeedError('cannot read correction table %s: %s' % (path, error)) from error
    matches = list(map(_ENTRY.match, lines))
    if None in matches or len(matches) != EXPECTED_ENTRIES:
        raise SeedError('%s: found %d kind code entries, expected %d (and no other lines)'
                        % (path, len(matches) - matches.count(None), EXPECTED_ENTRIES))
    return [(m.group(1), int(m.group(2)), int(m.group(3))) for m in matches]


def _defaults(version, update_from=None, with_version=True):
    rows = [('CompanyName', 'Harbourside Engineering Ltd'),
            ('CompanyCode', 'HSE'),
            ('Currency', 'GBP'),
            ('FinancialYearStart', '04-01'),
            ('DefaultVATRate', '20'),
            ('LastBackup', None),
            ('LicenceSeats', '12')]
    if with_version:
        rows.insert(0, ('DBVersion', version))
    if update_from:
        rows.insert(1, ('DBUpdateFrom', update_from))
    return rows


def kind_rows(entries, corrected):
    """Table codes carry flipped flags unless `corrected`; local ZZ codes are left alone."""
    rows = []
    for order, (code, direct, overhead) in enumerate(entries, 1):
        if not corrected:
            direct, overhead = 1 - direct, 1 - overhead
        rows.append((code, 'Kind %s' % code, direct, overhead, 1, order * 10,
                     '5%03d' % (order % 1000)))
    for index, code in enumerate(LOCAL_CODES):
        rows.append((code, 'Local kind %s' % code, index % 2, index // 2 % 2, int(index % 5 != 4),
                     10000 + index, None))
    return rows


def _write(directory, name, build):
    final = os.path.join(directory, name + '.sqlite')
    temporary = os.path.join(directory, '.%s.seeding' % name)
    if os.path.exists(temporary):
        os.unlink(temporary)
    conn = sqlite3.connect(temporary)
    try:
        with conn:
            build(conn)
    finally:
        conn.close()
    os.replace(temporary, final)


def _emberline(entries, version, update_from=None, corrected=False, defaults=True,
               with_version=True):
    def build(conn):
        if defaults:
            conn.execute(SCHEMA_DEFAULTS)
            conn.executemany('INSERT INTO Defaults VALUES (?, ?)',
                             _defaults(version, update_from, with_version))
        conn.execute(SCHEMA_L_KIND)
        conn.executemany('INSERT INTO L_Kind VALUES (?, ?, ?, ?, ?, ?, ?)',
                         kind_rows(entries, corrected))
        conn.execute(SCHEMA_DEPARTMENT)
        conn.executemany('INSERT INTO L_Department VALUES (?, ?, ?)',
                         [('ENG', 'Engineering', 1), ('FAB', 'Fabrication', 1),
                          ('ADM', 'Administration', 1), ('OLD', 'Closed department', 0)])
    return build


def _support(conn):
    conn.execute(SCHEMA_SUPPORT)
    conn.executemany('INSERT INTO SupportLog (Logged, Author, Topic, Note) VALUES (?, ?, ?, ?)', [
        ('2023-02-14 09:12:00', 'support', 'Licence', 'Seat count raised to 12.'),
        ('2023-06-02 16:40:00', 'support', 'Upgrade', 'Moved to 14.01.02.'),
        ('2024-01-09 11:05:00', 'support', 'Backup', None),
    ])


def seed(directory, corrections=DEFAULT_CORRECTIONS):
    """Create or overwrite the sample databases in `directory`; returns their names."""
    entries = read_corrections(corrections)
    os.makedirs(directory, exist_ok=True)
    databases = {
        'Emberline': _emberline(entries, '14.01.03', update_from='14.01.02'),
        'Emberline Training': _emberline(entries, '14.01.03'),
        'EmberlineArchive': _emberline(entries, '14.01.04', corrected=True),
        'Reports': _emberline(entries, None, defaults=False),
        'Staging': _emberline(entries, None, with_version=False),
        'EmberlineSupport': _support,
    }
    for name, build in databases.items():
        _write(directory, name, build)
    return list(databases)
