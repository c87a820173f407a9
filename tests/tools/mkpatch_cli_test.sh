#!/usr/bin/env bash
# mkpatch as operators run it: build, list, extract and index, with their errors.
#   mkpatch_cli_test.sh [EMULATOR] MKPATCH   (EMULATOR: what runs a Windows build's program)
set -u
. "$(dirname "$0")/mkpatch_checks.sh"

check "--help succeeds" 0 "$(status mkpatch --help)"
check "no command is a usage error" 2 "$(status mkpatch)"
check "unknown command is a usage error" 2 "$(status mkpatch frobnicate)"
check "extract without -o is a usage error" 2 "$(status mkpatch extract x.pak)"

# build with explicit destinations, then list
mkdir -p src/Data/Maps
printf 'hello' > src/readme.txt
printf 'map!' > src/Data/Maps/world.map
: > src/empty.bin
mkpatch build p1.pak src/readme.txt src/Data/Maps/world.map=Data/Maps/World.map src/empty.bin=e.bin
check "build succeeds" 0 $?
check "list shows source, destination and size" \
  "$(printf 'readme.txt\treadme.txt\t5\nworld.map\tData\\Maps\\World.map\t4\nempty.bin\te.bin\t0')" \
  "$(mkpatch list p1.pak | text)"

# build --from-dir, extract and compare
mkpatch build p2.pak --from-dir src
check "list of a folder's container" \
  "$(printf 'world.map\tData\\Maps\\world.map\t4\nempty.bin\tempty.bin\t0\nreadme.txt\treadme.txt\t5')" \
  "$(mkpatch list p2.pak | text)"
mkpatch extract p2.pak -o out
check "extract succeeds" 0 $?
check "extracted files equal the sources" "" "$(diff -r src out)"

# a container built by hand with hostile destinations: refused, nothing outside, rest extracted
entry() {  # SOURCE DEST DATA
  printf "$(printf '\\x%02x\\x00\\x00\\x00' ${#1})%s$(printf '\\x%02x\\x00\\x00\\x00' ${#2})%s$(printf '\\x%02x\\x00\\x00\\x00' ${#3})%s" "$1" "$2" "$3"
}
{ printf 'MORVOPATCHERPATCHBIN\x03\x00\x00\x00'; entry a '..\escaped' evil; entry b '/tmp/abs' evil; entry c 'ok\fine.txt' good; } > hostile.pak
mkdir -p jail
mkpatch extract hostile.pak -o jail/root 2>err.txt
check "refused destinations fail the extraction" 1 $?
check "one line per refused destination" 2 "$(wc -l < err.txt)"
check "nothing written outside" "root" "$(ls jail)"
check "safe entries are still extracted" "good" "$(cat jail/root/ok/fine.txt)"

# index: the list and the digests of the containers
mkpatch index --base-url http://patch.example/game p1.pak p2.pak > list.ini
check "index prints a server patch list with the containers' SHA-256" \
  "$(printf '[options]\r\ndeny_play=0\r\n\r\n[patchs]\r\nhttp://patch.example/game/p1.pak=1\r\nhttp://patch.example/game/p2.pak=1\r\n\r\n[sha256]\r\np1.pak=%s\r\np2.pak=%s\r' "$(digest p1.pak)" "$(digest p2.pak)")" \
  "$(cat list.ini)"

# names beyond ASCII: given in UTF-8 on every platform, stored in Windows-1252
cafe=$'caf\xc3\xa9.txt' demo=$'D\xc3\xa9mo' map=$'\xd0\xba\xd0\xb0\xd1\x80\xd1\x82\xd0\xb0.txt'
printf 'menu' > "src/$cafe"
printf 'map' > "src/$map"
mkpatch build p5.pak "src/$cafe=$demo/$cafe"
check "a Windows-1252 name is stored" "$(printf '%s\t%s\\%s\t4' "$cafe" "$demo" "$cafe")" \
  "$(mkpatch list p5.pak | text)"
check "a name Windows-1252 cannot hold is refused by its UTF-8 spelling" \
  "mkpatch: src/$map: '$map' has a character that Windows-1252 cannot hold" \
  "$(mkpatch build p6.pak "src/$map" 2>&1 | text)"

# failures: one line naming the file, status 1
printf 'not a container' > bad.pak
check "list of a non-container fails" 1 "$(status mkpatch list bad.pak)"
check "its error names the file" "mkpatch: bad.pak: not a patch container" "$(mkpatch list bad.pak 2>&1 | text)"
check "index refuses a non-container" 1 "$(status mkpatch index --base-url http://h bad.pak)"
check "build of a missing file fails" 1 "$(status mkpatch build p3.pak missing.txt)"
check "a failed build leaves no output" "" "$(ls p3.pak* 2>/dev/null)"
check "build refuses an unsafe destination" 1 "$(status mkpatch build p4.pak 'src/readme.txt=../x')"
# what the launcher refuses: names Windows reads as something else, the launcher's own files
for dest in con Data/NUL.vka data/com1/x.bin lpt9.log data.vka. 'Cartes /x.map' 'x ' 'a<b' 'a|b' \
    'a?b' 'a*b' MorvoPatchsList.ini morvopatcherlog.txt MorvoPatcher.lock MorvoTMPVKA.vka; do
  check "build refuses the destination '$dest'" 1 "$(status mkpatch build refused.pak "src/readme.txt=$dest")"
done
check "refused builds leave no output" "" "$(ls refused.pak* 2>/dev/null)"
check "build takes a name that only looks like a device" 0 \
  "$(status mkpatch build device-like.pak src/readme.txt=console.txt src/empty.bin=Data/MorvoPatchsList.ini)"
head -c 40 p1.pak > cut.pak
check "a cut container fails to list" 1 "$(status mkpatch list cut.pak)"

finish
