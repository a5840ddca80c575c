#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole test suite: installs what is missing, then builds and runs every test in a normal
# configuration, under AddressSanitizer + UndefinedBehaviorSanitizer, and the threading tests
# under ThreadSanitizer. Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
root=build-test

configure_build() {
    local dir=$1; shift
    cmake -S . -B "$root/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$root/$dir" -j"$jobs" ${PARVEL_TARGETS:+--target $PARVEL_TARGETS}
}

echo "== normal configuration"
configure_build release
ctest --test-dir "$root/release" --output-on-failure -j"$jobs"

echo "== ASan + UBSan configuration"
configure_build asan -DPARVEL_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$root/asan" --output-on-failure -j"$jobs"

# The tests that race editor-side readers against the audio and host threads carry "Race" or
# "Thread" in their names; they run once more under ThreadSanitizer.
echo "== ThreadSanitizer configuration (threading tests)"
PARVEL_TARGETS="core_tests dsp_tests effect_tests vst2_tests" configure_build tsan -DPARVEL_TSAN=ON
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir "$root/tsan" --output-on-failure -j"$jobs" -R 'Race|Thread'
