# The checks the mkpatch scripts share, sourced by them. The script's arguments are what runs
# mkpatch: [EMULATOR] MKPATCH (EMULATOR: what runs a Windows build's program). Each script works
# in a folder of its own, removed at its end.
MKPATCH=("$@")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
failures=0

check() {  # DESCRIPTION EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $(printf '%q' "$2")"; echo "  actual:   $(printf '%q' "$3")"
    failures=$((failures + 1))
  fi
}

status() { "$@" >/dev/null 2>&1; echo $?; }
mkpatch() { "${MKPATCH[@]}" "$@"; }
# Text as a Windows program writes it ends its lines with CR LF; the checks compare lines.
text() { tr -d '\r'; }
# The SHA-256 of a file, by the system's own tool.
digest() { sha256sum "$1" | cut -d' ' -f1; }
finish() {
  [ $failures -eq 0 ] && echo "all $(basename "$0" .sh) checks passed"
  exit $((failures > 0))
}

# The emulator's own skip status (a machine that cannot run this build's programs).
if [ "$(status mkpatch --help)" = 77 ]; then
  echo "mkpatch cannot run on this machine: skipped"
  exit 77
fi
