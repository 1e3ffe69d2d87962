#!/bin/sh
# Rebuilds docs/kadrel-window.png: the window after a real run on examples/ (specimens against
# references.fas, K2P), drawn on a virtual display. Needs t_coffee, xvfb-run and a build/ made by
# scripts/build.sh. The sets are copied to one fixed folder, so the folder lists look the same
# on every machine.
set -eu
root=$(realpath "$(dirname "$0")/..")
cmake --build "$root/build" -j2 --target kadrel_window_screenshot
demo=/tmp/kadrel-demo
rm -rf "$demo"
mkdir -p "$demo"
cp -R "$root/examples/specimens" "$root/examples/references.fas" "$demo/"
cd "$demo"
LC_ALL=C xvfb-run -a -s "-screen 0 1024x768x24" "$root/build/bin/kadrel_window_screenshot" \
    "$root/docs/kadrel-window.png" specimens references.fas Option2
rm -rf "$demo"
