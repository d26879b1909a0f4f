"""Control socket: one JSON request per line in, one JSON answer per line out."""
import json
import os
import socket
import threading

from faults import Faults
from tds_packets import close_now


class ControlServer:
    def __init__(self, path, server):
        self.path = path
        self.server = server
        if os.path.exists(path):
            os.unlink(path)
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.bind(path)
        self.sock.listen(8)
        threading.Thread(target=self._accept_loop, name='control', daemon=True).start()

    def _accept_loop(self):
        while True:
            try:
                client, _ = self.sock.accept()
            except OSError:
                return
            threading.Thread(target=self._serve, args=(client,), daemon=True).start()

    def _serve(self, client):
        with client, client.makefile('rwb') as stream:
            for line in stream:
                if not line.strip():
                    continue
                try:
                    answer = self.handle(json.loads(line))
                except (ValueError, TypeError, KeyError, OSError) as error:
                    answer = {'ok': False, 'error': str(error)}
                stream.write(json.dumps(answer).encode() + b'\n')
                stream.flush()

    def handle(self, request):
        if not isinstance(request, dict):
            raise ValueError('expected a JSON object')
        cmd = request.get('cmd')
        server = self.server
        if cmd == 'ping':
            return {'ok': True}
        if cmd == 'faults':
            settings = request.get('faults', {})
            if not isinstance(settings, dict):
                raise ValueError('faults must be an object')
            server.faults.replace(Faults(settings))
        elif cmd == 'settings':
            values = request.get('settings', {})
            if not isinstance(values, dict):
                raise ValueError('settings must be an object')
            server.apply_settings(values)
        elif cmd == 'stop':
            server.stop()
        elif cmd == 'start':
            server.start()
        elif cmd == 'data':
            path = request['dir']
            if not os.path.isdir(path):
                raise ValueError('not a directory: %s' % path)
            server.set_data_dir(path)
        elif cmd == 'status':
            return dict(ok=True, **server.status())
        elif cmd == 'connections':
            return {'ok': True, 'connections': server.connections_to(request['database'])}
        else:
            raise ValueError('unknown cmd: %r' % (cmd,))
        return {'ok': True}

    def close(self):
        close_now(self.sock)
        if os.path.exists(self.path):
            os.unlink(self.path)
