#!/usr/bin/env bash
# Installs the bundled sample package with the freshly built installer image into a
# fresh prefix: in a real window when a display is there, else headlessly with the
# bundled script. Prints where the files went.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
prefix=$(mktemp -d /tmp/vorn-demo-XXXXXX)
mkdir -p "$prefix/drive_c/setup"
cp "$build/vorn502-setup" "$prefix/drive_c/setup/"
export VORN_PREFIX="$prefix"

progman_started=
if [ -x "$build/progman" ] && ! "$build/progman" --status >/dev/null 2>&1; then
  "$build/progman" --daemon && progman_started=1
fi

if [ -n "${DISPLAY:-}" ] && [ "${VORN_DISPLAY:-auto}" != headless ]; then
  # Should the display not open, the platform runs headless, and the script drives it.
  echo "Showing the installer on $DISPLAY (prefix $prefix)"
  (cd "$prefix/drive_c/setup" && VORN_DISPLAY=x11 VORN_SCRIPT="$OLDPWD/scripts/demo.script" ./vorn502-setup) || true
else
  echo "No display: installing headlessly with scripts/demo.script (prefix $prefix)"
  trace="$prefix/trace.txt"
  (cd "$prefix/drive_c/setup" && VORN_DISPLAY=headless VORN_SCRIPT="$OLDPWD/scripts/demo.script" \
     VORN_TRACE="$trace" ./vorn502-setup)
  echo "--- what the installer did (trace):"
  grep -E '^(dialog|msgbox|exit)' "$trace" || cat "$trace"
fi

echo "--- installed into C:\\vorn = $prefix/drive_c/vorn:"
ls -l "$prefix/drive_c/vorn" 2>/dev/null || echo "(nothing installed)"
if [ -x "$build/progman" ]; then
  echo "--- Program Manager groups:"
  "$build/progman" --list || true
  [ -n "$progman_started" ] && "$build/progman" --stop || true
fi
