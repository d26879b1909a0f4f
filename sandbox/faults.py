"""Injected faults and their batch counters, shared by all connections."""
import threading

KEYS = ('refuse_logins', 'fail', 'drop', 'drop_mode', 'stop', 'delay', 'login_delay',
        'silent_prelogin', 'trickle', 'stall')
TRICKLE_PHASES = ('prelogin', 'login', 'statement')


class Trigger:
    """Fires on the Nth batch whose text contains `text`."""

    def __init__(self, setting, with_errno):
        parts = str(setting).split(':', 2 if with_errno else 1)
        if len(parts) != (3 if with_errno else 2):
            raise ValueError('expected %s, got %r' % ('N:ERRNO:TEXT' if with_errno else 'N:TEXT',
                                                      setting))
        self.nth = int(parts[0])
        if self.nth < 1:
            raise ValueError('N must be at least 1: %r' % setting)
        self.errno = int(parts[1]) if with_errno else None
        self.text = parts[-1]
        self.setting = str(setting)
        self.seen = 0

    def count(self, batch):
        """Count the batch; True when this one is the Nth match."""
        if self.text not in batch:
            return False
        self.seen += 1
        return self.seen == self.nth


def parse_trickle(setting):
    """'PHASE:SECONDS': that phase's replies go out one byte per SECONDS."""
    phase, _, seconds = str(setting).partition(':')
    if phase not in TRICKLE_PHASES:
        raise ValueError('trickle phase must be one of %s: %r' % (', '.join(TRICKLE_PHASES),
                                                                  setting))
    try:
        interval = float(seconds)
    except ValueError:
        raise ValueError('expected PHASE:SECONDS, got %r' % setting) from None
    if interval <= 0:
        raise ValueError('SECONDS must be positive: %r' % setting)
    return phase, interval


def parse_refusal(setting):
    """true: every login fails with 18456; a number: with that error; false: none fails."""
    if setting is None or isinstance(setting, bool):
        return 18456 if setting else None
    if isinstance(setting, int) and setting > 0:
        return setting
    raise ValueError('refuse_logins must be true, false or an error number: %r' % (setting,))


class Faults:
    def __init__(self, settings=None):
        settings = dict(settings or {})
        unknown = set(settings) - set(KEYS)
        if unknown:
            raise ValueError('unknown fault(s): %s' % ', '.join(sorted(unknown)))
        self.refuse_logins = parse_refusal(settings.get('refuse_logins', False))
        self.silent_prelogin = bool(settings.get('silent_prelogin', False))
        self.delay = float(settings.get('delay') or 0)
        self.login_delay = float(settings.get('login_delay') or 0)
        self.drop_mode = settings.get('drop_mode') or 'fin'
        if self.drop_mode not in ('fin', 'rst'):
            raise ValueError('drop_mode must be fin or rst')
        self.trickle = parse_trickle(settings['trickle']) if settings.get('trickle') else None
        self.stall = bool(settings.get('stall', False))
        self.fail = Trigger(settings['fail'], True) if settings.get('fail') else None
        self.drop = Trigger(settings['drop'], False) if settings.get('drop') else None
        self.stop = Trigger(settings['stop'], False) if settings.get('stop') else None


class FaultState:
    """The current faults; replacing them resets every counter."""

    def __init__(self, faults=None):
        self._lock = threading.Lock()
        self.current = faults or Faults()

    def replace(self, faults):
        with self._lock:
            self.current = faults

    def on_batch(self, text):
        """Count a batch; return 'stop', 'drop', ('fail', errno, text) or None."""
        with self._lock:
            f = self.current
            hits = {name: trigger.count(text)
                    for name, trigger in (('stop', f.stop), ('drop', f.drop), ('fail', f.fail))
                    if trigger}
        if hits.get('stop'):
            return 'stop'
        if hits.get('drop'):
            return 'drop'
        if hits.get('fail'):
            return ('fail', f.fail.errno, f.fail.text)
        return None

    def counters(self):
        with self._lock:
            f = self.current
            return {name: {'trigger': t.setting, 'seen': t.seen}
                    for name, t in (('fail', f.fail), ('drop', f.drop), ('stop', f.stop)) if t}
