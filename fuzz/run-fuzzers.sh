#!/usr/bin/env bash
# Usage: fuzz/run-fuzzers.sh SECONDS [TARGET...]
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each target (all three when
# none is named) for SECONDS on a scratch copy of its committed corpus, as many at a time as there
# are cores. Prints per target the executions and whether it crashed, with the reproducer's path.
# The committed corpora are only read; new inputs stay in build-fuzz/runs/<target>/corpus.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

if [[ $# -lt 1 || ! $1 =~ ^[1-9][0-9]*$ ]]; then
    echo "Usage: $0 SECONDS [TARGET...]" >&2
    exit 2
fi
seconds=$1
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_number_text fuzz_division fuzz_notice)

fuzz_dir="$repo_root/fuzz"
fuzz_build="$repo_root/build-fuzz"

install_missing_packages "${packages[@]}" clang libclang-rt-14-dev
cmake -S "$repo_root" -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DZLOMKAR_FUZZ=ON >/dev/null
cmake --build "$fuzz_build" --target "${targets[@]}"

run_target() {
    local target=$1 run="$fuzz_build/runs/$1"
    rm -rf "$run"
    mkdir -p "$run/corpus" "$run/artifacts"
    cp -r "$fuzz_dir/corpus/$target/." "$run/corpus/"
    local dict=()
    [ -f "$fuzz_dir/$target.dict" ] && dict=("-dict=$fuzz_dir/$target.dict")
    # A single input that runs for 10 s is a hang: the engine bounds every run it is given.
    "$fuzz_build/fuzz/$target" "$run/corpus" "${dict[@]}" -max_total_time="$seconds" \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$run/artifacts/" \
        >"$run/log" 2>&1 || true
}

parallel=$(nproc)
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do
        wait -n || true
    done
    echo "Fuzzing $target for $seconds s"
    run_target "$target" &
done
wait

status=0
for target in "${targets[@]}"; do
    run="$fuzz_build/runs/$target"
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log" | tail -1)
    mapfile -t reproducers < <(find "$run/artifacts" -type f | sort)
    if [ ${#reproducers[@]} -gt 0 ]; then
        status=1
        echo "$target: ${executions:-?} executions, CRASHED; reproducer:"
        printf '  %s\n' "${reproducers[@]}"
        echo "  log: $run/log"
    else
        echo "$target: ${executions:-?} executions in $seconds s, no crash"
    fi
done
exit $status
