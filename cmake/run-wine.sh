#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of the build's own, made once.
set -euo pipefail
prefix="${PIXMOR_WINEPREFIX:-${TMPDIR:-/tmp}/pixmor-wine-$(id -u)}"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win32
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    [ -f "$prefix/system.reg" ] || WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
  ) 9>"$prefix.lock"
fi
exec wine "$@"
