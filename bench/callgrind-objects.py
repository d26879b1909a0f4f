#!/usr/bin/env python3
"""Instructions per statement by shared object, from two callgrind profiles of one client:
a complete run and a short one (same start-up and login, fewer statements).

    callgrind-objects.py FULL.out FULL_STATEMENTS SHORT.out SHORT_STATEMENTS
"""
import collections
import os
import re
import sys

_NAMED = re.compile(r'\((\d+)\)(?: (.*))?')


def exclusive_by_object(path):
    """Instructions executed in each object's own code (calls into other objects excluded)."""
    names, totals = {}, collections.Counter()
    current, skip_next = None, False
    with open(path, encoding='utf-8', errors='replace') as profile:
        for line in profile:
            if line.startswith('ob='):
                current = _object(line[3:].strip(), names)
            elif line.startswith('cob='):
                _object(line[4:].strip(), names)    # may be where a name is first given
            elif line.startswith('calls='):
                skip_next = True    # the next cost line is the call's inclusive cost
            elif line[:1].isdigit() or line[:1] in '+-*':
                if skip_next:
                    skip_next = False
                    continue
                parts = line.split()
                if len(parts) >= 2 and current is not None:
                    totals[current] += int(parts[1])
    return totals


def _object(spec, names):
    match = _NAMED.fullmatch(spec)
    if not match:
        return os.path.basename(spec)
    if match.group(2):
        names[match.group(1)] = os.path.basename(match.group(2))
    return names[match.group(1)]


def main(full, full_count, short, short_count):
    statements = int(full_count) - int(short_count)
    a, b = exclusive_by_object(full), exclusive_by_object(short)
    rows = sorted(((a[o] - b[o]) / statements, o) for o in set(a) | set(b))
    print('%-32s %14s' % ('object', 'Ir/statement'))
    for per_statement, name in reversed(rows):
        if abs(per_statement) >= 50:
            print('%-32s %14.0f' % (name, per_statement))
    total = (sum(a.values()) - sum(b.values())) / statements
    print('%-32s %14.0f' % ('total', total))
    print('%-32s %14d' % ('start-up, login, one query', sum(b.values())))


if __name__ == '__main__':
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
