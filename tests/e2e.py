#!/usr/bin/env python3
# End to end: the built game (argument 1) under Wine on the private X server, in the prefix and at
# the DPI that ctest gives it (tests/CMakeLists.txt), used with real X input: the menus by Alt and
# their mnemonics, the dialogs' buttons by Tab and the space bar. The game's window as it starts and
# each dialog are compared, frame and caption included, with their pictures in tests/e2e
# (E2E_UPDATE=1 takes them anew); a failure leaves the screen, or the window and its difference,
# in the folder given as argument 2. The records stored before the start (tests/e2e/records.reg)
# hold three names with an ampersand each, shown as itself: one of 15 units (whole in its
# column), one with a space (whole) and one too long for its column (dots).
import os
import subprocess as sp
import sys
import time
import traceback

PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "e2e")
OUT = sys.argv[2]


def run(*args):  # a command's output; one that waits for ever (import of a gone window) fails
    return sp.run(args, stdout=sp.PIPE, stderr=sp.PIPE, timeout=20).stdout


def x(*args):  # xdotool; commands chain in one call
    return run("xdotool", *map(str, args)).decode()


def until(check, what, seconds=10):  # check()'s first true result; fails with `what`
    deadline = time.monotonic() + seconds
    while not (result := check()) and time.monotonic() < deadline:
        time.sleep(0.05)
    assert result, what
    return result


def windows():  # the game's visible windows: main, dialogs, menus
    return x("search", "--onlyvisible", "--classname", "tesselmark.exe").split()


def menu(*items):  # Alt opens the menu bar; each item is picked by its mnemonic
    keys = [item[item.index("&") + 1].lower() for item in items]
    x("windowfocus", "--sync", main, "key", "--delay", 150, "alt", *keys)


def looks(window, name):  # the window's picture is its reference's, pixel for pixel
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
    raise AssertionError("the window %s differs from its picture in %s pixels" % (name, pixels))


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


def play():
    global main
    game = sp.Popen(["wine", sys.argv[1]])
    main = until(windows, "no window")[0]
    looks(main, "game")  # a fresh beginner's field: its frame, counters, face and cells
    other = ["key", "Tab", "space"]  # the button after the focused one
    menu("ゲーム(&G)", "盤面の変更(&C)")
    dialog("盤面の変更", "custom", other)
    menu("ゲーム(&G)", "ハイスコア(&H)")  # Esc leaves it open; OK to the clear button and back
    dialog("ハイスコア", ["key", "Escape"], "high-scores", other, "high-scores-cleared", other)
    menu("ヘルプ(&H)", "バージョン情報(&A)")
    dialog("テセルマークのバージョン情報", "about", ["key", "Escape"])
    menu("ゲーム(&G)", "テセルマークの終了(&X)")
    until(lambda: game.poll() is not None, "the game does not end")
    assert game.returncode == 0, "exit code %d" % game.returncode


os.makedirs(OUT, exist_ok=True)
try:
    play()
except Exception:
    run("import", "-window", "root", os.path.join(OUT, "failure.png"))
    traceback.print_exc()
    sys.exit("e2e failed; the screen and the pictures are in " + OUT)
