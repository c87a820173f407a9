#!/usr/bin/env bash
# The demo: a game folder and a patch server built from demo/, served by a private nginx on
# 127.0.0.1, and the launcher run on them (in a window when a display works, under Xvfb
# otherwise).
#   demo/run.sh BUILD_DIR [--windows WINDOWS_BUILD_DIR]
# With --windows the game folder holds the Windows launcher (MorvoPatcher.exe, VKA.dll) and a
# Windows stand-in game from the x64 build WINDOWS_BUILD_DIR, run under Wine; the patch server
# and the tools that make it come from the Linux build either way.
set -euo pipefail

DEMO=$(cd "$(dirname "$0")" && pwd)
usage="usage: demo/run.sh BUILD_DIR [--windows WINDOWS_BUILD_DIR]"
BUILD=$(cd "${1:?$usage}" && pwd)
BIN=$BUILD/bin
HELPERS=$BUILD/tests/e2e
WINDOWS_BUILD=""
if [ "${2:-}" = --windows ]; then
  WINDOWS_BUILD=$(cd "${3:?$usage}" && pwd)
elif [ $# -gt 1 ]; then
  echo "$usage" >&2
  exit 2
fi
OUT=$DEMO/out
GAME=$OUT/game
SERVER=$OUT/server
WORK=$OUT/work
WAIT_SECONDS=${MORVO_DEMO_TIMEOUT:-120}

NGINX_PID="" XVFB_PID="" LAUNCHER_PID=""
cleanup() {
  local pid
  for pid in "$LAUNCHER_PID" "$NGINX_PID" "$XVFB_PID"; do
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

say() { printf '\n== %s\n' "$*"; }
fail() { echo "demo: $*" >&2; exit 1; }

# What the game folder ships: the launcher, its archive library and the stand-in game (the
# built file, then its name in the folder); how the launcher is started; its screenshot.
if [ -n "$WINDOWS_BUILD" ]; then
  SHIPPED=("$WINDOWS_BUILD/bin/MorvoPatcher.exe" MorvoPatcher.exe "$WINDOWS_BUILD/bin/VKA.dll" VKA.dll
           "$WINDOWS_BUILD/tests/e2e/morvo_stand_in_game.exe" game.exe)
  WINE_RUNNER=$DEMO/../tests/wine/run-under-wine
  LAUNCH=("$WINE_RUNNER" ./MorvoPatcher.exe)
  # The Wine prefix of the Windows build's own tests, made once and reused.
  export MORVO_WINEPREFIX=$WINDOWS_BUILD/wineprefix-win64
  SCREENSHOT=$OUT/screenshot-windows.png
  BUILT_BY="./dev demo --windows"
else
  SHIPPED=("$BIN/MorvoPatcher" MorvoPatcher "$BIN/libvka.so" libvka.so "$DEMO/game.sh" game.sh)
  LAUNCH=(./MorvoPatcher)
  SCREENSHOT=$OUT/screenshot.png
  BUILT_BY="./dev build"
fi
GAME_EXE=${SHIPPED[5]}

for tool in "${SHIPPED[0]}" "${SHIPPED[2]}" "${SHIPPED[4]}" "$BIN/vka" "$BIN/mkpatch" \
            "$BIN/mkconfig" "$HELPERS/morvo_demo_art" "$HELPERS/morvo_grab_screen"; do
  [ -e "$tool" ] || fail "$tool is missing: build the project first ($BUILT_BY)"
done

# Starts nginx on a free port of 127.0.0.1 serving $SERVER; sets PORT and NGINX_PID.
start_nginx() {
  local state=$OUT/nginx
  mkdir -p "$state"
  for _ in $(seq 20); do
    PORT=$((20000 + RANDOM % 40000))
    "$DEMO/nginx-serve.sh" "$SERVER" "$state" "$PORT" 0 > "$state/nginx.out" 2>&1 &
    NGINX_PID=$!
    for _ in $(seq 50); do
      curl -s -o /dev/null "http://127.0.0.1:$PORT/" && return 0
      kill -0 "$NGINX_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$NGINX_PID" 2>/dev/null; wait "$NGINX_PID" 2>/dev/null || true
    NGINX_PID=""
  done
  fail "nginx did not start (see $state/error.log)"
}

# vka create ARCHIVE from the files under a folder, named by their paths below it.
archive_of() {  # ARCHIVE DIR
  (cd "$2" && find . -type f | sed 's|^\./||' | sort | xargs "$BIN/vka" create "$1" --root "$2")
}

write_file() {  # PATH TEXT
  mkdir -p "$(dirname "$1")"
  printf '%s\n' "$2" > "$1"
}

build_game() {
  say "Game folder: $GAME"
  mkdir -p "$GAME"
  local i
  for ((i = 0; i < ${#SHIPPED[@]}; i += 2)); do
    cp "${SHIPPED[i]}" "$GAME/${SHIPPED[i + 1]}"
  done
  "$HELPERS/morvo_demo_art" "$WORK/skin.bmp" "$WORK/banner.jpg"
  sed -e "s|@SERVER@|http://127.0.0.1:$PORT|g" -e "s|^GameExe = .*|GameExe = $GAME_EXE|" \
    "$DEMO/launcher.txt.in" > "$WORK/launcher.txt"
  # The publisher's key pair: the launcher accepts only lists signed with its private half.
  "$BIN/mkpatch" keygen -o "$WORK/publisher"
  echo "SigningKey = $(cat "$WORK/publisher.pub")" >> "$WORK/launcher.txt"
  "$BIN/mkconfig" build "$WORK/launcher.txt" -o "$GAME/Config.mpc"

  write_file "$WORK/data-v1/Textes/intro.txt" "Il etait une fois un village. (version 1)"
  write_file "$WORK/data-v1/Textes/credits.txt" "L'equipe de demonstration."
  write_file "$WORK/data-v1/Cartes/village.map" "village: 32 x 32 cases"
  write_file "$WORK/data-v1/Regles.txt" "Regles du jeu, version 1."
  archive_of "$GAME/data.vka" "$WORK/data-v1"
  echo "installed archive data.vka:"
  "$BIN/vka" list "$GAME/data.vka"
}

build_server() {
  say "Patch server: $SERVER (http://127.0.0.1:$PORT)"
  mkdir -p "$SERVER/patches"
  cp "$DEMO/news.html" "$SERVER/news.html"
  printf '<!DOCTYPE html><meta charset="utf-8"><p>Inscription : page de d\xc3\xa9monstration.</p>\n' \
    > "$SERVER/register.html"

  # Patch 1: new loose files in a subfolder.
  write_file "$WORK/p1/Extras/notes.txt" "Notes de version : nouveaux fichiers dans Extras."
  write_file "$WORK/p1/Extras/Cartes/donjon.map" "donjon: 16 x 16 cases"
  "$BIN/mkpatch" build "$SERVER/patches/p0001.pak" --from-dir "$WORK/p1"

  # Patch 2: an update of data.vka (one file replaced, one new), merged into the installed one.
  write_file "$WORK/u1/Textes/intro.txt" "Il etait une fois un village. (version 2)"
  write_file "$WORK/u1/Textes/quetes.txt" "Quete 1 : trouver le donjon."
  archive_of "$WORK/u1.vka" "$WORK/u1"
  mkdir -p "$WORK/u1-patch" && cp "$WORK/u1.vka" "$WORK/u1-patch/data.vka"
  "$BIN/mkpatch" build "$SERVER/patches/p0002.pak" "$WORK/u1-patch/data.vka=data.vka"

  # Patch 3: a second update of the same archive: two merges, then one repack.
  write_file "$WORK/u2/Regles.txt" "Regles du jeu, version 2."
  write_file "$WORK/u2/Cartes/foret.map" "foret: 48 x 48 cases"
  archive_of "$WORK/u2.vka" "$WORK/u2"
  mkdir -p "$WORK/u2-patch" && cp "$WORK/u2.vka" "$WORK/u2-patch/data.vka"
  "$BIN/mkpatch" build "$SERVER/patches/p0003.pak" "$WORK/u2-patch/data.vka=data.vka"

  local patches=("$SERVER/patches/p0001.pak" "$SERVER/patches/p0002.pak" "$SERVER/patches/p0003.pak")
  "$BIN/mkpatch" index --base-url "http://127.0.0.1:$PORT/patches/" \
    --sign "$WORK/publisher.key" -o "$SERVER/patchlist.ini" "${patches[@]}"
  "$BIN/mkpatch" verify "$SERVER/patchlist.ini" --key "$WORK/publisher.pub" "${patches[@]}"
  echo "patch list (signed: patchlist.ini.sig):"
  cat "$SERVER/patchlist.ini"
}

# Uses $DISPLAY when it answers; otherwise starts Xvfb. Sets HEADLESS.
choose_display() {
  if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    HEADLESS=0
    say "Display $DISPLAY: the launcher opens in a window"
    return
  fi
  HEADLESS=1
  local displayfile=$OUT/xvfb.display
  : > "$displayfile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$displayfile" 2> "$OUT/xvfb.log" &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start (see $OUT/xvfb.log)"
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$displayfile")"
  say "No display: the launcher runs under Xvfb on $DISPLAY"
}

wait_for_log_end() {
  local log=$GAME/MorvoPatcherLog.txt
  for _ in $(seq $((WAIT_SECONDS * 10))); do
    grep -q "Fin du log\." "$log" 2>/dev/null && return 0
    kill -0 "$LAUNCHER_PID" 2>/dev/null || fail "the launcher ended before its run did"
    sleep 0.1
  done
  fail "no \"Fin du log.\" in $log after $WAIT_SECONDS s"
}

launcher_window() {
  xdotool search --onlyvisible --name '^Morvo Patcher$' 2>/dev/null | head -n1
}

# One "checksum  path" line per file of the game folder.
game_files() {
  (cd "$GAME" && find . -type f -print0 | sort -z | xargs -0 md5sum | sed 's|  \./|  |')
}

show_results() {
  say "Log (MorvoPatcherLog.txt)"
  iconv -f WINDOWS-1252 -t UTF-8 "$GAME/MorvoPatcherLog.txt" | tr -d '\r'
  say "Merged archive: vka list data.vka"
  "$BIN/vka" list "$GAME/data.vka"
  "$BIN/vka" check "$GAME/data.vka"
  say "Game folder now (+ new, * changed)"
  game_files | awk 'NR == FNR { before[$2] = $1; next }
                    { mark = !($2 in before) ? "+" : (before[$2] != $1 ? "*" : " ");
                      print "  " mark " " $2 }' "$OUT/files-before.txt" -
}

# A demo of patching that patched nothing is no success: the run must have logged no error,
# registered the three patches and installed what they carry.
check_patched() {
  local log=$GAME/MorvoPatcherLog.txt problems=() name
  local errors
  errors=$(iconv -f WINDOWS-1252 -t UTF-8 "$log" | tr -d '\r' | grep -i "erreur" || true)
  [ -z "$errors" ] || problems+=("the log has error lines:"$'\n'"$errors")
  for name in p0001.pak p0002.pak p0003.pak; do
    grep -q "^$name=1"$'\r'"\?$" "$GAME/MorvoPatchsList.ini" 2>/dev/null ||
      problems+=("$name is not in the register MorvoPatchsList.ini")
  done
  for name in Extras/notes.txt Extras/Cartes/donjon.map; do
    [ -f "$GAME/$name" ] || problems+=("$name was not installed")
  done
  local listing
  listing=$("$BIN/vka" list "$GAME/data.vka" 2>&1 || true)
  for name in 'Textes\quetes.txt' 'Cartes\foret.map'; do
    grep -qF "$name" <<<"$listing" || problems+=("data.vka did not receive $name")
  done
  [ ${#problems[@]} -eq 0 ] && return 0
  printf 'demo: the patch run did not install the demo patches:\n' >&2
  printf '  - %s\n' "${problems[@]}" >&2
  exit 1
}

# Clicks the Start button (its bounds below the 88-pixel banner) and waits for the game.
click_start() {
  local window=$1 X Y
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y)=')"
  local x=$((X + 20 + 55)) y=$((Y + 88 + 334 + 15))
  say "Clicking Start at $x,$y"
  xdotool mousemove "$x" "$y" sleep 0.3 click 1
  for _ in $(seq 100); do
    [ -s "$GAME/game-started.txt" ] && break
    sleep 0.1
  done
  [ -s "$GAME/game-started.txt" ] || fail "the game was not started"
  say "The game started (game-started.txt)"
  cat "$GAME/game-started.txt"
}

# Wine's first start in a new prefix takes a while: made here, with a clear message when Wine
# cannot run the build's programs, rather than inside the launcher's wait.
prepare_wine() {
  say "Wine prefix: $MORVO_WINEPREFIX"
  mkdir -p "$WORK/wine-check"
  cp "${SHIPPED[4]}" "$WORK/wine-check/game.exe"
  "$WINE_RUNNER" "$WORK/wine-check/game.exe" > "$WORK/wine-check/wine.out" 2>&1 ||
    fail "Wine cannot run the Windows build's programs (see $WORK/wine-check/wine.out)"
}

rm -rf "$OUT"
mkdir -p "$OUT" "$WORK" "$SERVER"
start_nginx
build_game
build_server
choose_display
# On the display: Wine's first program of a session sets up the desktop its windows share.
[ -z "$WINDOWS_BUILD" ] || prepare_wine

game_files > "$OUT/files-before.txt"
say "Running the launcher"
(cd "$GAME" && exec "${LAUNCH[@]}") > "$OUT/launcher.out" 2>&1 &
LAUNCHER_PID=$!
wait_for_log_end
sleep 1  # let the last status and the Start button paint
window=$(launcher_window)
if [ "$HEADLESS" = 1 ] || [ -z "$window" ]; then
  "$HELPERS/morvo_grab_screen" "$SCREENSHOT"
else
  "$HELPERS/morvo_grab_screen" "$SCREENSHOT" "$window"
fi
echo "screenshot: $SCREENSHOT"
show_results
check_patched

if [ "$HEADLESS" = 1 ]; then
  [ -n "$window" ] || fail "the launcher window was not found"
  click_start "$window"
  wait "$LAUNCHER_PID" 2>/dev/null || true
  LAUNCHER_PID=""
else
  say "The launcher waits for you: click Start to start the game, or Quit"
  wait "$LAUNCHER_PID" 2>/dev/null || true
  LAUNCHER_PID=""
  [ -s "$GAME/game-started.txt" ] && cat "$GAME/game-started.txt"
fi
say "Demo done; everything it made is in $OUT"
