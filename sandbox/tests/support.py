"""Start a sandbox instance on free ports with freshly seeded data, for one test class."""
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SANDBOX = os.path.join(os.path.dirname(HERE), 'emberline-sandbox')
# The sandbox runs on the interpreter that runs its tests (the one CMake found).
PYTHON = sys.executable
USER, PASSWORD = 'DBOPS', '58GrUw3Hyb!!'
sys.path.insert(0, os.path.dirname(HERE))

import pytds  # noqa: E402  (Debian python3-tds)

_seed_cache = {}


def seeded_copy(target):
    """Seed once per test run, then copy: seeding every class would dominate the run time."""
    if 'dir' not in _seed_cache:
        _seed_cache['dir'] = tempfile.mkdtemp(prefix='sandbox-seed-')
        run_tool('seed', _seed_cache['dir']).check_returncode()
    shutil.copytree(_seed_cache['dir'], target, dirs_exist_ok=True)


def run_tool(*args):
    """Runs the sandbox program with these arguments; returns what subprocess.run does."""
    return subprocess.run([PYTHON, SANDBOX] + list(args), capture_output=True, text=True,
                          timeout=30)


def free_udp_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class SandboxCase(unittest.TestCase):
    """Each test gets its own instance; `extra_args` adds command-line options."""

    extra_args = ()
    browser_port = 0

    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix='sandbox-test-')
        self.addCleanup(shutil.rmtree, self.tmp, True)
        self.data = os.path.join(self.tmp, 'data')
        seeded_copy(self.data)
        self.log = os.path.join(self.tmp, 'batches.log')
        self.control_path = os.path.join(self.tmp, 'control.sock')
        self.start_sandbox()

    def start_sandbox(self):
        """Starts it in the background, as the scripts do; its output goes to self.output()."""
        self.ready = os.path.join(self.tmp, 'serve.ready')
        args = [PYTHON, SANDBOX, 'serve', '--background', '--ready-file', self.ready, '--data',
                self.data, '--browser-port', str(self.browser_port), '--log', self.log,
                '--control', self.control_path]
        with open(os.path.join(self.tmp, 'serve.out'), 'w') as out:
            started = subprocess.run(args + list(self.extra_args), stdout=out,
                                     stderr=subprocess.STDOUT, timeout=30)
        self.addCleanup(self.stop_sandbox)
        self.assertEqual(started.returncode, 0, self.output())
        with open(self.ready) as ready:
            self.port = int(ready.read().split()[1])

    def output(self):
        with open(os.path.join(self.tmp, 'serve.out'), encoding='utf-8') as out:
            return out.read()

    def stop_sandbox(self):
        """Whether it ended by itself (or had ended) when asked to."""
        return run_tool('stop', self.ready).returncode == 0

    def control(self, **request):
        """The answer of the control verb, which every control request of these tests takes."""
        return json.loads(run_tool('control', self.control_path, json.dumps(request)).stdout)

    def settings(self, **values):
        """Run-time settings for the connections accepted from now on."""
        self.assertEqual(self.control(cmd='settings', settings=values), {'ok': True})

    def last_login(self):
        return self.control(cmd='status')['logins'][-1]

    def wait_for_connections(self, count, timeout=5):
        """A client's close reaches the server a moment later; wait until it has."""
        deadline = time.monotonic() + timeout
        while self.control(cmd='status')['connections'] != count:
            self.assertLess(time.monotonic(), deadline, 'connections never reached %d' % count)
            time.sleep(0.02)

    def pytds(self, database='Emberline', user=USER, password=PASSWORD, **options):
        options.setdefault('autocommit', True)
        options.setdefault('login_timeout', 5)
        conn = pytds.connect('127.0.0.1', port=self.port, user=user, password=password,
                             database=database, disable_connect_retry=True, **options)
        self.addCleanup(conn.close)
        return conn

    def query(self, sql, database='Emberline'):
        with self.pytds(database).cursor() as cursor:
            cursor.execute(sql)
            return cursor.fetchall()

    def odbc(self, database='Emberline', login_timeout=5, **options):
        import odbc
        conn = odbc.Connection(odbc.connection_string(self.port, database, **options),
                               login_timeout)
        self.addCleanup(conn.close)
        return conn

    def tsql(self, script, database='Emberline', password=PASSWORD):
        """Run FreeTDS tsql; returns (stdout, stderr)."""
        done = subprocess.run(['tsql', '-H', '127.0.0.1', '-p', str(self.port), '-U', USER,
                               '-P', password, '-D', database],
                              input=script, capture_output=True, text=True, timeout=30)
        return done.stdout, done.stderr

    def log_lines(self):
        with open(self.log, encoding='utf-8') as log:
            return log.read().splitlines()
