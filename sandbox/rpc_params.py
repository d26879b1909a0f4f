"""Decode RPC parameters (TYPE_INFO + value) into Python values SQLite can bind: the types
FreeTDS ODBC and pytds send for the integers, floats, NULLs and strings the tests bind."""
import struct

INTN, FLTN, NTEXT, NVARCHAR = 0x26, 0x6D, 0x63, 0xE7


class Reader:
    def __init__(self, data, pos=0):
        self.data = data
        self.pos = pos

    def take(self, count):
        if self.pos + count > len(self.data):
            raise ValueError('RPC request truncated')
        chunk = self.data[self.pos:self.pos + count]
        self.pos += count
        return chunk

    def unpack(self, fmt):
        return struct.unpack(fmt, self.take(struct.calcsize(fmt)))[0]

    def at_end(self):
        return self.pos >= len(self.data)


def read_param(r):
    """(name without '@', status flags, value) of one parameter."""
    name = r.take(2 * r.unpack('<B')).decode('utf-16-le')
    status = r.unpack('<B')
    return name.lstrip('@'), status, _read_typed(r)


def _read_typed(r):
    kind = r.unpack('<B')
    if kind in (INTN, FLTN):
        r.unpack('<B')
        size = r.unpack('<B')
        if not size:
            return None
        if kind == FLTN:
            return r.unpack('<f' if size == 4 else '<d')
        return int.from_bytes(r.take(size), 'little', signed=size > 1)
    if kind == NVARCHAR:
        r.take(2 + 5)   # maximum size, collation
        size = r.unpack('<H')
        return None if size == 0xFFFF else r.take(size).decode('utf-16-le', 'replace')
    if kind == NTEXT:
        r.take(4 + 5)   # maximum size, collation
        size = r.unpack('<i')
        return None if size < 0 else r.take(size).decode('utf-16-le', 'replace')
    raise ValueError('unsupported parameter type 0x%02X' % kind)
