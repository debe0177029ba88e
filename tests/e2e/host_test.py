#!/usr/bin/env python3
"""Host blocks and Tavrin as the system's web link handler, end to end.

Host blocks: Tavrin.exe reads "[host:...]" blocks from a settings file and
starts copies of the recorder, as in dispatch_test.py (whose cases, run
with settings files without host blocks, show that nothing changed there).

The registration: register.cmd and unregister.cmd from dist/ run under
Wine's cmd beside a copy of Tavrin.exe, and `wine reg query` reads back
what they wrote. What Wine 8 does with it (measured by these cases):
- Wine's shell ignores the registration for http: the per-user class, the
  browser's capabilities, a per-user choice under
  ...\\Shell\\Associations\\UrlAssociations\\http\\UserChoice and even a
  per-user HKCU\\Software\\Classes\\http all leave http URLs with
  winebrowser; Wine reads the http class only from HKLM\\Software\\Classes
  (HKCR). With the registered command put there - what choosing Tavrin as
  the browser amounts to under Wine - a URL that another program (Wine's
  start.exe) opens through the shell reaches Tavrin, and its host block.
- The same class makes Tavrin the system's program for http, which is what
  the loop guard must notice: opening such a URL "by the system" shows a
  caution box and starts nothing.
Cases that change the http class restore it, and hold a resource lock so
that no other case opens an http URL meanwhile.
"""
import os
import re
import shutil
import subprocess

from dispatch_test import Dispatch, table_case
from menu_test import MenuCase
from tavrin_e2e import check, check_equal, cp932, hand_off_record, main, windows_path

DIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "dist")

HTTP_COMMAND = r"HKCR\http\shell\open\command"
WINE_BROWSER = '"C:\\windows\\system32\\winebrowser.exe" "%1"'
CLASS = r"HKCU\Software\Classes\TavrinURL"
SHORTCUT = r"HKCU\Software\Classes\TavrinShortcut"
CLIENT = r"HKCU\Software\Clients\StartMenuInternet\Tavrin"
REGISTERED = r"HKCU\Software\RegisteredApplications"
USER_CHOICE = r"HKCU\Software\Microsoft\Windows\Shell\Associations\UrlAssociations\http"
USER_HTTP = r"HKCU\Software\Classes\http"

VIDEO = "[host:video.example;*.clips.example]"


# --- host blocks ----------------------------------------------------------

# Name, settings lines, Tavrin's arguments, expected starts, URLs that reach
# the browser. "<viewer>" has the extension block, "<other>" the host block.
TABLE = [
    ("single_program", ("[.html]", "<viewer>", "%end", VIDEO, "<other>", "%end"),
     "http://www.clips.example/a.html", {"other": ["http://www.clips.example/a.html"]}, []),
    ("case_and_port", ("[.html]", "<viewer>", "%end", VIDEO, "<other>", "%end"),
     "http://VIDEO.Example:8080/a.html", {"other": ["http://VIDEO.Example:8080/a.html"]}, []),
    ("other_host", ("[.html]", "<viewer>", "%end", VIDEO, "<other>", "%end"),
     "http://video.example.org/a.html", {"viewer": ["http://video.example.org/a.html"]}, []),
    ("first_block_wins", ("[host:*.example]", "<editor>", "%end", VIDEO, "<other>", "%end"),
     "https://video.example/", {"editor": ["https://video.example/"]}, []),
    # Exclusive: "[all]" is not added, so the one program starts at once.
    ("exclusive_block", ("[host:video.example]#", "<other>", "%end",
                         "[all]", "<editor>", "<viewer>", "%end"),
     "http://video.example/a.html", {"other": ["http://video.example/a.html"]}, []),
    # Not exclusive: three programs with "[all]", so the single-program rule
    # does not apply: the menu shows (the driver dismisses it), nothing starts.
    ("block_and_all", ("[host:video.example]", "<other>", "%end",
                       "[all]", "<editor>", "<viewer>", "%end"),
     "http://video.example/a.html", {}, []),
    ("sub_command", (VIDEO, "<japanese> | 再生", ">-site %G -file %K", "%end"),
     "http://www.clips.example:8080/v/clip.mp4?t=1",
     {"japanese": ["-site www.clips.example -file clip.mp4"]}, []),
    ("japanese_host", ("[host:*.例え.jp]", "<other>", "%end"), "http://www.例え.jp/表.html",
     {"other": ["http://www.例え.jp/表.html"]}, []),
    # No host: the block of the path's "extension" is used.
    ("mailto_has_no_host", ("[host:video.example]", "<other>", "%end",
                            "[.example]", "<viewer>", "%end"),
     "mailto:me@video.example", {"viewer": ["mailto:me@video.example"]}, []),
]


MENU_CASES = {"block_and_all"}


def shortcut_file(args):
    # An Internet shortcut is opened by the URL it holds: that URL's host.
    d = Dispatch(args, "shortcut_file")
    d.write_settings("[.html]", "<viewer>", "%end", VIDEO, "<other>", "%end")
    link = windows_path(d.case.write("ビデオ.url",
                                     b"[InternetShortcut]\r\nURL=http://video.example/x.html\r\n"))
    d.open(f'"{link}"')
    d.expect({"other": ["http://video.example/x.html"]})


def menu_choice(args):
    # The host block's programs and "[all]" in the menu, worked with keys.
    c = MenuCase(args, "menu_choice")
    c.settings("[system]", "@menu=200,150", "%end",
               "[.html]", "<viewer> | &Viewer", "%end",
               "[host:*.clips.example]", "<other> | &Other", "<editor> | &Editor",
               ">-e %G | &Site", ">-f %K | &File", "%end",
               "[all]", "<japanese> | &Japanese", "%end")
    c.choose("http://www.clips.example/a.html", "o")
    c.choose("http://www.clips.example/b.html", "e", "f")
    c.choose("http://www.clips.example/c.html", "j")
    c.choose("http://other.example/d.html", "v")
    c.d.expect({"other": ["http://www.clips.example/a.html"], "editor": ["-f b.html"],
                "japanese": ["http://www.clips.example/c.html"],
                "viewer": ["http://other.example/d.html"]})


# --- the registry ---------------------------------------------------------

def wine_reg(*arguments):
    done = subprocess.run(["wine", "reg", *arguments], stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
    return done.returncode, done.stdout.decode("cp932", errors="replace")


def reg_value(key, name=None):
    """The data of a value (the default one without a name), or None."""
    code, out = wine_reg("query", key, *(["/v", name] if name else ["/ve"]))
    if code != 0:
        return None
    for line in out.splitlines():
        found = re.match(r"^    (.*?)    (REG_\w+)    (.*)$", line)
        if found:
            return found.group(3)
    return None


def key_exists(key):
    return wine_reg("query", key)[0] == 0


def set_default(key, data):
    code, out = wine_reg("add", key, "/ve", "/d", data, "/f")
    check_equal(code, 0, f"reg add {key}: {out}")


def run_script(case, name):
    shutil.copyfile(os.path.join(DIST, name), case.path(name))
    done = subprocess.run(["wine", "cmd", "/c", name], cwd=case.folder, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    return done.returncode, done.stdout.decode("cp932", errors="replace")


class HttpClass:
    """Points the machine's http class (what Wine's shell reads) at another
    command for the length of a with-block, and puts it back."""

    def __init__(self, command):
        self.command = command
        self.saved = reg_value(HTTP_COMMAND)
        # A run that was killed may have left a scratch program there.
        if self.saved is None or "scratch" in self.saved:
            self.saved = WINE_BROWSER

    def __enter__(self):
        set_default(HTTP_COMMAND, self.command)
        return self

    def __exit__(self, *exc):
        set_default(HTTP_COMMAND, self.saved)


def remove_registration():
    for key in (CLASS, SHORTCUT, CLIENT, USER_CHOICE, USER_HTTP):
        wine_reg("delete", key, "/f")
    wine_reg("delete", REGISTERED, "/v", "Tavrin", "/f")


def register_unregister(args):
    d = Dispatch(args, "register_unregister")
    exe = windows_path(d.case.exe)
    remove_registration()
    try:
        code, out = run_script(d.case, "register.cmd")
        check_equal(code, 0, f"register.cmd exit code ({out})")
        expected = [
            (CLASS, None, "Tavrin URL"),
            (CLASS, "URL Protocol", ""),
            (CLASS + r"\shell\open\command", None, f'"{exe}" "%1"'),
            (CLASS + r"\DefaultIcon", None, f"{exe},0"),
            (CLIENT, None, "Tavrin"),
            (CLIENT + r"\shell\open\command", None, f'"{exe}"'),
            (CLIENT + r"\Capabilities", "ApplicationName", "Tavrin"),
            (CLIENT + r"\Capabilities\URLAssociations", "http", "TavrinURL"),
            (CLIENT + r"\Capabilities\URLAssociations", "https", "TavrinURL"),
            (CLIENT + r"\Capabilities\URLAssociations", "mailto", "TavrinURL"),
            (CLIENT + r"\Capabilities\FileAssociations", ".url", "TavrinShortcut"),
            (SHORTCUT + r"\shell\open\command", None, f'"{exe}" "%1"'),
            (SHORTCUT + r"\DefaultIcon", None, f"{exe},0"),
            (REGISTERED, "Tavrin", r"Software\Clients\StartMenuInternet\Tavrin\Capabilities"),
        ]
        for key, name, data in expected:
            check_equal(reg_value(key, name), data, f"{key} {name or '(default)'}")
        # Running it again changes nothing.
        check_equal(run_script(d.case, "register.cmd")[0], 0, "second register.cmd")
        check_equal(reg_value(CLASS + r"\shell\open\command"), f'"{exe}" "%1"', "command")

        code, out = run_script(d.case, "unregister.cmd")
        check_equal(code, 0, f"unregister.cmd exit code ({out})")
        check(not key_exists(CLASS), "the URL class is gone")
        check(not key_exists(SHORTCUT), "the shortcut class is gone")
        check(not key_exists(CLIENT), "the browser entry is gone")
        check_equal(reg_value(REGISTERED, "Tavrin"), None, "RegisteredApplications value")
        check(key_exists(r"HKCU\Software\Clients"), "the keys above stay")
        # Nothing left to remove is no failure.
        check_equal(run_script(d.case, "unregister.cmd")[0], 0, "second unregister.cmd")
    finally:
        remove_registration()


def register_in_odd_folder(args):
    # "&", parentheses, "!" and a Japanese name in the folder's path.
    d = Dispatch(args, "odd & (x86) 表!")
    remove_registration()
    try:
        code, out = run_script(d.case, "register.cmd")
        check_equal(code, 0, f"register.cmd exit code ({out})")
        exe = windows_path(d.case.exe)
        check_equal(reg_value(CLASS + r"\shell\open\command"), f'"{exe}" "%1"', "command")
        check_equal(reg_value(CLIENT + r"\shell\open\command"), f'"{exe}"', "browser command")
        check_equal(run_script(d.case, "unregister.cmd")[0], 0, "unregister.cmd")
        check(not key_exists(CLASS), "the URL class is gone")
    finally:
        remove_registration()


def missing_program(args):
    # Without Tavrin.exe beside it register.cmd writes nothing.
    d = Dispatch(args, "missing_program")
    os.remove(d.case.exe)
    remove_registration()
    try:
        code, _ = run_script(d.case, "register.cmd")
        check_equal(code, 1, "register.cmd exit code")
        check(not key_exists(CLASS), "no URL class")
        check(not key_exists(SHORTCUT), "no shortcut class")
        check(not key_exists(CLIENT), "no browser entry")
    finally:
        remove_registration()


def shell_start(url):
    """Another program opens the URL through the shell (ShellExecuteEx)."""
    subprocess.run(["wine", "start", url], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60)


def shell_open(args):
    d = Dispatch(args, "shell_open")
    d.write_settings("[.html]", "<viewer>", "%end", VIDEO, "<other>", "%end")
    remove_registration()
    try:
        check_equal(run_script(d.case, "register.cmd")[0], 0, "register.cmd")
        # Registered only, then chosen per user as Windows records the
        # choice, then a per-user http class: Wine's shell ignores all three.
        shell_start("http://video.example/1.html")
        wine_reg("add", USER_CHOICE + r"\UserChoice", "/v", "ProgId", "/d", "TavrinURL", "/f")
        shell_start("http://video.example/2.html")
        set_default(USER_HTTP + r"\shell\open\command",
                    reg_value(CLASS + r"\shell\open\command"))
        shell_start("http://video.example/3.html")
        d.expect({}, ["http://video.example/1.html", "http://video.example/2.html",
                      "http://video.example/3.html"])
        # The machine's http class is what Wine reads: with the registered
        # command there, the URL reaches Tavrin and its host block.
        browsed = ["http://video.example/1.html", "http://video.example/2.html",
                   "http://video.example/3.html"]
        with HttpClass(reg_value(CLASS + r"\shell\open\command")):
            # One at a time: a copy started while another is still at work
            # and shows no window hands its URL to no one.
            shell_start("http://video.example/4.html")
            d.expect({"other": ["http://video.example/4.html"]}, browsed)
            shell_start("http://other.example/5.html")
            d.expect({"other": ["http://video.example/4.html"],
                      "viewer": ["http://other.example/5.html"]}, browsed)
    finally:
        remove_registration()


# --- the loop guard -------------------------------------------------------

def refused(d, arguments):
    code, report, seconds = d.case.drive("expect-message", cp932(arguments),
                                         caption="注意")
    check_equal(code, 0, "driver exit code (0: the box showed and the program ended)")
    check_equal(report["exit_code"], 0, "program exit code")
    messages = report.messages()
    check_equal([caption for caption, _ in messages], [cp932("注意")], "message boxes")
    check(cp932("ブラウザが設定されていません") in messages[0][1], "the box says why")
    check(cp932(arguments.strip('"')) in messages[0][1], "the box names the URL")
    check(seconds < 8, f"took {seconds:.1f} s")


def loop_guard(args):
    # Tavrin is the system's program for http. Every way of opening a URL
    # "by the system" is refused, and nothing starts: neither another copy
    # of Tavrin (which would go on for ever) nor the browser.
    d = Dispatch(args, "loop_guard")
    with HttpClass(f'"{windows_path(d.case.exe)}" "%1"'):
        for settings in (("[.txt]", "<viewer>", "%end"),           # no association at all
                         ("[.html]", "@system", "%end"),             # "@system"
                         ("[.html]", "@system | 既定", ">%L", "%end"),
                         ("[host:video.example]", "@system", "%end")):
            d.write_settings(*settings)
            refused(d, "http://video.example/a.html")
        refused(d, '"http://video.example/a b.html"')
        # https has its own program, the browser: it opens as before.
        d.write_settings("[.txt]", "<viewer>", "%end")
        d.open("https://video.example/a.html")
        d.expect({}, ["https://video.example/a.html"])


def title_item_refused(args):
    # The menu's title item opens the target by the system: refused too.
    c = MenuCase(args, "title_item_refused")
    c.settings("[system]", "@menu=200,150", "%end",
               "[host:video.example]", "<other> | &Other", "<editor> | &Editor", "%end")
    with HttpClass(f'"{windows_path(c.d.case.exe)}" "%1"'):
        run = c.start("http://video.example/a.html")
        run.point_at(run.menu())
        run.keys("0")
        report = run.finish()
    check_equal([caption for caption, _ in report.messages()], [cp932("注意")], "message boxes")
    c.d.expect({}, [])


def handoff_unaffected(args):
    # With a running copy, a second start hands the URL over as always.
    d = Dispatch(args, "handoff_unaffected")
    d.write_settings("[system]", "%end")
    with HttpClass(f'"{windows_path(d.case.exe)}" "%1"'):
        code, report, _ = d.case.drive("fake-copy", b"http://video.example/a.html")
    check_equal(code, 0, "driver exit code (0: data arrived)")
    check_equal(report.messages(), [], "message boxes")
    received = report.copydata()
    check_equal([hand_off_record(r["bytes"])[0] for r in received], [b"http://video.example/a.html\0"],
                "hand-offs")


def no_registry_writes(args):
    # Tavrin.exe itself writes no registry key: it imports none of the
    # functions that could.
    objdump = os.environ.get("TAVRIN_OBJDUMP", "objdump")
    done = subprocess.run([objdump, "-p", args.tavrin], stdout=subprocess.PIPE, check=True)
    imports = set(re.findall(rb"^\s+[0-9a-f]+\s+\d+\s+(\w+)$", done.stdout, re.M))
    check(len(imports) > 50, f"import table read ({len(imports)} names)")
    writers = sorted(n.decode() for n in imports if re.match(
        rb"Reg(Create|Set|Delete|Save|Replace|Restore|Copy|Load|Unload|Rename)|"
        rb"SHReg(Create|Set|Write|Delete)|SHSetValue|SHDelete(Key|Value|EmptyKey)|SHCopyKey", n))
    check_equal(writers, [], "registry-writing imports")


if __name__ == "__main__":
    cases = [table_case(*row, menu_cases=MENU_CASES) for row in TABLE] + [
        shortcut_file, register_unregister, register_in_odd_folder, missing_program, shell_open,
        loop_guard, title_item_refused, handoff_unaffected, no_registry_writes, menu_choice]
    main({f.__name__: f for f in cases})
