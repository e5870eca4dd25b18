#!/usr/bin/env bash
# Checks the hardening of the built DLL: binary_check.sh LUNET_DLL [OBJDUMP]
#  - DllCharacteristics has DYNAMIC_BASE (0x0040) and NX_COMPAT (0x0100);
#  - no section is both writable and executable (raw section characteristics);
#  - nothing of ours loads a library: the one LoadLibrary import is the runtime's frame
#    registration, which only pins "libgcc_s_dw2-1.dll" when GetModuleHandleA has found it already
#    loaded, so it never searches the plug-in or the current directory;
#  - symbols and debugging information are stripped.
set -uo pipefail

dll=$1
objdump=${2:-i686-w64-mingw32-objdump}
failures=0
check() {  # check DESCRIPTION CONDITION-RESULT
  if [[ $2 == 0 ]]; then
    echo "ok   $1"
  else
    echo "FAIL $1"
    failures=$((failures + 1))
  fi
}

headers=$("$objdump" -p "$dll") || { echo "FAIL cannot read $dll"; exit 1; }

dllchars=$(awk '/^DllCharacteristics/ {print $2}' <<<"$headers")
[[ $(( 16#$dllchars & 0x0140 )) == $(( 0x0140 )) ]]
check "DllCharacteristics 0x$dllchars has DYNAMIC_BASE and NX_COMPAT" $?

# Raw section table: e_lfanew at 0x3C; sections follow the optional header, 40 bytes each, with
# their characteristics at offset 36 (0x20000000 execute, 0x80000000 write).
u32() { od -An -tu4 -j "$1" -N4 "$dll" | tr -d ' '; }
u16() { od -An -tu2 -j "$1" -N2 "$dll" | tr -d ' '; }
pe=$(u32 60)
sections=$(u16 $((pe + 6)))
table=$((pe + 24 + $(u16 $((pe + 20)))))
bad=""
for ((i = 0; i < sections; i++)); do
  entry=$((table + 40 * i))
  name=$(dd if="$dll" bs=1 skip="$entry" count=8 2>/dev/null | tr -d '\0')
  flags=$(u32 $((entry + 36)))
  (( (flags & 0x20000000) && (flags & 0x80000000) )) && bad+=" $name"
done
[[ $sections -gt 0 && -z $bad ]]
check "no writable and executable section among $sections${bad:+ (found:$bad)}" $?

# Imports: the kernel's library loaders.
imports=$(sed -n '/The Import Tables/,/The Export Tables/p' <<<"$headers")
loaders=$(grep -oE '\b(LoadLibrary(Ex)?[AW]|LdrLoadDll|LoadPackagedLibrary)\b' <<<"$imports" | sort -u)
[[ -z $loaders || $loaders == LoadLibraryA ]]
check "no library loader imported but LoadLibraryA${loaders:+ (imported: $(echo $loaders))}" $?
if [[ $loaders == LoadLibraryA ]]; then
  # Its address-table slot: the DLL's first thunk plus four bytes per name before it.
  base=$(awk '/^ImageBase/ {print $2}' <<<"$headers")
  thunk=$(awk '/^ [0-9a-f]+\t/ {last = $NF} /DLL Name: KERNEL32.dll/ {print last; exit}' <<<"$imports")
  index=$(awk '/DLL Name: KERNEL32.dll/ {k=1; next} k && /DLL Name:/ {exit} k && /^\t[0-9a-f]+\t/ {n++; if ($3 == "LoadLibraryA") {print n - 1; exit}}' <<<"$imports")
  slot=$(printf '0x%x' $(( 16#$base + 16#$thunk + 4 * index )))
  calls=$("$objdump" -d "$dll" | grep -cE "call +\*$slot\b")
  strings -a "$dll" | grep -qx 'libgcc_s_dw2-1.dll' && strings -a "$dll" | grep -qx '__register_frame_info'
  runtime=$?
  [[ $calls == 1 && $runtime == 0 ]]
  check "LoadLibraryA has one caller, the runtime's frame registration ($calls call through $slot)" $?
fi

grep -q 'symbols stripped' <<<"$headers" && ! "$objdump" -h "$dll" | grep -qE '\.debug|\.stab'
check "symbols and debugging information stripped" $?

echo "$failures failed"
[[ $failures == 0 ]]
