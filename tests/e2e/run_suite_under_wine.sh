#!/bin/sh
# Runs one suite of the Linux build's end-to-end tests that start Windows programs under Wine
# (the Windows build's CTest runs it; its environment names the programs and the runner).
#   run_suite_under_wine.sh E2E_TESTS SUITE
# Fails when E2E_TESTS is missing or ran no test of SUITE (an older build of it); exits 77, a
# skipped test for CTest, when every test of the suite skipped itself, with the reasons in the
# output.
set -u
e2e=$1
suite=$2
if [ ! -x "$e2e" ]; then
  echo "run_suite_under_wine: $e2e is missing; build the Linux build's e2e_tests first" >&2
  exit 1
fi
output=$("$e2e" --gtest_filter="$suite.*" 2>&1)
status=$?
printf '%s\n' "$output"
[ "$status" -eq 0 ] || exit "$status"
ran=$(printf '%s\n' "$output" | sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p')
passed=$(printf '%s\n' "$output" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p')
if [ "${ran:-0}" -eq 0 ]; then
  echo "run_suite_under_wine: $e2e ran no $suite test; rebuild it" >&2
  exit 1
fi
[ "${passed:-0}" -gt 0 ] || exit 77
exit 0
