#!/usr/bin/env bash
# install-deps.sh [LIST]... Installs the missing Debian packages of scripts/apt-packages.txt and
# of the named extra lists (e.g. "test" for scripts/apt-packages-test.txt).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$here/apt-packages.txt")
for extra in "$@"; do
    lists+=("$here/apt-packages-$extra.txt")
done
mapfile -t wanted < <(cat "${lists[@]}" | grep -v -E '^\s*(#|$)')
missing=()
for pkg in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
