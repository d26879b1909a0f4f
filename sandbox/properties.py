"""HAS_DBACCESS and DATABASEPROPERTYEX, as SQLite functions: what the catalog tells of a
database's state without opening it."""
import catalog


def install(conn, folder_of, occupancy, owner):
    """Define both functions on an SQLite connection of the session `owner`."""

    def has_dbaccess(name):
        folder = folder_of()
        db = folder.find(str(name)) if name is not None else None
        if db is None:
            return None     # not a database name
        # As SQL Server: 0 as well when offline, or single-user and in use by another.
        held = (folder.is_single_user(db)
                and occupancy.held_by_other((folder.path, catalog.fold(db.name)), owner))
        return 0 if folder.is_offline(db) or folder.denies_login(db) or held else 1

    def databasepropertyex(name, prop):
        folder = folder_of()
        db = folder.find(str(name)) if name is not None else None
        if db is None or prop is None:
            return None
        prop = str(prop).casefold()
        if prop == 'status':
            return 'OFFLINE' if folder.is_offline(db) else 'ONLINE'
        if prop == 'useraccess':
            return 'SINGLE_USER' if folder.is_single_user(db) else 'MULTI_USER'
        return None         # a property this instance does not know

    conn.create_function('HAS_DBACCESS', 1, has_dbaccess)
    conn.create_function('DATABASEPROPERTYEX', 2, databasepropertyex)
