"""Encoders for the server-to-client TDS tokens this instance sends.

`version` is the protocol level as an int, 71 or 74; 72+ widens user types,
line numbers and DONE counts.
"""
import socket
import struct

ENVCHANGE = 0xE3
ERROR = 0xAA
INFO = 0xAB
LOGINACK = 0xAD
COLMETADATA = 0x81
ROW = 0xD1
DONE = 0xFD
DONEPROC = 0xFE
DONEINPROC = 0xFF

DONE_FINAL = 0x0000
DONE_MORE = 0x0001
DONE_ERROR = 0x0002
DONE_COUNT = 0x0010
DONE_ATTN = 0x0020

CMD_SELECT = 0xC1
CMD_UPDATE = 0xC5

# SQL_Latin1_General_CP1_CI_AS
COLLATION = bytes.fromhex('0904D00034')

LOGINACK_VERSIONS = {71: '71000001', 74: '74000004'}
PRODUCT_NAME = 'Microsoft SQL Server'
NTEXT_MAX_BYTES = 0x7FFFFFFE
NVARCHAR_MAX_CHARS = 4000


def ucs2(text):
    return text.encode('utf-16-le')


def b_varchar(text):
    data = ucs2(text)
    return bytes((len(data) // 2,)) + data


def us_varchar(text):
    data = ucs2(text)
    return struct.pack('<H', len(data) // 2) + data


def _envchange(kind, new, old):
    body = bytes((kind,)) + new + old
    return struct.pack('<BH', ENVCHANGE, len(body)) + body


def env_database(new, old):
    return _envchange(1, b_varchar(new), b_varchar(old))


def env_language(new):
    return _envchange(2, b_varchar(new), b_varchar(''))


def env_packet_size(new, old):
    return _envchange(4, b_varchar(str(new)), b_varchar(str(old)))


def env_collation():
    return _envchange(7, bytes((len(COLLATION),)) + COLLATION, b'\x00')


def env_begin_transaction(descriptor):
    return _envchange(8, b'\x08' + descriptor, b'\x00')


def env_end_transaction(descriptor, rollback):
    return _envchange(10 if rollback else 9, b'\x00', b'\x08' + descriptor)


def server_name():
    return '%s\\EMBERLINE2' % socket.gethostname().upper()


def message(msg, version, line=1):
    """The INFO (class 10 or lower) or ERROR token of a ServerMessage; proc name is empty as for
    ad-hoc batches."""
    line_bytes = struct.pack('<i' if version >= 72 else '<H', line)
    body = (struct.pack('<iBB', msg.number, msg.state, msg.severity) + us_varchar(msg.text)
            + b_varchar(server_name()) + b_varchar('') + line_bytes)
    return struct.pack('<BH', INFO if msg.severity <= 10 else ERROR, len(body)) + body


def loginack(version, product_version):
    """product_version: major, minor and build, 4 bytes."""
    body = (b'\x01' + bytes.fromhex(LOGINACK_VERSIONS[version]) + b_varchar(PRODUCT_NAME)
            + product_version)
    return struct.pack('<BH', LOGINACK, len(body)) + body


def done(status, count, version, curcmd=0, token=DONE):
    count_format = '<Q' if version >= 72 else '<I'
    return struct.pack('<BHH', token, status, curcmd) + struct.pack(count_format, count)


class Column:
    """One result column; kind is nvarchar, ntext, int, bigint or float."""

    def __init__(self, name, kind):
        self.name = name[:128]  # B_VARCHAR limit; SQLite names unaliased expressions by their text
        self.kind = kind

    def type_info(self, version):
        if self.kind == 'nvarchar':
            return b'\xE7' + struct.pack('<H', NVARCHAR_MAX_CHARS * 2) + COLLATION
        if self.kind == 'ntext':
            table = b'\x00' if version >= 72 else b'\x00\x00'
            return b'\x63' + struct.pack('<i', NTEXT_MAX_BYTES) + COLLATION + table
        return {'int': b'\x26\x04', 'bigint': b'\x26\x08', 'float': b'\x6D\x08'}[self.kind]

    def value(self, value):
        if self.kind == 'nvarchar':
            if value is None:
                return b'\xFF\xFF'
            data = ucs2(value)
            return struct.pack('<H', len(data)) + data
        if self.kind == 'ntext':
            if value is None:
                return b'\x00'
            data = ucs2(value)
            return b'\x10' + bytes(16) + bytes(8) + struct.pack('<i', len(data)) + data
        if value is None:
            return b'\x00'
        fmt = {'int': '<Bi', 'bigint': '<Bq', 'float': '<Bd'}[self.kind]
        return struct.pack(fmt, struct.calcsize(fmt) - 1, value)


def colmetadata(columns, version):
    user_type = bytes(4 if version >= 72 else 2)
    parts = [struct.pack('<BH', COLMETADATA, len(columns))]
    for column in columns:
        parts.append(user_type + b'\x09\x00' + column.type_info(version) + b_varchar(column.name))
    return b''.join(parts)


def row(columns, values):
    return bytes((ROW,)) + b''.join(c.value(v) for c, v in zip(columns, values))
