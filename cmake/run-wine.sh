#!/usr/bin/env bash
# Runs a Windows test program under Wine, in a prefix made once per user.
# A 32-bit program needs a machine that can execute 32-bit Linux programs
# (Wine's 32-bit loader is one); where that is impossible, the test is
# reported as skipped (exit 77), and the same tests still run in the 64-bit
# build.
set -euo pipefail
exe="$1"

machine=$(od -An -tx2 -j $(( $(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ') + 4 )) -N2 "$exe" | tr -d ' ')
case "$machine" in
  014c) loader=/usr/lib/wine/wine ;;
  8664) loader=/usr/lib/wine/wine64 ;;
  *) echo "run-wine: $exe is not a Windows program I know (machine $machine)" >&2; exit 1 ;;
esac
if [ "$machine" = 014c ] && ! "$loader" --version >/dev/null 2>&1; then
  echo "run-wine: this machine cannot run 32-bit programs; $exe skipped (the 64-bit build runs the same tests)" >&2
  exit 77
fi

prefix="${PIXMOR_WINEPREFIX:-${TMPDIR:-/tmp}/pixmor-wine-$(id -u)}"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINELOADER="$loader"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
      /usr/lib/wine/wineserver64 -w 2>/dev/null || true
    fi
  ) 9>"$prefix.lock"
fi
exec "$loader" "$@"
