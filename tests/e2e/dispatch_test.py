#!/usr/bin/env python3
"""Opening URLs with their associations: Tavrin.exe reads a settings file
written as a user would write it (CP932, CR LF) and starts copies of the
recorder as the associated programs, or lets the shell open the URL, which
then reaches the recording web browser. Every case checks each program's
exact command lines and working folders, what reached the browser, and that
nothing else was started; and that TavrinCheck.exe, run beside it with
the same arguments, names the same command lines."""
import os
import shutil
import subprocess
import time

from tavrin_e2e import Case, check, check_equal, cp932, main, windows_path

# The stand-in programs of every case, by the names the settings use.
PROGRAMS = {
    "viewer": "prog dir/viewer.exe",
    "editor": "editor.exe",
    "other": "other.exe",
    # "表" and "ソ" both end in the byte of a backslash.
    "japanese": "表示ツール/表示ソフト.exe",
}
# Other paths the settings may use: no program of these names exists.
PLACES = {"missing": "gone/missing.exe", "folder": "folder.exe", "prog_dir": "prog dir"}

# How long a start that the program did not make may take to show up.
SETTLE_SECONDS = 1.0


def settings(*lines, eol="\r\n"):
    return "".join(line + eol for line in lines).encode("cp932")


def record_list(data):
    lines = data.split(b"\n")
    return [(lines[i][4:], lines[i + 1][4:], int(lines[i + 2][2:]))
            for i in range(0, len(lines) - 3, 3)]


class Dispatch:
    """A case folder with the programs installed, and what they recorded."""

    def __init__(self, args, name):
        self.case = Case(args, name)
        self.check_exe = os.environ.get("TAVRIN_CHECK") or os.path.join(
            os.path.dirname(args.tavrin), "TavrinCheck.exe")
        recorder = os.environ.get("TAVRIN_RECORDER") or os.path.join(
            os.path.dirname(args.tavrin), "recorder.exe")
        for relative in PROGRAMS.values():
            os.makedirs(os.path.dirname(self.case.path(relative)), exist_ok=True)
            shutil.copyfile(recorder, self.case.path(relative))
        os.makedirs(self.case.path(PLACES["folder"]))
        self.browser_log = os.path.join(self.case.work, "browser.log")
        # Reaches the browser script through Wine's environment.
        os.environ["TAVRIN_BROWSER_LOG"] = self.browser_log

    def windows(self, name):
        relative = PROGRAMS.get(name) or PLACES[name]
        return windows_path(self.case.path(relative))

    def fill(self, text):
        """Puts the case's paths for "<name>" marks into a settings text."""
        for name in list(PROGRAMS) + list(PLACES):
            text = text.replace(f"<{name}>", self.windows(name))
        return text

    def write_settings(self, *lines, eol="\r\n"):
        self.case.write("Tavrin.ini", settings(*(self.fill(line) for line in lines), eol=eol))

    def open(self, arguments, menus=0):
        """Runs Tavrin.exe with the arguments; it must end by itself, quietly,
        within a few seconds, after showing `menus` menus (the driver
        dismisses them with Escape). Returns its run time in seconds."""
        code, report, seconds = self.case.drive("run", cp932(self.fill(arguments)))
        check_equal(code, 0, "driver exit code (0: ended in time)")
        check_equal(report.messages(), [], "message boxes")
        check_equal(report["menus"], menus, "menus shown")
        check_equal(report["exit_code"], 0, "program exit code")
        check(seconds < 8, f"took {seconds:.1f} s")
        return seconds

    def records(self, name):
        path = self.case.path(PROGRAMS[name]) + ".log"
        if not os.path.exists(path):
            return []
        with open(path, "rb") as f:
            # In the order Tavrin started them: programs started one right
            # after another may write their records in any order on a busy
            # machine, but each record carries its process's creation time.
            return sorted(record_list(f.read()), key=lambda r: r[2])

    def browsed(self):
        if not os.path.exists(self.browser_log):
            return []
        with open(self.browser_log, "rb") as f:
            return f.read().decode("utf-8").splitlines()

    def expect(self, starts=None, browser=()):
        """Waits for the expected starts, then checks that exactly they
        happened. `starts` maps a program to its parameter texts in order."""
        starts = starts or {}
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and not (
                all(len(self.records(n)) >= len(p) for n, p in starts.items())
                and len(self.browsed()) >= len(browser)):
            time.sleep(0.05)
        time.sleep(SETTLE_SECONDS)
        for name in PROGRAMS:
            folder = windows_path(os.path.dirname(self.case.path(PROGRAMS[name])))
            expected = [(cp932(f'"{self.windows(name)}" {self.fill(p)}'), cp932(folder))
                        for p in starts.get(name, [])]
            check_equal([r[:2] for r in self.records(name)], expected, f"starts of {name}")
        check_equal(self.browsed(), list(browser), "URLs opened by the shell")

    def check_tool(self, arguments, starts=None, browser=(), menu=False, options=()):
        """Runs TavrinCheck.exe beside Tavrin.exe with the same arguments: it
        must name exactly the command lines and folders Tavrin started with,
        the URLs the shell opened, or the menu; and change nothing."""
        starts = starts or {}
        tool = self.check_exe
        before = sorted(os.listdir(self.case.folder))
        local = self.case.path("TavrinCheck.exe")
        shutil.copyfile(tool, local)
        out = os.path.join(self.case.work, "check.out")
        with open(out, "wb") as f:
            done = subprocess.run(["wine", local, "open", "--tsv", "--lang", "en", *options, "--",
                                   *words_of(self.fill(arguments))],
                                  stdin=subprocess.DEVNULL, stdout=f, stderr=subprocess.DEVNULL, timeout=60)
        os.remove(local)
        check_equal(sorted(os.listdir(self.case.folder)), before, "the folder after TavrinCheck.exe")
        with open(out, "rb") as f:
            lines = [line.split("\t") for line in f.read().decode("cp932").splitlines()]
        named = {}
        for line in lines:
            if line[0] == "start":
                check_equal(line[4], "", "a start that depends on a browser")
                named.setdefault(line[1], []).append(
                    (f'"{line[1]}" {line[2]}'.rstrip(" "), line[3].rstrip("\\")))
        expected = {}
        for name, parameters in starts.items():
            folder = windows_path(os.path.dirname(self.case.path(PROGRAMS[name])))
            expected[self.windows(name)] = [(f'"{self.windows(name)}" {self.fill(p)}', folder)
                                            for p in parameters]
        check_equal(named, expected, "starts TavrinCheck.exe names")
        check_equal([line[1] for line in lines if line[0] == "open"], list(browser),
                    "URLs TavrinCheck.exe says the system opens")
        check_equal(["menu"] in lines, menu, "TavrinCheck.exe names the menu")
        check_equal([line for line in lines if line[0] == "message"], [], "message boxes named")
        check_equal(done.returncode, 0, "TavrinCheck.exe exit status")


def words_of(arguments):
    """The words a command line splits into: at blanks outside double
    quotes, the quotes removed."""
    words, word, quoted, started = [], "", False, False
    for ch in arguments:
        if ch == '"':
            quoted, started = not quoted, True
        elif ch == " " and not quoted:
            if started:
                words.append(word)
            word, started = "", False
        else:
            word, started = word + ch, True
    if started:
        words.append(word)
    return words


HTML_VIEWER = ("[.html]", "<viewer>", "%end")

# Name, settings lines, Tavrin's arguments, expected starts, URLs that
# reach the browser. One run each.
TABLE = [
    ("single_program", HTML_VIEWER, "http://host/dir/page.html",
     {"viewer": ["http://host/dir/page.html"]}, []),
    ("url_with_space", HTML_VIEWER, '"http://host/my dir/page.html"',
     {"viewer": ['"http://host/my dir/page.html"']}, []),
    ("header_upper_case", ("[.HTML]", "<viewer>", "%end"), "http://host/page.html",
     {"viewer": ["http://host/page.html"]}, []),
    ("path_upper_case", HTML_VIEWER, "http://host/PAGE.Html",
     {"viewer": ["http://host/PAGE.Html"]}, []),
    ("blank_key", ("[.html]", "<editor>", "%end", "[blank]", "<viewer>", "%end"),
     "http://host/dir/", {"viewer": ["http://host/dir/"]}, []),
    # Found by the "@path=" list, and by its name without ".exe".
    ("path_list", ("[system]", "@path=<prog_dir>", "%end",
                   "[.html]", "viewer", "%end"),
     "http://host/a.html", {"viewer": ["http://host/a.html"]}, []),
    ("exclusive_block", ("[.txt]#", "<viewer>", "%end", "[all]", "<editor>", "<other>", "%end"),
     "http://host/notes.txt", {"viewer": ["http://host/notes.txt"]}, []),
    # Three programs to choose from: the menu, no start.
    ("shared_block", ("[.txt]", "<viewer>", "%end", "[all]", "<editor>", "<other>", "%end"),
     "http://host/notes.txt", {}, []),
    # The fallback block always offers a choice, even of one program.
    ("fallback_menu", ("[.txt]", "<missing>", "%end", "[.*]", "<viewer>", "%end"),
     "http://host/notes.txt", {}, []),
    # Without a block of its own the target's one program starts at once.
    ("fallback_single", ("[.*]", "<viewer>", ">-open %K", "%end"),
     "http://host/doc.pdf", {"viewer": ["-open doc.pdf"]}, []),
    ("no_block", ("[.txt]", "<viewer>", "%end"), "http://host/x.html",
     {}, ["http://host/x.html"]),
    ("run_template",
     ("[.html]", "<viewer>",
      ">-host %G -path %J -file %K -dir %-J -url %L -base %-L -scheme %F | 表示", "%end"),
     "http://www.example.com:8080/a/b/page.html?q=1#top",
     {"viewer": ["-host www.example.com -path /a/b/page.html -file page.html -dir /a/b/"
                 " -url http://www.example.com:8080/a/b/page.html?q=1#top"
                 " -base http://www.example.com:8080/a/b/page.html?q=1 -scheme http"]}, []),
    ("all_targets", ("[.html]", "<viewer>", ">-a %M -z", "%end"),
     'http://h/1.html "http://h/url 2.html"',
     {"viewer": ['-a http://h/1.html "http://h/url 2.html" -z']}, []),
    # No browser bridge beside the program: the program gets the URL.
    ("browser_fallback", ("[.html]", "<viewer>", ">%S", "%end"), '"http://h/a b.html"',
     {"viewer": ['"http://h/a b.html"']}, []),
    # Neither a folder nor a missing program is a program; with no "[.*]"
    # the shell opens the URL.
    ("folder_and_missing", ("[.html]", "<folder>", "<missing>", "%end"), "http://h/x.html",
     {}, ["http://h/x.html"]),
    # Without "%end" a block runs on into the next one.
    ("missing_end", ("[.html]", "<missing>", "[.txt]", "<viewer>", "%end"), "http://h/x.html",
     {"viewer": ["http://h/x.html"]}, []),
    # A header named in a comment line is no header: the real block counts.
    ("header_in_comment",
     ("; the [.html] block follows", "<viewer>", "%end", "[.html]", "<editor>", "%end"),
     "http://h/x.html", {"editor": ["http://h/x.html"]}, []),
    ("japanese", ("[.html]", "<japanese> | 表示する", ">%L %-J %K", "%end"),
     "http://host/表示/ソフト.html",
     {"japanese": ["http://host/表示/ソフト.html /表示/ ソフト.html"]}, []),
]


# Cases whose choice is left to the menu (dismissed, so nothing starts).
MENU_CASES = {"shared_block", "fallback_menu"}


def table_case(name, lines, arguments, starts, browser, menu_cases=MENU_CASES):
    """A case of a table: the settings lines, Tavrin's arguments, the starts
    and shell opens expected; the check tool's dry run must go the same way.
    Cases named in `menu_cases` show a menu, which the driver dismisses."""
    def run(args):
        d = Dispatch(args, name)
        d.write_settings(*lines)
        d.open(arguments, menus=1 if name in menu_cases else 0)
        d.expect(starts, browser)
        d.check_tool(arguments, starts, browser, menu=name in menu_cases)
    run.__name__ = name
    return run


def run_each(args):
    d = Dispatch(args, "run_each")
    d.write_settings("[system]", "@dist=300,600", "%end", "[.html]", "<viewer>", "]-u %L", "%end")
    urls = ["http://h/1.html", "http://h/2.html", "http://h/3.html"]
    seconds = d.open(" ".join(urls))
    # A pause follows every start, the last one included.
    check(seconds >= 1.5, f"run time {seconds:.2f} s covers the pauses")
    d.expect({"viewer": ["-u " + url for url in urls]})
    d.check_tool(" ".join(urls), {"viewer": ["-u " + url for url in urls]})
    times = [t for _, _, t in d.records("viewer")]
    gaps = [b - a for a, b in zip(times, times[1:])]
    # Creation times have a few milliseconds of grain.
    check(gaps[0] >= 290 and gaps[1] >= 590, f"gaps between starts {gaps} ms")


def shortcut_file(args):
    # Given quoted, and unquoted though its name holds a space.
    d = Dispatch(args, "shortcut_file")
    d.write_settings(*HTML_VIEWER)
    link = windows_path(d.case.write("リンク 1.url",
                                     b"[InternetShortcut]\r\nURL=http://h/x.html\r\n"))
    d.open(f'"{link}"')
    d.open(link)
    d.expect({"viewer": ["http://h/x.html"] * 2})
    d.check_tool(f'"{link}"', {"viewer": ["http://h/x.html"]})
    d.check_tool(link, {"viewer": ["http://h/x.html"]})


def edited_settings(args):
    # Each dispatch reads the file as it is; the edited one has LF line ends.
    d = Dispatch(args, "edited_settings")
    d.write_settings(*HTML_VIEWER)
    d.open("http://h/1.html")
    d.expect({"viewer": ["http://h/1.html"]})
    d.check_tool("http://h/1.html", {"viewer": ["http://h/1.html"]})
    d.write_settings("[.html]", "<editor>", "%end", eol="\n")
    d.open("http://h/2.html")
    d.expect({"viewer": ["http://h/1.html"], "editor": ["http://h/2.html"]})
    d.check_tool("http://h/2.html", {"editor": ["http://h/2.html"]})


if __name__ == "__main__":
    cases = [table_case(*row) for row in TABLE] + [run_each, shortcut_file, edited_settings]
    main({f.__name__: f for f in cases})
