"""The ENCRYPTION option of PRELOGIN: what a client asks, what the instance answers
(MS-TDS 2.2.6.5)."""
import struct

OFF, ON, NOT_SUP, REQ = 0, 1, 2, 3
NAMES = {OFF: 'off', ON: 'on', NOT_SUP: 'not_sup', REQ: 'required'}
# Answers after which the client starts TLS inside PRELOGIN packets.
TLS_ANSWERS = (OFF, ON, REQ)


def asked(payload):
    """The client's ENCRYPTION byte, or None when its PRELOGIN has no such option."""
    position = 0
    while position + 5 <= len(payload) and payload[position] != 0xFF:
        token, offset, length = struct.unpack_from('>BHH', payload, position)
        if token == 0x01 and length >= 1 and offset < len(payload):
            return payload[offset]
        position += 5
    return None


def describe(value):
    return 'absent' if value is None else NAMES.get(value, 'unknown')


def answer(mode, value):
    """none: no certificate (NOT_SUP). all, Force Encryption: REQ. login: the certificate
    encrypts what the client asks for, at least the login when it can (OFF); a client that
    cannot encrypt is answered NOT_SUP and logs in in the clear."""
    if mode == 'none':
        return NOT_SUP
    if mode == 'all':
        return REQ
    return {OFF: OFF, ON: ON, REQ: ON}.get(value, NOT_SUP)
