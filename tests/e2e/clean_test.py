#!/usr/bin/env python3
"""Link cleaning end to end: Tavrin.exe with "@unwrap" and "@strip=" opens
the target of a redirect link, without its tracking parameters, with the
program of the target's block (and TavrinCheck.exe names the same start);
a "!" program line gets the link as given; the list window shows, writes
and hands on clean rows. Settings without the options keep every link as
given (dispatch_test.py's cases show that nothing else changed)."""
from dispatch_test import table_case
from list_session import Rows
from list_test import ListCase, crlf, page
from tavrin_e2e import check_equal, main

CLEANING = ("[system]", "@unwrap", "@strip=default", "%end")

# A Google result link to a PDF that carries tracking of its own.
WRAPPED = ("https://www.google.com/url?q=http%3A%2F%2Fdocs.example%2Freport.pdf"
           "%3Futm_source%3Dmail%26v%3D2&sa=U&ved=2ahUKE")
CLEAN = "http://docs.example/report.pdf?v=2"

# An Outlook safe link longer than a URL Tavrin opens as it stands.
SAFE = ("https://nam12.safelinks.protection.outlook.com/?url=https%3A%2F%2Fdocs.example%2Fminutes.html"
        "&data=05%7C02%7C" + "d" * 250 + "&sdata=abc&reserved=0")

# Name, settings lines, Tavrin's arguments, expected starts, URLs that
# reach the browser.
TABLE = [
    ("google_pdf", CLEANING + ("[.pdf]", "<viewer>", "%end", "[.html]", "<editor>", "%end"),
     WRAPPED, {"viewer": [CLEAN]}, []),
    ("placeholders", CLEANING + ("[.pdf]", "<viewer>", ">-h %G -f %K -l %L -b %-L", "%end"),
     WRAPPED, {"viewer": ["-h docs.example -f report.pdf -l " + CLEAN +
                          " -b http://docs.example/report.pdf"]}, []),
    # The block is the target's; the "!" program gets the link as given.
    ("given_row", CLEANING + ("[.pdf]", "!<viewer>", ">-l %L", "%end"),
     WRAPPED, {"viewer": ["-l " + WRAPPED]}, []),
    ("tracking_only", ("[system]", "@strip=default", "%end", "[.html]", "<viewer>", "%end"),
     "http://h/a.html?utm_source=m&id=1&fbclid=2#top", {"viewer": ["http://h/a.html?id=1#top"]}, []),
    ("long_safe_link", CLEANING + ("[.html]", "<viewer>", "%end"),
     SAFE, {"viewer": ["https://docs.example/minutes.html"]}, []),
    # Without the options the redirector's own link is opened, by "[.*]".
    ("without_options", ("[.pdf]", "<viewer>", "%end", "[.*]", "<editor>", "%end"),
     WRAPPED, {"editor": [WRAPPED]}, []),
]


def list_rows(args):
    c = ListCase(args, "list_rows")
    keeper = c.recorder("keeper.exe")
    c.settings(*CLEANING, "[.pdf]", "!" + keeper + " | Keep", ">-k %L", "%end")
    c.write("links.txt", crlf(WRAPPED + "||Report", "http://a.example/1.html?id=1&amp;utm_source=x&amp;b=2",
                              "ftp://f.example/x.zip?utm_source=1"))
    c.write("page.html", page('<a href="http://p.example/a.html?fbclid=1&amp;k=2">A</a>',
                              '<a href="https://l.facebook.com/l.php?u=https%3A%2F%2Fp.example%2Fb.html'
                              '&amp;h=x">B</a>'))
    s = c.session().start(c.win("links.txt")).wait_list().wait_rows(3).rows("file")
    s.check(0).check(1).post(905).save(c.win("written.txt")).sleep(200)
    # The association run of the first row: its "!" program gets the row's
    # link as it was in the list file.
    s.check(1).command(999).sleep(300)
    s.second(('"' + WRAPPED + '||Two" http://n.example/x.html?gclid=1').encode()).wait_rows(2).rows("handed")
    s.second(c.win("page.html")).wait_rows(2).rows("page")
    report = s.run()
    check_equal(Rows(report, "file").pairs(), [("Report", CLEAN), ("", "http://a.example/1.html?id=1&amp;b=2"),
                                               ("", "ftp://f.example/x.zip?utm_source=1")], "list file rows")
    check_equal(open(c.path("written.txt"), "rb").read(),
                (CLEAN + "\r\nhttp://a.example/1.html?id=1&amp;b=2\r\n").encode(), "written list file")
    c.expect_records("keeper.exe", ["-k " + WRAPPED], "the '!' program's start")
    check_equal(Rows(report, "handed").pairs(), [("Two", CLEAN), ("", "http://n.example/x.html")],
                "a second start's links")
    check_equal(Rows(report, "page").pairs(), [("A", "http://p.example/a.html?k=2"),
                                               ("B", "https://p.example/b.html")], "a page's links")


if __name__ == "__main__":
    cases = [table_case(*row) for row in TABLE] + [list_rows]
    main({f.__name__: f for f in cases})
