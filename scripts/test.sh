#!/usr/bin/env bash
# Sets up the machine, builds every preset and runs all tests: unit tests
# against the simulated workstation, the release package checks, then the
# Wine end-to-end tests (serially, each in its own throwaway prefix): the
# win64 build under wine64, and the shipped win32 build under the emulated
# 32-bit Wine; then purgent-sim's report page in headless Chromium; last the
# differential check of the real program against the simulator on a few
# random workstations. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

LOGS=build/test-logs
step() { printf '\n=== %s (at %ds) ===\n' "$*" "$SECONDS"; }
die() { printf '\n=== FAILED: %s ===\n' "$*" >&2; exit 1; }

# Each part of the set-up on its own, so that a failure names its part.
step "setup: native and win64 builds, win64 Wine"
bash scripts/setup.sh win64 || die "setup of the win64 part (scripts/setup.sh win64)"
step "setup: win32 build, 32-bit Wine runner"
bash scripts/setup.sh win32 || die "setup of the win32 part (scripts/setup.sh win32)"
step "setup: chromium for the browser tests"
bash scripts/setup.sh browser || die "setup of the browser part (scripts/setup.sh browser)"

for preset in native win64 win32; do
  step "build $preset"
  cmake --preset "$preset" >/dev/null || die "configure $preset"
  cmake --build --preset "$preset" || die "build $preset"
done
step "package win32"
cmake --build --preset win32 --target package || die "package win32"
mkdir -p "$LOGS"

# run_label <label> <ctest options...>: runs one label, keeps its output.
passed=0 failed=0 broken=()
run_label() {
  local label=$1; shift
  step "$label tests"
  if ! ctest --test-dir build/native -L "$label" --output-on-failure --no-tests=error "$@" \
      2>&1 | tee "$LOGS/$label.log"; then
    broken+=("$label")
  fi
  local summary
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$LOGS/$label.log" | tail -n1 || true)
  if [[ $summary =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=$((failed + BASH_REMATCH[1]))
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
  else
    broken+=("$label (no test summary)")
  fi
}

run_label unit -j2
run_label setup
run_label package
run_label wine -j1
run_label win32 -j1
run_label browser
run_label differential -j1

step "summary"
if ((${#broken[@]})); then
  printf 'FAILED: %s\n' "${broken[*]}" >&2
  printf '%d passed, %d failed\n' "$passed" "$failed"
  exit 1
fi
printf '%d passed, %d failed\n' "$passed" "$failed"
