#!/usr/bin/env bash
# Screenshots of the windows for the documentation: each window is shown
# with sample content on a virtual screen (Xvfb) and cut out of it into
# docs/images/<window>.png.
# Usage: scripts/screenshots.sh [build folder]   (default: build)
# Needs the packages xvfb, xauth and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--inside" ]; then
    # On the virtual screen: show each window, wait for its frame
    # ("x y width height" on standard output) and cut it from the screen.
    gallery="$2"
    for window in frmactktz frmstatus frminfoktz frmconciliacion; do
        log="$(mktemp)"
        QT_QPA_PLATFORM=xcb "$gallery" "$window" >"$log" 2>/dev/null &
        pid=$!
        frame=""
        for _ in $(seq 50); do
            frame="$(head -n1 "$log")"
            [ -n "$frame" ] && break
            sleep 0.1
        done
        if [ -z "$frame" ]; then
            kill "$pid" 2>/dev/null || true
            echo "no window for $window" >&2
            exit 1
        fi
        read -r x y w h <<<"$frame"
        import -window root -crop "${w}x${h}+${x}+${y}" +repage "docs/images/$window.png"
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        rm -f "$log"
        echo "docs/images/$window.png"
    done
    exit 0
fi

build="${1:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target window_gallery -j2 >/dev/null
mkdir -p docs/images
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$(realpath "$build/window_gallery")"
