"""PRELOGIN answer, LOGIN7 decoding and the login response token streams."""
import struct

import tds_tokens as tok

# VERSION, ENCRYPTION, INSTOPT accepted, THREADID empty, MARS off.
_PRELOGIN_OPTIONS = bytes.fromhex('00001A0006' '0100200001' '0200210001' '0300220000'
                                  '0400220001' 'FF')


def prelogin_reply(persona, encryption):
    return _PRELOGIN_OPTIONS + persona.prelogin_version() + bytes((encryption, 0, 0))


class Login:
    """The LOGIN7 fields this instance uses."""

    def __init__(self, version, packet_size, user, password, database):
        self.version = version
        self.packet_size = packet_size
        self.user = user
        self.password = password
        self.database = database


def version_level(raw):
    """Map LOGIN7's TDSVersion DWORD to the level answered: 74 from 7.4 on, else 71 (the
    clients ask for one of the two)."""
    return 74 if raw >> 24 >= 0x74 else 71


def _deobfuscate(data):
    plain = bytearray()
    for byte in data:
        x = byte ^ 0xA5
        plain.append(((x & 0x0F) << 4) | (x >> 4))
    return bytes(plain).decode('utf-16-le', 'replace')


def parse_login7(payload):
    if len(payload) < 72:
        raise ValueError('LOGIN7 too short')
    raw_version, packet_size = struct.unpack_from('<II', payload, 4)

    def field(position, obfuscated=False):
        offset, chars = struct.unpack_from('<HH', payload, position)
        data = payload[offset:offset + 2 * chars]
        return _deobfuscate(data) if obfuscated else data.decode('utf-16-le', 'replace')

    return Login(version_level(raw_version), packet_size, field(40), field(44, True),
                 field(68))


def negotiate_packet_size(requested):
    return min(max(requested, 512), 32767)


def failure_stream(errors, version):
    """ERROR tokens then DONE_ERROR, framed for the version the client asked for."""
    return b''.join(tok.message(e, version) for e in errors) + tok.done(tok.DONE_ERROR, 0, version)


def success_stream(persona, database, requested, answered, packet_size):
    """The token sequence of a real server's successful login."""
    parts = [tok.env_database(database, 'master'),
             tok.message(persona.make(5701, database=database), requested),
             tok.env_collation(),
             tok.env_language('us_english'),
             tok.message(persona.make(5703, language='us_english'), requested),
             tok.loginack(answered, persona.loginack_version()),
             tok.env_packet_size(packet_size, packet_size),
             tok.done(tok.DONE_FINAL, 0, answered)]
    return b''.join(parts)
