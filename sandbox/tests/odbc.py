"""Just enough ODBC 3 (unixODBC + FreeTDS driver, through ctypes) to see what the
program's ODBC layer sees: return codes, SQLSTATEs, native errors, rows, row counts."""
import ctypes

_lib = ctypes.CDLL('libodbc.so.2')
SQL_SUCCESS, SQL_SUCCESS_WITH_INFO, SQL_ERROR, SQL_NO_DATA = 0, 1, -1, 100
_ENV, _DBC, _STMT = 1, 2, 3
_NTS = -3
_C_WCHAR = -8
_C_SLONG = -16
_SQL_INTEGER = 4
_SQL_WVARCHAR = -9
_NULL_DATA = -1


def _wide(text):
    return ctypes.create_string_buffer(text.encode('utf-16-le') + b'\0\0')


def _unwide(buffer, chars):
    return bytes(buffer)[:2 * chars].decode('utf-16-le')


class Diag(tuple):
    """(sqlstate, native, text without the driver prefix)."""
    state = property(lambda self: self[0])
    native = property(lambda self: self[1])
    text = property(lambda self: self[2])


def diagnostics(kind, handle):
    records = []
    state = ctypes.create_string_buffer(16)
    text = ctypes.create_string_buffer(4096)
    native = ctypes.c_int()
    length = ctypes.c_short()
    number = 1
    while _lib.SQLGetDiagRecW(kind, handle, number, state, ctypes.byref(native), text, 2000,
                              ctypes.byref(length)) in (SQL_SUCCESS, SQL_SUCCESS_WITH_INFO):
        message = _unwide(text, length.value).replace('[FreeTDS][SQL Server]', '')
        records.append(Diag((_unwide(state, 5), native.value, message)))
        number += 1
    return records


class Connection:
    def __init__(self, connection_string, login_timeout=5):
        self.env = ctypes.c_void_p()
        self.dbc = ctypes.c_void_p()
        _lib.SQLAllocHandle(_ENV, None, ctypes.byref(self.env))
        _lib.SQLSetEnvAttr(self.env, 200, ctypes.c_void_p(3), 0)     # ODBC 3
        _lib.SQLAllocHandle(_DBC, self.env, ctypes.byref(self.dbc))
        _lib.SQLSetConnectAttrW(self.dbc, 103, ctypes.c_void_p(login_timeout), 0)
        self.rc = _lib.SQLDriverConnectW(self.dbc, None, _wide(connection_string), _NTS, None, 0,
                                         None, 0)
        self.diags = diagnostics(_DBC, self.dbc)

    @property
    def ok(self):
        return self.rc in (SQL_SUCCESS, SQL_SUCCESS_WITH_INFO)

    def execute(self, sql, timeout=0, params=None):
        """(rc, diags, rows of the first result, SQLRowCount). With params (ints and
        strings bound to '?'), the statement is prepared first, as bound statements are."""
        stmt = ctypes.c_void_p()
        _lib.SQLAllocHandle(_STMT, self.dbc, ctypes.byref(stmt))
        if timeout:
            _lib.SQLSetStmtAttrW(stmt, 0, ctypes.c_void_p(timeout), 0)
        if params is None:
            rc = _lib.SQLExecDirectW(stmt, _wide(sql), _NTS)
        else:
            keep = [self._bind(stmt, number, value) for number, value in enumerate(params, 1)]
            rc = _lib.SQLPrepareW(stmt, _wide(sql), _NTS)
            if rc in (SQL_SUCCESS, SQL_SUCCESS_WITH_INFO):
                rc = _lib.SQLExecute(stmt)
            del keep
        diags = diagnostics(_STMT, stmt)
        rows, count = [], ctypes.c_long(-2)
        if rc in (SQL_SUCCESS, SQL_SUCCESS_WITH_INFO):
            _lib.SQLRowCount(stmt, ctypes.byref(count))
            columns = ctypes.c_short()
            _lib.SQLNumResultCols(stmt, ctypes.byref(columns))
            while columns.value and _lib.SQLFetch(stmt) in (SQL_SUCCESS, SQL_SUCCESS_WITH_INFO):
                rows.append(tuple(self._value(stmt, i) for i in range(1, columns.value + 1)))
        _lib.SQLFreeHandle(_STMT, stmt)
        return rc, diags, rows, count.value

    def execute_prepared(self, sql, values):
        """Prepare once, bind one int parameter, execute per value: [(rc, SQLRowCount)]."""
        stmt = ctypes.c_void_p()
        _lib.SQLAllocHandle(_STMT, self.dbc, ctypes.byref(stmt))
        buffer, indicator = self._bind(stmt, 1, 0)
        _lib.SQLPrepareW(stmt, _wide(sql), _NTS)
        results = []
        for value in values:
            buffer.value = value
            count = ctypes.c_long(-2)
            rc = _lib.SQLExecute(stmt)
            _lib.SQLRowCount(stmt, ctypes.byref(count))
            results.append((rc, count.value))
        _lib.SQLFreeHandle(_STMT, stmt)
        return results

    @staticmethod
    def _bind(stmt, number, value):
        indicator = ctypes.c_long(_NTS)
        if isinstance(value, int):
            buffer = ctypes.c_int(value)
            c_type, sql_type, size = _C_SLONG, _SQL_INTEGER, 0
        else:
            buffer = _wide(value)
            c_type, sql_type, size = _C_WCHAR, _SQL_WVARCHAR, max(len(value), 1)
        _lib.SQLBindParameter(stmt, number, 1, c_type, sql_type, size, 0, ctypes.byref(buffer),
                              ctypes.sizeof(buffer), ctypes.byref(indicator))
        return buffer, indicator

    @staticmethod
    def _value(stmt, column):
        parts = []
        buffer = ctypes.create_string_buffer(8192)
        indicator = ctypes.c_long()
        while _lib.SQLGetData(stmt, column, _C_WCHAR, buffer, len(buffer),
                              ctypes.byref(indicator)) in (SQL_SUCCESS, SQL_SUCCESS_WITH_INFO):
            if indicator.value == _NULL_DATA:
                return None
            parts.append(bytes(buffer).split(b'\0\0')[0] if indicator.value < 0
                         else bytes(buffer)[:min(indicator.value, len(buffer) - 2)])
        return b''.join(parts).decode('utf-16-le')

    def close(self):
        _lib.SQLDisconnect(self.dbc)
        _lib.SQLFreeHandle(_DBC, self.dbc)
        _lib.SQLFreeHandle(_ENV, self.env)


def connection_string(port, database=None, user='DBOPS', password='58GrUw3Hyb!!',
                      tds_version='7.4'):
    parts = ['Driver=FreeTDS', 'Server=127.0.0.1', 'Port=%d' % port,
             'TDS_Version=%s' % tds_version, 'UID=%s' % user, 'PWD={%s}' % password]
    if database is not None:
        # FreeTDS takes a braced value up to '};' as is ('}}' stays doubled) and keeps the
        # closing brace when no ';' follows, hence the trailing ';'.
        parts.append('Database={%s}' % database)
    return ';'.join(parts) + ';'
