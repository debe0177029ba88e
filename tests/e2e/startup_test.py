#!/usr/bin/env python3
"""A first copy of Tavrin.exe on its own: the settings file and the
temporary folder it prepares, its error message, and that it always ends by
itself."""
import os

from tavrin_e2e import Case, check, check_equal, cp932, main

SETTINGS_ERROR = (cp932("エラー"), cp932("設定ファイル異常"))


def ends_quietly(case, arguments=b"", menus=0):
    """Runs to the end; with nothing to open the tools menu shows (the
    driver dismisses it with Escape): pass menus=1 then."""
    code, report, seconds = case.drive("run", arguments, timeout_ms=10000)
    check_equal(code, 0, "driver exit code (0: ended in time)")
    check_equal(report.messages(), [], "message boxes")
    check_equal(report["menus"], menus, "menus shown")
    check_equal(report["exit_code"], 0, "program exit code")
    check(seconds < 8, f"took {seconds:.1f} s")
    return report


def fill_temp(case):
    case.write("temp/a.html", b"<a href=x>")
    case.write("temp/b.txt", b"x")
    case.write("temp/sub/c.txt", b"y")
    case.write("temp/表示.txt", b"z")


def empty_folder(args):
    case = Case(args, "empty_folder")
    ends_quietly(case, menus=1)
    check_equal(case.listing(), ["Tavrin.exe", "Tavrin.ini", "temp"], "program folder")
    check_equal(os.path.getsize(case.path("Tavrin.ini")), 0, "size of the created settings")
    check(os.path.isdir(case.path("temp")), "temp is a folder")
    check_equal(case.listing("temp"), [], "temp")


def url_argument(args):
    # A URL with nothing to open it with yet: the copy still ends by itself.
    case = Case(args, "url_argument")
    ends_quietly(case, b"http://example.com/dir/page.html")
    check_equal(case.listing(), ["Tavrin.exe", "Tavrin.ini", "temp"], "program folder")


def long_command_line(args):
    case = Case(args, "long_command_line")
    # Longer than any buffer of the program, within the system's limit.
    words = b" ".join(b"http://h%d.example/page.html" % i for i in range(1040))
    check(30159 < len(words) < 32000, f"test line length {len(words)}")
    ends_quietly(case, words)


def temp_emptied(args):
    case = Case(args, "temp_emptied")
    settings = b"[system]\r\n@temp=del\r\n"
    case.write("Tavrin.ini", settings)
    fill_temp(case)
    ends_quietly(case, menus=1)
    check(os.path.isdir(case.path("temp")), "temp is kept")
    check_equal(case.listing("temp"), [], "temp after @temp=del")
    with open(case.path("Tavrin.ini"), "rb") as f:
        check_equal(f.read(), settings, "settings file")


def temp_kept(args):
    case = Case(args, "temp_kept")
    case.write("Tavrin.ini", b"[system]\r\n@temp=keep\r\n")
    fill_temp(case)
    ends_quietly(case, menus=1)
    check_equal(case.listing("temp"), ["a.html", "b.txt", "sub", "表示.txt"], "temp")


def unreadable_settings(args):
    case = Case(args, "unreadable_settings")
    os.mkdir(case.path("Tavrin.ini"))
    code, report, _ = case.drive("expect-message", timeout_ms=10000, caption="エラー")
    check_equal(code, 0, "driver exit code (0: message shown, program ended)")
    check_equal(report.messages(), [SETTINGS_ERROR], "message boxes")
    check_equal(report["exited"], 1, "ended after OK")
    # Loading stopped before anything else was prepared.
    check_equal(case.listing(), ["Tavrin.exe", "Tavrin.ini"], "program folder")


def renamed_program(args):
    case = Case(args, "renamed_program", exe_name="Other.exe")
    case.write("Tavrin.ini", b"[system]\r\n@temp=del\r\n")
    case.write("temp/old.txt", b"x")
    ends_quietly(case, menus=1)
    check_equal(case.listing(), ["Other.exe", "Tavrin.ini", "temp"], "program folder")
    # The options of Tavrin.ini were applied.
    check_equal(case.listing("temp"), [], "temp after @temp=del from Tavrin.ini")


def own_name_first(args):
    # Beside its own Other.ini, a renamed copy ignores Tavrin.ini.
    case = Case(args, "own_name_first", exe_name="Other.exe")
    case.write("Other.ini", b"[system]\r\n")
    case.write("Tavrin.ini", b"[system]\r\n@temp=del\r\n")
    case.write("temp/old.txt", b"x")
    ends_quietly(case, menus=1)
    check_equal(case.listing("temp"), ["old.txt"], "temp")


def japanese_folder(args):
    case = Case(args, "japanese_folder", folder_name="表示 ソフト")
    ends_quietly(case, menus=1)
    check_equal(case.listing(), ["Tavrin.exe", "Tavrin.ini", "temp"], "program folder")


if __name__ == "__main__":
    main({f.__name__: f for f in (empty_folder, url_argument, long_command_line, temp_emptied, temp_kept,
                                  unreadable_settings, renamed_program, own_name_first,
                                  japanese_folder)})
