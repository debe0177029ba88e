#!/usr/bin/env python3
"""Blocks chosen by the program a link came from, end to end: copies of the
driver under other names stand for the programs links come from. One shows
a window in front while the driver starts Tavrin.exe (the window's program
is the source), or starts Tavrin.exe itself with no window in front (its
parent is the source); and a second copy started by one hands its URL, and
its source, to a running copy whose list window opens the row."""
import os
import shutil

from dispatch_test import Dispatch
from list_session import Rows, Session
from tavrin_e2e import check_equal, cp932, windows_path

URL = "http://docs.example/report.html"
SETTINGS = ("[.html]", "<viewer>", "%end",
            "[from:mailer.exe;*\\chat\\*]#", "<other> | Mail", ">--from %O %L", "%end")


def driver_as(d, name):
    """A copy of the driver named `name` in the case's work folder."""
    path = os.path.join(d.case.work, name)
    shutil.copyfile(d.case.driver, path)
    return path


def run(d, **options):
    code, report, seconds = d.case.drive("run", cp932(URL), **options)
    check_equal(code, 0, "driver exit code (0: ended in time)")
    check_equal(report.messages(), [], "message boxes")
    check_equal(report["exit_code"], 0, "program exit code")
    return report


def window_in_front(args):
    # The window in front is mailer.exe's; the driver that starts Tavrin
    # has no block of its own.
    d = Dispatch(args, "window_in_front")
    d.write_settings(*SETTINGS)
    report = run(d, window_exe=driver_as(d, "mailer.exe"))
    check_equal(report["front"], 1, "the mailer's window was in front")
    d.expect({"other": ["--from mailer.exe " + URL]})
    d.check_tool(URL, {"other": ["--from mailer.exe " + URL]}, options=("--from", "mailer.exe"))


def other_program(args):
    # The same link from another program: the extension's block.
    d = Dispatch(args, "other_program")
    d.write_settings(*SETTINGS)
    report = run(d, window_exe=driver_as(d, "notes.exe"))
    check_equal(report["front"], 1, "the notes' window was in front")
    d.expect({"viewer": [URL]})
    d.check_tool(URL, {"viewer": [URL]}, options=("--from", "notes.exe"))


def parent_decides(args):
    # No window in front: the program that started Tavrin, found by its
    # path ("*\chat\*").
    d = Dispatch(args, "parent_decides")
    d.write_settings(*SETTINGS)
    os.makedirs(os.path.join(d.case.work, "chat"))
    d.case.driver = driver_as(d, os.path.join("chat", "launcher.exe"))
    report = run(d)
    d.expect({"other": ["--from launcher.exe " + URL]})
    check_equal(report["front_none"], 1, "no window was in front")


def handed_over(args):
    # A running copy lists what it was started with and what copies hand
    # it; each row opens by the source it came with: the driver (no block),
    # a second copy started by mailer.exe (the [from:] block), a record of
    # today's format (none: the extension's block).
    d = Dispatch(args, "handed_over")
    d.write_settings(*SETTINGS)
    listed = windows_path(d.case.write("links.txt", b"http://a.example/one.html\r\n"))
    d.case.write_work("old.bin", b"http://c.example/three.html\0")
    s = Session(d.case).start(cp932(listed)).wait_list().wait_rows(1).dblclick(0)
    s.second_via(driver_as(d, "mailer.exe"), b"http://b.example/two.html")
    handed = s.step_number()
    s.wait_rows(1).rows("handed").dblclick(0)
    s.copydata(0, os.path.join(d.case.work, "old.bin")).wait_rows(1).rows("old").dblclick(0).close()
    report = s.run()
    check_equal(report.get(f"step.{handed - 1}.ended"), 1, "the second copy ended")
    check_equal(Rows(report, "handed").urls(), ["http://b.example/two.html"], "handed rows")
    check_equal(Rows(report, "old").urls(), ["http://c.example/three.html"], "rows of the old record")
    d.expect({"viewer": ["http://a.example/one.html", "http://c.example/three.html"],
              "other": ["--from mailer.exe http://b.example/two.html"]})


if __name__ == "__main__":
    from tavrin_e2e import main
    main({f.__name__: f for f in (window_in_front, other_program, parent_decides, handed_over)})
