"""Map SQLite failures to the messages SQL Server sends for the same mistake."""
import re

import messages

_PATTERNS = (
    (re.compile(r'no such table: (?:main\.|temp\.)?(.+)'), 208),
    (re.compile(r'no such column: (?:.*\.)?(.+)'), 207),
    (re.compile(r'near "(.*)": syntax error', re.S), 102),
)


def translate(error, persona):
    """The ServerMessage for an sqlite3.Error, worded as `persona` words it."""
    text = str(error)
    for pattern, number in _PATTERNS:
        match = pattern.search(text)
        if match:
            return persona.make(number, name=match.group(1))
    return messages.ServerMessage(messages.GENERIC, text)
