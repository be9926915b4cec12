#!/usr/bin/env bash
# Runs one Windows program of a build tree under Wine.
#
#   wine-run.sh <program.exe> [args...]   run it (stdout without CR)
#   wine-run.sh --heap-check <program.exe> [args...]
#                                         run it under Wine's heap checks and
#                                         fail when they report anything
#   wine-run.sh --prepare                 create the prefix, display and server only
#   wine-run.sh --display                 print the DISPLAY the programs use
#   wine-run.sh --stop                    stop this tree's wineserver and private Xvfb
#   wine-run.sh --can-run                 succeed when this machine can run the tree's
#                                         programs; otherwise say why and fail
#
# QV_WINE_STATE names the folder (inside the build tree) that holds the private
# prefix and the display record. QV_WINE_LOADER names the Wine loader the
# programs start under: wine64, or wine (from wine32) for a 32-bit tree; the
# prefix is a 64-bit one in both trees, and Wine runs 32-bit programs in it.
# DISPLAY is used as it is when QV_USE_DISPLAY=1; otherwise a private Xvfb at
# 24 bits per pixel is started once and reused, so tests never draw on the
# user's screen.
set -euo pipefail

state=${QV_WINE_STATE:?QV_WINE_STATE must name a folder in the build tree}
mkdir -p "$state"
state=$(cd "$state" && pwd)
export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINE64=/usr/lib/wine/wine64
WINE=/usr/lib/wine/${QV_WINE_LOADER:-wine64}
WINESERVER=/usr/lib/wine/wineserver

lock() { exec 9>"$state/lock"; flock 9; }
unlock() { flock -u 9; }

start_xvfb() {
  local n
  for n in $(seq 90 190); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.05
  done
  echo ":$n $pid" >"$state/xvfb"
}

ensure_display() {
  if [ "${QV_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then return; fi
  local disp pid
  if [ -f "$state/xvfb" ]; then
    read -r disp pid <"$state/xvfb"
    if kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X${disp#:}" ]; then
      export DISPLAY=$disp
      return
    fi
  fi
  start_xvfb
  read -r disp pid <"$state/xvfb"
  export DISPLAY=$disp
}

reg_add() { "$WINE64" reg add "$1" /v "$2" /d "$3" /f >/dev/null 2>&1; }

ensure_prefix() {
  [ -f "$WINEPREFIX/.qv-ready" ] && return
  "$WINE64" wineboot -i >/dev/null 2>&1 || true
  # Without these Wine hands window frames to an X window manager and nothing
  # painted in the non-client area is ever seen.
  reg_add 'HKCU\Software\Wine\X11 Driver' Decorated N
  reg_add 'HKCU\Software\Wine\X11 Driver' Managed N
  # Faces the program asks for, mapped to a font that has the Chinese glyphs.
  local face
  for face in Tahoma "MS Sans Serif" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" \
              "Segoe UI" SimSun "宋体" "Microsoft YaHei" Arial; do
    reg_add 'HKCU\Software\Wine\Fonts\Replacements' "$face" "WenQuanYi Micro Hei"
  done
  "$WINESERVER" -w || true
  touch "$WINEPREFIX/.qv-ready"
}

# A program that faults ends at once with its backtrace on stderr: Wine's
# crash dialog would wait on the virtual screen until the test times out.
# Set once per prefix, also in prefixes made before this setting.
ensure_no_crash_dialog() {
  [ -f "$WINEPREFIX/.qv-no-crash-dialog" ] && return
  "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  touch "$WINEPREFIX/.qv-no-crash-dialog"
}

ensure_server() {
  # A persistent server keeps each test process's start fast; it exits at
  # once when one is already running for this prefix.
  ( "$WINESERVER" -p >/dev/null 2>&1 & )
}

# A 32-bit tree needs wine32 and a kernel that runs i386 code; without them
# every program would fail to start, each in its own confusing way.
ensure_loader() {
  [ "$WINE" = "$WINE64" ] && return
  "$WINE" --version >/dev/null 2>&1 && return
  echo "wine-run: $WINE cannot run here; 32-bit programs need wine32:i386 (tools/install-deps.sh)" \
       "and a kernel that runs i386 code" >&2
  exit 1
}

prepare() {
  ensure_loader
  lock
  ensure_display
  ensure_prefix
  ensure_no_crash_dialog
  ensure_server
  unlock
}

# Wine's heap checks (warn+heap) fill every freed block with 0xFEEEFEEE and
# hold it back from reuse for a while, so a use after free faults at once
# instead of corrupting quietly; a block freed twice or a pointer that is no
# block of the heap is reported on an err:heap or warn:heap line. The Windows
# code runs under no sanitizer: this is its stand-in, and every such line is
# a fault (the programs under test make no heap call that is meant to fail).
# Programs that the one under test starts inherit WINEDEBUG and report on
# the same stderr.
heap_check=0
if [ "${1:-}" = --heap-check ]; then
  heap_check=1
  shift
  export WINEDEBUG=-all,err+heap,warn+heap
fi

case "${1:-}" in
  --can-run) ensure_loader; exit 0 ;;
  --prepare) prepare; exit 0 ;;
  --display) prepare; echo "$DISPLAY"; exit 0 ;;
  --stop)
    "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ -f "$state/xvfb" ]; then
      read -r _ pid <"$state/xvfb"; kill "$pid" 2>/dev/null || true; rm -f "$state/xvfb"
    fi
    exit 0 ;;
  "") echo "usage: wine-run.sh <program.exe> [args...]" >&2; exit 2 ;;
esac

prepare
# Wine's own helper processes (the desktop, services) may outlive the
# program and inherit its output handles; a pipe would then never close, so
# the output goes through files.
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
rc=0
"$WINE" "$@" >"$out" 2>"$err" </dev/null || rc=$?
# Under ctest, about once in two thousand runs a test program fails at once
# with no output at all and passes when run again; the cause is not known. A
# program that ran prints (every test program does, and a fault brings its
# backtrace), so under the checks a silent failure is started once more, and
# says so; a real failure, which always prints, is never run twice.
if [ $heap_check = 1 ] && [ $rc != 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ]; then
  echo "wine-run: $1 ended at start ($rc) with no output; started once more" >&2
  rc=0
  "$WINE" "$@" >"$out" 2>"$err" </dev/null || rc=$?
fi
tr -d '\r' <"$out"
tr -d '\r' <"$err" >&2
if [ $heap_check = 1 ]; then
  # A use after free ends in a fault whose exit status Wine sometimes loses
  # (0 after the debugger ended the process), so its report counts too.
  faults=$(grep -cE '^[0-9a-f]+:(err|warn):heap:|^wine: Unhandled ' "$err" || true)
  if [ "$faults" != 0 ]; then
    echo "wine-run: $faults heap or memory fault(s) reported above (:heap: or Unhandled lines)" >&2
    [ $rc = 0 ] && rc=86
  fi
fi
exit $rc
