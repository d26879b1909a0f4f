"""The server versions the instance can play: what each calls itself and how it words errors."""
import struct

import catalogues
from messages import Catalogue


class Persona:
    def __init__(self, name, version, version_text, banner, properties, tds, encrypt,
                 login_causes, texts):
        self.name = name
        self.version = version              # major, minor, build, sub-build
        self.version_text = version_text    # SERVERPROPERTY('ProductVersion'), the browser's
        self.banner = banner                # @@VERSION
        self.properties = properties        # the other SERVERPROPERTY values, by folded name
        self.tds = tds                      # the TDS level it answers at most
        self.encrypt = encrypt              # its encryption when none is chosen
        self.login_causes = login_causes    # causes a failed login names before 4060/4064
        self.catalogue = Catalogue(texts)

    def make(self, number, **inserts):
        return self.catalogue.make(number, **inserts)

    def prelogin_version(self):
        return struct.pack('>BBHH', *self.version)

    def loginack_version(self):
        return struct.pack('>BBH', *self.version[:3])


PERSONAS = {
    # MSDE 2000 SP4: no TLS, and a failed login tells its cause.
    '2000': Persona(
        '2000', (8, 0, 2039, 0), '8.00.2039',
        'Microsoft SQL Server  2000 - 8.00.2039 (Intel X86) \n\tMay  3 2005 23:18:38 \n\t'
        'Copyright (c) 1988-2003 Microsoft Corporation\n\tDesktop Engine on Windows NT 5.1 '
        '(Build 2600: Service Pack 2)\n',
        {'productlevel': 'SP4', 'edition': 'Desktop Engine', 'engineedition': 1},
        71, 'none', (923, 924, 942), catalogues.SQL_2000),
    # SQL Server 2019 Express RTM: TLS for the login, and a failed login tells the client
    # nothing but that it failed.
    '2019': Persona(
        '2019', (15, 0, 2000, 5), '15.0.2000.5',
        'Microsoft SQL Server 2019 (RTM) - 15.0.2000.5 (X64) \n\tSep 24 2019 13:48:23 \n\t'
        'Copyright (C) 2019 Microsoft Corporation\n\tExpress Edition (64-bit) on Windows 10 Pro '
        '10.0 <X64> (Build 19045: ) (Hypervisor)\n',
        {'productlevel': 'RTM', 'edition': 'Express Edition (64-bit)', 'engineedition': 4},
        74, 'login', (), catalogues.SINCE_2005),
}


def find(name):
    persona = PERSONAS.get(str(name))
    if persona is None:
        raise ValueError('persona must be one of %s, not %r' % (', '.join(PERSONAS), name))
    return persona
