"""RPC requests: the system procedures drivers use to run SQL with parameters
(sp_executesql, sp_prepexec / sp_execute / sp_unprepare)."""
import re
import struct

import rpc_params
import tds_tokens as tok

PROC_IDS = {10: 'sp_executesql', 12: 'sp_execute', 13: 'sp_prepexec', 15: 'sp_unprepare'}
RETURNSTATUS = 0x79
RETURNVALUE = 0xAC
_DECLARED = re.compile(r'@(\w+)')


class Call:
    def __init__(self, proc, params):
        self.proc = proc
        self.params = params      # [(name, status, value)]


def parse(payload, version):
    r = rpc_params.Reader(payload)
    if version >= 72:
        r.pos = struct.unpack_from('<I', payload)[0]
    length = r.unpack('<H')
    proc = (PROC_IDS.get(r.unpack('<H'), '?') if length == 0xFFFF
            else r.take(2 * length).decode('utf-16-le').lower())
    r.unpack('<H')   # option flags
    params = []
    while not r.at_end() and r.data[r.pos] not in (0x80, 0xFF):
        params.append(rpc_params.read_param(r))
    return Call(proc, params)


def _bindings(declaration, values):
    """Map '@P1 int, @P2 nvarchar(4)' onto the values in order (SQLite binds @P1 itself)."""
    names = _DECLARED.findall(declaration or '')
    return {name: value for name, (_, _, value) in zip(names, values)}


def _return_value(ordinal, handle, version):
    user_type = bytes(4 if version >= 72 else 2)
    return (struct.pack('<BH', RETURNVALUE, ordinal) + tok.b_varchar('@handle') + b'\x01'
            + user_type + b'\x09\x00' + tok.Column('', 'int').type_info(version)
            + tok.Column('', 'int').value(handle))


class Procedures:
    """Prepared statements of one session."""

    def __init__(self, session):
        self.session = session
        self.prepared = {}
        self._next_handle = 1

    def statement_text(self, call):
        """The SQL a call runs (logged and counted like a batch), or None."""
        values = [p[2] for p in call.params]
        if call.proc == 'sp_executesql' and values:
            return values[0]
        if call.proc == 'sp_prepexec' and len(values) > 2:
            return values[2]
        if call.proc == 'sp_execute' and values and values[0] in self.prepared:
            return self.prepared[values[0]][0]
        return None

    def run(self, call):
        version = self.session.version
        values = [p[2] for p in call.params]
        handle = None
        body = b''
        if call.proc == 'sp_executesql':
            stmt, declaration = (values + [None, None])[:2]
            body = self.session.run_batch(stmt or '', _bindings(declaration, call.params[2:]),
                                          in_proc=True)
        elif call.proc == 'sp_prepexec':
            declaration, stmt = (values + [None, None, None])[1:3]
            handle = self._prepare(stmt, declaration)
            body = self.session.run_batch(stmt or '', _bindings(declaration, call.params[3:]),
                                          in_proc=True)
        elif call.proc == 'sp_execute' and values and values[0] in self.prepared:
            stmt, declaration = self.prepared[values[0]]
            body = self.session.run_batch(stmt, _bindings(declaration, call.params[1:]),
                                          in_proc=True)
        elif call.proc == 'sp_unprepare':
            self.prepared.pop(values[0] if values else None, None)
        else:
            return self.session.error_stream([self.session.persona.make(2812, name=call.proc)])
        failed = body.endswith(_failed_tail(version))
        tail = struct.pack('<Bi', RETURNSTATUS, 0)
        if handle is not None:
            tail += _return_value(0, handle, version)
        status = tok.DONE_ERROR if failed else tok.DONE_FINAL
        return body + tail + tok.done(status, 0, version, token=tok.DONEPROC)

    def _prepare(self, stmt, declaration):
        handle = self._next_handle
        self._next_handle += 1
        self.prepared[handle] = (stmt or '', declaration)
        return handle


def _failed_tail(version):
    """The DONEINPROC a failing statement ends with inside a procedure."""
    return tok.done(tok.DONE_ERROR | tok.DONE_MORE, 0, version, token=tok.DONEINPROC)
