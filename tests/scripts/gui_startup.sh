#!/usr/bin/env bash
# The desktop program under a virtual X server: the main window at 1280x1024,
# a second copy ending silently, a start after a killed copy, the resolution
# message at 800x600, the reason shown when there is no settings file, and the
# first start of an installed copy (bin/ beside share/veltrix) with an empty
# HOME: the per-user folder made and named in the main window's status line.
# Usage: gui_startup.sh BUILD_DIR SOURCE_DIR. Exit 77 = skipped (no GUI build or no Xvfb).
set -uo pipefail
BUILD=$(cd "$1" && pwd)
BIN="$BUILD/bin/veltrix"
SHOTS="$BUILD/screenshots"
CAPTION="VELTRIX Version 2.8.3"

[ -x "$BIN" ] || { echo "skipped: $BIN not built"; exit 77; }
for tool in Xvfb xwininfo import; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool missing"; exit 77; }
done

WORK=$(mktemp -d)
PROG="$WORK/program folder"  # a space in the path on purpose
mkdir -p "$PROG" "$SHOTS"
cp "$BIN" "$BUILD/bin/VELTRIX.ctx" "$PROG/"
[ -d "$BUILD/bin/help" ] && cp -r "$BUILD/bin/help" "$PROG/"

PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill -KILL "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }

# Starts a virtual X server of the given screen size; sets DISPLAY and XPID.
start_x() {
  local fifo="$WORK/displayfd.$1"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XPID=$!
  PIDS+=("$XPID")
  for _ in $(seq 200); do
    [ -s "$fifo" ] && break
    sleep 0.1
  done
  [ -s "$fifo" ] || fail "Xvfb $1 did not start"
  export DISPLAY=":$(head -n1 "$fifo")"
}

stop_x() { kill -KILL "$XPID" 2>/dev/null; wait "$XPID" 2>/dev/null; }

# Lists mapped top-level windows as lines: "name" WIDTHxHEIGHT.
windows() { xwininfo -root -children 2>/dev/null | sed -n 's/^ *0x[0-9a-f]* \("[^"]*"\).* \([0-9]*x[0-9]*\)+.*/\1 \2/p'; }

# Waits up to $2 tenths of a second for a window line matching the pattern $1.
wait_window() {
  for _ in $(seq "$2"); do
    windows | grep -q -- "$1" && return 0
    sleep 0.1
  done
  return 1
}

# Waits up to $2 tenths of a second for process $1 to end; sets RC to its exit
# code or to "timeout". (Not in a command substitution: wait needs this shell.)
wait_exit() {
  RC=timeout
  for _ in $(seq "$2"); do
    if ! kill -0 "$1" 2>/dev/null; then
      wait "$1"
      RC=$?
      return 0
    fi
    sleep 0.1
  done
}

# Every start gets a HOME of its own: a copy that chooses the per-user folder
# never reaches the real one.
HOMEDIR="$WORK/home"
mkdir -p "$HOMEDIR"
run_veltrix() {
  env -u QT_QPA_PLATFORM -u XDG_DATA_HOME HOME="$HOMEDIR" VELTRIX_LOG=1 "${1:-$PROG/veltrix}" >>"$WORK/veltrix.log" 2>&1 &
  LAST=$!
  PIDS+=("$LAST")
}

# ---- 1280x1024: the main window, a second copy, a start after a crash ----
start_x 1280x1024x24
run_veltrix
first=$LAST
wait_window "\"$CAPTION\"" 600 || fail "main window \"$CAPTION\" did not appear"
sleep 0.5  # let it paint
import -window root "$SHOTS/gui_startup_1280x1024.png" || fail "screenshot failed"
[ -d "$PROG/cache" ] && [ -d "$PROG/data" ] || fail "cache and data folders not created"

# A second copy only finds the lock and ends, but on a loaded machine even its
# start can take a while: it gets 30 s, and the message says so.
second_copy_tenths=300
run_veltrix
second=$LAST
wait_exit "$second" "$second_copy_tenths"
[ "$RC" = 0 ] || fail "second copy: exit $RC (expected 0 within $((second_copy_tenths / 10)) s)"
[ "$(windows | grep -c -- "\"$CAPTION\"")" = 1 ] || fail "second copy showed a window"
kill -0 "$first" 2>/dev/null || fail "first copy ended"

# A crashed copy leaves its lock file behind; the next start must not mind.
kill -KILL "$first"
wait "$first" 2>/dev/null
[ -e "$PROG/VELTRIX.lock" ] || fail "no lock file in the program folder"
run_veltrix
again=$LAST
wait_window "\"$CAPTION\"" 600 || fail "start after a killed copy was refused"
kill -KILL "$again"
wait "$again" 2>/dev/null
stop_x

# ---- 800x600: the resolution message, then the end ----
start_x 800x600x24
run_veltrix
small=$LAST
# The message box is titled "VELTRIX" (Qt's own 1x1 group leader carries the name too).
wait_window '^"VELTRIX" [0-9][0-9]*x[0-9][0-9]' 600 || true
box=$(windows | grep '^"VELTRIX" ' | grep -v ' 1x1$')
[ -n "$box" ] || fail "no resolution message at 800x600"
windows | grep -q -- "\"$CAPTION\"" && fail "main window shown at 800x600"
sleep 0.5
import -window root "$SHOTS/gui_startup_800x600.png" || fail "screenshot failed"
if command -v xdotool >/dev/null; then
  # OK on the message ends the program.
  xdotool search --onlyvisible --name '^VELTRIX$' windowactivate --sync key Return >/dev/null 2>&1 ||
    xdotool key Return
  wait_exit "$small" 200
  [ "$RC" != timeout ] || fail "program did not end after the resolution message"
fi
kill -KILL "$small" 2>/dev/null
stop_x

# ---- no settings file: one message with the reason, then the end ----
# Without the settings file beside it the program counts as installed; with no
# shipped settings (../share/veltrix) to copy, it cannot start.
start_x 1280x1024x24
rm "$PROG/VELTRIX.ctx"
run_veltrix
nosettings=$LAST
wait_window '^"VELTRIX" [0-9][0-9]*x[0-9][0-9]' 600 || true
windows | grep '^"VELTRIX" ' | grep -qv ' 1x1$' || fail "no message after a start without settings"
windows | grep -q -- "\"$CAPTION\"" && fail "main window shown without settings"
sleep 0.5
import -window root "$SHOTS/gui_startup_no_settings.png" || fail "screenshot failed"
if command -v xdotool >/dev/null; then
  xdotool search --onlyvisible --name '^VELTRIX$' windowactivate --sync key Return >/dev/null 2>&1 ||
    xdotool key Return
  wait_exit "$nosettings" 300
  [ "$RC" != timeout ] && [ "$RC" != 0 ] || fail "start without settings: exit $RC (expected a failure)"
  windows | grep -q -- '"VELTRIX' && fail "a window is left after a failed start"
fi
kill -KILL "$nosettings" 2>/dev/null
[ ! -e "$HOMEDIR/.local/share/veltrix/VELTRIX.ctx" ] || fail "settings made up without shipped ones"
stop_x

# ---- an installed copy: the per-user folder on first start ----
INST="$WORK/inst"
mkdir -p "$INST/bin" "$INST/share/veltrix"
cp "$BIN" "$INST/bin/"
cp "$BUILD/bin/VELTRIX.ctx" "$INST/share/veltrix/"
USERDIR="$HOMEDIR/.local/share/veltrix"
rm -rf "$USERDIR"
start_x 1280x1024x24
: >"$WORK/veltrix.log"
run_veltrix "$INST/bin/veltrix"
installed=$LAST
wait_window "\"$CAPTION\"" 600 || fail "installed copy: main window did not appear: $(tail -3 "$WORK/veltrix.log")"
for _ in $(seq 50); do
  grep -q "status: " "$WORK/veltrix.log" && break
  sleep 0.1
done
grep -qF "status: 設定と取り込んだデータは「$USERDIR」に保存されます。" "$WORK/veltrix.log" ||
  fail "first start did not name the per-user folder: $(grep status "$WORK/veltrix.log")"
cmp -s "$USERDIR/VELTRIX.ctx" "$INST/share/veltrix/VELTRIX.ctx" || fail "shipped settings not copied in"
[ -d "$USERDIR/cache" ] && [ -d "$USERDIR/data" ] || fail "per-user cache and data not created"
[ ! -e "$INST/bin/cache" ] || fail "an installed copy wrote beside its executable"
sleep 0.5
import -window root "$SHOTS/gui_startup_first_start.png" || fail "screenshot failed"
kill -KILL "$installed"
wait "$installed" 2>/dev/null
# The second start says nothing more.
: >"$WORK/veltrix.log"
run_veltrix "$INST/bin/veltrix"
installed=$LAST
wait_window "\"$CAPTION\"" 600 || fail "installed copy: second start failed"
grep -q "保存されます" "$WORK/veltrix.log" && fail "the second start spoke of the folder again"
kill -KILL "$installed"
wait "$installed" 2>/dev/null
stop_x

echo "gui_startup: all checks passed; screenshots in $SHOTS"
