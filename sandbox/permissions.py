"""What a statement may touch: the rights of --least-privilege and a read-only database's
refusal, checked by SQLite's authorizer on the very tables and columns a statement reads and
writes."""
import sqlite3

from catalog import fold

# Everything DBOPS holds in each user database under --least-privilege, and nothing more:
# (permission, table) -> columns. In master it holds what every login holds: the catalog views
# and the metadata functions, which are not tables here.
LEAST_PRIVILEGE = {
    ('SELECT', 'Defaults'): ('ID', 'Value'),
    ('UPDATE', 'Defaults'): ('Value',),
    ('SELECT', 'L_Kind'): ('KindCode', 'Direct', 'LineOverhead'),
    ('UPDATE', 'L_Kind'): ('Direct', 'LineOverhead'),
}

SCHEMA = 'dbo'
# Actions that read nothing but what READ reports, or change nothing.
_HARMLESS = {sqlite3.SQLITE_SELECT, sqlite3.SQLITE_FUNCTION, sqlite3.SQLITE_TRANSACTION,
             sqlite3.SQLITE_SAVEPOINT, sqlite3.SQLITE_RECURSIVE}
_COLUMN_PERMISSIONS = {sqlite3.SQLITE_READ: 'SELECT', sqlite3.SQLITE_UPDATE: 'UPDATE'}
_TABLE_PERMISSIONS = {sqlite3.SQLITE_INSERT: 'INSERT', sqlite3.SQLITE_DELETE: 'DELETE'}
_DATABASE_PERMISSIONS = {sqlite3.SQLITE_CREATE_TABLE: 'CREATE TABLE',
                         sqlite3.SQLITE_CREATE_VIEW: 'CREATE VIEW'}
# SQLite writes its schema table for every CREATE and DROP, which are checked themselves.
_SCHEMA_TABLES = {'sqlite_master', 'sqlite_schema'}


def _folded(rights):
    return {(permission, fold(table)): {fold(c) for c in columns}
            for (permission, table), columns in rights.items()}


class Guard:
    """An SQLite authorizer for one statement in `database`: it refuses what `rights` (None:
    everything is granted) do not grant and, in a read-only database, every write; `refusal`
    keeps the first refusal as the message SQL Server sends."""

    def __init__(self, database, persona, rights=None, read_only=False):
        self.database = database
        self.persona = persona
        self.rights = None if rights is None else _folded(rights)
        self.read_only = read_only
        self.refusal = None

    def __call__(self, action, arg1, arg2, dbname, _source):
        if action in _HARMLESS or dbname == 'temp':   # temp: the catalog views, #tables
            return sqlite3.SQLITE_OK
        if action != sqlite3.SQLITE_READ and fold(arg1 or '') in _SCHEMA_TABLES:
            return sqlite3.SQLITE_OK
        refusal = self._check(action, arg1, arg2)
        if refusal is None:
            return sqlite3.SQLITE_OK
        self.refusal = self.refusal or refusal
        return sqlite3.SQLITE_DENY

    def _check(self, action, table, column):
        if self.read_only and action != sqlite3.SQLITE_READ:
            return self.persona.make(3906, database=self.database)
        if self.rights is None:
            return None
        if action in _COLUMN_PERMISSIONS:
            return self._object(_COLUMN_PERMISSIONS[action], table, column)
        if action in _DATABASE_PERMISSIONS:
            return self.persona.make(262, permission=_DATABASE_PERMISSIONS[action],
                                     database=self.database)
        # Dropping or altering a table, an index or a trigger takes ALTER on the table.
        return self._object(_TABLE_PERMISSIONS.get(action, 'ALTER'), table or '', None)

    def _object(self, permission, table, column):
        """229 without that permission on the table, 230 for a column it does not cover; an
        empty column (count(*)) needs the permission on some column."""
        granted = self.rights.get((permission, fold(table)))
        names = dict(permission=permission, object=table, database=self.database,
                     schema=SCHEMA)
        if granted is None:
            return self.persona.make(229, **names)
        if column and fold(column) not in granted:
            return self.persona.make(230, column=column, **names)
        return None
