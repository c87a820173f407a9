#!/bin/sh
# patchrun.exe end to end: runs the Linux build's end-to-end test that starts the Windows
# patchrun under Wine beside the Linux one (the caller's environment names both programs).
#   patchrun_end_to_end.sh E2E_TESTS
# Fails when E2E_TESTS is missing or did not run the test (an older build of it); exits 77, a
# skipped test for CTest, when the test skipped itself, with its reason in the output.
set -u
e2e=$1
if [ ! -x "$e2e" ]; then
  echo "patchrun_end_to_end: $e2e is missing; build the Linux build's e2e_tests first" >&2
  exit 1
fi
output=$("$e2e" --gtest_filter='PatchrunUnderWine.*' 2>&1)
status=$?
printf '%s\n' "$output"
[ "$status" -eq 0 ] || exit "$status"
case $output in
  *"[  SKIPPED ] 1 test"*) exit 77 ;;
  *"[  PASSED  ] 1 test"*) exit 0 ;;
esac
echo "patchrun_end_to_end: $e2e ran no PatchrunUnderWine test; rebuild it" >&2
exit 1
