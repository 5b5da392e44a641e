#!/usr/bin/env bash
# Takes screenshots of the main window under Xvfb, with a fixture controller made active and a
# profile selected: tests/ui/screenshot.sh [OUT.png] [FIXTURE.evemu]. The control editor, the
# name dialog and the question Exit asks about unsaved changes go beside it, as OUT-editor.png,
# OUT-entry.png and OUT-question.png. OUT-live.png and
# OUT-live-editor.png show the live marks, over a pad whose recorded events hold the first and
# fifth buttons and the X axis to the left (tools/uidemo/usb-gamepad-held.evemu). OUT-empty.png
# and OUT-unconnected.png show the blank panel's words without controllers and for a remembered
# controller that is not plugged in; OUT-capture.png the editor after it took Ctrl+";".
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${PADWRIGHT_BUILD_DIR:-$root/build}
out=${1:-$root/build/padwright-window.png}
fixture=${2:-usb-gamepad-0079-0011.evemu}
held=$root/tools/uidemo/usb-gamepad-held.evemu
demo="$build/tools/uidemo/padwright-uidemo"
[ -x "$demo" ] || cmake --build "$build" --target padwright-uidemo
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
run() { # run DEVICE ARGS...
    local device=$1
    shift
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
        env QT_QPA_PLATFORM=xcb "$demo" --device "$device" "$@"
}
run "$fixture" --grab "$out"
run "$fixture" --grab-dialogs "${out%.png}"
run "$held" --grab "${out%.png}-live.png"
run "$held" --grab-dialogs "${out%.png}-live"
rm -f "${out%.png}-live-entry.png" "${out%.png}-live-question.png"
run "$fixture" --state empty --grab "${out%.png}-empty.png"
run "$fixture" --state unconnected --grab "${out%.png}-unconnected.png"
run "$fixture" --grab-capture "${out%.png}-capture.png"
