#!/usr/bin/env bash
# Reads the version resource back from built Windows files, without running them:
#   check_version.sh WINDRES lunet_version.h FILE...
# Each file carries the version and the commit that the build recorded in lunet_version.h, as
# Explorer shows them (Properties, Details): FILEVERSION and PRODUCTVERSION, ProductName,
# ProductVersion, FileVersion, FileDescription and OriginalFilename naming the file, and the
# commit in Comments: its full hash, or why there is none.
source "$(dirname "$0")/../../scripts/lib.sh"

windres=$1
header=$2
shift 2
define() { sed -n "s/^#define $1 \"\\{0,1\\}\\([^\"]*\\)\"\\{0,1\\}\$/\\1/p" "$header"; }
version=$(define LUNET_VERSION)
numbers=$(define LUNET_VERSION_NUMBERS)
commit=$(define LUNET_COMMIT)
comment=$(define LUNET_COMMIT_COMMENT)
# Each condition a function: check runs it inside an if.
version_recorded() { [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ && $numbers == "${version//./,},0" ]]; }
commit_recorded() {
  [[ ($commit =~ ^[0-9a-f]{40}$ && $comment == "commit $commit"*) ||
     ($commit == "" && $comment == "not built from a git checkout") ]]
}
# same A B...: every argument equals the first.
same() {
  local first=$1 other
  shift
  for other in "$@"; do [[ $other == "$first" ]] || return 1; done
}
# names_file NAME ORIGINAL DESCRIPTION: the resource names the file, and its description starts
# with the file's name without extension.
names_file() { [[ $2 == "$1" && $3 == "${1%.*}: "* ]]; }
check "the build recorded version $version ($numbers)" version_recorded
check "the build recorded \"$comment\"" commit_recorded

for file in "$@"; do
  name=$(basename "$file")
  if ! rc=$("$windres" -i "$file" -O rc 2>&1); then
    check "$name: a resource section ($rc)" false
    continue
  fi
  # value KEY: the text of VALUE "KEY", "TEXT" in the decompiled resource.
  value() { sed -n "s/^ *VALUE \"$1\", \"\(.*\)\"\$/\1/p" <<<"$rc"; }
  fixed=$(sed -n 's/^ *FILEVERSION //p' <<<"$rc" | tr -d ' ')
  product=$(sed -n 's/^ *PRODUCTVERSION //p' <<<"$rc" | tr -d ' ')
  description=$(value FileDescription)
  check "$name: FILEVERSION $fixed, PRODUCTVERSION $product" same "$numbers" "$fixed" "$product"
  check "$name: $(value ProductName) $(value ProductVersion), file version $(value FileVersion)" \
    same "lunet/$version/$version" "$(value ProductName)/$(value ProductVersion)/$(value FileVersion)"
  check "$name: $(value OriginalFilename), \"$description\"" \
    names_file "$name" "$(value OriginalFilename)" "$description"
  check "$name: \"$(value Comments)\"" same "$comment" "$(value Comments)"
done

checks_done
