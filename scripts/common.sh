# Shared by the scripts and the ctest entries: packages, builds, Wine prefixes and X servers.
# Source it; it defines functions only.

tesselmark_root() { cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd; }

# Installs the Debian packages that are missing (apt-get update once, first). Each package once,
# beside what shows it installed: a command on PATH, or a path.
ensure_packages() {
  local missing=() need package
  while read -r need package; do
    if [[ $need == /* ]]; then [ -e "$need" ]; else command -v "$need" >/dev/null; fi ||
      missing+=("$package")
  done <<'PACKAGES'
cmake cmake
make make
x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64
clang clang
ld.lld lld
llvm-rc llvm
/usr/src/googletest/CMakeLists.txt googletest
wine wine
/usr/lib/wine/wine64 wine64
Xvfb xvfb
xdotool xdotool
import imagemagick
zip zip
unzip unzip
python3 python3
clang-format clang-format
black black
/usr/share/fonts/truetype/horai-umefont fonts-horai-umefont
/usr/share/wine/fonts fonts-wine
PACKAGES
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

# build_game [TARGET...]: configures and builds everything, or only the TARGETs.
build_game() {
  (cd "$(tesselmark_root)" && cmake --preset mingw >/dev/null &&
    cmake --build --preset mingw ${1:+--target} "$@")
}

# set_registry: imports the registry lines on standard input (.reg lines without the header: a key
# in brackets, [-KEY] deletes one, "name"=- deletes a value) into the prefix WINEPREFIX. regedit
# reads them as UTF-16, so any text goes in as it is. It never reports a failure (its exit status
# is 0 whatever happened): a caller that must know reads the value back.
set_registry() {
  local reg status
  reg=$(mktemp --suffix=.reg) || return
  { printf '\xff\xfe' && { printf 'Windows Registry Editor Version 5.00\n\n' && cat; } |
    iconv -f UTF-8 -t UTF-16LE; } >"$reg" &&
    # No pipe: the Wine services that regedit may start would keep it open.
    wine regedit /S "$reg" </dev/null >/dev/null 2>&1
  status=$?
  rm -f "$reg"
  return $status
}

# prefix_setup GRAPHICS USE: the registry of a prefix (prepare_prefix): Japanese font replacements,
# Wine drawing its own frames, headless under "null", no debugger for "tests".
prefix_setup() {
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
  for face in "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "MS Sans Serif" "System"; do
    printf '"%s"="Ume UI Gothic"\n' "$face"
  done
  printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Decorated"="N"\n"Managed"="N"\n'
  if [ "$1" = null ]; then
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n"Graphics"="null"\n'
  fi
  if [ "$2" = tests ]; then
    printf '\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug]\n'
    printf '"Debugger"="no-debugger"\n'
  fi
}

# prepare_prefix DIR [x11|null] [tests]: makes the Wine prefix, with Japanese font replacements and
# Wine drawing its own frames; "null" makes it headless. The replacement face has wide Latin
# letters and narrow kana, the proportions the dialog layouts were made for, so every dialog text
# reads whole. In a "tests" prefix a crash ends the process at once: Wine's debugger, which would
# wait for ever, is named after a program that does not exist. The prefix's marker is named by a
# hash of its registry set-up and of this function: a prefix made otherwise is made again (its
# records and DPI stay).
prepare_prefix() {
  local prefix=$1 graphics=${2:-x11} use=${3:-} setup ready
  setup=$(prefix_setup "$graphics" "$use")
  ready=$(printf '%s\n' "$setup" "$(declare -f prepare_prefix)" | sha256sum | cut -c1-16)
  ready="$prefix/.tesselmark-ready-$ready"
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
  [ ! -f "$ready" ] || return 0
  mkdir -p "$prefix"
  # No .NET or HTML engine to install: the game needs neither, and there is no network. No menu
  # entries either: making a prefix writes nothing into the user's home outside it.
  WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d" wine wineboot -i </dev/null \
    >/dev/null 2>&1 || true
  # The caption-button symbols; the text faces stay replaced by the Japanese one.
  cp -n /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  set_registry <<<"$setup"
  # The tests start their prefix's server anew, on their own display: they wait for this one to
  # be gone. A player's game goes on with it.
  [ "$use" != tests ] || wineserver -w
  rm -f "$prefix"/.tesselmark-ready-* && touch "$ready"
}

# prepare_test_prefixes BUILD: the tests' prefixes in the build folder BUILD, made side by side: the
# unit suite's (headless) and the end-to-end run's (X11 driver).
prepare_test_prefixes() {
  local units e2e
  (prepare_prefix "$1/wineprefix" null tests) &
  units=$!
  (prepare_prefix "$1/wineprefix-e2e" x11 tests) &
  e2e=$!
  wait "$units" && wait "$e2e"
}

# start_xvfb: a private X server on a free display that it picks itself (DISPLAY, XVFB_PID).
start_xvfb() {
  local told
  told=$(mktemp -u) && mkfifo "$told"
  # -noreset: by default the server resets whenever its last client leaves, and a client that
  # connects during the reset fails (Wine: "no driver could be loaded", no window at all).
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$told" >/dev/null 2>&1 &
  XVFB_PID=$!
  DISPLAY=":$(head -n 1 "$told")" && export DISPLAY && rm -f "$told"
}

stop_xvfb() {
  [ -z "${XVFB_PID:-}" ] || { kill "$XVFB_PID" && wait "$XVFB_PID"; } 2>/dev/null || true
}

# Starts the prefix's wineserver and services up front, so that no test inherits them; none of
# them keeps the caller's output either (ctest waits for the end of an entry's output, for ever
# while a server holds it). A server left by a run that stopped early goes first.
start_wine() {
  stop_wine
  wineserver -p </dev/null >/dev/null 2>&1 && wine wineboot </dev/null >/dev/null 2>&1
}

# Waits for the server to be gone: a wine started while the old server shuts down can hang.
stop_wine() { wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; }
