#!/usr/bin/env bash
# Takes a screenshot of the main window under Xvfb, with a fixture controller made active and a
# profile selected: tests/ui/screenshot.sh [OUT.png] [FIXTURE.evemu]. The control editor and the
# name dialog go beside it, as OUT-editor.png and OUT-entry.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${PADWRIGHT_BUILD_DIR:-$root/build}
out=${1:-$root/build/padwright-window.png}
fixture=${2:-usb-gamepad-0079-0011.evemu}
demo="$build/tools/uidemo/padwright-uidemo"
[ -x "$demo" ] || cmake --build "$build" --target padwright-uidemo
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
run() {
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
        env QT_QPA_PLATFORM=xcb "$demo" --device "$fixture" "$@"
}
run --grab "$out"
run --grab-dialogs "${out%.png}"
