# Filters of flagwright.yml: one line of its summary for each line of flagwright-cli's JSON
# output. Every text in them came from a database or the server, so each is shown the way the
# program's own text output shows names: a line break, a tab or a control character cannot make
# or fake a line of the log, nor reach the terminal.


def flagwright_shown(text):
    """text with C0 controls, DEL and C1 controls written as \\t, \\n, \\r, \\xHH, \\u0080."""
    shown = []
    for c in str(text):
        code = ord(c)
        if c in "\t\n\r":
            shown.append({"\t": "\\t", "\n": "\\n", "\r": "\\r"}[c])
        elif code < 0x20 or code == 0x7F:
            shown.append("\\x%02x" % code)
        elif 0x80 <= code <= 0x9F:
            shown.append("\\u%04X" % code)
        else:
            shown.append(c)
    return "".join(shown)


def flagwright_database_line(line):
    """NAME: OUTCOME, with what the run adds: the versions, why it was skipped or failed."""
    if line.get("database") is None:
        return "databases not listed: " + flagwright_shown(line.get("error") or line["outcome"])
    text = flagwright_shown(line["database"]) + ": " + line["outcome"]
    if line["outcome"] == "updated":
        text += ", %s to %s" % (flagwright_shown(line["versionBefore"]),
                                flagwright_shown(line["versionAfter"]))
    elif line.get("reason"):
        text += ", " + flagwright_shown(line["reason"])
    elif line["outcome"] == "failed" and (line.get("message") or {}).get("text"):
        text += ", " + flagwright_shown(line["message"]["text"])
    elif line.get("version") is not None:
        text += " (%s)" % flagwright_shown(line["version"])
    return text


class FilterModule:
    def filters(self):
        return {"flagwright_shown": flagwright_shown,
                "flagwright_database_line": flagwright_database_line}
