#!/usr/bin/env bash
# The Windows build's benchmarks under Wine (x64), each against a yardstick in the same run:
#   the WinHTTP downloader (run_download_bench.exe) vs a bare WinHTTP read loop
#   (winhttp_read_loop.exe), both from the same nginx on 127.0.0.1 (target >= 0.9);
#   merge and repack through VKA.dll vs cp + sync of the source / of the archive, and the
#   installation of a container of loose files and of one of many files of 1 KiB vs copying
#   them and one sync (reported: the Linux benchmarks' yardsticks, run by Linux itself).
# Many files: 2 000 by default, not the Linux benchmark's 20 000. Under Wine every name that
# does not exist yet is looked up by reading the whole folder (Windows names ignore case), so
# that installation takes time quadratic in the folder's size: 20 000 files take minutes.
# The Windows programs time their own work, so that Wine's start-up is not counted.
# Usage: bench/wine/run.sh BUILD_DIR; the Windows Release build is MORVO_BENCH_WIN64_DIR
# (default build-bench-win64 beside bench/). Sizes: MORVO_WINE_BENCH_MIB (1024),
# MORVO_WINE_BENCH_ENTRIES (100000), MORVO_WINE_BENCH_SMALL_FILES (2000), ROUNDS (3).
set -euo pipefail
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$here/../results.sh"
. "$here/../serve.sh"
. "$here/../timing.sh"
win=${MORVO_BENCH_WIN64_DIR:-$root/build-bench-win64}
mib=${MORVO_WINE_BENCH_MIB:-1024}
entries=${MORVO_WINE_BENCH_ENTRIES:-100000}
small_files=${MORVO_WINE_BENCH_SMALL_FILES:-2000}
rounds=${ROUNDS:-3}
echo "== Windows build under Wine"
if ! [ -x /usr/lib/wine/wine64 ] && ! command -v wine64 >/dev/null; then
  echo "Wine benchmarks skipped: wine64 is not installed"
  exit 0
fi
for program in "$win/bin/run_download_bench.exe" "$win/bin/run_install_bench.exe" \
               "$win/bin/winhttp_read_loop.exe" "$win/bin/vka_call_bench.exe" \
               "$build/bin/mkpatch" "$build/bench/wine/make_bench_archive"; do
  [ -f "$program" ] || { echo "Wine benchmarks skipped: $program is not built"; exit 0; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/morvo-wine-XXXXXX")
nginx_pid=""
cleanup() {
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/www" "$work/nginx" "$work/files"

export MORVO_WINEPREFIX=$win/wineprefix-win64
windows() { "$root/tests/wine/run-under-wine" "$win/bin/$1" "${@:2}"; }
# A path as Windows programs under Wine name it (drive Z: is the Linux root).
winpath() { local path=$1; echo "Z:${path//\//\\}"; }
# Seconds a Windows program reports for its own work (the first field it prints).
reported() { sync; "$@" | awk 'NR == 1 { print $1 }'; }
warm() { sync; cat "$1" >/dev/null; }
report() {  # MEASURE YARDSTICK_BEST OURS_BEST [TARGET]
  local r; r=$(ratio "$2" "$3")
  if [ -n "${4:-}" ]; then
    record_result "$1" "$r" ">= $4" "$(verdict "$r" ">=" "$4")"
  else
    record_result "$1" "$r" "report" reported
  fi
  echo "$r"
}

windows winhttp_read_loop.exe >/dev/null 2>&1 || true  # the prefix is made once, untimed

# --- download -----------------------------------------------------------------------------
head -c $((mib << 20)) /dev/urandom >"$work/www/big.pak"
serve_folder "$work/www" "$work/nginx" big.pak
loop_times=() ours_times=()
for _ in $(seq "$rounds"); do
  loop_times+=("$(reported windows winhttp_read_loop.exe "$url" "$(winpath "$work/loop.pak")")")
  cmp -s "$work/loop.pak" "$work/www/big.pak" || { echo "WinHTTP loop download differs" >&2; exit 1; }
  rm -f "$work/loop.pak"
  ours_times+=("$(reported windows run_download_bench.exe "$url" "$(winpath "$work/MorvoTMPbig.pak")")")
  cmp -s "$work/MorvoTMPbig.pak" "$work/www/big.pak" || { echo "download differs" >&2; exit 1; }
  rm -f "$work/MorvoTMPbig.pak"
done
loop_best=$(best "${loop_times[@]}") ours_best=$(best "${ours_times[@]}")
r=$(report "Wine: download, WinHTTP loop / downloader" "$loop_best" "$ours_best" 0.9)
echo "download $mib MiB: bare WinHTTP loop $loop_best s, downloader $ours_best s, ratio $r (target >= 0.9)"
kill "$nginx_pid" 2>/dev/null || true
nginx_pid=""
rm -f "$work/www/big.pak"

# --- merge and repack ---------------------------------------------------------------------
"$build/bench/wine/make_bench_archive" "$work/source.vka" "$entries" $((mib << 20))
# Best of the rounds of cp + sync of FILE and of one VKA.dll call, taken in turns after PREPARE;
# prints the ratio and records it as MEASURE.
call_against_copy() {  # MEASURE FILE PREPARE VKA_CALL_BENCH_ARGS...
  local measure=$1 file=$2 prepare=$3 copy_times=() call_times=()
  shift 3
  for _ in $(seq "$rounds"); do
    "$prepare"
    warm "$file"
    copy_times+=("$(seconds sh -c "cp '$file' '$work/copy.bin' && sync")")
    rm -f "$work/copy.bin"
    warm "$file"
    call_times+=("$(reported windows vka_call_bench.exe "$@")")
  done
  local copy_best call_best
  copy_best=$(best "${copy_times[@]}") call_best=$(best "${call_times[@]}")
  echo "$measure: VKA.dll $call_best s, cp + sync $copy_best s," \
       "ratio $(report "Wine: $measure, cp+sync / $measure" "$copy_best" "$call_best")"
}
fresh_game_archive() {
  rm -f "$work/game.vka"
  "$build/bench/wine/make_bench_archive" "$work/game.vka" 10 10240
}
echo "merge and repack of $mib MiB in $entries entries:"
call_against_copy merge "$work/source.vka" fresh_game_archive \
  merge "$(winpath "$work/source.vka")" "$(winpath "$work/game.vka")"
rm -f "$work/source.vka"
# The merged archive holds the same bytes each round: repacking it again keeps them.
call_against_copy repack "$work/game.vka" true \
  repack "$(winpath "$work/game.vka")" "$(winpath "$work/temp.vka")"
rm -f "$work/game.vka" "$work/temp.vka"

# --- installation -------------------------------------------------------------------------
install_against_copy() {  # MEASURE CONTAINER_NAME CHECK_FILE; the files are in $work/files
  "$build/bin/mkpatch" build "$work/$2" --from-dir "$work/files" >/dev/null
  local copy_times=() install_times=()
  for _ in $(seq "$rounds"); do
    rm -rf "$work/copy" "$work/game" && mkdir -p "$work/game"
    copy_times+=("$(seconds sh -c "cp -r '$work/files' '$work/copy' && sync")")
    rm -rf "$work/copy"
    cp "$work/$2" "$work/game/MorvoTMP$2"
    install_times+=("$(reported windows run_install_bench.exe "$(winpath "$work/game")" \
                       "$(winpath "$work/game/MorvoTMP$2")")")
    cmp -s "$work/game/$3" "$work/files/$3" || { echo "$1: installed files differ" >&2; exit 1; }
  done
  local copy_best install_best r
  copy_best=$(best "${copy_times[@]}") install_best=$(best "${install_times[@]}")
  r=$(report "Wine: $1, cp -r+sync / install" "$copy_best" "$install_best")
  echo "$1: InstallPatches $install_best s, cp -r + sync $copy_best s, ratio $r"
  rm -rf "$work/game" "$work/files" "$work/$2" && mkdir -p "$work/files"
}
for i in $(seq 64); do head -c $((mib << 14)) /dev/urandom >"$work/files/data$i.bin"; done
install_against_copy "install $mib MiB of loose files" big.pak data7.bin
head -c $((small_files * 1024)) /dev/urandom | (cd "$work/files" && split -b 1024 -a 5 - small)
install_against_copy "install $small_files files of 1 KiB" small.pak smallaaaab
