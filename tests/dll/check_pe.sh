#!/usr/bin/env bash
# Checks the built Windows files without running them, so it holds on machines where Wine cannot:
#   check_pe.sh OBJDUMP i686|x86_64 lunet.dll [PROGRAM.exe...]
# The module: a DLL in the build's format (PE32 i386 or PE32+ x86-64), exactly the six exports,
# a section "shared" shared between processes, imports from system DLLs only (the runtime is
# linked in statically), DYNAMIC_BASE and NX_COMPAT, no section both writable and executable,
# no library loader of ours, symbols stripped, a GUI subsystem and the oldest Windows it loads on
# in the header (5.1, XP; 5.2 for 64 bits). In the 32-bit DLL, every export returns as cdecl,
# and every import is one that XP exports (xp_exports.txt, beside this script).
# The programs: the same format, system imports only, a console subsystem with the same oldest
# Windows in the header, and in 32 bits imports that XP exports.
source "$(dirname "$0")/checks.sh"

objdump=$1
processor=$2
dll=$3
shift 3

headers=$("$objdump" -p "$dll") || { echo "FAIL cannot read $dll"; exit 1; }
case $processor in
  x86_64) format=pei-x86-64 magic=020b kind="PE32+ x86-64" pointer=8 ;;
  i686) format=pei-i386 magic=010b kind="PE32 i386" pointer=4 ;;
  *) echo "check_pe: unknown processor '$processor' (i686, x86_64)" >&2; exit 2 ;;
esac
is_format() { grep -q "file format $format" <<<"$1" && grep -qE "^Magic[[:space:]]+$magic" <<<"$1"; }
# The upper-case names of the DLLs a file imports, one a line.
imports_of() { grep -oE 'DLL Name: [^[:space:]]+' <<<"$1" | cut -d' ' -f3 | tr a-z A-Z | sort -u; }
# The import tables of objdump -p's text: up to the next heading at the start of a line.
import_table_of() { awk '/^The Import Tables/ {on = 1; next} on && /^[A-Za-z]/ {exit} on' <<<"$1"; }

is_format "$headers" && grep -qE '^[[:space:]]+DLL$' <<<"$headers"
check $? "$(basename "$dll"): a $kind DLL"

# Export names: the "[n] name" lines after the name pointer table's heading.
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table\|\[Name Pointer\/Ordinal\] Table/,/^$/p' <<<"$headers" |
  grep -oE '\[ *[0-9]+\] [A-Za-z_@?0-9]+' | awk '{print $NF}' | sort | tr '\n' ' ')
[[ $exports == "configure getversion load notify request unload " ]]
check $? "exports exactly: ${exports% }"

# The shared section: its header line, then a flags line that says SHARED.
"$objdump" -h "$dll" | grep -A1 -E '^ +[0-9]+ shared ' | grep -q SHARED
check $? "a section 'shared' with the SHARED flag"

imports=$(imports_of "$headers")
[[ -z $(grep -vxE 'KERNEL32\.DLL|USER32\.DLL|MSVCRT\.DLL' <<<"$imports") ]] &&
  grep -qx KERNEL32.DLL <<<"$imports" && grep -qx USER32.DLL <<<"$imports"
check $? "imports system DLLs only: $(echo $imports)"

# The header's floor: XP in 32 bits, the first 64-bit Windows in 64.
floor=5.1
[[ $pointer == 8 ]] && floor=5.2
field() { awk -v name="$2" '$1 == name {print $2}' <<<"$1"; }  # field HEADERS NAME
check_floor() {  # check_floor HEADERS SUBSYSTEM-NUMBER WHAT
  local subsystem os
  subsystem=$(field "$1" MajorSubsystemVersion).$(field "$1" MinorSubsystemVersion)
  os=$(field "$1" MajorOSystemVersion).$(field "$1" MinorOSystemVersion)
  [[ $(field "$1" Subsystem) == "$2" && $subsystem == "$floor" && $os == "$floor" ]]
  check $? "$3, subsystem and OS version $floor (found: $(field "$1" Subsystem), $subsystem, $os)"
}
check_floor "$headers" 00000002 "Windows GUI"

dllchars=$(awk '/^DllCharacteristics/ {print $2}' <<<"$headers")
[[ $(( 16#$dllchars & 0x0140 )) == $(( 0x0140 )) ]]
check $? "DllCharacteristics 0x$dllchars has DYNAMIC_BASE and NX_COMPAT"

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
check $? "no writable and executable section among $sections${bad:+ (found:$bad)}"

# Library loaders among the imports. The 32-bit runtime's frame registration imports LoadLibraryA,
# and only pins "libgcc_s_dw2-1.dll" when GetModuleHandleA has found it already loaded, so it
# never searches the plug-in or the current directory; the 64-bit runtime imports none.
import_table=$(import_table_of "$headers")
loaders=$(grep -oE '\b(LoadLibrary(Ex)?[AW]|LdrLoadDll|LoadPackagedLibrary)\b' <<<"$import_table" | sort -u)
[[ -z $loaders || ($loaders == LoadLibraryA && $pointer == 4) ]]
check $? "no library loader imported but the runtime's LoadLibraryA${loaders:+ (imported: $(echo $loaders))}"
if [[ $loaders == LoadLibraryA && $pointer == 4 ]]; then
  # Its address-table slot: the DLL's first thunk plus one pointer per name before it.
  base=$(awk '/^ImageBase/ {print $2}' <<<"$headers")
  thunk=$(awk '/^ [0-9a-f]+\t/ {last = $NF} /DLL Name: KERNEL32.dll/ {print last; exit}' <<<"$import_table")
  index=$(awk '/DLL Name: KERNEL32.dll/ {k=1; next} k && /DLL Name:/ {exit} k && /^\t[0-9a-f]+\t/ {n++; if ($3 == "LoadLibraryA") {print n - 1; exit}}' <<<"$import_table")
  slot=$(printf '0x%x' $(( 16#$base + 16#$thunk + pointer * index )))
  calls=$("$objdump" -d "$dll" | grep -cE "call +\*$slot\b")
  strings -a "$dll" | grep -qx 'libgcc_s_dw2-1.dll' && strings -a "$dll" | grep -qx '__register_frame_info'
  runtime=$?
  [[ $calls == 1 && $runtime == 0 ]]
  check $? "LoadLibraryA has one caller, the runtime's frame registration ($calls call through $slot)"
fi

# Every imported function of a 32-bit file must be one that Windows XP's system DLLs export,
# or the loader refuses the module there, and refuses to start a program, with an entry-point
# error.
check_xp_imports() {  # check_xp_imports IMPORT-TABLE WHAT
  local wanted unknown
  # "DLL function" a line: the member lines of each DLL's import table.
  wanted=$(awk '/DLL Name:/ {dll = toupper($3); next} dll && /^\t[0-9a-f]+\t/ {print dll, $NF}' <<<"$1")
  unknown=$(grep -vxF -f <(grep -vE '^(#|$)' "$(dirname "$0")/xp_exports.txt") <<<"$wanted" |
    tr '\n' ',' | sed 's/,$//; s/,/, /g')
  [[ -n $wanted && -z $unknown ]]
  check $? "${2}imports $(wc -l <<<"$wanted") functions, all exported by Windows XP${unknown:+ (not: $unknown)}"
}
[[ $pointer == 4 ]] && check_xp_imports "$import_table" ""

# The host calls the six exports caller-cleans-up (cdecl). In a 32-bit DLL such a function returns
# with a plain ret; a callee-cleans-up one (stdcall) with "ret N", which would pop N bytes of the
# host's stack that the host pops again.
# Returns reachable from an entry without passing through a call: each path is walked until a
# ret, a direct jump (whose target is walked too, tail calls included: the code there returns to
# the export's caller) or an indirect jump, which is listed but not followed.
returns_from() {  # returns_from LISTING ENTRY-HEX: "ADDRESS INSTRUCTION", a ret or jmp * a line
  awk -v entry="$2" '
    function key(a) { sub(/^0x/, "", a); sub(/^0+/, "", a); return a }
    /^ *[0-9a-f]+:\t/ {
      split($0, f, "\t")
      a = key(f[1]); sub(/:$/, "", a); sub(/^ +/, "", a)
      op = f[2]; gsub(/ +$/, "", op)
      n++; at[a] = n; addr[n] = a; insn[n] = op
    }
    END {
      todo[1] = key(entry); t = 1; seen[key(entry)] = 1
      while (t > 0) {
        start = todo[t--]
        for (i = at[start]; i && i <= n && !(i in walked); i++) {
          walked[i] = 1
          op = insn[i]; sub(/^(repz|rep|bnd|notrack) +/, "", op)
          split(op, w, / +/)
          if (w[1] == "ret") { print addr[i], op; break }
          if (w[1] ~ /^j/ && w[2] ~ /^0x[0-9a-f]+$/) {
            target = key(w[2])
            if (!(target in seen)) { seen[target] = 1; todo[++t] = target }
            if (w[1] == "jmp") break
          } else if (w[1] == "jmp") { print addr[i], op; break }
        }
      }
    }' <<<"$1"
}
if [[ $pointer == 4 ]]; then
  listing=$("$objdump" -d --no-show-raw-insn "$dll")
  base=$(awk '/^ImageBase/ {print $2}' <<<"$headers")
  # Export address table: "[index] +base[ordinal] RVA Export RVA"; name table: "[index] name".
  for name in $exports; do
    index=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" |
      sed -nE "s/^[[:space:]]*\[ *([0-9]+)\] $name\$/\1/p")
    rva=$(sed -nE "s/^[[:space:]]*\[ *$index\] \+base\[ *[0-9]+\] ([0-9a-f]+) Export RVA\$/\1/p" <<<"$headers")
    entry=$(printf '%x' $(( 16#$base + 16#${rva:-0} )))
    returns=$(returns_from "$listing" "$entry")
    plain=$(grep -c ' ret$' <<<"$returns")
    popping=$(grep -E ' ret +\$' <<<"$returns" | head -1 | tr -s ' ')
    [[ -n $rva && $plain -gt 0 && -z $popping ]]
    ok=$?
    detail=""
    [[ -n $popping ]] && detail=", but \"${popping#* }\" at 0x${popping%% *}: stdcall"
    [[ $plain == 0 && -z $popping ]] &&
      detail=", but no plain ret reached; left by:$(grep ' jmp ' <<<"$returns" | tr -s ' ' |
        awk '{printf " \"%s %s\" at 0x%s", $2, $3, $1}')"
    check $ok "$name at 0x$entry returns as cdecl does ($plain plain ret)$detail"
  done
fi

grep -q 'symbols stripped' <<<"$headers" && ! "$objdump" -h "$dll" | grep -qE '\.debug|\.stab'
check $? "symbols and debugging information stripped ($(stat -c %s "$dll") bytes)"

# The programs also take their command line apart with SHELL32's CommandLineToArgvW.
for program in "$@"; do
  name=$(basename "$program")
  text=$("$objdump" -p "$program") || { check 1 "$name: readable"; continue; }
  imports=$(imports_of "$text")
  is_format "$text" && [[ -z $(grep -vxE 'KERNEL32\.DLL|USER32\.DLL|MSVCRT\.DLL|ADVAPI32\.DLL|SHELL32\.DLL' <<<"$imports") ]]
  check $? "$name: $kind, imports $(echo $imports)"
  check_floor "$text" 00000003 "$name: Windows console"
  [[ $pointer == 4 ]] && check_xp_imports "$(import_table_of "$text")" "$name: "
done

checks_done
