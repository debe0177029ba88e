#!/usr/bin/env python3
"""A second copy of Tavrin.exe: the driver poses as the running copy (the
program's mutex and a visible window named by the program's path) and
records the WM_COPYDATA the started copy sends before it ends."""
from tavrin_e2e import Case, check, check_equal, cp932, main

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
    check_equal(data["bytes"], payload + b"\0", "payload")
    check_equal(data["size"], len(payload) + 1, "cbData")
    check_equal(data["from_child"], 1, "wParam is the sender's window")


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
    # A running copy that does not show its window is never found.
    driver_code, received = hand_off(args, "hidden_running_copy", b"http://a.example/",
                                     hidden="1")
    check_equal(driver_code, 1, "driver exit code (1: nothing arrived)")
    check_equal(received, [], "hand-offs")


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
    # the search: the running copy is never found.
    folder = "long_program_path_" + "x" * 140
    driver_code, received = hand_off(args, "long_program_path", b"http://a.example/",
                                     folder_name=folder)
    check_equal(driver_code, 1, "driver exit code (1: nothing arrived)")
    check_equal(received, [], "hand-offs")


if __name__ == "__main__":
    cases = [table_case(*row) for row in TABLE]
    cases += [clipboard_text, clipboard_with_ctrl, clipboard_without_url, no_arguments,
              hidden_running_copy, long_command_line, long_single_word, japanese_folder,
              unquoted_japanese_path,
              long_program_path]
    main({f.__name__: f for f in cases})
