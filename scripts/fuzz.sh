#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz/ with clang in build-fuzz/
# (AddressSanitizer and UndefinedBehaviorSanitizer over the whole model
# library) and runs each for a while. A new failing input is copied to
# tests/fuzz/crashes/NAME/, where the replay tests of ./test.sh repeat it.
#   scripts/fuzz.sh [SECONDS [TARGET...]]   default 600 seconds, every target
#   scripts/fuzz.sh --list                  the target names, nothing built
#   FUZZ_JOBS=N                             targets run at once (default 5)
#   FUZZ_BUILD=DIR                          build folder (default build-fuzz)
# New inputs the fuzzers find are kept in the build folder's corpus/NAME/ (the seed
# corpus in the source tree stays small).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# Another folder (FUZZ_BUILD=build-fuzz2) lets a second run build while one runs.
build="$root/${FUZZ_BUILD:-build-fuzz}"
if [ "${1:-}" = --list ]; then
    shift
    list_only=1
fi
seconds=${1:-600}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    # The names between "set(pelkar_fuzz_targets" and the closing bracket.
    targets=($(sed -n '/^set(pelkar_fuzz_targets/,/)/p' tests/fuzz/CMakeLists.txt \
               | sed -e 's/^set(pelkar_fuzz_targets//' -e 's/)//' | xargs))
fi
if [ -n "${list_only:-}" ]; then
    echo "${targets[*]}"
    exit 0
fi
source scripts/setup.sh
PELKAR_PACKAGES+=(clang)
pelkar_install_packages

jobs=${FUZZ_JOBS:-5}

clang++ --version | head -1
# libFuzzer ships with clang's runtime on Debian; say so plainly if not.
probe=$(mktemp -d)
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }' \
    > "$probe/p.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" 2>"$probe/err"; then
    cat "$probe/err"
    echo "clang cannot link libFuzzer here (package libclang-rt-dev or clang's runtime missing)" >&2
    exit 1
fi
rm -rf "$probe"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELKAR_SANITIZE=ON -DPELKAR_FUZZ=ON \
    -DPELKAR_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel 3 --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
logs="$build/logs"
mkdir -p "$logs"

run_one() {
    local name=$1 corpus="$build/corpus/$1" crashes="$root/tests/fuzz/crashes/$1"
    local found="$build/found/$1"
    mkdir -p "$corpus" "$crashes" "$found"
    # -max_len: bigger than any seed, small enough for thousands of runs a
    # second. Fork mode keeps fuzzing past a finding, so that every target
    # runs its whole time; each finding is kept in $found.
    nice -n 10 "$build/tests/fuzz/fuzz_$name" "$corpus" "$root/tests/fuzz/corpus/$name" "$crashes" \
        -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$found/" >"$logs/$name.log" 2>&1 || true
    local f
    for f in "$found"/*; do
        [ -e "$f" ] || continue
        cp "$f" "$crashes/"
    done
}

running=0
for name in "${targets[@]}"; do
    run_one "$name" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait

# A fuzz process that died on a finding leaves its scratch folder behind.
for dir in /dev/shm/pelkar-fuzz-* "${TMPDIR:-/tmp}"/pelkar-fuzz-*; do
    [ -d "$dir" ] || continue
    kill -0 "${dir##*-}" 2>/dev/null || rm -rf "$dir"
done

# The last progress line of each run: "#RUNS: cov: ... time: SECONDSs ...".
printf '%-16s %12s %8s %10s %s\n' target runs seconds exec/s findings
for name in "${targets[@]}"; do
    last=$(grep -E '^#[0-9]+: cov:' "$logs/$name.log" | tail -1)
    runs=$(sed -E 's/^#([0-9]+):.*/\1/' <<<"$last")
    time=$(sed -E 's/.* time: ([0-9]+)s.*/\1/' <<<"$last")
    rate="?"
    [ -n "$runs" ] && [ "${time:-0}" -gt 0 ] && rate=$((runs / time))
    n=$(find "$build/found/$name" -type f 2>/dev/null | wc -l)
    printf '%-16s %12s %8s %10s %s\n' "$name" "${runs:-?}" "${time:-?}" "$rate" "$n"
done
