#!/usr/bin/env python3
"""Links with characters that code page 932 lacks, given as Windows gives
them to a program that is the web browser: a wide command line (the driver
starts Tavrin.exe with CreateProcessW), CF_UNICODETEXT on the clipboard,
wide text and wide file names dropped on the list, an Internet shortcut's
wide section. What code page 932 holds keeps its bytes; a URL's other
characters arrive percent-escaped as UTF-8, a host label holding one in its
IDNA form; a file whose name the code page cannot hold is opened through
its short name, and one that has none is named in a caution box and nothing
is opened or written in its place."""
import os
import shutil
import subprocess
import time

from list_session import Rows, Session
from tavrin_e2e import Case, check, check_equal, cp932, hand_off_record, main, windows_path

WIKI = "https://fr.wikipedia.org/wiki/Métropole_–_न_😀_東京"
WIKI_SENT = cp932("https://fr.wikipedia.org/wiki/M%C3%A9tropole_%E2%80%93_%E0%A4%A8_%F0%9F%98%80_東京")
BOOKS = "http://bücher.example/"
BOOKS_SENT = b"http://xn--bcher-kva.example/"
# Text the code page holds goes the wide way unchanged.
JAPANESE = "http://例え.jp/表示/ソフト?q=予定"
JAPANESE_SENT = cp932(JAPANESE)

UNOPENABLE = cp932("は、名前にShift_JISに無い文字（?の所）があるため開けません。")


def recorder_case(args, name):
    """A case whose URLs without an extension start a copy of the recorder
    at once; returns the case and a reader of the recorder's parameters."""
    case = Case(args, name)
    recorder = os.environ.get("TAVRIN_RECORDER") or os.path.join(
        os.path.dirname(args.tavrin), "recorder.exe")
    shutil.copyfile(recorder, case.path("rec.exe"))
    case.write("Tavrin.ini", cp932("[blank]#\r\n" + windows_path(case.path("rec.exe")) + "\r\n%end\r\n"))
    prefix = b'"' + cp932(windows_path(case.path("rec.exe"))) + b'" '
    log = case.path("rec.exe.log")

    def recorded(count):
        # Waits for the starts expected (a start just made may not have
        # written yet on a busy machine), at least a second for none.
        deadline = time.monotonic() + (10 if count else 1)
        while time.monotonic() < deadline:
            if os.path.exists(log):
                with open(log, "rb") as f:
                    lines = [line[4:] for line in f.read().split(b"\n") if line.startswith(b"cmd=")]
                if len(lines) >= count:
                    break
            time.sleep(0.05)
        time.sleep(0.3)
        if not os.path.exists(log):
            return []
        with open(log, "rb") as f:
            lines = [line[4:] for line in f.read().split(b"\n") if line.startswith(b"cmd=")]
        for line in lines:
            check(line.startswith(prefix), f"recorder command line {line!r}")
        return [line[len(prefix):] for line in lines]
    return case, recorded


def run_wide(case, text, **options):
    """Runs Tavrin.exe started with `text` on a wide command line; it must
    end by itself. Returns the driver's report."""
    code, report, seconds = case.drive("run", text.encode("utf-8"), wide="1", **options)
    check_equal(code, 0, "driver exit code (0: ended in time)")
    check_equal(report["exit_code"], 0, "program exit code")
    check(seconds < 8, f"took {seconds:.1f} s")
    return report


def check_tool_urls(args, case, words):
    """The URLs TavrinCheck.exe, beside Tavrin.exe, says it would open for
    the same words (given to it as Wine gives UTF-8 words: wide)."""
    tool = os.environ.get("TAVRIN_CHECK") or os.path.join(os.path.dirname(args.tavrin), "TavrinCheck.exe")
    local = case.path("TavrinCheck.exe")
    shutil.copyfile(tool, local)
    done = subprocess.run(["wine", local, "open", "--tsv", "--lang", "en", "--", *words],
                          stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    os.remove(local)
    return [line.split(b"\t")[1] for line in done.stdout.splitlines() if line.startswith(b"@url\t")]


def command_line(args):
    # Each URL as a clicked link arrives: alone on a wide command line.
    case, recorded = recorder_case(args, "command_line")
    for text in (WIKI, BOOKS, JAPANESE):
        report = run_wide(case, text)
        check_equal(report.messages(), [], "message boxes")
        check_equal(report["menus"], 0, "menus shown")
    check_equal(recorded(3), [WIKI_SENT, BOOKS_SENT, JAPANESE_SENT], "the recorder's parameters")
    check_equal(check_tool_urls(args, case, [WIKI, BOOKS]), [WIKI_SENT, BOOKS_SENT],
                "URLs TavrinCheck.exe names")


def clipboard_start(args):
    # "/#c" reads CF_UNICODETEXT; CF_TEXT, the system's copy, lost é and –.
    case, recorded = recorder_case(args, "clipboard_start")
    clip = case.write_work("clipboard", ("see " + WIKI + " there").encode("utf-8"))
    report = run_wide(case, "/#c", wide_clipboard=clip)
    check_equal(report.messages(), [], "message boxes")
    check_equal(recorded(1), [WIKI_SENT], "the recorder's parameters")


def shortcut(args):
    # Windows writes such a URL twice: its ANSI form, and UTF-7 in the
    # "[InternetShortcut.W]" section.
    case, recorded = recorder_case(args, "shortcut")
    path = case.write("Metropole.url", b"[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,11\r\n"
                      b"[InternetShortcut]\r\nIDList=\r\nURL=https://fr.wikipedia.org/wiki/Metropole_?_?_??_"
                      + cp932("東京") + b"\r\n[InternetShortcut.W]\r\nURL=" + WIKI.encode("utf-7") + b"\r\n")
    report = run_wide(case, windows_path(path))
    check_equal(report.messages(), [], "message boxes")
    check_equal(recorded(1), [WIKI_SENT], "the recorder's parameters")


def file_by_short_name(args):
    # A file whose name has é, in a folder whose name has ¥ (which best fit
    # would make a backslash), is opened through its short names: its own
    # URL starts the recorder, without a box. (A name with no short name
    # is named in a box instead; the save case below meets one.)
    case, recorded = recorder_case(args, "file_by_short_name")
    path = case.write(os.path.join("¥ 1", "Café.url"), b"[InternetShortcut]\r\nURL=http://cafe.example/\r\n")
    report = run_wide(case, '"' + windows_path(path) + '"')
    check_equal(report["menus"], 0, "menus shown")
    check_equal(report.messages(), [], "message boxes")
    check_equal(recorded(1), [b"http://cafe.example/"], "the recorder's parameters")


def handoff(args):
    # A second copy converts its wide command line and hands over the
    # code page 932 text; the hand-off record is as ever.
    case = Case(args, "handoff")
    case.write("Tavrin.ini", b"[system]\r\n")
    text = WIKI + " " + BOOKS + " " + JAPANESE
    code, report, seconds = case.drive("fake-copy", text.encode("utf-8"), wide="1")
    check_equal(code, 0, "driver exit code (0: data arrived)")
    check_equal(report.messages(), [], "message boxes")
    sent = WIKI_SENT + b" " + BOOKS_SENT + b" " + JAPANESE_SENT
    check_equal([(r["code"], hand_off_record(r["bytes"])[0]) for r in report.copydata()], [(0, sent + b"\0")],
                "hand-offs")


def clipboard_handoff(args):
    case = Case(args, "clipboard_handoff")
    case.write("Tavrin.ini", b"[system]\r\n")
    clip = case.write_work("clipboard", (WIKI + "\r\n" + BOOKS).encode("utf-8"))
    code, report, seconds = case.drive("fake-copy", b"/#c", wide="1", wide_clipboard=clip)
    check_equal(code, 0, "driver exit code (0: data arrived)")
    check_equal([(r["code"], hand_off_record(r["bytes"])[0]) for r in report.copydata()],
                [(10, WIKI_SENT + b"\r\n" + BOOKS_SENT + b"\0")], "hand-offs")


def list_window(args):
    # The list window takes the same URLs from a second copy, from the
    # clipboard while it watches (wide, or another locale's ANSI text),
    # and from a text drop; a dropped file whose name has é is read
    # through its short name.
    case = Case(args, "list_window")
    case.write("Tavrin.ini", b"[system]\r\n")
    case.write("start.txt", b"http://start.example/1 http://start.example/2\r\n")
    cafe = case.write("Café.txt", b"http://cafe.example/\r\n")
    two = WIKI + " " + BOOKS
    s = Session(case).start_wide('"' + windows_path(case.path("start.txt")) + '"').wait_list().wait_rows(2)
    s.second_wide(two).wait_rows(2).rows("handed")
    s.command(904).sleep(300).clipboard_wide(BOOKS + "\r\n" + JAPANESE).wait_rows(2).sleep(300).rows("watched")
    # A program of a western locale copies text in its own code page.
    s.clipboard_in(0x0409, (BOOKS + "\r\nhttp://cafe.example/Métropole\r\nhttp://b.example/").encode("cp1252"))
    s.wait_rows(3).sleep(300).rows("western")
    s.command(904).drop_wide_text(WIKI + "\r\n" + JAPANESE).wait_rows(2).rows("dropped")
    s.drop_wide_file(windows_path(cafe)).wait_rows(1).rows("after_file").close()
    report = s.run()
    handed = Rows(report, "handed")
    check_equal([r["url"] for r in handed.rows], [WIKI_SENT, BOOKS_SENT], "handed over")
    check(handed.caption.endswith(cp932(" / URL転送データ")), f"caption {handed.caption!r}")
    check_equal([r["url"] for r in Rows(report, "watched").rows], [BOOKS_SENT, JAPANESE_SENT],
                "taken from the clipboard")
    check_equal([r["url"] for r in Rows(report, "western").rows],
                [BOOKS_SENT, b"http://cafe.example/M%C3%A9tropole", b"http://b.example/"],
                "taken from another code page's text")
    check_equal([r["url"] for r in Rows(report, "dropped").rows], [WIKI_SENT, JAPANESE_SENT], "dropped text")
    check_equal([r["url"] for r in Rows(report, "after_file").rows], [b"http://cafe.example/"],
                "the list after the dropped file")


def shortcut_folder(args):
    # A folder's shortcuts whose names code page 932 cannot hold, one of
    # them in a subfolder of such a name, are read through their short
    # names; their titles show '?' where the code page lacks a character.
    case = Case(args, "shortcut_folder")
    case.write("Tavrin.ini", b"[system]\r\n")
    def url_file(name, url):
        case.write(os.path.join("links", name), b"[InternetShortcut]\r\nURL=" + url + b"\r\n")
    url_file("Café – menu.url", b"http://cafe.example/menu.html")
    url_file("東京.url", JAPANESE_SENT)
    url_file(os.path.join("Español", "Ñandú.url"), b"http://nandu.example/")
    folder = windows_path(case.path("links"))
    s = Session(case).start(b"/#k=ctl " + cp932(folder)).wait_list().wait_rows(3).rows("listed").close()
    rows = Rows(s.run(), "listed")
    pairs = rows.byte_pairs()
    check_equal(pairs[:1], [(b"?and?", b"http://nandu.example/")], "the subfolder's row first")
    check_equal(sorted(pairs[1:]), [(b"Caf? ? menu", b"http://cafe.example/menu.html"),
                                    (cp932("東京"), JAPANESE_SENT)], "the folder's own rows")


def save_names(args):
    # The save dialog's names come back wide: an existing list named with é
    # is written through its short name; a new one of such a name has no
    # short name yet, so the box names it and nothing is written, neither
    # it nor a file of a look-alike name.
    case = Case(args, "save_names")
    case.write("Tavrin.ini", b"[system]\r\n")
    case.write("in.txt", b"http://a.example/1\r\n")
    old = case.write("Café old.txt", b"old\r\n")
    s = Session(case).start(cp932(windows_path(case.path("in.txt")))).wait_list().wait_rows(1).command(950)
    s.post(905).save_wide(windows_path(old))
    s.message("yes").sleep(300)
    s.post(905).save_wide(windows_path(case.path("Café new.txt")))
    box = s.step_number()
    s.message("ok").close()
    report = s.run()
    with open(old, "rb") as f:
        check_equal(f.read(), b"http://a.example/1\r\n", "the existing list, written over")
    check_equal(report[f"step.{box}.text"],
                cp932("次のファイル（フォルダ）") + UNOPENABLE + b"\n" +
                cp932(windows_path(case.path("Caf? new.txt"))), "the box of the new name")
    check_equal(sorted(case.listing()), sorted(["Tavrin.exe", "Tavrin.ini", "in.txt", "Café old.txt", "temp"]),
                "files in the folder")



def host_blocks(args):
    # Hosts as browsers read them choose their host blocks: a label typed
    # in fullwidth capitals, a Turkish dotted capital, and a redirect
    # link's target whose host is escaped UTF-8. Other URLs go elsewhere.
    case, recorded = recorder_case(args, "host_blocks")
    shutil.copyfile(case.path("rec.exe"), case.path("other.exe"))
    rec, other = windows_path(case.path("rec.exe")), windows_path(case.path("other.exe"))
    case.write("Tavrin.ini", cp932(f"[system]\r\n@unwrap\r\n[host:xn--bcher-kva.example;xn--istanbul-o0e.tr]#"
                                   f"\r\n{rec}\r\n%end\r\n[blank]#\r\n{other}\r\n%end\r\n"))
    for text in ("http://ＢÜＣＨＥＲ.example/", "http://İstanbul.tr/",
                 "https://www.google.com/url?q=https%3A%2F%2Fb%C3%BCcher.example%2F"):
        report = run_wide(case, text)
        check_equal(report.messages(), [], "message boxes")
    check_equal(recorded(3), [b"http://xn--bcher-kva.example/", b"http://xn--istanbul-o0e.tr/",
                              b"https://xn--bcher-kva.example/"], "the host block's program")
    check(not os.path.exists(case.path("other.exe.log")), "the other block's program started")


if __name__ == "__main__":
    main({f.__name__: f for f in (command_line, clipboard_start, shortcut, file_by_short_name, handoff,
                                  clipboard_handoff, list_window, shortcut_folder, save_names,
                                  host_blocks)})
