#!/usr/bin/env bash
# Benchmarks of the run, each against a yardstick in the same run:
#   a 1 GiB download through the downloader and the status object, its SHA-256 checked as it
#   arrives, vs curl -o (target >= 0.9),
#   the installation of a 1 GiB container of loose files, container deleted at the end as the run
#   does, vs cp -r of the same files + sync + rm of the container (target >= 0.8); as cp copies
#   inside the kernel (copy_file_range), a read/write copy of the container (dd) is shown too;
#   the installation of 20 000 files of 1 KiB vs writing them and one sync (target >= 0.8);
#   a run with 20 000 patches listed and all installed vs the same run with 2 000 (<= 12 x).
# Usage: bench/run/run.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
bin=$build/bin
# shellcheck source=../results.sh
source "$(dirname "$0")/../results.sh"
# shellcheck source=../serve.sh
source "$(dirname "$0")/../serve.sh"
# shellcheck source=../timing.sh
source "$(dirname "$0")/../timing.sh"
work=$build/bench-run
rounds=${ROUNDS:-3}
rm -rf "$work"
mkdir -p "$work/www" "$work/nginx" "$work/files"
nginx_pid=""
cleanup() {
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# --- download -----------------------------------------------------------------------------
head -c 1073741824 /dev/urandom >"$work/www/big.pak"
serve_folder "$work/www" "$work/nginx" big.pak
digest=$(sha256sum "$work/www/big.pak" | cut -d' ' -f1)
# The downloader forces the body to the disk before it takes its place (a power cut must not
# leave a half-written container that looks whole): curl -o + sync shows that part's cost.
curl_times=() synced_times=() ours_times=()
for _ in $(seq "$rounds"); do
  curl_times+=("$(seconds curl -s -o "$work/curl.pak" "$url")")
  rm -f "$work/curl.pak"
  synced_times+=("$(seconds sh -c "curl -s -o '$work/curl.pak' '$url' && sync")")
  rm -f "$work/curl.pak"
  ours_times+=("$(seconds "$bin/run_download_bench" "$url" "$work/MorvoTMPbig.pak" "$digest")")
  cmp -s "$work/MorvoTMPbig.pak" "$work/www/big.pak" || { echo "download differs" >&2; exit 1; }
  rm -f "$work/MorvoTMPbig.pak"
done
curl_best=$(best "${curl_times[@]}")
synced_best=$(best "${synced_times[@]}")
ours_best=$(best "${ours_times[@]}")
download_ratio=$(ratio "$curl_best" "$ours_best")
synced_ratio=$(ratio "$synced_best" "$ours_best")
echo "download 1 GiB, SHA-256 checked: curl -o $curl_best s, curl -o + sync $synced_best s," \
     "downloader $ours_best s, throughput ratio $download_ratio (target >= 0.9)," \
     "against curl -o + sync $synced_ratio"
record_result "download 1 GiB with SHA-256 vs curl -o" "$download_ratio" ">= 0.9" \
  "$(verdict "$download_ratio" ">=" 0.9)"
record_result "download 1 GiB with SHA-256 vs curl -o + sync" "$synced_ratio" "report" reported
rm -f "$work/www/big.pak"

# --- installation -------------------------------------------------------------------------
for i in $(seq 64); do
  head -c 16777216 /dev/urandom >"$work/files/data$i.bin"
done
"$bin/mkpatch" build "$work/bench.pak" --from-dir "$work/files" >/dev/null
cp_times=() dd_times=() install_times=()
for _ in $(seq "$rounds"); do
  rm -rf "$work/cp-copy" "$work/dd-copy" "$work/game" && mkdir -p "$work/game"
  # The installation flushes what it wrote and deletes the container: so does the yardstick.
  cp "$work/bench.pak" "$work/cp-container.pak"
  cp_times+=("$(seconds sh -c "cp -r '$work/files' '$work/cp-copy' && sync && rm '$work/cp-container.pak'")")
  dd_times+=("$(seconds dd if="$work/bench.pak" of="$work/dd-copy" bs=256k status=none)")
  cp "$work/bench.pak" "$work/game/MorvoTMPbench.pak"
  # Each contender writes its gigabyte into the same room: the yardsticks' copies go first.
  rm -rf "$work/cp-copy" "$work/dd-copy"
  install_times+=("$(seconds "$bin/run_install_bench" "$work/game" "$work/game/MorvoTMPbench.pak")")
  cmp -s "$work/game/data7.bin" "$work/files/data7.bin" || { echo "install differs" >&2; exit 1; }
done
cp_best=$(best "${cp_times[@]}")
dd_best=$(best "${dd_times[@]}")
install_best=$(best "${install_times[@]}")
install_ratio=$(ratio "$cp_best" "$install_best")
echo "install 1 GiB of loose files: cp -r + sync + rm $cp_best s, InstallPatches $install_best s," \
     "throughput ratio $install_ratio (target >= 0.8);" \
     "read/write copy (dd bs=256k) $dd_best s, ratio $(ratio "$dd_best" "$install_best")"
record_result "install 1 GiB loose files / cp -r + sync + rm" "$install_ratio" ">= 0.8" \
  "$(verdict "$install_ratio" '>=' 0.8)"

# --- installation of many small files -----------------------------------------------------
# 20 000 files of 1 KiB in one container, against writing the same files and one sync: here the
# cost per file (open, rename, the flush before the container goes) is all there is.
rm -rf "$work/files" "$work/game" && mkdir -p "$work/files" "$work/game"
head -c $((20000 * 1024)) /dev/urandom | (cd "$work/files" && split -b 1024 -a 5 - small)
"$bin/mkpatch" build "$work/small.pak" --from-dir "$work/files" >/dev/null
# ext4 without a journal passes over the inodes freed in the last minute when it creates one,
# and passing over the 20 000 of the last copy costs more than writing the files: no contender's
# copy is deleted before the end, so that each starts with none freed recently.
settle() { sync; sleep 6; }
spend() { mv "$1" "$work/spent/$(basename "$1")$2"; }  # PATH ROUND
write_times=() small_times=()
mkdir -p "$work/spent"
for round in $(seq "$rounds"); do
  mkdir -p "$work/game"
  settle
  write_times+=("$(seconds sh -c "cp -r '$work/files' '$work/write-copy' && sync")")
  spend "$work/write-copy" "$round"
  cp "$work/small.pak" "$work/game/MorvoTMPsmall.pak"
  settle
  small_times+=("$(seconds "$bin/run_install_bench" "$work/game" "$work/game/MorvoTMPsmall.pak")")
  cmp -s "$work/game/smallaaaab" "$work/files/smallaaaab" || { echo "install differs" >&2; exit 1; }
  spend "$work/game" "$round"
done
write_best=$(best "${write_times[@]}")
small_best=$(best "${small_times[@]}")
small_ratio=$(ratio "$write_best" "$small_best")
echo "install 20 000 files of 1 KiB: writing them + sync $write_best s, InstallPatches" \
     "$small_best s, throughput ratio $small_ratio (target >= 0.8)"
record_result "install 20 000 files of 1 KiB / write + sync" "$small_ratio" ">= 0.8" \
  "$(verdict "$small_ratio" '>=' 0.8)"

# --- a run with a long patch list, everything installed ------------------------------------
# The list is matched against the register: 10 times the patches may cost at most 12 times
# the time, however the matching is done.
rm -rf "$work/files" "$work/game" "$work/spent"
list_run() {  # COUNT: prints the best of the rounds of a run with COUNT patches, all installed
  local n=$1 game="$work/list$1" times=()
  mkdir -p "$game"
  { printf '[options]\r\ndeny_play=0\r\n[patchs]\r\n'
    seq -f "http://127.0.0.1:9/p%06g.pak=1" "$n" | sed 's/$/\r/'; } >"$work/list$n.ini"
  { printf '[patchs]\r\n'; seq -f "p%06g.pak=1" "$n" | sed 's/$/\r/'; } >"$game/MorvoPatchsList.ini"
  for _ in $(seq "$rounds"); do
    times+=("$(seconds "$bin/run_list_bench" "$game" "$work/list$n.ini")")
  done
  best "${times[@]}"
}
small_list=$(list_run 2000)
long_list=$(list_run 20000)
list_ratio=$(ratio "$long_list" "$small_list")
echo "run with 20 000 patches all installed: $long_list s, with 2 000: $small_list s," \
     "$list_ratio x (target <= 12)"
record_result "run, 20 000 patches installed / 2 000" "$list_ratio" "<= 12" \
  "$(verdict "$list_ratio" '<=' 12)"
