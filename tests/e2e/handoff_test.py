#!/usr/bin/env python3
"""A second copy of Tavrin.exe: the driver poses as the running copy (the
program's mutex and a visible window named by the program's path) and
records the WM_COPYDATA the started copy sends before it ends. A running
copy that is hidden (busy with a menu or a dispatch) is waited for: the
input goes to it once it shows its list window, or the second copy takes
over once it has ended."""
import os
import shutil
import time

from list_session import Rows, Session
from tavrin_e2e import Case, check, check_equal, cp932, hand_off_record, main, windows_path

# Command lines handed over as they are, with their transferCode:
# 100 x Ctrl + 10 x clipboard + linkMode.
TABLE = [
    ("url", b"http://example.com/dir/page.html", 0),
    ("quoted_title", b'"http://a.example/x.html||My page" http://b.example/', 0),
    ("ctrl_inverted", b"/#k=ctl http://a.example/", 100),
    ("download", b"/#b http://a.example/p.html", 2),
    ("base_url", b"/#b=http://a/ http://b/", 1),
    ("ctrl_and_base", b"/#b=http://a/ /#k=ctl http://b/", 101),
    ("japanese", cp932("http://例え.jp/表示/ソフト.html?q=予定"), 0),
]


def hand_off(args, name, arguments, clipboard=None, folder_name=None, boxes=(), **options):
    case = Case(args, name, folder_name=folder_name)
    # A second copy reads only the [system] options: it must not empty temp.
    case.write("Tavrin.ini", b"[system]\r\n@temp=del\r\n")
    case.write("temp/keep.txt", b"x")
    if clipboard is not None:
        options["clipboard"] = case.write_work("clipboard", clipboard)
    code, report, seconds = case.drive("fake-copy", arguments, timeout_ms=10000, **options)
    check_equal(report.get("exited"), 1, "second copy ended")
    check_equal([caption for caption, _ in report.messages()], [cp932(b) for b in boxes],
                "message boxes")
    for _, text in report.messages():
        check(cp932("30159文字") in text, "the box names the limit")
    check(seconds < 8, f"took {seconds:.1f} s")
    check_equal(case.listing("temp"), ["keep.txt"], "temp of a second copy")
    return code, report.copydata()


def expect_one(args, name, arguments, code, payload, **kw):
    driver_code, received = hand_off(args, name, arguments, **kw)
    check_equal(driver_code, 0, "driver exit code (0: data arrived)")
    check_equal(len(received), 1, "hand-offs")
    data = received[0]
    check_equal(data["code"], code, "transferCode")
    read, fields = hand_off_record(data["bytes"])
    check_equal(read, payload + b"\0", "payload, as every running copy reads it")
    # The driver started the second copy, and no window of another
    # program was in front: the driver is the source.
    check_equal(fields, {b"source": driver_path(args)}, "fields after the payload")
    check_equal(data["size"], len(data["bytes"]), "cbData")
    check_equal(data["from_child"], 1, "wParam is the sender's window")


def driver_path(args):
    return cp932(windows_path(args.driver))


def table_case(name, arguments, code):
    def run(args):
        expect_one(args, name, arguments, code, arguments)
    run.__name__ = name
    return run


def clipboard_text(args):
    text = cp932("http://a.example/一.html\r\nhttp://b.example/二.html")
    expect_one(args, "clipboard_text", b"/#c", 10, text, clipboard=text)


def clipboard_with_ctrl(args):
    text = b"http://a.example/"
    expect_one(args, "clipboard_with_ctrl", b"/#c /#k=ctl", 110, text, clipboard=text)


def clipboard_without_url(args):
    # Clipboard text that names nothing: nothing is sent.
    driver_code, received = hand_off(args, "clipboard_without_url", b"/#c",
                                     clipboard=b"no address here")
    check_equal(driver_code, 1, "driver exit code (1: nothing arrived)")
    check_equal(received, [], "hand-offs")


def no_arguments(args):
    driver_code, received = hand_off(args, "no_arguments", b"")
    check_equal(driver_code, 1, "driver exit code (1: nothing arrived)")
    check_equal(received, [], "hand-offs")


def hidden_running_copy(args):
    # A running copy that does not show its window cannot take the input
    # yet: the second copy waits and hands over as soon as the window
    # shows (it used to drop its input silently).
    case = Case(args, "hidden_running_copy")
    case.write("Tavrin.ini", b"[system]\r\n@temp=del\r\n")
    case.write("temp/keep.txt", b"x")
    code, report, seconds = case.drive("fake-copy", b"http://a.example/", timeout_ms=10000,
                                       hidden="1", show_after="1500")
    check_equal(code, 0, "driver exit code (0: data arrived)")
    check_equal(report.messages(), [], "message boxes")
    check_equal(report.get("exited"), 1, "second copy ended")
    received = report.copydata()
    check_equal([(r["code"], hand_off_record(r["bytes"])) for r in received],
                [(0, (b"http://a.example/\0", {b"source": driver_path(args)}))], "hand-offs")
    shown, arrived, ended = report["shown_ms"], report["arrived_ms"], report["ended_ms"]
    check(shown >= 1500, f"shown at {shown} ms")
    check(shown <= arrived < shown + 500, f"arrived at {arrived} ms, shown at {shown} ms")
    check(arrived <= ended < arrived + 1000, f"ended at {ended} ms")
    check_equal(case.listing("temp"), ["keep.txt"], "temp of a second copy")


def no_arguments_hidden(args):
    # Started with nothing, a second copy ends at once, without waiting for
    # a hidden running copy.
    case = Case(args, "no_arguments_hidden")
    code, report, seconds = case.drive("fake-copy", b"", timeout_ms=10000, hidden="1",
                                       show_after="3000")
    check_equal(code, 1, "driver exit code (1: nothing arrived)")
    check_equal(report.get("exited"), 1, "second copy ended")
    check(0 <= report["ended_ms"] < 1500, f"ended at {report['ended_ms']} ms")
    check_equal(report.messages(), [], "message boxes")


def recorder_settings(args, case, *system):
    """Settings whose [.html] block starts a copy of the recorder beside the
    program at once; returns the recorder's log path."""
    recorder = os.environ.get("TAVRIN_RECORDER") or os.path.join(
        os.path.dirname(args.tavrin), "recorder.exe")
    shutil.copyfile(recorder, case.path("rec.exe"))
    lines = ["[system]", *system, "%end", "[.html]#", windows_path(case.path("rec.exe")), "%end"]
    case.write("Tavrin.ini", "".join(line + "\r\n" for line in lines).encode("cp932"))
    return case.path("rec.exe.log")


def recorded(case, log):
    """The parameters the recorder beside the program was started with."""
    prefix = b'"' + cp932(windows_path(case.path("rec.exe"))) + b'" '
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline and not os.path.exists(log):
        time.sleep(0.05)
    time.sleep(0.3)
    if not os.path.exists(log):
        return []
    with open(log, "rb") as f:
        return [line[4 + len(prefix):] if line[4:].startswith(prefix) else line[4:]
                for line in f.read().split(b"\n") if line.startswith(b"cmd=")]


def takes_over(args, name, release_after, **options):
    """A running copy that ends while the second copy waits: the second
    copy becomes the first and does its own start-up with its own command
    line, its settings read in full ("@temp=del" empties temp)."""
    case = Case(args, name, folder_name=options.pop("folder_name", None))
    log = recorder_settings(args, case, "@temp=del")
    case.write("temp/old.txt", b"x")
    code, report, seconds = case.drive("fake-copy", b"http://a.example/page.html",
                                       timeout_ms=10000, release_after=str(release_after),
                                       **options)
    check_equal(code, 1, "driver exit code (1: nothing arrived)")
    check_equal(report.copydata(), [], "hand-offs")
    check_equal(report.messages(), [], "message boxes")
    check_equal(report.get("exited"), 1, "the program ended")
    check_equal(report.get("exit_code"), 0, "exit code")
    released, ended = report["released_ms"], report["ended_ms"]
    check(released >= release_after and released < ended < released + 3000,
          f"released at {released} ms, ended at {ended} ms")
    check_equal(recorded(case, log), [b"http://a.example/page.html"],
                "the recorder started with the second copy's URL")
    check_equal(case.listing("temp"), [], "temp after @temp=del")
    return report


def running_copy_ends(args):
    takes_over(args, "running_copy_ends", 1000, hidden="1")


# --- two real copies -----------------------------------------------------------

def run_session(session):
    report = session.run()
    check_equal(report.get("second_running_at_end"), None, "second copy still running at the end")
    return report


def busy_first_copy(args):
    # Tavrin as the web browser, two links clicked in quick succession: the
    # first copy shows its association menu (hidden, it cannot take a
    # hand-off) when the second starts. Once the menu is closed the first
    # copy ends, and the second opens its own URL.
    case = Case(args, "busy_first_copy")
    log = recorder_settings(args, case)
    shutil.copyfile(case.path("rec.exe"), case.path("other.exe"))
    case.write("Tavrin.ini", b"".join(line.encode("cp932") + b"\r\n" for line in (
        "[.html]", windows_path(case.path("rec.exe")), windows_path(case.path("other.exe")), "%end",
        "[.txt]#", windows_path(case.path("rec.exe")), "%end")))
    s = Session(case).start(b"http://a.example/x.html").menu()
    s.second_async(b"http://b.example/notes.txt").sleep(1000)
    alive = s.step_number()
    s.second_alive().dismiss_menu().wait_exit()
    waited = s.step_number()
    s.wait_second()
    report = run_session(s)
    check_equal(report[f"step.{alive}.alive"], 1, "the second copy waits while the menu shows")
    check_equal(report[f"step.{waited}.ended"], 1, "the second copy ended")
    check_equal(report[f"step.{waited}.boxes"], 0, "message boxes of the second copy")
    check(report[f"step.{waited}.ms"] < 2000, f"the second copy took {report[f'step.{waited}.ms']} ms more")
    check_equal(recorded(case, log), [b"http://b.example/notes.txt"], "starts of the recorder")
    check(not os.path.exists(case.path("other.exe.log")), "nothing chosen from the menu")


def list_after_menu(args):
    # The first copy shows its tools menu when the second starts; its "List"
    # opens the list window, and the waiting second copy's URLs arrive there.
    case = Case(args, "list_after_menu")
    s = Session(case).start(b"").menu().second_async(b"http://b.example/1.html http://b.example/2.html")
    s.sleep(800)
    alive = s.step_number()
    s.second_alive().menu_char("l").wait_list()
    waited = s.step_number()
    s.wait_second().wait_rows(2).rows("handed").close()
    report = run_session(s)
    check_equal(report[f"step.{alive}.alive"], 1, "the second copy waits while the menu shows")
    check_equal(report[f"step.{waited}.ended"], 1, "the second copy ended")
    rows = Rows(report, "handed")
    check_equal(rows.urls(), ["http://b.example/1.html", "http://b.example/2.html"], "handed URLs")
    check(rows.caption.endswith(cp932(" / URL転送データ")), f"caption {rows.caption!r}")


def long_command_line(args):
    # More than the payload holds: it is cut between two words, never in a
    # URL, and the second copy tells of the rest in a box naming the limit.
    # (It used to be cut at 30,159 characters, inside the last URL.)
    line = b" ".join(b"http://a%d.example/page.html" % i for i in range(1030))
    check(30159 < len(line) < 32000, f"test line length {len(line)}")
    kept = line[:30159] if line[30159:30160] == b" " else line[:line.rfind(b" ", 0, 30159) + 1]
    expect_one(args, "long_command_line", line, 0, kept, boxes=("注意",))


def long_single_word(args):
    # One word longer than the payload: nothing is sent; the box tells why.
    line = b"http://a.example/" + bytes(ord("a") + i % 26 for i in range(30200 - 17))
    driver_code, received = hand_off(args, "long_single_word", line, boxes=("注意",))
    check_equal(driver_code, 1, "driver exit code (1: nothing arrived)")
    check_equal(received, [], "hand-offs")


def japanese_folder(args):
    # The program's path, and so the window class and mutex names, in CP932
    # with a space and a trail byte 0x5C ("表").
    arguments = cp932("http://a.example/表.html")
    expect_one(args, "japanese_folder", arguments, 0, arguments, folder_name="表示 ソフト")


def unquoted_japanese_path(args):
    # Started with its path unquoted: the tail after the program name is
    # still exactly what was given, though the path holds double-byte text.
    arguments = cp932("http://a.example/表.html")
    expect_one(args, "unquoted_japanese_path", arguments, 0, arguments, folder_name="表示",
               unquoted="1")


def long_program_path(args):
    # A path of 128 characters or more does not fit the class-name buffer of
    # the search: the running copy is never found, though it shows its
    # window. The second copy waits for it to end and then does the work
    # itself (it used to drop its input).
    takes_over(args, "long_program_path", 1000, folder_name="long_program_path_" + "x" * 140)


if __name__ == "__main__":
    cases = [table_case(*row) for row in TABLE]
    cases += [clipboard_text, clipboard_with_ctrl, clipboard_without_url, no_arguments,
              hidden_running_copy, no_arguments_hidden, running_copy_ends, busy_first_copy,
              list_after_menu,
              long_command_line, long_single_word, japanese_folder,
              unquoted_japanese_path,
              long_program_path]
    main({f.__name__: f for f in cases})
