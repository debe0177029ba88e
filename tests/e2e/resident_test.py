#!/usr/bin/env python3
"""The resident copy among other programs: input that arrives while it
downloads waits its turn (one progress window, the sender and the drag
source go on at once); other programs' sent messages and DDE broadcasts are
answered while it waits for a loader or a download; a list written over a
file keeps what Wine can show of that file; a program planted in the start
folder never runs."""
import http.server
import os
import shutil
import subprocess
import threading
import time

from list_session import Rows, Session, win
from tavrin_e2e import Case, check, check_equal, cp932, main, windows_path

PROGRESS_CLASS = "TavrinDownloadProgress"
# A sent message is answered within this many milliseconds.
ANSWER_MS = 200


def crlf(*lines):
    return "".join(line + "\r\n" for line in lines).encode("cp932")


def links_page(prefix, count):
    anchors = "".join(f'<a href="http://{prefix}.example/{i}.html">{prefix} {i}</a>\n' for i in range(count))
    return f"<html><head><title>{prefix}</title></head><body>{anchors}</body></html>".encode()


class SlowServer:
    """Pages that take their time: each path maps to (delay in seconds,
    body). Every request is logged with the times it began and ended."""

    def __init__(self, pages):
        self.log = []
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                began = time.monotonic()
                delay, body = pages.get(self.path, (0, None))
                time.sleep(delay)
                self.send_response(200 if body is not None else 404)
                body = body if body is not None else b"not here"
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                try:
                    self.wfile.write(body)
                except (BrokenPipeError, ConnectionResetError):
                    pass
                server.log.append((self.path, began, time.monotonic()))

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.httpd.daemon_threads = True
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.httpd.server_address[1], path)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.httpd.shutdown()
        self.httpd.server_close()


def tool(name):
    return os.environ.get(name)


def busy_inputs(args):
    # A hand-off starts a slow download; while it runs, a second hand-off
    # (another slow page) and a drop arrive. Each second copy and the drag
    # source return at once; one progress window shows at a time; the
    # second page is asked for only once the first has arrived, and the
    # drop is routed last.
    c = Case(args, "busy_inputs")
    c.write("Tavrin.ini", crlf("[system]"))
    c.write("five.txt", crlf(*[f"http://l.example/{i}.html" for i in range(5)]))
    pages = {"/first.html": (3.5, links_page("first", 3)), "/second.html": (1.0, links_page("second", 4))}
    with SlowServer(pages) as server:
        s = Session(c).start(win(c.path("five.txt"))).wait_list().wait_rows(5)
        first = s.step_number()
        s.second(b"/#b " + server.url("/first.html").encode())
        s.sleep(1200).windows(PROGRESS_CLASS, "shown")
        second = s.step_number()
        s.second(b"/#b " + server.url("/second.html").encode())
        dropped = s.step_number()
        s.drop_text(b"http://d.example/1.html\r\nhttp://d.example/2.html")
        s.windows(PROGRESS_CLASS, "during")
        s.wait_rows(2).rows("last").close()
        report = s.run(timeout_ms=40000)
        log = sorted(server.log, key=lambda r: r[1])
    for step, what in ((first, "the first hand-off"), (second, "the hand-off during the download")):
        check_equal(report[f"step.{step}.ended"], 1, f"{what}: the second copy ended")
        check(report[f"step.{step}.ms"] < 1500, f"{what} took {report[f'step.{step}.ms']} ms")
    check(report[f"step.{dropped}.ms"] < 1000, f"the drop took {report[f'step.{dropped}.ms']} ms")
    check_equal(report[f"step.{dropped}.effect"], 5, "the drop's effect")
    check_equal(report["shown.count"], 1, "progress windows during the first download")
    check_equal(report["during.count"], 1, "progress windows with two inputs waiting")
    check_equal([p for p, _, _ in log], ["/first.html", "/second.html"], "pages asked for")
    check(log[1][1] >= log[0][2] - 0.05, f"the second page was asked for before the first had arrived: {log}")
    check_equal(Rows(report, "last").urls(), ["http://d.example/1.html", "http://d.example/2.html"], "rows")


def answers_while_waiting(args):
    # While a loader is waited for, and in a download's first second (no
    # progress window yet), every top-level window of the program answers
    # a sent WM_NULL within 200 ms, and a DDE client's broadcast is not
    # held up.
    c = Case(args, "answers_while_waiting")
    shutil.copyfile(tool("TAVRIN_RECORDER"), c.path("viewer.exe"))
    shutil.copyfile(tool("TAVRIN_FAKE_LOADER"), c.path("loader.exe"))
    os.makedirs(c.path("pages"))
    loader, pages_folder, viewer = (windows_path(c.path(n)) for n in ("loader.exe", "pages", "viewer.exe"))
    c.write("Tavrin.ini", crlf("[system]", f"@loader={loader}", f'>hang "{pages_folder}\\%K" %L', "@timeout=2",
                               "%end", "[.html]", viewer, f'#{pages_folder}>"%P"', "%end"))
    s = Session(c).start(b"http://loader.invalid/page.html").sleep(600)
    s.answer("loader").dde_probe("loader_dde").alive("loader_alive")
    s.message("ok").wait_exit()
    report = s.run(timeout_ms=20000)
    with open(c.path("loader.exe") + ".log", "rb") as f:
        pid = next(int(l[4:]) for l in f.read().decode("cp932").splitlines() if l.startswith("pid="))
    subprocess.run(["wine", "taskkill", "/f", "/pid", str(pid)], stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
    check_equal(report["loader_alive.alive"], 1, "still waiting for the loader when asked")

    c.write("Tavrin.ini", crlf("[system]"))
    with SlowServer({"/slow.html": (2.0, links_page("slow", 3))}) as server:
        s = Session(c).start(b"/#b " + server.url("/slow.html").encode()).wait_list().sleep(150)
        s.windows(PROGRESS_CLASS, "progress").answer("download").dde_probe("download_dde")
        s.wait_rows(3).rows("page").close()
        download = s.run(timeout_ms=20000)
    check_equal(download["progress.count"], 0, "no progress window yet")
    check_equal(len(Rows(download, "page").rows), 3, "the page's links")
    for label, r in (("loader", report), ("download", download)):
        check(r[f"{label}.windows"] >= 1, f"{label}: top-level windows found")
        check_equal(r[f"{label}.answered"], r[f"{label}.windows"], f"{label}: windows that answered")
        check(r[f"{label}.slowest_ms"] < ANSWER_MS, f"{label}: slowest answer {r[f'{label}.slowest_ms']} ms")
        check(0 <= r[f"{label}_dde.ms"] < 500, f"{label}: a DDE broadcast took {r[f'{label}_dde.ms']} ms")


def planted_program(args):
    # "viewer.exe" planted in the folder Tavrin starts in never runs; the
    # one in an "@path=" folder does. A relative file argument still means
    # the file in the start folder.
    c = Case(args, "planted_program")
    for folder in ("start", "tools"):
        os.makedirs(c.path(folder))
        shutil.copyfile(tool("TAVRIN_RECORDER"), c.path(folder, "viewer.exe"))
    c.write("start/page.html", b'<a href="http://p.example/1.html">One</a><a href="http://p.example/2.html">Two</a>')
    c.write("Tavrin.ini", crlf("[system]", "@path=" + windows_path(c.path("tools")), "%end",
                               "[.html]", "viewer.exe", "%end"))
    s = Session(c).start_in(c.path("start"), b"http://h.example/a.html").wait_exit()
    s.start_in(c.path("start"), b"page.html").wait_list().wait_rows(2).rows("relative").close()
    report = s.run()
    deadline = time.monotonic() + 5
    tools_log = c.path("tools", "viewer.exe.log")
    while time.monotonic() < deadline and not os.path.exists(tools_log):
        time.sleep(0.05)
    time.sleep(0.5)
    check(os.path.exists(tools_log), "the viewer on the search list ran")
    check(not os.path.exists(c.path("start", "viewer.exe.log")), "the viewer planted in the start folder ran")
    check_equal(Rows(report, "relative").urls(), ["http://p.example/1.html", "http://p.example/2.html"],
                "the relative page's links")


def list_file_kept(args):
    # A list written over an existing file keeps what Wine can show of it:
    # a second name (a hard link) sees the new list, the file's permissions
    # stay; a plain file is replaced whole with the new text. Writing into
    # a folder whose path is long enough that a temporary name passes the
    # usual limit works as well.
    c = Case(args, "list_file_kept")
    c.write("Tavrin.ini", crlf("[system]"))
    c.write("five.txt", crlf(*[f"http://l.example/{i}.html" for i in range(5)]))
    old = crlf("http://old.example/kept.html")
    c.write("linked.txt", old)
    os.chmod(c.path("linked.txt"), 0o600)
    os.link(c.path("linked.txt"), c.path("alias.txt"))
    c.write("plain.txt", old)
    os.chmod(c.path("plain.txt"), 0o640)
    # The list's path is 256 characters, in a folder of 250 (the save
    # dialog takes 258): its temporary file's path is longer than 259.
    base = windows_path(c.path(""))
    deep = c.path("d" * max(1, 256 - len(base) - len("\\a.txt") - 1))
    os.makedirs(deep)
    long_list = os.path.join(deep, "a.txt")
    check_equal(len(windows_path(long_list)), 256, "the long list path's length")
    s = Session(c).start(win(c.path("five.txt"))).wait_list().wait_rows(5).command(950)
    s.post(905).save(win(c.path("linked.txt"))).message("yes").sleep(300)
    s.post(905).save(win(c.path("plain.txt"))).message("yes").sleep(300)
    s.post(905).save(win(long_list)).sleep(300).no_dialog(200).close()
    report = s.run(timeout_ms=30000)
    new = crlf(*[f"http://l.example/{i}.html" for i in range(5)])
    for name in ("linked.txt", "alias.txt", "plain.txt"):
        with open(c.path(name), "rb") as f:
            check_equal(f.read(), new, f"the bytes of {name}")
    check_equal(os.stat(c.path("linked.txt")).st_ino, os.stat(c.path("alias.txt")).st_ino, "one file, two names")
    check_equal(os.stat(c.path("linked.txt")).st_mode & 0o777, 0o600, "permissions of the linked list")
    with open(long_list, "rb") as f:
        check_equal(f.read(), new, "the list at the path limit")
    check_equal(report[f"step.{len(s.steps) - 1}.dialogs"], 0, "boxes after the last save")
    leftovers = [n for n in os.listdir(c.path("")) + os.listdir(deep) if n.lower().endswith(".tmp")]
    check_equal(leftovers, [], "temporary files left")


CASES = (busy_inputs, answers_while_waiting, planted_program, list_file_kept)

if __name__ == "__main__":
    main({f.__name__: f for f in CASES})
