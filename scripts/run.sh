#!/usr/bin/env bash
# Builds Lumatone and starts it. The native windows are not built yet: for now
# this builds the portable core and its Windows cross build, and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install.sh
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j"$(nproc)"
echo "Lumatone's native windows are not built yet; the program cannot be started."
