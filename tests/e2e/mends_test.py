#!/usr/bin/env python3
"""Inputs a user meets every day, end to end: the README's own sample
settings file, comment lines, percent escapes with "@param", switch texts
inside URLs, apostrophes, a settings file whose last line has no line
break, a URL too long to open, and a browser that answers with its window
number. Copies of the recorder stand in for the associated programs, as in
dispatch_test.py."""
import os
import re
import time

import dispatch_test
from bridge_e2e_test import BridgeCase, check_started
from dispatch_test import Dispatch
from handoff_test import expect_one
from tavrin_e2e import check, check_equal, cp932, main, windows_path

# The README's sample names "notepad" for its [.txt]# block; a recorder of
# that name beside Tavrin.exe is found before the system's.
dispatch_test.PROGRAMS["notepad"] = "notepad.exe"

README = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "README.md")


def readme_settings():
    """The README's sample settings file, byte for byte as the README shows
    it, so that the two can never drift apart."""
    with open(README, encoding="utf-8") as f:
        found = re.search(r"^```ini\n(.*?)^```", f.read(), re.S | re.M)
    check(found is not None, "README.md has an ```ini block")
    return found.group(1).encode("cp932")


# --- comment lines are not settings ----------------------------------------

def readme_sample(args):
    d = Dispatch(args, "readme_sample")
    text = readme_settings()
    check(b"; Exclusive block (\"#\" at the end of the header): [all] is not added." in text,
          "the README's comment that names [all]")
    d.case.write("Tavrin.ini", text)
    # The exclusive [.txt]# block: its one program starts at once.
    d.open("http://host/notes.txt")
    d.expect({"notepad": ["http://host/notes.txt"]})
    # [.html] names C:\Tools\viewer.exe, missing here; the real [all] holds
    # one program with three sub-commands, so the menu is next and nothing
    # starts. Were the comment above [.txt]# read as the [all] header, its
    # block would hold notepad alone, which would start at once.
    d.open("http://host/page.html", menus=1)
    d.expect({"notepad": ["http://host/notes.txt"]})


def commented_param(args):
    # An old "@param" left in a comment neither opens the parameters block
    # nor hides the real one.
    d = Dispatch(args, "commented_param")
    d.write_settings("[system]", ";@param (old)", "%who% | old value", "@param",
                     "%who% | new", "%end",
                     "[.html]", "<viewer>", ">%who% %L", "%end")
    d.open("http://host/page.html")
    d.expect({"viewer": ["new http://host/page.html"]})


# --- URLs keep their percent escapes with "@param" -------------------------

def escapes_with_param(args):
    # The template's own %dd% is today's day; the URLs' escapes, which spell
    # the same names, reach the program byte for byte.
    d = Dispatch(args, "escapes_with_param")
    # The pause keeps the starts, and so the recorded lines, in order.
    d.write_settings("[system]", "@dist=200", "@param", "%end",
                     "[.*]", "<viewer>", "]-u %L -d %dd%", "%end")
    urls = ["http://host/search?q=%82%DD%82%A9&d=%DD%",
            "http://host/%0D%/%4y%/page.html",
            "mailto:someone@example.com?subject=Hi&body=x%0D%0Ay"]
    days = {time.localtime().tm_mday}
    d.open(" ".join(urls))
    days.add(time.localtime().tm_mday)
    check(len(days) == 1, "the day changed during the run; run again")
    day = days.pop()
    d.expect({"viewer": [f"-u {url} -d {day}" for url in urls]})


# --- switch texts inside a URL belong to the URL ----------------------------

FRAGMENT_URLS = ["http://host/app/#blog", "http://host/app/#details",
                 "http://host/app/#settings=1", "http://host/app/#comments"]


def fragments_opened(args):
    # "/#b", "/#d", "/#s" and "/#c" inside a URL are no switches: each URL is
    # opened with its association (not read as a link list, not replaced
    # by the browser's page or the clipboard).
    d = Dispatch(args, "fragments_opened")
    d.write_settings("[blank]", "<viewer>", "%end")
    for url in FRAGMENT_URLS:
        d.open(url)
    d.expect({"viewer": FRAGMENT_URLS})


def fragments_handed_off(args):
    # A second copy hands such a URL over as plain input (link mode 0).
    for i, url in enumerate(FRAGMENT_URLS):
        expect_one(args, f"fragments_handed_off{i}", url.encode(), 0, url.encode())
    # A switch of its own still counts.
    expect_one(args, "fragments_handed_off_switch", b"http://host/app/#blog /#b", 2,
               b"http://host/app/#blog /#b")


# --- an apostrophe belongs to the URL --------------------------------------

def apostrophe_url(args):
    # Inside a URL an apostrophe is part of it; it ends a URL only when the
    # URL began right after one.
    d = Dispatch(args, "apostrophe_url")
    d.write_settings("[blank]", "<viewer>", "%end", "[.html]", "<editor>", "%end")
    d.open("https://host/wiki/Schindler's_List")
    d.open("'http://host/quoted.html'")
    d.open("\"http://host/Schindler's List.html\"")
    d.expect({"viewer": ["https://host/wiki/Schindler's_List"],
              "editor": ["http://host/quoted.html", "\"http://host/Schindler's List.html\""]})


# --- the last line counts without a final line break -----------------------

def last_line_without_break(args):
    # Saved by Notepad: no line break after the sub-command line.
    d = Dispatch(args, "last_line_without_break")
    d.case.write("Tavrin.ini", cp932(d.fill("[.html]\r\n<viewer>\r\n>-v %L")))
    d.open("http://host/page.html")
    d.expect({"viewer": ["-v http://host/page.html"]})


# --- a URL too long to open is told of -------------------------------------

def long_url_box(args):
    # A 400-character URL cannot be held: a caution box names the limit and
    # shows the URL's start; nothing starts. Beside a URL that fits, the box
    # comes first and that URL still opens.
    d = Dispatch(args, "long_url_box")
    d.write_settings("[.html]", "<viewer>", "%end")
    long_url = "http://host/" + "a" * 383 + ".html"
    check_equal(len(long_url), 400, "test URL length")
    link = windows_path(d.case.write("long.url", b"[InternetShortcut]\r\nURL=" +
                                     long_url.encode() + b"\r\n"))
    for arguments in (long_url, f'"{link}"', long_url + " http://host/ok.html"):
        code, report, seconds = d.case.drive("run", cp932(arguments))
        check_equal(code, 0, "driver exit code (0: ended in time)")
        check_equal(report["exit_code"], 0, "program exit code")
        messages = report.messages()
        check_equal([caption for caption, _ in messages], [cp932("注意")], "message boxes")
        check(cp932("開けるURLは259文字までです。") in messages[0][1], "the box names the limit")
        check(cp932(long_url[:80] + "…") in messages[0][1], "the box shows the URL's start")
    d.expect({"viewer": ["http://host/ok.html"]})


# --- a browser's window number is not a refusal ----------------------------

def browser_window_id(args):
    # The browser answers WWW_OpenURL with its window number 0x00000130,
    # whose low byte is the character "0": the page opens once, in the
    # browser, and the association's program is not started as well.
    case = BridgeCase(args, "browser_window_id", programs=("viewer.exe",))
    url = b"http://www.example.com/dir/page.html"
    with case.browser("Win130", "--window-id", "0x130") as browser:
        case.settings([browser.service], case.html_block(b">%S"))
        case.run(url)
        check_started(case, {}, "the association's program")
        check_equal(browser.taken(), [url], "URLs the browser took")


CASES = [readme_sample, commented_param, escapes_with_param, fragments_opened,
         fragments_handed_off, apostrophe_url, last_line_without_break, long_url_box,
         browser_window_id]

if __name__ == "__main__":
    main({f.__name__: f for f in CASES})
