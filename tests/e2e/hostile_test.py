#!/usr/bin/env python3
"""Hostile input against the real Tavrin.exe: command lines at the
system's limit or ending in half a character, switches with empty, huge
and malformed values, settings files that are huge, random, hold NULs or
old line ends, or push every table past its capacity, hand-off payloads of
100 KB, and a shortcut file of 10 MB.

Every case must end by itself in a few seconds, with its documented outcome
or a clear message box; and in every case the program's folder (its
temp\\ aside) and the settings file keep their bytes, and nothing appears
elsewhere in the case's scratch area. Big inputs are made here, at run
time. A copy of the recorder in the program's folder stands in for the
associated program (its own log is the one file it may add)."""
import hashlib
import os
import random
import shutil
import time

from list_session import Rows, Session, hexed, win
from tavrin_e2e import Case, check, check_equal, cp932, hand_off_record, main, windows_path

URL = b"http://a.example/x.html"
# How long any case may take, driver and Wine start included.
LIMIT_SECONDS = 8.0
# How long a start that the program did not make may take to show up.
SETTLE_SECONDS = 0.5

CAUTION = cp932("注意")
ERROR = cp932("エラー")
SETTINGS_ERROR = (ERROR, cp932("設定ファイル異常"))


def lines(*items, eol=b"\r\n"):
    return b"".join((i if isinstance(i, bytes) else cp932(i)) + eol for i in items)


def digest(path):
    h = hashlib.sha1()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


def tree(root, skip=()):
    """Every file and folder under root, with the digest of each file;
    relative names in `skip` (and what lies under them) left out."""
    found = {}
    for folder, dirs, files in os.walk(root):
        rel_folder = os.path.relpath(folder, root)
        for name in sorted(dirs):
            rel = os.path.normpath(os.path.join(rel_folder, name))
            if rel not in skip:
                found[rel + "/"] = "folder"
        dirs[:] = [d for d in dirs if os.path.normpath(os.path.join(rel_folder, d)) not in skip]
        for name in files:
            rel = os.path.normpath(os.path.join(rel_folder, name))
            if rel not in skip:
                found[rel] = digest(os.path.join(folder, name))
    return found


class Hostile:
    """One case: a scratch area of its own holding the program's folder
    ("Tavrin") and whatever the case puts beside it."""

    def __init__(self, args, name):
        self.area = os.path.join(args.scratch, name)
        shutil.rmtree(self.area, ignore_errors=True)
        os.makedirs(self.area)
        self.case = Case(args, name, folder_name=os.path.join(name, "Tavrin"))
        recorder = os.environ.get("TAVRIN_RECORDER") or os.path.join(
            os.path.dirname(args.tavrin), "recorder.exe")
        os.makedirs(self.case.path("prog"))
        shutil.copyfile(recorder, self.case.path("prog", "rec.exe"))
        shutil.copyfile(recorder, self.case.path("prog", "other.exe"))
        self.browser_log = os.path.join(self.case.work, "browser.log")
        os.environ["TAVRIN_BROWSER_LOG"] = self.browser_log

    # Files -----------------------------------------------------------------
    def rec(self, name="rec"):
        return cp932(windows_path(self.case.path("prog", name + ".exe")))

    def write(self, relative, data):
        return self.case.write(relative, data)

    def beside(self, relative, data):
        """A file in the scratch area, outside the program's folder."""
        full = os.path.join(self.area, relative)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(data)
        return full

    def settings(self, data):
        self.write("Tavrin.ini", data)

    def html_block(self, *more):
        """The settings' usual block: the recorder starts at once for
        .html targets."""
        return lines("[.html]#", self.rec(), "%end", *more)

    # What happened ----------------------------------------------------------
    def starts(self, name="rec"):
        path = self.case.path("prog", name + ".exe.log")
        if not os.path.exists(path):
            return []
        with open(path, "rb") as f:
            data = f.read().split(b"\n")
        prefix = b'"' + self.rec(name) + b'" '
        return [line[4:][len(prefix):] if line[4:].startswith(prefix) else line[4:]
                for line in data if line.startswith(b"cmd=")]

    def browsed(self):
        if not os.path.exists(self.browser_log):
            return []
        with open(self.browser_log, "rb") as f:
            return f.read().decode("utf-8").splitlines()

    def _folder(self):
        return tree(self.case.folder, skip={"temp", os.path.join("prog", "rec.exe.log"),
                                            os.path.join("prog", "other.exe.log")})

    def _around(self):
        return tree(self.area, skip={"Tavrin"})

    # Running ----------------------------------------------------------------
    def run(self, arguments, boxes=(), menus=0, command="run", exit_code=0, limit=LIMIT_SECONDS,
            **options):
        """Runs one driver command and checks what every case must hold.
        `boxes` are the expected message boxes: captions, or (caption, text)
        pairs."""
        settings = self.case.path("Tavrin.ini")
        settings_before = digest(settings) if os.path.exists(settings) else None
        folder_before, around_before = self._folder(), self._around()
        code, report, seconds = self.case.drive(command, arguments, timeout_ms=15000, **options)
        if command == "session":
            # The session closes the list window itself; every step must
            # have been carried out.
            check(report.get("error") is None, "session step failed: " +
                  report.get("error.text", b"").decode("cp932", "replace"))
            check_equal(report.get("running_at_end"), None, "still running after the session")
            report.setdefault("exited", 1)
            report.setdefault("menus", 0)
        check_equal(report.get("exited"), 1, "the program ended by itself")
        check_equal(report.get("exit_code"), exit_code, "exit code (no crash)")
        check(seconds < limit, f"took {seconds:.1f} s")
        shown = report.messages()
        want = [b if isinstance(b, tuple) else (b, None) for b in boxes]
        check_equal([c for c, _ in shown], [c for c, _ in want], "message boxes")
        for (caption, text), (_, wanted) in zip(shown, want):
            if wanted is not None:
                check(wanted in text, f"box text {text.decode('cp932', 'replace')!r}")
        check_equal(report.get("menus"), menus, "menus shown (and dismissed)")
        if settings_before is not None:
            check_equal(digest(settings), settings_before, "the settings file's bytes")
        check_equal(self._folder(), folder_before, "the program's folder, temp\\ aside")
        check_equal(self._around(), around_before, "the scratch area outside the program's folder")
        temp = self.case.path("temp")
        check(not os.path.exists(temp) or os.path.isdir(temp), "temp, when there is one, is a folder")
        report.seconds = seconds
        return report

    def expect(self, starts=(), browser=(), other=()):
        """Exactly these starts of the recorder (parameters) and URLs
        opened by the shell."""
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline and (len(self.starts()) < len(starts)
                                               or len(self.starts("other")) < len(other)
                                               or len(self.browsed()) < len(browser)):
            time.sleep(0.05)
        time.sleep(SETTLE_SECONDS)
        check_equal(self.starts(), list(starts), "starts of the recorder")
        check_equal(self.starts("other"), list(other), "starts of the other recorder")
        check_equal(self.browsed(), list(browser), "URLs the shell opened")

    def session(self):
        return Session(self.case)


# --- command lines -----------------------------------------------------------

def urls_of_length(length, pattern=b"http://h%d.example/page.html"):
    """Blank-separated URLs making up exactly `length` characters."""
    words, size, i = [], 0, 0
    while True:
        word = pattern % i
        if size + len(word) + (1 if words else 0) > length:
            break
        words.append(word)
        size += len(word) + (1 if len(words) > 1 else 0)
        i += 1
    line = b" ".join(words)
    return line + b" " + b"x" * (length - len(line) - 1)


def cmdline_32000(args):
    # 32,000 characters of URLs: the list holds the first 500, and the one
    # program of the block starts with the first.
    h = Hostile(args, "cmdline_32000")
    h.settings(lines("[system]", "@dist=0", "%end", "[.html]#", h.rec(), "%end"))
    line = urls_of_length(32000)
    check_equal(len(line), 32000, "command line length")
    h.run(line)
    h.expect(starts=[b"http://h0.example/page.html"])


def cmdline_32000_one_word(args):
    # One URL of 32,000 characters: it cannot be opened, and a box names
    # the limit of a URL.
    h = Hostile(args, "cmdline_32000_one_word")
    h.settings(h.html_block())
    line = b"http://a.example/" + b"a" * (32000 - 17 - 5) + b".html"
    check_equal(len(line), 32000, "command line length")
    h.run(line, boxes=[(CAUTION, cp932("259文字"))])
    h.expect()


def cmdline_dbcs_tail(args):
    # The command line ends with the lead byte of a double-byte character:
    # the URL before it opens; the half character names nothing.
    h = Hostile(args, "cmdline_dbcs_tail")
    h.settings(h.html_block())
    h.run(URL + b" " + cp932("表")[:1])
    h.expect(starts=[URL])


def cmdline_dbcs_tail_quoted(args):
    # An open double quote, then half a character at the very end.
    h = Hostile(args, "cmdline_dbcs_tail_quoted")
    h.settings(h.html_block())
    h.run(URL + b' "' + cp932("表示")[:3])
    h.expect(starts=[URL])


def cmdline_dbcs_tail_url(args):
    # The URL itself ends in half a character. Wine's conversion of the
    # command line drops it before the program sees it: the URL names a
    # folder. (Hand-offs carry such bytes unconverted: see
    # handoff_100k_resident.)
    h = Hostile(args, "cmdline_dbcs_tail_url")
    h.settings(lines("[blank]", h.rec(), "%end", "[.*]#", h.rec("other"), "%end"))
    h.run(b"http://a.example/" + cp932("表")[:1])
    h.expect(starts=[b"http://a.example/"])


# --- switches ----------------------------------------------------------------

def switch_settings_outside(args):
    # "/#s=" with a path that leaves the program's folder: the file is read
    # (it is the user's own choice) and left as it was.
    h = Hostile(args, "switch_settings_outside")
    h.settings(lines("[.html]#", h.rec("other"), "%end"))
    h.beside("outside.ini", h.html_block())
    h.run(b"/#s=..\\outside.ini " + URL)
    h.expect(starts=[URL])


def switch_settings_outside_missing(args):
    # A missing file outside the folder: the default settings are read, and
    # nothing is created outside.
    h = Hostile(args, "switch_settings_outside_missing")
    h.settings(h.html_block())
    h.run(b"/#s=..\\missing.ini " + URL)
    h.expect(starts=[URL])


def switch_settings_device(args):
    # "/#s=aux" names a device, in any folder: reading the settings from it
    # used to wait for ever (as it did for com1). Only files are read: the
    # settings cannot be read, and the box says so.
    h = Hostile(args, "switch_settings_device")
    h.settings(h.html_block())
    h.run(b"/#s=aux " + URL, boxes=[SETTINGS_ERROR])
    h.expect()


def switch_settings_folder(args):
    # "/#s=" naming a folder: the settings cannot be read; the box says so
    # and the program ends.
    h = Hostile(args, "switch_settings_folder")
    h.settings(h.html_block())
    os.makedirs(h.case.path("sub"))
    h.run(b"/#s=sub " + URL, boxes=[SETTINGS_ERROR])
    h.expect()


def switch_settings_empty(args):
    h = Hostile(args, "switch_settings_empty")
    h.settings(h.html_block())
    h.run(b"/#s= " + URL, boxes=[SETTINGS_ERROR])
    h.expect()


def switch_settings_long_name(args):
    # A 300-character name is no value: the default settings file is read.
    h = Hostile(args, "switch_settings_long_name")
    h.settings(h.html_block())
    h.run(b"/#s=" + b"n" * 296 + b".ini " + URL)
    h.expect(starts=[URL])


def switch_schemes_unknown(args):
    # "/#u=" naming no scheme it knows: every scheme stays on.
    h = Hostile(args, "switch_schemes_unknown")
    h.settings(h.html_block())
    h.run(URL + b" /#u=gopher;wais;;;x")
    h.expect(starts=[URL])


def switch_schemes_empty(args):
    h = Hostile(args, "switch_schemes_empty")
    h.settings(h.html_block())
    h.run(URL + b" /#u=")
    h.expect(starts=[URL])


def switch_schemes_huge(args):
    # 30,000 characters of scheme list after the URL.
    h = Hostile(args, "switch_schemes_huge")
    h.settings(h.html_block())
    h.run(URL + b" /#u=" + b"gopher;" * 4300)
    h.expect(starts=[URL])


def menu_settings(h):
    return lines("[.html]", h.rec(), h.rec("other"), "%end")


def switch_menu_garbage(args):
    # "/#m=" with garbage: the menu still shows (the driver closes it).
    h = Hostile(args, "switch_menu_garbage")
    h.settings(menu_settings(h))
    h.run(b"/#m=@@,,-99999999999999999999,x\"\t" + cp932("表") + b" " + URL, menus=1)
    h.expect()


def switch_menu_huge(args):
    h = Hostile(args, "switch_menu_huge")
    h.settings(menu_settings(h))
    h.run(b"/#m=" + b"9" * 5000 + b"," + b"9" * 5000 + b" " + URL, menus=1)
    h.expect()


def switch_values_empty(args):
    # Empty values everywhere: "/#d=" takes the next word as its service
    # (used only when there is no URL), "/#m=" does nothing, "/#u=" keeps
    # the URL after it, which holds "http".
    h = Hostile(args, "switch_values_empty")
    h.settings(h.html_block())
    h.run(b"/#d= /#m= /#c /#k= /#s=" + b"\t" + b" /#u= " + URL)
    h.expect(starts=[URL])


def switch_browser_huge(args):
    # A 5,000-character browser service and nothing to open: no browser
    # answers; the tools menu shows.
    h = Hostile(args, "switch_browser_huge")
    h.settings(h.html_block())
    h.run(b"/#d=" + b"S" * 5000, menus=1)
    h.expect()


# --- settings files ----------------------------------------------------------

def settings_64mib(args):
    # 64 MiB, the most that is read: the block at its very end still
    # counts.
    h = Hostile(args, "settings_64mib")
    tail = lines("[system]", "@dist=0", "%end") + h.html_block()
    size = 64 << 20
    filler_line = b"; " + b"c" * 60 + b"\r\n"
    filler = (filler_line * (size // len(filler_line) + 1))[:size - len(tail) - 2] + b"\r\n"
    h.settings(filler + tail)
    check_equal(os.path.getsize(h.case.path("Tavrin.ini")), size, "settings size")
    h.run(URL)
    h.expect(starts=[URL])


def settings_random(args):
    # Random bytes, then a block: the block stands after the first NUL of
    # the random part, and the text after a NUL is not searched: no block
    # applies, and the system opens the URL.
    h = Hostile(args, "settings_random")
    noise = random.Random(10).randbytes(1 << 20)
    check(b"\0" in noise, "the noise holds a NUL")
    h.settings(noise + b"\r\n" + h.html_block())
    h.run(URL)
    h.expect(browser=[URL.decode()])


def settings_random_fallback(args):
    # Random text lines under a "[.*]" header (random bytes hold those four
    # bytes often enough): the block is read until 200 of its lines have
    # named programs that do not exist (each look-up searches the whole
    # search path: the 30,000 lines here took a minute). The fallback block
    # always offers a choice: the menu shows, holding the target alone.
    h = Hostile(args, "settings_random_fallback")
    rng = random.Random(11)
    alphabet = bytes(range(0x21, 0x7f)).replace(b"%", b"").replace(b";", b"")
    noise = b"".join(bytes(rng.choice(alphabet) for _ in range(rng.randrange(5, 60))) + b"\r\n"
                     for _ in range(30000))
    h.settings(b"[.*]\r\n" + noise)
    h.run(URL, menus=1)
    h.expect()


def settings_16mib_options(args):
    # 16 MiB of option lines in the system block, among them a million
    # "@param" lines (each used to search the whole file for the first
    # one: 2.4 MB of them took more than two minutes).
    h = Hostile(args, "settings_16mib_options")
    head = h.html_block() + lines("[system]")
    pattern = lines("@param", "%who% | me", "@dlm= | ", "@menu=mouse", "@dist=1,2", "@filter",
                    ">.a;.b", "@scheme=http;ftp", "@len=10", "@timeout=5,1", "@search=.htm;.html",
                    "@dde=a;b", "@param", "; note")
    size = 16 << 20
    body = (pattern * ((size - len(head)) // len(pattern) + 1))[:size - len(head) - 2] + b"\r\n"
    h.settings(head + body)
    check_equal(os.path.getsize(h.case.path("Tavrin.ini")), size, "settings size")
    h.run(URL)
    h.expect(starts=[URL])


def settings_nuls(args):
    # NULs after the block and inside a comment after it: the block counts.
    h = Hostile(args, "settings_nuls")
    h.settings(h.html_block() + b"; \0\0\0 [.html]#\r\n\0" + lines(h.rec("other"), "%end"))
    h.run(URL)
    h.expect(starts=[URL])


def settings_1000_groups_one_program(args):
    # 1,000 empty groups around one program: the program lies beyond the
    # table's 200 rows, so the block names one program, which starts.
    h = Hostile(args, "settings_1000_groups_one_program")
    h.settings(lines("[.html]", h.rec("other"), *([b"{&g"] * 1000), h.rec(), *([b"}"] * 1000),
                     "%end"))
    h.run(URL)
    h.expect(other=[URL])


def settings_cr_only(args):
    # Old Macintosh line ends: the file is one line. The header counts
    # where it stands, but the block's lines run together, naming no
    # program: the system opens the URL.
    h = Hostile(args, "settings_cr_only")
    h.settings(lines("[system]", "@dist=0", "%end", "[.html]#", h.rec(), "%end", eol=b"\r"))
    h.run(URL)
    h.expect(browser=[URL.decode()])


def settings_10000_blocks(args):
    h = Hostile(args, "settings_10000_blocks")
    blocks = b"".join(lines(f"[.e{i}]", h.rec("other"), ">-x %L", "%end") for i in range(10000))
    h.settings(blocks + h.html_block())
    h.run(URL)
    h.expect(starts=[URL])


def settings_10000_host_blocks(args):
    # 10,000 host blocks: the last one names the URL's host and wins over
    # the extension block.
    h = Hostile(args, "settings_10000_host_blocks")
    blocks = b"".join(lines(f"[host:h{i}.example;*.d{i}.example]", h.rec(), "%end") for i in range(9999))
    h.settings(h.html_block() + blocks + lines("[host:A.EXAMPLE:8080]#", h.rec("other"), "%end"))
    h.run(URL)
    h.expect(other=[URL])


def settings_10000_host_blocks_cr_only(args):
    # The same with old Macintosh line ends: one line of 10,000 headers.
    # The matching header's line runs on into its program and "%end", so
    # its block holds no line of its own: the system opens the URL.
    h = Hostile(args, "settings_10000_host_blocks_cr_only")
    blocks = b"".join(lines(f"[host:h{i}.example;*.d{i}.example]", h.rec(), "%end", eol=b"\r")
                      for i in range(9999))
    h.settings(blocks + lines("[host:A.EXAMPLE:8080]#", h.rec("other"), "%end", eol=b"\r"))
    h.run(URL)
    h.expect(browser=[URL.decode()])


def settings_10000_rows(args):
    # A block of 10,000 programs: the table holds 200 rows; the menu shows.
    h = Hostile(args, "settings_10000_rows")
    h.settings(lines("[.html]", *([h.rec()] * 10000), "%end"))
    h.run(URL, menus=1)
    h.expect()


def settings_10000_rows_icons(args):
    # The same with "@icon": 200 icons are drawn into the menu.
    h = Hostile(args, "settings_10000_rows_icons")
    h.settings(lines("[system]", "@icon", "%end", "[.html]", *([h.rec()] * 10000), "%end"))
    h.run(URL, menus=1)
    h.expect()


def settings_1000_groups(args):
    # 1,000 groups, each inside the one before and holding a program: the
    # table holds 200 rows, 100 groups deep, none of them closed; the menu
    # shows.
    h = Hostile(args, "settings_1000_groups")
    nested = [line for _ in range(1000) for line in (b"{&g", h.rec())]
    h.settings(lines("[.html]", h.rec("other"), *nested, *([b"}"] * 1000), "%end"))
    h.run(URL, menus=1)
    h.expect()


def settings_300_filters(args):
    # 300 "@filter" groups: the list window takes the first ten.
    h = Hostile(args, "settings_300_filters")
    groups = [b">.e%d;.f%d" % (i, i) for i in range(300)]
    h.settings(lines("[system]", "@filter", *groups, "%end"))
    h.write("five.txt", lines(*[b"http://l.example/%d.e1" % i for i in range(5)]))
    s = h.session().start(win(h.case.path("five.txt"))).wait_list().wait_rows(5).rows("all")
    # Filter commands 940 + n: group n (0: ".*"). ".e1;.f1" is the second
    # group read (n = 2); n = 9, ".e8;.f8", is the last one taken.
    s.command(942).rows("second").command(949).rows("last")
    s.command(940).rows("again")
    s.close()
    report = run_session(h, s)
    check_equal(len(Rows(report, "all").rows), 5, "rows")
    check_equal(len(Rows(report, "second").rows), 5, "rows of the group .e1;.f1")
    check_equal(len(Rows(report, "last").rows), 0, "rows of the group .e8;.f8")
    check_equal(len(Rows(report, "again").rows), 5, "rows of .*")


def run_session(h, s, limit=LIMIT_SECONDS):
    """Runs a session that ends with "close"; before it, the resident copy
    must show no message box."""
    s.steps.insert(len(s.steps) - 1, "no-dialog 100")
    dialogs = len(s.steps) - 1
    script = h.case.write_work("session.txt", ("\n".join(s.steps) + "\n").encode("ascii"))
    report = h.run(b"", command="session", script=script, limit=limit)
    check_equal(report.get(f"step.{dialogs}.dialogs"), 0, "message boxes of the resident copy")
    return report


# --- hand-offs ---------------------------------------------------------------

def url_lines(count, pattern=b"http://c.example/%05d.html"):
    return b"".join(pattern % i + b"\r\n" for i in range(count))


def handoff_100k_clipboard(args):
    # A second copy with "/#c" and 100 KB on the clipboard: it hands over
    # the first 30,159 characters, cut at a line end, and tells of the rest.
    h = Hostile(args, "handoff_100k_clipboard")
    h.settings(lines("[system]", "@temp=del", "%end"))
    h.write("temp/keep.txt", b"x")
    text = url_lines(4200)
    check(len(text) > 100000, f"clipboard of {len(text)} bytes")
    clip = h.case.write_work("clipboard", text)
    report = h.run(b"/#c", boxes=[(CAUTION, cp932("30159文字"))], command="fake-copy",
                   exit_code=0, clipboard=clip)
    received = report.copydata()
    check_equal(len(received), 1, "hand-offs")
    payload, _ = hand_off_record(received[0]["bytes"])
    check_equal(received[0]["code"], 10, "transferCode (clipboard)")
    check(payload.endswith(b"\0") and len(payload) - 1 <= 30159, f"payload of {len(payload)} bytes")
    # Cut between two lines: before their CR LF or between the two.
    check(text.startswith(payload[:-1]) and text[len(payload) - 1:][:1] in (b"\r", b"\n"),
          "the payload is the text's head, cut at a line end")
    check_equal(h.case.listing("temp"), ["keep.txt"], "temp of a second copy")


def handoff_100k_resident(args):
    # A resident copy showing its list window gets 100 KB: from a real
    # second copy ("/#c" and 100 KB on the clipboard), and sent straight
    # to its window as another program could (no terminating zero, a
    # transfer code out of range, a zero inside, half a character at the
    # end, nothing at all). The list takes at most 500 rows, and a hand-off
    # that names nothing keeps it.
    h = Hostile(args, "handoff_100k_resident")
    h.settings(b"")
    h.write("five.txt", url_lines(5, b"http://l.example/%d.html"))
    big = url_lines(4200)
    spaced = b" ".join(b"http://s.example/%05d.html" % i for i in range(4000))
    work = h.case.work

    def data(name, payload):
        path = os.path.join(work, name)
        with open(path, "wb") as f:
            f.write(payload)
        return path

    s = h.session().start(win(h.case.path("five.txt"))).wait_list().wait_rows(5)
    s.clipboard(big)
    second = s.step_number()
    s.second(b"/#c").wait_rows(500).rows("clipboard")
    s.copydata(0, data("spaced", spaced)).wait_rows(500).rows("spaced")
    s.copydata(0, data("two", b"http://t.example/1.html http://t.example/2.html")).wait_rows(2)
    s.copydata(4294967295, data("garbage_code", b"http://g.example/1.html http://g.example/2.html"))
    s.sleep(300).rows("garbage_code")
    s.copydata(0, data("zero", b"http://z.example/1.html\0http://z.example/2.html")).wait_rows(1)
    s.rows("zero")
    s.copydata(0, data("half", b"http://h.example/1.html " + cp932("表")[:1])).wait_rows(1).rows("half")
    s.copydata(0, data("empty", b"")).sleep(300).rows("empty")
    s.copydata(0, data("words", b"no address " * 10000)).sleep(300).rows("words")
    s.close()
    # Reading 500 rows out of another process's list view takes a second.
    report = run_session(h, s, limit=12)
    check_equal(report[f"step.{second}.ended"], 1, "the second copy ended")
    check_equal(report[f"step.{second}.boxes"], 1, "boxes of the second copy")
    check_equal(report[f"step.{second}.box.1.caption"], CAUTION, "its caption")
    clip_rows = Rows(report, "clipboard")
    check_equal(clip_rows.urls(), [f"http://c.example/{i:05d}.html" for i in range(500)], "clipboard rows")
    check_equal(Rows(report, "spaced").urls(), [f"http://s.example/{i:05d}.html" for i in range(500)],
                "rows of 100 KB sent straight")
    # A code that no copy sends is ignored (it used to download the first
    # URL, as a code ending in 5 passed for a link mode).
    check_equal(Rows(report, "garbage_code").urls(), ["http://t.example/1.html", "http://t.example/2.html"],
                "rows after a transfer code out of range")
    check_equal(Rows(report, "zero").urls(), ["http://z.example/1.html"], "rows: the text ends at a zero")
    check_equal(Rows(report, "half").urls(), ["http://h.example/1.html"], "rows: half a character at the end")
    check_equal(Rows(report, "empty").urls(), ["http://h.example/1.html"], "rows after an empty hand-off")
    check_equal(Rows(report, "words").urls(), [], "rows after a hand-off naming nothing")


# --- messages from other programs ---------------------------------------------

def handed_over_list(h):
    """A session whose list, first filled from a file given at start, was
    then replaced by a hand-off of two URLs (recorded as "before")."""
    h.settings(b"")
    h.write("five.txt", url_lines(5, b"http://l.example/%d.html"))
    two = os.path.join(h.case.work, "two")
    with open(two, "wb") as f:
        f.write(b"http://t.example/1.html http://t.example/2.html")
    s = h.session().start(win(h.case.path("five.txt"))).wait_list().wait_rows(5)
    return s.copydata(0, two).wait_rows(2).rows("before")


def private_messages(args):
    # Another program posts every private message number (0x8000 to 0xBFFF)
    # to a resident copy's window, after a hand-off has replaced the list
    # that the file given at start filled: none runs the start-up work
    # again (which would fill the list from that file anew), ends the
    # program or shows a box.
    h = Hostile(args, "private_messages")
    s = handed_over_list(h)
    s.post_range(0x8000, 0xBFFF).sleep(1000).rows("after")
    # The same numbers once more with words that no notice of the program's
    # own carries: an address that is no record of it, and each event code.
    for code in range(4):
        s.post_range(0x8000, 0x80FF, code, 16)
    s.rows("garbage")
    s.close()
    # 16,384 messages, each handled before the rows are read again, and a
    # second's wait for the last of them: more than the usual few seconds.
    report = run_session(h, s, limit=12)
    before, after = Rows(report, "before"), Rows(report, "after")
    check_equal(before.urls(), ["http://t.example/1.html", "http://t.example/2.html"], "rows handed over")
    check_equal(after.urls(), before.urls(), "rows after the messages")
    check_equal(after.caption, before.caption, "caption after the messages")
    check_equal(Rows(report, "garbage").urls(), before.urls(), "rows after messages with garbage words")


WM_TIMER, WM_NOTIFY, WM_DPICHANGED = 0x0113, 0x004E, 0x02E0
# Standard messages whose lParam is an address: the system refuses to post
# most of them, or carries the record across itself when they are sent.
ADDRESS_MESSAGES = (0x000C, 0x000D, 0x0024, 0x002B, 0x002C, 0x0046, 0x004A, WM_NOTIFY, 0x0053,
                    0x007C, 0x0083, WM_DPICHANGED)
# Addresses that hold no record of the program's: in the null page, and
# near the top of the user address space.
JUNK_ADDRESSES = (16, 0x7FFE0000)


def timers_and_notices(args):
    # Posted WM_TIMER with every timer number the program could use (and
    # one naming a procedure to call), WM_NOTIFY and WM_DPICHANGED sent and
    # posted with addresses that hold no notice, and the other standard
    # messages that carry an address: the rows, the caption and the window
    # stay, no box and no menu shows (the hand-off timer used to run a
    # second copy's wait in the running copy and close its list; the
    # row-menu timer popped up the row menu).
    h = Hostile(args, "timers_and_notices")
    s = handed_over_list(h)
    s.post_wparams(WM_TIMER, 0, 1023, 0).post_message(WM_TIMER, 620, 16).post_message(WM_TIMER, 630, 16)
    s.sleep(300).windows("#32768", "timer_menus").rows("timers")
    # A notice the list view might send, but from another program.
    for code in (-5, -4, -3):  # right click, Enter, double click
        s.notify(code)
    for address in JUNK_ADDRESSES:
        s.send_message(WM_NOTIFY, 100, address)
        s.send_message(WM_DPICHANGED, 144 | (144 << 16), address)
        for message in ADDRESS_MESSAGES:
            s.post_message(message, 144 | (144 << 16), address)
    s.sleep(300).windows("#32768", "notice_menus").alive("alive").rows("after")
    s.close()
    # About fifty steps, each settled: more than the usual few seconds.
    report = run_session(h, s, limit=12)
    before = Rows(report, "before")
    check_equal(before.urls(), ["http://t.example/1.html", "http://t.example/2.html"], "rows handed over")
    for label in ("timers", "after"):
        check_equal(Rows(report, label).urls(), before.urls(), f"rows after the {label}")
        check_equal(Rows(report, label).caption, before.caption, f"caption after the {label}")
    check_equal(report["timer_menus.count"], 0, "menus after the timers")
    check_equal(report["notice_menus.count"], 0, "menus after the notices")
    check_equal(report["alive.alive"], 1, "still running")


# --- shortcut files ----------------------------------------------------------

def shortcut_10mb(args):
    # Only the head of a shortcut file is read, however large it is.
    h = Hostile(args, "shortcut_10mb")
    h.settings(h.html_block())
    h.write("big.url", lines("[InternetShortcut]", b"URL=" + URL) + b"; " * (5 << 20))
    h.run(cp932(windows_path(h.case.path("big.url"))))
    h.expect(starts=[URL])


def shortcut_device(args):
    # A shortcut named com1.url is the serial port, whose reading used to
    # wait for ever: it names no URL, and the tools menu shows.
    h = Hostile(args, "shortcut_device")
    h.settings(h.html_block())
    h.run(cp932(windows_path(h.case.path("com1.url"))), menus=1)
    h.expect()


def shortcut_10mb_late(args):
    # The URL stands after 10 MB of other lines: a shortcut whose head
    # names no URL gives nothing to open, and the tools menu shows.
    h = Hostile(args, "shortcut_10mb_late")
    h.settings(h.html_block())
    h.write("late.url", lines("[InternetShortcut]") + b"; " * (5 << 20) + lines(b"URL=" + URL))
    h.run(cp932(windows_path(h.case.path("late.url"))), menus=1)
    h.expect()


CASES = [
    cmdline_32000, cmdline_32000_one_word, cmdline_dbcs_tail, cmdline_dbcs_tail_quoted,
    cmdline_dbcs_tail_url,
    switch_settings_outside, switch_settings_outside_missing, switch_settings_device,
    switch_settings_folder, switch_settings_empty,
    switch_settings_long_name, switch_schemes_unknown, switch_schemes_empty, switch_schemes_huge,
    switch_menu_garbage, switch_menu_huge, switch_values_empty, switch_browser_huge,
    settings_64mib, settings_16mib_options, settings_random, settings_random_fallback,
    settings_nuls, settings_cr_only, settings_10000_blocks, settings_10000_host_blocks,
    settings_10000_host_blocks_cr_only,
    settings_10000_rows, settings_10000_rows_icons, settings_1000_groups, settings_1000_groups_one_program,
    settings_300_filters,
    handoff_100k_clipboard, handoff_100k_resident, private_messages, timers_and_notices,
    shortcut_10mb, shortcut_10mb_late, shortcut_device,
]

if __name__ == "__main__":
    main({f.__name__: f for f in CASES})
