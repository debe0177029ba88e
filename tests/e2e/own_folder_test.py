#!/usr/bin/env python3
"""Tavrin.exe installed in a folder whose name code page 932 cannot hold:
"Café" (é has no code page 932 form; best fit makes it "e") and "¥" (best
fit makes it a backslash, which changes the path itself). The program
reaches its own folder through its short name: it reads its own settings,
starts the program they name, empties its own temporary folder and loads
its own libraries, and never reads or creates a folder of a look-alike
name. The check tool beside it reads the same settings."""
import os
import shutil
import subprocess
import time

from list_session import Rows, Session
from tavrin_e2e import Case, check, check_equal, cp932, main, windows_path

SETTINGS = b"[system]\r\n@temp=del\r\n[blank]#\r\nrec.exe\r\n%end\r\n"
URL = b"http://a.example/x"


def installed(args, name, folder, lookalike=None):
    """A case whose program lives in `folder` (below the case's own folder)
    with the recorder beside it; a look-alike folder, when given, holds
    settings, a recorder and a temporary file of its own."""
    shutil.rmtree(os.path.join(args.scratch, name), ignore_errors=True)
    case = Case(args, name, folder_name=os.path.join(name, folder))
    recorder = os.environ.get("TAVRIN_RECORDER") or os.path.join(os.path.dirname(args.tavrin), "recorder.exe")
    shutil.copyfile(recorder, case.path("rec.exe"))
    case.write("Tavrin.ini", SETTINGS)
    case.write("temp/old.txt", b"x")
    if lookalike:
        other = os.path.join(args.scratch, name, lookalike)
        os.makedirs(os.path.join(other, "temp"))
        shutil.copyfile(recorder, os.path.join(other, "rec.exe"))
        with open(os.path.join(other, "Tavrin.ini"), "wb") as f:
            f.write(SETTINGS)
        with open(os.path.join(other, "temp", "kept.txt"), "wb") as f:
            f.write(b"x")
    return case


def recorded_starts(case):
    """The recorder's command lines, once its one start has written (a
    start just made may not have, on a busy machine)."""
    log = case.path("rec.exe.log")
    deadline = time.monotonic() + 10
    while not os.path.exists(log) and time.monotonic() < deadline:
        time.sleep(0.05)
    time.sleep(0.3)
    if not os.path.exists(log):
        return []
    with open(log, "rb") as f:
        return [line[4:] for line in f.read().split(b"\n") if line.startswith(b"cmd=")]


def starts_its_program(case):
    code, report, seconds = case.drive("run", URL, timeout_ms=10000)
    check_equal(code, 0, "driver exit code (0: ended in time)")
    check_equal(report.messages(), [], "message boxes")
    check_equal(report["exit_code"], 0, "program exit code")
    starts = recorded_starts(case)
    check_equal(len(starts), 1, f"starts of its own recorder {starts!r}")
    # Started by a name that reaches it: short names, never '?' or a
    # look-alike.
    check(starts[0].endswith(b'\\app\\rec.exe" ' + URL), f"command line {starts[0]!r}")
    check(b"?" not in starts[0] and b"Cafe" not in starts[0], f"command line {starts[0]!r}")
    check_equal(case.listing("temp"), [], "its own temp, emptied")


def accented_folder(args):
    case = installed(args, "accented_folder", os.path.join("Café", "app"), lookalike=os.path.join("Cafe", "app"))
    starts_its_program(case)
    other = os.path.join(args.scratch, "accented_folder", "Cafe", "app")
    check_equal(sorted(os.listdir(other)), ["Tavrin.ini", "rec.exe", "temp"], "the look-alike folder")
    check_equal(os.listdir(os.path.join(other, "temp")), ["kept.txt"], "the look-alike's temp")
    # The check tool beside it finds the same settings.
    tool = os.environ.get("TAVRIN_CHECK") or os.path.join(os.path.dirname(args.tavrin), "TavrinCheck.exe")
    shutil.copyfile(tool, case.path("TavrinCheck.exe"))
    done = subprocess.run(["wine", case.path("TavrinCheck.exe"), "open", "--tsv", URL.decode()],
                          stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    check_equal(done.returncode, 0, f"check tool exit status ({done.stderr!r})")
    read = [line[len(b"@settings\t"):] for line in done.stdout.splitlines() if line.startswith(b"@settings\t")]
    check(len(read) == 1 and read[0].endswith(b"\\app\\Tavrin.ini") and b"?" not in read[0]
          and b"Cafe" not in read[0], f"the settings the check tool read: {done.stdout!r}")


def yen_folder(args):
    # "…\¥\app" by best fit is "…\app": nothing may appear there.
    case = installed(args, "yen_folder", os.path.join("¥", "app"))
    starts_its_program(case)
    check_equal(os.listdir(os.path.join(args.scratch, "yen_folder")), ["¥"], "beside the ¥ folder")


def own_libraries(args):
    # The code converter beside the program turns an EUC-JP page's titles
    # into code page 932: the library came from the program's own folder.
    case = installed(args, "own_libraries", os.path.join("Café", "app"))
    shutil.copyfile(os.path.join(os.path.dirname(args.tavrin), "nkf32.dll"), case.path("nkf32.dll"))
    page = case.write("page.html", b'<html><head><meta charset="EUC-JP"></head><body>'
                      b'<a href="http://a.example/">' + "東京の地図".encode("euc-jp") + b"</a></body></html>")
    s = Session(case).start_wide('"' + windows_path(page) + '"').wait_list().wait_rows(1).rows("page").close()
    rows = Rows(s.run(), "page")
    check_equal(rows.byte_pairs(), [(cp932("東京の地図"), b"http://a.example/")], "the page's row")


if __name__ == "__main__":
    main({f.__name__: f for f in (accented_folder, yen_folder, own_libraries)})
