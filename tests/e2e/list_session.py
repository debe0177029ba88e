"""Driving Tavrin's list window through the driver's "session" command.

A Session collects steps (see tests/e2e/driver/session.cpp), runs them in
one driver call and returns the report with the rows read from the real
list view at each "rows" step.
"""
import os

from tavrin_e2e import Failure, check_equal, cp932, windows_path


def hexed(data):
    if isinstance(data, str):
        data = cp932(data)
    return data.hex() if data else "-"


def utf8_hexed(text):
    """Text for the driver's wide steps: UTF-8."""
    return text.encode("utf-8").hex() if text else "-"


class Rows:
    """The rows recorded under one label."""

    def __init__(self, report, label):
        self.label = label
        count = report.get(f"{label}.rows")
        if count is None:
            raise Failure(f"no rows recorded as {label!r}: {report.get('error.text', b'')!r}")
        self.rows = [{key: report[f"{label}.{i}.{key}"]
                      for key in ("title", "url", "checked", "state", "selected")}
                     for i in range(count)]
        self.caption = report[f"{label}.caption"]
        self.topmost = report[f"{label}.topmost"]

    def urls(self):
        return [r["url"].decode("cp932") for r in self.rows]

    def titles(self):
        return [r["title"].decode("cp932") for r in self.rows]

    def checks(self):
        return "".join("x" if r["checked"] else "." for r in self.rows)

    def pairs(self):
        return list(zip(self.titles(), self.urls()))

    def byte_pairs(self):
        """(title, URL) as the list holds them, bytes that need not be CP932."""
        return [(r["title"], r["url"]) for r in self.rows]


class Session:
    def __init__(self, case):
        self.case = case
        self.steps = []
        self.labels = 0

    def add(self, *words):
        self.steps.append(" ".join(str(w) for w in words))
        return self

    # Steps -----------------------------------------------------------------
    def start(self, arguments=b""):
        return self.add("start", hexed(arguments))

    def start_wide(self, arguments):
        """Started as a clicked link's browser: a wide command line."""
        return self.add("start-wide", utf8_hexed(arguments))

    def start_in(self, folder, arguments=b""):
        """Starts the program with `folder` (a Unix path) as its current folder."""
        return self.add("start-in", hexed(win(folder)), hexed(arguments))

    def second(self, arguments):
        return self.add("second", hexed(arguments))

    def second_wide(self, arguments):
        return self.add("second-wide", utf8_hexed(arguments))

    def second_via(self, launcher, arguments):
        """A second copy started by `launcher` (a Unix path to a copy of the
        driver), which waits for it to end."""
        return self.add("second-via", hexed(win(launcher)), hexed(arguments))

    def second_async(self, arguments):
        return self.add("second-async", hexed(arguments))

    def second_alive(self):
        return self.add("second-alive")

    def wait_second(self):
        return self.add("wait-second")

    def copydata(self, code, path):
        """WM_COPYDATA with the exact bytes of the file at `path`."""
        return self.add("copydata", code, hexed(win(path)))

    def menu_char(self, char):
        return self.add("menu-char", char)

    def dismiss_menu(self):
        return self.add("dismiss-menu")

    def wait_list(self):
        return self.add("wait-list")

    def wait_rows(self, n):
        return self.add("wait-rows", n)

    def rows(self, label):
        return self.add("rows", label)

    def geometry(self, label):
        """The window's and the list's sizes (see the driver's step)."""
        return self.add("geometry", label)

    def column_width(self, column, width):
        return self.add("column-width", column, width)

    def dpi_changed(self, dpi, left, top, right, bottom):
        return self.add("dpi-changed", dpi, left, top, right, bottom)

    def command(self, id_):
        return self.add("command", id_)

    def post(self, id_):
        return self.add("post", id_)

    def post_range(self, first, last, wparam=0, lparam=0):
        return self.add("post-range", first, last, wparam, lparam)

    def keys(self, *chords):
        return self.add("keys", *chords)

    def menu(self, *chords):
        return self.add("menu", *chords)

    def click(self, row):
        return self.add("click", row)

    def dblclick(self, row):
        return self.add("dblclick", row)

    def rclick(self, row):
        return self.add("rclick", row)

    def check(self, row):
        return self.add("check", row)

    def save(self, path):
        return self.add("save", hexed(path))

    def open(self, path):
        return self.add("open", hexed(path))

    def read_menus(self, path):
        """Before start: every menu the program opens is written to `path`
        (a Unix path); menus_read reads it."""
        return self.add("read-menus", hexed(win(path)))

    def save_wide(self, path):
        """A name typed that code page 932 need not hold (text, as UTF-8)."""
        return self.add("save-wide", utf8_hexed(path))

    def folder(self, path):
        return self.add("folder", hexed(path))

    def cancel(self):
        return self.add("cancel")

    def message(self, button="ok"):
        return self.add("message", button)

    def no_dialog(self, ms=300):
        return self.add("no-dialog", ms)

    def clipboard(self, text):
        return self.add("clipboard", hexed(text))

    def read_clipboard(self, label):
        return self.add("read-clipboard", label)

    def drop_text(self, text):
        return self.add("drop-text", hexed(text))

    def drop_file(self, path):
        return self.add("drop-file", hexed(path))

    def clipboard_in(self, locale, data):
        """CF_TEXT in the ANSI code page of `locale` (an LCID), with it."""
        return self.add("clipboard-in", f"{locale:x}", hexed(data))

    def clipboard_wide(self, text):
        """CF_UNICODETEXT, as a program that writes wide text puts it."""
        return self.add("clipboard-wide", utf8_hexed(text))

    def drop_wide_text(self, text):
        """CF_UNICODETEXT with the system's CF_TEXT copy beside it."""
        return self.add("drop-wide-text", utf8_hexed(text))

    def drop_wide_file(self, path):
        return self.add("drop-wide-file", utf8_hexed(path))

    def drag_async(self, drop, data):
        """One of the drops (its step name) from a thread of the driver's
        own, for a drop that shows a box; wait_drag ends it."""
        wide = drop.startswith("drop-wide-")
        return self.add("drag-async", drop, utf8_hexed(data) if wide else hexed(data))

    def wait_drag(self):
        return self.add("wait-drag")

    def viewer(self):
        return self.add("viewer")

    def viewer_count(self, label):
        return self.add("viewer-count", label)

    def hold(self, path):
        return self.add("hold", hexed(path))

    def cancel_progress(self):
        return self.add("cancel-progress")

    def answer(self, label, limit_ms=200):
        """WM_NULL to each of the program's top-level windows, hidden ones too."""
        return self.add("answer", label, limit_ms)

    def dde_probe(self, label):
        return self.add("dde-probe", label)

    def resources(self, label):
        return self.add("resources", label)

    def windows(self, class_name, label):
        return self.add("windows", class_name, label)

    def alive(self, label):
        return self.add("alive", label)

    def post_message(self, message, wparam=0, lparam=0):
        return self.add("post-message", message, wparam, lparam)

    def send_message(self, message, wparam=0, lparam=0):
        return self.add("send-message", message, wparam, lparam)

    def notify(self, code):
        """WM_NOTIFY as if from the list view, sent from the driver."""
        return self.add("notify", code)

    def post_wparams(self, message, first, last, lparam=0):
        return self.add("post-wparams", message, first, last, lparam)

    def sleep(self, ms):
        return self.add("sleep", ms)

    def wait_exit(self):
        return self.add("wait-exit")

    def close(self):
        return self.add("close")

    def step_number(self):
        """The number the next step will have (for its "step.N" keys)."""
        return len(self.steps) + 1

    # Running ---------------------------------------------------------------
    def run(self, timeout_ms=30000, expect_ok=True, file_size_limit=None):
        script = self.case.write_work(f"session{len(self.steps)}.txt",
                                      ("\n".join(self.steps) + "\n").encode("ascii"))
        code, report, seconds = self.case.drive("session", b"", timeout_ms=timeout_ms,
                                                file_size_limit=file_size_limit, script=script)
        if expect_ok and code != 0:
            raise Failure("session failed: " + report.get("error.text", b"?").decode("cp932", "replace"))
        report.seconds = seconds
        return report


def menus_read(path):
    """The menus a read_menus step saw, in the order they opened: each a
    list of its items' texts (code page 932 bytes), None for a separator."""
    menus = []
    if os.path.exists(path):
        with open(path, "rb") as f:
            for line in f.read().decode("ascii").splitlines():
                if line == "menu":
                    menus.append([])
                elif line == "separator" and menus:
                    menus[-1].append(None)
                elif line.startswith("item ") and menus:
                    menus[-1].append(bytes.fromhex(line[5:]))
    return menus


def win(path):
    """A Unix path as the program sees it, in CP932 bytes."""
    return cp932(windows_path(path))
