#!/usr/bin/env python3
"""The timeline of a dispatch, for scripts/bench-dispatch.sh: reads traces of
single starts taken under WINEDEBUG=+timestamp,+loaddll,+relay (the relay
limited to the calls named below) and prints, per program, the median time
of each phase of its start, side by side.

    dispatch_timeline.py TRACE...

A trace is named <program>.<n>.trace; the traces of one program form one
column. Only the lines of the process that maps the program's own exe
count: Wine's services and the started program write to the same stream.
"""
import re
import statistics
import sys

# The calls the relay must include (the bench sets RelayInclude to these).
RELAYED = ["user32.CreateWindowExA", "ole32.OleInitialize", "ole32.RegisterDragDrop",
           "user32.SetTimer", "user32.PostMessageA", "user32.GetMessageA",
           "shell32.ShellExecuteA"]

# The first line matching each pattern marks the event. A window procedure
# of the exe lies at its image base: 0x400000 (i686) or 0x140000000.
OWN_PROC = r'Call window proc 0*(4|1400)[0-9A-Fa-f]{5} \(hwnd=[0-9A-Fa-f]+,msg='
MARKS = [
    ("mapped", r'loaddll:build_module Loaded L"[^"]*\\(Tavrin|dispatch_floor)[^"\\]*\.exe"'),
    ("entry", r'Starting thread proc'),
    ("CreateWindowExA", r'Call user32\.CreateWindowExA'),
    ("WM_CREATE", OWN_PROC + r'WM_CREATE'),
    ("OleInitialize", r'Call ole32\.OleInitialize'),
    ("OleInitialize ret", r'Ret  ole32\.OleInitialize'),
    ("RegisterDragDrop", r'Call ole32\.RegisterDragDrop'),
    ("RegisterDragDrop ret", r'Ret  ole32\.RegisterDragDrop'),
    ("deferred", r'Call user32\.(SetTimer|PostMessageA)'),
    # The start-up action: the zero-period timer, or the posted message.
    ("start-up action", OWN_PROC + r'(WM_TIMER|0*8061),'),
    ("ShellExecuteA", r'Call shell32\.ShellExecuteA'),
    ("ShellExecuteA ret", r'Ret  shell32\.ShellExecuteA'),
]
PHASES = [
    ("exe mapped to entry: imports loaded, attached", "mapped", "entry"),
    ("entry to the main window's WM_CREATE", "entry", "WM_CREATE"),
    ("  of which CreateWindowExA to WM_CREATE", "CreateWindowExA", "WM_CREATE"),
    ("WM_CREATE to the start-up action", "WM_CREATE", "start-up action"),
    ("  of which names, keys, mutex, settings", "WM_CREATE", "OleInitialize"),
    ("  of which OleInitialize", "OleInitialize", "OleInitialize ret"),
    ("  of which RegisterDragDrop", "RegisterDragDrop", "RegisterDragDrop ret"),
    ("  of which timer or message to the action", "deferred", "start-up action"),
    ("start-up action to ShellExecuteA", "start-up action", "ShellExecuteA"),
    ("ShellExecuteA", "ShellExecuteA", "ShellExecuteA ret"),
    ("ShellExecuteA returned to exit", "ShellExecuteA ret", "end"),
    ("whole run: exe mapped to exit", "mapped", "end"),
]
LINE = re.compile(r'^(\d+\.\d+):([0-9a-f]+):')


def marks(path):
    found, pid = {}, None
    with open(path, errors="replace") as trace:
        for line in trace:
            m = LINE.match(line)
            if not m:
                continue
            t, p = float(m.group(1)) * 1000, m.group(2)
            if pid is None:
                if not re.search(MARKS[0][1], line):
                    continue
                pid = p
            if p != pid:
                continue
            for name, pattern in MARKS:
                if name not in found and re.search(pattern, line):
                    found[name] = t
            found["end"] = t
    return found


def cell(durations):
    if not durations:
        return f"{'-':>18s}"
    return f"{statistics.median(durations):7.1f} [{min(durations):.0f}-{max(durations):.0f}]".rjust(18)


def main():
    columns = {}
    for path in sys.argv[1:]:
        name = path.replace("\\", "/").split("/")[-1].rsplit(".", 2)[0]
        columns.setdefault(name, []).append(marks(path))
    names = list(columns)
    print(f"{'phase: median [min-max] ms':48s}" + "".join(f"{n:>18s}" for n in names))
    for phase, first, then in PHASES:
        row = f"{phase:48s}"
        for n in names:
            row += cell([m[then] - m[first] for m in columns[n]
                         if first in m and then in m and m[then] >= m[first]])
        print(row)
    print(f"{'runs':48s}" + "".join(f"{len(columns[n]):>18d}" for n in names))


if __name__ == "__main__":
    main()
