#!/usr/bin/env bash
# Runs a Windows program under wine the way the project's checks do:
#   tools/wine-run.sh [--prefix DIR] PROGRAM [ARGUMENT...]
# In a private prefix (--prefix, else $WINEPREFIX, which must exist already:
# tools/windows-check.sh prepares it), quiet, with no Mono or Gecko prompts.
# Wine hands no QT_* variable to a program: each one set here reaches it
# through its WINEQT_* twin. With the offscreen platform the program gets
# real fonts. The run is bounded by WINE_RUN_TIMEOUT seconds (default 300).
set -euo pipefail
wine_dir=/usr/lib/wine
if [ "${1:-}" = --prefix ]; then
  export WINEPREFIX=$2
  shift 2
fi
: "${WINEPREFIX:?name the wine prefix with --prefix or WINEPREFIX}"
[ $# -gt 0 ] || { echo "usage: $0 [--prefix DIR] PROGRAM [ARGUMENT...]" >&2; exit 2; }
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=} WINEARCH=win64
for name in $(compgen -e); do
  case $name in
    QT_*) export "WINE$name=${!name}" ;;
  esac
done
if [ "${QT_QPA_PLATFORM:-}" = offscreen ]; then
  export WINEQT_QPA_FONTDIR=${WINEQT_QPA_FONTDIR:-'Z:\usr\share\fonts\truetype\dejavu'}
fi
# QtTest and log output on stderr rather than the debug channel.
export WINEQT_FORCE_STDERR_LOGGING=${WINEQT_FORCE_STDERR_LOGGING:-1}
# The first program in a new wine server starts the server and wine's own
# services, which outlive it and keep its output open: a test runner reading
# that output would wait for them. So the server and the services are started
# here with their output going nowhere, the server staying a minute after its
# last program (it answers 2 when one runs already).
if "$wine_dir/wineserver" -p60 >/dev/null 2>&1 </dev/null; then
  timeout 120 "$wine_dir/wine64" wineboot >/dev/null 2>&1 </dev/null || true
fi
# The program ends with its own code; a hung one is stopped (124).
exec timeout --kill-after=10 "${WINE_RUN_TIMEOUT:-300}" "$wine_dir/wine64" "$@"
