#!/usr/bin/env python3
"""The soak run (a benchmark, not a test): one resident copy of Tavrin.exe
under Wine driven through 5,000 hand-offs, 500 list loads from a page and
a shortcut folder, 500 clipboard changes with watching on and 200 row
menus, in a fixed mixed order, by the end-to-end driver's session command.
Every 500 steps (and after the first hundred) it records the process's
handle count, its GDI and USER object counts where the system reports them
(Wine reports none) and its memory, prints them as a table and judges
whether they stay flat after the first hundred steps.

    soak.py --driver DRIVER.exe --tavrin Tavrin.exe --work DIR [--scale F]

--scale multiplies every count (0.1 for a quick look); --only KIND runs
that kind of step alone, at its own count times the scale, to find which
kind a growth comes from."""
import argparse
import os
import random
import shutil
import subprocess
import sys
import time

COUNTS = {"handoff": 5000, "load": 500, "clipboard": 500, "menu": 200}
EVERY = 500
# Growth after the first hundred steps that still counts as noise: handles
# and objects may wander by a few, memory by what the allocator keeps.
HANDLE_SLACK = 10
OBJECT_SLACK = 10
MEMORY_SLACK_KB = 2048
FIGURES = ("handles", "gdi", "user", "working_kb", "private_kb")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def hexed(data):
    return data.hex() if data else "-"


def crlf(*lines):
    return "".join(line + "\r\n" for line in lines).encode("cp932")


def prepare(work, tavrin):
    """The program's folder and the data the steps hand over."""
    shutil.rmtree(work, ignore_errors=True)
    folder = os.path.join(work, "Tavrin")
    os.makedirs(os.path.join(folder, "links"))
    shutil.copyfile(tavrin, os.path.join(folder, "Tavrin.exe"))
    with open(os.path.join(folder, "Tavrin.ini"), "wb") as f:
        f.write(crlf("[system]"))
    with open(os.path.join(folder, "five.txt"), "wb") as f:
        f.write(crlf(*[f"http://start.example/{i}.html" for i in range(5)]))
    anchors = "".join(f'<a href="http://page.example/{i}.html">Link {i}</a>\n' for i in range(50))
    with open(os.path.join(folder, "page.html"), "wb") as f:
        f.write(f"<html><head><title>Soak</title></head><body>{anchors}</body></html>".encode())
    for i in range(20):
        with open(os.path.join(folder, "links", f"s{i}.url"), "wb") as f:
            f.write(crlf("[InternetShortcut]", f"URL=http://shortcut.example/{i}.html"))
    data = {}
    payloads = {
        "urls_a": b"http://a.example/1.html http://a.example/2.html http://a.example/3.html",
        "urls_b": b"http://b.example/1.html\r\nhttp://b.example/2.html",
        "page": windows_path(os.path.join(folder, "page.html")).encode("cp932"),
        "folder": windows_path(os.path.join(folder, "links")).encode("cp932"),
    }
    for name, payload in payloads.items():
        path = os.path.join(work, name)
        with open(path, "wb") as f:
            f.write(payload)
        data[name] = windows_path(path).encode("cp932")
    return folder, data


def counts(scale, only):
    return {kind: max(1, int(n * scale)) for kind, n in COUNTS.items() if not only or kind == only}


def script(folder, data, scale, only):
    """The session's steps, and the step count at each resource probe."""
    actions = [kind for kind, n in counts(scale, only).items() for _ in range(n)]
    random.Random(30).shuffle(actions)
    steps = ["start " + hexed(windows_path(os.path.join(folder, "five.txt")).encode("cp932")),
             "wait-list", "wait-rows 5", "command 904", "resources at.0"]
    probes = [0]
    clips = (b"http://c.example/1.html\r\nhttp://c.example/2.html", b"http://d.example/1.html http://d.example/2.html")
    for i, kind in enumerate(actions, 1):
        if kind == "handoff":
            steps.append("copydata 0 " + hexed(data["urls_a" if i % 2 else "urls_b"]))
        elif kind == "load":
            steps.append("copydata 0 " + hexed(data["page" if i % 2 else "folder"]))
        elif kind == "clipboard":
            steps.append("clipboard " + hexed(clips[i % 2]))
            steps.append("sleep 30")
        else:
            steps.append(f"row-menu 0 menu.{i}")
        if i == 100 or i % EVERY == 0 or i == len(actions):
            steps.append(f"resources at.{i}")
            probes.append(i)
    steps.append("close")
    return steps, sorted(set(probes)), len(actions)


def read_report(path):
    report = {}
    with open(path, "rb") as f:
        for line in f.read().decode("ascii").splitlines():
            key, _, value = line.partition("=")
            try:
                report[key] = int(value)
            except ValueError:
                report[key] = value
    return report


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--tavrin", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--scale", type=float, default=1.0)
    parser.add_argument("--only", choices=sorted(COUNTS))
    args = parser.parse_args()
    folder, data = prepare(args.work, args.tavrin)
    steps, probes, total = script(folder, data, args.scale, args.only)
    session = os.path.join(args.work, "session.txt")
    with open(session, "w") as f:
        f.write("\n".join(steps) + "\n")
    out = os.path.join(args.work, "soak.out")
    print(f"{total} steps ({', '.join(f'{n} {k}' for k, n in counts(args.scale, args.only).items())})",
          flush=True)
    began = time.monotonic()
    with open(os.path.join(args.work, "driver.log"), "wb") as log:
        done = subprocess.run(["wine", args.driver, "session", "--exe", windows_path(os.path.join(folder, "Tavrin.exe")),
                               "--script", windows_path(session), "--out", windows_path(out)],
                              stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
    seconds = time.monotonic() - began
    report = read_report(out)
    if done.returncode != 0 or "error" in report:
        failed = report.get("error.text", "")
        print(f"the session failed at step {report.get('error')}: {bytes.fromhex(failed).decode('cp932', 'replace') if failed else '?'}")
        return 1
    print(f"ran in {seconds:.0f} s; exit code {report.get('exit_code')}")
    print(f"{'step':>6} " + " ".join(f"{name:>11}" for name in FIGURES))
    rows = {}
    for step in probes:
        row = [report.get(f"at.{step}.{name}", 0) for name in FIGURES]
        rows[step] = row
        print(f"{step:>6} " + " ".join(f"{v:>11}" for v in row))
    settled = 100 if 100 in rows else probes[0]
    first, last = rows[settled], rows[probes[-1]]
    slack = {"handles": HANDLE_SLACK, "gdi": OBJECT_SLACK, "user": OBJECT_SLACK,
             "working_kb": MEMORY_SLACK_KB, "private_kb": MEMORY_SLACK_KB}
    flat = True
    for i, name in enumerate(FIGURES):
        growth = last[i] - first[i]
        peak = max(rows[s][i] for s in probes if s >= settled) - first[i]
        verdict = "flat" if growth <= slack[name] else "GROWS"
        flat = flat and verdict == "flat"
        print(f"{name:>11}: step {settled} {first[i]}, end {last[i]} (growth {growth:+}, peak {peak:+}): {verdict}")
    retried = sum(1 for key, value in report.items() if key.endswith(".clicks") and value > 1)
    print(f"row menus that took more than one click: {retried}")
    print("all flat after the first hundred steps" if flat else "SOMETHING GROWS")
    return 0 if flat else 1


if __name__ == "__main__":
    sys.exit(main())
