"""Server messages with SQL Server 2000's numbers, classes, states and texts."""


class ServerMessage(Exception):
    """A message for the client; severity <= 10 is informational."""

    def __init__(self, number, text, severity=16, state=1):
        super().__init__(text)
        self.number = number
        self.text = text
        self.severity = severity
        self.state = state


# number: (severity, state, text with a %s for each object, database, user or token)
CATALOGUE = {
    102: (15, 1, "Incorrect syntax near '%s'."),
    207: (16, 1, "Invalid column name '%s'."),
    208: (16, 1, "Invalid object name '%s'."),
    911: (16, 1, "Could not locate entry in sysdatabases for database '%s'. No entry found "
                 "with that name. Make sure that the name is entered correctly."),
    916: (14, 1, "Server user '%s' is not a valid user in database '%s'."),
    924: (14, 1, "Database '%s' is already open and can only have one user at a time."),
    942: (14, 4, "Database '%s' cannot be opened because it is offline."),
    1205: (13, 45, "Transaction (Process ID %s) was deadlocked on lock resources with another "
                   "process and has been chosen as the deadlock victim. Rerun the transaction."),
    1222: (16, 56, 'Lock request time out period exceeded.'),
    4060: (11, 1, "Cannot open database requested in login '%s'. Login fails."),
    5701: (0, 2, "Changed database context to '%s'."),
    5703: (0, 1, 'Changed language setting to %s.'),
    18456: (14, 1, "Login failed for user '%s'."),
}

# Anything SQLite rejects that has no closer SQL Server equivalent (RAISERROR's number).
GENERIC = 50000


def make(number, *inserts):
    """Build a message from the catalogue, a missing insert left empty; unknown numbers get a
    fixed class-16 text."""
    if number in CATALOGUE:
        severity, state, text = CATALOGUE[number]
        wanted = text.count('%s')
        return ServerMessage(number, text % (inserts + ('',) * wanted)[:wanted], severity, state)
    return ServerMessage(number, 'Error %d raised by the server.' % number)
