#!/usr/bin/env python3
"""Download-then-open: Tavrin.exe saves a URL served by a local HTTP server
(each case starts its own on 127.0.0.1 and a free port, and stops it), or
has the fake loader program save it, then opens the saved file with a copy
of the recorder. The settings give the target one program whose only
sub-command is a "*" or "#" line, so the download starts without a menu.
Cases check the saved file's name and bytes, the recorder's exact command
line, the message boxes (caption and text), what reached the server, and
how long stalled and slow downloads took."""
import hashlib
import http.server
import os
import shutil
import ssl
import subprocess
import threading
import time

from list_session import Session
from tavrin_e2e import Case, check, check_equal, cp932, main, windows_path

PAGE = b"<html><body>the page</body></html>"
INDEX = b"<html><body>the index</body></html>"
MEGABYTE = bytes(range(256)) * 4096
BIG_MEGABYTES = 50
TRICKLE = MEGABYTE * 3
REPORT = b"%PDF-1.4 the report"
# 資料.pdf as a browser sends it: every Japanese name arrives escaped so.
ESCAPED_NAME = "%E8%B3%87%E6%96%99.pdf"
LONG_NAME = "a-report-with-a-very-long-name-" + "x" * 120 + ".pdf"
PROGRESS_CLASS = "TavrinDownloadProgress"

FAILED = "ダウンロード失敗"
BOXES = {
    "open": ("オープンエラー", FAILED),
    "read": ("読み込みエラー", FAILED),
    "timeout": ("URL専用「ネルカモ」", "タイムアウトにより、すべて終了します。"),
    "not_http": ("注意", "http以外は、ダウンロードできません！"),
    "loader_timeout": ("URL専用「ネルカモ」", "タイムアウトにより、「ネルカモ」を終了します。"),
    "loader_failed": ("エラー", FAILED),
    "cut_off": ("読み込みエラー", "ダウンロードが途中で切れました。\n500 / 1000 バイト"),
}

# How long a start that should not happen is given to show up.
SETTLE_SECONDS = 1.0


# The server's answers, by path.
def page(h, query, server):
    h.answer(200, PAGE, [("Content-Type", "text/html")])


def index(h, query, server):
    h.answer(200, INDEX)


def with_query(h, query, server):
    h.answer(200, b"query " + query.encode())


def not_found(h, query, server):
    h.answer(404, b"<html>error page: not found</html>")


def server_error(h, query, server):
    h.answer(500, b"<html>error page: broken</html>")


def moved(h, query, server):
    h.answer(302, b"", [("Location", "/dir/page.html")])


def stall_after_headers(h, query, server):
    h.send_response(200)
    h.send_header("Content-Length", "1000")
    h.end_headers()
    h.wfile.write(b"x" * 10)
    h.wfile.flush()
    server.stop.wait(60)


def stall_before_headers(h, query, server):
    server.stop.wait(60)


def slow(h, query, server):
    # 400 KB at 40 KB/s: ten seconds in all.
    h.send_response(200)
    h.send_header("Content-Length", str(400 * 1024))
    h.end_headers()
    for _ in range(200):
        if server.stop.is_set():
            return
        h.wfile.write(b"s" * 2048)
        h.wfile.flush()
        time.sleep(0.05)


def trickle(h, query, server):
    # 3 MB at 100 KB/s: about half a minute in all.
    h.send_response(200)
    h.send_header("Content-Length", str(len(TRICKLE)))
    h.end_headers()
    for at in range(0, len(TRICKLE), 10 * 1024):
        if server.stop.is_set():
            return
        h.wfile.write(TRICKLE[at:at + 10 * 1024])
        h.wfile.flush()
        time.sleep(0.1)


def silent_3s(h, query, server):
    # Not a byte for 3 s, then the page.
    if server.stop.wait(3):
        return
    h.answer(200, PAGE)


def report(h, query, server):
    h.answer(200, REPORT, [("Content-Type", "application/pdf")])


def big(h, query, server):
    h.send_response(200)
    h.send_header("Content-Length", str(BIG_MEGABYTES * len(MEGABYTE)))
    h.end_headers()
    for _ in range(BIG_MEGABYTES):
        h.wfile.write(MEGABYTE)


def cut_off(h, query, server):
    # 500 of the 1,000 bytes announced, then the connection ends.
    h.send_response(200)
    h.send_header("Content-Length", "1000")
    h.end_headers()
    h.wfile.write(b"c" * 500)
    h.wfile.flush()
    h.close_connection = True


def stalls_once(h, query, server):
    # The first request gets 10 of 1,000 bytes and then silence; later
    # ones the whole answer at once.
    server.stalled += 1
    if server.stalled == 1:
        stall_after_headers(h, query, server)
        return
    h.answer(200, b"f" * 1000)


def megabyte(h, query, server):
    h.answer(200, MEGABYTE)


def proxy_login(h, query, server):
    h.answer(407, b"login first", [("Proxy-Authenticate", 'Basic realm="office"')])


def to_plain(h, query, server):
    h.answer(302, b"", [("Location", server.redirect_to)])


ROUTES = {
    "/dir/page.html": page, "/dir/": index, "/dir/doc.txt": with_query,
    "/missing.html": not_found, "/broken.html": server_error, "/moved.html": moved,
    "/stall.html": stall_after_headers, "/silent.html": stall_before_headers,
    "/slow.bin": slow, "/a:b.html": page, "/big.bin": big,
    "/trickle.bin": trickle, "/silent3.html": silent_3s, "/docs/report.pdf": report,
    "/docs/" + ESCAPED_NAME: report, "/docs/" + LONG_NAME: report,
    "/half.bin": cut_off, "/once.bin": stalls_once, "/mega.bin": megabyte,
    "/to-plain.html": to_plain, "/login.html": proxy_login,
}


class Server:
    """A threading HTTP server for one case, on 127.0.0.1 and a free port,
    recording every request line's target. With `tls` (a certificate and
    its key) it answers https. As a proxy it takes requests for any host
    ("GET http://host/path") and answers them from the same routes,
    recording the whole address asked for."""

    def __init__(self, tls=None, proxy=False):
        self.requests = []
        self.stop = threading.Event()
        self.stalled = 0
        self.redirect_to = ""
        self.scheme = "https" if tls else "http"
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def do_GET(self):
                server.requests.append(self.path)
                target = self.path
                if proxy and target.startswith("http://"):
                    target = "/" + target[len("http://"):].partition("/")[2]
                path, _, query = target.partition("?")
                try:
                    ROUTES.get(path, not_found)(self, query, server)
                except (BrokenPipeError, ConnectionResetError):
                    pass

            def answer(self, status, body, headers=()):
                self.send_response(status)
                self.send_header("Content-Length", str(len(body)))
                for key, value in headers:
                    self.send_header(key, value)
                self.end_headers()
                self.wfile.write(body)

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.httpd.daemon_threads = True
        if tls:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(*tls)
            self.httpd.socket = context.wrap_socket(self.httpd.socket, server_side=True)
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)

    def port(self):
        return self.httpd.server_address[1]

    def url(self, path):
        return f"{self.scheme}://127.0.0.1:{self.port()}{path}"

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.stop.set()
        self.httpd.shutdown()
        self.httpd.server_close()


def records(path):
    """The recorder's log: (command line, folder, creation ms) per start."""
    if not os.path.exists(path):
        return []
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    return [(lines[i][4:], lines[i + 1][4:], int(lines[i + 2][2:]))
            for i in range(0, len(lines) - 3, 3)]


class Download:
    """A case folder with the viewer (a recorder copy), the fake loader and
    a "pages" folder to download into."""

    def __init__(self, args, name):
        self.case = Case(args, name)
        shutil.copyfile(os.environ["TAVRIN_RECORDER"], self.case.path("viewer.exe"))
        shutil.copyfile(os.environ["TAVRIN_FAKE_LOADER"], self.case.path("loader.exe"))
        os.makedirs(self.case.path("pages"))

    def win(self, relative):
        return windows_path(self.case.path(relative))

    def fill(self, text):
        for mark in ("viewer", "loader", "pages", "temp"):
            relative = mark + ".exe" if mark in ("viewer", "loader") else mark
            text = text.replace(f"<{mark}>", self.win(relative))
        return text

    def settings(self, *lines):
        self.case.write("Tavrin.ini", "".join(self.fill(l) + "\r\n" for l in lines).encode("cp932"))

    def star_block(self, key, line):
        self.settings(f"[{key}]", "<viewer>", self.fill(line), "%end")

    def run(self, url, boxes=(), timeout_ms=20000):
        """Runs Tavrin.exe on the URL to its end; checks the boxes it showed
        (keys of BOXES, or (caption, text) pairs). Returns its run time."""
        code, report, seconds = self.case.drive("run", cp932(url), timeout_ms=timeout_ms)
        check_equal(code, 0, "driver exit code (0: ended in time)")
        check_equal(report["exit_code"], 0, "program exit code")
        wanted = [BOXES[b] if isinstance(b, str) else b for b in boxes]
        check_equal(report.messages(), [(cp932(c), cp932(t)) for c, t in wanted], "message boxes")
        return seconds

    def viewer_starts(self, expected):
        """Waits for the viewer's starts; returns them once they are all
        there and no more came."""
        log = self.case.path("viewer.exe") + ".log"
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and len(records(log)) < expected:
            time.sleep(0.05)
        time.sleep(SETTLE_SECONDS)
        starts = records(log)
        check_equal(len(starts), expected, "viewer starts")
        return starts

    def expect_opened(self, parameters):
        start = self.viewer_starts(1)[0]
        check_equal(start[0], cp932(f'"{self.win("viewer.exe")}" {self.fill(parameters)}'),
                    "viewer command line")
        check_equal(start[1], cp932(windows_path(self.case.folder)), "viewer working folder")
        return start

    def expect_file(self, relative, body):
        path = self.case.path(relative)
        check(os.path.isfile(path), f"{relative} saved")
        with open(path, "rb") as f:
            check_equal(f.read(), body, f"bytes of {relative}")

    def listing(self, relative):
        return self.case.listing(relative)


OPEN_ALL = ('*<pages>>-p "%P" -d %D -nd %-D -f %F -n %N -e %E -a %A -b %B | 保存して開く')
ALL_VALUES = ('-p "<pages>\\{0}" -d <pages>\\ -nd <pages> -f pages -n {0} -e {1} -a {2}'
              ' -b <pages>\\{2}')


def page(args):
    d = Download(args, "page")
    d.star_block(".html", OPEN_ALL)
    with Server() as server:
        d.run(server.url("/dir/page.html#part"))
        check_equal(server.requests, ["/dir/page.html"], "requests (no fragment)")
    d.expect_file("pages/page.html", PAGE)
    # Wine's drives keep no streams: the mark must not become a file of
    # its own ("page.html:Zone.Identifier"), nor the part file stay.
    check_equal(d.listing("pages"), ["page.html"], "files in the folder")
    d.expect_opened(ALL_VALUES.format("page.html", ".html", "page"))


def trailing_slash(args):
    d = Download(args, "trailing_slash")
    d.star_block("blank", "*<pages> | 保存して開く")  # the default template: "%P" in quotes
    with Server() as server:
        d.run(server.url("/dir/"))
    d.expect_file("pages/index.html", INDEX)
    d.expect_opened('"<pages>\\index.html"')


def query(args):
    d = Download(args, "query")
    d.star_block(".txt", '*<pages>>"%P"')
    with Server() as server:
        d.run(server.url("/dir/doc.txt?q=1&r=two"))
        check_equal(server.requests, ["/dir/doc.txt?q=1&r=two"], "requests")
    d.expect_file("pages/doc.txt", b"query q=1&r=two")
    check_equal(d.listing("pages"), ["doc.txt"], "saved files")
    d.expect_opened('"<pages>\\doc.txt"')


def error_status(path, name):
    def run(args):
        d = Download(args, name)
        d.star_block(".html", '*<pages>>"%P"')
        with Server() as server:
            d.run(server.url(path), boxes=["open"])
        check_equal(d.listing("pages"), [], "saved files (no error page)")
        d.viewer_starts(0)
    run.__name__ = name
    return run


def redirect(args):
    d = Download(args, "redirect")
    d.star_block(".html", '*<pages>>"%P"')
    with Server() as server:
        d.run(server.url("/moved.html"))
        check_equal(server.requests, ["/moved.html", "/dir/page.html"], "requests")
    # Saved under the name that was asked for.
    d.expect_file("pages/moved.html", PAGE)
    check_equal(d.listing("pages"), ["moved.html"], "saved files")
    d.expect_opened('"<pages>\\moved.html"')


def stalled(path, name):
    def run(args):
        d = Download(args, name)
        d.settings("[system]", "@timeout=2", "%end", "[.html]", "<viewer>", '*<pages>>"%P"', "%end")
        with Server() as server:
            seconds = d.run(server.url(path), boxes=["timeout"])
        print(f"{name}: time-out box after {seconds:.2f} s with @timeout=2")
        check(1.8 < seconds < 8, f"ended after {seconds:.2f} s")
        # Nothing of the page is left: no partial file under any name.
        check_equal(d.listing("pages"), [], "files left")
        d.viewer_starts(0)
    run.__name__ = name
    return run


def slow_answer(args):
    # The time limit is for silence: a page that keeps arriving for ten
    # seconds is downloaded whole with "@timeout=1".
    d = Download(args, "slow_answer")
    d.settings("[system]", "@timeout=1", "%end", "[.bin]", "<viewer>", '*<pages>>"%P"', "%end")
    with Server() as server:
        seconds = d.run(server.url("/slow.bin"), timeout_ms=30000)
    print(f"slow_answer: 400 KB at 40 KB/s with @timeout=1 saved whole in {seconds:.2f} s")
    check(seconds > 9, f"ended after {seconds:.2f} s")
    d.expect_file("pages/slow.bin", b"s" * (400 * 1024))
    check_equal(d.listing("pages"), ["slow.bin"], "saved files")
    d.expect_opened('"<pages>\\slow.bin"')


def stall_limit(args):
    # 3 MB at 100 KB/s with "@timeout=2" is saved whole (about 30 s); a
    # server silent for 3 s is given up after 2.
    d = Download(args, "stall_limit")
    d.settings("[system]", "@timeout=2", "%end",
               "[.bin]", "<viewer>", '*<pages>>"%P"', "%end",
               "[.html]", "<viewer>", '*<pages>>"%P"', "%end")
    with Server() as server:
        slow_seconds = d.run(server.url("/trickle.bin"), timeout_ms=80000)
        silent_seconds = d.run(server.url("/silent3.html"), boxes=["timeout"])
    print(f"stall_limit: 3 MB at 100 KB/s with @timeout=2 saved whole in {slow_seconds:.2f} s; "
          f"a server silent for 3 s given up after {silent_seconds:.2f} s")
    check(slow_seconds > 25, f"the 3 MB took {slow_seconds:.2f} s")
    check(1.8 < silent_seconds < 3.5, f"the silent server was given up after {silent_seconds:.2f} s")
    d.expect_file("pages/trickle.bin", TRICKLE)
    check_equal(d.listing("pages"), ["trickle.bin"], "saved files")
    d.expect_opened('"<pages>\\trickle.bin"')


def cancel(args):
    # The progress window shows after about a second with the file name
    # and the figures; its Cancel button, clicked as a person would, ends
    # the download: no box, nothing opened, no file left.
    d = Download(args, "cancel")
    d.star_block(".bin", '*<pages>>"%P"')
    with Server() as server:
        code, report, seconds = d.case.drive(
            "cancel-download", cp932(server.url("/trickle.bin")), timeout_ms=40000,
            **{"class": PROGRESS_CLASS, "after": "1500"})
    check_equal(code, 0, "driver exit code (0: clicked, and the program ended in time)")
    check_equal(report["exit_code"], 0, "program exit code")
    check_equal(report.messages(), [], "message boxes")
    shown, clicked, ended = (report["progress.shown"], report["progress.clicked"],
                             report["ended_at"])
    print(f"cancel: progress window after {shown} ms, clicked at {clicked} ms, "
          f"program ended at {ended} ms; window {report['progress.width']}x"
          f"{report['progress.height']}")
    check(800 <= shown < 4000, f"shown after {shown} ms")
    check(ended - clicked < 3000, f"ended {ended - clicked} ms after the click")
    check(ended < 25000, "ended long before the download would have")
    check_equal(report["progress.title"][:len(cp932("ダウンロード中"))], cp932("ダウンロード中"),
                "window title")
    texts = report["progress.text"].split(b"\n")
    check_equal(texts[0], b"trickle.bin", "file name line")
    check(b" / 3.0 MB (" in texts[1], f"amount line {texts[1]!r}")
    check(texts[2].endswith(cp932("KB/秒")), f"rate line {texts[2]!r}")
    d.viewer_starts(0)
    check_equal(d.listing("pages"), [], "files left")


def escaped_name(args):
    # A percent-escaped Japanese name, saved as it stands and opened with
    # "%P": the escapes are never taken for placeholders. In a folder
    # named "100%Done" too.
    d = Download(args, "escaped_name")
    os.makedirs(d.case.path("pages", "100%Done"))
    d.settings("[.pdf]", "<viewer>", '*<pages>>"%P" %N %E %A | 保存', "%end",
               "[blank]", "<viewer>", '*<pages>\\100%Done>"%P" %D | 保存', "%end")
    with Server() as server:
        d.run(server.url("/docs/" + ESCAPED_NAME))
        check_equal(server.requests, ["/docs/" + ESCAPED_NAME], "requests")
    d.expect_file("pages/" + ESCAPED_NAME, REPORT)
    d.expect_opened(f'"<pages>\\{ESCAPED_NAME}" {ESCAPED_NAME} .pdf {ESCAPED_NAME[:-4]}')
    with Server() as server:
        d.run(server.url("/dir/"))
    d.expect_file("pages/100%Done/index.html", INDEX)
    starts = d.viewer_starts(2)
    check_equal(starts[1][0], cp932(f'"{d.win("viewer.exe")}" "{d.win("pages")}\\100%Done\\index.html" '
                                    f'{d.win("pages")}\\100%Done\\'), "second viewer command line")


def existing_file_kept(args):
    # A "*" line into the user's own folder never replaces a file there:
    # the download is saved as "report (2).pdf", then "report (3).pdf". In
    # Tavrin's temporary folder the older copy is replaced.
    d = Download(args, "existing_file_kept")
    d.case.write("pages/report.pdf", b"my own report")
    d.case.write("temp/report.pdf", b"an older download")
    d.settings("[.pdf]", "<viewer>", '*<pages>>"%P"', "%end")
    with Server() as server:
        d.run(server.url("/docs/report.pdf"))
        d.run(server.url("/docs/report.pdf"))
    d.expect_file("pages/report.pdf", b"my own report")
    d.expect_file("pages/report (2).pdf", REPORT)
    d.expect_file("pages/report (3).pdf", REPORT)
    check_equal(d.listing("pages"), ["report (2).pdf", "report (3).pdf", "report.pdf"], "files")
    d.settings("[.pdf]", "<viewer>", '*>"%P"', "%end")
    with Server() as server:
        d.run(server.url("/docs/report.pdf"))
    d.expect_file("temp/report.pdf", REPORT)
    check_equal(d.listing("temp"), ["report.pdf"], "temporary files")
    starts = d.viewer_starts(3)
    check_equal([s[0] for s in starts],
                [cp932(f'"{d.win("viewer.exe")}" "{d.win(p)}"')
                 for p in ("pages/report (2).pdf", "pages/report (3).pdf", "temp/report.pdf")],
                "viewer command lines")


def colon_name(args):
    d = Download(args, "colon_name")
    d.star_block(".html", '*<pages>>"%P" %N')
    with Server() as server:
        d.run(server.url("/a:b.html"))
        check_equal(server.requests, ["/a:b.html"], "requests")
    check_equal(d.listing("pages"), ["a_b.html"], "saved files")
    d.expect_file("pages/a_b.html", PAGE)
    d.expect_opened('"<pages>\\a_b.html" a_b.html')


def missing_folder(args):
    # A folder that does not exist means the temporary folder.
    d = Download(args, "missing_folder")
    d.star_block(".html", '*<pages>\\gone>"%P"')
    with Server() as server:
        d.run(server.url("/dir/page.html"))
    d.expect_file("temp/page.html", PAGE)
    d.expect_opened('"<temp>\\page.html"')


def parameter_folder(args):
    d = Download(args, "parameter_folder")
    d.settings("[system]", "@param", "%dl% | <pages>", "%end",
               "[.html]", "<viewer>", '*%dl%>"%P" | 保存', "%end")
    with Server() as server:
        d.run(server.url("/dir/page.html"))
    d.expect_file("pages/page.html", PAGE)
    d.expect_opened('"<pages>\\page.html"')


def long_url(args):
    # A 2,000-character URL cannot be held (recognition takes URLs below
    # 260 characters): the user is told so, and the next one still opens.
    # The longest that is taken, with a long query, is sent as it stands.
    d = Download(args, "long_url")
    d.settings("[.txt]", "<viewer>", '*<pages>>"%P"', "%end",
               "[blank]", "<viewer>", '*<pages>>"%P"', "%end")
    with Server() as server:
        url = server.url("/")
        url += "a" * (2000 - len(url) - 4) + ".txt"
        check_equal(len(url), 2000, "URL length")
        too_long = ("注意", "次のURLは長すぎるため開けません。開けるURLは259文字までです。\n"
                    + url[:80] + "…")
        d.run(url + " " + server.url("/dir/doc.txt?first"), boxes=[too_long])
        longest = server.url("/dir/doc.txt?q=")
        longest += "x" * (259 - len(longest))
        d.run(longest)
        check_equal(server.requests, ["/dir/doc.txt?first", longest[longest.index("/dir"):]],
                    "requests")
    # The second download of doc.txt leaves the first one alone.
    d.expect_file("pages/doc.txt", b"query first")
    d.expect_file("pages/doc (2).txt", b"query " + longest[longest.index("?") + 1:].encode())
    starts = d.viewer_starts(2)
    check_equal({s[0] for s in starts},
                {cp932(f'"{d.win("viewer.exe")}" "{d.win("pages")}\\{name}"')
                 for name in ("doc.txt", "doc (2).txt")}, "viewer starts")


def folder_in_the_way(args):
    # A folder in the way of the saved name: the page is saved beside it as
    # "page (2).html" and opened; the folder is left as it was.
    d = Download(args, "folder_in_the_way")
    d.star_block(".html", '*<pages>>"%P"')
    os.makedirs(d.case.path("pages", "page.html"))
    with Server() as server:
        d.run(server.url("/dir/page.html"))
    check(os.path.isdir(d.case.path("pages", "page.html")), "the folder is still there")
    d.expect_file("pages/page (2).html", PAGE)
    d.expect_opened('"<pages>\\page (2).html"')


def no_server(args):
    d = Download(args, "no_server")
    d.star_block(".html", '*<pages>>"%P"')
    with Server() as server:
        url = server.url("/dir/page.html")
    seconds = d.run(url, boxes=["open"])
    check(seconds < 5, f"took {seconds:.2f} s")
    check_equal(d.listing("pages"), [], "saved files")
    d.viewer_starts(0)


def big_answer(args):
    d = Download(args, "big_answer")
    d.star_block(".bin", '*<pages>>"%P"')
    with Server() as server:
        seconds = d.run(server.url("/big.bin"), timeout_ms=60000)
    print(f"big_answer: {BIG_MEGABYTES} MB downloaded and opened in {seconds:.2f} s")
    path = d.case.path("pages", "big.bin")
    check_equal(os.path.getsize(path), BIG_MEGABYTES * len(MEGABYTE), "size of big.bin")
    with open(path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    check_equal(digest, hashlib.sha256(MEGABYTE * BIG_MEGABYTES).hexdigest(), "bytes of big.bin")
    d.expect_opened('"<pages>\\big.bin"')


# The loader cases: the fake loader never downloads, so no server runs.
LOADER_URL = "http://loader.invalid/dir/page.html"


def loader_settings(d, mode, timeout, program="<loader>"):
    d.settings("[system]", f"@loader={program}", f'>{mode} "<pages>\\%K" %L', f"@timeout={timeout}",
               "%end", "[.html]", "<viewer>", '#<pages>>-file "%P" | ローダーで保存して開く', "%end")


def loader_log(d):
    path = d.case.path("loader.exe") + ".log"
    if not os.path.exists(path):
        return []
    with open(path, "rb") as f:
        return f.read().decode("cp932").splitlines()


def loader_events(d, name):
    return [int(line.split()[1]) for line in loader_log(d) if line.startswith(name + " ")]


def loader_writes(args):
    d = Download(args, "loader_writes")
    loader_settings(d, "write", "10")
    d.run(LOADER_URL)
    check_equal(loader_log(d)[0],
                f'cmd="{d.win("loader.exe")}" write "{d.win("pages")}\\page.html" {LOADER_URL}',
                "loader command line")
    d.expect_file("pages/page.html", b"loaded " + LOADER_URL.encode())
    d.expect_opened('-file "<pages>\\page.html"')


def loader_hidden(args):
    # Polling on: the file counts once it is no longer hidden, while the
    # loader still runs.
    d = Download(args, "loader_hidden")
    loader_settings(d, "hidden", "10,1")
    seconds = d.run(LOADER_URL)
    start = d.expect_opened('-file "<pages>\\page.html"')
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and not loader_events(d, "end"):
        time.sleep(0.1)
    shown, end = loader_events(d, "shown"), loader_events(d, "end")
    check(shown and end, f"loader log {loader_log(d)}")
    check(shown[0] <= start[2] < end[0],
          f"viewer started at {start[2]}, file shown at {shown[0]}, loader ended at {end[0]}")
    check(1.4 < seconds < 4.5, f"took {seconds:.2f} s")


def loader_hangs(args):
    d = Download(args, "loader_hangs")
    loader_settings(d, "hang", "1")
    seconds = d.run(LOADER_URL, boxes=["loader_timeout"])
    print(f"loader_hangs: time-out box after {seconds:.2f} s with @timeout=1")
    check(0.9 < seconds < 5, f"took {seconds:.2f} s")
    pid = next(int(l[4:]) for l in loader_log(d) if l.startswith("pid="))
    try:
        # Left running: it goes on logging after the program has ended.
        before = len(loader_events(d, "alive"))
        time.sleep(0.6)
        check(len(loader_events(d, "alive")) > before, "loader still running")
        d.viewer_starts(0)
    finally:
        subprocess.run(["wine", "taskkill", "/f", "/pid", str(pid)], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
    time.sleep(0.5)
    before = len(loader_events(d, "alive"))
    time.sleep(0.5)
    check_equal(len(loader_events(d, "alive")), before, "alive lines after the kill")


def loader_missing(args):
    d = Download(args, "loader_missing")
    missing = d.win("no loader.exe")
    loader_settings(d, "write", "10", program=missing)
    seconds = d.run(LOADER_URL, boxes=[("エラー", "ダウンロードプログラムを起動できません。\n" + missing)])
    check(seconds < 4, f"reported after {seconds:.2f} s, not after the time limit")
    d.viewer_starts(0)


def loader_old_copy(args):
    # An old copy of the saved file is not the download: with polling the
    # wait goes on until the loader has written it anew; without, a loader
    # that ends without writing is a failed download.
    d = Download(args, "loader_old_copy")
    d.case.write("pages/page.html", b"an old copy")
    old_time = time.time() - 3600
    os.utime(d.case.path("pages", "page.html"), (old_time, old_time))
    loader_settings(d, "late", "10,1")
    seconds = d.run(LOADER_URL)
    start = d.expect_opened('-file "<pages>\\page.html"')
    written = loader_events(d, "written")
    check(written and written[0] <= start[2], f"viewer started at {start[2]}, written at {written}")
    check(1.4 < seconds < 5, f"took {seconds:.2f} s")
    d.expect_file("pages/page.html", b"loaded " + LOADER_URL.encode())

    d.case.write("pages/page.html", b"an old copy")
    os.utime(d.case.path("pages", "page.html"), (old_time, old_time))
    loader_settings(d, "none", "10")
    d.run(LOADER_URL, boxes=["loader_failed"])
    d.viewer_starts(1)
    d.expect_file("pages/page.html", b"an old copy")


def loader_own_folder(args):
    # A "#" line with a folder of its own: "%-K" tells the loader the full
    # path it must write, whatever folder the ">" line of @loader= has.
    d = Download(args, "loader_own_folder")
    os.makedirs(d.case.path("pages", "own"))
    d.settings("[system]", "@loader=<loader>", '>write "%-K" %L', "@timeout=10", "%end",
               "[.html]", "<viewer>", '#<pages>\\own>-file "%P" | ローダー', "%end")
    d.run(LOADER_URL)
    check_equal(loader_log(d)[0],
                f'cmd="{d.win("loader.exe")}" write "{d.win("pages")}\\own\\page.html" {LOADER_URL}',
                "loader command line")
    d.expect_file("pages/own/page.html", b"loaded " + LOADER_URL.encode())
    d.expect_opened('-file "<pages>\\own\\page.html"')


def long_folder(args):
    # A folder so deep that folder and name pass 259 characters: the name
    # is shortened and keeps ".pdf", for "*" lines and for the loader,
    # which is told the very name and path waited for.
    d = Download(args, "long_folder")
    deep = "pages"
    while len(d.win(deep)) < 200:
        deep += "/" + "d" * 20
    os.makedirs(d.case.path(deep))
    folder = d.win(deep)
    room = 259 - len(folder) - 1
    short = LONG_NAME[:room - 4] + ".pdf"
    check(len(LONG_NAME) > room, "the name does not fit as it is")
    d.settings("[system]", "@loader=<loader>", '>write "%-K" %K', "@timeout=10", "%end",
               "[.pdf]", "<viewer>", f'*{folder}>"%P" %E | 保存', "%end")
    with Server() as server:
        url = server.url("/docs/" + LONG_NAME)
        d.run(url)
    d.expect_file(deep + "/" + short, REPORT)
    check_equal(len(folder + "\\" + short), 259, "saved path length")
    os.remove(d.case.path(deep, short))
    d.settings("[system]", "@loader=<loader>", '>write "%-K" %K', "@timeout=10", "%end",
               "[.pdf]", "<viewer>", f'#{folder}>"%P" %E | ローダー', "%end")
    d.run(url)
    check_equal(loader_log(d)[0], f'cmd="{d.win("loader.exe")}" write "{folder}\\{short}" {short}',
                "loader command line")
    d.expect_file(deep + "/" + short, b"loaded " + short.encode())
    starts = d.viewer_starts(2)
    check_equal({s[0] for s in starts}, {cp932(f'"{d.win("viewer.exe")}" "{folder}\\{short}" .pdf')},
                "viewer command lines")


def loader_without_file(args):
    d = Download(args, "loader_without_file")
    loader_settings(d, "none", "10")
    seconds = d.run(LOADER_URL, boxes=["loader_failed"])
    check(seconds < 4, f"reported after {seconds:.2f} s, not after the time limit")
    check(loader_events(d, "end"), "loader ran")
    check_equal(d.listing("pages"), [], "saved files")
    d.viewer_starts(0)


# Whole or nothing: a short answer, a killed program, a full disk, a
# cancelled download fetched again at once.
def part_files(d, relative="pages"):
    return [n for n in d.listing(relative) if n.endswith(".part")]


def cut_off_answer(args):
    d = Download(args, "cut_off_answer")
    d.star_block(".bin", '*<pages>>"%P"')
    with Server() as server:
        d.run(server.url("/half.bin"), boxes=["cut_off"])
    check_equal(d.listing("pages"), [], "files left")
    d.viewer_starts(0)


def killed_during_download(args):
    # Ended with TerminateProcess while the answer arrives: the part file
    # belonged to its handle and went with the process.
    d = Download(args, "killed_during_download")
    d.star_block(".bin", '*<pages>>"%P"')
    with Server() as server:
        code, report, _ = d.case.drive("cancel-download", cp932(server.url("/trickle.bin")),
                                       timeout_ms=40000, kill="1",
                                       **{"class": PROGRESS_CLASS, "after": "300"})
        check_equal(code, 0, "driver exit code (0: killed)")
        check(report.get("progress.killed", 0) > 0, "killed while the progress window showed")
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline and d.listing("pages"):
        time.sleep(0.1)
    check_equal(d.listing("pages"), [], "files left after the kill")


def disk_full(args):
    # Every write past 64 KiB fails, as on a full drive: the box says the
    # write failed and names the file; nothing is kept or opened.
    d = Download(args, "disk_full")
    d.star_block(".bin", '*<pages>>"%P"')
    with Server() as server:
        code, report, _ = d.case.drive("run", cp932(server.url("/mega.bin")), timeout_ms=20000,
                                       file_size_limit=64 * 1024)
    check_equal(code, 0, "driver exit code")
    messages = report.messages()
    check_equal(len(messages), 1, f"one box: {messages}")
    caption, text = messages[0]
    check_equal(caption, cp932("エラー"), "caption")
    lines = text.split(b"\n")
    print("disk_full: " + text.decode("cp932").replace("\n", " | "))
    check(lines[0] in [cp932(t) for t in WRITE_FAILURES], f"the write's reason: {lines[0]!r}")
    check_equal(lines[1:], [cp932(d.win("pages") + "\\mega.bin")], "the file named")
    check_equal(d.listing("pages"), [], "files left")
    d.viewer_starts(0)


WRITE_FAILURES = ["ディスクの空きが足りないため、保存できませんでした。",
                  "ファイルが大きすぎて、このドライブには保存できませんでした。",
                  "書き込みが拒否されたため、保存できませんでした。",
                  "書き込みに失敗したため、保存できませんでした。"]


def cancel_then_again(args):
    # From the list window: a download that stalls is cancelled, and the
    # same URL, now answered at once, is fetched again while the first
    # transfer still waits out its time limit holding its part file.
    d = Download(args, "cancel_then_again")
    d.settings("[system]", "@timeout=10", "%end", "[.bin]", "<viewer>", '*<pages>>"%P"', "%end")
    with Server() as server:
        d.case.write("urls.txt", (server.url("/once.bin") + "\r\n").encode())
        s = Session(d.case).start(cp932(d.win("urls.txt"))).wait_list().wait_rows(1).command(950)
        s.post(999).cancel_progress().post(999).sleep(700)
        report = s.run(timeout_ms=30000)
        check_equal(server.stalled, 2, "requests for the URL")
        check_equal(report.get("running_at_end", 0), 1, "the list window stayed")
    d.expect_file("pages/once.bin", b"f" * 1000)
    check_equal(part_files(d), [], "part files left")
    d.expect_opened('"<pages>\\once.bin"')


# https: a certificate of the test's own, trusted in the prefix.
def tls_files(args):
    folder = os.path.join(args.scratch, "tls")
    cert, key, der = (os.path.join(folder, n) for n in ("cert.pem", "key.pem", "cert.der"))
    if not os.path.exists(der):
        os.makedirs(folder, exist_ok=True)
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "3650",
                        "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1,DNS:127.0.0.1",
                        "-keyout", key, "-out", cert], check=True, capture_output=True)
        subprocess.run(["openssl", "x509", "-in", cert, "-outform", "der", "-out", der + ".new"],
                       check=True, capture_output=True)
        os.replace(der + ".new", der)
    return cert, key, der


def https_to_http(args):
    # An https download is fetched; one that redirects to http is not: the
    # box names both addresses and the http server never hears of it.
    d = Download(args, "https_to_http")
    cert, key, der = tls_files(args)
    code, _, _ = d.case.drive("trust-cert", cert=windows_path(der))
    check_equal(code, 0, "certificate trusted")
    d.star_block(".html", '*<pages>>"%P"')
    with Server() as plain, Server(tls=(cert, key)) as secure:
        secure.redirect_to = plain.url("/dir/page.html")
        d.run(secure.url("/dir/page.html"))
        d.expect_file("pages/page.html", PAGE)
        os.remove(d.case.path("pages", "page.html"))
        box = ("注意", "https から http へリダイレクトされたため、ダウンロードを中止しました。\n"
               + secure.url("/to-plain.html") + "\n→ " + plain.url("/dir/page.html"))
        d.run(secure.url("/to-plain.html"), boxes=[box])
        check_equal(plain.requests, [], "requests over http")
    check_equal(d.listing("pages"), [], "files left")
    d.viewer_starts(1)


# The proxy of the prefix's Internet settings. Other cases of the session
# download from 127.0.0.1 meanwhile: that address bypasses the proxy.
INTERNET_SETTINGS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"


def set_proxy(values):
    for name, kind, data in values:
        subprocess.run(["wine", "reg", "add", INTERNET_SETTINGS, "/v", name, "/t", kind, "/d", data, "/f"],
                       stdin=subprocess.DEVNULL, capture_output=True, timeout=60, check=True)


def proxy(args):
    # With a proxy set, a page of localhost on a port where nothing listens
    # comes through the proxy; with none set, downloads go direct.
    d = Download(args, "proxy")
    d.settings("[.html]", "<viewer>", '*<pages>>"%P"', "%end", "[.txt]", "<viewer>", '*<pages>>"%P"', "%end")
    with Server(proxy=True) as proxy_server, Server() as server:
        set_proxy([("ProxyServer", "REG_SZ", f"127.0.0.1:{proxy_server.port()}"),
                   ("ProxyOverride", "REG_SZ", "127.0.0.1"), ("ProxyEnable", "REG_DWORD", "1")])
        try:
            d.run("http://localhost:1/dir/page.html")
            # What the settings say to bypass is reached directly.
            d.run(server.url("/dir/doc.txt"))
            # A proxy that wants a password: no prompt, the open error.
            d.run("http://localhost:1/login.html", boxes=["open"])
        finally:
            set_proxy([("ProxyEnable", "REG_DWORD", "0")])
        check_equal(proxy_server.requests, ["http://localhost:1/dir/page.html", "http://localhost:1/login.html"],
                    "through the proxy")
        d.expect_file("pages/page.html", PAGE)
        os.remove(d.case.path("pages", "page.html"))
        d.run(server.url("/dir/page.html"))
        check_equal(server.requests, ["/dir/doc.txt", "/dir/page.html"], "direct")
        check_equal(len(proxy_server.requests), 2, "the proxy heard no more")
    d.expect_file("pages/page.html", PAGE)
    d.viewer_starts(3)


if __name__ == "__main__":
    main({
        "page": page, "trailing_slash": trailing_slash, "query": query,
        "not_found": error_status("/missing.html", "not_found"), "server_error": error_status("/broken.html", "server_error"),
        "redirect": redirect,
        "stall_after_headers": stalled("/stall.html", "stall_after_headers"),
        "stall_before_headers": stalled("/silent.html", "stall_before_headers"),
        "slow_answer": slow_answer, "colon_name": colon_name, "missing_folder": missing_folder,
        "parameter_folder": parameter_folder, "long_url": long_url, "no_server": no_server,
        "folder_in_the_way": folder_in_the_way, "big_answer": big_answer,
        "stall_limit": stall_limit, "cancel": cancel, "escaped_name": escaped_name,
        "existing_file_kept": existing_file_kept, "loader_old_copy": loader_old_copy,
        "loader_own_folder": loader_own_folder, "long_folder": long_folder,
        "loader_writes": loader_writes, "loader_hidden": loader_hidden,
        "loader_hangs": loader_hangs, "loader_missing": loader_missing,
        "loader_without_file": loader_without_file,
        "cut_off_answer": cut_off_answer, "killed_during_download": killed_during_download,
        "disk_full": disk_full, "cancel_then_again": cancel_then_again,
        "https_to_http": https_to_http, "proxy": proxy,
    })
