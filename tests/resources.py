"""Compiles the resource script with windres and with llvm-rc, which reads scripts as Microsoft's
resource compiler does, and checks that both give every resource the same bytes.

Usage: resources.py WINDRES LLVM_RC SCRIPT WINDOWS_H_DIR
"""

import struct
import subprocess
import sys
import tempfile
from pathlib import Path

KINDS = {
    2: "bitmap",
    3: "icon",
    4: "menu",
    5: "dialog",
    14: "icon group",
    16: "version",
    24: "manifest",
}
MUST_HAVE = ("dialog", "menu", "version", "manifest")


def read_id(data, at):
    """A type or name in a .res header: an ordinal after 0xFFFF, or a UTF-16 string."""
    if data[at : at + 2] == b"\xff\xff":
        return struct.unpack_from("<H", data, at + 2)[0], at + 4
    end = at
    while data[end : end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def resources(path):
    """Each resource of a .res file, by kind, name and language: its bytes. The memory flags are
    left out; a linker does not carry them into the exe."""
    data = Path(path).read_bytes()
    found = {}
    at = 0
    while at < len(data):
        size, header = struct.unpack_from("<II", data, at)
        kind, after = read_id(data, at + 8)
        name, after = read_id(data, after)
        language = struct.unpack_from("<H", data, ((after + 3) & ~3) + 6)[0]
        if kind:  # not the empty entry that opens the file
            found[KINDS.get(kind, kind), name, language] = data[at + header : at + header + size]
        at = (at + header + size + 3) & ~3
    return found


def main(windres, llvm_rc, script, windows_h):
    folder = str(Path(script).parent)
    with tempfile.TemporaryDirectory() as out:
        gnu, microsoft = Path(out, "windres.res"), Path(out, "llvm-rc.res")
        subprocess.run([windres, "-c", "65001", "-I", folder, "-O", "res", script, gnu], check=True)
        # llvm-rc does not act on #pragma code_page: the code page is given here. It reads any
        # argument that starts with a slash as an option (/check/... as /C heck/...), so the
        # script is named from its own folder.
        command = [llvm_rc, "/C", "65001", "/I", windows_h, "/I", ".", "/FO", microsoft]
        subprocess.run(command + [Path(script).name], check=True, cwd=folder)
        gnu_res, ms_res = resources(gnu), resources(microsoft)
    made = {key[0] for key in gnu_res}
    faults = [f"windres made no {kind} resource" for kind in MUST_HAVE if kind not in made]
    for key in sorted(gnu_res.keys() | ms_res.keys(), key=str):
        what = f"{key[0]} {key[1]} (language {key[2]})"
        if key not in ms_res or key not in gnu_res:
            faults.append(f"{what}: only from {'windres' if key in gnu_res else 'llvm-rc'}")
        elif gnu_res[key] != ms_res[key]:
            a, b = gnu_res[key], ms_res[key]
            at = next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))
            faults.append(
                f"{what} differs from byte {at} (windres {len(a)} bytes, llvm-rc {len(b)})"
            )
    for fault in faults:
        print(fault)
    print(
        f"{len(gnu_res)} resources from windres, {len(ms_res)} from llvm-rc, {len(faults)} differ"
    )
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
