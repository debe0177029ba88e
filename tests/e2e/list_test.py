#!/usr/bin/env python3
"""The list window end to end: Tavrin.exe under Wine opens its list from a
page, a list file, a shortcut folder, a hand-off, a drop or the clipboard;
the driver reads the real list view across processes and drives the window
as a person would (menu commands, keys, clicks, dialogs)."""
import os
import shutil
import sys
import time

from list_session import Rows, Session, win
from tavrin_e2e import Case, check, check_equal, cp932, main, windows_path

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "pages"))
import expected_rows  # noqa: E402

CAPTION_PREFIX = "[ Tavrin ] : "


def crlf(*lines):
    return "".join(line + "\r\n" for line in lines).encode("cp932")


class ListCase:
    """A case folder: Tavrin.exe, its settings, pages and stand-in programs."""

    def __init__(self, args, name, settings=("[system]",)):
        self.case = Case(args, name)
        self.settings(*settings)

    def settings(self, *lines):
        self.case.write("Tavrin.ini", crlf(*lines))

    def write(self, relative, data):
        if isinstance(data, str):
            data = data.encode("cp932")
        return self.case.write(relative, data)

    def path(self, *parts):
        return self.case.path(*parts)

    def win(self, *parts):
        return win(self.path(*parts))

    def session(self):
        return Session(self.case)

    def recorder(self, name):
        """A copy of the recorder as a program of this case; its Windows path."""
        recorder = os.environ.get("TAVRIN_RECORDER") or os.path.join(
            os.path.dirname(self.case.exe), "recorder.exe")
        shutil.copyfile(recorder, self.path(name))
        return windows_path(self.path(name))

    def expect_records(self, name, expected, what):
        """Waits until the program has recorded as many starts as expected
        (a program started just before the session closed may not have
        written yet on a busy machine), then compares them."""
        deadline = time.monotonic() + 10
        while len(self.records(name)) < len(expected) and time.monotonic() < deadline:
            time.sleep(0.05)
        check_equal(self.records(name), expected, what)

    def records(self, name):
        """The parameters of each start of the program, in the order the
        starts were made."""
        log = self.path(name) + ".log"
        if not os.path.exists(log):
            return []
        lines = open(log, "rb").read().decode("cp932").split("\n")
        starts = sorted((int(lines[i + 2][2:]), i, lines[i][4:]) for i in range(0, len(lines) - 3, 3))
        program = '"' + windows_path(log[:-4]) + '"'
        out = []
        for _, _, command in starts:
            check(command.startswith(program), f"command line {command!r}")
            out.append(command[len(program):].lstrip(" "))
        return out


def caption(title, label="関連付け"):
    return cp932(CAPTION_PREFIX + label + " / " + title)


# ---- Routes into the list ------------------------------------------------------

def list_file(args):
    c = ListCase(args, "list_file")
    c.write("list.txt", crlf("http://a.example/1.html||First", "no url on this line",
                             '"http://b.example/a b.html||Second title"', "ftp://c.example/f.zip"))
    report = c.session().start(c.win("list.txt")).wait_list().rows("r").close().run()
    rows = Rows(report, "r")
    check_equal(rows.pairs(), [("First", "http://a.example/1.html"),
                               ("Second title", "http://b.example/a b.html"),
                               ("", "ftp://c.example/f.zip")], "rows")
    check_equal(rows.checks(), "...", "check boxes")
    check_equal(rows.caption, caption("list.txt"), "caption")
    check_equal(rows.topmost, 1, "topmost")
    check_equal(report["exit_code"], 0, "exit code")



def choice_caption(title, label):
    return cp932("[ Tavrin ] ： " + label + " / " + title)


# A list file of five rows (two of them the same URL but for case).
FIVE = ("http://a.example/one.html||One", "http://a.example/two.htm||Two",
        "http://A.EXAMPLE/ONE.HTML||One again", "http://b.example/pic.gif||Pic",
        "http://b.example/dir/||Dir")
FIVE_URLS = ["http://a.example/one.html", "http://a.example/two.htm", "http://A.EXAMPLE/ONE.HTML",
             "http://b.example/pic.gif", "http://b.example/dir/"]


def five_rows(c):
    c.write("five.txt", crlf(*FIVE))
    return c.session().start(c.win("five.txt")).wait_list().wait_rows(5)


def page(*body, title="Sample"):
    return ("<html><head><title>" + title + "</title></head><body>\r\n" + "\r\n".join(body) +
            "\r\n</body></html>\r\n")


# ---- Check boxes, duplicates, filters, kinds ------------------------------------

def check_commands(args):
    c = ListCase(args, "check_commands")
    s = five_rows(c)
    s.check(1).check(3).rows("clicked")
    s.command(952).rows("inverted")
    s.command(950).rows("all")
    s.command(951).rows("none")
    # The space bar toggles the check box of the selected row.
    s.click(2).keys("space").rows("space")
    report = s.run()
    check_equal(Rows(report, "clicked").checks(), ".x.x.", "after clicking two check boxes")
    check_equal(Rows(report, "inverted").checks(), "x.x.x", "952 inverts")
    check_equal(Rows(report, "all").checks(), "xxxxx", "950 checks all")
    check_equal(Rows(report, "none").checks(), ".....", "951 unchecks all")
    space = Rows(report, "space")
    check_equal(space.checks(), "..x..", "space on the clicked row")
    check_equal([r["selected"] for r in space.rows], [0, 0, 1, 0, 0], "selection")


def duplicates(args):
    # Duplicates are URLs that are the same but for the case of their scheme
    # and host: paths and queries that differ in case are other pages.
    c = ListCase(args, "duplicates")
    urls = ["http://a.example/one.html", "https://v.example/watch?v=abcDEF", "HTTP://A.Example/one.html",
            "https://v.example/watch?v=ABCdef", "http://a.example/ONE.html", "https://V.EXAMPLE/watch?v=abcDEF"]
    c.write("dups.txt", crlf(*urls))
    s = c.session().start(c.win("dups.txt")).wait_list().wait_rows(6)
    s.check(3).command(965).rows("removed")
    # A rebuild (a filter choice) shows the whole list again.
    s.command(940).rows("rebuilt")
    report = s.run()
    removed = Rows(report, "removed")
    check_equal(removed.urls(), [urls[i] for i in (0, 1, 3, 4)], "after 965")
    check_equal(removed.checks(), "..x.", "check marks stay with their rows")
    check_equal(Rows(report, "rebuilt").urls(), urls, "after a rebuild")


def filters(args):
    c = ListCase(args, "filters", settings=("[system]", "@filter", ">.htm;.GIF", ">blank",
                                            "; a comment between groups", ">.html"))
    s = five_rows(c)
    s.command(941).rows("htm_gif").command(942).rows("blank").command(943).rows("html")
    s.command(945).rows("no_group").command(940).rows("all")
    report = s.run()
    check_equal(Rows(report, "htm_gif").urls(), [FIVE_URLS[1], FIVE_URLS[3]], "group 1")
    check_equal(Rows(report, "blank").urls(), [FIVE_URLS[4]], "group 2")
    check_equal(Rows(report, "html").urls(), [FIVE_URLS[0], FIVE_URLS[2]], "group 3")
    check_equal(Rows(report, "no_group").urls(), [FIVE_URLS[0], FIVE_URLS[2]],
                "a group the menu does not offer")
    check_equal(Rows(report, "all").urls(), FIVE_URLS, "group 0")


KINDS_PAGE = page('<a href="http://h.example/a.html">Anchor A</a>',
                  '<A HREF="http://h.example/b.html"><img src="http://h.example/in.png" alt="inner"></A>',
                  '<img src="http://h.example/i.gif" alt="Picture one">',
                  '<img src="http://h.example/noalt.jpg">')
KINDS_ANCHORS = [("Anchor A", "http://h.example/a.html"), ("", "http://h.example/b.html")]
KINDS_IMAGES = [("* inner", "http://h.example/in.png"), ("* Picture one", "http://h.example/i.gif"),
                ("* ", "http://h.example/noalt.jpg")]


def kinds(args):
    c = ListCase(args, "kinds")
    c.write("kinds.html", KINDS_PAGE)
    s = c.session().start(c.win("kinds.html")).wait_list().wait_rows(5).rows("both")
    s.command(968).rows("images").command(968).rows("both_again")
    s.command(969).rows("anchors").command(968).rows("still_anchors").command(969).rows("both_3")
    # Shift with a click of the menu shows the kind alone: Alt, S opens the
    # select menu, Shift+I chooses "<img src= (&I)".
    s.keys("alt+s").menu("shift+i").rows("shift_images")
    s.keys("alt+s").menu("shift+h").rows("shift_anchors")
    report = s.run()
    both = Rows(report, "both")
    check_equal(both.pairs(), KINDS_ANCHORS + KINDS_IMAGES, "both kinds, anchors first")
    check_equal(both.caption, caption("Sample"), "caption")
    check_equal(Rows(report, "images").pairs(), KINDS_IMAGES, "968 from both")
    check_equal(Rows(report, "both_again").pairs(), KINDS_ANCHORS + KINDS_IMAGES, "968 again")
    check_equal(Rows(report, "anchors").pairs(), KINDS_ANCHORS, "969 from both")
    check_equal(Rows(report, "still_anchors").pairs(), KINDS_ANCHORS, "968 cannot hide the last kind")
    check_equal(Rows(report, "both_3").pairs(), KINDS_ANCHORS + KINDS_IMAGES, "969 from anchors")
    check_equal(Rows(report, "shift_images").pairs(), KINDS_IMAGES, "Shift + 969")
    check_equal(Rows(report, "shift_anchors").pairs(), KINDS_ANCHORS, "Shift + 968")


# ---- Opening rows ----------------------------------------------------------------

def with_programs(args, name):
    c = ListCase(args, name)
    viewer = c.recorder("viewer.exe")
    every = c.recorder("every.exe")
    # Starts of one run are spaced so that their order shows.
    c.settings("[system]", "@dist=60", "[list]", viewer + " | &Viewer", every + " | &All at once",
               ">-all %M")
    return c


def open_rows(args):
    c = with_programs(args, "open_rows")
    s = five_rows(c)
    s.check(0).check(3).command(999).sleep(300).rows("after_run")
    # Choosing the second program runs the checked rows with it at once.
    s.command(911).sleep(300).rows("after_choice")
    report = s.run()
    c.expect_records("viewer.exe", [FIVE_URLS[0], FIVE_URLS[3]], "viewer starts")
    c.expect_records("every.exe", ["-all " + FIVE_URLS[0] + " " + FIVE_URLS[3]],
                "one start with every URL")
    check_equal(Rows(report, "after_run").checks(), "x..x.", "checks kept")
    check_equal(Rows(report, "after_run").caption, caption("five.txt", "Viewer"), "caption")
    check_equal(Rows(report, "after_choice").caption, choice_caption("five.txt", "All at once"),
                "caption after choosing a program")


def after_run_options(args):
    c = with_programs(args, "after_run_options")
    s = five_rows(c)
    s.check(0).check(1).command(960).command(999).sleep(300).rows("unchecked")
    s.command(960).command(961).check(1).check(2).command(999).sleep(300).rows("next")
    s.check(4).command(999).sleep(300).rows("last")
    report = s.run()
    check_equal(Rows(report, "unchecked").checks(), ".....", "960")
    check_equal(Rows(report, "next").checks(), "...x.", "961 checks the row after the last one run")
    check_equal(Rows(report, "last").checks(), ".....", "961 after the last row")
    c.expect_records("viewer.exe",
                [FIVE_URLS[0], FIVE_URLS[1], FIVE_URLS[1], FIVE_URLS[2], FIVE_URLS[3], FIVE_URLS[4]],
                "viewer starts")


def open_selected_row(args):
    c = with_programs(args, "open_selected_row")
    s = five_rows(c)
    s.check(0).dblclick(1).sleep(300)
    s.click(3).keys("return").sleep(300)
    # The row menu by a right click: the clicked row alone, with the
    # program chosen there; the selected program stays.
    step = s.step_number() + 1
    s.rclick(4).menu("a").sleep(300).rows("after")
    # Shift+Enter shows the row menu at the window's centre.
    centre = s.step_number() + 2
    s.click(2).keys("shift+return").menu("v").sleep(300)
    report = s.run()
    c.expect_records("viewer.exe", [FIVE_URLS[1], FIVE_URLS[3], FIVE_URLS[2]], "viewer starts")
    c.expect_records("every.exe", ["-all " + FIVE_URLS[4]], "row menu start")
    after = Rows(report, "after")
    check_equal(after.caption, caption("five.txt", "Viewer"), "program unchanged")
    check_equal(after.checks(), "x....", "checks unchanged")
    at = lambda n, k: report[f"step.{n}.{k}"]
    check(at(step, "left") <= at(step, "cursor_x") <= at(step, "right"), "row menu at the mouse")
    cx = (at(centre, "left") + at(centre, "right")) // 2
    cy = (at(centre, "top") + at(centre, "bottom")) // 2
    check(abs(cx - at(centre, "window_cx")) <= 2 and abs(cy - at(centre, "window_cy")) <= 2,
          f"menu centred on the window: {cx},{cy}")


def association_rows(args):
    c = ListCase(args, "association_rows")
    each = c.recorder("each.exe")
    c.settings("[system]", "@dist=60", "[.html]", each + " | Each", "]-each %L", "%end")
    s = five_rows(c)
    s.check(0).check(2).check(3).command(999).sleep(300).rows("after")
    report = s.run()
    # The first row's block opens each checked URL.
    c.expect_records("each.exe", ["-each " + FIVE_URLS[i] for i in (0, 2, 3)], "starts")
    check_equal(Rows(report, "after").urls(), FIVE_URLS, "rows after the run")


def topmost_and_exit(args):
    c = ListCase(args, "topmost_and_exit")
    s = five_rows(c)
    s.command(908).rows("off").command(908).rows("on").post(909).wait_exit()
    report = s.run()
    check_equal(Rows(report, "off").topmost, 0, "after 908")
    check_equal(Rows(report, "on").topmost, 1, "after 908 twice")
    check_equal(report["exit_code"], 0, "exit code")
    check("running_at_end" not in report, "ended by 909")


# ---- List files ---------------------------------------------------------------------

def write_and_read(args):
    c = ListCase(args, "write_and_read")
    c.write("kinds.html", KINDS_PAGE)
    s = c.session().start(c.win("kinds.html")).wait_list().wait_rows(5)
    s.check(0).check(1).check(3).check(4)
    s.post(905).save(c.win("plain.txt")).sleep(200)
    s.post(906).save(c.win("titled.txt")).sleep(200)
    # Writing over a file asks first.
    s.check(0).post(905).save(c.win("plain.txt"))
    prompt = s.step_number()
    s.message("yes").sleep(200)
    opened = s.step_number() + 1
    s.post(900).open(c.win("titled.txt")).wait_rows(4).rows("read_back")
    report = s.run()
    check_equal(report[f"step.{opened}.caption"], cp932("URLリストファイル選択"), "open dialog")
    check_equal(open(c.path("titled.txt"), "rb").read(),
                b'"http://h.example/a.html||Anchor A"\r\nhttp://h.example/b.html\r\n'
                b'"http://h.example/i.gif||* Picture one"\r\n"http://h.example/noalt.jpg||* "\r\n',
                "file with titles")
    check_equal(open(c.path("plain.txt"), "rb").read(),
                b'http://h.example/b.html\r\nhttp://h.example/i.gif\r\nhttp://h.example/noalt.jpg\r\n',
                "file written over")
    check(report[f"step.{prompt}.text"], "overwrite prompt shown")
    back = Rows(report, "read_back")
    check_equal(back.pairs(), [("Anchor A", "http://h.example/a.html"), ("", "http://h.example/b.html"),
                               ("* Picture one", "http://h.example/i.gif"),
                               # Recognition trims a token's trailing blanks.
                               ("*", "http://h.example/noalt.jpg")], "read back")
    check_equal(back.caption, caption("titled.txt"), "caption")


def blank_in_url(args):
    # A URL with a blank is written in quotes and reads back whole.
    c = ListCase(args, "blank_in_url")
    c.write("in.txt", crlf('"http://h.example/a b.html||Title with blanks"', "http://h.example/c.html"))
    s = c.session().start(c.win("in.txt")).wait_list().wait_rows(2).command(950)
    s.post(905).save(c.win("plain.txt")).sleep(200).post(906).save(c.win("titled.txt")).sleep(200)
    s.post(900).open(c.win("plain.txt")).wait_rows(2).rows("plain")
    s.post(900).open(c.win("titled.txt")).sleep(200).rows("titled")
    report = s.run()
    check_equal(open(c.path("plain.txt"), "rb").read(),
                b'"http://h.example/a b.html"\r\nhttp://h.example/c.html\r\n', "plain file")
    check_equal(open(c.path("titled.txt"), "rb").read(),
                b'"http://h.example/a b.html||Title with blanks"\r\nhttp://h.example/c.html\r\n',
                "file with titles")
    check_equal(Rows(report, "plain").pairs(), [("", "http://h.example/a b.html"),
                                                ("", "http://h.example/c.html")], "plain read back")
    check_equal(Rows(report, "titled").pairs(), [("Title with blanks", "http://h.example/a b.html"),
                                                 ("", "http://h.example/c.html")], "titles read back")


def write_failure(args):
    # A file another program holds cannot be written: the user is told and
    # the list stays.
    c = ListCase(args, "write_failure")
    s = five_rows(c).hold(c.win("held.txt")).command(950)
    s.post(905).save(c.win("held.txt")).message("yes")
    box = s.step_number()
    s.message("ok").no_dialog(300).rows("after")
    report = s.run()
    check_equal(report[f"step.{box}.caption"], cp932("エラー"), "message caption")
    check(cp932("held.txt") in report[f"step.{box}.text"], "message names the file")
    check_equal(report[f"step.{box + 1}.dialogs"], 0, "nothing more shown")
    check_equal(Rows(report, "after").urls(), FIVE_URLS, "rows kept")
    check_equal(Rows(report, "after").checks(), "xxxxx", "checks kept")


def write_nothing(args):
    c = ListCase(args, "write_nothing")
    c.write("empty.txt", b"")
    s = c.session().start(c.win("empty.txt")).wait_list().rows("empty")
    s.command(905).no_dialog(400)
    report = s.run()
    check_equal(Rows(report, "empty").rows, [], "rows")
    check_equal(Rows(report, "empty").caption, caption("empty.txt"), "caption")
    check_equal(report[f"step.{5}.dialogs"], 0, "no dialog for an empty list")



# ---- Routes: pages, folders, hand-offs, drops, the clipboard ------------------------

RELATIVE_PAGE = page('<a href="d.html">Same folder</a>', '<a href="../up.html">Up</a>',
                     '<a href="/root.html">Root</a>', '<a href="http://other.example/x.html">Other</a>',
                     '<img src="img/p.png" alt="Pic">', title="Relative links")
RELATIVE_RESOLVED = [("Same folder", "http://host.example/dir/d.html"),
                     ("Up", "http://host.example/up.html"),
                     ("Root", "http://host.example/root.html"),
                     ("Other", "http://other.example/x.html"),
                     ("* Pic", "http://host.example/dir/img/p.png")]


def page_with_base(args):
    c = ListCase(args, "page_with_base")
    c.write("page.html", RELATIVE_PAGE)
    s = c.session().start(b"/#b=http://host.example/dir/page.html " + c.win("page.html"))
    report = s.wait_list().wait_rows(5).rows("r").run()
    rows = Rows(report, "r")
    check_equal(rows.pairs(), RELATIVE_RESOLVED, "rows")
    check_equal(rows.caption, caption("Relative links"), "caption")


def page_without_base(args):
    # "/#b" alone, or no switch: relative links cannot be resolved.
    for name, switch in (("page_without_base", b"/#b "), ("page_plain", b"")):
        c = ListCase(args, name)
        c.write("page.html", RELATIVE_PAGE)
        report = c.session().start(switch + c.win("page.html")).wait_list().sleep(200).rows("r").run()
        check_equal(Rows(report, "r").pairs(), [("Other", "http://other.example/x.html")],
                    f"rows ({switch!r})")


def shortcut(url):
    return ("[InternetShortcut]\r\nURL=" + url + "\r\n").encode("cp932")


def shortcut_tree(c, top=3, sub=2):
    for i in range(top):
        c.write(f"links/top{i}.url", shortcut(f"http://top.example/{i}.html"))
    for i in range(sub):
        c.write(f"links/sub/sub{i}.url", shortcut(f"http://sub.example/{i}/"))
    c.write("links/notes.txt", b"http://not.a.shortcut/\r\n")
    c.write("links/other.url.bak", shortcut("http://bak.example/"))


def sorted_pairs(rows):
    return sorted(rows.pairs())


def folder_start(args):
    c = ListCase(args, "folder_start")
    shortcut_tree(c)
    plain = c.session().start(c.win("links")).wait_list().wait_rows(3).rows("r").run()
    rows = Rows(plain, "r")
    check_equal(sorted_pairs(rows), [(f"top{i}", f"http://top.example/{i}.html") for i in range(3)],
                "rows")
    check_equal(rows.caption, caption("links"), "caption")
    # Ctrl (here "/#k=ctl") takes the subfolders too, before the folder's own.
    deep = c.session().start(b"/#k=ctl " + c.win("links")).wait_list().wait_rows(5).rows("r").run()
    rows = Rows(deep, "r")
    check_equal(sorted(rows.pairs()[:2]), [(f"sub{i}", f"http://sub.example/{i}/") for i in range(2)],
                "subfolder first")
    check_equal(len(rows.rows), 5, "rows with subfolders")


def folder_cap(args):
    c = ListCase(args, "folder_cap")
    # A tree of 2,000 shortcuts: the scan stops at 500.
    for folder in range(20):
        for i in range(100):
            c.write(f"many/f{folder}/s{i}.url", shortcut(f"http://m.example/{folder}/{i}.html"))
    report = c.session().start(b"/#k=ctl " + c.win("many")).wait_list().wait_rows(500).rows("r").run()
    check_equal(len(Rows(report, "r").rows), 500, "rows")


def folder_without_shortcuts(args):
    c = ListCase(args, "folder_without_shortcuts")
    c.write("nothing/readme.txt", b"x")
    report = c.session().start(c.win("nothing")).wait_list().rows("r").close().run()
    check_equal(Rows(report, "r").rows, [], "rows")
    check_equal(report["exit_code"], 0, "exit code")


def handoff(args):
    c = ListCase(args, "handoff")
    c.write("five.txt", crlf(*FIVE))
    shortcut_tree(c)
    c.write("page.html", RELATIVE_PAGE)
    s = c.session().start(c.win("five.txt")).wait_list().wait_rows(5)
    s.second(b'http://n.example/1.html "http://n.example/2.html||Two"').wait_rows(2).rows("urls")
    s.second(c.win("links")).wait_rows(3).rows("folder")
    s.second(b"/#k=ctl " + c.win("links")).wait_rows(5).rows("deep")
    s.second(b"/#b=http://host.example/dir/ " + c.win("page.html")).wait_rows(5).rows("page")
    s.second(c.win("five.txt")).wait_rows(5).rows("list")
    # A folder without shortcuts leaves the list as it was.
    c.write("empty/readme.txt", b"x")
    s.second(c.win("empty")).sleep(200).rows("kept")
    s.second(b"no url at all").wait_rows(0).rows("none")
    report = s.run()
    urls = Rows(report, "urls")
    check_equal(urls.pairs(), [("", "http://n.example/1.html"), ("Two", "http://n.example/2.html")], "URLs")
    check_equal(urls.caption, caption("URL転送データ"), "caption of handed URLs")
    check_equal(len(Rows(report, "folder").rows), 3, "folder")
    check_equal(Rows(report, "folder").caption, caption("links"), "folder caption")
    check_equal(len(Rows(report, "deep").rows), 5, "folder with Ctrl")
    check_equal(Rows(report, "page").pairs(), RELATIVE_RESOLVED, "page with a base")
    check_equal(Rows(report, "list").urls(), FIVE_URLS, "list file")
    check_equal(Rows(report, "kept").urls(), FIVE_URLS, "after a folder without shortcuts")
    check_equal(Rows(report, "none").rows, [], "text without URLs")


def drops(args):
    c = ListCase(args, "drops")
    c.write("five.txt", crlf(*FIVE))
    c.write("page.html", RELATIVE_PAGE)
    shortcut_tree(c)
    c.write("empty/readme.txt", b"x")
    s = c.session().start(c.win("five.txt")).wait_list().wait_rows(5)
    text_step = s.step_number()
    s.drop_text(b"see http://d.example/1.html and\r\nhttp://d.example/2.gif").wait_rows(2).rows("text")
    file_step = s.step_number()
    s.drop_file(c.win("five.txt")).wait_rows(5).rows("file")
    s.drop_file(c.win("links")).wait_rows(3).rows("folder")
    s.drop_file(c.win("page.html")).wait_rows(1).rows("page")
    s.drop_text(c.win("five.txt")).wait_rows(5).rows("path_as_text")
    s.drop_file(c.win("empty")).sleep(200).rows("kept")
    s.drop_text(b"nothing to see").wait_rows(0).rows("nothing")
    report = s.run()
    check_equal(report[f"step.{text_step}.effect"], 5, "text is copied or linked")
    check_equal(report[f"step.{file_step}.effect"], 1, "files are copied")
    text = Rows(report, "text")
    check_equal(text.urls(), ["http://d.example/1.html", "http://d.example/2.gif"], "dropped text")
    check_equal(text.caption, caption("URL転送データ"), "caption")
    check_equal(Rows(report, "file").urls(), FIVE_URLS, "dropped list file")
    check_equal(len(Rows(report, "folder").rows), 3, "dropped folder")
    check_equal(Rows(report, "page").urls(), ["http://other.example/x.html"], "dropped page")
    check_equal(Rows(report, "path_as_text").urls(), FIVE_URLS, "a path dropped as text")
    check_equal(Rows(report, "kept").urls(), FIVE_URLS, "a folder without shortcuts keeps the list")
    check_equal(Rows(report, "nothing").caption, caption("URL転送データ"), "text without URLs")


def clipboard_watch(args):
    c = ListCase(args, "clipboard_watch")
    c.write("five.txt", crlf(*FIVE))
    s = c.session().start(c.win("five.txt")).wait_list().wait_rows(5)
    s.clipboard(b"http://already.example/1 http://already.example/2")
    # Watching starts: the text already there is left alone, both on the
    # clipboard and in the list.
    s.command(904).sleep(300).rows("on").read_clipboard("kept")
    s.clipboard(b"http://c.example/1.html\r\nhttp://c.example/2.html").wait_rows(2).rows("changed")
    s.clipboard(b"no URL in this text").sleep(300).rows("no_url")
    s.clipboard(c.win("five.txt")).wait_rows(5).rows("path")
    s.command(904).clipboard(b"http://after.example/1 http://after.example/2").sleep(300).rows("off")
    s.command(904).close()
    report = s.run()
    check_equal(Rows(report, "on").urls(), FIVE_URLS, "turning watching on")
    check_equal(report["kept.text"], b"http://already.example/1 http://already.example/2",
                "the clipboard is not emptied")
    changed = Rows(report, "changed")
    check_equal(changed.urls(), ["http://c.example/1.html", "http://c.example/2.html"], "a change")
    check_equal(changed.caption, caption("URL転送データ"), "caption")
    check_equal(Rows(report, "no_url").urls(), changed.urls(), "text without URLs")
    check_equal(Rows(report, "path").urls(), FIVE_URLS, "a list file's path")
    check_equal(Rows(report, "off").urls(), FIVE_URLS, "after turning watching off")
    check_equal(report["exit_code"], 0, "closed while watching")


def clipboard_chain(args):
    # The list passes clipboard notices on along the viewer chain, and
    # closing it while it watches leaves the chain whole.
    c = ListCase(args, "clipboard_chain")
    c.write("five.txt", crlf(*FIVE))
    s = c.session().viewer().start(c.win("five.txt")).wait_list().wait_rows(5).command(904)
    s.sleep(200).viewer_count("joined")
    s.clipboard(b"http://c.example/1 http://c.example/2").wait_rows(2).sleep(300).viewer_count("passed")
    s.close().clipboard(b"http://c.example/3").sleep(300).viewer_count("after")
    report = s.run()
    passed = report["passed.notices"]
    check(passed > report["joined.notices"], f"a change reaches the next viewer: {passed}")
    check(report["after.notices"] > passed, "the chain is whole after closing")


def paste(args):
    c = ListCase(args, "paste")
    c.write("five.txt", crlf(*FIVE))
    c.write("page.html", RELATIVE_PAGE)
    shortcut_tree(c)
    s = c.session().start(c.win("five.txt")).wait_list().wait_rows(5)
    s.clipboard(b"http://p.example/1.html http://p.example/2.html").command(998).rows("two")
    s.clipboard(b"ftp://p.example/file.zip").command(998).rows("ftp")
    s.clipboard(c.win("links")).command(998).rows("folder")
    s.clipboard(c.win("page.html")).command(998).rows("page")
    s.clipboard(c.win("five.txt")).command(998).rows("list")
    s.clipboard(b"nothing").command(998).rows("nothing")
    report = s.run()
    check_equal(Rows(report, "two").urls(), ["http://p.example/1.html", "http://p.example/2.html"], "two")
    check_equal(Rows(report, "two").caption, caption("URL転送データ"), "caption")
    check_equal(Rows(report, "ftp").urls(), ["ftp://p.example/file.zip"], "one ftp URL")
    check_equal(len(Rows(report, "folder").rows), 3, "folder")
    # A pasted folder names the list, as a dropped one does.
    check_equal(Rows(report, "folder").caption, caption("links"), "caption of a pasted folder")
    check_equal(Rows(report, "page").urls(), ["http://other.example/x.html"], "page")
    check_equal(Rows(report, "list").urls(), FIVE_URLS, "list file")
    check_equal(Rows(report, "nothing").urls(), FIVE_URLS, "nothing usable")


def choosers(args):
    c = ListCase(args, "choosers")
    c.write("five.txt", crlf(*FIVE))
    c.write("page.html", RELATIVE_PAGE)
    shortcut_tree(c)
    s = c.session().start(c.win("five.txt")).wait_list().wait_rows(5)
    cancelled = s.step_number() + 1
    s.post(901).cancel().rows("cancelled")
    extract = s.step_number() + 1
    s.post(901).open(c.win("page.html")).wait_rows(1).rows("page")
    folder = s.step_number() + 1
    s.post(903).folder(c.win("links")).wait_rows(3).rows("folder")
    s.post(903).cancel().rows("folder_cancelled")
    report = s.run()
    check_equal(report[f"step.{cancelled}.caption"], cp932("URL抜き出しファイル選択"), "901 dialog")
    check_equal(Rows(report, "cancelled").urls(), FIVE_URLS, "after a cancelled choice")
    check_equal(report[f"step.{extract}.caption"], cp932("URL抜き出しファイル選択"), "901 dialog")
    check_equal(Rows(report, "page").urls(), ["http://other.example/x.html"], "page")
    check_equal(Rows(report, "page").caption, caption("Relative links"), "page caption")
    check(cp932("ショートカットフォルダ選択") in report[f"step.{folder}.text"], "folder browser title")
    check_equal(len(Rows(report, "folder").rows), 3, "shortcut folder")
    check_equal(Rows(report, "folder").caption, caption("links"), "folder caption")
    check_equal(len(Rows(report, "folder_cancelled").rows), 3, "after a cancelled folder choice")


# ---- Bad input ---------------------------------------------------------------------

def locked_file(args):
    # A page another program holds cannot be read: the start ends quietly,
    # and in the list the old rows stay.
    c = ListCase(args, "locked_file")
    c.write("page.html", RELATIVE_PAGE)
    c.write("five.txt", crlf(*FIVE))
    s = c.session().hold(c.win("page.html")).start(c.win("page.html")).wait_exit()
    report = s.run()
    check_equal(report["exit_code"], 0, "exit code")
    s = c.session().hold(c.win("page.html")).start(c.win("five.txt")).wait_list().wait_rows(5)
    s.post(901).open(c.win("page.html")).no_dialog(300).rows("r")
    report = s.run()
    check_equal(Rows(report, "r").urls(), FIVE_URLS, "rows kept")


def empty_file(args):
    c = ListCase(args, "empty_file")
    c.write("empty.html", b"")
    report = c.session().start(c.win("empty.html")).wait_list().rows("r").run()
    check_equal(Rows(report, "r").rows, [], "rows")
    check_equal(Rows(report, "r").caption, caption("empty.html"), "caption")


def huge_page(args):
    c = ListCase(args, "huge_page")
    anchors = "".join(f'<a href="http://h.example/{i}.html">Link {i}</a> text\r\n' for i in range(10000))
    c.write("huge.html", page(anchors, title="Huge"))
    report = c.session().start(c.win("huge.html")).wait_list().wait_rows(500).rows("r").run()
    rows = Rows(report, "r")
    check_equal(len(rows.rows), 500, "rows")
    check_equal(rows.pairs()[499], ("Link 499", "http://h.example/499.html"), "last row")
    check(report.seconds < 15, f"took {report.seconds:.1f} s")


def big_file(args):
    # 200 MB: refused without a crash, quickly, at start and in the list.
    c = ListCase(args, "big_file")
    with open(c.path("big.html"), "wb") as f:
        block = b'<a href="http://h.example/x.html">x</a>' + b"y" * 1000 + b"\r\n"
        for _ in range(200 * 1024 * 1024 // len(block)):
            f.write(block)
    c.write("five.txt", crlf(*FIVE))
    report = c.session().start(c.win("big.html")).wait_exit().run()
    check_equal(report["exit_code"], 0, "exit code at start")
    s = c.session().start(c.win("five.txt")).wait_list().wait_rows(5)
    s.post(901).open(c.win("big.html")).sleep(500).rows("r")
    report = s.run()
    check_equal(Rows(report, "r").urls(), FIVE_URLS, "rows kept")
    os.remove(c.path("big.html"))



# ---- The test pages and their expected rows ------------------------------------------
#
# tests/pages holds pages, list files and shortcut folders with the rows the
# list must show (see tests/pages/README.md). Here the real window shows
# them: the first through a start, the others handed over by second copies.

PAGES = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "pages"))


def read_expected(path):
    """The expected file's header without the "@" of its keys, and its rows
    split into fields."""
    header, rows = expected_rows.read_expected(path)
    return ({key[1:]: value for key, value in header.items()},
            [tuple(row.split(b"\t")) for row in rows])


def _ibm_extension_codes():
    codes = {}
    for lead in (0xFA, 0xFB, 0xFC):
        for trail in range(0x40, 0xFD):
            try:
                codes.setdefault(bytes([lead, trail]).decode("cp932"), bytes([lead, trail]))
            except UnicodeDecodeError:
                pass
    return codes


IBM_EXTENSION = _ibm_extension_codes()


def is_lead(c):
    return 0x81 <= c <= 0x9F or 0xE0 <= c <= 0xFC


def through_control(data):
    """Bytes as a list view or caption hands them back: the control keeps
    Unicode, so each CP932 character goes through the system's conversion
    both ways; a byte sequence with no character becomes "・", and the
    duplicate NEC-selected IBM extensions come back as IBM extensions."""
    out, i = b"", 0
    while i < len(data):
        pair = (is_lead(data[i]) and i + 1 < len(data) and 0x40 <= data[i + 1] <= 0xFC
                and data[i + 1] != 0x7F)
        unit = data[i:i + 2] if pair else data[i:i + 1]
        i += len(unit)
        try:
            char = unit.decode("cp932")
        except UnicodeDecodeError:
            out += "・".encode("cp932")
            continue
        out += IBM_EXTENSION.get(char) or char.encode("cp932")
    return out


def page_expectations(conversions):
    out = []
    for name in sorted(os.listdir(PAGES)):
        if not name.endswith(".expected.tsv") or name.startswith("shortcuts"):
            continue
        header, rows = read_expected(os.path.join(PAGES, name))
        if header["conversion"].decode() in conversions:
            out.append((name, header, rows))
    return out


def page_arguments(header):
    path = win(os.path.join(PAGES, header["page"].decode()))
    mode = int(header["mode"])
    return b"/#b=" + header["base"] + b" " + path if mode == 1 else path


def pages_shown(args, name, conversions, converter, conversion_off=False):
    c = ListCase(args, name)
    if converter:
        shutil.copyfile(os.path.join(os.path.dirname(args.tavrin), "nkf32.dll"), c.path("nkf32.dll"))
    expectations = page_expectations(conversions)
    s = c.session().start(c.win("..")).wait_list()
    if conversion_off:
        s.command(907)
    for i, (_, header, _) in enumerate(expectations):
        s.second(page_arguments(header)).rows(f"p{i}")
    report = s.run(timeout_ms=120000)
    for i, (file, header, rows) in enumerate(expectations):
        shown = Rows(report, f"p{i}")
        check_equal(shown.byte_pairs(),
                    [(through_control(title), through_control(url)) for _, url, title in rows], file)
        check_equal(shown.caption, cp932(CAPTION_PREFIX + "関連付け / ") +
                    through_control(header["listTitle"]), file + " caption")


def pages_with_converter(args):
    pages_shown(args, "pages_with_converter", ("on", "any"), converter=True)


def pages_without_converter(args):
    pages_shown(args, "pages_without_converter", ("off",), converter=False)


def pages_conversion_off(args):
    # Menu 907 turns conversion off although the library is there.
    pages_shown(args, "pages_conversion_off", ("off",), converter=True, conversion_off=True)


def shortcut_folders(args):
    c = ListCase(args, "shortcut_folders")
    expectations = [read_expected(os.path.join(PAGES, name)) + (name,)
                    for name in sorted(os.listdir(PAGES)) if name.startswith("shortcuts-")]
    s = c.session().start(c.win("..")).wait_list()
    for i, (header, _, _) in enumerate(expectations):
        switch = b"/#k=ctl " if header["subfolders"] == b"1" else b""
        s.second(switch + win(os.path.join(PAGES, header["folder"].decode()))).rows(f"f{i}")
    report = s.run()
    for i, (header, rows, name) in enumerate(expectations):
        shown = Rows(report, f"f{i}").byte_pairs()
        check_equal(len(shown), len(rows), name + " rows")
        # One folder's shortcuts come in listing order: compare them as a set.
        at = 0
        while at < len(rows):
            folder = rows[at][3]
            group = [(title, url) for _, url, title, f in rows if f == folder]
            check_equal(sorted(shown[at:at + len(group)]), sorted(group), f"{name} folder {folder}")
            at += len(group)
        check_equal(Rows(report, f"f{i}").caption,
                    caption(os.path.basename(header["folder"].decode())), name + " caption")



# ---- Downloads: pages served by a local HTTP server ------------------------------------

class PageServer:
    """Serves the given pages (path -> bytes) on 127.0.0.1 for a with-block;
    any other path answers 404."""

    def __init__(self, pages):
        import http.server
        import threading
        served = pages

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                body = served.get(self.path.split("?")[0])
                self.send_response(200 if body is not None else 404)
                body = body if body is not None else b"not here"
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.httpd.server_address[1], path)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.httpd.shutdown()
        self.httpd.server_close()


OTHER_PAGE = page('<a href="first.html">First</a>', '<a href="sub/second.html">Second</a>',
                  title="Other page")


def served_pages():
    return {"/dir/page.html": RELATIVE_PAGE.encode("cp932"), "/dir/other.html": OTHER_PAGE.encode("cp932")}


def resolved(server, pairs):
    return [(t, u.replace("http://host.example", server.url(""))) for t, u in pairs]


def other_rows(server):
    return [("First", server.url("/dir/first.html")), ("Second", server.url("/dir/sub/second.html"))]


def download_start(args):
    c = ListCase(args, "download_start")
    with PageServer(served_pages()) as server:
        url = server.url("/dir/page.html").encode()
        report = c.session().start(b"/#b " + url).wait_list().wait_rows(5).rows("r").run()
        rows = Rows(report, "r")
        check_equal(rows.pairs(), resolved(server, RELATIVE_RESOLVED), "rows")
        check_equal(rows.caption, caption("Relative links"), "caption")
        check("page.html" in os.listdir(c.path("temp")), "the page is saved in temp")
        # A download that is refused leaves the empty list window open.
        s = c.session().start(b"/#b ftp://ftp.example/dir/page.html")
        refused = s.step_number()
        s.message("ok").wait_list().rows("refused")
        report = s.run()
        check_equal(report[f"step.{refused}.caption"], cp932("注意"), "message caption")
        check_equal(report[f"step.{refused}.text"], cp932("http以外は、ダウンロードできません！"),
                    "message")
        check_equal(Rows(report, "refused").rows, [], "rows after a refused download")


def download_routes(args):
    c = ListCase(args, "download_routes")
    with PageServer(served_pages()) as server:
        page_url, other_url = server.url("/dir/page.html"), server.url("/dir/other.html")
        c.write("start.txt", crlf(other_url + "||Other", page_url + "||Page"))
        s = c.session().start(c.win("start.txt")).wait_list().wait_rows(2)
        s.drop_text(page_url).wait_rows(5).rows("dropped")
        s.clipboard(other_url).command(998).wait_rows(2).rows("pasted")
        s.second(b"/#b " + page_url.encode()).wait_rows(5).rows("handed")
        # The row menu's "リンク抽出(&1)" lists the links of the clicked row's
        # page.
        s.second(c.win("start.txt")).wait_rows(2)
        s.rclick(1).menu("1").wait_rows(5).rows("row_menu")
        # A page the server does not have: the message, and the list stays.
        s.clipboard(server.url("/dir/missing.html")).post(998)
        failed = s.step_number()
        s.message("ok").sleep(200).rows("kept")
        report = s.run()
    check_equal(Rows(report, "dropped").pairs(), resolved(server, RELATIVE_RESOLVED), "dropped link")
    check_equal(Rows(report, "pasted").pairs(), other_rows(server), "pasted URL")
    check_equal(Rows(report, "pasted").caption, caption("Other page"), "caption")
    check_equal(Rows(report, "handed").pairs(), resolved(server, RELATIVE_RESOLVED), "hand-off")
    check_equal(Rows(report, "row_menu").pairs(), resolved(server, RELATIVE_RESOLVED), "row menu")
    check(report[f"step.{failed}.text"], "a failed download is reported")
    check_equal(Rows(report, "kept").pairs(), resolved(server, RELATIVE_RESOLVED), "list kept")


def browser_page(args):
    # 902 asks the browsers of "@dde=" for their page and lists its links.
    from bridge_e2e_test import FakeBrowser, tool
    c = ListCase(args, "browser_page")
    shutil.copyfile(tool(args, "TAVRIN_E2E_TVDDE", "tvDDE.dll"), c.path("tvDDE.dll"))
    with PageServer(served_pages()) as server:
        other_url = server.url("/dir/other.html")
        reply = b'"' + other_url.encode() + b'","Other","",'
        with FakeBrowser(args, c.case, "L", reply=reply) as browser:
            c.settings("[system]", "@dde=" + browser.service)
            c.write("five.txt", crlf(*FIVE))
            s = c.session().start(c.win("five.txt")).wait_list().wait_rows(5)
            s.command(902).wait_rows(2).rows("browser")
            report = s.run()
    check_equal(Rows(report, "browser").pairs(), other_rows(server), "the browser's page")
    check_equal(Rows(report, "browser").caption, caption("Other page"), "caption")


def from_menus(args):
    # The tools menu's "&List" opens an empty list window; on the association
    # menu's title item Ctrl+Shift lists the targets in hand and Shift the
    # links of the target's page. The lists stay whole for later rebuilds.
    c = ListCase(args, "from_menus")
    viewer, other = c.recorder("viewer.exe"), c.recorder("other.exe")
    c.settings("[.html]", viewer + " | &Viewer", other + " | &Other", "%end")
    report = c.session().start(b"").menu("l").wait_list().rows("tools").close().run()
    check_equal(Rows(report, "tools").rows, [], "rows of the tools menu's list")
    check_equal(Rows(report, "tools").caption, caption(" "), "caption")
    targets = b"http://a.example/1.html http://b.example/2.html http://c.example/3.html"
    s = c.session().start(targets).menu("control+shift+title").wait_list().wait_rows(3)
    s.rows("targets").command(940).rows("rebuilt").close()
    report = s.run()
    urls = targets.decode().split()
    check_equal(Rows(report, "targets").urls(), urls, "the targets as the list")
    check_equal(Rows(report, "targets").caption, caption("URL転送データ"), "caption")
    check_equal(Rows(report, "rebuilt").urls(), urls, "the list after a rebuild")
    with PageServer(served_pages()) as server:
        url = server.url("/dir/page.html").encode()
        s = c.session().start(url).menu("shift+title").wait_list().wait_rows(5)
        report = s.rows("page").close().run()
        check_equal(Rows(report, "page").pairs(), resolved(server, RELATIVE_RESOLVED), "page links")
    check_equal(c.records("viewer.exe") + c.records("other.exe"), [], "nothing started")


# ---- What a list never loses, and where libraries come from ---------------------------

def planted_libraries(args):
    # Libraries come from the program's folder alone: copies of nkf32.dll,
    # jconv.dll and tvDDE.dll planted in the folder a start began in, or in
    # a folder the open dialog went to, never run (each would leave a
    # marker file). Nor do the system's common controls and dialogs, which
    # are loaded only when the list window and the first dialog open, with
    # the start's folder current. Nor is a program named without a folder
    # looked for in the folder the dialog went to.
    c = ListCase(args, "planted_libraries")
    planted = os.environ["TAVRIN_PLANTED_DLL"]
    for folder in ("start", "browsed"):
        for name in ("nkf32.dll", "jconv.dll", "tvDDE.dll", "comctl32.dll", "comdlg32.dll"):
            os.makedirs(c.path(folder), exist_ok=True)
            shutil.copyfile(planted, c.path(folder, name))
    c.write("start/page.html", page('<a href="http://h.example/start.html">Start</a>', title="Start"))
    c.write("browsed/page.html", page('<a href="http://h.example/one.html">One</a>',
                                      '<a href="http://h.example/two.html">Two</a>', title="Browsed"))
    c.recorder("tool.exe")
    shutil.copyfile(c.path("tool.exe"), c.path("browsed", "tool.exe"))
    c.settings("[system]", "@dde=NoSuchBrowser", "[.html]", "tool.exe | Tool", "]%L", "%end")
    s = c.session().start_in(c.path("start"), c.win("start", "page.html")).wait_list().wait_rows(1)
    s.rows("started")
    s.post(901).open(c.win("browsed", "page.html")).wait_rows(2).rows("browsed")
    # Both file dialogs may leave the folder they went to current.
    s.command(950).post(905).save(c.win("browsed", "saved.txt")).sleep(200)
    # The browser's page (the bridge library is asked for), the page read
    # again (the converters), the rows run with the association.
    s.command(902).sleep(200)
    s.post(901).open(c.win("browsed", "page.html")).sleep(300)
    s.command(950).command(999).sleep(300).rows("after")
    report = s.run()
    check_equal(Rows(report, "started").pairs(), [("Start", "http://h.example/start.html")], "start page")
    check_equal(Rows(report, "browsed").urls(), ["http://h.example/one.html", "http://h.example/two.html"],
                "page from the open dialog")
    check_equal(Rows(report, "after").urls(), ["http://h.example/one.html", "http://h.example/two.html"],
                "rows after the bridge was asked for")
    markers = [os.path.join(folder, name) for folder in ("start", "browsed") for name in os.listdir(c.path(folder))
               if name.endswith(".loaded")]
    check_equal(markers, [], "planted libraries loaded")
    c.expect_records("tool.exe", ["http://h.example/one.html", "http://h.example/two.html"],
                     "the program beside Tavrin")
    check_equal(c.records(os.path.join("browsed", "tool.exe")), [], "the program in the browsed folder")


def write_keeps_old_file(args):
    # Writing a list never destroys the file it replaces: with no row
    # checked a box says so and nothing is asked or written; a read-only
    # file, and a file on a disk that fills up halfway, keep their bytes;
    # no temporary file is left behind. A list that can be written replaces
    # the old file whole.
    c = ListCase(args, "write_keeps_old_file")
    old = crlf("http://old.example/kept.html||Old list")
    for name in ("unchecked.txt", "readonly.txt", "full.txt", "replaced.txt"):
        c.write(name, old)
    os.chmod(c.path("readonly.txt"), 0o444)
    s = five_rows(c)
    unchecked = s.step_number() + 1
    s.post(905).message("ok").no_dialog(300)
    s.command(950).post(905).save(c.win("readonly.txt")).message("yes")
    readonly = s.step_number()
    s.message("ok").no_dialog(300)
    s.post(906).save(c.win("replaced.txt")).message("yes").sleep(300)
    report = s.run()
    check_equal(report[f"step.{unchecked}.caption"], cp932("注意"), "no row checked: caption")
    check(cp932("チェックされた行がありません。") in report[f"step.{unchecked}.text"],
          "no row checked: " + report[f"step.{unchecked}.text"].decode("cp932"))
    check_equal(report[f"step.{unchecked + 1}.dialogs"], 0, "no file dialog without a checked row")
    check_equal(open(c.path("unchecked.txt"), "rb").read(), old, "a list kept when no row is checked")
    check_equal(report[f"step.{readonly}.caption"], cp932("エラー"), "read-only: caption")
    check_equal(open(c.path("readonly.txt"), "rb").read(), old, "a read-only list keeps its bytes")
    # (The third line of five.txt holds a blank: its title reads as "One".)
    check_equal(open(c.path("replaced.txt"), "rb").read(),
                crlf(*[line.replace("One again", "One") for line in FIVE]), "a list replaced whole")

    # A disk that fills up while the list is written: every write past
    # 64 KiB fails, and a list of 500 long rows is about 115 KiB.
    rows = [f"http://full.example/{i:03d}/" + "x" * 200 + f"||Row {i}" for i in range(500)]
    c.write("long.txt", crlf(*rows))
    s = c.session().start(c.win("long.txt")).wait_list().wait_rows(500).command(950)
    s.post(906).save(c.win("full.txt")).message("yes")
    full = s.step_number()
    s.message("ok").no_dialog(300)
    report = s.run(file_size_limit=64 * 1024)
    check_equal(report[f"step.{full}.caption"], cp932("エラー"), "full disk: caption")
    check(cp932("full.txt") in report[f"step.{full}.text"], "full disk: the box names the file")
    check_equal(open(c.path("full.txt"), "rb").read(), old, "a list on a full disk keeps its bytes")
    leftovers = [name for name in c.case.listing() if name.lower().endswith(".tmp")]
    check_equal(leftovers, [], "temporary files left")


def failed_inputs_keep_rows(args):
    # Input that fails restores the list whole: titles, kinds and
    # extensions of its rows, not what the failed input left in their
    # places. A pasted web URL whose page cannot be downloaded, and a
    # dropped or handed-over page that cannot be read (another program
    # holds it), leave the rows and, after a rebuild, the same rows.
    c = ListCase(args, "failed_inputs_keep_rows", settings=("[system]", "@filter", ">.gif"))
    c.write("five.txt", crlf(*FIVE))
    c.write("held.html", RELATIVE_PAGE)
    with PageServer({}) as server:
        s = c.session().start(c.win("five.txt")).wait_list().wait_rows(5).rows("before")
        s.clipboard(server.url("/missing/x.gif")).post(998)
        pasted = s.step_number()
        s.message("ok").sleep(200).command(940).rows("pasted").command(941).rows("gif_filter").command(940)
        s.hold(c.win("held.html"))
        s.drop_file(c.win("held.html")).sleep(300).command(940).rows("dropped")
        s.second(c.win("held.html")).sleep(300).command(940).rows("handed")
        report = s.run()
    five_pairs = Rows(report, "before").pairs()
    check_equal(len(five_pairs), 5, "rows at first")
    check(report[f"step.{pasted}.text"], "a failed download is reported")
    check_equal(Rows(report, "pasted").pairs(), five_pairs, "after a failed paste")
    check_equal(Rows(report, "gif_filter").urls(), ["http://b.example/pic.gif"], "extensions kept")
    check_equal(Rows(report, "dropped").pairs(), five_pairs, "after a dropped file that cannot be read")
    check_equal(Rows(report, "handed").pairs(), five_pairs, "after a handed-over file that cannot be read")


CASES = (from_menus, list_file, check_commands, duplicates, filters, kinds, open_rows, after_run_options,
         open_selected_row, association_rows, topmost_and_exit, write_and_read, blank_in_url,
         write_failure, write_nothing, page_with_base, page_without_base, folder_start, folder_cap,
         folder_without_shortcuts, handoff, drops, clipboard_watch, clipboard_chain, paste, choosers, locked_file,
         empty_file, huge_page, big_file, pages_with_converter, pages_without_converter,
         pages_conversion_off, shortcut_folders, download_start, download_routes, browser_page,
         planted_libraries, write_keeps_old_file, failed_inputs_keep_rows)

if __name__ == "__main__":
    main({f.__name__: f for f in CASES})
