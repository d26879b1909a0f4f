"""Map SQLite failures to the messages SQL Server sends for the same mistake."""
import re

import messages
from messages import make

_PATTERNS = (
    (re.compile(r'no such table: (?:main\.|temp\.)?(.+)'), 208),
    (re.compile(r'no such column: (?:.*\.)?(.+)'), 207),
    (re.compile(r'near "(.*)": syntax error', re.S), 102),
)


def translate(error):
    """The ServerMessage for an sqlite3.Error."""
    text = str(error)
    for pattern, number in _PATTERNS:
        match = pattern.search(text)
        if match:
            return make(number, match.group(1))
    return messages.ServerMessage(messages.GENERIC, text)
