#!/usr/bin/env bash
# Reads the version resource back from built Windows files, without running them:
#   check_version.sh WINDRES lunet_version.h FILE...
# Each file carries the version and the commit that the build recorded in lunet_version.h, as
# Explorer shows them (Properties, Details): FILEVERSION and PRODUCTVERSION, ProductName,
# ProductVersion, FileVersion, FileDescription and OriginalFilename naming the file, and the
# commit in Comments: its full hash, or why there is none.
source "$(dirname "$0")/checks.sh"

windres=$1
header=$2
shift 2
define() { sed -n "s/^#define $1 \"\\{0,1\\}\\([^\"]*\\)\"\\{0,1\\}\$/\\1/p" "$header"; }
version=$(define LUNET_VERSION)
numbers=$(define LUNET_VERSION_NUMBERS)
commit=$(define LUNET_COMMIT)
comment=$(define LUNET_COMMIT_COMMENT)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ && $numbers == "${version//./,},0" ]]
check $? "the build recorded version $version ($numbers)"
[[ ($commit =~ ^[0-9a-f]{40}$ && $comment == "commit $commit"* ) ||
   ($commit == "" && $comment == "not built from a git checkout") ]]
check $? "the build recorded \"$comment\""

for file in "$@"; do
  name=$(basename "$file")
  rc=$("$windres" -i "$file" -O rc 2>&1) || { check 1 "$name: a resource section ($rc)"; continue; }
  # value KEY: the text of VALUE "KEY", "TEXT" in the decompiled resource.
  value() { sed -n "s/^ *VALUE \"$1\", \"\\(.*\\)\"\$/\\1/p" <<<"$rc"; }
  fixed=$(sed -n 's/^ *FILEVERSION //p' <<<"$rc" | tr -d ' ')
  product=$(sed -n 's/^ *PRODUCTVERSION //p' <<<"$rc" | tr -d ' ')
  [[ $fixed == "$numbers" && $product == "$numbers" ]]
  check $? "$name: FILEVERSION $fixed, PRODUCTVERSION $product"
  [[ $(value ProductName) == lunet && $(value ProductVersion) == "$version" &&
     $(value FileVersion) == "$version" ]]
  check $? "$name: $(value ProductName) $(value ProductVersion), file version $(value FileVersion)"
  [[ $(value OriginalFilename) == "$name" && $(value FileDescription) == "${name%.*}: "* ]]
  check $? "$name: $(value OriginalFilename), \"$(value FileDescription)\""
  [[ $(value Comments) == "$comment" ]]
  check $? "$name: \"$(value Comments)\""
done

checks_done
