#!/usr/bin/env bash
# Start-up benchmark: the launcher's start to its first painted window against a minimal Qt
# web-view window showing the same local page (target <= 1.5 x), both under one Xvfb, each
# timed by startup_clock from just before its start to the first paint its probe reports.
# The launcher runs in a game folder made from the demo's configuration, its news page a
# local file; the patch server's address leads nowhere, as the run after the page is not timed.
# Usage: bench/startup/run.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
demo=$(cd "$here/../../demo" && pwd)
. "$here/../results.sh"
. "$here/../timing.sh"
clock=$build/bench/startup/startup_clock
yardstick=$build/bench/startup/minimal_news_window
rounds=${ROUNDS:-5}
echo "== start-up benchmark"
for program in "$clock" "$yardstick" "$build/bin/MorvoPatcher" "$build/bin/mkconfig" \
               "$build/tests/e2e/morvo_demo_art"; do
  [ -x "$program" ] || { echo "start-up benchmark skipped: $program is not built"; exit 0; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/morvo-startup-XXXXXX")
xvfb_pid=""
cleanup() {
  local status=$?
  [ "$status" -eq 0 ] || tail -n 20 "$work/programs.log" >&2 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The game folder: the launcher and its library, the demo's skin, banner and configuration.
game=$work/game
mkdir -p "$game" "$work/home"
cp "$build/bin/MorvoPatcher" "$build/bin/libvka.so" "$game/"
cp "$demo/news.html" "$work/news.html"
page="file://$work/news.html"
"$build/tests/e2e/morvo_demo_art" "$work/skin.bmp" "$work/banner.jpg"
sed -e "s|^NewsUrl = .*|NewsUrl = $page|" -e "s|@SERVER@|http://127.0.0.1:9|g" \
  "$demo/launcher.txt.in" >"$work/launcher.txt"
"$build/bin/mkconfig" build "$work/launcher.txt" -o "$game/Config.mpc" >/dev/null

: >"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")" HOME=$work/home
# Both programs run their web engine alike: without its sandbox only where root needs it.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1

# What the programs say on their error output (the web engine's set-up report) is kept aside.
launcher() { (cd "$game" && "$clock" 60 "$game/MorvoPatcher" 2>>"$work/programs.log"); }
minimal() { "$clock" 60 "$yardstick" "$page" 2>>"$work/programs.log"; }

# One untimed start of each fills the page cache with the libraries both load.
launcher >/dev/null && minimal >/dev/null
launcher_times=() minimal_times=()
for _ in $(seq "$rounds"); do
  minimal_times+=("$(minimal)")
  rm -f "$game/MorvoPatcherLog.txt"
  launcher_times+=("$(launcher)")
done
minimal_best=$(best "${minimal_times[@]}")
launcher_best=$(best "${launcher_times[@]}")
ratio=$(ratio "$launcher_best" "$minimal_best")
echo "start to first paint (best of $rounds): minimal web-view window $minimal_best s" \
     "(${minimal_times[*]}), launcher $launcher_best s (${launcher_times[*]}), ratio $ratio" \
     "(target <= 1.5)"
record_result "Launcher start to first paint / minimal web view" "$ratio x" "<= 1.5" \
  "$(verdict "$ratio" "<=" 1.5)"
