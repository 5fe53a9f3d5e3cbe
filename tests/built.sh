#!/usr/bin/env bash
# What the linker and the resource compiler wrote into a built game (argument 1). The window's size
# counts the frame, the caption and the menu as the system metrics give them; Windows 10 and 11 add
# a padded border to the frame of a program marked for subsystem version 6 or later (lld's
# default), which those metrics leave out: every toolchain's link must keep the game at 5.2. The
# manifest declares the game aware of each monitor's scale (and of the system's before Windows 10
# 1703): unaware, Windows stretches its window, blurred. Wine takes every program as aware
# whatever its manifest says, so the bytes are what can be read here.
set -euo pipefail
headers=$(x86_64-w64-mingw32-objdump -p "$1")
fail() { echo "$1: $2" >&2; exit 1; }
grep -q -P '^Subsystem\t+00000002' <<<"$headers" || fail "$1" "not a GUI program"
grep -q -P '^MajorSubsystemVersion\t5$' <<<"$headers" || fail "$1" "subsystem version not 5.x"
grep -q -P '^MinorSubsystemVersion\t2$' <<<"$headers" || fail "$1" "subsystem version not 5.2"
grep -a -q 'WindowsSettings">PerMonitorV2</dpiAwareness>' "$1" || fail "$1" "not per-monitor aware"
grep -a -q 'WindowsSettings">true</dpiAware>' "$1" || fail "$1" "not system aware"
echo "$1: a GUI program of subsystem version 5.2, aware of each monitor's scale"
