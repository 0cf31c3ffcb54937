#!/usr/bin/env bash
# The main job: kqiface against a simulated unit on a pseudo-terminal.
# With a display the window opens; without one it runs on Qt's offscreen platform and
# saves a screenshot of the connected window. KQ_MODEL=0x78 simulates the other model;
# KQ_MANUFACTURER=1 turns manufacturer mode on.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup.sh
kq_install_packages
kq_build default >/dev/null

top=$(pwd)
demo="$top/build/demo"          # the tool's working folder: pref.txt, firmware/, logos/, config/
mkdir -p "$demo/firmware" "$demo/logos" "$demo/config" "$demo/unit"
if [ "${KQ_MANUFACTURER:-0}" = 1 ]; then
    touch "$demo/firmware/manufacturer.txt"
else
    rm -f "$demo/firmware/manufacturer.txt"
fi
ports=$(mktemp -d /tmp/kqiface-ports.XXXXXX)

"$top/build/bin/kqsim" --model "${KQ_MODEL:-0x82}" --sw 21 --hw 3 --state "$demo/unit" \
    --link "$ports/COM3" > "$demo/kqsim.log" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -rf "$ports"' EXIT
for _ in $(seq 50); do [ -L "$ports/COM3" ] && break; sleep 0.1; done

export KQIFACE_PORTS="$ports/COM%d"
"$top/build/bin/kqctl" identify
cd "$demo"
if [ -n "${DISPLAY:-}" ] && [ "${KQ_HEADLESS:-0}" != 1 ]; then
    "$top/build/bin/kqiface"
else
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        export XDG_RUNTIME_DIR="$ports/runtime"
        mkdir -m 700 "$XDG_RUNTIME_DIR"
    fi
    QT_QPA_PLATFORM=offscreen KQIFACE_SCREENSHOT="$top/build/kqiface-screenshot.png" \
        "$top/build/bin/kqiface"
fi
echo "The simulated unit's log: $demo/kqsim.log"
