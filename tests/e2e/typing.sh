#!/usr/bin/env bash
# Drives the real program on an X server (Xvfb, openbox) with xdotool: keys
# typed in bursts, with no delay and with 2 ms between keys, in the instant
# windows open and close. Each burst starts the program on a fresh install
# folder, reaches its starting point key by key, types the burst and checks
# what was stored and which windows are open:
#   a  "Data Order", focus on "Daftar Menu": space Escape; the list opens and
#      closes, the order window stays
#   b  focus on "Daftar Meja": space Return, then the order finished key by
#      key; stored with table 1
#   c  a whole order typed in one go; stored whole
#   d  the cash desk, an unpaid order stored: the pick, 40000, pay and
#      confirm; paid 40000 and no message box left open
# Then the whole run: "space Escape" on every list button of the order and
# cashier windows, a whole order typed in one go, and a payment with a move
# to the order window and back in the middle of the amount.
#   typing.sh <program> <e2e_tool> [<burst> <delay ms>]...
#   reshow  clicks and mouse picks in the order window and the cash desk after
#      each was shown again; the order and its payment stored
# Without bursts named: a, b, c and d at 0 and at 2 ms, then "whole 0" and
# "reshow 0". There is no print server: after each save and payment the box
# saying the ticket or receipt did not print comes up, and Return closes it.
# Exit 77 (skipped) only when no X server can be started here.
set -uo pipefail

program=$1
tool=$2
shift 2
if [ -z "${DAPRA_E2E_DISPLAY:-}" ]; then
  for needed in xvfb-run Xvfb openbox xdotool; do
    if ! command -v "$needed" >/dev/null; then
      echo "SKIP: $needed is not installed, no X server to run on"
      exit 77
    fi
  done
  if ! xvfb-run -a true >/dev/null 2>&1; then
    echo "SKIP: no X server starts here (xvfb-run fails)"
    exit 77
  fi
  export DAPRA_E2E_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$program" "$tool" "$@"
fi
if [ $# -eq 0 ]; then
  set -- a 0 b 0 c 0 d 0 a 2 b 2 c 2 d 2 whole 0 reshow 0
fi

work=$(mktemp -d)
pid=
wm=
trap 'kill $pid $wm 2>/dev/null; rm -rf "$work"' EXIT
export CUPS_SERVER=/nonexistent  # no printer: every print fails
unset QT_QPA_PLATFORM
step=

fail() {
  echo "FAIL${step:+ (burst $step)}: $*"
  xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | sed 's/^/  window: /'
  tail -5 "$DAPRA_HOME/../program.log" | sed 's/^/  program: /'
  exit 1
}

# The names of the visible windows, one a line.
windows() {
  xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | sort
}

# Waits (up to 60 s) for a visible window whose title matches. A search
# that meets a window closing under it fails and is tried again.
window() {
  for _ in $(seq 600); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return
    sleep 0.1
  done
  fail "no window \"$1\""
}

# Types the keys one by one, each after the windows of the one before settled.
slowly() {
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.6
  done
}

# Types the keys at once into the window holding the focus, after saying
# which windows the previous keys left open.
type_keys() {
  sleep 2  # the windows of the previous keys settle first
  echo "windows: $(windows | paste -sd '|')"
  echo "keys: $*"
  xdotool key --delay "$delay" "$@"
}

# Starts the program on a fresh install folder (seeded with an unpaid order
# when asked) and logs in as "kasir".
start() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  local home
  home=$(mktemp -d -p "$work")
  export DAPRA_HOME="$home/dapra"
  QT_QPA_PLATFORM=offscreen "$tool" seed "$@" || fail "seeding the install folder"
  "$program" >"$home/program.log" 2>&1 &
  pid=$!
  window "Login Pengguna"
  sleep 0.5
  xdotool type --delay 20 kasir
  xdotool key Tab
  xdotool type --delay 20 rahasia
  xdotool key Return
  window "User: kasir"
  # Keys that come while the window manager hands the focus to a new window
  # go to the window under the pointer: keep it on the main window, off the
  # centre where the other windows open.
  xdotool search --onlyvisible --name "User: kasir" mousemove --window %1 20 300
  sleep 0.5
}

# The program still runs, the stored rows are the ones expected and the
# visible windows are the main window holding the working window named.
expect() {
  sleep 2
  kill -0 "$pid" 2>/dev/null || fail "the program ended"
  local stored
  stored=$(QT_QPA_PLATFORM=offscreen "$tool" check) || fail "reading the database"
  if [ "$stored" != "$1" ]; then
    fail "stored rows differ:
$stored
expected:
$1"
  fi
  local open
  open=$(windows)
  if [ "$open" != "Mirawe Dapra [ User: kasir ]  - [$2]" ]; then
    fail "open windows differ:
$open
expected only the main window holding \"$2\""
  fi
}

unpaid="order Meja 1 Budi 34000 Belum Bayar ETx3 NGx2"
paid="order Meja 1 Budi 34000 Sudah Bayar ETx3 NGx2
paid 40000"

# "Data Order" with the focus on "Daftar Meja": "space Escape" on "Daftar
# Order" moves it there and empties the order number, which "Reset" draws.
order_window() {
  start
  slowly ctrl+o
  window "Data Order"
  sleep 0.5
  slowly space Escape alt+r
}

burst_a() {
  order_window
  slowly space Return space Tab Return
  type_keys space Escape
  expect "" "Data Order"
}

burst_b() {
  order_window
  type_keys space Return
  sleep 1
  slowly space Tab Return space Return 2 Return alt+s Return
  expect "order Meja 1 Budi 25000 Belum Bayar NGx2" "Data Order"
}

burst_c() {
  order_window
  type_keys space Return space Tab Return space Return 2 Return space Down Return 3 Return alt+s Return
  expect "$unpaid" "Data Order"
}

burst_d() {
  start order
  slowly ctrl+b
  window "Data Pembayaran"
  sleep 0.5
  type_keys space Return 4 0 0 0 0 Return alt+y Return
  expect "$paid" "Data Pembayaran"
}

burst_whole() {
  start
  type_keys ctrl+o
  window "Data Order"
  # "Daftar Order" opened and closed at once (the focus moves on to "Daftar
  # Meja"; "Reset" draws the order number the list emptied), then a whole
  # order typed in one go: table 1, waiter 1, 2 x Nasi Goreng, 3 x Es Teh,
  # save; then the other list buttons opened and closed at once.
  type_keys space Escape alt+r
  type_keys space Return space Tab Return space Return 2 Return space Down Return 3 Return alt+s Return
  type_keys space Escape space Escape space Escape
  # The cash desk: the pick and "40"; to the order window and back, where the
  # focus stays in the amount: "000", pay and confirm. Then "space Escape" on
  # "Daftar Order".
  type_keys ctrl+b
  window "Data Pembayaran"
  type_keys space Return 4 0 ctrl+o
  window "Data Order"
  type_keys ctrl+b
  window "Data Pembayaran"
  type_keys 0 0 0 Return alt+y Return
  type_keys space Escape
  sleep 1
  expect "$paid" "Data Pembayaran"
}

# Double-clicks a row (at y, 41 the first, 59 the second) of the list window
# that a click at x y of the main window opens. Coordinates are for the main
# window maximized on 1280x1024.
pick() {
  sleep 2
  echo "click: $1 $2, then the row at y $4 of \"$3\""
  xdotool search --onlyvisible --name "User: kasir" mousemove --window %1 "$1" "$2" click 1
  window "$3"
  sleep 1
  xdotool search --onlyvisible --name "$3" mousemove --window %1 60 "$4" \
    click --repeat 2 --delay 50 1
}

# Clicks and mouse picks after a working window is shown again: "Data Order"
# with the focus moved on to "Daftar Meja", to the cash desk and back, then
# table 2, waiter 2 and Nasi Goreng picked with the mouse (each pick moves the
# focus on), "2", Enter and save; the cash desk shown again, its order picked
# with the mouse and 25000 paid.
burst_reshow() {
  order_window
  slowly ctrl+b
  window "Data Pembayaran"
  slowly ctrl+o
  window "Data Order"
  pick 305 183 "Daftar Meja" 59
  pick 305 209 "Daftar Pelayan" 59
  pick 305 262 "Daftar Menu" 41
  type_keys 2 Return alt+s Return
  slowly ctrl+b
  window "Data Pembayaran"
  pick 305 131 "Daftar Order" 41
  type_keys 2 5 0 0 0 Return
  type_keys alt+y Return
  xdotool search --onlyvisible --name "User: kasir" mousemove --window %1 20 300
  expect "order Meja 2 Sari 25000 Sudah Bayar NGx2
paid 25000" "Data Pembayaran"
}

openbox >/dev/null 2>&1 &
wm=$!
sleep 1
while [ $# -ge 2 ]; do
  burst=$1
  delay=$2
  shift 2
  step="$burst at $delay ms"
  echo "== burst $step"
  case $burst in
    a | b | c | d | whole | reshow) "burst_$burst" ;;
    *) fail "no such burst" ;;
  esac
  echo "PASS: burst $step"
done
echo "PASS: every burst stored what was typed, program running"
