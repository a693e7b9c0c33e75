#!/usr/bin/env bash
# Builds the native tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (the sanitize preset) and runs them. Any report ends the test that made it,
# so a clean run means no report at all.
#
#   scripts/sanitize.sh [ctest arguments...]
#
# SANITIZE_BUILD_DIR overrides the build folder (default build/sanitize).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${SANITIZE_BUILD_DIR:-build/sanitize}"

cmake --preset sanitize -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# The GUI tests drive the Windows program under Wine; nothing of it is sanitized.
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -LE gui "$@"
