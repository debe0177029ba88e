#!/usr/bin/env python3
"""What Tavrin shows reads the same on any Windows: the cases here run in
the Japanese session and again on an English (United States) Windows, code
page 1252 (scripts/test.sh), with the same expectations. Tavrin asks for
code page 932 in its manifest; the driver reads every text wide, as the
window shows it, so a text that the system had read in another code page
would differ. With TAVRIN_EXPECT_CODE_PAGE the case also checks which code
page the session's system has, so the English run is known to be one."""
import os
import pty
import select
import shutil
import subprocess

from list_session import Rows, Session, menus_read, win
from tavrin_e2e import Case, check, check_equal, cp932, main

CAPTION_PREFIX = "[ Tavrin ] : "


def session_system(report):
    wanted = os.environ.get("TAVRIN_EXPECT_CODE_PAGE")
    if wanted:
        check_equal(report["system_code_page"], int(wanted), "the session system's code page")


def recorder(args, case, name):
    source = os.environ.get("TAVRIN_RECORDER") or os.path.join(os.path.dirname(args.tavrin), "recorder.exe")
    shutil.copyfile(source, case.path(name))
    return case.path(name)


def list_window(args):
    # A page's title in the caption, its links' titles in the rows.
    case = Case(args, "list_window")
    case.write("Tavrin.ini", b"[system]\r\n")
    page = case.write("map.html", cp932(
        "<html><head><title>東京の地図</title></head><body>"
        "<a href=\"http://a.example/1\">新宿駅</a> <a href=\"http://a.example/2\">渋谷・原宿</a>"
        "</body></html>"))
    s = Session(case).start(b"/#b=http://a.example/ " + win(page)).wait_list().wait_rows(2).rows("page").close()
    report = s.run()
    session_system(report)
    rows = Rows(report, "page")
    check_equal(rows.caption, cp932(CAPTION_PREFIX + "関連付け / 東京の地図"), "caption")
    check_equal(rows.byte_pairs(), [(cp932("新宿駅"), b"http://a.example/1"),
                                    (cp932("渋谷・原宿"), b"http://a.example/2")], "rows")


def message_box(args):
    # The settings error at start: caption and text.
    case = Case(args, "message_box")
    os.mkdir(case.path("Tavrin.ini"))
    code, report, _ = case.drive("expect-message", timeout_ms=10000, caption="エラー")
    session_system(report)
    check_equal(code, 0, "driver exit code (0: message shown, program ended)")
    check_equal(report.messages(), [(cp932("エラー"), cp932("設定ファイル異常"))], "message boxes")


def menu(args):
    # The association menu: Japanese captions, a group, the tools.
    case = Case(args, "menu")
    viewer = recorder(args, case, "viewer.exe")
    case.write("Tavrin.ini", cp932(
        "[system]\r\n@menu=200,150\r\n%end\r\n[.html]\r\n"
        f"{win(viewer).decode('cp932')} | 表示ソフト(&V)\r\n"
        "{グループ(&G)\r\n"
        f"{win(viewer).decode('cp932')} | 編集ソフト(&E)\r\n"
        "}\r\n%end\r\n"))
    log = os.path.join(case.work, "menus.log")
    s = Session(case).read_menus(log).start(b"http://host/a/page.html").menu("g").menu("escape", "escape")
    report = s.wait_exit().run()
    session_system(report)
    menus = menus_read(log)
    # The menu, then the group as it opens (Wine reports the menu twice:
    # as the menu loop starts and as the popup opens).
    outer = [cp932("表示ソフト(&V)"), cp932("グループ(&G)"), None, b"http://host/a/page.html ( &0 )"]
    check(len(menus) >= 2 and menus[0] == outer, f"the association menu {menus!r}")
    check_equal(menus[-1], [cp932("編集ソフト(&E)")], "the group")


def saved_list(args):
    # Rows with Japanese titles, saved as a list file of a Japanese name.
    case = Case(args, "saved_list")
    case.write("Tavrin.ini", b"[system]\r\n")
    case.write("in.txt", cp932("\"http://a.example/1||東京\"\r\n\"http://a.example/2||大阪\"\r\n"))
    s = Session(case).start(win(case.path("in.txt"))).wait_list().wait_rows(2).command(950)
    s.post(906).save(win(case.path("一覧.txt"))).sleep(300).close()
    report = s.run()
    session_system(report)
    with open(case.path("一覧.txt"), "rb") as f:
        check_equal(f.read(), cp932("http://a.example/1||東京\r\nhttp://a.example/2||大阪\r\n"),
                    "the list file")


def shortcut_folder(args):
    # A folder of Internet shortcuts with Japanese names: the caption names
    # the folder, the rows are titled by the shortcuts' names.
    case = Case(args, "shortcut_folder")
    case.write("Tavrin.ini", b"[system]\r\n")
    for name, url in (("東京.url", b"http://tokyo.example/"), ("大阪.url", b"http://osaka.example/")):
        case.write(os.path.join("お気に入り", name), b"[InternetShortcut]\r\nURL=" + url + b"\r\n")
    s = Session(case).start(win(case.path("お気に入り"))).wait_list().wait_rows(2).rows("listed").close()
    report = s.run()
    session_system(report)
    rows = Rows(report, "listed")
    check_equal(rows.caption, cp932(CAPTION_PREFIX + "関連付け / お気に入り"), "caption")
    check_equal(sorted(rows.byte_pairs()), sorted([(cp932("東京"), b"http://tokyo.example/"),
                                                   (cp932("大阪"), b"http://osaka.example/")]), "rows")


def on_terminal(argv, seconds=30):
    """What a program writes to a terminal (Wine gives it a console there),
    as the terminal receives it: UTF-8, the session's locale."""
    pid, fd = pty.fork()
    if pid == 0:
        os.execvp(argv[0], argv)
    out = b""
    while True:
        ready, _, _ = select.select([fd], [], [], seconds)
        if not ready:
            break
        try:
            data = os.read(fd, 4096)
        except OSError:
            break
        if not data:
            break
        out += data
    os.waitpid(pid, 0)
    return out.decode("utf-8", "replace")


def check_tool_output(args):
    # On a console the check tool's text reads right whatever the console's
    # code page (an English one's is 437); into a pipe it writes code page
    # 932 bytes, with --utf8 UTF-8.
    case = Case(args, "check_tool_output")
    tool = os.environ.get("TAVRIN_CHECK") or os.path.join(os.path.dirname(args.tavrin), "TavrinCheck.exe")
    shutil.copyfile(tool, case.path("TavrinCheck.exe"))
    line = "設定ファイルの問題を行番号と理由で示します。"
    shown = on_terminal(["wine", case.path("TavrinCheck.exe"), "--help"])
    check(line in shown, f"the console shows {shown[:300]!r}")

    def piped(*words):
        done = subprocess.run(["wine", case.path("TavrinCheck.exe"), "--help", *words],
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        check_equal(done.returncode, 0, "exit status")
        return done.stdout
    check(cp932(line) in piped(), "code page 932 into a pipe")
    check(line.encode("utf-8") in piped("--utf8"), "UTF-8 into a pipe with --utf8")


if __name__ == "__main__":
    main({f.__name__: f for f in (list_window, message_box, menu, saved_list, shortcut_folder,
                                  check_tool_output)})
