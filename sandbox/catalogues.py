"""The texts, classes and states of the messages this instance sends, one table per server
version (docs/sandbox.md names the source of each). Inserts: {name} for an object, column or
token, {database}, {user}, {spid}, {permission}, {object}, {column}, {schema}, {language}."""

# SQL Server 2005 and later, as SQL Server 2019 sends them.
SINCE_2005 = {
    102: (15, 1, "Incorrect syntax near '{name}'."),
    207: (16, 1, "Invalid column name '{name}'."),
    208: (16, 1, "Invalid object name '{name}'."),
    229: (14, 5, "The {permission} permission was denied on the object '{object}', "
                 "database '{database}', schema '{schema}'."),
    230: (14, 1, "The {permission} permission was denied on the column '{column}' of the object "
                 "'{object}', database '{database}', schema '{schema}'."),
    262: (16, 1, "{permission} permission denied in database '{database}'."),
    911: (16, 1, "Database '{database}' does not exist. Make sure that the name is entered "
                 "correctly."),
    916: (14, 1, 'The server principal "{user}" is not able to access the database "{database}" '
                 'under the current security context.'),
    923: (14, 1, "Database '{database}' is in restricted mode. Only the database owner and members "
                 "of the dbcreator and sysadmin roles can access it."),
    924: (14, 1, "Database '{database}' is already open and can only have one user at a time."),
    942: (14, 4, "Database '{database}' cannot be opened because it is offline."),
    1205: (13, 51, "Transaction (Process ID {spid}) was deadlocked on lock resources with another "
                   "process and has been chosen as the deadlock victim. Rerun the transaction."),
    1222: (16, 56, 'Lock request time out period exceeded.'),
    2812: (16, 1, "Could not find stored procedure '{name}'."),
    3906: (16, 1, 'Failed to update database "{database}" because the database is read-only.'),
    4060: (11, 1, 'Cannot open database "{database}" requested by the login. The login failed.'),
    4064: (11, 1, 'Cannot open user default database. Login failed.'),
    5701: (0, 2, "Changed database context to '{database}'."),
    5703: (0, 1, 'Changed language setting to {language}.'),
    18401: (14, 1, "Login failed for user '{user}'. Reason: Server is in script upgrade mode. Only "
                   "administrator can connect at this time."),
    18451: (14, 1, "Login failed for user '{user}'. Only administrators may connect at this "
                   "time."),
    18456: (14, 1, "Login failed for user '{user}'."),
    18461: (14, 1, "Login failed for user '{user}'. Reason: Server is in single user mode. Only "
                   "one administrator can connect at this time."),
}

# SQL Server 2000 (MSDE 2000 SP4). Numbers without a known 2000 wording (923, 18401, 18451)
# keep the later text.
SQL_2000 = {
    **SINCE_2005,
    229: (14, 1, "{permission} permission denied on object '{object}', database '{database}', "
                 "owner '{schema}'."),
    230: (14, 1, "{permission} permission denied on column '{column}' of object '{object}', "
                 "database '{database}', owner '{schema}'."),
    911: (16, 1, "Could not locate entry in sysdatabases for database '{database}'. No entry found "
                 "with that name. Make sure that the name is entered correctly."),
    916: (14, 1, "Server user '{user}' is not a valid user in database '{database}'."),
    1205: (13, 45, SINCE_2005[1205][2]),
    3906: (16, 1, "Could not run BEGIN TRANSACTION in database '{database}' because the database "
                  "is read-only."),
    4060: (11, 1, "Cannot open database requested in login '{database}'. Login fails."),
}

# Refusals that are themselves the login failure; any other refusal is followed by 18456.
LOGIN_FAILURES = frozenset((18401, 18451, 18456, 18461))
