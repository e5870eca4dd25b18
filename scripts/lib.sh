# Sourced by the scripts that build and run lunet: the choices they share, made one way.
# The caller has set -u and works from the checkout's root.

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

# configure_preset PRESET DIR [CMAKE-OPTIONS...]: configures the preset's build in DIR, quietly.
configure_preset() {
  local preset=$1 dir=$2
  shift 2
  cmake --preset "$preset" -B "$dir" "$@" >/dev/null
}

# build_targets DIR [TARGET...]: builds the targets (all without any) with $jobs jobs, quietly.
build_targets() {
  local dir=$1
  shift
  local targets=()
  [[ $# -gt 0 ]] && targets=(--target "$@")
  cmake --build "$dir" -j"$jobs" "${targets[@]}" >/dev/null
}

# build_preset PRESET DIR [CMAKE-OPTIONS...] [-- TARGET...]: configures, then builds.
build_preset() {
  local preset=$1 dir=$2 options=()
  shift 2
  while [[ $# -gt 0 && $1 != -- ]]; do
    options+=("$1")
    shift
  done
  [[ $# -gt 0 ]] && shift
  configure_preset "$preset" "$dir" "${options[@]}" && build_targets "$dir" "$@"
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
