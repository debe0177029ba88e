#!/usr/bin/env python3
"""The program's own pixel sizes at the resolution of the display.

Every case runs twice: at 96 DPI, where the sizes are what they always
were, and at 144 DPI in a Wine session of its own whose prefix has
HKCU\\Control Panel\\Desktop LogPixels = 144 (scripts/wine-env.sh with
TAVRIN_WINE_DPI=144). Wine then reports 144 DPI, a small-icon size of 24
and fonts one and a half times as tall, to every program. The driver's
"metrics" command tells the case which resolution its session runs at; a
case asked for another one is reported skipped, with the reason.

- list_window: the list window's outer size and its columns are 470x450,
  100 and 345 scaled (within 2 pixels), it opens at its place for that
  size, its menu bar takes one row (no item wrapped onto a second one) and
  its header and rows are as tall as the list's font.
- menu_icons: the association menu's item bitmaps have the display's
  small-icon size, measured on a screenshot (the program's cog on the
  title item fills its bitmap), and the menu holds its widest text beside
  the icons.
- progress_window: the download progress window's client area and bar.
- dpi_change: WM_DPICHANGED as the system sends it when the window moves to
  a display of another resolution: the window takes the suggested
  rectangle, the columns (one dragged wider by the user) keep their share,
  the rows follow the font; moving back gives the widths back. A notice of
  the resolution the window is already laid out for changes nothing.
"""
import argparse
import os
import subprocess
import sys
import time

from download_test import PROGRESS_CLASS, Download, Server
from list_session import Session
from menu_test import MenuCase
from tavrin_e2e import Case, Failure, Report, check, check_equal, cp932, windows_path

SKIPPED = 77  # the ctest SKIP_RETURN_CODE of these cases


def scaled(pixels, dpi):
    """`pixels` at 96 DPI shown at `dpi`, rounded to the nearest."""
    return (pixels * dpi + 48) // 96


def near(actual, expected, what, within=2):
    check(abs(actual - expected) <= within,
          f"{what}: {actual}, expected {expected} (within {within})")


def metrics(args, texts=()):
    """What the system of the session gives for the display."""
    folder = os.path.join(args.scratch, "metrics")
    os.makedirs(folder, exist_ok=True)
    out = os.path.join(folder, f"{args.case}.out")
    argv = ["wine", args.driver, "metrics", "--out", windows_path(out)]
    if texts:
        path = os.path.join(folder, f"{args.case}.texts")
        with open(path, "wb") as f:
            f.write(b"\r\n".join(cp932(t) for t in texts))
        argv += ["--texts", windows_path(path)]
    code = subprocess.run(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=60).returncode
    check_equal(code, 0, "metrics command")
    return Report.read(out)


# --- list window ------------------------------------------------------------

ROWS = ("http://host/a/first.html||最初のページ",
        "http://host/b/second.html||二番目の長いタイトルのページ",
        "http://host/c/third.html||Third")


def list_case(args, name):
    case = Case(args, name)
    case.write("links.txt", cp932("\r\n".join(ROWS) + "\r\n"))
    session = Session(case)
    session.start(cp932(windows_path(case.path("links.txt")))).wait_list().wait_rows(len(ROWS))
    return session


def check_fonts_fit(report, label, font, what):
    check(report[f"{label}.header_height"] >= font,
          f"{what}: header {report[f'{label}.header_height']} px for a font of {font} px")
    check(report[f"{label}.row_height"] >= font,
          f"{what}: rows {report[f'{label}.row_height']} px for a font of {font} px")


def list_window(args, m):
    dpi = m["dpi"]
    report = list_case(args, "list_window").geometry("g").close().run()
    g = {k[2:]: v for k, v in report.items() if k.startswith("g.")}
    print(f"list_window at {dpi} DPI: {g['width']}x{g['height']} at {g['x']},{g['y']}, "
          f"client {g['client_width']}x{g['client_height']}, columns {g['column0']} and "
          f"{g['column1']}, header {g['header_height']}, rows {g['row_height']} px; "
          f"icon-title font {m['icon_title_font']} px")
    if dpi == 96:
        # As it always was, to the pixel.
        check_equal((g["width"], g["height"], g["column0"], g["column1"]), (470, 450, 100, 345),
                    "size and columns at 96 DPI")
    for key, at96 in (("width", 470), ("height", 450), ("column0", 100), ("column1", 345)):
        near(g[key], at96 * dpi / 96, key)
    # Centred across the screen, its centre at a third of the height.
    check_equal(g["x"], m["screen_width"] // 2 - g["width"] // 2, "left edge")
    top = m["maximized_height"] // 3 - g["height"] // 2
    check_equal(g["y"], top if top >= 0 else scaled(50, dpi), "top edge")
    check_equal(g["height"], g["one_row_height"], "window height for its client area with a "
                "menu bar of one row (the bar's items all show)")
    check_fonts_fit(report, "g", m["icon_title_font"], "list")


def dpi_change(args, m):
    dpi = m["dpi"]
    other = 192 if dpi == 96 else 96
    dragged = scaled(180, dpi)  # the title column, dragged wider
    moved = (40, 30, 40 + scaled(470, other), 30 + scaled(450, other))
    back = (100, 60, 100 + scaled(470, dpi), 60 + scaled(450, dpi))
    session = list_case(args, "dpi_change").column_width(0, dragged).geometry("before")
    # A notice of the resolution the window is laid out for (a window that
    # came onto its display as it opened) leaves it as it is.
    session.dpi_changed(dpi, 10, 10, 300, 200).geometry("same")
    report = (session.dpi_changed(other, *moved).geometry("moved")
              .dpi_changed(dpi, *back).geometry("back").close().run())

    def seen(label):
        return {k: report[f"{label}.{k}"] for k in ("x", "y", "width", "height", "column0",
                                                   "column1", "row_height")}
    before, there, again = seen("before"), seen("moved"), seen("back")
    print(f"dpi_change from {dpi} DPI: {before}; at {other} DPI: {there}; back: {again}")
    check_equal(before["column0"], dragged, "the dragged column")
    check_equal(seen("same"), before, "after a notice of the same resolution")
    for label, rect, shown in (("moved", moved, there), ("back", back, again)):
        right, bottom = shown["x"] + shown["width"], shown["y"] + shown["height"]
        check_equal((shown["x"], shown["y"], right, bottom), rect,
                    f"window rectangle {label} (the suggested one)")
    check_equal((there["column0"], there["column1"]),
                (round(dragged * other / dpi), scaled(345, other)), f"columns at {other} DPI")
    check_equal((again["column0"], again["column1"]), (dragged, scaled(345, dpi)),
                f"columns back at {dpi} DPI")
    # The list's font follows the display: its rows grow and shrink with it.
    font = m["icon_title_font"]
    check(there["row_height"] >= font * other // dpi,
          f"rows of {there['row_height']} px at {other} DPI for a font of {font * other // dpi} px")
    check_equal(again["row_height"], before["row_height"], "row height back")


# --- association menu ---------------------------------------------------------

MENU_SETTINGS = ("[system]", "@icon", "@menu=200,150", "%end",
                 "[.html]", "<viewer> | &Viewer", "<editor> | 編集用のプログラム(&E)", "%end",
                 "[all]", "@system | 関連付けられたプログラム(&S)", "%end")
MENU_TEXTS = (" Viewer", " 編集用のプログラム(E)", " 関連付けられたプログラム(S)")


def pixels(path, rect):
    """The screen's pixels inside `rect`, as rows of (r, g, b)."""
    data = subprocess.run(["convert", path, "-crop", f"{rect.width}x{rect.height}+{rect.left}+"
                           f"{rect.top}", "+repage", "-depth", "8", "ppm:-"],
                          capture_output=True, check=True).stdout
    header = data.split(b"\n", 3)
    width, height = map(int, header[1].split())
    body = header[3]
    return [[tuple(body[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]


def icon_boxes(rows, icon):
    """The pictures in the menu's icon column, top to bottom, as (left, top,
    width, height) of the pixels that differ from the menu's colour."""
    background = max(set(rows[len(rows) // 2]), key=rows[len(rows) // 2].count)
    strip = range(2, min(len(rows[0]), 2 * icon + 8))
    marked = [[x for x in strip if rows[y][x] != background] for y in range(len(rows))]
    boxes, y = [], 0
    while y < len(rows):
        if not marked[y]:
            y += 1
            continue
        top = y
        while y < len(rows) and marked[y]:
            y += 1
        xs = [x for r in marked[top:y] for x in r]
        boxes.append((min(xs), top, max(xs) - min(xs) + 1, y - top))
    # A separator is a line, not a picture.
    return [b for b in boxes if b[3] > 3]


def menu_icons(args, m):
    icon = m["small_icon"]
    c = MenuCase(args, "menu_icons")
    c.settings(*MENU_SETTINGS)
    run = c.start("http://host/a/page.html")
    rect = run.menu()
    run.point_at(rect)  # takes the highlight off the first item
    time.sleep(0.5)
    shot = os.path.join(c.d.case.work, "menu.png")
    subprocess.run(["import", "-window", "root", shot], check=True, stdin=subprocess.DEVNULL)
    run.keys("Escape")
    run.finish()
    boxes = icon_boxes(pixels(shot, rect), icon)
    widths = metrics(args, MENU_TEXTS)
    widest = max(widths[f"text.{i}.menu_width"] for i in range(len(MENU_TEXTS)))
    print(f"menu_icons at {m['dpi']} DPI: menu {rect.width}x{rect.height}, pictures {boxes}, "
          f"small icons {icon} px, widest text {widest} px, menu font {m['menu_font']} px")
    check_equal(icon, scaled(16, m["dpi"]), "the system's small-icon size")
    # @menu=200,150 stays where it showed before the program knew the
    # resolution: Windows scaled its 96-DPI point for the display.
    check_equal((rect.left, rect.top), (scaled(200, m["dpi"]), scaled(150, m["dpi"])),
                "the menu's corner at the settings' point")
    # Viewer, editor, the "@system" item and the title: the last two show
    # the program's cog, which fills its bitmap.
    check_equal(len(boxes), 4, f"pictures in the icon column: {boxes}")
    for _, _, width, height in boxes[2:]:
        near(width, icon, "cog width", within=1)
        near(height, icon, "cog height", within=1)
    check(rect.width >= icon + widest, f"menu {rect.width} px wide for an icon of {icon} and a "
          f"text of {widest} px")
    check(rect.height >= 4 * max(icon, m["menu_font"]), f"menu {rect.height} px tall for four "
          f"items of {max(icon, m['menu_font'])} px")


# --- progress window ----------------------------------------------------------

def progress_window(args, m):
    dpi = m["dpi"]
    d = Download(args, "progress_window")
    d.star_block(".bin", '*<pages>>"%P"')
    with Server() as server:
        code, report, _ = d.case.drive("cancel-download", cp932(server.url("/trickle.bin")),
                                       timeout_ms=40000,
                                       **{"class": PROGRESS_CLASS, "after": "800"})
    check_equal(code, 0, "driver exit code (0: clicked, and the program ended in time)")
    p = {k[len("progress."):]: v for k, v in report.items() if k.startswith("progress.")
         and isinstance(v, int)}
    print(f"progress_window at {dpi} DPI: {p['width']}x{p['height']}, client "
          f"{p['client_width']}x{p['client_height']}, bar {p['bar_width']}x{p['bar_height']}")
    # Margins, three lines, the bar and the button, written for 96 DPI.
    check_equal((p["client_width"], p["client_height"]), (scaled(380, dpi), scaled(130, dpi)),
                "client area")
    check_equal((p["bar_width"], p["bar_height"]), (scaled(356, dpi), scaled(16, dpi)), "bar")


CASES = {"list_window": list_window, "menu_icons": menu_icons,
         "progress_window": progress_window, "dpi_change": dpi_change}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    parser.add_argument("--dpi", required=True, type=int, help="the resolution the case is for")
    for option in ("tavrin", "driver", "scratch"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    args.scratch = os.path.join(args.scratch, str(args.dpi))
    os.makedirs(args.scratch, exist_ok=True)
    try:
        m = metrics(args)
        if m["dpi"] != args.dpi:
            print(f"skipped: this Wine session runs at {m['dpi']} DPI, the case is for {args.dpi} "
                  f"(scripts/wine-env.sh with TAVRIN_WINE_DPI={args.dpi} makes such a session)")
            sys.exit(SKIPPED)
        CASES[args.case](args, m)
    except Failure as failure:
        print(f"FAILED {args.case} at {args.dpi} DPI: {failure}")
        sys.exit(1)
    print(f"passed {args.case} at {args.dpi} DPI")


if __name__ == "__main__":
    main()
