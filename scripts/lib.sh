# Sourced first by every script of lunet: the choices they share, made one way.
# Every script runs under set -euo pipefail, from here: a step that fails stops it, unless the
# script tests the step and says what happens instead.
set -euo pipefail

lunet_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${CMAKE_JOBS:-2}

# pick_windows_build: windows_preset is the Windows build this machine runs: win32 where it runs
# 32-bit programs (the build the host loads), else win64. windows_why says why not 32-bit, or is
# empty. The answer comes from starting a 32-bit program for real (scripts/runs-32bit).
pick_windows_build() {
  if windows_why=$("$lunet_root/scripts/runs-32bit"); then
    windows_preset=win32
    windows_why=""
  else
    windows_preset=win64
  fi
}

# preset_tree PRESET: the preset's own build tree, relative to the checkout's root, as
# CMakePresets.json gives it (binaryDir, from the preset or the ones it inherits). ctest, make
# and every script build and run there, so each build is made once and its Wine prefix is shared.
preset_tree() {
  python3 "$lunet_root/scripts/preset_tree.py" "$lunet_root" "$1"
}

# tree_prefix DIR: the Wine prefix of a configured Windows build tree, the one its ctest runs use:
# LUNET_WINEPREFIX in its cache, which CMakePresets.json sets for each Windows preset.
tree_prefix() {
  local prefix
  prefix=$(sed -n 's/^LUNET_WINEPREFIX:[A-Z]*=//p' "$1/CMakeCache.txt" 2>/dev/null)
  [[ -n $prefix ]] ||
    { echo "lib.sh: $1 is no configured Windows build (its cache names no Wine prefix)" >&2; return 1; }
  echo "$prefix"
}

# forget_other_generator DIR: a tree configured for another generator than Ninja, which the
# presets name (make before), is configured afresh: CMake refuses to switch a tree's generator.
# Its cache and CMake's files go, not the rest (a Windows tree's Wine prefix stays).
forget_other_generator() {
  local generator
  [[ -f $1/CMakeCache.txt ]] || return 0
  generator=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$1/CMakeCache.txt")
  [[ -z $generator || $generator == Ninja ]] || rm -rf "$1/CMakeCache.txt" "$1/CMakeFiles"
}

# configure_preset PRESET: configures the preset's tree, quietly, unless it was configured after
# the presets last changed: ninja configures it again by itself when a CMakeLists.txt or a file
# they read changes. The scripts of one test run ask for each tree several times.
configure_preset() {
  local tree
  tree=$lunet_root/$(preset_tree "$1")
  forget_other_generator "$tree"
  [[ $tree/build.ninja -nt $lunet_root/CMakePresets.json ]] && return 0
  (cd "$lunet_root" && cmake --preset "$1" >/dev/null)
}

# build_targets DIR [TARGET...]: builds the targets (all without any) with $jobs jobs, quietly;
# on failure the build's last lines go to stderr, so that the error is on screen.
build_targets() {
  local dir=$1 log targets=()
  shift
  [[ $# -gt 0 ]] && targets=(--target "$@")
  log=$(mktemp)
  if cmake --build "$dir" -j"$jobs" "${targets[@]}" >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  tail -40 "$log" >&2
  rm -f "$log"
  return 1
}

# build_preset PRESET [TARGET...]: configures the preset's tree, then builds the targets there.
build_preset() {
  local preset=$1
  shift
  configure_preset "$preset" && build_targets "$lunet_root/$(preset_tree "$preset")" "$@"
}

# The release, one file a line: its path in the release folder, where it comes from, and from
# what. make-dist ships exactly these; the demo runs the plug-in, rules and tools among them.
#   build PATH    a file of the Windows build, 32-bit in the release; its target is its name
#   build64 PATH  a file of the 64-bit build, for a 64-bit host
#   file PATH     a file of the checkout, as it is
#   guide PATH    a guide of the checkout, made Notepad text
shipped_files=(
  "lunet.dll build src/lunet.dll"
  "x64/lunet.dll build64 src/lunet.dll"
  "killwnd.txt file dist-files/killwnd.txt"
  "killwnd_custom.txt file dist-files/killwnd_custom.txt"
  "lunet-host.exe build tools/host/lunet-host.exe"
  "lunet-rules.exe build tools/rules/lunet-rules.exe"
  "lunet-editor.exe build tools/editor/lunet-editor.exe"
  "README.txt guide docs/user-guide.md"
  "README-ja.txt guide docs/user-guide.ja.md"
)
# The guides' pictures of the rule editor, beside them as the guides name them, in one order
# on every machine; a new view's pictures ship without a new line here.
while read -r picture; do
  shipped_files+=("$picture file docs/$picture")
done < <(find "$lunet_root/docs" -maxdepth 1 -name 'editor*.png' -printf '%f\n' | LC_ALL=C sort)
unset picture

# shipped KIND: "RELEASE-PATH SOURCE" for each shipped file of that kind.
shipped() {
  local entry path kind source
  for entry in "${shipped_files[@]}"; do
    read -r path kind source <<<"$entry"
    [[ $kind == "$1" ]] && echo "$path $source"
  done
  return 0
}

# shipped_targets KIND: the build targets of the shipped files of that kind.
shipped_targets() {
  local path source name
  while read -r path source; do
    name=${source##*/}
    echo "${name%.*}"
  done < <(shipped "$1")
}

# The checks' counter: "ok   DESCRIPTION" or "FAIL DESCRIPTION" a line, then one summary line,
# "N passed, M failed", which run-tests reads. The condition runs inside an if, so that under
# set -e a failing one is counted and said instead of ending the script.
checks_passed=0
checks_failed=0

# check DESCRIPTION COMMAND [ARGUMENT...]: runs the command as the condition. On a failure the
# text in check_log, when set, follows the FAIL line, indented, to explain it; it is cleared after
# each check.
check() {
  local description=$1
  shift
  if "$@"; then
    echo "ok   $description"
    checks_passed=$((checks_passed + 1))
  else
    echo "FAIL $description"
    checks_failed=$((checks_failed + 1))
    [[ -z ${check_log:-} ]] || printf '%s\n' "$check_log" | sed 's/^/     | /'
  fi
  check_log=""
  return 0
}

# checks_done: the summary line; returns whether every check passed.
checks_done() {
  echo "$checks_passed passed, $checks_failed failed"
  [[ $checks_failed == 0 ]]
}

# has_japanese_locale: the ja_JP.UTF-8 locale is made (locale -a spells it ja_JP.utf8), which
# Wine needs to run as on a Japanese system.
has_japanese_locale() {
  locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'
}

# wine_run PREFIX PROGRAM [ARGUMENT...]: runs a Windows program under Wine in the prefix (made on
# first use); paths may be relative to the current directory.
wine_run() {
  "$lunet_root/scripts/wine-run" "$@"
}

# fresh_wine_run PREFIX PROGRAM [ARGUMENT...]: the same on an X display of its own and with a
# fresh wineserver, as the closer's measurements want it: no window, hook or process of an
# earlier run around.
fresh_wine_run() {
  LUNET_WINE_FRESH=1 xvfb-run -a "$lunet_root/scripts/wine-run" "$@"
}

# pristine_prefix: the pristine 64-bit Wine prefix's folder: made by wineboot once for the Wine
# version that made it, kept in build/install/ and never run after. check-install gives each code
# page a fresh copy; run-tests makes the win64 tree's prefix from it, one wineboot for both.
pristine_prefix() {
  local version
  version=$(/usr/lib/wine/wine64 --version 2>/dev/null | tr -c 'A-Za-z0-9.\n' '-' || true)
  echo "$lunet_root/build/install/pristine-${version:-unknown}"
}

# make_pristine_prefix: makes the pristine prefix unless it is there, whole, and says so; it is
# made under another name and renamed once its wineserver has ended, so that a run stopped
# halfway leaves none. Fails when wineboot could not make it.
make_pristine_prefix() {
  local pristine install=$lunet_root/build/install began=$SECONDS
  pristine=$(pristine_prefix)
  local made=$install/pristine.new
  [[ -f $pristine/.lunet-ready ]] && return 0
  (
    unset LUNET_WINEPREFIX_SUFFIX DISPLAY
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    "$lunet_root/scripts/wine-run" --stop "$made"
    rm -rf "$install"/pristine-* "$made"  # an older Wine's too
    WINEARCH=win64 wine_run "$made" cmd /c exit >/dev/null 2>&1 || true
    "$lunet_root/scripts/wine-run" --stop "$made"
  )
  rm -f "$made.lock"
  [[ -f $made/.lunet-ready ]] ||
    { echo "lib.sh: wineboot could not make a Wine prefix in $made" >&2; return 1; }
  mv "$made" "$pristine"
  echo "     (the pristine Wine prefix made for ${pristine##*/pristine-} in $((SECONDS - began)) s)"
}

# can_plot: gnuplot is there (make bench and make soak install it).
can_plot() {
  command -v gnuplot >/dev/null
}

# plot_svg CALLER SCRIPT SVG SETTINGS [ERROR-LOG]: draws SVG with the gnuplot script and its
# settings ("name=value; ..."), and says so on stderr. Returns gnuplot's status.
plot_svg() {
  local caller=$1 script=$2 svg=$3 settings=$4 log=${5:-/dev/stderr}
  gnuplot -e "$settings" "$script" >"$svg" 2>"$log" && echo "$caller: drew $svg" >&2
}
