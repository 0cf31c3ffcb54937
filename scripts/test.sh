#!/usr/bin/env bash
# Builds everything and runs the whole test suite, then the core tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup.sh
kq_install_packages
jobs=$(nproc)

kq_build default
ctest --preset default -j "$jobs"

kq_build asan
ctest --preset asan -j "$jobs"
