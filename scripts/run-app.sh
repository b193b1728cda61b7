#!/usr/bin/env bash
# Installs what is missing, builds the utility and starts it.
# The program lands in build/release/src/app/tq540setup.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target tq540setup
exec "$build/src/app/tq540setup" "$@"
