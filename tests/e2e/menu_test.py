#!/usr/bin/env python3
"""The association menu and the tools menu of the real Tavrin.exe, worked as
a person would: keys and clicks through the X server (xdotool), Shift and
Ctrl held by the driver with SendInput, and the menu windows' rectangles
read by the driver, which watches the program in the background. Each case
checks what the chosen item did: which recorder started with which
parameters, what reached the shell's browser, which message box showed.

What works under Wine 8 on Xvfb (measured while writing these cases):
- xdotool keys reach a popup menu only while the X pointer is over a Wine
  window. Cases move the pointer onto the menu's top-left border first: no
  item is under it, and the move takes away the highlight that the menu
  opened with, so the first Down highlights the first item. (Without the
  move the first item stays highlighted, and Return chooses it.) Letters choose an item by its "&" key; a
  letter on a submenu item opens it (a group's submenu is filled then).
- While a window of another program holds the X focus (the cases that
  show a window of the driver as the active window), xdotool keys go to
  that window; keys sent with SendInput reach the menu all the same.
- Right clicks sent with xdotool reach the program's thread mouse hook.
- Shift and Ctrl must be held with SendInput from a Windows program: an
  xdotool key release sent after the menu has closed is lost, and the key
  stays down. Ctrl+Return chooses nothing in Wine's menus; Ctrl+click does.
- A SendInput mouse move also moves the X pointer and is what the
  program's GetCursorPos reads; SetCursorPos from another process is not.
- A key held with SendInput is let go when the process that sent it ends
  (Wine takes the key state from X again), so a key is held and let go
  by one "input" command.
- The shell hands URLs to the browser with spaces escaped as "%20".
- Another process cannot read the menu's items; the menu window (class
  "#32768") and its rectangle can be found.
- On a 1280x1024 screen SM_CYMAXIMIZED is larger than the screen (the
  frame is included), so the "screen centre" of the menu lies below 512.
"""
import os
import subprocess
import time

from dispatch_test import Dispatch
from tavrin_e2e import Failure, Report, check, check_equal, cp932, main, windows_path

URL = "http://host/a/page.html"
URLS3 = "http://host/a/1.html http://host/a/2.html http://host/a/3.html"

# The settings most cases share: letters choose the items.
MAIN = ("[system]", "@menu=200,150", "@dist=100,100", "@ext2=other.ini", "%end",
        "[.html]",
        "<viewer> | &Viewer",
        "<editor> | &Editor",
        ">-one %K | One",
        "<other> | &Other",
        ">-a %K | &Alpha",
        "]-each %K | &Each",
        ">%S | &Browser",
        "%end")


class Rect:
    def __init__(self, left, top, right, bottom):
        self.left, self.top, self.right, self.bottom = left, top, right, bottom
        self.width, self.height = right - left, bottom - top

    def centre(self):
        return ((self.left + self.right) // 2, (self.top + self.bottom) // 2)

    def __eq__(self, other):
        return (self.left, self.top, self.right, self.bottom) == (
            other.left, other.top, other.right, other.bottom)

    def __repr__(self):
        return f"Rect({self.left}, {self.top}, {self.right}, {self.bottom})"


def xdotool(*words):
    subprocess.run(["xdotool", *map(str, words)], check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class MenuRun:
    """One start of Tavrin.exe under the driver's "menu" command, running in
    the background while the case works its menus."""

    def __init__(self, menu_case, arguments, **options):
        self.case = menu_case.d.case
        self.driver = self.case.driver
        menu_case.runs += 1
        stem = os.path.join(self.case.work, f"menu{menu_case.runs}")
        self.events_path, self.out_path = stem + ".events", stem + ".out"
        with open(stem + ".args", "wb") as f:
            f.write(cp932(menu_case.d.fill(arguments)))
        argv = ["wine", self.driver, "menu", "--exe", windows_path(self.case.exe),
                "--args-file", windows_path(stem + ".args"),
                "--events", windows_path(self.events_path), "--out", windows_path(self.out_path),
                "--timeout", "20000"]
        for key, value in options.items():
            argv += ["--" + key, value]
        self.log = open(stem + ".log", "wb")
        self.process = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=self.log,
                                        stderr=subprocess.STDOUT)

    def events(self):
        if not os.path.exists(self.events_path):
            return []
        with open(self.events_path, "rb") as f:
            return [line.split() for line in f.read().decode("ascii").splitlines()]

    def wait_for(self, test, what, seconds=10):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            found = test(self.events())
            if found:
                return found
            if self.process.poll() is not None:
                found = test(self.events())
                if found:
                    return found
                raise Failure(f"the program ended before {what}: {self.events()}")
            time.sleep(0.02)
        raise Failure(f"no {what} within {seconds} s: {self.events()}")

    def menu(self, n=1):
        """Waits for the n-th menu window; returns its rectangle."""
        def find(events):
            for e in events:
                if e[0] == "menu" and int(e[1]) == n:
                    return Rect(*map(int, e[2:6]))
            return None
        return self.wait_for(find, f"menu {n}")

    def menus_open(self):
        """The rectangles of the menu windows seen since the last close."""
        shown = []
        for e in self.events():
            if e[0] == "menu":
                shown.append(Rect(*map(int, e[2:6])))
            elif e[0] == "closed":
                shown = []
        return shown

    def point_at(self, rect):
        """Puts the X pointer on the menu's top-left border, over no item."""
        xdotool("mousemove", rect.left + 1, rect.top + 1)
        time.sleep(0.15)

    def keys(self, *names):
        for name in names:
            xdotool("key", name)
            time.sleep(0.08)

    def send(self, *steps):
        """Windows-side input: held modifiers, clicks (see the driver)."""
        check_equal(self.send_async(*steps).wait(timeout=60), 0, "input command")

    def send_async(self, *steps):
        return subprocess.Popen(["wine", self.driver, "input", "--", *steps],
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def press(self, *keys):
        """Keys sent with SendInput (see the notes above)."""
        self.send(*(f"press:{key}" for key in keys))

    def finish(self, seconds=10):
        """Waits for the program to end; returns the driver's report."""
        try:
            self.process.wait(timeout=seconds + 25)
        finally:
            self.log.close()
        check_equal(self.process.returncode, 0, "driver exit code (0: the program ended in time)")
        report = Report.read(self.out_path)
        check_equal(report["exit_code"], 0, "program exit code")
        return report


class MenuCase:
    """A case folder with the recorders as programs and the settings."""

    def __init__(self, args, name):
        self.d = Dispatch(args, name)
        self.runs = 0

    def settings(self, *lines, name="Tavrin.ini"):
        data = "".join(self.d.fill(line) + "\r\n" for line in lines).encode("cp932")
        self.d.case.write(name, data)

    def start(self, arguments=URL, **options):
        return MenuRun(self, arguments, **options)

    def choose(self, arguments, *keys, **options):
        """Starts, waits for the menu, presses the keys, waits for the end.
        With a window of the driver in the foreground the keys are sent with
        SendInput (in its names: escape, down, return, ...)."""
        run = self.start(arguments, **options)
        rect = run.menu()
        if "foreground" in options:
            run.press(*keys)
        else:
            run.point_at(rect)
            run.keys(*keys)
        return run.finish(), rect


def choose_each_kind(args):
    c = MenuCase(args, "choose_each_kind")
    c.settings(*MAIN)
    c.choose(URL, "v")                  # a program: the URL itself
    c.choose(URL, "e")                  # its only sub-command, marked " *"
    c.choose(URL, "o", "a")             # a sub-command in a submenu
    c.choose(URLS3, "o", "e")           # "]": every target without Shift
    c.choose(URLS3, "o", "b")           # "%S" without the bridge: the program, once
    c.d.expect({"viewer": [URL], "editor": ["-one page.html"],
                "other": ["-a page.html", "-each 1.html", "-each 2.html", "-each 3.html",
                          "http://host/a/1.html"]})


def shift_and_right_click(args):
    c = MenuCase(args, "shift_and_right_click")
    c.settings(*MAIN)
    # Shift held with the choice: every target.
    run = c.start(URLS3)
    run.point_at(run.menu())
    run.send("down:shift", "press:v", "sleep:200", "up:shift")
    run.finish()
    # The right button instead of Shift, on the first item.
    run = c.start(URLS3)
    rect = run.menu()
    run.point_at(rect)
    xdotool("mousemove", rect.left + 20, rect.top + 10)
    time.sleep(0.15)
    xdotool("click", "3")
    run.finish()
    # A right click that dismisses the menu chooses nothing; the next
    # menu's left choice is for the first target only.
    run = c.start(URLS3)
    rect = run.menu()
    xdotool("mousemove", rect.right + 40, rect.bottom + 40)
    time.sleep(0.15)
    xdotool("click", "3")
    run.finish()
    c.choose(URLS3, "e")
    urls = URLS3.split()
    c.d.expect({"viewer": urls * 2, "editor": ["-one 1.html"]})


def escape(args):
    c = MenuCase(args, "escape")
    c.settings(*MAIN)
    c.choose(URL, "Escape")
    # A submenu closes first; the second Escape closes the menu.
    run = c.start(URL)
    run.point_at(run.menu())
    run.keys("o")
    run.menu(2)
    run.keys("Escape")
    time.sleep(0.2)
    check_equal(len(run.menus_open()), 2, "menus left after one Escape (the outer one stays)")
    run.keys("Escape")
    run.finish()
    c.d.expect({})


def groups_and_submenus(args):
    c = MenuCase(args, "groups_and_submenus")
    c.settings("[system]", "@menu=200,150", "%end", "[.html]",
               "<viewer> | &Viewer",
               "{&Group",
               "<editor> | &Editor",
               "{&Deeper",
               "<other> | &Other",
               "}",
               "+",
               "}",
               "<other> | &Last", "%end")
    # The group opens by its letter, filled as it opens: two items there
    # (a "+" right before its end adds nothing).
    run = c.start()
    run.point_at(run.menu())
    run.keys("g")
    group = run.menu(2)
    run.keys("e")
    run.finish()
    # The nested group, two levels down.
    run = c.start()
    run.point_at(run.menu())
    run.keys("g", "d")
    deeper = run.menu(3)
    run.keys("o")
    run.finish()
    # Rows of groups never show in the outer menu: Last is its third item.
    c.choose(URL, "Down", "Down", "Down", "Return")
    # The same group without the trailing "+": the same height.
    c.settings("[system]", "@menu=200,150", "%end", "[.html]", "<viewer> | &Viewer", "{&Group",
               "<editor> | &Editor", "{&Deeper", "<other> | &Other", "}", "}", "%end")
    run = c.start()
    run.point_at(run.menu())
    run.keys("g")
    plain = run.menu(2)
    run.keys("Escape", "Escape")
    run.finish()
    check_equal(group.height, plain.height, "group height with a \"+\" before its end")
    check(deeper.height < group.height, f"one item {deeper} is lower than two {group}")
    c.d.expect({"editor": [URL], "other": [URL, URL]})


def separators_and_columns(args):
    c = MenuCase(args, "separators_and_columns")
    rows = ("<viewer> | &Viewer", "<editor> | &Editor", "<other> | &Other")

    def menu_with(*lines, keys=("Escape",)):
        c.settings("[system]", "@menu=200,150", "%end", "[.html]", *lines, "%end")
        report, rect = c.choose(URL, *keys)
        return rect

    plain = menu_with(*rows)
    separated = menu_with(rows[0], "+", *rows[1:])
    columns = menu_with(rows[0], "-", *rows[1:])
    # A separator is lower than an item: the menu grows by less than an item.
    item = plain.height / 5
    check(0 < separated.height - plain.height < item,
          f"separator adds {separated.height - plain.height} px (items about {item:.0f} px)")
    check_equal(separated.width, plain.width, "width with a separator")
    # A column break puts the next items beside the first one.
    check(columns.width > plain.width + 20, f"two columns {columns} wider than one {plain}")
    check(columns.height < plain.height, f"two columns {columns} lower than one {plain}")
    # Arrows skip the separator: the second Down is the second program.
    menu_with(rows[0], "+", *rows[1:], keys=("Down", "Down", "Return"))
    # Right moves into the second column: the editor again; then the other.
    menu_with(rows[0], "-", *rows[1:], keys=("Down", "Right", "Return"))
    menu_with(rows[0], "-", *rows[1:], keys=("Down", "Down", "Down", "Return"))
    # A mark at the very end adds nothing, and nothing carries over.
    end_mark = menu_with(*rows, "-")
    check_equal(end_mark, plain, "menu with a trailing mark")
    c.d.expect({"editor": [URL, URL], "other": [URL]})


def title_item(args):
    c = MenuCase(args, "title_item")
    c.settings(*MAIN)
    c.choose(URL + " http://host/b.html", "0")  # "&0": opened by the system
    c.choose('"http://host/a b/page.html"', "Up", "Return")  # the last item
    c.d.expect({}, browser=[URL, "http://host/a%20b/page.html"])


def title_item_failed_download(args):
    # Shift, or the right button, on the title item lists the page's links
    # in the list window; a page that cannot be downloaded (an ftp URL) is
    # told of, and the list window it opened goes again: the program ends.
    c = MenuCase(args, "title_item_failed_download")
    c.settings(*MAIN)
    refused = [(cp932("注意"), cp932("http以外は、ダウンロードできません！"))]
    for how in ("shift", "right button"):
        run = c.start("ftp://host/readme.html")
        rect = run.menu()
        title = (rect.left + 30, rect.bottom - 8)
        if how == "shift":
            # Shift turns the "0" key into another character: a click.
            run.send("down:shift", "click:%d,%d" % title, "sleep:200", "up:shift")
        else:
            run.point_at(rect)
            xdotool("mousemove", *title)
            time.sleep(0.15)
            xdotool("click", "3")
        report = run.finish()
        check_equal(report.messages(), refused, f"message boxes ({how})")
    c.d.expect({})


def ctrl_switches_settings_files(args):
    c = MenuCase(args, "ctrl_switches_settings_files")
    c.settings("[system]", "@menu=mouse", "@ext2=other.ini", "%end",
               "[.html]", "<viewer> | &Viewer", "<editor> | &Editor", "%end")
    c.settings("[.html]", "<other> | &Other", "<editor> | &Alt editor", "<viewer> | &Beta", "%end",
               name="other.ini")
    run = c.start(cursor="300,260")
    first = run.menu(1)
    check_equal((first.left, first.top), (300, 260), "menu at the mouse")
    # Ctrl+click on the title item: the other file's menu, where this was,
    # though the pointer has moved.
    title = (first.left + 30, first.bottom - 8)
    run.send("down:ctrl", "click:%d,%d" % title, "sleep:200", "up:ctrl")
    second = run.menu(2)
    check_equal((second.left, second.top), (first.left, first.top), "second menu's place")
    check(second.height > first.height, f"three programs {second} below two {first}")
    # And back again.
    run.send("down:ctrl", "click:%d,%d" % (second.left + 30, second.bottom - 8), "sleep:200",
             "up:ctrl")
    third = run.menu(3)
    check_equal(third, first, "third menu (the main file again)")
    run.point_at(third)
    run.keys("v")
    run.finish()
    # From the other file, its own programs start.
    run = c.start(cursor="300,260")
    first = run.menu(1)
    run.send("down:ctrl", "click:%d,%d" % (first.left + 30, first.bottom - 8), "sleep:200",
             "up:ctrl")
    run.point_at(run.menu(2))
    run.keys("a")
    run.finish()
    c.d.expect({"viewer": [URL], "editor": [URL]})


def key_release_warning(args):
    c = MenuCase(args, "key_release_warning")
    c.settings(*MAIN)
    run = c.start()
    rect = run.menu()
    # Ctrl held on through the choice: nothing starts until it is let go;
    # after about 3 s the reminder shows. The key is held in X as well:
    # when the focus moves, Wine takes the keys' state from X again.
    run.point_at(rect)
    xdotool("keydown", "ctrl")
    try:
        held = run.send_async("down:ctrl", "click:%d,%d" % (rect.left + 20, rect.top + 10),
                              "sleep:4000", "up:ctrl")
        time.sleep(2.5)
        check(not c.d.records("viewer"), "started while Ctrl was held")
        run.wait_for(lambda events: any(e[0] == "message" for e in events), "reminder")
        check(held.poll() is None and not c.d.records("viewer"), "started while Ctrl was held")
        check_equal(held.wait(timeout=30), 0, "input command")
    finally:
        xdotool("keyup", "ctrl")
    report = run.finish()
    check_equal(report.messages(), [(cp932("注意"), cp932("キーを開放してください！"))],
                "reminder")
    c.d.expect({"viewer": [URL]})


def positions(args):
    c = MenuCase(args, "positions")
    modes = [
        # (name, "@menu=" value or None, driver options, check(rect, report))
        ("active window", None, {"foreground": "200,100,600,400"},
         lambda r, rep: check_equal(r.centre(), (400, 250), "centre on the active window")),
        ("fixed point", "123,234", {},
         lambda r, rep: check_equal((r.left, r.top), (123, 234), "top left at x,y")),
        ("mouse", "mouse", {"cursor": "333,444"},
         lambda r, rep: check_equal((r.left, r.top), (333, 444), "top left at the mouse")),
        ("second mouse mode", "mous2", {"cursor": "333,444"},
         lambda r, rep: check_equal((r.left, abs(r.centre()[1] - 444) <= 1), (333, True),
                                    f"left at the mouse, centred on its height: {r}")),
        ("centre", "center", {},
         lambda r, rep: check(abs(r.centre()[0] - rep["screen_width"] // 2) <= 1 and
                              abs(r.centre()[1] - rep["maximized_height"] // 2) <= 1,
                              f"centred on the screen: {r}")),
    ]
    for name, value, options, judge in modes:
        system = ("[system]", f"@menu={value}", "%end") if value else ()
        c.settings(*system, "[.html]", "<viewer> | &Viewer", "<editor> | &Editor", "%end")
        report, rect = c.choose(URL, "escape" if "foreground" in options else "Escape", **options)
        judge(rect, report)
    # The command line's position wins over the settings.
    run = c.start("/#m=100,120 " + URL)
    rect = run.menu()
    run.point_at(rect)
    run.keys("Escape")
    run.finish()
    check_equal((rect.left, rect.top), (100, 120), "position from /#m=")
    c.d.expect({})


def tools_menu(args):
    # "&List" opens the list window: that route is a case of the list
    # window's tests (list.from_menus).
    c = MenuCase(args, "tools_menu")
    c.settings("[system]", "@ext2=other.ini", "@editor=<editor>", "%end",
               "[.html]", "<viewer>", "%end")
    c.settings("[.html]", "<other>", "%end", name="other.ini")
    c.d.case.write("Tavrin.txt", b"help\r\n")
    clip = c.d.case.write_work("clip.txt", b"http://host/clip.html")
    c.choose("", "1")             # the settings file in the editor
    c.choose("", "2")             # the second settings file
    c.choose("", "h")             # the help text
    c.choose("", "c", clipboard=clip)  # the clipboard's URL, dispatched
    report, rect = c.choose("", "v")   # the version box
    check_equal(report.messages(), [(cp932("バージョン情報"), cp932(
        "「ネルカモ URL関連付け専用」　\r\n\r\n     　　 Ver.U_1.25\r\n\r\n  　　 2008年09月05日"))],
        "version box")
    folder = windows_path(c.d.case.folder)
    c.d.expect({"editor": [folder + "\\Tavrin.ini", folder + "\\other.ini",
                           folder + "\\Tavrin.txt"],
                "viewer": ["http://host/clip.html"]})


def readme_sample(args):
    """The README's sample settings, its programs as recorders."""
    c = MenuCase(args, "readme_sample")
    readme = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "README.md")
    with open(readme, encoding="utf-8") as f:
        text = f.read()
    sample = text.split("```ini\n", 1)[1].split("```", 1)[0]
    tools = windows_path(c.d.case.path("Tools"))
    os.makedirs(c.d.case.path("Tools"))
    recorder = c.d.case.path("prog dir", "viewer.exe")  # a copy of the recorder
    for name in ("viewer.exe", "editor.exe"):
        with open(recorder, "rb") as src, open(c.d.case.path("Tools", name), "wb") as dst:
            dst.write(src.read())
    lines = [line.replace("C:\\Tools", tools) for line in sample.splitlines()]
    c.settings(*lines)
    viewer, editor = c.d.case.path("Tools", "viewer.exe"), c.d.case.path("Tools", "editor.exe")

    def starts(path):
        if not os.path.exists(path + ".log"):
            return []
        with open(path + ".log", "rb") as f:
            data = f.read().split(b"\n")
        prefix = cp932(f'"{windows_path(path)}" ')
        return [data[i][4:][len(prefix):].decode("cp932") for i in range(0, len(data) - 3, 3)]

    two = URL + " http://host/b/x.html"
    # At the active window, which is ours. The menu opens with its first
    # item highlighted (the pointer stays away from it here).
    report, rect = c.choose(URL, "return", foreground="300,200,700,500")
    check_equal(rect.centre(), (500, 350), "menu centred on the active window")
    c.choose(two, "Down", "Down", "Right", "Return")          # Open each selected URL
    c.choose(two, "Down", "Down", "Right", "Down", "Return")  # All selected URLs in one start
    c.choose(two, "Down", "Down", "Right", "Up", "Return")    # Hand to the browser: the program
    c.choose(URL, "0")                                        # the target by the system
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline and (len(starts(editor)) < 4 or not c.d.browsed()):
        time.sleep(0.05)
    time.sleep(0.5)
    check_equal(starts(viewer), [f'--folder "/a/" {URL}'], "viewer")
    check_equal(starts(editor), [f"-open {URL}", "-open http://host/b/x.html",
                                 f"{URL} http://host/b/x.html", URL], "editor")
    check_equal(c.d.browsed(), [URL], "opened by the system")


def bad_input(args):
    c = MenuCase(args, "bad_input")
    rows = [f"<viewer> | P{i}" for i in range(300)]
    cases = [
        ("300 rows", ("[.html]", *rows, "%end")),
        ("unbalanced braces", ("[.html]", "<viewer> | &Viewer", "}", "{&Open", "<editor> | &Editor",
                               "{", "}", "}", "}", "{&Again", "<other> | &Other", "%end")),
        ("mark at the end", ("[.html]", "<viewer> | &Viewer", "<editor> | &Editor", "+", "%end")),
        ("600-character program path", ("[.html]", "C:\\" + "a" * 600 + "\\viewer.exe | Long",
                                        "<viewer> | &Viewer", "<editor> | &Editor", "%end")),
        ("1,000-character title", ("[system]", "@name=%L%L%L%L", "%end", "[.html]",
                                   "<viewer> | &Viewer", "<editor> | &Editor", "%end")),
    ]
    long_url = "http://host/" + "d" * 230 + "/page.html"  # 252 characters
    for name, lines in cases:
        c.settings(*lines)
        target = long_url if "title" in name else URL
        run = c.start(target)
        rect = run.menu()
        if "title" in name:
            # Cut to 259 characters: the whole title would be about 6,000 px.
            check(rect.width < 1800, f"{name}: menu {rect} holds a cut title")
        else:
            check(rect.width < 1280, f"{name}: menu {rect} fits the screen's width")
        run.point_at(rect)
        run.keys("0")  # the title item is there and works
        run.finish()
    c.d.expect({}, browser=[URL] * 4 + [long_url])


CASES = [choose_each_kind, shift_and_right_click, escape, groups_and_submenus,
         separators_and_columns, title_item, title_item_failed_download,
         ctrl_switches_settings_files, key_release_warning,
         positions, tools_menu, readme_sample, bad_input]

if __name__ == "__main__":
    main({f.__name__: f for f in CASES})
