#!/usr/bin/env bash
# What a program does at rest, reading on and a notification area there: D-Bus method calls it
# makes and writes to its X connection over 10 s, once it has settled. Runs the program on a
# private Xvfb and session bus, with a StatusNotifierWatcher that has a host registered, or an
# XEmbed tray (trayer), or no notification area at all.
#   bench/app/rest-activity.sh PADWRIGHT FAKE_STATUS_NOTIFIER_WATCHER|trayer|none [--minimized]
set -euo pipefail
program=$1 watcher=$2 minimized=${3:-}
work=$(mktemp -d)
cleanup() { kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true; [ -n "${KEEP:-}" ] && cp "$work/trace" "$work/calls" /tmp/ 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
display=:$((100 + RANDOM % 400))
Xvfb "$display" -nolisten tcp >/dev/null 2>&1 &
dbus-daemon --session --nofork --print-address=3 3>"$work/bus" &
while [ ! -s "$work/bus" ]; do sleep 0.1; done
bus=$(head -1 "$work/bus")
export DISPLAY=$display DBUS_SESSION_BUS_ADDRESS=$bus HOME=$work XDG_CONFIG_HOME=$work/config
export XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=xcb
mkdir -p "$work/config/Vemoskar" "$work/run" "$work/data" && chmod 700 "$work/run"
if [ "$minimized" = --minimized ]; then
    printf '[General]\nStartMinimized=1\n' >"$work/config/Vemoskar/Padwright.conf"
fi
sleep 1
case "$watcher" in
none) ;;
trayer) trayer --edge top --align right >/dev/null 2>&1 & ;; # an XEmbed tray instead
*) "$watcher" 2>/dev/null & ;;
esac
sleep 1
(cd "$work/data" && exec strace -f -qq -ttt -e trace=connect,write,writev,sendmsg \
    -o "$work/trace" "$program") >/dev/null 2>&1 &
sleep "${SETTLE:-8}" # start-up (a hidden start waits up to 5 s for a notification area)
pid=$(pgrep -n -f "^$program\$")
dbus-monitor --session "type='method_call'" >"$work/calls" 2>/dev/null &
monitor=$!
from=$(date +%s.%N)
sleep 10
to=$(date +%s.%N)
kill $monitor
# Our own unique bus names: the connections whose process is the program.
ours=()
for n in $(dbus-send --session --dest=org.freedesktop.DBus --print-reply /org/freedesktop/DBus \
    org.freedesktop.DBus.ListNames | grep -o '":[0-9.]*"' | tr -d '"'); do
    p=$(dbus-send --session --dest=org.freedesktop.DBus --print-reply /org/freedesktop/DBus \
        org.freedesktop.DBus.GetConnectionUnixProcessID string:"$n" 2>/dev/null |
        awk '/uint32/ {print $2}' || true)
    if [ "$p" = "$pid" ]; then ours+=("$n"); fi
done
calls=0
for n in "${ours[@]}"; do
    calls=$((calls + $(grep -c "sender=$n " "$work/calls" || true)))
done
# The X connections: the sockets the program connected to the X server's (the toolkit's, the
# keyboard layout's and XTest's).
xfds=$(grep -E 'connect\([0-9]+, \{sa_family=AF_UNIX, sun_path=@?"/tmp/.X11-unix/X' "$work/trace" |
    sed -E 's/.*connect\(([0-9]+),.*/\1/' | paste -sd'|')
xwrites=$(awk -v from="$from" -v to="$to" -v fds="$xfds" \
    '$2 >= from && $2 <= to && $3 ~ "^(write|writev|sendmsg)\\((" fds "),"' "$work/trace" | wc -l)
echo "D-Bus method calls by the program in 10 s: $calls"
echo "writes to its X connections in 10 s: $xwrites"
