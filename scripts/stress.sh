#!/usr/bin/env bash
# Runs the multi-copy and crash suites N rounds (default 20) while the rest of the suite runs
# beside them as load; fails when any round fails. Usage: scripts/stress.sh [rounds]
#   DQ_BUILD_DIR   build folder (default build)
#   DQ_STRESS_JOBS parallel jobs of the load (default 4)
set -uo pipefail
cd "$(dirname "$0")/.."

rounds="${1:-20}"
build="${DQ_BUILD_DIR:-build}"
jobs="${DQ_STRESS_JOBS:-4}"
if ! [[ "$rounds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 [rounds]" >&2
    exit 2
fi

# The tests that start several processes: running copies talking over loopback, and copies
# killed in the middle of their work.
stressed='^(LanMultiCopyTest|RoadMultiCopyTest|GridCopiesTest|DialogCopiesTest|SheetCopiesTest|TokenCopiesTest|SignInCopiesTest|LauncherRoadTest|DbSharedFileTest|FileLockTest|SingleInstance)\.'

if [[ -f "$build/CMakeCache.txt" ]]; then
    cmake --build "$build" -j"$(nproc)" >/dev/null || { echo "build failed" >&2; exit 2; }
else
    bash scripts/build.sh || exit 2
fi

logs="$(mktemp -d /tmp/dq_stress_XXXXXX)"
echo "logs in $logs"

# The load: every other test, again and again, until the rounds are done.
stop="$logs/stop"
(
    n=0
    while [[ ! -e "$stop" ]]; do
        n=$((n + 1))
        if ! ctest --test-dir "$build" -E "$stressed" -j"$jobs" --timeout 600 >"$logs/load-$n.log" 2>&1; then
            echo "load run $n had failures (see $logs/load-$n.log)" >>"$logs/load-failures"
        fi
    done
) &
load=$!

failed=0
for ((i = 1; i <= rounds; i++)); do
    log="$logs/round-$i.log"
    if ctest --test-dir "$build" -R "$stressed" --output-on-failure --timeout 600 >"$log" 2>&1; then
        echo "round $i/$rounds passed"
        rm -f "$log"
    else
        failed=$((failed + 1))
        echo "round $i/$rounds FAILED:"
        grep -E '^\s+[0-9]+ - .*\((Failed|Timeout|SEGFAULT|Subprocess aborted|Exception|Not Run)' "$log" | sed 's/^/    /'
    fi
done

touch "$stop"
wait "$load"
if [[ -s "$logs/load-failures" ]]; then
    echo "note: the load itself failed (not counted as a round):"
    sed 's/^/    /' "$logs/load-failures"
fi
echo "$((rounds - failed)) of $rounds rounds passed"
[[ $failed -eq 0 ]]
