#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite headless: once as built, once
# more under AddressSanitizer and UndefinedBehaviorSanitizer in a build directory of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)"

# The sanitized run: configured once (setup.sh configures only an unconfigured directory),
# then only rebuilt where something changed. Leak checking stays on: the offscreen platform
# reports no leaks of its own, so any report is the program's.
scripts/setup.sh build-asan -DTARVEL_SANITIZE=ON -DTARVEL_BUILD_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
