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
