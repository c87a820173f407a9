#!/usr/bin/env bash
# mkpatch keygen, index --sign and verify as operators run them: a signed set, and each way a
# set can be wrong before it is published.
#   mkpatch_signing_test.sh [EMULATOR] MKPATCH   (EMULATOR: what runs a Windows build's program)
set -u
. "$(dirname "$0")/mkpatch_checks.sh"

hex_of() { od -An -v -tx1 "$1" | tr -d ' \n'; }
bytes_of_hex() { printf '%b' "$(printf '%s' "$1" | sed 's/../\\x&/g')"; }
# Lines of stderr without the CR a Windows program ends them with.
errors_of() { mkpatch "$@" 2>&1 >/dev/null | text; }

check "keygen without -o is a usage error" 2 "$(status mkpatch keygen k)"
mkpatch keygen -o k >/dev/null
check "keygen succeeds" 0 $?
check "the public key is one line P256: and 128 hex digits" 1 \
  "$(text < k.pub | grep -cE '^P256:[0-9a-f]{128}$')"
check "the private key file holds its public key too" "$(text < k.pub)" "$(text < k.key | sed -n 2p)"
if [ ${#MKPATCH[@]} -eq 1 ]; then
  check "the private key is readable by its owner only" 600 "$(stat -c %a k.key)"
fi
before=$(digest k.key)
check "keygen never replaces a key" 1 "$(status mkpatch keygen -o k)"
check "the key is as it was" "$before" "$(digest k.key)"
printf 'P256:00\n' > lone.pub
check "keygen refuses when only NAME.pub exists" 1 "$(status mkpatch keygen -o lone)"
check "and writes no private key then" "" "$(ls lone.key 2>/dev/null)"
mkpatch keygen -o other >/dev/null

# a signed set
printf 'first' > a.txt
printf 'second' > b.txt
mkpatch build p1.pak a.txt
mkpatch build 'p 2.pak' b.txt
mkpatch index --base-url http://h/game --sign k.key -o list.ini p1.pak 'p 2.pak'
check "index --sign succeeds" 0 $?
check "the list written is the printed one" "$(mkpatch index --base-url http://h/game p1.pak 'p 2.pak')" \
  "$(cat list.ini)"
check "the digest is listed under the name the URL ends with" \
  "p%202.pak=$(digest 'p 2.pak')" "$(text < list.ini | grep '^p%202')"
check "the signature is 64 bytes" 64 "$(wc -c < list.ini.sig)"
check "verify accepts the set" 0 "$(status mkpatch verify list.ini --key k.pub p1.pak 'p 2.pak')"
check "verify says what it checked" \
  "$(printf 'list.ini: signature verified with k.pub\np1.pak: SHA-256 as listed\np 2.pak: SHA-256 as listed')" \
  "$(mkpatch verify list.ini --key k.pub p1.pak 'p 2.pak' | text)"

# The signature as any ECDSA implementation reads it: the raw key and r||s put in their DER forms.
if command -v openssl >/dev/null; then
  der_integer() {  # 32 bytes in hex -> DER INTEGER in hex
    local h=$1
    while [ "${h:0:2}" = 00 ] && [ ${#h} -gt 2 ]; do h=${h:2}; done
    [ $((16#${h:0:1})) -ge 8 ] && h="00$h"
    printf '02%02x%s' $((${#h} / 2)) "$h"
  }
  sig=$(hex_of list.ini.sig)
  body=$(der_integer "${sig:0:64}")$(der_integer "${sig:64:64}")
  bytes_of_hex "$(printf '30%02x%s' $((${#body} / 2)) "$body")" > sig.der
  bytes_of_hex "3059301306072a8648ce3d020106082a8648ce3d03010703420004$(text < k.pub | cut -c6-)" > k.der
  check "openssl verifies the signature" 0 \
    "$(status openssl dgst -sha256 -verify k.der -keyform DER -signature sig.der list.ini)"
else
  echo "openssl not found: the signature is not checked by a second implementation"
fi

# each way a set can be wrong: status 1, a line naming the problem
cp list.ini good.ini; cp list.ini.sig good.ini.sig
sed 's/deny_play=0/deny_play=1/' good.ini > list.ini
check "a changed list is refused" 1 "$(status mkpatch verify list.ini --key k.pub)"
check "the line says so" \
  "mkpatch: list.ini: the signature does not match (the list was changed, or signed by another key than k.pub)" \
  "$(errors_of verify list.ini --key k.pub)"
cp good.ini list.ini
check "another key's public key does not verify it" 1 "$(status mkpatch verify list.ini --key other.pub)"
mkpatch index --base-url http://h/game --sign other.key -o other.ini p1.pak 'p 2.pak'
cp other.ini.sig list.ini.sig
check "a signature by another key is refused" 1 "$(status mkpatch verify list.ini --key k.pub)"
mkpatch index --base-url http://h/elsewhere --sign k.key -o moved.ini p1.pak
cp moved.ini.sig list.ini.sig
check "the signature of another list is refused" 1 "$(status mkpatch verify list.ini --key k.pub)"
head -c 63 good.ini.sig > list.ini.sig
check "a cut signature is named" "mkpatch: list.ini.sig: not a signature (63 bytes, 64 expected)" \
  "$(errors_of verify list.ini --key k.pub)"
rm list.ini.sig
check "a missing signature is named" "mkpatch: list.ini.sig: missing" \
  "$(errors_of verify list.ini --key k.pub)"
cp good.ini.sig list.ini.sig

cp p1.pak p1.bak
printf 'x' | dd of=p1.pak bs=1 seek=30 conv=notrunc status=none
check "a container with one byte changed is named" \
  "mkpatch: p1.pak: its SHA-256 is $(digest p1.pak), list.ini lists $(digest p1.bak)" \
  "$(errors_of verify list.ini --key k.pub p1.pak 'p 2.pak')"
cp p1.bak p1.pak
printf 'third' > c.txt
mkpatch build p3.pak c.txt
check "a container the list does not hold is named" \
  "mkpatch: p3.pak: p3.pak has no valid [sha256] line in list.ini" \
  "$(errors_of verify list.ini p3.pak)"

text < good.ini | sed '/^\[sha256\]/,$d' > bare.ini
check "under a key, each offered patch without a digest is named" \
  "$(printf 'mkpatch: bare.ini.sig: missing\nmkpatch: bare.ini: p1.pak is offered without a valid [sha256] line\nmkpatch: bare.ini: p%%202.pak is offered without a valid [sha256] line')" \
  "$(errors_of verify bare.ini --key k.pub)"
check "without a key, a list without digests is only checked for the patches named" 0 \
  "$(status mkpatch verify bare.ini)"

# signing refused: nothing is written
check "index --sign without -o is a usage error" 2 \
  "$(status mkpatch index --base-url http://h --sign k.key p1.pak)"
check "index --sign with a public key fails" 1 \
  "$(status mkpatch index --base-url http://h --sign k.pub -o new.ini p1.pak)"
{ sed -n 1p other.key; sed -n 2p k.key; } > mixed.key
check "a key file whose halves do not belong together is refused" \
  "mkpatch: mixed.key: its private and public keys do not belong together" \
  "$(errors_of index --base-url http://h --sign mixed.key -o new.ini p1.pak)"
check "refused signings write no list" "" "$(ls new.ini* 2>/dev/null)"
cp good.ini resigned.ini && cp good.ini.sig resigned.ini.sig
check "an unsigned index names the old signature it removes" \
  "resigned.ini.sig: removed, it signed the list this one replaces" \
  "$(mkpatch index --base-url http://h -o resigned.ini p1.pak | text)"
check "so the list stands unsigned, not wrongly signed" "mkpatch: resigned.ini.sig: missing" \
  "$(errors_of verify resigned.ini --key k.pub)"
cp p1.pak copy && mkdir -p sub && mv copy sub/p1.pak
check "two patches of one name are refused" 1 \
  "$(status mkpatch index --base-url http://h -o new.ini p1.pak sub/p1.pak)"

finish
