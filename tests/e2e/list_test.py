#!/usr/bin/env python3
"""The list window end to end: Tavrin.exe under Wine opens its list from a
page, a list file, a shortcut folder, a hand-off, a drop or the clipboard;
the driver reads the real list view across processes and drives the window
as a person would (menu commands, keys, clicks, dialogs)."""
import os
import shutil

from list_session import Rows, Session, win
from tavrin_e2e import Case, check, check_equal, cp932, main, windows_path

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
    c = ListCase(args, "duplicates")
    s = five_rows(c)
    s.check(3).command(965).rows("removed")
    # A rebuild (a filter choice) shows the whole list again.
    s.command(940).rows("rebuilt")
    report = s.run()
    removed = Rows(report, "removed")
    check_equal(removed.urls(), [FIVE_URLS[i] for i in (0, 1, 3, 4)], "after 965")
    check_equal(removed.checks(), "..x.", "check marks stay with their rows")
    check_equal(Rows(report, "rebuilt").urls(), FIVE_URLS, "after a rebuild")


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
    check_equal(c.records("viewer.exe"), [FIVE_URLS[0], FIVE_URLS[3]], "viewer starts")
    check_equal(c.records("every.exe"), ["-all " + FIVE_URLS[0] + " " + FIVE_URLS[3]],
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
    check_equal(c.records("viewer.exe"),
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
    check_equal(c.records("viewer.exe"), [FIVE_URLS[1], FIVE_URLS[3], FIVE_URLS[2]], "viewer starts")
    check_equal(c.records("every.exe"), ["-all " + FIVE_URLS[4]], "row menu start")
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
    check_equal(c.records("each.exe"), ["-each " + FIVE_URLS[i] for i in (0, 2, 3)], "starts")
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


if __name__ == "__main__":
    main({f.__name__: f for f in (list_file, check_commands, duplicates, filters, kinds, open_rows,
                                  after_run_options, open_selected_row, association_rows,
                                  topmost_and_exit, write_and_read, blank_in_url, write_failure,
                                  write_nothing)})
