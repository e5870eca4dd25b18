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
  python3 - "$lunet_root" "$1" <<'PY'
import json
import os
import sys

root, name = sys.argv[1:]
with open(os.path.join(root, "CMakePresets.json"), encoding="utf-8") as file:
    presets = {preset["name"]: preset for preset in json.load(file)["configurePresets"]}


def binary_dir(name):
    preset = presets[name]
    if "binaryDir" in preset:
        return preset["binaryDir"]
    parents = preset.get("inherits", [])
    for parent in [parents] if isinstance(parents, str) else parents:
        found = binary_dir(parent)
        if found:
            return found
    return None


if name not in presets or not binary_dir(name):
    sys.exit(f"lib.sh: CMakePresets.json has no configure preset {name} with a binaryDir")
tree = binary_dir(name).replace("${sourceDir}", root).replace("${presetName}", name)
print(os.path.relpath(tree, root))
PY
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

# configure_preset PRESET: configures the preset's tree, quietly.
configure_preset() {
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
  "README.txt guide docs/user-guide.md"
  "README-ja.txt guide docs/user-guide.ja.md"
)

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

# The X display of a Wine prefix when the caller has none: one Xvfb for the prefix, started on
# first use and kept, so that programs started one after another share one desktop and one
# wineserver. Its display number and process id are recorded beside the prefix, in PREFIX.xvfb.
# It is started in a session of its own with every standard stream on /dev/null: it must not end
# with the terminal that started it, nor hold a caller's pipe open.

# prefix_xvfb_alive PREFIX: the recorded Xvfb runs; sets xvfb_display and xvfb_pid.
prefix_xvfb_alive() {
  local record=$1.xvfb
  xvfb_display="" xvfb_pid=""
  [[ -f $record ]] && read -r xvfb_display xvfb_pid <"$record" || return 1
  [[ -n $xvfb_pid && $(cat "/proc/$xvfb_pid/comm" 2>/dev/null) == Xvfb &&
     -S /tmp/.X11-unix/X${xvfb_display#:} ]]
}

# start_prefix_xvfb PREFIX: reuses the prefix's Xvfb, or starts one on the first free display
# from :90 up; sets xvfb_display. The caller holds the prefix's lock on descriptor 9, which the
# Xvfb must not inherit.
start_prefix_xvfb() {
  local prefix=$1 number tries
  prefix_xvfb_alive "$prefix" && return 0
  command -v Xvfb >/dev/null || { echo "wine-run: Xvfb is missing (scripts/install-deps installs it)" >&2; return 1; }
  for ((number = 90; number < 190; number++)); do
    [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]] && continue
    setsid Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 9>&- &
    xvfb_pid=$!
    for ((tries = 0; tries < 100; tries++)); do
      [[ -S /tmp/.X11-unix/X$number ]] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.05
    done
    if kill -0 "$xvfb_pid" 2>/dev/null && [[ -S /tmp/.X11-unix/X$number ]]; then
      xvfb_display=:$number
      echo "$xvfb_display $xvfb_pid" >"$prefix.xvfb"
      return 0
    fi
    kill "$xvfb_pid" 2>/dev/null  # another server took the number first: try the next
  done
  echo "wine-run: no free X display for Xvfb" >&2
  return 1
}

# stop_prefix PREFIX: ends every program of the prefix, its wineserver and its Xvfb.
stop_prefix() {
  local prefix=$1
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
  if prefix_xvfb_alive "$prefix"; then
    kill "$xvfb_pid" 2>/dev/null || true
  fi
  rm -f "$prefix.xvfb" "$prefix/.lunet-display"
}

# fresh_wine_run PREFIX PROGRAM [ARGUMENT...]: the same on an X display of its own and with a
# fresh wineserver, as the closer's measurements want it: no window, hook or process of an
# earlier run around.
fresh_wine_run() {
  LUNET_WINE_FRESH=1 xvfb-run -a "$lunet_root/scripts/wine-run" "$@"
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
