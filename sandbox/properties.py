"""HAS_DBACCESS, DATABASEPROPERTYEX and SERVERPROPERTY, as SQLite functions: what the catalog
tells of a database's state without opening it, and of the server."""
import catalog
import tds_tokens as tok


def install(conn, session):
    """Define the functions on an SQLite connection of `session`."""

    def database(name):
        return session.folder().find(str(name)) if name is not None else None

    def has_dbaccess(name):
        folder, db = session.folder(), database(name)
        if db is None:
            return None     # not a database name
        if folder.is_offline(db):
            return 0
        session.touch(db)
        # As SQL Server: 0 as well when the login may not use it, or it is single-user and in
        # use by another connection.
        held = (folder.is_single_user(db)
                and session.occupancy.held_by_other((folder.path, catalog.fold(db.name)),
                                                    session))
        return 0 if folder.denies_login(db) or folder.is_restricted(db) or held else 1

    def databasepropertyex(name, prop):
        folder, db = session.folder(), database(name)
        if db is None or prop is None:
            return None
        prop = str(prop).casefold()
        if prop not in ('status', 'useraccess', 'updateability'):
            return None     # a property this instance does not know
        if folder.is_offline(db):
            if prop == 'status':
                return 'OFFLINE'
        else:
            session.touch(db)
        if prop == 'status':
            return 'ONLINE'
        if prop == 'updateability':
            return 'READ_ONLY' if folder.is_read_only(db) else 'READ_WRITE'
        if folder.is_single_user(db):
            return 'SINGLE_USER'
        return 'RESTRICTED_USER' if folder.is_restricted(db) else 'MULTI_USER'

    def serverproperty(prop):
        persona = session.persona
        machine, instance = tok.server_name().split('\\')
        known = dict(persona.properties, productversion=persona.version_text,
                     servername=tok.server_name(), machinename=machine, instancename=instance)
        return known.get(str(prop).casefold()) if prop is not None else None

    conn.create_function('HAS_DBACCESS', 1, has_dbaccess)
    conn.create_function('DATABASEPROPERTYEX', 2, databasepropertyex)
    conn.create_function('SERVERPROPERTY', 1, serverproperty)
