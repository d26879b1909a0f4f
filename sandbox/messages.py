"""Server messages, rendered from the catalogue of the server version the instance plays."""


class ServerMessage(Exception):
    """A message for the client; severity <= 10 is informational."""

    def __init__(self, number, text, severity=16, state=1):
        super().__init__(text)
        self.number = number
        self.text = text
        self.severity = severity
        self.state = state


# Anything SQLite rejects that has no closer SQL Server equivalent (RAISERROR's number).
GENERIC = 50000


class _Blank(dict):
    """A missing insert stays empty, as SQL Server leaves an insert it was not given."""

    def __missing__(self, key):
        return ''


class Catalogue:
    """number -> (class, state, text with named inserts such as {database} or {user})."""

    def __init__(self, texts):
        self.texts = texts

    def make(self, number, **inserts):
        """The message; a number the catalogue lacks gets a fixed class-16 text."""
        if number not in self.texts:
            return ServerMessage(number, 'Error %d raised by the server.' % number)
        severity, state, text = self.texts[number]
        return ServerMessage(number, text.format_map(_Blank(inserts)), severity, state)
