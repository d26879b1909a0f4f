"""The data folder: which databases exist, and the rows of the system catalog."""
import os

SYSTEM_DATABASES = ('master', 'tempdb', 'model', 'msdb')
SUFFIX = '.sqlite'
SINGLE_USER_MARKER = '.single-user'
DISTRIBUTION_MARKER = '.distribution'
OFFLINE_MARKER = '.offline'
NO_ACCESS_MARKER = '.no-access'
READ_ONLY_MARKER = '.read-only'
AUTO_CLOSE_MARKER = '.auto-close'
RESTRICTED_MARKER = '.restricted'

STATUS_DEFAULT = 16 | 8      # torn page detection, trunc. log on chkpt.
# sysdatabases status bits of the markers
STATUS_BITS = ((AUTO_CLOSE_MARKER, 1), (OFFLINE_MARKER, 512), (READ_ONLY_MARKER, 1024),
               (RESTRICTED_MARKER, 2048), (SINGLE_USER_MARKER, 4096))
CATEGORY_DISTRIBUTION = 16


def fold(name):
    """Names compare case-insensitively, like the default server collation."""
    return name.casefold()


def valid_name(name):
    return 0 < len(name) <= 128 and '/' not in name and '\0' not in name


class Database:
    def __init__(self, name, dbid, path):
        self.name = name
        self.dbid = dbid
        self.path = path      # None: a system database, kept in memory

    @property
    def is_system(self):
        return self.path is None


class DataFolder:
    """Looked up afresh on every call: a database is added by dropping a file in."""

    def __init__(self, path):
        self.path = os.path.abspath(path)

    def _user_names(self):
        try:
            entries = os.listdir(self.path)
        except OSError:
            return []
        system = {fold(n) for n in SYSTEM_DATABASES}
        names = [e[:-len(SUFFIX)] for e in entries if e.endswith(SUFFIX)]
        names = [n for n in names if valid_name(n) and fold(n) not in system
                 and os.path.isfile(os.path.join(self.path, n + SUFFIX))]
        return sorted(names, key=lambda n: (fold(n), n))

    def databases(self):
        found = [Database(n, i, None) for i, n in enumerate(SYSTEM_DATABASES, 1)]
        for dbid, name in enumerate(self._user_names(), len(SYSTEM_DATABASES) + 1):
            found.append(Database(name, dbid, os.path.join(self.path, name + SUFFIX)))
        return found

    def find(self, name):
        """The database called `name` (any letter case), or None."""
        if not valid_name(name):
            return None
        wanted = fold(name)
        for db in self.databases():
            if fold(db.name) == wanted:
                return db
        return None

    def _marker(self, db, suffix):
        return not db.is_system and os.path.exists(os.path.join(self.path, db.name + suffix))

    def is_single_user(self, db):
        return self._marker(db, SINGLE_USER_MARKER)

    def is_offline(self, db):
        return self._marker(db, OFFLINE_MARKER)

    def denies_login(self, db):
        """The one login has no user in this database."""
        return self._marker(db, NO_ACCESS_MARKER)

    def is_read_only(self, db):
        return self._marker(db, READ_ONLY_MARKER)

    def is_auto_close(self, db):
        return self._marker(db, AUTO_CLOSE_MARKER)

    def is_restricted(self, db):
        """RESTRICTED_USER: only db_owner, dbcreator and sysadmin, which the login is not."""
        return self._marker(db, RESTRICTED_MARKER)

    def catalog_rows(self):
        """One dict per database with the sysdatabases and sys.databases columns queried."""
        rows = []
        for db in self.databases():
            status = STATUS_DEFAULT
            for marker, bit in STATUS_BITS:
                status |= bit if self._marker(db, marker) else 0
            distribution = self._marker(db, DISTRIBUTION_MARKER)
            rows.append({'name': db.name, 'dbid': db.dbid, 'status': status,
                         'category': CATEGORY_DISTRIBUTION if distribution else 0})
        return rows


# Column lists of the temporary tables that stand in for the catalog views.
_TABLES = {
    'sysdatabases': ('ew_sysdatabases', (
        ('name', 'TEXT COLLATE NOCASE', 'name'), ('dbid', 'INTEGER', 'dbid'),
        ('status', 'INTEGER', 'status'), ('category', 'INTEGER', 'category'))),
    'sys.databases': ('ew_sys_databases', (
        ('name', 'TEXT COLLATE NOCASE', 'name'), ('database_id', 'INTEGER', 'dbid'))),
}


def install_tables(conn, rows, which):
    """(Re)build the temporary catalog tables named in `which` on an SQLite connection."""
    for view in which:
        table, columns = _TABLES[view]
        conn.execute('DROP TABLE IF EXISTS temp.%s' % table)
        conn.execute('CREATE TEMP TABLE %s (%s)' % (
            table, ', '.join('%s %s' % (name, decl) for name, decl, _ in columns)))
        conn.executemany('INSERT INTO temp.%s VALUES (%s)' % (table, ', '.join('?' * len(columns))),
                         [tuple(row[key] for _, _, key in columns) for row in rows])
