"""Server messages with SQL Server 2000's numbers, classes, states and texts."""


class ServerMessage(Exception):
    """A message for the client; severity <= 10 is informational."""

    def __init__(self, number, text, severity=16, state=1, also=()):
        super().__init__(text)
        self.number = number
        self.text = text
        self.severity = severity
        self.state = state
        self.also = list(also)   # messages sent right after this one (e.g. 3621)

    def chain(self):
        return [self] + self.also


# number: (severity, state, text with a %s for each object, database, user or token)
CATALOGUE = {
    102: (15, 1, "Incorrect syntax near '%s'."),
    207: (16, 1, "Invalid column name '%s'."),
    208: (16, 1, "Invalid object name '%s'."),
    515: (16, 2, "Cannot insert the value NULL into column '%s'; column does not allow nulls."),
    911: (16, 1, "Could not locate entry in sysdatabases for database '%s'. No entry found "
                 "with that name. Make sure that the name is entered correctly."),
    916: (14, 1, "Server user '%s' is not a valid user in database '%s'."),
    924: (14, 1, "Database '%s' is already open and can only have one user at a time."),
    942: (14, 4, "Database '%s' cannot be opened because it is offline."),
    1205: (13, 45, "Transaction (Process ID %s) was deadlocked on lock resources with another "
                   "process and has been chosen as the deadlock victim. Rerun the transaction."),
    1222: (16, 56, 'Lock request time out period exceeded.'),
    2627: (14, 1, "Violation of PRIMARY KEY constraint '%s'. Cannot insert duplicate key."),
    3621: (0, 1, 'The statement has been terminated.'),
    3902: (16, 1, 'The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION.'),
    3903: (16, 1, 'The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION.'),
    3906: (16, 1, "Could not run BEGIN TRANSACTION in database '%s' because the database is "
                  "read-only."),
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
