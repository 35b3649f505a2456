#!/usr/bin/env bash
# Builds the programs and starts them. Installs what is missing.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-deps.sh
tavin_ensure_deps

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

demo=$(mktemp -d)/new.sin
build/src/cli/tavin-cli new -o "$demo"
echo "A new channel file: $demo"
build/src/cli/tavin-cli dump "$demo"
