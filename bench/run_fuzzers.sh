#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, every library of the program under AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs each target for a bounded time with a corpus seeded
# from the data files. Not part of the default test run: it takes a few minutes.
#
# Usage: bench/run_fuzzers.sh [seconds per target, default 60] [build dir, default build-fuzz]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build_dir=${2:-build-fuzz}
targets=(fuzz_tape_file fuzz_leading_value fuzz_goods_file fuzz_journal_encoding fuzz_exercise_file)

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq clang libclang-rt-dev
fi

if [ ! -f "$build_dir/build.ninja" ]; then
    CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTARVEL_BUILD_TESTS=OFF -DTARVEL_BUILD_BENCH=ON -DTARVEL_FUZZ=ON \
        -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
fi
cmake --build "$build_dir" --target "${targets[@]}"

# Seeds: the shipped data files, and the shapes the line rules and numbers care about.
seeds="$build_dir/fuzz-seeds"
rm -rf "$seeds"
mkdir -p "$seeds/tape" "$seeds/number" "$seeds/goods" "$seeds/utf16" "$seeds/exercise"
cp data/exercises/*.toml "$seeds/exercise/"
# A key and a table header 40 000 parts deep, which once ran the TOML parser off the stack.
deep=$(printf 'a.%.0s' $(seq 40000))
printf 'title = "T"\ntask = "T"\n%sa = 1\n' "$deep" >"$seeds/exercise/deep_key"
printf 'title = "T"\ntask = "T"\n[[%sa]]\n' "$deep" >"$seeds/exercise/deep_header"
cp data/*.txt "$seeds/tape/"
cp data/*.txt "$seeds/goods/"
printf 'a\r\nb' >"$seeds/tape/open_last_line"
printf 'a\rb\nc\r\r\n' >"$seeds/tape/lone_ends"
printf '\r\n\r\n' >"$seeds/tape/empty_lines"
printf '"3, quoted",x\r\nхлеб\r\n' >"$seeds/goods/quoted_first_field"
printf ' -1\r\nмолоко\r\n' >"$seeds/goods/minus_one"
# Journal text as UTF-16: a receipt with a foreign character and half a surrogate pair.
printf '\r\n 01  150 руб ☺\r\nИТОГО' | iconv -f UTF-8 -t UTF-16LE >"$seeds/utf16/receipt"
printf '\x3d\xd8\x0d\x00\x0a\x00\xac\x20' >"$seeds/utf16/half_pair"
i=0
for n in '.150' '.12.50' ',12,5' '. -1.25E+07 руб' ',1E-05' '.+3D2x' '.  .5' '.9999999999999999e307' '.1e-320'; do
    printf '%s' "$n" >"$seeds/number/seed$((i++))"
done
# Each line of the data files as a number seed too: the amounts on the tapes.
while IFS= read -r line; do
    printf '.%s' "$line" >"$seeds/number/seed$((i++))"
done < <(cat data/*.txt | tr -d '\r')

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
summary=()
status=0
for target in "${targets[@]}"; do
    case $target in
        fuzz_tape_file) seed_dir=$seeds/tape ;;
        fuzz_leading_value) seed_dir=$seeds/number ;;
        fuzz_goods_file) seed_dir=$seeds/goods ;;
        fuzz_journal_encoding) seed_dir=$seeds/utf16 ;;
        fuzz_exercise_file) seed_dir=$seeds/exercise ;;
    esac
    corpus="$build_dir/fuzz-corpus/$target"
    mkdir -p "$corpus"
    log="$build_dir/$target.log"
    echo "== $target: $seconds s"
    if "$build_dir/bench/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build_dir/$target-" "$corpus" "$seed_dir" >"$log" 2>&1; then
        result=clean
    else
        result="FAILED (see $log)"
        status=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 || true)
    summary+=("$(printf '%-20s %12s runs in %4s s  %-10s %s' "$target" "${runs:-?}" "${secs:-?}" "$cov" "$result")")
done
printf '%s\n' "${summary[@]}"
exit $status
