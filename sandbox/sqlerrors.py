"""Map SQLite failures to the messages SQL Server sends for the same mistake."""
import re

import messages
from messages import make

_PATTERNS = (
    (re.compile(r'no such table: (?:main\.|temp\.)?(.+)'), lambda m, ctx: make(208, m.group(1))),
    (re.compile(r'no such column: (?:.*\.)?(.+)'), lambda m, ctx: make(207, m.group(1))),
    (re.compile(r'near "(.*)": syntax error', re.S), lambda m, ctx: make(102, m.group(1))),
    (re.compile(r'unrecognized token: "(.*)"', re.S), lambda m, ctx: make(102, m.group(1))),
    (re.compile(r'incomplete input'), lambda m, ctx: make(102, _last_token(ctx[0]))),
    (re.compile(r'UNIQUE constraint failed: (\w+)'),
     lambda m, ctx: _terminated(make(2627, 'PK_' + m.group(1)))),
    (re.compile(r'NOT NULL constraint failed: (?:\w+\.)?(\w+)'),
     lambda m, ctx: _terminated(make(515, m.group(1)))),
    (re.compile(r'database is locked'), lambda m, ctx: make(1222)),
    (re.compile(r'readonly database'), lambda m, ctx: make(3906, ctx[1])),
)


def _terminated(error):
    """Run-time failures of a data change are followed by 3621, as a real server does."""
    error.also.append(make(3621))
    return error


def _last_token(sql):
    tokens = sql.split()
    return tokens[-1] if tokens else ''


def translate(error, sql, database):
    """The ServerMessage for an sqlite3.Error raised while running `sql` in `database`."""
    text = str(error)
    for pattern, build in _PATTERNS:
        match = pattern.search(text)
        if match:
            return build(match, (sql, database))
    return messages.ServerMessage(messages.GENERIC, text)
