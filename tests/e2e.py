#!/usr/bin/env python3
# End to end: the built game (argument 1) under Wine on a private X server, played with real X
# input and checked on screenshots against the committed sprite sheets. Dialogs and the failing
# screen are kept in build/mingw/e2e.
import os, subprocess as sp, sys, time, traceback

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT, AROUND = os.path.join(ROOT, "build/mingw/e2e"), [
    (dc, dr) for dc in (-1, 0, 1) for dr in (-1, 0, 1) if dc or dr
]
os.makedirs(OUT, exist_ok=True)
os.environ.update(WINEPREFIX=os.path.join(ROOT, "build/mingw/wineprefix-e2e"), WINEDEBUG="-all")
sp.run(["bash", "-c", '. "$0/scripts/common.sh" && prepare_prefix "$WINEPREFIX"', ROOT], check=True)
ready, told = os.pipe()  # Xvfb takes a free display and says which once it answers
xvfb = sp.Popen(
    ["Xvfb", "-displayfd", str(told), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
    pass_fds=[told],
    stderr=sp.DEVNULL,
)
os.environ["DISPLAY"] = ":" + os.read(ready, 16).decode().strip()


def until(check, what=None, seconds=10):  # waits for check(); fails with `what`, if given
    for _ in range(seconds * 20):
        if check() or time.sleep(0.05):
            return True
    assert not what, what


def x(*args):
    return sp.run(
        ["xdotool", *map(str, args)], stdout=sp.PIPE, stderr=sp.DEVNULL, text=True
    ).stdout  # commands chain in one call


def sheet(name, w, h):  # sprite k of a committed sheet, as h rows of w RGB pixels
    raw = sp.run(
        ["convert", os.path.join(ROOT, "res", name + ".bmp"), "-depth", "8", "rgb:-"],
        stdout=sp.PIPE,
    ).stdout
    return lambda k: [raw[3 * w * (k * h + y) : 3 * w * (k * h + y + 1)] for y in range(h)]


CELLS, FACES, DIGITS = sheet("cells", 16, 16), sheet("faces", 24, 24), sheet("digits", 13, 23)


def deal(
    second, w, h, mines
):  # the runtime's generator seeded with the second: a column, then a row
    state, placed, draws = second, set(), []
    while len(placed) < mines:
        state = (state * 214013 + 2531011) & 0xFFFFFFFF
        draws.append(state >> 16 & 0x7FFF)
        placed |= (
            {(draws[-2] * w // 32768, draws[-1] * h // 32768)} if len(draws) % 2 == 0 else set()
        )
    return placed


def windows():
    return x(
        "search", "--onlyvisible", "--classname", "tesselmark.exe"
    ).split()  # main, dialogs, menus


def place():  # left, top, width, height of the main window
    return tuple(
        int(v.split("=")[1]) for v in x("getwindowgeometry", "--shell", windows()[0]).split()[1:5]
    )


def field(cols, rows, count):  # waits for the window of a field and finds its client area
    global size, origin
    size = (cols, rows, count)
    until(lambda: place()[2] == 2 * frame + 16 * cols + 20, "no window for %dx%d" % (cols, rows))
    left, top, width, height = place()
    origin = (left + frame, top + height - frame - 16 * rows - 64)


def at(c, r):
    return origin[0] + 20 + 16 * c, origin[1] + 63 + 16 * r  # the centre of a cell on the screen


def drag(points, button=1):  # a press, moves, a release, as a hand makes them; one point is a click
    moves = [a for p in points[1:] for a in ("sleep", 0.1, "mousemove", *p)]
    x(
        "mousemove",
        *points[0],
        "sleep",
        0.1,
        "mousedown",
        button,
        *moves,
        "sleep",
        0.05,
        "mouseup",
        button
    )


def shows(
    cells=(), face=None, counter=None
):  # cells {(c, r): sprite}, the face and the mine counter
    ppm = sp.run(["import", "-window", "root", "-depth", "8", "ppm:-"], stdout=sp.PIPE).stdout
    want = [
        (origin[0] + 12 + 16 * c, origin[1] + 55 + 16 * r, CELLS(k))
        for (c, r), k in dict(cells).items()
    ]
    want += [(origin[0] + 8 * size[0], origin[1] + 16, FACES(face))] if face is not None else []
    want += (
        [
            (origin[0] + 17 + 13 * i, origin[1] + 16, DIGITS(11 - int(d)))
            for i, d in enumerate("%03d" % counter)
        ]
        if counter is not None
        else []
    )
    pixels = ppm[ppm.index(b"255\n") + 4 :]
    return all(
        pixels[3 * ((top + y) * 1024 + left) :][: len(line)] == line
        for left, top, sprite in want
        for y, line in enumerate(sprite)
    )


def near(p):
    return sum((p[0] + d[0], p[1] + d[1]) in mines for d in AROUND)


def open_(p):  # what the game opens: the cell, and the whole region around a blank
    if p not in opened | mines and 0 <= p[0] < size[0] and 0 <= p[1] < size[1]:
        opened.add(p)
        any(open_((p[0] + d[0], p[1] + d[1])) for d in AROUND if near(p) == 0)


def closed():
    return [(c, r) for r in range(size[1]) for c in range(size[0]) if (c, r) not in opened | mines]


# A new game from the face; opening a cell safe on every board its second may have dealt tells
# which board it is.
def new_board():
    global mines, opened
    before = int(time.time())
    drag([(origin[0] + 8 * size[0] + 12, origin[1] + 28)])
    boards = [deal(s, *size) for s in range(before, int(time.time()) + 2)]
    safe = [
        (c, r)
        for c in range(size[0])
        for r in range(size[1])
        if all((c, r) not in b for b in boards)
    ]
    first = max(
        safe,
        key=lambda p: len({sum((p[0] + d[0], p[1] + d[1]) in b for d in AROUND) for b in boards}),
    )
    drag([at(*first)])
    for mines in boards * 40:
        opened = set()
        open_(first)
        if shows({p: 15 - near(p) for p in opened}):
            return
    raise AssertionError("the screen shows none of the boards of the new game")


def menu(*keys, title=20):  # the game menu, by keys; title=75 is the help menu
    any(
        drag([(origin[0] + title, origin[1] - 10)]) or until(lambda: len(windows()) > 1, seconds=1)
        for _ in range(3)
    )
    x("key", "--delay", 150, *keys)


def dialog(name, *commands):  # keeps a picture of the dialog, then answers it
    until(lambda: len(windows()) > 1, "no dialog %s" % name)
    time.sleep(0.3)
    found = windows()[-1]
    sp.run(["import", "-window", found, os.path.join(OUT, name + ".png")])
    x("windowfocus", "--sync", found)
    any(x(*command) for command in commands)
    until(lambda: found not in windows(), "the dialog %s stays open" % name)


def play():
    global game, frame
    sp.run(
        ["wine", "reg", "delete", r"HKCU\Software\kelvorin", "/f"],
        stdout=sp.DEVNULL,
        stderr=sp.DEVNULL,
    )
    game = sp.Popen(["wine", sys.argv[1]])
    until(windows, "no window")
    assert place()[:2] == (300, 200), "a first start is not at (300, 200)"
    frame = (place()[2] - 164) // 2  # it opens with a 9 x 9 field
    field(9, 9, 10)
    for key, cols, rows, count in [
        ("e", 30, 16, 99),
        ("i", 16, 16, 40),
        ("c", 20, 12, 30),
        ("b", 9, 9, 10),
    ]:
        menu(key)
        if key == "c":
            dialog(
                "custom",
                [
                    "key",
                    "--delay",
                    100,
                    "Tab",
                    "Tab",
                    "1",
                    "2",
                    "Tab",
                    "2",
                    "0",
                    "Tab",
                    "3",
                    "0",
                    "Tab",
                    "space",
                ],
            )
        field(cols, rows, count)
        until(
            lambda: place()[:2] == (300, 200)
            and shows({(c, r): 0 for c in range(cols) for r in range(rows)}, 4, count),
            "no %dx%d field at the corner" % (cols, rows),
        )
    # a loss with a wrong flag and a right one, then the restart gesture: a left, a right click
    new_board()
    wrong, (flag, hit) = closed()[0], sorted(mines)[:2]
    any(drag([at(*point)], button) for point, button in [(wrong, 3), (flag, 3), (hit, 1)])
    lost = {**{p: 15 - near(p) for p in opened}, **{m: 5 for m in mines}, wrong: 4, flag: 1, hit: 3}
    until(lambda: shows(lost, 2, 8), "the lost field is not shown")
    drag([at(*wrong)]), drag([at(*wrong)], 3)
    until(
        lambda: shows({(c, r): 0 for c in range(9) for r in range(9)}, 4, 10),
        "no new game after the restart gesture",
    )
    # energy saving: the left button opens each cell it passes, the right one flags each it enters
    menu("Up", "Up", "Up", "Right", "Down", "Return")
    new_board()
    run = next(
        [(c, r), (c + 1, r), (c + 2, r)]
        for (c, r) in closed()
        if {(c + 1, r), (c + 2, r)} <= set(closed())
    )
    drag([at(*p) for p in run])
    any(open_(p) for p in run)
    flags = sorted(mines)[:3]
    drag([at(*p) for p in flags], 3)
    until(
        lambda: shows({**{p: 15 - near(p) for p in opened}, **{p: 1 for p in flags}}, counter=7),
        "the drags did not open and flag what they passed",
    )
    # every safe cell: the last click wins, a record, named
    for p in closed():
        if p not in opened:  # the last click wins; a flood may have opened the rest
            drag([at(*p)]), open_(p)
    dialog("new-record", ["type", "Tester"], ["key", "Return"])
    dialog("high-scores", ["key", "Return"])
    until(
        lambda: shows({**{p: 1 for p in mines}, **{p: 15 - near(p) for p in opened}}, 1, 0),
        "the won field is not shown",
    )
    menu("a", title=75)
    dialog("about", ["key", "Escape"])
    menu("x")
    until(lambda: game.poll() is not None, "the game does not end")
    assert game.returncode == 0, "exit code %d" % game.returncode


try:
    sp.run(["wineserver", "-p"], check=True)
    play()
except Exception as failure:
    sp.run(["import", "-window", "root", os.path.join(OUT, "failure.png")])
    sys.exit(
        "e2e failed at line %d: %s (see %s)"
        % (
            [f.lineno for f in traceback.extract_tb(failure.__traceback__) if f.name == "play"][-1],
            failure,
            OUT,
        )
    )
finally:
    sp.run(["wineserver", "-k"]), xvfb.terminate(), xvfb.wait()
