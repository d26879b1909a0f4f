"""Turn a T-SQL batch into statements SQLite can run, rewriting only what it cannot take."""
import re

SYSDATABASES_TABLE = 'temp.ew_sysdatabases'
SYS_DATABASES_TABLE = 'temp.ew_sys_databases'

_PLACEHOLDER = re.compile(r'\x01(\d+)\x01')
_IDENT = r'(?:\[(?:[^\]]|\]\])*\]|"(?:[^"]|"")*"|[^\s;\[\]"]+)'
_USE = re.compile(r'use\s+(%s)' % _IDENT, re.I | re.S)
_SET = re.compile(r'set\s', re.I)
_BEGIN = re.compile(r'begin\s+tran(?:saction)?(?:\s+\w+)?', re.I)
_END = re.compile(r'(commit|rollback)(?:\s+(?:tran(?:saction)?|work))?(?:\s+\w+)?', re.I)
_IF_END = re.compile(r'if\s+@@trancount\s*>\s*0\s+(commit|rollback)(?:\s+tran(?:saction)?)?'
                     r'(\s+begin\s+tran(?:saction)?)?', re.I)
_SYSDATABASES = re.compile(r'(?<![\w\].])(?:\[?master\]?\s*\.\s*(?:\[?dbo\]?)?\s*\.\s*'
                           r'|\[?dbo\]?\s*\.\s*)?\[?sysdatabases\]?(?!\w)', re.I)
_SYS_DATABASES = re.compile(r'(?<![\w\].])(?:\[?master\]?\s*\.\s*)?\[?sys\]?\s*\.\s*'
                            r'\[?databases\]?(?!\w)', re.I)
_NATIONAL = re.compile(r'(?<![\w@#$])[Nn](?=\x01\d+\x01)')
_GLOBAL = re.compile(r'@@(\w+)|\bdb_name\s*\(\s*\)', re.I)


class Statement:
    """kind: use, noop, begin, commit, rollback or sql (arg: target database / SQL text)."""

    def __init__(self, kind, arg=None, conditional=False, begin_again=False, catalog=()):
        self.kind = kind
        self.arg = arg
        self.conditional = conditional      # IF @@TRANCOUNT > 0 ...: never complains
        self.begin_again = begin_again
        self.catalog = catalog


def _scan(batch):
    """Split at top-level ';' and replace string literals by placeholders, dropping comments."""
    literals, statements, current = [], [], []
    i, n = 0, len(batch)
    while i < n:
        ch = batch[i]
        if ch == "'":
            j = i + 1
            while j < n and not (batch[j] == "'" and batch[j + 1:j + 2] != "'"):
                j += 2 if batch[j] == "'" else 1
            literals.append(batch[i:j + 1])
            current.append('\x01%d\x01' % (len(literals) - 1))
            i = j + 1
        elif ch in '["':
            close = ']' if ch == '[' else '"'
            j = i + 1
            while j < n and not (batch[j] == close and batch[j + 1:j + 2] != close):
                j += 2 if batch[j] == close else 1
            current.append(batch[i:j + 1])
            i = j + 1
        elif batch.startswith('--', i):
            j = batch.find('\n', i)
            i = n if j < 0 else j
            current.append(' ')
        elif batch.startswith('/*', i):
            j = batch.find('*/', i + 2)
            i = n if j < 0 else j + 2
            current.append(' ')
        elif ch == ';':
            statements.append(''.join(current))
            current = []
            i += 1
        else:
            current.append(ch)
            i += 1
    statements.append(''.join(current))
    return [s.strip() for s in statements if s.strip()], literals


def unquote(identifier):
    if identifier[:1] == '[':
        return identifier[1:-1].replace(']]', ']')
    if identifier[:1] == '"':
        return identifier[1:-1].replace('""', '"')
    return identifier


def quote_literal(text):
    return "'%s'" % text.replace("'", "''")


def split_batch(batch, globals_):
    """Statements of a batch; globals_ maps lower-case @@names (and db_name) to values."""
    masked, literals = _scan(batch)
    result = []
    for text in masked:
        if _USE.fullmatch(text):
            result.append(Statement('use', unquote(_USE.fullmatch(text).group(1))))
        elif _SET.match(text):
            result.append(Statement('noop'))
        elif _BEGIN.fullmatch(text):
            result.append(Statement('begin'))
        elif _END.fullmatch(text) or _IF_END.fullmatch(text):
            match = _END.fullmatch(text) or _IF_END.fullmatch(text)
            conditional = match.re is _IF_END
            result.append(Statement(match.group(1).lower(), conditional=conditional,
                                    begin_again=conditional and bool(match.group(2))))
        else:
            result.append(_sql_statement(text, literals, globals_))
    return result


def _sql_statement(text, literals, globals_):
    catalog = set()
    if _SYSDATABASES.search(text):
        catalog.add('sysdatabases')
        text = _SYSDATABASES.sub(SYSDATABASES_TABLE, text)
    if _SYS_DATABASES.search(text):
        catalog.add('sys.databases')
        text = _SYS_DATABASES.sub(SYS_DATABASES_TABLE, text)
    text = _NATIONAL.sub('', text)

    def global_value(match):
        key = (match.group(1) or 'db_name').lower()
        if key not in globals_:
            return match.group(0)
        value = globals_[key]
        return str(value) if isinstance(value, int) else quote_literal(value)

    text = _GLOBAL.sub(global_value, text)
    text = _PLACEHOLDER.sub(lambda m: literals[int(m.group(1))], text)
    return Statement('sql', text, catalog=frozenset(catalog))
