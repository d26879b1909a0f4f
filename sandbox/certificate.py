"""The instance's self-signed certificate, made with openssl when first needed, as SQL Server
makes one at start when none is configured. One PEM file: the certificate, then its key."""
import os
import shutil
import ssl
import subprocess
import tempfile
import threading

SUBJECT = '/CN=SSL_Self_Signed_Fallback'


def _make(path):
    work = tempfile.mkdtemp(prefix='sandbox-certificate-')
    try:
        cert, key = os.path.join(work, 'cert.pem'), os.path.join(work, 'key.pem')
        subprocess.run(['openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-days',
                        '3650', '-subj', SUBJECT, '-keyout', key, '-out', cert],
                       check=True, capture_output=True, timeout=60)
        partial = path + '.writing'
        with open(os.open(partial, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600), 'wb') as out:
            for part in (cert, key):
                with open(part, 'rb') as source:
                    out.write(source.read())
        os.replace(partial, path)
    except (subprocess.SubprocessError, OSError) as error:
        raise OSError('cannot make a certificate with openssl: %s' % error) from error
    finally:
        shutil.rmtree(work, True)


class Certificate:
    """`path`: where it is kept (made when missing); None: a private folder of its own,
    removed by close()."""

    def __init__(self, path=None):
        self._given = path
        self._folder = None
        self._context = None
        self._lock = threading.Lock()
        self.path = None

    def context(self):
        """The server-side TLS context; OSError when no certificate can be had."""
        with self._lock:
            if self._context is None:
                path = self._given
                if path is None:
                    self._folder = tempfile.mkdtemp(prefix='sandbox-tls-')
                    path = os.path.join(self._folder, 'certificate.pem')
                if not os.path.exists(path):
                    _make(path)
                context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
                # TDS 7.x carries TLS up to 1.2; 1.3 would send tickets after the handshake,
                # outside the PRELOGIN packets.
                context.maximum_version = ssl.TLSVersion.TLSv1_2
                context.load_cert_chain(path)
                self.path, self._context = path, context
            return self._context

    def close(self):
        if self._folder is not None:
            shutil.rmtree(self._folder, True)
