"""Turn a T-SQL batch into a statement SQLite can run, rewriting only what it cannot take."""
import re

SYSDATABASES_TABLE = 'temp.ew_sysdatabases'
SYS_DATABASES_TABLE = 'temp.ew_sys_databases'

_PLACEHOLDER = re.compile(r'\x01(\d+)\x01')
_USE = re.compile(r'use\s+(\[(?:[^\]]|\]\])*\]|[^\s\[\]]+)', re.I | re.S)
_BEGIN = re.compile(r'begin\s+tran(?:saction)?(?:\s+\w+)?', re.I)
_IF_END = re.compile(r'if\s+@@trancount\s*>\s*0\s+(commit|rollback)(?:\s+tran(?:saction)?)?'
                     r'(\s+begin\s+tran(?:saction)?)?', re.I)
_SYSDATABASES = re.compile(r'(?<![\w\].])(?:\[?master\]?\s*\.\s*(?:\[?dbo\]?)?\s*\.\s*'
                           r'|\[?dbo\]?\s*\.\s*)?\[?sysdatabases\]?(?!\w)', re.I)
_SYS_DATABASES = re.compile(r'(?<![\w\].])(?:\[?master\]?\s*\.\s*)?\[?sys\]?\s*\.\s*'
                            r'\[?databases\]?(?!\w)', re.I)
_DB_NAME = re.compile(r'\bdb_name\s*\(\s*\)', re.I)
_VERSION = re.compile(r'@@version\b', re.I)


class Statement:
    """kind: use, begin, commit, rollback or sql (arg: target database / SQL text)."""

    def __init__(self, kind, arg=None, begin_again=False, catalog=()):
        self.kind = kind
        self.arg = arg
        self.begin_again = begin_again      # IF @@TRANCOUNT > 0 COMMIT BEGIN TRANSACTION
        self.catalog = catalog


def _mask(batch):
    """Replace string literals by placeholders and drop comments, so that the patterns below
    never look inside a literal, a [bracketed] name or a comment."""
    literals, current = [], []
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
        elif ch == '[':
            j = i + 1
            while j < n and not (batch[j] == ']' and batch[j + 1:j + 2] != ']'):
                j += 2 if batch[j] == ']' else 1
            current.append(batch[i:j + 1])
            i = j + 1
        elif batch.startswith('--', i):
            j = batch.find('\n', i)
            i = n if j < 0 else j
            current.append(' ')
        else:
            current.append(ch)
            i += 1
    return ''.join(current).strip(), literals


def unquote(identifier):
    if identifier[:1] == '[':
        return identifier[1:-1].replace(']]', ']')
    return identifier


def quote_literal(text):
    return "'%s'" % text.replace("'", "''")


def statement(batch, database, version):
    """The statement a batch holds, run in `database` (the value of db_name()) on a server whose
    @@VERSION is `version`."""
    text, literals = _mask(batch)
    use = _USE.fullmatch(text)
    if use:
        return Statement('use', unquote(use.group(1)))
    if _BEGIN.fullmatch(text):
        return Statement('begin')
    end = _IF_END.fullmatch(text)
    if end:
        return Statement(end.group(1).lower(), begin_again=bool(end.group(2)))
    catalog = set()
    if _SYSDATABASES.search(text):
        catalog.add('sysdatabases')
        text = _SYSDATABASES.sub(SYSDATABASES_TABLE, text)
    if _SYS_DATABASES.search(text):
        catalog.add('sys.databases')
        text = _SYS_DATABASES.sub(SYS_DATABASES_TABLE, text)
    text = _DB_NAME.sub(lambda _: quote_literal(database), text)
    text = _VERSION.sub(lambda _: quote_literal(version), text)
    text = _PLACEHOLDER.sub(lambda m: literals[int(m.group(1))], text)
    return Statement('sql', text, catalog=frozenset(catalog))
