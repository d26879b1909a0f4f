"""The instance: TCP listener, browser, live connections, shared state; can stop and restart."""
import collections
import itertools
import socket
import threading

from browser import Browser
from catalog import DataFolder, fold
from certificate import Certificate
from connection import Connection
from faults import FaultState
from session import Occupancy
from settings import Settings
from tds_packets import close_now

LOGINS_KEPT = 16


def escape_log(text):
    return (text.replace('\\', '\\\\').replace('\t', '\\t').replace('\n', '\\n')
            .replace('\r', '\\r'))


class Server:
    def __init__(self, data_dir, port=0, browser_port=1434, tds_version=71, faults=None,
                 log_path=None, settings=None, certificate=None):
        """settings: the command line's (a dict); the run-time ones replace them."""
        self.folder = DataFolder(data_dir)
        self.port = port
        self.browser_port = browser_port
        self.tds_version = tds_version
        self.faults = FaultState(faults)
        self.certificate = Certificate(certificate)
        self._command_line = dict(settings or {})
        self.settings = None
        self.apply_settings({})
        self._logins = collections.deque(maxlen=LOGINS_KEPT)
        self.occupancy = Occupancy()
        self._log = open(log_path, 'a', encoding='utf-8') if log_path else None
        self._log_lock = threading.Lock()
        self._lock = threading.RLock()
        self._connections = set()
        self._listener = None
        self._browser = None
        self._spids = itertools.count(51)
        self.accepted = 0               # connections accepted since the start
        self.client_encryption = None   # what the latest client's prelogin asked for

    @property
    def running(self):
        return self._listener is not None

    def start(self):
        """Listen (again) on the same TCP and browser ports; OSError if they are taken."""
        with self._lock:
            if self.running:
                return
            listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            try:
                listener.bind(('127.0.0.1', self.port))
                listener.listen(64)
                self.port = listener.getsockname()[1]
                if self.browser_port:
                    self._browser = Browser(self.browser_port, self.port,
                                            lambda: self.settings.persona.version_text)
            except OSError:
                listener.close()
                raise
            self._listener = listener
            threading.Thread(target=self._accept_loop, args=(listener,), name='accept',
                             daemon=True).start()

    def stop(self, stopping_connection=None):
        """Close the listener, the browser and every client connection; the connection whose
        batch stops the instance goes last, so that when its client sees the failure, no
        other connection can still be answered."""
        with self._lock:
            if self._listener is not None:
                close_now(self._listener)
                self._listener = None
            if self._browser is not None:
                self._browser.close()
                self._browser = None
            # Killed connections count as gone at once; their threads finish on their own.
            connections = list(self._connections)
            self._connections.clear()
        connections.sort(key=lambda connection: connection is stopping_connection)
        for connection in connections:
            connection.kill()

    def _accept_loop(self, listener):
        while True:
            try:
                sock, _ = listener.accept()
            except OSError:
                return
            with self._lock:
                if self._listener is not listener:
                    sock.close()
                    return
                connection = Connection(self, sock, next(self._spids))
                self._connections.add(connection)
                self.accepted += 1
            connection.start()

    def forget(self, connection):
        with self._lock:
            self._connections.discard(connection)

    def set_data_dir(self, path):
        self.folder = DataFolder(path)

    def apply_settings(self, values):
        """Settings for the connections accepted from now on: `values` over the command line's.
        A certificate is made first when they encrypt (OSError when it cannot be)."""
        settings = Settings(dict(self._command_line, **values))
        if settings.encrypt != 'none':
            self.certificate.context()
        self.settings = settings

    def record_login(self, **login):
        with self._lock:
            self._logins.append(login)

    def log_batch(self, database, text):
        if self._log is None:
            return
        with self._log_lock:
            self._log.write('%s\t%s\n' % (escape_log(database), escape_log(text)))
            self._log.flush()

    def status(self):
        with self._lock:
            return {'running': self.running, 'port': self.port,
                    'browser_port': self.browser_port, 'connections': len(self._connections),
                    'accepted': self.accepted,
                    'data': self.folder.path, 'counters': self.faults.counters(),
                    'client_encryption': self.client_encryption,
                    'settings': self.settings.as_dict(), 'certificate': self.certificate.path,
                    'logins': list(self._logins)}

    def connections_to(self, name):
        """The live connections whose current database is `name`: what one test holds."""
        with self._lock:
            return sum(1 for c in self._connections
                       if c.session is not None and c.session.database is not None
                       and fold(c.session.database.name) == fold(name))

    def close(self):
        self.stop()
        self.certificate.close()
        if self._log is not None:
            with self._log_lock:
                self._log.close()
                self._log = None
