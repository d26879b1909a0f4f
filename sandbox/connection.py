"""One client connection: a reader thread that always watches the socket, and a worker
thread that runs requests, so attention and disconnects are seen mid-statement."""
import queue
import struct
import threading

import encryption
import login
import tds_packets as pk
import tds_tokens as tok
import rpc
from catalogues import LOGIN_FAILURES
from messages import GENERIC, ServerMessage
from session import Session
from tls_link import TlsLink

USER = 'DBOPS'
PASSWORD = '58GrUw3Hyb!!'
LOGIN_PACKET_SIZE = 4096


class Connection:
    def __init__(self, server, sock, spid):
        self.server = server
        self.sock = sock
        self.stream = sock      # what TDS packets travel over: the socket, or TLS on it
        self.spid = spid
        self.settings = server.settings
        self.persona = self.settings.persona
        self.session = None
        self.packet_size = LOGIN_PACKET_SIZE
        self.cancel = threading.Event()       # attention received or connection gone
        self.gone = threading.Event()         # killed: stop whatever is still being sent
        # Taken when the connection starts, so a test can give each connection its own.
        faults = server.faults.current
        self.silent = faults.silent_prelogin
        self.trickle = faults.trickle
        self.stall = faults.stall
        self._requests = queue.Queue()
        self._kill_lock = threading.Lock()
        self._killed = False

    def start(self):
        threading.Thread(target=self._read_loop, name='conn-%d' % self.spid, daemon=True).start()

    def kill(self, reset=False):
        """Close the socket now (FIN, or RST with reset=True); the threads then wind down."""
        with self._kill_lock:
            if self._killed:
                return
            self._killed = True
        self.gone.set()
        pk.close_now(self.sock, reset)

    # -- reader -----------------------------------------------------------------------
    def _read_loop(self):
        worker = None
        try:
            if self.silent:
                while True:
                    pk.read_message(self.stream)
            if not self._handshake():
                return
            worker = threading.Thread(target=self._work_loop, daemon=True)
            worker.start()
            while True:
                ptype, payload = pk.read_message(self.stream)
                if ptype == pk.ATTENTION:
                    self.cancel.set()
                    self.session.interrupt()
                self._requests.put((ptype, payload))
        except pk.ConnectionClosed:
            pass
        finally:
            self.cancel.set()
            if worker is None:
                self._finish()
            else:
                self.session.interrupt()
                self._requests.put(None)

    def _handshake(self):
        """PRELOGIN, the TLS handshake its answer may start, then LOGIN7; False: close."""
        answer = None       # no PRELOGIN (TDS 7.0): no encryption
        while True:
            ptype, payload = pk.read_message(self.stream)
            if ptype == pk.PRELOGIN and answer in encryption.TLS_ANSWERS:
                return self._login_over_tls(payload, answer)
            if ptype == pk.PRELOGIN:
                asked = encryption.asked(payload)
                self.server.client_encryption = encryption.describe(asked)
                answer = encryption.answer(self.settings.encrypt, asked)
                self._send(login.prelogin_reply(self.persona, answer), 'prelogin')
            elif ptype == pk.LOGIN7 and answer not in encryption.TLS_ANSWERS:
                # Force Encryption refuses a client that cannot encrypt.
                return self.settings.encrypt != 'all' and self._login(payload, False, False)
            else:
                return False    # pre-7.0 login, plain LOGIN7 after TLS was agreed, ...

    def _login_over_tls(self, hello, answer):
        """The TLS handshake, then LOGIN7 inside TLS; ENCRYPT_OFF: the rest in the clear."""
        link = TlsLink(self.server.certificate.context(), self.sock)
        link.handshake(hello, lambda data: self._send(data, 'prelogin', pk.PRELOGIN))
        ptype, payload = pk.read_message(link)
        if ptype != pk.LOGIN7:
            return False
        whole = answer != encryption.OFF
        self.stream = link if whole else self.sock
        return self._login(payload, True, whole)

    def _login(self, payload, tls, whole):
        try:
            request = login.parse_login7(payload)
        except (ValueError, struct.error):
            return False
        faults = self.server.faults.current
        if faults.login_delay and self.cancel.wait(faults.login_delay):
            return False
        answered = min(request.version, max(self.server.tds_version, self.persona.tds))
        name = request.database or self.settings.default_database
        session = Session(lambda: self.server.folder, self.server.occupancy, answered,
                          request.user, self.persona, self.settings.least_privilege,
                          self.cancel.wait)
        errors = self._refusal(request, session, name)
        self.server.record_login(tls=tls, whole=whole, database=name, ok=not errors)
        if errors:
            self._send(login.failure_stream(errors, request.version), 'login')
            return False
        self.session = session
        self.procedures = rpc.Procedures(session)
        size = login.negotiate_packet_size(request.packet_size)
        self._send(login.success_stream(self.persona, session.database.name, request.version,
                                        answered, size), 'login')
        self.packet_size = size
        return True

    def _refusal(self, request, session, name):
        """The messages refusing this login, [] once the session has opened `name`."""
        make = self.persona.make
        refuse = self.server.faults.current.refuse_logins
        if refuse:
            errors = [make(refuse, user=request.user, database=name)]
            return errors + ([] if refuse in LOGIN_FAILURES else [make(18456, user=request.user)])
        if request.user != USER or request.password != PASSWORD:
            return [make(18456, user=request.user)]
        try:
            session.open(name)
        except ServerMessage as error:
            cause = [error] if error.number in self.persona.login_causes else []
            opening = (make(4060, database=name) if request.database else make(4064))
            return cause + [opening, make(18456, user=request.user)]
        return []

    # -- worker -----------------------------------------------------------------------
    def _work_loop(self):
        try:
            while True:
                item = self._requests.get()
                if item is None:
                    return
                ptype, payload = item
                if ptype == pk.ATTENTION:
                    self.cancel.clear()
                    self._send(tok.done(tok.DONE_ATTN, 0, self.session.version))
                elif ptype == pk.SQL_BATCH:
                    self._batch(payload)
                elif ptype == pk.TRANSACTION:
                    self._reply(self.session.transaction_request(payload))
                elif ptype == pk.RPC:
                    self._rpc(payload)
                else:
                    return
        except pk.ConnectionClosed:
            pass
        finally:
            self._finish()

    def _batch(self, payload):
        if self.session.version >= 72 and len(payload) >= 4:
            payload = payload[struct.unpack_from('<I', payload)[0]:]
        text = payload.decode('utf-16-le', 'replace')
        self._statement(text, lambda: self.session.run_batch(text))

    def _rpc(self, payload):
        """Procedure calls carrying SQL are logged and fault-counted like batches."""
        try:
            call = rpc.parse(payload, self.session.version)
        except (ValueError, struct.error) as error:
            self._reply(self.session.error_stream([ServerMessage(GENERIC, str(error))]))
            return
        text = self.procedures.statement_text(call)
        if text is None:
            self._reply(self.procedures.run(call))
        else:
            self._statement(text, lambda: self.procedures.run(call))

    def _statement(self, text, run):
        self.server.log_batch(self.session.database.name, text)
        action = self.server.faults.on_batch(text)
        if action == 'stop':
            self.server.stop(stopping_connection=self)
            raise pk.ConnectionClosed('instance stopped')
        if action == 'drop':
            self.kill(reset=self.server.faults.current.drop_mode == 'rst')
            raise pk.ConnectionClosed('dropped')
        if action:
            _, number, match = action
            error = self.persona.make(number, database=self.session.database.name, spid=self.spid,
                                      user=self.session.user, name=match)
            self._reply(self.session.error_stream([error]))
            return
        if self.stall:
            self.stall = False
            self.cancel.wait()  # no answer but the acknowledgement of a cancel
            return
        delay = self.server.faults.current.delay
        if delay and self.cancel.wait(delay):
            return
        self._reply(run())

    def _reply(self, data):
        """Send a response unless an attention arrived meanwhile (then only its ack goes out)."""
        if not self.cancel.is_set():
            self._send(data, 'statement')

    def _send(self, data, phase=None, ptype=pk.REPLY):
        framed = pk.frame(data, self.spid, self.packet_size, ptype)
        if self.trickle is None or self.trickle[0] != phase:
            pk.send_all(self.stream, framed)
            return
        # A peer that answers, but one byte at a time, whatever the client says meanwhile.
        for index in range(len(framed)):
            if self.gone.wait(self.trickle[1]):
                raise pk.ConnectionClosed('killed while trickling')
            pk.send_all(self.stream, framed[index:index + 1])

    def _finish(self):
        if self.session is not None:
            self.session.close()
        self.kill()
        self.server.forget(self)
