#!/usr/bin/env python3
"""The browser bridge end to end: the real Tavrin.exe, with tvDDE.dll beside
it (or without it), talks to fake_browser.exe, a DDE server playing the web
browser. Copies of recorder.exe stand in for the associated programs; each
writes what it was started with to "<its path>.log".

The paths of fake_browser.exe, tvDDE.dll and recorder.exe come from the
environment (TAVRIN_E2E_FAKE_BROWSER, TAVRIN_E2E_TVDDE, TAVRIN_E2E_RECORDER);
without it they are looked for beside Tavrin.exe.
"""
import os
import shutil
import subprocess
import time

from tavrin_e2e import Case, Failure, check, check_equal, cp932, main, windows_path

# A started program has written its log well within this time; a program
# that was not started has not written one by then either.
START_GRACE = 3.0
QUIET_GRACE = 1.5


def tool(args, variable, name):
    return os.environ.get(variable) or os.path.join(os.path.dirname(args.tavrin), name)


class FakeBrowser:
    """fake_browser.exe serving one service name for the length of a
    with-block; its files live in the case's work folder."""

    def __init__(self, args, case, tag, *options, reply=None):
        # Names are global in the Wine session: make them unique per run.
        self.service = "Tv%d%s" % (os.getpid(), tag)
        check(len(self.service) <= 31, "service names hold 31 characters")
        folder = os.path.join(case.work, "browser_" + tag)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        self.files = {k: os.path.join(folder, k) for k in ("log", "trace", "ready", "stop", "out")}
        self.argv = ["wine", tool(args, "TAVRIN_E2E_FAKE_BROWSER", "fake_browser.exe"),
                     "--service", self.service, "--seconds", "120", *options]
        for key in ("log", "trace", "ready", "stop"):
            self.argv += ["--" + key, windows_path(self.files[key])]
        if reply is not None:
            path = os.path.join(folder, "reply")
            with open(path, "wb") as f:
                f.write(reply)
            self.argv += ["--reply-file", windows_path(path)]

    def __enter__(self):
        # Output to a file: Wine's helpers may hold an inherited pipe open.
        self.out = open(self.files["out"], "wb")
        self.proc = subprocess.Popen(self.argv, stdin=subprocess.DEVNULL, stdout=self.out,
                                     stderr=subprocess.STDOUT)
        deadline = time.monotonic() + 30
        while not os.path.exists(self.files["ready"]):
            if self.proc.poll() is not None or time.monotonic() > deadline:
                self.__exit__()
                raise Failure(f"fake browser {self.service} did not start")
            time.sleep(0.02)
        return self

    def __exit__(self, *exc):
        open(self.files["stop"], "w").close()
        try:
            self.proc.wait(timeout=15)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.out.close()

    def _lines(self, key):
        if not os.path.exists(self.files[key]):
            return []
        with open(self.files[key], "rb") as f:
            return f.read().split(b"\n")[:-1]

    def taken(self):
        """The URLs this browser accepted, in order."""
        return self._lines("log")

    def asked(self):
        """The transactions it saw: kind, topic and item or data."""
        return self._lines("trace")


class BridgeCase(Case):
    """A case folder with Tavrin.exe, optionally tvDDE.dll, and recorder
    copies as the associated programs."""

    def __init__(self, args, name, library=True, programs=("viewer.exe",)):
        super().__init__(args, name)
        self.args = args
        if library:
            shutil.copyfile(tool(args, "TAVRIN_E2E_TVDDE", "tvDDE.dll"), self.path("tvDDE.dll"))
        self.programs = {}
        for relative in programs:
            full = self.path(relative)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            shutil.copyfile(tool(args, "TAVRIN_E2E_RECORDER", "recorder.exe"), full)
            self.programs[relative] = full

    def browser(self, tag, *options, reply=None):
        return FakeBrowser(self.args, self, tag, *options, reply=reply)

    def program_line(self, relative, caption):
        return cp932(windows_path(self.programs[relative])) + b" | " + caption + b"\r\n"

    def settings(self, services=(), blocks=b""):
        text = b"[system]\r\n"
        if services:
            text += b"@dde=" + ";".join(services).encode() + b"\r\n"
        self.write("Tavrin.ini", text + b"%end\r\n" + blocks)

    def html_block(self, sub_command=None, relative="viewer.exe"):
        """The [.html] block: one program, with one sub-command line if given."""
        block = b"[.html]\r\n" + self.program_line(relative, b"View")
        if sub_command is not None:
            block += sub_command + b" | Browser\r\n"
        return block + b"%end\r\n"

    def forget_starts(self):
        for full in self.programs.values():
            if os.path.exists(full + ".log"):
                os.remove(full + ".log")

    def run(self, arguments, timeout_ms=10000, boxes=(), menus=0):
        """Runs Tavrin to its end; it must end by itself with 0, quietly or
        with message boxes of the given captions. Without a page to open it
        shows the tools menu, which the driver dismisses: pass menus=1 then."""
        self.forget_starts()
        code, report, seconds = self.drive("run", arguments, timeout_ms=timeout_ms)
        check_equal(code, 0, "driver exit code (0: Tavrin ended in time)")
        check_equal([caption for caption, _ in report.messages()], [cp932(b) for b in boxes],
                    "message boxes")
        check_equal(report["menus"], menus, "menus shown")
        check_equal(report["exit_code"], 0, "Tavrin's exit code")
        print(f"ran {arguments[:40]!r}: {seconds:.2f} s")
        return seconds

    def starts(self, expect_any):
        """Each program's starts as (command line, working folder) pairs.
        Waits until a start shows when one is expected, else a while, so
        that a late start would still be seen."""
        deadline = time.monotonic() + (START_GRACE if expect_any else QUIET_GRACE)
        while time.monotonic() < deadline:
            if expect_any and any(os.path.exists(p + ".log") for p in self.programs.values()):
                time.sleep(0.2)  # a second, unwanted start would show by now
                break
            time.sleep(0.05)
        found = {}
        for relative, full in self.programs.items():
            if os.path.exists(full + ".log"):
                with open(full + ".log", "rb") as f:
                    lines = f.read().split(b"\n")[:-1]
                found[relative] = [(lines[i][4:], lines[i + 1][4:])
                                   for i in range(0, len(lines) - 1, 2)]
        return found

    def started_with(self, relative, parameters):
        """The one start expected: `relative` with `parameters`, in its own folder."""
        full = self.programs[relative]
        command = b'"' + cp932(windows_path(full)) + b'"'
        if parameters:
            command += b" " + parameters
        folder = cp932(windows_path(os.path.dirname(full)))
        return {relative: [(command, folder)]}


def normalised(starts):
    # The working folder is handed over with its trailing backslash; the
    # system reports it with or without one.
    return {k: [(c, d.rstrip(b"\\")) for c, d in v] for k, v in starts.items()}


def check_started(case, expected, what):
    check_equal(normalised(case.starts(bool(expected))), normalised(expected), what)


PAGE = b'"http://www.example.com/dir/page.html","Example page",""'


# --- the page of the running browser at start-up ---------------------------

def page_of_named_browser(args):
    # "/#d=NAME" asks NAME only, even with other services in the settings,
    # and the page goes through the associations like a typed URL.
    table = [
        ("plain", PAGE, b"http://www.example.com/dir/page.html"),
        ("space", b'"http://www.example.com/a page.html","t"', b'"http://www.example.com/a page.html"'),
        ("japanese", cp932('"http://例え.jp/表示/ソフト.html","日本語",""'),
         cp932("http://例え.jp/表示/ソフト.html")),
    ]
    case = BridgeCase(args, "page_of_named_browser")
    with case.browser("Other", reply=b'"http://other.example/x.html"') as other:
        case.settings([other.service], case.html_block())
        for tag, reply, parameters in table:
            with case.browser(tag, reply=reply) as named:
                seconds = case.run(b"/#d=" + named.service.encode())
                check_started(case, case.started_with("viewer.exe", parameters), tag)
                check_equal(named.asked(), [b"request WWW_GetWindowInfo 0xFFFFFFFF"], tag + ": asked")
                check(seconds < 5, f"{tag}: took {seconds:.1f} s")
        check_equal(other.asked(), [], "the listed service")


def page_of_first_answering_browser(args):
    # "/#d" asks the listed services in order until one answers; a first
    # one that is absent or gives no page costs little time.
    case = BridgeCase(args, "page_of_first_answering_browser")
    absent = "Tv%dNobody" % os.getpid()
    with case.browser("Second", reply=PAGE) as second, \
            case.browser("First", "--refuse") as refusing:
        for tag, first in (("absent", absent), ("refusing", refusing.service)):
            case.settings([first, second.service], case.html_block())
            seconds = case.run(b"/#d")
            check_started(case, case.started_with("viewer.exe", b"http://www.example.com/dir/page.html"),
                          tag)
            check(seconds < 3, f"{tag}: took {seconds:.1f} s")
        check_equal(refusing.asked(), [b"request WWW_GetWindowInfo 0xFFFFFFFF"], "first asked")
        check_equal(len(second.asked()), 2, "the second service was asked in both runs")


# --- handing a URL to the browser ------------------------------------------

def url_to_browser(args):
    # ">%S": the URL goes to the first listed service that takes it, exactly
    # as given; the association's program is not started.
    # Recognition takes URLs of up to 259 characters; with its argument list
    # around it this one no longer fits into an item name.
    long_url = b"http://long.example/" + b"a" * 225 + b".html"
    urls = [
        b"http://www.example.com/dir/page.html?q=1#top",
        cp932("http://例え.jp/表示/ソフト.html"),
        long_url,  # too long for an item name: sent as an execute
    ]
    case = BridgeCase(args, "url_to_browser")
    with case.browser("Refuser", "--refuse") as refuser, case.browser("Taker") as taker:
        case.settings([refuser.service, taker.service], case.html_block(b">%S"))
        for url in urls:
            seconds = case.run(url)
            check_started(case, {}, url[:40])
            check(seconds < 5, f"took {seconds:.1f} s")
        check_equal(taker.taken(), urls, "URLs the browser took")
        check_equal([line.split(b" ")[0] for line in taker.asked()],
                    [b"request", b"request", b"execute"], "transactions")
        check_equal(len(refuser.asked()), 3, "the refusing service was asked first each time")
        check_equal(refuser.taken(), [], "URLs the refusing service took")


def url_to_named_browser(args):
    # ">%S=NAME" names the service itself; the listed one is not asked.
    case = BridgeCase(args, "url_to_named_browser")
    with case.browser("Listed") as listed, case.browser("Named") as named:
        case.settings([listed.service],
                      case.html_block(b">ignored %S=" + named.service.encode()))
        case.run(b"http://www.example.com/dir/page.html")
        check_started(case, {}, "starts")
        check_equal(named.taken(), [b"http://www.example.com/dir/page.html"], "named took")
        check_equal(listed.asked(), [], "listed asked")


# --- the fallback program ----------------------------------------------------

FALLBACK = "表示 ソフト/viewer.exe"  # working folder with a space and CP932


def falls_back(case, rows, url=b"http://www.example.com/dir/page.html"):
    """Each row: tag, listed services, sub-command. The URL must reach the
    association's program, started in its own folder."""
    for tag, services, sub_command in rows:
        case.settings(services, case.html_block(sub_command, FALLBACK))
        seconds = case.run(url)
        check_started(case, case.started_with(FALLBACK, url), tag)
        check(seconds < 5, f"{tag}: took {seconds:.1f} s")


def refusing_browser(args):
    case = BridgeCase(args, "refusing_browser", programs=(FALLBACK,))
    with case.browser("Refuser", "--refuse") as refuser:
        name = refuser.service
        falls_back(case, [("listed", [name], b">%S"),
                          ("named", [], b">%S=" + name.encode())])
        check_equal(len(refuser.asked()), 2, "asked once per run")
        check_equal(refuser.taken(), [], "taken")


def absent_browser(args):
    case = BridgeCase(args, "absent_browser", programs=(FALLBACK,))
    absent = "Tv%dNobody" % os.getpid()
    falls_back(case, [("listed", [absent], b">%S"),
                      ("named", [], b">%S=" + absent.encode()),
                      ("none listed", [], b">%S")])


def without_library(args):
    # No tvDDE.dll: the browser is never reached even though it runs.
    case = BridgeCase(args, "without_library", library=False, programs=(FALLBACK,))
    with case.browser("Running", reply=PAGE) as browser:
        name = browser.service
        falls_back(case, [("listed", [name], b">%S"),
                          ("named", [], b">%S=" + name.encode())])
        case.settings([name], case.html_block(None, FALLBACK))
        for switch in (b"/#d=" + name.encode(), b"/#d"):
            seconds = case.run(switch, menus=1)
            check_started(case, {}, switch.decode())
            check(seconds < 5, f"took {seconds:.1f} s")
        check_equal(browser.asked(), [], "transactions")


# --- what browsers may send ----------------------------------------------------

def malformed_replies(args):
    # Whatever the browser answers, Tavrin ends by itself; what it
    # dispatches goes by the associations: [.html], [blank] or [.*].
    table = [
        ("no quotes", b" http://bare.example/p.html , Title ",
         "viewer.exe", b"http://bare.example/p.html"),
        ("no quotes or comma", b"http://bare.example/p.html Title",
         "any.exe", b'"http://bare.example/p.html Title"'),
        ("missing comma", b'"http://a.example/one.html" "Title"',
         "viewer.exe", b"http://a.example/one.html"),
        ("unclosed quote", b'"http://u.example/p.html',
         "viewer.exe", b"http://u.example/p.html"),
        ("32 KB title", b'"http://big.example/p.html","' + b"T" * 40000 + b'"',
         "viewer.exe", b"http://big.example/p.html"),
        # A page URL too long to hold is told of, not opened cut short (it
        # used to open its first 259 characters).
        ("32 KB text", b"x" * 40000, None, None),
        ("long URL", b'"http://long.example/' + b"p" * 300 + b'"', None, None),
        ("CP932", cp932('"http://例.jp/表.html","表\\"題\\"",""'),
         "viewer.exe", cp932("http://例.jp/表.html")),
        # An answer that names no page is no page: nothing is dispatched.
        ("only commas", b",,,", None, None),
        ("empty quotes", b'"",""', None, None),
    ]
    case = BridgeCase(args, "malformed_replies", programs=("viewer.exe", "blank.exe", "any.exe"))
    blocks = (case.html_block() +
              b"[blank]\r\n" + case.program_line("blank.exe", b"Blank") + b"%end\r\n" +
              b"[.*]\r\n" + case.program_line("any.exe", b"Any") + b"%end\r\n")
    for tag, reply, program, parameters in table:
        with case.browser(tag.replace(" ", "")[:12], reply=reply) as browser:
            case.settings([browser.service], blocks)
            too_long = tag in ("32 KB text", "long URL")
            # A page URL too long to hold is reported, and then no menu.
            seconds = case.run(b"/#d", boxes=("注意",) if too_long else (),
                               menus=0 if program or too_long else 1)
        expected = case.started_with(program, parameters) if program else {}
        check_started(case, expected, tag)
        check(seconds < 5, f"{tag}: took {seconds:.1f} s")


def hung_browser(args):
    # A browser that takes the conversation but never answers: the
    # library's time-outs end the wait and the fallback still starts.
    case = BridgeCase(args, "hung_browser", programs=(FALLBACK,))
    url = b"http://www.example.com/dir/page.html"
    with case.browser("Hung", "--hang") as hung:
        case.settings([hung.service], case.html_block(b">%S", FALLBACK))
        seconds = case.run(url, timeout_ms=20000)
        check_started(case, case.started_with(FALLBACK, url), "hand-over")
        check(seconds < 8, f"hand-over took {seconds:.1f} s")

        seconds = case.run(b"/#d=" + hung.service.encode(), timeout_ms=20000, menus=1)
        check_started(case, {}, "page query")
        check(seconds < 6, f"page query took {seconds:.1f} s")


if __name__ == "__main__":
    main({f.__name__: f for f in (page_of_named_browser, page_of_first_answering_browser,
                                  url_to_browser, url_to_named_browser, refusing_browser,
                                  absent_browser, without_library, malformed_replies,
                                  hung_browser)})
