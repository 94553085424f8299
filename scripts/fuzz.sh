#!/usr/bin/env bash
# fuzz.sh -- builds the map reader's fuzzer (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for the given seconds (60 by default), on a private Xvfb
# screen when there is no display. What it finds is saved in build-fuzz/findings/; replay one with
# `build-fuzz/tests/fuzz/mapReaderFuzz build-fuzz/findings/<file>`.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_missing "${KAIVA_BUILD_PACKAGES[@]}" "${KAIVA_TEST_PACKAGES[@]}" "${KAIVA_SANITIZER_PACKAGES[@]}"
build_fuzzer
[[ -n "${DISPLAY:-}" ]] || start_xvfb
export_sanitizer_options
run_fuzzer "${1:-60}"
