"""Decode RPC parameters (TYPE_INFO + value) into Python values SQLite can bind."""
import datetime
import struct
import uuid

_FIXED = {0x30: '<B', 0x34: '<h', 0x38: '<i', 0x7F: '<q', 0x32: '<B', 0x3B: '<f', 0x3E: '<d'}
_VARLEN_NUMBERS = {0x26: 'int', 0x68: 'int', 0x6D: 'float'}
_UNICODE = (0xE7, 0xEF)
_ANSI = (0xA7, 0xAF)
_BINARY = (0xA5, 0xAD)
_LONG_TEXT = {0x63: 'utf-16-le', 0x23: 'cp1252', 0x22: None}
_EPOCH = datetime.datetime(1900, 1, 1)
PLP_NULL = 0xFFFFFFFFFFFFFFFF


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
    if kind in _FIXED:
        return r.unpack(_FIXED[kind])
    if kind in _VARLEN_NUMBERS:
        r.unpack('<B')
        size = r.unpack('<B')
        if not size:
            return None
        if _VARLEN_NUMBERS[kind] == 'float':
            return r.unpack('<f' if size == 4 else '<d')
        return int.from_bytes(r.take(size), 'little', signed=kind != 0x68 and size > 1)
    if kind in _UNICODE + _ANSI + _BINARY:
        max_size = r.unpack('<H')
        if kind not in _BINARY:
            r.take(5)   # collation
        data = _read_plp(r) if max_size == 0xFFFF else _read_short(r)
        if data is None or kind in _BINARY:
            return data
        return data.decode('utf-16-le' if kind in _UNICODE else 'cp1252', 'replace')
    if kind in _LONG_TEXT:
        r.unpack('<i')
        if _LONG_TEXT[kind]:
            r.take(5)
        size = r.unpack('<i')
        if size < 0:
            return None
        data = r.take(size)
        return data.decode(_LONG_TEXT[kind], 'replace') if _LONG_TEXT[kind] else data
    if kind in (0x6A, 0x6C):
        r.take(3)   # size, precision, scale
        scale = r.data[r.pos - 1]
        size = r.unpack('<B')
        if not size:
            return None
        sign = r.unpack('<B')
        number = int.from_bytes(r.take(size - 1), 'little') * (1 if sign else -1)
        return number if scale == 0 else number / 10 ** scale
    if kind == 0x6F:
        r.unpack('<B')
        size = r.unpack('<B')
        if not size:
            return None
        if size == 4:
            days, minutes = struct.unpack('<HH', r.take(4))
            moment = _EPOCH + datetime.timedelta(days=days, minutes=minutes)
        else:
            days, ticks = struct.unpack('<iI', r.take(8))
            moment = _EPOCH + datetime.timedelta(days=days, milliseconds=round(ticks * 10 / 3))
        return moment.strftime('%Y-%m-%d %H:%M:%S.') + '%03d' % (moment.microsecond // 1000)
    if kind == 0x24:
        r.unpack('<B')
        size = r.unpack('<B')
        return str(uuid.UUID(bytes_le=r.take(16))) if size else None
    raise ValueError('unsupported parameter type 0x%02X' % kind)


def _read_short(r):
    size = r.unpack('<H')
    return None if size == 0xFFFF else r.take(size)


def _read_plp(r):
    if r.unpack('<Q') == PLP_NULL:
        return None
    chunks = []
    while True:
        size = r.unpack('<I')
        if not size:
            return b''.join(chunks)
        chunks.append(r.take(size))
