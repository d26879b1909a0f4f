"""What server a new connection meets: persona, encryption, rights and default database.
Taken from the command line, replaced at run time through the control socket."""
import personas

KEYS = ('persona', 'encrypt', 'least_privilege', 'default_database')
ENCRYPTIONS = ('none', 'login', 'all')


class Settings:
    def __init__(self, values=None):
        values = {k: v for k, v in dict(values or {}).items() if v is not None}
        unknown = set(values) - set(KEYS)
        if unknown:
            raise ValueError('unknown setting(s): %s' % ', '.join(sorted(unknown)))
        self.persona = personas.find(values.get('persona', '2000'))
        self.encrypt = values.get('encrypt', self.persona.encrypt)
        if self.encrypt not in ENCRYPTIONS:
            raise ValueError('encrypt must be one of %s, not %r' % (', '.join(ENCRYPTIONS),
                                                                    self.encrypt))
        self.least_privilege = values.get('least_privilege', False)
        if not isinstance(self.least_privilege, bool):
            raise ValueError('least_privilege must be true or false')
        self.default_database = values.get('default_database', 'master')
        if not isinstance(self.default_database, str) or not self.default_database:
            raise ValueError('default_database must be a database name')

    def as_dict(self):
        return {'persona': self.persona.name, 'encrypt': self.encrypt,
                'least_privilege': self.least_privilege,
                'default_database': self.default_database}
