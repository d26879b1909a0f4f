"""SQL Server Browser responder (SSRP over UDP) for this one named instance."""
import socket
import threading

from tds_packets import close_now

INSTANCE = 'EMBERLINE2'
CLNT_BCAST_EX = 0x02
CLNT_UCAST_EX = 0x03
CLNT_UCAST_INST = 0x04
SVR_RESP = 0x05


def response(tcp_port, version, host=None):
    text = 'ServerName;%s;InstanceName;%s;IsClustered;No;Version;%s;tcp;%d;;' % (
        host or socket.gethostname(), INSTANCE, version, tcp_port)
    data = text.encode('ascii', 'replace')
    return bytes((SVR_RESP,)) + len(data).to_bytes(2, 'little') + data


def answer(request, tcp_port, version):
    """The reply to one datagram, or None when a real browser would stay silent."""
    if not request:
        return None
    if request[0] in (CLNT_BCAST_EX, CLNT_UCAST_EX):
        return response(tcp_port, version)
    if request[0] == CLNT_UCAST_INST:
        name = request[1:].split(b'\0', 1)[0].decode('ascii', 'replace')
        if name.casefold() == INSTANCE.casefold():
            return response(tcp_port, version)
    return None


class Browser:
    """version_of(): the product version the instance plays now."""

    def __init__(self, port, tcp_port, version_of):
        self.tcp_port = tcp_port
        self.version_of = version_of
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.sock.bind(('127.0.0.1', port))
        threading.Thread(target=self._serve, name='browser', daemon=True).start()

    def _serve(self):
        while True:
            try:
                request, peer = self.sock.recvfrom(1024)
            except OSError:
                return
            if not request:
                return   # shut down
            reply = answer(request, self.tcp_port, self.version_of())
            if reply:
                try:
                    self.sock.sendto(reply, peer)
                except OSError:
                    pass

    def close(self):
        close_now(self.sock)
