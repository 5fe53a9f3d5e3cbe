#!/usr/bin/env python3
# End to end: the built game (argument 1) under Wine on a private X server, played with real X
# input as a player plays it: the menus by Alt and mnemonics, typing into the dialogs, quick second
# clicks. The field is compared with the committed sprite sheets, every dialog with its picture in
# tests/e2e (E2E_UPDATE=1 takes them anew) and the game's registry key with what the session did.
# A failure leaves the screen, or the dialog and its difference, in build/mingw/e2e.
import os
import re
import subprocess as sp
import sys
import time
import traceback

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PICTURES, OUT = os.path.join(ROOT, "tests/e2e"), os.path.join(ROOT, "build/mingw/e2e")
KEY = r"HKCU\Software\kelvorin"
AROUND = [(dc, dr) for dc in (-1, 0, 1) for dr in (-1, 0, 1) if dc or dr]
FIRST_PLACE, MOVED = (300, 200), (140, 110)
NAME = "Tessa"  # longer than a few units, and whole in the records dialog
RECORD = 6  # the timer's second at the winning click, so that the record's time is known
# Items of the game menu, each chosen over a flag, and the new game it must show: columns, rows,
# mines. The custom field is typed into its dialog; スタート keeps it.
ITEMS = [
    ("上級(&E)", 30, 16, 99),
    ("中級(&I)", 16, 16, 40),
    ("盤面の変更(&C)", 20, 12, 30),
    ("スタート(&N)", 20, 12, 30),
    ("初級(&B)", 9, 9, 10),
]
CUSTOM = ["Tab", "Tab", "1", "2", "Tab", "2", "0", "Tab", "3", "0", "Tab", "space"]


def run(*args):
    return sp.run(args, stdout=sp.PIPE, stderr=sp.PIPE).stdout


def wine(*args):  # its exit code; no pipe, which the Wine services it may start would keep open
    return sp.run(["wine", *args], stdout=sp.DEVNULL, stderr=sp.DEVNULL).returncode


def x(*args):  # xdotool; commands chain in one call
    return run("xdotool", *map(str, args)).decode()


def until(check, what=None, seconds=10):  # check()'s first true result; fails with `what`
    deadline = time.monotonic() + seconds
    while not (result := check()) and time.monotonic() < deadline:
        time.sleep(0.05)
    assert result or not what, what
    return result


def sheet(name, w, h):  # sprite k of a committed sheet, as h rows of w RGB pixels
    raw = run("convert", os.path.join(ROOT, "res", name + ".bmp"), "-depth", "8", "rgb:-")
    return lambda k: [raw[3 * w * (k * h + y) : 3 * w * (k * h + y + 1)] for y in range(h)]


CELLS, FACES, DIGITS = sheet("cells", 16, 16), sheet("faces", 24, 24), sheet("digits", 13, 23)


def windows():  # the game's visible windows: main, dialogs, menus
    return x("search", "--onlyvisible", "--classname", "tesselmark.exe").split()


def place():  # left, top, width, height of the main window
    shell = x("getwindowgeometry", "--shell", main).split()
    return tuple(int(v.split("=")[1]) for v in shell[1:5])


def at(c, r):  # the centre of a cell on the screen
    return origin[0] + 20 + 16 * c, origin[1] + 63 + 16 * r


def click(point, button=1, times=1):
    x("mousemove", *point, "click", "--repeat", times, "--delay", 60, button)


def digits(left, value):  # the three counter sprites of a value
    places = enumerate("%03d" % value)
    return [(left + 13 * i, origin[1] + 16, DIGITS(11 - int(d))) for i, d in places]


def shows(cells=(), face=None, counter=None, timer=None):  # cells: ((c, r), sprite) pairs
    want = [(origin[0] + 12 + 16 * c, origin[1] + 55 + 16 * r, CELLS(k)) for (c, r), k in cells]
    if face is not None:
        want.append((origin[0] + 8 * size[0], origin[1] + 16, FACES(face)))
    if counter is not None:
        want += digits(origin[0] + 17, counter)
    if timer is not None:
        want += digits(origin[0] + 16 * size[0] - 34, timer)
    screen = run("import", "-window", "root", "-depth", "8", "rgb:-")
    rows = [
        (3 * ((top + y) * 1024 + left), row) for left, top, s in want for y, row in enumerate(s)
    ]
    return all(screen[start : start + len(row)] == row for start, row in rows)


# Waits for the window of a field, then for a new game on it: every cell covered, the face
# smiling, the mines on the counter and no time.
def field(cols, rows, mines, after):
    global size, origin
    size = (cols, rows)
    width = 2 * frame + 16 * cols + 20
    until(lambda: place()[2] == width, "no window for %dx%d %s" % (cols, rows, after))
    left, top, width, height = place()
    origin = (left + frame, top + height - frame - 16 * rows - 63)
    cells = [((c, r), 0) for c in range(cols) for r in range(rows)]
    what = "no new %dx%d field with %d mines %s" % (cols, rows, mines, after)
    until(lambda: shows(cells, 4, mines, 0), what)


def menu(*items):  # Alt opens the menu bar; each item is picked by its mnemonic, or a key by name
    keys = [item[item.index("&") + 1].lower() if "&" in item else item for item in items]
    x("windowfocus", "--sync", main, "key", "--delay", 150, "alt", *keys)


def looks(window, name):  # the dialog's picture is its reference's, pixel for pixel
    reference, taken = os.path.join(PICTURES, name + ".png"), os.path.join(OUT, name + ".png")
    if os.environ.get("E2E_UPDATE") == "1":
        time.sleep(1)
        run("import", "-window", window, reference)
        return
    compare = ["compare", "-metric", "AE", reference, taken, os.path.join(OUT, name + "-diff.png")]
    for _ in range(20):  # while it is still being drawn
        run("import", "-window", window, taken)
        pixels = sp.run(compare, stderr=sp.PIPE).stderr.decode()
        if pixels == "0":
            return
    raise AssertionError("the dialog %s differs from its picture in %s pixels" % (name, pixels))


# Waits for the dialog of that caption, makes it active with the pointer off it, then takes the
# steps: a name compares the dialog with that picture, a list is an xdotool command. The dialog
# must then close.
def dialog(caption, *steps):
    named = lambda: [w for w in windows() if w != main and x("getwindowname", w)[:-1] == caption]
    found = until(named, "no dialog %r" % caption)[0]
    x("mousemove", 1000, 750, "windowfocus", "--sync", found)
    for step in steps:
        if isinstance(step, str):
            looks(found, step)
        else:
            x(*step)
    until(lambda: found not in windows(), "the dialog %r stays open" % caption)


def expect_stored(expected, when):  # the game's registry key holds exactly these values
    path = os.path.join(OUT, "stored.reg")
    until(lambda: wine("reg", "export", KEY, path, "/y") == 0, "wine reg export fails")
    with open(path, encoding="utf-16") as exported:
        lines = re.findall(r'^"(\w+)"=(?:dword:([0-9a-f]{8})|"(.*)")$', exported.read(), re.M)
    found = {name: int(number, 16) if number else text for name, number, text in lines}
    assert sorted(found) == sorted(expected), "%s: the values stored are %s" % (when, sorted(found))
    for name, value in expected.items():
        assert found[name] == value, "%s: %s is %r, not %r" % (when, name, found[name], value)


def deal(second):  # the runtime's generator seeded with the second: a column, then a row
    state, placed, draws = second, set(), []
    while len(placed) < 10:
        state = (state * 214013 + 2531011) & 0xFFFFFFFF
        draws.append(state >> 16 & 0x7FFF)
        if len(draws) % 2 == 0:
            placed.add((draws[-2] * 9 // 32768, draws[-1] * 9 // 32768))
    return placed


def near(p, mines):
    return sum((p[0] + d[0], p[1] + d[1]) in mines for d in AROUND)


def open_(p, mines, opened):  # what the game opens: the cell, and the whole region around a blank
    if p not in opened | mines and 0 <= p[0] < 9 and 0 <= p[1] < 9:
        opened.add(p)
        if near(p, mines) == 0:
            for d in AROUND:
                open_((p[0] + d[0], p[1] + d[1]), mines, opened)


# Opens a cell safe on every beginner board that the seconds from `start` on deal, then tells
# from the screen which board the game has: its mines and the cells open.
def first_opening(start):
    boards = [deal(second) for second in range(start, int(time.time()) + 2)]
    safe = [(c, r) for c in range(9) for r in range(9) if all((c, r) not in b for b in boards)]
    first = max(safe, key=lambda p: len({near(p, board) for board in boards}))
    click(at(*first))
    for mines in boards * 40:
        opened = set()
        open_(first, mines, opened)
        if shows([(p, 15 - near(p, mines)) for p in opened]):
            return mines, opened
    raise AssertionError("the screen shows none of the boards of the new game")


def play():
    global main, frame
    wine("reg", "delete", KEY, "/f")
    blink = ["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "CursorBlinkRate", "/d", "-1", "/f"]
    until(lambda: wine(*blink) == 0, "wine reg add fails")  # a caret that never blinks
    game = sp.Popen(["wine", sys.argv[1]])
    main = until(windows, "no window")[0]
    assert place()[:2] == FIRST_PLACE, "a first start is at %s" % (place()[:2],)
    frame = (place()[2] - 164) // 2  # it opens with a 9 x 9 field
    # Moved by its caption, as a hand moves it: Wine does not follow an unmanaged window that
    # another X client moves.
    x("mousemove", FIRST_PLACE[0] + 40, FIRST_PLACE[1] + 10, "mousedown", 1, "sleep", 0.1)
    x("mousemove", 200, 150, "sleep", 0.1, "mousemove", MOVED[0] + 40, MOVED[1] + 10)
    x("sleep", 0.1, "mouseup", 1)
    until(lambda: place()[:2] == MOVED, "the window does not follow its caption")
    field(9, 9, 10, "at the start")
    for item, cols, rows, mines in ITEMS:
        click(at(0, 0), button=3)
        menu("ゲーム(&G)", item)
        if item == "盤面の変更(&C)":  # the dialog shows the intermediate field's 16, 16 and 40
            dialog("盤面の変更", "custom", ["key", "--delay", 100, *CUSTOM])
        field(cols, rows, mines, "after " + item)
        assert place()[:2] == MOVED, "after %s the window is at %s" % (item, place()[:2])
    menu("ゲーム(&G)", "Up", "Up", "Up", "Right", "Down", "Return")  # クリックモード, 省エネ
    # Two quick right presses toggle twice: the class makes no double-click of them.
    click(at(1, 0), button=3, times=2)
    click(at(0, 0), button=3)
    what = "a quick right double click on a cell leaves it flagged"
    until(lambda: shows([((0, 0), 1), ((1, 0), 0)], counter=9), what)
    start = int(time.time())
    click((origin[0] + 8 * size[0] + 12, origin[1] + 28), times=2)
    field(9, 9, 10, "after a quick double click on the face")
    mines, opened = first_opening(start)
    clicks = []
    for p in [(c, r) for c in range(9) for r in range(9) if (c, r) not in mines]:
        if p not in opened:  # a flood may have opened it
            clicks.append(p)
            open_(p, mines, opened)
    x(*[a for p in clicks[:-1] for a in ("mousemove", *at(*p), "click", 1)])
    until(lambda: shows(timer=RECORD), "the timer does not reach %d" % RECORD)
    click(at(*clicks[-1]))
    dialog("", "new-record", ["type", "--delay", 50, NAME], ["key", "Return"])
    dialog("ハイスコア", "high-scores", ["key", "Return"])
    won = [(p, 15 - near(p, mines)) for p in opened] + [(p, 1) for p in mines]
    until(lambda: shows(won, 1, 0, RECORD), "the won field is not shown")
    expected = dict(ClickMode=40030, Difficulty=40014, Height=9, Width=9, Mines=10)
    expected.update(XPos=MOVED[0], Ypos=MOVED[1], Time1=RECORD, Time2=999, Time3=999)
    expected.update(Name1=NAME, Name2="名前なし", Name3="名前なし")
    expect_stored(expected, "after the record")
    menu("ゲーム(&G)", "ハイスコア(&H)")
    other = ["key", "Tab", "space"]  # the other button: from OK to the clear one, then back
    dialog("ハイスコア", "high-scores", other, "high-scores-cleared", other)
    expected.update(Time1=999, Name1="名前なし")
    expect_stored(expected, "after clearing the records")
    menu("ヘルプ(&H)", "バージョン情報(&A)")
    dialog("テセルマークのバージョン情報", "about", ["key", "Escape"])
    menu("ゲーム(&G)", "テセルマークの終了(&X)")
    until(lambda: game.poll() is not None, "the game does not end")
    assert game.returncode == 0, "exit code %d" % game.returncode


os.makedirs(OUT, exist_ok=True)
os.environ.update(WINEPREFIX=os.path.join(ROOT, "build/mingw/wineprefix-e2e"), WINEDEBUG="-all")
sp.run(
    ["bash", "-c", '. "$0/scripts/common.sh" && prepare_prefix "$WINEPREFIX" x11 tests', ROOT],
    check=True,
)
# Xvfb takes a free display and says which once it answers; it must not reset itself when its
# last client leaves, or a Wine process connecting just then finds no display.
ready, told = os.pipe()
command = "Xvfb -screen 0 1024x768x24 -nolisten tcp -noreset -displayfd %d" % told
xvfb = sp.Popen(command.split(), pass_fds=[told], stderr=sp.DEVNULL)
os.environ["DISPLAY"] = ":" + os.read(ready, 16).decode().strip()
try:
    sp.run(["wineserver", "-p"], check=True)
    play()
except Exception:
    run("import", "-window", "root", os.path.join(OUT, "failure.png"))
    traceback.print_exc()
    sys.exit("e2e failed; the screen and the pictures are in " + OUT)
finally:
    sp.run(["wineserver", "-k"])
    xvfb.terminate()
    xvfb.wait()
