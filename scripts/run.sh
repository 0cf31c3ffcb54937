#!/usr/bin/env bash
# The main job: a simulated unit on a pseudo-terminal, found and identified by the tool.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup.sh
kq_install_packages
kq_build default >/dev/null

work=$(mktemp -d /tmp/kqiface-demo.XXXXXX)
./build/bin/kqsim --model 0x82 --sw 21 --hw 3 --link "$work/COM3" > "$work/kqsim.log" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -L "$work/COM3" ] && break; sleep 0.1; done

export KQIFACE_PORTS="$work/COM%d"
./build/bin/kqctl identify
