#!/usr/bin/env bash
# Drives the real program on an X server (Xvfb, openbox) with xdotool at no
# delay between keys: "space Escape" on every list button of the order and
# cashier windows, a whole order typed in one go, and a payment with a move
# to the order window and back in the middle of the amount. Then checks the
# stored rows and that the program still runs.
#   typing.sh <program> <e2e_tool>
# Exit 77 (skipped) only when no X server can be started here.
set -uo pipefail

program=$1
tool=$2
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
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

home=$(mktemp -d)
pid=
wm=
trap 'kill "$pid" "$wm" 2>/dev/null; rm -rf "$home"' EXIT
export DAPRA_HOME="$home/dapra" CUPS_SERVER=/nonexistent
unset QT_QPA_PLATFORM

fail() {
  echo "FAIL: $*"
  xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | sed 's/^/  window: /'
  tail -5 "$home/program.log" | sed 's/^/  program: /'
  exit 1
}

QT_QPA_PLATFORM=offscreen "$tool" seed || fail "seeding the install folder"
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
"$program" >"$home/program.log" 2>&1 &
pid=$!

# Waits (up to 60 s) for a visible window whose title matches. A search
# that meets a window closing under it fails and is tried again.
window() {
  for _ in $(seq 600); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return
    sleep 0.1
  done
  fail "no window \"$1\""
}
# Types the keys at once into the window holding the focus, after saying
# which windows the previous keys left open.
type_keys() {
  sleep 2  # the windows of the previous keys settle first
  echo "windows: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | paste -sd '|')"
  echo "keys: $*"
  xdotool key --delay 0 "$@"
}

window "Login Pengguna"
sleep 1
xdotool type --delay 0 kasir
type_keys Tab r a h a s i a Return
window "User: kasir"
# Keys that come while the window manager hands the focus to a new window go
# to the window under the pointer: keep it on the main window, off the
# centre where the other windows open.
xdotool search --onlyvisible --name "User: kasir" mousemove --window %1 20 300

# "Data Order": "Daftar Order" opened and closed at once (the focus moves on to
# "Daftar Meja"; "Reset" draws the order number the list emptied), then a
# whole order typed in one go: table 1, waiter 1, 2 x Nasi Goreng, 3 x Es Teh,
# save; then the other list buttons opened and closed at once.
type_keys ctrl+o
window "Data Order"
type_keys space Escape alt+r
type_keys space Return space Tab Return space Return 2 Return space Down Return 3 Return alt+s
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
type_keys 0 0 0 Return alt+y
type_keys space Escape
sleep 3

kill -0 "$pid" 2>/dev/null || fail "the program ended"
stored=$(QT_QPA_PLATFORM=offscreen "$tool" check) || fail "reading the database"
expected="order Meja 1 Budi 34000 Sudah Bayar ETx3 NGx2
paid 40000"
if [ "$stored" != "$expected" ]; then
  fail "stored rows differ:
$stored
expected:
$expected"
fi
echo "PASS: order and payment stored, program running"
