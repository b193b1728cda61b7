#!/usr/bin/env bash
# Installs what is missing, builds the utility and starts it.
# The program lands in build/release/src/app/tq540setup; the command line
# tq540ctl and the simulated display tq540sim are built beside it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target tq540setup tq540ctl tq540sim
exec "$build/src/app/tq540setup" "$@"
