#!/usr/bin/env bash
# End to end under the Windows compatibility layer: the genuine PE32 installer image
# installs the sample package (expanded by the layer's own LZ32), then installs again
# over it with backups on, keeping the settings. Usage: e2e.sh IMAGE.exe PACKAGE_DIR OUT_DIR
# Exit 77 (skip) when the layer, Xvfb or xdotool is missing.
set -uo pipefail
image=$1 package=$2 out=$3
[ -f "$image" ] || { echo "SKIP: no Windows image at $image (build the win32 preset)"; exit 77; }
for tool in wine wineserver Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (Debian: wine wine32 xvfb xdotool)"; exit 77; }
done
mkdir -p "$out"
work=$(mktemp -d /tmp/vorn-wine-XXXXXX)
export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export XDG_DATA_HOME="$work/xdg-data" XDG_CONFIG_HOME="$work/xdg-config"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
cleanup() { wineserver -k >/dev/null 2>&1; kill "$xvfb" >/dev/null 2>&1; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

wineboot -i >/dev/null 2>&1 || fail "the prefix could not be created"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
wineserver -w

setup="$WINEPREFIX/drive_c/setup"
mkdir -p "$setup"
cp "$image" "$setup/vorn502-setup.exe"

# Waits for a visible window with this exact title; prints the newest one's id (the
# host window, of zero size, has the same title as the install dialog).
window() {
  for _ in $(seq 1 1200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
press() { xdotool windowfocus --sync "$1" key "$2"; }

# Runs the installer (into the directory $chosen through the chooser, when set),
# presses Install, answers the boxes given as "title key" pairs.
run_installer() {
  (cd "$setup" && wine vorn502-setup.exe >>"$work/wine.log" 2>&1) &
  local program=$!
  local dialog
  dialog=$(window "Vorn v5.02 32bit Installation") || { cat "$work/wine.log"; fail "the install dialog did not show"; }
  if [ -n "${chosen:-}" ]; then
    press "$dialog" alt+b
    local chooser
    chooser=$(window "Destination Directory") || fail "the chooser did not show"
    xdotool windowfocus --sync "$chooser" key End shift+Home type "$chosen"
    press "$chooser" Return
    for _ in $(seq 1 100); do
      xdotool search --onlyvisible --name "^Destination Directory\$" >/dev/null 2>&1 || break
      sleep 0.1
    done
    xdotool search --onlyvisible --name "^Destination Directory\$" >/dev/null 2>&1 && fail "OK did not close the chooser"
  fi
  if [ -n "${screenshot:-}" ] && command -v xwd >/dev/null; then
    sleep 0.5
    xwd -id "$dialog" -silent > "$out/$screenshot.xwd" 2>/dev/null
    command -v convert >/dev/null && convert "$out/$screenshot.xwd" "$out/$screenshot.png" 2>/dev/null
  fi
  # Icons off: the layer's Program Manager is not what is checked here.
  press "$dialog" alt+a
  press "$dialog" Return
  while [ $# -gt 0 ]; do
    local box
    box=$(window "$1") || fail "no box \"$1\""
    press "$box" "$2"
    shift 2
  done
  wait "$program"
  wineserver -w
}

vorn="$WINEPREFIX/drive_c/vorn"
screenshot=win32-setup-page run_installer "Vorn Installation" Return
for f in "$package"/*; do
  cmp -s "$f" "$vorn/$(basename "$f")" || fail "$(basename "$f") differs after the first install"
done
echo "first install: the eleven files equal the package"

echo "changed by the user" >> "$vorn/vorn.ini"
cp "$vorn/vorn.ini" "$work/kept.ini"
screenshot= run_installer "Vorn Installation Warning" Return "Vorn Installation" Return
cmp -s "$work/kept.ini" "$vorn/vorn.ini" || fail "the kept settings file was replaced"
for f in vorn32.exe vlink32.exe vorn.hlp ircintro.hlp readme.txt versions.txt; do
  cmp -s "$package/$f" "$vorn/backup/$f" || fail "backup/$f is not the earlier file"
  cmp -s "$package/$f" "$vorn/$f" || fail "$f differs after the second install"
done
echo "second install: settings kept, earlier files in the backup directory"

mkdir -p "$WINEPREFIX/drive_c/games"
chosen='C:\Games\Vorn' screenshot= run_installer "Vorn Installation" Return
for f in "$package"/*; do
  cmp -s "$f" "$WINEPREFIX/drive_c/games/vorn/$(basename "$f")" || fail "$(basename "$f") is not in the chosen directory"
done
echo "third install: into the directory typed in the chooser"
echo "PASS"
