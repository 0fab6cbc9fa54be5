#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz/ with clang in build-fuzz/
# (AddressSanitizer and UndefinedBehaviorSanitizer over the whole model
# library) and runs each for a while. A new failing input is copied to
# tests/fuzz/crashes/NAME/, where the replay tests of ./test.sh repeat it.
#   scripts/fuzz.sh [SECONDS [TARGET...]]   default 600 seconds, every target
#   FUZZ_JOBS=N                             targets run at once (default 5)
# New inputs the fuzzers find are kept in build-fuzz/corpus/NAME/ (the seed
# corpus in the source tree stays small).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
source scripts/setup.sh
PELKAR_PACKAGES+=(clang)
pelkar_install_packages

seconds=${1:-600}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=($(sed -n '/^set(pelkar_fuzz_targets/,/)/p' tests/fuzz/CMakeLists.txt \
               | tr -d '()' | sed 's/set pelkar_fuzz_targets//' | xargs))
fi
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
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELKAR_SANITIZE=ON -DPELKAR_FUZZ=ON \
    -DPELKAR_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$root/build-fuzz" --parallel 3 --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
logs="$root/build-fuzz/logs"
mkdir -p "$logs"

run_one() {
    local name=$1 corpus="$root/build-fuzz/corpus/$1" crashes="$root/tests/fuzz/crashes/$1"
    local found="$root/build-fuzz/found/$1"
    mkdir -p "$corpus" "$crashes" "$found"
    # -max_len: bigger than any seed, small enough for thousands of runs a second.
    nice -n 10 "$root/build-fuzz/tests/fuzz/fuzz_$name" "$corpus" "$root/tests/fuzz/corpus/$name" \
        -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$found/" >"$logs/$name.log" 2>&1 || true
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

printf '%-16s %12s %10s %s\n' target runs exec/s findings
for name in "${targets[@]}"; do
    log="$logs/$name.log"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    n=$(find "$root/build-fuzz/found/$name" -type f 2>/dev/null | wc -l)
    printf '%-16s %12s %10s %s\n' "$name" "${runs:-?}" "${rate:-?}" "$n"
done
