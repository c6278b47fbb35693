#!/usr/bin/env bash
# The desktop program driven as a person drives it: real X events (xdotool's
# XTEST input, no Qt Test) under a virtual X server with the openbox window
# manager, on a sample program folder. Opens a race, calculates, chooses a
# runner, opens the windows of the view menu, ends both simulations with Esc
# and holds the up arrow to the shortest frame interval, then stops a slowed
# "今週のレース" with キャンセル, with Esc and by closing the window.
# (The week's races are not run yet: the result simulation has no runners, so
# the main window's simulation runs as the prediction, twice.)
# Outcomes are read from the program's log lines (VELTRIX_LOG) and the window
# list; a screenshot of each step goes to BUILD_DIR/screenshots/real_input_*.png.
# Usage: gui_real_input.sh BUILD_DIR SOURCE_DIR. Exit 77 = skipped (no GUI build,
# no Xvfb, openbox or xdotool).
set -uo pipefail
BUILD=$(cd "$1" && pwd)
BIN="$BUILD/bin/veltrix"
CLI="$BUILD/bin/veltrix-cli"
SHOTS="$BUILD/screenshots"
CAPTION="VELTRIX Version 2.8.3"

[ -x "$BIN" ] || { echo "skipped: $BIN not built"; exit 77; }
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool missing"; exit 77; }
done

WORK=$(mktemp -d)
PROG="$WORK/program"
LOG="$WORK/veltrix.log"
mkdir -p "$SHOTS"
PIDS=()
cleanup() {
  pkill -KILL -P "$WATCHDOG" 2>/dev/null
  for p in "${PIDS[@]}"; do kill -KILL "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
# The whole run is bounded: a step that hangs ends it.
# (A sleep killed by the clean-up ends the watchdog without a word.)
( sleep 240 && { echo "FAIL: the run took more than 240 s"; kill -TERM $$; } ) 2>/dev/null &
WATCHDOG=$!
PIDS+=("$WATCHDOG")

fail() {
  echo "FAIL: $*"
  import -window root "$SHOTS/real_input_failure.png" 2>/dev/null
  echo "--- program log"; tail -n 40 "$LOG"
  exit 1
}
shot() { import -window root "$SHOTS/real_input_$1.png" 2>/dev/null || fail "screenshot $1"; }

# Waits up to $2 tenths of a second for a log line matching the pattern $1
# after line $MARK of the log.
MARK=0
mark() { MARK=$(wc -l <"$LOG"); }
wait_log() {
  for _ in $(seq "$2"); do
    tail -n +"$((MARK + 1))" "$LOG" | grep -q -- "$1" && return 0
    sleep 0.1
  done
  return 1
}
last_log() { tail -n +"$((MARK + 1))" "$LOG" | grep -- "$1" | tail -n 1; }

# The id of the visible window named exactly $1, waiting up to $2 tenths of a second.
wait_window() {
  for _ in $(seq "$2"); do
    WIN=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$WIN" ] && return 0
    sleep 0.1
  done
  return 1
}
gone_window() {
  for _ in $(seq "$2"); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
# Clicks at x y of window $1 (its client area).
click_in() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove --sync $((X + $2)) $((Y + $3)) click "${4:-1}"
}
keys() { xdotool key --delay 120 "$@"; }
activate() { xdotool windowactivate --sync "$1" 2>/dev/null; sleep 0.3; }

# ---- a sample week with a year of results, and a slow JV-Link stand-in --------
"$CLI" sample "$PROG" --seed 5 >/dev/null 2>&1 || fail "sample folder"
"$CLI" --root "$PROG" results-db build >/dev/null 2>&1 || fail "results database"
RACE=$("$CLI" --root "$PROG" load | awk -F'\t' '$1 == "race" { print $2; exit }')
cp "$BIN" "$PROG/"
[ -d "$BUILD/bin/help" ] && cp -r "$BUILD/bin/help" "$PROG/"
# Every record read waits: a weekly import then runs long enough to be stopped.
printf 'ReadDelayMs=3\r\n' >"$PROG/jvlink/faults.txt"

FIFO="$WORK/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$FIFO" >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 200); do [ -s "$FIFO" ] && break; sleep 0.1; done
[ -s "$FIFO" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$FIFO")"
openbox --sm-disable >/dev/null 2>&1 &
PIDS+=($!)
sleep 1

env -u QT_QPA_PLATFORM VELTRIX_LOG=1 "$PROG/veltrix" >>"$LOG" 2>&1 &
APP=$!
PIDS+=("$APP")
wait_window "$CAPTION" 300 || fail "the main window did not appear"
MAIN=$WIN
activate "$MAIN"
sleep 1
shot 01_main

# ---- open a race from the import window's race list ----------------------------
mark
keys alt+f i
wait_window "レース情報のインポート" 50 || fail "the import window did not open from the File menu"
IMPORT=$WIN
shot 02_import_window
# The 表示 check box of the list's 11th race (冬桜カップ).
click_in "$IMPORT" 473 349
wait_log "change: RaceOpened" 50 || fail "choosing a race in the list did not open it"
keys Escape
gone_window "レース情報のインポート" 50 || fail "Esc did not close the idle import window"
shot 03_race_open

# ---- calculate from the palette, choose a runner --------------------------------
mark
activate "$MAIN"
keys alt+v s
wait_window "選択パレット" 50 || fail "the palette did not open"
PALETTE=$WIN
click_in "$PALETTE" 453 576  # the calculate button
wait_log "change: CalculationDone" 100 || fail "the palette's calculate button did not calculate"
shot 04_calculated
mark
activate "$MAIN"
click_in "$MAIN" 302 117  # the name cell of the third runner
wait_log "change: RunnerChosen" 50 || fail "a click on a runner's name did not choose it"
shot 05_runner

# ---- every window of the view menu ------------------------------------------------
activate "$MAIN"
keys alt+v r
wait_window "予測R指数グラフ" 50 || fail "R指数グラフ opened no graph window"
activate "$MAIN"
keys alt+v h
wait_window "ヒストグラム" 50 || fail "the histogram did not open"
activate "$MAIN"
keys alt+v m
wait_window "ヒートマップ" 50 || fail "the heat map did not open"
activate "$MAIN"
keys alt+v k Return
wait_window "買い目リスト" 50 || fail "the bet list did not open"
shot 06_view_windows

# ---- the prediction, ended with Esc after a few frames ----------------------------
mark
activate "$MAIN"
keys alt+v y
wait_log "question: 予測シミュレーションを開始しますか？" 50 || fail "no question before the prediction"
keys Return
sleep 1.5
shot 07_prediction
keys Escape
wait_log "simulation ended: .* escaped=1" 50 || fail "Esc did not end the prediction"
frames=$(last_log "simulation ended" | sed 's/.*frames=\([0-9]*\).*/\1/')
[ "$frames" -gt 3 ] && [ "$frames" -lt 200 ] || fail "the prediction ran $frames frames before Esc"

# ---- the prediction again, the up arrow held to the shortest interval -------------
mark
activate "$MAIN"
keys alt+v y
wait_log "question: 予測シミュレーションを開始しますか？" 50 || fail "no question before the second prediction"
keys Return
sleep 0.5
xdotool keydown Up
sleep 2
xdotool keyup Up
shot 08_prediction_faster
keys Escape
wait_log "simulation ended: .* escaped=1" 50 || fail "Esc did not end the second prediction"
interval=$(last_log "simulation ended" | sed 's/.*interval=\([0-9]*\).*/\1/')
[ "$interval" = 8 ] || fail "holding the up arrow left the interval at $interval ms, not the shortest 8"

# ---- the race model window's simulation ---------------------------------------------
mark
activate "$MAIN"
# A past run of the runner's pane (2026/05/23), its race menu, the first item.
click_in "$MAIN" 146 864 3
sleep 0.5
keys Down Return
wait_window "RACE MODEL SIMULATOR" 50 || fail "the race model window did not open from the pane"
MODEL=$WIN
click_in "$MODEL" 76 537  # START
wait_log "question: 結果シミュレーションを開始しますか？" 50 || fail "no question before the race model's simulation"
keys Return
sleep 1.5
shot 09_race_model
keys Escape
wait_log "simulation ended: .* escaped=1" 50 || fail "Esc did not end the race model's simulation"
click_in "$MODEL" 406 537  # CLOSE
gone_window "RACE MODEL SIMULATOR" 50 || fail "CLOSE left the race model window"

# ---- 今週のレース on the slowed stand-in: キャンセル, Esc, the close box -------------
stop_import() {  # $1: how; $2: screenshot name
  mark
  activate "$MAIN"
  keys alt+f i
  wait_window "レース情報のインポート" 50 || fail "the import window did not open ($1)"
  IMPORT=$WIN
  click_in "$IMPORT" 240 32  # 今週のレース
  wait_log "question: " 50 || fail "no question before 今週のレース ($1)"
  wait_window "VELTRIX" 50 || fail "the question box did not show ($1)"
  activate "$WIN"
  keys y  # はい(&Y)
  wait_log "change: CommandStarted" 50 || fail "今週のレース did not start ($1)"
  sleep 2
  shot "$2"
  case "$1" in
    cancel) click_in "$IMPORT" 589 437 ;;  # キャンセル
    esc) activate "$IMPORT"; keys Escape ;;
    close) activate "$IMPORT"; keys alt+F4 ;;
  esac
  wait_log "message: レース情報の更新を中止しました。" 150 || fail "the import ran on after $1"
  wait_window "VELTRIX" 50 && { activate "$WIN"; keys Return; }
  if [ "$1" = cancel ]; then
    wait_window "レース情報のインポート" 10 || fail "the import window went away on キャンセル"
    activate "$IMPORT"
    keys Escape
    gone_window "レース情報のインポート" 50 || fail "Esc did not close the idle import window"
  else
    # Esc and the close box close the window, once the import has stopped.
    gone_window "レース情報のインポート" 50 || fail "the import window stayed after it stopped ($1)"
  fi
  grep -q "message: 今週のレース情報を更新しました。" "$LOG" && fail "the import ran to its end after $1"
}
stop_import cancel 10_import_cancel
stop_import esc 11_import_esc
stop_import close 12_import_close

kill -0 "$APP" 2>/dev/null || fail "the program ended during the run"
echo "real input: race opened, calculated, runner chosen, view windows, simulations ended with Esc, interval 8 ms, import stopped three ways"
exit 0
