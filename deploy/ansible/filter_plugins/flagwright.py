# Filters of flagwright.yml: what flagwright-cli's JSON lines tell, as lines of the log. Every
# text in them came from a database or the server, so each is shown the way the program's own
# text output shows names: a line break, a tab or a control character cannot make or fake a
# line of the log, nor reach the terminal.

import json


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


def flagwright_lines(run):
    """The objects a registered run printed, one per JSON line; none of a skipped run."""
    return [json.loads(line) for line in run.get("stdout_lines", []) if line]


def flagwright_listed(lines):
    """Whether a run printed its summary line, having listed the databases."""
    return (any("summary" in line for line in lines)
            and all(line.get("database", "") is not None for line in lines))


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


def _failed(line):
    return line.get("outcome") in ("failed", "no-database")


def _run_failure(name, run, lines):
    """Why a run that did not end as its summary line says, or printed none, fails the host."""
    summary = next((line for line in lines if "summary" in line), None)
    rc = run.get("rc")
    if summary is not None and rc == summary["exitCode"]:
        return []
    text = "%s --all ended with exit code %s" % (name, "none" if rc is None else rc)
    if summary is None:
        text += ", without its summary line"
    # The program's own errors, or why it did not start.
    why = run.get("stderr") or ("" if run.get("stdout") else run.get("msg", ""))
    return [text + (": " + flagwright_shown(why) if why else "")]


def flagwright_failures(check, update):
    """Why the host fails, one text each, or none: a run that did not end as its summary line
    says; the databases that could not be listed, that drifted (an update refuses them), that
    the update failed, or that the check failed and the update did not then update or fail."""
    check_lines = flagwright_lines(check)
    update_lines = flagwright_lines(update)
    failures = _run_failure("check", check, check_lines)
    if not update.get("skipped"):
        failures += _run_failure("update", update, update_lines)
    told = {line.get("database") for line in update_lines
            if _failed(line) or line.get("outcome") == "updated"}
    databases = [line for line in check_lines
                 if line.get("outcome") == "drifted"
                 or (_failed(line) and line.get("database") not in told)]
    databases += [line for line in update_lines if _failed(line)]
    return failures + [flagwright_database_line(line) for line in databases]


class FilterModule:
    def filters(self):
        return {"flagwright_shown": flagwright_shown,
                "flagwright_lines": flagwright_lines,
                "flagwright_listed": flagwright_listed,
                "flagwright_database_line": flagwright_database_line,
                "flagwright_failures": flagwright_failures}
