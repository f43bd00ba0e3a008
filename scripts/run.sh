#!/usr/bin/env bash
# Builds the program alone (not the tests or benchmarks) and starts it. The build folder is
# build/ unless DQ_BUILD_DIR names another. Configuring runs only when the folder has no build
# yet (the build itself configures again when a CMakeLists.txt changed), so a second run with
# nothing changed builds nothing and starts at once.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
dir="${DQ_BUILD_DIR:-build}"
if [ ! -f "$dir/CMakeCache.txt" ]; then
  # Ninja, where installed, finds in a moment that nothing needs building.
  generator=()
  if command -v ninja > /dev/null; then generator=(-G Ninja); fi
  cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$dir" --target Dorvalquintex -j"$(nproc)"
exec "$dir/app/Dorvalquintex" "$@"
