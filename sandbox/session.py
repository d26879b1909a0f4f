"""One client's database context: opens SQLite files, runs batches, answers in tokens."""
import itertools
import sqlite3
import struct
import threading

import catalog
import messages
import permissions
import properties
import rewrite
import sqlerrors
import tds_tokens as tok
from messages import ServerMessage

BUSY_TIMEOUT = 5.0
AUTO_CLOSE_DELAY = 2.0      # what opening an auto-close database costs a session
_descriptors = itertools.count(1)


class Occupancy:
    """Who holds each single-user database (keyed by folder and folded name)."""

    def __init__(self):
        self._lock = threading.Lock()
        self._holders = {}

    def claim(self, key, owner):
        with self._lock:
            if self._holders.setdefault(key, owner) is not owner:
                return False
            return True

    def held_by_other(self, key, owner):
        with self._lock:
            return self._holders.get(key, owner) is not owner

    def release(self, key, owner):
        with self._lock:
            if self._holders.get(key) is owner:
                del self._holders[key]


class Session:
    """pause(seconds): waits, True when a cancel ended the wait."""

    def __init__(self, folder_of, occupancy, version, user, persona, least_privilege=False,
                 pause=None):
        self._folder_of = folder_of   # callable: the data folder in force right now
        self.occupancy = occupancy
        self.user = user
        self.version = version
        self.persona = persona
        self._rights = permissions.LEAST_PRIVILEGE if least_privilege else None
        self._pause = pause or (lambda seconds: threading.Event().wait(seconds))
        self.database = None
        self.conn = None
        self._claim = None
        self._opened = set()      # the auto-close databases this session has opened
        self._descriptor = bytes(8)
        self._in_proc = False     # statements of an RPC answer with DONEINPROC
        self._params = ()

    def folder(self):
        return self._folder_of()

    # -- database context -------------------------------------------------------------
    def open(self, name):
        """Make `name` the current database; ServerMessage 911 if missing, 942 if offline,
        916 if the login has no access, 923 if restricted, 924 if busy."""
        folder, make = self.folder(), self.persona.make
        db = folder.find(name)
        if db is None:
            raise make(911, database=name)
        if folder.is_offline(db):
            raise make(942, database=db.name)
        self.touch(db)
        if folder.denies_login(db):
            raise make(916, user=self.user, database=db.name)
        if folder.is_restricted(db):
            raise make(923, database=db.name)
        claim = None
        if folder.is_single_user(db):
            claim = (folder.path, catalog.fold(db.name))
            if claim != self._claim and not self.occupancy.claim(claim, self):
                raise make(924, database=db.name)
        conn = sqlite3.connect(db.path or ':memory:', timeout=BUSY_TIMEOUT,
                               isolation_level=None, check_same_thread=False)
        # A test bed needs no protection against power loss; syncing every autocommit
        # statement to disk made runs many times slower and at the mercy of other disk users.
        conn.execute('PRAGMA synchronous = OFF')
        properties.install(conn, self)
        self.close()
        self.database, self.conn, self._claim = db, conn, claim

    def touch(self, db):
        """An auto-close database is closed while nobody uses it: the first time this session
        opens it or asks after it, opening it takes AUTO_CLOSE_DELAY."""
        folder = self.folder()
        key = (folder.path, catalog.fold(db.name))
        if key in self._opened or not folder.is_auto_close(db):
            return
        if self._pause(AUTO_CLOSE_DELAY):
            raise ServerMessage(messages.GENERIC, 'cancelled')   # its answer is not sent
        self._opened.add(key)

    def close(self):
        if self.conn is not None:
            self.conn.close()   # rolls back an open transaction
            self.conn = None
        if self._claim is not None:
            self.occupancy.release(self._claim, self)
            self._claim = None

    def interrupt(self):
        """Called from the reader thread; the worker may be closing the connection meanwhile."""
        conn = self.conn
        if conn is not None:
            try:
                conn.interrupt()
            except sqlite3.ProgrammingError:
                pass

    # -- requests ---------------------------------------------------------------------
    def run_batch(self, text, params=(), in_proc=False):
        """Token stream answering one SQL batch (one statement).
        in_proc: it runs inside a procedure call (RPC) with these parameters."""
        self._in_proc, self._params = in_proc, params
        try:
            return self._run(rewrite.statement(text, self.database.name, self.persona.banner))
        except ServerMessage as error:
            return self.error_stream([error])
        finally:
            self._in_proc, self._params = False, ()

    def error_stream(self, errors):
        return b''.join(tok.message(e, self.version) for e in errors) + self._done(tok.DONE_ERROR)

    def _done(self, status, count=0, curcmd=0):
        if self._in_proc:
            return tok.done(status | tok.DONE_MORE, count, self.version, curcmd, tok.DONEINPROC)
        return tok.done(status, count, self.version, curcmd)

    def transaction_request(self, payload):
        """Answer a transaction-manager request (7.2+): BEGIN, COMMIT or ROLLBACK."""
        pos = struct.unpack_from('<I', payload)[0]
        request = struct.unpack_from('<H', payload, pos)[0]
        pos += 2
        if request == 5:
            return self._begin() + tok.done(tok.DONE_FINAL, 0, self.version)
        if request in (7, 8):
            pos += 1 + 2 * payload[pos]
            again = bool(payload[pos] & 1) if pos < len(payload) else False
            return self._end(request == 8, again) + tok.done(0, 0, self.version)
        return self.error_stream([self.persona.make(messages.GENERIC)])

    # -- statements -------------------------------------------------------------------
    def _run(self, statement):
        kind = statement.kind
        if kind == 'use':
            old = self.database.name
            self.open(statement.arg)
            return (tok.env_database(self.database.name, old)
                    + tok.message(self.persona.make(5701, database=self.database.name),
                                  self.version) + self._done(0))
        if kind == 'begin':
            return self._begin() + self._done(0)
        if kind in ('commit', 'rollback'):
            return self._end(kind == 'rollback', statement.begin_again) + self._done(0)
        return self._run_sql(statement)

    def _run_sql(self, statement):
        sql = statement.arg
        guard = self._guard()
        try:
            if statement.catalog:
                catalog.install_tables(self.conn, self.folder().catalog_rows(),
                                       statement.catalog)
            if guard:
                self.conn.set_authorizer(guard)
            cursor = self.conn.execute(sql, self._params)
            if cursor.description is None:
                count = cursor.rowcount
                if count < 0:
                    return self._done(0)
                return self._done(tok.DONE_COUNT, count, tok.CMD_UPDATE)
            rows = cursor.fetchall()
        except sqlite3.Error as error:
            raise (guard and guard.refusal) or sqlerrors.translate(error, self.persona) from error
        finally:
            if guard:
                self.conn.set_authorizer(None)
        columns, rows = _describe(cursor.description, rows)
        return (tok.colmetadata(columns, self.version)
                + b''.join(tok.row(columns, values) for values in rows)
                + self._done(tok.DONE_COUNT, len(rows), tok.CMD_SELECT))

    def _guard(self):
        """The authorizer this statement needs, or None when it may do anything."""
        read_only = self.folder().is_read_only(self.database)
        if self._rights is None and not read_only:
            return None
        return permissions.Guard(self.database.name, self.persona, self._rights, read_only)

    def _begin(self):
        if not self.conn.in_transaction:
            self.conn.execute('BEGIN')
            self._descriptor = struct.pack('<Q', next(_descriptors))
        return tok.env_begin_transaction(self._descriptor) if self.version >= 72 else b''

    def _end(self, rollback, begin_again):
        """COMMIT/ROLLBACK of the open transaction, if any (IF @@TRANCOUNT > 0 ...)."""
        out = b''
        if self.conn.in_transaction:
            self.conn.execute('ROLLBACK' if rollback else 'COMMIT')
            if self.version >= 72:
                out = tok.env_end_transaction(self._descriptor, rollback)
        return out + (self._begin() if begin_again else b'')


def _describe(description, rows):
    """Pick a TDS type per column from the values SQLite returned (it has no fixed types)."""
    columns = []
    for index, entry in enumerate(description):
        values = [r[index] for r in rows if r[index] is not None]
        if not values or any(isinstance(v, (str, bytes)) for v in values):
            texts = [_text(v) for v in values]
            longest = max((len(t.encode('utf-16-le')) // 2 for t in texts), default=0)
            kind = 'ntext' if longest > tok.NVARCHAR_MAX_CHARS else 'nvarchar'
        elif any(isinstance(v, float) for v in values):
            kind = 'float'
        elif all(-2 ** 31 <= v < 2 ** 31 for v in values):
            kind = 'int'
        else:
            kind = 'bigint'
        columns.append(tok.Column(entry[0] or '', kind))
    convert = [_text if c.kind in ('nvarchar', 'ntext') else (float if c.kind == 'float' else int)
               for c in columns]
    return columns, [tuple(None if v is None else f(v) for f, v in zip(convert, r)) for r in rows]



def _text(value):
    if isinstance(value, bytes):
        return '0x' + value.hex().upper()
    return value if isinstance(value, str) else str(value)
