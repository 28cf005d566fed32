#!/usr/bin/env bash
# Runs the real-framework test under Wine with the debugger output channel
# on, and checks that the board search wrote its enumerator error line.
# Usage: expect_enumerator_error_line.sh <wine-run> <test.exe>
set -uo pipefail
wine_run="$1"
test_exe="$2"
stderr_file="$(mktemp)"
trap 'rm -f "$stderr_file"' EXIT

WINEDEBUG=-all,+debugstr "$wine_run" "$test_exe" \
  --gtest_filter='*WithoutABoardTheCheckStopsAtTheClassEnumerator' 2>"$stderr_file"
status=$?
if [ "$status" -ne 0 ]; then
  echo "test program failed with status $status" >&2
  cat "$stderr_file" >&2
  exit 1
fi
expected='OutputDebugStringA "CGraph::FindCaptureDevice() pDeviceEnum->CreateClassEnumerator() ERROR!!\n"'
if ! grep -qF "$expected" "$stderr_file"; then
  echo "missing on the debug channel: $expected" >&2
  cat "$stderr_file" >&2
  exit 1
fi
echo "found: $expected"
